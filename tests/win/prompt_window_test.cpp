// The prompt window: its layout, how the user and its buttons close it, and opening it
// again while it is open.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "program_services_support.h"
#include "prompt_window.h"
#include "schedule.h"

using namespace program_test;
using namespace ui_test;

namespace {

constexpr int kOuterWidth = 242;
constexpr int kOuterHeight = 172;
constexpr int32_t kSavedReminder = 30;
constexpr int32_t kSavedAction = kRestart;

void SaveReminderAndAction(const SettingsDirectory& directory) {
    directory.Write("提醒时间", "秒", IntToText(kSavedReminder).c_str());
    directory.Write("关机操作", "关机方式", IntToText(kSavedAction).c_str());
}

// Loads the main window as start-up does, then arms it at the set second, which opens
// the prompt window during the click. Returns the prompt window's handle.
HWND OpenPromptThroughTheSchedule(TestServices& test, MainWindow& main) {
    SaveReminderAndAction(test.directory);
    if (!LoadWithSettings(main, test)) return nullptr;
    test.clock.Set(2024, 3, 15, 21, 0, 0);
    main.SetDayTicked(DayBoxOfWeekday(WeekdayOf(test.clock.Now())));
    main.SetHourText("21");
    SendMessageA(main.GetWindow().ControlHandle("应用"), BM_CLICK, 0, 0);
    return main.Prompt().GetWindow().Handle();
}

class PromptWindowTest : public ProgramWindowTest {
protected:
    void SetUp() override {
        ProgramWindowTest::SetUp();
        SaveReminderAndAction(test.directory);
    }

    HWND Control(const char* name) { return prompt.GetWindow().ControlHandle(name); }

    PromptWindow prompt{test.services};
};

TEST_F(PromptWindowTest, OpensAsTheLayoutSaysWithTheSavedReminder) {
    struct ExpectedControl {
        const char* name;
        RECT rect;
        const char* text;
        bool isButton;
        bool visible;
    };
    // In layout order, which is also the stacking order.
    const ExpectedControl expectedControls[] = {
        {"按钮2", {130, 88, 218, 112}, "放弃关机", true, true},
        {"按钮1", {19, 88, 107, 112}, "立即关机", true, true},
        {"时钟1", {136, 0, 176, 24}, "", false, false},
        {"标签1", {40, 24, 200, 56}, "", false, true},
    };
    prompt.Open();
    PumpMessages();
    HWND top = prompt.GetWindow().Handle();
    ASSERT_TRUE(top);
    EXPECT_EQ(WindowText(top), "提示窗口");
    EXPECT_EQ(prompt.GetCountdown().RemainingSeconds(), kSavedReminder);
    EXPECT_EQ(prompt.GetWindow().TimerPeriod("时钟1"), 1000);

    ExpectCentredOuterSize(top, kOuterWidth, kOuterHeight);

    const auto style = static_cast<DWORD>(StyleOf(top));
    for (const DWORD wanted :
         std::initializer_list<DWORD>{WS_CAPTION, WS_SYSMENU, WS_CLIPCHILDREN, WS_VISIBLE})
        EXPECT_EQ(style & wanted, wanted) << std::hex << wanted;
    for (const DWORD unwanted :
         std::initializer_list<DWORD>{WS_MINIMIZEBOX, WS_MAXIMIZEBOX, WS_THICKFRAME, WS_POPUP})
        EXPECT_EQ(style & unwanted, 0u) << std::hex << unwanted;
    EXPECT_TRUE(ExStyleOf(top) & WS_EX_TOPMOST);
    EXPECT_EQ(GetMenu(top), nullptr);
    EXPECT_EQ(GetWindow(top, GW_OWNER), nullptr);
    EXPECT_TRUE(SendMessageA(top, WM_GETICON, ICON_BIG, 0));
    EXPECT_EQ(GetForegroundWindow(), top);

    std::vector<HWND> stacking;
    for (const ExpectedControl& expected : expectedControls) {
        SCOPED_TRACE(expected.name);
        HWND handle = Control(expected.name);
        ASSERT_TRUE(handle);
        EXPECT_EQ(GetParent(handle), top);
        stacking.push_back(handle);
        ExpectRectInParent(handle, expected.rect);
        EXPECT_EQ(WindowText(handle), expected.text);
        EXPECT_EQ((StyleOf(handle) & WS_VISIBLE) != 0, expected.visible);
        EXPECT_EQ((StyleOf(handle) & WS_TABSTOP) != 0, expected.isButton);
        if (expected.isButton) {
            EXPECT_EQ(lstrcmpiA(ClassOf(handle).c_str(), "Button"), 0);
            EXPECT_EQ(StyleOf(handle) & BS_TYPEMASK, BS_PUSHBUTTON);
        }
    }
    EXPECT_EQ(ChildrenTopDown(top), stacking);

    // The focus is on "立即关机"; Enter clicks nothing and neither button becomes the default.
    HWND actNow = Control("按钮1");
    EXPECT_TRUE(PumpUntil([&] { return GetFocus() == actNow; }, 1000));
    PostMessageA(actNow, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageA(actNow, WM_KEYUP, VK_RETURN, 0xC01C0001);
    PumpMessages();
    EXPECT_TRUE(IsWindow(top));
    EXPECT_TRUE(test.power.codes.empty());
    for (const char* button : {"按钮1", "按钮2"})
        EXPECT_EQ(StyleOf(Control(button)) & BS_TYPEMASK, BS_PUSHBUTTON) << button;
}

TEST_F(PromptWindowTest, ClosingByTheUserEndsItWithoutActionAndLeavesTheScheduleSpent) {
    struct Case {
        const char* name;
        std::function<void(HWND prompt)> close;
    };
    const Case cases[] = {
        {"Escape", [](HWND) { PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); }},
        {"Alt+F4", [](HWND window) { SendMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }},
        {"close button", [](HWND window) { SendMessageA(window, WM_CLOSE, 0, 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestServices local;
        MainWindow main(local.services);
        HWND promptHandle = OpenPromptThroughTheSchedule(local, main);
        ASSERT_TRUE(promptHandle);
        HWND actNow = main.Prompt().GetWindow().ControlHandle("按钮1");
        ASSERT_TRUE(PumpUntil([&] { return GetFocus() == actNow; }, 1000));
        Window& mainWindow = main.GetWindow();
        ASSERT_EQ(mainWindow.TimerPeriod("时钟1"), 0);

        c.close(promptHandle);
        PumpMessages();
        EXPECT_FALSE(IsWindow(promptHandle));
        EXPECT_EQ(main.Prompt().GetWindow().Handle(), nullptr);
        EXPECT_TRUE(local.power.codes.empty());
        EXPECT_TRUE(IsWindow(mainWindow.Handle()));
        EXPECT_EQ(WindowText(mainWindow.ControlHandle("应用")), "关闭自动关机");
        EXPECT_EQ(mainWindow.TimerPeriod("时钟1"), 0);
    }
}

// The destroy request is carried out by the loop: the window is still there after the
// click, and although its timer is due by then, no tick runs before it goes.
TEST_F(PromptWindowTest, ButtonsCloseItThroughThePostedRequestWithNoTickBetween) {
    struct Case {
        const char* button;
        std::vector<int32_t> actions;
    };
    const Case cases[] = {
        {"按钮2", {}},
        {"按钮1", {kSavedAction}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        test.power.codes.clear();
        prompt.Open();
        HWND handle = prompt.GetWindow().Handle();
        ASSERT_TRUE(handle);
        bool openAndUnmarkedAtAction = false;
        test.power.onRun = [&] {
            openAndUnmarkedAtAction = IsWindow(handle) && !prompt.GetWindow().MarkedForDestruction();
        };
        const int32_t remaining = prompt.GetCountdown().RemainingSeconds();

        SendMessageA(Control(c.button), BM_CLICK, 0, 0);
        EXPECT_EQ(test.power.codes, c.actions);
        EXPECT_EQ(openAndUnmarkedAtAction, !c.actions.empty());
        EXPECT_TRUE(IsWindow(handle));
        EXPECT_TRUE(prompt.GetWindow().MarkedForDestruction());

        Sleep(1100);
        PumpMessages();
        EXPECT_FALSE(IsWindow(handle));
        EXPECT_EQ(prompt.GetCountdown().RemainingSeconds(), remaining);
        EXPECT_EQ(test.power.codes, c.actions);
        test.power.onRun = nullptr;
    }
}

TEST_F(PromptWindowTest, SpaceBarOnTheNewWindowActsNow) {
    prompt.Open();
    HWND handle = prompt.GetWindow().Handle();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Control("按钮1"); }, 1000));
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_SPACE, 0x00390001);
    PostMessageA(GetFocus(), WM_KEYUP, VK_SPACE, 0xC0390001);
    PumpMessages();
    EXPECT_EQ(test.power.codes, std::vector<int32_t>{kSavedAction});
    EXPECT_FALSE(IsWindow(handle));
}

// Re-arming within the set minute and opening a minimised window bring the same window
// forward with its count going on; opening one whose destruction is pending starts afresh.
TEST_F(PromptWindowTest, OpeningWhileOpenKeepsTheCount) {
    MainWindow main(test.services);
    HWND first = OpenPromptThroughTheSchedule(test, main);
    ASSERT_TRUE(first);
    PromptWindow& opened = main.Prompt();
    ASSERT_TRUE(PumpUntil([&] { return opened.GetCountdown().RemainingSeconds() == kSavedReminder - 1; }, 2500));
    const Text label = WindowText(opened.GetWindow().ControlHandle("标签1"));
    EXPECT_EQ(label, ConcatText({"剩余时间：", IntToText(kSavedReminder - 1), "秒"}));

    struct Step {
        const char* name;
        std::function<void()> open;
        bool sameWindow;
    };
    HWND toggle = main.GetWindow().ControlHandle("应用");
    const Step steps[] = {
        {"re-armed within the set minute",
         [&] {
             SendMessageA(toggle, BM_CLICK, 0, 0);
             SendMessageA(toggle, BM_CLICK, 0, 0);
         },
         true},
        {"minimised",
         [&] {
             ShowWindow(first, SW_MINIMIZE);
             PumpMessages();
             ASSERT_TRUE(IsIconic(first));
             opened.Open();
         },
         true},
        {"destruction pending",
         [&] {
             SendMessageA(opened.GetWindow().ControlHandle("按钮2"), BM_CLICK, 0, 0);
             opened.Open();
         },
         false},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        const int32_t remaining = opened.GetCountdown().RemainingSeconds();
        step.open();
        HWND handle = opened.GetWindow().Handle();
        ASSERT_TRUE(handle);
        EXPECT_EQ(handle == first, step.sameWindow);
        EXPECT_FALSE(IsIconic(handle));
        EXPECT_EQ(opened.GetCountdown().RemainingSeconds(), step.sameWindow ? remaining : kSavedReminder);
        EXPECT_EQ(WindowText(opened.GetWindow().ControlHandle("标签1")), step.sameWindow ? label : "");
        EXPECT_EQ(IsWindow(first) != FALSE, step.sameWindow);
    }
    EXPECT_TRUE(test.power.codes.empty());
}

}  // namespace
