// Drives the real program from outside, as a user would: its own copy in a fresh
// directory, its windows found by process and title, its controls by class, parent and
// position, clicks and typing by messages, and what it leaves behind on disk.
// Texts are code page 936 bytes (this file is compiled with -fexec-charset=GBK), compared
// byte for byte with what the program shows.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scoped_win.h"

namespace blackbox {

inline constexpr char kMainTitlePrefix[] = "每日Velmora工具      作者Orlic：QQ";
inline constexpr char kPromptTitle[] = "提示窗口";
inline constexpr char kInfoTitle[] = "信息：";
inline constexpr char kDialogClass[] = "#32770";
inline constexpr char kMenuClass[] = "#32768";
// The weekday boxes' captions, 选择框1 to 选择框7, which are also the keys of close.ini.
inline constexpr const char* kDayNames[7] = {"星期一", "星期二", "星期三", "星期四", "星期五", "星期六", "星期日"};
inline constexpr int kMainWidth = 491;
inline constexpr int kMainHeight = 319;
inline constexpr int kPromptWidth = 242;
inline constexpr int kPromptHeight = 172;
inline constexpr DWORD kLibrarySize = 88576;
// The tray icon calls its window back with this message, the mouse message in lParam.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 100;
inline constexpr UINT kTrayIconId = 100;

// Polls every 20 ms until the condition holds or the time is up; returns the condition.
bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds = 5000);

std::string WindowText(HWND window);
std::string ClassNameOf(HWND window);
RECT OuterRect(HWND window);
// The rectangle in the client coordinates of the window's parent.
RECT RectInParent(HWND window);
bool HasStyle(HWND window, LONG style);
bool HasExStyle(HWND window, LONG exStyle);
bool IsTicked(HWND button);

// Top-level windows of one process, hidden ones included.
std::vector<HWND> TopLevelWindows(DWORD processId);
// The first top-level window of the process with this exact title (and class, if given).
HWND FindTopLevel(DWORD processId, const std::string& title, const char* className = nullptr);
// The visible menu (popup) window of the process, if one is open.
HWND FindOpenMenu(DWORD processId);
// The up-down arrows of an edit box: the "msctls_updown32" sibling right against its
// right edge, at the same top.
HWND SpinArrowsOf(HWND box);
// The first descendant window whose text begins with the prefix.
HWND FindChildByTextPrefix(HWND top, const std::string& prefix);
// The message text of a message box: its static controls' texts, joined.
std::string MessageBoxText(HWND box);

// Sets an edit box's text as a paste would (WM_SETTEXT).
void SetText(HWND control, const std::string& text);
// Clicks a button without waiting for what the click does (BM_CLICK, posted): a click
// may open a message box that only the test can dismiss.
void Click(HWND button);
// Sends the key down and up to the window's thread, as the keyboard would.
void PressKey(HWND window, WORD virtualKey);

// A fresh directory under the Windows temporary directory, removed with its contents.
class TempDirectory {
public:
    explicit TempDirectory(const std::string& nameSuffix = "");
    ~TempDirectory();
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// The program copied into a directory and started there (the directory is also its
// current directory). Ends the process on destruction if it still runs.
class RunningProgram {
public:
    explicit RunningProgram(const std::string& directory);
    // Another copy of the program in the same directory, under its own file name: a
    // running exe cannot be copied over.
    RunningProgram(const std::string& directory, const std::string& exeName);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // Empty when the program started; otherwise what went wrong.
    const std::string& StartError() const { return startError_; }
    DWORD Id() const { return processId_; }
    bool Running() const;
    // The visible main window (title kMainTitlePrefix followed by the QQ number), or null.
    HWND WaitForMainWindow(DWORD milliseconds = 10000) const;
    HWND WaitForTopLevel(const std::string& title, const char* className, DWORD milliseconds = 5000) const;
    // Any message box of the process, whatever its title.
    HWND WaitForDialog(DWORD milliseconds = 5000) const;
    // Waits for the end of the process; returns whether it ended, with its exit code.
    bool WaitForExit(DWORD milliseconds, DWORD* exitCode) const;
    void Kill();
    HANDLE Process() const { return process_.Get(); }

private:
    ScopedHandle process_;
    DWORD processId_ = 0;
    std::string startError_;
};

// The main window's controls, found by the layout: the group boxes by their captions, the
// boxes and labels by parent and position, the buttons by their captions.
struct MainControls {
    HWND window = nullptr;
    HWND timeGroup = nullptr;     // 分组框1 "关机时间"
    HWND actionGroup = nullptr;   // 分组框2 "关机操作"
    HWND hour = nullptr;          // 编辑框1
    HWND minute = nullptr;        // 编辑框2
    HWND second = nullptr;        // 编辑框3
    HWND reminder = nullptr;      // 编辑框4
    HWND clock = nullptr;         // 标签2
    HWND status = nullptr;        // 标签7
    HWND save = nullptr;          // 保存 "保存设置"
    HWND toggle = nullptr;        // 应用
    std::array<HWND, 7> days{};   // 选择框1 (星期一) ... 选择框7 (星期日)
    std::array<HWND, 3> actions{};  // 单选框1 ... 单选框3

    // Locates every control; on failure names the first one missing.
    bool Locate(HWND mainWindow, std::string* missing);
};

// The prompt window's controls.
struct PromptControls {
    HWND window = nullptr;
    HWND remaining = nullptr;  // 标签1 at 40,24
    HWND actNow = nullptr;     // 按钮1 "立即关机"
    HWND giveUp = nullptr;     // 按钮2 "放弃关机"

    bool Locate(HWND promptWindow, std::string* missing);
};

// What a process holds, for leak checks: GDI and USER objects, its windows, private
// memory. Wine 8 has no GetGuiResources (it answers 0, ERROR_CALL_NOT_IMPLEMENTED) and
// leaves PrivateUsage 0; the commit charge (PagefileUsage) is the same figure there.
struct ProcessResources {
    bool objectCountsKnown = false;
    DWORD gdiObjects = 0;
    DWORD userObjects = 0;
    size_t windows = 0;  // top-level windows and all their descendants
    SIZE_T privateBytes = 0;
};
ProcessResources ResourcesOf(const RunningProgram& program);

// The program's own timer controls are hidden children of its own class; the schedule
// check 时钟1 and the clock 时钟2 sit in 分组框2 at these places.
inline constexpr POINT kCheckTimerAt = {80, 74};
inline constexpr POINT kClockTimerAt = {136, 74};
inline constexpr WPARAM kTimerControlId = 1000;
// The hidden child of the group box at this place that is no standard control.
HWND TimerControlAt(HWND group, POINT place);
// Delivers one tick to a timer control and waits until it has been handled.
bool SendTimerTick(HWND timer);

// 1 = Monday ... 7 = Sunday: the weekday boxes' numbering, for today.
int TodaysDayBox();

// The local time some seconds from now, as the hour, minute and second boxes take it.
struct TimeTexts {
    std::string hour, minute, second;
};
TimeTexts TimeFromNow(int seconds);

std::string ReadFileBytes(const std::string& path);
bool FileExists(const std::string& path);
// The lines of a text file without their line ends, blank lines left out.
std::vector<std::string> NonBlankLines(const std::string& path);
// close.ini text with today's box ticked and this reminder, and no action saved: a
// countdown that runs out then does nothing.
std::string TodayWithoutAction(const std::string& reminderSeconds);
// Waits until the file's last non-blank line is this one (a save has ended).
bool WaitForLastLine(const std::string& path, const std::string& line);
// Writes bytes to a new file (for a close.ini prepared before a start).
bool WriteFileBytes(const std::string& path, const std::string& bytes);

// Puts the URL recorder where the prefix's http and mailto handlers point and empties
// its log. Returns what went wrong, or an empty text.
std::string InstallUrlRecorder();
// The URLs the shell opened on behalf of one process, in order.
std::vector<std::string> RecordedUrls(DWORD processId);

// Saves the whole screen as <artifacts>/<name>.bmp; returns the path, or empty on failure.
std::string SaveScreenshot(const std::string& name);
// The artifact name of the running GoogleTest case: blackbox-<suite>-<test>.
std::string CurrentTestArtifactName(const std::string& suffix = "");

// Every test starts from an installed URL recorder with an empty log.
class BlackBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(InstallUrlRecorder(), ""); }

    // Starts the program in the directory, waits for its main window and finds its
    // controls; a fatal failure when any of that does not happen.
    void StartProgram(const std::string& directory, std::unique_ptr<RunningProgram>& program, MainControls& controls);
    // The same for a copy of the program under another file name.
    void StartProgram(const std::string& directory, const std::string& exeName,
                      std::unique_ptr<RunningProgram>& program, MainControls& controls);
    // Ticks a check box, selects a radio button (a click; waits for the new state).
    void Tick(HWND button);
    // With today's box ticked: types the time some seconds from now and arms the schedule.
    void ArmSecondsAhead(const MainControls& main, int seconds);
    // Waits for the prompt window to open and finds its controls.
    void WaitForPrompt(const RunningProgram& program, PromptControls& prompt);
    // Starts the program on TodayWithoutAction(reminder), arms it two seconds ahead and
    // waits for the prompt window.
    void StartAndOpenPrompt(const TempDirectory& directory, const std::string& reminderSeconds,
                            std::unique_ptr<RunningProgram>& program, MainControls& main, PromptControls& prompt);
};

}  // namespace blackbox
