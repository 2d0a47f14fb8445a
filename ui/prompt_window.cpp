#include "prompt_window.h"

#include <iterator>

namespace {

constexpr char kGiveUpButton[] = "按钮2";
constexpr char kActNowButton[] = "按钮1";
constexpr char kCountdownTimer[] = "时钟1";
constexpr char kRemainingLabel[] = "标签1";
constexpr int32_t kCountdownPeriodMs = 1000;

constexpr DWORD kPromptWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

const ControlRow kPromptControls[] = {
    {kGiveUpButton, ControlKind::PushButton, nullptr, 130, 88, 88, 24, "放弃关机", kShownTabStop},
    {kActNowButton, ControlKind::PushButton, nullptr, 19, 88, 88, 24, "立即关机", kShownTabStop},
    {kCountdownTimer, ControlKind::Timer, nullptr, 136, 0, 40, 24, nullptr, kEnabled, TimerPeriod(kCountdownPeriodMs)},
    {kRemainingLabel, ControlKind::Label, nullptr, 40, 24, 160, 32, "", kShown},
};

// No menu, no icon of its own; no close-query handler either, so closing it destroys it.
const WindowLayout kPromptLayout = {
    {"提示窗口", 242, 172, kPositionCentred, kPromptWindowStyle, 0, /*movable*/ true, /*topmost*/ true,
     /*escapeCloses*/ true, /*visible*/ true, nullptr},
    nullptr, 0, kPromptControls, std::size(kPromptControls)};

}  // namespace

const WindowLayout& PromptWindowLayout() { return kPromptLayout; }

PromptWindow::PromptWindow(ProgramServices& services)
    : services_(services), window_(kPromptLayout), countdown_(services.profile, services.power) {
    WindowEvents& events = window_.Events();
    events.created = [this] { countdown_.OnPromptCreated(*this, services_.executableDirectory); };
    events.tick = [this](std::string_view timer) {
        if (timer == kCountdownTimer) countdown_.OnCountdownTick(*this);
    };
    events.clicked = [this](std::string_view control) {
        if (control == kActNowButton)
            countdown_.OnActNowClicked(*this);
        else if (control == kGiveUpButton)
            countdown_.OnGiveUpClicked(*this);
    };
}

void PromptWindow::Open() { LoadWindow(window_); }

void PromptWindow::SetRemainingText(const Text& text) { window_.SetControlText(kRemainingLabel, text); }

void PromptWindow::SetCountdownTimerPeriod(int32_t milliseconds) {
    window_.SetTimerPeriod(kCountdownTimer, milliseconds);
}

void PromptWindow::ClosePromptWindow() { RequestWindowDestroy(window_); }
