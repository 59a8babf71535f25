#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

#include "app/FindBox.h"
#include "app/FindNextPrev.h"
#include "columns/ColSortIterator.h"
#include "gedcom/GedTestUtil.h"
#include "model/Options.h"

namespace {

const char* const kFile = "0 HEAD\n1 CHAR ANSI\n"
                          "0 @I1@ INDI\n1 NAME Carl /Zeller/\n"
                          "0 @I2@ INDI\n1 NAME Anna /Smith/\n"
                          "0 @I3@ INDI\n1 NAME John /Smith/\n"
                          "0 @I4@ INDI\n1 NAME Johanna /Brown/\n"
                          "0 @I5@ INDI\n1 NAME Jonas /Adler/\n"
                          "0 @I6@ INDI\n1 NAME Bert /Smith/\n"
                          "0 @I7@ INDI\n1 NAME Dora /Zeller/\n"
                          "0 TRLR\n";

struct FindNextPrevTest : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::Load(0);
        file = gedtest::openText(kFile);
        box.SetCollection(file.collection.get());
    }
    void TearDown() override { WOptions::Clear(); }

    // Types text into the find box in a mode, as the window does.
    void type(int mode, const std::string& text) {
        box.SetQuickFindMode(mode);
        box.TextChanged(text);
        finder.Reset();
    }
    std::string surnameOf(std::int32_t i) { return file->GetIndividual(i)->GetSurnameText(); }
    std::int32_t next(const std::string& text) {
        std::int32_t moved = 0;
        finder.FindNext(text, [&](std::int32_t i) { moved = i; });
        return moved;
    }
    std::int32_t prev(const std::string& text) {
        std::int32_t moved = 0;
        finder.FindPrevious(text, [&](std::int32_t i) { moved = i; });
        return moved;
    }

    gedtest::Opened file;
    WFindBox box;
    WFindNextPrev finder{box};
};

TEST_F(FindNextPrevTest, SurnameRunIsWalkedAndWrapsAtBothEnds) {
    type(WFindBox::mdSurname, "smith");
    std::vector<std::int32_t> seen;
    for (int i = 0; i < 3; ++i) seen.push_back(next("smith"));
    const std::int32_t first = finder.FindFirst();
    // Adler and Brown sort before the three Smiths.
    EXPECT_EQ(first, 3);
    for (std::int32_t s : seen) EXPECT_EQ(surnameOf(s), "Smith");
    EXPECT_NE(seen[0], seen[1]);
    // The third step is past the last Smith: back to the first hit.
    EXPECT_EQ(finder.FindCurrent(), first);
    EXPECT_EQ(seen[2], box.Current()->GetItem(first));

    // From the first hit, previous wraps to the last Smith.
    const std::int32_t last = prev("smith");
    EXPECT_EQ(finder.FindCurrent(), 5);
    EXPECT_EQ(last, seen[1]);
    EXPECT_EQ(prev("smith"), seen[0]);
    EXPECT_EQ(finder.FindCurrent(), 4);
}

TEST_F(FindNextPrevTest, PreviousWrapsToTheIndexEndWhenTheRunReachesIt) {
    type(WFindBox::mdSurname, "zeller");
    next("zeller");
    EXPECT_EQ(finder.FindFirst(), 6);
    EXPECT_EQ(finder.FindCurrent(), 7);
    EXPECT_EQ(prev("zeller"), box.Current()->GetItem(6));
    // Before the first hit, and every later entry matches: the last entry.
    EXPECT_EQ(surnameOf(prev("zeller")), "Zeller");
    EXPECT_EQ(finder.FindCurrent(), 7);
}

TEST_F(FindNextPrevTest, GivenNameModeStepsThroughGivenNamePrefixes) {
    type(WFindBox::mdGiven, "jo");
    std::vector<std::string> given;
    for (int i = 0; i < 3; ++i) given.push_back(file->GetIndividual(next("jo"))->GetGivenText());
    EXPECT_EQ(given, (std::vector<std::string>{"John", "Jonas", "Johanna"}));
}

TEST_F(FindNextPrevTest, IndexAndIdentifierModesWithoutASearchMoveNothing) {
    for (int mode : {WFindBox::mdIndex, WFindBox::mdIdentifier}) {
        type(mode, "3");
        int moves = 0;
        EXPECT_FALSE(finder.FindNext("3", [&](std::int32_t) { ++moves; }));
        EXPECT_FALSE(finder.FindPrevious("3", [&](std::int32_t) { ++moves; }));
        EXPECT_EQ(moves, 0);
        EXPECT_FALSE(finder.Busy());
        EXPECT_EQ(box.Current(), box.Index(mode));
    }
}

TEST_F(FindNextPrevTest, BusyOnlyWhileMovingAndClearedByAnException) {
    type(WFindBox::mdSurname, "smith");
    bool busyInside = false;
    finder.FindNext("smith", [&](std::int32_t) { busyInside = finder.Busy(); });
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(finder.Busy());
    EXPECT_THROW(finder.FindNext("smith", [](std::int32_t) { throw std::runtime_error("x"); }), std::runtime_error);
    EXPECT_FALSE(finder.Busy());
    // The find box restarts the search from its text.
    finder.Reset();
    next("adler");
    EXPECT_EQ(finder.FindFirst(), 1);
}

TEST_F(FindNextPrevTest, SurnameAndGivenPartsAreTrimmedAndNoSurnameMeansAny) {
    // John is the only Smith whose given name begins with "jo": next stays on him.
    type(WFindBox::mdSurname, "smith , jo");
    EXPECT_EQ(next("smith , jo"), 3);
    EXPECT_EQ(next("smith , jo"), 3);
    // Without a surname, the given names of every surname: the box goes to
    // Jonas Adler, and next and previous step through the same hits.
    box.SetQuickFindMode(WFindBox::mdSurname);
    EXPECT_EQ(box.TextChanged(", jo"), 5);
    finder.Reset();
    EXPECT_EQ(next(", jo"), 4);
    EXPECT_EQ(next(", jo"), 3);
    EXPECT_EQ(next(", jo"), 5);
    EXPECT_EQ(prev(", jo"), 3);
}

} // namespace
