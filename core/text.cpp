#include "text.h"

#include <string>

namespace {

// Two-byte characters that stand for an ASCII character when reading a number.
Text FoldFullWidthForms(std::string_view text) {
    Text folded;
    folded.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            folded.push_back(text[i]);
            ++i;
            continue;
        }
        if (i + 1 >= text.size()) break;  // a lead byte without its partner ends the text
        const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
            folded.push_back(static_cast<char>(trail - 0x80));
        } else if (lead == 0xA1 && trail == 0xA1) {
            folded.push_back(' ');
        } else if (lead == 0xA1 && trail == 0xAB) {
            folded.push_back('~');
        } else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) {
            folded.push_back('*');
        } else {
            folded.append(text.substr(i, 2));
        }
        i += 2;
    }
    return folded;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int32_t TextToInt(std::string_view text) {
    const Text folded = FoldFullWidthForms(text);
    size_t i = 0;
    while (i < folded.size() && IsBlank(folded[i])) ++i;
    bool negative = false;
    if (i < folded.size() && (folded[i] == '+' || folded[i] == '-')) {
        negative = folded[i] == '-';
        ++i;
    }
    // Unsigned arithmetic wraps modulo 2^32 by definition, as the reading requires.
    uint32_t value = 0;
    for (; i < folded.size() && folded[i] >= '0' && folded[i] <= '9'; ++i) {
        value = value * 10u + static_cast<uint32_t>(folded[i] - '0');
    }
    if (negative) value = 0u - value;
    return static_cast<int32_t>(value);
}

Text IntToText(int32_t number) {
    return std::to_string(number);
}

bool TextEquals(std::string_view a, std::string_view b) {
    return a == b;
}

Text ConcatText(std::initializer_list<std::string_view> parts) {
    size_t length = 0;
    for (std::string_view part : parts) length += part.size();
    Text joined;
    joined.reserve(length);
    for (std::string_view part : parts) joined.append(part);
    return joined;
}
