// The process's end and the library loader observed instead of carried out: message boxes
// and loads are recorded, modules are made-up handles, the export is a recording stand-in
// for SkinH_AttachRes, and ExitProcess throws ProcessExit so that the test goes on.
// File functions stay real unless a test replaces them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "../../resources/skin_library/skinh_el.h"
#include "program.h"
#include "skin_library.h"

namespace system_fakes {

struct ProcessExit {
    UINT code;
};

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string title;
    UINT flags;
};

struct AttachCall {
    bool skinIsNull;
    std::vector<unsigned char> skin;
    int length;
    bool textIsNull;
    std::string text;
    int reserved1, reserved2, reserved3;
};

struct SystemRecord {
    // What the fakes answer.
    std::map<std::string, HMODULE> loadableLibraries;   // LoadLibraryA argument -> module
    bool exportFound = true;
    HRESULT oleInitialiseResult = S_OK;

    // What they were asked.
    std::vector<std::string> loads;
    std::vector<std::string> lookups;
    std::vector<HMODULE> freed;
    std::vector<MessageBoxCall> boxes;
    std::vector<UINT> exits;
    std::vector<AttachCall> attachCalls;
    int oleInitialises = 0;
    int oleUninitialises = 0;
    // Calls of the export and of a test's own fakes, in the order they came.
    std::vector<std::string> timeline;
};

inline SystemRecord* record = nullptr;

inline int __stdcall RecordAttachRes(const void* skin, int length, const char* text, int reserved1,
                                     int reserved2, int reserved3) {
    record->timeline.push_back("SkinH_AttachRes");
    const auto* bytes = static_cast<const unsigned char*>(skin);
    record->attachCalls.push_back({skin == nullptr,
                                   skin ? std::vector<unsigned char>(bytes, bytes + (length > 0 ? length : 0))
                                        : std::vector<unsigned char>{},
                                   length, text == nullptr, text ? text : "", reserved1, reserved2, reserved3});
    return 1;
}
static_assert(std::is_same_v<decltype(&RecordAttachRes), decltype(&SkinH_AttachRes)>,
              "the stand-in is called through the export's own type");

inline HMODULE WINAPI FakeLoadLibrary(LPCSTR name) {
    record->loads.push_back(name);
    const auto found = record->loadableLibraries.find(name);
    return found == record->loadableLibraries.end() ? nullptr : found->second;
}

inline FARPROC WINAPI FakeGetProcAddress(HMODULE, LPCSTR name) {
    record->lookups.push_back(name);
    return record->exportFound ? reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&RecordAttachRes)) : nullptr;
}

inline BOOL WINAPI FakeFreeLibrary(HMODULE module) {
    record->freed.push_back(module);
    return TRUE;
}

inline int WINAPI FakeMessageBox(HWND owner, LPCSTR text, LPCSTR title, UINT flags) {
    record->boxes.push_back({owner, text ? text : "", title ? title : "", flags});
    return IDOK;
}

inline HRESULT WINAPI FakeOleInitialize(LPVOID) {
    ++record->oleInitialises;
    return record->oleInitialiseResult;
}

inline void WINAPI FakeOleUninitialize() { ++record->oleUninitialises; }

[[noreturn]] inline void WINAPI FakeExitProcess(UINT code) {
    record->exits.push_back(code);
    throw ProcessExit{code};
}

// Made-up module handles: never dereferenced, only passed back to the fakes.
inline HMODULE FakeModule(uintptr_t value) { return reinterpret_cast<HMODULE>(value); }

// Installs the fakes for its lifetime and leaves the program's end state as it found it:
// no cleanup registered, no library cached, OLE not initialised.
class FakeSystem {
public:
    FakeSystem() : savedProcess_(ProcessApi()), savedLibrary_(SkinLibraryApi()) {
        record = &record_;
        ProcessFunctions& process = ProcessApi();
        process.oleInitialize = &FakeOleInitialize;
        process.oleUninitialize = &FakeOleUninitialize;
        process.messageBox = &FakeMessageBox;
        process.exitProcess = &FakeExitProcess;
        SkinLibraryFunctions& library = SkinLibraryApi();
        library.loadLibrary = &FakeLoadLibrary;
        library.getProcAddress = &FakeGetProcAddress;
        library.freeLibrary = &FakeFreeLibrary;
        Reset();
    }
    ~FakeSystem() {
        Reset();
        ProcessApi() = savedProcess_;
        SkinLibraryApi() = savedLibrary_;
        record = nullptr;
    }
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    SystemRecord& Record() { return record_; }

private:
    void Reset() {
        ClearExitCleanup();
        EndProgram(0);
        record_ = SystemRecord{};
    }

    ProcessFunctions savedProcess_;
    SkinLibraryFunctions savedLibrary_;
    SystemRecord record_;
};

}  // namespace system_fakes
