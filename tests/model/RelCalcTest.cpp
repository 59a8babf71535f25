// Relationship terms and the nearest common ancestor, on real trees, the
// term table at each row's boundaries for the three sexes, and the
// depth-first choice of common ancestor.
#include <gtest/gtest.h>

#include "model/Options.h"
#include "model/RelCalc.h"
#include "support/MemCollection.h"

namespace {

TEST(RelCalcTerms, EveryRowAtItsBoundariesForEachSex) {
    struct Row {
        int a, b;
        const char *m, *f, *u;
    };
    const Row rows[] = {
        {0, 0, "* Selected Person *", "* Selected Person *", "* Selected Person *"},
        {0, 1, "Son", "Daughter", "Son or Daughter"},
        {0, 2, "Grand Son", "Grand Daughter", "Grand Son or Daughter"},
        {0, 3, "G Grand Son", "G Grand Daughter", "G Grand Son or Daughter"},
        {0, 5, "GGG Grand Son", "GGG Grand Daughter", "GGG Grand Son or Daughter"},
        {0, 6, "4G Grand Son", "4G Grand Daughter", "4G Grand Son or Daughter"},
        {1, 0, "Father", "Mother", "Parent"},
        {1, 1, "Brother", "Sister", "Brother or Sister"},
        {1, 2, "Nephew", "Niece", "Nephew or Niece"},
        {1, 3, "Grand Nephew", "Grand Niece", "Grand Nephew or Niece"},
        {1, 4, "G Grand Nephew", "G Grand Niece", "G Grand Nephew or Niece"},
        {1, 7, "4G Grand Nephew", "4G Grand Niece", "4G Grand Nephew or Niece"},
        {2, 0, "Grand Father", "Grand Mother", "Grand Parent"},
        {2, 1, "Uncle", "Aunt", "Uncle or Aunt"},
        {2, 2, "1st Cousin", "1st Cousin", "1st Cousin"},
        {2, 3, "1C1R", "1C1R", "1C1R"},
        {2, 12, "1C10R", "1C10R", "1C10R"},
        {3, 0, "G Grand Father", "G Grand Mother", "G Grand Parent"},
        {3, 1, "Great Uncle", "Great Aunt", "Great Uncle or Aunt"},
        {3, 2, "1C1R", "1C1R", "1C1R"},
        {3, 3, "2C", "2C", "2C"},
        {3, 5, "2C2R", "2C2R", "2C2R"},
        {4, 0, "GG Grand Father", "GG Grand Mother", "GG Grand Parent"},
        {5, 0, "GGG Grand Father", "GGG Grand Mother", "GGG Grand Parent"},
        {6, 0, "4G Grand Father", "4G Grand Mother", "4G Grand Parent"},
        {4, 1, "G Great Uncle", "G Great Aunt", "G Great Uncle or Aunt"},
        {7, 1, "4G Great Uncle", "4G Great Aunt", "4G Great Uncle or Aunt"},
        {4, 2, "1C2R", "1C2R", "1C2R"},
        {5, 2, "1C3R", "1C3R", "1C3R"},
        {4, 4, "3C", "3C", "3C"},
        {11, 14, "10C3R", "10C3R", "10C3R"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(WRelCalc::Term(r.a, r.b, 'M'), r.m) << r.a << "," << r.b;
        EXPECT_EQ(WRelCalc::Term(r.a, r.b, 'F'), r.f) << r.a << "," << r.b;
        EXPECT_EQ(WRelCalc::Term(r.a, r.b, 'U'), r.u) << r.a << "," << r.b;
        EXPECT_EQ(WRelCalc::Term(r.a, r.b, '?'), r.u) << r.a << "," << r.b;
    }
}

// Five generations above Sel on the father's side, with side lines:
//   A4 x B4 -> A3 ; A3 x B3 -> A2, Great-uncle GU ; A2 x B2 -> A1, Uncle U ;
//   A1 x Mom -> Sel, Bro ; Mom's parents MA x MB -> Mom, Aunt
//   Bro -> BroSon -> BroGrandson ; U -> Cousin -> CousinKid ; GU -> GUSon -> 2nd cousin SC -> SCKid
class RelCalcTree : public ::testing::Test {
protected:
    RelCalcTree() {
        WOptions::SetBool(opt::FNValueFlag, false);
        WOptions::SetBool(opt::NameSlash, false);
        WOptions::SetBool(opt::NameUpper, false);
        a4 = c.AddPerson("Adam /Old/", 'M');
        b4 = c.AddPerson("Beth /Old/", 'F');
        a3 = c.AddPerson("Abel /Old/", 'M');
        b3 = c.AddPerson("Bea /Third/", 'F');
        a2 = c.AddPerson("Alan /Old/", 'M');
        gu = c.AddPerson("Gus /Old/", 'M');
        b2 = c.AddPerson("Bess /Second/", 'F');
        a1 = c.AddPerson("Art /Old/", 'M');
        u = c.AddPerson("Ulf /Old/", 'M');
        mom = c.AddPerson("Meg /Maid/", 'F');
        ma = c.AddPerson("Max /Maid/", 'M');
        mb = c.AddPerson("Mia /Maid/", 'F');
        aunt = c.AddPerson("Ada /Maid/", 'F');
        sel = c.AddPerson("Sel /Old/", 'M');
        bro = c.AddPerson("Bob /Old/", 'M');
        broSon = c.AddPerson("Ben /Old/", 'M');
        broGrandson = c.AddPerson("Bo /Old/", 'M');
        cousin = c.AddPerson("Cy /Old/", 'M');
        cousinKid = c.AddPerson("Cat /Old/", 'F');
        guSon = c.AddPerson("Gil /Old/", 'M');
        sc = c.AddPerson("Sam /Old/", 'M');
        scKid = c.AddPerson("Sky /Old/", 'U');
        stranger = c.AddPerson("Stan /Else/", 'M');

        c.AddFamily(a4, b4).Child(a3);
        c.AddFamily(a3, b3).Child(a2).Child(gu);
        c.AddFamily(a2, b2).Child(a1).Child(u);
        c.AddFamily(a1, mom).Child(sel).Child(bro);
        c.AddFamily(ma, mb).Child(mom).Child(aunt);
        c.AddFamily(bro, 0).Child(broSon);
        c.AddFamily(broSon, 0).Child(broGrandson);
        c.AddFamily(u, 0).Child(cousin);
        c.AddFamily(cousin, 0).Child(cousinKid);
        c.AddFamily(gu, 0).Child(guSon);
        c.AddFamily(guSon, 0).Child(sc);
        c.AddFamily(sc, 0).Child(scKid);
    }

    std::string rel(std::int32_t other) { return calc.GetRelationship(sel, other); }

    WDefaultSettings settings;
    WMemCollection c;
    WRelCalc calc{&c};
    std::int32_t a4, b4, a3, b3, a2, gu, b2, a1, u, mom, ma, mb, aunt, sel, bro, broSon, broGrandson, cousin, cousinKid,
        guSon, sc, scKid, stranger;
};

TEST_F(RelCalcTree, TermsOfTheFamily) {
    EXPECT_EQ(rel(sel), "* Selected Person *");
    EXPECT_EQ(rel(a1), "Father");
    EXPECT_EQ(rel(mom), "Mother");
    EXPECT_EQ(rel(a2), "Grand Father");
    EXPECT_EQ(rel(a3), "G Grand Father");
    EXPECT_EQ(rel(a4), "GG Grand Father");
    EXPECT_EQ(rel(b4), "GG Grand Mother");
    EXPECT_EQ(rel(bro), "Brother");
    EXPECT_EQ(rel(broSon), "Nephew");
    EXPECT_EQ(rel(broGrandson), "Grand Nephew");
    EXPECT_EQ(rel(u), "Uncle");
    EXPECT_EQ(rel(aunt), "Aunt");
    EXPECT_EQ(rel(gu), "Great Uncle");
    EXPECT_EQ(rel(cousin), "1st Cousin");
    EXPECT_EQ(rel(cousinKid), "1C1R");
    EXPECT_EQ(rel(sc), "2C");
    EXPECT_EQ(rel(scKid), "2C1R");
    EXPECT_EQ(rel(stranger), "");
    EXPECT_EQ(calc.GetCommonAncestor(), 0);
    EXPECT_EQ(rel(0), "");

    // Seen from the great-grandfather downwards.
    EXPECT_EQ(calc.GetRelationship(a3, sel), "G Grand Son");
    EXPECT_EQ(calc.GetRelationship(a3, scKid), "GG Grand Son or Daughter");
    EXPECT_EQ(calc.GetRelationship(aunt, sel), "Nephew");
}

TEST_F(RelCalcTree, CommonAncestorNames) {
    std::string name;
    rel(sc);
    EXPECT_EQ(calc.GetCommonAncestor(), a3);
    EXPECT_EQ(calc.GetSelectedDistance(), 3);
    EXPECT_EQ(calc.GetOtherDistance(), 3);
    calc.GetCommonAncestorName(sel, sc, name, true);
    EXPECT_EQ(name, "Abel Old");
    calc.GetCommonAncestorName(sel, sc, name, false);
    EXPECT_EQ(name, "Old, Abel");
    // The common ancestor is one of the pair: no name.
    rel(a2);
    calc.GetCommonAncestorName(sel, a2, name, true);
    EXPECT_EQ(name, "");
    rel(sel);
    calc.GetCommonAncestorName(sel, sel, name, true);
    EXPECT_EQ(name, "");
    rel(stranger);
    calc.GetCommonAncestorName(sel, stranger, name, true);
    EXPECT_EQ(name, "");
}

TEST_F(RelCalcTree, NoSelectedIndividualNamesNobody) {
    // Before any selection and after selecting 0 every row stays empty.
    EXPECT_EQ(calc.GetRelationship(0, sel), "");
    EXPECT_EQ(calc.GetRelationship(0, 0), "");
    EXPECT_EQ(rel(a1), "Father");
    EXPECT_EQ(calc.GetRelationship(0, a1), "");
    EXPECT_EQ(calc.GetCommonAncestor(), 0);
    WRelCalc none(nullptr);
    EXPECT_EQ(none.GetRelationship(sel, a1), "");
}

TEST_F(RelCalcTree, ChangingTheSelectedIndividualRemarksTheAncestors) {
    EXPECT_EQ(rel(cousin), "1st Cousin");
    EXPECT_EQ(calc.GetRelationship(cousin, sel), "1st Cousin");
    EXPECT_EQ(calc.GetRelationship(cousin, u), "Father");
    EXPECT_EQ(calc.GetRelationship(cousin, mom), ""); // Sel's mother is no blood relative of Cy
    EXPECT_EQ(rel(mom), "Mother");
    EXPECT_EQ(rel(u), "Uncle");
}

TEST(RelCalcUnknownSex, ParentOfUnknownSex) {
    WDefaultSettings settings;
    WMemCollection c;
    const auto p = c.AddPerson("Pat /X/", 'U');
    const auto k = c.AddPerson("Kim /X/", 'F');
    c.AddFamily(p, 0).Child(k);
    WRelCalc calc(&c);
    EXPECT_EQ(calc.GetRelationship(k, p), "Parent");
    EXPECT_EQ(calc.GetRelationship(p, k), "Daughter");
}

TEST(RelCalcDoubleCousins, BothGrandparentPairsAreCommonAndTheFathersSideWins) {
    WDefaultSettings settings;
    WMemCollection c;
    // Two brothers marry two sisters.
    const auto sf = c.AddPerson("Sam /Smith/", 'M');
    const auto sm = c.AddPerson("Sue /Smith/", 'F');
    const auto jf = c.AddPerson("Joe /Jones/", 'M');
    const auto jm = c.AddPerson("Jo /Jones/", 'F');
    const auto b1 = c.AddPerson("Bill /Smith/", 'M');
    const auto b2 = c.AddPerson("Ben /Smith/", 'M');
    const auto s1 = c.AddPerson("Ann /Jones/", 'F');
    const auto s2 = c.AddPerson("Amy /Jones/", 'F');
    const auto x = c.AddPerson("Xan /Smith/", 'M');
    const auto y = c.AddPerson("Yva /Smith/", 'F');
    c.AddFamily(sf, sm).Child(b1).Child(b2);
    c.AddFamily(jf, jm).Child(s1).Child(s2);
    c.AddFamily(b1, s1).Child(x);
    c.AddFamily(b2, s2).Child(y);
    WRelCalc calc(&c);
    EXPECT_EQ(calc.GetRelationship(x, y), "1st Cousin");
    EXPECT_EQ(calc.GetCommonAncestor(), sf);
    EXPECT_EQ(calc.GetRelationship(y, x), "1st Cousin");
    EXPECT_EQ(calc.GetCommonAncestor(), sf);
    EXPECT_EQ(calc.GetRelationship(x, s2), "Aunt");
    EXPECT_EQ(calc.GetCommonAncestor(), jf);
}

// The search goes depth first, father's side first, and keeps the depth at
// which it first reached the common ancestor, even when a shorter line
// reaches it later.
TEST(RelCalcDepthFirst, FirstLineFoundDecidesTheOtherDistance) {
    WDefaultSettings settings;
    WMemCollection c;
    const auto g = c.AddPerson("Gus /G/", 'M');
    const auto a = c.AddPerson("Abe /G/", 'M');
    const auto s = c.AddPerson("Sel /G/", 'M');
    const auto m1 = c.AddPerson("May /G/", 'F');  // the other's mother, daughter of G
    const auto f2 = c.AddPerson("Fred /G/", 'M'); // the other's grandfather, son of G
    const auto f1 = c.AddPerson("Finn /G/", 'M'); // the other's father
    const auto o = c.AddPerson("Otto /G/", 'M');
    c.AddFamily(g, 0).Child(a).Child(m1).Child(f2);
    c.AddFamily(a, 0).Child(s);
    c.AddFamily(f2, 0).Child(f1);
    c.AddFamily(f1, m1).Child(o);
    WRelCalc calc(&c);
    // Through the father G is three generations up; through the mother two.
    EXPECT_EQ(calc.GetRelationship(s, o), "1C1R");
    EXPECT_EQ(calc.GetCommonAncestor(), g);
    EXPECT_EQ(calc.GetSelectedDistance(), 2);
    EXPECT_EQ(calc.GetOtherDistance(), 3);
}

TEST(RelCalcDepthFirst, NearerCommonAncestorFoundLaterWins) {
    WDefaultSettings settings;
    WMemCollection c;
    // Sel's father P and grandfather G; the other's father is G's other son's
    // son (through G), the other's mother is Sel's half-sister through P.
    const auto g = c.AddPerson("Gus /G/", 'M');
    const auto p = c.AddPerson("Pat /G/", 'M');
    const auto u = c.AddPerson("Uli /G/", 'M');
    const auto s = c.AddPerson("Sel /G/", 'M');
    const auto half = c.AddPerson("Hal /G/", 'F');
    const auto f = c.AddPerson("Fay /G/", 'M');
    const auto o = c.AddPerson("Oda /G/", 'F');
    c.AddFamily(g, 0).Child(p).Child(u);
    c.AddFamily(p, 0).Child(s);
    c.AddFamily(p, 0).Child(half);
    c.AddFamily(u, 0).Child(f);
    c.AddFamily(f, half).Child(o);
    WRelCalc calc(&c);
    EXPECT_EQ(calc.GetRelationship(s, o), "Niece");
    EXPECT_EQ(calc.GetCommonAncestor(), p);
}

TEST(RelCalcLoops, FamilyLoopEndsTheSearch) {
    WDefaultSettings settings;
    WMemCollection c;
    const auto a = c.AddPerson("A /L/", 'M');
    const auto b = c.AddPerson("B /L/", 'M');
    const auto x = c.AddPerson("X /L/", 'M');
    const auto y = c.AddPerson("Y /L/", 'M');
    c.AddFamily(a, 0).Child(b);
    c.AddFamily(b, 0).Child(a); // a loop above X
    c.AddFamily(b, 0).Child(x);
    WRelCalc calc(&c);
    EXPECT_EQ(calc.GetRelationship(x, y), "");
    EXPECT_EQ(calc.GetRelationship(x, a), "Grand Father");
    // X and A are both children of B as well.
    EXPECT_EQ(calc.GetRelationship(a, x), "Brother");
}

TEST(RelCalcColumn, LongLineAskedForEveryRowStaysShallow) {
    WDefaultSettings settings;
    WMemCollection c;
    const std::int32_t n = 60000;
    std::int32_t prev = c.AddPerson("", 'M');
    for (std::int32_t k = 1; k < n; ++k) {
        const std::int32_t next = c.AddPerson("", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    WRelCalc calc(&c);
    // Selected at the bottom: every other individual is an ancestor.
    EXPECT_EQ(calc.GetRelationship(n, 1), std::to_string(n - 1 - 2) + "G Grand Father");
    EXPECT_EQ(calc.GetRelationship(1, n), std::to_string(n - 1 - 2) + "G Grand Son");
    // The ancestors are marked once, not once per row.
    std::int32_t named = 0;
    for (std::int32_t i = 1; i <= n; ++i) named += calc.GetRelationship(n, i).empty() ? 0 : 1;
    EXPECT_EQ(named, n);
    EXPECT_EQ(calc.GetRelationship(n, n - 4), "GG Grand Father");
    EXPECT_LE(calc.PeakWorkList(), 2u);
}

} // namespace
