#include "model/JclStrings.h"

#include <algorithm>

namespace JclStrings {
namespace {

// Case pairs of code page 1252 beyond ASCII: upper, lower.
constexpr unsigned char kCasePairs[][2] = {
    {0x8A, 0x9A},
    {0x8C, 0x9C},
    {0x8E, 0x9E},
    {0x9F, 0xFF},
};

bool isUpper1252(unsigned c) {
    if (c >= 'A' && c <= 'Z') return true;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return true;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9F;
}
bool isLower1252(unsigned c) {
    if (c >= 'a' && c <= 'z') return true;
    // 0xDF (sharp s) and 0xB5 (micro) are lower case without an upper form here.
    if (c >= 0xDF && c <= 0xFF && c != 0xF7) return true;
    return c == 0x9A || c == 0x9C || c == 0x9E || c == 0x83 || c == 0xAA || c == 0xB5 || c == 0xBA;
}

unsigned char toUpper1252(unsigned c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    for (const auto& p : kCasePairs)
        if (c == p[1]) return p[0];
    return static_cast<unsigned char>(c);
}
unsigned char toLower1252(unsigned c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    for (const auto& p : kCasePairs)
        if (c == p[0]) return p[1];
    return static_cast<unsigned char>(c);
}

struct Tables {
    std::array<std::uint16_t, 256> types{};
    std::array<unsigned char, 256> lower{}, upper{}, swap{};
    Tables() {
        for (unsigned c = 0; c < 256; ++c) {
            std::uint16_t t = 0;
            if (isUpper1252(c)) t |= C1_UPPER | C1_ALPHA;
            if (isLower1252(c)) t |= C1_LOWER | C1_ALPHA;
            if (c >= '0' && c <= '9') t |= C1_DIGIT | C1_XDIGIT;
            if ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')) t |= C1_XDIGIT;
            if (c == ' ' || (c >= 9 && c <= 13) || c == 0xA0) t |= C1_SPACE;
            if (c == ' ' || c == '\t' || c == 0xA0) t |= C1_BLANK;
            if (c < 32 || c == 127) t |= C1_CNTRL;
            if (!(t & (C1_ALPHA | C1_DIGIT | C1_CNTRL | C1_SPACE)) && c > 32 && c != 0x81 && c != 0x8D && c != 0x8F &&
                c != 0x90 && c != 0x9D)
                t |= C1_PUNCT;
            types[c] = t;
            lower[c] = toLower1252(c);
            upper[c] = toUpper1252(c);
            swap[c] = isUpper1252(c) ? lower[c] : isLower1252(c) ? upper[c] : static_cast<unsigned char>(c);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

} // namespace

const std::array<std::uint16_t, 256>& CharTypes() { return tables().types; }
const std::array<unsigned char, 256>& LowerMap() { return tables().lower; }
const std::array<unsigned char, 256>& UpperMap() { return tables().upper; }
const std::array<unsigned char, 256>& SwapMap() { return tables().swap; }

void StrToStrings(const std::string& text, const std::string& separator, std::vector<std::string>& list,
                  bool allowEmpty) {
    list.clear();
    std::size_t start = 0;
    if (!separator.empty()) {
        for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
            if (at > start || allowEmpty) list.emplace_back(text, start, at - start);
            start = at + separator.size();
        }
    }
    if (start < text.size()) list.emplace_back(text, start);
}

int StrCompare(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return int(a.size()) - int(b.size());
    const auto& lower = LowerMap();
    for (std::size_t i = 0; i < a.size(); ++i) {
        const int ca = lower[static_cast<unsigned char>(a[i])];
        const int cb = lower[static_cast<unsigned char>(b[i])];
        if (ca != cb) return ca - cb;
    }
    return 0;
}

int StrCompareRange(const std::string& text, const std::string& part, int index, int count) {
    if (text.empty() && part.empty()) return 0;
    if (text.empty() || part.empty() || index < 1) return -1;
    if (count < 1) return -2;
    const long long last = static_cast<long long>(index) + count - 1;
    if (last > static_cast<long long>(text.size())) return -2;
    const std::size_t n = std::min<std::size_t>(std::size_t(count), part.size());
    const std::size_t from = std::size_t(index) - 1;
    for (std::size_t i = 0; i < n; ++i) {
        const int ct = static_cast<unsigned char>(text[from + i]);
        const int cp = static_cast<unsigned char>(part[i]);
        if (ct != cp) return ct - cp;
    }
    return 0;
}

bool IsNumberChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    // English settings: '.' is the decimal separator.
    return (CharTypes()[u] & C1_DIGIT) != 0 || c == '+' || c == '-' || c == '.';
}

bool StrConsistsOfNumberChars(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!IsNumberChar(c)) return false;
    return true;
}

std::string TrimLeftChars(const std::string& text, std::string_view chars) {
    std::size_t i = 0;
    while (i < text.size() && chars.find(text[i]) != std::string_view::npos) ++i;
    return text.substr(i);
}

} // namespace JclStrings
