// Registered as the prefix's http and mailto handler: appends one line per call to
// C:\velmora\urls.log, "<id of the process that asked the shell><TAB><URL>", so a test can
// tell its own program's URLs from those of another copy running beside it.
#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <string>

#include "scoped_win.h"

namespace {

constexpr char kLogPath[] = "C:\\velmora\\urls.log";

DWORD ParentProcessId() {
    const DWORD self = GetCurrentProcessId();
    ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return 0;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ProcessID == self) return entry.th32ParentProcessID;
    return 0;
}

// The command line after the program's own name, one pair of enclosing quotes removed.
std::string Argument() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        line = strchr(line + 1, '"');
        line = line ? line + 1 : "";
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    std::string argument = line;
    if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
        argument = argument.substr(1, argument.size() - 2);
    return argument;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const std::string line = std::to_string(ParentProcessId()) + "\t" + Argument() + "\r\n";
    for (int attempt = 0; attempt < 50; ++attempt) {
        ScopedFileHandle log(CreateFileA(kLogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (log.Valid()) {
            DWORD written = 0;
            WriteFile(log.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return 0;
        }
        Sleep(20);
    }
    return 1;
}
