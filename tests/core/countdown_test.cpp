// The prompt window's countdown and the power action it requests, against a real
// close.ini in a temporary directory.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "countdown.h"
#include "fakes.h"
#include "ini_file.h"
#include "schedule.h"
#include "settings.h"
#include "temp_dir.h"

namespace {

using Log = std::vector<std::string>;

// A value saved in close.ini (nullopt: the key is missing) and what it should lead to.
struct SavedValueRow {
    const char* name;
    std::optional<Text> saved;
    int32_t expected;
};

Text RemainingLabel(int seconds) { return "剩余时间：" + std::to_string(seconds) + "秒"; }

class CountdownTest : public ::testing::Test {
protected:
    void SaveReminder(const Text& value) { Save(kReminderSection, kReminderKey, value); }
    void SaveAction(const Text& value) { Save(kActionSection, kActionKey, value); }

    void Open() { countdown.OnPromptCreated(view, executableDirectory); }
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) countdown.OnCountdownTick(view);
    }
    // Ticks until the power action is requested; the number of ticks, or -1.
    int TicksUntilAction(int limit) {
        for (int tick = 1; tick <= limit; ++tick) {
            Tick();
            if (!power.calls.empty()) return tick;
        }
        return -1;
    }
    Log LogSince(size_t start) const { return Log(log.begin() + static_cast<long>(start), log.end()); }

    // Given with its final separator, so that close.ini lands inside the directory.
    TempDirectory programDirectory;
    const Text executableDirectory = programDirectory.Directory();
    IniFileStore store;
    Log log;
    RecordingCountdownView view{log};
    RecordingPowerRunner power{log};
    Countdown countdown{store, power};

private:
    void Save(const char* section, const char* key, const Text& value) {
        ASSERT_TRUE(WriteProfileText(store, programDirectory.PathOf("close.ini"), section, key, value));
    }
};

TEST_F(CountdownTest, CreationKeepsTheRunDirectoryAndReadsTheReminderWithoutShowingIt) {
    SaveReminder("12");
    Open();
    EXPECT_EQ(SettingsPathOf(countdown.RunDirectoryCopy()), programDirectory.PathOf("close.ini"));
    EXPECT_EQ(countdown.RemainingSeconds(), 12);
    EXPECT_EQ(countdown.State(), CountdownState::Counting);
    EXPECT_TRUE(log.empty());
}

TEST_F(CountdownTest, ThirtySecondsCountDownOneASecondAndActOnTheTickThatShowsZero) {
    SaveReminder("30");
    SaveAction("1");
    Open();

    for (int tick = 1; tick <= 29; ++tick) {
        Tick();
        ASSERT_EQ(view.labels.back(), RemainingLabel(30 - tick)) << "tick " << tick;
        ASSERT_TRUE(power.calls.empty()) << "tick " << tick;
    }
    const size_t before = log.size();
    Tick();
    EXPECT_EQ(LogSince(before), (Log{"label:" + RemainingLabel(0), "timer:0", "power:1:force"}));
    EXPECT_EQ(countdown.State(), CountdownState::Expired);

    // A stray tick after the action neither acts again nor counts below zero.
    Tick(5);
    EXPECT_EQ(view.labels.size(), 30u);
    EXPECT_EQ(power.calls.size(), 1u);
    EXPECT_FALSE(view.closed);
}

// A reminder of 1 or more acts after that many ticks; one of 0 or less (empty and
// non-numeric texts read as 0) acts on the first tick and shows 0, never less.
TEST_F(CountdownTest, ReminderDecidesTheTickThatActs) {
    // The missing key comes first, before any row has written it.
    const SavedValueRow rows[] = {
        {"missing key", std::nullopt, 30},
        {"1", Text("1"), 1},
        {"2", Text("2"), 2},
        {"10秒", Text("10秒"), 10},
        {"0", Text("0"), 1},
        {"-3", Text("-3"), 1},
        {"-2147483648", Text("-2147483648"), 1},
        {"empty", Text(""), 1},
        {"no digits", Text("abc"), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.saved) {
            SaveReminder(*row.saved);
        }
        power.calls.clear();
        view.labels.clear();
        view.timerPeriod = 1000;
        Open();

        EXPECT_EQ(TicksUntilAction(100), row.expected);
        ASSERT_FALSE(view.labels.empty());
        EXPECT_EQ(view.labels.back(), RemainingLabel(0));
        EXPECT_EQ(view.labels.size(), static_cast<size_t>(row.expected));
        EXPECT_EQ(view.timerPeriod, 0);

        Tick();
        EXPECT_EQ(power.calls.size(), 1u);
        EXPECT_EQ(view.labels.size(), static_cast<size_t>(row.expected));
    }
}

// The saved text goes to the runner as its integer, refused codes included.
TEST_F(CountdownTest, ActionCodeReachesTheRunnerForced) {
    const SavedValueRow rows[] = {
        {"missing key", std::nullopt, 0},
        {"no digits", Text("关机"), 0},
        {"restart", Text("2"), 2},
        {"log off", Text("3"), 3},
        {"hand-edited suspend", Text("4"), 4},
        {"hand-edited hibernate", Text("5"), 5},
        {"out of range", Text("7"), 7},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        power.calls.clear();
        if (row.saved) {
            SaveAction(*row.saved);
        }
        SaveReminder("1");
        Open();
        Tick();
        ASSERT_EQ(power.calls.size(), 1u);
        EXPECT_EQ(power.calls[0].code, row.expected);
        EXPECT_TRUE(power.calls[0].force);
    }
}

TEST_F(CountdownTest, RefusedActionLeavesTheWindowOpenShowingZero) {
    SaveReminder("3");
    Open();
    power.result = false;
    Tick(3);
    ASSERT_EQ(power.calls.size(), 1u);
    EXPECT_EQ(power.calls[0].code, 0);
    EXPECT_FALSE(view.closed);
    EXPECT_EQ(view.labels.back(), RemainingLabel(0));
    EXPECT_EQ(view.timerPeriod, 0);
    EXPECT_EQ(countdown.State(), CountdownState::Expired);
}

TEST_F(CountdownTest, ActionSavedDuringTheCountdownIsTheOneThatRuns) {
    SaveReminder("5");
    SaveAction("1");
    Open();
    Tick(2);
    SaveAction("2");
    EXPECT_EQ(TicksUntilAction(10), 3);
    EXPECT_EQ(power.calls[0].code, kRestart);

    // "立即关机" reads the file again.
    SaveAction("3");
    countdown.OnActNowClicked(view);
    ASSERT_EQ(power.calls.size(), 2u);
    EXPECT_EQ(power.calls[1].code, kLogOff);
}

TEST_F(CountdownTest, ReminderIsReadOnlyAtCreation) {
    SaveReminder("3");
    Open();
    SaveReminder("50");
    EXPECT_EQ(TicksUntilAction(100), 3);

    Open();
    EXPECT_EQ(countdown.RemainingSeconds(), 50);
    EXPECT_EQ(countdown.State(), CountdownState::Counting);
}

TEST_F(CountdownTest, ActNowWhileCountingActsThenCloses) {
    SaveReminder("30");
    SaveAction("1");
    Open();
    Tick(4);
    const size_t before = log.size();
    countdown.OnActNowClicked(view);
    EXPECT_EQ(LogSince(before), (Log{"power:1:force", "close"}));

    countdown.OnCountdownTick(view);
    countdown.OnActNowClicked(view);
    EXPECT_EQ(LogSince(before).size(), 2u);
}

TEST_F(CountdownTest, ActNowAfterExpiryActsAgainAndCloses) {
    SaveReminder("2");
    SaveAction("1");
    Open();
    Tick(2);
    ASSERT_EQ(countdown.State(), CountdownState::Expired);

    const size_t before = log.size();
    countdown.OnActNowClicked(view);
    EXPECT_EQ(LogSince(before), (Log{"power:1:force", "close"}));
    EXPECT_EQ(power.calls.size(), 2u);
    EXPECT_EQ(countdown.State(), CountdownState::Closed);
}

TEST_F(CountdownTest, GiveUpStopsTheTimerAndClosesWithoutAction) {
    for (const int ticksBefore : {3, 10}) {  // while counting, and after expiry
        SCOPED_TRACE(ticksBefore);
        log.clear();
        power.calls.clear();
        SaveReminder("10");
        SaveAction("1");
        Open();
        Tick(ticksBefore);
        const size_t powerCallsBefore = power.calls.size();

        const size_t before = log.size();
        countdown.OnGiveUpClicked(view);
        EXPECT_EQ(LogSince(before), (Log{"timer:0", "close"}));

        Tick(20);
        EXPECT_EQ(power.calls.size(), powerCallsBefore);
        EXPECT_EQ(LogSince(before).size(), 2u);
    }
}

// The whole road: arming, the check at the set time, the prompt's countdown and the
// action, with the prompt brought forward rather than restarted when armed again.
class ShutdownRoadTest : public CountdownTest {
protected:
    ShutdownRoadTest() {
        controls.dayTicked[0] = true;  // Monday
        SetTime(20, 59, 58);
    }

    void SetTime(int hour, int minute, int second) {
        clock.Set(MakeDateTime(2024, 6, 3, hour, minute, second));
    }
    // One second of both windows' timers; a prompt opened in this second has its
    // first tick in the next one.
    void Second(int hour, int minute, int second) {
        SetTime(hour, minute, second);
        prompt.Tick();
        if (controls.checkTimerPeriod > 0) CheckShutdownTime(mainWindow, clock);
    }

    RecordingScheduleView controls;
    FakePromptWindow prompt{countdown, executableDirectory};
    PromptOpeningScheduleView mainWindow{controls, prompt};
    FakeClock clock;
};

TEST_F(ShutdownRoadTest, ScheduledShutdownRunsTheSavedActionAfterTheReminder) {
    SaveReminder("3");
    SaveAction("1");
    OnToggleClicked(mainWindow, clock);
    Second(20, 59, 59);
    EXPECT_FALSE(prompt.open);

    Second(21, 0, 0);
    ASSERT_TRUE(prompt.open);
    EXPECT_EQ(prompt.label, "");
    EXPECT_EQ(controls.checkTimerPeriod, 0);

    Second(21, 0, 1);
    Second(21, 0, 2);
    EXPECT_EQ(prompt.label, RemainingLabel(1));
    EXPECT_TRUE(power.calls.empty());
    Second(21, 0, 3);
    EXPECT_EQ(prompt.label, RemainingLabel(0));
    ASSERT_EQ(power.calls.size(), 1u);
    EXPECT_EQ(power.calls[0].code, kShutDown);
    EXPECT_TRUE(prompt.open);
}

TEST_F(ShutdownRoadTest, ArmingAgainWithinTheMinuteBringsTheOpenPromptForward) {
    SaveReminder("5");
    SaveAction("1");
    OnToggleClicked(mainWindow, clock);
    Second(20, 59, 59);
    Second(21, 0, 0);
    Second(21, 0, 1);
    Second(21, 0, 2);
    ASSERT_EQ(prompt.label, RemainingLabel(3));

    OnToggleClicked(mainWindow, clock);  // disarm
    OnToggleClicked(mainWindow, clock);  // arm: the set minute is still on
    EXPECT_EQ(controls.promptOpenings, 2);
    EXPECT_EQ(prompt.creations, 1);
    EXPECT_EQ(prompt.broughtForward, 1);
    EXPECT_EQ(countdown.RemainingSeconds(), 3);

    Second(21, 0, 3);
    EXPECT_EQ(prompt.label, RemainingLabel(2));
    Second(21, 0, 4);
    Second(21, 0, 5);
    EXPECT_EQ(power.calls.size(), 1u);
}

TEST_F(ShutdownRoadTest, GiveUpLeavesTheScheduleSpentUntilTwoClicks) {
    SaveReminder("5");
    SaveAction("1");
    OnToggleClicked(mainWindow, clock);
    Second(20, 59, 59);
    Second(21, 0, 0);
    Second(21, 0, 1);
    countdown.OnGiveUpClicked(prompt);
    EXPECT_FALSE(prompt.open);
    EXPECT_EQ(controls.toggleCaption, "关闭自动关机");
    EXPECT_EQ(controls.checkTimerPeriod, 0);

    for (int second = 2; second < 60; ++second) Second(21, 0, second);
    EXPECT_TRUE(power.calls.empty());
    EXPECT_EQ(prompt.creations, 1);

    OnToggleClicked(mainWindow, clock);
    OnToggleClicked(mainWindow, clock);
    EXPECT_EQ(prompt.creations, 2);
    EXPECT_EQ(countdown.RemainingSeconds(), 5);
}

}  // namespace
