#pragma once
// Code page 1252 <-> UTF-16 / UTF-8, the one bridge between core text and the outside.
#include <cstdint>
#include <string>

namespace plat {

// UTF-16 unit of one cp1252 byte (the five unassigned bytes map to themselves).
char16_t cp1252ToUnicode(unsigned char c);
// cp1252 byte of a code point, or '?' when the code page has none.
unsigned char unicodeToCp1252(char32_t cp);

std::u16string cp1252ToUtf16(const std::string& s);
std::string utf16ToCp1252(const std::u16string& s);
std::string cp1252ToUtf8(const std::string& s);
// Strict-enough UTF-8 reader for file names and command-line texts; bad bytes become '?'.
std::string utf8ToCp1252(const std::string& s);
// A file name put into a message. Messages are UTF-8, as the system spells
// file names, so a name keeps letters the code page lacks; bytes that are no
// UTF-8 become U+FFFD.
std::string pathText(const std::string& path);

} // namespace plat
