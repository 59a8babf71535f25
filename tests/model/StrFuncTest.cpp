#include <climits>
#include <gtest/gtest.h>

#include "model/JclStrings.h"
#include "model/StrFunc.h"
#include "platform/Hooks.h"

TEST(StrFuncCompare, ReturnMatrix) {
    const struct {
        const char* a;
        const char* b;
        int expected;
    } cases[] = {
        {"a", "b", -1},     {"b", "a", 1}, {"abc", "abc", 0}, {"ab", "abc", -1}, {"abc", "ab", 1},
        {"", "", 0},        {"", "a", -1}, {"a", "", 1},      {"\xE9", "z", 1}, // bytes compare unsigned
        {"B", "a", -1},                                                         // with case: upper case first
        {"abd", "abcz", 1},                                                     // first difference wins over length
    };
    for (const auto& c : cases) EXPECT_EQ(StrFunc::CompareStrings(c.a, c.b), c.expected) << c.a << "|" << c.b;
}

TEST(StrFuncThousands, Separators) {
    EXPECT_EQ(StrFunc::FormatThousands(0), "0");
    EXPECT_EQ(StrFunc::FormatThousands(999), "999");
    EXPECT_EQ(StrFunc::FormatThousands(1000), "1,000");
    EXPECT_EQ(StrFunc::FormatThousands(1234567), "1,234,567");
    EXPECT_EQ(StrFunc::FormatThousands(-999), "-999");
    EXPECT_EQ(StrFunc::FormatThousands(-1234), "-1,234");
    EXPECT_EQ(StrFunc::FormatThousands(LLONG_MIN), "-9,223,372,036,854,775,808");
}

TEST(StrFuncAccents, Table) {
    EXPECT_EQ(StrFunc::RemoveAccents("\xC0\xC6\xC7\xCB\xCF\xD0\xD1\xD8\xDC\xDD\xDF"), "AACEIDNOUYB");
    EXPECT_EQ(StrFunc::RemoveAccents("\xE0\xE6\xE7\xEB\xEF\xF1\xF8\xFC\xFD\xFF\xAF"), "aaceinouyyy");
    // Not in the table: multiplication and division signs, thorn, OE.
    EXPECT_EQ(StrFunc::RemoveAccents("\xD7\xF7\xFE\xDE\x8C"), "\xD7\xF7\xFE\xDE\x8C");
    EXPECT_EQ(StrFunc::RemoveAccents("Ren\xE9 M\xFCller"), "Rene Muller");
    // Eth and y with diaeresis take their plain letter in both cases.
    EXPECT_EQ(StrFunc::RemoveAccents("\xF0\xD0\xFF\x9F"), "dDyY");
    // Every letter keys as its other case does, and a key keys as itself: a
    // stored key searched again, or a name spelt in capitals, finds the same.
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, char(c)), key = StrFunc::SortKey(one);
        EXPECT_EQ(StrFunc::SortKey(key), key) << c;
        EXPECT_EQ(StrFunc::SortKey(std::string(1, char(JclStrings::CharUpper(static_cast<unsigned char>(c))))), key)
            << c;
        EXPECT_EQ(StrFunc::SortKey(std::string(1, char(JclStrings::CharLower(static_cast<unsigned char>(c))))), key)
            << c;
        EXPECT_EQ(StrFunc::WholeKey(one), key) << c;
    }
    EXPECT_EQ(StrFunc::SortKey(std::string(60, 'a')).size(), StrFunc::kSortKeyLength);
    EXPECT_EQ(StrFunc::WholeKey(std::string(60, 'a')), std::string(60, 'A'));
}

TEST(StrFuncBits, OutsideByteLeavesItAlone) {
    EXPECT_TRUE(StrFunc::TestBit(0x80, 7));
    EXPECT_FALSE(StrFunc::TestBit(0x80, 6));
    EXPECT_FALSE(StrFunc::TestBit(0xFF, 8));
    EXPECT_FALSE(StrFunc::TestBit(0xFF, 31));
    EXPECT_FALSE(StrFunc::TestBit(0xFF, -1));
    EXPECT_EQ(StrFunc::SetBit(0x00, 3), 0x08);
    EXPECT_EQ(StrFunc::SetBit(0x00, 8), 0x00);
    EXPECT_EQ(StrFunc::SetBit(0x00, 31), 0x00);
    EXPECT_EQ(StrFunc::ClearBit(0xFF, 0), 0xFE);
    EXPECT_EQ(StrFunc::ClearBit(0xFF, 8), 0xFF);
    EXPECT_EQ(StrFunc::ClearBit(0xFF, -5), 0xFF);
}

TEST(StrFuncText, LineBreaksAndReplacing) {
    EXPECT_EQ(StrFunc::FlattenLineBreaks("a\r\nb\nc\rd"), "a bc d");
    EXPECT_EQ(StrFunc::FlattenLineBreaks("\n\n"), "");
    EXPECT_EQ(StrFunc::ReplaceChar("a,b,c", ',', ""), "abc");
    EXPECT_EQ(StrFunc::ReplaceChar("a,b,c", ',', ", "), "a, b, c");
    EXPECT_EQ(StrFunc::ReplaceChar("abc", 'x', "y"), "abc");
}

TEST(StrFuncRemoveAll, RepeatsUntilGone) {
    EXPECT_EQ(StrFunc::RemoveAll("aabb", "ab"), "");
    EXPECT_EQ(StrFunc::RemoveAll("xaabby", "ab"), "xy");
    EXPECT_EQ(StrFunc::RemoveAll("aaa", "aa"), "a");
    EXPECT_EQ(StrFunc::RemoveAll("ababa", "aba"), "ba"); // the leftmost goes first
    EXPECT_EQ(StrFunc::RemoveAll("abc", ""), "abc");
    EXPECT_EQ(StrFunc::RemoveAll("", "ab"), "");
    EXPECT_EQ(StrFunc::RemoveAll("a  b   c", "  "), "ab c");
}

TEST(StrFuncFit, TakesCharactersWhileNarrower) {
    plat::hooks().textWidth = [](const std::string& t, const void*) { return int(t.size()) * 10; };
    EXPECT_EQ(StrFunc::FitToWidth("", 5), "");
    EXPECT_EQ(StrFunc::FitToWidth("abc", 31), "abc"); // already narrower
    EXPECT_EQ(StrFunc::FitToWidth("abc", 30), "ab");  // as wide is not narrower
    EXPECT_EQ(StrFunc::FitToWidth("abcdef", 25), "ab");
    EXPECT_EQ(StrFunc::FitToWidth("abc", 5), "");
    EXPECT_EQ(StrFunc::FitToWidth("abc", 0), "");
    EXPECT_EQ(StrFunc::FitToWidth("abc", -10), "");
    plat::resetHooks();
}

TEST(StrFuncParts, LongLinesBreakOnceAndPartsJoinAsLines) {
    // Every part of text taken in turn, as a memo shows them (one line apiece).
    auto parts = [](const std::string& text, std::size_t budget) {
        std::string shown;
        for (std::size_t pos = 0; pos < text.size();)
            shown += (shown.empty() ? "" : "\n") + StrFunc::NextTextPart(text, pos, budget, 8);
        return shown;
    };
    const std::size_t all = 1000;
    EXPECT_EQ(parts("ab cdefghijk", all), "ab cdefg\nhijk"); // no blank in the second half: cut at the width
    EXPECT_EQ(parts("abcde ghijk", all), "abcde \nghijk");   // after the last blank
    EXPECT_EQ(parts("abcdefghijklmnopq", all), "abcdefgh\nijklmnop\nq");
    // A cut just before the line's own break is that break, not one more.
    for (const char* br : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(br == std::string("\r\n") ? "CR LF" : br == std::string("\n") ? "LF" : "CR");
        EXPECT_EQ(parts(std::string("abcdefgh") + br + "x", all), "abcdefgh\nx");
        EXPECT_EQ(parts(std::string("abcdefg ") + br + br + "x", all), "abcdefg \n\nx");
        EXPECT_EQ(parts(std::string("abcdefgh") + br, all), "abcdefgh");
    }
    // Small parts: the same lines, none lost, none added.
    const std::string text = "one\r\ntwo\r\n\r\nthree four five six\nseven";
    EXPECT_EQ(parts(text, 4), parts(text, all));
    EXPECT_EQ(parts(text, all), "one\ntwo\n\nthree \nfour \nfive six\nseven");
}
