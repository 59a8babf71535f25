#include <functional>
#include <gtest/gtest.h>

#include <QLabel>
#include <QSignalSpy>
#include <QToolButton>

#include "app/ui/DrawGrid.h"
#include "app/ui/ListView.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "highlight/HLGroup.h"
#include "highlight/HLListIterator.h"
#include "highlight/HLRegister.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

struct People {
    WDefaultSettings settings;
    WMemCollection c;
    WListColumns cols{nullptr, "List"};
    People() {
        c.AddPerson("Carl /Zed/", 'M');
        c.AddPerson("Anna /Berg/", 'F');
        c.AddPerson("Bert /Moss/", 'M');
        c.AddPerson("Dora /Ash/", 'F');
        cols.SetColumnList("1,7"); // index, surname
    }
};

std::vector<std::int32_t> Shown(TListView& v) {
    std::vector<std::int32_t> out;
    for (std::int32_t p = 1; v.ListIterator() && p <= v.ListIterator()->Count(); ++p)
        out.push_back(v.ListIterator()->GetItem(p));
    return out;
}

TEST(ListView, AllHighlightedAndTitleSort) {
    People f;
    HLRegister::RegisterConditionClasses();
    WOptions::SetBool(opt::SortFirstColumn, false);
    TListView v;
    v.SetColumns(&f.cols);
    v.SetCollection(&f.c);
    v.Fill(1);
    EXPECT_EQ(Shown(v), (std::vector<std::int32_t>{1, 2, 3, 4}));
    EXPECT_EQ(v.CountLabel()->text(), QStringLiteral("4 Individuals"));
    EXPECT_EQ(v.Grid()->RowCount(), 4);

    // A title click sorts by that column; the same column again reverses.
    emit v.Grid()->titlePressed(1);
    EXPECT_EQ(Shown(v), (std::vector<std::int32_t>{4, 2, 3, 1}));
    emit v.Grid()->titlePressed(1);
    EXPECT_EQ(Shown(v), (std::vector<std::int32_t>{1, 3, 2, 4}));

    // Highlighted tab without a group: no list, no count.
    QSignalSpy help(&v, &TListView::quickHelp);
    v.SetHighlightedOnly(true);
    v.Fill(1);
    EXPECT_EQ(v.ListIterator(), nullptr);
    EXPECT_TRUE(v.CountLabel()->text().isEmpty());
    EXPECT_EQ(v.Grid()->RowCount(), 1);
    ASSERT_EQ(help.count(), 1);
    EXPECT_EQ(help.at(0).at(0).toInt(), 8);

    // With a group: only the highlighted, in list order.
    WHLGroup g(&f.c);
    g.SetConditions("+17:F");
    g.Recalculate();
    v.SetHighLighter(&g);
    v.Fill(1);
    ASSERT_NE(v.HLIterator(), nullptr);
    EXPECT_EQ(v.ListIterator(), v.HLIterator());
    EXPECT_EQ(v.CountLabel()->text(), QStringLiteral("2 Individuals"));

    // Back on the List tab the full list is shown again.
    v.SetHighlightedOnly(false);
    v.Fill(1);
    EXPECT_EQ(v.ListIterator(), v.AllIterator());
    EXPECT_EQ(v.ListIterator()->Count(), 4);
    v.SetHighLighter(nullptr);

    // Find in list selects the current individual's row.
    v.SetFindInList(true);
    v.Fill(3);
    EXPECT_EQ(v.Grid()->Row(), v.ListIterator()->IndexOf(3) ? v.ListRow() : -1);
    EXPECT_EQ(v.ListIterator()->GetItem(v.ListRow()), 3);
}

TEST(ListView, ColumnsButtonAndWidths) {
    People f;
    TListView v;
    v.SetColumns(&f.cols);
    v.SetCollection(&f.c);
    v.Fill(2);
    v.Grid()->setColumnWidth(1, 123);
    int asked = 0;
    v.SetColumnChooser([&](WListColumns& set, std::string& list) {
        ++asked;
        // The widths were saved before the dialog.
        EXPECT_EQ(set.GetColumnWidth(2), 123);
        list = "7,6,1";
        return true;
    });
    v.findChild<QToolButton*>()->click();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(f.cols.GetColumnList(), "7,6,1");
    EXPECT_EQ(v.Grid()->ColumnCount(), 3);
    // The surname column keeps its width in its new place.
    EXPECT_EQ(v.Grid()->columnWidth(0), 123);
}

TEST(ListView, RefillDuringSortKeepsTheIterator) {
    People f;
    WOptions::SetBool(opt::SortFirstColumn, false);
    for (int i = 0; i < 300; ++i) f.c.AddPerson("P /N" + std::to_string(i % 17) + "/", 'M');
    TListView v;
    v.SetColumns(&f.cols);
    v.SetCollection(&f.c);
    v.Fill(1);
    WColSortIterator* before = v.AllIterator();
    ASSERT_NE(before, nullptr);

    // While the sort pumps messages the window marks the views stale and
    // refills (a highlight change, a tab change): the iterator being sorted
    // must survive; the refill happens after the sort.
    std::function<void()> saved = plat::hooks().processMessages;
    int pumps = 0;
    bool sameDuringPump = true;
    plat::hooks().processMessages = [&] {
        ++pumps;
        v.MarkStale();
        v.Fill(1);
        v.SetCollection(nullptr);
        v.SetCollection(&f.c);
        sameDuringPump = sameDuringPump && v.AllIterator() == before;
    };
    emit v.Grid()->titlePressed(1);
    plat::hooks().processMessages = saved;
    EXPECT_GT(pumps, 0);
    EXPECT_TRUE(sameDuringPump);
    EXPECT_TRUE(v.IsStale());
    v.Fill(1);
    EXPECT_FALSE(v.IsStale());
    EXPECT_EQ(v.ListIterator()->Count(), 304);
}

} // namespace
