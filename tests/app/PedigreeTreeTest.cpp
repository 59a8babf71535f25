// The Pedigree view's boxes, lists and geometry.
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

#include "app/PedigreeTree.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

struct Pedigree : ::testing::Test {
    WDefaultSettings settings;
    WMemCollection c;

    // Parents of child; returns the family.
    std::int32_t parents(std::int32_t child, std::int32_t father, std::int32_t mother) {
        return c.AddFamily(father, mother).Child(child);
    }
};

// Box heights of three lines for the first two generations, two for the next two, one for the outer one.
std::array<int, kPedBoxes + 1> heights(int three, int two, int one) {
    std::array<int, kPedBoxes + 1> h{};
    for (int k = 1; k <= kPedBoxes; ++k) h[std::size_t(k)] = k >= kPedFirstOuter ? one : k >= 4 ? two : three;
    return h;
}

bool overlap(const PedBox& a, const PedBox& b) {
    return a.Left < b.Right() && b.Left < a.Right() && a.Top < b.Top + b.Height && b.Top < a.Top + a.Height;
}

} // namespace

TEST_F(Pedigree, BoxesHoldFathersAtEvenAndMothersAtOddPositions) {
    auto me = c.AddPerson("Me", 'M');
    auto dad = c.AddPerson("Dad", 'M');
    auto mum = c.AddPerson("Mum", 'F');
    parents(me, dad, mum);
    auto dadsDad = c.AddPerson("Grandpa", 'M');
    parents(dad, dadsDad, 0);
    auto mumsMum = c.AddPerson("Granny", 'F');
    parents(mum, 0, mumsMum);
    // Fifth generation on the father's father's line.
    std::int32_t line = dadsDad;
    std::int32_t top = 0;
    for (int g = 0; g < 2; ++g) {
        top = c.AddPerson("Elder" + std::to_string(g), 'M');
        parents(line, top, 0);
        line = top;
    }
    const PedAncestors a = PedigreeAncestors(&c, me);
    EXPECT_EQ(a[1], me);
    EXPECT_EQ(a[2], dad);
    EXPECT_EQ(a[3], mum);
    EXPECT_EQ(a[4], dadsDad);
    EXPECT_EQ(a[5], 0);
    EXPECT_EQ(a[7], mumsMum);
    EXPECT_EQ(a[16], top);
    // Missing people stay missing further back.
    EXPECT_EQ(a[10], 0);
    EXPECT_EQ(a[20], 0);
    EXPECT_EQ(a[6], 0);
    EXPECT_EQ(a[13], 0);

    WFamilySubject s;
    s.Take(&c, me);
    PedigreeTree t;
    ShowPedigreeTree(&c, s, t);
    EXPECT_TRUE(t.Filled);
    EXPECT_EQ(t.Ancestors, a);
    EXPECT_FALSE(t.Plus[1]); // the eldest has no parents
    parents(top, c.AddPerson("Older", 'M'), 0);
    ShowPedigreeTree(&c, s, t);
    EXPECT_TRUE(t.Plus[1]);
    EXPECT_EQ(std::count(t.Plus.begin(), t.Plus.end(), true), 1);
}

TEST_F(Pedigree, AFamilyLoopRepeatsPeopleButEnds) {
    // A is the father of B and B the father of A: each is their own grandfather.
    auto a = c.AddPerson("A", 'M');
    auto b = c.AddPerson("B", 'M');
    parents(a, b, 0);
    parents(b, a, a); // and A is also B's mother
    const PedAncestors anc = PedigreeAncestors(&c, a);
    EXPECT_EQ(anc[2], b);
    EXPECT_EQ(anc[4], a);
    EXPECT_EQ(anc[5], a);
    EXPECT_EQ(anc[16], a);
    EXPECT_EQ(anc[31], 0); // A has no mother
    WFamilySubject s;
    s.Take(&c, a);
    PedigreeTree t;
    ShowPedigreeTree(&c, s, t);
    EXPECT_TRUE(t.Plus[1]);
}

TEST_F(Pedigree, SiblingAndChildListsLeaveOutTheSubject) {
    auto me = c.AddPerson("Me", 'M').Birth("1950");
    WFamilySubject s;
    s.Take(&c, me);
    PedigreeTree t;
    ShowPedigreeTree(&c, s, t);
    EXPECT_EQ(t.SiblingsLabel, "Siblings");
    EXPECT_TRUE(t.Siblings.empty());
    EXPECT_EQ(t.Ancestors[2], 0);
    EXPECT_EQ(t.Spouse, 0);

    auto older = c.AddPerson("Older", 'F').Birth("1940");
    auto younger = c.AddPerson("Younger", 'M').Birth("1960");
    auto fam = c.AddFamily(c.AddPerson("Dad", 'M'), 0);
    c.Family(fam).Child(younger).Child(me).Child(older);
    auto wife = c.AddPerson("Wife", 'F');
    c.AddFamily(me, wife).Child(c.AddPerson("Son", 'M'));
    parents(wife, c.AddPerson("Wife's dad", 'M'), 0);
    auto second = c.AddFamily(me, 0);
    c.Family(second).Child(me); // bad data: the subject as his own child
    s.Take(&c, me);
    ShowPedigreeTree(&c, s, t);
    EXPECT_EQ(t.Siblings, (std::vector<std::int32_t>{older, younger}));
    EXPECT_EQ(t.SiblingsLabel, "Siblings (2)");
    EXPECT_EQ(t.ChildrenLabel, "Children (1)");
    EXPECT_EQ(t.Spouse, wife);
    EXPECT_TRUE(t.Plus[17]);
    s.Next();
    ShowPedigreeTree(&c, s, t);
    EXPECT_TRUE(t.Children.empty());
    EXPECT_EQ(t.ChildrenLabel, "Children (0)");
    EXPECT_EQ(t.Spouse, 0);
    EXPECT_FALSE(t.Plus[17]);

    // More siblings than the old store of 100.
    for (int i = 0; i < 150; ++i) c.Family(fam).Child(c.AddPerson("S" + std::to_string(i)));
    ShowPedigreeTree(&c, s, t);
    EXPECT_EQ(t.Siblings.size(), 152u);
}

TEST_F(Pedigree, ListItemsShowBirthGivenNamesAndLdsLetters) {
    auto p = c.AddPerson("Anna Maria /Berg/", 'F').Birth("ABT 1820").Ordinance(8, "1900", "SLAKE");
    c.AddFamily(0, p).Child(c.AddPerson("Kid"));
    auto q = c.AddPerson("/Nameless/", 'M');
    PedListItem item = MakePedListItem(&c, nullptr, p);
    EXPECT_TRUE(item.Plus);
    EXPECT_EQ(item.Qualifier, "c");
    EXPECT_EQ(item.Year, "1820");
    EXPECT_EQ(item.Given, "Anna Maria");
    EXPECT_EQ(item.LDS, "");
    EXPECT_EQ(item.Back, plat::kWhite);
    item = MakePedListItem(&c, nullptr, q);
    EXPECT_FALSE(item.Plus);
    EXPECT_EQ(item.Year, "");
    EXPECT_EQ(item.Given, "<No Given Name>");
    WOptions::SetBool(opt::UseLDS, true);
    EXPECT_EQ(MakePedListItem(&c, nullptr, p).LDS, "-E--");
}

TEST_F(Pedigree, LayoutFollowsTheAreaSize) {
    const auto h = heights(46, 31, 16);
    PedigreeLayout l = LayoutPedigree(100, 505, h, 46, 20);
    ASSERT_TRUE(l.Valid);
    EXPECT_EQ(l.Boxes[1].Width, 32);
    EXPECT_EQ(l.Boxes[2].Width, 28);
    EXPECT_EQ(l.Boxes[31].Width, 28);
    EXPECT_EQ(l.Spouse.Width, 28);
    EXPECT_EQ(l.Boxes[2].Left, 4);          // 28 / 6
    EXPECT_EQ(l.Boxes[4].Left, 14);         // 28 / 2
    EXPECT_EQ(l.Boxes[8].Left, 7 + 28 + 3); // P/4 + P + P/8
    EXPECT_EQ(l.Boxes[16].Left, 56 + 14);

    l = LayoutPedigree(1000, 645, h, 46, 20); // H = 640
    EXPECT_EQ(l.Boxes[1].Top, 320 - 23);
    EXPECT_EQ(l.Boxes[3].Top, 480 - 23);
    EXPECT_EQ(l.Boxes[5].Top, 240 - 5);  // H/8 * 3 - 16/3
    EXPECT_EQ(l.Boxes[15].Top, 600 - 5); // H/16 * 15
    EXPECT_EQ(l.Boxes[31].Top, 620 - 5); // H/32 * 31 - H/128
    EXPECT_EQ(l.Spouse.Top, 640 - 46 - 5);
    EXPECT_EQ(l.ButtonTop, l.Spouse.Top - 22);
    EXPECT_EQ(l.PlusAt[1][0], l.Boxes[16].Right());
    EXPECT_EQ(l.PlusAt[17][0], l.Spouse.Right());

    // Seven inner pairs of three lines, eight outer pairs of four, the spouse line.
    const std::vector<PedLine> lines = PedigreeLines(l);
    ASSERT_EQ(lines.size(), 7u * 3 + 8u * 4 + 1);
    EXPECT_EQ(lines[0].X1, l.Spouse.Left + 1);
    EXPECT_EQ(lines[0].Y2, l.Spouse.Top);
    const PedLine& child = lines.back(); // of boxes 30 and 31, towards box 15
    EXPECT_EQ(child.X1, l.Boxes[15].Right() - 1);
    EXPECT_EQ(child.Y1, (l.Boxes[30].Middle() + l.Boxes[31].Middle()) / 2);

    // At any size no box, marker or the spouse button overlaps another, and
    // all lie in the area: on low areas the ancestors close up above the
    // spouse (and the button), lower still the area grows. A long name widens
    // the spouse's box up to the fourth generation. Also with a large font.
    const auto large = heights(64, 43, 22);
    for (const auto& [w, ht, hs] : {std::tuple{856, 526, h},
                                    {1000, 560, h},
                                    {1200, 760, h},
                                    {1700, 1000, h},
                                    {856, 454, h},
                                    {kPedLeastWidth, 300, h},
                                    {kPedLeastWidth, 6, h},
                                    {kPedLeastWidth, 500, large}}) {
        l = LayoutPedigree(w, ht, hs, hs[1], 20, 5000, 92);
        std::vector<PedBox> all(l.Boxes.begin() + 1, l.Boxes.end());
        all.push_back(l.Spouse);
        all.push_back({l.ButtonLeft, l.ButtonTop, 92, 20});
        for (int i = 1; i <= 17; ++i)
            all.push_back({l.PlusAt[std::size_t(i)][0], l.PlusAt[std::size_t(i)][1], kPedPlusWidth,
                           i < 17 ? hs[kPedFirstOuter] : 12});
        for (size_t a = 0; a < all.size(); ++a) {
            EXPECT_TRUE(all[a].Left >= 0 && all[a].Top >= 0 && all[a].Right() <= l.Width &&
                        all[a].Top + all[a].Height <= l.Height)
                << w << "x" << ht << " " << a;
            for (size_t b = a + 1; b < all.size(); ++b)
                EXPECT_FALSE(overlap(all[a], all[b])) << w << "x" << ht << " " << a << " " << b;
        }
        EXPECT_EQ(l.Spouse.Right() + kPedPlusWidth + kPedGap, l.Boxes[8].Left);
    }

    EXPECT_FALSE(LayoutPedigree(0, 500, h, 46, 20).Valid);
    EXPECT_FALSE(LayoutPedigree(500, 5, h, 46, 20).Valid);
    EXPECT_TRUE(PedigreeLines(LayoutPedigree(500, 5, h, 46, 20)).empty());
}
