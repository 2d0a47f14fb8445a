#include "shell.h"

#include <vector>

namespace {

constexpr LONG kHtmClassLimit = 260;
constexpr LONG kCommandLineLimit = 32768;

// The default value of a key under HKEY_CLASSES_ROOT, if it can be read within the limit.
bool ReadClassesDefault(const Text& subkey, LONG limit, Text& value) {
    auto read = Shell().readClassesDefault;
    LONG size = 0;
    if (read(HKEY_CLASSES_ROOT, subkey.c_str(), nullptr, &size) != ERROR_SUCCESS || size <= 0 || size > limit)
        return false;
    std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
    if (read(HKEY_CLASSES_ROOT, subkey.c_str(), buffer.data(), &size) != ERROR_SUCCESS) return false;
    value.assign(buffer.data());
    return true;
}

}  // namespace

ShellFunctions& Shell() {
    static ShellFunctions functions{&ShellExecuteA, &RegQueryValueA, &WinExec};
    return functions;
}

Text BrowserCommandLine(const Text& registeredCommand, const Text& target) {
    size_t cut = registeredCommand.find("\"%1\"");
    if (cut == Text::npos) cut = registeredCommand.find("%1");
    return registeredCommand.substr(0, cut) + " " + target;
}

bool OpenWithShellOrBrowser(const Text& target) {
    const auto shellResult = reinterpret_cast<INT_PTR>(
        Shell().shellExecute(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOW));
    if (shellResult > 32) return true;

    Text htmClass, command;
    if (!ReadClassesDefault(".htm", kHtmClassLimit, htmClass)) return false;
    if (!ReadClassesDefault(htmClass + "\\shell\\open\\command", kCommandLineLimit, command)) return false;
    return Shell().winExec(BrowserCommandLine(command, target).c_str(), SW_SHOW) > 31;
}
