// TextToInt on any bytes: no crash, no sanitizer report, and the same result as a
// reference reader written here from the rules of reading a typed number, in one pass
// with 64-bit arithmetic reduced modulo 2^32 by hand.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "text.h"

namespace {

constexpr uint64_t kWrap = uint64_t{1} << 32;
constexpr int kNotAscii = -1;  // a double-byte character that stands for nothing ASCII

// The ASCII character a character of the text stands for when reading a number, or
// kNotAscii. Sets length to the bytes it takes; 0 ends the text (a lone final lead byte).
int FoldedCharacter(std::string_view text, size_t at, size_t& length) {
    const unsigned lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        length = 1;
        return static_cast<int>(lead);
    }
    if (at + 1 == text.size()) {
        length = 0;
        return kNotAscii;
    }
    length = 2;
    const unsigned trail = static_cast<unsigned char>(text[at + 1]);
    if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return static_cast<int>(trail) - 0x80;
    if (lead == 0xA1) {
        switch (trail) {
            case 0xA1: return ' ';
            case 0xAB: return '~';
            case 0xEE:
            case 0xEF: return '*';
            default: break;
        }
    }
    return kNotAscii;
}

int32_t ReferenceTextToInt(std::string_view text) {
    enum class Stage { kBlanks, kDigits } stage = Stage::kBlanks;
    bool negative = false;
    uint64_t value = 0;
    for (size_t at = 0; at < text.size();) {
        size_t length = 0;
        const int c = FoldedCharacter(text, at, length);
        if (length == 0) break;
        at += length;
        if (stage == Stage::kBlanks) {
            if (c == ' ' || (c >= '\t' && c <= '\r')) continue;
            stage = Stage::kDigits;
            if (c == '+' || c == '-') {
                negative = c == '-';
                continue;
            }
        }
        if (c < '0' || c > '9') break;
        value = (value * 10 + static_cast<uint64_t>(c - '0')) % kWrap;
    }
    if (negative) value = (kWrap - value) % kWrap;
    const int64_t asSigned = value >= kWrap / 2 ? static_cast<int64_t>(value) - static_cast<int64_t>(kWrap)
                                                : static_cast<int64_t>(value);
    return static_cast<int32_t>(asSigned);
}

void Fail(const char* what, int64_t got, int64_t expected) {
    std::fprintf(stderr, "TextToInt %s: got %lld, expected %lld\n", what,
                 static_cast<long long>(got), static_cast<long long>(expected));
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const int32_t read = TextToInt(text);
    const int32_t expected = ReferenceTextToInt(text);
    if (read != expected) Fail("differs from the reference", read, expected);

    // Whatever number the input reads as, its decimal text reads back as that number,
    // also behind full-width blanks.
    if (TextToInt(IntToText(read)) != read) Fail("of IntToText", TextToInt(IntToText(read)), read);
    const Text behindBlanks = ConcatText({"\xA1\xA1 \t", IntToText(read)});
    if (TextToInt(behindBlanks) != read) Fail("behind blanks", TextToInt(behindBlanks), read);
    return 0;
}
