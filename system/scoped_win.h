// Owners for Win32 handles: each closes what it holds when it goes out of scope.
#pragma once

#include <windows.h>

#include <utility>

template <typename H, typename Closer, H kEmpty>
class ScopedHandleOf {
public:
    ScopedHandleOf() = default;
    explicit ScopedHandleOf(H h) : h_(h) {}
    ScopedHandleOf(const ScopedHandleOf&) = delete;
    ScopedHandleOf& operator=(const ScopedHandleOf&) = delete;
    ScopedHandleOf(ScopedHandleOf&& o) noexcept : h_(std::exchange(o.h_, kEmpty)) {}
    ScopedHandleOf& operator=(ScopedHandleOf&& o) noexcept {
        if (this != &o) Reset(std::exchange(o.h_, kEmpty));
        return *this;
    }
    ~ScopedHandleOf() { Reset(); }

    H Get() const { return h_; }
    explicit operator bool() const { return h_ != kEmpty; }
    H Release() { return std::exchange(h_, kEmpty); }
    void Reset(H h = kEmpty) {
        if (h_ != kEmpty) Closer()(h_);
        h_ = h;
    }

private:
    H h_ = kEmpty;
};

struct CloseHandleCloser { void operator()(HANDLE h) const { ::CloseHandle(h); } };
struct FreeLibraryCloser { void operator()(HMODULE h) const { ::FreeLibrary(h); } };
struct DestroyMenuCloser { void operator()(HMENU h) const { ::DestroyMenu(h); } };
struct DestroyIconCloser { void operator()(HICON h) const { ::DestroyIcon(h); } };
struct DeleteObjectCloser { void operator()(HGDIOBJ h) const { ::DeleteObject(h); } };
struct DeleteDcCloser { void operator()(HDC h) const { ::DeleteDC(h); } };

// Most kernel handles are null when empty; files and find handles use INVALID_HANDLE_VALUE,
// which is not a constant expression, so those two wrap the check themselves.
using ScopedHandle = ScopedHandleOf<HANDLE, CloseHandleCloser, nullptr>;
using ScopedModule = ScopedHandleOf<HMODULE, FreeLibraryCloser, nullptr>;
using ScopedMenu = ScopedHandleOf<HMENU, DestroyMenuCloser, nullptr>;
using ScopedIcon = ScopedHandleOf<HICON, DestroyIconCloser, nullptr>;
using ScopedGdiObject = ScopedHandleOf<HGDIOBJ, DeleteObjectCloser, nullptr>;
using ScopedDc = ScopedHandleOf<HDC, DeleteDcCloser, nullptr>;

class ScopedFileHandle {
public:
    explicit ScopedFileHandle(HANDLE h) : h_(h) {}
    ScopedFileHandle(const ScopedFileHandle&) = delete;
    ScopedFileHandle& operator=(const ScopedFileHandle&) = delete;
    ~ScopedFileHandle() { Close(); }
    HANDLE Get() const { return h_; }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    void Close() {
        if (Valid()) ::CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE h_;
};

class ScopedFindHandle {
public:
    explicit ScopedFindHandle(HANDLE h) : h_(h) {}
    ScopedFindHandle(const ScopedFindHandle&) = delete;
    ScopedFindHandle& operator=(const ScopedFindHandle&) = delete;
    ~ScopedFindHandle() { if (Valid()) ::FindClose(h_); }
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};
