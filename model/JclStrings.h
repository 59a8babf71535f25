#pragma once
// Character tables of the code page and the splitting / comparing routines
// built on them. Text is cp1252 in std::string.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace JclStrings {

// Character-type flags, one set per byte of the code page.
enum CharTypeFlags : std::uint16_t {
    C1_UPPER = 0x0001,
    C1_LOWER = 0x0002,
    C1_DIGIT = 0x0004,
    C1_SPACE = 0x0008,
    C1_PUNCT = 0x0010,
    C1_CNTRL = 0x0020,
    C1_BLANK = 0x0040,
    C1_XDIGIT = 0x0080,
    C1_ALPHA = 0x0100,
};

// The tables, built once on first use and never changed afterwards.
const std::array<std::uint16_t, 256>& CharTypes();
const std::array<unsigned char, 256>& LowerMap();
const std::array<unsigned char, 256>& UpperMap();
const std::array<unsigned char, 256>& SwapMap();

inline unsigned char CharLower(unsigned char c) { return LowerMap()[c]; }
inline unsigned char CharUpper(unsigned char c) { return UpperMap()[c]; }

// Splits text at every separator. Empty pieces are kept only when
// allowEmpty; a text that ends with the separator adds no empty last piece.
void StrToStrings(const std::string& text, const std::string& separator, std::vector<std::string>& list,
                  bool allowEmpty);

// 0 when equal ignoring case; length difference when lengths differ; else
// the difference of the first differing lower-cased bytes.
int StrCompare(const std::string& a, const std::string& b);

// Compares text from the 1-based index with the start of part over
// min(count, part length), with case. -1 / -2 for the argument errors.
int StrCompareRange(const std::string& text, const std::string& part, int index, int count);

// Digit, '+', '-' or the decimal separator.
bool IsNumberChar(char c);
// Not empty and every character a number character.
bool StrConsistsOfNumberChars(const std::string& text);

// Text without its leading characters that are in chars.
std::string TrimLeftChars(const std::string& text, std::string_view chars);

} // namespace JclStrings
