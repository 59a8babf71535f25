#include "export/ExportText.h"

#include <charconv>
#include <cmath>

namespace exportfmt {

std::string fixed(Extended value, int decimals) {
    if (!std::isfinite(value))
        value = 0;
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    // A tiny negative value rounds to zero; do not write it as "-0.0000".
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

std::string integer(long long value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string rounded(Extended value) {
    if (!std::isfinite(value))
        return "0";
    return integer(static_cast<long long>(std::nearbyint(value)));
}

std::string htmlColour(plat::ColorRef c) {
    static const char hex[] = "0123456789ABCDEF";
    std::string s;
    for (int byte : {plat::redOf(c), plat::greenOf(c), plat::blueOf(c)}) {
        s += hex[(byte >> 4) & 15];
        s += hex[byte & 15];
    }
    return s;
}

std::string pdfColour(plat::ColorRef c) {
    return fixed(plat::redOf(c) / 255.0L, 4) + " " + fixed(plat::greenOf(c) / 255.0L, 4) + " " +
           fixed(plat::blueOf(c) / 255.0L, 4);
}

std::string decimalColour(plat::ColorRef c) {
    // RGB as the desktop stores it: red in the low byte.
    return integer(static_cast<long long>(c & 0xFFFFFF));
}

long long toEmu(Extended widthPixels, Extended horzFactor) {
    if (horzFactor == 0)
        return 0;
    return static_cast<long long>(std::nearbyint(widthPixels / horzFactor * 3600));
}

std::string htmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    if (what.empty())
        return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(what, pos);
        if (hit == std::string::npos)
            break;
        out.append(text, pos, hit - pos);
        out += with;
        pos = hit + what.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

} // namespace exportfmt
