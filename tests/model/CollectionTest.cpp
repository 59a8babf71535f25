// Kinship, summaries, link names and record access of the abstract collection,
// over the in-memory back end.
#include <functional>
#include <gtest/gtest.h>

#include "model/ABSCollection.h"
#include "model/CollectionIterator.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

// Three generations:
//   F1 George x Grace: Alice (1898), John (1900), Baby (undated, sex unknown)
//   F2 John x Mary (1925, Boston, sealed in a temple, cited): Ann (1928), Tom (1926) — added in that order
//   F6 John x Sue (noted, no children)
//   F3 wife-only: Kate, child Lost
//   F5 wife-only: Kate adopts Tom (his second family as child)
//   F7 Hal x Ida sealed without temple
//   Lone has no family at all.
class CollectionTest : public ::testing::Test {
protected:
    CollectionTest() {
        WOptions::SetBool(opt::FNValueFlag, false);
        george = c.AddPerson("George /Smith/", 'M').Birth("1870");
        grace = c.AddPerson("Grace /Hill/", 'F').Birth("1872");
        john = c.AddPerson("John /Smith/", 'M').Birth("1 JAN 1900", "Boston");
        alice = c.AddPerson("Alice /Smith/", 'F').Birth("1898");
        baby = c.AddPerson("Baby /Smith/", 'U');
        mary = c.AddPerson("Mary /Jones/", 'F').Birth("1905");
        ann = c.AddPerson("Ann /Smith/", 'F').Birth("1928");
        tom = c.AddPerson("Tom /Smith/", 'M').Birth("1926");
        sue = c.AddPerson("Sue /Brown/", 'F');
        kate = c.AddPerson("Kate /Wolf/", 'F');
        lost = c.AddPerson("Lost /Wolf/");
        lone = c.AddPerson("Lone /Ranger/", 'M');
        hal = c.AddPerson("Hal /Moe/", 'M');
        ida = c.AddPerson("Ida /Moe/", 'F');

        f1 = c.AddFamily(george, grace).Child(john).Child(alice).Child(baby);
        f2 = c.AddFamily(john, mary)
                 .Marriage("1925", "Boston")
                 .Child(ann)
                 .Child(tom)
                 .Sealing("1 JAN 1930", "SLAKE", true)
                 .Cite("reg. 4");
        f3 = c.AddFamily(0, kate).Child(lost);
        f5 = c.AddFamily(0, kate).Child(tom, 8, 2);
        f6 = c.AddFamily(john, sue).Note("married abroad");
        f7 = c.AddFamily(hal, ida).Sealing("1950", "", false);
    }

    WDefaultSettings settings;
    WFixedToday today{2020, 6, 15};
    WMemCollection c;
    std::int32_t george, grace, john, alice, baby, mary, ann, tom, sue, kate, lost, lone, hal, ida;
    std::int32_t f1, f2, f3, f5, f6, f7;
};

TEST_F(CollectionTest, RecordNumberZeroYieldsNoObjectAndOthersOutsideRaise) {
    EXPECT_EQ(c.GetIndividual(0), nullptr);
    EXPECT_EQ(c.GetIndividual(c.GetIndividualCount() + 1), nullptr);
    ASSERT_NE(c.GetIndividual(c.GetIndividualCount()), nullptr);
    EXPECT_EQ(c.GetIndividual(john)->GetRecNo(), john);
    EXPECT_EQ(c.GetMarriage(0), nullptr);
    EXPECT_EQ(c.GetNote(0), nullptr);
    EXPECT_EQ(c.GetSource(0), nullptr);
    EXPECT_EQ(c.GetRepository(0), nullptr);
    EXPECT_EQ(c.GetMarriage(f7)->GetRecNo(), f7);

    try {
        c.GetIndividual(-3);
        ADD_FAILURE() << "no index error";
    } catch (const EIndexError& e) {
        EXPECT_STREQ(e.what(), "Error: In valid index value = -3");
        EXPECT_EQ(e.Index(), -3);
    }
    EXPECT_THROW(c.GetMarriage(c.GetMarriageCount() + 1), EIndexError);
    EXPECT_THROW(c.GetMarriage(-1), EIndexError);
    EXPECT_THROW(c.GetNote(1), EIndexError);
    EXPECT_THROW(c.GetSource(2), EIndexError);
    EXPECT_THROW(c.GetRepository(5), EIndexError);

    // Callers loop over families as child until a record number of 0 gives none.
    int families = 0;
    auto t = c.GetIndividual(tom);
    for (int i = 1;; ++i) {
        auto m = c.GetMarriage(t->GetParentFamily(i));
        if (!m) break;
        ++families;
    }
    EXPECT_EQ(families, 2);
}

TEST_F(CollectionTest, ParentsAndParentCountOverTwoParentFamilies) {
    EXPECT_EQ(c.GetFather(tom), john);
    EXPECT_EQ(c.GetMother(tom), mary);
    EXPECT_EQ(c.GetParentCount(tom), 3);
    EXPECT_EQ(c.GetParentCount(lost), 1);
    EXPECT_EQ(c.GetParentCount(lone), 0);
    EXPECT_EQ(c.GetFather(lost), 0);
    EXPECT_EQ(c.GetMother(lost), kate);
    EXPECT_EQ(c.GetFather(0), 0);
    EXPECT_EQ(c.GetFather(999), 0);

    std::int32_t family = 0, motherLink = 0, fatherLink = 0;
    c.GetIndividual(tom)->GetParentFamilyEx(2, family, motherLink, fatherLink);
    EXPECT_EQ(family, f5);
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(motherLink), "Mother-Ado");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(fatherLink), "Father-Ado");
}

TEST_F(CollectionTest, SpousesAndCommonMarriage) {
    EXPECT_EQ(c.GetSpouse(john, 1), mary);
    EXPECT_EQ(c.GetSpouse(john, 2), sue);
    EXPECT_EQ(c.GetSpouse(john, 3), 0);
    EXPECT_EQ(c.GetSpouse(john, 0), 0);
    EXPECT_EQ(c.GetSpouse(mary, 1), john);
    // A wife-only family: the "other spouse" is the missing husband.
    EXPECT_EQ(c.GetSpouse(kate, 1), 0);
    EXPECT_EQ(c.GetSpouse(kate, 2), 0);
    EXPECT_EQ(c.GetSpouse(0, 1), 0);

    EXPECT_EQ(c.FindCommonMarriage(john, mary), f2);
    EXPECT_EQ(c.FindCommonMarriage(sue, john), f6);
    EXPECT_EQ(c.FindCommonMarriage(john, kate), 0);
    EXPECT_EQ(c.FindCommonMarriage(0, john), 0);
    EXPECT_EQ(c.FindCommonMarriage(john, 0), 0);
}

TEST_F(CollectionTest, ChildrenCountsBySex) {
    EXPECT_TRUE(c.HasChildren(john));
    EXPECT_FALSE(c.HasChildren(sue));
    EXPECT_FALSE(c.HasChildren(lone));
    EXPECT_TRUE(c.HasChildren(kate));
    EXPECT_EQ(c.GetChildCount(john), 2);
    EXPECT_EQ(c.GetChildCount(kate), 2);
    EXPECT_EQ(c.GetChildCount(george), 3);
    EXPECT_EQ(c.GetSonCount(george), 1);
    EXPECT_EQ(c.GetDaughterCount(george), 1);
    EXPECT_EQ(c.CountChildrenOfSex(george, 'U'), 1);
    EXPECT_EQ(c.GetSonCount(kate), 1);
    EXPECT_EQ(c.GetDaughterCount(0), 0);

    EXPECT_TRUE(c.HasFamily(tom));
    EXPECT_TRUE(c.HasFamily(sue));
    EXPECT_FALSE(c.HasFamily(lone));
    EXPECT_FALSE(c.HasFamily(0));
    EXPECT_FALSE(c.HasFamily(c.GetIndividualCount() + 1));
}

TEST_F(CollectionTest, FatherMotherOrSpouseSearchOrders) {
    std::int32_t kind = -1;
    EXPECT_EQ(c.GetFatherMotherOrSpouse(tom, kind, 1), john);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(c.GetFatherMotherOrSpouse(lost, kind, 1), kate);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(c.GetFatherMotherOrSpouse(mary, kind, 0), john);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(c.GetFatherMotherOrSpouse(kate, kind, 1), 0);
    EXPECT_EQ(kind, 0);
    EXPECT_EQ(c.GetFatherMotherOrSpouse(lone, kind, 1), 0);
    EXPECT_EQ(kind, 0);

    EXPECT_EQ(c.GetSpouseFatherOrMother(john, kind, 2), sue);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(c.GetSpouseFatherOrMother(john, kind, -4), mary);
    EXPECT_EQ(kind, 3);
    EXPECT_EQ(c.GetSpouseFatherOrMother(john, kind, 9), george);
    EXPECT_EQ(kind, 1);
    EXPECT_EQ(c.GetSpouseFatherOrMother(lost, kind, 1), kate);
    EXPECT_EQ(kind, 2);
    EXPECT_EQ(c.GetSpouseFatherOrMother(0, kind, 1), 0);
    EXPECT_EQ(kind, 0);
}

TEST_F(CollectionTest, NumbersPathAgreesWithTheRecordsAndMakesNoObjects) {
    using Op = std::function<std::int64_t(std::int32_t)>;
    std::int32_t kind = 0;
    const std::vector<Op> ops = {
        [&](std::int32_t i) { return c.GetFather(i); },
        [&](std::int32_t i) { return c.GetMother(i); },
        [&](std::int32_t i) { return c.GetParentCount(i); },
        [&](std::int32_t i) { return c.GetSpouse(i, 1) * 1000 + c.GetSpouse(i, 2); },
        [&](std::int32_t i) { return c.FindCommonMarriage(i, john); },
        [&](std::int32_t i) { return c.HasChildren(i) ? 1 : 0; },
        [&](std::int32_t i) { return c.GetChildCount(i); },
        [&](std::int32_t i) { return c.GetSonCount(i) * 100 + c.GetDaughterCount(i); },
        [&](std::int32_t i) { return c.HasFamily(i) ? 1 : 0; },
        [&](std::int32_t i) { return c.GetFatherMotherOrSpouse(i, kind, 1) * 10 + kind; },
        [&](std::int32_t i) { return c.GetSpouseFatherOrMother(i, kind, 2) * 10 + kind; },
    };
    const std::int32_t n = c.GetIndividualCount();
    std::vector<std::int64_t> fast, slow;
    const auto made = c.IndividualsMade() + c.MarriagesMade();
    for (const Op& op : ops)
        for (std::int32_t i = 0; i <= n + 1; ++i) fast.push_back(op(i));
    EXPECT_EQ(c.IndividualsMade() + c.MarriagesMade(), made);

    c.SetRecordPathOnly(true);
    for (const Op& op : ops)
        for (std::int32_t i = 0; i <= n + 1; ++i) slow.push_back(op(i));
    EXPECT_GT(c.IndividualsMade() + c.MarriagesMade(), made);
    EXPECT_EQ(fast, slow);

    // The link reads themselves, out-of-range numbers included.
    for (bool records : {false, true}) {
        c.SetRecordPathOnly(records);
        EXPECT_EQ(c.LinkHusband(f3), 0);
        EXPECT_EQ(c.LinkWife(f3), kate);
        EXPECT_EQ(c.LinkHusband(0), 0);
        EXPECT_EQ(c.LinkWife(99), 0);
        EXPECT_EQ(c.LinkChildCount(f1), 3);
        EXPECT_EQ(c.LinkChild(f1, 2), alice);
        EXPECT_EQ(c.LinkChild(f1, 4), 0);
        EXPECT_EQ(c.LinkSex(baby), 'U');
        EXPECT_EQ(c.LinkSex(99), '\0');
        EXPECT_EQ(c.LinkParentFamily(tom, 2), f5);
        EXPECT_EQ(c.LinkParentFamily(-1, 1), 0);
        EXPECT_EQ(c.LinkSpouseFamilyCount(john), 2);
        std::vector<std::int32_t> kids;
        c.LinkChildren(f2, kids);
        EXPECT_EQ(kids.size(), 2u);
    }
}

TEST_F(CollectionTest, SourcesNotesAndSealings) {
    auto cited = c.AddPerson("Cy /Ted/").Cite("p. 9");
    EXPECT_TRUE(c.HasSource(john));
    EXPECT_TRUE(c.HasMarriageSource(mary));
    EXPECT_FALSE(c.HasSource(tom));
    EXPECT_TRUE(c.HasSource(cited));
    EXPECT_FALSE(c.HasMarriageSource(cited));
    EXPECT_FALSE(c.HasSource(0));

    EXPECT_TRUE(c.HasNote(sue));
    EXPECT_TRUE(c.HasMarriageNote(john));
    EXPECT_FALSE(c.HasNote(mary));
    EXPECT_FALSE(c.HasMarriageNote(0));

    // A position out of range, 0 included, asks every family.
    EXPECT_TRUE(c.HasSpouseSealing(john, 1));
    EXPECT_FALSE(c.HasSpouseSealing(john, 2));
    EXPECT_TRUE(c.HasSpouseSealing(john, 0));
    EXPECT_TRUE(c.HasSpouseSealing(john, 3));
    EXPECT_TRUE(c.HasSpouseSealing(mary, 2));
    EXPECT_FALSE(c.HasSpouseSealing(sue, 0));
    EXPECT_FALSE(c.HasSpouseSealing(lone, 0));

    EXPECT_EQ(c.GetFamilyEventDate(john, 1, EventKind::LDSSealSpouse), "1 Jan 1930");
    EXPECT_EQ(c.GetFamilyEventDate(john, 2, EventKind::LDSSealSpouse), "");
    EXPECT_EQ(c.GetFamilyEventPlace(john, 1, true, EventKind::LDSSealSpouse), "SLAKE");
    EXPECT_EQ(c.GetFamilyEventPlace(hal, 1, true, EventKind::LDSSealSpouse), "Live");
    EXPECT_EQ(c.GetFamilyEventPlace(hal, 1, false, EventKind::LDSSealSpouse), "");
    EXPECT_EQ(c.GetEventOfFamily(john, 0, EventKind::LDSSealSpouse), nullptr);
    EXPECT_EQ(c.GetEventOfFamily(john, 3, EventKind::LDSSealSpouse), nullptr);
    EXPECT_NE(c.GetEventOfFamily(ida, 1, EventKind::LDSSealSpouse), nullptr);
}

TEST_F(CollectionTest, NamesOfIndividuals) {
    EXPECT_EQ(c.GetName(john), "John /Smith/");
    EXPECT_EQ(c.GetNameWithBirth(john), "John /Smith/, 1 Jan 1900, Boston");
    EXPECT_EQ(c.GetNameWithBirth(sue), "Sue /Brown/, ");
    EXPECT_EQ(c.GetName(0), "");
    EXPECT_EQ(c.GetFullName(999), "");
    EXPECT_EQ(c.GetNameWithBirth(0), "");
    c.Person(john).Prefix("Sir");
    WOptions::SetBool(opt::FNValueFlag, true);
    EXPECT_EQ(c.GetFullName(john), "Sir John /Smith/");
    EXPECT_EQ(c.GetName(john), "Sir John /Smith/ [I3]");
}

TEST_F(CollectionTest, ChildLinesAndFamiliesText) {
    EXPECT_EQ(c.FormatChildLine(0, false), "<No Given Name>");
    EXPECT_EQ(c.FormatChildLine(0, true), "<No Given Name>");
    EXPECT_EQ(c.FormatChildLine(john, false), "< 1900 John /Smith/");
    EXPECT_EQ(c.FormatChildLine(tom, false), "   1926 Tom /Smith/");
    EXPECT_EQ(c.FormatChildLine(baby, false), "           Baby /Smith/");
    EXPECT_EQ(c.FormatChildLine(john, true), "John /Smith/");

    // Children come sorted by birth: Tom (1926) before Ann (1928).
    EXPECT_EQ(c.GetFamiliesText(john), "Spouse: Mary /Jones/\r\n"
                                       "   Mar. Date: 1925, Boston\r\n"
                                       "      1926 Tom /Smith/\r\n"
                                       "      1928 Ann /Smith/\r\n"
                                       "Spouse: Sue /Brown/\r\n"
                                       "   Mar. Date: , ");
    EXPECT_EQ(c.GetFamiliesText(grace), "Spouse: George /Smith/\r\n"
                                        "   Mar. Date: , \r\n"
                                        "      1898 Alice /Smith/\r\n"
                                        "   < 1900 John /Smith/\r\n"
                                        "              Baby /Smith/");
    EXPECT_EQ(c.GetFamiliesText(kate), "Spouse: <No Given Name>\r\n"
                                       "   Mar. Date: , \r\n"
                                       "              Lost /Wolf/\r\n"
                                       "Spouse: <No Given Name>\r\n"
                                       "   Mar. Date: , \r\n"
                                       "      1926 Tom /Smith/");
    EXPECT_EQ(c.GetFamiliesText(lone), "");
    EXPECT_EQ(c.GetFamiliesText(0), "");
}

TEST_F(CollectionTest, FamilySummary) {
    EXPECT_EQ(c.GetFamilySummary(tom), "Name :Tom /Smith/\r\n"
                                       "Sex    :M\r\n"
                                       "Birth   :1926, \r\n"
                                       "Chr     :\r\n"
                                       "Death :\r\n"
                                       "Bur     :\r\n"
                                       "Age     :~94?\r\n"
                                       "Father :John /Smith/\r\n"
                                       "Mother :Mary /Jones/");
    // Without families the text ends after the mother's line.
    EXPECT_EQ(c.GetFamilySummary(lone),
              "Name :Lone /Ranger/\r\nSex    :M\r\nBirth   :\r\nChr     :\r\nDeath :\r\nBur     :\r\n"
              "Age     :\r\nFather :\r\nMother :");
    const std::string mary_ = c.GetFamilySummary(mary);
    EXPECT_EQ(mary_.substr(mary_.find("Mother :")),
              "Mother :\r\nSpouse: John /Smith/\r\n   Mar. Date: 1925, Boston\r\n      1926 Tom /Smith/\r\n"
              "      1928 Ann /Smith/");
    EXPECT_EQ(c.GetFamilySummary(0), "");
    EXPECT_EQ(c.GetFamilySummary(c.GetIndividualCount() + 1), "");
}

TEST_F(CollectionTest, PedigreeAndChildLinkNames) {
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(0), "Unknown");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(1), "Father");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(7), "Mother");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(17), "Parent-Fst");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(26), "Dau-Ado");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(36), "Child-Oth");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(37), "");
    EXPECT_EQ(WABSCollection::GetPedigreeLinkName(-1), "");

    EXPECT_EQ(WABSCollection::GetChildLinkName(1, 'U'), "Child");
    EXPECT_EQ(WABSCollection::GetChildLinkName(8, 'F'), "Dau-Ado");
    EXPECT_EQ(WABSCollection::GetChildLinkName(8, 'f'), "Dau-Ado");
    EXPECT_EQ(WABSCollection::GetChildLinkName(7, 'm'), "Son");
    EXPECT_EQ(WABSCollection::GetChildLinkName(18, 'M'), "Son-Oth");
    EXPECT_EQ(WABSCollection::GetChildLinkName(15, 'X'), "Child-Ste");
    EXPECT_EQ(WABSCollection::GetChildLinkName(0, 'M'), "Unknown");
    EXPECT_EQ(WABSCollection::GetChildLinkName(19, 'M'), "");
    EXPECT_EQ(WABSCollection::GetChildLinkName(-2, 'M'), "");
    // Every parent-side group maps onto the same kind of child-side link.
    for (std::int32_t code = 1; code <= 18; ++code) {
        std::string parent = WABSCollection::GetPedigreeLinkName(code);
        std::string child = WABSCollection::GetChildLinkName(code, 'M');
        EXPECT_EQ(parent.find('-') == std::string::npos, child.find('-') == std::string::npos) << code;
        if (parent.find('-') != std::string::npos) {
            EXPECT_EQ(parent.substr(parent.find('-')), child.substr(child.find('-'))) << code;
        }
    }
}

TEST_F(CollectionTest, FileStateWithoutView) {
    EXPECT_EQ(c.GetFileKind(), 1);
    EXPECT_EQ(c.GetCharSet(), 1);
    EXPECT_FALSE(c.IsComputingIslands());
    EXPECT_EQ(c.GetView(), nullptr);
    EXPECT_EQ(c.GetCount(), c.GetIndividualCount());
    EXPECT_EQ(c.ViewToIndex(5), 5);
    EXPECT_EQ(c.IndexToView(5), 5);
    EXPECT_EQ(c.IndexToRecord(4), 4);
    EXPECT_EQ(c.RecordToIndex(4), 4);
    EXPECT_EQ(c.FindIndividualByXref("I3"), john);
    EXPECT_EQ(c.FindNoteByXref("N1"), 0);
}

// A view over a fixed list of members, as the island view restricts the lists.
class FixedView : public WCollectionIterator {
public:
    FixedView(WABSCollection* c, std::vector<std::int32_t> members) : WCollectionIterator("", c, 0) {
        for (std::int32_t m : members) AddItem(m);
    }
    void Sort() override {}
};

TEST_F(CollectionTest, ViewRestrictsAndRenumbers) {
    c.SetView(std::make_unique<FixedView>(&c, std::vector<std::int32_t>{3, 7, 5, 7}));
    EXPECT_EQ(c.GetCount(), 4);
    EXPECT_EQ(c.ViewToIndex(1), 3);
    EXPECT_EQ(c.ViewToIndex(2), 7);
    EXPECT_EQ(c.ViewToIndex(5), 0);
    EXPECT_EQ(c.IndexToView(5), 3);
    EXPECT_EQ(c.IndexToView(7), 2); // the first position holding it
    EXPECT_EQ(c.IndexToView(1), 0);
    EXPECT_EQ(c.IndexToView(0), 0);
    EXPECT_EQ(c.IndexToView(999), 0);
    // Individuals are still addressed by their record numbers.
    EXPECT_EQ(c.GetIndividualCount(), 14);
    EXPECT_EQ(c.GetFather(john), george);

    // The members grew after a first question: the positions follow.
    static_cast<FixedView*>(c.GetView())->AddItem(1);
    EXPECT_EQ(c.IndexToView(1), 5);

    c.ClearView();
    EXPECT_EQ(c.GetView(), nullptr);
    EXPECT_EQ(c.GetCount(), c.GetIndividualCount());
    EXPECT_EQ(c.ViewToIndex(2), 2);
    EXPECT_EQ(c.IndexToView(5), 5);
}

} // namespace
