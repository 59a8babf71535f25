#include "model/StrFunc.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <string_view>

#include "model/Global.h"
#include "platform/Hooks.h"

namespace StrFunc {
namespace {

std::array<unsigned char, 256> makeAccentTable() {
    std::array<unsigned char, 256> t{};
    for (unsigned i = 0; i < 256; ++i) t[i] = static_cast<unsigned char>(i);
    auto map = [&](std::initializer_list<unsigned> bytes, char to) {
        for (unsigned b : bytes) t[b] = static_cast<unsigned char>(to);
    };
    map({0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xC5, 0xC6}, 'A');
    map({0xC7}, 'C');
    map({0xC8, 0xC9, 0xCA, 0xCB}, 'E');
    map({0xCC, 0xCD, 0xCE, 0xCF}, 'I');
    map({0xD0}, 'D');
    map({0xD1}, 'N');
    map({0xD2, 0xD3, 0xD4, 0xD5, 0xD6, 0xD8}, 'O');
    map({0xD9, 0xDA, 0xDB, 0xDC}, 'U');
    map({0xDD}, 'Y');
    map({0xDF}, 'B');
    map({0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6}, 'a');
    map({0xE7}, 'c');
    map({0xE8, 0xE9, 0xEA, 0xEB}, 'e');
    map({0xEC, 0xED, 0xEE, 0xEF}, 'i');
    map({0xF1}, 'n');
    map({0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, 'o');
    map({0xF9, 0xFA, 0xFB, 0xFC}, 'u');
    map({0xAF, 0xFD, 0xFF}, 'y');
    return t;
}

const std::array<unsigned char, 256>& accentTable() {
    static const auto t = makeAccentTable();
    return t;
}

} // namespace

int CompareStrings(const std::string& a, const std::string& b) {
    const std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char ca = static_cast<unsigned char>(a[i]);
        const unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string FormatThousands(long long value) {
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, value);
    std::string digits(buf, r.ptr);
    std::string sign;
    if (!digits.empty() && digits[0] == '-') {
        sign = "-";
        digits.erase(0, 1);
    }
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out.push_back(',');
        out.push_back(digits[i]);
    }
    return sign + out;
}

unsigned char RemoveAccent(unsigned char c) { return accentTable()[c]; }

std::string SortKey(const std::string& text) {
    std::string key = Global::ToUpper(RemoveAccents(text));
    // A zero byte inside a text would end the stored key there anyway.
    const std::size_t nul = key.find('\0');
    if (nul != std::string::npos) key.resize(nul);
    if (key.size() > kSortKeyLength) key.resize(kSortKeyLength);
    return key;
}

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Most texts have nothing to squash: those are taken as they are.
bool squashed(const std::string& text, bool keepEnd) {
    const std::size_t n = text.size();
    if (n == 0) return true;
    if (isBlank(text[0]) || (!keepEnd && isBlank(text[n - 1]))) return false;
    for (std::size_t i = 1; i < n; ++i)
        if (text[i] == '\t' || (text[i] == ' ' && text[i - 1] == ' ')) return false;
    return true;
}

std::string squash(const std::string& text, bool keepEnd) {
    if (squashed(text, keepEnd)) return text;
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (isBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank) out.push_back(' ');
        blank = false;
        out.push_back(c);
    }
    if (blank && keepEnd) out.push_back(' ');
    return out;
}
} // namespace

std::string SquashBlanks(const std::string& text) { return squash(text, false); }

std::string SquashTypedBlanks(const std::string& text) { return squash(text, true); }

std::string RemoveAccents(const std::string& text) {
    const auto& t = accentTable();
    std::string out(text);
    for (char& c : out) c = static_cast<char>(t[static_cast<unsigned char>(c)]);
    return out;
}

bool TestBit(std::uint8_t value, int bit) {
    if (bit < 0 || bit > 7) return false;
    return (value >> bit) & 1u;
}

std::uint8_t SetBit(std::uint8_t value, int bit) {
    if (bit < 0 || bit > 7) return value;
    return static_cast<std::uint8_t>(value | (1u << bit));
}

std::uint8_t ClearBit(std::uint8_t value, int bit) {
    if (bit < 0 || bit > 7) return value;
    return static_cast<std::uint8_t>(value & ~(1u << bit));
}

std::string FlattenLineBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') continue;
        out.push_back(c == '\r' ? ' ' : c);
    }
    return out;
}

std::string ReplaceChar(const std::string& text, char c, const std::string& replacement) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (ch == c)
            out += replacement;
        else
            out.push_back(ch);
    }
    return out;
}

std::string RemoveAll(const std::string& text, const std::string& part) {
    if (part.empty()) return text;
    // Removing each occurrence as soon as it is complete gives the same result
    // as removing the leftmost occurrence over and over, in one pass.
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        out.push_back(c);
        if (out.size() >= part.size() && out.compare(out.size() - part.size(), part.size(), part) == 0)
            out.resize(out.size() - part.size());
    }
    return out;
}

std::string FitToWidth(const std::string& text, int width, const void* font) {
    auto measure = [&](const std::string& s) {
        const auto& w = plat::hooks().textWidth;
        return w ? w(s, font) : int(s.size()) * 6;
    };
    if (text.empty() || measure(text) < width) return text;
    std::string taken;
    std::size_t i = 0;
    while (i < text.size() && measure(taken) < width) taken.push_back(text[i++]);
    if (!taken.empty()) taken.pop_back();
    return taken;
}

std::string NextTextPart(const std::string& text, std::size_t& pos, std::size_t budget, std::size_t lineWidth) {
    const std::size_t n = text.size();
    lineWidth = std::max<std::size_t>(lineWidth, 1);
    std::string part;
    for (bool first = true; pos < n && part.size() < budget; first = false) {
        // The separator goes before a line, never after the last one taken:
        // the next part starts on a line of its own anyway.
        if (!first) part += '\n';
        // One character past the width: a line that fits shows its own break.
        const std::string_view window = std::string_view(text).substr(pos, lineWidth + 1);
        const std::size_t br = window.find_first_of("\r\n");
        if (br != std::string_view::npos) {
            part += window.substr(0, br);
            pos += br + (text[pos + br] == '\r' && pos + br + 1 < n && text[pos + br + 1] == '\n' ? 2 : 1);
        } else if (window.size() <= lineWidth) {
            part += window;
            pos = n;
        } else {
            const std::string_view piece = window.substr(0, lineWidth);
            const std::size_t blank = piece.rfind(' ');
            const std::size_t cut = blank != std::string_view::npos && blank >= lineWidth / 2 ? blank + 1 : lineWidth;
            part += piece.substr(0, cut);
            pos += cut;
        }
    }
    return part;
}

} // namespace StrFunc
