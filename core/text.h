// Texts are byte strings in code page 936 (GBK); empty and absent are the same value.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

using Text = std::string;

// Reads a decimal integer the way the schedule reads what the user typed: full-width
// forms are folded to ASCII, leading white space and one sign are taken, then digits
// up to the first other character. Never fails; overflow wraps modulo 2^32.
int32_t TextToInt(std::string_view text);

// Plain "%d".
Text IntToText(int32_t number);

// Byte-for-byte equality.
bool TextEquals(std::string_view a, std::string_view b);

// The texts joined in order with nothing between them.
Text ConcatText(std::initializer_list<std::string_view> parts);
