// The notification-area icon and hiding the main window to it, against a recording shell
// that keeps the tray's state as the real one would.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstddef>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "../../resources/resource_ids.h"
#include "resource_bytes.h"
#include "tray.h"
#include "ui_test_support.h"

using namespace ui_test;

namespace {

constexpr UINT kExitCommand = 40001;
constexpr UINT kAboutCommand = 40002;
constexpr char kExitCaption[] = "退出";

const MenuItem kMenu[] = {
    {0, "文件", 0},
    {1, "-", 0},
    {1, kExitCaption, kExitCommand},
    {0, "帮助", 0},
    {1, "关于", kAboutCommand},
};

WindowLayout TestLayout() {
    const WindowSettings settings{"Tray test", 300, 200, kPositionCentred,
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  0, true, false, false, true, nullptr};
    return {settings, kMenu, std::size(kMenu), nullptr, 0};
}

ByteView TrayImage() { return ResourceBytes(IDR_TRAY_ICON_IMAGE); }

SIZE IconSizeOf(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return {bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

bool IconAlive(HICON icon) { return IconSizeOf(icon).cx != 0; }

struct NotifyCall {
    DWORD command;
    DWORD cbSize;
    HWND window;
    UINT id;
    UINT flags;
    UINT callbackMessage;
    HICON icon;
    SIZE iconSize;
    std::string tipField;   // all 64 bytes of the first layout's tip
};

struct MenuEntry {
    UINT type;
    UINT id;
    std::string caption;
    bool operator==(const MenuEntry& other) const {
        return type == other.type && id == other.id && caption == other.caption;
    }
};

struct MenuCall {
    HMENU menu;
    UINT flags;
    int x, y, reserved;
    HWND owner;
    const RECT* rectangle;
    std::vector<MenuEntry> entries;
};

// Stands in for the shell: records every call and, like the taskbar, holds at most one
// icon per window and identifier, refusing to add it twice or to change or remove a
// missing one.
struct FakeShell {
    std::vector<NotifyCall> notifications;
    std::vector<MenuCall> menus;
    std::set<DWORD> refused;
    POINT pointer{200, 150};
    bool iconShown = false;
    std::string shownTip;

    BOOL Notify(DWORD command, const NOTIFYICONDATAA* data) {
        notifications.push_back({command, data->cbSize, data->hWnd, data->uID, data->uFlags, data->uCallbackMessage,
                                 data->hIcon, IconSizeOf(data->hIcon), std::string(data->szTip, 64)});
        if (refused.count(command)) return FALSE;
        switch (command) {
        case NIM_ADD:
            if (iconShown) return FALSE;
            iconShown = true;
            shownTip = data->szTip;
            return TRUE;
        case NIM_MODIFY:
            if (!iconShown) return FALSE;
            shownTip = data->szTip;
            return TRUE;
        case NIM_DELETE:
            if (!iconShown) return FALSE;
            iconShown = false;
            shownTip.clear();
            return TRUE;
        default:
            return FALSE;
        }
    }

    BOOL Track(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rectangle) {
        MenuCall call{menu, flags, x, y, reserved, owner, rectangle, {}};
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char caption[64] = {};
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
            info.dwTypeData = caption;
            info.cch = sizeof caption;
            GetMenuItemInfoA(menu, i, TRUE, &info);
            call.entries.push_back({info.fType, info.wID, caption});
        }
        menus.push_back(call);
        return FALSE;
    }
};

FakeShell* g_shell = nullptr;

BOOL WINAPI RecordNotifyIcon(DWORD command, PNOTIFYICONDATAA data) { return g_shell->Notify(command, data); }

BOOL WINAPI RecordTrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rectangle) {
    return g_shell->Track(menu, flags, x, y, reserved, owner, rectangle);
}

BOOL WINAPI FakeCursorPos(LPPOINT point) {
    *point = g_shell->pointer;
    return TRUE;
}

class TrayTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ProgramWindowCount(), 0u) << "a window of an earlier test is still open";
        SetMessageLoopFlag(false);
        saved_ = TrayShell();
        TrayShell() = {&RecordNotifyIcon, &RecordTrackPopupMenu, &FakeCursorPos};
        g_shell = &shell;
    }
    void TearDown() override {
        PumpMessages();
        TrayShell() = saved_;
        g_shell = nullptr;
    }

    FakeShell shell;

private:
    TrayShellFunctions saved_{};
};

// A main window with its tray behaviour bound, and "退出" routed as the program routes it.
struct TrayWindow {
    TrayWindow() : window(TestLayout()), tray(window, TrayImage()) {
        tray.Bind();
        window.Events().menuCommand = [this](UINT command) {
            if (command == kExitCommand) tray.OnExitChosen();
        };
        EXPECT_TRUE(LoadWindow(window));
    }
    HWND Handle() const { return window.Handle(); }

    Window window;
    MainWindowTray tray;
};

void SendTrayMouse(HWND window, UINT mouseMessage) {
    SendMessageA(window, kTrayCallbackMessage, kTrayIconId, mouseMessage);
}

// ---- SetTrayIcon ----

TEST_F(TrayTest, SetTrayIconAddsThenChangesThenRemovesWithAFreshIconEachTime) {
    Window window(TestLayout());
    ASSERT_TRUE(LoadWindow(window));
    TrayIcon icon(window);
    const std::string longTip(70, 'x');

    EXPECT_TRUE(icon.SetTrayIcon(TrayImage(), kTrayTipHiddenByClose));
    EXPECT_TRUE(icon.SetTrayIcon(TrayImage(), longTip));
    EXPECT_FALSE(icon.SetTrayIcon(ByteView(), Text()));
    EXPECT_FALSE(icon.Shown());
    EXPECT_FALSE(icon.SetTrayIcon(ByteView(), Text())) << "nothing left to remove";

    ASSERT_EQ(shell.notifications.size(), 3u);
    const NotifyCall& add = shell.notifications[0];
    const NotifyCall& change = shell.notifications[1];
    const NotifyCall& removal = shell.notifications[2];
    const DWORD firstLayoutSize = offsetof(NOTIFYICONDATAA, szTip) + 64;   // 88 in a 32-bit program

    EXPECT_EQ(add.command, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(change.command, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(removal.command, static_cast<DWORD>(NIM_DELETE));
    for (const NotifyCall& call : shell.notifications) {
        EXPECT_EQ(call.cbSize, firstLayoutSize);
        EXPECT_EQ(call.window, window.Handle());
        EXPECT_EQ(call.id, 100u);
    }
    for (const NotifyCall* call : {&add, &change}) {
        EXPECT_EQ(call->flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
        EXPECT_EQ(call->callbackMessage, 0x8064u);
        EXPECT_EQ(call->iconSize.cx, 16);
        EXPECT_EQ(call->iconSize.cy, 16);
    }
    EXPECT_EQ(removal.flags, 0u);
    EXPECT_EQ(removal.icon, nullptr);

    std::string closeTipField = kTrayTipHiddenByClose;
    closeTipField.resize(64, '\0');
    EXPECT_EQ(add.tipField, closeTipField);
    EXPECT_EQ(change.tipField, std::string(62, 'x') + std::string(2, '\0'));

    EXPECT_NE(add.icon, change.icon);
    EXPECT_FALSE(IconAlive(add.icon)) << "the replaced icon is destroyed";
    EXPECT_FALSE(IconAlive(change.icon)) << "the removed icon is destroyed";
}

// Patches of the real image: entry n (1-based) of its directory.
std::vector<unsigned char> PatchedImage(const std::vector<std::pair<size_t, unsigned char>>& patches) {
    const ByteView image = TrayImage();
    std::vector<unsigned char> bytes(image.data, image.data + image.size);
    for (const auto& [at, value] : patches) bytes[at] = value;
    return bytes;
}

constexpr size_t EntryByte(int entry, size_t field) { return 6 + 16 * (entry - 1) + field; }
constexpr size_t kColourCount = 2;
constexpr size_t kImageSizeTop = 11;   // high byte of the image size

TEST_F(TrayTest, IconBytesChooseSmallThenLargeAndBytesWithoutIconRemoveIt) {
    const ByteView real = TrayImage();
    // With 16 colours recorded, the 16 x 16 entry qualifies for the small size and the
    // 32 x 32 one for the large size; then the small one is made to end past the file.
    const std::vector<unsigned char> bothSizes =
        PatchedImage({{EntryByte(4, kColourCount), 16}, {EntryByte(5, kColourCount), 16}});
    std::vector<unsigned char> smallBroken = bothSizes;
    smallBroken[EntryByte(5, kImageSizeTop)] = 1;
    const std::vector<unsigned char> notAnIcon(real.data + 6, real.data + 600);
    struct Case {
        const char* name;
        ByteView bytes;
        int iconSide;   // 0: no icon
    };
    const Case cases[] = {
        {"the real image", real, 16},
        {"both sizes qualify", {bothSizes.data(), bothSizes.size()}, 16},
        {"small entry broken", {smallBroken.data(), smallBroken.size()}, 32},
        {"no bytes", ByteView(), 0},
        {"cut after the directory", {real.data, 200}, 0},
        {"no icon header", {notAnIcon.data(), notAnIcon.size()}, 0},
    };
    Window window(TestLayout());
    ASSERT_TRUE(LoadWindow(window));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool alreadyShown : {false, true}) {
            TrayIcon icon(window);
            if (alreadyShown) {
                ASSERT_TRUE(icon.SetTrayIcon(real, "before"));
            }
            shell.notifications.clear();

            EXPECT_EQ(icon.SetTrayIcon(c.bytes, "after"), c.iconSide != 0);
            EXPECT_EQ(icon.Shown(), c.iconSide != 0);
            EXPECT_EQ(shell.iconShown, c.iconSide != 0);
            if (c.iconSide == 0 && !alreadyShown) {
                EXPECT_TRUE(shell.notifications.empty());
                continue;
            }
            ASSERT_EQ(shell.notifications.size(), 1u);
            const NotifyCall& call = shell.notifications[0];
            const DWORD expected = c.iconSide == 0 ? NIM_DELETE : alreadyShown ? NIM_MODIFY : NIM_ADD;
            EXPECT_EQ(call.command, expected);
            EXPECT_EQ(call.iconSize.cx, c.iconSide);
            if (icon.Shown()) icon.SetTrayIcon(ByteView(), Text());
        }
    }
}

// ---- the main window's tray states ----

enum class Act { Minimise, Close, LeftClick, DoubleClick, RightClick, Drag, Exit, ShellLosesIcon, TaskbarRecreated };

void Perform(Act act, TrayWindow& main, FakeShell& shell) {
    HWND handle = main.Handle();
    switch (act) {
    case Act::Minimise:
        ShowWindow(handle, SW_MINIMIZE);
        break;
    case Act::Close:
        SendMessageA(handle, WM_CLOSE, 0, 0);
        break;
    case Act::LeftClick:
        SendTrayMouse(handle, WM_LBUTTONDOWN);
        SendTrayMouse(handle, WM_LBUTTONUP);
        break;
    case Act::DoubleClick:
        for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) SendTrayMouse(handle, mouse);
        break;
    case Act::RightClick:
        SendTrayMouse(handle, WM_RBUTTONDOWN);
        SendTrayMouse(handle, WM_RBUTTONUP);
        break;
    case Act::Drag: {
        const RECT outer = OuterRect(handle);
        SetWindowPos(handle, nullptr, outer.left + 15, outer.top + 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        break;
    }
    case Act::Exit:
        SendMessageA(handle, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
        PumpUntil([&main] { return main.Handle() == nullptr; }, 2000);
        break;
    case Act::ShellLosesIcon:
        shell.iconShown = false;
        shell.shownTip.clear();
        break;
    case Act::TaskbarRecreated:
        shell.iconShown = false;
        shell.shownTip.clear();
        SendMessageA(handle, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        break;
    }
    PumpMessages();
}

TEST_F(TrayTest, EventsMoveTheMainWindowBetweenShownAndTheTray) {
    const char* kNoIcon = nullptr;
    const std::set<DWORD> kNothingRefused;
    struct Row {
        const char* name;
        std::vector<Act> before;
        Act act;
        std::set<DWORD> refusedDuringAct;
        bool exists, visible, minimised;
        const char* tip;   // the shell's icon afterwards; nullptr: none
        size_t menus;
    };
    const Row rows[] = {
        {"shown, minimise", {}, Act::Minimise, kNothingRefused, true, false, true, kTrayTipHiddenByClose, 0},
        {"shown, close", {}, Act::Close, kNothingRefused, true, false, false, kTrayTipHiddenByClose, 0},
        {"hidden minimised, left click restores", {Act::Minimise}, Act::LeftClick, kNothingRefused,
         true, true, false, kNoIcon, 0},
        {"hidden, left click shows in place", {Act::Close}, Act::LeftClick, kNothingRefused,
         true, true, false, kTrayTipHiddenByClose, 0},
        {"shown with icon, left click hides", {Act::Close, Act::LeftClick}, Act::LeftClick, kNothingRefused,
         true, false, false, kTrayTipHiddenByClick, 0},
        {"hidden, double click toggles twice", {Act::Close}, Act::DoubleClick, kNothingRefused,
         true, false, false, kTrayTipHiddenByClick, 0},
        {"shown with icon, minimise", {Act::Close, Act::LeftClick, Act::LeftClick, Act::LeftClick}, Act::Minimise,
         kNothingRefused, true, false, true, kTrayTipHiddenByClose, 0},
        {"shown with icon, close", {Act::Close, Act::LeftClick, Act::LeftClick, Act::LeftClick}, Act::Close,
         kNothingRefused, true, false, false, kTrayTipHiddenByClose, 0},
        {"shown with icon, drag removes it", {Act::Close, Act::LeftClick}, Act::Drag, kNothingRefused,
         true, true, false, kNoIcon, 0},
        {"dragged, close adds it again", {Act::Close, Act::LeftClick, Act::Drag}, Act::Close, kNothingRefused,
         true, false, false, kTrayTipHiddenByClose, 0},
        {"hidden, right click opens the menu only", {Act::Close}, Act::RightClick, kNothingRefused,
         true, false, false, kTrayTipHiddenByClose, 1},
        {"shown, right click opens the menu only", {}, Act::RightClick, kNothingRefused,
         true, true, false, kNoIcon, 1},
        {"hidden, exit destroys and removes the icon", {Act::Close}, Act::Exit, kNothingRefused,
         false, false, false, kNoIcon, 0},
        {"hidden, taskbar re-created: icon back", {Act::Close, Act::LeftClick, Act::LeftClick},
         Act::TaskbarRecreated, kNothingRefused, true, false, false, kTrayTipHiddenByClick, 0},
        {"shown without icon, taskbar re-created", {}, Act::TaskbarRecreated, kNothingRefused,
         true, true, false, kNoIcon, 0},
        // The shell refuses: the window must stay reachable.
        {"close, add refused", {}, Act::Close, {NIM_ADD}, true, true, false, kNoIcon, 0},
        {"minimise, add refused: stays on the taskbar", {}, Act::Minimise, {NIM_ADD}, true, true, true, kNoIcon, 0},
        {"shell lost the icon, left click keeps the window", {Act::Close, Act::LeftClick, Act::ShellLosesIcon},
         Act::LeftClick, kNothingRefused, true, true, false, kNoIcon, 0},
        {"shell lost the icon, close adds it afresh",
         {Act::Close, Act::LeftClick, Act::ShellLosesIcon, Act::LeftClick}, Act::Close, kNothingRefused,
         true, false, false, kTrayTipHiddenByClose, 0},
        {"taskbar re-created, re-add refused: window comes back", {Act::Close}, Act::TaskbarRecreated, {NIM_ADD},
         true, true, false, kNoIcon, 0},
        {"minimised, taskbar re-created, re-add refused: restored", {Act::Minimise}, Act::TaskbarRecreated,
         {NIM_ADD}, true, true, false, kNoIcon, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        shell = FakeShell();
        {
            TrayWindow main;
            HWND handle = main.Handle();
            for (Act act : row.before) Perform(act, main, shell);
            shell.refused = row.refusedDuringAct;
            Perform(row.act, main, shell);
            shell.refused.clear();

            EXPECT_EQ(IsWindow(handle) != FALSE, row.exists);
            EXPECT_EQ(main.Handle() != nullptr, row.exists);
            if (row.exists) {
                EXPECT_EQ(IsWindowVisible(handle) != FALSE, row.visible);
                EXPECT_EQ(IsIconic(handle) != FALSE, row.minimised);
            }
            EXPECT_EQ(shell.iconShown, row.tip != nullptr);
            EXPECT_EQ(main.tray.Icon().Shown(), shell.iconShown) << "the window's record of its icon";
            if (row.tip) {
                EXPECT_EQ(shell.shownTip, row.tip);
            }
            EXPECT_EQ(shell.menus.size(), row.menus);
        }
        EXPECT_EQ(ProgramWindowCount(), 0u);
    }
}

TEST_F(TrayTest, DoubleClickRaisesOneTwoOneAndShowsTheWindowInBetween) {
    TrayWindow main;
    Perform(Act::Close, main, shell);
    std::vector<int32_t> values;
    int shownEvents = 0;
    WindowEvents& events = main.window.Events();
    events.trayEvent = [&values, bound = events.trayEvent](int32_t value) {
        values.push_back(value);
        bound(value);
    };
    events.shown = [&shownEvents] { ++shownEvents; };

    Perform(Act::DoubleClick, main, shell);

    EXPECT_EQ(values, (std::vector<int32_t>{kTrayLeftClick, kTrayDoubleClick, kTrayLeftClick}));
    EXPECT_EQ(shownEvents, 1);
    EXPECT_FALSE(IsWindowVisible(main.Handle()));
}

TEST_F(TrayTest, RightClickTracksTheFileMenuAtThePointerOwnedByTheHiddenWindow) {
    struct Case {
        UINT mouseMessage;
        POINT pointer;
    };
    const Case cases[] = {{WM_RBUTTONUP, {200, 150}}, {WM_CONTEXTMENU, {-40, 7}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mouseMessage);
        shell = FakeShell();
        shell.pointer = c.pointer;
        TrayWindow main;
        Perform(Act::Close, main, shell);
        const size_t notificationsBefore = shell.notifications.size();

        SendTrayMouse(main.Handle(), c.mouseMessage);

        ASSERT_EQ(shell.menus.size(), 1u);
        const MenuCall& call = shell.menus[0];
        EXPECT_EQ(call.flags, static_cast<UINT>(TPM_LEFTALIGN | TPM_RIGHTBUTTON));
        EXPECT_EQ(call.x, c.pointer.x + 3);
        EXPECT_EQ(call.y, c.pointer.y + 3);
        EXPECT_EQ(call.reserved, 0);
        EXPECT_EQ(call.owner, main.Handle());
        EXPECT_EQ(call.rectangle, nullptr);
        const std::vector<MenuEntry> expected = {{MFT_SEPARATOR, 0, ""}, {MFT_STRING, kExitCommand, kExitCaption}};
        EXPECT_EQ(call.entries, expected);
        EXPECT_FALSE(IsMenu(call.menu)) << "the menu is destroyed once it closes";
        EXPECT_EQ(shell.notifications.size(), notificationsBefore);
        EXPECT_FALSE(IsWindowVisible(main.Handle()));
    }
}

TEST_F(TrayTest, EndOfSessionQueryHidesToTheTrayAndAnswersNo) {
    for (const bool addRefused : {false, true}) {
        SCOPED_TRACE(addRefused ? "add refused" : "add taken");
        shell = FakeShell();
        if (addRefused) shell.refused = {NIM_ADD};
        TrayWindow main;

        EXPECT_EQ(SendMessageA(main.Handle(), WM_QUERYENDSESSION, 0, 0), FALSE);

        EXPECT_TRUE(IsWindow(main.Handle()));
        EXPECT_EQ(IsWindowVisible(main.Handle()) != FALSE, addRefused);
        EXPECT_EQ(shell.iconShown, !addRefused);
    }
}

TEST_F(TrayTest, TaskbarRecreatedAddsTheSameIconAndTipAgain) {
    TrayWindow main;
    Perform(Act::Close, main, shell);
    const NotifyCall first = shell.notifications.back();
    shell.notifications.clear();

    Perform(Act::TaskbarRecreated, main, shell);

    ASSERT_EQ(shell.notifications.size(), 1u);
    const NotifyCall& again = shell.notifications[0];
    EXPECT_EQ(again.command, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(again.flags, first.flags);
    EXPECT_EQ(again.callbackMessage, first.callbackMessage);
    EXPECT_EQ(again.icon, first.icon);
    EXPECT_EQ(again.tipField, first.tipField);
}

TEST_F(TrayTest, TrayGoneBeforeItsWindowRemovesTheIconAndLeavesNoHandlerBehind) {
    Window window(TestLayout());
    {
        MainWindowTray tray(window, TrayImage());
        tray.Bind();
        ASSERT_TRUE(LoadWindow(window));
        SendMessageA(window.Handle(), WM_CLOSE, 0, 0);
        ASSERT_TRUE(shell.iconShown);
    }
    EXPECT_FALSE(shell.iconShown);
    const size_t calls = shell.notifications.size();

    SendMessageA(window.Handle(), WM_CLOSE, 0, 0);

    EXPECT_EQ(window.Handle(), nullptr) << "no close query left: the window closes";
    EXPECT_EQ(shell.notifications.size(), calls);
}

}  // namespace
