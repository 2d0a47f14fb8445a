// The main window: its layout as built, its ScheduleView on the live controls, and its
// buttons and timers bound to the schedule, the settings and the clock label.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "program_services_support.h"
#include "prompt_window.h"
#include "schedule.h"
#include "shell.h"

using namespace program_test;
using namespace ui_test;

namespace {

constexpr int kOuterWidth = 491;
constexpr int kOuterHeight = 319;
constexpr int kIconSize = 48;
constexpr LONG_PTR kNoButtonType = -1;

class MainWindowTest : public ProgramWindowTest {
protected:
    // Creates the window; with settings, its creation fills it from close.ini as start-up does.
    void Open(bool loadSettings) {
        ASSERT_TRUE(loadSettings ? LoadWithSettings(main, test) : LoadWindow(main.GetWindow()));
        PumpMessages();
    }
    HWND Control(const char* name) { return main.GetWindow().ControlHandle(name); }
    std::string TextOf(const char* name) { return WindowText(Control(name)); }
    bool Checked(const char* name) { return SendMessageA(Control(name), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void Click(const char* name) { SendMessageA(Control(name), BM_CLICK, 0, 0); }

    MainWindow main{test.services};
};

struct ExpectedControl {
    const char* name;
    const char* className;   // nullptr: one of the program's own classes
    const char* parent;      // nullptr: the window itself
    RECT rect;               // left, top, right, bottom in the parent
    const char* text;
    LONG_PTR buttonType;     // BS_ type, or kNoButtonType
    bool tabStop;
    bool visible;
};

// In layout order, which is also the stacking order among siblings.
const ExpectedControl kExpectedControls[] = {
    {"超级链接框1", nullptr, nullptr, {8, 240, 480, 272}, "联系作者QQ邮箱：author@example.com", kNoButtonType, false, true},
    {"应用", "Button", nullptr, {368, 208, 448, 232}, "开启自动关机", BS_PUSHBUTTON, true, true},
    {"分组框2", "Button", nullptr, {8, 126, 480, 238}, "关机操作", BS_GROUPBOX, false, true},
    {"分组框1", "Button", nullptr, {8, 8, 480, 120}, "关机时间", BS_GROUPBOX, false, true},
    {"时钟1", nullptr, "分组框2", {80, 74, 112, 106}, "", kNoButtonType, false, false},
    {"时钟2", nullptr, "分组框2", {136, 74, 168, 106}, "", kNoButtonType, false, false},
    {"保存", "Button", "分组框2", {273, 82, 353, 106}, "保存设置", BS_PUSHBUTTON, true, true},
    {"标签7", nullptr, "分组框2", {38, 80, 322, 99}, "", kNoButtonType, false, true},
    {"标签4", nullptr, "分组框2", {274, 52, 338, 68}, "秒前提示。", kNoButtonType, false, true},
    {"编辑框4", "Edit", "分组框2", {234, 49, 254, 69}, "10", kNoButtonType, true, true},
    {"标签3", nullptr, "分组框2", {162, 51, 234, 67}, "在关闭计算机", kNoButtonType, false, true},
    {"单选框3", "Button", "分组框2", {32, 52, 112, 68}, "注销计算机", BS_AUTORADIOBUTTON, false, true},
    {"单选框2", "Button", "分组框2", {160, 24, 240, 40}, "重启计算机", BS_AUTORADIOBUTTON, false, true},
    {"单选框1", "Button", "分组框2", {32, 24, 112, 40}, "关闭计算机", BS_AUTORADIOBUTTON, true, true},
    {"编辑框3", "Edit", "分组框1", {296, 68, 316, 88}, "00", kNoButtonType, true, true},
    {"编辑框2", "Edit", "分组框1", {260, 68, 280, 88}, "00", kNoButtonType, true, true},
    {"编辑框1", "Edit", "分组框1", {225, 68, 245, 88}, "21", kNoButtonType, true, true},
    {"标签1", nullptr, "分组框1", {176, 70, 232, 86}, "关机时间", kNoButtonType, false, true},
    {"标签2", nullptr, "分组框1", {114, 8, 370, 32}, "", kNoButtonType, false, true},
    {"选择框7", "Button", "分组框1", {99, 66, 163, 90}, "星期日", BS_AUTOCHECKBOX, true, true},
    {"选择框6", "Button", "分组框1", {23, 66, 87, 90}, "星期六", BS_AUTOCHECKBOX, true, true},
    {"选择框5", "Button", "分组框1", {327, 31, 391, 55}, "星期五", BS_AUTOCHECKBOX, true, true},
    {"选择框4", "Button", "分组框1", {251, 31, 315, 55}, "星期四", BS_AUTOCHECKBOX, true, true},
    {"选择框3", "Button", "分组框1", {175, 31, 239, 55}, "星期三", BS_AUTOCHECKBOX, true, true},
    {"选择框2", "Button", "分组框1", {99, 31, 163, 55}, "星期二", BS_AUTOCHECKBOX, true, true},
    {"选择框1", "Button", "分组框1", {23, 31, 87, 55}, "星期一", BS_AUTOCHECKBOX, true, true},
};

TEST_F(MainWindowTest, ControlsStandAsTheLayoutSays) {
    Open(false);
    HWND top = main.GetWindow().Handle();
    std::map<HWND, std::vector<HWND>> expectedStacking;
    for (const ExpectedControl& expected : kExpectedControls) {
        SCOPED_TRACE(expected.name);
        HWND handle = Control(expected.name);
        ASSERT_TRUE(handle);
        HWND parent = expected.parent ? Control(expected.parent) : top;
        EXPECT_EQ(GetParent(handle), parent);
        expectedStacking[parent].push_back(handle);

        ExpectRectInParent(handle, expected.rect);
        EXPECT_EQ(WindowText(handle), expected.text);

        const std::string className = ClassOf(handle);
        if (expected.className) {
            EXPECT_EQ(lstrcmpiA(className.c_str(), expected.className), 0) << className;
        } else {
            for (const char* systemClass : {"Button", "Edit", "Static"})
                EXPECT_NE(lstrcmpiA(className.c_str(), systemClass), 0) << className;
        }
        if (expected.buttonType != kNoButtonType) {
            EXPECT_EQ(StyleOf(handle) & BS_TYPEMASK, expected.buttonType);
        }
        // A radio button's own WS_TABSTOP follows its selection.
        EXPECT_EQ((StyleOf(handle) & WS_TABSTOP) != 0, expected.tabStop);
        EXPECT_EQ((StyleOf(handle) & WS_VISIBLE) != 0, expected.visible);
        EXPECT_TRUE(IsWindowEnabled(handle));
    }
    for (const auto& [parent, children] : expectedStacking)
        EXPECT_EQ(ChildrenTopDown(parent, UPDOWN_CLASSA), children) << ClassOf(parent);

    EXPECT_TRUE(Checked("单选框1"));
    EXPECT_FALSE(Checked("单选框2"));
    EXPECT_FALSE(Checked("单选框3"));
    for (const char* box : {"选择框1", "选择框2", "选择框3", "选择框4", "选择框5", "选择框6", "选择框7"})
        EXPECT_FALSE(Checked(box)) << box;
    EXPECT_EQ(main.GetWindow().TimerPeriod("时钟1"), 0);
    EXPECT_EQ(main.GetWindow().TimerPeriod("时钟2"), 1000);
}

TEST_F(MainWindowTest, EveryTimeBoxHasItsArrowsAndOnlyThreeFilterTyping) {
    struct Box {
        const char* name;
        int lower, upper;
        bool filtered;
    };
    const Box boxes[] = {
        {"编辑框1", 0, 23, true},
        {"编辑框2", 0, 59, true},
        {"编辑框3", 0, 59, false},
        {"编辑框4", 0, 59, true},
    };
    Open(false);
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        HWND handle = Control(box.name);
        HWND parent = GetParent(handle);
        const RECT boxRect = RectInParent(handle);
        HWND arrows = nullptr;
        for (HWND candidate : ChildrenTopDown(parent)) {
            if (lstrcmpiA(ClassOf(candidate).c_str(), UPDOWN_CLASSA) != 0) continue;
            const RECT rect = RectInParent(candidate);
            if (rect.left == boxRect.right && rect.top == boxRect.top) arrows = candidate;
        }
        ASSERT_TRUE(arrows);
        int lower = -1, upper = -1;
        SendMessageA(arrows, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
        EXPECT_EQ(lower, box.lower);
        EXPECT_EQ(upper, box.upper);

        SetWindowTextA(handle, "");
        for (const char typed : {'x', '7', '-'}) SendMessageA(handle, WM_CHAR, typed, 0);
        EXPECT_EQ(WindowText(handle), box.filtered ? "7-" : "x7-");
    }
}

TEST_F(MainWindowTest, WindowFrameMenuAndFocusAreTheLayouts) {
    Open(false);
    HWND top = main.GetWindow().Handle();
    EXPECT_EQ(WindowText(top), std::string("每日Velmora工具      作者Orlic：QQ") + kAuthorQq);

    ExpectCentredOuterSize(top, kOuterWidth, kOuterHeight);

    const auto style = static_cast<DWORD>(StyleOf(top));
    for (const DWORD wanted :
         std::initializer_list<DWORD>{WS_CAPTION, WS_SYSMENU, WS_MINIMIZEBOX, WS_CLIPCHILDREN, WS_VISIBLE})
        EXPECT_EQ(style & wanted, wanted) << std::hex << wanted;
    for (const DWORD unwanted :
         std::initializer_list<DWORD>{WS_MAXIMIZEBOX, WS_THICKFRAME, WS_POPUP, WS_CHILD})
        EXPECT_EQ(style & unwanted, 0u) << std::hex << unwanted;
    EXPECT_EQ(ExStyleOf(top) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW), 0);
    EXPECT_EQ(GetWindow(top, GW_OWNER), nullptr);
    EXPECT_NE(GetMenuState(GetSystemMenu(top, FALSE), SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));

    // Both icons come from the 48 x 48 image.
    for (const WPARAM which : {ICON_BIG, ICON_SMALL}) {
        auto icon = reinterpret_cast<HICON>(SendMessageA(top, WM_GETICON, which, 0));
        ASSERT_TRUE(icon) << which;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP colour{};
        GetObjectA(info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, kIconSize);
        EXPECT_EQ(colour.bmHeight, kIconSize);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }

    HMENU bar = GetMenu(top);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    char caption[32] = "";
    GetMenuStringA(bar, 0, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "文件");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 2);
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(file, 1), kExitMenuCommand);
    GetMenuStringA(file, 1, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "退出");

    // The activation of the first show may arrive through the queue.
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == Control("选择框1"); }, 1000));

    // Escape is no close key here; "退出" is, through the loop.
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(top));
    SendMessageA(top, WM_COMMAND, MAKEWPARAM(kExitMenuCommand, 0), 0);
    EXPECT_TRUE(IsWindow(top));
    PumpMessages();
    EXPECT_FALSE(IsWindow(top));
}

TEST_F(MainWindowTest, LabelAndGroupCaptionsPaintInTheirColours) {
    struct Painted {
        const char* name;
        COLORREF colour;
        COLORREF absent;   // CLR_INVALID: not looked for
    };
    const Painted cases[] = {
        {"标签2", RGB(128, 0, 0), RGB(0, 0, 0)},
        {"标签1", RGB(0, 0, 0), RGB(128, 0, 0)},
        {"标签7", RGB(0, 0, 0), RGB(128, 0, 0)},
        {"分组框1", RGB(0, 0, 128), CLR_INVALID},
        {"分组框2", RGB(0, 0, 128), CLR_INVALID},
    };
    Open(false);
    main.SetStatusText("关机时间为21:00:00");
    main.OnClockTick();
    for (const Painted& painted : cases) {
        SCOPED_TRACE(painted.name);
        EXPECT_GT(PaintedPixelCount(Control(painted.name), painted.colour), 0);
        if (painted.absent != CLR_INVALID) {
            EXPECT_EQ(PaintedPixelCount(Control(painted.name), painted.absent), 0);
        }
    }
}

// Records what the link asks of the shell instead of starting anything.
std::vector<std::string> shellTargets;
HINSTANCE WINAPI RecordShellExecute(HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) {
    shellTargets.push_back(file);
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

TEST_F(MainWindowTest, HyperlinkMailsTheAuthor) {
    const ShellFunctions saved = Shell();
    Shell().shellExecute = RecordShellExecute;
    shellTargets.clear();
    Open(false);
    HWND link = Control("超级链接框1");
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Shell() = saved;
    EXPECT_EQ(shellTargets, std::vector<std::string>{"mailto:author@example.com"});
}

TEST_F(MainWindowTest, CreationFillsTheBoxesFromTheSettingsBeforeTheFirstShow) {
    struct Case {
        const char* name;
        bool writeFile;
        std::vector<std::string> boxes;   // 编辑框1 .. 编辑框4
        bool mondayTicked;
        bool thirdActionChosen;
    };
    const Case cases[] = {
        {"no close.ini", false, {"00", "00", "00", "30"}, false, false},
        {"saved settings", true, {"7", "08", "x", ""}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestServices local;
        if (c.writeFile) {
            local.directory.Write("关机列表", "星期一", "Y");
            local.directory.Write("关机操作", "关机方式", "3");
            local.directory.Write("关机时间", "小时", "7");
            local.directory.Write("关机时间", "分钟", "08");
            local.directory.Write("关机时间", "秒", "x");
            local.directory.Write("提醒时间", "秒", "");
        }
        MainWindow window(local.services);
        bool hiddenWhileLoading = false;
        window.SetCreatedHandler([&] {
            hiddenWhileLoading = !IsWindowVisible(window.GetWindow().Handle());
            window.Settings().LoadSettings(window, local.services.executableDirectory);
        });
        ASSERT_TRUE(LoadWindow(window.GetWindow()));
        EXPECT_TRUE(hiddenWhileLoading);
        const std::vector<std::string> boxes{window.HourText(), window.MinuteText(), window.SecondText(),
                                             window.ReminderText()};
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(window.IsDayTicked(1), c.mondayTicked);
        EXPECT_EQ(window.IsActionChosen(3), c.thirdActionChosen);
        EXPECT_EQ(window.IsActionChosen(1), !c.thirdActionChosen);
        EXPECT_EQ(WindowText(window.GetWindow().ControlHandle("标签7")), "");
    }
}

TEST_F(MainWindowTest, TextOperationsActOnTheLiveControls) {
    struct TextOperation {
        const char* control;
        Text (MainWindow::*read)();   // nullptr: write-only
        void (MainWindow::*write)(const Text&);
    };
    const TextOperation operations[] = {
        {"应用", &MainWindow::ToggleCaption, &MainWindow::SetToggleCaption},
        {"编辑框1", &MainWindow::HourText, &MainWindow::SetHourText},
        {"编辑框2", &MainWindow::MinuteText, &MainWindow::SetMinuteText},
        {"编辑框3", &MainWindow::SecondText, &MainWindow::SetSecondText},
        {"编辑框4", &MainWindow::ReminderText, &MainWindow::SetReminderText},
        {"标签7", nullptr, &MainWindow::SetStatusText},
    };
    Open(false);
    for (const TextOperation& operation : operations) {
        SCOPED_TRACE(operation.control);
        for (const Text& written : {Text("关闭自动关机"), Text(" 08x"), Text()}) {
            (main.*operation.write)(written);
            EXPECT_EQ(TextOf(operation.control), written);
        }
        if (operation.read) {
            SetWindowTextA(Control(operation.control), "-5 秒");
            EXPECT_EQ((main.*operation.read)(), "-5 秒");
        }
    }
}

TEST_F(MainWindowTest, DayBoxesAreReadAndOnlyEverTicked) {
    const char* const days[] = {"选择框1", "选择框2", "选择框3", "选择框4", "选择框5", "选择框6", "选择框7"};
    Open(false);
    auto setAll = [&](bool ticked) {
        for (const char* day : days) SendMessageA(Control(day), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    for (int box = 1; box <= 7; ++box) {
        SCOPED_TRACE(box);
        setAll(false);
        SendMessageA(Control(days[box - 1]), BM_SETCHECK, BST_CHECKED, 0);
        for (int other = 1; other <= 7; ++other) EXPECT_EQ(main.IsDayTicked(other), other == box) << other;

        setAll(false);
        main.SetDayTicked(box);
        main.SetDayTicked(box);
        for (int other = 1; other <= 7; ++other) EXPECT_EQ(Checked(days[other - 1]), other == box) << other;
    }

    // Numbers outside 1..7 name no box.
    for (const int outside : {0, 8, -1}) {
        setAll(true);
        EXPECT_FALSE(main.IsDayTicked(outside));
        setAll(false);
        main.SetDayTicked(outside);
        for (const char* day : days) EXPECT_FALSE(Checked(day)) << day;
    }
}

TEST_F(MainWindowTest, WritingOneActionButtonLeavesTheOthers) {
    struct Step {
        int button;
        bool chosen;
        std::vector<bool> after;   // 单选框1 .. 单选框3
    };
    const Step steps[] = {
        {2, true, {true, true, false}},
        {1, false, {false, true, false}},
        {3, true, {false, true, true}},
        {2, false, {false, false, true}},
        {4, true, {false, false, true}},
        {0, true, {false, false, true}},
    };
    Open(false);
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << step.button << (step.chosen ? " on" : " off"));
        main.SetActionChosen(step.button, step.chosen);
        const std::vector<bool> live{Checked("单选框1"), Checked("单选框2"), Checked("单选框3")};
        const std::vector<bool> viewed{main.IsActionChosen(1), main.IsActionChosen(2), main.IsActionChosen(3)};
        EXPECT_EQ(live, step.after);
        EXPECT_EQ(viewed, step.after);
    }
}

TEST_F(MainWindowTest, CheckTimerPeriodDrivesTheShutdownTimeCheck) {
    struct Step {
        int32_t written;
        int32_t period;
    };
    const Step steps[] = {{1000, 1000}, {1000, 1000}, {-5, 0}, {0, 0}};
    Open(false);
    for (const Step& step : steps) {
        main.SetCheckTimerPeriod(step.written);
        EXPECT_EQ(main.GetWindow().TimerPeriod("时钟1"), step.period) << step.written;
    }

    // Its ticks run the check, which writes the set time into 标签7.
    test.clock.Set(2024, 3, 15, 10, 0, 0);
    main.SetCheckTimerPeriod(20);
    EXPECT_TRUE(PumpUntil([&] { return TextOf("标签7") == "关机时间为21:00:00"; }, 2000));
    EXPECT_FALSE(main.Prompt().GetWindow().Handle());
}

TEST_F(MainWindowTest, OpenPromptWindowOpensItOnce) {
    Open(false);
    EXPECT_FALSE(main.Prompt().GetWindow().Handle());
    main.OpenPromptWindow();
    HWND prompt = main.Prompt().GetWindow().Handle();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(WindowText(prompt), "提示窗口");
    EXPECT_EQ(GetWindow(prompt, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.GetWindow().Handle()));
    main.OpenPromptWindow();
    EXPECT_EQ(main.Prompt().GetWindow().Handle(), prompt);
}

TEST_F(MainWindowTest, SaveButtonWritesTheControlsToCloseIni) {
    struct Case {
        const char* hour;
        const char* storedHour;   // "<missing>": the time was rejected
        size_t notices;
    };
    const Case cases[] = {
        {"08", "8", 0},
        {"24", "<missing>", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hour);
        TestServices local;
        MainWindow window(local.services);
        ASSERT_TRUE(LoadWithSettings(window, local));
        auto control = [&](const char* name) { return window.GetWindow().ControlHandle(name); };
        SendMessageA(control("选择框3"), BM_CLICK, 0, 0);
        SendMessageA(control("选择框7"), BM_CLICK, 0, 0);
        SendMessageA(control("单选框2"), BM_CLICK, 0, 0);
        SetWindowTextA(control("编辑框1"), c.hour);
        SetWindowTextA(control("编辑框2"), "5");
        SetWindowTextA(control("编辑框3"), "0");
        SetWindowTextA(control("编辑框4"), "15");
        SendMessageA(control("保存"), BM_CLICK, 0, 0);

        const SettingsDirectory& file = local.directory;
        const char* const dayKeys[] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
        for (int day = 0; day < 7; ++day)
            EXPECT_EQ(file.Read("关机列表", dayKeys[day]), day == 2 || day == 6 ? "Y" : "N") << dayKeys[day];
        EXPECT_EQ(file.Read("关机操作", "关机方式"), "2");
        EXPECT_EQ(file.Read("关机时间", "小时"), c.storedHour);
        EXPECT_EQ(file.Read("提醒时间", "秒"), "15");
        EXPECT_EQ(local.notice.messages.size(), c.notices);
        EXPECT_EQ(window.HourText(), c.hour);   // the boxes keep what was typed

        const std::string contents = file.Contents();
        EXPECT_LT(contents.find("[关机列表]"), contents.find("[关机操作]"));
        EXPECT_LT(contents.find("[关机操作]"), contents.find("[提醒时间]"));
    }
}

TEST_F(MainWindowTest, ToggleButtonArmsAndDisarms) {
    Open(true);
    test.clock.Set(2024, 3, 15, 20, 59, 58);
    const int today = DayBoxOfWeekday(WeekdayOf(test.clock.Now()));
    Click(std::string("选择框").append(IntToText(today)).c_str());
    main.SetHourText("21");

    Click("应用");
    EXPECT_EQ(TextOf("应用"), "关闭自动关机");
    EXPECT_EQ(main.GetWindow().TimerPeriod("时钟1"), 1000);
    EXPECT_EQ(TextOf("标签7"), "关机时间为21:00:00");
    EXPECT_FALSE(main.Prompt().GetWindow().Handle());

    Click("应用");
    EXPECT_EQ(TextOf("应用"), "开启自动关机");
    EXPECT_EQ(main.GetWindow().TimerPeriod("时钟1"), 0);
    EXPECT_EQ(TextOf("标签7"), "无关机事件");
}

TEST_F(MainWindowTest, ClockTimerWritesTheClockLabel) {
    test.clock.Set(2024, 3, 15, 9, 8, 7);
    const Text expected = ClockLabelText(test.clock);
    Open(false);
    main.OnClockTick();
    EXPECT_EQ(TextOf("标签2"), expected);

    SetWindowTextA(Control("标签2"), "");
    EXPECT_TRUE(PumpUntil([&] { return TextOf("标签2") == expected; }, 2500));
}

}  // namespace
