// Conditions that walk the tree from a chosen person: ancestors and
// descendants with generation limits under pedigree collapse, blood
// relation, near relatives, and the longest lines, also through a loop.
#include <gtest/gtest.h>

#include "CondFixture.h"

namespace {

using condtest::AllBut;
using condtest::Describe;
using condtest::Highlighted;
using condtest::Set;

// R's father F comes first, so a depth-first walk reaches X through F and G
// (three generations up) before it reaches X through the mother M (two up).
// X's father P is therefore within three generations of R.
//   P -> X ; X -> G, M ; G -> F ; F x M -> R ; R x S -> K1, K2 ; K1 -> GK
class CollapseTree : public ::testing::Test {
protected:
    CollapseTree() {
        p = c.AddPerson("Paul /Top/", 'M');
        x = c.AddPerson("Xavier /Top/", 'M');
        g = c.AddPerson("George /Top/", 'M');
        f = c.AddPerson("Frank /Top/", 'M');
        m = c.AddPerson("Mona /Top/", 'F');
        r = c.AddPerson("Rick /Top/", 'M');
        s = c.AddPerson("Sara /Side/", 'F');
        k1 = c.AddPerson("Kim /Top/", 'F');
        k2 = c.AddPerson("Ken /Top/", 'M');
        gk = c.AddPerson("Gail /Top/", 'F');
        other = c.AddPerson("Olga /Else/", 'F');
        c.AddFamily(p, 0).Child(x);
        c.AddFamily(x, 0).Child(g).Child(m);
        c.AddFamily(g, 0).Child(f);
        c.AddFamily(f, m).Child(r);
        c.AddFamily(r, s).Child(k1).Child(k2);
        c.AddFamily(0, k1).Child(gk);
    }
    condtest::PlainNames names;
    WMemCollection c;
    std::int32_t p, x, g, f, m, r, s, k1, k2, gk, other;
};

TEST_F(CollapseTree, AncestorsWithinGenerationsReachThroughTheShortestLine) {
    const std::string ref = std::to_string(r);
    EXPECT_EQ(Highlighted(c, "+21:" + ref + "^1"), (Set{f, m}));
    EXPECT_EQ(Highlighted(c, "+21:" + ref + "^2"), (Set{f, m, g, x}));
    // P is three up through M and X, though four up through F, G and X.
    EXPECT_EQ(Highlighted(c, "+21:" + ref + "^3"), (Set{f, m, g, x, p}));
    EXPECT_EQ(Highlighted(c, "+21:" + ref + "^0"), (Set{f, m, g, x, p}));
    EXPECT_EQ(Highlighted(c, "-21:" + ref + "^0"), AllBut(c, Set{f, m, g, x, p}));
    EXPECT_EQ(Highlighted(c, "+21:"), Set{});
    EXPECT_EQ(Describe(c, "+21:" + ref + "^3"), "Ancestors of Rick Top (3 generations)");
    EXPECT_EQ(Describe(c, "-21:" + ref + "^0"), "Not Ancestors of Rick Top");
    EXPECT_EQ(Describe(c, "+21:0^3"), "");
}

TEST_F(CollapseTree, DescendantsWithinGenerationsReachThroughTheShortestLine) {
    // From X: G (first) then M; G -> F -> R, and M -> R directly.
    const std::string ref = std::to_string(x);
    EXPECT_EQ(Highlighted(c, "+22:" + ref + "^1"), (Set{g, m}));
    EXPECT_EQ(Highlighted(c, "+22:" + ref + "^2"), (Set{g, m, f, r}));
    EXPECT_EQ(Highlighted(c, "+22:" + ref + "^3"), (Set{g, m, f, r, k1, k2}));
    EXPECT_EQ(Highlighted(c, "+22:" + ref + "^0"), (Set{g, m, f, r, k1, k2, gk}));
    EXPECT_EQ(Highlighted(c, "+22:" + std::to_string(gk) + "^0"), Set{});
    EXPECT_EQ(Describe(c, "-22:" + ref + "^2"), "Not descendants of Xavier Top (2 generations)");
}

TEST_F(CollapseTree, BloodRelativesOfThePerson) {
    const Set relatives{p, x, g, f, m, r, k1, k2, gk};
    EXPECT_EQ(Highlighted(c, "+23:" + std::to_string(r)), relatives);
    EXPECT_EQ(Highlighted(c, "-23:" + std::to_string(r)), (Set{s, other}));
    // Without a person nobody is related (not everybody the selected one).
    EXPECT_EQ(Highlighted(c, "+23:"), Set{});
    EXPECT_EQ(Highlighted(c, "+23:0"), Set{});
    EXPECT_EQ(Describe(c, "+23:" + std::to_string(r)), "related to Rick Top");
    EXPECT_EQ(Describe(c, "-23:" + std::to_string(r)), "not related to Rick Top");
    EXPECT_EQ(Describe(c, "+23:"), "");
}

TEST_F(CollapseTree, NearRelativesOfThePerson) {
    EXPECT_EQ(Highlighted(c, "+60:" + std::to_string(r)), (Set{k1, k2}));
    EXPECT_EQ(Highlighted(c, "+61:" + std::to_string(r)), (Set{s}));
    EXPECT_EQ(Highlighted(c, "+62:" + std::to_string(k1)), (Set{k2}));
    EXPECT_EQ(Highlighted(c, "+62:" + std::to_string(g)), (Set{m}));
    EXPECT_EQ(Highlighted(c, "+63:" + std::to_string(r)), (Set{f, m}));
    EXPECT_EQ(Highlighted(c, "+63:"), Set{});
    EXPECT_EQ(Highlighted(c, "+64"), (Set{other}));
    EXPECT_EQ(Highlighted(c, "-64"), AllBut(c, Set{other}));
    EXPECT_EQ(Describe(c, "+62:" + std::to_string(k1)), "where sibling is Kim Top");
    EXPECT_EQ(Describe(c, "-60:" + std::to_string(r)), "where parent is not Rick Top");
    EXPECT_EQ(Describe(c, "+64"), "who are unlinked");
    EXPECT_EQ(Describe(c, "-64"), "who are linked");
}

TEST_F(CollapseTree, LongestLines) {
    // Up from R: F (depth 3) beats M (depth 2); then G, X, P.
    EXPECT_EQ(Highlighted(c, "+95:" + std::to_string(r)), (Set{r, f, g, x, p}));
    // Down from X: G (depth 4) beats M (depth 3); K1 (with a child) beats K2.
    EXPECT_EQ(Highlighted(c, "+96:" + std::to_string(x)), (Set{x, g, f, r, k1, gk}));
    EXPECT_EQ(Highlighted(c, "+95:"), Set{});
    EXPECT_EQ(Describe(c, "+95:" + std::to_string(r)), "Longest ancestor path of Rick Top");
    EXPECT_EQ(Describe(c, "-96:" + std::to_string(x)), "Not longest descendant path of Xavier Top");
    // Counts of the tree through the integer condition.
    EXPECT_EQ(Highlighted(c, "+50:15"), (Set{r}));          // # ancestors = 5
    EXPECT_EQ(Highlighted(c, "+50:57"), (Set{k1, k2, gk})); // # ancestors >= 7
    EXPECT_EQ(Highlighted(c, "+51:56"), (Set{p, x}));       // # descendants >= 6
}

TEST(CondLoops, LongestLinesEndOnAFamilyLoop) {
    condtest::PlainNames names;
    WMemCollection c;
    const auto a = c.AddPerson("A /L/", 'M');
    const auto b = c.AddPerson("B /L/", 'M');
    const auto d = c.AddPerson("D /L/", 'M');
    const auto e = c.AddPerson("E /L/", 'M');
    c.AddFamily(b, 0).Child(a); // B is A's father ...
    c.AddFamily(a, 0).Child(b); // ... and A is B's father
    c.AddFamily(d, 0).Child(e);
    EXPECT_EQ(Highlighted(c, "+95:" + std::to_string(a)), (Set{a, b}));
    EXPECT_EQ(Highlighted(c, "+96:" + std::to_string(b)), (Set{a, b}));
    EXPECT_EQ(Highlighted(c, "+21:" + std::to_string(a) + "^0"), (Set{b}));
    EXPECT_EQ(Highlighted(c, "+22:" + std::to_string(a) + "^0"), (Set{b}));
    EXPECT_EQ(Highlighted(c, "+23:" + std::to_string(a)), (Set{a, b}));
}

TEST(CondLoops, GenerationLimitIsUnlimitedUpToItsCap) {
    condtest::PlainNames names;
    WMemCollection c;
    const std::int32_t n = 70000;
    std::int32_t prev = c.AddPerson("", 'M');
    for (std::int32_t k = 1; k < n; ++k) {
        const std::int32_t next = c.AddPerson("", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    // "0 generations" stands for 65535 of them.
    EXPECT_EQ(Highlighted(c, "+21:" + std::to_string(n) + "^0").size(), 65535u);
    EXPECT_EQ(Highlighted(c, "+22:1^0").size(), 65535u);
}

} // namespace
