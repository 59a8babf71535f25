// The compact indexes: offsets, identifiers, individual entries, individual links.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "gedcom/GEDIndIndex.h"
#include "gedcom/IndLinks.h"
#include "gedcom/OffsetIndex.h"
#include "gedcom/XREFIndex.h"
#include "model/ABSCollection.h"
#include "model/IslandSortIndex.h"

TEST(OffsetIndex, OffsetsAndRange) {
    WOffsetIndex idx("", 0);
    idx.Add(10);
    idx.Add(4000000000u);
    EXPECT_EQ(idx.GetOffset(1), 10u);
    EXPECT_EQ(idx.GetOffset(2), 4000000000u);
    try {
        idx.GetOffset(3);
        FAIL() << "no index error";
    } catch (const EIndexError& e) {
        EXPECT_STREQ(e.what(), "Error: In valid index value = 3");
    }
    EXPECT_THROW(idx.GetOffset(0), EIndexError);
    WGEDIndIndex ind("", 0);
    ind.Add(77);
    EXPECT_EQ(ind.GetOffset(1), 77u);
    EXPECT_EQ(ind.GetEntry(1).sex, 'U');
    EXPECT_EQ(ind.GetEntry(1).flags, 0);
    EXPECT_THROW(ind.GetEntry(2), EIndexError);
}

TEST(XREFIndex, OrderMarkAndSort) {
    WXREFIndex idx("", 0);
    for (const char* x : {"A1", "A2", "B"}) idx.Add(x);
    EXPECT_FALSE(idx.IsOutOfOrder());
    idx.Sort();
    EXPECT_EQ(idx.IdentifierAt(1), "A1");
    idx.Add("I2");
    idx.Add("I10"); // byte order: "I10" before "I2"
    idx.Add("I1");
    EXPECT_TRUE(idx.IsOutOfOrder());
    idx.Add("Z"); // the mark stays
    EXPECT_TRUE(idx.IsOutOfOrder());
    idx.Sort();
    EXPECT_FALSE(idx.IsOutOfOrder());
    std::vector<std::string> order;
    for (int i = 1; i <= idx.Count(); ++i) order.emplace_back(idx.IdentifierAt(i));
    EXPECT_EQ(order, (std::vector<std::string>{"A1", "A2", "B", "I1", "I10", "I2", "Z"}));
    // Record numbers follow the identifiers through the sort.
    EXPECT_EQ(idx.Find("I10"), 5);
    EXPECT_EQ(idx.Find("I1"), 6);
    EXPECT_EQ(idx.Find("Z"), 7);
    EXPECT_EQ(idx.FindBySearch("I10"), 5);
    EXPECT_EQ(idx.Find("I3"), 0);
    EXPECT_EQ(idx.Find(""), 0);
}

TEST(XREFIndex, LongIdentifiersStayDistinct) {
    WXREFIndex idx("", 0);
    std::string a = "ABCDEFGHIJKLMNOPQRS1", b = "ABCDEFGHIJKLMNOPQRS2", c = "ABCDEFGHIJKLMNO";
    idx.Add(b);
    idx.Add(a);
    idx.Add(c);
    idx.Add("ABCDEFGHIJKLMNOP");
    EXPECT_EQ(idx.Find(a), 2);
    EXPECT_EQ(idx.Find(b), 1);
    EXPECT_EQ(idx.Find(c), 3);
    EXPECT_EQ(idx.Find("ABCDEFGHIJKLMNOPQRS"), 0);
    idx.Sort();
    EXPECT_EQ(idx.IdentifierAt(1), c);
    EXPECT_EQ(idx.IdentifierAt(2), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(idx.IdentifierAt(3), a);
    EXPECT_EQ(idx.FindBySearch(a), 2);
    EXPECT_EQ(idx.FindBySearch(b), 1);
    EXPECT_EQ(idx.Find(a), 2);
}

TEST(XREFIndex, RepeatedIdentifierGivesTheFirstRecord) {
    for (bool sort : {false, true}) {
        WXREFIndex idx("", 0);
        for (const char* x : {"I5", "I2", "I5", "I1", "I2", "I5"}) idx.Add(x);
        if (sort) idx.Sort();
        EXPECT_EQ(idx.Find("I5"), 1);
        EXPECT_EQ(idx.Find("I2"), 2);
        EXPECT_EQ(idx.Find("I1"), 4);
        if (sort) {
            EXPECT_EQ(idx.FindBySearch("I5"), 1);
        }
    }
    // The numbered guess must not skip an earlier copy: "I3" stands at 1 and 3.
    WXREFIndex idx("", 0);
    for (const char* x : {"I3", "I2", "I3"}) idx.Add(x);
    EXPECT_EQ(idx.Find("I3"), 1);
}

TEST(XREFIndex, CompareXREF) {
    EXPECT_EQ(WXREFIndex::CompareXREF("I1", "I10"), -1);
    EXPECT_EQ(WXREFIndex::CompareXREF("I2", "I10"), 1);
    EXPECT_EQ(WXREFIndex::CompareXREF("I2", "I2"), 0);
    EXPECT_EQ(WXREFIndex::CompareXREF("\xE9", "z"), 1); // unsigned bytes
    try {
        WXREFIndex::CompareXREF(nullptr, "x");
        FAIL() << "no compare error";
    } catch (const ECompareError& e) {
        EXPECT_STREQ(e.what(), "Error in compare function of WRINAssocIndex - nil passed as an argument");
    }
}

TEST(IndLinks, ParentFamilies) {
    WIndLinks links("", 3);
    links.AddParentFamily(1, false, false, 7, 1, 10);
    links.AddParentFamily(1, false, false, 7, 1, 10);
    EXPECT_EQ(links.GetParentFamilyCount(1), 1);
    links.AddParentFamily(1, false, false, 7, 1, 20);
    links.AddParentFamily(1, false, false, 7, 1, 20);
    links.AddParentFamily(1, false, false, 7, 1, 30);
    EXPECT_EQ(links.GetParentFamilyCount(1), 3);
    EXPECT_EQ(links.GetParentFamily(1, 1), 10);
    EXPECT_EQ(links.GetParentFamily(1, 2), 20);
    EXPECT_EQ(links.GetParentFamily(1, 3), 30);
    EXPECT_EQ(links.GetParentFamily(1, 0), 0);
    EXPECT_EQ(links.GetParentFamily(1, 4), 0);
    std::uint16_t a = 0, b = 0;
    ASSERT_TRUE(links.GetParentCodes(1, 2, a, b));
    EXPECT_EQ(a, 1); // stored as (second code, first code)
    EXPECT_EQ(b, 7);
    // Moving a family to the front swaps it with the old first one.
    links.AddParentFamily(1, false, true, 7, 1, 40);
    EXPECT_EQ(links.GetParentFamilyCount(1), 4);
    EXPECT_EQ(links.GetParentFamily(1, 1), 40);
    EXPECT_EQ(links.GetParentFamily(1, 4), 10);
    EXPECT_EQ(links.GetFlags(1) & WIndLinks::ParentOrderFixed, WIndLinks::ParentOrderFixed);
    // Invalid individuals read as nothing and take nothing.
    links.AddParentFamily(4, false, false, 7, 1, 10);
    EXPECT_EQ(links.GetParentFamilyCount(4), 0);
    EXPECT_EQ(links.GetParentFamily(0, 1), 0);
}

TEST(IndLinks, SpouseFamilies) {
    WIndLinks links("", 2);
    links.AddSpouseFamily(2, 5, false);
    links.AddSpouseFamily(2, 5, false);
    links.AddSpouseFamily(2, 6, false);
    links.AddSpouseFamily(2, 6, false);
    EXPECT_EQ(links.GetSpouseFamilyCount(2), 2);
    EXPECT_EQ(links.GetSpouseFamily(2, 0), 0);
    EXPECT_EQ(links.GetSpouseFamily(2, 3), 0);
    links.AddSpouseFamily(2, 7, true);
    EXPECT_EQ(links.GetSpouseFamily(2, 1), 7);
    EXPECT_EQ(links.GetSpouseFamily(2, 2), 6);
    EXPECT_EQ(links.GetSpouseFamily(2, 3), 5);
}

TEST(IndLinks, LongListsStayLinearAndFreeOfDuplicates) {
    // 20,000 spouse families, each named twice: far past the chain-walk limit.
    const int n = 20000;
    WIndLinks links("", 1);
    for (int round = 0; round < 2; ++round)
        for (int f = 1; f <= n; ++f) {
            links.AddSpouseFamily(1, f, false);
            links.AddParentFamily(1, false, false, 7, 1, f);
        }
    EXPECT_EQ(links.GetSpouseFamilyCount(1), n);
    EXPECT_EQ(links.GetParentFamilyCount(1), n);
    for (int k = 1; k <= n; k += 997) {
        EXPECT_EQ(links.GetSpouseFamily(1, k), k);
        EXPECT_EQ(links.GetParentFamily(1, k), k);
    }
    EXPECT_EQ(links.GetSpouseFamily(1, n), n);
}

TEST(XREFIndex, NumberedIdentifiersAndTheirLookAlikes) {
    // Every identifier ends in its own position: found without a table.
    WXREFIndex idx("", 0);
    for (const char* x : {"I1", "I2", "P3", "I4"}) idx.Add(x);
    EXPECT_EQ(idx.Find("I2"), 2);
    EXPECT_EQ(idx.Find("P3"), 3);
    EXPECT_EQ(idx.Find("I3"), 0);
    EXPECT_EQ(idx.Find("I02"), 0);
    EXPECT_EQ(idx.Find("I5"), 0);
    EXPECT_EQ(idx.Find("I"), 0);
    // One identifier out of step: the others are still found, through the table.
    idx.Add("X1");
    EXPECT_EQ(idx.Find("X1"), 5);
    EXPECT_EQ(idx.Find("I4"), 4);
    EXPECT_EQ(idx.Find("I1"), 1);
    EXPECT_EQ(idx.Find("I6"), 0);
}

TEST(GEDIndIndex, PositionsStandBesideTheEntries) {
    WGEDIndIndex idx("", 0);
    idx.Add(5);
    idx.Add(9);
    EXPECT_EQ(idx.FindPositions(idx.GetEntry(1)), nullptr);
    auto& p2 = idx.PositionsOf(idx.GetEntry(2));
    p2[WGEDIndIndex::PosBirt] = 70000;
    auto& p1 = idx.PositionsOf(idx.GetEntry(1));
    p1[WGEDIndIndex::PosBirt] = 3;
    EXPECT_EQ((*idx.FindPositions(idx.GetEntry(2)))[WGEDIndIndex::PosBirt], 70000u);
    EXPECT_EQ((*idx.FindPositions(idx.GetEntry(1)))[WGEDIndIndex::PosBirt], 3u);
    EXPECT_EQ(&idx.PositionsOf(idx.GetEntry(2)), &p2);
    EXPECT_EQ(idx.GetOffset(2), 9u);
}
