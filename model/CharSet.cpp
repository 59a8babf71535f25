#include "model/CharSet.h"

#include <array>
#include <cstdint>

#include "model/JclUnicode.h"
#include "platform/CodePage.h"

namespace StrFunc {
namespace {

using ByteMap = std::array<unsigned char, 256>;

// Spacing ANSEL characters: their cp1252 byte, '?' where cp1252 has none
// (as for UTF-8 text); 0 = no ANSEL character, copy the byte.
constexpr ByteMap makeSpacing() {
    ByteMap m{};
    for (int c : {0xA1, 0xA7, 0xA9, 0xAC, 0xAD, 0xAE, 0xB0, 0xB1, 0xB3, 0xB7,
                  0xB8, 0xBC, 0xBD, 0xBE, 0xBF, 0xC1, 0xC2, 0xC4, 0xCD, 0xCE})
        m[size_t(c)] = '?'; // L and l, d with stroke, primes, alif, ayn, O and U with horn,
                            // dotless i, flat, sharp, script l, the LDS boxes, midline e and o
    m[0xA2] = 0xD8;
    m[0xA3] = 0xD0;
    m[0xA4] = 0xDE;
    m[0xA5] = 0xC6;
    m[0xA6] = 0x8C;
    m[0xA8] = 0xB7;
    m[0xAA] = 0xAE;
    m[0xAB] = 0xB1;
    m[0xB2] = 0xF8;
    m[0xB4] = 0xFE;
    m[0xB5] = 0xE6;
    m[0xB6] = 0x9C;
    m[0xB9] = 0xA3;
    m[0xBA] = 0xF0;
    m[0xC0] = 0xB0;
    m[0xC3] = 0xA9;
    m[0xC5] = 0xBF;
    m[0xC6] = 0xA1;
    m[0xC7] = 0xDF;
    m[0xC8] = 0x80;
    m[0xCF] = 0xDF;
    return m;
}

struct Pair {
    unsigned char base, result;
};

constexpr int kCaron = 8;
constexpr int kNoPairs = 9;

// Index of a combining byte in kPairs, -1 for every other byte.
constexpr int combiningIndex(unsigned char c) {
    switch (c) {
    case 0xE1: return 0; // grave
    case 0xE2: return 1; // acute
    case 0xE3: return 2; // circumflex
    case 0xE4: return 3; // tilde
    case 0xE6: return 4; // caron on s
    case 0xE8: return 5; // umlaut
    case 0xEA: return 6; // ring
    case 0xF0: return 7; // cedilla
    case 0xE9: return kCaron;
    default:
        // Hook, macron, dot above, ligature halves, double acute, ogonek, the
        // marks below and the others: cp1252 has no letter with them.
        return (c >= 0xE0 && c <= 0xFB) || c == 0xFE ? kNoPairs : -1;
    }
}

// Base letter -> accented cp1252 letter, one table per combining byte; 0 = no pair.
struct PairTables {
    std::array<ByteMap, 10> t{};
    constexpr void add(int row, std::initializer_list<Pair> pairs) {
        for (const Pair& p : pairs) t[size_t(row)][p.base] = p.result;
    }
    constexpr PairTables() {
        add(0, {{'A', 0xC0},
                {'E', 0xC8},
                {'I', 0xCC},
                {'O', 0xD2},
                {'U', 0xD9},
                {'a', 0xE0},
                {'e', 0xE8},
                {'i', 0xEC},
                {'o', 0xF2},
                {'u', 0xF9}});
        add(1, {{'A', 0xC1},
                {'E', 0xC9},
                {'I', 0xCD},
                {'O', 0xD3},
                {'U', 0xDA},
                {'Y', 0xDD},
                {'a', 0xE1},
                {'e', 0xE9},
                {'i', 0xED},
                {'o', 0xF3},
                {'u', 0xFA},
                {'y', 0xFD}});
        add(2, {{'A', 0xC2},
                {'E', 0xCA},
                {'I', 0xCE},
                {'O', 0xD4},
                {'U', 0xDB},
                {'a', 0xE2},
                {'e', 0xEA},
                {'i', 0xEE},
                {'o', 0xF4},
                {'u', 0xFB}});
        add(3, {{'A', 0xC3}, {'N', 0xD1}, {'O', 0xD5}, {'a', 0xE3}, {'n', 0xF1}, {'o', 0xF5}});
        add(4, {{'s', 0x9A}, {'S', 0x8A}});
        add(5, {{'A', 0xC4},
                {'E', 0xCB},
                {'I', 0xCF},
                {'O', 0xD6},
                {'U', 0xDC},
                {'Y', 0x9F},
                {'a', 0xE4},
                {'e', 0xEB},
                {'i', 0xEF},
                {'o', 0xF6},
                {'u', 0xFC},
                {'y', 0xFF}});
        add(6, {{'a', 0xE5}, {'A', 0xC5}});
        add(7, {{'c', 0xE7}, {'C', 0xC7}});
        add(kCaron, {{'s', 0x9A}, {'S', 0x8A}, {'z', 0x9E}, {'Z', 0x8E}});
    }
};

constexpr ByteMap kSpacing = makeSpacing();
constexpr PairTables kPairs;

} // namespace

void AnselToAnsi(const std::string& text, std::string& s) {
    s.clear();
    s.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c == 0) {
            s.push_back('\0');
            return;
        }
        if (c < 0xA1) {
            s.push_back(char(c));
            ++i;
            continue;
        }
        const int row = combiningIndex(c);
        if (row >= 0) {
            // The end of the text reads as 0, which no row pairs with: the
            // accent goes, as its own byte would show as an unrelated letter.
            const unsigned char next = i + 1 < n ? p[i + 1] : 0;
            const unsigned char r = kPairs.t[size_t(row)][next];
            if (r != 0) {
                s.push_back(char(r));
                i += 2;
            } else {
                // No accented form: drop the accent and read the next byte as
                // what it is, so the letter (or a further accent) survives.
                ++i;
            }
            continue;
        }
        s.push_back(char(kSpacing[c] ? kSpacing[c] : c));
        ++i;
    }
}

std::string AnselToAnsi(const std::string& text) {
    std::string s;
    AnselToAnsi(text, s);
    return s;
}

unsigned char WideCharToAnsi(char16_t c) {
    // Reverse of the code page, built once: '?' where the code page has no byte.
    static const std::array<unsigned char, 0x10000> table = [] {
        std::array<unsigned char, 0x10000> t{};
        for (std::uint32_t u = 0; u < 0x10000; ++u) t[u] = '?';
        for (int b = 0; b < 256; ++b)
            t[plat::cp1252ToUnicode(static_cast<unsigned char>(b))] = static_cast<unsigned char>(b);
        return t;
    }();
    return table[c];
}

void Utf8ToAnsi(const std::string& text, std::string& s) {
    s.clear();
    if (text.empty()) return;
    const std::u16string w = JclUnicode::Utf8ToWide(text);
    s.reserve(w.size());
    for (size_t i = 0; i < w.size(); ++i) {
        const char16_t u = w[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            // A character beyond the 16-bit plane: never in the code page.
            s.push_back('?');
            ++i;
            continue;
        }
        s.push_back(char(WideCharToAnsi(u)));
    }
}

std::string Utf8ToAnsi(const std::string& text) {
    std::string s;
    Utf8ToAnsi(text, s);
    return s;
}

} // namespace StrFunc
