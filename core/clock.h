// The local clock, passed in so that tests can set and move it.
#pragma once

#include "datetime.h"

class Clock {
public:
    virtual ~Clock() = default;
    // Local time in whole seconds, read afresh at every call.
    virtual DateTime Now() = 0;
};

// time() and localtime(): the platform's time zone and daylight-saving rules apply.
class SystemClock final : public Clock {
public:
    DateTime Now() override;
};

// Date-time text of one reading followed by the weekday name of a second reading.
Text ClockLabelText(Clock& clock);
