// The end of the process: the exit cleanup registration, EndProgram and FatalError, and
// the process-wide OS calls behind a table that tests replace so that no box waits for a
// click and nothing really exits.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <cstdint>
#include <functional>

#include "text.h"

struct ProcessFunctions {
    decltype(&::SetErrorMode) setErrorMode;
    decltype(&::OleInitialize) oleInitialize;
    decltype(&::OleUninitialize) oleUninitialize;
    decltype(&::GetModuleFileNameA) getModuleFileName;
    decltype(&::SetCurrentDirectoryA) setCurrentDirectory;
    decltype(&::FindWindowExA) findWindowEx;
    decltype(&::MessageBoxA) messageBox;
    decltype(&::ExitProcess) exitProcess;
};

// The real functions unless a test has replaced them.
ProcessFunctions& ProcessApi();

inline constexpr char kFatalErrorTitle[] = "每日Velmora工具 - 错误";
inline constexpr char kOutOfMemoryText[] = "内存不足，程序无法继续运行。";

// OleInitialize for this thread, unless it already succeeded; EndProgram undoes it.
void InitialiseOle();

// At most one routine; registering replaces the earlier one.
void RegisterExitCleanup(std::function<void()> cleanup);
void ClearExitCleanup();

// Runs the exit cleanup once and clears it, frees the libraries the library function
// table loaded, and uninitialises OLE if it was initialised. Safe to run again: the
// second run finds nothing left to do. Returns the exit code it was given, for the
// caller to end the process with.
int32_t EndProgram(int32_t exitCode);

// An error box naming the failure, then the end sequence without the exit cleanup, then
// ExitProcess(-1).
[[noreturn]] void FatalError(const Text& text);
