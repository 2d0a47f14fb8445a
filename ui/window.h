// A program window built from a layout, its events, and the operations every window of
// the program shares: loading, the deferred destroy request, visibility and position.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

#include "controls.h"
#include "layout.h"
#include "scoped_win.h"
#include "text.h"

constexpr UINT kTrayCallbackMessage = WM_APP + 100;
constexpr UINT kDestroyRequestMessage = WM_APP + 101;

// Tray event values, from the mouse message of the tray callback.
constexpr int32_t kTrayLeftClick = 1;
constexpr int32_t kTrayDoubleClick = 2;
constexpr int32_t kTrayRightClick = 3;

// Handlers the window's owner sets; an event without a handler does nothing.
struct WindowEvents {
    std::function<void()> created;
    std::function<bool()> closeQuery;   // false keeps the window
    std::function<void()> moved;
    std::function<void()> sizeChanged;
    std::function<void(int32_t value)> trayEvent;
    std::function<void()> shown;
    std::function<void()> hidden;
    std::function<void(std::string_view control)> clicked;   // push buttons, check boxes, radio buttons
    std::function<void(std::string_view timer)> tick;
    std::function<void(UINT command)> menuCommand;
    // Sees every message first; returning true answers it with `result`. For messages the
    // window has no event for, such as the shell's registered "TaskbarCreated".
    std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)> message;
};

class Window : private ControlHost {
public:
    explicit Window(const WindowLayout& layout);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    WindowEvents& Events() { return events_; }
    const WindowLayout& Layout() const { return layout_; }
    HWND Handle() const { return handle_; }   // nullptr while the window is not open
    bool MarkedForDestruction() const { return markedForDestruction_; }

    // Controls by their layout names. A name the layout lacks reads as empty and takes no writes.
    HWND ControlHandle(std::string_view name) const;
    Text ControlText(std::string_view name) const;
    void SetControlText(std::string_view name, const Text& text);
    bool IsTicked(std::string_view name) const;   // check box ticked, radio button selected
    void SetTicked(std::string_view name, bool ticked);
    int32_t TimerPeriod(std::string_view name) const;
    void SetTimerPeriod(std::string_view name, int32_t milliseconds);

    bool Visible() const;
    void SetVisible(bool visible);

    // 2 minimised, 3 maximised, else 0; never 1.
    int PositionState() const;
    // Acts only on a visible window; 1 restores and centres without resizing.
    void SetPositionState(int state);

    // Runs on WM_DESTROY, before the menu bar goes: the tray icon removes itself here.
    void SetDestroyingHook(std::function<void()> hook) { destroyingHook_ = std::move(hook); }

private:
    friend bool LoadWindow(Window& window);
    friend void RequestWindowDestroy(Window& window);
    static LRESULT StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam);
    bool Load();
    bool CreateControls(HINSTANCE instance);
    void ApplyIcons();
    Control* ControlNamed(std::string_view name) const;
    Control* ControlWithHandle(HWND handle) const;
    void GiveFocusToControl();
    void OnTimerTick(const Control& timer) override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    LRESULT OnClose(UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroyed();
    void Raise(const std::function<void()>& handler);

    const WindowLayout layout_;
    WindowEvents events_;
    HWND handle_ = nullptr;
    bool markedForDestruction_ = false;
    bool eventsLive_ = false;   // WM_MOVE and WM_SIZE of the creation itself raise nothing
    HWND focusBeforeDeactivation_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    ScopedIcon bigIcon_;
    ScopedIcon smallIcon_;
    std::function<void()> destroyingHook_;
};

// Creates the window of its layout, or brings the open one forward (no event then).
// Returns whether the window exists afterwards.
bool LoadWindow(Window& window);

// Marks the window and posts it kDestroyRequestMessage; it is destroyed when the message
// loop reaches that message, without a close query.
void RequestWindowDestroy(Window& window);

// Set once the program's message loop runs: from then on WM_QUIT follows the
// destruction of the last program window.
void SetMessageLoopFlag(bool running);

// Program windows that exist now.
size_t ProgramWindowCount();

// For the message loop, before TranslateMessage: Escape closes a window whose layout says
// so, whichever control has the focus, and Tab moves between tab stops. Returns true when
// the message has been handled.
bool PreTranslateProgramMessage(MSG& message);

// The drop-down of one top-level menu item as a popup menu, by the menu bar's rules.
ScopedMenu BuildDropDownMenu(const WindowLayout& layout, std::string_view topLevelCaption);
