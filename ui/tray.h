// The notification-area icon and hiding the main window to it.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <string_view>

#include "resource_bytes.h"
#include "text.h"
#include "window.h"

constexpr UINT kTrayIconId = 100;
constexpr DWORD kNotifyIconDataSize = 88;   // the original NOTIFYICONDATAA layout
constexpr size_t kTrayTipBytes = 62;

inline constexpr char kTrayTipHiddenByClose[] = "Velmora软件";
inline constexpr char kTrayTipHiddenByClick[] = "Velmora";
inline constexpr char kFileMenuCaption[] = "文件";

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

    // Returns whether the shell took the add or change (the Part's callers ignore it,
    // hiding to the tray does not).
    bool SetTrayIcon(ByteView image, const Text& tooltip);
    bool Shown() const { return icon_ != nullptr; }
    // The shell's taskbar was re-created: add the icon again if one is shown.
    void Restore();

private:
    Window& window_;
    HICON icon_ = nullptr;
    Text tooltip_;
};

// The drop-down of one top-level menu item at the pointer + 3 px; returns when it closes.
void ShowPopupMenu(Window& window, std::string_view topLevelCaption);

// The main window's tray behaviour: the handlers its events are bound to.
class MainWindowTray {
public:
    MainWindowTray(Window& mainWindow, ByteView trayImage);

    // Binds closeQuery, moved, trayEvent and the destroying hook of the window, and the
    // shell's "TaskbarCreated" message.
    void Bind();

    bool HideToTrayOnClose();
    void OnMainWindowMoved();
    void OnTrayIconEvent(int32_t value);
    void OnExitChosen();
    void OnTaskbarCreated();

    TrayIcon& Icon() { return icon_; }

private:
    Window& window_;
    ByteView image_;
    TrayIcon icon_;
};
