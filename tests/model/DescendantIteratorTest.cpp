// The descendant list: entry order, families and spouses, the generation
// limit, repeated persons, loops in the links and the entry cap.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/DescendantIterator.h"
#include "support/MemCollection.h"

namespace {

// "gen:ind+spouse[pos/count]" per entry, "*" for a repeated one.
std::string Dump(const WDesIterator& it) {
    std::string s;
    for (std::int32_t p = 1; p <= it.Count(); ++p) {
        const WDesEntry* e = it.GetEntry(p);
        if (!s.empty()) s += ' ';
        s += std::to_string(e->generation) + ":" + std::to_string(e->individual);
        if (e->repeated) s += "*";
        if (e->familyPos)
            s += "+" + std::to_string(e->spouse) + "[" + std::to_string(e->familyPos) + "/" +
                 std::to_string(e->familyCount) + "]";
    }
    return s;
}

struct Tree {
    WDefaultSettings settings; // children sorted by birth
    WMemCollection c;
    // 1 John (two marriages: 2 Mary with 4 Tom, 5 Ann; 3 Jane with 6 Bob);
    // Tom marries 7 Sue and has 8 Kid.
    Tree() {
        auto john = c.AddPerson("John /Smith/", 'M');
        auto mary = c.AddPerson("Mary /Jones/", 'F');
        auto jane = c.AddPerson("Jane /Brown/", 'F');
        auto tom = c.AddPerson("Tom /Smith/", 'M').Birth("1920");
        auto ann = c.AddPerson("Ann /Smith/", 'F').Birth("1922");
        auto bob = c.AddPerson("Bob /Smith/", 'M');
        auto sue = c.AddPerson("Sue /White/", 'F');
        auto kid = c.AddPerson("Kid /Smith/", 'M');
        c.AddFamily(john, mary).Child(ann).Child(tom); // sorted by birth: Tom first
        c.AddFamily(john, jane).Child(bob);
        c.AddFamily(tom, sue).Child(kid);
    }
};

TEST(DescendantIterator, OrderFamiliesAndSpouses) {
    Tree t;
    WDesIterator it;
    EXPECT_FALSE(it.Build(1, 10, true)); // no collection yet
    ASSERT_TRUE(it.SetCollection(&t.c));
    EXPECT_FALSE(it.Build(0, 10, true));
    EXPECT_EQ(it.GetDescendantCount(), -1);
    ASSERT_TRUE(it.Build(1, 10, true));
    // Two entries for John, each followed by that family's children in birth
    // order; the spouse is the other partner whichever side John stands on.
    EXPECT_EQ(Dump(it), "0:1+2[1/2] 1:4+7[1/1] 2:8 1:5 0:1+3[2/2] 1:6");
    EXPECT_EQ(it.GetDescendantCount(), 4);

    // A root without families: one entry, no descendants.
    ASSERT_TRUE(it.Build(8, 10, true));
    EXPECT_EQ(Dump(it), "0:8");
    EXPECT_EQ(it.GetDescendantCount(), 0);
}

TEST(DescendantIterator, GenerationLimit) {
    Tree t;
    WDesIterator it;
    it.SetCollection(&t.c);
    it.Build(1, 1, true);
    EXPECT_EQ(Dump(it), "0:1+2[1/2] 1:4+7[1/1] 1:5 0:1+3[2/2] 1:6");
    for (int limit : {0, 300, -5}) {
        it.Build(1, limit, true);
        EXPECT_EQ(it.GetGenerationLimit(), 255) << limit;
        EXPECT_EQ(it.Count(), 6) << limit;
    }
}

TEST(DescendantIterator, RepeatsAndLoops) {
    // Cousin marriage: the root's grandchildren 4 and 5 marry; their child 6
    // is reached through both lines.
    WMemCollection c;
    auto root = c.AddPerson("Root /A/", 'M');
    auto s1 = c.AddPerson("Son /A/", 'M').Birth("1900");
    auto d1 = c.AddPerson("Dau /A/", 'F').Birth("1902");
    auto g1 = c.AddPerson("Gs /A/", 'M');
    auto g2 = c.AddPerson("Gd /B/", 'F');
    auto kid = c.AddPerson("Kid /A/", 'M');
    c.AddFamily(root, 0).Child(s1).Child(d1);
    c.AddFamily(s1, 0).Child(g1);
    c.AddFamily(0, d1).Child(g2);
    c.AddFamily(g1, g2).Child(kid);

    WDesIterator it;
    it.SetCollection(&c);
    it.Build(root, 255, true);
    EXPECT_EQ(Dump(it), "0:1+0[1/1] 1:2+0[1/1] 2:4+5[1/1] 3:6 1:3+0[1/1] 2:5+4[1/1] 3:6");
    EXPECT_EQ(it.GetDescendantCount(), 6);

    it.Build(root, 255, false);
    EXPECT_EQ(Dump(it), "0:1+0[1/1] 1:2+0[1/1] 2:4+5[1/1] 3:6 1:3+0[1/1] 2:5+4[1/1] 3:6*");
    EXPECT_EQ(it.GetDescendantCount(), 5);
    // A second build starts with a fresh visited set.
    it.Build(root, 255, false);
    EXPECT_EQ(it.Count(), 7);
    EXPECT_EQ(it.GetEntry(4)->repeated, 0);

    // A file whose links make a person its own grandchild: the loop is cut
    // at the repeated person instead of running to generation 255.
    WMemCollection loop;
    auto a = loop.AddPerson("A /L/", 'M');
    auto b = loop.AddPerson("B /L/", 'M');
    loop.AddFamily(a, 0).Child(b);
    loop.AddFamily(b, 0).Child(a);
    WDesIterator li;
    li.SetCollection(&loop);
    li.Build(a, 255, true);
    EXPECT_EQ(Dump(li), "0:1+0[1/1] 1:2+0[1/1] 2:1*");
}

TEST(DescendantIterator, LongLineAndEntryCap) {
    // 255 generations, one child each, and a wide family at the bottom.
    WMemCollection c;
    std::int32_t prev = c.AddPerson("P0 /L/", 'M');
    const std::int32_t root = prev;
    for (int g = 1; g <= 300; ++g) {
        std::int32_t next = c.AddPerson("P /L/", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    WDesIterator it;
    it.SetCollection(&c);
    ASSERT_TRUE(it.Build(root, 255, true));
    EXPECT_EQ(it.Count(), 256); // generations 0 to 255
    EXPECT_EQ(it.GetEntry(256)->generation, 255);
    EXPECT_FALSE(it.WasTruncated());

    it.SetEntryLimit(10);
    ASSERT_TRUE(it.Build(root, 255, true));
    EXPECT_EQ(it.Count(), 10);
    EXPECT_TRUE(it.WasTruncated());
}

} // namespace
