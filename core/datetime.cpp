#include "datetime.h"

#include <cmath>

namespace {

// 1899-12-30, day 0 of a DateTime, counted from 1970-01-01.
constexpr int64_t kEpochOffsetDays = -25569;
constexpr double kSecondsPerDay = 86400.0;
constexpr int32_t kLastSecondOfDay = 86399;

struct DateTimeFields {
    int32_t year, month, day;
    int32_t hour, minute, second;
    int32_t weekday;
};

// Proleptic Gregorian day count from 1970-01-01 (H. Hinnant's civil-date algorithms).
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, DateTimeFields& fields) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    fields.day = static_cast<int32_t>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    fields.month = static_cast<int32_t>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    fields.year = static_cast<int32_t>(yearOfEra + era * 400 + (fields.month <= 2 ? 1 : 0));
}

int32_t NonNegativeModulo(int64_t value, int32_t divisor) {
    const int64_t remainder = value % divisor;
    return static_cast<int32_t>(remainder < 0 ? remainder + divisor : remainder);
}

DateTimeFields SplitDateTime(DateTime value) {
    DateTime rounded = ClampDateTime(value);
    rounded += rounded > 0 ? 0.5 / kSecondsPerDay : -0.5 / kSecondsPerDay;
    const double dayNumber = std::trunc(rounded);
    const int64_t day = static_cast<int64_t>(dayNumber);

    DateTimeFields fields{};
    fields.weekday = NonNegativeModulo(day + 693958, 7) + 1;

    // The time of day is the fraction of the magnitude, also before day 0.
    int32_t seconds = static_cast<int32_t>(std::fabs(rounded - dayNumber) * kSecondsPerDay);
    if (seconds > kLastSecondOfDay) seconds = kLastSecondOfDay;
    fields.hour = seconds / 3600;
    fields.minute = seconds / 60 % 60;
    fields.second = seconds % 60;

    CivilFromDays(day + kEpochOffsetDays, fields);
    return fields;
}

}  // namespace

DateTime ClampDateTime(DateTime value) {
    if (std::isnan(value) || value < kMinDateTime) return kMinDateTime;
    if (value > kMaxDateTime) return kMaxDateTime;
    return value;
}

int32_t YearOf(DateTime value) { return SplitDateTime(value).year; }
int32_t MonthOf(DateTime value) { return SplitDateTime(value).month; }
int32_t DayOf(DateTime value) { return SplitDateTime(value).day; }
int32_t HourOf(DateTime value) { return SplitDateTime(value).hour; }
int32_t MinuteOf(DateTime value) { return SplitDateTime(value).minute; }
int32_t SecondOf(DateTime value) { return SplitDateTime(value).second; }
int32_t WeekdayOf(DateTime value) { return SplitDateTime(value).weekday; }

DateTime MakeDateTime(int32_t year, int32_t month, int32_t day,
                      int32_t hour, int32_t minute, int32_t second) {
    const int64_t dayNumber = DaysFromCivil(year, month, day) - kEpochOffsetDays;
    const double timeOfDay = (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
    // Before day 0 the fraction still counts forward from midnight, so it is subtracted.
    return dayNumber >= 0 ? static_cast<double>(dayNumber) + timeOfDay
                          : static_cast<double>(dayNumber) - timeOfDay;
}

Text DateTimeText(DateTime value) {
    const DateTimeFields f = SplitDateTime(value);
    const Text date = ConcatText({IntToText(f.year), "年", IntToText(f.month), "月",
                                  IntToText(f.day), "日"});
    if (f.second != 0) {
        return ConcatText({date, IntToText(f.hour), "时", IntToText(f.minute), "分",
                           IntToText(f.second), "秒"});
    }
    if (f.minute != 0) {
        return ConcatText({date, IntToText(f.hour), "时", IntToText(f.minute), "分"});
    }
    if (f.hour != 0) return ConcatText({date, IntToText(f.hour), "时"});
    return date;
}

Text WeekdayName(int32_t number) {
    static const char* const kNames[] = {"星期日", "星期一", "星期二", "星期三",
                                         "星期四", "星期五", "星期六"};
    if (number < kSunday || number > kSaturday) return "出错";
    return kNames[number - kSunday];
}
