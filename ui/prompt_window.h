// The last warning before the power action: the countdown's window.
#pragma once

#include "countdown.h"
#include "countdown_view.h"
#include "main_window.h"
#include "window.h"

const WindowLayout& PromptWindowLayout();

class PromptWindow final : public CountdownView {
public:
    explicit PromptWindow(ProgramServices& services);

    // Opens the window modeless and ownerless, or brings the open one forward.
    void Open();

    Window& GetWindow() { return window_; }
    Countdown& GetCountdown() { return countdown_; }

    void SetRemainingText(const Text& text) override;
    void SetCountdownTimerPeriod(int32_t milliseconds) override;
    void ClosePromptWindow() override;

private:
    ProgramServices& services_;
    Window window_;
    Countdown countdown_;
};
