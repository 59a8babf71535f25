#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>

#include "app/ui/DrawGrid.h"
#include "app/ui/IslandsView.h"
#include "columns/IslandIterator.h"
#include "columns/ListColumns.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

// Islands by size: {1,3,5,6}, {2,4}, {7}.
struct Islands3 {
    WDefaultSettings settings;
    WMemCollection c;
    WListColumns cols{nullptr, "IslandList"};
    Islands3() {
        for (int i = 1; i <= 7; ++i) c.AddPerson("P" + std::to_string(i) + " /X/", i % 2 ? 'M' : 'F');
        c.AddFamily(1, 3).Child(6);
        c.AddFamily(5, 0).Child(1);
        c.AddFamily(2, 4);
        cols.SetColumnList("1,7");
        cols.SetCollection(&c);
    }
};

bool AllWhite(TDrawGrid* g, std::int32_t row, int col) {
    QImage img(120, 18, QImage::Format_RGB32);
    img.fill(Qt::black);
    {
        QPainter p(&img);
        g->OnDrawCell(p, QRect(0, 0, 120, 18), row, col, false);
    }
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixel(x, y) != qRgb(255, 255, 255)) return false;
    return true;
}

TEST(IslandsView, GridsWhiteUntilComputedThenMembers) {
    Islands3 f;
    WOptions::SetBool(opt::CalcIslands, false);
    TIslandsView v;
    TLeftIslandsPanel left;
    v.SetLeftPanel(&left);
    v.SetColumns(&f.cols);
    v.SetCollection(&f.c);
    v.Fill(1);
    EXPECT_FALSE(f.c.IslandsComputed());
    EXPECT_EQ(v.Grid()->RowCount(), 1);
    EXPECT_TRUE(AllWhite(v.Grid(), 1, 0));
    EXPECT_TRUE(AllWhite(left.Grid(), 1, 0));

    v.FillIslandsPanel(true);
    EXPECT_TRUE(f.c.IslandsComputed());
    EXPECT_EQ(v.Grid()->RowCount(), 3);
    EXPECT_EQ(left.Grid()->RowCount(), 3);
    EXPECT_EQ(v.FoundLabel()->text(), QStringLiteral("3 islands"));
    EXPECT_EQ(left.CountLabel()->text(), QStringLiteral("3 islands"));
    EXPECT_FALSE(AllWhite(v.Grid(), 1, 1));
    EXPECT_TRUE(AllWhite(v.Grid(), 4, 1)); // beyond the islands

    v.SelectIsland(2);
    ASSERT_NE(v.IslandIterator(), nullptr);
    EXPECT_EQ(v.IslandIterator()->Count(), 2);
    EXPECT_EQ(v.IndividualsLabel()->text(), QStringLiteral("2 Individuals"));
    EXPECT_EQ(f.cols.GetSortIterator(), v.IslandIterator());
    // The same row again keeps the list.
    WIslandIterator* first = v.IslandIterator();
    v.SelectIsland(2);
    EXPECT_EQ(v.IslandIterator(), first);

    // Title click sorts the members; double click moves to one.
    emit v.IndGrid()->titlePressed(0);
    emit v.IndGrid()->titlePressed(0);
    EXPECT_EQ(v.IslandIterator()->GetItem(1), 4);
    QSignalSpy chosen(&v, &TViewPage::individualChosen);
    emit v.IndGrid()->dblClick(1);
    ASSERT_EQ(chosen.count(), 1);
    EXPECT_EQ(chosen.at(0).at(0).value<std::int32_t>(), 4);

    v.SetCollection(nullptr);
    EXPECT_EQ(v.IslandIterator(), nullptr);
    EXPECT_EQ(f.cols.GetSortIterator(), nullptr);
}

TEST(IslandsView, LeftPanelRestrictsTheWindow) {
    Islands3 f;
    f.c.ComputeIslands();
    TLeftIslandsPanel left;
    left.SetCollection(&f.c);
    left.Refresh();
    QSignalSpy changed(&left, &TLeftIslandsPanel::islandViewChanged);
    left.SelectRow(2); // box not ticked: nothing
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(f.c.GetCount(), 7);

    left.UseIslandsBox()->setChecked(true);
    left.SelectRow(2);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(left.UseIslandsBox()->text(), QStringLiteral("Use Island (2)"));
    EXPECT_EQ(f.c.GetCount(), 2);
    EXPECT_EQ(f.c.ViewToIndex(1), 2);
    left.SelectRow(2); // the same row: nothing
    EXPECT_EQ(changed.count(), 1);
    left.SelectRow(9); // beyond the islands: remembered only
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(left.ChosenRow(), 9);
    f.c.ClearView();
}

} // namespace
