// Local date and time as an OLE Automation date: days since 1899-12-30, the
// fraction being the time of day.
#pragma once

#include <cstdint>

#include "text.h"

using DateTime = double;

// Weekday numbering: 1 = Sunday ... 7 = Saturday.
enum Weekday : int32_t {
    kSunday = 1, kMonday, kTuesday, kWednesday, kThursday, kFriday, kSaturday
};

// The splitting range: 0100-01-01 to 9999-12-31; values outside take the nearer bound.
constexpr DateTime kMinDateTime = -657434.0;
constexpr DateTime kMaxDateTime = 2958465.0;

DateTime ClampDateTime(DateTime value);

int32_t YearOf(DateTime value);
int32_t MonthOf(DateTime value);
int32_t DayOf(DateTime value);
int32_t HourOf(DateTime value);
int32_t MinuteOf(DateTime value);
int32_t SecondOf(DateTime value);
int32_t WeekdayOf(DateTime value);

// Builds a DateTime from calendar fields (proleptic Gregorian); used by the clock and tests.
DateTime MakeDateTime(int32_t year, int32_t month, int32_t day,
                      int32_t hour, int32_t minute, int32_t second);

// "2013年3月4日21时45分16秒", shortened at midnight, whole hours and whole minutes.
Text DateTimeText(DateTime value);

// "星期日" for 1 ... "星期六" for 7, "出错" for anything else.
Text WeekdayName(int32_t number);
