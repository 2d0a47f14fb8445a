// The resources the program carries, read back from this executable, which links the
// same compiled resource object as the program: the version block, the icons, the hand
// cursor, the skins and the skinning library's image, which is also loaded and called.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "../../resources/resource_ids.h"
#include "../../resources/skin_library/skin_format.h"
#include "../../resources/skin_library/skinh_el.h"
#include "scoped_win.h"

namespace {

struct Bytes {
    const unsigned char* data = nullptr;
    size_t size = 0;
};

Bytes ModuleResource(const char* name, const char* type) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return {};
    HGLOBAL loaded = LoadResource(module, found);
    if (!loaded) return {};
    return {static_cast<const unsigned char*>(LockResource(loaded)), SizeofResource(module, found)};
}

Bytes RcData(int id) { return ModuleResource(MAKEINTRESOURCEA(id), RT_RCDATA); }

uint16_t ReadU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint32_t ReadU32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// ---------------------------------------------------------------------------------------
// Version block

// One node of a VS_VERSIONINFO tree: a key, a text or binary value, and children.
struct VersionNode {
    std::u16string key;
    bool isText = false;
    std::vector<unsigned char> value;
    std::vector<VersionNode> children;
};

size_t AlignTo4(size_t offset) { return (offset + 3) & ~size_t{3}; }

// Parses the node at data[offset, end) as the documented layout: wLength, wValueLength,
// wType, the key (UTF-16, NUL-terminated), padding, the value, padding, the children.
bool ParseVersionNode(const unsigned char* data, size_t offset, size_t end, VersionNode& node) {
    if (offset + 6 > end) return false;
    const size_t length = ReadU16(data + offset);
    const size_t valueLength = ReadU16(data + offset + 2);
    node.isText = ReadU16(data + offset + 4) == 1;
    if (length < 6 || offset + length > end) return false;
    const size_t nodeEnd = offset + length;
    size_t at = offset + 6;
    for (;; at += 2) {
        if (at + 2 > nodeEnd) return false;
        const char16_t c = ReadU16(data + at);
        if (c == 0) break;
        node.key += c;
    }
    at = AlignTo4(at + 2);
    const size_t valueBytes = node.isText ? valueLength * 2 : valueLength;
    if (at + valueBytes > nodeEnd) return false;
    node.value.assign(data + at, data + at + valueBytes);
    at = AlignTo4(at + valueBytes);
    while (at < nodeEnd) {
        node.children.emplace_back();
        if (!ParseVersionNode(data, at, nodeEnd, node.children.back())) return false;
        at = AlignTo4(at + ReadU16(data + at));
    }
    return true;
}

std::u16string TextValue(const VersionNode& node) {
    std::u16string text;
    for (size_t i = 0; i + 1 < node.value.size(); i += 2) {
        const char16_t c = ReadU16(node.value.data() + i);
        if (c == 0) break;
        text += c;
    }
    return text;
}

// UTF-8, so that the expected texts can be written as u8 literals whatever the program's
// own narrow character set is.
std::string Utf8(const std::u16string& text) {
    if (text.empty()) return {};
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int size = static_cast<int>(text.size());
    std::string out(WideCharToMultiByte(CP_UTF8, 0, wide, size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, size, &out[0], static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

// Every leaf of the tree as "path=value", in file order, so that an extra, missing or
// reordered entry shows up as a difference.
void ListLeaves(const VersionNode& node, const std::string& parent, std::vector<std::string>& out) {
    const std::string path = parent + "/" + Utf8(node.key);
    if (!node.children.empty()) {
        for (const VersionNode& child : node.children) ListLeaves(child, path, out);
        return;
    }
    std::string value;
    if (node.isText) {
        value = "\"" + Utf8(TextValue(node)) + "\"";
    } else {
        for (unsigned char byte : node.value) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%02X", byte);
            value += hex;
        }
    }
    out.push_back(path + "=" + value);
}

class ResourcesVersion : public ::testing::Test {
protected:
    void SetUp() override {
        const Bytes block = ModuleResource(MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
        ASSERT_NE(block.data, nullptr);
        ASSERT_TRUE(ParseVersionNode(block.data, 0, block.size, root_));
        ASSERT_EQ(root_.key, u"VS_VERSION_INFO");
    }

    VersionNode root_;
};

TEST_F(ResourcesVersion, FixedPartHoldsVersionOneAndDescribesAWin32Application) {
    ASSERT_EQ(root_.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root_.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwFileVersionLS, 0u);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed.dwProductVersionLS, 0u);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0u);
    EXPECT_EQ(fixed.dwFileFlags, 0u);
    EXPECT_EQ(fixed.dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed.dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed.dwFileSubtype, 0u);
}

TEST_F(ResourcesVersion, HoldsExactlyTheStringTableAndTranslation) {
    std::vector<std::string> leaves;
    for (const VersionNode& child : root_.children) ListLeaves(child, "", leaves);
    const std::vector<std::string> expected = {
        u8"/StringFileInfo/080404B0/FileVersion=\"1.0.0.0\"",
        u8"/StringFileInfo/080404B0/FileDescription=\" \"",
        u8"/StringFileInfo/080404B0/ProductName=\"Velmora工具\"",
        u8"/StringFileInfo/080404B0/ProductVersion=\"1.0.0.0\"",
        u8"/StringFileInfo/080404B0/CompanyName=\"Orlic\"",
        u8"/StringFileInfo/080404B0/LegalCopyright=\" \"",
        u8"/VarFileInfo/Translation=0408B004",
    };
    EXPECT_EQ(leaves, expected);
}

// ---------------------------------------------------------------------------------------
// Icons

struct IconEntry {
    int width, height, colourCount, planes, bitCount;
    uint32_t imageBytes, imageOffset;
};

constexpr size_t kIconHeaderBytes = 6;
constexpr size_t kIconEntryBytes = 16;

std::vector<IconEntry> IconDirectory(Bytes file) {
    std::vector<IconEntry> entries;
    if (file.size < kIconHeaderBytes || ReadU16(file.data) != 0 || ReadU16(file.data + 2) != 1)
        return entries;
    const size_t count = ReadU16(file.data + 4);
    if (file.size < kIconHeaderBytes + count * kIconEntryBytes) return entries;
    for (size_t i = 0; i < count; ++i) {
        const unsigned char* e = file.data + kIconHeaderBytes + i * kIconEntryBytes;
        entries.push_back({e[0], e[1], e[2], ReadU16(e + 4), ReadU16(e + 6), ReadU32(e + 8), ReadU32(e + 12)});
    }
    return entries;
}

// The pixel size of the icon the system makes from one image of an icon file.
SIZE SystemIconSize(Bytes file, const IconEntry& entry) {
    std::vector<unsigned char> image(file.data + entry.imageOffset,
                                     file.data + entry.imageOffset + entry.imageBytes);
    ScopedIcon icon(CreateIconFromResourceEx(image.data(), entry.imageBytes, TRUE, 0x00030000,
                                             entry.width, entry.height, LR_DEFAULTCOLOR));
    if (!icon) return {0, 0};
    ICONINFO info{};
    if (!GetIconInfo(icon.Get(), &info)) return {0, 0};
    ScopedGdiObject colour(info.hbmColor), mask(info.hbmMask);
    BITMAP bitmap{};
    GetObjectA(colour ? colour.Get() : mask.Get(), sizeof bitmap, &bitmap);
    return {bitmap.bmWidth, colour ? bitmap.bmHeight : bitmap.bmHeight / 2};
}

// Where an image's AND mask starts and how many bytes one of its rows takes.
struct MaskLayout {
    size_t offset;
    size_t stride;
};

MaskLayout MaskOf(const IconEntry& entry) {
    const size_t colourStride = (entry.width * entry.bitCount + 31) / 32 * 4;
    return {entry.imageOffset + sizeof(BITMAPINFOHEADER) + colourStride * entry.height,
            static_cast<size_t>((entry.width + 31) / 32 * 4)};
}

bool MaskBit(Bytes file, const MaskLayout& mask, int height, int x, int y) {
    const unsigned char row = file.data[mask.offset + (height - 1 - y) * mask.stride + x / 8];
    return (row & (0x80 >> (x % 8))) != 0;
}

void ExpectImageHeaderMatchesEntry(Bytes file, const IconEntry& entry) {
    ASSERT_LE(entry.imageOffset + sizeof(BITMAPINFOHEADER), file.size);
    BITMAPINFOHEADER header;
    std::memcpy(&header, file.data + entry.imageOffset, sizeof header);
    EXPECT_EQ(header.biSize, sizeof header);
    EXPECT_EQ(header.biWidth, entry.width);
    EXPECT_EQ(header.biHeight, entry.height * 2);  // the colour bitmap and the mask
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, entry.bitCount);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(MaskOf(entry).offset + MaskOf(entry).stride * entry.height,
              size_t{entry.imageOffset} + entry.imageBytes);
}

TEST(ResourcesMainWindowIcon, IsOne48PixelTrueColourImageWithAnOpaqueMask) {
    const Bytes file = RcData(IDR_MAIN_WINDOW_ICON);
    ASSERT_EQ(file.size, 7358u);
    const std::vector<IconEntry> entries = IconDirectory(file);
    ASSERT_EQ(entries.size(), 1u);
    const IconEntry& entry = entries[0];
    EXPECT_EQ(entry.width, 48);
    EXPECT_EQ(entry.height, 48);
    EXPECT_EQ(entry.planes, 1);
    EXPECT_EQ(entry.bitCount, 24);
    EXPECT_EQ(entry.imageOffset, kIconHeaderBytes + kIconEntryBytes);
    EXPECT_EQ(entry.imageOffset + entry.imageBytes, file.size);
    ExpectImageHeaderMatchesEntry(file, entry);

    const MaskLayout mask = MaskOf(entry);
    int transparent = 0;
    for (int y = 0; y < entry.height; ++y)
        for (int x = 0; x < entry.width; ++x) transparent += MaskBit(file, mask, entry.height, x, y);
    EXPECT_EQ(transparent, 0);

    const SIZE made = SystemIconSize(file, entry);
    EXPECT_EQ(made.cx, 48);
    EXPECT_EQ(made.cy, 48);
}

BOOL CALLBACK CollectResourceName(HMODULE, LPCSTR, LPSTR name, LONG_PTR names) {
    auto& list = *reinterpret_cast<std::vector<std::string>*>(names);
    list.push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : name);
    return TRUE;
}

TEST(ResourcesMainWindowIcon, IsTheProgramsFirstGroupIconUnderDefaultIcon) {
    std::vector<std::string> names;
    EnumResourceNamesA(GetModuleHandleA(nullptr), RT_GROUP_ICON, CollectResourceName,
                       reinterpret_cast<LONG_PTR>(&names));
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names[0], VELMORA_DEFAULT_ICON_NAME);
}

TEST(ResourcesMainWindowIcon, DefaultIconGroupCarriesTheSameImage) {
    const Bytes file = RcData(IDR_MAIN_WINDOW_ICON);
    const Bytes group = ModuleResource(VELMORA_DEFAULT_ICON_NAME, RT_GROUP_ICON);
    constexpr size_t kGroupEntryBytes = 14;
    ASSERT_EQ(group.size, kIconHeaderBytes + kGroupEntryBytes);
    EXPECT_EQ(ReadU16(group.data + 2), 1);
    ASSERT_EQ(ReadU16(group.data + 4), 1);
    const unsigned char* entry = group.data + kIconHeaderBytes;
    EXPECT_EQ(entry[0], 48);
    EXPECT_EQ(entry[1], 48);
    EXPECT_EQ(ReadU16(entry + 6), 24);
    const Bytes image = ModuleResource(MAKEINTRESOURCEA(ReadU16(entry + 12)), RT_ICON);
    const IconEntry fileEntry = IconDirectory(file).at(0);
    ASSERT_EQ(image.size, fileEntry.imageBytes);
    EXPECT_EQ(std::memcmp(image.data, file.data + fileEntry.imageOffset, image.size), 0);
}

TEST(ResourcesTrayIconImage, HoldsFiveAlphaImagesLargestFirstWithSixteenPixelsLast) {
    const Bytes file = RcData(IDR_TRAY_ICON_IMAGE);
    ASSERT_EQ(file.size, 99678u);
    const std::vector<IconEntry> entries = IconDirectory(file);
    const std::vector<std::pair<int, uint32_t>> expected = {
        {128, 67624}, {64, 16936}, {48, 9640}, {32, 4264}, {16, 1128}};
    ASSERT_EQ(entries.size(), expected.size());
    uint32_t nextOffset = kIconHeaderBytes + kIconEntryBytes * expected.size();
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i + 1));
        const IconEntry& entry = entries[i];
        EXPECT_EQ(entry.width, expected[i].first);
        EXPECT_EQ(entry.height, expected[i].first);
        EXPECT_EQ(entry.colourCount, 0);  // so the selection rule falls back to the last entry
        EXPECT_EQ(entry.planes, 1);
        EXPECT_EQ(entry.bitCount, 32);
        EXPECT_EQ(entry.imageBytes, expected[i].second);
        EXPECT_EQ(entry.imageOffset, nextOffset);
        nextOffset = entry.imageOffset + entry.imageBytes;
        ExpectImageHeaderMatchesEntry(file, entry);
        const SIZE made = SystemIconSize(file, entry);
        EXPECT_EQ(made.cx, entry.width);
        EXPECT_EQ(made.cy, entry.height);
    }
    EXPECT_EQ(nextOffset, file.size);
}

// Systems that ignore alpha draw by the AND mask, so it must cut out exactly the fully
// transparent pixels; and the picture must have both, or it would be a plain square.
TEST(ResourcesTrayIconImage, MasksMatchTheAlphaChannel) {
    const Bytes file = RcData(IDR_TRAY_ICON_IMAGE);
    for (const IconEntry& entry : IconDirectory(file)) {
        SCOPED_TRACE(std::to_string(entry.width) + " px");
        const MaskLayout mask = MaskOf(entry);
        const size_t pixels = entry.imageOffset + sizeof(BITMAPINFOHEADER);
        int mismatches = 0, transparent = 0, opaque = 0;
        for (int y = 0; y < entry.height; ++y) {
            for (int x = 0; x < entry.width; ++x) {
                const unsigned char alpha = file.data[pixels + ((entry.height - 1 - y) * entry.width + x) * 4 + 3];
                mismatches += MaskBit(file, mask, entry.height, x, y) != (alpha == 0);
                transparent += alpha == 0;
                opaque += alpha == 255;
            }
        }
        EXPECT_EQ(mismatches, 0);
        EXPECT_GT(transparent, 0);
        EXPECT_GT(opaque, entry.width * entry.height / 2);
    }
}

// ---------------------------------------------------------------------------------------
// Hand cursor

TEST(ResourcesHandCursor, LoadsWithItsHotSpotOnTheFingerTip) {
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    ScopedGdiObject colour(info.hbmColor), mask(info.hbmMask);
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 6u);
    EXPECT_EQ(info.yHotspot, 1u);

    // The stored image: hot spot words, then a 32x32 monochrome DIB whose AND mask must
    // be clear (drawn) at the hot spot, or the click point would be off the picture.
    const Bytes group = ModuleResource(MAKEINTRESOURCEA(IDC_HAND_CURSOR), RT_GROUP_CURSOR);
    ASSERT_EQ(ReadU16(group.data + 4), 1);
    const Bytes image = ModuleResource(MAKEINTRESOURCEA(ReadU16(group.data + kIconHeaderBytes + 12)), RT_CURSOR);
    ASSERT_GT(image.size, 4 + sizeof(BITMAPINFOHEADER));
    EXPECT_EQ(ReadU16(image.data), 6);
    EXPECT_EQ(ReadU16(image.data + 2), 1);
    BITMAPINFOHEADER header;
    std::memcpy(&header, image.data + 4, sizeof header);
    ASSERT_EQ(header.biWidth, 32);
    ASSERT_EQ(header.biHeight, 64);
    ASSERT_EQ(header.biBitCount, 1);
    const MaskLayout layout{4 + sizeof header + 2 * sizeof(RGBQUAD) + 4 * 32, 4};
    ASSERT_EQ(layout.offset + 4 * 32, image.size);
    EXPECT_FALSE(MaskBit(image, layout, 32, 6, 1));
    EXPECT_TRUE(MaskBit(image, layout, 32, 0, 0));
}

// ---------------------------------------------------------------------------------------
// Embedded skins

constexpr uint32_t kSkinBytes[VELMORA_SKIN_COUNT] = {
    15574, 9533,  19786, 19497, 17699, 41098, 12564, 18930, 13192, 24409, 30738,
    8321,  26370, 15733, 12105, 23603, 20863, 16746, 11676, 17997, 12882, 37461,
    30958, 25715, 34523, 28961, 29447, 15562, 20738, 18765, 31134, 44110, 20275};

Bytes Skin(int number) { return RcData(IDR_SKIN_BASE + number); }

TEST(ResourcesEmbeddedSkins, AreThirtyThreeBlocksOfTheirSizesStartingWithTheMagic) {
    for (int number = 1; number <= VELMORA_SKIN_COUNT; ++number) {
        SCOPED_TRACE("skin " + std::to_string(number));
        const Bytes skin = Skin(number);
        ASSERT_EQ(skin.size, kSkinBytes[number - 1]);
        EXPECT_EQ(std::memcmp(skin.data, ".SHE", 4), 0);
    }
    EXPECT_EQ(Skin(0).data, nullptr);
    EXPECT_EQ(Skin(VELMORA_SKIN_COUNT + 1).data, nullptr);
}

// ---------------------------------------------------------------------------------------
// Skinning library image

constexpr size_t kSkinLibraryImageBytes = 88576;

// The library is built for the program's own machine, so that the program can load it:
// i386 for the shipped program, x86_64 where these tests run as a 64-bit build.
#if defined(__i386__)
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
#elif defined(__x86_64__)
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
#endif

// The parts of the image's PE headers these tests look at, with bounds checked.
class PeImage {
public:
    explicit PeImage(Bytes image) : image_(image) {
        if (image.size < sizeof(IMAGE_DOS_HEADER)) return;
        IMAGE_DOS_HEADER dos;
        std::memcpy(&dos, image.data, sizeof dos);
        if (dos.e_magic != IMAGE_DOS_SIGNATURE) return;
        const size_t at = dos.e_lfanew;
        if (at + sizeof(IMAGE_NT_HEADERS) > image.size) return;
        std::memcpy(&nt_, image.data + at, sizeof nt_);
        if (nt_.Signature != IMAGE_NT_SIGNATURE) return;
        sections_ = at + offsetof(IMAGE_NT_HEADERS, OptionalHeader) + nt_.FileHeader.SizeOfOptionalHeader;
        valid_ = sections_ + nt_.FileHeader.NumberOfSections * sizeof(IMAGE_SECTION_HEADER) <= image.size;
    }

    bool Valid() const { return valid_; }
    const IMAGE_NT_HEADERS& Headers() const { return nt_; }

    // The text at a relative virtual address; empty when it is not inside the file.
    std::string TextAt(uint32_t rva) const {
        size_t at = FileOffset(rva);
        std::string text;
        while (at != 0 && at < image_.size && image_.data[at] != 0) text += static_cast<char>(image_.data[at++]);
        return text;
    }

    uint32_t U32At(uint32_t rva) const {
        const size_t at = FileOffset(rva);
        return at != 0 && at + 4 <= image_.size ? ReadU32(image_.data + at) : 0;
    }

    std::string ExportedLibraryName() const { return TextAt(ExportField(offsetof(IMAGE_EXPORT_DIRECTORY, Name))); }

    std::vector<std::string> ExportedNames() const {
        std::vector<std::string> names;
        const uint32_t count = ExportField(offsetof(IMAGE_EXPORT_DIRECTORY, NumberOfNames));
        const uint32_t table = ExportField(offsetof(IMAGE_EXPORT_DIRECTORY, AddressOfNames));
        for (uint32_t i = 0; i < count && i < 4096; ++i) names.push_back(TextAt(U32At(table + 4 * i)));
        return names;
    }

private:
    uint32_t ExportField(size_t offset) const {
        const uint32_t directory = nt_.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT].VirtualAddress;
        return directory == 0 ? 0 : U32At(directory + static_cast<uint32_t>(offset));
    }

    size_t FileOffset(uint32_t rva) const {
        for (size_t i = 0; i < nt_.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section;
            std::memcpy(&section, image_.data + sections_ + i * sizeof section, sizeof section);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return 0;
    }

    Bytes image_;
    IMAGE_NT_HEADERS nt_{};
    size_t sections_ = 0;
    bool valid_ = false;
};

TEST(ResourcesSkinLibraryImage, IsADllForThisMachineNamedSkinHElExportingOnlySkinHFunctions) {
    const Bytes image = RcData(IDR_SKIN_LIBRARY_IMAGE);
    ASSERT_EQ(image.size, kSkinLibraryImageBytes);
    const PeImage pe(image);
    ASSERT_TRUE(pe.Valid());
    EXPECT_EQ(pe.Headers().FileHeader.Machine, kOwnMachine);
    EXPECT_NE(pe.Headers().FileHeader.Characteristics & IMAGE_FILE_DLL, 0);
    EXPECT_EQ(pe.Headers().OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR_MAGIC);
    EXPECT_EQ(pe.ExportedLibraryName(), "SkinH_EL.dll");
    const std::vector<std::string> names = pe.ExportedNames();
    EXPECT_NE(std::find(names.begin(), names.end(), "SkinH_AttachRes"), names.end());
    for (const std::string& name : names) EXPECT_EQ(name.rfind("SkinH_", 0), 0u) << name;
}

// The image written to a private directory and loaded from there, under a name of its
// own so that it cannot be confused with a SkinH_EL.dll that other tests load.
class ResourcesSkinLibrary : public ::testing::Test {
protected:
    using AttachRes = decltype(&SkinH_AttachRes);
    using GetSchemeColor = decltype(&SkinH_GetSchemeColor);

    void SetUp() override {
        char temp[MAX_PATH];
        ASSERT_NE(GetTempPathA(sizeof temp, temp), 0u);
        directory_ = std::string(temp) + "velmora-skin-library-" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(directory_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
        path_ = directory_ + "\\skin_library_under_test.dll";
        const Bytes image = RcData(IDR_SKIN_LIBRARY_IMAGE);
        {
            ScopedFileHandle file(CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
            ASSERT_TRUE(file.Valid());
            DWORD written = 0;
            ASSERT_TRUE(WriteFile(file.Get(), image.data, static_cast<DWORD>(image.size), &written, nullptr));
            ASSERT_EQ(written, image.size);
        }
        library_.Reset(LoadLibraryA(path_.c_str()));
        ASSERT_TRUE(library_) << "LoadLibraryA failed: " << GetLastError();
        attach_ = Export<AttachRes>("SkinH_AttachRes");
        schemeColor_ = Export<GetSchemeColor>("SkinH_GetSchemeColor");
        ASSERT_NE(attach_, nullptr);
        ASSERT_NE(schemeColor_, nullptr);
    }

    template <typename Function>
    Function Export(const char* name) const {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library_.Get(), name)));
    }

    void TearDown() override {
        library_.Reset();
        DeleteFileA(path_.c_str());
        RemoveDirectoryA(directory_.c_str());
    }

    // The colour scheme as the skin's own header states it.
    static std::vector<uint32_t> SchemeOf(Bytes skin) {
        std::vector<uint32_t> scheme;
        for (int role = 0; role < SKIN_COLOUR_COUNT; ++role)
            scheme.push_back(ReadU32(skin.data + SKIN_OFFSET_COLOURS + 4 * role));
        return scheme;
    }

    std::vector<uint32_t> ActiveScheme() const {
        std::vector<uint32_t> scheme;
        for (int role = 0; role < SKIN_COLOUR_COUNT; ++role) scheme.push_back(schemeColor_(role));
        return scheme;
    }

    std::string directory_, path_;
    ScopedModule library_;
    AttachRes attach_ = nullptr;
    GetSchemeColor schemeColor_ = nullptr;
};

constexpr uint32_t kNoColour = 0xFFFFFFFF;

TEST_F(ResourcesSkinLibrary, TakesSkinNineDuringTheCallWithoutKeepingIt) {
    const Bytes skin = Skin(9);
    ASSERT_EQ(skin.size, 13192u);
    std::vector<unsigned char> copy(skin.data, skin.data + skin.size);
    EXPECT_EQ(attach_(copy.data(), static_cast<int>(copy.size()), "", 0, 0, 0), 1);

    // The caller frees its copy right after the call; the library must not need it.
    std::fill(copy.begin(), copy.end(), 0xCC);
    copy.clear();
    copy.shrink_to_fit();
    const std::vector<uint32_t> scheme = SchemeOf(skin);
    EXPECT_EQ(ActiveScheme(), scheme);
    EXPECT_NE(scheme[SKIN_COLOUR_CAPTION], scheme[SKIN_COLOUR_FACE]);
}

TEST_F(ResourcesSkinLibrary, NoSkinDataIsRefused) {
    EXPECT_EQ(attach_(nullptr, 0, "", 0, 0, 0), 0);
    EXPECT_EQ(ActiveScheme(), std::vector<uint32_t>(SKIN_COLOUR_COUNT, kNoColour));
}

#if defined(__i386__)
struct StackOutcome {
    int result;
    int stackDelta;
};

// Pushes the six arguments and calls the export the way a stdcall caller does, and
// reports how far the stack pointer moved over the call: 0 when the callee removed its
// 24 bytes of arguments, -24 when it left them for a caller that will not. (x86_64 has a
// single calling convention, so this is an i386 question only.)
StackOutcome AttachMeasuringStack(decltype(&SkinH_AttachRes) attach, const void* skin, int length,
                                  const char* text) {
    const uintptr_t arguments[6] = {reinterpret_cast<uintptr_t>(skin), static_cast<uintptr_t>(length),
                                    reinterpret_cast<uintptr_t>(text), 0, 0, 0};
    int result, delta;
    __asm__ volatile(
        "movl %%esp, %%esi\n\t"
        "pushl 20(%%edi)\n\t"
        "pushl 16(%%edi)\n\t"
        "pushl 12(%%edi)\n\t"
        "pushl 8(%%edi)\n\t"
        "pushl 4(%%edi)\n\t"
        "pushl (%%edi)\n\t"
        "call *%%ebx\n\t"
        "movl %%esp, %%ecx\n\t"
        "subl %%esi, %%ecx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(result), "=c"(delta)
        : "D"(arguments), "b"(attach)
        : "edx", "esi", "memory", "cc");
    return {result, delta};
}

TEST_F(ResourcesSkinLibrary, CalleeRemovesItsTwentyFourBytesOfArguments) {
    const Bytes skin = Skin(9);
    std::vector<unsigned char> copy(skin.data, skin.data + skin.size);
    const StackOutcome withSkin = AttachMeasuringStack(attach_, copy.data(), static_cast<int>(copy.size()), "");
    EXPECT_EQ(withSkin.result, 1);
    EXPECT_EQ(withSkin.stackDelta, 0);
    const StackOutcome withoutSkin = AttachMeasuringStack(attach_, nullptr, 0, "");
    EXPECT_EQ(withoutSkin.result, 0);
    EXPECT_EQ(withoutSkin.stackDelta, 0);
}
#endif

TEST_F(ResourcesSkinLibrary, AcceptsEveryEmbeddedSkin) {
    for (int number = 1; number <= VELMORA_SKIN_COUNT; ++number) {
        SCOPED_TRACE("skin " + std::to_string(number));
        const Bytes skin = Skin(number);
        std::vector<unsigned char> copy(skin.data, skin.data + skin.size);
        EXPECT_EQ(attach_(copy.data(), static_cast<int>(copy.size()), "", 0, 0, 0), 1);
        EXPECT_EQ(ActiveScheme(), SchemeOf(skin));
    }
}

TEST_F(ResourcesSkinLibrary, DamagedSkinsAreRefusedAndKeepTheActiveScheme) {
    const Bytes skin9 = Skin(9);
    std::vector<unsigned char> good(skin9.data, skin9.data + skin9.size);
    ASSERT_EQ(attach_(good.data(), static_cast<int>(good.size()), "", 0, 0, 0), 1);
    const std::vector<uint32_t> active = SchemeOf(skin9);

    struct Damage {
        const char* what;
        void (*apply)(std::vector<unsigned char>& bytes, int& length);
    };
    const Damage damages[] = {
        {"wrong magic", [](std::vector<unsigned char>& b, int&) { b[0] = 'X'; }},
        {"unknown format version", [](std::vector<unsigned char>& b, int&) { b[SKIN_OFFSET_FORMAT_VERSION] = 2; }},
        {"other header length", [](std::vector<unsigned char>& b, int&) { b[SKIN_OFFSET_HEADER_BYTES] = 84; }},
        {"length one short", [](std::vector<unsigned char>&, int& n) { --n; }},
        {"length one long", [](std::vector<unsigned char>& b, int& n) { b.push_back(0); ++n; }},
        {"only the header", [](std::vector<unsigned char>&, int& n) { n = SKIN_HEADER_BYTES; }},
        {"shorter than the header", [](std::vector<unsigned char>&, int& n) { n = SKIN_HEADER_BYTES - 1; }},
        {"negative length", [](std::vector<unsigned char>&, int& n) { n = -1; }},
        {"texture changed", [](std::vector<unsigned char>& b, int&) { b.back() ^= 1; }},
        {"name not terminated",
         [](std::vector<unsigned char>& b, int&) { b[SKIN_OFFSET_NAME + SKIN_NAME_BYTES - 1] = 'x'; }},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        std::vector<unsigned char> bytes(skin9.data, skin9.data + skin9.size);
        int length = static_cast<int>(bytes.size());
        damage.apply(bytes, length);
        EXPECT_EQ(attach_(bytes.data(), length, "", 0, 0, 0), 0);
        EXPECT_EQ(ActiveScheme(), active);
    }
    EXPECT_EQ(attach_(nullptr, SKIN_HEADER_BYTES, "", 0, 0, 0), 0);
    EXPECT_EQ(schemeColor_(-1), kNoColour);
    EXPECT_EQ(schemeColor_(SKIN_COLOUR_COUNT), kNoColour);
}

}  // namespace
