#include "export/ExportText.h"

#include <charconv>
#include <cmath>

namespace exportfmt {

std::string fixed(Extended value, int decimals) {
    if (!std::isfinite(value)) value = 0;
    static constexpr long long kScale[] = {1, 10, 100, 1000, 10000, 100000, 1000000};
    if (decimals >= 0 && decimals <= 6 && std::fabs(double(value)) < 1e12) {
        // Page coordinates: scaled to a whole number, far faster than printf.
        const long long scaled = std::llround(double(value) * double(kScale[decimals]));
        const unsigned long long a = scaled < 0 ? 0ULL - (unsigned long long)(scaled) : (unsigned long long)(scaled);
        char buf[48];
        char* p = buf;
        if (scaled < 0) *p++ = '-'; // a value that rounds to zero keeps no sign (scaled is 0)
        p = std::to_chars(p, buf + sizeof buf, a / (unsigned long long)(kScale[decimals])).ptr;
        if (decimals > 0) {
            *p++ = '.';
            unsigned long long frac = a % (unsigned long long)(kScale[decimals]);
            for (int i = decimals - 1; i >= 0; --i) {
                p[i] = char('0' + frac % 10);
                frac /= 10;
            }
            p += decimals;
        }
        return std::string(buf, p);
    }
    char buf[128];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    std::string s(buf, res.ptr);
    // A tiny negative value rounds to zero; do not write it as "-0.0000".
    if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
    return s;
}

std::string integer(long long value) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string rounded(Extended value) {
    if (!std::isfinite(value)) return "0";
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
    if (horzFactor == 0) return 0;
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

std::string urlPath(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(path.size());
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '.' ||
            b == '_' || b == '~' || b == '/') {
            out += c;
        } else {
            out += '%';
            out += hex[b >> 4];
            out += hex[b & 15];
        }
    }
    return out;
}

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    if (what.empty()) return text;
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    for (;;) {
        size_t hit = text.find(what, pos);
        if (hit == std::string::npos) break;
        out.append(text, pos, hit - pos);
        out += with;
        pos = hit + what.size();
    }
    out.append(text, pos, std::string::npos);
    return out;
}

} // namespace exportfmt
