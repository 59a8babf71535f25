#include <gtest/gtest.h>

#include "app/IndividualRows.h"
#include "model/Date.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

struct IndividualRowsTest : ::testing::Test {
    void SetUp() override {
        WOptions::Clear();
        WOptions::SetBool(opt::UseLDS, false);
        WOptions::SetBool(opt::Chrono, false);
    }
    void TearDown() override { WOptions::Clear(); }

    static const IndRow* find(const std::vector<IndRow>& rows, const std::string& type) {
        for (const auto& r : rows)
            if (r.Type == type) return &r;
        return nullptr;
    }
};

TEST_F(IndividualRowsTest, AgesFromBirthOrBracketedFromChristening) {
    WMemCollection c;
    auto a = c.AddPerson("Ann /Birch/", 'F').Birth("12 MAR 1850", "Leeds").Death("1 FEB 1848").Burial("20 MAR 1899");
    auto b = c.AddPerson("Bob /Birch/", 'M').Christening("3 APR 1860").Death("10 JUN 1894");
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, false, a, rows);
    ASSERT_NE(find(rows, "Birth"), nullptr);
    EXPECT_EQ(find(rows, "Birth")->Age, "-----");
    EXPECT_EQ(find(rows, "Death")->Age, "-2"); // before the birth
    EXPECT_EQ(find(rows, "Burial")->Age, "49");
    EXPECT_EQ(find(rows, "Birth")->Info, "Leeds");
    EXPECT_EQ(rows[1].Type, "Name");
    EXPECT_EQ(rows[1].Target, a.No());

    FillIndividualGrid(&c, nullptr, false, b, rows);
    EXPECT_EQ(find(rows, "Death")->Age, "[34]");
    // Absent vital events still show their row outside chronological mode.
    ASSERT_NE(find(rows, "Birth"), nullptr);
    EXPECT_TRUE(find(rows, "Birth")->Date.empty());
}

TEST_F(IndividualRowsTest, AgeTextEdgeCases) {
    WDate birth("5 MAY 1900"), same("5 MAY 1900"), sameYear("1 DEC 1900"), noYear("MAY");
    EXPECT_EQ(IndividualAgeText(&birth, &same, false), "-----");
    EXPECT_EQ(IndividualAgeText(&birth, &sameYear, false), "0");
    EXPECT_EQ(IndividualAgeText(&birth, &noYear, false), "");
    EXPECT_EQ(IndividualAgeText(nullptr, &same, false), "");
}

TEST_F(IndividualRowsTest, ParentsOfTwoFamiliesMarkTheFirst) {
    WMemCollection c;
    auto kid = c.AddPerson("Kim /Ash/", 'F').Birth("5 MAY 1900");
    auto f1 = c.AddPerson("Al /Ash/", 'M').Birth("5 MAY 1870");
    auto m1 = c.AddPerson("Bea /Oak/", 'F');
    auto f2 = c.AddPerson("Cy /Elm/", 'M');
    c.AddFamily(f1, m1).Child(kid);
    c.AddFamily(f2, 0).Child(kid, 7, 3);
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, false, kid, rows);
    std::vector<std::string> parentTypes;
    for (const auto& r : rows)
        if (r.Target == f1.No() || r.Target == m1.No() || r.Target == f2.No()) parentTypes.push_back(r.Type);
    ASSERT_EQ(parentTypes.size(), 3u);
    EXPECT_NE(parentTypes[0].find(" (P)"), std::string::npos);
    EXPECT_NE(parentTypes[1].find(" (P)"), std::string::npos);
    EXPECT_EQ(parentTypes[2].find(" (P)"), std::string::npos);
    // The father's age column is measured against the subject's birth.
    for (const auto& r : rows) {
        if (r.Target == f1.No()) {
            EXPECT_EQ(r.Age, "-30");
        }
    }
}

TEST_F(IndividualRowsTest, MarriageAndChildRowsAndSpouselessFamily) {
    WMemCollection c;
    auto h = c.AddPerson("Hal /Yew/", 'M').Birth("1 JAN 1800");
    auto w = c.AddPerson("Ivy /Fir/", 'F');
    auto k1 = c.AddPerson("Jo /Yew/", 'M').Birth("3 JAN 1830");
    c.AddFamily(h, w).Marriage("2 JAN 1825", "York").Child(k1);
    c.AddFamily(h, 0).Marriage("1840");
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, false, h, rows);
    const IndRow* marr = nullptr;
    for (const auto& r : rows)
        if (r.Target == w.No()) marr = &r;
    ASSERT_NE(marr, nullptr);
    EXPECT_EQ(marr->Info.rfind("Ivy", 0), 0u);
    EXPECT_NE(marr->Info.find(", m. 2 Jan 1825, York"), std::string::npos);
    EXPECT_NE(marr->Type.find("(1)"), std::string::npos);
    EXPECT_EQ(marr->Age, "25");
    const IndRow* child = nullptr;
    for (const auto& r : rows)
        if (r.Target == k1.No()) child = &r;
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->Type.rfind("     Child", 0), 0u);
    EXPECT_EQ(child->Age, "30");
    ASSERT_NE(find(rows, "Marriage 2 (0)"), nullptr);
    EXPECT_EQ(find(rows, "Marriage 2 (0)")->Target, 0);
}

TEST_F(IndividualRowsTest, ChronologicalModeDropsEmptyRowsAndPutsUndatedLast) {
    WOptions::SetBool(opt::Chrono, true);
    WMemCollection c;
    auto p = c.AddPerson("Pat /Lee/", 'M')
                 .Birth("1900")
                 .Death("1980")
                 .Other("Residence", "1950")
                 .Other("Occupation", "")
                 .Other("Census", "ABT 1910");
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, false, p, rows);
    EXPECT_EQ(find(rows, "Burial"), nullptr);
    EXPECT_EQ(find(rows, "Christening"), nullptr);
    std::vector<std::string> order;
    for (size_t i = 2; i < rows.size(); ++i) order.push_back(rows[i].Type);
    const std::vector<std::string> expected = {"Birth", "Census", "Residence", "Death", "Occupation"};
    EXPECT_EQ(order, expected);
}

TEST_F(IndividualRowsTest, ExchangeSortKeepsIncomparableOrderAndTiesByType) {
    std::vector<IndRow> rows(4);
    rows[0].Type = "B";
    rows[0].SortDate = "1900";
    rows[1].Type = "A";
    rows[1].SortDate = "1900";
    rows[2].Type = "Z";
    rows[2].SortDate = "";
    rows[3].Type = "Y";
    rows[3].SortDate = "";
    SortRowsChronologically(rows, 0);
    // Undated rows last, in their built order.
    EXPECT_EQ(rows[0].Type, "A");
    EXPECT_EQ(rows[1].Type, "B");
    EXPECT_EQ(rows[2].Type, "Z");
    EXPECT_EQ(rows[3].Type, "Y");
}

TEST_F(IndividualRowsTest, RowsStopAtTheCap) {
    WMemCollection c;
    auto p = c.AddPerson("Max /Many/", 'M');
    for (int i = 0; i < 1100; ++i) p.Other("Event" + std::to_string(i), "");
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, false, p, rows);
    EXPECT_EQ(rows.size(), kMaxIndRows);
    EXPECT_EQ(rows.back().Type, "Event" + std::to_string(1022 - 6));
}

TEST_F(IndividualRowsTest, ClipboardAddsSexAndModifyRows) {
    WMemCollection c;
    auto p = c.AddPerson("Sam /Ray/", 'f').ChangeDate("2 JAN 2001");
    std::vector<IndRow> rows;
    FillIndividualGrid(&c, nullptr, true, p, rows);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[2].Type, "Sex");
    EXPECT_EQ(rows[2].Info, "Female");
    EXPECT_EQ(rows[3].Type, "Modify Date");
    EXPECT_FALSE(rows[3].Date.empty());
    FillIndividualGrid(&c, nullptr, true, 99, rows);
    EXPECT_TRUE(rows.empty());
}

} // namespace
