#include "program_driver.h"

#include <psapi.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

namespace blackbox {

namespace {

constexpr DWORD kMessageTimeoutMs = 2000;
// A window found visible may not be painted yet; a screenshot waits this long first.
constexpr DWORD kPaintSettleMs = 300;
constexpr char kRecorderDirectory[] = "C:\\velmora";
constexpr char kRecorderInstalled[] = "C:\\velmora\\url_recorder.exe";
constexpr char kRecorderLog[] = "C:\\velmora\\urls.log";

bool SameText(const char* a, const char* b) { return lstrcmpiA(a, b) == 0; }

bool EqualsAt(const RECT& rect, int left, int top) { return rect.left == left && rect.top == top; }

struct ChildWindow {
    HWND handle;
    HWND parent;
    std::string className;
    std::string text;
    RECT rect;
};

std::vector<ChildWindow> ChildWindows(HWND top) {
    std::vector<HWND> handles;
    EnumChildWindows(
        top,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&handles));
    std::vector<ChildWindow> children;
    for (HWND handle : handles)
        children.push_back({handle, GetParent(handle), ClassNameOf(handle), WindowText(handle), RectInParent(handle)});
    return children;
}

HWND FindChild(const std::vector<ChildWindow>& children, const std::function<bool(const ChildWindow&)>& match) {
    for (const ChildWindow& child : children)
        if (match(child)) return child.handle;
    return nullptr;
}

bool IsStandardClass(const std::string& name) {
    for (const char* standard : {"Button", "Edit", "Static", "msctls_updown32"})
        if (SameText(name.c_str(), standard)) return true;
    return false;
}

std::string WindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') path = "Z:" + path;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

void RemoveTree(const std::string& directory) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = directory + "\\" + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str());
}

}  // namespace

bool WaitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= milliseconds) return condition();
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return {};
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutA(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return {};
    text.resize(strlen(text.c_str()));
    return text;
}

std::string ClassNameOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT OuterRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

RECT RectInParent(HWND window) {
    RECT rect = OuterRect(window);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool HasStyle(HWND window, LONG style) { return (GetWindowLongA(window, GWL_STYLE) & style) == style; }

bool HasExStyle(HWND window, LONG exStyle) { return (GetWindowLongA(window, GWL_EXSTYLE) & exStyle) == exStyle; }

bool IsTicked(HWND button) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &state);
    return state == BST_CHECKED;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
    struct Search {
        DWORD processId;
        std::vector<HWND> found;
    } search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto* search = reinterpret_cast<Search*>(context);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == search->processId) search->found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(DWORD processId, const std::string& title, const char* className) {
    for (HWND window : TopLevelWindows(processId)) {
        if (className && !SameText(ClassNameOf(window).c_str(), className)) continue;
        if (WindowText(window) == title) return window;
    }
    return nullptr;
}

HWND FindOpenMenu(DWORD processId) {
    for (HWND window : TopLevelWindows(processId))
        if (IsWindowVisible(window) && ClassNameOf(window) == kMenuClass) return window;
    return nullptr;
}

HWND SpinArrowsOf(HWND box) {
    const RECT boxRect = RectInParent(box);
    return FindChild(ChildWindows(GetParent(box)), [&](const ChildWindow& child) {
        return SameText(child.className.c_str(), "msctls_updown32") && EqualsAt(child.rect, boxRect.right, boxRect.top);
    });
}

HWND FindChildByTextPrefix(HWND top, const std::string& prefix) {
    return FindChild(ChildWindows(top), [&](const ChildWindow& child) { return child.text.rfind(prefix, 0) == 0; });
}

std::string MessageBoxText(HWND box) {
    std::string text;
    for (const ChildWindow& child : ChildWindows(box))
        if (SameText(child.className.c_str(), "Static")) text += child.text;
    return text;
}

void SetText(HWND control, const std::string& text) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                        kMessageTimeoutMs, &result);
}

void Click(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PressKey(HWND window, WORD virtualKey) {
    const UINT scanCode = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC);
    PostMessageA(window, WM_KEYDOWN, virtualKey, 1 | (scanCode << 16));
    PostMessageA(window, WM_KEYUP, virtualKey, 1 | (scanCode << 16) | (3u << 30));
}

TempDirectory::TempDirectory(const std::string& nameSuffix) {
    static int counter = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\') base.pop_back();
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        const std::string candidate = base + "\\velmora-bb-" + std::to_string(GetCurrentProcessId()) + "-" +
                                      std::to_string(++counter) + "-" + std::to_string(GetTickCount()) + nameSuffix;
        if (CreateDirectoryA(candidate.c_str(), nullptr)) path_ = candidate;
    }
}

TempDirectory::~TempDirectory() {
    if (!path_.empty()) RemoveTree(path_);
}

RunningProgram::RunningProgram(const std::string& directory) : RunningProgram(directory, "velmora.exe") {}

RunningProgram::RunningProgram(const std::string& directory, const std::string& exeName) {
    if (directory.empty()) {
        startError_ = "no directory to start the program in";
        return;
    }
    const std::string exe = directory + "\\" + exeName;
    if (!CopyFileA(WindowsPath(VELMORA_EXE_PATH).c_str(), exe.c_str(), FALSE)) {
        startError_ = "cannot copy " VELMORA_EXE_PATH " to " + exe + ": error " + std::to_string(GetLastError());
        return;
    }
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &startup, &info)) {
        startError_ = "cannot start " + exe + ": error " + std::to_string(GetLastError());
        return;
    }
    CloseHandle(info.hThread);
    process_.Reset(info.hProcess);
    processId_ = info.dwProcessId;
}

RunningProgram::~RunningProgram() { Kill(); }

void RunningProgram::Kill() {
    if (Running()) {
        TerminateProcess(process_.Get(), 99);
        WaitForSingleObject(process_.Get(), 5000);
    }
}

bool RunningProgram::Running() const { return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT; }

HWND RunningProgram::WaitForMainWindow(DWORD milliseconds) const {
    HWND found = nullptr;
    const std::string prefix = kMainTitlePrefix;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId_)) {
                const std::string title = WindowText(window);
                if (IsWindowVisible(window) && title.size() > prefix.size() && title.compare(0, prefix.size(), prefix) == 0 &&
                    title.find_first_not_of("0123456789", prefix.size()) == std::string::npos) {
                    found = window;
                    return true;
                }
            }
            return !Running();
        },
        milliseconds);
    return found;
}

HWND RunningProgram::WaitForTopLevel(const std::string& title, const char* className, DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindTopLevel(processId_, title, className);
            return (found && IsWindowVisible(found)) || !Running();
        },
        milliseconds);
    return found && IsWindowVisible(found) ? found : nullptr;
}

HWND RunningProgram::WaitForDialog(DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId_))
                if (IsWindowVisible(window) && ClassNameOf(window) == kDialogClass) found = window;
            return found || !Running();
        },
        milliseconds);
    return found;
}

bool RunningProgram::WaitForExit(DWORD milliseconds, DWORD* exitCode) const {
    if (!process_ || WaitForSingleObject(process_.Get(), milliseconds) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.Get(), exitCode);
    return true;
}

bool MainControls::Locate(HWND mainWindow, std::string* missing) {
    window = mainWindow;
    const std::vector<ChildWindow> children = ChildWindows(mainWindow);
    auto groupBox = [&](const char* caption) {
        return FindChild(children, [&](const ChildWindow& child) {
            return child.parent == mainWindow && SameText(child.className.c_str(), "Button") && child.text == caption;
        });
    };
    auto inGroup = [&](HWND group, const char* className, int left, int top) {
        return FindChild(children, [&](const ChildWindow& child) {
            return group && child.parent == group && EqualsAt(child.rect, left, top) &&
                   (className ? SameText(child.className.c_str(), className) : !IsStandardClass(child.className));
        });
    };
    auto button = [&](const char* caption) {
        return FindChild(children, [&](const ChildWindow& child) {
            return SameText(child.className.c_str(), "Button") && child.text == caption;
        });
    };

    timeGroup = groupBox("关机时间");
    actionGroup = groupBox("关机操作");
    hour = inGroup(timeGroup, "Edit", 225, 68);
    minute = inGroup(timeGroup, "Edit", 260, 68);
    second = inGroup(timeGroup, "Edit", 296, 68);
    reminder = inGroup(actionGroup, "Edit", 234, 49);
    clock = inGroup(timeGroup, nullptr, 114, 8);
    status = inGroup(actionGroup, nullptr, 38, 80);
    save = button("保存设置");
    toggle = FindChild(children, [&](const ChildWindow& child) {
        return child.parent == mainWindow && SameText(child.className.c_str(), "Button") && EqualsAt(child.rect, 368, 208);
    });
    for (int day = 0; day < 7; ++day) days[day] = button(kDayNames[day]);
    const char* actionCaptions[3] = {"关闭计算机", "重启计算机", "注销计算机"};
    for (int action = 0; action < 3; ++action) actions[action] = button(actionCaptions[action]);

    const std::pair<HWND, const char*> required[] = {
        {timeGroup, "group box 关机时间"}, {actionGroup, "group box 关机操作"}, {hour, "hour box at 225,68"},
        {minute, "minute box at 260,68"},  {second, "second box at 296,68"}, {reminder, "reminder box at 234,49"},
        {clock, "clock label at 114,8"},   {status, "status label at 38,80"}, {save, "button 保存设置"},
        {toggle, "toggle button at 368,208"}};
    for (const auto& [handle, name] : required) {
        if (!handle) {
            *missing = name;
            return false;
        }
    }
    for (int day = 0; day < 7; ++day) {
        if (!days[day]) {
            *missing = std::string("check box ") + kDayNames[day];
            return false;
        }
    }
    for (int action = 0; action < 3; ++action) {
        if (!actions[action]) {
            *missing = std::string("radio button ") + actionCaptions[action];
            return false;
        }
    }
    return true;
}

bool PromptControls::Locate(HWND promptWindow, std::string* missing) {
    window = promptWindow;
    const std::vector<ChildWindow> children = ChildWindows(promptWindow);
    remaining = FindChild(children, [&](const ChildWindow& child) {
        return EqualsAt(child.rect, 40, 24) && !IsStandardClass(child.className);
    });
    auto button = [&](const char* caption) {
        return FindChild(children, [&](const ChildWindow& child) {
            return SameText(child.className.c_str(), "Button") && child.text == caption;
        });
    };
    actNow = button("立即关机");
    giveUp = button("放弃关机");
    *missing = !remaining ? "label at 40,24" : !actNow ? "button 立即关机" : !giveUp ? "button 放弃关机" : "";
    return missing->empty();
}

ProcessResources ResourcesOf(const RunningProgram& program) {
    ProcessResources figures;
    SetLastError(ERROR_SUCCESS);
    figures.gdiObjects = GetGuiResources(program.Process(), GR_GDIOBJECTS);
    figures.objectCountsKnown = GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
    figures.userObjects = GetGuiResources(program.Process(), GR_USEROBJECTS);
    for (HWND window : TopLevelWindows(program.Id())) figures.windows += 1 + ChildWindows(window).size();
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(program.Process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
        figures.privateBytes = memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage;
    return figures;
}

HWND TimerControlAt(HWND group, POINT place) {
    return FindChild(ChildWindows(group), [&](const ChildWindow& child) {
        return child.parent == group && EqualsAt(child.rect, place.x, place.y) && !IsStandardClass(child.className) &&
               !IsWindowVisible(child.handle);
    });
}

bool SendTimerTick(HWND timer) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(timer, WM_TIMER, kTimerControlId, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result) != 0;
}

int TodaysDayBox() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wDayOfWeek == 0 ? 7 : now.wDayOfWeek;
}

TimeTexts TimeFromNow(int seconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME asFileTime;
    SystemTimeToFileTime(&now, &asFileTime);
    ULARGE_INTEGER ticks;
    ticks.LowPart = asFileTime.dwLowDateTime;
    ticks.HighPart = asFileTime.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(seconds) * 10000000ULL;
    asFileTime.dwLowDateTime = ticks.LowPart;
    asFileTime.dwHighDateTime = ticks.HighPart;
    SYSTEMTIME later;
    FileTimeToSystemTime(&asFileTime, &later);
    return {std::to_string(later.wHour), std::to_string(later.wMinute), std::to_string(later.wSecond)};
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> NonBlankLines(const std::string& path) {
    std::vector<std::string> lines;
    std::istringstream bytes(ReadFileBytes(path));
    std::string line;
    while (std::getline(bytes, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.find_first_not_of(" \t") != std::string::npos) lines.push_back(line);
    }
    return lines;
}

std::string TodayWithoutAction(const std::string& reminderSeconds) {
    return std::string("[关机列表]\r\n") + kDayNames[TodaysDayBox() - 1] + "=Y\r\n[提醒时间]\r\n秒=" + reminderSeconds + "\r\n";
}

bool WaitForLastLine(const std::string& path, const std::string& line) {
    return WaitUntil([&] {
        const std::vector<std::string> lines = NonBlankLines(path);
        return !lines.empty() && lines.back() == line;
    });
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    return static_cast<bool>(file);
}

std::string InstallUrlRecorder() {
    CreateDirectoryA(kRecorderDirectory, nullptr);
    if (!CopyFileA(WindowsPath(VELMORA_URL_RECORDER_PATH).c_str(), kRecorderInstalled, FALSE) &&
        !FileExists(kRecorderInstalled))
        return "cannot copy the URL recorder to " + std::string(kRecorderInstalled);
    if (!DeleteFileA(kRecorderLog) && GetLastError() != ERROR_FILE_NOT_FOUND)
        return "cannot empty " + std::string(kRecorderLog);
    return {};
}

std::vector<std::string> RecordedUrls(DWORD processId) {
    std::vector<std::string> urls;
    const std::string prefix = std::to_string(processId) + "\t";
    for (const std::string& line : NonBlankLines(kRecorderLog))
        if (line.compare(0, prefix.size(), prefix) == 0) urls.push_back(line.substr(prefix.size()));
    return urls;
}

std::string SaveScreenshot(const std::string& name) {
    const char* configured = getenv("VELMORA_ARTIFACTS");
    const std::string directory = WindowsPath(configured && *configured ? configured : VELMORA_DEFAULT_ARTIFACTS);
    CreateDirectoryA(directory.c_str(), nullptr);
    const std::string path = directory + "\\" + name + ".bmp";
    Sleep(kPaintSettleMs);

    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    const DWORD rowBytes = ((width * 3) + 3) & ~3u;
    header.biSizeImage = rowBytes * height;

    HDC screen = GetDC(nullptr);
    ScopedDc memory(CreateCompatibleDC(screen));
    void* bits = nullptr;
    ScopedGdiObject bitmap(
        CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0));
    bool copied = false;
    if (bitmap && memory) {
        HGDIOBJ previous = SelectObject(memory.Get(), bitmap.Get());
        copied = BitBlt(memory.Get(), 0, 0, width, height, screen, 0, 0, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory.Get(), previous);
    }
    ReleaseDC(nullptr, screen);
    if (!copied) return {};

    BITMAPFILEHEADER fileHeader{};
    fileHeader.bfType = 0x4D42;  // "BM"
    fileHeader.bfOffBits = sizeof fileHeader + sizeof header;
    fileHeader.bfSize = fileHeader.bfOffBits + header.biSizeImage;
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(&fileHeader), sizeof fileHeader);
    file.write(reinterpret_cast<const char*>(&header), sizeof header);
    file.write(static_cast<const char*>(bits), header.biSizeImage);
    return file ? path : std::string();
}

std::string CurrentTestArtifactName(const std::string& suffix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "blackbox";
    if (test) name += std::string("-") + test->test_suite_name() + "-" + test->name();
    if (!suffix.empty()) name += "-" + suffix;
    for (char& c : name)
        if (c == '/' || c == '\\' || c == ':') c = '_';
    return name;
}

void BlackBoxTest::StartProgram(const std::string& directory, std::unique_ptr<RunningProgram>& program,
                                MainControls& controls) {
    StartProgram(directory, "velmora.exe", program, controls);
}

void BlackBoxTest::StartProgram(const std::string& directory, const std::string& exeName,
                                std::unique_ptr<RunningProgram>& program, MainControls& controls) {
    program = std::make_unique<RunningProgram>(directory, exeName);
    ASSERT_EQ(program->StartError(), "");
    HWND mainWindow = program->WaitForMainWindow();
    ASSERT_NE(mainWindow, nullptr) << "no visible main window within 10 s; the program "
                                   << (program->Running() ? "still runs" : "has ended");
    std::string missing;
    ASSERT_TRUE(controls.Locate(mainWindow, &missing)) << "main window control not found: " << missing;
}

void BlackBoxTest::ArmSecondsAhead(const MainControls& main, int seconds) {
    ASSERT_TRUE(IsTicked(main.days[TodaysDayBox() - 1])) << "today's box must be ticked before arming";
    const TimeTexts when = TimeFromNow(seconds);
    SetText(main.hour, when.hour);
    SetText(main.minute, when.minute);
    SetText(main.second, when.second);
    ASSERT_EQ(WindowText(main.toggle), "开启自动关机");
    Click(main.toggle);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(main.toggle) == "关闭自动关机"; }, 3000))
        << "the toggle reads " << WindowText(main.toggle);
    const std::string status = "关机时间为" + when.hour + ":" + when.minute + ":" + when.second;
    EXPECT_TRUE(WaitUntil([&] { return WindowText(main.status) == status; }, 3000))
        << "status label: " << WindowText(main.status);
}

void BlackBoxTest::WaitForPrompt(const RunningProgram& program, PromptControls& prompt) {
    HWND window = program.WaitForTopLevel(kPromptTitle, nullptr, 8000);
    ASSERT_NE(window, nullptr) << "the prompt window did not open";
    std::string missing;
    ASSERT_TRUE(prompt.Locate(window, &missing)) << "prompt window control not found: " << missing;
}

void BlackBoxTest::StartAndOpenPrompt(const TempDirectory& directory, const std::string& reminderSeconds,
                                      std::unique_ptr<RunningProgram>& program, MainControls& main,
                                      PromptControls& prompt) {
    ASSERT_TRUE(WriteFileBytes(directory.File("close.ini"), TodayWithoutAction(reminderSeconds)));
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    ASSERT_NO_FATAL_FAILURE(ArmSecondsAhead(main, 2));
    ASSERT_NO_FATAL_FAILURE(WaitForPrompt(*program, prompt));
}

void BlackBoxTest::Tick(HWND button) {
    Click(button);
    ASSERT_TRUE(WaitUntil([&] { return IsTicked(button); }, 3000)) << "'" << WindowText(button) << "' did not tick";
}

}  // namespace blackbox
