// Texts, ages and tests that the abstract records compose for every back end.
#include <gtest/gtest.h>

#include "model/ABSCollection.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

class RecordsTest : public ::testing::Test {
protected:
    WDefaultSettings settings;
    WFixedToday today{2020, 6, 15};
    WMemCollection c;

    std::unique_ptr<WABSIndividual> ind(std::int32_t n) { return c.GetIndividual(n); }
};

TEST_F(RecordsTest, FullNameFollowsPrefixSuffixSlashAndUpperSettings) {
    auto smith = c.AddPerson("John Paul /Smith/ Jr", 'M').Prefix("Dr");
    auto noGiven = c.AddPerson("/Brown/", 'F');
    auto noSurname = c.AddPerson("Anna //", 'F');
    auto prefixOnly = c.AddPerson("/Lee/").Prefix("Rev");
    auto accented = c.AddPerson("Jos\xE9 /M\xFCller/");

    EXPECT_EQ(ind(smith)->GetFullName(true), "Dr John Paul /Smith/ Jr");
    EXPECT_EQ(ind(smith)->GetFullName(false), "John Paul /Smith/");
    EXPECT_EQ(ind(noGiven)->GetFullName(true), "/Brown/");
    EXPECT_EQ(ind(noSurname)->GetFullName(true), "Anna //");
    // The blank after the prefix and the one after the (empty) given names both stand.
    EXPECT_EQ(ind(prefixOnly)->GetFullName(true), "Rev  /Lee/");

    WOptions::SetBool(opt::PreSuf, false);
    EXPECT_EQ(ind(smith)->GetFullName(true), "John Paul /Smith/");
    WOptions::SetBool(opt::NameSlash, false);
    EXPECT_EQ(ind(smith)->GetFullName(true), "John Paul Smith");
    EXPECT_EQ(ind(noSurname)->GetFullName(true), "Anna ");
    WOptions::SetBool(opt::NameUpper, true);
    EXPECT_EQ(ind(accented)->GetFullName(true), "Jos\xE9 M\xDCLLER");
    EXPECT_EQ(ind(accented)->GetSurnameText(), "M\xDCLLER");
    EXPECT_EQ(ind(accented)->GetGivenText(), "Jos\xE9");

    auto nameless = c.AddPerson("");
    EXPECT_EQ(ind(nameless)->GetFullName(true), "");
    EXPECT_EQ(ind(nameless)->GetSurnameText(), "");
    EXPECT_EQ(ind(nameless)->GetGivenText(), "");
}

TEST_F(RecordsTest, DisplayNameAppendsTheIdentifierChosenByFNValue) {
    c.AddPerson("Ann /Wood/");
    auto p = c.AddPerson("John /Smith/").XRef("I42").RefN("R-7");
    WOptions::SetInt(opt::FNValue, 1);
    EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/ [I42]");
    WOptions::SetInt(opt::FNValue, 2);
    EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/ (2)");
    WOptions::SetInt(opt::FNValue, 3);
    EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/ {R-7}");
    WOptions::SetInt(opt::FNValue, 0);
    EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/ [I42]");
    WOptions::SetString(opt::FNValue, "");
    EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/ [I42]");

    WOptions::SetBool(opt::FNValueFlag, false);
    for (int v : {1, 2, 3}) {
        WOptions::SetInt(opt::FNValue, v);
        EXPECT_EQ(ind(p)->GetDisplayName(), "John /Smith/");
    }
}

TEST_F(RecordsTest, NameWithDatesAndEventTexts) {
    auto p = c.AddPerson("Jane /Doe/ Sr", 'F').Prefix("Mrs").Birth("ABT 1850", " Salem, Essex ").Death("3 MAR 1900");
    WOptions::SetBool(opt::FNValueFlag, false);
    EXPECT_EQ(ind(p)->GetNameWithDates(true), "Mrs Jane /Doe/ Sr, (b. Abt 1850, Salem, Essex), (d. 3 Mar 1900, )");
    EXPECT_EQ(ind(p)->GetNameWithDates(false), "Jane /Doe/, (b. Abt 1850, Salem, Essex), (d. 3 Mar 1900, )");

    auto r = ind(p);
    EXPECT_EQ(r->GetEventDateAndPlace(EventKind::Birth, 1), "Abt 1850, Salem, Essex");
    EXPECT_EQ(r->GetEventDateAndPlace(EventKind::Death, 1), "3 Mar 1900, ");
    EXPECT_EQ(r->GetEventDateAndPlace(EventKind::Burial, 1), "");
    EXPECT_EQ(r->GetEventQualifierLetter(EventKind::Birth, 1), "c");
    EXPECT_EQ(r->GetEventQualifierLetter(EventKind::Death, 1), "");
    EXPECT_EQ(r->GetEventYear(EventKind::Birth, 1), 1850);
    EXPECT_EQ(r->GetEventYear(EventKind::Burial, 1), 0);
    EXPECT_TRUE(r->HasEventDate(EventKind::Death, 1));
    EXPECT_FALSE(r->HasEventDate(EventKind::Burial, 1));
}

TEST_F(RecordsTest, PlaceTextDropsLeadingCommasWhenPlaceCommasIsOn) {
    auto p = c.AddPerson("A /B/").Birth("1900", " , ,Essex, MA ");
    EXPECT_EQ(ind(p)->GetEventPlaceText(EventKind::Birth, 1), "Essex, MA");
    WOptions::SetBool(opt::PlaceCommas, false);
    EXPECT_EQ(ind(p)->GetEventPlaceText(EventKind::Birth, 1), ", ,Essex, MA");
}

TEST_F(RecordsTest, NoteTextTakesLinesUntrimmedUntilTheTextStarts) {
    WABSNote empty;
    EXPECT_EQ(empty.GetText("\r\n"), "");
    empty.AddText("");
    EXPECT_EQ(empty.GetLineCount(), 0);
    empty.AddText("one");
    EXPECT_EQ(empty.GetLines(), std::vector<std::string>{"one"});

    auto p = c.AddPerson("A /B/");
    c.PersonData(p).note = {"", "  first line ", "  second  ", "", " third"};
    EXPECT_EQ(ind(p)->GetNoteText(), "  first line \r\nsecond\r\n\r\nthird");
    EXPECT_TRUE(ind(p)->HasAnyNote());
}

TEST_F(RecordsTest, CitationTextsNumberTheFirstFoundOneAndSkipMissingOnes) {
    memtree::Source src;
    src.author = "Smith,\r\nJohn";
    src.title = "Parish Book";
    src.note = {"kept in", " the vestry "};
    std::int32_t s = c.AddSource(src);
    auto p = c.AddPerson("A /B/").Cite("p. 12", s).Cite("").Cite("p. 3");
    c.PersonData(p).citations[0].note = {"seen 1999"};

    auto r = ind(p);
    EXPECT_EQ(r->GetCitation(1)->GetDescription(), "p. 12, seen 1999, Smith, John, Parish Book, kept in\r\nthe vestry");
    EXPECT_EQ(r->GetCitation(2)->GetDescription(), "");
    EXPECT_EQ(r->GetCitationsText(),
              "1) p. 12, seen 1999, Smith, John, Parish Book, kept in\r\nthe vestry\r\n\r\n2) \r\n\r\n3) p. 3");

    // A missing first citation leaves its number out, but the first one found is "1)".
    auto fetch = [&r](std::int32_t i) { return i == 1 ? nullptr : r->GetCitation(i); };
    EXPECT_EQ(ComposeCitationsText(3, fetch), "1) \r\n\r\n3) p. 3");
    EXPECT_EQ(ComposeCitationsText(0, fetch), "");
}

TEST_F(RecordsTest, SourceSummaryJoinsTheFieldsThatAreThere) {
    memtree::Source src;
    src.title = "Title";
    src.callNumber = "CN 1";
    std::int32_t only = c.AddSource(src);
    EXPECT_EQ(c.GetSource(only)->GetSummary(), "Title, CN 1");

    memtree::Source all{"", "Au\nthor", "T", "Pub\r\nlished", "C", "Abbr", {}, {}, 0};
    EXPECT_EQ(c.GetSource(c.AddSource(all))->GetSummary(), "Author, T, Pub lished, C, Abbr");
    EXPECT_EQ(c.GetSource(c.AddSource({}))->GetSummary(), "");
    EXPECT_EQ(c.GetSource(only)->GetRecordText(), "");
    EXPECT_EQ(c.GetSource(only)->GetAllNotes(), nullptr);
}

TEST_F(RecordsTest, LDSStatusKeywordsPerOrdinanceKind) {
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(8, 4), "CHILD");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(9, 4), "BIC");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(10, 6), "DNS/CAN");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(10, 4), "CANCELED");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(7, 10), "DONTDOIT");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(7, 11), "");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(7, 0), "");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeyword(6, 1), "");
    EXPECT_EQ(WABSLDSEvent::StatusCount(5), 0);
    EXPECT_EQ(WABSLDSEvent::StatusCount(11), 0);
    for (int kind = 7; kind <= 10; ++kind) EXPECT_EQ(WABSLDSEvent::StatusCount(kind), 10);
    EXPECT_EQ(WABSLDSEvent::GetStatusKeywords(10),
              "SUBMITTED;CLEARED;COMPLETED;CANCELED;DNS;DNS/CAN;QUALIFIED;PRE-1970;UNCLEARED;DONTDOIT");
    EXPECT_EQ(WABSLDSEvent::GetStatusKeywords(6), "");
}

TEST_F(RecordsTest, LDSEventTextIsLiveWithoutTemple) {
    auto p = c.AddPerson("A /B/")
                 .Ordinance(EventKind::LDSBaptism, "1 JAN 1990", "SLAKE", true)
                 .Ordinance(EventKind::LDSEndowment, "1991", "", false);
    auto r = ind(p);
    EXPECT_TRUE(r->HasLDSEvent(EventKind::LDSBaptism));
    EXPECT_FALSE(r->HasLDSEvent(EventKind::LDSSealParents));
    EXPECT_EQ(r->GetLDSEventDateText(EventKind::LDSBaptism), "1 Jan 1990");
    EXPECT_EQ(r->GetLDSEventText(EventKind::LDSBaptism, true), "SLAKE");
    EXPECT_EQ(r->GetLDSEventText(EventKind::LDSEndowment, true), "Live");
    EXPECT_EQ(r->GetLDSEventText(EventKind::LDSEndowment, false), "");
    EXPECT_EQ(r->GetLDSEventText(EventKind::LDSSealParents, true), "");
}

TEST_F(RecordsTest, AgeAtTheHundredElevenYearBoundary) {
    auto p110 = c.AddPerson("A /B/").Birth("1 JAN 1900").Death("31 DEC 2010");
    auto p111 = c.AddPerson("A /B/").Birth("1 JAN 1900").Death("10 JAN 2011");
    EXPECT_EQ(ind(p110)->GetAge(), 110);
    EXPECT_EQ(ind(p110)->GetAgeText(), "110");
    EXPECT_EQ(ind(p111)->GetAge(), 111);
    EXPECT_EQ(ind(p111)->GetAgeText(), "");

    auto approx = c.AddPerson("A /B/").Birth("1850").Death("1900");
    EXPECT_EQ(ind(approx)->GetAge(), 50);
    EXPECT_EQ(ind(approx)->GetAgeText(), "~50");
}

TEST_F(RecordsTest, EstimatedAgesStandInBrackets) {
    auto chr = c.AddPerson("A /B/").Christening("1 JAN 1900").Death("15 JUN 1950");
    auto bur = c.AddPerson("A /B/").Birth("1 JAN 1950").Burial("15 JUN 1990");
    auto both = c.AddPerson("A /B/").Christening("1900").Burial("1950");
    EXPECT_EQ(ind(chr)->GetAgeText(), "[50]");
    EXPECT_EQ(ind(bur)->GetAgeText(), "[40]");
    EXPECT_EQ(ind(both)->GetAgeText(), "[~50]");
    bool estimated = false;
    std::string suffix = "x";
    ASSERT_NE(ind(bur)->GetAgeDiff(estimated, suffix), nullptr);
    EXPECT_TRUE(estimated);
    EXPECT_EQ(suffix, "");

    // Without AgeCalcCB neither the christening nor the burial counts.
    WOptions::SetBool(opt::AgeCalcCB, false);
    EXPECT_EQ(ind(chr)->GetAge(), -1);
    EXPECT_EQ(ind(chr)->GetAgeText(), "");
    EXPECT_EQ(ind(bur)->GetAgeText(), "70?");
}

TEST_F(RecordsTest, AgeRunsToTodayWithoutAReadableDeathDate) {
    auto living = c.AddPerson("A /B/").Birth("1 JAN 1950");
    auto unparsed = c.AddPerson("A /B/").Birth("1 JAN 1950").Death("UNKNOWN").Burial("2 JAN 1990");
    EXPECT_EQ(ind(living)->GetAge(), 70);
    EXPECT_EQ(ind(living)->GetAgeText(), "70?");
    bool estimated = true;
    std::string suffix;
    auto diff = ind(living)->GetAgeDiff(estimated, suffix);
    ASSERT_NE(diff, nullptr);
    EXPECT_FALSE(estimated);
    EXPECT_EQ(suffix, "?");
    EXPECT_TRUE(diff->IsExact());

    // The unreadable death date gives way to the burial ...
    EXPECT_EQ(ind(unparsed)->GetAgeText(), "[40]");
    // ... or, without AgeCalcCB, to today.
    WOptions::SetBool(opt::AgeCalcCB, false);
    EXPECT_EQ(ind(unparsed)->GetAge(), 70);
    EXPECT_EQ(ind(unparsed)->GetAgeText(), "70?");

    {
        WFixedToday later(2021, 1, 2);
        EXPECT_EQ(ind(living)->GetAge(), 71);
    }
}

TEST_F(RecordsTest, UnknownAges) {
    auto unreadableBirth = c.AddPerson("A /B/").Birth("ABT 1850 (FAMILY BIBLE)").Christening("1850").Death("1900");
    auto birthWithoutDate = c.AddPerson("A /B/").Birth("", "Boston").Christening("1 JAN 1850").Death("2 JAN 1900");
    auto nothing = c.AddPerson("A /B/").Death("1900");
    auto unreadableBoth = c.AddPerson("A /B/").Birth("1950").Death("LONG AGO").Burial("SOMETIME");

    // The christening stands in only for a birth without any date.
    EXPECT_EQ(ind(unreadableBirth)->GetAge(), -1);
    EXPECT_EQ(ind(unreadableBirth)->GetAgeText(), "");
    EXPECT_EQ(ind(birthWithoutDate)->GetAge(), 50);
    EXPECT_EQ(ind(birthWithoutDate)->GetAgeText(), "[50]");
    EXPECT_EQ(ind(nothing)->GetAge(), -1);
    bool estimated = false;
    std::string suffix;
    EXPECT_EQ(ind(nothing)->GetAgeDiff(estimated, suffix), nullptr);
    EXPECT_EQ(ind(unreadableBoth)->GetAgeText(), "~70?");
}

TEST_F(RecordsTest, PossiblyLivingAtTheYearBoundary) {
    auto young = c.AddPerson("A /B/").Birth("1921");
    auto old = c.AddPerson("A /B/").Birth("1920");
    auto christened = c.AddPerson("A /B/").Birth("", "Here").Christening("1990");
    auto dead = c.AddPerson("A /B/").Birth("1990").Death("2000");
    auto buried = c.AddPerson("A /B/").Birth("1990").Burial("ABT 2000");
    auto unreadableDeath = c.AddPerson("A /B/").Birth("1990").Death("YES");
    auto undated = c.AddPerson("A /B/");

    EXPECT_TRUE(ind(young)->IsPossiblyLiving(100));
    EXPECT_FALSE(ind(old)->IsPossiblyLiving(100));
    EXPECT_TRUE(ind(old)->IsPossiblyLiving(101));
    EXPECT_TRUE(ind(christened)->IsPossiblyLiving(100));
    EXPECT_FALSE(ind(dead)->IsPossiblyLiving(100));
    EXPECT_FALSE(ind(buried)->IsPossiblyLiving(100));
    EXPECT_TRUE(ind(unreadableDeath)->IsPossiblyLiving(100));
    EXPECT_FALSE(ind(undated)->IsPossiblyLiving(100));
}

TEST_F(RecordsTest, AnySourceAndAnyNoteLookEverywhere) {
    auto none = c.AddPerson("A /B/").Birth("1900").Other("Occupation", "1920");
    auto own = c.AddPerson("A /B/").Cite("p. 1");
    auto name = c.AddPerson("A /B/");
    c.PersonData(name).name->citations.push_back({"n", {}, 0});
    c.PersonData(name).name->note = {"name note"};
    memtree::Event burial;
    burial.kind = EventKind::Burial;
    burial.citations.push_back({"b", {}, 0});
    burial.note = {"burial note"};
    auto buried = c.AddPerson("A /B/").AddEvent(burial);
    memtree::Event other;
    other.kind = EventKind::Other;
    other.label = "Census";
    other.citations.push_back({"o", {}, 0});
    other.note = {"other note"};
    auto census = c.AddPerson("A /B/").Other("Occupation", "1920").AddEvent(other);
    auto noted = c.AddPerson("A /B/").Note("record note");

    EXPECT_FALSE(ind(none)->HasAnySource());
    EXPECT_FALSE(ind(none)->HasAnyNote());
    EXPECT_TRUE(ind(own)->HasAnySource());
    EXPECT_FALSE(ind(own)->HasAnyNote());
    for (std::int32_t p : {name.No(), buried.No(), census.No()}) {
        EXPECT_TRUE(ind(p)->HasAnySource()) << p;
        EXPECT_TRUE(ind(p)->HasAnyNote()) << p;
    }
    EXPECT_TRUE(ind(noted)->HasAnyNote());
    EXPECT_FALSE(ind(noted)->HasAnySource());
}

TEST_F(RecordsTest, EventAndFamilyDatesStayOwnedByTheirRecord) {
    auto h = c.AddPerson("H /S/", 'M');
    auto w = c.AddPerson("W /S/", 'F');
    auto f = c.AddFamily(h, w).Marriage("ABT 1925", " Boston ");
    auto bare = c.AddFamily(h, 0);

    auto m = c.GetMarriage(f);
    const WDate* date = m->GetDate();
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(m->GetSortDate(), date);
    EXPECT_EQ(m->GetDate(), date);
    EXPECT_EQ(m->GetSortDateText(), "Abt 1925");
    EXPECT_EQ(m->GetDateAndPlaceText(), "Abt 1925, Boston");
    EXPECT_EQ(m->GetEventName(), "Marriage");
    EXPECT_EQ(m->GetOtherSpouse(h), w.No());
    EXPECT_EQ(m->GetOtherSpouse(w), h.No());
    EXPECT_EQ(m->GetFlags(), 0);

    auto m2 = c.GetMarriage(bare);
    EXPECT_EQ(m2->GetDate(), nullptr);
    EXPECT_EQ(m2->GetSortDate(), nullptr);
    EXPECT_EQ(m2->GetDateAndPlaceText(), "");
    EXPECT_EQ(m2->GetOtherSpouse(h), 0);

    auto p = c.AddPerson("A /B/").Birth("25 DEC 1850", "Rome");
    auto birth = ind(p)->GetEvent(EventKind::Birth, 1);
    const WDate* bd = birth->GetDate();
    EXPECT_EQ(birth->GetSortDateText(), "25 Dec 1850");
    EXPECT_EQ(birth->GetDate(), bd);
    EXPECT_TRUE(birth->HasValidDate());
    EXPECT_EQ(birth->GetKind(), EventKind::Birth);
    EXPECT_EQ(birth->GetEventName(), "Birth");
    EXPECT_EQ(birth->GetPlaceText(), "Rome");
}

TEST_F(RecordsTest, ChangeDateTextAndExtraLinks) {
    auto p = c.AddPerson("A /B/").ChangeDate("2 FEB 2003");
    auto q = c.AddPerson("A /B/");
    EXPECT_EQ(ind(p)->GetChangeDateText(), "2 Feb 2003");
    EXPECT_EQ(ind(q)->GetChangeDateText(), "");
    EXPECT_EQ(ind(p)->GetExtraLinkCount(), 0);
    EXPECT_EQ(ind(p)->GetExtraLink(1), nullptr);
}

} // namespace
