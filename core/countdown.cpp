#include "countdown.h"

#include "settings.h"

void Countdown::OnPromptCreated(CountdownView&, const Text& executableDirectory) {
    runDirectory_ = RunDirectoryOf(executableDirectory);
    remainingSeconds_ = ReadReminderSeconds(store_, SettingsPathOf(runDirectory_));
    state_ = CountdownState::Counting;
}

void Countdown::OnCountdownTick(CountdownView& view) {
    // A stray tick after the action or the close must neither act again nor count on.
    if (state_ != CountdownState::Counting) return;

    // A reminder of 0 or less (an empty one reads as 0) would start below the point
    // of action and never reach it; it counts as 1 and acts on the first tick.
    remainingSeconds_ = remainingSeconds_ > 0 ? remainingSeconds_ - 1 : 0;
    view.SetRemainingText(ConcatText({kRemainingPrefix, IntToText(remainingSeconds_), kRemainingSuffix}));
    if (remainingSeconds_ != 0) return;

    state_ = CountdownState::Expired;
    view.SetCountdownTimerPeriod(0);
    RunSavedAction();
}

void Countdown::OnActNowClicked(CountdownView& view) {
    if (state_ == CountdownState::Closed) return;
    RunSavedAction();
    state_ = CountdownState::Closed;
    view.ClosePromptWindow();
}

void Countdown::OnGiveUpClicked(CountdownView& view) {
    if (state_ == CountdownState::Closed) return;
    view.SetCountdownTimerPeriod(0);
    state_ = CountdownState::Closed;
    view.ClosePromptWindow();
}

void Countdown::RunSavedAction() {
    // Read at the moment of acting, so a save during the countdown decides the action.
    // A refused or unknown action leaves the window as it is.
    const int32_t code = ReadActionCode(store_, SettingsPathOf(runDirectory_));
    power_.RunPowerAction(code, true);
}
