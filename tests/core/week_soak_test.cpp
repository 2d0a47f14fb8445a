// A week of the clock, one tick a second: the schedule armed, fired, given up or acted on,
// armed again with two clicks and saved every day, with nothing growing on the way.
#include <gtest/gtest.h>

#include <initializer_list>
#include <chrono>
#include <string>
#include <vector>

#include "countdown.h"
#include "datetime.h"
#include "fakes.h"
#include "ini_file.h"
#include "schedule.h"
#include "settings.h"
#include "temp_dir.h"

namespace {

using Log = std::vector<std::string>;

constexpr int kSecondsPerDay = 86400;
constexpr int kDays = 7;
// Re-arming waits until the set minute is over; earlier, the arming check fires again.
constexpr int kReArmDelaySeconds = 120;
// How long the user looks at the prompt window before clicking.
constexpr int kUserDelaySeconds = 4;

enum class Response { kGiveUp, kLetExpire, kActNow };

struct DayPlan {
    int hour, minute, second;  // the set time
    int actionButton;          // 单选框n saved for the day: the action code
    const char* reminder;      // two digits every day, so the file keeps its size
    Response response;
    int lateTickSeconds;       // 时钟1's ticks from the set time on held back this long
};

// Each day's time is earlier than the day before, so arming again after a firing waits
// for the next day. The eighth plan is armed on Sunday for the following Monday. On
// Thursday a busy system delivers the tick of the set second three seconds late.
constexpr DayPlan kPlans[kDays + 1] = {
    {22, 50, 40, kShutDown, "10", Response::kGiveUp, 0},
    {22, 45, 39, kRestart, "11", Response::kLetExpire, 0},
    {22, 40, 38, kLogOff, "12", Response::kActNow, 0},
    {21, 35, 37, kShutDown, "10", Response::kLetExpire, 3},
    {21, 30, 36, kRestart, "11", Response::kGiveUp, 0},
    {20, 25, 35, kLogOff, "12", Response::kActNow, 0},
    {20, 20, 34, kShutDown, "13", Response::kLetExpire, 0},
    {10, 10, 10, kRestart, "10", Response::kGiveUp, 0},
};

// The lines of close.ini after every save, up to and including the "=": the sections in
// the order of their first write and the keys in the order written.
const std::vector<std::string> kFileShape = {
    "[关机列表]", "星期一=", "星期二=", "星期三=", "星期四=", "星期五=", "星期六=", "星期日=",
    "[关机操作]", "关机方式=", "[关机时间]", "小时=", "分钟=", "秒=", "[提醒时间]", "秒=",
};

// How RecordingScheduleView logs the status a check writes.
const std::string kCheckStatusEntry = std::string("status:") + kStatusPrefix;

int SecondOfDay(const DayPlan& plan) { return (plan.hour * 60 + plan.minute) * 60 + plan.second; }

std::vector<std::string> SplitCrlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    if (start != bytes.size()) lines.push_back(bytes.substr(start));  // an unended last line
    return lines;
}

std::vector<std::string> ShapeOf(const std::vector<std::string>& lines) {
    std::vector<std::string> shape;
    for (const std::string& line : lines) {
        const size_t equals = line.find('=');
        const bool header = !line.empty() && line.front() == '[';
        shape.push_back(header || equals == std::string::npos ? line : line.substr(0, equals + 1));
    }
    return shape;
}

// What happened on one day, observed second by second.
struct DayRecord {
    std::vector<int> promptSeconds;  // seconds of the day at which the check fired
    std::vector<int> powerSeconds;   // seconds at which the runner was called
    int checks = 0;                  // CheckShutdownTime runs: ticks and the arming check
    int stoppedSeconds = 0;          // seconds that ended with 时钟1 stopped
    Log events;                      // the main window's log without the checks' status
};

// The main window's events around the checks: arming, firing, and the first of the two
// clicks that arm again.
const Log kArmEvents = {std::string("caption:") + kArmedCaption, "timer:1000"};
const Log kFireEvents = {"prompt", "timer:0"};
const Log kDisarmEvents = {std::string("caption:") + kDisarmedCaption,
                           std::string("status:") + kNoEventStatus, "timer:0"};

Log Joined(std::initializer_list<Log> parts) {
    Log joined;
    for (const Log& part : parts) joined.insert(joined.end(), part.begin(), part.end());
    return joined;
}

class WeekSoakTest : public ::testing::Test {
protected:
    WeekSoakTest() {
        controls.dayTicked.fill(true);
        settings.LoadSettings(controls, directory.Directory());
    }

    // The user sets up the plan in the main window, saves it, then picks another action
    // without saving: the countdown must act on the saved one.
    void EnterAndSave(const DayPlan& plan) {
        controls.hour = IntToText(plan.hour);
        controls.minute = IntToText(plan.minute);
        controls.second = IntToText(plan.second);
        controls.reminder = plan.reminder;
        for (int button = 1; button <= 3; ++button) controls.actionChosen[button - 1] = button == plan.actionButton;
        settings.SaveSettings(controls);
        CheckSavedFile(plan);
        for (int button = 1; button <= 3; ++button) controls.actionChosen[button - 1] = button != plan.actionButton;
    }

    void CheckSavedFile(const DayPlan& plan) {
        const std::string bytes = directory.ReadFile(kSettingsFileName);
        ASSERT_FALSE(bytes.empty());
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        const std::vector<std::string> lines = SplitCrlfLines(bytes);
        EXPECT_EQ(ShapeOf(lines), kFileShape);
        if (firstFileSize == 0) firstFileSize = bytes.size();
        EXPECT_EQ(bytes.size(), firstFileSize);

        const ScheduleSettings saved = ReadSettings(store, SettingsPathOf(directory.Directory()));
        EXPECT_EQ(saved.dayFlags, controls.dayTicked);
        EXPECT_EQ(saved.actionText, IntToText(plan.actionButton));
        EXPECT_EQ(saved.hourText, IntToText(plan.hour));
        EXPECT_EQ(saved.minuteText, IntToText(plan.minute));
        EXPECT_EQ(saved.secondText, IntToText(plan.second));
        EXPECT_EQ(saved.reminderText, plan.reminder);
    }

    // One day of seconds. The user answers the prompt window kUserDelaySeconds after it
    // opens (an expired one is closed that long after it acted), arms for the next plan
    // kReArmDelaySeconds after the firing, and saves it first.
    DayRecord RunDay(int day) {
        const DayPlan& plan = kPlans[day];
        const DateTime midnight = kFirstMonday + day;
        const int reminder = TextToInt(plan.reminder);
        const int setSecond = SecondOfDay(plan);
        DayRecord record;
        int openedAt = -1;
        for (int second = 0; second < kSecondsPerDay; ++second) {
            clock.Set(midnight + second / static_cast<double>(kSecondsPerDay));
            const size_t powerCallsBefore = power.calls.size();
            const int openingsBefore = controls.promptOpenings;

            bool armedThisSecond = false;
            if (day == 0 && second == 0) {
                EnterAndSave(plan);
                Click();
                armedThisSecond = true;
            } else if (openedAt >= 0 && second == openedAt + kReArmDelaySeconds) {
                EnterAndSave(kPlans[day + 1]);
                Click();
                Click();
                armedThisSecond = true;
            }
            // Arming checks at once; 时钟1's first tick comes a period later. Held-back
            // ticks arrive as one.
            const bool tickHeldBack = second >= setSecond && second < setSecond + plan.lateTickSeconds;
            if (!armedThisSecond && !tickHeldBack && controls.checkTimerPeriod > 0) {
                CheckShutdownTime(mainWindow, clock);
            }

            if (openedAt >= 0 && second > openedAt) {
                prompt.Tick();
                const int answerAt = openedAt + kUserDelaySeconds +
                                     (plan.response == Response::kLetExpire ? reminder : 0);
                if (second == answerAt && prompt.open) Answer(plan.response);
            }

            if (controls.promptOpenings != openingsBefore) {
                record.promptSeconds.push_back(second);
                openedAt = second;
            }
            if (power.calls.size() != powerCallsBefore) record.powerSeconds.push_back(second);
            if (controls.checkTimerPeriod == 0) ++record.stoppedSeconds;
        }
        for (const std::string& entry : controls.log) {
            if (entry.rfind(kCheckStatusEntry, 0) == 0) {
                ++record.checks;
            } else {
                record.events.push_back(entry);
            }
        }
        return record;
    }

    void Answer(Response response) {
        if (response == Response::kActNow) {
            countdown.OnActNowClicked(prompt);
        } else {
            countdown.OnGiveUpClicked(prompt);  // also closes an expired window
        }
    }

    void Click() { OnToggleClicked(mainWindow, clock); }

    const DateTime kFirstMonday = MakeDateTime(2013, 3, 4, 0, 0, 0);
    TempDirectory directory;
    IniFileStore store;
    RecordingNotice notice;
    MainSettings settings{store, notice};
    Log log;
    RecordingPowerRunner power{log};
    Countdown countdown{store, power};
    FakePromptWindow prompt{countdown, directory.Directory()};
    RecordingScheduleView controls;
    PromptOpeningScheduleView mainWindow{controls, prompt};
    FakeClock clock;
    size_t firstFileSize = 0;
};

TEST_F(WeekSoakTest, EveryDayFiresOnceAtItsTimeActsOnlyWhenAskedAndGrowsNothing) {
    const auto started = std::chrono::steady_clock::now();
    int checks = 0;
    for (int day = 0; day < kDays; ++day) {
        SCOPED_TRACE("day " + std::to_string(day));
        const DayPlan& plan = kPlans[day];
        const DayRecord record = RunDay(day);
        checks += record.checks;

        // A late tick within the set minute still fires.
        const int firedSecond = SecondOfDay(plan) + plan.lateTickSeconds;
        EXPECT_EQ(record.promptSeconds, std::vector<int>{firedSecond});
        const Log expectedEvents = day == 0 ? Joined({kArmEvents, kFireEvents, kDisarmEvents, kArmEvents})
                                            : Joined({kFireEvents, kDisarmEvents, kArmEvents});
        EXPECT_EQ(record.events, expectedEvents);
        EXPECT_EQ(prompt.creations, day + 1);
        EXPECT_EQ(prompt.broughtForward, 0);
        EXPECT_FALSE(prompt.open);
        EXPECT_EQ(countdown.State(), CountdownState::Closed);
        EXPECT_EQ(countdown.RunDirectoryCopy(), directory.Directory());

        // 时钟1 stops at the firing and runs again from the arming two minutes later;
        // every other second of the day took a check, but for the held-back ticks.
        EXPECT_EQ(record.stoppedSeconds, kReArmDelaySeconds);
        EXPECT_EQ(record.checks, kSecondsPerDay - (kReArmDelaySeconds - 1) - plan.lateTickSeconds);
        EXPECT_EQ(controls.toggleCaption, kArmedCaption);
        EXPECT_EQ(controls.checkTimerPeriod, kCheckPeriodMs);

        const int reminder = TextToInt(plan.reminder);
        switch (plan.response) {
            case Response::kGiveUp:
                EXPECT_TRUE(record.powerSeconds.empty());
                break;
            case Response::kLetExpire:
                EXPECT_EQ(record.powerSeconds, std::vector<int>{firedSecond + reminder});
                break;
            case Response::kActNow:
                EXPECT_EQ(record.powerSeconds, std::vector<int>{firedSecond + kUserDelaySeconds});
                break;
        }
        // The countdown starts each opening from the reminder saved for that day.
        const int remainingAtTheEnd =
            plan.response == Response::kLetExpire ? 0 : reminder - kUserDelaySeconds;
        EXPECT_EQ(prompt.label, ConcatText({kRemainingPrefix, IntToText(remainingAtTheEnd), kRemainingSuffix}));
        ASSERT_EQ(power.calls.size(), record.powerSeconds.size());
        for (const RecordingPowerRunner::Call& call : power.calls) {
            EXPECT_EQ(call.code, plan.actionButton);
            EXPECT_TRUE(call.force);
        }

        // The day's records go, so a week costs the memory of a day.
        controls.log.clear();
        power.calls.clear();
        log.clear();
    }
    EXPECT_TRUE(notice.messages.empty());

    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    RecordProperty("checks", checks);
    RecordProperty("milliseconds", static_cast<int>(seconds * 1000));
}

}  // namespace
