#include <gtest/gtest.h>

#include <cmath>
#include <ctime>
#include <limits>
#include <string>

#include "clock.h"
#include "datetime.h"
#include "fakes.h"

namespace {

constexpr double kOneSecond = 1.0 / 86400.0;

struct Fields {
    int year, month, day, hour, minute, second;
};

Fields FieldsOf(DateTime value) {
    return {YearOf(value), MonthOf(value), DayOf(value),
            HourOf(value), MinuteOf(value), SecondOf(value)};
}

void ExpectFields(DateTime value, const Fields& expected) {
    const Fields actual = FieldsOf(value);
    EXPECT_EQ(actual.year, expected.year) << value;
    EXPECT_EQ(actual.month, expected.month) << value;
    EXPECT_EQ(actual.day, expected.day) << value;
    EXPECT_EQ(actual.hour, expected.hour) << value;
    EXPECT_EQ(actual.minute, expected.minute) << value;
    EXPECT_EQ(actual.second, expected.second) << value;
}

TEST(DateTimeTextTest, ShortensAtWholeMinutesHoursAndMidnight) {
    const struct {
        int hour, minute, second;
        const char* expected;
    } cases[] = {
        {21, 45, 16, "2013年3月4日21时45分16秒"},
        {21, 45, 0, "2013年3月4日21时45分"},
        {21, 0, 0, "2013年3月4日21时"},
        {0, 0, 0, "2013年3月4日"},
        {8, 5, 0, "2013年3月4日8时5分"},
        {0, 0, 7, "2013年3月4日0时0分7秒"},
        {0, 30, 0, "2013年3月4日0时30分"},
        {10, 0, 0, "2013年3月4日10时"},
        {10, 0, 1, "2013年3月4日10时0分1秒"},
        {23, 59, 59, "2013年3月4日23时59分59秒"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DateTimeText(MakeDateTime(2013, 3, 4, c.hour, c.minute, c.second)), c.expected);
    }
}

TEST(DateTimeTextTest, RoundsToTheNearestSecond) {
    const DateTime justBefore = MakeDateTime(2013, 3, 4, 21, 45, 16) - 0.4 * kOneSecond;
    EXPECT_EQ(DateTimeText(justBefore), "2013年3月4日21时45分16秒");
    const DateTime pastHalf = MakeDateTime(2013, 3, 4, 21, 45, 16) + 0.6 * kOneSecond;
    EXPECT_EQ(DateTimeText(pastHalf), "2013年3月4日21时45分17秒");
    // Half a second before midnight already belongs to the next day.
    const DateTime lastHalfSecond = MakeDateTime(2013, 3, 5, 0, 0, 0) - 0.4 * kOneSecond;
    EXPECT_EQ(DateTimeText(lastHalfSecond), "2013年3月5日");
    EXPECT_EQ(WeekdayOf(lastHalfSecond), kTuesday);
}

TEST(WeekdayTest, NumbersFromSunday) {
    const struct {
        DateTime value;
        int32_t expected;
    } cases[] = {
        {MakeDateTime(2013, 3, 4, 21, 45, 16), kMonday},
        {MakeDateTime(2013, 3, 3, 0, 0, 0), kSunday},
        {MakeDateTime(2013, 3, 9, 23, 59, 59), kSaturday},
        {MakeDateTime(2013, 3, 6, 12, 0, 0), kWednesday},
        {0.0, kSaturday},                 // 1899-12-30
        {-1.0, kFriday},                  // 1899-12-29
        {-6.5, kSunday},                  // 1899-12-24 12:00
        {kMinDateTime, kFriday},          // 0100-01-01
        {kMaxDateTime, kFriday},          // 9999-12-31
        {-1e9, kFriday},                  // clamped to 0100-01-01
    };
    for (const auto& c : cases) EXPECT_EQ(WeekdayOf(c.value), c.expected) << c.value;
}

TEST(WeekdayNameTest, NamesOneToSevenAndAnErrorOtherwise) {
    const char* const names[] = {"星期日", "星期一", "星期二", "星期三",
                                 "星期四", "星期五", "星期六"};
    for (int number = 1; number <= 7; ++number) EXPECT_EQ(WeekdayName(number), names[number - 1]);
    for (int number : {0, 8, -1, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
        EXPECT_EQ(WeekdayName(number), "出错") << number;
    }
}

TEST(SplitTest, KnownOleDates) {
    ExpectFields(0.0, {1899, 12, 30, 0, 0, 0});
    ExpectFields(1.0, {1899, 12, 31, 0, 0, 0});
    ExpectFields(2.0, {1900, 1, 1, 0, 0, 0});
    ExpectFields(60.0, {1900, 2, 28, 0, 0, 0});
    ExpectFields(61.0, {1900, 3, 1, 0, 0, 0});
    ExpectFields(36585.0, {2000, 2, 29, 0, 0, 0});
    ExpectFields(41337.906435185185, {2013, 3, 4, 21, 45, 16});
    // Before day 0 the fraction is the time of day counted forward from midnight.
    ExpectFields(-1.25, {1899, 12, 29, 6, 0, 0});
    ExpectFields(-0.5, {1899, 12, 30, 12, 0, 0});
}

TEST(SplitTest, ClampsToTheSupportedRange) {
    const Fields first{100, 1, 1, 0, 0, 0};
    const Fields last{9999, 12, 31, 0, 0, 0};
    ExpectFields(kMinDateTime, first);
    ExpectFields(kMinDateTime - 1.0, first);
    ExpectFields(-1e300, first);
    ExpectFields(-std::numeric_limits<double>::infinity(), first);
    ExpectFields(std::numeric_limits<double>::quiet_NaN(), first);
    ExpectFields(kMaxDateTime, last);
    ExpectFields(kMaxDateTime + 0.75, last);  // the time of day goes with the clamp
    ExpectFields(1e300, last);
    ExpectFields(std::numeric_limits<double>::infinity(), last);
    EXPECT_EQ(DateTimeText(3e6), "9999年12月31日");
    EXPECT_EQ(DateTimeText(-7e5), "100年1月1日");
    EXPECT_EQ(ClampDateTime(41337.5), 41337.5);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Walks every day of the range: each day's date follows the previous one in the
// Gregorian calendar, and MakeDateTime gives the day number back.
TEST(SplitTest, EveryDayFollowsThePreviousOne) {
    Fields previous = FieldsOf(kMinDateTime);
    for (int day = static_cast<int>(kMinDateTime) + 1; day <= static_cast<int>(kMaxDateTime); ++day) {
        const Fields current = FieldsOf(day);
        Fields expected = previous;
        if (++expected.day > DaysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12) {
                expected.month = 1;
                ++expected.year;
            }
        }
        ASSERT_TRUE(current.year == expected.year && current.month == expected.month &&
                    current.day == expected.day)
            << "day " << day << ": " << current.year << '-' << current.month << '-' << current.day;
        ASSERT_EQ(MakeDateTime(current.year, current.month, current.day, 0, 0, 0), day);
        previous = current;
    }
    EXPECT_EQ(previous.year, 9999);
}

TEST(SplitTest, MakeDateTimeRoundTripsTimesOfDay) {
    for (int seconds = 0; seconds < 86400; seconds += 7) {
        const int hour = seconds / 3600, minute = seconds / 60 % 60, second = seconds % 60;
        ExpectFields(MakeDateTime(2013, 3, 4, hour, minute, second), {2013, 3, 4, hour, minute, second});
        ExpectFields(MakeDateTime(1899, 12, 1, hour, minute, second), {1899, 12, 1, hour, minute, second});
    }
}

TEST(ClockLabelTextTest, JoinsDateTimeAndWeekday) {
    FakeClock clock;
    clock.Set(2013, 3, 4, 21, 45, 16);
    EXPECT_EQ(ClockLabelText(clock), "2013年3月4日21时45分16秒星期一");
    EXPECT_EQ(clock.readings, 2);
}

TEST(ClockLabelTextTest, ReadsTheClockTwiceAcrossMidnight) {
    FakeClock clock;
    clock.Set(2013, 3, 4, 23, 59, 59);
    clock.stepPerReading = kOneSecond;
    // The date-time comes from Monday's last second, the weekday from Tuesday.
    EXPECT_EQ(ClockLabelText(clock), "2013年3月4日23时59分59秒星期二");
    EXPECT_EQ(clock.readings, 2);
}

TEST(SystemClockTest, ReadsLocalTimeInWholeSeconds) {
    SystemClock clock;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::time_t before = std::time(nullptr);
        const DateTime now = clock.Now();
        const std::time_t after = std::time(nullptr);
        if (before != after) continue;  // the second turned over: try again
        std::tm local{};
        ASSERT_NE(localtime_r(&before, &local), nullptr);
        ExpectFields(now, {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                           local.tm_hour, local.tm_min, local.tm_sec});
        const double seconds = (now - std::floor(now)) * 86400.0;
        EXPECT_NEAR(seconds, std::round(seconds), 1e-4);
        return;
    }
    FAIL() << "the clock never stayed within one second";
}

}  // namespace
