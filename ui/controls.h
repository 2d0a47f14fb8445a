// The control kinds a layout row can ask for: how each is created, painted and driven.
// The window that holds them (window.h) routes their notifications; the control kinds
// know nothing of any particular window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <new>

#include "layout.h"
#include "program.h"
#include "text.h"

constexpr UINT_PTR kTimerId = 1000;
constexpr int kSpinBuddyWidth = 18;

constexpr COLORREF kLinkColour = RGB(0, 0, 255);
constexpr COLORREF kLinkHoverColour = RGB(51, 153, 255);
constexpr COLORREF kLinkOpenedColour = RGB(128, 0, 0);

struct Control;

// What a control asks of the window holding it.
class ControlHost {
public:
    virtual void OnTimerTick(const Control& timer) = 0;

protected:
    ~ControlHost() = default;
};

// One live control: its row, its window and the state its kind keeps.
struct Control {
    const ControlRow* row = nullptr;
    ControlHost* host = nullptr;
    HWND handle = nullptr;
    HWND spinBuddy = nullptr;          // edit box with kSpinBuddy
    WNDPROC originalProc = nullptr;    // subclassed system controls
    HFONT font = nullptr;              // painted kinds
    int32_t timerPeriod = 0;
    bool hovering = false;
    bool opened = false;

    bool Has(unsigned flag) const { return (row->flags & flag) != 0; }
};

// Registers the program's own control classes and initialises the common controls;
// safe to call again.
void RegisterControlClasses(HINSTANCE instance);

// Creates the row's control hidden, as a child of the parent, at its layout rectangle.
// Returns false when the system refuses.
bool CreateControl(Control& control, HWND parent, HINSTANCE instance);

// Creates the up-down arrows of an edit box beside it, in the box's current parent.
bool CreateSpinBuddy(Control& box, HINSTANCE instance);

// One arrow step on an edit box (UDN_DELTAPOS). Steps only while the box is enabled and
// visible; the box's text alone decides the next value.
void StepSpinBuddy(const Control& box, int delta);

// A negative period counts as 0; the current period leaves the running timer alone.
void SetTimerPeriod(Control& timer, int32_t milliseconds);

Text WindowText(HWND handle);

// Whether the focus rule may hand the focus to this control.
bool CanTakeFocus(const Control& control);

// The colour a hyperlink paints its text in right now.
COLORREF HyperlinkColour(const Control& link);

// A window procedure that lets no exception out: running out of memory ends the program
// through FatalError, any other throwing message answers 0.
template <LRESULT (*Proc)(HWND, UINT, WPARAM, LPARAM)>
LRESULT CALLBACK NoThrowProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        return Proc(handle, message, wParam, lParam);
    } catch (const std::bad_alloc&) {
        FatalError(kOutOfMemoryText);
    } catch (...) {
        return 0;
    }
}

// The C library's atoi, saturated instead of undefined on overflow.
int32_t ReadLeadingInteger(const Text& text);
