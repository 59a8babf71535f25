// The link-node pool and the family table, with the sort of children by birth.
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>

#include "model/FamLinks.h"
#include "model/LinkArray.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

std::vector<std::int32_t> chain(const WLinkArray& links, std::int32_t first, std::int32_t n) {
    std::vector<std::int32_t> out;
    for (std::int32_t i = 1; i <= n; ++i) out.push_back(links.GetLinkTarget(first, i));
    return out;
}

TEST(FamLinksTest, LinkChainsFillThreeSlotsPerNode) {
    WLinkArray links(2);
    std::int32_t other = links.AddNode(99, 0, 0);
    std::int32_t first = links.AddNode(10, 1, 2);
    EXPECT_EQ(links.Count(), 2);
    for (std::int32_t t = 11; t <= 16; ++t) EXPECT_TRUE(links.AddLink(first, false, t, t * 2, t * 3));
    // 7 links: three nodes, the third holding one.
    EXPECT_EQ(links.Count(), 4);
    EXPECT_EQ(chain(links, first, 8), (std::vector<std::int32_t>{10, 11, 12, 13, 14, 15, 16, 0}));
    EXPECT_EQ(links.FindLink(first, 14), 5);
    EXPECT_EQ(links.FindLink(first, 10), 1);
    EXPECT_EQ(links.FindLink(first, 99), 0);
    EXPECT_EQ(links.FindLink(0, 10), 0);
    EXPECT_EQ(links.FindLink(77, 10), 0);
    EXPECT_EQ(links.GetLinkTarget(first, 0), 0);
    EXPECT_EQ(links.GetLinkTarget(other, 1), 99);

    std::int32_t t = 0, a = 0, b = 0;
    EXPECT_TRUE(links.GetLink(first, 4, t, a, b));
    EXPECT_EQ(t, 13);
    EXPECT_EQ(a, 26);
    EXPECT_EQ(b, 39);
    // Position 8 lies in the last node (an empty slot); 10 beyond the chain.
    EXPECT_TRUE(links.GetLink(first, 8, t, a, b));
    EXPECT_EQ(t, 0);
    EXPECT_FALSE(links.GetLink(first, 10, t, a, b));
    EXPECT_FALSE(links.SetLink(first, 10, 1, 1, 1));
    EXPECT_TRUE(links.SetLink(first, 7, 70, 0, 0));
    EXPECT_EQ(links.GetLinkTarget(first, 7), 70);

    // Duplicates are refused unless allowed.
    EXPECT_FALSE(links.AddLink(first, false, 12, 0, 0));
    EXPECT_TRUE(links.AddLink(first, true, 12, 5, 5));
    EXPECT_EQ(links.FindLink(first, 12), 3);
    EXPECT_EQ(links.GetLinkTarget(first, 8), 12);
    EXPECT_FALSE(links.AddLink(0, true, 1, 0, 0));

    links.ReplaceLink(first, 12, 120, 7, 8);
    EXPECT_EQ(links.GetLinkTarget(first, 3), 120);
    EXPECT_EQ(links.GetLinkTarget(first, 8), 12);
    links.ReplaceLink(first, 555, 1, 0, 0);
    EXPECT_EQ(links.FindLink(first, 1), 0);
    EXPECT_EQ(links.GetLinkTarget(other, 2), 0);
}

TEST(FamLinksTest, AppendingWithATailBuildsTheSameChainAsAddLink) {
    WLinkArray walked(0), appended(0);
    std::int32_t first = walked.AddNode(1, 0, 0);
    std::int32_t head = appended.AddNode(1, 0, 0);
    std::int32_t tail = head;
    for (std::int32_t t = 2; t <= 50; ++t) {
        walked.AddLink(first, true, t, t, -t);
        EXPECT_TRUE(appended.AppendLink(tail, t, t, -t));
    }
    EXPECT_EQ(chain(walked, first, 51), chain(appended, head, 51));
    EXPECT_EQ(walked.Count(), appended.Count());
    EXPECT_EQ(appended.NextNode(tail), 0);
    EXPECT_EQ(appended.SlotTarget(tail, 1), 50);
    std::int32_t bad = 0;
    EXPECT_FALSE(appended.AppendLink(bad, 1, 0, 0));
    // Reading out of order still finds every link (the walk memory restarts).
    EXPECT_EQ(appended.GetLinkTarget(head, 40), 40);
    EXPECT_EQ(appended.GetLinkTarget(head, 2), 2);
    EXPECT_EQ(appended.GetLinkTarget(head, 52), 0);

    // Built apart over more than one block of nodes and placed behind a
    // base, a chain reads the same; the nodes built apart are given up.
    WLinkNodes apart;
    const std::int32_t apartHead = apart.AddNode(1, 0, 0);
    tail = apartHead;
    std::int32_t added = 1;
    for (std::int32_t t = 2; t <= 60000; ++t) added += apart.AppendLink(tail, t, t, -t);
    EXPECT_EQ(added, 60000);
    EXPECT_EQ(apart.Count(), 20000);
    WLinkArray placed(0);
    placed.AddNode(99, 0, 0);
    const std::int32_t base = placed.Reserve(apart.Count());
    placed.Place(base, apart);
    EXPECT_EQ(apart.Count(), 0);
    EXPECT_EQ(placed.Count(), 20001);
    std::vector<std::int32_t> expected(60001);
    std::iota(expected.begin(), expected.end() - 1, 1);
    EXPECT_EQ(chain(placed, base + apartHead, 60001), expected);
    std::int32_t target = 0, a = 0, b = 0;
    EXPECT_TRUE(placed.GetLink(base + apartHead, 50000, target, a, b));
    EXPECT_EQ(b, -50000);
    EXPECT_EQ(placed.GetLinkTarget(1, 1), 99);
}

class FamTableTest : public ::testing::Test {
protected:
    WDefaultSettings settings;
    WMemCollection c;
};

TEST_F(FamTableTest, FamiliesOutsideTheTableDoNothing) {
    WFamLinks fam("", 3);
    EXPECT_EQ(fam.Count(), 3);
    fam.SetHusband(4, 1);
    fam.SetWife(0, 1);
    fam.AddChild(-1, 1);
    EXPECT_EQ(fam.GetHusband(4), 0);
    EXPECT_EQ(fam.GetChildCount(-1), 0);
    EXPECT_EQ(fam.GetChild(4, 1), 0);
    EXPECT_EQ(fam.Links().Count(), 0);
    fam.SetHusband(2, 7);
    fam.SetWife(2, 8);
    EXPECT_EQ(fam.GetHusband(2), 7);
    EXPECT_EQ(fam.GetWife(2), 8);
    EXPECT_EQ(fam.GetWife(1), 0);
    fam.SortChildren(9, &c);
    fam.SortChildren(2, nullptr);
    EXPECT_EQ(fam.GetFlags(2), 0);
}

TEST_F(FamTableTest, ChildrenAtNodeBoundariesAndDuplicates) {
    WFamLinks fam("", 2);
    for (std::int32_t i = 1; i <= 7; ++i) {
        fam.AddChild(1, 100 + i);
        fam.AddChild(1, 100 + i); // the same child twice
    }
    fam.AddChild(2, 5);
    fam.AddChild(2, 5);
    EXPECT_EQ(fam.GetChildCount(2), 1);
    EXPECT_EQ(fam.GetChildCount(1), 7);
    // The 4th and 7th child open the second and third node.
    EXPECT_EQ(fam.GetChild(1, 3), 103);
    EXPECT_EQ(fam.GetChild(1, 4), 104);
    EXPECT_EQ(fam.GetChild(1, 6), 106);
    EXPECT_EQ(fam.GetChild(1, 7), 107);
    EXPECT_EQ(fam.GetChild(1, 0), 0);
    EXPECT_EQ(fam.GetChild(1, 8), 0);
    EXPECT_EQ(fam.GetChild(2, 1), 5);
    EXPECT_EQ(fam.Links().Count(), 4); // 3 nodes of family 1, 1 of family 2
    std::vector<std::int32_t> kids;
    fam.GetChildren(1, kids);
    EXPECT_EQ(kids, (std::vector<std::int32_t>{101, 102, 103, 104, 105, 106, 107}));
    fam.GetChildren(3, kids);
    EXPECT_TRUE(kids.empty());
}

TEST_F(FamTableTest, ManyChildrenLoseNoneAndStayUnique) {
    // Far beyond 16-bit counts and any fixed buffer.
    WFamLinks fam("", 1);
    const std::int32_t n = 70000;
    // A walk of the whole chain per child would make this run for many
    // minutes and hit the test time-out.
    for (std::int32_t i = 1; i <= n; ++i) fam.AddChild(1, i);
    for (std::int32_t i : {1, 2, 47, 48, 49, 5000, n})
        fam.AddChild(1, i); // duplicates, before and after the walk limit
    EXPECT_EQ(fam.GetChildCount(1), n);
    std::vector<std::int32_t> kids;
    fam.GetChildren(1, kids);
    ASSERT_EQ(kids.size(), static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i) ASSERT_EQ(kids[static_cast<std::size_t>(i)], i + 1);
    std::int64_t sum = 0;
    for (std::int32_t i = 1; i <= n; ++i) sum += fam.GetChild(1, i);
    EXPECT_EQ(sum, std::int64_t(n) * (n + 1) / 2);
}

std::vector<std::int32_t> childrenOf(WMemCollection& c, std::int32_t family) {
    std::vector<std::int32_t> kids;
    c.FamLinks().GetChildren(family, kids);
    return kids;
}

TEST_F(FamTableTest, SortsByBirthOldestFirstUndatedLast) {
    auto a = c.AddPerson("A /X/").Birth("1890");
    auto b = c.AddPerson("B /X/");
    auto d = c.AddPerson("D /X/").Birth("1885");
    auto f = c.AddFamily(0, 0).Child(a).Child(b).Child(d);
    c.FamLinks().SortChildren(f, &c);
    EXPECT_EQ(childrenOf(c, f), (std::vector<std::int32_t>{d, a, b}));
    EXPECT_EQ(c.FamLinks().GetFlags(f) & WFamLinks::ChildrenSorted, WFamLinks::ChildrenSorted);
}

TEST_F(FamTableTest, SettingOffKeepsFileOrder) {
    WOptions::SetBool(opt::SortChildren, false);
    auto a = c.AddPerson("A /X/").Birth("1890");
    auto d = c.AddPerson("D /X/").Birth("1885");
    auto f = c.AddFamily(0, 0).Child(a).Child(d);
    c.GetMarriage(f)->SortChildren();
    EXPECT_EQ(childrenOf(c, f), (std::vector<std::int32_t>{a, d}));
    EXPECT_EQ(c.FamLinks().GetFlags(f), 0);
}

TEST_F(FamTableTest, UndatedEqualAndIncomparableDatesFollowTheExchangeRules) {
    // Undated entries give way to whatever follows them.
    auto u1 = c.AddPerson("U1");
    auto u2 = c.AddPerson("U2");
    auto u3 = c.AddPerson("U3");
    auto undated = c.AddFamily(0, 0).Child(u1).Child(u2).Child(u3);
    c.FamLinks().SortChildren(undated, &c);
    EXPECT_EQ(childrenOf(c, undated), (std::vector<std::int32_t>{u3, u2, u1}));

    // Equal dates do not swap, but the exchanges are not stable.
    auto e1 = c.AddPerson("E1").Birth("1890");
    auto e2 = c.AddPerson("E2").Birth("1890");
    auto e0 = c.AddPerson("E0").Birth("1880");
    auto equal = c.AddFamily(0, 0).Child(e1).Child(e2).Child(e0);
    c.FamLinks().SortChildren(equal, &c);
    EXPECT_EQ(childrenOf(c, equal), (std::vector<std::int32_t>{e0, e2, e1}));

    // A text that is no date sorts before real dates; a date object that
    // could not be read at all compares as -2 and never moves.
    memtree::Event invalid;
    invalid.kind = EventKind::Birth;
    invalid.date = std::string();
    auto t1 = c.AddPerson("T1").Birth("1900");
    auto t2 = c.AddPerson("T2").Birth("WINTER");
    auto t3 = c.AddPerson("T3").AddEvent(invalid);
    auto t4 = c.AddPerson("T4").Birth("ABT 1850");
    auto t5 = c.AddPerson("T5").Birth("1850");
    auto odd = c.AddFamily(0, 0).Child(t1).Child(t2).Child(t3).Child(t4).Child(t5);
    c.FamLinks().SortChildren(odd, &c);
    std::vector<std::int32_t> got = childrenOf(c, odd);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], t2);
    // About 1850 sorts before plain 1850; the unreadable date stays where the
    // exchanges left it, after every dated child it was compared with.
    auto pos = [&got](std::int32_t x) { return std::find(got.begin(), got.end(), x) - got.begin(); };
    EXPECT_LT(pos(t4), pos(t5));
    EXPECT_LT(pos(t5), pos(t1));
    std::vector<std::int32_t> sorted = got;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::int32_t>{t1, t2, t3, t4, t5}));
}

TEST_F(FamTableTest, SortRunsOnceUntilAChildIsAdded) {
    auto a = c.AddPerson("A").Birth("1890");
    auto b = c.AddPerson("B").Birth("1880");
    auto f = c.AddFamily(0, 0).Child(a).Child(b);
    auto made = c.IndividualsMade();
    c.GetFamiliesText(0);
    for (int i = 0; i < 3; ++i) c.GetMarriage(f)->SortChildren();
    EXPECT_EQ(c.IndividualsMade() - made, 2);
    EXPECT_EQ(childrenOf(c, f), (std::vector<std::int32_t>{b, a}));

    // A new child clears the mark: the next request sorts again, once.
    auto d = c.AddPerson("D").Birth("1870");
    c.Family(f).Child(d);
    EXPECT_EQ(c.FamLinks().GetFlags(f), 0);
    made = c.IndividualsMade();
    c.LinkSortChildren(f);
    c.LinkSortChildren(f);
    EXPECT_EQ(c.IndividualsMade() - made, 3);
    EXPECT_EQ(childrenOf(c, f), (std::vector<std::int32_t>{d, b, a}));

    // One child needs no sort.
    auto only = c.AddFamily(0, 0).Child(a);
    made = c.IndividualsMade();
    c.LinkSortChildren(only);
    EXPECT_EQ(c.IndividualsMade(), made);
}

// Distinct birth dates in shuffled order; every child must come back exactly
// once, oldest first, the undated one last.
std::string dateOf(std::int32_t k) {
    static const char* const months[] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
    return std::to_string(1 + k % 25) + " " + months[(k / 25) % 12] + " " + std::to_string(1500 + k / 300);
}

void checkLargeSort(WMemCollection& c, std::int32_t n, unsigned seed) {
    std::vector<std::int32_t> keys(static_cast<std::size_t>(n));
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(seed));
    auto f = c.AddFamily(0, 0);
    std::int32_t undated = 0;
    std::vector<std::int32_t> keyOf(1, -1);
    for (std::int32_t i = 0; i < n; ++i) {
        auto p = c.AddPerson("C");
        if (i == n / 2) {
            undated = p;
        } else {
            p.Birth(dateOf(keys[static_cast<std::size_t>(i)]));
        }
        keyOf.resize(static_cast<std::size_t>(p) + 1, -1);
        keyOf[static_cast<std::size_t>(p)] = keys[static_cast<std::size_t>(i)];
        f.Child(p);
    }
    c.FamLinks().SortChildren(f, &c);
    std::vector<std::int32_t> kids = childrenOf(c, f);
    ASSERT_EQ(kids.size(), static_cast<std::size_t>(n));
    EXPECT_EQ(kids.back(), undated);
    for (std::size_t i = 1; i + 1 < kids.size(); ++i)
        ASSERT_LT(keyOf[static_cast<std::size_t>(kids[i - 1])], keyOf[static_cast<std::size_t>(kids[i])]) << i;
    std::sort(kids.begin(), kids.end());
    EXPECT_EQ(std::adjacent_find(kids.begin(), kids.end()), kids.end());
}

TEST_F(FamTableTest, SixHundredChildrenSortWithoutLoss) { checkLargeSort(c, 600, 7); }

TEST_F(FamTableTest, VeryLargeFamiliesSortByMerging) { checkLargeSort(c, WFamLinks::ExchangeSortLimit * 2 + 1, 11); }

} // namespace
