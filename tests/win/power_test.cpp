// Power actions with every OS call recorded instead of made.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "win_power.h"

namespace {

// What the fake OS answers, and what it was asked.
struct FakeOs {
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    bool openTokenSucceeds = true;
    bool lookupSucceeds = true;
    DWORD lastErrorAfterAdjust = ERROR_SUCCESS;
    BOOL exitResult = TRUE;
    BOOL powerStateResult = TRUE;

    std::vector<std::string> calls;
    bool versionRequestZeroed = true;
    DWORD versionRequestSize = 0;
    HANDLE token = nullptr;  // a real event handle, so that closing it can be seen
    HANDLE openedProcess = nullptr;
    DWORD openedAccess = 0;
    bool lookupOnLocalSystem = false;
    std::string lookupName;
    HANDLE adjustedToken = nullptr;
    BOOL disableAll = TRUE;
    TOKEN_PRIVILEGES newState{};
    DWORD previousStateLength = 1;
    bool previousStateOutputsNull = false;
    UINT exitFlags = 0xFFFFFFFF;
    DWORD exitReason = 0xFFFFFFFF;
    BOOL suspend = -1;
    BOOL forced = -1;
};

FakeOs* os = nullptr;

constexpr LUID kShutdownLuid{19, 0};

BOOL WINAPI FakeGetVersionEx(LPOSVERSIONINFOA info) {
    os->calls.push_back("GetVersionExA");
    os->versionRequestSize = info->dwOSVersionInfoSize;
    const auto* bytes = reinterpret_cast<const unsigned char*>(info);
    for (size_t i = sizeof(info->dwOSVersionInfoSize); i < sizeof(*info); ++i) {
        if (bytes[i] != 0) os->versionRequestZeroed = false;
    }
    info->dwMajorVersion = 5;
    info->dwPlatformId = os->platformId;
    return TRUE;
}

BOOL WINAPI FakeOpenProcessToken(HANDLE process, DWORD access, PHANDLE token) {
    os->calls.push_back("OpenProcessToken");
    os->openedProcess = process;
    os->openedAccess = access;
    if (!os->openTokenSucceeds) return FALSE;
    os->token = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    *token = os->token;
    return TRUE;
}

BOOL WINAPI FakeLookupPrivilegeValue(LPCSTR systemName, LPCSTR name, PLUID luid) {
    os->calls.push_back("LookupPrivilegeValueA");
    os->lookupOnLocalSystem = systemName == nullptr;
    os->lookupName = name;
    if (!os->lookupSucceeds) return FALSE;
    *luid = kShutdownLuid;
    return TRUE;
}

BOOL WINAPI FakeAdjustTokenPrivileges(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState,
                                      DWORD length, PTOKEN_PRIVILEGES previous, PDWORD returnLength) {
    os->calls.push_back("AdjustTokenPrivileges");
    os->adjustedToken = token;
    os->disableAll = disableAll;
    os->newState = *newState;
    os->previousStateLength = length;
    os->previousStateOutputsNull = previous == nullptr && returnLength == nullptr;
    return TRUE;
}

DWORD WINAPI FakeGetLastError() {
    os->calls.push_back("GetLastError");
    return os->lastErrorAfterAdjust;
}

BOOL WINAPI FakeExitWindowsEx(UINT flags, DWORD reason) {
    os->calls.push_back("ExitWindowsEx");
    os->exitFlags = flags;
    os->exitReason = reason;
    return os->exitResult;
}

BOOL WINAPI FakeSetSystemPowerState(BOOL suspend, BOOL force) {
    os->calls.push_back("SetSystemPowerState");
    os->suspend = suspend;
    os->forced = force;
    return os->powerStateResult;
}

constexpr PowerApi kFakeApi{
    FakeGetVersionEx,   FakeOpenProcessToken, FakeLookupPrivilegeValue, FakeAdjustTokenPrivileges,
    FakeGetLastError,   FakeExitWindowsEx,    FakeSetSystemPowerState,
};

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

size_t CountOf(const std::vector<std::string>& calls, const std::string& name) {
    size_t count = 0;
    for (const auto& call : calls) count += call == name;
    return count;
}

class PowerActionsTest : public ::testing::Test {
protected:
    PowerActionsTest() { os = &fake; }
    ~PowerActionsTest() override {
        if (fake.token && IsOpenHandle(fake.token)) ::CloseHandle(fake.token);
        os = nullptr;
    }

    // Fresh fake answers and records for one row of a table.
    void Reset() {
        if (fake.token && IsOpenHandle(fake.token)) ::CloseHandle(fake.token);
        fake = FakeOs();
    }

    FakeOs fake;
    Win32PowerActions actions{kFakeApi};
};

TEST_F(PowerActionsTest, CodesOutsideOneToFiveMakeNoCallAtAll) {
    for (const int32_t code : {0, -1, 6, INT_MIN, INT_MAX}) {
        for (const bool force : {true, false}) {
            SCOPED_TRACE(std::to_string(code) + (force ? " forced" : ""));
            Reset();
            EXPECT_FALSE(actions.RunPowerAction(code, force));
            EXPECT_TRUE(fake.calls.empty());
        }
    }
}

TEST_F(PowerActionsTest, ExitWindowsExFlagsByCodePlatformAndForce) {
    const struct {
        int32_t code;
        DWORD platform;
        bool force;
        UINT expectedFlags;
    } rows[] = {
        {kShutDown, VER_PLATFORM_WIN32_NT, true, 12},
        {kRestart, VER_PLATFORM_WIN32_NT, true, 6},
        {kLogOff, VER_PLATFORM_WIN32_NT, true, 4},
        {kShutDown, VER_PLATFORM_WIN32_NT, false, 8},
        {kRestart, VER_PLATFORM_WIN32_NT, false, 2},
        {kLogOff, VER_PLATFORM_WIN32_NT, false, 0},
        {kShutDown, VER_PLATFORM_WIN32_WINDOWS, true, 5},
        {kShutDown, VER_PLATFORM_WIN32_WINDOWS, false, 1},
        {kRestart, VER_PLATFORM_WIN32_WINDOWS, true, 6},
        {kLogOff, VER_PLATFORM_WIN32_WINDOWS, true, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code) + " platform " +
                     std::to_string(row.platform) + (row.force ? " forced" : ""));
        for (const BOOL systemAnswer : {TRUE, FALSE}) {
            Reset();
            fake.platformId = row.platform;
            fake.exitResult = systemAnswer;
            EXPECT_EQ(actions.RunPowerAction(row.code, row.force), systemAnswer != FALSE);
            EXPECT_EQ(fake.exitFlags, row.expectedFlags);
            EXPECT_EQ(fake.exitReason, 0u);
            EXPECT_EQ(CountOf(fake.calls, "ExitWindowsEx"), 1u);
            EXPECT_EQ(CountOf(fake.calls, "SetSystemPowerState"), 0u);
        }
    }
}

TEST_F(PowerActionsTest, ForceIsOffWhenLeftOut) {
    EXPECT_TRUE(actions.RunPowerAction(kShutDown));
    EXPECT_EQ(fake.exitFlags, static_cast<UINT>(EWX_POWEROFF));
}

TEST_F(PowerActionsTest, SuspendAndHibernateGoToSetSystemPowerState) {
    const struct {
        int32_t code;
        bool force;
        BOOL expectedSuspend;
    } rows[] = {
        {kSuspend, true, TRUE}, {kHibernate, true, FALSE},
        {kSuspend, false, TRUE}, {kHibernate, false, FALSE},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("code " + std::to_string(row.code) + (row.force ? " forced" : ""));
        for (const BOOL systemAnswer : {TRUE, FALSE}) {
            Reset();
            fake.powerStateResult = systemAnswer;
            EXPECT_EQ(actions.RunPowerAction(row.code, row.force), systemAnswer != FALSE);
            EXPECT_EQ(fake.suspend, row.expectedSuspend);
            EXPECT_EQ(fake.forced, row.force ? TRUE : FALSE);
            EXPECT_EQ(CountOf(fake.calls, "SetSystemPowerState"), 1u);
            EXPECT_EQ(CountOf(fake.calls, "ExitWindowsEx"), 0u);
            EXPECT_EQ(CountOf(fake.calls, "OpenProcessToken"), 1u);
        }
    }
}

TEST_F(PowerActionsTest, NtFamilyEnablesTheShutdownPrivilegeFirstAndClosesTheToken) {
    ASSERT_TRUE(actions.RunPowerAction(kShutDown, true));

    EXPECT_EQ(fake.calls, (std::vector<std::string>{
                              "GetVersionExA", "OpenProcessToken", "LookupPrivilegeValueA",
                              "AdjustTokenPrivileges", "GetLastError", "GetVersionExA",
                              "ExitWindowsEx"}));
    EXPECT_EQ(fake.versionRequestSize, 148u);
    EXPECT_TRUE(fake.versionRequestZeroed);
    EXPECT_EQ(fake.openedProcess, ::GetCurrentProcess());
    EXPECT_EQ(fake.openedAccess, static_cast<DWORD>(TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY));
    EXPECT_TRUE(fake.lookupOnLocalSystem);
    EXPECT_EQ(fake.lookupName, "SeShutdownPrivilege");
    EXPECT_EQ(fake.adjustedToken, fake.token);
    EXPECT_EQ(fake.disableAll, FALSE);
    EXPECT_EQ(fake.newState.PrivilegeCount, 1u);
    EXPECT_EQ(fake.newState.Privileges[0].Luid.LowPart, kShutdownLuid.LowPart);
    EXPECT_EQ(fake.newState.Privileges[0].Luid.HighPart, kShutdownLuid.HighPart);
    EXPECT_EQ(fake.newState.Privileges[0].Attributes, static_cast<DWORD>(SE_PRIVILEGE_ENABLED));
    EXPECT_EQ(fake.previousStateLength, 0u);
    EXPECT_TRUE(fake.previousStateOutputsNull);
    ASSERT_NE(fake.token, nullptr);
    EXPECT_FALSE(IsOpenHandle(fake.token));
}

TEST_F(PowerActionsTest, OtherPlatformsTouchNoPrivilege) {
    for (const int32_t code : {1, 2, 3, 4, 5}) {
        SCOPED_TRACE(code);
        Reset();
        fake.platformId = VER_PLATFORM_WIN32_WINDOWS;
        EXPECT_TRUE(actions.RunPowerAction(code, true));
        EXPECT_EQ(CountOf(fake.calls, "OpenProcessToken"), 0u);
        EXPECT_EQ(CountOf(fake.calls, "LookupPrivilegeValueA"), 0u);
        EXPECT_EQ(CountOf(fake.calls, "AdjustTokenPrivileges"), 0u);
        EXPECT_EQ(CountOf(fake.calls, "ExitWindowsEx") + CountOf(fake.calls, "SetSystemPowerState"), 1u);
    }
}

// Without the privilege no power function is called, for any code.
TEST_F(PowerActionsTest, PrivilegeFailureStopsBeforeThePowerCall) {
    const struct {
        const char* name;
        bool openTokenSucceeds;
        bool lookupSucceeds;
        DWORD lastError;
    } rows[] = {
        {"token not opened", false, true, ERROR_SUCCESS},
        {"account lacks the privilege", true, true, ERROR_NOT_ALL_ASSIGNED},
        {"adjusting failed", true, true, ERROR_INVALID_PARAMETER},
        {"privilege name unknown", true, false, ERROR_SUCCESS},
    };
    for (const auto& row : rows) {
        const auto arrange = [&] {
            Reset();
            fake.openTokenSucceeds = row.openTokenSucceeds;
            fake.lookupSucceeds = row.lookupSucceeds;
            fake.lastErrorAfterAdjust = row.lastError;
        };
        for (const int32_t code : {1, 2, 3, 4, 5}) {
            SCOPED_TRACE(std::string(row.name) + ", code " + std::to_string(code));
            arrange();
            EXPECT_FALSE(actions.RunPowerAction(code, true));
            EXPECT_EQ(CountOf(fake.calls, "ExitWindowsEx"), 0u);
            EXPECT_EQ(CountOf(fake.calls, "SetSystemPowerState"), 0u);
            EXPECT_EQ(fake.token != nullptr, row.openTokenSucceeds);
            if (fake.token) {
                EXPECT_FALSE(IsOpenHandle(fake.token));
            }
        }
        arrange();
        EXPECT_FALSE(actions.EnableShutdownPrivilege()) << row.name;
    }
}

LUID ShutdownPrivilegeLuid() {
    LUID luid{};
    ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &luid);
    return luid;
}

bool IsShutdownPrivilegeEnabled() {
    HANDLE rawToken = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &rawToken)) return false;
    PRIVILEGE_SET query{};
    query.PrivilegeCount = 1;
    query.Control = PRIVILEGE_SET_ALL_NECESSARY;
    query.Privilege[0].Luid = ShutdownPrivilegeLuid();
    BOOL enabled = FALSE;
    const BOOL checked = ::PrivilegeCheck(rawToken, &query, &enabled);
    ::CloseHandle(rawToken);
    return checked && enabled;
}

void DisableShutdownPrivilege() {
    HANDLE rawToken = nullptr;
    ASSERT_TRUE(::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES, &rawToken));
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Luid = ShutdownPrivilegeLuid();
    privileges.Privileges[0].Attributes = 0;
    EXPECT_TRUE(::AdjustTokenPrivileges(rawToken, FALSE, &privileges, 0, nullptr, nullptr));
    ::CloseHandle(rawToken);
}

// The real table for the privilege step only: it changes nothing but this process's
// token, whereas the power functions would act on the machine.
TEST(SystemPowerApiTest, EnablesTheShutdownPrivilegeOfThisProcess) {
    DisableShutdownPrivilege();
    ASSERT_FALSE(IsShutdownPrivilegeEnabled());

    Win32PowerActions actions;
    EXPECT_TRUE(actions.EnableShutdownPrivilege());
    EXPECT_TRUE(IsShutdownPrivilegeEnabled());
}

}  // namespace
