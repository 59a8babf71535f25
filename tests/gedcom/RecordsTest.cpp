// Individuals, families, names, events, notes, sources and the small records.
#include "GedTestUtil.h"
#include "gedcom/GEDIndividual.h"

using gedtest::openText;

namespace {
std::string names(const std::string& nameValue, std::string* surname = nullptr, std::string* suffix = nullptr) {
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 NAME " + nameValue + "\n0 TRLR\n");
    auto n = c->GetIndividual(1)->GetName();
    if (surname) *surname = n->GetSurname();
    if (suffix) *suffix = n->GetSuffix();
    return n->GetGiven();
}
} // namespace

TEST(GedName, GivenSurnameSuffix) {
    std::string sur, suf;
    EXPECT_EQ(names("John /Smith/", &sur, &suf), "John");
    EXPECT_EQ(sur, "Smith");
    EXPECT_EQ(suf, "");
    EXPECT_EQ(names("/Smith/ John", &sur), "John");
    EXPECT_EQ(sur, "Smith");
    EXPECT_EQ(names("John Smith", &sur, &suf), "John Smith");
    EXPECT_EQ(sur, "");
    EXPECT_EQ(suf, "");
    EXPECT_EQ(names("J"), "J");
    EXPECT_EQ(names("John /Smith/ Jr", &sur, &suf), "John");
    EXPECT_EQ(suf, " Jr");
    EXPECT_EQ(names("/Smith", &sur), "");
    EXPECT_EQ(sur, "Smith");
    // A surname longer than any fixed buffer stays whole.
    std::string longName(400, 'x');
    names("A /" + longName + "/", &sur);
    EXPECT_EQ(sur, longName);
    // NSFX and NPFX lines; GIVN and SURN do not feed the name.
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 NAME Al /Bo/ III\n2 NSFX Sr\n2 NPFX Sir\n2 GIVN Other\n2 SURN Other\n"
                      "2 SOUR @S1@\n2 NOTE Name note\n0 @S1@ SOUR\n0 TRLR\n");
    auto n = c->GetIndividual(1)->GetName();
    EXPECT_EQ(n->GetSuffix(), "Sr");
    EXPECT_EQ(n->GetPrefix(), "Sir");
    EXPECT_EQ(n->GetGiven(), "Al");
    EXPECT_EQ(n->GetCitationCount(), 1);
    EXPECT_NE(n->GetCitation(1), nullptr);
    EXPECT_EQ(n->GetCitation(2), nullptr);
    EXPECT_EQ(n->GetNoteText(), "Name note");
}

TEST(GedEvent, NamesDescriptionsAndPlaces) {
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 OCCU Farmer\n2 TYPE Main work\n1 DEAT Y\n2 CAUS Fever\n1 BAPM\n"
                      "1 DIV\n1 DIV Y\n1 SSN 123\n1 EVEN\n0 @I2@ INDI\n1 DEAT\n2 CAUS Fever\n1 BIRT\n2 PLAC Town\n"
                      "2 DATE 1901\n1 BIRT\n2 DATE 1902\n2 SOUR @S1@\n1 BURI\n0 @S1@ SOUR\n0 TRLR\n");
    auto a = c->GetIndividual(1);
    ASSERT_EQ(a->GetEventCount(6), 5); // OCCU, BAPM, DIV Y, SSN, EVEN; "DIV" alone is none
    EXPECT_EQ(a->GetEventCount(5), 0);
    auto occu = a->GetEvent(6, 1);
    EXPECT_EQ(occu->GetEventName(), "Main work");
    EXPECT_EQ(occu->GetDescription(), "Farmer");
    EXPECT_EQ(occu->GetKind(), 6);
    auto bapm = a->GetEvent(6, 2);
    EXPECT_EQ(bapm->GetKind(), 5);
    EXPECT_EQ(bapm->GetEventName(), "Baptism");
    EXPECT_EQ(a->GetEvent(6, 3)->GetEventName(), "Divorce");
    EXPECT_EQ(a->GetEvent(6, 4)->GetEventName(), "SSN");
    EXPECT_EQ(a->GetEvent(6, 5)->GetEventName(), "Event");
    EXPECT_EQ(a->GetEvent(6, 6), nullptr);
    EXPECT_EQ(a->GetEvent(6, 0), nullptr);
    EXPECT_EQ(a->GetEvent(1, 1), nullptr);
    EXPECT_EQ(a->GetEvent(2, 1)->GetDescription(), "Y, Fever");
    EXPECT_EQ(a->GetEvent(2, 1)->GetPlace(), nullptr);

    auto b = c->GetIndividual(2);
    EXPECT_EQ(b->GetEvent(2, 1)->GetDescription(), "Fever");
    // The last BIRT line is the birth; its DATE need not be the first sub-line.
    auto birth = b->GetEvent(1, 1);
    EXPECT_EQ(birth->GetDateText(), "1902");
    EXPECT_EQ(birth->GetCitationCount(), 1);
    EXPECT_EQ(b->GetEventCount(1), 1);
    EXPECT_EQ(b->GetEventCount(3), 0);
    EXPECT_EQ(b->GetEventYear(4, 1), 0);
    EXPECT_EQ(b->GetEventCount(4), 1);
    auto c2 = openText("0 HEAD\n0 @I1@ INDI\n1 BIRT\n2 PLAC  Town \n2 DATE 1901\n0 TRLR\n");
    auto e = c2->GetIndividual(1)->GetEvent(1, 1);
    EXPECT_EQ(e->GetDateText(), "1901");
    EXPECT_EQ(e->GetPlace()->GetName(), "Town");
}

TEST(GedEvent, Ordinances) {
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 BAPL\n2 STAT COMPLETED\n1 ENDL\n2 TEMP SLAKE\n2 DATE 1980\n"
                      "1 SLGC\n2 QUAL  X \n1 CONS\n2 PLAC Here\n2 TEMP LOGAN\n0 TRLR\n");
    auto i = c->GetIndividual(1);
    // CONS fills the LDS baptism position after BAPL: the later line wins.
    auto bapl = i->GetLDSEvent(7);
    ASSERT_NE(bapl, nullptr);
    EXPECT_EQ(bapl->GetKind(), 7);
    EXPECT_EQ(bapl->GetPlaceText(), "LOGAN");
    EXPECT_TRUE(bapl->HasTemple());
    auto endl = i->GetLDSEvent(8);
    EXPECT_EQ(endl->GetPlace()->GetName(), "SLAKE");
    EXPECT_TRUE(endl->HasTemple());
    EXPECT_EQ(endl->GetDateText(), "1980");
    auto slgc = i->GetLDSEvent(9);
    EXPECT_EQ(slgc->GetKind(), 9);
    EXPECT_EQ(slgc->GetDate()->GetOriginalText(), "X");
    EXPECT_FALSE(slgc->HasTemple());
    EXPECT_EQ(slgc->GetPlace()->GetName(), "");
    EXPECT_EQ(i->GetLDSEvent(10), nullptr);
    auto s = openText("0 HEAD\n0 @I1@ INDI\n1 BAPL\n2 STAT COMPLETED\n0 TRLR\n");
    auto st = s->GetIndividual(1)->GetLDSEvent(7);
    const WDate* d1 = st->GetDate();
    ASSERT_NE(d1, nullptr);
    EXPECT_EQ(d1->GetText(), "COMPLETED");
    EXPECT_EQ(st->GetDate(), d1);
}

TEST(GedIndividual, SexNotesCitationsAndChanges) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 SEX F\n1 NOTE One\n2 CONT Two\n1 NOTE @N1@\n1 NOTE Three\n1 REFN R-7\n"
                       "1 AFN 12-34 \n1 CHAN\n2 NOTE x\n2 DATE 5 JUN 2005\n3 TIME 1:00\n0 @I2@ INDI\n";
    for (int k = 0; k < 120; ++k) text += "1 SOUR @S1@\n";
    text += "0 @N1@ NOTE Second\n0 @S1@ SOUR\n0 TRLR\n";
    auto c = openText(text);
    auto a = c->GetIndividual(1);
    EXPECT_EQ(a->GetSex(), 'F');
    EXPECT_EQ(a->GetRefN(), "R-7");
    EXPECT_EQ(a->GetAFN(), "12-34");
    auto note = a->GetNote();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->GetLines(), (std::vector<std::string>{"One", "Two", "Second", "Three"}));
    ASSERT_NE(a->GetChangeDate(), nullptr);
    EXPECT_EQ(a->GetChangeDate()->GetYear(), 2005);
    EXPECT_EQ(a->GetChangeDate(), a->GetChangeDate());
    EXPECT_EQ(a->GetCreateDate(), nullptr);
    auto b = c->GetIndividual(2);
    EXPECT_EQ(b->GetSex(), 'U');
    EXPECT_EQ(b->GetCitationCount(), 99);
    EXPECT_NE(b->GetCitation(99), nullptr);
    EXPECT_EQ(b->GetCitation(100), nullptr);
    EXPECT_EQ(b->GetNote(), nullptr);
    EXPECT_EQ(b->GetChangeDate(), nullptr);
    EXPECT_EQ(b->GetRefN(), "");
    EXPECT_EQ(b->GetAFN(), "");
    EXPECT_TRUE(b->HasNoParentFamily());
    // The entry is shared: a second object finds it filled.
    auto& entry = c->IndividualEntry(1);
    EXPECT_TRUE(entry.flags & WGEDIndIndex::PositionsFilled);
    EXPECT_TRUE(entry.flags & WGEDIndIndex::SeveralNotes);
    a->Clear();
    EXPECT_FALSE(c->IndIndex()->GetEntry(1).flags & WGEDIndIndex::PositionsFilled);
    EXPECT_EQ(c->GetIndividual(1)->GetSex(), 'F');
    // The record text, with CR LF line breaks for an LF file.
    EXPECT_EQ(c->GetIndividual(1)->GetRecordText().substr(0, 22), "0 @I1@ INDI\r\n1 SEX F\r\n");
}

TEST(GedIndividual, LinePositionsBeyondSixtyFourKilobytes) {
    std::string text = "0 HEAD\n0 @I1@ INDI\n1 NOTE " + std::string(70000, 'n') +
                       "\n1 NAME Far /Away/\n1 SEX M\n"
                       "1 BIRT\n2 DATE 1 JAN 1900\n0 TRLR\n";
    auto c = openText(text);
    auto i = c->GetIndividual(1);
    EXPECT_EQ(i->GetGivenText(), "Far");
    EXPECT_EQ(i->GetSex(), 'M');
    EXPECT_EQ(i->GetEventYear(1, 1), 1900);
}

TEST(GedMarriage, DateAndPlaceOfTheMarriage) {
    auto c =
        openText("0 HEAD\n0 @F1@ FAM\n1 MARR\n2 PLAC Town\n2 DATE 1900\n2 SOUR @S1@\n1 NOTE N\n1 NOTE M\n"
                 "0 @F2@ FAM\n1 MARR\n2 DATE 1 MAY 1901\n2 PLAC Village\n1 MARR\n2 DATE 1950\n1 SLGS\n2 DATE 1990\n"
                 "0 @F3@ FAM\n1 MARR\n3 DATE 1800\n0 @S1@ SOUR\n1 TITL Book\n0 TRLR\n");
    auto f1 = c->GetMarriage(1);
    EXPECT_EQ(f1->GetPlace(), "Town");
    EXPECT_EQ(f1->GetDateText(), "1900");
    EXPECT_EQ(f1->GetCitationCount(), 1);
    EXPECT_EQ(f1->GetCitation(1)->GetSource()->GetTitle(), "Book");
    EXPECT_EQ(f1->GetCitation(2), nullptr);
    EXPECT_EQ(f1->GetNoteText(), "N");
    EXPECT_FALSE(f1->HasLDSSealing());
    EXPECT_EQ(f1->GetSpouseCount(), 0);
    auto f2 = c->GetMarriage(2);
    EXPECT_EQ(f2->GetDateText(), "1 May 1901"); // the first MARR
    EXPECT_EQ(f2->GetDateAndPlaceText(), "1 May 1901, Village");
    EXPECT_TRUE(f2->HasLDSSealing());
    auto slgs = f2->GetLDSSealing(10);
    EXPECT_EQ(slgs->GetKind(), 0);
    EXPECT_EQ(slgs->GetDateText(), "1990");
    EXPECT_EQ(c->GetMarriage(3)->GetDate(), nullptr); // not a direct sub-line
}

TEST(GedNote, RecordsAndInlineNotes) {
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 NOTE @N5@\n0 @I2@ INDI\n1 NOTE First line\n2 CONT\n2 CONT Third line\n"
                      "0 @I3@ INDI\n1 NOTE @N1@\n0 @I4@ INDI\n1 NOTE @N2@\n0 @I5@ INDI\n1 NOTE @N3@\n"
                      "0 @N1@ NOTE\n1 CONT Text\n0 @N2@ NOTE\n1 SOUR @S1@\n0 @N3@ NOTE  Inline start\n1 CONC ed\n"
                      "0 @N4@ NOTE");
    EXPECT_EQ(c->GetIndividual(1)->GetNote(), nullptr);
    EXPECT_EQ(c->GetIndividual(2)->GetNote()->GetLines(), (std::vector<std::string>{"First line", "Third line"}));
    EXPECT_EQ(c->GetIndividual(3)->GetNote()->GetLines(), (std::vector<std::string>{"Text"}));
    // A first line without text takes no text from a line that is no continuation.
    EXPECT_EQ(c->GetIndividual(4)->GetNote()->GetLineCount(), 0);
    EXPECT_EQ(c->GetIndividual(5)->GetNote()->GetLines(), (std::vector<std::string>{"Inline started"}));
    // The last line of the file, without text or line end.
    EXPECT_EQ(c->GetNoteCount(), 4);
    EXPECT_EQ(c->GetNote(4)->GetLineCount(), 0);
}

TEST(GedSource, CitationsSourcesRepositories) {
    auto c = openText("0 HEAD\n0 @I1@ INDI\n1 BIRT\n2 SOUR Parish register\n3 TEXT Entry 12\n3 NOTE Inline\n"
                      "1 SOUR @S1@\n2 PAGE  p. 4 \n2 NOTE Cited\n1 SOUR @S9@\n"
                      "0 @S1@ SOUR\n1 TITL Old\n1 NAME Title\n1 AUTH Au\n1 PUBL Pu\n1 ABBR Ab\n1 CALN Ca\n"
                      "1 REPO @R1@\n2 CALN Deep\n1 NOTE Source note\n1 TEXT Source text\n"
                      "0 @R1@ REPO\n1 NAME City\n2 CONT Archive\n1 ADDR 1 Main St\n2 CONT Town\n2 ADR1 1 Main\n"
                      "2 CITY Town\n2 STAE ST\n2 POST 123\n2 CTRY Land\n1 PHON 555\n0 TRLR\n");
    auto i = c->GetIndividual(1);
    auto birthCite = i->GetEvent(1, 1)->GetCitation(1);
    auto inlineSource = birthCite->GetSource();
    EXPECT_EQ(inlineSource->GetTitle(), "Parish register");
    EXPECT_EQ(inlineSource->GetText()->GetLines(), (std::vector<std::string>{"Entry 12"}));
    EXPECT_EQ(inlineSource->GetNote()->GetLines(), (std::vector<std::string>{"Inline"}));
    EXPECT_TRUE(inlineSource->HasText());
    EXPECT_FALSE(inlineSource->HasRepo());
    EXPECT_EQ(inlineSource->GetRecordText(), "");
    ASSERT_EQ(i->GetCitationCount(), 2);
    auto cite = i->GetCitation(1);
    EXPECT_EQ(cite->GetPage(), "p. 4");
    EXPECT_EQ(cite->GetNote()->GetLines(), (std::vector<std::string>{"Cited"}));
    auto src = cite->GetSource();
    EXPECT_EQ(src->GetTitle(), "Title"); // the last of TITL and NAME
    EXPECT_EQ(src->GetAuthor(), "Au");
    EXPECT_EQ(src->GetPublication(), "Pu");
    EXPECT_EQ(src->GetAbbreviation(), "Ab");
    EXPECT_EQ(src->GetCallNumber(), "Ca"); // level 1 only
    EXPECT_EQ(src->GetNote()->GetLines(), (std::vector<std::string>{"Source note"}));
    EXPECT_EQ(src->GetText()->GetLines(), (std::vector<std::string>{"Source text"}));
    EXPECT_EQ(src->GetRecordText().substr(0, 11), "0 @S1@ SOUR");
    EXPECT_EQ(src->GetSummary(), "Au, Title, Pu, Ca, Ab");
    auto repo = src->GetRepo();
    ASSERT_NE(repo, nullptr);
    EXPECT_EQ(repo->GetName(), "City\rArchive");
    EXPECT_EQ(repo->GetNote(), nullptr);
    auto addr = repo->GetAddress();
    EXPECT_EQ(addr->GetAddress(), "1 Main St\r\nTown");
    EXPECT_EQ(addr->GetAddress1(), "1 Main");
    EXPECT_EQ(addr->GetCity(), "Town");
    EXPECT_EQ(addr->GetState(), "ST");
    EXPECT_EQ(addr->GetPostalCode(), "123");
    EXPECT_EQ(addr->GetCountry(), "Land");
    EXPECT_EQ(addr->GetPhone(), "555"); // beside the ADDR line
    EXPECT_EQ(addr->GetAddress2(), "");
    // A pointer to no source record.
    EXPECT_EQ(i->GetCitation(2)->GetSource(), nullptr);
    EXPECT_EQ(i->GetCitation(3), nullptr);
}
