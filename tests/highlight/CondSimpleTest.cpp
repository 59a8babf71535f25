// Conditions on an individual's own record: missing dates and places, names,
// parents, sex, notes, sources, AFN, LDS ordinances with their status words,
// and being alive.
#include <gtest/gtest.h>

#include "CondFixture.h"
#include "model/ABSEvent.h"

namespace {

using condtest::AllBut;
using condtest::Describe;
using condtest::Highlighted;
using condtest::Set;

//  1 Full: every vital event with places, sources and notes, AFN, three
//    ordinances; married to 2 in F1 (dated, placed, sealed "DNS/CAN", noted, cited)
//  2 Bare: nothing of her own       3 (no name): birth without a date
//  4 Kid of F1, born 1950           5 Orphan (given only)     6 /Nogiven/ (surname only)
//  7 Alive, born 2000               8 Old, born 1850          9 Fuzzy: unreadable birth date
//  F2: 6 x 5, placed but undated    F3: 9 alone
class SimpleConds : public ::testing::Test {
protected:
    SimpleConds() {
        full = c.AddPerson("Full /Record/", 'M');
        memtree::Event birth;
        birth.kind = EventKind::Birth;
        birth.label = "Birth";
        birth.date = "1 JAN 1900";
        birth.place = "Boston";
        birth.citations.push_back({"p. 1", {}, 0});
        birth.note = {"born at home"};
        c.Person(full)
            .AddEvent(birth)
            .Christening("5 JAN 1900", "Boston Church")
            .Death("1980", "Paris")
            .Burial("1980", "Paris Cemetery")
            .Note("a long life")
            .AFN("AF-1")
            .Cite("register")
            .Ordinance(EventKind::LDSBaptism, "COMPLETED", "SLAKE")
            .Ordinance(EventKind::LDSEndowment, "1 JAN 1950", "LOGAN")
            .Ordinance(EventKind::LDSSealParents, "BIC", "");
        c.PersonData(full).name->citations.push_back({"name page", {}, 0});
        c.PersonData(full).name->note = {"called Fulla"};
        bare = c.AddPerson("Bare /Record/", 'F');
        noname = c.AddPerson("", 'U').Birth("", "Here");
        kid = c.AddPerson("Kid /Record/", 'M').Birth("1950");
        orphan = c.AddPerson("Orphan", 'F').Birth("1960");
        nogiven = c.AddPerson("/Nogiven/", 'M').Birth("1961");
        alive = c.AddPerson("Alive /Young/", 'F').Birth("2000");
        old = c.AddPerson("Old /Timer/", 'M').Birth("1850");
        fuzzy = c.AddPerson("Fuzzy /Date/", 'M').Birth("ABT 1850 (FAMILY BIBLE)");
        c.AddFamily(full, bare)
            .Marriage("1925", "Rome")
            .Child(kid)
            .Sealing("DNS/CAN", "SLAKE")
            .Note("wed")
            .Cite("banns");
        c.AddFamily(nogiven, orphan).Marriage("", "Oslo");
        c.AddFamily(fuzzy, 0);
    }

    condtest::PlainNames names;
    WFixedToday today{2020, 6, 15};
    WMemCollection c;
    std::int32_t full, bare, noname, kid, orphan, nogiven, alive, old, fuzzy;
};

TEST_F(SimpleConds, MissingDatesAndPlaces) {
    EXPECT_EQ(Highlighted(c, "+2"), (Set{bare, noname, fuzzy}));
    EXPECT_EQ(Highlighted(c, "+3"), AllBut(c, Set{full, noname}));
    for (const char* code : {"+4", "+6", "+8", "+5", "+7", "+9"})
        EXPECT_EQ(Highlighted(c, code), AllBut(c, Set{full})) << code;
    EXPECT_EQ(Highlighted(c, "+10"), AllBut(c, Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+11"), (Set{noname, kid, alive, old, fuzzy}));
    EXPECT_EQ(Highlighted(c, "+12"), AllBut(c, Set{full, noname}));
    EXPECT_EQ(Highlighted(c, "-12"), (Set{full, noname}));
    EXPECT_EQ(Describe(c, "+2"), "with no birth date");
    EXPECT_EQ(Describe(c, "-8"), "with burial date");
    EXPECT_EQ(Describe(c, "+10"), "with no marriage date");
    EXPECT_EQ(Describe(c, "+5"), "without a christening place");
    EXPECT_EQ(Describe(c, "-11"), "with a marriage place");
    EXPECT_EQ(Describe(c, "+12"), "without a place");
}

TEST_F(SimpleConds, NamesParentsAndSex) {
    EXPECT_EQ(Highlighted(c, "+13"), (Set{noname, orphan}));
    EXPECT_EQ(Highlighted(c, "+14"), (Set{noname, nogiven}));
    EXPECT_EQ(Highlighted(c, "+15"), AllBut(c, Set{kid}));
    EXPECT_EQ(Highlighted(c, "-16"), (Set{kid}));
    EXPECT_EQ(Highlighted(c, "+17:F"), (Set{bare, orphan, alive}));
    EXPECT_EQ(Highlighted(c, "-17:F"), AllBut(c, Set{bare, orphan, alive}));
    EXPECT_EQ(Highlighted(c, "+17:U"), (Set{noname}));
    EXPECT_EQ(Highlighted(c, "+17:"), (Set{full, kid, nogiven, old, fuzzy}));
    EXPECT_EQ(Highlighted(c, "+17:X"), Set{});
    EXPECT_EQ(Describe(c, "+17:X"), "");
    EXPECT_EQ(Describe(c, "-17:F"), "not female");
    EXPECT_EQ(Describe(c, "+17:U"), "with unknown sex type");
    EXPECT_EQ(Describe(c, "+13;A;-15"), "without a surname AND with a father");
}

TEST_F(SimpleConds, NotesSourcesAndAFN) {
    EXPECT_EQ(Highlighted(c, "+18"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+20"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+66"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+67"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+68"), (Set{full}));
    for (const char* code : {"+69", "+70", "+71", "+74", "+75", "+76"}) EXPECT_EQ(Highlighted(c, code), Set{}) << code;
    EXPECT_EQ(Highlighted(c, "+72"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+73"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+77"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+99"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+100"), (Set{full, bare}));
    EXPECT_EQ(Describe(c, "+18"), "with notes");
    EXPECT_EQ(Describe(c, "-20"), "without AFN");
    EXPECT_EQ(Describe(c, "+66"), "with a source");
    EXPECT_EQ(Describe(c, "-71"), "without burial source");
    EXPECT_EQ(Describe(c, "+99"), "with marriage source");
    EXPECT_EQ(Describe(c, "+77"), "with any note");
    EXPECT_EQ(Describe(c, "-100"), "without marriage note");
}

TEST_F(SimpleConds, OrdinancesAndTheirStatusWords) {
    EXPECT_EQ(Highlighted(c, "+31"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+33"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+34"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+35"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+81"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+82"), (Set{full, bare}));
    EXPECT_EQ(Highlighted(c, "+84"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+85"), Set{});
    EXPECT_EQ(Highlighted(c, "+86"), (Set{full, bare}));
    // State 1 is a proper date; state n the (n-1)th status word of the kind.
    EXPECT_EQ(Highlighted(c, "+87:1"), Set{});
    EXPECT_EQ(Highlighted(c, "+87:4"), (Set{full})); // COMPLETED
    EXPECT_EQ(Highlighted(c, "+88:1"), (Set{full}));
    EXPECT_EQ(Highlighted(c, "+88:4"), Set{});
    EXPECT_EQ(Highlighted(c, "+89:5"), (Set{full}));       // BIC
    EXPECT_EQ(Highlighted(c, "+90:7"), (Set{full, bare})); // DNS/CAN
    EXPECT_EQ(Highlighted(c, "+90:5"), Set{});             // CANCELED
    EXPECT_EQ(Highlighted(c, "-90:7"), AllBut(c, Set{full, bare}));
    EXPECT_EQ(Describe(c, "+87:4"), "where LDS Baptism date is COMPLETED");
    EXPECT_EQ(Describe(c, "-88:1"), "where LDS Endowment date is not a date");
    EXPECT_EQ(Describe(c, "+90:"), "where LDS Sealed to Spouse date is a date");
    EXPECT_EQ(Describe(c, "-32"), "without LDS Endowment");
    EXPECT_EQ(Describe(c, "+82"), "with LDS Sealed to Spouse Date");
    EXPECT_EQ(Describe(c, "+83"), "with LDS Baptism Place");
    EXPECT_EQ(Describe(c, "+35"), "Individuals with LDS Events");
}

TEST_F(SimpleConds, AliveUnderTheAgeLimit) {
    EXPECT_EQ(Highlighted(c, "+65:110"), (Set{kid, orphan, nogiven, alive}));
    EXPECT_EQ(Highlighted(c, "+65:"), (Set{kid, orphan, nogiven, alive}));
    EXPECT_EQ(Highlighted(c, "+65:200"), (Set{kid, orphan, nogiven, alive, old, fuzzy}));
    EXPECT_EQ(Describe(c, "+65:"), "are alive (Age limit = 110)");
    EXPECT_EQ(Describe(c, "-65:90"), "are not alive (Age limit = 90)");
}

} // namespace
