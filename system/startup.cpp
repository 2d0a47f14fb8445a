#include "startup.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "clock.h"
#include "message_box_notice.h"
#include "program.h"
#include "prompt_window.h"
#include "settings.h"
#include "shell.h"
#include "skin_library.h"
#include "win_power.h"
#include "win_profile_store.h"
#include "window.h"

namespace {

// The services and the main window, alive from start-up until after EndProgram.
struct RunningProgram {
    explicit RunningProgram(Text executableDirectory)
        : services{clock, profile, notice, power, std::move(executableDirectory)}, mainWindow(services) {}

    SystemClock clock;
    WinProfileStore profile;
    MessageBoxNotice notice;
    Win32PowerActions power{SystemPowerApi()};
    ProgramServices services;
    MainWindow mainWindow;
};

std::unique_ptr<RunningProgram>& Running() {
    static std::unique_ptr<RunningProgram> program;
    return program;
}

Text ModuleDirectory() {
    char path[MAX_PATH];
    // Windows XP leaves a cut path unterminated, so the returned length bounds it.
    const DWORD length = ProcessApi().getModuleFileName(nullptr, path, MAX_PATH);
    return ExecutableDirectoryFromModulePath(Text(path, std::min<DWORD>(length, MAX_PATH)));
}

void RunMessageLoop() {
    MSG message;
    // -1 is a failure of GetMessageA itself; going on would spin.
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (PreTranslateProgramMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace

Text PromoPageUrl() { return ConcatText({"http://", kPromoHost, "/wb008.htm?from=143705&gid=1"}); }

int32_t RunProgram() {
    const UINT errorMode = ProcessApi().setErrorMode(0);
    ProcessApi().setErrorMode(errorMode | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    int32_t exitCode = 0;
    try {
        exitCode = StartProgram();
    } catch (const std::bad_alloc&) {
        FatalError(kOutOfMemoryText);
    } catch (...) {
        FatalError(kInternalErrorText);
    }
    EndProgram(exitCode);
    // Gone while the window machinery is still there to see it go.
    Running().reset();
    return exitCode;
}

int32_t StartProgram() {
    InitialiseOle();
    const Text executableDirectory = ModuleDirectory();
    ProcessApi().setCurrentDirectory(executableDirectory.c_str());

    Running() = std::make_unique<RunningProgram>(executableDirectory);
    MainWindow& mainWindow = Running()->mainWindow;
    RegisterExitCleanup([&mainWindow] { ExitCleanup(mainWindow); });
    mainWindow.SetCreatedHandler(
        [&mainWindow, executableDirectory] { OnMainWindowCreated(mainWindow, executableDirectory); });
    if (!LoadWindow(mainWindow.GetWindow())) FatalError(kMainWindowFailedText);

    SetMessageLoopFlag(true);
    if (ProgramWindowCount() > 0) RunMessageLoop();
    return 0;
}

void OnMainWindowCreated(MainWindow& mainWindow, const Text& executableDirectory) {
    ApplyEmbeddedSkin(kStartupSkin, executableDirectory);
    OpenUrl(PromoPageUrl());
    mainWindow.OnClockTick();
    mainWindow.Settings().LoadSettings(mainWindow, executableDirectory);
}

void OpenUrl(const Text& url) {
    HWND owner = ProcessApi().findWindowEx(nullptr, nullptr, nullptr, kInternetExplorerTitle);
    Shell().shellExecute(owner, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ExitCleanup(MainWindow& mainWindow) {
    mainWindow.Settings().ReleaseRunDirectoryCopy();
    mainWindow.Prompt().GetCountdown().ReleaseRunDirectoryCopy();
}
