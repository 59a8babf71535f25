#include <fstream>
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTest>

#include "app/QuickHelp.h"
#include "app/ui/SourcesView.h"
#include "app/ui/ViewGrid.h"
#include "gedcom/FormatString.h"
#include "model/Options.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/ui/Ink.h"
#include "support/ui/TestOutput.h"

namespace {

// A press on a column title, where the mouse would make it.
void pressTitle(TSourcesView& v, int column) {
    QHeaderView* h = v.GridHeader();
    const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

struct SourcesViewTest : ::testing::Test {
    WDefaultSettings settings;
    std::vector<std::string> offered;
    void SetUp() override {
        QuickHelp::SetDialogHandler([this](const QuickHelpEntry& e) {
            offered.push_back(e.Title);
            return false;
        });
    }
    void TearDown() override { QuickHelp::SetDialogHandler({}); }
};

TEST_F(SourcesViewTest, FileWithoutSourcesAndOnceOnlyQuickHelp) {
    WMemCollection c;
    TSourcesView v;
    v.SetCollection(&c);
    v.Fill(0);
    EXPECT_EQ(v.Grid()->model()->rowCount(), 1); // title plus one empty row
    EXPECT_EQ(v.FoundLabel()->text(), "0 Sources");
    QTest::mouseClick(v.Grid()->viewport(), Qt::LeftButton, {},
                      v.Grid()->visualRect(v.Grid()->model()->index(0, 0)).center());
    EXPECT_TRUE(v.RepoMemo()->toPlainText().isEmpty());
    v.Fill(0);
    EXPECT_EQ(offered, (std::vector<std::string>{"Sources Tab"}));
    QuickHelp::ResetAll();
    v.Fill(0);
    EXPECT_EQ(offered.size(), 2u);
}

TEST_F(SourcesViewTest, SelectSortAndKeepRowAcrossRefill) {
    WMemCollection c;
    memtree::Address a;
    a.city = "Leeds";
    const std::int32_t repo = c.AddRepository({"R1", "Archive", a, {}});
    memtree::Source s1;
    s1.title = "Zeta";
    s1.repository = repo;
    c.AddSource(s1);
    memtree::Source s2;
    s2.title = "Alpha";
    s2.note = {"first", "second"};
    c.AddSource(s2);
    TSourcesView v;
    v.resize(800, 500);
    v.SetCollection(&c);
    v.Fill(0);
    EXPECT_EQ(v.FoundLabel()->text(), "2 Sources");
    EXPECT_EQ(v.DetailText(0), "Zeta");
    EXPECT_EQ(v.RepoMemo()->toPlainText(), "Archive\nLeeds");
    v.Grid()->setCurrentIndex(v.Grid()->model()->index(1, 0));
    EXPECT_EQ(v.DetailText(0), "Alpha");
    EXPECT_EQ(v.NoteMemo()->toPlainText(), "first\nsecond");

    pressTitle(v, 4);
    EXPECT_EQ(v.GridHeader()->SortColumn(), 4);
    EXPECT_TRUE(v.GridHeader()->SortAscending());
    EXPECT_EQ(v.Grid()->model()->index(0, 4).data().toString(), "Alpha");
    EXPECT_EQ(v.DetailText(0), "Zeta"); // the details follow the chosen row's new source
    pressTitle(v, 4);
    EXPECT_FALSE(v.GridHeader()->SortAscending());
    EXPECT_EQ(v.Grid()->model()->index(0, 4).data().toString(), "Zeta");

    // A new file keeps the chosen row and shows its details again.
    v.SetCollection(&c);
    v.Fill(0);
    EXPECT_EQ(v.GridRow(), 2);
    EXPECT_EQ(v.DetailText(0), "Alpha");
    EXPECT_EQ(v.GridHeader()->SortColumn(), 0); // the new list starts in file order

    v.SetShowRaw(true);
    EXPECT_EQ(v.SourceRow(), 2);
    v.SetCollection(nullptr);
    v.Fill(0);
    EXPECT_TRUE(v.FoundLabel()->text().isEmpty());
    EXPECT_TRUE(v.NoteMemo()->toPlainText().isEmpty());
}

TEST_F(SourcesViewTest, ColumnWidthsGoToTheirSettings) {
    TSourcesView v;
    EXPECT_EQ(v.Grid()->columnWidth(5), WOptions::GetInt(opt::SrcCol9));
    v.Grid()->setColumnWidth(5, 77);
    v.Grid()->setColumnWidth(8, 91);
    v.SaveColumnWidths();
    EXPECT_EQ(WOptions::GetInt(opt::SrcCol9), 77);
    EXPECT_EQ(WOptions::GetInt(opt::SrcCol8), 91);
    EXPECT_EQ(WOptions::GetInt(opt::SrcCol6), 150);
}

TEST_F(SourcesViewTest, RealFileRawRecordAndPicture) {
    BRENTHAUL_NEED_SHARED("TGC55C.ged");
    const std::string path = tsupport::sharedFile("TGC55C.ged");
    std::string error;
    auto c = FormatString::OpenCollection(path, error);
    ASSERT_NE(c, nullptr) << error;
    ASSERT_TRUE(c->Open());
    TSourcesView v;
    v.resize(1000, 640);
    v.SetCollection(c.get());
    v.Fill(0);
    ASSERT_GT(c->GetSourceCount(), 1);
    EXPECT_EQ(v.Grid()->model()->rowCount(), c->GetSourceCount());
    EXPECT_FALSE(v.Grid()->model()->index(0, 4).data().toString().isEmpty());
    pressTitle(v, 4);
    v.show();
    QTest::qWait(20);
    // The grid draws its rows and nothing below; a memo shows ink exactly when it has text.
    const QImage img = v.grab().toImage();
    const auto areas = tsupport::tableAreasIn(&v, v.Grid());
    EXPECT_GT(tsupport::darkPixels(img, areas.rows), 100);
    EXPECT_EQ(tsupport::darkPixels(img, areas.below), 0);
    ASSERT_FALSE(v.NoteMemo()->toPlainText().isEmpty());
    for (const QPlainTextEdit* memo : {v.NoteMemo(), v.TextMemo(), v.RepoMemo()}) {
        const int ink = tsupport::darkPixels(img, tsupport::areaIn(&v, memo->viewport()));
        if (memo->toPlainText().isEmpty())
            EXPECT_EQ(ink, 0);
        else
            EXPECT_GT(ink, 100);
    }
    v.SetShowRaw(true);
    EXPECT_TRUE(v.RawMemo()->toPlainText().startsWith("0 @"));
}

} // namespace
