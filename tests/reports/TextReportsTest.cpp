// Content of the general-information, individual and family reports.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/Options.h"
#include "reports/ReportFamily.h"
#include "reports/ReportInd.h"
#include "reports/ReportInfo.h"
#include "support/MemCollection.h"

namespace {

// All text items of all pages, in paint order.
std::vector<std::string> allTexts(TQuickRep& r) {
    std::vector<std::string> out;
    for (int p = 1; p <= r.QRPrinter()->PageCount(); ++p)
        for (const auto& it : r.QRPrinter()->Page(p)->Items)
            if (it.Kind == TQRItemKind::Text) out.push_back(it.Text);
    return out;
}

bool has(const std::vector<std::string>& v, const std::string& s) {
    return std::find(v.begin(), v.end(), s) != v.end();
}

// Index of s in v, -1 when absent.
long at(const std::vector<std::string>& v, const std::string& s) {
    auto i = std::find(v.begin(), v.end(), s);
    return i == v.end() ? -1 : long(i - v.begin());
}

class TextReports : public ::testing::Test {
protected:
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
};

TEST_F(TextReports, BaseFormFooterAndTitle) {
    TReportInfoForm f;
    f.SetTitle("General File Information");
    f.SetFileName("Smith family");
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, "General File Information"));
    EXPECT_TRUE(has(t, "Printed by Brenthaul"));
    EXPECT_TRUE(has(t, "Page 1"));
    EXPECT_TRUE(has(t, "File: Smith family"));
    EXPECT_TRUE(has(t, QRFooterDateText()));
    EXPECT_NE(QRFooterDateText().find("2024"), std::string::npos);
}

TEST_F(TextReports, InfoReportWithoutSubmitterOrCollection) {
    WMemCollection c;
    c.AddPerson("A /B/", 'M');
    c.AddPerson("C /D/", 'F');
    TReportInfoForm f;
    f.SetCollection(&c);
    f.SetFileName("fam.ged");
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    for (const char* s : {"Header Information", "Submitter", "File Information", "Name", "Address 1", "Address 3",
                          "Country", "Phone", "Email", "Stats", "# Individuals"})
        EXPECT_TRUE(has(t, s)) << s;
    // The header pair of the collection and the statistics.
    const auto info = c.GetFileInfo();
    ASSERT_FALSE(info.empty());
    EXPECT_EQ(at(t, info[0].second), at(t, info[0].first) + 1);
    EXPECT_EQ(t[size_t(at(t, "File Size") + 1)], c.GetFileSizeText() + " bytes");
    EXPECT_TRUE(has(t, "fam.ged"));
    // No submitter: the seven captions with empty values, so "Name" is
    // followed directly by "Address 1" once empty values are dropped.
    std::vector<std::string> nonEmpty;
    for (auto& s : t)
        if (!s.empty()) nonEmpty.push_back(s);
    EXPECT_EQ(nonEmpty[size_t(at(nonEmpty, "Name") + 1)], "Address 1");

    // Without a collection the three sections still print, empty.
    TReportInfoForm empty;
    ASSERT_TRUE(empty.Prepare());
    auto e = allTexts(empty);
    EXPECT_TRUE(has(e, "Submitter"));
    EXPECT_TRUE(has(e, "File Information"));
    EXPECT_FALSE(has(e, "fam.ged"));
}

TEST_F(TextReports, InfoReportSubmitterAndThousands) {
    WMemCollection c;
    for (int i = 0; i < 1234; ++i) c.AddPerson("P /Q/");
    memtree::Submitter s;
    s.name = "Sub Mitter";
    s.email = "sub@example.org";
    s.country = "Ruritania";
    c.SetSubmitter(s);
    TReportInfoForm f;
    f.SetCollection(&c);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_EQ(at(t, "Sub Mitter"), at(t, "Name") + 1);
    EXPECT_TRUE(has(t, "sub@example.org"));
    EXPECT_TRUE(has(t, "Ruritania"));
    EXPECT_TRUE(has(t, "1,234"));
}

TEST_F(TextReports, IndividualReportRows) {
    WMemCollection c;
    auto john = c.AddPerson("John /Smith/", 'M')
                    .XRef("I1")
                    .AFN("AF1")
                    .RefN("R9")
                    .Birth("1 JAN 1900", "Boston")
                    .Death("", "Salem")
                    .Other("Census", "1910", "Lynn");
    auto f1 = c.AddPerson("Frank /Smith/", 'M');
    auto m1 = c.AddPerson("Mary /Jones/", 'F');
    auto m2 = c.AddPerson("Step /Mother/", 'F');
    c.AddFamily(f1, m1).Child(john);
    c.AddFamily(0, m2).Child(john, 7, 1);
    auto wife = c.AddPerson("Ann /Brown/", 'F');
    auto kid = c.AddPerson("Tom /Smith/", 'M').Birth("1925");
    c.AddFamily(john, wife).Marriage("1924", "Boston").Child(kid);
    c.Person(john).Note("First note line").Note("Second note line");

    TReportIndForm f;
    f.SetCollection(&c);
    f.SetIndividual(john);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, "I1 / AF1 / R9"));
    EXPECT_TRUE(has(t, c.GetFileKind() == 1 ? "REF/AFN/Cust ID" : "RIN/AFN/Cust ID"));
    // Vital rows in their order, event text joins date and place.
    EXPECT_LT(at(t, "Birth"), at(t, "Chr"));
    EXPECT_LT(at(t, "Chr"), at(t, "Death"));
    EXPECT_LT(at(t, "Death"), at(t, "Burial"));
    EXPECT_EQ(t[size_t(at(t, "Birth") + 1)], c.GetIndividual(john)->GetEvent(1, 1)->GetDateText() + ", Boston");
    EXPECT_EQ(t[size_t(at(t, "Death") + 1)], "Salem") << "place alone";
    // User events with their names.
    EXPECT_TRUE(has(t, "User Events"));
    EXPECT_TRUE(has(t, "Census"));
    // Two parent families.
    const long fp = at(t, "Father (P)");
    ASSERT_GE(fp, 0);
    EXPECT_EQ(t[size_t(fp + 1)], c.GetIndividual(f1)->GetNameWithDates(false));
    EXPECT_LT(at(t, "Mother (P)"), at(t, "Father"));
    EXPECT_EQ(t[size_t(at(t, "Mother") + 1)], c.GetIndividual(m2)->GetNameWithDates(false));
    // Marriage and child rows.
    const long mar = at(t, "Marriage 1");
    ASSERT_GE(mar, 0);
    EXPECT_EQ(t[size_t(mar + 1)], c.GetFullName(wife) + ", m. " + c.GetMarriage(3)->GetDateAndPlaceText());
    EXPECT_EQ(t[size_t(mar + 2)], "   " + WABSCollection::GetChildLinkName(1, 'M'));
    EXPECT_EQ(t[size_t(mar + 3)], c.GetIndividual(kid)->GetNameWithDates(false));
    // LDS off: no LDS band and no "LDS S to S" line.
    EXPECT_FALSE(has(t, "LDS Events"));
    EXPECT_FALSE(has(t, "LDS S to S"));
    // Notes, one line per row.
    EXPECT_LT(at(t, "Notes"), at(t, "First note line"));
    EXPECT_TRUE(has(t, "Second note line"));
}

TEST_F(TextReports, IndividualReportSettingsAndBareIndividual) {
    WMemCollection c;
    auto p = c.AddPerson("Lone /Person/", 'F').Ordinance(7, "1950", "SLAKE");
    c.Person(p).Note("hidden");
    WOptions::SetBool(opt::UseLDS, true);
    WOptions::SetBool(opt::IndNotes, false);
    TReportIndForm f;
    f.SetCollection(&c);
    f.SetIndividual(p);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    // No parent family: still one father and one mother row.
    EXPECT_TRUE(has(t, "Father"));
    EXPECT_TRUE(has(t, "Mother"));
    EXPECT_FALSE(has(t, "Father (P)"));
    EXPECT_FALSE(has(t, "User Events"));
    EXPECT_TRUE(has(t, "LDS Events"));
    auto ev = c.GetIndividual(p)->GetLDSEvent(7);
    EXPECT_EQ(t[size_t(at(t, "Baptism") + 1)], ev->GetDateText() + ", " + ev->GetPlaceText());
    EXPECT_FALSE(has(t, "Notes"));
    EXPECT_FALSE(has(t, "hidden"));

    // Without an individual the bands print empty.
    TReportIndForm none;
    none.SetCollection(&c);
    ASSERT_TRUE(none.Prepare());
    auto n = allTexts(none);
    EXPECT_FALSE(has(n, "Birth"));
    EXPECT_FALSE(has(n, "Lone Person"));
}

TEST_F(TextReports, EventTextForms) {
    WMemCollection c;
    memtree::Event e;
    e.kind = 6;
    e.label = "Occu";
    e.description = "Smith";
    e.place = "Town";
    e.note = {"noted"};
    auto p = c.AddPerson("X /Y/").AddEvent(e);
    auto ev = c.GetIndividual(p)->GetEvent(6, 1);
    EXPECT_EQ(TReportIndForm::EventText(ev.get(), false), "Smith, Town");
    EXPECT_EQ(TReportIndForm::EventText(ev.get(), true), "Smith, Town\r" + ev->GetNoteText());
    EXPECT_EQ(TReportIndForm::EventText(nullptr, true), "");
}

TEST_F(TextReports, FamilyReportCoupleAndChildren) {
    WMemCollection c;
    auto wife = c.AddPerson("Jane /Doe/", 'F').Birth("1901", "Paris");
    auto husb = c.AddPerson("Joe /Roe/", 'U').Birth("1899", "Rome");
    auto fam = c.AddFamily(husb, wife).Marriage("1920", "Nice");
    for (int i = 0; i < 600; ++i)
        c.Family(fam).Child(c.AddPerson("Kid" + std::to_string(i) + " /Roe/", i % 2 ? 'F' : 'M'));
    TReportFamilyForm f;
    f.SetCollection(&c);
    f.SetIndividual(wife);
    f.SetCouple(husb, fam);
    ASSERT_TRUE(f.Prepare());
    EXPECT_EQ(f.Husband, husb);
    EXPECT_EQ(f.Wife, wife);
    EXPECT_EQ(f.ChildCount, 499);
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, c.GetFullName(husb)));
    EXPECT_TRUE(has(t, "Rome"));
    EXPECT_TRUE(has(t, "Nice"));
    EXPECT_TRUE(has(t, "Children"));
    int kids = 0;
    for (auto& s : t)
        if (s.rfind("Kid", 0) == 0) ++kids;
    EXPECT_EQ(kids, 499);
    EXPECT_GT(f.QRPrinter()->PageCount(), 50);

    // Unknown sex: husband unless the spouse is a man; no spouse: wife.
    TReportFamilyForm u;
    u.SetCollection(&c);
    u.SetIndividual(husb);
    u.SetCouple(wife, fam);
    ASSERT_TRUE(u.Prepare());
    EXPECT_EQ(u.Husband, husb);
    TReportFamilyForm alone;
    alone.SetCollection(&c);
    alone.SetIndividual(husb);
    ASSERT_TRUE(alone.Prepare());
    EXPECT_EQ(alone.Wife, husb);
    EXPECT_EQ(alone.Husband, 0);
    // No family chosen: no children band.
    EXPECT_FALSE(has(allTexts(alone), "Children"));
}

TEST_F(TextReports, FamilyReportLDSColumn) {
    WMemCollection c;
    auto h = c.AddPerson("H /A/", 'M').Ordinance(8, "1960", "LOGAN");
    auto w = c.AddPerson("W /A/", 'F');
    auto fam = c.AddFamily(h, w);
    c.Family(fam).Sealing("1961", "MANTI");
    TReportFamilyForm f;
    f.SetCollection(&c);
    f.SetIndividual(h);
    f.SetCouple(w, fam);
    ASSERT_TRUE(f.Prepare());
    EXPECT_FALSE(has(allTexts(f), "LDS Ordinance Dates"));
    EXPECT_EQ(f.HusbandBox.labPlace[0]->Width, 521);
    WOptions::SetBool(opt::UseLDS, true);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, "LDS Ordinance Dates"));
    EXPECT_TRUE(has(t, "LOGAN"));
    EXPECT_TRUE(has(t, c.GetFamilyEventPlace(h, 1, false, 10)));
    EXPECT_EQ(f.HusbandBox.labPlace[0]->Width, 353);
}

} // namespace
