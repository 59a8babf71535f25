#pragma once
// Small text forms shared by the document writers: numbers and colours as the
// file formats want them, never through the locale.
#include <string>

#include "platform/Colour.h"

namespace exportfmt {

// Positions and sizes are kept in extended precision, as the engine hands them.
using Extended = long double;

// Fixed notation with the given decimals and "." as separator ("12.5000").
std::string fixed(Extended value, int decimals);
// A whole number in decimal.
std::string integer(long long value);
// Rounded to the nearest integer (half to even), in decimal.
std::string rounded(Extended value);

// "FF0000" for red: red, green, blue as upper-case hexadecimal.
std::string htmlColour(plat::ColorRef c);
// "1.0000 0.0000 0.0000" for red: each byte / 255 with four decimals.
std::string pdfColour(plat::ColorRef c);
// The RGB value as a decimal integer.
std::string decimalColour(plat::ColorRef c);
// A pen width in device pixels as English metric units.
long long toEmu(Extended widthPixels, Extended horzFactor);

// Text made safe inside HTML elements and quoted attributes: & < > " as entities.
std::string htmlEscape(const std::string& text);

// A file name or relative path as the path of a relative URL: every byte
// but letters, digits, "-", ".", "_", "~" and "/" as "%XX", so that "?", "#",
// "%", ":" and blanks in a name are read as part of it.
std::string urlPath(const std::string& path);

// Replaces every occurrence of what by with.
std::string replaceAll(std::string text, const std::string& what, const std::string& with);

} // namespace exportfmt
