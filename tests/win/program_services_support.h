// What the main and prompt window tests give the windows: a settable clock, the real
// profile functions on close.ini in a fresh directory, a recording notice and a power
// runner that records instead of acting.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "../core/fakes.h"
#include "main_window.h"
#include "ui_test_support.h"
#include "win_profile_store.h"

namespace program_test {

// A fresh directory under the temporary directory, removed with close.ini in it.
class SettingsDirectory {
public:
    SettingsDirectory() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (unsigned serial = GetTickCount();; ++serial) {
            path_ = std::string(base) + "velmora-window-" + std::to_string(serial);
            if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~SettingsDirectory() {
        DeleteFileA(SettingsFile().c_str());
        RemoveDirectoryA(path_.c_str());
    }
    SettingsDirectory(const SettingsDirectory&) = delete;
    SettingsDirectory& operator=(const SettingsDirectory&) = delete;

    // Without a trailing backslash, as ExecutableDirectory is.
    const std::string& Path() const { return path_; }
    std::string SettingsFile() const { return path_ + "\\close.ini"; }

    void Write(const char* section, const char* key, const char* value) const {
        WritePrivateProfileStringA(section, key, value, SettingsFile().c_str());
    }
    // The value, or "<missing>" when the key is absent.
    std::string Read(const char* section, const char* key) const {
        char value[256];
        GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, SettingsFile().c_str());
        return value;
    }
    std::string Contents() const {
        std::string bytes;
        HANDLE file = CreateFileA(SettingsFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        if (file == INVALID_HANDLE_VALUE) return bytes;
        char chunk[512];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
        CloseHandle(file);
        return bytes;
    }

private:
    std::string path_;
};

// Records each request; `onRun` lets a test look at the windows at that moment.
class ObservedPowerRunner final : public PowerActionRunner {
public:
    bool RunPowerAction(int32_t code, bool force) override {
        codes.push_back(force ? code : -code);
        if (onRun) onRun();
        return true;
    }
    std::vector<int32_t> codes;   // forced requests as they are, others negated
    std::function<void()> onRun;
};

struct TestServices {
    SettingsDirectory directory;
    FakeClock clock;
    WinProfileStore profile;
    RecordingNotice notice;
    ObservedPowerRunner power;
    ProgramServices services{clock, profile, notice, power, directory.Path()};
};

// Loads the main window with the creation step start-up gives it, as far as the windows
// see it: the boxes filled from close.ini.
inline bool LoadWithSettings(MainWindow& main, TestServices& test) {
    main.SetCreatedHandler([&main, &test] { main.Settings().LoadSettings(main, test.services.executableDirectory); });
    return LoadWindow(main.GetWindow());
}

// Each test starts with no window of the program open and leaves nothing queued.
class ProgramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(ProgramWindowCount(), 0u) << "a window of an earlier test is still open";
        SetMessageLoopFlag(false);
    }
    void TearDown() override { ui_test::PumpMessages(); }

    TestServices test;
};

// The outer rectangle has the size and stands centred on the screen by integer division.
inline void ExpectCentredOuterSize(HWND window, int width, int height) {
    const RECT outer = ui_test::OuterRect(window);
    EXPECT_EQ(outer.right - outer.left, width);
    EXPECT_EQ(outer.bottom - outer.top, height);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
}

inline void ExpectRectInParent(HWND control, const RECT& expected) {
    const RECT rect = ui_test::RectInParent(control);
    EXPECT_EQ(rect.left, expected.left);
    EXPECT_EQ(rect.top, expected.top);
    EXPECT_EQ(rect.right, expected.right);
    EXPECT_EQ(rect.bottom, expected.bottom);
}

inline std::vector<HWND> ChildrenTopDown(HWND parent, const char* skippedClass = nullptr) {
    std::vector<HWND> children;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        if (skippedClass && lstrcmpiA(className, skippedClass) == 0) continue;
        children.push_back(child);
    }
    return children;
}

inline std::string ClassOf(HWND handle) {
    char className[64] = "";
    GetClassNameA(handle, className, sizeof className);
    return className;
}

inline LONG_PTR StyleOf(HWND handle) { return GetWindowLongPtrA(handle, GWL_STYLE); }
inline LONG_PTR ExStyleOf(HWND handle) { return GetWindowLongPtrA(handle, GWL_EXSTYLE); }

}  // namespace program_test
