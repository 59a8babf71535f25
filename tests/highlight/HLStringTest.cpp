#include <gtest/gtest.h>
#include <string>

#include "highlight/HLString.h"

namespace {

TEST(HLString, EmptyTextAndLoneSeparator) {
    WHLString h;
    h.SetText("");
    EXPECT_EQ(h.Count(), 0);
    EXPECT_EQ(h.GetCode(0), 0);
    EXPECT_FALSE(h.IsInverted(0));

    h.SetText(";");
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h.GetItem(0), "");
    EXPECT_EQ(h.GetCode(0), 0);
    EXPECT_FALSE(h.IsInverted(0));
    EXPECT_EQ(h.GetParams(0), "");
}

TEST(HLString, TrailingConnectorIsReadButAloneCondition) {
    WHLString h;
    h.SetText("+17:F;O");
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h.GetCode(0), 17);
    EXPECT_EQ(h.GetParams(0), "F");
    EXPECT_FALSE(h.IsAnd(0));
    h.SetText("+17:F;A");
    EXPECT_EQ(h.Count(), 1);
    EXPECT_TRUE(h.IsAnd(0));
}

TEST(HLString, OnlyExactCapitalAIsAnd) {
    WHLString h;
    h.SetText("+5;A;+6");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_TRUE(h.IsAnd(0));
    h.SetText("+5;a;+6");
    ASSERT_EQ(h.Count(), 2);
    EXPECT_FALSE(h.IsAnd(0));
    h.SetText("+5;x;+6");
    EXPECT_FALSE(h.IsAnd(0));
    h.SetText("+5; A;+6");
    EXPECT_FALSE(h.IsAnd(0));
    // An empty connector in the middle is Or, and the items stay in place.
    h.SetText("+5;;+6;A;+7");
    ASSERT_EQ(h.Count(), 3);
    EXPECT_FALSE(h.IsAnd(0));
    EXPECT_TRUE(h.IsAnd(1));
    EXPECT_EQ(h.GetCode(2), 7);
}

TEST(HLString, SecondColonAndAllAfterItIsIgnored) {
    WHLString h;
    h.SetText("-3:abc:def");
    ASSERT_EQ(h.Count(), 1);
    EXPECT_EQ(h.GetCode(0), 3);
    EXPECT_TRUE(h.IsInverted(0));
    EXPECT_EQ(h.GetParams(0), "abc");
    EXPECT_EQ(h.GetItem(0), "-3:abc:def");
}

TEST(HLString, SignsAndBadCodes) {
    WHLString h;
    h.SetText("17:F;O;-21:123^4;A;+24:1SMITH");
    ASSERT_EQ(h.Count(), 3);
    EXPECT_EQ(h.GetCode(0), 17);
    EXPECT_FALSE(h.IsInverted(0));
    EXPECT_EQ(h.GetCode(1), 21);
    EXPECT_TRUE(h.IsInverted(1));
    EXPECT_EQ(h.GetParams(1), "123^4");
    EXPECT_FALSE(h.IsInverted(2));
    EXPECT_EQ(h.GetParams(2), "1SMITH");
    EXPECT_FALSE(h.IsAnd(0));
    EXPECT_TRUE(h.IsAnd(1));

    h.SetText("*17");
    ASSERT_EQ(h.Count(), 1);
    EXPECT_FALSE(h.IsInverted(0));
    EXPECT_THROW(h.GetCode(0), EHLConvertError);
    try {
        h.GetCode(0);
    } catch (const EHLConvertError& e) {
        EXPECT_STREQ(e.what(), "'*17' is not a valid integer value");
    }
    h.SetText(":abc");
    EXPECT_THROW(h.GetCode(0), EHLConvertError);
    h.SetText("+-5");
    EXPECT_THROW(h.GetCode(0), EHLConvertError);
    h.SetText("+99999999999");
    EXPECT_THROW(h.GetCode(0), EHLConvertError);
    h.SetText("-2147483648");
    EXPECT_GT(h.GetCode(0), 113);
}

TEST(HLString, ThirtyItemsReadWholeWithoutOverrun) {
    // 15 conditions and 15 connectors (the last one trailing).
    std::string s;
    for (int i = 0; i < 15; ++i)
        s += "+" + std::to_string(i + 2) + ":p" + std::to_string(i) + ";" + (i % 2 ? "O" : "A") + ";";
    WHLString h;
    h.SetText(s);
    ASSERT_EQ(h.Count(), 15);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(h.GetCode(i), i + 2);
        EXPECT_EQ(h.GetParams(i), "p" + std::to_string(i));
    }
    for (int k = 0; k < WHLString::kMaxConnectors; ++k) EXPECT_EQ(h.IsAnd(k), k % 2 == 0) << k;
    // Connectors past the tenth condition are not kept.
    for (int k = WHLString::kMaxConnectors; k < 20; ++k) EXPECT_FALSE(h.IsAnd(k)) << k;
    EXPECT_FALSE(h.IsAnd(-1));
    EXPECT_EQ(h.GetItem(15), "");
    EXPECT_EQ(h.GetItem(-1), "");

    // A new text clears everything that came before.
    h.SetText("+2");
    EXPECT_EQ(h.Count(), 1);
    EXPECT_FALSE(h.IsAnd(0));
    h.Clear();
    EXPECT_EQ(h.Count(), 0);
}

} // namespace
