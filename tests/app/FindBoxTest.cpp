#include <gtest/gtest.h>

#include "app/FindBox.h"
#include "columns/ColSortIterator.h"
#include "gedcom/GedTestUtil.h"
#include "model/Options.h"

namespace {

const char* const kFile = "0 HEAD\n1 CHAR ANSI\n"
                          "0 @I1@ INDI\n1 NAME Carl /Zeller/\n"
                          "0 @I2@ INDI\n1 NAME Anna /Smith/\n"
                          "0 @I3@ INDI\n1 NAME John /Smith/\n"
                          "0 @I23@ INDI\n1 NAME Johanna /Brown/\n"
                          "0 @I5@ INDI\n1 NAME Jonas /Adler/\n"
                          "0 @I6@ INDI\n1 NAME Bert /Smith/\n"
                          "0 TRLR\n";

struct FindBoxTest : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::Load(0);
        file = gedtest::openText(kFile);
        box.SetCollection(file.collection.get());
    }
    void TearDown() override { WOptions::Clear(); }
    gedtest::Opened file;
    WFindBox box;
};

TEST_F(FindBoxTest, IndexAndIdentifierModes) {
    box.SetQuickFindMode(WFindBox::mdIndex);
    EXPECT_EQ(box.TextChanged("5"), 5);
    EXPECT_EQ(box.TextChanged("x5"), 0);
    box.SetQuickFindMode(WFindBox::mdIdentifier);
    // A GEDCOM file puts the letter I before the typed number.
    EXPECT_EQ(box.TextChanged("23"), 4);
    EXPECT_EQ(box.TextChanged("99"), 0);
    EXPECT_EQ(box.SelectedText(4), "23");
    ASSERT_NE(box.Index(WFindBox::mdIdentifier), nullptr);
}

TEST_F(FindBoxTest, SurnameModeFindsFirstMatchOrFallsBackToTheFirstEntry) {
    box.SetQuickFindMode(WFindBox::mdSurname);
    const std::int32_t hit = box.TextChanged("smith, j");
    EXPECT_EQ(hit, 3);
    EXPECT_TRUE(box.NextPrevEnabled());
    EXPECT_GT(box.FindPosition(), 0);
    // Sorted by surname: Adler comes first; no match lands there.
    EXPECT_EQ(box.TextChanged("Quist"), 5);
    EXPECT_EQ(box.FindPosition(), 1);
    EXPECT_EQ(box.TextChanged(""), 0);
    EXPECT_EQ(box.FindPosition(), 0);
    EXPECT_FALSE(box.NextPrevEnabled());
}

TEST_F(FindBoxTest, GivenModeStepsBackToTheFirstMatchingGivenName) {
    box.SetQuickFindMode(WFindBox::mdGiven);
    const std::int32_t hit = box.TextChanged("jo");
    // Johanna, John and Jonas all begin with "Jo"; the first of them in
    // given-name order is Johanna.
    EXPECT_EQ(hit, 4);
    EXPECT_EQ(box.TextChanged("zz"), 0);
    EXPECT_EQ(box.SelectedText(3), "John");
}

TEST_F(FindBoxTest, NothingWithoutACollectionAndIndexesFreedWithTheFile) {
    box.SetQuickFindMode(WFindBox::mdSurname);
    box.TextChanged("smith");
    ASSERT_NE(box.Current(), nullptr);
    box.SetCollection(nullptr);
    EXPECT_EQ(box.Current(), nullptr);
    EXPECT_EQ(box.Index(WFindBox::mdSurname), nullptr);
    EXPECT_EQ(box.TextChanged("smith"), 0);
    EXPECT_EQ(box.SelectedText(1), "");
}

} // namespace
