#include "model/StrFunc.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <string_view>
#include <utility>

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
    // Both cases of a letter key alike: eth and y with diaeresis take the
    // plain letter in either case.
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
    map({0xF0}, 'd');
    map({0xF1}, 'n');
    map({0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8}, 'o');
    map({0xF9, 0xFA, 0xFB, 0xFC}, 'u');
    map({0xAF, 0xFD, 0xFF}, 'y');
    map({0x9F}, 'Y');
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

namespace {
// Accents removed and letters upper-cased through one table, in one pass.
std::string keyOf(std::string_view text, std::size_t most) {
    static const std::array<unsigned char, 256> keyTable = [] {
        std::array<unsigned char, 256> t{};
        for (int c = 0; c < 256; ++c)
            t[std::size_t(c)] = Global::UpperChar(RemoveAccent(static_cast<unsigned char>(c)));
        return t;
    }();
    // A zero byte inside a text would end the stored key there anyway.
    std::size_t n = std::min(text.size(), most);
    if (const void* nul = std::memchr(text.data(), '\0', n))
        n = std::size_t(static_cast<const char*>(nul) - text.data());
    std::string key(text.substr(0, n));
    for (char& c : key) c = static_cast<char>(keyTable[static_cast<unsigned char>(c)]);
    return key;
}
} // namespace

std::string SortKey(const std::string& text) { return keyOf(text, kSortKeyLength); }

std::string WholeKey(std::string_view text) { return keyOf(text, text.size()); }

namespace {
bool isBlank(char c) { return c == ' ' || c == '\t'; }

void squash(std::string& text, bool keepEnd) {
    // Most texts have nothing to squash.
    if (text.empty()) return;
    if (!isBlank(text.front()) && (keepEnd || !isBlank(text.back())) && text.find('\t') == std::string::npos &&
        text.find("  ") == std::string::npos)
        return;
    std::size_t out = 0;
    bool blank = false;
    for (char c : text) {
        if (isBlank(c)) {
            blank = out > 0;
            continue;
        }
        if (blank) text[out++] = ' ';
        blank = false;
        text[out++] = c;
    }
    if (blank && keepEnd) text[out++] = ' ';
    text.resize(out);
}
} // namespace

void SquashBlanksIn(std::string& text) { squash(text, false); }

std::string SquashBlanks(std::string text) {
    squash(text, false);
    return text;
}

std::string SquashTypedBlanks(std::string text) {
    squash(text, true);
    return text;
}

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
