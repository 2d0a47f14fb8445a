// Start-up and the end of the process with the OS calls recorded: the main window's
// creation step and its order, the promotional page, the exit cleanup, the library
// release, OLE, FatalError's way out, the notice.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "../core/fakes.h"
#include "clock.h"
#include "message_box_notice.h"
#include "program.h"
#include "program_services_support.h"
#include "prompt_window.h"
#include "settings.h"
#include "shell.h"
#include "skin_library.h"
#include "startup.h"
#include "system_fakes.h"
#include "ui_test_support.h"
#include "win_profile_store.h"

namespace {

using system_fakes::FakeModule;
using system_fakes::MessageBoxCall;
using system_fakes::ProcessExit;

std::vector<std::string>& Timeline() { return system_fakes::record->timeline; }

constexpr char kExeDirectory[] = "C:\\Velmora";

class EndTest : public ::testing::Test {
protected:
    system_fakes::SystemRecord& Record() { return system_.Record(); }

    // SkinH_EL.dll loaded as the skin's first call would load it.
    HMODULE LoadLibraryEntry() {
        const HMODULE module = FakeModule(0x10000);
        Record().loadableLibraries[std::string(kExeDirectory) + "\\SkinH_EL.dll"] = module;
        ResolveLibraryFunction(SkinAttachResEntry(), kExeDirectory);
        return module;
    }

    system_fakes::FakeSystem system_;
};

TEST_F(EndTest, EndProgramRunsTheCleanupThenFreesTheLibraryAndUninitialisesOleOnlyOnce) {
    InitialiseOle();
    InitialiseOle();
    const HMODULE module = LoadLibraryEntry();
    int cleanups = 0;
    size_t freedWhenCleanupRan = SIZE_MAX;
    RegisterExitCleanup([&] {
        ++cleanups;
        freedWhenCleanupRan = Record().freed.size();
    });

    EXPECT_EQ(EndProgram(0), 0);
    EXPECT_EQ(EndProgram(0), 0);

    EXPECT_EQ(cleanups, 1);
    EXPECT_EQ(freedWhenCleanupRan, 0u) << "the library is released after the cleanup";
    EXPECT_EQ(Record().freed, std::vector<HMODULE>{module});
    EXPECT_EQ(Record().oleInitialises, 1);
    EXPECT_EQ(Record().oleUninitialises, 1);
    EXPECT_EQ(SkinAttachResEntry().module, nullptr);
    EXPECT_EQ(SkinAttachResEntry().address, nullptr);
    EXPECT_TRUE(Record().exits.empty());
}

TEST_F(EndTest, OleIsUninitialisedExactlyWhenItsInitialisationSucceeded) {
    struct Case {
        HRESULT initialiseResult;
        int uninitialises;
    };
    const Case cases[] = {{S_OK, 1}, {S_FALSE, 1}, {RPC_E_CHANGED_MODE, 0}, {E_OUTOFMEMORY, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<unsigned long>(c.initialiseResult));
        Record() = system_fakes::SystemRecord{};
        Record().oleInitialiseResult = c.initialiseResult;

        InitialiseOle();
        EndProgram(0);
        EndProgram(0);

        EXPECT_EQ(Record().oleUninitialises, c.uninitialises);
    }
}

TEST_F(EndTest, FatalErrorShowsItsBoxSkipsTheCleanupReleasesAndExitsWithMinusOne) {
    InitialiseOle();
    const HMODULE module = LoadLibraryEntry();
    int cleanups = 0;
    RegisterExitCleanup([&] { ++cleanups; });

    EXPECT_THROW(FatalError("主窗口无法创建"), ProcessExit);

    ASSERT_EQ(Record().boxes.size(), 1u);
    const MessageBoxCall& box = Record().boxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, "主窗口无法创建");
    EXPECT_FALSE(box.title.empty());
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(Record().exits, std::vector<UINT>{static_cast<UINT>(-1)});
    EXPECT_EQ(Record().freed, std::vector<HMODULE>{module});
    EXPECT_EQ(Record().oleUninitialises, 1);

    EndProgram(0);
    EXPECT_EQ(cleanups, 0) << "FatalError clears the registration";
    EXPECT_EQ(Record().freed.size(), 1u);
    EXPECT_EQ(Record().oleUninitialises, 1);
}

TEST_F(EndTest, NoticeIsATaskModalBoxTitledInformation) {
    MessageBoxNotice notice;
    notice.ShowMessage(kInvalidTimeMessage);

    ASSERT_EQ(Record().boxes.size(), 1u);
    const MessageBoxCall& box = Record().boxes[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.text, kInvalidTimeMessage);
    EXPECT_EQ(box.title, "\xD0\xC5\xCF\xA2\xA3\xBA") << "信息： in code page 936";
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_TASKMODAL));
}

// ---------------------------------------------------------------------------------------
// Start-up

struct ShellCall {
    HWND owner;
    std::string verb, file;
    bool noParameters, noDirectory;
    INT show;
};

struct FindCall {
    bool noParent, noChildAfter, noClass;
    std::string title;
};

struct ShellRecord {
    HWND explorerWindow = nullptr;   // what FindWindowExA finds
    std::vector<FindCall> finds;
    std::vector<ShellCall> opens;
};

ShellRecord* shell = nullptr;

HWND WINAPI FakeFindWindowEx(HWND parent, HWND childAfter, LPCSTR className, LPCSTR title) {
    Timeline().push_back("FindWindowExA");
    shell->finds.push_back({parent == nullptr, childAfter == nullptr, className == nullptr, title ? title : ""});
    return shell->explorerWindow;
}

HINSTANCE WINAPI FakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                  INT show) {
    Timeline().push_back("ShellExecuteA");
    shell->opens.push_back({owner, verb ? verb : "", file ? file : "", parameters == nullptr, directory == nullptr,
                            show});
    return reinterpret_cast<HINSTANCE>(SE_ERR_NOASSOC);   // nothing opened: start-up must not mind
}

class TimelineClock final : public Clock {
public:
    DateTime Now() override {
        Timeline().push_back("clock");
        return MakeDateTime(2024, 5, 6, 22, 30, 0);
    }
};

class TimelineProfile final : public ProfileStore {
public:
    Text GetString(const Text& path, const Text& section, const Text& key, const Text& defaultText) override {
        Timeline().push_back("read close.ini");
        return real_.GetString(path, section, key, defaultText);
    }
    bool PutString(const Text& path, const Text& section, const Text& key, const Text& value) override {
        Timeline().push_back("write close.ini");
        return real_.PutString(path, section, key, value);
    }

private:
    WinProfileStore real_;
};

// Each step seen once, however many calls it made.
std::vector<std::string> Steps(const std::vector<std::string>& timeline) {
    std::vector<std::string> steps;
    for (const std::string& entry : timeline)
        if (steps.empty() || steps.back() != entry) steps.push_back(entry);
    return steps;
}

class StartupTest : public ::testing::Test {
protected:
    StartupTest() : savedShell_(Shell()) {
        shell = &shellRecord_;
        ProcessApi().findWindowEx = &FakeFindWindowEx;
        Shell().shellExecute = &FakeShellExecute;
    }
    ~StartupTest() override {
        if (HWND handle = main.GetWindow().Handle()) DestroyWindow(handle);
        ui_test::PumpMessages();
        const std::string library = directory.Path() + "\\SkinH_EL.dll";
        SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(library.c_str());
        Shell() = savedShell_;
        shell = nullptr;
    }
    void SetUp() override {
        ASSERT_EQ(ProgramWindowCount(), 0u) << "a window of an earlier test is still open";
        SetMessageLoopFlag(false);
    }

    system_fakes::SystemRecord& Record() { return system_.Record(); }
    void MakeLibraryLoadable() {
        Record().loadableLibraries[directory.Path() + "\\SkinH_EL.dll"] = FakeModule(0x10000);
    }

    system_fakes::FakeSystem system_;
    ShellFunctions savedShell_;
    ShellRecord shellRecord_;
    program_test::SettingsDirectory directory;
    TimelineClock clock;
    TimelineProfile profile;
    RecordingNotice notice;
    program_test::ObservedPowerRunner power;
    ProgramServices services{clock, profile, notice, power, directory.Path()};
    MainWindow main{services};
};

TEST_F(StartupTest, CreationStepSkinsOpensThePageSetsTheClockThenLoadsTheSettings) {
    MakeLibraryLoadable();
    main.SetCreatedHandler([this] { OnMainWindowCreated(main, directory.Path()); });

    ASSERT_TRUE(LoadWindow(main.GetWindow()));

    EXPECT_EQ(Steps(Timeline()), (std::vector<std::string>{"SkinH_AttachRes", "FindWindowExA", "ShellExecuteA",
                                                            "clock", "read close.ini"}));
    ASSERT_EQ(Record().attachCalls.size(), 1u);
    EXPECT_EQ(Record().attachCalls[0].length, 13192) << "skin 9";
    ASSERT_EQ(shellRecord_.opens.size(), 1u);
    EXPECT_EQ(shellRecord_.opens[0].file, ConcatText({"http://", kPromoHost, "/wb008.htm?from=143705&gid=1"}));
    EXPECT_EQ(main.GetWindow().ControlText("标签2"), ClockLabelText(clock));
    EXPECT_EQ(main.GetWindow().ControlText("编辑框1"), "00") << "the settings' default replaced the layout's 21";
    EXPECT_TRUE(Record().boxes.empty());
}

TEST_F(StartupTest, WithoutTheLibraryTheCreationStepEndsBeforeThePageAndTheSettings) {
    EXPECT_THROW(OnMainWindowCreated(main, directory.Path()), ProcessExit);

    EXPECT_TRUE(Timeline().empty()) << "no skin call, no page, no clock, no close.ini";
    EXPECT_EQ(Record().exits, std::vector<UINT>{static_cast<UINT>(-1)});
    ASSERT_EQ(Record().boxes.size(), 1u);
    EXPECT_NE(Record().boxes[0].text.find("SkinH_EL.dll"), std::string::npos);
    EXPECT_NE(Record().boxes[0].text.find("SkinH_AttachRes"), std::string::npos);
}

TEST_F(StartupTest, PageIsOpenedOwnedByARunningInternetExplorerIfThereIsOne) {
    const HWND explorer = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x4242));
    for (const HWND found : {explorer, HWND{nullptr}}) {
        SCOPED_TRACE(found ? "Internet Explorer open" : "no Internet Explorer");
        shellRecord_ = ShellRecord{};
        shellRecord_.explorerWindow = found;

        OpenUrl("http://promo.example.com/page?a=1&b=%20");

        ASSERT_EQ(shellRecord_.finds.size(), 1u);
        const FindCall& find = shellRecord_.finds[0];
        EXPECT_TRUE(find.noParent && find.noChildAfter && find.noClass);
        EXPECT_EQ(find.title, "Microsoft Internet Explorer");
        ASSERT_EQ(shellRecord_.opens.size(), 1u);
        const ShellCall& open = shellRecord_.opens[0];
        EXPECT_EQ(open.owner, found);
        EXPECT_EQ(open.verb, "open");
        EXPECT_EQ(open.file, "http://promo.example.com/page?a=1&b=%20");
        EXPECT_TRUE(open.noParameters && open.noDirectory);
        EXPECT_EQ(open.show, SW_SHOWNORMAL);
    }
}

TEST_F(StartupTest, ExitCleanupReleasesBothWindowsDirectoryCopiesAtTheEnd) {
    main.Settings().LoadSettings(main, directory.Path());
    std::vector<std::string> promptLog;
    RecordingCountdownView promptView(promptLog);
    main.Prompt().GetCountdown().OnPromptCreated(promptView, directory.Path());
    ASSERT_FALSE(main.Settings().RunDirectoryCopy().empty());
    ASSERT_FALSE(main.Prompt().GetCountdown().RunDirectoryCopy().empty());
    RegisterExitCleanup([this] { ExitCleanup(main); });

    EndProgram(0);

    EXPECT_TRUE(main.Settings().RunDirectoryCopy().empty());
    EXPECT_TRUE(main.Prompt().GetCountdown().RunDirectoryCopy().empty());
}

}  // namespace
