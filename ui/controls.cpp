#include "controls.h"

#include <commctrl.h>

#include <algorithm>
#include <climits>

#include "shell.h"

namespace {

constexpr char kLabelClass[] = "VelmoraLabel";
constexpr char kHyperlinkClass[] = "VelmoraHyperlink";
constexpr char kTimerClass[] = "VelmoraTimer";
constexpr WORD kHandCursorId = 1032;
constexpr UINT kLabelFormat = DT_LEFT;
constexpr UINT kHyperlinkFormat = DT_CENTER;
constexpr char kMailScheme[] = "mailto:";

Control* ControlOf(HWND handle) { return reinterpret_cast<Control*>(GetWindowLongPtrA(handle, GWLP_USERDATA)); }

// The controls' own painting: one line, no prefix processing, on the button face.
void PaintText(HWND handle, HDC dc, const Control& control, COLORREF colour, UINT format) {
    RECT client;
    GetClientRect(handle, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ font = control.font ? control.font : GetStockObject(DEFAULT_GUI_FONT);
    HGDIOBJ previousFont = SelectObject(dc, font);
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    const Text text = WindowText(handle);
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &client,
              format | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, previousFont);
}

void Repaint(HWND handle) {
    InvalidateRect(handle, nullptr, TRUE);
    UpdateWindow(handle);
}

// The messages both painted kinds answer alike; returns false for the others.
bool HandlePaintedTextMessage(HWND handle, UINT message, WPARAM wParam, LPARAM lParam, Control& control,
                              COLORREF colour, UINT format, LRESULT& result) {
    result = 0;
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(handle, &paint);
        PaintText(handle, dc, control, colour, format);
        EndPaint(handle, &paint);
        return true;
    }
    case WM_PRINTCLIENT:
        PaintText(handle, reinterpret_cast<HDC>(wParam), control, colour, format);
        return true;
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_SETFONT:
        control.font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Repaint(handle);
        return true;
    case WM_GETFONT:
        result = reinterpret_cast<LRESULT>(control.font);
        return true;
    case WM_SETTEXT:
        result = DefWindowProcA(handle, message, wParam, lParam);
        Repaint(handle);
        return true;
    default:
        return false;
    }
}

LRESULT LabelProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* label = ControlOf(handle);
    LRESULT result;
    if (label && HandlePaintedTextMessage(handle, message, wParam, lParam, *label, label->row->settings.colour,
                                          kLabelFormat, result))
        return result;
    return DefWindowProcA(handle, message, wParam, lParam);
}

void OpenLink(Control& link) {
    const char* address = link.row->settings.email;
    if (!address || !*address) return;
    if (!OpenWithShellOrBrowser(Text(kMailScheme) + address)) return;
    link.opened = true;
    Repaint(link.handle);
}

// While the pointer is over the link the link holds the capture, so that it hears when
// the pointer leaves.
void TrackHover(Control& link, LPARAM position) {
    RECT client;
    GetClientRect(link.handle, &client);
    const POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    const bool inside = PtInRect(&client, point) != FALSE;
    if (inside == link.hovering) return;
    link.hovering = inside;
    if (inside)
        SetCapture(link.handle);
    else
        ReleaseCapture();
    Repaint(link.handle);
}

LRESULT HyperlinkProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* link = ControlOf(handle);
    if (!link) return DefWindowProcA(handle, message, wParam, lParam);
    LRESULT result;
    if (HandlePaintedTextMessage(handle, message, wParam, lParam, *link, HyperlinkColour(*link), kHyperlinkFormat,
                                 result))
        return result;
    switch (message) {
    case WM_MOUSEMOVE:
        TrackHover(*link, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        if (link->hovering && reinterpret_cast<HWND>(lParam) != handle) {
            link->hovering = false;
            Repaint(handle);
        }
        return 0;
    case WM_LBUTTONDOWN:
        OpenLink(*link);
        return 0;
    default:
        return DefWindowProcA(handle, message, wParam, lParam);
    }
}

LRESULT TimerProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kTimerId) {
        if (Control* timer = ControlOf(handle)) timer->host->OnTimerTick(*timer);
        return 0;
    }
    return DefWindowProcA(handle, message, wParam, lParam);
}

LRESULT CallOriginal(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = ControlOf(handle);
    WNDPROC original = control->originalProc;
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        SetWindowLongPtrA(handle, GWLP_USERDATA, 0);
    }
    return CallWindowProcA(original, handle, message, wParam, lParam);
}

bool IsNumberCharacter(WPARAM code) { return (code >= '0' && code <= '9') || code == '-'; }

RECT RectInParent(HWND handle) {
    RECT rect;
    GetWindowRect(handle, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(handle), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The arrows sit against the box's right edge, with its top and height.
void PlaceSpinBuddy(const Control& box) {
    const RECT rect = RectInParent(box.handle);
    SetWindowPos(box.spinBuddy, nullptr, rect.right, rect.top, kSpinBuddyWidth, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void SpinBuddyFollowsBox(const Control& box, const WINDOWPOS& change) {
    if (!box.spinBuddy) return;
    if ((change.flags & (SWP_NOMOVE | SWP_NOSIZE)) != (SWP_NOMOVE | SWP_NOSIZE)) PlaceSpinBuddy(box);
    if (change.flags & SWP_SHOWWINDOW) ShowWindow(box.spinBuddy, SW_SHOWNA);
    if (change.flags & SWP_HIDEWINDOW) ShowWindow(box.spinBuddy, SW_HIDE);
}

LRESULT EditBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* box = ControlOf(handle);
    switch (message) {
    case WM_CHAR:
        if (box->Has(kNumberFilter) && wParam >= 32 && !IsNumberCharacter(wParam)) return 0;
        break;
    case WM_SHOWWINDOW:   // ShowWindow on a box whose window is still hidden sends only this
        if (box->spinBuddy && lParam == 0) ShowWindow(box->spinBuddy, wParam ? SW_SHOWNA : SW_HIDE);
        break;
    case WM_ENABLE:
        if (box->spinBuddy) EnableWindow(box->spinBuddy, static_cast<BOOL>(wParam));
        break;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = CallOriginal(handle, message, wParam, lParam);
        SpinBuddyFollowsBox(*box, *reinterpret_cast<const WINDOWPOS*>(lParam));
        return result;
    }
    default:
        break;
    }
    return CallOriginal(handle, message, wParam, lParam);
}

// A group box is the real parent of its controls; their notifications go on to the
// top-level window as if the controls were its own. It paints its own inside, which a
// window that clips its children leaves unpainted.
LRESULT GroupBoxProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(handle, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_BTNFACE));
        return 1;
    }
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
        if (HWND top = GetAncestor(handle, GA_ROOT); top && top != handle)
            return SendMessageA(top, message, wParam, lParam);
        break;
    default:
        break;
    }
    return CallOriginal(handle, message, wParam, lParam);
}

void Subclass(Control& control, WNDPROC proc) {
    control.originalProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control.handle, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

struct KindClass {
    const char* className;
    DWORD style;
    DWORD exStyle;
};

KindClass ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Label: return {kLabelClass, 0, 0};
    case ControlKind::PushButton: return {"BUTTON", BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER, 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0};
    case ControlKind::RadioButton: return {"BUTTON", BS_AUTORADIOBUTTON | BS_MULTILINE | BS_LEFT | BS_VCENTER, 0};
    case ControlKind::GroupBox: return {"BUTTON", BS_GROUPBOX | BS_LEFT | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::EditBox: return {"EDIT", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
    case ControlKind::Hyperlink: return {kHyperlinkClass, 0, 0};
    case ControlKind::Timer: return {kTimerClass, 0, 0};
    }
    return {kLabelClass, 0, 0};
}

HCURSOR LinkCursor(HINSTANCE instance) {
    if (HCURSOR own = LoadCursorA(instance, MAKEINTRESOURCEA(kHandCursorId))) return own;
    if (HCURSOR hand = LoadCursorA(nullptr, IDC_HAND)) return hand;
    return LoadCursorA(nullptr, IDC_ARROW);
}

void RegisterOwnClass(HINSTANCE instance, const char* name, WNDPROC proc, HCURSOR cursor, HBRUSH background) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = instance;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace

void RegisterControlClasses(HINSTANCE instance) {
    static bool registered = false;
    if (registered) return;
    registered = true;
    InitCommonControls();
    HBRUSH buttonFace = GetSysColorBrush(COLOR_BTNFACE);
    RegisterOwnClass(instance, kLabelClass, NoThrowProc<LabelProc>, LoadCursorA(nullptr, IDC_ARROW), buttonFace);
    RegisterOwnClass(instance, kHyperlinkClass, NoThrowProc<HyperlinkProc>, LinkCursor(instance), buttonFace);
    RegisterOwnClass(instance, kTimerClass, NoThrowProc<TimerProc>, nullptr, nullptr);
}

bool CreateControl(Control& control, HWND parent, HINSTANCE instance) {
    const ControlRow& row = *control.row;
    const KindClass kindClass = ClassOf(row.kind);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | kindClass.style;
    if (control.Has(kTabStop)) style |= WS_TABSTOP;
    if (!control.Has(kEnabled)) style |= WS_DISABLED;
    const char* text = row.kind == ControlKind::Timer || !row.text ? "" : row.text;
    control.handle = CreateWindowExA(kindClass.exStyle, kindClass.className, text, style, row.left, row.top,
                                     row.width, row.height, parent, nullptr, instance, nullptr);
    if (!control.handle) return false;
    SetWindowLongPtrA(control.handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&control));
    SendMessageA(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    switch (row.kind) {
    case ControlKind::EditBox:
        SendMessageA(control.handle, EM_LIMITTEXT, 0, 0);
        Subclass(control, NoThrowProc<EditBoxProc>);
        break;
    case ControlKind::GroupBox:
        Subclass(control, NoThrowProc<GroupBoxProc>);
        break;
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
        SendMessageA(control.handle, BM_SETCHECK, control.Has(kTicked) ? BST_CHECKED : BST_UNCHECKED, 0);
        break;
    case ControlKind::Timer:
        SetTimerPeriod(control, row.settings.timerPeriod);
        break;
    default:
        break;
    }
    return true;
}

bool CreateSpinBuddy(Control& box, HINSTANCE instance) {
    const RECT rect = RectInParent(box.handle);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (!box.Has(kEnabled)) style |= WS_DISABLED;
    box.spinBuddy = CreateWindowExA(WS_EX_STATICEDGE, UPDOWN_CLASSA, "", style, rect.right, rect.top,
                                    kSpinBuddyWidth, rect.bottom - rect.top, GetParent(box.handle), nullptr,
                                    instance, nullptr);
    if (!box.spinBuddy) return false;
    PlaceSpinBuddy(box);   // some up-down controls pick their own width when created
    const int lower = std::min(box.row->settings.spinFirst, box.row->settings.spinSecond);
    const int upper = std::max(box.row->settings.spinFirst, box.row->settings.spinSecond);
    SendMessageA(box.spinBuddy, UDM_SETRANGE, 0, MAKELPARAM(upper, lower));
    return true;
}

void StepSpinBuddy(const Control& box, int delta) {
    if (!IsWindowEnabled(box.handle) || !IsWindowVisible(box.handle)) return;
    const int64_t lower = std::min(box.row->settings.spinFirst, box.row->settings.spinSecond);
    const int64_t upper = std::max(box.row->settings.spinFirst, box.row->settings.spinSecond);
    int64_t value = ReadLeadingInteger(WindowText(box.handle));
    if (delta < 0) {
        --value;
        if (value < lower || value > upper) value = upper;
    } else {
        ++value;
        if (value < lower || value > upper) value = lower;
    }
    char text[16];
    wsprintfA(text, "%d", static_cast<int>(value));
    SetWindowTextA(box.handle, text);
    SendMessageA(box.handle, EM_SETSEL, 0, -1);
    SendMessageA(box.handle, EM_SCROLLCARET, 0, 0);
    SetFocus(box.handle);
}

void SetTimerPeriod(Control& timer, int32_t milliseconds) {
    milliseconds = std::max<int32_t>(milliseconds, 0);
    if (milliseconds == timer.timerPeriod) return;
    if (timer.timerPeriod > 0 && timer.handle) KillTimer(timer.handle, kTimerId);
    timer.timerPeriod = milliseconds;
    if (milliseconds > 0 && timer.handle) SetTimer(timer.handle, kTimerId, static_cast<UINT>(milliseconds), nullptr);
}

Text WindowText(HWND handle) {
    Text text(static_cast<size_t>(GetWindowTextLengthA(handle)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(handle, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool CanTakeFocus(const Control& control) {
    switch (control.row->kind) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
    case ControlKind::EditBox:
        break;
    default:
        return false;
    }
    // The layout's tab stop: a radio button's own WS_TABSTOP follows its checked state.
    if (!control.Has(kTabStop) || !IsWindowEnabled(control.handle)) return false;
    // Visible in its window, whether or not the window itself is shown yet.
    for (HWND h = control.handle; GetWindowLongPtrA(h, GWL_STYLE) & WS_CHILD; h = GetParent(h))
        if (!(GetWindowLongPtrA(h, GWL_STYLE) & WS_VISIBLE)) return false;
    return true;
}

COLORREF HyperlinkColour(const Control& link) {
    if (link.opened) return kLinkOpenedColour;
    return link.hovering ? kLinkHoverColour : kLinkColour;
}

int32_t ReadLeadingInteger(const Text& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t magnitude = 0;
    const int64_t limit = negative ? -static_cast<int64_t>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        magnitude = std::min<int64_t>(magnitude * 10 + (text[i] - '0'), limit);
    return static_cast<int32_t>(negative ? -magnitude : magnitude);
}
