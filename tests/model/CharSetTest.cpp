#include <gtest/gtest.h>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/CharSet.h"
#include "platform/CodePage.h"

using StrFunc::AnselToAnsi;
using StrFunc::Utf8ToAnsi;

namespace {

std::string bytes(std::initializer_list<int> b) {
    std::string s;
    for (int c : b) s.push_back(char(c));
    return s;
}

struct AccentPair {
    int accent;
    char base;
    int result;
};

// Every accented letter ANSEL can give in cp1252.
const std::vector<AccentPair> kPairs = {
    {0xE1, 'A', 0xC0}, {0xE1, 'E', 0xC8}, {0xE1, 'I', 0xCC}, {0xE1, 'O', 0xD2}, {0xE1, 'U', 0xD9},
    {0xE1, 'a', 0xE0}, {0xE1, 'e', 0xE8}, {0xE1, 'i', 0xEC}, {0xE1, 'o', 0xF2}, {0xE1, 'u', 0xF9},
    {0xE2, 'A', 0xC1}, {0xE2, 'E', 0xC9}, {0xE2, 'I', 0xCD}, {0xE2, 'O', 0xD3}, {0xE2, 'U', 0xDA},
    {0xE2, 'Y', 0xDD}, {0xE2, 'a', 0xE1}, {0xE2, 'e', 0xE9}, {0xE2, 'i', 0xED}, {0xE2, 'o', 0xF3},
    {0xE2, 'u', 0xFA}, {0xE2, 'y', 0xFD}, {0xE3, 'A', 0xC2}, {0xE3, 'E', 0xCA}, {0xE3, 'I', 0xCE},
    {0xE3, 'O', 0xD4}, {0xE3, 'U', 0xDB}, {0xE3, 'a', 0xE2}, {0xE3, 'e', 0xEA}, {0xE3, 'i', 0xEE},
    {0xE3, 'o', 0xF4}, {0xE3, 'u', 0xFB}, {0xE4, 'A', 0xC3}, {0xE4, 'N', 0xD1}, {0xE4, 'O', 0xD5},
    {0xE4, 'a', 0xE3}, {0xE4, 'n', 0xF1}, {0xE4, 'o', 0xF5}, {0xE6, 's', 0x9A}, {0xE6, 'S', 0x8A},
    {0xE8, 'A', 0xC4}, {0xE8, 'E', 0xCB}, {0xE8, 'I', 0xCF}, {0xE8, 'O', 0xD6}, {0xE8, 'U', 0xDC},
    {0xE8, 'Y', 0x9F}, {0xE8, 'a', 0xE4}, {0xE8, 'e', 0xEB}, {0xE8, 'i', 0xEF}, {0xE8, 'o', 0xF6},
    {0xE8, 'u', 0xFC}, {0xE8, 'y', 0xFF}, {0xEA, 'a', 0xE5}, {0xEA, 'A', 0xC5}, {0xF0, 'c', 0xE7},
    {0xF0, 'C', 0xC7}, {0xE9, 's', 0x9A}, {0xE9, 'S', 0x8A}, {0xE9, 'z', 0x9E}, {0xE9, 'Z', 0x8E}, // caron
};

// Every combining byte of ANSEL.
std::vector<int> allCombining() {
    std::vector<int> v;
    for (int c = 0xE0; c <= 0xFB; ++c) v.push_back(c);
    v.push_back(0xFE);
    return v;
}

} // namespace

TEST(CharSetAnsel, EveryAccentPairBecomesOneLetter) {
    for (const AccentPair& p : kPairs) {
        const std::string in = "x" + bytes({p.accent, p.base}) + "y";
        EXPECT_EQ(AnselToAnsi(in), "x" + bytes({p.result}) + "y") << std::hex << p.accent << " + " << p.base;
    }
}

TEST(CharSetAnsel, AccentOnUnlistedLetterKeepsTheLetter) {
    std::set<std::pair<int, int>> listed;
    for (const AccentPair& p : kPairs) listed.insert({p.accent, (unsigned char)p.base});
    int checked = 0;
    for (int accent : allCombining()) {
        for (int base = 0x20; base < 0x7F; ++base) {
            if (listed.count({accent, base})) continue;
            const std::string in = bytes({'M', accent, base, 'r'});
            EXPECT_EQ(AnselToAnsi(in), bytes({'M', base, 'r'})) << std::hex << accent << " + " << base;
            ++checked;
        }
    }
    EXPECT_GT(checked, 2500);
    // The examples that used to lose the letter or give another one.
    EXPECT_EQ(AnselToAnsi(bytes({0xE2, 'x'})), "x");
    EXPECT_EQ(AnselToAnsi(bytes({0xE6, 'z'})), "z");
    EXPECT_EQ(AnselToAnsi(bytes({0xEA, 'o'})), "o");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 's'})), "s");
    // Caron, ogonek and dot above gave other letters, and so did Ł and ł:
    // "Dvořák", "Łódź", "Wałęsa", "Żabka".
    EXPECT_EQ(AnselToAnsi(bytes({'D', 'v', 'o', 0xE9, 'r', 0xE2, 'a', 'k'})), "Dvor\xE1k");
    EXPECT_EQ(AnselToAnsi(bytes({0xA1, 0xE2, 'o', 'd', 0xE2, 'z'})), "?\xF3"
                                                                     "dz");
    EXPECT_EQ(AnselToAnsi(bytes({'W', 'a', 0xB1, 0xF1, 'e', 's', 'a'})), "Wa?esa");
    EXPECT_EQ(AnselToAnsi(bytes({0xE7, 'Z', 'a'})), "Za");
}

TEST(CharSetAnsel, DocumentedExamples) {
    EXPECT_EQ(AnselToAnsi(bytes({0xE2, 'e'})), "\xE9");
    EXPECT_EQ(AnselToAnsi(bytes({'M', 0xE8, 'u', 'l', 'l', 'e', 'r'})), "M\xFCller");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 'C'})), "\xC7");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 'c'})), "\xE7");
    EXPECT_EQ(AnselToAnsi("Plain ASCII, 1850."), "Plain ASCII, 1850.");
}

TEST(CharSetAnsel, AccentAtTheEnd) {
    // A mark with no letter after it goes, listed or not: it must not read as
    // the cp1252 letter of its byte ("X " + grave showed as "X \xE1").
    for (int accent : allCombining()) {
        EXPECT_EQ(AnselToAnsi(bytes({'X', ' ', accent})), "X ") << std::hex << accent;
        EXPECT_EQ(AnselToAnsi(bytes({accent})), "") << std::hex << accent;
        EXPECT_EQ(AnselToAnsi(bytes({'X', accent, 0xE2})), "X") << std::hex << accent;
        EXPECT_EQ(AnselToAnsi(bytes({'X', 0xE8, accent})), "X") << std::hex << accent;
        // The end marker counts as the end of the text.
        EXPECT_EQ(AnselToAnsi(bytes({'a', accent, 0, 'e'})), bytes({'a', 0})) << std::hex << accent;
        // Before a blank or a line end inside the text.
        EXPECT_EQ(AnselToAnsi(bytes({'X', accent, ' ', 'Y', accent, '\r', '\n', 'Z'})), "X Y\r\nZ")
            << std::hex << accent;
    }
}

TEST(CharSetAnsel, SpacingCharactersAndOtherBytes) {
    // Every spacing ANSEL character by its Unicode character: its cp1252
    // byte, '?' where the code page has none. Midline e and o have no
    // Unicode form (0xFFFD here).
    const std::vector<std::pair<int, char16_t>> spacing = {
        {0xA1, 0x0141}, {0xA2, 0x00D8}, {0xA4, 0x00DE}, {0xA5, 0x00C6}, {0xA6, 0x0152}, {0xA7, 0x02B9}, {0xA8, 0x00B7},
        {0xA9, 0x266D}, {0xAA, 0x00AE}, {0xAB, 0x00B1}, {0xAC, 0x01A0}, {0xAD, 0x01AF}, {0xAE, 0x02BC}, {0xB0, 0x02BB},
        {0xB1, 0x0142}, {0xB2, 0x00F8}, {0xB3, 0x0111}, {0xB4, 0x00FE}, {0xB5, 0x00E6}, {0xB6, 0x0153}, {0xB7, 0x02BA},
        {0xB8, 0x0131}, {0xB9, 0x00A3}, {0xBA, 0x00F0}, {0xBC, 0x01A1}, {0xBD, 0x01B0}, {0xBE, 0x25A1}, {0xBF, 0x25A0},
        {0xC0, 0x00B0}, {0xC1, 0x2113}, {0xC2, 0x2117}, {0xC3, 0x00A9}, {0xC4, 0x266F}, {0xC5, 0x00BF}, {0xC6, 0x00A1},
        {0xC7, 0x00DF}, {0xC8, 0x20AC}, {0xCD, 0xFFFD}, {0xCE, 0xFFFD}, {0xCF, 0x00DF}};
    std::set<int> special = {0xA3};
    EXPECT_EQ(AnselToAnsi(bytes({0xA3})), "\xD0"); // D with stroke shows as the look-alike Eth
    for (auto [a, u] : spacing) {
        EXPECT_EQ(AnselToAnsi(bytes({a, 'z'})), bytes({StrFunc::WideCharToAnsi(u), 'z'})) << std::hex << a;
        special.insert(a);
    }
    EXPECT_EQ(AnselToAnsi(bytes({0xA1, 0xB1, 0xAA})), "??\xAE");
    for (int a : allCombining()) special.insert(a);
    for (int c = 1; c < 256; ++c) {
        if (special.count(c)) continue;
        EXPECT_EQ(AnselToAnsi(bytes({c, 'z'})), bytes({c, 'z'})) << std::hex << c;
    }
    // A zero byte is copied and ends the conversion.
    EXPECT_EQ(AnselToAnsi(std::string("ab\0cd", 5)), std::string("ab\0", 3));
}

TEST(CharSetAnsel, StackedAccentsKeepTheLastOneThatFits) {
    // acute + umlaut + e: no letter takes both, the umlaut goes on the e.
    EXPECT_EQ(AnselToAnsi(bytes({0xE2, 0xE8, 'e'})), "\xEB");
    // accent before a spacing character: the accent goes, the character converts.
    EXPECT_EQ(AnselToAnsi(bytes({0xE1, 0xA2})), "\xD8");
}

TEST(CharSetAnsel, OutputNeverLongerAndReusesTheBuffer) {
    std::mt19937 rng(7);
    std::string out;
    for (int i = 0; i < 2000; ++i) {
        std::string in(rng() % 20, ' ');
        for (char& c : in) c = char(0x80 + rng() % 0x80);
        StrFunc::AnselToAnsi(in, out);
        EXPECT_LE(out.size(), in.size());
    }
}

TEST(CharSetUtf8, AsciiAndAccents) {
    EXPECT_EQ(Utf8ToAnsi("Smith, John 1850"), "Smith, John 1850");
    EXPECT_EQ(Utf8ToAnsi(""), "");
    EXPECT_EQ(Utf8ToAnsi("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(Utf8ToAnsi("M\xC3\xBCller \xC3\x85se"), "M\xFCller \xC5se");
    EXPECT_EQ(Utf8ToAnsi("\xC5\x92uvre \xC5\xA0"), "\x8Cuvre \x8A"); // Œ and Š live in 0x80..0x9F
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC"
                         "5"),
              "\x80"
              "5");                                                  // euro sign
    EXPECT_EQ(Utf8ToAnsi("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94"); // curly quotes
}

TEST(CharSetUtf8, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
    EXPECT_EQ(Utf8ToAnsi("\xC4\x80"), "?"); // A with macron
    EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD"
                         "b"),
              "a?b");                                   // CJK
    EXPECT_EQ(Utf8ToAnsi("x\xF0\x9F\x98\x80y"), "x?y"); // 4 bytes: one character, one '?'
    EXPECT_EQ(Utf8ToAnsi("\xF0\x90\x8D\x88\xF0\x9F\x98\x80"), "??");
}

TEST(CharSetUtf8, InvalidSequencesNeitherCrashNorGrow) {
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");       // cut off at the end
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98"), "?"); // 4-byte lead cut off
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "?"); // lone surrogate
    EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");       // stray continuation byte, U+0080 has no byte
    std::mt19937 rng(11);
    for (int i = 0; i < 2000; ++i) {
        std::string in(rng() % 16, ' ');
        for (char& c : in) c = char(rng() % 256);
        const std::string out = Utf8ToAnsi(in);
        EXPECT_LE(out.size(), in.size());
    }
}

TEST(CharSetUtf8, ReverseTableCoversEveryByte) {
    // Every cp1252 character written as UTF-8 comes back as its byte.
    for (int b = 1; b < 256; ++b) {
        const char16_t w = plat::cp1252ToUnicode(static_cast<unsigned char>(b));
        std::string utf8;
        if (w < 0x80) {
            utf8.push_back(char(w));
        } else if (w < 0x800) {
            utf8.push_back(char(0xC0 | (w >> 6)));
            utf8.push_back(char(0x80 | (w & 0x3F)));
        } else {
            utf8.push_back(char(0xE0 | (w >> 12)));
            utf8.push_back(char(0x80 | ((w >> 6) & 0x3F)));
            utf8.push_back(char(0x80 | (w & 0x3F)));
        }
        EXPECT_EQ(Utf8ToAnsi(utf8), bytes({b})) << b;
        EXPECT_EQ(StrFunc::WideCharToAnsi(w), b);
    }
    EXPECT_EQ(StrFunc::WideCharToAnsi(0x0100), '?');
    EXPECT_EQ(StrFunc::WideCharToAnsi(0xFFFD), '?');
}
