#include <gtest/gtest.h>

#include "columns/ColSortIterator.h"
#include "highlight/FindContext.h"
#include "support/MemCollection.h"

namespace {

struct Fixture {
    WDefaultSettings settings;
    WMemCollection c;
    std::unique_ptr<WColSortIterator> rin, given, surname, custom;
    WFindContext ctx() {
        auto make = [&] { return std::make_unique<WColSortIterator>("", c.GetIndividualCount(), &c); };
        rin = make();
        given = make();
        surname = make();
        custom = make();
        return WFindContext{&c, rin.get(), given.get(), surname.get(), custom.get()};
    }
};

} // namespace

TEST(FindContextSearch, ModesSettingsAndSearches) {
    Fixture f;
    f.c.AddPerson("Zoe /Adams/", 'F').XRef("I3").RefN("K9");
    f.c.AddPerson("John /Smith/", 'M').XRef("I12").RefN("A1");
    f.c.AddPerson("Jane /Smith/", 'F').XRef("I7").RefN("B2");
    f.c.AddPerson("Al /Brown/", 'M').XRef("I1");
    WFindSearch s(f.ctx());
    EXPECT_EQ(WFindSearch::ModeFromSetting(3), WFindSearch::mSurname);
    EXPECT_EQ(WFindSearch::ModeFromSetting(5), WFindSearch::mCustom);
    EXPECT_EQ(WFindSearch::SettingFromMode(WFindSearch::mCustom), 5);
    // Record order: a number past the count goes to the last row.
    EXPECT_EQ(s.Search("99"), 4);
    EXPECT_EQ(s.Search("2"), 2);
    s.SetMode(WFindSearch::mSurname);
    const std::int32_t pos = s.Search("smith, j");
    ASSERT_GT(pos, 0);
    EXPECT_EQ(s.CellText(pos, 2).rfind("Smith, J", 0), 0u);
    EXPECT_EQ(s.KeyText(s.IndividualAt(pos), pos).rfind("Smith, ", 0), 0u);
    EXPECT_EQ(s.CellText(s.Search("Adams"), 0), "1");
    s.SetMode(WFindSearch::mCustom);
    EXPECT_EQ(s.IndividualAt(s.Search("B")), 3);
    EXPECT_EQ(s.CellText(s.Search("B"), 1), "B2");
    s.SetMode(WFindSearch::mRIN);
    // A GEDCOM-kind collection: "REF", and typing 12 looks up I12.
    EXPECT_EQ(s.IdentifierTitle(), "REF");
    EXPECT_EQ(s.IndividualAt(s.Search("12")), 2);
    EXPECT_EQ(s.PositionOf(s.IndividualAt(3)), 3);
}

TEST(FindContextSearch, MarriageEntriesAndPanelTexts) {
    Fixture f;
    auto a = f.c.AddPerson("Tom /Hill/", 'M').Birth("1900", "York");
    auto w1 = f.c.AddPerson("Ann /Lee/", 'F');
    f.c.AddFamily(a, w1)
        .Child(f.c.AddPerson("C1 /Hill/"))
        .Child(f.c.AddPerson("C2 /Hill/"))
        .Child(f.c.AddPerson("C3 /Hill/"));
    f.c.AddFamily(a, 0)
        .Child(f.c.AddPerson("D1 /Hill/"))
        .Child(f.c.AddPerson("D2 /Hill/"))
        .Child(f.c.AddPerson("D3 /Hill/"));
    const auto e = MarriageEntries(&f.c, a);
    ASSERT_EQ(e.size(), 8u);
    EXPECT_TRUE(e[0].spouse);
    EXPECT_EQ(e[0].individual, w1);
    EXPECT_TRUE(e[4].spouse);
    EXPECT_EQ(e[4].individual, 0);
    const auto t = DescribeIndividual(&f.c, nullptr, a);
    EXPECT_EQ(t.birth, "1900, York");
    EXPECT_EQ(t.back, 0xFFFFFFu);
    EXPECT_EQ(JoinDatePlace("", "York"), "York");
    EXPECT_EQ(DescribeIndividual(&f.c, nullptr, 0).tag, 0);
}

TEST(FindContextQuickFind, StepsPageAndSpouseList) {
    WMemCollection small;
    for (int i = 0; i < 150; ++i) small.AddPerson("P /X/");
    WQuickFind q(&small);
    EXPECT_EQ(q.PageStep(), 1);
    EXPECT_TRUE(q.StepUp("", 1));
    EXPECT_EQ(q.Current(), 1);
    EXPECT_FALSE(q.StepDown("1", 1));
    EXPECT_EQ(q.Current(), 1);
    EXPECT_TRUE(q.StepUp("150", 1));
    EXPECT_EQ(q.Current(), 150);
    EXPECT_FALSE(q.TextChanged("151"));
    EXPECT_TRUE(q.TextChanged("0"));
    EXPECT_EQ(q.Current(), 0);
    EXPECT_FALSE(q.TextChanged("12a"));

    WMemCollection big;
    for (int i = 0; i < 2500; ++i) big.AddPerson("");
    EXPECT_EQ(WQuickFind(&big).PageStep(), 25);

    WMemCollection c;
    auto h = c.AddPerson("Bob /Ng/", 'M');
    auto w = c.AddPerson("Sue; Ann /Ng/", 'F');
    auto k1 = c.AddPerson("Kid /Ng/").Birth("1950");
    auto k2 = c.AddPerson("Tot /Ng/");
    c.AddFamily(h, w).Child(k1).Child(k2);
    const auto entries = WQuickFind(&c).SpouseEntries(h);
    ASSERT_EQ(entries.size(), 3u);
    // A name holding ";" stays one entry.
    EXPECT_EQ(entries[0].text.rfind("Spouse: Sue; Ann", 0), 0u);
    EXPECT_EQ(entries[1].text.rfind("      1950 Kid", 0), 0u);
    EXPECT_EQ(entries[2].individual, k2);
}

TEST(FindContextSearch, PositionLookupsStayLinearOnABigFile) {
    WMemCollection c;
    const int n = 200000;
    for (int i = 0; i < n; ++i) c.AddPerson("");
    WFindSearch s(WFindContext{&c, nullptr, nullptr, nullptr, nullptr});
    // One reverse table, then constant-time lookups; a scan per lookup would
    // run for many minutes and hit the test time-out.
    std::int64_t sum = 0;
    for (int i = 1; i <= n; i += 7) sum += s.PositionOf(i);
    EXPECT_GT(sum, 0);
    EXPECT_EQ(s.PositionOf(n), n);
}
