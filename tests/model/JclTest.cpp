#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/JclLogic.h"
#include "model/JclStrings.h"
#include "model/JclUnicode.h"

using V = std::vector<std::string>;

TEST(JclStrToStrings, PiecesWithAndWithoutEmpty) {
    V out{"stale"};
    JclStrings::StrToStrings("a,,b,", ",", out, false);
    EXPECT_EQ(out, (V{"a", "b"}));
    JclStrings::StrToStrings("a,,b,", ",", out, true);
    EXPECT_EQ(out, (V{"a", "", "b"})); // no empty last piece after a trailing separator
    JclStrings::StrToStrings(",a", ",", out, true);
    EXPECT_EQ(out, (V{"", "a"}));
    JclStrings::StrToStrings(",a", ",", out, false);
    EXPECT_EQ(out, (V{"a"}));
    JclStrings::StrToStrings("", ",", out, true);
    EXPECT_TRUE(out.empty());
    JclStrings::StrToStrings("abc", ",", out, false);
    EXPECT_EQ(out, (V{"abc"}));
    JclStrings::StrToStrings("a::b:c::", "::", out, true);
    EXPECT_EQ(out, (V{"a", "b:c"}));
    JclStrings::StrToStrings("a,b", "", out, true);
    EXPECT_EQ(out, (V{"a,b"}));
}

TEST(JclStrCompare, CaseInsensitiveEquality) {
    EXPECT_EQ(JclStrings::StrCompare("Smith", "SMITH"), 0);
    EXPECT_NE(JclStrings::StrCompare("Smith", "Smiths"), 0);
    EXPECT_EQ(JclStrings::StrCompare("Smith", "Smiths"), -1); // length difference
    EXPECT_EQ(JclStrings::StrCompare("abcd", "ab"), 2);
    EXPECT_LT(JclStrings::StrCompare("abc", "ABD"), 0);
    EXPECT_GT(JclStrings::StrCompare("abd", "ABC"), 0);
    EXPECT_EQ(JclStrings::StrCompare("", ""), 0);
    // Code-page letters compare without case too: E-acute, OE, Y-diaeresis.
    EXPECT_EQ(JclStrings::StrCompare("\xC9\x8C\x9F", "\xE9\x9C\xFF"), 0);
    EXPECT_NE(JclStrings::StrCompare("\xC9", "E"), 0);
}

TEST(JclStrCompareRange, ReturnCodes) {
    const struct {
        const char* text;
        const char* part;
        int index, count, expected;
    } cases[] = {
        {"", "", 1, 1, 0},       // both empty
        {"", "a", 1, 1, -1},     // empty text
        {"abc", "", 1, 1, -1},   // empty part
        {"abc", "a", 0, 1, -1},  // index below 1
        {"abc", "a", -3, 0, -1}, // index checked before count
        {"abc", "a", 1, 0, -2},  // count below 1
        {"abc", "bc", 2, 3, -2}, // range past the end
        {"abc", "c", 4, 1, -2},
        {"abcdef", "cd", 3, 2, 0},
        {"abcdef", "cX", 3, 2, 'd' - 'X'},
        {"abc", "A", 1, 1, 'a' - 'A'}, // with case
        {"abcdef", "ab", 1, 5, 0},     // over the part's length only
        {"abcdef", "abX", 1, 2, 0},    // over count only
        {"abc", "abc", 1, 3, 0},
        {"\xE9", "e", 1, 1, 0xE9 - 'e'}, // bytes compare unsigned
    };
    for (const auto& c : cases)
        EXPECT_EQ(JclStrings::StrCompareRange(c.text, c.part, c.index, c.count), c.expected)
            << c.text << " / " << c.part << " @" << c.index << " #" << c.count;
}

TEST(JclNumberChars, DigitsSignsAndSeparator) {
    EXPECT_TRUE(JclStrings::StrConsistsOfNumberChars("-12.5"));
    EXPECT_TRUE(JclStrings::StrConsistsOfNumberChars("+"));
    EXPECT_TRUE(JclStrings::StrConsistsOfNumberChars("0123456789"));
    EXPECT_FALSE(JclStrings::StrConsistsOfNumberChars(""));
    EXPECT_FALSE(JclStrings::StrConsistsOfNumberChars("12a"));
    EXPECT_FALSE(JclStrings::StrConsistsOfNumberChars("1 2"));
    EXPECT_FALSE(JclStrings::StrConsistsOfNumberChars("1,2"));
    EXPECT_FALSE(JclStrings::IsNumberChar('\xB2'));
}

TEST(JclTrimLeft, CharacterSet) {
    EXPECT_EQ(JclStrings::TrimLeftChars("00120", "0"), "120");
    EXPECT_EQ(JclStrings::TrimLeftChars(" \t x ", " \t"), "x ");
    EXPECT_EQ(JclStrings::TrimLeftChars("000", "0"), "");
    EXPECT_EQ(JclStrings::TrimLeftChars("abc", ""), "abc");
}

TEST(JclCaseMaps, LowerUpperSwap) {
    using JclStrings::LowerMap;
    using JclStrings::SwapMap;
    using JclStrings::UpperMap;
    EXPECT_EQ(SwapMap()['a'], 'A');
    EXPECT_EQ(SwapMap()['A'], 'a');
    EXPECT_EQ(SwapMap()['1'], '1');
    EXPECT_EQ(SwapMap()[0x9A], 0x8A);
    EXPECT_EQ(SwapMap()[0x9F], 0xFF);
    EXPECT_EQ(SwapMap()[0xDF], 0xDF); // sharp s has no upper form
    EXPECT_EQ(SwapMap()[0xD7], 0xD7); // multiplication sign is no letter
    for (int c = 0; c < 256; ++c) {
        const auto u = static_cast<unsigned char>(c);
        EXPECT_EQ(LowerMap()[UpperMap()[LowerMap()[u]]], LowerMap()[u]) << c;
        if (UpperMap()[u] != u) {
            EXPECT_TRUE(JclStrings::CharTypes()[u] & JclStrings::C1_LOWER) << c;
        }
    }
}

TEST(JclLogicBits, BitNumberModuloEight) {
    EXPECT_TRUE(JclLogic::TestBit(0x01, 0));
    EXPECT_TRUE(JclLogic::TestBit(0x01, 8));
    EXPECT_FALSE(JclLogic::TestBit(0x01, 9));
    EXPECT_EQ(JclLogic::SetBit(0x00, 9), 0x02);
    EXPECT_EQ(JclLogic::SetBit(0x00, 31), 0x80);
    EXPECT_EQ(JclLogic::ClearBit(0xFF, 15), 0x7F);
    EXPECT_EQ(JclLogic::ClearBit(0xFF, 0), 0xFE);
}

namespace {
std::u16string U(std::initializer_list<char16_t> units) { return std::u16string(units); }
} // namespace

TEST(JclUtf8, WellFormedText) {
    EXPECT_EQ(JclUnicode::Utf8ToWide(""), u"");
    EXPECT_EQ(JclUnicode::Utf8ToWide("Abc"), u"Abc");
    EXPECT_EQ(JclUnicode::Utf8ToWide("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              U({u'A', 0x00E9, 0x20AC, 0xD83D, 0xDE00}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF4\x8F\xBF\xBF"), U({0xDBFF, 0xDFFF})); // U+10FFFF
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xEF\xBF\xBF"), U({0xFFFF}));
}

TEST(JclUtf8, StrayBytesStandForThemselves) {
    EXPECT_EQ(JclUnicode::Utf8ToWide("\x80"), U({0x0080}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("a\xBF"
                                     "b"),
              U({u'a', 0x00BF, u'b'}));
    // Trailing bytes are not checked: C3 41 still makes one character.
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xC3\x41z"), U({0x0081, u'z'}));
    // A lone surrogate encoded in three bytes passes through.
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xED\xA0\x80"), U({0xD800}));
}

TEST(JclUtf8, TruncatedSequencesGiveReplacementWithoutReadingPastEnd) {
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xC3"), U({0xFFFD}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xE2\x82"), U({0xFFFD}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("A\xF0\x9F\x98"), U({u'A', 0xFFFD}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("ok\xFD\xBF\xBF\xBF\xBF"), U({u'o', u'k', 0xFFFD}));
    // Cut out of a longer buffer: the bytes after the view must not be used.
    const std::string whole = "x\xE2\x82\xAC";
    EXPECT_EQ(JclUnicode::Utf8ToWide(whole.substr(0, 3)), U({u'x', 0xFFFD}));
}

TEST(JclUtf8, OverLongAndOutOfRangeValues) {
    // Over-long forms decode to their value; nothing checks the shortest form.
    EXPECT_EQ(JclUnicode::Utf8ToWide(std::string("\xC0\x80", 2)), U({0x0000}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xC1\xBF"), U({0x007F}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xE0\x80\xAF"), U({0x002F}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF0\x80\x80\xAF"), U({0x002F}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF8\x80\x80\x80\xAF"), U({0x002F}));
    // Beyond U+10FFFF: one replacement unit each, and decoding goes on.
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF4\x90\x80\x80"
                                     "a"),
              U({0xFFFD, u'a'}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF7\xBF\xBF\xBF"), U({0xFFFD}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xF8\x88\x80\x80\x80"), U({0xFFFD}));
    EXPECT_EQ(JclUnicode::Utf8ToWide("\xFD\xBF\xBF\xBF\xBF\xBF"
                                     "b"),
              U({0xFFFD, u'b'}));
}
