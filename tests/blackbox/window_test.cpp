// The main window's life as the user drives it: "退出" from the menu bar and from the
// tray menu, hiding to the tray and coming back, and giving up a countdown.
#include "program_driver.h"

namespace blackbox {
namespace {

enum class ExitRoute { MenuBar, TrayMenu };

std::string ExitRouteName(ExitRoute route) { return route == ExitRoute::MenuBar ? "MenuBar" : "TrayMenu"; }

void PrintTo(ExitRoute route, std::ostream* out) { *out << ExitRouteName(route); }

class ExitTest : public BlackBoxTest, public ::testing::WithParamInterface<ExitRoute> {};

DWORD ThreadOf(HWND window) { return GetWindowThreadProcessId(window, nullptr); }

bool InMenuMode(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(ThreadOf(window), &info) && (info.flags & GUI_INMENUMODE);
}

TEST_P(ExitTest, ExitChosenFromTheFileMenuEndsTheProgramWithCodeZero) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));

    if (GetParam() == ExitRoute::MenuBar) {
        // The keyboard's way into the menu bar: Alt, then Down opens "文件".
        PostMessageA(main.window, WM_SYSCOMMAND, SC_KEYMENU, 0);
        ASSERT_TRUE(WaitUntil([&] { return InMenuMode(main.window); }, 3000)) << "the menu bar did not take the keyboard";
        PressKey(main.window, VK_DOWN);
    } else {
        PostMessageA(main.window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main.window); }, 3000)) << "closing did not hide the window";
        PostMessageA(main.window, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
    }
    ASSERT_TRUE(WaitUntil([&] { return FindOpenMenu(program->Id()) != nullptr; }, 3000)) << "the 文件 menu did not open";
    SaveScreenshot(CurrentTestArtifactName());
    // "退出" is the only command under the separator: Down selects it, Enter chooses it.
    PressKey(main.window, VK_DOWN);
    PressKey(main.window, VK_RETURN);

    DWORD exitCode = 1;
    ASSERT_TRUE(program->WaitForExit(5000, &exitCode)) << "the program still runs after 退出";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Routes, ExitTest, ::testing::Values(ExitRoute::MenuBar, ExitRoute::TrayMenu),
                         [](const ::testing::TestParamInfo<ExitRoute>& info) { return ExitRouteName(info.param); });

struct HideCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    bool minimised;
    bool secondClickHides;  // the icon stays after a click that shows a window hidden by closing
};

const HideCase kHideCases[] = {
    {"CloseButton", WM_SYSCOMMAND, SC_CLOSE, false, true},
    {"Minimise", WM_SYSCOMMAND, SC_MINIMIZE, true, false},
    {"LogOffFromOutside", WM_QUERYENDSESSION, 0, false, true},
};

class HideToTrayTest : public BlackBoxTest, public ::testing::WithParamInterface<HideCase> {};

TEST_P(HideToTrayTest, WindowHidesAndATrayClickBringsItBackInPlace) {
    const HideCase& hide = GetParam();
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    const RECT shownAt = OuterRect(main.window);

    DWORD_PTR answer = 1;
    ASSERT_TRUE(SendMessageTimeoutA(main.window, hide.message, hide.wParam, 0, SMTO_ABORTIFHUNG, 3000, &answer));
    if (hide.message == WM_QUERYENDSESSION) {
        EXPECT_EQ(answer, 0u) << "a log-off from outside is refused";
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main.window); }, 3000)) << "the window was not hidden";
    Sleep(500);
    EXPECT_TRUE(IsWindow(main.window)) << "hiding to the tray never destroys the window";
    EXPECT_FALSE(IsWindowVisible(main.window));
    EXPECT_EQ(IsIconic(main.window) != FALSE, hide.minimised);
    EXPECT_TRUE(program->Running());
    SaveScreenshot(CurrentTestArtifactName());

    PostMessageA(main.window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main.window) && !IsIconic(main.window); }, 3000))
        << "a left click on the tray icon did not bring the window back";
    // Restoring moves the window in steps; its place settles within a moment.
    EXPECT_TRUE(WaitUntil(
        [&] {
            const RECT now = OuterRect(main.window);
            return EqualRect(&shownAt, &now) != FALSE;
        },
        2000))
        << "back at " << OuterRect(main.window).left << "," << OuterRect(main.window).top << " instead of "
        << shownAt.left << "," << shownAt.top;

    if (hide.secondClickHides) {
        PostMessageA(main.window, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main.window); }, 3000))
            << "a second click on the tray icon did not hide the window";
    }
}

void PrintTo(const HideCase& hide, std::ostream* out) { *out << hide.name; }

INSTANTIATE_TEST_SUITE_P(Cases, HideToTrayTest, ::testing::ValuesIn(kHideCases),
                         [](const ::testing::TestParamInfo<HideCase>& info) { return std::string(info.param.name); });

enum class PromptClose { GiveUpButton, EscapeKey, CloseButton };

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(ThreadOf(window), &info) ? info.hwndFocus : nullptr;
}

std::string PromptCloseName(PromptClose way) {
    const char* names[] = {"GiveUpButton", "EscapeKey", "CloseButton"};
    return names[static_cast<int>(way)];
}

void PrintTo(PromptClose way, std::ostream* out) { *out << PromptCloseName(way); }

class PromptTest : public BlackBoxTest, public ::testing::WithParamInterface<PromptClose> {};

// No action is saved, so even a countdown that ran out would only leave the window open.
TEST_P(PromptTest, ClosingDuringTheCountdownEndsItWithoutActionAndLeavesTheScheduleSpent) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    PromptControls prompt;
    ASSERT_NO_FATAL_FAILURE(StartAndOpenPrompt(directory, "5", program, main, prompt));
    const std::string status = WindowText(main.status);
    const RECT outer = OuterRect(prompt.window);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kPromptWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kPromptHeight) / 2);
    EXPECT_EQ(outer.right - outer.left, kPromptWidth);
    EXPECT_EQ(outer.bottom - outer.top, kPromptHeight);
    EXPECT_TRUE(HasExStyle(prompt.window, WS_EX_TOPMOST));
    EXPECT_FALSE(HasStyle(prompt.window, WS_MINIMIZEBOX));

    EXPECT_TRUE(WaitUntil([&] { return WindowText(prompt.remaining) == "剩余时间：4秒"; }, 3000))
        << "the label reads " << WindowText(prompt.remaining);
    if (GetParam() == PromptClose::GiveUpButton) SaveScreenshot(CurrentTestArtifactName());

    switch (GetParam()) {
    case PromptClose::GiveUpButton: Click(prompt.giveUp); break;
    case PromptClose::EscapeKey: {
        HWND focus = FocusOf(prompt.window);
        EXPECT_EQ(focus, prompt.actNow) << "立即关机 has the focus when the prompt opens";
        PressKey(focus ? focus : prompt.window, VK_ESCAPE);
        break;
    }
    case PromptClose::CloseButton: PostMessageA(prompt.window, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(prompt.window); }, 3000)) << "the prompt did not close";
    Sleep(1500);
    EXPECT_TRUE(program->Running());
    EXPECT_EQ(FindTopLevel(program->Id(), kPromptTitle), nullptr) << "the spent schedule opened the prompt again";
    EXPECT_EQ(WindowText(main.toggle), "关闭自动关机");
    EXPECT_EQ(WindowText(main.status), status);
}

// "退出" ends only the main window: the process lives while the prompt window counts, and
// ends with code 0 once that window is gone too. No action is saved, so nothing shuts down.
TEST_F(BlackBoxTest, ExitWhileThePromptCountsEndsTheProgramOnlyWhenThePromptIsGone) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    PromptControls prompt;
    ASSERT_NO_FATAL_FAILURE(StartAndOpenPrompt(directory, "30", program, main, prompt));

    PostMessageA(main.window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main.window); }, 3000)) << "closing did not hide the window";
    PostMessageA(main.window, kTrayCallbackMessage, kTrayIconId, WM_RBUTTONUP);
    ASSERT_TRUE(WaitUntil([&] { return FindOpenMenu(program->Id()) != nullptr; }, 3000)) << "the 文件 menu did not open";
    PressKey(main.window, VK_DOWN);
    PressKey(main.window, VK_RETURN);

    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(main.window); }, 3000)) << "退出 did not destroy the main window";
    const std::string before = WindowText(prompt.remaining);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(prompt.remaining) != before; }, 3000))
        << "the countdown stopped with the main window";
    EXPECT_TRUE(program->Running()) << "the program ended while the prompt window was open";

    Click(prompt.giveUp);
    DWORD exitCode = 1;
    ASSERT_TRUE(program->WaitForExit(5000, &exitCode)) << "the program still runs after the prompt closed";
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Ways, PromptTest,
                         ::testing::Values(PromptClose::GiveUpButton, PromptClose::EscapeKey, PromptClose::CloseButton),
                         [](const ::testing::TestParamInfo<PromptClose>& info) { return PromptCloseName(info.param); });

}  // namespace
}  // namespace blackbox
