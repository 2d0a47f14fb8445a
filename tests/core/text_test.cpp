#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>

#include "text.h"

namespace {

struct TextToIntCase {
    const char* name;
    std::string text;
    int32_t expected;
};

void PrintTo(const TextToIntCase& c, std::ostream* out) { *out << c.name; }

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// Decimal digits wrapped to 32 bits the way two's-complement hardware does.
int32_t Wrapped(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

class TextToIntTest : public testing::TestWithParam<TextToIntCase> {};

TEST_P(TextToIntTest, ReadsTypedNumbers) {
    EXPECT_EQ(TextToInt(GetParam().text), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextToIntTest,
    testing::Values(
        TextToIntCase{"plain", "21", 21},
        TextToIntCase{"leading zero", "08", 8},
        TextToIntCase{"leading blank", " 8", 8},
        TextToIntCase{"every kind of white space", " \t\n\v\f\r9", 9},
        TextToIntCase{"full-width digits", "２１", 21},
        TextToIntCase{"full-width 23", "２３", 23},
        TextToIntCase{"full-width minus and digit", "－５", -5},
        TextToIntCase{"full-width plus", "＋７", 7},
        TextToIntCase{"ideographic space, minus, full-width digit", "　-５", -5},
        TextToIntCase{"full-width digits after ASCII ones", "1２3", 123},
        TextToIntCase{"stops at a colon", "12:30", 12},
        TextToIntCase{"stops at a point", "1.9", 1},
        TextToIntCase{"stops at a Chinese unit", "23时", 23},
        TextToIntCase{"stops at a tilde", "5～6", 5},
        TextToIntCase{"letters", "abc", 0},
        TextToIntCase{"full-width letter", "ａ1", 0},
        TextToIntCase{"empty", "", 0},
        TextToIntCase{"sign then blank", "- 7", 0},
        TextToIntCase{"two signs", "+-7", 0},
        TextToIntCase{"plus", "+7", 7},
        TextToIntCase{"blanks then minus zero", "  -0", 0},
        TextToIntCase{"largest", "2147483647", kMax},
        TextToIntCase{"smallest", "-2147483648", kMin},
        TextToIntCase{"2^31 wraps to the smallest", "2147483648", kMin},
        TextToIntCase{"2^32 + 1 wraps to 1", "4294967297", 1},
        TextToIntCase{"2^32 - 1 wraps to -1", "4294967295", -1},
        TextToIntCase{"below the smallest wraps", "-2147483649", kMax},
        TextToIntCase{"eleven digits", "99999999999", Wrapped(99999999999LL)},
        TextToIntCase{"twenty digits", "12345678901234567890",
                      Wrapped(static_cast<int64_t>(12345678901234567890ULL % 4294967296ULL))},
        TextToIntCase{"a trailing lead byte is dropped", "12\xB0", 12},
        TextToIntCase{"a lone lead byte after the digits", "7\x81", 7},
        TextToIntCase{"A3 with a trail byte outside the full-width range stays",
                      "\xA3" "7", 0},
        TextToIntCase{"another double-byte character stays", "七7", 0},
        TextToIntCase{"digits after a double-byte character are not read", "第3", 0}),
    [](const testing::TestParamInfo<TextToIntCase>& info) {
        return "Case" + std::to_string(info.index);
    });

TEST(IntToTextTest, WritesPlainDecimal) {
    const struct {
        int32_t number;
        const char* expected;
    } cases[] = {{8, "8"}, {0, "0"}, {-5, "-5"}, {22, "22"}, {kMax, "2147483647"},
                 {kMin, "-2147483648"}};
    for (const auto& c : cases) EXPECT_EQ(IntToText(c.number), c.expected) << c.number;
}

TEST(IntToTextTest, ReadsBackThroughTextToInt) {
    for (int32_t number : {kMin, -100000, -1, 0, 1, 59, 86399, kMax}) {
        EXPECT_EQ(TextToInt(IntToText(number)), number);
    }
}

TEST(TextEqualsTest, ComparesBytes) {
    const struct {
        std::string a, b;
        bool expected;
    } cases[] = {
        {Text(), "", true},
        {"Y", "Y", true},
        {"Y", "Y ", false},
        {"Y", "y", false},
        {"1", " 1", false},
        {"1", "１", false},
        {"星期一", "星期一", true},
        {"星期一", "星期二", false},
        {std::string("a\0b", 3), "a", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TextEquals(c.a, c.b), c.expected) << '"' << c.a << "\" vs \"" << c.b << '"';
        EXPECT_EQ(TextEquals(c.b, c.a), c.expected);
    }
}

TEST(ConcatTextTest, JoinsInOrderWithNothingBetween) {
    EXPECT_EQ(ConcatText({}), "");
    EXPECT_EQ(ConcatText({"a"}), "a");
    EXPECT_EQ(ConcatText({"关机时间为", "22", ":", "30"}), "关机时间为22:30");
    EXPECT_EQ(ConcatText({Text(), "x", "", Text(), "y"}), "xy");
    EXPECT_EQ(ConcatText({std::string_view("a\0", 2), "b"}), std::string("a\0b", 3));
}

}  // namespace
