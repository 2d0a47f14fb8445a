// Icons from icon-file bytes: which directory entry is taken for each size, and bytes that
// give no icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "icon_from_bytes.h"

namespace {

struct Entry {
    int side;
    uint8_t colourCount;
};

// A 32-bit image as an icon file stores it: header, colour bits, mask.
std::vector<uint8_t> IconImage(int side) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = side;
    header.biHeight = side * 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    const size_t colourBytes = static_cast<size_t>(side) * side * 4;
    const size_t maskBytes = static_cast<size_t>((side + 31) / 32 * 4) * side;
    header.biSizeImage = static_cast<DWORD>(colourBytes + maskBytes);
    std::vector<uint8_t> image(reinterpret_cast<const uint8_t*>(&header),
                               reinterpret_cast<const uint8_t*>(&header) + sizeof header);
    image.resize(image.size() + colourBytes, 0xC0);
    image.resize(image.size() + maskBytes, 0);
    return image;
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    bytes[at] = static_cast<uint8_t>(value);
    bytes[at + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
    Put16(bytes, at, value & 0xFFFF);
    Put16(bytes, at + 2, value >> 16);
}

std::vector<uint8_t> IconFile(const std::vector<Entry>& entries, uint16_t type = 1) {
    std::vector<uint8_t> file(6 + 16 * entries.size(), 0);
    Put16(file, 2, type);
    Put16(file, 4, static_cast<uint32_t>(entries.size()));
    for (size_t i = 0; i < entries.size(); ++i) {
        const std::vector<uint8_t> image = IconImage(entries[i].side);
        const size_t entry = 6 + 16 * i;
        file[entry] = static_cast<uint8_t>(entries[i].side);
        file[entry + 1] = static_cast<uint8_t>(entries[i].side);
        file[entry + 2] = entries[i].colourCount;
        Put16(file, entry + 4, 1);
        Put16(file, entry + 6, 32);
        Put32(file, entry + 8, static_cast<uint32_t>(image.size()));
        Put32(file, entry + 12, static_cast<uint32_t>(file.size()));
        file.insert(file.end(), image.begin(), image.end());
    }
    return file;
}

// The width of the icon's image; 0 for no icon.
int IconWidth(const ScopedIcon& icon) {
    if (!icon) return 0;
    ICONINFO info{};
    if (!GetIconInfo(icon.Get(), &info)) return -1;
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

int WidthOf(const std::vector<uint8_t>& file, IconSize size) {
    return IconWidth(MakeIconFromFileBytes({file.data(), file.size()}, size));
}

const std::vector<Entry> kTrayLikeIcon{{128, 0}, {64, 0}, {48, 0}, {32, 0}, {16, 0}};

TEST(IconTest, EntryIsChosenByColourCountAndWidthElseTheLast) {
    struct Case {
        std::vector<Entry> entries;
        uint16_t type;
        int smallWidth;
        int largeWidth;
    };
    const Case cases[] = {
        {kTrayLikeIcon, 1, 16, 16},
        {{{48, 0}, {32, 16}, {16, 16}}, 1, 16, 32},
        {{{16, 255}, {32, 0}, {48, 0}}, 1, 16, 48},
        {{{32, 16}, {16, 8}, {48, 0}}, 1, 48, 32},
        {{{48, 16}, {32, 16}, {32, 255}}, 1, 32, 32},
        {{{32, 0}}, 2, 32, 32},   // a cursor file
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "entries " << c.entries.size() << " first " << c.entries[0].side);
        const std::vector<uint8_t> file = IconFile(c.entries, c.type);
        EXPECT_EQ(WidthOf(file, IconSize::Small), c.smallWidth);
        EXPECT_EQ(WidthOf(file, IconSize::Large), c.largeWidth);
    }
}

TEST(IconTest, BadHeaderGivesNoIcon) {
    struct Case {
        size_t at;
        uint16_t value;
    };
    const Case cases[] = {{0, 1}, {2, 0}, {2, 3}, {4, 0}};   // reserved, type, type, count
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "word at " << c.at << " = " << c.value);
        std::vector<uint8_t> file = IconFile(kTrayLikeIcon);
        Put16(file, c.at, c.value);
        EXPECT_EQ(WidthOf(file, IconSize::Small), 0);
        EXPECT_EQ(WidthOf(file, IconSize::Large), 0);
    }
}

TEST(IconTest, BytesEndingEarlyGiveNoIcon) {
    const std::vector<uint8_t> whole = IconFile(kTrayLikeIcon);
    ASSERT_EQ(WidthOf(whole, IconSize::Small), 16);
    for (const size_t length : {size_t{0}, size_t{5}, size_t{6 + 16 * 4 + 8}, whole.size() - 1}) {
        SCOPED_TRACE(length);
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_EQ(WidthOf(cut, IconSize::Small), 0);
    }
    EXPECT_EQ(IconWidth(MakeIconFromFileBytes({nullptr, 0}, IconSize::Large)), 0);
}

TEST(IconTest, EntryPointingOutsideTheBytesGivesNoIcon) {
    const size_t lastEntry = 6 + 16 * 4;
    struct Case {
        size_t field;
        uint32_t value;
    };
    const Case cases[] = {
        {lastEntry + 12, 0xFFFFFFF0u},   // offset far beyond the end
        {lastEntry + 8, 0xFFFFFFF0u},    // size that wraps past the end
        {lastEntry + 8, 10},             // too short for an image header
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "field " << c.field);
        std::vector<uint8_t> file = IconFile(kTrayLikeIcon);
        Put32(file, c.field, c.value);
        EXPECT_EQ(WidthOf(file, IconSize::Small), 0);
    }
}

TEST(IconTest, MissingGroupResourceGivesNoIcon) {
    EXPECT_EQ(IconWidth(MakeIconFromGroupResource(GetModuleHandleA(nullptr), "NO_SUCH_ICON", IconSize::Small)), 0);
}

}  // namespace
