// Power actions on Windows: the shutdown privilege, then ExitWindowsEx or
// SetSystemPowerState. Every OS call goes through PowerApi so that tests can record
// the calls instead of shutting the machine down.
#pragma once

#include <windows.h>

#include <cstdint>

// core/power.h by its path: a plain "power.h" here would name this header itself.
#include "power.h"

struct PowerApi {
    decltype(&::GetVersionExA) getVersionEx;
    decltype(&::OpenProcessToken) openProcessToken;
    decltype(&::LookupPrivilegeValueA) lookupPrivilegeValue;
    decltype(&::AdjustTokenPrivileges) adjustTokenPrivileges;
    decltype(&::GetLastError) getLastError;
    decltype(&::ExitWindowsEx) exitWindowsEx;
    decltype(&::SetSystemPowerState) setSystemPowerState;
};

// The real functions of kernel32, advapi32 and user32.
const PowerApi& SystemPowerApi();

class Win32PowerActions final : public PowerActionRunner {
public:
    explicit Win32PowerActions(const PowerApi& api = SystemPowerApi()) : api_(api) {}

    // True when the system accepted the request; codes outside 1..5 touch nothing.
    bool RunPowerAction(int32_t code, bool force) override;
    bool RunPowerAction(int32_t code) { return RunPowerAction(code, false); }

    // Enables SeShutdownPrivilege on the NT family; other platforms have no privileges.
    bool EnableShutdownPrivilege();

private:
    bool IsNtPlatform() const;

    const PowerApi& api_;
};
