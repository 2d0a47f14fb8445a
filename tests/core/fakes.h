// Test doubles for the core seams: a settable clock, recording views, a recording
// notice and power runner.
#pragma once

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "clock.h"
#include "countdown.h"
#include "countdown_view.h"
#include "notice.h"
#include "power.h"
#include "schedule_view.h"

class FakeClock final : public Clock {
public:
    explicit FakeClock(DateTime now = 0) : now_(now) {}
    DateTime Now() override {
        ++readings;
        DateTime value = now_;
        now_ += stepPerReading;
        return value;
    }
    void Set(DateTime now) { now_ = now; }
    void Set(int y, int mo, int d, int h, int mi, int s) { now_ = MakeDateTime(y, mo, d, h, mi, s); }
    void AdvanceSeconds(int seconds) { now_ += seconds / 86400.0; }

    int readings = 0;
    DateTime stepPerReading = 0;  // lets a test move the clock between two readings

private:
    DateTime now_;
};

// The main window's controls as plain fields; calls are logged in order.
class RecordingScheduleView final : public ScheduleView {
public:
    Text ToggleCaption() override { return toggleCaption; }
    void SetToggleCaption(const Text& c) override { toggleCaption = c; log.push_back("caption:" + c); }
    bool IsDayTicked(int box) override { return dayTicked.at(box - 1); }
    void SetDayTicked(int box) override { dayTicked.at(box - 1) = true; log.push_back("tick:" + std::to_string(box)); }
    Text HourText() override { return hour; }
    Text MinuteText() override { return minute; }
    Text SecondText() override { return second; }
    Text ReminderText() override { return reminder; }
    void SetHourText(const Text& t) override { hour = t; }
    void SetMinuteText(const Text& t) override { minute = t; }
    void SetSecondText(const Text& t) override { second = t; }
    void SetReminderText(const Text& t) override { reminder = t; }
    bool IsActionChosen(int b) override { return actionChosen.at(b - 1); }
    void SetActionChosen(int b, bool on) override { actionChosen.at(b - 1) = on; }
    void SetStatusText(const Text& t) override { status = t; log.push_back("status:" + t); }
    void SetCheckTimerPeriod(int32_t ms) override {
        checkTimerPeriod = ms < 0 ? 0 : ms;
        log.push_back("timer:" + std::to_string(checkTimerPeriod));
    }
    void OpenPromptWindow() override { ++promptOpenings; log.push_back("prompt"); }

    Text toggleCaption = "开启自动关机";
    std::array<bool, 7> dayTicked{};
    Text hour = "21", minute = "00", second = "00", reminder = "10";
    std::array<bool, 3> actionChosen{true, false, false};
    Text status;
    int32_t checkTimerPeriod = 0;
    int promptOpenings = 0;
    std::vector<std::string> log;
};

class RecordingCountdownView final : public CountdownView {
public:
    void SetRemainingText(const Text& t) override { labels.push_back(t); log.push_back("label:" + t); }
    void SetCountdownTimerPeriod(int32_t ms) override {
        timerPeriod = ms < 0 ? 0 : ms;
        log.push_back("timer:" + std::to_string(timerPeriod));
    }
    void ClosePromptWindow() override { closed = true; log.push_back("close"); }

    std::vector<Text> labels;
    int32_t timerPeriod = 1000;
    bool closed = false;
    std::vector<std::string>& log;
    explicit RecordingCountdownView(std::vector<std::string>& sharedLog) : log(sharedLog) {}
};

class RecordingNotice final : public Notice {
public:
    void ShowMessage(const Text& text) override { messages.push_back(text); }
    std::vector<Text> messages;
};

class RecordingPowerRunner final : public PowerActionRunner {
public:
    explicit RecordingPowerRunner(std::vector<std::string>& sharedLog) : log(sharedLog) {}
    bool RunPowerAction(int32_t code, bool force) override {
        calls.push_back({code, force});
        log.push_back("power:" + std::to_string(code) + (force ? ":force" : ""));
        return result;
    }
    struct Call { int32_t code; bool force; };
    std::vector<Call> calls;
    bool result = true;
    std::vector<std::string>& log;
};

// The prompt window's opening rule around a real Countdown: created once and counted
// down by its own timer; opening it again while it is open only brings it forward.
class FakePromptWindow final : public CountdownView {
public:
    FakePromptWindow(Countdown& countdown, Text executableDirectory)
        : countdown_(countdown), executableDirectory_(std::move(executableDirectory)) {}

    void Open() {
        if (open) {
            ++broughtForward;
            return;
        }
        open = true;
        ++creations;
        label.clear();
        timerPeriod = 1000;
        countdown_.OnPromptCreated(*this, executableDirectory_);
    }
    // One tick of 时钟1, if it runs.
    void Tick() {
        if (open && timerPeriod > 0) countdown_.OnCountdownTick(*this);
    }

    void SetRemainingText(const Text& t) override { label = t; }
    void SetCountdownTimerPeriod(int32_t ms) override { timerPeriod = ms < 0 ? 0 : ms; }
    void ClosePromptWindow() override {
        open = false;
        timerPeriod = 0;
    }

    bool open = false;
    int creations = 0;
    int broughtForward = 0;
    Text label;
    int32_t timerPeriod = 0;

private:
    Countdown& countdown_;
    Text executableDirectory_;
};

// A RecordingScheduleView whose OpenPromptWindow also opens a FakePromptWindow.
class PromptOpeningScheduleView final : public ScheduleView {
public:
    PromptOpeningScheduleView(RecordingScheduleView& controls, FakePromptWindow& prompt)
        : controls_(controls), prompt_(prompt) {}

    Text ToggleCaption() override { return controls_.ToggleCaption(); }
    void SetToggleCaption(const Text& c) override { controls_.SetToggleCaption(c); }
    bool IsDayTicked(int box) override { return controls_.IsDayTicked(box); }
    void SetDayTicked(int box) override { controls_.SetDayTicked(box); }
    Text HourText() override { return controls_.HourText(); }
    Text MinuteText() override { return controls_.MinuteText(); }
    Text SecondText() override { return controls_.SecondText(); }
    Text ReminderText() override { return controls_.ReminderText(); }
    void SetHourText(const Text& t) override { controls_.SetHourText(t); }
    void SetMinuteText(const Text& t) override { controls_.SetMinuteText(t); }
    void SetSecondText(const Text& t) override { controls_.SetSecondText(t); }
    void SetReminderText(const Text& t) override { controls_.SetReminderText(t); }
    bool IsActionChosen(int b) override { return controls_.IsActionChosen(b); }
    void SetActionChosen(int b, bool on) override { controls_.SetActionChosen(b, on); }
    void SetStatusText(const Text& t) override { controls_.SetStatusText(t); }
    void SetCheckTimerPeriod(int32_t ms) override { controls_.SetCheckTimerPeriod(ms); }
    void OpenPromptWindow() override {
        controls_.OpenPromptWindow();
        prompt_.Open();
    }

private:
    RecordingScheduleView& controls_;
    FakePromptWindow& prompt_;
};
