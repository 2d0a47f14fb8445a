#include "tray.h"

#include <algorithm>
#include <cstring>

#include "icon_from_bytes.h"

namespace {

constexpr int kMenuOffsetFromPointer = 3;
constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

// Small size first: the tray draws 16 x 16.
ScopedIcon MakeTrayIcon(ByteView image) {
    if (image.empty()) return ScopedIcon();
    if (ScopedIcon icon = MakeIconFromFileBytes(image, IconSize::Small)) return icon;
    return MakeIconFromFileBytes(image, IconSize::Large);
}

}  // namespace

TrayShellFunctions& TrayShell() {
    static TrayShellFunctions functions{&Shell_NotifyIconA, &TrackPopupMenu, &GetCursorPos};
    return functions;
}

TrayIcon::~TrayIcon() {
    if (icon_ && window_.Handle()) Notify(NIM_DELETE, nullptr, Text());
}

// A removal sends no icon and no flags; add and change send all three fields.
bool TrayIcon::Notify(DWORD command, HICON icon, const Text& tooltip) const {
    NOTIFYICONDATAA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = window_.Handle();
    data.uID = kTrayIconId;
    std::memcpy(data.szTip, tooltip.data(), std::min(tooltip.size(), kTrayTipBytes));
    if (icon) {
        data.uFlags = kIconFlags;
        data.hIcon = icon;
        data.uCallbackMessage = kTrayCallbackMessage;
    }
    return TrayShell().notifyIcon(command, &data) != FALSE;
}

bool TrayIcon::SetTrayIcon(ByteView image, const Text& tooltip) {
    ScopedIcon icon = MakeTrayIcon(image);
    bool shown = false;
    if (icon_) {
        if (icon)
            shown = Notify(NIM_MODIFY, icon.Get(), tooltip);
        else
            Notify(NIM_DELETE, nullptr, tooltip);
        icon_.Reset();
    } else if (icon) {
        shown = Notify(NIM_ADD, icon.Get(), tooltip);
    }
    if (shown) icon_ = std::move(icon);
    tooltip_ = shown ? tooltip : Text();
    return shown;
}

bool TrayIcon::Restore() {
    if (!icon_) return false;
    if (Notify(NIM_ADD, icon_.Get(), tooltip_)) return true;
    icon_.Reset();
    tooltip_.clear();
    return false;
}

void ShowPopupMenu(Window& window, std::string_view topLevelCaption) {
    ScopedMenu menu = BuildDropDownMenu(window.Layout(), topLevelCaption);
    if (!menu) return;
    POINT pointer{};
    TrayShell().getCursorPos(&pointer);
    TrayShell().trackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pointer.x + kMenuOffsetFromPointer,
                               pointer.y + kMenuOffsetFromPointer, 0, window.Handle(), nullptr);
}

MainWindowTray::MainWindowTray(Window& mainWindow, ByteView trayImage)
    : window_(mainWindow), image_(trayImage), icon_(mainWindow) {}

MainWindowTray::~MainWindowTray() { Unbind(); }

void MainWindowTray::Bind() {
    taskbarCreatedMessage_ = RegisterWindowMessageA(kTaskbarCreatedMessageName);
    WindowEvents& events = window_.Events();
    events.closeQuery = [this] { return HideToTrayOnClose(); };
    events.moved = [this] { OnMainWindowMoved(); };
    events.trayEvent = [this](int32_t value) { OnTrayIconEvent(value); };
    events.message = [this](UINT message, WPARAM, LPARAM, LRESULT& result) {
        if (taskbarCreatedMessage_ == 0 || message != taskbarCreatedMessage_) return false;
        OnTaskbarCreated();
        result = 0;
        return true;
    };
    window_.SetDestroyingHook([this] { icon_.SetTrayIcon(ByteView(), Text()); });
}

// The window outlives this object; nothing of it may call back here afterwards.
void MainWindowTray::Unbind() {
    WindowEvents& events = window_.Events();
    events.closeQuery = nullptr;
    events.moved = nullptr;
    events.trayEvent = nullptr;
    events.message = nullptr;
    window_.SetDestroyingHook(nullptr);
}

void MainWindowTray::HideWithIcon(const char* tooltip) {
    if (icon_.SetTrayIcon(image_, tooltip)) window_.SetVisible(false);
}

bool MainWindowTray::HideToTrayOnClose() {
    HideWithIcon(kTrayTipHiddenByClose);
    return false;
}

void MainWindowTray::OnMainWindowMoved() {
    // Hidden, the window stays minimised; without an icon it stays on the taskbar instead.
    if (window_.PositionState() == kPositionMinimised) HideWithIcon(kTrayTipHiddenByClose);
    if (window_.PositionState() == kPositionNormal) icon_.SetTrayIcon(ByteView(), Text());
}

void MainWindowTray::OnTrayIconEvent(int32_t value) {
    if (value == kTrayLeftClick) {
        if (!window_.Visible()) {
            window_.SetVisible(true);
            window_.SetPositionState(kPositionNormal);
        } else {
            HideWithIcon(kTrayTipHiddenByClick);
        }
    } else if (value == kTrayRightClick) {
        ShowPopupMenu(window_, kFileMenuCaption);
    }
}

void MainWindowTray::OnExitChosen() { RequestWindowDestroy(window_); }

void MainWindowTray::OnTaskbarCreated() {
    if (!icon_.Shown() || icon_.Restore() || window_.Visible()) return;
    // The icon is gone for good: bring the hidden window back rather than strand it.
    OnTrayIconEvent(kTrayLeftClick);
}
