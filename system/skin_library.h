// The window-skinning library SkinH_EL.dll: written beside the executable from the image
// the program carries, loaded on first use, and handed one of the embedded skins.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>

#include "text.h"

inline constexpr char kSkinLibraryFileName[] = "SkinH_EL.dll";
inline constexpr char kSkinAttachExportName[] = "SkinH_AttachRes";

// The file and loader calls, replaced by tests to record them or to make them fail.
// Handles they return are real ones: the scoped owners close them with the real functions.
struct SkinLibraryFunctions {
    decltype(&::FindFirstFileA) findFirstFile;
    decltype(&::CreateFileA) createFile;
    decltype(&::WriteFile) writeFile;
    decltype(&::DeleteFileA) deleteFile;
    decltype(&::SetFileAttributesA) setFileAttributes;
    decltype(&::LoadLibraryA) loadLibrary;
    decltype(&::GetProcAddress) getProcAddress;
    decltype(&::FreeLibrary) freeLibrary;
};

// The real functions unless a test has replaced them.
SkinLibraryFunctions& SkinLibraryApi();

// A function of a library loaded at run time. The address and the module stay empty until
// the first successful resolution; the module stays loaded until EndProgram.
struct LibraryFunctionEntry {
    const char* libraryFileName;
    const char* exportName;
    FARPROC address;
    HMODULE module;
};

// The library function table: every function the program calls in a library it loads.
using LibraryFunctionTable = std::array<LibraryFunctionEntry, 1>;
LibraryFunctionTable& LibraryFunctions();
LibraryFunctionEntry& SkinAttachResEntry();

// The cached address, or the export loaded from executableDirectory\name, else from the
// system's search. No address: FatalError naming the library and the export.
FARPROC ResolveLibraryFunction(LibraryFunctionEntry& entry, const Text& executableDirectory);

// FreeLibrary for each module the table holds, and empties the entries, so that a second
// call frees nothing.
void ReleaseLoadedLibraries();

// Writes SkinH_EL.dll into executableDirectory, hidden, unless something of that name is
// already there. A write that breaks off leaves no file behind.
void InstallSkinLibrary(const Text& executableDirectory);

// Installs the library and hands it a copy of embedded skin `skin` (1 to 33); any other
// number hands it no skin (null, 0).
void ApplyEmbeddedSkin(int32_t skin, const Text& executableDirectory);
