// The skinning library: its installation beside the executable (real files in a scratch
// directory, with the file calls wrapped to record them or to break a write off), the
// resolution of its export through a recording loader, and the skin handed to it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "../../resources/resource_ids.h"
#include "resource_bytes.h"
#include "skin_library.h"
#include "system_fakes.h"

namespace {

using system_fakes::AttachCall;
using system_fakes::FakeModule;
using system_fakes::FakeSystem;
using system_fakes::ProcessExit;

constexpr size_t kLibraryImageBytes = 88576;

class ScratchDirectory {
public:
    ScratchDirectory() {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        for (DWORD n = GetTickCount();; ++n) {
            path_ = std::string(base) + "velmora-skin-" + std::to_string(n);
            if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        }
    }
    ~ScratchDirectory() {
        const std::string library = LibraryPath();
        SetFileAttributesA(library.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!DeleteFileA(library.c_str())) RemoveDirectoryA(library.c_str());
        RemoveDirectoryA(path_.c_str());
    }
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    const std::string& Path() const { return path_; }
    std::string LibraryPath() const { return path_ + "\\SkinH_EL.dll"; }

private:
    std::string path_;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Wine reports every regular file as an archive, whatever was set; the rest must be
// exactly what the program set.
DWORD AttributesBesidesArchive(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & ~static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE);
}

std::string ResourceText(int id) {
    const ByteView bytes = ResourceBytes(id);
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

// ---------------------------------------------------------------------------------------
// Installation

struct CreateCall {
    std::string path;
    DWORD access, share, disposition, attributes;
};

struct FileRecord {
    bool createFails = false;
    DWORD writeLimit = MAXDWORD;   // most bytes one WriteFile takes
    size_t failAfter = SIZE_MAX;   // bytes after which every WriteFile fails
    size_t written = 0;
    std::vector<CreateCall> creates;
    std::vector<std::string> attributeChanges;
    std::vector<DWORD> attributesSet;
    std::vector<std::string> deletions;
};

FileRecord* files = nullptr;

HANDLE WINAPI RecordCreateFile(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD attributes, HANDLE templateFile) {
    files->creates.push_back({path, access, share, disposition, attributes});
    if (files->createFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileA(path, access, share, security, disposition, attributes, templateFile);
}

BOOL WINAPI LimitedWriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (files->written >= files->failAfter) {
        *written = 0;
        SetLastError(ERROR_DISK_FULL);
        return FALSE;
    }
    const DWORD taken = static_cast<DWORD>(
        std::min<size_t>({size, files->writeLimit, files->failAfter - files->written}));
    const BOOL result = ::WriteFile(file, data, taken, written, overlapped);
    files->written += *written;
    return result;
}

BOOL WINAPI RecordSetFileAttributes(LPCSTR path, DWORD attributes) {
    files->attributeChanges.push_back(path);
    files->attributesSet.push_back(attributes);
    return ::SetFileAttributesA(path, attributes);
}

BOOL WINAPI RecordDeleteFile(LPCSTR path) {
    files->deletions.push_back(path);
    return ::DeleteFileA(path);
}

class InstallTest : public ::testing::Test {
protected:
    InstallTest() : saved_(SkinLibraryApi()) {
        files = &record_;
        SkinLibraryApi().createFile = &RecordCreateFile;
        SkinLibraryApi().writeFile = &LimitedWriteFile;
        SkinLibraryApi().setFileAttributes = &RecordSetFileAttributes;
        SkinLibraryApi().deleteFile = &RecordDeleteFile;
    }
    ~InstallTest() override {
        SkinLibraryApi() = saved_;
        files = nullptr;
    }

    FileRecord& Files() { return record_; }

    ScratchDirectory directory_;

private:
    SkinLibraryFunctions saved_;
    FileRecord record_;
};

TEST_F(InstallTest, AnythingNamedLikeTheLibraryIsLeftAsItIs) {
    struct Case {
        const char* name;
        bool isDirectory;
        DWORD attributes;
    };
    const Case cases[] = {
        {"plain file", false, FILE_ATTRIBUTE_ARCHIVE},
        {"hidden file", false, FILE_ATTRIBUTE_HIDDEN},
        {"hidden read-only system file", false, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM},
        {"directory", true, FILE_ATTRIBUTE_DIRECTORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory directory;
        const std::string path = directory.LibraryPath();
        if (c.isDirectory) {
            ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr));
        } else {
            std::ofstream(path, std::ios::binary) << "not the library";
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), c.attributes));
        }
        const DWORD attributesBefore = GetFileAttributesA(path.c_str());
        Files() = FileRecord{};

        InstallSkinLibrary(directory.Path());

        EXPECT_TRUE(Files().creates.empty());
        EXPECT_TRUE(Files().attributeChanges.empty());
        EXPECT_EQ(GetFileAttributesA(path.c_str()), attributesBefore);
        if (!c.isDirectory) {
            EXPECT_EQ(ReadBytes(path), "not the library");
        }
    }
}

TEST_F(InstallTest, FirstInstallWritesTheWholeImageMarkedHiddenOnly) {
    InstallSkinLibrary(directory_.Path());

    const std::string path = directory_.LibraryPath();
    ASSERT_EQ(Files().creates.size(), 1u);
    const CreateCall& create = Files().creates[0];
    EXPECT_EQ(create.path, path);
    EXPECT_EQ(create.access, static_cast<DWORD>(GENERIC_WRITE));
    EXPECT_EQ(create.share, 0u) << "no one may read a half-written library";
    EXPECT_EQ(create.disposition, static_cast<DWORD>(CREATE_ALWAYS));
    EXPECT_EQ(create.attributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));

    const std::string written = ReadBytes(path);
    EXPECT_EQ(written.size(), kLibraryImageBytes);
    EXPECT_TRUE(written == ResourceText(IDR_SKIN_LIBRARY_IMAGE));
    EXPECT_EQ(AttributesBesidesArchive(path), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(Files().attributeChanges, std::vector<std::string>{path});
}

TEST_F(InstallTest, OnlyAWholeImageIsLeftBehindAndTheAttributeIsSetEitherWay) {
    struct Case {
        const char* name;
        bool createFails;
        DWORD writeLimit;
        size_t failAfter;
        bool wholeFileLeft;
    };
    const Case cases[] = {
        {"WriteFile taking 4096 bytes a call", false, 4096, SIZE_MAX, true},
        {"WriteFile failing after 4096 bytes", false, MAXDWORD, 4096, false},
        {"WriteFile failing at once", false, MAXDWORD, 0, false},
        {"WriteFile succeeding without taking a byte", false, 0, SIZE_MAX, false},
        {"CreateFileA failing", true, MAXDWORD, SIZE_MAX, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDirectory directory;
        const std::string path = directory.LibraryPath();
        Files() = FileRecord{};
        Files().createFails = c.createFails;
        Files().writeLimit = c.writeLimit;
        Files().failAfter = c.failAfter;

        InstallSkinLibrary(directory.Path());

        if (c.wholeFileLeft) {
            EXPECT_TRUE(ReadBytes(path) == ResourceText(IDR_SKIN_LIBRARY_IMAGE));
            EXPECT_EQ(AttributesBesidesArchive(path), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
        } else {
            EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
        }
        EXPECT_EQ(Files().attributesSet, std::vector<DWORD>{FILE_ATTRIBUTE_HIDDEN});
    }
}

TEST_F(InstallTest, AfterAWriteBrokeOffTheNextStartWritesTheLibraryWhole) {
    Files().failAfter = kLibraryImageBytes / 2;
    InstallSkinLibrary(directory_.Path());
    EXPECT_EQ(Files().deletions, std::vector<std::string>{directory_.LibraryPath()});

    Files() = FileRecord{};
    InstallSkinLibrary(directory_.Path());

    EXPECT_EQ(ReadBytes(directory_.LibraryPath()).size(), kLibraryImageBytes);
    EXPECT_TRUE(Files().deletions.empty());
}

// ---------------------------------------------------------------------------------------
// Resolution and the call

class LibraryTest : public ::testing::Test {
protected:
    std::string ExeDirectoryLibrary() const { return directory_.LibraryPath(); }
    system_fakes::SystemRecord& Record() { return system_.Record(); }

    ScratchDirectory directory_;
    FakeSystem system_;
};

TEST_F(LibraryTest, ExportIsLookedUpInTheExeDirectoryFirstThenBySystemSearch) {
    const HMODULE exeDirectoryModule = FakeModule(0x10000), searchedModule = FakeModule(0x20000);
    struct Case {
        const char* name;
        bool exeDirectoryLoads;
        bool searchLoads;
        bool exportFound;
        std::vector<std::string> loads;
        HMODULE module;      // the one kept, or the one freed again
        bool resolved;
    };
    const std::string exeDirectoryLibrary = ExeDirectoryLibrary();
    const std::vector<Case> cases = {
        {"library in the exe directory", true, true, true, {exeDirectoryLibrary}, exeDirectoryModule, true},
        {"library only on the search path", false, true, true, {exeDirectoryLibrary, "SkinH_EL.dll"},
         searchedModule, true},
        {"library nowhere", false, false, true, {exeDirectoryLibrary, "SkinH_EL.dll"}, nullptr, false},
        {"export missing", true, true, false, {exeDirectoryLibrary}, exeDirectoryModule, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EndProgram(0);
        Record() = system_fakes::SystemRecord{};
        if (c.exeDirectoryLoads) Record().loadableLibraries[exeDirectoryLibrary] = exeDirectoryModule;
        if (c.searchLoads) Record().loadableLibraries["SkinH_EL.dll"] = searchedModule;
        Record().exportFound = c.exportFound;
        LibraryFunctionEntry& entry = SkinAttachResEntry();

        if (c.resolved) {
            const FARPROC address = ResolveLibraryFunction(entry, directory_.Path());
            EXPECT_EQ(reinterpret_cast<void*>(address), reinterpret_cast<void*>(&system_fakes::RecordAttachRes));
            EXPECT_EQ(entry.module, c.module);
            EXPECT_TRUE(Record().freed.empty());
            EXPECT_TRUE(Record().boxes.empty());

            const size_t loadsBefore = Record().loads.size();
            EXPECT_EQ(ResolveLibraryFunction(entry, directory_.Path()), address);
            EXPECT_EQ(Record().loads.size(), loadsBefore) << "the address is cached";
        } else {
            EXPECT_THROW(ResolveLibraryFunction(entry, directory_.Path()), ProcessExit);
            EXPECT_EQ(Record().exits, std::vector<UINT>{static_cast<UINT>(-1)});
            ASSERT_EQ(Record().boxes.size(), 1u);
            const system_fakes::MessageBoxCall& box = Record().boxes[0];
            EXPECT_EQ(box.owner, nullptr);
            EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONERROR));
            EXPECT_NE(box.text.find("SkinH_EL.dll"), std::string::npos) << box.text;
            EXPECT_NE(box.text.find("SkinH_AttachRes"), std::string::npos) << box.text;
            EXPECT_EQ(entry.module, nullptr);
            EXPECT_EQ(entry.address, nullptr);
            const std::vector<HMODULE> freed = c.module ? std::vector<HMODULE>{c.module} : std::vector<HMODULE>{};
            EXPECT_EQ(Record().freed, freed) << "a module without the export goes";
        }
        EXPECT_EQ(Record().loads, c.loads);
        const bool anyLoaded = c.exeDirectoryLoads || c.searchLoads;
        EXPECT_EQ(Record().lookups, anyLoaded ? std::vector<std::string>{"SkinH_AttachRes"} : std::vector<std::string>{});
    }
}

TEST_F(LibraryTest, EmbeddedSkinIsHandedOverAsACopyAndOtherNumbersAsNoSkin) {
    struct Case {
        int32_t skin;
        int expectedLength;   // the skin table's size, 0 for no skin
    };
    const Case cases[] = {{9, 13192}, {1, 15574}, {33, 20275}, {0, 0}, {34, 0}, {-1, 0}, {INT32_MIN, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE("skin " + std::to_string(c.skin));
        EndProgram(0);
        Record() = system_fakes::SystemRecord{};
        Record().loadableLibraries[ExeDirectoryLibrary()] = FakeModule(0x10000);

        ApplyEmbeddedSkin(c.skin, directory_.Path());

        ASSERT_EQ(Record().attachCalls.size(), 1u);
        const AttachCall& call = Record().attachCalls[0];
        EXPECT_EQ(call.length, c.expectedLength);
        EXPECT_EQ(call.skinIsNull, c.expectedLength == 0);
        if (c.expectedLength > 0) {
            const std::string skin(call.skin.begin(), call.skin.end());
            EXPECT_TRUE(skin == ResourceText(IDR_SKIN_BASE + c.skin));
            EXPECT_EQ(skin.substr(0, 4), ".SHE");
        }
        EXPECT_FALSE(call.textIsNull);
        EXPECT_EQ(call.text, "");
        EXPECT_EQ(call.reserved1, 0);
        EXPECT_EQ(call.reserved2, 0);
        EXPECT_EQ(call.reserved3, 0);
        EXPECT_EQ(ReadBytes(directory_.LibraryPath()).size(), kLibraryImageBytes) << "the library is installed first";
    }
}

}  // namespace
