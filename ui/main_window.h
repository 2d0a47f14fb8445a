// The program's start-up window: its layout, its ScheduleView on the live controls, and
// the binding of its events to the schedule logic, the settings and the tray.
#pragma once

#include <functional>
#include <memory>

#include "clock.h"
#include "notice.h"
#include "power.h"
#include "profile.h"
#include "schedule_view.h"
#include "settings.h"
#include "window.h"

class PromptWindow;
class MainWindowTray;

// The author's contact details (fictional).
inline constexpr char kAuthorQq[] = "10000001";
inline constexpr char kAuthorEmail[] = "author@example.com";

// "退出" of the "文件" menu, on the menu bar and in the tray's context menu.
inline constexpr char kExitMenuCaption[] = "退出";
constexpr UINT kExitMenuCommand = 40001;

// Everything the windows need from outside, passed in so tests can replace it.
struct ProgramServices {
    Clock& clock;
    ProfileStore& profile;
    Notice& notice;
    PowerActionRunner& power;
    Text executableDirectory;
};

const WindowLayout& MainWindowLayout();

class MainWindow final : public ScheduleView {
public:
    explicit MainWindow(ProgramServices& services);
    ~MainWindow() override;

    Window& GetWindow() { return window_; }
    MainSettings& Settings() { return settings_; }
    PromptWindow& Prompt() { return *prompt_; }

    // The created event's handler; start-up sets it to OnMainWindowCreated.
    void SetCreatedHandler(std::function<void()> handler);

    // 标签2 := ClockLabelText.
    void OnClockTick();

    // ScheduleView on the live controls.
    Text ToggleCaption() override;
    void SetToggleCaption(const Text& caption) override;
    bool IsDayTicked(int box) override;
    void SetDayTicked(int box) override;
    Text HourText() override;
    Text MinuteText() override;
    Text SecondText() override;
    Text ReminderText() override;
    void SetHourText(const Text& text) override;
    void SetMinuteText(const Text& text) override;
    void SetSecondText(const Text& text) override;
    void SetReminderText(const Text& text) override;
    bool IsActionChosen(int button) override;
    void SetActionChosen(int button, bool chosen) override;
    void SetStatusText(const Text& text) override;
    void SetCheckTimerPeriod(int32_t milliseconds) override;
    void OpenPromptWindow() override;

private:
    ProgramServices& services_;
    Window window_;
    MainSettings settings_;
    std::unique_ptr<PromptWindow> prompt_;
    std::unique_ptr<MainWindowTray> tray_;
};
