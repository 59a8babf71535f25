// Dates, names and notes in the file's character set: one small file written
// as ANSEL, UTF-8 and ANSI, and the shared files that carry the cases.
#include "GedTestUtil.h"

using gedtest::openShared;
using gedtest::openText;

namespace {

struct Encoding {
    const char* charset;
    std::string pres;   // "près"
    std::string dvorak; // "Dvořák"
    std::string dvorakShown;
};

std::string fileIn(const Encoding& e) {
    return "0 HEAD\n1 CHAR " + std::string(e.charset) +
           "\n0 @I1@ INDI\n1 NAME /William/ I\n1 BIRT\n2 DATE 13 JAN 1712/13\n"
           "1 DEAT\n2 DATE BET 5 APR 1712/13 AND 28 SEP 1714/15\n1 BURI\n2 DATE ABT 1850 (" +
           e.pres +
           ")\n"
           "1 BAPL\n2 STAT " +
           e.pres +
           "\n1 CHAN\n2 DATE 27 OCT 1699/00\n"
           "0 @I2@ INDI\n1 NAME /William/ I\n2 NSFX the Lion\n"
           "0 @I3@ INDI\n1 NAME Anton /" +
           e.dvorak +
           "/ Jr\n"
           "0 @F1@ FAM\n1 HUSB @I1@\n1 MARR\n2 DATE 2 FEB 1601/02\n0 TRLR\n";
}

// Event and marriage dates written with a "/", and those shown with one.
std::pair<int, int> slashedDates(WGEDCollection& c) {
    int written = 0, shown = 0;
    auto count = [&](const WDate* d) {
        if (!d) return;
        written += d->GetOriginalText().find('/') != std::string::npos;
        shown += d->GetText().find('/') != std::string::npos;
    };
    for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) {
        auto ind = c.GetIndividual(i);
        for (int k = 1; k <= 5; ++k)
            if (auto e = ind->GetEvent(k, 1)) count(e->GetDate());
        for (int k = 1; k <= ind->GetEventCount(6); ++k) count(ind->GetEvent(6, k)->GetDate());
    }
    for (std::int32_t f = 1; f <= c.GetMarriageCount(); ++f) count(c.GetMarriage(f)->GetDate());
    return {written, shown};
}

} // namespace

TEST(TextConversion, SameRecordInEveryCharacterSet) {
    const std::vector<Encoding> encodings = {
        {"ANSEL",
         "pr\xE1"
         "es",
         "Dvo\xE9r\xE2"
         "ak",
         "Dvor\xE1k"},
        {"UTF-8", "pr\xC3\xA8s", "Dvo\xC5\x99\xC3\xA1k", "Dvo?\xE1k"},
        {"ANSI", "pr\xE8s", "Dvor\xE1k", "Dvor\xE1k"},
    };
    for (const Encoding& e : encodings) {
        SCOPED_TRACE(e.charset);
        auto c = openText(fileIn(e));
        auto i1 = c->GetIndividual(1);
        EXPECT_EQ(i1->GetEvent(1, 1)->GetDateText(), "13 Jan 1712/13");
        EXPECT_EQ(i1->GetEvent(2, 1)->GetDateText(), "Bet 5 Apr 1712/13 and 28 Sep 1714/15");
        // Date text in the file's character set, then upper-cased.
        EXPECT_EQ(i1->GetEvent(4, 1)->GetDateText(), "ABT 1850 (PR\xC8S)");
        EXPECT_EQ(i1->GetLDSEventDateText(7), "PR\xC8S");
        EXPECT_EQ(i1->GetChangeDate()->GetText(), "27 Oct 1699/00");
        EXPECT_EQ(c->GetMarriage(1)->GetDateText(), "2 Feb 1601/02");
        // Surname first: what follows is the given name, never also the suffix.
        auto n1 = i1->GetName();
        EXPECT_EQ(n1->GetGiven(), "I");
        EXPECT_EQ(n1->GetSurname(), "William");
        EXPECT_EQ(n1->GetSuffix(), "");
        auto n2 = c->GetIndividual(2)->GetName();
        EXPECT_EQ(n2->GetGiven(), "I");
        EXPECT_EQ(n2->GetSuffix(), "the Lion");
        auto n3 = c->GetIndividual(3)->GetName();
        EXPECT_EQ(n3->GetSurname(), e.dvorakShown);
        EXPECT_EQ(n3->GetSuffix(), " Jr");
    }
}

TEST(TextConversion, SharedFiles) {
    GEDTEST_NEED_SHARED("TGC55C.ged");
    auto tgc = openShared("TGC55C.ged");
    auto person1 = tgc->GetIndividual(tgc->FindIndividualByXref("PERSON1"));
    EXPECT_EQ(person1->GetLDSEventDateText(8), "Bet 5 Apr 1712/13 and 28 Sep 1714/15");
    EXPECT_EQ(person1->GetLDSEventDateText(9), "27 Oct 1699/00");
    // The caron rows of the accent note: only s and z take it.
    const std::string accents = tgc->GetNote(tgc->FindNoteByXref("N24"))->GetText("|");
    EXPECT_NE(accents.find("NOPQR\x8ATUVWXY\x8E|"), std::string::npos);
    EXPECT_NE(accents.find("nopqr\x9Atuvwxy\x9E|"), std::string::npos);
    const std::string special = tgc->GetNote(tgc->FindNoteByXref("N25"))->GetText("|");
    EXPECT_NE(special.find("A1 slash l - uppercase (?)"), std::string::npos);
    EXPECT_NE(special.find("B1 slash l - lowercase (?)"), std::string::npos);
    EXPECT_NE(special.find("AA registered sign (\xAE)"), std::string::npos);

    GEDTEST_NEED_SHARED("Queen.ged");
    auto queen = openShared("Queen.ged");
    EXPECT_EQ(queen->GetIndividual(queen->FindIndividualByXref("I392"))->GetEvent(1, 1)->GetDateText(), "1195\x96"
                                                                                                        "1226 OR 1233");
    EXPECT_EQ(queen->GetIndividual(queen->FindIndividualByXref("I673"))->GetEvent(2, 1)->GetDateText(), "1\x96"
                                                                                                        "3 JULY 1035");

    GEDTEST_NEED_SHARED("pres2020.ged");
    auto pres = openShared("pres2020.ged");
    auto lion = pres->GetIndividual(pres->FindIndividualByXref("I675"))->GetName();
    EXPECT_EQ(lion->GetGiven(), "I");
    EXPECT_EQ(lion->GetSurname(), "William");
    EXPECT_EQ(lion->GetSuffix(), "");
    // Its 21 dual years, "2 FEB 1601/02" among them, all show.
    auto [written, shown] = slashedDates(*pres);
    EXPECT_GE(written, 21);
    EXPECT_EQ(shown, written);
}
