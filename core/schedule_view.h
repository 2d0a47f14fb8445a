// The main window as the schedule logic sees it. Every operation acts on the live
// control at once; nothing is cached. Box and button numbers count from 1.
#pragma once

#include <cstdint>

#include "text.h"

class ScheduleView {
public:
    virtual ~ScheduleView() = default;

    // 应用: "开启自动关机" disarmed, "关闭自动关机" armed.
    virtual Text ToggleCaption() = 0;
    virtual void SetToggleCaption(const Text& caption) = 0;

    // 选择框1 (Monday) ... 选择框7 (Sunday). SetDayTicked only ever ticks.
    virtual bool IsDayTicked(int box) = 0;
    virtual void SetDayTicked(int box) = 0;

    // 编辑框1 .. 编辑框4.
    virtual Text HourText() = 0;
    virtual Text MinuteText() = 0;
    virtual Text SecondText() = 0;
    virtual Text ReminderText() = 0;
    virtual void SetHourText(const Text& text) = 0;
    virtual void SetMinuteText(const Text& text) = 0;
    virtual void SetSecondText(const Text& text) = 0;
    virtual void SetReminderText(const Text& text) = 0;

    // 单选框1 .. 单选框3; writing one button leaves the others alone.
    virtual bool IsActionChosen(int button) = 0;
    virtual void SetActionChosen(int button, bool chosen) = 0;

    // 标签7.
    virtual void SetStatusText(const Text& text) = 0;

    // 时钟1: 0 stops, a positive period starts afresh, the same period keeps the rhythm,
    // a negative period counts as 0.
    virtual void SetCheckTimerPeriod(int32_t milliseconds) = 0;

    // Opens the prompt window modeless and ownerless, or brings the open one forward.
    virtual void OpenPromptWindow() = 0;
};
