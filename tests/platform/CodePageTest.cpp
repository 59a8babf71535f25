#include <gtest/gtest.h>

#include "platform/CodePage.h"
#include "platform/Colour.h"

TEST(CodePage, RoundTripsEveryAssignedByte) {
    for (int c = 0; c < 256; ++c) {
        std::string s(1, char(c));
        EXPECT_EQ(plat::utf16ToCp1252(plat::cp1252ToUtf16(s)), s) << c;
        EXPECT_EQ(plat::utf8ToCp1252(plat::cp1252ToUtf8(s)), s) << c;
    }
    EXPECT_EQ(plat::cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(plat::unicodeToCp1252(0x20AC), 0x80);
    EXPECT_EQ(plat::unicodeToCp1252(0x4E2D), '?');
}

TEST(CodePage, Utf8ReaderReplacesBrokenSequences) {
    EXPECT_EQ(plat::utf8ToCp1252("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(plat::utf8ToCp1252("a\xC3"), "a?");           // cut off at the end
    EXPECT_EQ(plat::utf8ToCp1252("\x80z"), "?z");           // stray continuation
    EXPECT_EQ(plat::utf8ToCp1252("\xF0\x9F\x98\x80"), "?"); // outside the code page
}

TEST(Colour, KeepsDesktopByteOrder) {
    EXPECT_EQ(plat::rgb(255, 255, 0), 65535u);
    EXPECT_EQ(plat::blueOf(0x00FF0000), 255);
    EXPECT_EQ(plat::redOf(plat::kYellow), 255);
}
