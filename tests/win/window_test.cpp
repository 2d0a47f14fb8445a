// The window machinery: loading a layout, events, the deferred destroy request, the end
// of the program, PositionState and the keyboard focus.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "ui_test_support.h"
#include "window.h"

using namespace ui_test;

namespace {

constexpr DWORD kFixedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kSizableStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
constexpr int kWidth = 300;
constexpr int kHeight = 200;
constexpr UINT kExitCommand = 40001;
constexpr COLORREF kCaptionColour = RGB(0, 0, 128);

WindowSettings Settings(DWORD style = kFixedStyle, bool escapeCloses = false) {
    return {"Test window", kWidth, kHeight, kPositionCentred, style, 0, true, false, escapeCloses, true, nullptr};
}

const MenuItem kMenu[] = {
    {0, "File", 0},
    {1, "-", 0},
    {1, "Exit", kExitCommand},
    {1, "Hidden", 40002, true},
};

// The focus rule skips the hidden button, the disabled box and the label at the end, so
// the focus goes to "second".
const ControlRow kRows[] = {
    {"go", ControlKind::PushButton, nullptr, 10, 10, 80, 24, "Go", kShownTabStop},
    {"group", ControlKind::GroupBox, nullptr, 10, 40, 270, 90, "Group", kShown, TextColour(kCaptionColour)},
    {"clock", ControlKind::Timer, "group", 0, 0, 32, 32, nullptr, kShown},
    {"hour", ControlKind::EditBox, "group", 20, 20, 30, 20, "21", kShownTabStop | kNumberFilter | kSpinBuddy,
     SpinRange(0, 23)},
    {"monday", ControlKind::CheckBox, "group", 100, 20, 60, 20, "Mon", kShownTabStop | kTicked},
    {"first", ControlKind::RadioButton, "group", 20, 50, 60, 20, "One", kShownTabStop | kTicked},
    {"second", ControlKind::RadioButton, "group", 100, 50, 60, 20, "Two", kShownTabStop},
    {"hiddenButton", ControlKind::PushButton, nullptr, 200, 10, 60, 24, "Hidden", kEnabled | kTabStop},
    {"disabledCheck", ControlKind::CheckBox, nullptr, 200, 140, 60, 20, "Off", kVisible | kTabStop},
    {"status", ControlKind::Label, nullptr, 10, 140, 180, 16, "A&B", kShown},
};

WindowLayout FullLayout(WindowSettings settings = Settings()) {
    return {settings, kMenu, std::size(kMenu), kRows, std::size(kRows)};
}

const ControlRow kTickingRows[] = {
    {"ticker", ControlKind::Timer, nullptr, 0, 0, 10, 10, nullptr, 0, TimerPeriod(20)},
    {"text", ControlKind::EditBox, nullptr, 10, 10, 100, 20, "", kShownTabStop},
};

WindowLayout TickingLayout(WindowSettings settings = Settings()) {
    return {settings, nullptr, 0, kTickingRows, std::size(kTickingRows)};
}

std::vector<HWND> ChildrenTopDown(HWND parent) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

LONG_PTR Style(HWND handle) { return GetWindowLongPtrA(handle, GWL_STYLE); }

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ProgramWindowCount(), 0u) << "a window of an earlier test is still open";
        SetMessageLoopFlag(false);
    }
    void TearDown() override {
        SetMessageLoopFlag(false);
        PumpMessages();
    }

    // Logs every window event of the window by name.
    void RecordEvents(Window& window) {
        WindowEvents& events = window.Events();
        events.created = [this] { log.push_back("created"); };
        events.moved = [this] { log.push_back("moved"); };
        events.sizeChanged = [this] { log.push_back("size"); };
        events.shown = [this] { log.push_back("shown"); };
        events.hidden = [this] { log.push_back("hidden"); };
    }

    std::vector<std::string> log;
};

TEST_F(WindowTest, CreationEventSeesTheLayoutWhileTheWindowIsHidden) {
    Window window(FullLayout());
    bool ran = false;
    window.Events().created = [&] {
        ran = true;
        HWND top = window.Handle();
        EXPECT_FALSE(IsWindowVisible(top));
        HWND group = window.ControlHandle("group");
        HWND hour = window.ControlHandle("hour");

        EXPECT_EQ(window.ControlText("go"), "Go");
        EXPECT_EQ(window.ControlText("hour"), "21");
        EXPECT_EQ(window.ControlText("status"), "A&B");
        EXPECT_TRUE(window.IsTicked("monday"));
        EXPECT_TRUE(window.IsTicked("first"));
        EXPECT_FALSE(window.IsTicked("second"));
        EXPECT_EQ(window.TimerPeriod("clock"), 0);

        // Controls of the group box live in it, at their layout coordinates.
        EXPECT_EQ(GetParent(hour), group);
        EXPECT_EQ(GetParent(window.ControlHandle("go")), top);
        const RECT hourRect = RectInParent(hour);
        EXPECT_EQ(hourRect.left, 20);
        EXPECT_EQ(hourRect.top, 20);
        EXPECT_EQ(hourRect.right, 50);
        EXPECT_EQ(hourRect.bottom, 40);

        // The arrows sit against the box's right edge, same top and height, same parent.
        HWND spin = FindWindowExA(group, nullptr, UPDOWN_CLASSA, nullptr);
        ASSERT_TRUE(spin);
        const RECT spinRect = RectInParent(spin);
        EXPECT_EQ(spinRect.left, hourRect.right);
        EXPECT_EQ(spinRect.right - spinRect.left, kSpinBuddyWidth);
        EXPECT_EQ(spinRect.top, hourRect.top);
        EXPECT_EQ(spinRect.bottom, hourRect.bottom);
        EXPECT_TRUE(GetWindowLongPtrA(spin, GWL_EXSTYLE) & WS_EX_STATICEDGE);
        EXPECT_TRUE(Style(spin) & WS_VISIBLE);

        // Siblings stacked in layout order, the first on top.
        const std::vector<HWND> expected{window.ControlHandle("go"), group, window.ControlHandle("hiddenButton"),
                                         window.ControlHandle("disabledCheck"), window.ControlHandle("status")};
        EXPECT_EQ(ChildrenTopDown(top), expected);

        EXPECT_EQ(Style(window.ControlHandle("go")) & BS_TYPEMASK, BS_PUSHBUTTON);
        EXPECT_TRUE(GetWindowLongPtrA(hour, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_TRUE(Style(window.ControlHandle("first")) & WS_GROUP);
        EXPECT_FALSE(Style(window.ControlHandle("second")) & WS_GROUP);
        EXPECT_FALSE(Style(window.ControlHandle("hiddenButton")) & WS_VISIBLE);
        EXPECT_FALSE(IsWindowEnabled(window.ControlHandle("disabledCheck")));
        EXPECT_FALSE(Style(window.ControlHandle("clock")) & WS_VISIBLE);
        EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageA(hour, WM_GETFONT, 0, 0)), GetStockObject(DEFAULT_GUI_FONT));
    };
    ASSERT_TRUE(LoadWindow(window));
    EXPECT_TRUE(ran);

    HWND top = window.Handle();
    EXPECT_TRUE(IsWindowVisible(top));
    const RECT outer = OuterRect(top);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
    EXPECT_EQ(outer.right - outer.left, kWidth);
    EXPECT_EQ(outer.bottom - outer.top, kHeight);

    // The menu bar: "File" holding a separator and "Exit"; the hidden item is left out.
    HMENU file = GetSubMenu(GetMenu(top), 0);
    ASSERT_TRUE(file);
    EXPECT_EQ(GetMenuItemCount(GetMenu(top)), 1);
    ASSERT_EQ(GetMenuItemCount(file), 2);
    EXPECT_TRUE(GetMenuState(file, 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(file, 1), kExitCommand);
}

TEST_F(WindowTest, MovedAndSizeChangedFollowCreatedBeforeTheWindowIsShown) {
    Window window(FullLayout());
    RecordEvents(window);
    int stateWhenMoved = -1;
    window.Events().moved = [&] {
        log.push_back("moved");
        stateWhenMoved = window.PositionState();
    };
    ASSERT_TRUE(LoadWindow(window));
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 4),
              (std::vector<std::string>{"created", "moved", "size", "shown"}));
    EXPECT_EQ(stateWhenMoved, kPositionNormal);
}

TEST_F(WindowTest, WindowSettingsOfTheLayoutAreApplied) {
    WindowSettings settings = Settings();
    settings.movable = false;
    settings.topmost = true;
    settings.visible = false;
    Window window(FullLayout(settings));
    ASSERT_TRUE(LoadWindow(window));
    HWND top = window.Handle();
    EXPECT_FALSE(IsWindowVisible(top));
    EXPECT_TRUE(GetWindowLongPtrA(top, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetMenuState(GetSystemMenu(top, FALSE), SC_MOVE, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_NE(GetMenuState(GetSystemMenu(top, FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST_F(WindowTest, LoadingAnOpenWindowBringsItForwardWithoutEvents) {
    Window window(FullLayout());
    Window other(TickingLayout());
    int created = 0;
    window.Events().created = [&] { ++created; };
    ASSERT_TRUE(LoadWindow(window));
    HWND first = window.Handle();

    // Minimised: restored.
    ShowWindow(first, SW_MINIMIZE);
    PumpMessages();
    ASSERT_TRUE(IsIconic(first));
    EXPECT_TRUE(LoadWindow(window));
    PumpMessages();
    EXPECT_FALSE(IsIconic(first));
    EXPECT_EQ(window.Handle(), first);

    // Not minimised, behind another window: activated.
    ASSERT_TRUE(LoadWindow(other));
    PumpMessages();
    ASSERT_EQ(GetActiveWindow(), other.Handle());
    EXPECT_TRUE(LoadWindow(window));
    PumpMessages();
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(window.Handle(), first);
    EXPECT_EQ(created, 1);
}

TEST_F(WindowTest, DestroyRequestIsCarriedOutByTheLoopWithoutCloseQueryOrTick) {
    Window window(TickingLayout());
    int ticks = 0, closeQueries = 0;
    window.Events().tick = [&](std::string_view) { ++ticks; };
    window.Events().closeQuery = [&] {
        ++closeQueries;
        return false;
    };
    ASSERT_TRUE(LoadWindow(window));
    HWND handle = window.Handle();
    ASSERT_TRUE(PumpUntil([&] { return ticks >= 2; }, 2000));

    RequestWindowDestroy(window);
    const int ticksAtRequest = ticks;
    EXPECT_TRUE(IsWindow(handle));
    EXPECT_TRUE(window.MarkedForDestruction());
    Sleep(100);   // timer due several times over
    PumpMessages();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(window.Handle(), nullptr);
    EXPECT_EQ(ticks, ticksAtRequest);
    EXPECT_EQ(closeQueries, 0);
}

TEST_F(WindowTest, LoadingAWindowMarkedForDestructionMakesANewOne) {
    Window window(TickingLayout());
    int created = 0;
    window.Events().created = [&] { ++created; };
    ASSERT_TRUE(LoadWindow(window));
    HWND old = window.Handle();
    RequestWindowDestroy(window);
    ASSERT_TRUE(LoadWindow(window));
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(created, 2);
    PumpMessages();   // the old request does not reach the new window
    EXPECT_TRUE(IsWindow(window.Handle()));
    EXPECT_FALSE(window.MarkedForDestruction());
}

TEST_F(WindowTest, QuitFollowsTheLastWindowOnlyOnceTheLoopRuns) {
    for (const bool loopRunning : {false, true}) {
        SCOPED_TRACE(loopRunning ? "loop running" : "before the loop");
        SetMessageLoopFlag(loopRunning);
        Window first(TickingLayout()), second(TickingLayout());
        ASSERT_TRUE(LoadWindow(first));
        ASSERT_TRUE(LoadWindow(second));
        EXPECT_EQ(ProgramWindowCount(), 2u);

        RequestWindowDestroy(first);
        EXPECT_FALSE(PumpMessages());
        EXPECT_EQ(ProgramWindowCount(), 1u);

        RequestWindowDestroy(second);
        MSG quit{};
        while (PeekMessageA(&quit, nullptr, 0, 0, PM_REMOVE) && quit.message != WM_QUIT) DispatchMessageA(&quit);
        EXPECT_EQ(quit.message == WM_QUIT, loopRunning);
        if (loopRunning) {
            EXPECT_EQ(quit.wParam, 0u);
        }
        EXPECT_EQ(ProgramWindowCount(), 0u);
    }
}

TEST_F(WindowTest, CloseQueryDecidesWmCloseAndQueryEndSession) {
    enum class Handler { None, Yes, No };
    struct Case {
        Handler handler;
        UINT message;
        LRESULT result;   // checked for WM_QUERYENDSESSION only
        bool stays;
    };
    const Case cases[] = {
        {Handler::None, WM_CLOSE, 0, false},
        {Handler::Yes, WM_CLOSE, 0, false},
        {Handler::No, WM_CLOSE, 0, true},
        {Handler::None, WM_QUERYENDSESSION, TRUE, true},
        {Handler::Yes, WM_QUERYENDSESSION, TRUE, true},
        {Handler::No, WM_QUERYENDSESSION, FALSE, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "handler " << static_cast<int>(c.handler) << " message " << c.message);
        Window window(TickingLayout());
        int queries = 0;
        if (c.handler != Handler::None) {
            window.Events().closeQuery = [&queries, answer = c.handler == Handler::Yes] {
                ++queries;
                return answer;
            };
        }
        ASSERT_TRUE(LoadWindow(window));
        HWND handle = window.Handle();
        const LRESULT result = SendMessageA(handle, c.message, 0, 0);
        if (c.message == WM_QUERYENDSESSION) {
            EXPECT_EQ(result, c.result);
        }
        EXPECT_EQ(IsWindow(handle) != FALSE, c.stays);
        EXPECT_EQ(queries, c.handler == Handler::None ? 0 : 1);
    }
}

TEST_F(WindowTest, EscapeClosesOnlyAWindowWhoseLayoutSaysSo) {
    for (const bool escapeCloses : {false, true}) {
        SCOPED_TRACE(escapeCloses ? "escape closes" : "escape ignored");
        Window window(TickingLayout(Settings(kFixedStyle, escapeCloses)));
        ASSERT_TRUE(LoadWindow(window));
        HWND handle = window.Handle();
        HWND box = window.ControlHandle("text");
        SetFocus(box);
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PumpMessages();
        EXPECT_EQ(IsWindow(handle) == FALSE, escapeCloses);
    }
}

TEST_F(WindowTest, TabMovesTheFocusIntoAndThroughGroupBoxes) {
    Window window(FullLayout());
    ASSERT_TRUE(LoadWindow(window));
    SetFocus(window.ControlHandle("go"));
    for (const char* next : {"hour", "monday"}) {
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 0x000F0001);
        PumpMessages();
        EXPECT_EQ(GetFocus(), window.ControlHandle(next)) << next;
    }
}

TEST_F(WindowTest, TrayCallbackRaisesTheValueOfItsMouseMessage) {
    Window window(TickingLayout());
    std::vector<int32_t> values;
    window.Events().trayEvent = [&](int32_t value) { values.push_back(value); };
    ASSERT_TRUE(LoadWindow(window));
    for (const LPARAM mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE, WM_LBUTTONDOWN})
        SendMessageA(window.Handle(), kTrayCallbackMessage, 100, mouse);
    EXPECT_EQ(values, (std::vector<int32_t>{1, 2, 3, 3}));
}

TEST_F(WindowTest, MenuCommandsAndClicksReachTheirHandlers) {
    Window window(FullLayout());
    std::vector<UINT> commands;
    std::vector<std::string> clicks;
    window.Events().menuCommand = [&](UINT command) { commands.push_back(command); };
    window.Events().clicked = [&](std::string_view name) { clicks.emplace_back(name); };
    ASSERT_TRUE(LoadWindow(window));
    SendMessageA(window.Handle(), WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
    SendMessageA(window.ControlHandle("go"), BM_CLICK, 0, 0);
    SendMessageA(window.ControlHandle("monday"), BM_CLICK, 0, 0);   // inside the group box
    SendMessageA(window.ControlHandle("second"), BM_CLICK, 0, 0);
    EXPECT_EQ(commands, std::vector<UINT>{kExitCommand});
    EXPECT_EQ(clicks, (std::vector<std::string>{"go", "monday", "second"}));
}

TEST_F(WindowTest, MenuBarIsDestroyedWithTheWindow) {
    Window window(FullLayout());
    bool hookRan = false;
    window.SetDestroyingHook([&] { hookRan = true; });
    ASSERT_TRUE(LoadWindow(window));
    HMENU bar = GetMenu(window.Handle());
    ASSERT_TRUE(IsMenu(bar));
    RequestWindowDestroy(window);
    PumpMessages();
    EXPECT_TRUE(hookRan);
    EXPECT_FALSE(IsMenu(bar));
}

TEST_F(WindowTest, DropDownMenuIsBuiltByTheMenuBarRules) {
    const WindowLayout layout = FullLayout();
    ScopedMenu menu = BuildDropDownMenu(layout, "File");
    ASSERT_TRUE(menu);
    ASSERT_EQ(GetMenuItemCount(menu.Get()), 2);
    EXPECT_TRUE(GetMenuState(menu.Get(), 0, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_EQ(GetMenuItemID(menu.Get(), 1), kExitCommand);
    EXPECT_FALSE(BuildDropDownMenu(layout, "Edit"));
}

// Each step writes a value and reads PositionState back; 1 also centres the window.
TEST_F(WindowTest, PositionStateOnAVisibleWindowNeverReadsOne) {
    struct Step {
        int write;
        int read;
        bool centred;
        bool coversScreen;
    };
    struct Case {
        DWORD style;
        std::vector<Step> steps;
    };
    const Case cases[] = {
        {kFixedStyle, {{2, 2, false, false}, {1, 0, true, false}, {3, 0, false, true}, {0, 0, false, true}}},
        {kSizableStyle, {{3, 3, false, false}, {1, 0, true, false}, {2, 2, false, false}, {0, 0, false, false}}},
    };
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const Case& c : cases) {
        Window window(TickingLayout(Settings(c.style)));
        ASSERT_TRUE(LoadWindow(window));
        HWND handle = window.Handle();
        SetWindowPos(handle, nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        for (const Step& step : c.steps) {
            SCOPED_TRACE(testing::Message() << "style " << c.style << " write " << step.write);
            window.SetPositionState(step.write);
            PumpMessages();
            EXPECT_EQ(window.PositionState(), step.read);
            const RECT outer = OuterRect(handle);
            if (step.centred) {
                EXPECT_EQ(outer.right - outer.left, kWidth);
                EXPECT_EQ(outer.left, (screenWidth - kWidth) / 2);
                EXPECT_EQ(outer.top, (screenHeight - kHeight) / 2);
            }
            if (step.coversScreen) {
                EXPECT_EQ(outer.left, 0);
                EXPECT_EQ(outer.top, 0);
                EXPECT_EQ(outer.right, screenWidth);
                EXPECT_EQ(outer.bottom, screenHeight);
            }
        }
    }
}

TEST_F(WindowTest, PositionStateWrittenOnAHiddenWindowChangesNothing) {
    Window window(TickingLayout());
    ASSERT_TRUE(LoadWindow(window));
    HWND handle = window.Handle();
    SetWindowPos(handle, nullptr, 5, 7, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    window.SetVisible(false);
    const RECT before = OuterRect(handle);
    for (const int state : {kPositionCentred, kPositionMinimised, kPositionMaximised, kPositionNormal}) {
        SCOPED_TRACE(state);
        window.SetPositionState(state);
        PumpMessages();
        const RECT after = OuterRect(handle);
        EXPECT_TRUE(EqualRect(&before, &after));
        EXPECT_FALSE(window.Visible());
        EXPECT_EQ(window.PositionState(), kPositionNormal);
    }
}

TEST_F(WindowTest, VisibleReadsAndWritesTheWindow) {
    Window window(TickingLayout());
    RecordEvents(window);
    ASSERT_TRUE(LoadWindow(window));
    EXPECT_TRUE(window.Visible());
    log.clear();
    window.SetVisible(false);
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_FALSE(window.Visible());
    window.SetVisible(true);
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
    EXPECT_EQ(log, (std::vector<std::string>{"hidden", "shown"}));
}

TEST_F(WindowTest, FocusGoesToTheLastEligibleTabStopWhenTheWindowFirstGetsIt) {
    Window window(FullLayout());
    ASSERT_TRUE(LoadWindow(window));
    PumpMessages();
    EXPECT_EQ(GetFocus(), window.ControlHandle("second"));
}

TEST_F(WindowTest, FocusReturnsToTheRememberedControlAfterDeactivation) {
    Window window(FullLayout());
    Window other(TickingLayout());
    ASSERT_TRUE(LoadWindow(window));
    HWND hour = window.ControlHandle("hour");
    SetFocus(hour);

    ASSERT_TRUE(LoadWindow(other));
    PumpMessages();
    ASSERT_NE(GetFocus(), hour);
    SetActiveWindow(window.Handle());
    PumpMessages();
    EXPECT_EQ(GetFocus(), hour);

    // A remembered control that is gone: the rule applies again.
    SetActiveWindow(other.Handle());
    PumpMessages();
    DestroyWindow(hour);
    SetActiveWindow(window.Handle());
    PumpMessages();
    EXPECT_EQ(GetFocus(), window.ControlHandle("second"));
}

TEST_F(WindowTest, GroupBoxPaintsItsCaptionColourAndItsInside) {
    Window window(FullLayout());   // a window that clips its children
    ASSERT_TRUE(LoadWindow(window));
    HWND group = window.ControlHandle("group");
    EXPECT_GT(PaintedPixelCount(group, kCaptionColour), 0);

    // Erasing its background fills the inside, which the parent does not paint.
    RECT client;
    GetClientRect(group, &client);
    const int area = client.right * client.bottom;
    EXPECT_GT(PaintedPixelCount(group, GetSysColor(COLOR_BTNFACE), WM_PRINT, PRF_ERASEBKGND | PRF_CLIENT), area / 2);
}

TEST_F(WindowTest, WindowIconsComeFromTheApplicationIconWhenTheLayoutHasNone) {
    WindowSettings settings = Settings();
    settings.iconResource = "NO_SUCH_ICON";
    Window window(FullLayout(settings));
    ASSERT_TRUE(LoadWindow(window));
    const bool programHasIcon = FindResourceA(GetModuleHandleA(nullptr), "DEFAULT_ICON", RT_GROUP_ICON) != nullptr;
    for (const WPARAM which : {ICON_SMALL, ICON_BIG})
        EXPECT_EQ(SendMessageA(window.Handle(), WM_GETICON, which, 0) != 0, programHasIcon) << "icon " << which;
}

}  // namespace
