// The Family view's subject, panels and child rows.
#include <gtest/gtest.h>
#include <set>

#include "app/FamilyRows.h"
#include "highlight/ABSHighLighter.h"
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

struct FamilyRows : ::testing::Test {
    WDefaultSettings settings;
    WMemCollection c;
};

} // namespace

TEST_F(FamilyRows, SubjectStepsThroughItsFamiliesAndWraps) {
    auto john = c.AddPerson("John /Smith/", 'M');
    const std::int32_t wives[3] = {c.AddPerson("Ann /A/", 'F'), c.AddPerson("Bea /B/", 'F'),
                                   c.AddPerson("Cy /C/", 'F')};
    for (std::int32_t w : wives) c.AddFamily(john, w);

    WFamilySubject s;
    ASSERT_TRUE(s.Take(&c, john));
    EXPECT_EQ(s.Count(), 3);
    FamilyGroup g;
    for (int round = 0; round < 4; ++round) {
        const int pos = round % 3;
        EXPECT_EQ(s.Index(), pos + 1);
        EXPECT_EQ(s.PositionText(), "(" + std::to_string(pos + 1) + " of 3)");
        ShowFamilyGroup(&c, nullptr, s, g);
        EXPECT_EQ(g.Spouse, wives[pos]);
        EXPECT_EQ(g.Persons[fpSpouse], wives[pos]);
        EXPECT_EQ(g.MultipleMarriages, s.PositionText());
        EXPECT_TRUE(s.Next());
    }
    // One family: no position text; none: Next refuses.
    WFamilySubject one;
    one.Take(&c, wives[0]);
    EXPECT_EQ(one.PositionText(), "");
    WFamilySubject none;
    none.Take(&c, c.AddPerson("Lone /L/"));
    EXPECT_FALSE(none.Next());
    EXPECT_EQ(none.CurrentFamily(), 0);
    EXPECT_FALSE(none.Take(&c, 9999));
    EXPECT_EQ(none.Subject(), 0);
}

TEST_F(FamilyRows, GroupShowsParentsSpouseAndChildrenInBirthOrder) {
    auto gramps = c.AddPerson("Old /Smith/", 'M');
    auto john = c.AddPerson("John /Smith/", 'M');
    auto jmum = c.AddPerson("Jane /Doe/", 'F');
    c.AddFamily(gramps, 0).Child(jmum); // John's mother has a father; John's father has none
    auto jdad = c.AddPerson("Jim /Smith/", 'M');
    c.AddFamily(jdad, jmum).Child(john);
    auto mary = c.AddPerson("Mary /Jones/", 'F');
    auto mdad = c.AddPerson("Mike /Jones/", 'M');
    c.AddFamily(mdad, 0).Child(mary);
    auto late = c.AddPerson("Late /Smith/", 'F').Birth("1935");
    auto early = c.AddPerson("Early /Smith/", 'M').Birth("1930").Death("1990");
    c.AddFamily(john, mary).Marriage("1929", "Boston").Child(late).Child(early);
    // Early married twice; his first family has a child.
    auto e1 = c.AddPerson("Eve /One/", 'F');
    c.AddFamily(early, e1).Child(c.AddPerson("Kid /Smith/"));
    c.AddFamily(early, c.AddPerson("Two /Two/", 'F'));

    WFamilySubject s;
    s.Take(&c, john);
    FamilyGroup g;
    ShowFamilyGroup(&c, nullptr, s, g);
    EXPECT_EQ(g.Persons[fpFather1], jdad);
    EXPECT_EQ(g.Persons[fpMother1], jmum);
    EXPECT_EQ(g.Persons[fpFather2], mdad);
    EXPECT_EQ(g.Persons[fpMother2], 0);
    EXPECT_EQ(g.MarriageInfo, "1929, Boston");
    EXPECT_FALSE(g.Plus[0]); // John's father has no parents
    EXPECT_TRUE(g.Plus[1]);  // John's mother has a father
    EXPECT_FALSE(g.Plus[2]);
    EXPECT_FALSE(g.Plus[3]); // no mother of the spouse at all
    ASSERT_EQ(g.Children.size(), 2u);
    const FamChildRow& r = g.Children[0];
    EXPECT_EQ(r.Child, early);
    EXPECT_EQ(r.Sex, "M");
    EXPECT_EQ(r.Birth, "1930");
    EXPECT_EQ(r.Death, "1990");
    EXPECT_EQ(r.SpouseCount, 2);
    EXPECT_EQ(r.Spouse, e1);
    EXPECT_EQ(r.SpouseName.rfind("(1 of 2) Eve", 0), 0u) << r.SpouseName;
    EXPECT_TRUE(r.HasChildren);
    EXPECT_EQ(g.Children[1].Child, late);
    EXPECT_EQ(g.Children[1].Spouse, 0);
    EXPECT_FALSE(g.Children[1].HasChildren);
    EXPECT_EQ(FamilyGridTitles(false, g.Children.size())[1], "Children (2)");
}

TEST_F(FamilyRows, MissingParentsSpousesAndFamiliesLeaveEmptySlots) {
    // A single mother: she is the subject, the family has no husband.
    auto mum = c.AddPerson("Sue /Solo/", 'F');
    auto kid = c.AddPerson("Kid /Solo/", 'M');
    c.AddFamily(0, mum).Child(kid);
    WFamilySubject s;
    s.Take(&c, mum);
    FamilyGroup g;
    ShowFamilyGroup(&c, nullptr, s, g);
    EXPECT_EQ(g.Spouse, 0);
    EXPECT_EQ(g.Persons[fpFather1], 0);
    EXPECT_EQ(g.Persons[fpFather2], 0);
    ASSERT_EQ(g.Children.size(), 1u);
    EXPECT_EQ(g.Children[0].Child, kid);

    // The child's only family has no other spouse: no spouse, count or "+".
    c.AddFamily(kid, 0).Child(c.AddPerson("Grandkid"));
    EXPECT_EQ(MakeChildRow(&c, nullptr, kid).SpouseCount, 0);
    EXPECT_FALSE(MakeChildRow(&c, nullptr, kid).HasChildren);

    // No families at all, and no subject at all.
    s.Take(&c, c.AddPerson("Nobody"));
    ShowFamilyGroup(&c, nullptr, s, g);
    EXPECT_TRUE(g.Children.empty());
    EXPECT_EQ(g.MarriageInfo, "");
    s.Clear();
    ShowFamilyGroup(&c, nullptr, s, g);
    EXPECT_EQ(g.Persons[fpSubject], 0);
    EXPECT_EQ(MakeChildRow(&c, nullptr, 0).Child, 0);
}

TEST_F(FamilyRows, ChristeningAndBurialStandInOnlyWithFamBirChr) {
    auto p = c.AddPerson("Chris /Only/", 'F').Christening("2 FEB 1800", "Leeds").Burial("", "York");
    WOptions::SetBool(opt::FamBirChr, false);
    FamChildRow r = MakeChildRow(&c, nullptr, p);
    EXPECT_EQ(r.Birth, "");
    EXPECT_EQ(r.Death, "");
    PersonPanelInfo info = MakePersonPanel(&c, nullptr, p, 3);
    EXPECT_EQ(info.Birth, "");
    WOptions::SetBool(opt::FamBirChr, true);
    r = MakeChildRow(&c, nullptr, p);
    EXPECT_EQ(r.Birth, "[2 Feb 1800]");
    EXPECT_EQ(r.Death, ""); // a burial without a date gives nothing in the grid
    info = MakePersonPanel(&c, nullptr, p, 3);
    EXPECT_EQ(info.Birth, "[2 Feb 1800, Leeds]");
    EXPECT_EQ(info.Death, "[York]"); // the panel shows the place alone
    EXPECT_EQ(MakePersonPanel(&c, nullptr, p, 1).Birth, "");

    auto q = c.AddPerson("Both /Ways/").Birth("1900", "Paris").Christening("1901");
    info = MakePersonPanel(&c, nullptr, q, 3);
    EXPECT_EQ(info.Birth, "1900, Paris");
}

TEST_F(FamilyRows, PanelColoursLdsLettersAndHint) {
    auto a = c.AddPerson("Al /Lee/", 'M').Ordinance(7, "1990", "SLAKE").Ordinance(9, "1991", "SLAKE");
    auto b = c.AddPerson("Bo /Lee/", 'F');
    c.AddFamily(a, b).Sealing("1992", "SLAKE");
    WOptions::SetInt(WABSHighLighter::kOptHLCol, 0x00FFFF);
    WOptions::SetInt(WABSHighLighter::kOptHLTCol, 0x0000FF);
    WMarks hl(&c, {int(b)});

    PersonPanelInfo none = MakePersonPanel(&c, nullptr, a, 3);
    EXPECT_EQ(none.Back, plat::kWhite);
    EXPECT_EQ(none.Font, plat::kBlack);
    EXPECT_FALSE(none.UseLDS);
    EXPECT_FALSE(none.LDSBap);
    PersonPanelInfo marked = MakePersonPanel(&c, &hl, b, 3);
    EXPECT_EQ(marked.Back, 0x00FFFFu);
    EXPECT_EQ(marked.Font, 0x0000FFu);
    EXPECT_EQ(MakePersonPanel(&c, &hl, a, 3).Back, plat::kWhite);

    WOptions::SetBool(opt::UseLDS, true);
    PersonPanelInfo lds = MakePersonPanel(&c, nullptr, a, 3);
    EXPECT_TRUE(lds.UseLDS);
    EXPECT_TRUE(lds.LDSBap);
    EXPECT_FALSE(lds.LDSEnd);
    EXPECT_TRUE(lds.LDSSP);
    EXPECT_TRUE(lds.LDSSS);

    WOptions::SetBool(opt::ShowIndHint, true);
    EXPECT_NE(MakePersonPanel(&c, nullptr, a, 3).Hint.find("Al"), std::string::npos);
    WOptions::SetBool(opt::ShowIndHint, false);
    EXPECT_EQ(MakePersonPanel(&c, nullptr, a, 3).Hint, "");
    EXPECT_EQ(MakePersonPanel(&c, nullptr, 0, 3).Individual, 0);
}

TEST_F(FamilyRows, UnreadableFirstFamilyOfAChildRaisesWithItsNumber) {
    auto dad = c.AddPerson("Dad", 'M');
    auto ok = c.AddPerson("Ok").Birth("1900");
    auto bad = c.AddPerson("Bad").Birth("1901");
    c.AddFamily(dad, 0).Child(ok).Child(bad);
    c.PersonData(bad).spouseFamilies.push_back(0); // a dangling family link
    try {
        MakeChildRow(&c, nullptr, bad);
        FAIL() << "no error";
    } catch (const EINDError& e) {
        EXPECT_STREQ(e.what(), "Error getting pointer to Marriage 0");
    }
    WFamilySubject s;
    s.Take(&c, dad);
    FamilyGroup g;
    EXPECT_THROW(ShowFamilyGroup(&c, nullptr, s, g), EINDError);
    ASSERT_EQ(g.Children.size(), 1u); // the row before the failure stays
    EXPECT_EQ(g.Children[0].Child, ok);
}

TEST_F(FamilyRows, ManySpouseFamiliesAndChildrenAreAllKept) {
    // Past the old stores of 255 families and 500 child rows.
    auto man = c.AddPerson("Many /Wives/", 'M');
    for (int i = 0; i < 300; ++i) c.AddFamily(man, 0);
    auto big = c.AddFamily(c.AddPerson("Big", 'M'), 0);
    for (int i = 0; i < 600; ++i) c.Family(big).Child(c.AddPerson("C" + std::to_string(i)));

    WFamilySubject s;
    s.Take(&c, man);
    EXPECT_EQ(s.Count(), 300);
    for (int i = 1; i < 300; ++i) s.Next();
    EXPECT_EQ(s.PositionText(), "(300 of 300)");
    EXPECT_EQ(s.CurrentFamily(), 300);
    s.Next();
    EXPECT_EQ(s.Index(), 1);

    WFamilySubject parent;
    parent.Take(&c, c.LinkHusband(big));
    FamilyGroup g;
    ShowFamilyGroup(&c, nullptr, parent, g);
    EXPECT_EQ(g.Children.size(), 600u);
    EXPECT_EQ(FamilyGridTitles(true, g.Children.size())[3], "Birth/[Chr]");
}
