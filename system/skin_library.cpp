#include "skin_library.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "program.h"
#include "resource_bytes.h"
#include "resource_ids.h"
#include "scoped_win.h"
#include "skin_library/skinh_el.h"

namespace {

// The one place that knows the export's signature.
using SkinAttachResFunction = decltype(&SkinH_AttachRes);

Text PathInDirectory(const Text& directory, const char* fileName) {
    return ConcatText({directory, "\\", fileName});
}

// Anything of that name counts: a file with any attributes, or a directory.
bool IsPresent(const Text& path) {
    WIN32_FIND_DATAA found;
    const ScopedFindHandle search(SkinLibraryApi().findFirstFile(path.c_str(), &found));
    return search.Valid();
}

// WriteFile may take fewer bytes than offered; a call that takes none is a failure too.
bool WriteAll(HANDLE file, ByteView bytes) {
    size_t done = 0;
    while (done < bytes.size) {
        const DWORD offered = static_cast<DWORD>(std::min<size_t>(bytes.size - done, MAXDWORD));
        DWORD written = 0;
        if (!SkinLibraryApi().writeFile(file, bytes.data + done, offered, &written, nullptr) || written == 0)
            return false;
        done += std::min<DWORD>(written, offered);
    }
    return true;
}

void WriteSkinLibraryImage(const Text& path) {
    const ByteView image = ResourceBytes(IDR_SKIN_LIBRARY_IMAGE);
    if (image.empty()) return;
    ScopedFileHandle file(SkinLibraryApi().createFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return;
    const bool complete = WriteAll(file.Get(), image);
    file.Close();
    // A cut-off library would count as present at every later start and never load.
    if (!complete) SkinLibraryApi().deleteFile(path.c_str());
}

Text MissingFunctionText(const LibraryFunctionEntry& entry) {
    return ConcatText({"无法加载 ", entry.libraryFileName, " 或找不到其中的函数 ", entry.exportName,
                       "，程序无法继续运行。"});
}

}  // namespace

SkinLibraryFunctions& SkinLibraryApi() {
    static SkinLibraryFunctions functions{
        &::FindFirstFileA,
        &::CreateFileA,
        &::WriteFile,
        &::DeleteFileA,
        &::SetFileAttributesA,
        &::LoadLibraryA,
        &::GetProcAddress,
        &::FreeLibrary,
    };
    return functions;
}

LibraryFunctionTable& LibraryFunctions() {
    static LibraryFunctionTable table{{
        {kSkinLibraryFileName, kSkinAttachExportName, nullptr, nullptr},
    }};
    return table;
}

LibraryFunctionEntry& SkinAttachResEntry() { return LibraryFunctions()[0]; }

FARPROC ResolveLibraryFunction(LibraryFunctionEntry& entry, const Text& executableDirectory) {
    if (entry.address) return entry.address;

    const SkinLibraryFunctions& api = SkinLibraryApi();
    HMODULE module = api.loadLibrary(PathInDirectory(executableDirectory, entry.libraryFileName).c_str());
    if (!module) module = api.loadLibrary(entry.libraryFileName);
    if (module) {
        if (FARPROC address = api.getProcAddress(module, entry.exportName)) {
            entry.address = address;
            entry.module = module;
            return address;
        }
        api.freeLibrary(module);
    }
    FatalError(MissingFunctionText(entry));
}

void ReleaseLoadedLibraries() {
    for (LibraryFunctionEntry& entry : LibraryFunctions()) {
        entry.address = nullptr;
        if (HMODULE module = std::exchange(entry.module, nullptr)) SkinLibraryApi().freeLibrary(module);
    }
}

void InstallSkinLibrary(const Text& executableDirectory) {
    if (IsPresent(PathInDirectory(executableDirectory, kSkinLibraryFileName))) return;
    WriteSkinLibraryImage(PathInDirectory(executableDirectory, kSkinLibraryFileName));
    // Set even when the write failed: the result is not looked at.
    SkinLibraryApi().setFileAttributes(PathInDirectory(executableDirectory, kSkinLibraryFileName).c_str(),
                                       FILE_ATTRIBUTE_HIDDEN);
}

void ApplyEmbeddedSkin(int32_t skin, const Text& executableDirectory) {
    InstallSkinLibrary(executableDirectory);

    std::unique_ptr<unsigned char[]> copy;
    int32_t length = 0;
    if (skin >= 1 && skin <= VELMORA_SKIN_COUNT) {
        const ByteView bytes = ResourceBytes(IDR_SKIN_BASE + skin);
        if (!bytes.empty()) {
            copy.reset(new (std::nothrow) unsigned char[bytes.size]);
            if (!copy) FatalError(kOutOfMemoryText);
            std::memcpy(copy.get(), bytes.data, bytes.size);
            length = static_cast<int32_t>(bytes.size);
        }
    }

    const auto attach = reinterpret_cast<SkinAttachResFunction>(
        reinterpret_cast<void*>(ResolveLibraryFunction(SkinAttachResEntry(), executableDirectory)));
    // The library reads the skin during the call; the copy goes when this returns.
    attach(copy.get(), length, "", 0, 0, 0);
}
