// Splitting any double as a DateTime (NaN, infinities, huge and tiny values included):
// every field in its range, a text that is never empty, values outside the range split
// as its nearer bound, and MakeDateTime of any fields inside it splits back to the same
// fields, on the weekday an independent weekday formula gives.
//
// Input: a text. Its first number (anything strtod reads: 41337.5, -1e300, nan, inf,
// 0x1p-1074) is the value to split; up to six integers after it pick the calendar
// fields of the round trip (wrapped into their ranges); fields not given come from
// the bits of the value. An input starting with 'b' takes its next eight bytes as
// the raw bits of the value instead.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "datetime.h"
#include "text.h"

namespace {

struct Fields {
    int32_t year, month, day, hour, minute, second, weekday;
};

Fields Split(DateTime value) {
    return {YearOf(value), MonthOf(value), DayOf(value), HourOf(value),
            MinuteOf(value), SecondOf(value), WeekdayOf(value)};
}

bool IsLeapYear(int32_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int32_t DaysInMonth(int32_t year, int32_t month) {
    static const int32_t kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Zeller's congruence, renumbered to 1 = Sunday ... 7 = Saturday.
int32_t ZellerWeekday(int32_t year, int32_t month, int32_t day) {
    if (month < 3) {
        month += 12;
        year -= 1;
    }
    const int32_t century = year / 100, yearOfCentury = year % 100;
    const int32_t h = (day + 13 * (month + 1) / 5 + yearOfCentury + yearOfCentury / 4 +
                       century / 4 + 5 * century) % 7;  // 0 = Saturday
    return (h + 6) % 7 + 1;
}

[[noreturn]] void Fail(const char* what, DateTime value, const Fields& f) {
    std::fprintf(stderr, "%s: value %.17g -> %d-%d-%d %d:%d:%d weekday %d\n", what, value,
                 f.year, f.month, f.day, f.hour, f.minute, f.second, f.weekday);
    std::abort();
}

void CheckInRange(DateTime value, const Fields& f) {
    if (f.year < 100 || f.year > 9999) Fail("year out of range", value, f);
    if (f.month < 1 || f.month > 12) Fail("month out of range", value, f);
    if (f.day < 1 || f.day > DaysInMonth(f.year, f.month)) Fail("day out of range", value, f);
    if (f.hour < 0 || f.hour > 23) Fail("hour out of range", value, f);
    if (f.minute < 0 || f.minute > 59) Fail("minute out of range", value, f);
    if (f.second < 0 || f.second > 59) Fail("second out of range", value, f);
    if (f.weekday < kSunday || f.weekday > kSaturday) Fail("weekday out of range", value, f);
    if (f.weekday != ZellerWeekday(f.year, f.month, f.day)) Fail("weekday not the date's", value, f);

    const Text text = DateTimeText(value);
    const Text year = IntToText(f.year);
    if (text.empty() || text.compare(0, year.size(), year) != 0) Fail("date-time text", value, f);
}

bool SameFields(const Fields& a, const Fields& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute && a.second == b.second && a.weekday == b.weekday;
}

// A wanted value brought into [low, low + count).
int32_t Wrapped(int64_t wanted, int32_t low, int32_t count) {
    const int64_t remainder = wanted % count;
    return low + static_cast<int32_t>(remainder < 0 ? remainder + count : remainder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    DateTime value = 0;
    const char* rest = input.c_str();
    if (size >= 9 && input[0] == 'b') {
        std::memcpy(&value, data + 1, sizeof value);
        rest += 9;
    } else {
        char* end = nullptr;
        value = std::strtod(rest, &end);
        rest = end;
    }

    const Fields split = Split(value);
    CheckInRange(value, split);
    if (std::isnan(value) || value <= kMinDateTime) {
        if (!SameFields(split, Split(kMinDateTime))) Fail("below the range", value, split);
    } else if (value >= kMaxDateTime) {
        if (!SameFields(split, Split(kMaxDateTime))) Fail("above the range", value, split);
    }

    // Calendar fields for the round trip: given ones first, then bits of the value.
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    int64_t wanted[6];
    for (int64_t& field : wanted) {
        char* end = nullptr;
        const long long given = std::strtoll(rest, &end, 10);
        if (end != rest) {
            field = given;
            rest = end;
        } else {
            field = static_cast<int64_t>(bits & 0xFFFF);
            bits = (bits >> 16) | (bits << 48);
        }
    }
    Fields f{};
    f.year = Wrapped(wanted[0], 100, 9900);
    f.month = Wrapped(wanted[1], 1, 12);
    f.day = Wrapped(wanted[2], 1, DaysInMonth(f.year, f.month));
    f.hour = Wrapped(wanted[3], 0, 24);
    f.minute = Wrapped(wanted[4], 0, 60);
    f.second = Wrapped(wanted[5], 0, 60);
    f.weekday = ZellerWeekday(f.year, f.month, f.day);

    const DateTime made = MakeDateTime(f.year, f.month, f.day, f.hour, f.minute, f.second);
    // The range is numeric: a time of day on 0100-01-01 lies below its lower bound and
    // one on 9999-12-31 above its upper bound, so both split as their day's midnight.
    const bool clamped = made < kMinDateTime || made > kMaxDateTime;
    const Fields expected = clamped ? Fields{f.year, f.month, f.day, 0, 0, 0, f.weekday} : f;
    const Fields back = Split(made);
    if (!SameFields(back, expected)) Fail("round trip", made, back);
    if (clamped && !(f.year == 100 || f.year == 9999)) Fail("made outside the range", made, f);
    CheckInRange(made, back);
    return 0;
}
