#include "main_window.h"

#include <iterator>

#include "prompt_window.h"
#include "resource_bytes.h"
#include "schedule.h"
#include "tray.h"
// The resource identifiers are shared with the resource script, outside this library.
#include "../resources/resource_ids.h"

namespace {

constexpr char kTitleLead[] = "每日Velmora工具      作者Orlic：QQ";
constexpr char kLinkLead[] = "联系作者QQ邮箱：";

constexpr char kToggleButton[] = "应用";
constexpr char kSaveButton[] = "保存";
constexpr char kCheckTimer[] = "时钟1";
constexpr char kClockTimer[] = "时钟2";
constexpr char kClockLabel[] = "标签2";
constexpr char kStatusLabel[] = "标签7";
constexpr char kHourBox[] = "编辑框1";
constexpr char kMinuteBox[] = "编辑框2";
constexpr char kSecondBox[] = "编辑框3";
constexpr char kReminderBox[] = "编辑框4";

constexpr const char* kDayBoxes[] = {"选择框1", "选择框2", "选择框3", "选择框4", "选择框5", "选择框6", "选择框7"};
constexpr const char* kActionButtons[] = {"单选框1", "单选框2", "单选框3"};

constexpr COLORREF kGroupCaptionColour = RGB(0, 0, 128);
constexpr COLORREF kClockColour = RGB(128, 0, 0);
constexpr int kHourLast = 23;
constexpr int kMinuteSecondLast = 59;
constexpr int32_t kClockPeriodMs = 1000;

constexpr DWORD kMainWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

const MenuItem kMainMenu[] = {
    {0, kFileMenuCaption, 0},
    {1, "-", 0},
    {1, kExitMenuCaption, kExitMenuCommand},
};

// Numbered controls out of range read as a name no layout has: empty, and no writes.
template <size_t N>
const char* NumberedName(const char* const (&names)[N], int number) {
    return number >= 1 && static_cast<size_t>(number) <= N ? names[number - 1] : "";
}

}  // namespace

const WindowLayout& MainWindowLayout() {
    static const Text title = ConcatText({kTitleLead, kAuthorQq});
    static const Text linkText = ConcatText({kLinkLead, kAuthorEmail});
    constexpr unsigned kEditBox = kShownTabStop | kSpinBuddy;
    constexpr unsigned kNumberBox = kEditBox | kNumberFilter;
    static const ControlRow kControls[] = {
        {"超级链接框1", ControlKind::Hyperlink, nullptr, 8, 240, 472, 32, linkText.c_str(), kShown,
         EmailLink(kAuthorEmail)},
        {kToggleButton, ControlKind::PushButton, nullptr, 368, 208, 80, 24, kDisarmedCaption, kShownTabStop},
        {"分组框2", ControlKind::GroupBox, nullptr, 8, 126, 472, 112, "关机操作", kShown,
         TextColour(kGroupCaptionColour)},
        {"分组框1", ControlKind::GroupBox, nullptr, 8, 8, 472, 112, "关机时间", kShown,
         TextColour(kGroupCaptionColour)},
        {kCheckTimer, ControlKind::Timer, "分组框2", 80, 74, 32, 32, nullptr, kEnabled, TimerPeriod(0)},
        {kClockTimer, ControlKind::Timer, "分组框2", 136, 74, 32, 32, nullptr, kEnabled, TimerPeriod(kClockPeriodMs)},
        {kSaveButton, ControlKind::PushButton, "分组框2", 273, 82, 80, 24, "保存设置", kShownTabStop},
        {kStatusLabel, ControlKind::Label, "分组框2", 38, 80, 284, 19, "", kShown},
        {"标签4", ControlKind::Label, "分组框2", 274, 52, 64, 16, "秒前提示。", kShown},
        {kReminderBox, ControlKind::EditBox, "分组框2", 234, 49, 20, 20, "10", kNumberBox,
         SpinRange(0, kMinuteSecondLast)},
        {"标签3", ControlKind::Label, "分组框2", 162, 51, 72, 16, "在关闭计算机", kShown},
        {"单选框3", ControlKind::RadioButton, "分组框2", 32, 52, 80, 16, "注销计算机", kShownTabStop},
        {"单选框2", ControlKind::RadioButton, "分组框2", 160, 24, 80, 16, "重启计算机", kShownTabStop},
        {"单选框1", ControlKind::RadioButton, "分组框2", 32, 24, 80, 16, "关闭计算机", kShownTabStop | kTicked},
        {kSecondBox, ControlKind::EditBox, "分组框1", 296, 68, 20, 20, "00", kEditBox, SpinRange(0, kMinuteSecondLast)},
        {kMinuteBox, ControlKind::EditBox, "分组框1", 260, 68, 20, 20, "00", kNumberBox,
         SpinRange(0, kMinuteSecondLast)},
        {kHourBox, ControlKind::EditBox, "分组框1", 225, 68, 20, 20, "21", kNumberBox, SpinRange(0, kHourLast)},
        {"标签1", ControlKind::Label, "分组框1", 176, 70, 56, 16, "关机时间", kShown},
        {kClockLabel, ControlKind::Label, "分组框1", 114, 8, 256, 24, "", kShown, TextColour(kClockColour)},
        {"选择框7", ControlKind::CheckBox, "分组框1", 99, 66, 64, 24, "星期日", kShownTabStop},
        {"选择框6", ControlKind::CheckBox, "分组框1", 23, 66, 64, 24, "星期六", kShownTabStop},
        {"选择框5", ControlKind::CheckBox, "分组框1", 327, 31, 64, 24, "星期五", kShownTabStop},
        {"选择框4", ControlKind::CheckBox, "分组框1", 251, 31, 64, 24, "星期四", kShownTabStop},
        {"选择框3", ControlKind::CheckBox, "分组框1", 175, 31, 64, 24, "星期三", kShownTabStop},
        {"选择框2", ControlKind::CheckBox, "分组框1", 99, 31, 64, 24, "星期二", kShownTabStop},
        {"选择框1", ControlKind::CheckBox, "分组框1", 23, 31, 64, 24, "星期一", kShownTabStop},
    };
    static const WindowLayout kLayout = {
        {title.c_str(), 491, 319, kPositionCentred, kMainWindowStyle, 0, /*movable*/ true, /*topmost*/ false,
         /*escapeCloses*/ false, /*visible*/ true, MAKEINTRESOURCEA(IDR_MAIN_WINDOW_ICON)},
        kMainMenu, std::size(kMainMenu), kControls, std::size(kControls)};
    return kLayout;
}

MainWindow::MainWindow(ProgramServices& services)
    : services_(services),
      window_(MainWindowLayout()),
      settings_(services.profile, services.notice),
      prompt_(std::make_unique<PromptWindow>(services)),
      tray_(std::make_unique<MainWindowTray>(window_, ResourceBytes(IDR_TRAY_ICON_IMAGE))) {
    WindowEvents& events = window_.Events();
    events.clicked = [this](std::string_view control) {
        if (control == kToggleButton)
            OnToggleClicked(*this, services_.clock);
        else if (control == kSaveButton)
            settings_.SaveSettings(*this);
    };
    events.tick = [this](std::string_view timer) {
        if (timer == kCheckTimer)
            CheckShutdownTime(*this, services_.clock);
        else if (timer == kClockTimer)
            OnClockTick();
    };
    events.menuCommand = [this](UINT command) {
        if (command == kExitMenuCommand) tray_->OnExitChosen();
    };
    tray_->Bind();
}

MainWindow::~MainWindow() {
    // Destroyed while the tray its destroying hook removes is still alive.
    if (HWND handle = window_.Handle()) DestroyWindow(handle);
}

void MainWindow::SetCreatedHandler(std::function<void()> handler) { window_.Events().created = std::move(handler); }

void MainWindow::OnClockTick() { window_.SetControlText(kClockLabel, ClockLabelText(services_.clock)); }

Text MainWindow::ToggleCaption() { return window_.ControlText(kToggleButton); }
void MainWindow::SetToggleCaption(const Text& caption) { window_.SetControlText(kToggleButton, caption); }

bool MainWindow::IsDayTicked(int box) { return window_.IsTicked(NumberedName(kDayBoxes, box)); }
void MainWindow::SetDayTicked(int box) { window_.SetTicked(NumberedName(kDayBoxes, box), true); }

Text MainWindow::HourText() { return window_.ControlText(kHourBox); }
Text MainWindow::MinuteText() { return window_.ControlText(kMinuteBox); }
Text MainWindow::SecondText() { return window_.ControlText(kSecondBox); }
Text MainWindow::ReminderText() { return window_.ControlText(kReminderBox); }
void MainWindow::SetHourText(const Text& text) { window_.SetControlText(kHourBox, text); }
void MainWindow::SetMinuteText(const Text& text) { window_.SetControlText(kMinuteBox, text); }
void MainWindow::SetSecondText(const Text& text) { window_.SetControlText(kSecondBox, text); }
void MainWindow::SetReminderText(const Text& text) { window_.SetControlText(kReminderBox, text); }

bool MainWindow::IsActionChosen(int button) { return window_.IsTicked(NumberedName(kActionButtons, button)); }
void MainWindow::SetActionChosen(int button, bool chosen) {
    window_.SetTicked(NumberedName(kActionButtons, button), chosen);
}

void MainWindow::SetStatusText(const Text& text) { window_.SetControlText(kStatusLabel, text); }

void MainWindow::SetCheckTimerPeriod(int32_t milliseconds) { window_.SetTimerPeriod(kCheckTimer, milliseconds); }

void MainWindow::OpenPromptWindow() { prompt_->Open(); }
