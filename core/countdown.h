// The prompt window's countdown and the dispatch of the saved power action.
#pragma once

#include <cstdint>

#include "countdown_view.h"
#include "power.h"
#include "profile.h"
#include "text.h"

inline constexpr char kRemainingPrefix[] = "剩余时间：";
inline constexpr char kRemainingSuffix[] = "秒";

class Countdown {
public:
    Countdown(ProfileStore& store, PowerActionRunner& power) : store_(store), power_(power) {}

    void OnPromptCreated(CountdownView& view, const Text& executableDirectory);
    void OnCountdownTick(CountdownView& view);
    void OnActNowClicked(CountdownView& view);
    void OnGiveUpClicked(CountdownView& view);

    int32_t RemainingSeconds() const { return remainingSeconds_; }
    const Text& RunDirectoryCopy() const { return runDirectory_; }
    void ReleaseRunDirectoryCopy() { runDirectory_.clear(); runDirectory_.shrink_to_fit(); }

private:
    void RunSavedAction();

    ProfileStore& store_;
    PowerActionRunner& power_;
    int32_t remainingSeconds_ = 0;
    Text runDirectory_;
};
