// Arming with the toggle and the per-second check of the set time.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datetime.h"
#include "fakes.h"
#include "schedule.h"

namespace {

using Log = std::vector<std::string>;

constexpr int kSecondsPerDay = 86400;
// Monday 3 June 2024; Monday's box is 选择框1.
constexpr int kMondayBox = 1;

// A day of the clock in whole seconds, and 时钟1 ticking once a second while it runs.
class ScheduleTest : public ::testing::Test {
protected:
    ScheduleTest() { view.dayTicked[kMondayBox - 1] = true; }

    // Seconds counted from Monday 00:00:00; the next day is a Tuesday.
    void SetTime(int day, int hour, int minute, int second) {
        secondsFromMonday_ = ((day * 24 + hour) * 60 + minute) * 60 + second;
        clock.Set(kMonday + secondsFromMonday_ / static_cast<double>(kSecondsPerDay));
    }
    void SetTime(int hour, int minute, int second) { SetTime(0, hour, minute, second); }

    void Click() { OnToggleClicked(view, clock); }

    // Each second the clock moves on and, if 时钟1 runs, the check takes its tick.
    void RunSeconds(int seconds) {
        for (int i = 0; i < seconds; ++i) AdvanceAndTick();
    }
    // Seconds until the prompt window opens, or -1 if it has not within `limit`.
    int SecondsUntilPrompt(int limit) {
        const int openingsBefore = view.promptOpenings;
        for (int elapsed = 1; elapsed <= limit; ++elapsed) {
            AdvanceAndTick();
            if (view.promptOpenings != openingsBefore) return elapsed;
        }
        return -1;
    }
    // Day, hour, minute and second of the clock now, without moving it.
    std::vector<int> TimeNow() const {
        const int s = secondsFromMonday_;
        return {s / kSecondsPerDay, s / 3600 % 24, s / 60 % 60, s % 60};
    }

    void SetBoxes(const char* hour, const char* minute, const char* second) {
        view.hour = hour;
        view.minute = minute;
        view.second = second;
    }

    const DateTime kMonday = MakeDateTime(2024, 6, 3, 0, 0, 0);
    RecordingScheduleView view;
    FakeClock clock;

private:
    void AdvanceAndTick() {
        ++secondsFromMonday_;
        clock.Set(kMonday + secondsFromMonday_ / static_cast<double>(kSecondsPerDay));
        if (view.checkTimerPeriod > 0) CheckShutdownTime(view, clock);
    }

    int secondsFromMonday_ = 0;
};

TEST(DayBoxOfWeekdayTest, MapsSundayFirstWeekdaysToMondayFirstBoxes) {
    const struct { int32_t weekday; int box; } rows[] = {
        {kSunday, 7}, {kMonday, 1}, {kTuesday, 2}, {kWednesday, 3},
        {kThursday, 4}, {kFriday, 5}, {kSaturday, 6}, {0, 0}, {8, 0}, {-1, 0},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(DayBoxOfWeekday(row.weekday), row.box) << "weekday " << row.weekday;
    }
}

TEST(ArmForTodayTest, ConsultsOnlyTheBoxOfTheCalendarDay) {
    // 2 June 2024 is a Sunday; the week runs to Saturday 8 June.
    const struct { int day; int box; } week[] = {
        {2, 7}, {3, 1}, {4, 2}, {5, 3}, {6, 4}, {7, 5}, {8, 6},
    };
    for (const auto& date : week) {
        FakeClock clock(MakeDateTime(2024, 6, date.day, 12, 0, 0));

        RecordingScheduleView onlyToday;
        onlyToday.dayTicked[date.box - 1] = true;
        ArmForToday(onlyToday, clock);
        EXPECT_EQ(onlyToday.checkTimerPeriod, 1000) << "June " << date.day;

        RecordingScheduleView allButToday;
        allButToday.dayTicked.fill(true);
        allButToday.dayTicked[date.box - 1] = false;
        ArmForToday(allButToday, clock);
        EXPECT_EQ(allButToday.checkTimerPeriod, 0) << "June " << date.day;
        EXPECT_TRUE(allButToday.log.empty()) << "June " << date.day;
    }
}

// Every transition of the toggle's state table, with its effects in order.
TEST_F(ScheduleTest, StateTableTransitions) {
    enum class Event { Click, Tick };
    const struct {
        const char* name;
        const char* caption;
        int32_t timer;
        bool todayTicked;
        int hour, minute, second;
        Event event;
        const char* expectedCaption;
        int32_t expectedTimer;
        Log expectedLog;
    } rows[] = {
        {"disarmed, click, today ticked", "开启自动关机", 0, true, 20, 0, 0, Event::Click,
         "关闭自动关机", 1000, {"caption:关闭自动关机", "timer:1000", "status:关机时间为21:00:00"}},
        {"disarmed, click, today ticked, set time reached", "开启自动关机", 0, true, 21, 0, 0,
         Event::Click, "关闭自动关机", 0,
         {"caption:关闭自动关机", "timer:1000", "status:关机时间为21:00:00", "prompt", "timer:0"}},
        {"disarmed, click, today unticked", "开启自动关机", 0, false, 21, 0, 0, Event::Click,
         "关闭自动关机", 0, {"caption:关闭自动关机"}},
        {"armed and waiting, tick, no match", "关闭自动关机", 1000, true, 20, 59, 59, Event::Tick,
         "关闭自动关机", 1000, {"status:关机时间为21:00:00"}},
        {"armed and waiting, tick, match", "关闭自动关机", 1000, true, 21, 0, 0, Event::Tick,
         "关闭自动关机", 0, {"status:关机时间为21:00:00", "prompt", "timer:0"}},
        {"armed and waiting, click", "关闭自动关机", 1000, true, 21, 0, 0, Event::Click,
         "开启自动关机", 0, {"caption:开启自动关机", "status:无关机事件", "timer:0"}},
        {"armed in name only, click", "关闭自动关机", 0, false, 21, 0, 0, Event::Click,
         "开启自动关机", 0, {"caption:开启自动关机", "status:无关机事件", "timer:0"}},
        {"foreign caption, click", "别的文字", 1000, true, 21, 0, 0, Event::Click, "别的文字", 0,
         {"status:无关机事件", "timer:0"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view = RecordingScheduleView();
        view.toggleCaption = row.caption;
        view.checkTimerPeriod = row.timer;
        view.dayTicked[kMondayBox - 1] = row.todayTicked;
        SetTime(row.hour, row.minute, row.second);

        if (row.event == Event::Click) {
            Click();
        } else {
            CheckShutdownTime(view, clock);
        }

        EXPECT_EQ(view.toggleCaption, row.expectedCaption);
        EXPECT_EQ(view.checkTimerPeriod, row.expectedTimer);
        EXPECT_EQ(view.log, row.expectedLog);
    }
}

TEST_F(ScheduleTest, ArmedTwoSecondsEarlyFiresOnTheTickAtTheSetTime) {
    SetTime(20, 59, 58);
    Click();
    EXPECT_EQ(view.toggleCaption, "关闭自动关机");
    EXPECT_EQ(view.status, "关机时间为21:00:00");
    EXPECT_EQ(view.checkTimerPeriod, 1000);

    RunSeconds(1);
    EXPECT_EQ(view.promptOpenings, 0);
    RunSeconds(1);
    EXPECT_EQ(view.promptOpenings, 1);
    EXPECT_EQ(view.checkTimerPeriod, 0);

    // Spent: the timer no longer runs, so later seconds open nothing.
    RunSeconds(kSecondsPerDay * 2);
    EXPECT_EQ(view.promptOpenings, 1);
    EXPECT_EQ(view.toggleCaption, "关闭自动关机");
    EXPECT_EQ(view.status, "关机时间为21:00:00");
}

TEST_F(ScheduleTest, ArmedWithinTheSetMinuteFiresDuringTheClick) {
    SetTime(21, 0, 30);
    Click();
    EXPECT_EQ(view.promptOpenings, 1);
    EXPECT_EQ(view.checkTimerPeriod, 0);
}

TEST_F(ScheduleTest, ArmedAfterTheSetMinuteFiresAtTheSetTimeNextDayWhateverItsBox) {
    SetTime(21, 1, 0);
    Click();
    EXPECT_EQ(view.promptOpenings, 0);
    ASSERT_FALSE(view.dayTicked[1]) << "Tuesday's box must be unticked for this case";

    EXPECT_EQ(SecondsUntilPrompt(2 * kSecondsPerDay), kSecondsPerDay - 60);
    EXPECT_EQ(TimeNow(), (std::vector<int>{1, 21, 0, 0}));
}

TEST_F(ScheduleTest, LateTickWithinTheSetMinuteStillFires) {
    SetTime(20, 59, 50);
    Click();
    SetTime(21, 0, 45);  // the machine slept through the first 45 seconds
    CheckShutdownTime(view, clock);
    EXPECT_EQ(view.promptOpenings, 1);
}

TEST_F(ScheduleTest, MissedSetMinuteFiresOnlyTheNextDay) {
    SetTime(20, 59, 50);
    Click();
    SetTime(21, 1, 5);  // asleep for the whole set minute
    CheckShutdownTime(view, clock);
    EXPECT_EQ(view.promptOpenings, 0);

    EXPECT_NE(SecondsUntilPrompt(2 * kSecondsPerDay), -1);
    EXPECT_EQ(TimeNow(), (std::vector<int>{1, 21, 0, 0}));
}

TEST_F(ScheduleTest, TodayUntickedArmsInNameOnlyUntilDisarmedAndArmedAgain) {
    view.dayTicked[kMondayBox - 1] = false;
    SetTime(21, 0, 0);
    Click();
    EXPECT_EQ(view.toggleCaption, "关闭自动关机");
    EXPECT_EQ(view.status, "");
    EXPECT_EQ(view.checkTimerPeriod, 0);
    EXPECT_EQ(view.promptOpenings, 0);

    // Ticking today's box now does not start the check; the next click disarms.
    view.dayTicked[kMondayBox - 1] = true;
    Click();
    EXPECT_EQ(view.toggleCaption, "开启自动关机");
    EXPECT_EQ(view.status, "无关机事件");
    EXPECT_EQ(view.promptOpenings, 0);

    Click();
    EXPECT_EQ(view.promptOpenings, 1);
}

TEST_F(ScheduleTest, TimeBoxesAreReadAsTypedAndCompareAsNumbers) {
    const struct {
        const char* hour;
        const char* minute;
        const char* second;
        int armHour, armMinute, armSecond;
        int expectedSecondsToFire;  // -1: never within two days
        const char* expectedStatus;
    } rows[] = {
        {"", "00", "00", 23, 59, 58, 2, "关机时间为:00:00"},
        {"7", "5", "0", 7, 4, 59, 1, "关机时间为7:5:0"},
        {"07", "05", "00", 7, 4, 59, 1, "关机时间为07:05:00"},
        {"24", "00", "00", 0, 0, 1, -1, "关机时间为24:00:00"},
        {"21", "60", "00", 0, 0, 1, -1, "关机时间为21:60:00"},
        {"21", "00", "60", 0, 0, 1, -1, "关机时间为21:00:60"},
        {"-1", "00", "00", 0, 0, 1, -1, "关机时间为-1:00:00"},
        {"21", "00", "-5", 20, 59, 58, 2, "关机时间为21:00:-5"},
        {"21", "00", "abc", 20, 59, 58, 2, "关机时间为21:00:abc"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.hour) + ":" + row.minute + ":" + row.second);
        view = RecordingScheduleView();
        view.dayTicked.fill(true);
        SetBoxes(row.hour, row.minute, row.second);
        SetTime(row.armHour, row.armMinute, row.armSecond);

        Click();
        EXPECT_EQ(view.status, row.expectedStatus);
        EXPECT_EQ(SecondsUntilPrompt(2 * kSecondsPerDay), row.expectedSecondsToFire);
        EXPECT_EQ(view.status, row.expectedStatus);
        EXPECT_EQ(view.checkTimerPeriod, row.expectedSecondsToFire == -1 ? 1000 : 0);
    }
}

TEST_F(ScheduleTest, SecondOnlyHasToBeReached) {
    SetBoxes("21", "00", "30");
    SetTime(21, 0, 29);
    Click();
    EXPECT_EQ(view.promptOpenings, 0);
    SetTime(21, 0, 59);
    CheckShutdownTime(view, clock);
    EXPECT_EQ(view.promptOpenings, 1);
}

// Hour, minute and second come from three readings of the clock, in that order; a
// field that does not match ends the check without further readings.
TEST_F(ScheduleTest, EachFieldTakesItsOwnClockReading) {
    const struct {
        const char* name;
        int hour, minute, second;
        const char* setSecond;
        int stepSeconds;
        bool fires;
        int readings;
    } rows[] = {
        {"hour differs", 20, 0, 0, "00", 0, false, 1},
        {"minute differs", 21, 1, 0, "00", 0, false, 2},
        {"second not reached", 21, 0, 1, "02", 0, false, 3},
        {"match", 21, 0, 2, "02", 0, true, 3},
        // The clock moves one second per reading: the second is read at 21:00:02.
        {"second read last", 21, 0, 0, "02", 1, true, 3},
        // 20:59:59 gives hour 20 before the minute turns.
        {"hour read first", 20, 59, 59, "00", 1, false, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        view = RecordingScheduleView();
        view.second = row.setSecond;
        SetTime(row.hour, row.minute, row.second);
        clock.readings = 0;
        clock.stepPerReading = row.stepSeconds / static_cast<double>(kSecondsPerDay);

        CheckShutdownTime(view, clock);
        EXPECT_EQ(view.promptOpenings, row.fires ? 1 : 0);
        EXPECT_EQ(clock.readings, row.readings);
    }
}

TEST_F(ScheduleTest, EditedTimeBoxesCountAtTheNextTick) {
    SetTime(20, 0, 0);
    Click();
    RunSeconds(3);
    EXPECT_EQ(view.status, "关机时间为21:00:00");

    SetBoxes("20", "00", "05");
    EXPECT_EQ(SecondsUntilPrompt(10), 2);
    EXPECT_EQ(view.status, "关机时间为20:00:05");
}

TEST_F(ScheduleTest, WeekdayBoxesCountOnlyAtArming) {
    SetTime(20, 59, 0);
    Click();
    view.dayTicked.fill(false);
    EXPECT_EQ(SecondsUntilPrompt(120), 60);
}

TEST_F(ScheduleTest, AfterFiringTwoClicksArmAfresh) {
    SetTime(20, 59, 59);
    Click();
    RunSeconds(1);
    ASSERT_EQ(view.promptOpenings, 1);
    EXPECT_EQ(view.toggleCaption, "关闭自动关机");

    SetTime(21, 5, 0);
    Click();
    EXPECT_EQ(view.toggleCaption, "开启自动关机");
    EXPECT_EQ(view.status, "无关机事件");
    EXPECT_EQ(view.checkTimerPeriod, 0);

    Click();
    EXPECT_EQ(view.toggleCaption, "关闭自动关机");
    EXPECT_EQ(view.checkTimerPeriod, 1000);
    EXPECT_EQ(SecondsUntilPrompt(2 * kSecondsPerDay), kSecondsPerDay - 5 * 60);
    EXPECT_EQ(view.promptOpenings, 2);
}

}  // namespace
