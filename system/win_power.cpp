#include "win_power.h"

#include "scoped_win.h"

namespace {

constexpr char kShutdownPrivilegeName[] = "SeShutdownPrivilege";

}  // namespace

const PowerApi& SystemPowerApi() {
    static const PowerApi api{
        &::GetVersionExA,
        &::OpenProcessToken,
        &::LookupPrivilegeValueA,
        &::AdjustTokenPrivileges,
        &::GetLastError,
        &::ExitWindowsEx,
        &::SetSystemPowerState,
    };
    return api;
}

bool Win32PowerActions::IsNtPlatform() const {
    OSVERSIONINFOA version{};
    static_assert(sizeof(version) == 148, "OSVERSIONINFOA of the ANSI API");
    version.dwOSVersionInfoSize = sizeof(version);
    api_.getVersionEx(&version);
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

bool Win32PowerActions::EnableShutdownPrivilege() {
    if (!IsNtPlatform()) return true;

    HANDLE rawToken = nullptr;
    if (!api_.openProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY,
                               &rawToken)) {
        return false;
    }
    const ScopedHandle token(rawToken);

    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    // Without the privilege's LUID there is nothing sound to enable.
    if (!api_.lookupPrivilegeValue(nullptr, kShutdownPrivilegeName, &privileges.Privileges[0].Luid)) {
        return false;
    }
    // Success with ERROR_NOT_ALL_ASSIGNED means the account lacks the privilege, so
    // only the last error tells.
    api_.adjustTokenPrivileges(token.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    return api_.getLastError() == ERROR_SUCCESS;
}

bool Win32PowerActions::RunPowerAction(int32_t code, bool force) {
    if (code < kShutDown || code > kHibernate) return false;
    if (!EnableShutdownPrivilege()) return false;

    if (code == kSuspend || code == kHibernate) {
        return api_.setSystemPowerState(code == kSuspend, force) != FALSE;
    }

    UINT flags = EWX_LOGOFF;
    if (code == kShutDown) {
        flags = IsNtPlatform() ? EWX_POWEROFF : EWX_SHUTDOWN;
    } else if (code == kRestart) {
        flags = EWX_REBOOT;
    }
    if (force) flags |= EWX_FORCE;
    return api_.exitWindowsEx(flags, 0) != FALSE;
}
