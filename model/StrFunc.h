#pragma once
// Text routines on cp1252 text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace StrFunc {

// -1, 0 or 1 by unsigned byte values; on a common prefix the shorter first.
int CompareStrings(const std::string& a, const std::string& b);

// The number with thousands separators and no decimals ("1,234,567").
std::string FormatThousands(long long value);

// Each character through the accent table (accented letters to plain ones).
std::string RemoveAccents(const std::string& text);
unsigned char RemoveAccent(unsigned char c);

// The key a text column sorts by, and a typed search text is made into:
// accents removed, upper-cased, ended at a zero byte, at most kSortKeyLength
// characters.
constexpr std::size_t kSortKeyLength = 47;
std::string SortKey(const std::string& text);
// The same key, not cut: what a search compares where a stored key was cut.
std::string WholeKey(std::string_view text);
// A name part as its keys take it, however the file spaces it: blanks at
// either end dropped, each run of blanks inside made one blank.
std::string SquashBlanks(std::string text);
void SquashBlanksIn(std::string& text);
// A typed search text as its key takes it: leading blanks dropped and each
// run of blanks made one, a blank at the end kept ("Walter " is no Walters).
std::string SquashTypedBlanks(std::string text);

// Bit 0..7 of a byte; a bit number outside 0..7 leaves the byte unchanged
// and tests False.
bool TestBit(std::uint8_t value, int bit);
std::uint8_t SetBit(std::uint8_t value, int bit);
std::uint8_t ClearBit(std::uint8_t value, int bit);

// Line feeds removed, carriage returns turned into one blank.
std::string FlattenLineBreaks(const std::string& text);

// Every occurrence of c replaced by replacement (which may be empty).
std::string ReplaceChar(const std::string& text, char c, const std::string& replacement);

// Removes part again and again until it no longer occurs, also where a
// removal joins a new occurrence.
std::string RemoveAll(const std::string& text, const std::string& part);

// The longest start of text narrower than width pixels, measured with the
// text-width hook in the given font (nullptr = default). No ellipsis.
std::string FitToWidth(const std::string& text, int width, const void* font = nullptr);

// The next part of a long text from pos on, for showing it a part at a time:
// whole lines up to about budget characters, line breaks (CR LF, CR or LF) as
// LF, and a line longer than lineWidth continued on a line of its own (cut
// after a blank in the second half of the piece when there is one). pos moves
// past what was taken; parts follow each other as separate lines. Only a
// line's worth is looked at per line: a text may be one line of megabytes.
std::string NextTextPart(const std::string& text, std::size_t& pos, std::size_t budget, std::size_t lineWidth);

} // namespace StrFunc
