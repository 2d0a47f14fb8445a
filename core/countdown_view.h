// The prompt window as the countdown sees it.
#pragma once

#include <cstdint>

#include "text.h"

class CountdownView {
public:
    virtual ~CountdownView() = default;
    // 标签1, repainted at once.
    virtual void SetRemainingText(const Text& text) = 0;
    // 时钟1, same rules as the check timer; 0 stops it.
    virtual void SetCountdownTimerPeriod(int32_t milliseconds) = 0;
    // Destroys the prompt window through the deferred destroy request.
    virtual void ClosePromptWindow() = 0;
};
