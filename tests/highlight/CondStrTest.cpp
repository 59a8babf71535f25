// Text-match conditions: the four match modes, every text they read (notes,
// places, names, identifiers, ordinance places), relatives' names at any
// depth, and Soundex by text or by code.
#include <gtest/gtest.h>

#include "CondFixture.h"
#include "highlight/HLStr.h"
#include "model/ABSEvent.h"

namespace {

using condtest::AllBut;
using condtest::Describe;
using condtest::Highlighted;
using condtest::Set;

//  1 John Smith x 2 Mary Jones (F1, married in Bath, sealed in Manti): 3 Tom, 4 Ann Marie
//  3 Tom Smith x 7 Kay Doe (F2): 8 John Doe
//  5 Bob S and 6 Jim Smyth stand alone
class StrConds : public ::testing::Test {
protected:
    StrConds() {
        john = c.AddPerson("John /Smith/", 'M')
                   .Birth("1900", "London, England")
                   .Christening("1900", "Westminster")
                   .Death("1960", "Paris")
                   .Burial("1960", "Rome")
                   .Other("Residence", "1930", "Dublin")
                   .Note("Loved gardens")
                   .RefN("R-77")
                   .AFN("AFN9")
                   .XRef("@I1@")
                   .Ordinance(EventKind::LDSBaptism, "1910", "SLAKE")
                   .Ordinance(EventKind::LDSEndowment, "1911", "LOGAN")
                   .Ordinance(EventKind::LDSSealParents, "1912", "MESA");
        mary = c.AddPerson("Mary /Jones/", 'F');
        c.PersonData(mary).name->note = {"nee Gardener"};
        tom = c.AddPerson("Tom /Smith/", 'M');
        ann = c.AddPerson("Ann Marie /Smith/", 'F');
        memtree::Event residence;
        residence.kind = EventKind::Other;
        residence.label = "Residence";
        residence.note = {"with a", "garden view"};
        c.Person(ann).AddEvent(residence);
        bob = c.AddPerson("Bob /S/", 'M');
        jim = c.AddPerson("Jim /Smyth/", 'M');
        kay = c.AddPerson("Kay /Doe/", 'F');
        johnDoe = c.AddPerson("John /Doe/", 'M');
        c.AddFamily(john, mary).Marriage("1925", "Bath").Sealing("1926", "MANTI").Child(tom).Child(ann);
        c.AddFamily(tom, kay).Child(johnDoe);
    }

    condtest::PlainNames names;
    WMemCollection c;
    std::int32_t john, mary, tom, ann, bob, jim, kay, johnDoe;
};

TEST_F(StrConds, FourModesCompareUpperCased) {
    EXPECT_EQ(Highlighted(c, "+29:3SM"), (Set{john, tom, ann, jim})); // "S" is shorter than "SM"
    EXPECT_EQ(Highlighted(c, "+29:4TH"), (Set{john, tom, ann, jim}));
    EXPECT_EQ(Highlighted(c, "+29:2smith"), (Set{john, tom, ann}));
    EXPECT_EQ(Highlighted(c, "+29:2S"), (Set{bob}));
    EXPECT_EQ(Highlighted(c, "+29:1MYT"), (Set{jim}));
    EXPECT_EQ(Highlighted(c, "+29:5SMITH"), Set{}); // no such mode
    EXPECT_EQ(Highlighted(c, "+29:1"), Set{});
    EXPECT_EQ(Highlighted(c, "-29:1"), AllBut(c, Set{}));
    EXPECT_EQ(Highlighted(c, "+29:XSMITH"),
              (Set{john, tom, ann})); // not a digit: mode 1, pattern from the 2nd character
    EXPECT_TRUE(WHLStr::Match(WHLStr::mEnds, "TH", "TH"));
    EXPECT_FALSE(WHLStr::Match(WHLStr::mEnds, "SMITH", "TH"));
    EXPECT_FALSE(WHLStr::Match(WHLStr::mContains, "A", ""));
}

TEST_F(StrConds, NotesOfTheIndividualNameAndEvents) {
    EXPECT_EQ(Highlighted(c, "+19:1GARDEN"), (Set{john, mary, ann}));
    // Lines are joined with CR LF before matching.
    EXPECT_EQ(Highlighted(c, "+19:1WITH A\r\nGARDEN"), (Set{ann}));
    EXPECT_EQ(Highlighted(c, "+19:2GARDEN"), Set{});
    EXPECT_EQ(Describe(c, "+19:1garden"), "with note containing \"GARDEN\"");
}

TEST_F(StrConds, PlacesOfEventsFamiliesAndOrdinances) {
    EXPECT_EQ(Highlighted(c, "+24:1LONDON"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+24:2LONDON"), Set{});
    EXPECT_EQ(Highlighted(c, "+24:2london, england"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+24:4ENGLAND"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+25:3WEST"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+26:1PARIS"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+27:1ROME"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+28:1DUBLIN"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+28:1ROME"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+28:1BATH"), Set{});
    // The matching family marks both spouses, whoever is asked first.
    EXPECT_EQ(Highlighted(c, "+43:1BATH"), (Set{john, mary}));
    EXPECT_EQ(Highlighted(c, "+43:1BATH", true), (Set{john, mary}));
    EXPECT_EQ(Highlighted(c, "+91:2SLAKE"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+92:1LOG"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+93:1MESA"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+94:1MANTI"), (Set{john, mary}));
    EXPECT_EQ(Describe(c, "+24:1London"), "with birth place containing \"LONDON\"");
    EXPECT_EQ(Describe(c, "-24:1London"), "with birth place not containing \"LONDON\"");
    EXPECT_EQ(Describe(c, "+94:3MAN"), "with LDS Sealed to Spouse place begining with \"MAN\"");
}

TEST_F(StrConds, IdentifiersAndGivenNames) {
    EXPECT_EQ(Highlighted(c, "+30:1JOHN"), (Set{john, johnDoe}));
    EXPECT_EQ(Highlighted(c, "+59:2R-77"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+97:2afn9"), (Set{john}));
    EXPECT_EQ(Highlighted(c, "+98:2I1@"), (Set{john})); // the identifier less its first character
    EXPECT_EQ(Describe(c, "+30:4hn"), "with name ending with \"HN\"");
    EXPECT_EQ(Describe(c, "-59:2R"), "with custom ID not equal to \"R\"");
}

TEST_F(StrConds, SoundexByTextOrByCode) {
    const Set smiths{john, tom, ann, jim};
    EXPECT_EQ(Highlighted(c, "+57:1Smith"), smiths);
    EXPECT_EQ(Highlighted(c, "+57:2S530"), smiths);
    EXPECT_EQ(Highlighted(c, "+57:2s530"), smiths);
    EXPECT_EQ(Highlighted(c, "-57:1Smith"), AllBut(c, smiths));
    EXPECT_EQ(Highlighted(c, "+57:1S"), (Set{bob}));
    // Each word of the given names: "Marie" sounds like "Mary".
    EXPECT_EQ(Highlighted(c, "+58:1Marie"), (Set{mary, ann}));
    EXPECT_EQ(Highlighted(c, "+58:2J500"), (Set{john, johnDoe, jim})); // Jim sounds like John
    EXPECT_EQ(Describe(c, "+57:1Smith"), "with surname soundex text = \"SMITH\" (S530)");
    EXPECT_EQ(Describe(c, "-58:2J500"), "with given name soundex code = \"J500\"");
}

TEST_F(StrConds, NamesOfNearRelatives) {
    EXPECT_EQ(Highlighted(c, "+102:1ANN"), (Set{tom}));
    EXPECT_EQ(Highlighted(c, "+110:1SMITH"), (Set{tom, ann}));
    EXPECT_EQ(Highlighted(c, "+103:2TOM"), (Set{john, mary}));
    EXPECT_EQ(Highlighted(c, "+111:1DOE"), (Set{tom, kay}));
    EXPECT_EQ(Highlighted(c, "+104:1MARY"), (Set{tom, ann}));
    EXPECT_EQ(Highlighted(c, "+112:1DOE"), (Set{johnDoe}));
    EXPECT_EQ(Highlighted(c, "+105:1KAY"), (Set{tom}));
    EXPECT_EQ(Highlighted(c, "+113:1JONES"), (Set{john}));
    EXPECT_EQ(Describe(c, "+113:1JONES"), "with spouse surname containing \"JONES\"");
}

TEST_F(StrConds, NamesOfAncestorsAndDescendantsAtAnyDepth) {
    // Every descendant of a John, but John Smith himself has no John above him.
    EXPECT_EQ(Highlighted(c, "+106:1JOHN"), (Set{tom, ann, johnDoe}));
    EXPECT_EQ(Highlighted(c, "+106:1JOHN", true), (Set{tom, ann, johnDoe}));
    EXPECT_EQ(Highlighted(c, "+107:1JOHN"), (Set{john, mary, tom, kay}));
    EXPECT_EQ(Highlighted(c, "+107:1JOHN", true), (Set{john, mary, tom, kay}));
    EXPECT_EQ(Highlighted(c, "+108:1JONES"), (Set{tom, ann, johnDoe}));
    EXPECT_EQ(Highlighted(c, "+109:1DOE"), (Set{john, mary, tom, kay}));
    EXPECT_EQ(Highlighted(c, "-109:1DOE"), AllBut(c, Set{john, mary, tom, kay}));
    EXPECT_EQ(Describe(c, "+107:1John"), "with descendant name containing \"JOHN\"");
}

TEST(StrCondLoops, AncestorSearchEndsOnAFamilyLoop) {
    condtest::PlainNames names;
    WMemCollection c;
    const auto a = c.AddPerson("John /L/", 'M');
    const auto b = c.AddPerson("Bill /L/", 'M');
    const auto d = c.AddPerson("Dan /L/", 'M');
    c.AddFamily(b, 0).Child(a);
    c.AddFamily(a, 0).Child(b).Child(d);
    for (bool descending : {false, true}) {
        const Set got = Highlighted(c, "+106:1JOHN", descending);
        EXPECT_TRUE(got.count(b)) << descending;
        EXPECT_TRUE(got.count(d)) << descending;
    }
    EXPECT_EQ(Highlighted(c, "+106:1NOBODY"), Set{});
}

TEST(StrCondLong, AncestorSearchOfALongLineNeedsNoDeepCallStack) {
    condtest::PlainNames names;
    WMemCollection c;
    const std::int32_t n = 300000;
    std::int32_t prev = c.AddPerson("John /Top/", 'M');
    for (std::int32_t k = 1; k < n; ++k) {
        const std::int32_t next = c.AddPerson("Kid /Line/", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    // Asking the last first walks the whole line in one search.
    EXPECT_EQ(Highlighted(c, "+106:1JOHN", true).size(), std::size_t(n - 1));
    EXPECT_EQ(Highlighted(c, "+107:1KID").size(), std::size_t(n - 1));
}

} // namespace
