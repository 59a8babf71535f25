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
    {0xE2, 'u', 0xFA}, {0xE2, 'y', 0xFD},
    {0xE3, 'A', 0xC2}, {0xE3, 'E', 0xCA}, {0xE3, 'I', 0xCE}, {0xE3, 'O', 0xD4}, {0xE3, 'U', 0xDB},
    {0xE3, 'a', 0xE2}, {0xE3, 'e', 0xEA}, {0xE3, 'i', 0xEE}, {0xE3, 'o', 0xF4}, {0xE3, 'u', 0xFB},
    {0xE4, 'A', 0xC3}, {0xE4, 'N', 0xD1}, {0xE4, 'O', 0xD5}, {0xE4, 'a', 0xE3}, {0xE4, 'n', 0xF1},
    {0xE4, 'o', 0xF5},
    {0xE6, 's', 0x9A}, {0xE6, 'S', 0x8A},
    {0xE8, 'A', 0xC4}, {0xE8, 'E', 0xCB}, {0xE8, 'I', 0xCF}, {0xE8, 'O', 0xD6}, {0xE8, 'U', 0xDC},
    {0xE8, 'Y', 0x9F}, {0xE8, 'a', 0xE4}, {0xE8, 'e', 0xEB}, {0xE8, 'i', 0xEF}, {0xE8, 'o', 0xF6},
    {0xE8, 'u', 0xFC}, {0xE8, 'y', 0xFF},
    {0xEA, 'a', 0xE5}, {0xEA, 'A', 0xC5},
    {0xF0, 'c', 0xE7}, {0xF0, 'C', 0xC7},
};

const int kAccents[] = {0xE1, 0xE2, 0xE3, 0xE4, 0xE6, 0xE8, 0xEA, 0xF0};

} // namespace

TEST(CharSetAnsel, EveryAccentPairBecomesOneLetter) {
    for (const AccentPair& p : kPairs) {
        const std::string in = "x" + bytes({p.accent, p.base}) + "y";
        EXPECT_EQ(AnselToAnsi(in), "x" + bytes({p.result}) + "y")
            << std::hex << p.accent << " + " << p.base;
    }
}

TEST(CharSetAnsel, AccentOnUnlistedLetterKeepsTheLetter) {
    std::set<std::pair<int, int>> listed;
    for (const AccentPair& p : kPairs) listed.insert({p.accent, (unsigned char)p.base});
    int checked = 0;
    for (int accent : kAccents) {
        for (int base = 0x20; base < 0x7F; ++base) {
            if (listed.count({accent, base})) continue;
            const std::string in = bytes({'M', accent, base, 'r'});
            EXPECT_EQ(AnselToAnsi(in), bytes({'M', base, 'r'})) << std::hex << accent << " + " << base;
            ++checked;
        }
    }
    EXPECT_GT(checked, 700);
    // The examples that used to lose the letter or give another one.
    EXPECT_EQ(AnselToAnsi(bytes({0xE2, 'x'})), "x");
    EXPECT_EQ(AnselToAnsi(bytes({0xE6, 'z'})), "z");
    EXPECT_EQ(AnselToAnsi(bytes({0xEA, 'o'})), "o");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 's'})), "s");
}

TEST(CharSetAnsel, DocumentedExamples) {
    EXPECT_EQ(AnselToAnsi(bytes({0xE2, 'e'})), "\xE9");
    EXPECT_EQ(AnselToAnsi(bytes({'M', 0xE8, 'u', 'l', 'l', 'e', 'r'})), "M\xFCller");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 'C'})), "\xC7");
    EXPECT_EQ(AnselToAnsi(bytes({0xF0, 'c'})), "\xE7");
    EXPECT_EQ(AnselToAnsi("Plain ASCII, 1850."), "Plain ASCII, 1850.");
}

TEST(CharSetAnsel, AccentAtTheEndIsKept) {
    for (int accent : kAccents) {
        EXPECT_EQ(AnselToAnsi(bytes({'a', 'b', accent})), bytes({'a', 'b', accent})) << std::hex << accent;
        EXPECT_EQ(AnselToAnsi(bytes({accent})), bytes({accent}));
        // The end marker counts as the end of the text.
        EXPECT_EQ(AnselToAnsi(bytes({'a', accent, 0, 'e'})), bytes({'a', accent, 0}));
    }
}

TEST(CharSetAnsel, SpacingCharactersAndOtherBytes) {
    const std::vector<std::pair<int, int>> spacing = {
        {0xA2, 0xD8}, {0xA3, 0xD0}, {0xA4, 0xDE}, {0xA5, 0xC6}, {0xA6, 0x8C}, {0xA8, 0xB7},
        {0xAB, 0xB1}, {0xB2, 0xF8}, {0xB4, 0xFE}, {0xB5, 0xE6}, {0xB6, 0x9C}, {0xB9, 0xA3},
        {0xC0, 0xB0}, {0xC3, 0xA9}, {0xC5, 0xBF}, {0xC6, 0xA1}, {0xCF, 0xDF}};
    std::set<int> special;
    for (auto [a, r] : spacing) {
        EXPECT_EQ(AnselToAnsi(bytes({a})), bytes({r})) << std::hex << a;
        special.insert(a);
    }
    for (int a : kAccents) special.insert(a);
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
    EXPECT_EQ(Utf8ToAnsi("\xC5\x92uvre \xC5\xA0"), "\x8Cuvre \x8A");  // Œ and Š live in 0x80..0x9F
    EXPECT_EQ(Utf8ToAnsi("\xE2\x82\xAC" "5"), "\x80" "5");            // euro sign
    EXPECT_EQ(Utf8ToAnsi("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");  // curly quotes
}

TEST(CharSetUtf8, CharactersOutsideTheCodePageBecomeOneQuestionMark) {
    EXPECT_EQ(Utf8ToAnsi("\xC4\x80"), "?");                      // A with macron
    EXPECT_EQ(Utf8ToAnsi("a\xE4\xB8\xAD" "b"), "a?b");           // CJK
    EXPECT_EQ(Utf8ToAnsi("x\xF0\x9F\x98\x80y"), "x?y");          // 4 bytes: one character, one '?'
    EXPECT_EQ(Utf8ToAnsi("\xF0\x90\x8D\x88\xF0\x9F\x98\x80"), "??");
}

TEST(CharSetUtf8, InvalidSequencesNeitherCrashNorGrow) {
    EXPECT_EQ(Utf8ToAnsi("a\xC3"), "a?");          // cut off at the end
    EXPECT_EQ(Utf8ToAnsi("\xF0\x9F\x98"), "?");     // 4-byte lead cut off
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80"), "?");     // lone surrogate
    EXPECT_EQ(Utf8ToAnsi("\x80z"), "?z");           // stray continuation byte, U+0080 has no byte
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
