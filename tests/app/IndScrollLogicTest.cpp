// The navigation panel's behaviour without its widgets.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "app/IndScrollLogic.h"
#include "highlight/ABSHighLighter.h"
#include "model/CollectionIterator.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

class WMarks : public WABSHighLighter {
public:
    WMarks(WABSCollection* c, std::set<int> marked)
        : WABSHighLighter(c->GetIndividualCount(), c), FMarked(std::move(marked)) {}
    void Evaluate(std::int32_t i) override { SetResult(i, FMarked.count(i) != 0); }
    void Prepare() override { Reset(stUnknown); }
    void GetDescription(std::string& s) override { s = "marked"; }

private:
    std::set<int> FMarked;
};

class WFixedView : public WCollectionIterator {
public:
    WFixedView(WABSCollection* c, const std::vector<int>& members) : WCollectionIterator("", c, 0) {
        for (int m : members) AddItem(m);
    }
    void Sort() override {}
};

class IndScrollLogic : public ::testing::Test {
protected:
    void fill(int n) {
        for (int i = 0; i < n; ++i) coll.AddPerson("Person" + std::to_string(i + 1) + " /Test/", i % 2 ? 'F' : 'M');
    }
    void attach() {
        logic.OnChange = [this] { ++changes; };
        logic.SetCollection(&coll);
    }
    // A user's click on the scroll bar's arrow: the step notice, the new
    // position, then the end-of-scroll notice.
    void userLineDown() {
        logic.ScrollBarScroll(WIndScrollLogic::scLineDown);
        logic.SetScrollPosition(logic.ScrollPosition() + 1);
        logic.ScrollBarScroll(WIndScrollLogic::scEndScroll);
    }

    WDefaultSettings defaults;
    WMemCollection coll;
    WIndScrollLogic logic;
    int changes = 0;
};

TEST_F(IndScrollLogic, NoCollectionAndEmptyCollection) {
    logic.SetHighLighter(nullptr);
    logic.Reset();
    EXPECT_FALSE(logic.State().scrollEnabled);
    EXPECT_FALSE(logic.State().fatherEnabled);
    EXPECT_FALSE(logic.State().relativesEnabled);
    EXPECT_EQ(logic.State().caption, "");
    logic.GoTo(1);
    logic.GoToFather();
    logic.Back();
    EXPECT_EQ(changes, 0);

    attach(); // no individuals
    EXPECT_FALSE(logic.State().scrollEnabled);
    EXPECT_TRUE(logic.State().fatherEnabled);
    EXPECT_TRUE(logic.State().motherEnabled);
    EXPECT_TRUE(logic.State().relativesEnabled);
    logic.GoTo(1);
    logic.GoToFather();
    logic.GoToMother();
    logic.BuildRelativesList();
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(logic.CanGoBack());
    EXPECT_EQ(logic.RelativeCount(), 0);
}

TEST_F(IndScrollLogic, LargeChangeIsAHundredthOfTheCount) {
    fill(150);
    attach();
    EXPECT_EQ(logic.LargeChange(), 1);
    EXPECT_EQ(logic.ScrollMin(), 1);
    EXPECT_EQ(logic.ScrollMax(), 150);
    EXPECT_EQ(logic.GetCurrent(), 1);
    EXPECT_GE(changes, 1);
    EXPECT_NE(logic.State().caption.find(" 1 - "), std::string::npos);

    WMemCollection big;
    for (int i = 0; i < 1000; ++i) big.AddPerson("X /Y/", 'M');
    logic.GoTo(120);
    logic.SetCollection(&big);
    EXPECT_EQ(logic.LargeChange(), 10);
    EXPECT_EQ(logic.ScrollMax(), 1000);
    EXPECT_EQ(logic.GetCurrent(), 1);
    EXPECT_FALSE(logic.CanGoBack()); // a new collection starts a new history
    // The same collection again changes nothing.
    logic.GoTo(500);
    logic.SetCollection(&big);
    EXPECT_EQ(logic.GetCurrent(), 500);
    EXPECT_TRUE(logic.CanGoBack());
}

TEST_F(IndScrollLogic, BackAndForwardThroughThreeMoves) {
    fill(10);
    attach();
    logic.GoTo(4); // A
    logic.GoTo(6); // B
    logic.GoTo(8); // C
    EXPECT_EQ(logic.GetBackList(), "1,4,6,");
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 6);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 4);
    EXPECT_TRUE(logic.CanGoForward());
    logic.Forward();
    EXPECT_EQ(logic.GetCurrent(), 6);
    logic.Forward();
    EXPECT_EQ(logic.GetCurrent(), 8);
    EXPECT_FALSE(logic.CanGoForward());
    logic.Forward(); // nothing left
    EXPECT_EQ(logic.GetCurrent(), 8);
    // And back again all the way to where the history began.
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 6);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 4);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 1);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 1);
    EXPECT_FALSE(logic.CanGoBack());
}

TEST_F(IndScrollLogic, UserScrollClearsForwardHistory) {
    fill(10);
    attach();
    logic.GoTo(4);
    logic.GoTo(6);
    logic.Back();
    ASSERT_EQ(logic.GetCurrent(), 4);
    ASSERT_TRUE(logic.CanGoForward());
    userLineDown();
    EXPECT_EQ(logic.GetCurrent(), 5);
    EXPECT_FALSE(logic.CanGoForward());
    // The scroll's start and end are both recorded: Back returns to 4.
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 4);
    logic.Forward();
    EXPECT_EQ(logic.GetCurrent(), 5);

    // Thumb tracking alone records nothing; its release does.
    const std::string before = logic.GetBackList();
    logic.ScrollBarScroll(WIndScrollLogic::scTrack);
    EXPECT_EQ(logic.GetBackList(), before);
    logic.SetScrollPosition(9);
    logic.ScrollBarScroll(WIndScrollLogic::scPosition);
    logic.ScrollBarScroll(WIndScrollLogic::scEndScroll);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 5);
}

TEST_F(IndScrollLogic, GoToTheCurrentIndividual) {
    fill(5);
    attach();
    // Where the file starts is no earlier person, and a step that moves nowhere is no move.
    logic.GoTo(1);
    logic.ScrollBarScroll(WIndScrollLogic::scLineUp);
    logic.ScrollBarScroll(WIndScrollLogic::scEndScroll);
    EXPECT_FALSE(logic.CanGoBack());
    logic.GoTo(3);
    const std::string history = logic.GetBackList();
    EXPECT_EQ(history, "1,");
    changes = 0;
    logic.GoTo(3);
    EXPECT_EQ(changes, 1); // reported once more, nothing else happens
    EXPECT_EQ(logic.GetBackList(), history);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 1);
    EXPECT_FALSE(logic.CanGoBack());
    logic.Forward();
    EXPECT_EQ(logic.GetCurrent(), 3);
    EXPECT_EQ(logic.GetBackList(), history);
    EXPECT_FALSE(logic.CanGoForward());
    // Opening on someone else starts the history there.
    logic.StartAt(4);
    EXPECT_EQ(logic.GetCurrent(), 4);
    EXPECT_FALSE(logic.CanGoBack());
    EXPECT_FALSE(logic.CanGoForward());
    logic.GoTo(3);
    // Numbers outside the file move nowhere.
    changes = 0;
    logic.GoTo(0);
    logic.GoTo(6);
    logic.GoTo(-2);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(logic.GetCurrent(), 3);
}

TEST_F(IndScrollLogic, HighlightedSteppingWithoutWrapping) {
    fill(8);
    attach();
    logic.FindHighlighted(true); // no highlighter: both buttons go off
    EXPECT_FALSE(logic.State().nextHLEnabled);
    WMarks marks(&coll, {3, 6});
    logic.SetHighLighter(&marks);
    EXPECT_TRUE(logic.State().nextHLEnabled);
    logic.FindHighlighted(true);
    EXPECT_EQ(logic.GetCurrent(), 3);
    logic.FindHighlighted(true);
    EXPECT_EQ(logic.GetCurrent(), 6);
    EXPECT_TRUE(logic.State().captionHighlighted);
    EXPECT_EQ(logic.State().captionBack, plat::ColorRef(65535));
    changes = 0;
    logic.FindHighlighted(true); // none after 6
    EXPECT_EQ(logic.GetCurrent(), 6);
    logic.GoTo(8);
    changes = 0;
    logic.FindHighlighted(true); // from the last individual
    EXPECT_EQ(logic.GetCurrent(), 8);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(logic.State().captionHighlighted);
    logic.FindHighlighted(false);
    EXPECT_EQ(logic.GetCurrent(), 6);
    logic.GoTo(2);
    logic.FindHighlighted(false);
    EXPECT_EQ(logic.GetCurrent(), 2);
}

TEST_F(IndScrollLogic, IslandViewUsesViewPositions) {
    fill(10);
    coll.SetView(std::make_unique<WFixedView>(&coll, std::vector<int>{7, 2, 9, 4}));
    attach();
    EXPECT_EQ(logic.ScrollMax(), 4);
    EXPECT_EQ(logic.GetCurrent(), 7);
    WMarks marks(&coll, {4, 3});
    logic.SetHighLighter(&marks);
    logic.FindHighlighted(true);
    EXPECT_EQ(logic.GetCurrent(), 4); // individual 4 at position 4, not individual at position 3
    EXPECT_EQ(logic.ScrollPosition(), 4);
    logic.GoTo(2);
    EXPECT_EQ(logic.ScrollPosition(), 2);
    changes = 0;
    logic.GoTo(5); // not in the view
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(logic.GetCurrent(), 2);
    logic.Back();
    EXPECT_EQ(logic.GetCurrent(), 4);
    logic.Back(); // to the view's first member, where it started
    EXPECT_EQ(logic.GetCurrent(), 7);
    EXPECT_FALSE(logic.CanGoBack());
    coll.ClearView();
}

TEST_F(IndScrollLogic, CaptionParentsAndRelatives) {
    const int father = coll.AddPerson("Dad /Test/", 'M').Birth("1800");
    const int mother = coll.AddPerson("Mum /Test/", 'F');
    const int me = coll.AddPerson("Me /Test/", 'M').Birth("3 MAR 1830", "Leeds");
    coll.AddFamily(father, mother).Child(me);
    const int wife = coll.AddPerson("Wife /Semi;colon/", 'F');
    const int kidA = coll.AddPerson("KidA /Test/", 'F').Birth("1860");
    const int kidB = coll.AddPerson("KidB /Test/", 'M');
    coll.AddFamily(me, wife).Child(kidA).Child(kidB);
    const int grandchild = coll.AddPerson("Grand /Test/", 'M');
    coll.AddFamily(kidB, 0).Child(grandchild);
    coll.AddFamily(me, 0); // a family without the other spouse
    attach();
    logic.GoTo(me);
    const WIndScrollLogic::Controls& s = logic.State();
    EXPECT_EQ(s.caption, " " + std::to_string(me) + " - " + coll.GetName(me) + ", 3 Mar 1830, Leeds");
    EXPECT_FALSE(s.captionHighlighted);
    EXPECT_EQ(s.captionHint, coll.GetFamilySummary(me));
    EXPECT_TRUE(s.fatherEnabled);
    EXPECT_EQ(s.fatherHint, coll.GetName(father));
    EXPECT_EQ(s.motherHint, coll.GetName(mother));
    EXPECT_TRUE(s.relativesEnabled);

    logic.BuildRelativesList();
    ASSERT_EQ(logic.RelativeCount(), 4);
    const std::vector<std::string> items = logic.RelativeItems();
    ASSERT_EQ(items.size(), 4u);
    // Spouse first, then that family's children in birth order, then the next family.
    EXPECT_EQ(logic.Relatives()[0].individual, wife);
    EXPECT_EQ(items[0], "Spouse: " + coll.GetName(wife));
    EXPECT_NE(items[0].find(';'), std::string::npos);
    EXPECT_EQ(logic.Relatives()[3].individual, 0);
    EXPECT_EQ(items[3], "Spouse: <No Given Name> ");
    int posA = 0, posB = 0;
    for (int k = 1; k <= 2; ++k) {
        const int who = logic.Relatives()[std::size_t(k)].individual;
        (who == kidA ? posA : posB) = k + 1;
    }
    ASSERT_TRUE(posA && posB);
    EXPECT_EQ(items[std::size_t(posA - 1)], "      1860 " + coll.GetName(kidA));
    EXPECT_EQ(items[std::size_t(posB - 1)], "   < " + std::string(8, ' ') + coll.GetName(kidB));

    // The item chosen is the person meant, whatever the names hold.
    logic.GoToSelected(posB);
    EXPECT_EQ(logic.GetCurrent(), kidB);
    EXPECT_TRUE(logic.State().relativesEnabled);
    logic.GoToSelected(1); // the list was dropped by the move
    EXPECT_EQ(logic.GetCurrent(), kidB);
    logic.GoToFather();
    EXPECT_EQ(logic.GetCurrent(), me);
    logic.BuildRelativesList();
    logic.GoToSelected(1);
    EXPECT_EQ(logic.GetCurrent(), wife);
    EXPECT_FALSE(logic.State().fatherEnabled);
    logic.GoToMother(); // none
    EXPECT_EQ(logic.GetCurrent(), wife);
    logic.GoTo(me);
    logic.BuildRelativesList();
    logic.GoToSelected(4); // the missing spouse moves nowhere
    logic.GoToSelected(5);
    logic.GoToSelected(0);
    EXPECT_EQ(logic.GetCurrent(), me);
    logic.GoTo(grandchild);
    EXPECT_FALSE(logic.State().relativesEnabled);
    logic.BuildRelativesList();
    EXPECT_EQ(logic.RelativeCount(), 0);
}

TEST_F(IndScrollLogic, MoreRelativesThanTheOldArrayHeld) {
    const int parent = coll.AddPerson("Many /Kids/", 'M');
    auto fam = coll.AddFamily(parent, 0);
    for (int i = 0; i < 600; ++i) fam.Child(coll.AddPerson("-", 'U').Birth(std::to_string(1700 + i / 4)));
    const int last = coll.AddPerson("Last /Kid/", 'F').Birth("1990");
    fam.Child(last);
    attach();
    logic.GoTo(parent);
    logic.BuildRelativesList();
    ASSERT_EQ(logic.RelativeCount(), 602);
    int k = 0;
    for (int i = 0; i < logic.RelativeCount(); ++i)
        if (logic.Relatives()[std::size_t(i)].individual == last) k = i + 1;
    ASSERT_GT(k, 500);
    logic.GoToSelected(k);
    EXPECT_EQ(logic.GetCurrent(), last);
}

TEST_F(IndScrollLogic, LayoutAtTheRightEdge) {
    const WIndScrollLogic::Layout l = WIndScrollLogic::ComputeLayout(300, 16, 16, 3);
    EXPECT_TRUE(l.scrollVisible);
    EXPECT_EQ(l.scrollWidth, 300 - 8 - 32 - 2);
    EXPECT_EQ(l.nextHLLeft, 300 - 16 - 3);
    EXPECT_EQ(l.fatherLeft, 300 - 3 - 48);
    EXPECT_EQ(l.motherLeft, 300 - 3 - 32);
    EXPECT_EQ(l.relativesLeft, 300 - 3 - 16);
    EXPECT_EQ(l.captionWidth, 300 - 3 - 48 - 3 - 3);
    const WIndScrollLogic::Layout narrow = WIndScrollLogic::ComputeLayout(8, 16, 16, 3);
    EXPECT_FALSE(narrow.scrollVisible);
    EXPECT_FALSE(narrow.hlButtonsVisible);
    EXPECT_EQ(narrow.scrollWidth, 1);
}

} // namespace
