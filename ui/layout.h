// A window as data: its settings, its menu and one row per control. Layouts are fixed
// tables in the program; nothing of them is read from outside or written back.
#pragma once

#include <windows.h>

#include <cstddef>

enum class ControlKind { Label, PushButton, CheckBox, RadioButton, GroupBox, EditBox, Hyperlink, Timer };

// What a row switches on; combined with |.
enum ControlFlag : unsigned {
    kVisible = 1u << 0,
    kEnabled = 1u << 1,
    kTabStop = 1u << 2,
    kTicked = 1u << 3,        // check box ticked, radio button selected
    kNumberFilter = 1u << 4,  // edit box: only digits and '-' may be typed
    kSpinBuddy = 1u << 5,     // edit box: up-down arrows stepping through spinFirst..spinSecond
};

constexpr unsigned kShown = kVisible | kEnabled;
constexpr unsigned kShownTabStop = kShown | kTabStop;

// The settings that only some kinds use; a row leaves the rest at their defaults.
struct ControlSettings {
    int spinFirst = 0;                  // the two bounds of the arrows, in either order
    int spinSecond = 0;
    int timerPeriod = 0;                // milliseconds; 0 stopped
    COLORREF colour = RGB(0, 0, 0);     // label text, group box caption
    const char* email = nullptr;        // hyperlink target after "mailto:"
};

constexpr ControlSettings SpinRange(int first, int second) { return {first, second, 0, RGB(0, 0, 0), nullptr}; }
constexpr ControlSettings TimerPeriod(int milliseconds) { return {0, 0, milliseconds, RGB(0, 0, 0), nullptr}; }
constexpr ControlSettings TextColour(COLORREF colour) { return {0, 0, 0, colour, nullptr}; }
constexpr ControlSettings EmailLink(const char* address) { return {0, 0, 0, RGB(0, 0, 0), address}; }

struct ControlRow {
    const char* name;
    ControlKind kind;
    const char* parent;   // name of the group box holding it; nullptr: the window itself
    int left, top, width, height;   // pixels in the parent's client area
    const char* text;
    unsigned flags;       // ControlFlag bits
    ControlSettings settings = {};
};

// A flat menu table: a level-0 row opens a top-level item, the level-1 rows after it are
// its drop-down in order. "-" as caption is a separator.
struct MenuItem {
    int level;
    const char* caption;
    UINT command;         // WM_COMMAND identifier of a drop-down command
    bool hidden = false;
    bool disabled = false;
    bool checked = false;
};

constexpr int kPositionNormal = 0;
constexpr int kPositionCentred = 1;
constexpr int kPositionMinimised = 2;
constexpr int kPositionMaximised = 3;

struct WindowSettings {
    const char* title;
    int outerWidth, outerHeight;   // caption, menu bar and borders included
    int positionState;             // at creation; kPositionCentred centres on the screen
    DWORD style;
    DWORD exStyle;
    bool movable;
    bool topmost;
    bool escapeCloses;
    bool visible;                  // shown once created
    // RCDATA resource (name or MAKEINTRESOURCEA id) holding an icon file; nullptr, or a
    // resource that gives no icon: the application icon "DEFAULT_ICON".
    const char* iconResource;
};

struct WindowLayout {
    WindowSettings settings;
    const MenuItem* menu;
    size_t menuCount;
    const ControlRow* controls;
    size_t controlCount;
};
