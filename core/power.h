// Power action codes and the seam through which the countdown requests them.
#pragma once

#include <cstdint>

enum PowerAction : int32_t {
    kShutDown = 1,
    kRestart = 2,
    kLogOff = 3,
    kSuspend = 4,
    kHibernate = 5,
};

class PowerActionRunner {
public:
    virtual ~PowerActionRunner() = default;
    // Codes outside 1..5 do nothing and give false.
    virtual bool RunPowerAction(int32_t code, bool force) = 0;
};
