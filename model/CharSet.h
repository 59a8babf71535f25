#pragma once
// Text of a GEDCOM file's character set to code page 1252. Plain functions of
// the text, no state.
#include <string>

namespace StrFunc {

// ANSEL bytes to cp1252. Spacing ANSEL characters become their cp1252 byte,
// or '?' where cp1252 has none (L with stroke); a combining accent and the
// letter after it become one accented letter. A letter the accent has no
// cp1252 form for keeps its plain form (a caron on r leaves the r); an
// accent with no letter after it is dropped.
// A zero byte is copied and ends the text. The result is never longer than
// the input.
void AnselToAnsi(const std::string& text, std::string& s);
std::string AnselToAnsi(const std::string& text);

// UTF-8 to cp1252 through UTF-16; a character the code page lacks gives '?'
// (one '?' per character, also for characters beyond the 16-bit plane).
void Utf8ToAnsi(const std::string& text, std::string& s);
std::string Utf8ToAnsi(const std::string& text);

// cp1252 byte of one UTF-16 unit, '?' when the code page has none.
unsigned char WideCharToAnsi(char16_t c);

} // namespace StrFunc
