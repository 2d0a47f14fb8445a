// Run only by versions.sh, in a throwaway Wine prefix set to report one Windows version
// (VELMORA_EXPECTED_WINDOWS: "5.1", "6.1", "10.0", or "win98" for the 9x platform): the
// version this process is told, and the short road of the program there: first start,
// save, a prompt given up.
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "program_driver.h"

namespace blackbox {
namespace {

constexpr char kExpectedVersionVariable[] = "VELMORA_EXPECTED_WINDOWS";
constexpr char kNonNtExpectation[] = "win98";

// The version the system reports, in GetVersionExA's terms.
struct ReportedVersion {
    DWORD platform = 0;
    DWORD major = 0;
    DWORD minor = 0;
    DWORD build = 0;
};

// RtlGetVersion tells the configured version; GetVersionExA may cap it for programs
// without a compatibility manifest, as Windows 8.1 and later do.
ReportedVersion TrueVersion() {
    using RtlGetVersionFunction = LONG(WINAPI*)(OSVERSIONINFOW*);
    static const auto rtlGetVersion = reinterpret_cast<RtlGetVersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

ReportedVersion VersionOfGetVersionEx() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return {};
    return {info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

std::string Describe(const ReportedVersion& version) {
    return "platform=" + std::to_string(version.platform) + " version=" + std::to_string(version.major) + "." +
           std::to_string(version.minor) + " build=" + std::to_string(version.build);
}

std::string ExpectedVersion() {
    const char* expected = getenv(kExpectedVersionVariable);
    return expected ? expected : "";
}

class WindowsVersion : public BlackBoxTest {};

TEST_F(WindowsVersion, ThisProcessIsToldTheConfiguredVersion) {
    const std::string expected = ExpectedVersion();
    if (expected.empty()) GTEST_SKIP() << kExpectedVersionVariable << " is not set";
    const ReportedVersion told = VersionOfGetVersionEx();
    const ReportedVersion configured = TrueVersion();
    printf("windows version: GetVersionExA %s; RtlGetVersion %s\n", Describe(told).c_str(),
           Describe(configured).c_str());
    RecordProperty("GetVersionExA", Describe(told));
    RecordProperty("RtlGetVersion", Describe(configured));
    if (expected == kNonNtExpectation) {
        EXPECT_EQ(told.platform, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS)) << "not told a Windows 9x platform";
        return;
    }
    EXPECT_EQ(told.platform, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    EXPECT_EQ(std::to_string(configured.major) + "." + std::to_string(configured.minor), expected);
}

TEST_F(WindowsVersion, FirstStartSaveAndAPromptGivenUp) {
    {
        TempDirectory directory;
        std::unique_ptr<RunningProgram> program;
        MainControls main;
        ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
        SaveScreenshot(CurrentTestArtifactName(ExpectedVersion()));
        EXPECT_EQ(WindowText(main.hour), "00");
        EXPECT_EQ(WindowText(main.minute), "00");
        EXPECT_EQ(WindowText(main.second), "00");
        EXPECT_EQ(WindowText(main.reminder), "30");
        EXPECT_EQ(WindowText(main.toggle), "开启自动关机");
        EXPECT_TRUE(IsTicked(main.actions[0]));

        ASSERT_NO_FATAL_FAILURE(Tick(main.days[4]));
        SetText(main.reminder, "12");
        Click(main.save);
        const std::string settings = directory.File("close.ini");
        EXPECT_TRUE(WaitForLastLine(settings, "秒=12")) << "close.ini was not saved";
        const std::vector<std::string> lines = NonBlankLines(settings);
        EXPECT_NE(std::find(lines.begin(), lines.end(), "星期五=Y"), lines.end());
        EXPECT_NE(std::find(lines.begin(), lines.end(), "关机方式=1"), lines.end());
        EXPECT_TRUE(program->Running());
    }

    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    PromptControls prompt;
    ASSERT_NO_FATAL_FAILURE(StartAndOpenPrompt(directory, "20", program, main, prompt));
    EXPECT_TRUE(WaitUntil([&] { return WindowText(prompt.remaining).rfind("剩余时间：", 0) == 0; }, 3000))
        << WindowText(prompt.remaining);
    Click(prompt.giveUp);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(prompt.window); }, 3000)) << "the prompt did not close";
    EXPECT_TRUE(program->Running());
}

}  // namespace
}  // namespace blackbox
