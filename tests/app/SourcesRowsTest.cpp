#include <gtest/gtest.h>

#include "app/SourcesRows.h"
#include "model/Global.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

memtree::Source src(const std::string& title, const std::string& author = "") {
    memtree::Source s;
    s.title = title;
    s.author = author;
    return s;
}

struct SourcesRowsTest : ::testing::Test {
    WDefaultSettings settings;
    void TearDown() override { plat::resetHooks(); }
};

TEST_F(SourcesRowsTest, NoSourcesGivesTwoGridRowsAndEmptyDetails) {
    WMemCollection c;
    WSourcesRows rows;
    EXPECT_EQ(rows.GridRowCount(), 2);
    rows.SetCollection(&c);
    rows.EnsureIterator();
    EXPECT_EQ(rows.GridRowCount(), 2);
    EXPECT_EQ(rows.CountText(), "0 Sources");
    SourceDetails d;
    EXPECT_FALSE(rows.Details(1, false, d));
    EXPECT_TRUE(rows.Row(1)[4].empty());
    EXPECT_EQ(rows.SourceAt(1), 0);
}

TEST_F(SourcesRowsTest, CellTextsFlagsAndLineBreaks) {
    WMemCollection c;
    for (int i = 0; i < 1000; ++i) c.AddSource(src("filler"));
    memtree::Source s = src("Parish\rregister", "Smith");
    s.note = {"n"};
    s.repository = c.AddRepository({"R1", "County Office", std::nullopt, {}});
    const std::int32_t n = c.AddSource(s);
    WSourcesRows rows;
    rows.SetCollection(&c);
    rows.EnsureIterator();
    EXPECT_EQ(rows.CountText(), "1001 Sources");
    EXPECT_EQ(rows.GridRowCount(), 1002);
    const auto& r = rows.Row(n);
    EXPECT_EQ(r[0], "1,001");
    EXPECT_EQ(r[1], "Y");
    EXPECT_EQ(r[2], "");
    EXPECT_EQ(r[3], "Y");
    EXPECT_EQ(r[4], "Parish register");
    EXPECT_EQ(r[6], "Smith");
    EXPECT_TRUE(rows.Row(1002)[0].empty());
}

TEST_F(SourcesRowsTest, SameTitleTwiceReversesAndMovesArrow) {
    WMemCollection c;
    c.AddSource(src("Beta"));
    c.AddSource(src("alpha"));
    c.AddSource(src("Gamma"));
    WSourcesRows rows;
    rows.SetCollection(&c);
    rows.EnsureIterator();
    EXPECT_EQ(rows.SortArrowColumn(), 0); // file order
    EXPECT_EQ(rows.Row(1)[4], "Beta");
    ASSERT_TRUE(rows.SortByColumn(4));
    EXPECT_EQ(rows.SortArrowColumn(), 4);
    EXPECT_TRUE(rows.SortAscending());
    EXPECT_EQ(rows.Row(1)[4], "alpha");
    EXPECT_EQ(rows.Row(3)[4], "Gamma");
    ASSERT_TRUE(rows.SortByColumn(4));
    EXPECT_FALSE(rows.SortAscending());
    EXPECT_EQ(rows.Row(1)[4], "Gamma");
    EXPECT_EQ(rows.SourceAt(3), 2);
    EXPECT_EQ(Global::BusyCount(), 0);
}

TEST_F(SourcesRowsTest, DetailsWithRepositoryAddressParts) {
    WMemCollection c;
    memtree::Address a;
    a.city = "Leeds";
    a.country = "England";
    a.phone = "555";
    const std::int32_t withAddr = c.AddRepository({"R1", "Archive", a, {}});
    const std::int32_t bare = c.AddRepository({"R2", "Library", memtree::Address{}, {}});
    memtree::Source s1 = src("T\r\nitle", "Au");
    s1.text = {"line one", "line two"};
    s1.note = {"a note"};
    s1.repository = withAddr;
    c.AddSource(s1);
    memtree::Source s2 = src("Other");
    s2.repository = bare;
    c.AddSource(s2);
    WSourcesRows rows;
    rows.SetCollection(&c);
    rows.EnsureIterator();
    SourceDetails d;
    ASSERT_TRUE(rows.Details(1, false, d));
    EXPECT_EQ(d.Title, "T itle");
    EXPECT_EQ(d.Author, "Au");
    EXPECT_EQ(d.Text, "line one\r\nline two");
    EXPECT_EQ(d.Note, "a note");
    EXPECT_EQ(d.Repository, "Archive\r\nLeeds, England, 555");
    ASSERT_TRUE(rows.Details(2, false, d));
    EXPECT_EQ(d.Repository, "Library"); // an address without parts: the name alone
    EXPECT_TRUE(d.Note.empty());
}

// The sort lets messages through. A press, a refill or a new file arriving
// meanwhile must neither sort again nor free the list under the sort.
TEST_F(SourcesRowsTest, MessagesDuringSortCannotReenterOrFreeTheList) {
    WMemCollection c;
    for (int i = 0; i < 3000; ++i) c.AddSource(src("T" + std::to_string((i * 7919) % 3001)));
    WSourcesRows rows;
    rows.SetCollection(&c);
    rows.EnsureIterator();
    int pumps = 0;
    bool reentered = false, cellsEmpty = true;
    plat::hooks().processMessages = [&] {
        ++pumps;
        EXPECT_TRUE(rows.IsSorting());
        reentered |= rows.SortByColumn(5);
        cellsEmpty &= rows.Row(1)[0].empty();
        if (pumps == 2) rows.SetCollection(nullptr); // the file goes away mid-sort
    };
    EXPECT_TRUE(rows.SortByColumn(4));
    EXPECT_GE(pumps, 2);
    EXPECT_FALSE(reentered);
    EXPECT_TRUE(cellsEmpty);
    EXPECT_FALSE(rows.IsSorting());
    EXPECT_FALSE(rows.HasIterator());
    EXPECT_EQ(Global::BusyCount(), 0);
}

TEST_F(SourcesRowsTest, WidthSettingsAndTitles) {
    EXPECT_EQ(WSourcesRows::WidthSetting(0), opt::SrcCol1);
    EXPECT_EQ(WSourcesRows::WidthSetting(4), opt::SrcCol5);
    EXPECT_EQ(WSourcesRows::WidthSetting(5), opt::SrcCol9);
    EXPECT_EQ(WSourcesRows::WidthSetting(6), opt::SrcCol6);
    EXPECT_EQ(WSourcesRows::WidthSetting(8), opt::SrcCol8);
    EXPECT_EQ(WSourcesRows::WidthSetting(9), 0);
    EXPECT_STREQ(WSourcesRows::ColumnTitle(0), "  #");
    EXPECT_STREQ(WSourcesRows::ColumnTitle(8), "Call Number");
}

} // namespace
