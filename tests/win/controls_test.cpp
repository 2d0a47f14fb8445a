// The control kinds: the number filter and the arrows of edit boxes, radio groups, the
// painted label, the timer and the hyperlink with its shell fallback.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "shell.h"
#include "ui_test_support.h"
#include "window.h"

using namespace ui_test;

namespace {

constexpr COLORREF kLabelColour = RGB(128, 0, 0);
constexpr char kAddress[] = "author@example.com";
constexpr char kTarget[] = "mailto:author@example.com";

const ControlRow kRows[] = {
    {"group", ControlKind::GroupBox, nullptr, 10, 10, 280, 100, "Group", kShown},
    {"hour", ControlKind::EditBox, "group", 20, 20, 30, 20, "", kShownTabStop | kNumberFilter | kSpinBuddy,
     SpinRange(0, 23)},
    {"minute", ControlKind::EditBox, "group", 80, 20, 30, 20, "", kShownTabStop | kNumberFilter | kSpinBuddy,
     SpinRange(59, 0)},
    {"first", ControlKind::RadioButton, "group", 20, 60, 60, 20, "One", kShownTabStop | kTicked},
    {"second", ControlKind::RadioButton, "group", 100, 60, 60, 20, "Two", kShownTabStop},
    {"free", ControlKind::EditBox, nullptr, 10, 120, 60, 20, "", kShownTabStop},
    {"outside", ControlKind::RadioButton, nullptr, 80, 120, 60, 20, "Three", kShownTabStop | kTicked},
    {"label", ControlKind::Label, nullptr, 150, 120, 120, 20, "Label", kShown, TextColour(kLabelColour)},
    {"link", ControlKind::Hyperlink, nullptr, 10, 150, 200, 24, "Mail the author", kShown, EmailLink(kAddress)},
    {"emptyLink", ControlKind::Hyperlink, nullptr, 10, 180, 200, 24, "Nobody", kShown},
    {"timer", ControlKind::Timer, nullptr, 0, 0, 10, 10, nullptr, 0},
};

const WindowLayout kLayout{
    {"Controls", 320, 260, kPositionCentred, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 0, true, false,
     false, true, nullptr},
    nullptr, 0, kRows, std::size(kRows)};

HWND SpinOf(HWND box) {
    const RECT boxRect = RectInParent(box);
    for (HWND sibling = GetWindow(GetParent(box), GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        char className[32];
        GetClassNameA(sibling, className, sizeof className);
        const RECT rect = RectInParent(sibling);
        if (lstrcmpiA(className, UPDOWN_CLASSA) == 0 && rect.left == boxRect.right && rect.top == boxRect.top)
            return sibling;
    }
    return nullptr;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ProgramWindowCount(), 0u) << "a window of an earlier test is still open";
        ASSERT_TRUE(LoadWindow(window));
        PumpMessages();
    }

    HWND Control(const char* name) const { return window.ControlHandle(name); }

    void Type(HWND box, const std::string& characters) {
        for (const char c : characters) SendMessageA(box, WM_CHAR, static_cast<unsigned char>(c), 1);
    }

    void PutOnClipboard(const char* text) {
        ASSERT_TRUE(OpenClipboard(window.Handle()));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
        lstrcpyA(static_cast<char*>(GlobalLock(memory)), text);
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
    }

    // What the up-down control sends its parent when an arrow is pressed.
    LRESULT SendArrowStep(HWND box, int delta) {
        HWND spin = SpinOf(box);
        NMUPDOWN step{};
        step.hdr.hwndFrom = spin;
        step.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(spin));
        step.hdr.code = UDN_DELTAPOS;
        step.iDelta = delta;
        return SendMessageA(GetParent(spin), WM_NOTIFY, step.hdr.idFrom, reinterpret_cast<LPARAM>(&step));
    }

    Window window{kLayout};
};

TEST_F(ControlsTest, NumberFilterDropsPrintableCharactersOtherThanDigitsAndMinus) {
    struct Case {
        const char* box;
        const char* before;
        std::string typed;
        const char* after;
    };
    const Case cases[] = {
        {"hour", "", "x", ""},
        {"hour", "", "-12", "-12"},
        {"hour", "", "a1 b2+.", "12"},
        {"hour", "", "\xD6\xD0" "7", "7"},   // a double-byte character arrives as two bytes
        {"hour", "12", "\b", "1"},          // control characters pass
        {"minute", "", "x5", "5"},
        {"free", "", "x5", "x5"},           // no filter
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " typed " << c.typed);
        HWND box = Control(c.box);
        SetWindowTextA(box, c.before);
        SendMessageA(box, EM_SETSEL, lstrlenA(c.before), lstrlenA(c.before));
        Type(box, c.typed);
        EXPECT_EQ(window.ControlText(c.box), c.after);
    }
}

TEST_F(ControlsTest, NumberFilterLeavesPastedAndProgramTextAlone) {
    HWND hour = Control("hour");
    window.SetControlText("hour", "ab");
    EXPECT_EQ(window.ControlText("hour"), "ab");

    PutOnClipboard("x7");
    SetWindowTextA(hour, "");
    SendMessageA(hour, WM_PASTE, 0, 0);
    EXPECT_EQ(window.ControlText("hour"), "x7");

    SetWindowTextA(hour, "");
    Type(hour, "\x16");   // Ctrl+V is a control character and reaches the box
    EXPECT_EQ(window.ControlText("hour"), "x7");
}

TEST_F(ControlsTest, ArrowStepReadsTheTextAndWrapsWithinTheRange) {
    struct Case {
        const char* box;
        const char* text;
        int delta;
        const char* result;
    };
    const Case cases[] = {
        {"hour", "23", 1, "0"},    {"hour", "0", -1, "23"},  {"hour", "00", 1, "1"},  {"hour", "", 1, "1"},
        {"hour", "x", 1, "1"},     {"hour", "-5", 1, "0"},   {"hour", "-5", -1, "23"}, {"hour", " 7abc", 1, "8"},
        {"hour", "12", -1, "11"},  {"hour", "99999999999", 1, "0"},
        // The minute box's bounds are given reversed in the layout.
        {"minute", "99", 1, "0"},  {"minute", "99", -1, "59"}, {"minute", "30", 1, "31"}, {"minute", "0", -1, "59"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.box << " \"" << c.text << "\" step " << c.delta);
        HWND box = Control(c.box);
        SetWindowTextA(box, c.text);
        SetFocus(Control("free"));
        EXPECT_NE(SendArrowStep(box, c.delta), 0);   // the arrows' own position stays put
        EXPECT_EQ(window.ControlText(c.box), c.result);
        DWORD start = 1, end = 0;
        SendMessageA(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, static_cast<DWORD>(lstrlenA(c.result)));
        EXPECT_EQ(GetFocus(), box);
    }
}

TEST_F(ControlsTest, ClickingTheArrowsStepsUpAndDown) {
    for (const char* name : {"hour", "minute"}) {
        SCOPED_TRACE(name);
        HWND box = Control(name);
        HWND spin = SpinOf(box);
        ASSERT_TRUE(spin);
        RECT client;
        GetClientRect(spin, &client);
        const LPARAM upper = MAKELPARAM(client.right / 2, client.bottom / 4);
        const LPARAM lower = MAKELPARAM(client.right / 2, client.bottom * 3 / 4);
        SetWindowTextA(box, "5");
        for (const auto& [where, expected] : {std::pair{upper, "6"}, std::pair{lower, "5"}, std::pair{lower, "4"}}) {
            SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, where);
            SendMessageA(spin, WM_LBUTTONUP, 0, where);
            EXPECT_EQ(window.ControlText(name), expected);
        }
    }
}

TEST_F(ControlsTest, ArrowsStepOnlyWhileTheBoxIsEnabledAndVisible) {
    HWND hour = Control("hour");
    SetWindowTextA(hour, "5");
    EnableWindow(hour, FALSE);
    SendArrowStep(hour, 1);
    EXPECT_EQ(window.ControlText("hour"), "5");
    EnableWindow(hour, TRUE);
    ShowWindow(hour, SW_HIDE);
    SendArrowStep(hour, 1);
    EXPECT_EQ(window.ControlText("hour"), "5");
    ShowWindow(hour, SW_SHOW);
    SendArrowStep(hour, 1);
    EXPECT_EQ(window.ControlText("hour"), "6");
}

TEST_F(ControlsTest, ArrowsFollowTheirBox) {
    HWND hour = Control("hour");
    HWND spin = SpinOf(hour);
    ASSERT_TRUE(spin);

    MoveWindow(hour, 40, 30, 50, 24, TRUE);
    const RECT spinRect = RectInParent(spin);
    EXPECT_EQ(spinRect.left, 90);
    EXPECT_EQ(spinRect.top, 30);
    EXPECT_EQ(spinRect.right, 90 + kSpinBuddyWidth);
    EXPECT_EQ(spinRect.bottom, 54);

    EnableWindow(hour, FALSE);
    EXPECT_FALSE(IsWindowEnabled(spin));
    EnableWindow(hour, TRUE);
    EXPECT_TRUE(IsWindowEnabled(spin));
    ShowWindow(hour, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(spin));
    ShowWindow(hour, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(spin));
}

TEST_F(ControlsTest, RadioButtonsOfOneParentFormOneGroup) {
    SendMessageA(Control("second"), BM_CLICK, 0, 0);
    EXPECT_FALSE(window.IsTicked("first"));
    EXPECT_TRUE(window.IsTicked("second"));
    EXPECT_TRUE(window.IsTicked("outside"));   // another parent, another group

    window.SetTicked("first", true);   // touches that button alone
    EXPECT_TRUE(window.IsTicked("first"));
    EXPECT_TRUE(window.IsTicked("second"));
}

TEST_F(ControlsTest, LabelPaintsItsTextInTheLayoutColourAndKeepsWhatWasWritten) {
    EXPECT_GT(PaintedPixelCount(Control("label"), kLabelColour), 0);
    window.SetControlText("label", "A&B");
    EXPECT_EQ(window.ControlText("label"), "A&B");
    window.SetControlText("label", "");
    EXPECT_EQ(PaintedPixelCount(Control("label"), kLabelColour), 0);
}

// Ticks of the timer control, with the time each arrived.
class ControlsTimerTest : public ControlsTest {
protected:
    void SetUp() override {
        ControlsTest::SetUp();
        window.Events().tick = [this](std::string_view name) {
            if (name == "timer") ticks.push_back(GetTickCount());
        };
    }

    // Waits for the next tick; returns its time.
    DWORD NextTick(DWORD timeout = 3000) {
        const size_t seen = ticks.size();
        EXPECT_TRUE(PumpUntil([&] { return ticks.size() > seen; }, timeout));
        return ticks.empty() ? 0 : ticks.back();
    }

    std::vector<DWORD> ticks;
};

constexpr int32_t kPeriod = 600;

TEST_F(ControlsTimerTest, WritingTheSamePeriodKeepsTheRhythm) {
    window.SetTimerPeriod("timer", kPeriod);
    NextTick();
    PumpFor(kPeriod / 2);
    const DWORD written = GetTickCount();
    window.SetTimerPeriod("timer", kPeriod);
    EXPECT_LT(NextTick() - written, static_cast<DWORD>(kPeriod * 3 / 4));
}

TEST_F(ControlsTimerTest, WritingAnotherPeriodRestartsOnePeriodLater) {
    window.SetTimerPeriod("timer", kPeriod);
    NextTick();
    PumpFor(kPeriod / 2);
    const DWORD written = GetTickCount();
    window.SetTimerPeriod("timer", kPeriod - 100);
    EXPECT_GE(NextTick() - written, static_cast<DWORD>(kPeriod - 130));
    EXPECT_EQ(window.TimerPeriod("timer"), kPeriod - 100);
}

TEST_F(ControlsTimerTest, NegativeOrZeroPeriodStopsTheTimer) {
    for (const int32_t stop : {-5, 0}) {
        SCOPED_TRACE(stop);
        window.SetTimerPeriod("timer", 100);
        NextTick();
        window.SetTimerPeriod("timer", stop);
        EXPECT_EQ(window.TimerPeriod("timer"), 0);
        const size_t seen = ticks.size();
        PumpFor(400);
        EXPECT_EQ(ticks.size(), seen);
    }
}

TEST_F(ControlsTimerTest, DestroyingTheWindowEndsItsTimer) {
    window.SetTimerPeriod("timer", 100);
    NextTick();
    HWND timer = Control("timer");
    DestroyWindow(window.Handle());
    const size_t seen = ticks.size();
    PumpFor(400);
    EXPECT_EQ(ticks.size(), seen);
    EXPECT_FALSE(IsWindow(timer));
}

// Records what the link asks of the shell, and answers as each case says.
struct ShellRecord {
    INT_PTR shellResult = 42;
    bool htmReadable = true;
    bool commandReadable = true;
    std::string htmClass = "htmlfile";
    std::string command;
    UINT winExecResult = 33;

    std::vector<std::string> shellCalls;   // "verb file show owner parameters directory"
    std::vector<std::string> keysRead;
    std::vector<std::string> winExecCalls;
};

ShellRecord record;

HINSTANCE WINAPI RecordShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                    INT show) {
    record.shellCalls.push_back(std::string(verb) + " " + file + " " + std::to_string(show) + " " +
                                (owner ? "owner" : "-") + " " + (parameters ? parameters : "-") + " " +
                                (directory ? directory : "-"));
    return reinterpret_cast<HINSTANCE>(record.shellResult);
}

LONG WINAPI RecordReadClassesDefault(HKEY root, LPCSTR subkey, LPSTR value, PLONG size) {
    if (root != HKEY_CLASSES_ROOT) return ERROR_INVALID_HANDLE;
    const std::string key = subkey;
    const bool isHtm = key == ".htm";
    if (value) record.keysRead.push_back(key);
    if (isHtm ? !record.htmReadable : !record.commandReadable) return ERROR_FILE_NOT_FOUND;
    const std::string& data = isHtm ? record.htmClass : record.command;
    const LONG needed = static_cast<LONG>(data.size() + 1);
    if (value) {
        if (*size < needed) return ERROR_MORE_DATA;
        lstrcpyA(value, data.c_str());
    }
    *size = needed;
    return ERROR_SUCCESS;
}

UINT WINAPI RecordWinExec(LPCSTR commandLine, UINT show) {
    record.winExecCalls.push_back(std::string(commandLine) + " | " + std::to_string(show));
    return record.winExecResult;
}

class ControlsHyperlinkTest : public ControlsTest {
protected:
    void SetUp() override {
        saved = Shell();
        Shell() = {RecordShellExecute, RecordReadClassesDefault, RecordWinExec};
        record = ShellRecord();
        ControlsTest::SetUp();
    }
    void TearDown() override { Shell() = saved; }

    void Click(const char* name) { SendMessageA(Control(name), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }
    bool PaintsIn(COLORREF colour) { return PaintedPixelCount(Control("link"), colour) > 0; }

    ShellFunctions saved{};
};

TEST_F(ControlsHyperlinkTest, ClickOpensTheMailTargetAndPaintsTheLinkAsOpened) {
    EXPECT_TRUE(PaintsIn(kLinkColour));
    EXPECT_FALSE(PaintsIn(kLinkOpenedColour));
    Click("link");
    EXPECT_EQ(record.shellCalls, std::vector<std::string>{std::string("open ") + kTarget + " 5 - - -"});
    EXPECT_TRUE(record.winExecCalls.empty());
    EXPECT_TRUE(PaintsIn(kLinkOpenedColour));
    EXPECT_FALSE(PaintsIn(kLinkColour));
    EXPECT_FALSE(PaintsIn(kLinkHoverColour));
}

TEST_F(ControlsHyperlinkTest, LinkWithoutAddressDoesNothing) {
    Click("emptyLink");
    EXPECT_TRUE(record.shellCalls.empty());
    EXPECT_TRUE(record.winExecCalls.empty());
}

TEST_F(ControlsHyperlinkTest, FailedShellOpenFallsBackToTheWebBrowser) {
    const std::string target = kTarget;
    struct Case {
        INT_PTR shellResult;
        const char* command;
        bool htmReadable;
        bool commandReadable;
        UINT winExecResult;
        std::string expectedRun;   // empty: WinExec not called
        bool opened;
    };
    const Case cases[] = {
        {2, "\"C:\\web.exe\" -nohome \"%1\" -x", true, true, 33, "\"C:\\web.exe\" -nohome  " + target, true},
        {32, "C:\\web.exe %1 -x", true, true, 32, "C:\\web.exe  " + target, true},
        {2, "C:\\web.exe -url", true, true, 33, "C:\\web.exe -url " + target, true},
        {2, "C:\\web.exe \"%1\"", true, true, 31, "C:\\web.exe  " + target, false},
        {2, "C:\\web.exe \"%1\"", false, true, 33, "", false},
        {2, "C:\\web.exe \"%1\"", true, false, 33, "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        DestroyWindow(window.Handle());   // a fresh, unopened link for each case
        ASSERT_TRUE(LoadWindow(window));
        record = ShellRecord();
        record.shellResult = c.shellResult;
        record.command = c.command;
        record.htmReadable = c.htmReadable;
        record.commandReadable = c.commandReadable;
        record.winExecResult = c.winExecResult;
        Click("link");
        ASSERT_EQ(record.shellCalls.size(), 1u);
        if (c.expectedRun.empty()) {
            EXPECT_TRUE(record.winExecCalls.empty());
        } else {
            EXPECT_EQ(record.winExecCalls, std::vector<std::string>{c.expectedRun + " | 5"});
            EXPECT_EQ(record.keysRead, (std::vector<std::string>{".htm", "htmlfile\\shell\\open\\command"}));
        }
        EXPECT_EQ(PaintsIn(kLinkOpenedColour), c.opened);
        EXPECT_EQ(PaintsIn(kLinkColour), !c.opened);
    }
}

TEST_F(ControlsHyperlinkTest, HoverCapturesTheMouseUntilThePointerLeaves) {
    HWND link = Control("link");
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(GetCapture(), link);
    EXPECT_TRUE(PaintsIn(kLinkHoverColour));
    SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(-5, -5));
    EXPECT_NE(GetCapture(), link);
    EXPECT_TRUE(PaintsIn(kLinkColour));
    EXPECT_FALSE(PaintsIn(kLinkHoverColour));
}

}  // namespace
