#include "program.h"

#include <utility>

#include "skin_library.h"

namespace {

struct ProgramState {
    std::function<void()> exitCleanup;
    bool oleInitialised = false;
};

ProgramState& State() {
    static ProgramState state;
    return state;
}

}  // namespace

ProcessFunctions& ProcessApi() {
    static ProcessFunctions functions{
        &::SetErrorMode,
        &::OleInitialize,
        &::OleUninitialize,
        &::GetModuleFileNameA,
        &::SetCurrentDirectoryA,
        &::FindWindowExA,
        &::MessageBoxA,
        &::ExitProcess,
    };
    return functions;
}

void InitialiseOle() {
    if (State().oleInitialised) return;
    // S_FALSE (already initialised on this thread) also takes a matching uninitialise.
    State().oleInitialised = SUCCEEDED(ProcessApi().oleInitialize(nullptr));
}

void RegisterExitCleanup(std::function<void()> cleanup) { State().exitCleanup = std::move(cleanup); }

void ClearExitCleanup() { State().exitCleanup = nullptr; }

int32_t EndProgram(int32_t exitCode) {
    // Cleared before it runs, so that a FatalError inside it cannot run it again.
    if (auto cleanup = std::exchange(State().exitCleanup, nullptr)) cleanup();
    ReleaseLoadedLibraries();
    if (std::exchange(State().oleInitialised, false)) ProcessApi().oleUninitialize();
    return exitCode;
}

void FatalError(const Text& text) {
    constexpr int32_t kFatalExitCode = -1;
    ProcessApi().messageBox(nullptr, text.c_str(), kFatalErrorTitle, MB_OK | MB_ICONERROR);
    ClearExitCleanup();
    EndProgram(kFatalExitCode);
    ProcessApi().exitProcess(static_cast<UINT>(kFatalExitCode));
    // Only a replaced exit can come back here; the program must still not go on.
    ::ExitProcess(static_cast<UINT>(kFatalExitCode));
}
