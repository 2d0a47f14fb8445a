#include "icon_from_bytes.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr size_t kDirectoryHeaderSize = 6;
constexpr size_t kFileEntrySize = 16;    // ICONDIRENTRY: ... image size, image offset
constexpr size_t kGroupEntrySize = 14;   // GRPICONDIRENTRY: ... image size, RT_ICON id
constexpr size_t kEntryWidth = 0;
constexpr size_t kEntryColourCount = 2;
constexpr size_t kEntryImageSize = 8;
constexpr size_t kEntryImageOffset = 12;
constexpr size_t kEntryResourceId = 12;
constexpr uint16_t kTypeIcon = 1;
constexpr uint16_t kTypeCursor = 2;
constexpr DWORD kIconFormatVersion = 0x00030000;

uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t ReadU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The chosen directory entry, or nullptr when the bytes hold no usable directory.
const unsigned char* SelectEntry(ByteView directory, size_t entrySize, IconSize size) {
    if (!directory.data || directory.size < kDirectoryHeaderSize) return nullptr;
    const uint16_t reserved = ReadU16(directory.data);
    const uint16_t type = ReadU16(directory.data + 2);
    const uint16_t count = ReadU16(directory.data + 4);
    if (reserved != 0 || (type != kTypeIcon && type != kTypeCursor) || count == 0) return nullptr;
    if (directory.size < kDirectoryHeaderSize + count * entrySize) return nullptr;

    const unsigned wantedWidth = size == IconSize::Small ? 16 : 32;
    const unsigned char* entries = directory.data + kDirectoryHeaderSize;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* entry = entries + i * entrySize;
        if (entry[kEntryColourCount] >= 16 && entry[kEntryWidth] == wantedWidth) return entry;
    }
    return entries + (count - 1) * entrySize;
}

ByteView ResourceOfType(HMODULE module, const char* name, const char* type) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return {};
    return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
}

ScopedIcon MakeIconFromImage(ByteView image) {
    BITMAPINFOHEADER header;
    if (!image.data || image.size < sizeof header) return ScopedIcon();
    std::memcpy(&header, image.data, sizeof header);
    auto* bits = const_cast<PBYTE>(image.data);
    const auto size = static_cast<DWORD>(image.size);
    HICON icon = CreateIconFromResourceEx(bits, size, TRUE, kIconFormatVersion, header.biWidth,
                                          header.biHeight / 2, LR_DEFAULTCOLOR);
    if (!icon && header.biBitCount != 16) icon = CreateIconFromResource(bits, size, TRUE, kIconFormatVersion);
    return ScopedIcon(icon);
}

}  // namespace

ScopedIcon MakeIconFromFileBytes(ByteView file, IconSize size) {
    const unsigned char* entry = SelectEntry(file, kFileEntrySize, size);
    if (!entry) return ScopedIcon();
    const uint64_t imageSize = ReadU32(entry + kEntryImageSize);
    const uint64_t imageOffset = ReadU32(entry + kEntryImageOffset);
    if (imageOffset + imageSize > file.size) return ScopedIcon();
    return MakeIconFromImage({file.data + imageOffset, static_cast<size_t>(imageSize)});
}

ScopedIcon MakeIconFromFileResource(HMODULE module, const char* name, IconSize size) {
    return MakeIconFromFileBytes(ResourceOfType(module, name, RT_RCDATA), size);
}

ScopedIcon MakeIconFromGroupResource(HMODULE module, const char* name, IconSize size) {
    const unsigned char* entry = SelectEntry(ResourceOfType(module, name, RT_GROUP_ICON), kGroupEntrySize, size);
    if (!entry) return ScopedIcon();
    const WORD id = ReadU16(entry + kEntryResourceId);
    return MakeIconFromImage(ResourceOfType(module, MAKEINTRESOURCEA(id), RT_ICON));
}

