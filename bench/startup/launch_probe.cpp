// Starts one program and measures its start-up from the Windows side, where its window can
// be seen (under Wine the whole virtual desktop is one X window):
//   launch_probe <exe> <window class> <settle seconds> <idle seconds>
// It prints one line of key=value figures: milliseconds from CreateProcess to the program's
// window of that class being visible and to the window answering a sent message (its
// message loop runs), the CPU time used by then, the resident memory once the program has
// settled (working set and private bytes), and the CPU time it burns per second while idle
// after that. Then it ends the program. Exit status 0 when every figure was taken.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "scoped_win.h"

namespace {

constexpr DWORD kPollIntervalMs = 1;
constexpr double kVisibleTimeoutMs = 30000;
constexpr UINT kResponseTimeoutMs = 10000;
constexpr DWORD kExitWaitMs = 5000;
constexpr DWORD kMsPerSecond = 1000;
constexpr SIZE_T kBytesPerKb = 1024;
constexpr unsigned long kMaxWaitSeconds = 600;
constexpr double kFileTimeUnitsPerMs = 10000.0;
constexpr int kUsageExitCode = 2;
constexpr int kFailureExitCode = 1;

class Stopwatch {
public:
    Stopwatch() {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double ElapsedMs() const {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * kMsPerSecond / frequency_.QuadPart;
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

double FileTimeMs(const FILETIME& time) {
    ULARGE_INTEGER units;
    units.LowPart = time.dwLowDateTime;
    units.HighPart = time.dwHighDateTime;
    return static_cast<double>(units.QuadPart) / kFileTimeUnitsPerMs;
}

double ThreadCpuMs(DWORD threadId) {
    const ScopedHandle thread(OpenThread(THREAD_QUERY_INFORMATION, FALSE, threadId));
    FILETIME creation, exit, kernel, user;
    if (!thread || !GetThreadTimes(thread.Get(), &creation, &exit, &kernel, &user)) return 0;
    return FileTimeMs(kernel) + FileTimeMs(user);
}

// Kernel and user time of the process's live threads, summed per thread: Wine's
// GetProcessTimes for another process lags far behind, its GetThreadTimes does not.
double CpuMs(DWORD processId) {
    const ScopedFileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot.Valid()) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    double total = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == processId) total += ThreadCpuMs(entry.th32ThreadID);
    return total;
}

// The target's own window: another copy of the same program may be open beside it.
HWND FindVisibleWindow(DWORD processId, const char* className) {
    for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window;
         window = FindWindowExA(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window)) return window;
    }
    return nullptr;
}

// Private (committed) bytes. Wine leaves PrivateUsage 0 and puts the process's anonymous
// resident memory in PagefileUsage, which on Windows equals PrivateUsage.
SIZE_T PrivateBytes(const PROCESS_MEMORY_COUNTERS_EX& memory) {
    return memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
}

bool HasExited(HANDLE process) { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

bool ParseSeconds(const char* text, DWORD& seconds) {
    char* end = nullptr;
    errno = 0;
    const unsigned long value = std::strtoul(text, &end, 10);
    if (errno || end == text || *end || value > kMaxWaitSeconds) return false;
    seconds = static_cast<DWORD>(value);
    return true;
}

int Fail(const char* what, HANDLE process) {
    std::fprintf(stderr, "launch_probe: %s\n", what);
    if (process && !HasExited(process)) {
        TerminateProcess(process, kFailureExitCode);
        WaitForSingleObject(process, kExitWaitMs);
    }
    return kFailureExitCode;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD settleSeconds = 0, idleSeconds = 0;
    if (argc != 5 || !ParseSeconds(argv[3], settleSeconds) || !ParseSeconds(argv[4], idleSeconds)) {
        std::fprintf(stderr, "usage: launch_probe <exe> <window class> <settle seconds> <idle seconds>\n");
        return kUsageExitCode;
    }
    const std::string exe = argv[1];
    const char* windowClass = argv[2];
    // Started as from Explorer: in its own directory, where it writes its files.
    const std::string directory = DirectoryOf(exe);
    std::string commandLine = "\"" + exe + "\"";

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    const Stopwatch sinceStart;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        directory.empty() ? nullptr : directory.c_str(), &startup, &started))
        return Fail("CreateProcess failed", nullptr);
    const ScopedHandle process(started.hProcess);
    const ScopedHandle thread(started.hThread);

    HWND window = nullptr;
    while (!(window = FindVisibleWindow(started.dwProcessId, windowClass))) {
        if (HasExited(process.Get())) return Fail("the program ended before its window was visible", nullptr);
        if (sinceStart.ElapsedMs() > kVisibleTimeoutMs) return Fail("no visible window in time", process.Get());
        Sleep(kPollIntervalMs);
    }
    const double visibleMs = sinceStart.ElapsedMs();

    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kResponseTimeoutMs, &ignored))
        return Fail("the window did not answer in time", process.Get());
    const double responsiveMs = sinceStart.ElapsedMs();
    const double startupCpuMs = CpuMs(started.dwProcessId);

    Sleep(settleSeconds * kMsPerSecond);
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        return Fail("GetProcessMemoryInfo failed", process.Get());

    const double cpuBeforeIdleMs = CpuMs(started.dwProcessId);
    Sleep(idleSeconds * kMsPerSecond);
    const double idleCpuMsPerSecond = idleSeconds ? (CpuMs(started.dwProcessId) - cpuBeforeIdleMs) / idleSeconds : 0;
    if (HasExited(process.Get())) return Fail("the program ended while it was measured", nullptr);

    std::printf("visible_ms=%.1f responsive_ms=%.1f startup_cpu_ms=%.1f working_set_kb=%lu private_kb=%lu "
                "idle_cpu_ms_per_s=%.2f\n",
                visibleMs, responsiveMs, startupCpuMs, static_cast<unsigned long>(memory.WorkingSetSize / kBytesPerKb),
                static_cast<unsigned long>(PrivateBytes(memory) / kBytesPerKb), idleCpuMsPerSecond);
    std::fflush(stdout);

    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), kExitWaitMs);
    return 0;
}
