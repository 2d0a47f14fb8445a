// The end of the process and the boxes it shows, with the OS calls recorded: the exit
// cleanup, the library release, OLE, FatalError's way out, the notice.
#include <gtest/gtest.h>

#include <windows.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "message_box_notice.h"
#include "program.h"
#include "settings.h"
#include "skin_library.h"
#include "system_fakes.h"

namespace {

using system_fakes::FakeModule;
using system_fakes::MessageBoxCall;
using system_fakes::ProcessExit;

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

}  // namespace
