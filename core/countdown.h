// The prompt window's countdown and the dispatch of the saved power action.
#pragma once

#include <cstdint>

#include "countdown_view.h"
#include "power.h"
#include "profile.h"
#include "text.h"

inline constexpr char kRemainingPrefix[] = "剩余时间：";
inline constexpr char kRemainingSuffix[] = "秒";

// Counting until the tick that reaches 0, Expired from then until the window closes,
// Closed before the first opening and after the countdown closed its window.
enum class CountdownState { Counting, Expired, Closed };

class Countdown {
public:
    Countdown(ProfileStore& store, PowerActionRunner& power) : store_(store), power_(power) {}

    void OnPromptCreated(CountdownView& view, const Text& executableDirectory);
    void OnCountdownTick(CountdownView& view);
    void OnActNowClicked(CountdownView& view);
    void OnGiveUpClicked(CountdownView& view);

    int32_t RemainingSeconds() const { return remainingSeconds_; }
    CountdownState State() const { return state_; }
    const Text& RunDirectoryCopy() const { return runDirectory_; }
    void ReleaseRunDirectoryCopy() { runDirectory_.clear(); runDirectory_.shrink_to_fit(); }

private:
    void RunSavedAction();

    ProfileStore& store_;
    PowerActionRunner& power_;
    int32_t remainingSeconds_ = 0;
    CountdownState state_ = CountdownState::Closed;
    Text runDirectory_;
};
