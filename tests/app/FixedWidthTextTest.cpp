// The character grid that the pedigree view's clipboard text is drawn on.
#include <gtest/gtest.h>
#include <string>

#include "app/CharScreen.h"

namespace {

std::string trimmed(const WCharScreen& s, int row) {
    std::string l = s.GetLine(row);
    l.erase(l.find_last_not_of(' ') + 1);
    return l;
}

} // namespace

TEST(FixedWidthText, PlacesTextAndCutsAtLengthAndLastColumn) {
    WCharScreen s(31, 80);
    EXPECT_EQ(s.GetLine(1), std::string(80, ' '));
    s.PutText(1, 1, "Hello", 3);
    EXPECT_EQ(trimmed(s, 1), "Hel");
    // From column 75 only columns 75..79 are written: the last column never is.
    s.PutText(2, 75, "ABCDEFGH", 40);
    EXPECT_EQ(s.GetLine(2).substr(74), "ABCDE ");
    EXPECT_EQ(s.GetLine(2).size(), 80u);
    // Column 79 is the last usable one; 80 takes nothing.
    s.PutText(3, 79, "XY", 10);
    s.PutText(3, 80, "Z", 10);
    EXPECT_EQ(trimmed(s, 3), std::string(78, ' ') + "X");
    // Overlap: the later text overwrites only what it covers.
    s.PutText(4, 3, "abcdef", 99);
    s.PutText(4, 5, "XY", 99);
    EXPECT_EQ(trimmed(s, 4), "  abXYef");
    // A zero or negative length writes nothing.
    s.PutText(5, 1, "abc", 0);
    s.PutText(5, 1, "abc", -4);
    EXPECT_EQ(trimmed(s, 5), "");
}

TEST(FixedWidthText, OutsideTheGridNothingHappens) {
    WCharScreen s(31, 80);
    s.PutText(31, 1, "last row", 20); // never written
    s.PutText(0, 1, "row 0", 20);
    s.PutText(-3, 1, "negative", 20);
    s.PutText(5, 0, "col 0", 20);
    s.PutText(6, -100, "far left", 20);
    s.PutText(7, 1000, "far right", 20);
    for (int r = 1; r <= 30; ++r) EXPECT_EQ(trimmed(s, r), "") << r;
    EXPECT_EQ(s.GetLine(31), "");
    EXPECT_EQ(s.GetLine(32), "");
    EXPECT_EQ(s.GetLine(0), "");
    EXPECT_EQ(s.GetLine(-1), "");

    // Degenerate sizes make an empty grid that takes nothing.
    WCharScreen none(-5, -5);
    none.PutText(1, 1, "x", 1);
    EXPECT_EQ(none.Rows(), 0);
    EXPECT_EQ(none.GetLine(1), "");
    WCharScreen one(2, 2); // one usable character
    one.PutText(1, 1, "xyz", 3);
    EXPECT_EQ(one.GetLine(1), "x ");
}

TEST(FixedWidthText, HugeLengthsDoNotWrap) {
    WCharScreen s(3, 10);
    s.PutText(1, 2, std::string(100, 'q'), 2147483647);
    EXPECT_EQ(s.GetLine(1), " " + std::string(8, 'q') + " ");
    // 8-bit characters pass through untouched.
    s.PutText(2, 1, "\xE9\xFC", 2);
    EXPECT_EQ(s.GetLine(2).substr(0, 2), "\xE9\xFC");
}
