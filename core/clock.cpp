#include "clock.h"

#include <ctime>

DateTime SystemClock::Now() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#if defined(_WIN32)
    // msvcrt keeps localtime's result per thread; localtime_s is missing on older systems.
    const std::tm* converted = std::localtime(&now);
    if (converted == nullptr) return 0;
    local = *converted;
#else
    if (localtime_r(&now, &local) == nullptr) return 0;
#endif
    return MakeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                        local.tm_hour, local.tm_min, local.tm_sec);
}

Text ClockLabelText(Clock& clock) {
    // Two separate readings: near midnight the date and the weekday may straddle it.
    const Text dateTimeText = DateTimeText(clock.Now());
    const Text weekdayText = WeekdayName(WeekdayOf(clock.Now()));
    return ConcatText({dateTimeText, weekdayText});
}
