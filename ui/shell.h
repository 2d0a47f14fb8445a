// The shell calls that open a link. Tests replace the table's entries so that nothing
// real is started; the program leaves them as they are.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "text.h"

struct ShellFunctions {
    decltype(&ShellExecuteA) shellExecute;
    decltype(&RegQueryValueA) readClassesDefault;   // always called with HKEY_CLASSES_ROOT
    decltype(&WinExec) winExec;
};

ShellFunctions& Shell();

// Opens the target with the shell and, failing that, with the browser registered for web
// pages. Returns whether either started.
bool OpenWithShellOrBrowser(const Text& target);

// The browser command for the target: the registered command line cut before its first
// "\"%1\"" (else its first "%1"), then a space and the target.
Text BrowserCommandLine(const Text& registeredCommand, const Text& target);
