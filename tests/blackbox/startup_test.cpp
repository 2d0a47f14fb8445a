// Starting the real program: the window it shows first, the library it writes beside
// itself, the page it opens, and the fatal end when the library cannot be had.
#include <cstring>

#include "program_driver.h"

namespace blackbox {
namespace {

constexpr char kLibraryName[] = "SkinH_EL.dll";
constexpr char kPagePathAndQuery[] = "/wb008.htm?from=143705&gid=1";

// Wine reports every regular file as archive whatever was set, so that bit is left out.
DWORD AttributesBesidesArchive(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

// The page is opened once per start; a second open would show within this grace time.
constexpr DWORD kSecondOpenGraceMs = 700;

using StartupTest = BlackBoxTest;

std::vector<std::string> UrlsOpenedBy(const RunningProgram& program) {
    WaitUntil([&] { return !RecordedUrls(program.Id()).empty(); });
    Sleep(kSecondOpenGraceMs);
    return RecordedUrls(program.Id());
}

void ExpectPageOpenedOnce(const RunningProgram& program) {
    const std::vector<std::string> urls = UrlsOpenedBy(program);
    ASSERT_EQ(urls.size(), 1u) << "the promotional page must be opened exactly once per start";
    EXPECT_EQ(urls[0].rfind("http://", 0), 0u) << urls[0];
    const std::string& url = urls[0];
    ASSERT_GE(url.size(), strlen(kPagePathAndQuery));
    EXPECT_EQ(url.substr(url.size() - strlen(kPagePathAndQuery)), kPagePathAndQuery) << url;
}

TEST_F(StartupTest, FirstStartInAnEmptyDirectoryShowsTheLoadedDefaultsAndWritesTheHiddenLibrary) {
    TempDirectory directory;
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    EXPECT_NE(SaveScreenshot(CurrentTestArtifactName()), "") << "the screenshot of the first start was not saved";

    const RECT outer = OuterRect(main.window);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - kMainWidth) / 2);
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - kMainHeight) / 2);
    EXPECT_EQ(outer.right - outer.left, kMainWidth);
    EXPECT_EQ(outer.bottom - outer.top, kMainHeight);
    EXPECT_TRUE(HasStyle(main.window, WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
    EXPECT_FALSE(HasStyle(main.window, WS_MAXIMIZEBOX)) << "the main window has no maximise button";
    EXPECT_FALSE(HasStyle(main.window, WS_THICKFRAME)) << "the main window cannot be resized";
    EXPECT_FALSE(HasExStyle(main.window, WS_EX_TOPMOST));
    EXPECT_FALSE(IsIconic(main.window));

    // close.ini is missing, so the load put its defaults over the layout's "21" and "10".
    EXPECT_EQ(WindowText(main.hour), "00");
    EXPECT_EQ(WindowText(main.minute), "00");
    EXPECT_EQ(WindowText(main.second), "00");
    EXPECT_EQ(WindowText(main.reminder), "30");
    EXPECT_EQ(WindowText(main.status), "");
    EXPECT_EQ(WindowText(main.toggle), "开启自动关机");
    for (HWND day : main.days) EXPECT_FALSE(IsTicked(day)) << WindowText(day);
    EXPECT_TRUE(IsTicked(main.actions[0]));
    EXPECT_FALSE(IsTicked(main.actions[1]));
    EXPECT_FALSE(IsTicked(main.actions[2]));

    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string yearPrefix = std::to_string(now.wYear) + "年";
    const std::string clock = WindowText(main.clock);
    EXPECT_EQ(clock.rfind(yearPrefix, 0), 0u) << "clock label: " << clock;

    const std::string library = directory.File(kLibraryName);
    EXPECT_EQ(ReadFileBytes(library).size(), kLibrarySize);
    EXPECT_EQ(AttributesBesidesArchive(library), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_FALSE(FileExists(directory.File("close.ini"))) << "a start reads close.ini, it never writes it";

    ExpectPageOpenedOnce(*program);
    EXPECT_TRUE(program->Running());
}

TEST_F(StartupTest, LaterStartKeepsTheExistingLibraryAsItIs) {
    TempDirectory directory;
    const std::string library = directory.File(kLibraryName);
    {
        std::unique_ptr<RunningProgram> first;
        MainControls main;
        ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), first, main));
    }
    ASSERT_TRUE(FileExists(library));
    const std::string bytes = ReadFileBytes(library);
    ASSERT_TRUE(SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_NORMAL));
    ASSERT_EQ(InstallUrlRecorder(), "");

    std::unique_ptr<RunningProgram> second;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), second, main));
    EXPECT_EQ(AttributesBesidesArchive(library), 0u)
        << "an existing library is neither rewritten nor made hidden";
    EXPECT_EQ(ReadFileBytes(library), bytes);
    ExpectPageOpenedOnce(*second);
}

TEST_F(StartupTest, DirectoryInPlaceOfTheLibraryEndsWithTheFatalErrorBeforeAnythingElse) {
    TempDirectory directory;
    const std::string library = directory.File(kLibraryName);
    ASSERT_TRUE(CreateDirectoryA(library.c_str(), nullptr));
    const std::string settings = "[提醒时间]\r\n秒=7\r\n";
    ASSERT_TRUE(WriteFileBytes(directory.File("close.ini"), settings));

    RunningProgram program(directory.Path());
    ASSERT_EQ(program.StartError(), "");
    HWND box = program.WaitForDialog();
    ASSERT_NE(box, nullptr) << "no error box; the program " << (program.Running() ? "still runs" : "has ended");
    SaveScreenshot(CurrentTestArtifactName());
    const std::string text = MessageBoxText(box);
    EXPECT_NE(text.find(kLibraryName), std::string::npos) << text;
    EXPECT_NE(text.find("SkinH_AttachRes"), std::string::npos) << text;
    EXPECT_EQ(program.WaitForMainWindow(0), nullptr) << "the main window is never shown after the fatal error";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(5000, &exitCode)) << "the program did not end after its error box";
    EXPECT_EQ(exitCode, 0xFFFFFFFFu) << "exit code -1";
    EXPECT_TRUE(RecordedUrls(program.Id()).empty()) << "the page is not opened when the library is missing";
    EXPECT_EQ(GetFileAttributesA(library.c_str()) & FILE_ATTRIBUTE_DIRECTORY, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(ReadFileBytes(directory.File("close.ini")), settings);
}

TEST_F(StartupTest, DirectoryWithChineseNameHoldsTheLibraryAndTheSettings) {
    TempDirectory directory("测试目录");
    ASSERT_FALSE(directory.Path().empty());
    std::unique_ptr<RunningProgram> program;
    MainControls main;
    ASSERT_NO_FATAL_FAILURE(StartProgram(directory.Path(), program, main));
    EXPECT_EQ(ReadFileBytes(directory.File(kLibraryName)).size(), kLibrarySize);

    SetText(main.reminder, "12");
    Click(main.save);
    const std::string settings = directory.File("close.ini");
    EXPECT_TRUE(WaitForLastLine(settings, "秒=12")) << "保存设置 did not write close.ini beside the program";
}

}  // namespace
}  // namespace blackbox
