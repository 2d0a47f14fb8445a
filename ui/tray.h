// The notification-area icon and hiding the main window to it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string_view>

#include "resource_bytes.h"
#include "scoped_win.h"
#include "text.h"
#include "window.h"

constexpr UINT kTrayIconId = 100;
// The original NOTIFYICONDATAA layout, up to the end of its 64-byte tip: 88 bytes in the
// 32-bit program; wider handles make it larger in 64-bit test builds.
constexpr DWORD kNotifyIconDataSize = NOTIFYICONDATAA_V1_SIZE;
#ifndef _WIN64
static_assert(kNotifyIconDataSize == 88, "the first NOTIFYICONDATAA layout is 88 bytes");
#endif
constexpr size_t kTrayTipBytes = 62;

inline constexpr char kTrayTipHiddenByClose[] = "Velmora软件";
inline constexpr char kTrayTipHiddenByClick[] = "Velmora";
inline constexpr char kFileMenuCaption[] = "文件";
inline constexpr char kTaskbarCreatedMessageName[] = "TaskbarCreated";

// The shell calls of the tray, replaced by tests so that they can be recorded.
struct TrayShellFunctions {
    decltype(&Shell_NotifyIconA) notifyIcon;
    decltype(&TrackPopupMenu) trackPopupMenu;
    decltype(&GetCursorPos) getCursorPos;
};
TrayShellFunctions& TrayShell();

// One window's notification-area icon: identified by the window and kTrayIconId,
// calling back with kTrayCallbackMessage. An empty image removes the icon.
class TrayIcon {
public:
    explicit TrayIcon(Window& window) : window_(window) {}
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Returns whether the shell now shows the icon asked for. An add or change the shell
    // refuses leaves no icon remembered, so the next call adds it afresh; a removal, or
    // bytes that give no icon, return false.
    bool SetTrayIcon(ByteView image, const Text& tooltip);
    bool Shown() const { return static_cast<bool>(icon_); }
    // The shell's taskbar was re-created and has forgotten the icon: add the shown one
    // again. Returns whether an icon shows afterwards.
    bool Restore();

private:
    bool Notify(DWORD command, HICON icon, const Text& tooltip) const;

    Window& window_;
    ScopedIcon icon_;
    Text tooltip_;
};

// The drop-down of one top-level menu item at the pointer + 3 px; returns when it closes.
void ShowPopupMenu(Window& window, std::string_view topLevelCaption);

// The main window's tray behaviour: the handlers its events are bound to. The window is
// hidden only once its icon shows, so it can always be brought back.
class MainWindowTray {
public:
    MainWindowTray(Window& mainWindow, ByteView trayImage);
    ~MainWindowTray();
    MainWindowTray(const MainWindowTray&) = delete;
    MainWindowTray& operator=(const MainWindowTray&) = delete;

    // Binds closeQuery, moved, trayEvent and the destroying hook of the window, and the
    // shell's "TaskbarCreated" message; the destructor unbinds them.
    void Bind();

    bool HideToTrayOnClose();
    void OnMainWindowMoved();
    void OnTrayIconEvent(int32_t value);
    void OnExitChosen();
    void OnTaskbarCreated();

    TrayIcon& Icon() { return icon_; }

private:
    // Shows the icon with the tooltip, then hides the window; a window whose icon the
    // shell refused stays where it is.
    void HideWithIcon(const char* tooltip);
    void Unbind();

    Window& window_;
    ByteView image_;
    TrayIcon icon_;
    UINT taskbarCreatedMessage_ = 0;
};
