#include "window.h"

#include <commctrl.h>

#include <algorithm>

#include "icon_from_bytes.h"

namespace {

constexpr char kWindowClass[] = "VelmoraWindow";
constexpr char kDefaultIcon[] = "DEFAULT_ICON";
constexpr char kSeparator[] = "-";

struct ProgramState {
    std::vector<Window*> liveWindows;
    bool messageLoopRunning = false;
};

ProgramState& Program() {
    static ProgramState state;
    return state;
}

Window* ProgramWindowWithHandle(HWND handle) {
    for (Window* window : Program().liveWindows)
        if (window->Handle() == handle) return window;
    return nullptr;
}

// Appends the level-1 items from `first` on, up to the next top-level item.
void AppendDropDown(HMENU menu, const MenuItem* first, const MenuItem* end) {
    for (const MenuItem* item = first; item != end && item->level > 0; ++item) {
        if (item->hidden) continue;
        if (std::string_view(item->caption) == kSeparator) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item->disabled) flags |= MF_GRAYED;
        if (item->checked) flags |= MF_CHECKED;
        AppendMenuA(menu, flags, item->command, item->caption);
    }
}

ScopedMenu BuildMenuBar(const WindowLayout& layout) {
    if (layout.menuCount == 0) return ScopedMenu();
    ScopedMenu bar(CreateMenu());
    const MenuItem* end = layout.menu + layout.menuCount;
    for (const MenuItem* item = layout.menu; item != end; ++item) {
        if (item->level != 0 || item->hidden) continue;
        HMENU dropDown = CreatePopupMenu();
        AppendDropDown(dropDown, item + 1, end);
        UINT flags = MF_POPUP;
        if (item->disabled) flags |= MF_GRAYED;
        AppendMenuA(bar.Get(), flags, reinterpret_cast<UINT_PTR>(dropDown), item->caption);
    }
    return bar;
}

bool IsButtonKind(ControlKind kind) {
    return kind == ControlKind::PushButton || kind == ControlKind::CheckBox || kind == ControlKind::RadioButton;
}

void RestoreIfMinimisedOrMaximised(HWND handle) {
    if (IsIconic(handle) || IsZoomed(handle)) ShowWindow(handle, SW_RESTORE);
}

void CentreOnScreen(HWND handle) {
    RECT outer;
    GetWindowRect(handle, &outer);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - (outer.right - outer.left)) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - (outer.bottom - outer.top)) / 2;
    SetWindowPos(handle, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int32_t TrayEventValue(LPARAM mouseMessage) {
    switch (mouseMessage) {
    case WM_LBUTTONUP: return kTrayLeftClick;
    case WM_LBUTTONDBLCLK: return kTrayDoubleClick;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU: return kTrayRightClick;
    default: return 0;
    }
}

void MoveFocusToNextTabStop(HWND window, bool backwards) {
    HWND focus = GetFocus();
    if (focus == window || !IsChild(window, focus)) focus = nullptr;
    HWND next = GetNextDlgTabItem(window, focus, backwards);
    if (!next) return;
    SetFocus(next);
    char className[8];
    if (GetClassNameA(next, className, sizeof className) && lstrcmpiA(className, "EDIT") == 0)
        SendMessageA(next, EM_SETSEL, 0, -1);
}

}  // namespace

Window::Window(const WindowLayout& layout) : layout_(layout) {}

Window::~Window() {
    if (handle_) DestroyWindow(handle_);
}

Control* Window::ControlNamed(std::string_view name) const {
    for (const auto& control : controls_)
        if (name == control->row->name) return control.get();
    return nullptr;
}

Control* Window::ControlWithHandle(HWND handle) const {
    for (const auto& control : controls_)
        if (control->handle == handle) return control.get();
    return nullptr;
}

HWND Window::ControlHandle(std::string_view name) const {
    const Control* control = ControlNamed(name);
    return control ? control->handle : nullptr;
}

Text Window::ControlText(std::string_view name) const {
    HWND handle = ControlHandle(name);
    return handle ? WindowText(handle) : Text();
}

void Window::SetControlText(std::string_view name, const Text& text) {
    if (HWND handle = ControlHandle(name)) SetWindowTextA(handle, text.c_str());
}

bool Window::IsTicked(std::string_view name) const {
    HWND handle = ControlHandle(name);
    return handle && SendMessageA(handle, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Window::SetTicked(std::string_view name, bool ticked) {
    if (HWND handle = ControlHandle(name)) SendMessageA(handle, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

int32_t Window::TimerPeriod(std::string_view name) const {
    const Control* timer = ControlNamed(name);
    return timer ? timer->timerPeriod : 0;
}

void Window::SetTimerPeriod(std::string_view name, int32_t milliseconds) {
    if (Control* timer = ControlNamed(name)) ::SetTimerPeriod(*timer, milliseconds);
}

bool Window::Visible() const { return handle_ && IsWindowVisible(handle_); }

void Window::SetVisible(bool visible) {
    if (handle_) ShowWindow(handle_, visible ? SW_SHOW : SW_HIDE);
}

int Window::PositionState() const {
    if (!handle_) return kPositionNormal;
    if (IsIconic(handle_)) return kPositionMinimised;
    if (IsZoomed(handle_)) return kPositionMaximised;
    return kPositionNormal;
}

void Window::SetPositionState(int state) {
    if (!Visible()) return;
    switch (state) {
    case kPositionNormal:
        ShowWindow(handle_, SW_SHOWNORMAL);
        break;
    case kPositionCentred:
        RestoreIfMinimisedOrMaximised(handle_);
        CentreOnScreen(handle_);
        break;
    case kPositionMinimised:
        ShowWindow(handle_, SW_MINIMIZE);
        break;
    case kPositionMaximised:
        if (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_THICKFRAME) {
            ShowWindow(handle_, SW_SHOWMAXIMIZED);
        } else {
            RestoreIfMinimisedOrMaximised(handle_);
            SetWindowPos(handle_, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                         SWP_NOZORDER | SWP_NOACTIVATE);
        }
        break;
    default:
        break;
    }
}

void Window::Raise(const std::function<void()>& handler) {
    // A copy, so that a handler may replace itself while it runs.
    if (auto run = handler) run();
}

bool Window::Load() {
    if (handle_) {
        if (!markedForDestruction_) {
            if (IsIconic(handle_))
                ShowWindow(handle_, SW_RESTORE);
            else
                SetActiveWindow(handle_);
            return true;
        }
        DestroyWindow(handle_);
        if (handle_) return true;
    }

    HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterControlClasses(instance);
    static const bool registered = [instance] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = NoThrowProc<&Window::StaticProc>;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return false;

    const WindowSettings& settings = layout_.settings;
    int left = CW_USEDEFAULT, top = CW_USEDEFAULT;
    if (settings.positionState == kPositionCentred) {
        left = (GetSystemMetrics(SM_CXSCREEN) - settings.outerWidth) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - settings.outerHeight) / 2;
    }
    ScopedMenu menuBar = BuildMenuBar(layout_);
    eventsLive_ = false;
    if (!CreateWindowExA(settings.exStyle, kWindowClass, settings.title, settings.style & ~WS_VISIBLE, left, top,
                         settings.outerWidth, settings.outerHeight, nullptr, menuBar.Get(), instance, this))
        return false;
    menuBar.Release();

    RECT outer;
    GetWindowRect(handle_, &outer);
    if (outer.right - outer.left != settings.outerWidth || outer.bottom - outer.top != settings.outerHeight)
        SetWindowPos(handle_, nullptr, outer.left, outer.top, settings.outerWidth, settings.outerHeight,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    ApplyIcons();
    SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (settings.topmost)
        SetWindowPos(handle_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!settings.movable) DeleteMenu(GetSystemMenu(handle_, FALSE), SC_MOVE, MF_BYCOMMAND);
    if (!CreateControls(instance)) {
        DestroyWindow(handle_);
        return false;
    }

    eventsLive_ = true;
    Raise(events_.created);
    if (handle_) Raise(events_.moved);
    if (handle_) Raise(events_.sizeChanged);
    if (handle_ && settings.visible) ShowWindow(handle_, SW_SHOW);
    return handle_ != nullptr;
}

void Window::ApplyIcons() {
    HMODULE module = GetModuleHandleA(nullptr);
    auto make = [this, module](IconSize size) {
        if (const char* own = layout_.settings.iconResource) {
            if (ScopedIcon icon = MakeIconFromFileResource(module, own, size)) return icon;
        }
        return MakeIconFromGroupResource(module, kDefaultIcon, size);
    };
    bigIcon_ = make(IconSize::Large);
    smallIcon_ = make(IconSize::Small);
    SendMessageA(handle_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.Get()));
    SendMessageA(handle_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.Get()));
}

bool Window::CreateControls(HINSTANCE instance) {
    controls_.clear();
    for (size_t i = 0; i < layout_.controlCount; ++i) {
        auto control = std::make_unique<Control>();
        control->row = &layout_.controls[i];
        control->host = this;
        if (!CreateControl(*control, handle_, instance)) return false;
        controls_.push_back(std::move(control));
    }

    // Into their group boxes, at the same coordinates.
    for (const auto& control : controls_) {
        const char* parent = control->row->parent;
        Control* box = parent ? ControlNamed(parent) : nullptr;
        if (!box || box->row->kind != ControlKind::GroupBox) continue;
        SetParent(control->handle, box->handle);
        SetWindowPos(control->handle, nullptr, control->row->left, control->row->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The radio buttons of one parent form one group.
    std::vector<HWND> parentsWithGroup;
    for (const auto& control : controls_) {
        if (control->row->kind != ControlKind::RadioButton) continue;
        HWND parent = GetParent(control->handle);
        if (std::find(parentsWithGroup.begin(), parentsWithGroup.end(), parent) != parentsWithGroup.end()) continue;
        parentsWithGroup.push_back(parent);
        SetWindowLongPtrA(control->handle, GWL_STYLE, GetWindowLongPtrA(control->handle, GWL_STYLE) | WS_GROUP);
    }

    for (const auto& control : controls_)
        if (control->Has(kSpinBuddy) && control->row->kind == ControlKind::EditBox &&
            !CreateSpinBuddy(*control, instance))
            return false;

    // Siblings in layout order, the first on top; the arrows above everything they overlap.
    constexpr UINT kStackOnly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        SetWindowPos((*it)->handle, HWND_TOP, 0, 0, 0, 0, kStackOnly);
    for (const auto& control : controls_)
        if (control->spinBuddy) SetWindowPos(control->spinBuddy, HWND_TOP, 0, 0, 0, 0, kStackOnly);

    for (const auto& control : controls_)
        if (control->Has(kVisible) && control->row->kind != ControlKind::Timer) ShowWindow(control->handle, SW_SHOWNA);
    return true;
}

void Window::GiveFocusToControl() {
    HWND remembered = focusBeforeDeactivation_;
    if (remembered && IsWindow(remembered) && IsChild(handle_, remembered)) {
        SetFocus(remembered);
        return;
    }
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        if (CanTakeFocus(**it)) {
            SetFocus((*it)->handle);
            return;
        }
    }
}

void Window::OnTimerTick(const Control& timer) {
    if (auto run = events_.tick) run(timer.row->name);
}

LRESULT Window::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (lParam == 0) {
        if (HIWORD(wParam) == 0) {
            if (auto run = events_.menuCommand) run(LOWORD(wParam));
        }
        return 0;
    }
    const Control* control = ControlWithHandle(reinterpret_cast<HWND>(lParam));
    if (control && HIWORD(wParam) == BN_CLICKED && IsButtonKind(control->row->kind)) {
        if (auto run = events_.clicked) run(control->row->name);
    }
    return 0;
}

LRESULT Window::OnClose(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        if (auto query = events_.closeQuery; query && !query()) return 0;
        return handle_ ? DefWindowProcA(handle_, message, wParam, lParam) : 0;
    }
    const LRESULT agreed = DefWindowProcA(handle_, message, wParam, lParam);
    if (!agreed) return agreed;
    if (auto query = events_.closeQuery; query && !query()) return FALSE;
    return TRUE;
}

void Window::OnDestroyed() {
    Program().liveWindows.erase(std::remove(Program().liveWindows.begin(), Program().liveWindows.end(), this),
                                Program().liveWindows.end());
    handle_ = nullptr;
    markedForDestruction_ = false;
    eventsLive_ = false;
    focusBeforeDeactivation_ = nullptr;
    controls_.clear();
    bigIcon_.Reset();
    smallIcon_.Reset();
    if (Program().liveWindows.empty() && Program().messageLoopRunning) PostQuitMessage(0);
}

LRESULT Window::StaticProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window;
    if (message == WM_NCCREATE) {
        window = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->handle_ = handle;
        Program().liveWindows.push_back(window);
    } else {
        window = reinterpret_cast<Window*>(GetWindowLongPtrA(handle, GWLP_USERDATA));
    }
    if (!window) return DefWindowProcA(handle, message, wParam, lParam);
    return window->HandleMessage(message, wParam, lParam);
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = handle_;
    if (auto seeFirst = events_.message) {
        LRESULT result = 0;
        if (seeFirst(message, wParam, lParam, result)) return result;
    }
    switch (message) {
    case WM_CLOSE:
    case WM_QUERYENDSESSION:
        return OnClose(message, wParam, lParam);
    case WM_MOVE:
    case WM_SIZE: {
        const LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        if (eventsLive_) Raise(message == WM_MOVE ? events_.moved : events_.sizeChanged);
        return result;
    }
    case WM_SHOWWINDOW: {
        const LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        if (eventsLive_) Raise(wParam ? events_.shown : events_.hidden);
        return result;
    }
    case kTrayCallbackMessage:
        if (const int32_t value = TrayEventValue(lParam)) {
            if (auto run = events_.trayEvent) run(value);
        }
        return 0;
    case kDestroyRequestMessage:
        if (markedForDestruction_) {
            markedForDestruction_ = false;
            DestroyWindow(handle);
        }
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != static_cast<UINT>(UDN_DELTAPOS)) break;
        for (const auto& control : controls_) {
            if (control->spinBuddy != header->hwndFrom) continue;
            StepSpinBuddy(*control, reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
            return TRUE;   // the arrows' own position stays unused
        }
        break;
    }
    case WM_CTLCOLORSTATIC: {
        const Control* control = ControlWithHandle(reinterpret_cast<HWND>(lParam));
        if (!control || control->row->kind != ControlKind::GroupBox) break;
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, control->row->settings.colour);
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            focusBeforeDeactivation_ = focus && IsChild(handle, focus) ? focus : nullptr;
        }
        break;
    case WM_SETFOCUS:
        GiveFocusToControl();
        return 0;
    case WM_DESTROY:
        if (auto hook = destroyingHook_) hook();
        if (HMENU menuBar = GetMenu(handle)) {
            SetMenu(handle, nullptr);
            DestroyMenu(menuBar);
        }
        break;
    case WM_NCDESTROY: {
        const LRESULT result = DefWindowProcA(handle, message, wParam, lParam);
        OnDestroyed();
        return result;
    }
    default:
        break;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

bool LoadWindow(Window& window) { return window.Load(); }

void RequestWindowDestroy(Window& window) {
    if (!window.handle_) return;
    window.markedForDestruction_ = true;
    PostMessageA(window.handle_, kDestroyRequestMessage, 0, 0);
}

void SetMessageLoopFlag(bool running) { Program().messageLoopRunning = running; }

size_t ProgramWindowCount() { return Program().liveWindows.size(); }

bool PreTranslateProgramMessage(MSG& message) {
    if (message.message != WM_KEYDOWN || !message.hwnd) return false;
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    Window* window = ProgramWindowWithHandle(top);
    if (!window) return false;
    if (message.wParam == VK_ESCAPE && window->Layout().settings.escapeCloses) {
        SendMessageA(top, WM_CLOSE, 0, 0);
        return true;
    }
    if (message.wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        MoveFocusToNextTabStop(top, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    return false;
}

ScopedMenu BuildDropDownMenu(const WindowLayout& layout, std::string_view topLevelCaption) {
    const MenuItem* end = layout.menu + layout.menuCount;
    for (const MenuItem* item = layout.menu; item != end; ++item) {
        if (item->level != 0 || topLevelCaption != item->caption) continue;
        ScopedMenu menu(CreatePopupMenu());
        AppendDropDown(menu.Get(), item + 1, end);
        return menu;
    }
    return ScopedMenu();
}
