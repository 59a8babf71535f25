#pragma once
// UTF-8 to UTF-16 decoding for texts read from files.
#include <string>

namespace JclUnicode {

// UTF-16 text of a UTF-8 text. Trailing bytes are not checked for the
// continuation pattern; a stray continuation byte stands for itself. Values
// beyond U+10FFFF and sequences cut off by the end of the text give U+FFFD.
std::u16string Utf8ToWide(const std::string& text);

} // namespace JclUnicode
