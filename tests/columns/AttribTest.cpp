// Cell texts and sort keys of the 68 column kinds.
#include <map>

#include "ColumnFixture.h"
#include "columns/Attrib.h"
#include "columns/AttribEvent.h"
#include "columns/AttribRecord.h"
#include "columns/AttribTree.h"
#include "columns/ColumnTable.h"
#include "model/Options.h"
#include "model/WaitHooks.h"

namespace {

using coltest::Family;

std::string cell(WABSCollection* c, std::int32_t id, std::int32_t row, std::int32_t family = 1,
                 std::int32_t reference = 0) {
    auto a = ColumnTable::MakeAttrib(id, c);
    EXPECT_NE(a, nullptr) << id;
    if (!a) return "<none>";
    a->SetReferencePerson(reference);
    return a->Text(row, family);
}

// Golden texts for every column id; reference person Tom.
void expectGolden(Family& f, std::int32_t row, const std::map<std::int32_t, std::string>& golden) {
    ASSERT_EQ(golden.size(), 68u);
    for (const auto& [id, text] : golden) {
        SCOPED_TRACE("column " + std::to_string(id));
        EXPECT_EQ(cell(&f.c, id, row, 1, f.tom), text);
    }
}

TEST(AttribGolden, JohnWithEveryKindOfData) {
    Family f;
    expectGolden(f, f.john,
                 {{1, "3"},
                  {2, "I3"},
                  {3, "AFN1"},
                  {4, "Smith"},
                  {5, "John"},
                  {6, "Dr. John /Smith/ Jr"},
                  {7, "Smith, John"},
                  {8, "Farmer and miller"},
                  {9, "M"},
                  {10, "15 Mar 1830"},
                  {11, "Boston, Mass"},
                  {12, "20 Mar 1830"},
                  {13, "St Paul"},
                  {14, "20 Jun 1890"},
                  {15, "Salem"},
                  {16, "25 Jun 1890"},
                  {17, "Old Hill"},
                  {18, "George /Smith/"},
                  {19, "60"},
                  {20, "25"},
                  {21, "Yes"},
                  {22, "Yes"},
                  {23, "Yes"},
                  {24, "1"},
                  {25, "2"},
                  {26, "2"},
                  {27, "2"},
                  {28, "2"},
                  {29, "B\tE\t-\tS"},
                  {30, "1 Jan 1900"},
                  {31, "SLAKE"},
                  {32, "2 Feb 1901"},
                  {33, "LOGAN"},
                  {34, ""},
                  {35, ""},
                  {36, "3 Mar 1902"},
                  {37, "MANTI"},
                  {38, "Father"},
                  {39, ""},
                  {40, "No"},
                  {41, "Boston"},
                  {42, "10 May 1855"},
                  {43, "George /Smith/"},
                  {44, "Grace /Brown/"},
                  {45, "Mary /Jones/"},
                  {46, "S530"},
                  {47, "J500"},
                  {48, "R-7"},
                  {49, "Smith, George"},
                  {50, "Brown, Grace"},
                  {51, "Jones, Mary"},
                  {52, ""},
                  {53, "Smith, George"},
                  {54, "1 Jan 1999"},
                  {55, "5 May 2000"},
                  {56, "Mary /Jones/"},
                  {57, "Jones, Mary"},
                  {58, "1"},
                  {59, "30"},
                  {60, "~25"},
                  {61, "1"},
                  {62, "1"},
                  {63, "1.00"},
                  {64, "1.00"},
                  {65, "15 Mar 1830"},
                  {66, "Boston, Mass"},
                  {67, "20 Jun 1890"},
                  {68, "Salem"}});
}

TEST(AttribGolden, PierreWithOnlyAMother) {
    Family f;
    const std::string emilie = "\xC9milie /Durand/";
    // Born 175 years before "today" and no death: past the age cut-off (19).
    expectGolden(f, f.pierre,
                 {{1, "8"},
                  {2, "I8"},
                  {3, ""},
                  {4, "Durand"},
                  {5, "Pierre"},
                  {6, "Pierre /Durand/"},
                  {7, "Durand, Pierre"},
                  {8, ""},
                  {9, "M"},
                  {10, "From 12 Dec 1850 to 1860"},
                  {11, ""},
                  {12, ""},
                  {13, ""},
                  {14, ""},
                  {15, ""},
                  {16, ""},
                  {17, ""},
                  {18, "(M)-" + emilie},
                  {19, ""},
                  {20, ""},
                  {21, "No"},
                  {22, "No"},
                  {23, "No"},
                  {24, "0"},
                  {25, "1"},
                  {26, "0"},
                  {27, "1"},
                  {28, "0"},
                  {29, "-\t-\t-\t-"},
                  {30, ""},
                  {31, ""},
                  {32, ""},
                  {33, ""},
                  {34, ""},
                  {35, ""},
                  {36, ""},
                  {37, ""},
                  {38, ""},
                  {39, ""},
                  {40, "No"},
                  {41, ""},
                  {42, ""},
                  {43, ""},
                  {44, emilie},
                  {45, ""},
                  {46, "D653"},
                  {47, "P600"},
                  {48, ""},
                  {49, ""},
                  {50, "Durand, \xC9milie"},
                  {51, ""},
                  {52, ""},
                  {53, "(M)-Durand, \xC9milie"},
                  {54, ""},
                  {55, ""},
                  {56, "(M)-" + emilie},
                  {57, "(M)-Durand, \xC9milie"},
                  {58, "2"},
                  {59, ""},
                  {60, ""},
                  {61, "1"},
                  {62, "0"},
                  {63, "1.00"},
                  {64, "0.00"},
                  {65, "From 12 Dec 1850 to 1860"},
                  {66, ""},
                  {67, ""},
                  {68, ""}});
}

TEST(AttribGolden, NobodyHasOnlyTheDefaults) {
    Family f;
    std::map<std::int32_t, std::string> golden;
    for (std::int32_t id = 1; id <= 68; ++id) golden[id] = "";
    golden[1] = std::to_string(f.nobody);
    golden[2] = "I" + std::to_string(f.nobody);
    golden[9] = "U";
    golden[21] = golden[22] = golden[23] = "No";
    golden[24] = golden[25] = golden[26] = golden[27] = golden[28] = "0";
    golden[61] = golden[62] = "0";
    golden[63] = golden[64] = "0.00";
    golden[29] = "-\t-\t-\t-";
    golden[40] = "No";
    golden[58] = ""; // set below: a single island of its own
    auto island = ColumnTable::MakeAttrib(58, &f.c);
    golden[58] = island->Text(f.nobody);
    EXPECT_GE(std::stoi(golden[58]), 3);
    expectGolden(f, f.nobody, golden);
}

TEST(AttribRelated, SpouseAndParentPrefixes) {
    Family f;
    // Mary has no parents: her spouse, with prefix and suffix.
    EXPECT_EQ(cell(&f.c, 18, f.mary), "(S)-Dr. John /Smith/ Jr");
    EXPECT_EQ(cell(&f.c, 53, f.mary), "(S)-Smith, John");
    EXPECT_EQ(cell(&f.c, 56, f.mary), "Dr. John /Smith/ Jr");
    // Tom has a father but no spouse: 56 falls back to "(F)-".
    EXPECT_EQ(cell(&f.c, 56, f.tom), "(F)-Dr. John /Smith/ Jr");
    EXPECT_EQ(cell(&f.c, 57, f.tom), "(F)-Smith, John");
    EXPECT_EQ(cell(&f.c, 18, f.tom), "Dr. John /Smith/ Jr");
    // Nobody related at all.
    EXPECT_EQ(cell(&f.c, 18, f.nobody), "");
    EXPECT_EQ(cell(&f.c, 56, f.nobody), "");
    // The prefix setting drops "Dr." and "Jr".
    WOptions::SetBool(opt::PreSuf, false);
    EXPECT_EQ(cell(&f.c, 18, f.mary), "(S)-John /Smith/");
}

TEST(AttribFamilyColumns, SecondFamilyThatDoesNotExistIsEmpty) {
    Family f;
    EXPECT_EQ(cell(&f.c, 20, f.john, 2), "");
    EXPECT_EQ(cell(&f.c, 42, f.john, 2), "");
    EXPECT_EQ(cell(&f.c, 41, f.john, 2), "");
    EXPECT_EQ(cell(&f.c, 36, f.john, 2), "");
    EXPECT_EQ(cell(&f.c, 45, f.john, 2), "");
    // Below 1 means the first family.
    EXPECT_EQ(cell(&f.c, 42, f.john, 0), "10 May 1855");
    EXPECT_EQ(cell(&f.c, 20, f.john, -3), "25");
    EXPECT_EQ(cell(&f.c, 37, f.mary, 0), "MANTI");
}

TEST(AttribDates, BracketedFallbacksAndTheirSortTexts) {
    Family f;
    auto a65 = ColumnTable::MakeAttrib(65, &f.c);
    auto a67 = ColumnTable::MakeAttrib(67, &f.c);
    auto a66 = ColumnTable::MakeAttrib(66, &f.c);
    auto a68 = ColumnTable::MakeAttrib(68, &f.c);
    EXPECT_EQ(a65->Text(f.ann), "[1 Jan 1860]");
    EXPECT_EQ(a65->SortText(f.ann), "1 Jan 1860");
    EXPECT_EQ(a67->Text(f.ann), "[1940]");
    EXPECT_EQ(a67->SortText(f.ann), "1940");
    EXPECT_EQ(a66->Text(f.ann), "[Salem]");
    EXPECT_EQ(a68->Text(f.ann), ""); // the burial has no place
    // A plain date keeps its whole text, brackets only come off a fallback.
    EXPECT_EQ(a65->SortText(f.pierre), "From 12 Dec 1850 to 1860");
    EXPECT_EQ(a67->SortText(f.john), "20 Jun 1890");
    EXPECT_EQ(a65->SortText(f.nobody), "");
    // Other date columns sort by their cell text.
    auto a42 = ColumnTable::MakeAttrib(42, &f.c);
    EXPECT_EQ(a42->SortText(f.mary), "10 May 1855");
    auto a30 = ColumnTable::MakeAttrib(30, &f.c);
    EXPECT_EQ(a30->SortText(f.john), "1 Jan 1900");
    // Place columns have no date key.
    EXPECT_EQ(a66->SortText(f.ann), "");
}

TEST(AttribAges, EstimatesApproximationsAndTheCutOff) {
    Family f;
    // Christening and burial stand in: estimated, and years only: approximate.
    EXPECT_EQ(cell(&f.c, 19, f.ann), "[~80]");
    EXPECT_EQ(cell(&f.c, 59, f.ann), "[29]");
    EXPECT_EQ(cell(&f.c, 60, f.ann), "[~25]");
    EXPECT_EQ(cell(&f.c, 59, f.tom), "~26");
    // 110 years is shown, 111 and more is not.
    EXPECT_EQ(cell(&f.c, 19, f.hundredTen), "110");
    EXPECT_EQ(cell(&f.c, 19, f.old), "");
    // Born 170 years ago and no death: still empty, not "170?".
    EXPECT_EQ(cell(&f.c, 19, f.tom), "");
    // Without the christening fallback Ann has no base date.
    WOptions::SetBool(opt::AgeCalcCB, false);
    EXPECT_EQ(cell(&f.c, 59, f.ann), "");
    EXPECT_EQ(cell(&f.c, 19, f.ann), "");
}

TEST(AttribAges, ParentAgeOverTheCutOffAndUnreadableDates) {
    WDefaultSettings settings;
    WMemCollection c;
    auto dad = c.AddPerson("Dad /X/", 'M').Birth("1 JAN 1700");
    auto mum = c.AddPerson("Mum /X/", 'F').Birth("ABT 1850 (FAMILY BIBLE)");
    auto kid = c.AddPerson("Kid /X/", 'M').Birth("2 JAN 1811");
    c.AddFamily(dad, mum).Marriage("1 JAN 1811").Child(kid);
    EXPECT_EQ(cell(&c, 59, kid), ""); // 111 years
    // A date that cannot be read word by word gives no age rather than "~0".
    EXPECT_EQ(cell(&c, 60, kid), "");
    EXPECT_EQ(cell(&c, 20, dad), ""); // 111 at the wedding
    EXPECT_EQ(cell(&c, 20, mum), "");
}

TEST(AttribLDS, MarksTabsAndTabStops) {
    Family f;
    auto lds = ColumnTable::MakeAttrib(29, &f.c);
    ASSERT_NE(lds->GetTabStops(), nullptr);
    EXPECT_EQ(*lds->GetTabStops(), (std::vector<std::int32_t>{8, 16, 24}));
    EXPECT_EQ(lds->Text(f.john), "B\tE\t-\tS");
    EXPECT_EQ(lds->Text(f.mary), "-\t-\t-\tS");
    WMemCollection c;
    auto p = c.AddPerson("A /B/").Ordinance(7, "1900", "X").Ordinance(8, "1901", "Y");
    EXPECT_EQ(ColumnTable::MakeAttrib(29, &c)->Text(p), "B\tE\t-\t-");
    auto q = c.AddPerson("C /D/").Ordinance(9, "1900", "X", false);
    EXPECT_EQ(ColumnTable::MakeAttrib(29, &c)->Text(q), "-\t-\tP\t-");
    // The temple column never substitutes "Live".
    EXPECT_EQ(ColumnTable::MakeAttrib(35, &c)->Text(q), "X");
    // Only the LDS column has tab stops.
    for (std::int32_t id = 1; id <= 68; ++id)
        if (id != 29) {
            EXPECT_EQ(ColumnTable::MakeAttrib(id, &c)->GetTabStops(), nullptr) << id;
        }
}

TEST(AttribAlive, LivingTest) {
    Family f;
    EXPECT_EQ(cell(&f.c, 40, f.john), "No"); // has a death date
    WMemCollection c;
    auto young = c.AddPerson("Young /One/").Birth("1990");
    auto old = c.AddPerson("Old /One/").Birth("1900");
    EXPECT_EQ(cell(&c, 40, young), "Yes");
    EXPECT_EQ(cell(&c, 40, old), "No");
    EXPECT_EQ(cell(&c, 40, 99), ""); // no such individual
    EXPECT_EQ(cell(nullptr, 40, young), "No");
}

TEST(AttribWithoutCollection, TextsAreEmptyExceptAliveAndIsland) {
    for (std::int32_t id = 1; id <= 68; ++id) {
        auto a = ColumnTable::MakeAttrib(id, nullptr);
        ASSERT_NE(a, nullptr);
        std::string expected = id == 1 ? "5" : id == 40 ? "No" : id == 58 ? "0" : "";
        EXPECT_EQ(a->Text(5), expected) << id;
        EXPECT_EQ(a->SortText(5), "") << id;
        EXPECT_EQ(a->GetInteger(5), id == 1 ? 5 : 0) << id;
        EXPECT_EQ(a->GetFloat(5), 0.0L) << id;
    }
}

TEST(AttribRows, RecordNumbersOutsideTheFileGiveEmptyTexts) {
    Family f;
    for (std::int32_t id = 2; id <= 68; ++id) {
        auto a = ColumnTable::MakeAttrib(id, &f.c);
        for (std::int32_t row : {0, -1, 100000}) {
            EXPECT_EQ(a->Text(row), "") << id << " row " << row;
            EXPECT_EQ(a->GetInteger(row), 0) << id;
        }
    }
}

TEST(AttribIntegers, KeysOfNumberColumns) {
    Family f;
    EXPECT_EQ(ColumnTable::MakeAttrib(1, &f.c)->GetInteger(f.tom), f.tom);
    EXPECT_EQ(ColumnTable::MakeAttrib(24, &f.c)->GetInteger(f.john), 1);
    EXPECT_EQ(ColumnTable::MakeAttrib(25, &f.c)->GetInteger(f.pierre), 1);
    EXPECT_EQ(ColumnTable::MakeAttrib(26, &f.c)->GetInteger(f.john), 2);
    // The identifier as a number: "I3" is none.
    EXPECT_EQ(ColumnTable::MakeAttrib(2, &f.c)->GetInteger(f.john), 0);
    f.c.PersonData(f.john).xref = "1234";
    EXPECT_EQ(ColumnTable::MakeAttrib(2, &f.c)->GetInteger(f.john), 1234);
    f.c.PersonData(f.john).xref = "12x";
    EXPECT_EQ(ColumnTable::MakeAttrib(2, &f.c)->GetInteger(f.john), 0);
    f.c.PersonData(f.john).xref = "99999999999";
    EXPECT_EQ(ColumnTable::MakeAttrib(2, &f.c)->GetInteger(f.john), 0);
}

TEST(AttribNames, UpperCaseSettingAndSoundexOfTheFirstGivenName) {
    Family f;
    WOptions::SetBool(opt::NameUpper, true);
    EXPECT_EQ(cell(&f.c, 4, f.john), "SMITH");
    EXPECT_EQ(cell(&f.c, 7, f.john), "SMITH, John");
    EXPECT_EQ(cell(&f.c, 49, f.john), "SMITH, George");
    WMemCollection c;
    auto p = c.AddPerson("Mary Ann /Ashcraft/");
    EXPECT_EQ(cell(&c, 47, p), "M600");
    EXPECT_EQ(cell(&c, 46, p), "A226");
    auto q = c.AddPerson("/Lee/");
    EXPECT_EQ(cell(&c, 47, q), "");
    EXPECT_EQ(cell(&c, 46, q), "L000");
}

// Stands in for a collection of another file kind.
class KindCollection : public WMemCollection {
public:
    void SetKind(std::uint8_t kind) { m_fileKind = kind; }
};

TEST(AttribID, SortKindFollowsTheFileKind) {
    KindCollection c;
    c.AddPerson("A /B/");
    auto id2 = ColumnTable::MakeAttrib(2, &c);
    EXPECT_EQ(id2->GetSortKind(), SortKind::Text);
    c.SetKind(6);
    id2->SetCollection(&c);
    EXPECT_EQ(id2->GetSortKind(), SortKind::IdPair);
    c.SetKind(0);
    id2->SetCollection(&c);
    EXPECT_EQ(id2->GetSortKind(), SortKind::Integer);
    // Only id 2 changes; AFN and custom identifiers stay text.
    auto id48 = ColumnTable::MakeAttrib(48, &c);
    EXPECT_EQ(id48->GetSortKind(), SortKind::Text);
    auto id3 = ColumnTable::MakeAttrib(3, &c);
    EXPECT_EQ(id3->GetSortKind(), SortKind::Text);
}

TEST(AttribRelation, TermsAndCommonAncestorsFollowTheReferencePerson) {
    Family f;
    EXPECT_EQ(cell(&f.c, 38, f.alice, 1, f.tom), "Aunt");
    EXPECT_EQ(cell(&f.c, 39, f.alice, 1, f.tom), "George /Smith/ [I1]");
    EXPECT_EQ(cell(&f.c, 52, f.alice, 1, f.tom), "Smith, George");
    EXPECT_EQ(cell(&f.c, 38, f.tom, 1, f.tom), "* Selected Person *");
    EXPECT_EQ(cell(&f.c, 38, f.ann, 1, f.tom), "Sister");
    EXPECT_EQ(cell(&f.c, 38, f.pierre, 1, f.tom), "");
    // A new reference person on the same attribute.
    auto rel = ColumnTable::MakeAttrib(38, &f.c);
    rel->SetReferencePerson(f.george);
    EXPECT_EQ(rel->Text(f.tom), "Grand Son");
    rel->SetReferencePerson(f.alice);
    EXPECT_EQ(rel->Text(f.tom), "Nephew");
    // A new collection gives a new calculator.
    WMemCollection other;
    other.AddPerson("Solo /One/");
    rel->SetCollection(&other);
    rel->SetReferencePerson(1);
    EXPECT_EQ(rel->Text(1), "* Selected Person *");
}

TEST(AttribIsland, AttachingACollectionComputesTheIslandsUnderTheWaitDialog) {
    Family f;
    std::vector<std::string> shown;
    WaitHooks::handlers().show = [&](const std::string& m, bool, bool) { shown.push_back(m); };
    auto island = ColumnTable::MakeAttrib(58, nullptr);
    EXPECT_EQ(island->Text(f.john), "0");
    EXPECT_FALSE(f.c.IslandsComputed());
    island->SetCollection(&f.c);
    EXPECT_TRUE(f.c.IslandsComputed());
    ASSERT_EQ(shown, (std::vector<std::string>{"Calculating Islands.  Please Wait..."}));
    EXPECT_EQ(island->GetInteger(f.pierre), 2);
    island->SetCollection(nullptr); // nothing to compute
    EXPECT_EQ(shown.size(), 1u);
    WaitHooks::reset();
}

TEST(AttribAverages, FormatsTwoDecimals) {
    EXPECT_EQ(WAttribAvgGens::FormatAverage(1.0L), "1.00");
    EXPECT_EQ(WAttribAvgGens::FormatAverage(2.0L / 3.0L), "0.67");
    EXPECT_EQ(WAttribAvgGens::FormatAverage(12.345L), "12.35");
    EXPECT_EQ(WAttribAvgGens::FormatAverage(0.0L), "0.00");
}

} // namespace
