// Descendants, island and list reports: lines, indents, duplicates, column
// wrapping and widths, row colours and markers.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "reports/ReportDescendants.h"
#include "reports/ReportIsland.h"
#include "reports/ReportList.h"
#include "support/MemCollection.h"

namespace {

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

struct Reports : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    std::int32_t root = 0, w1 = 0, w2 = 0, kid1 = 0, kid2 = 0, grand = 0;
    void SetUp() override {
        root = c.AddPerson("Adam /Root/", 'M');
        w1 = c.AddPerson("Eve /One/", 'F');
        w2 = c.AddPerson("Lil /Two/", 'F');
        kid1 = c.AddPerson("Cain /Root/", 'M');
        kid2 = c.AddPerson("Abel /Root/", 'M');
        c.AddFamily(root, w1).Child(kid1);
        c.AddFamily(root, w2).Child(kid2);
        grand = c.AddPerson("Enoch /Root/", 'M');
        c.AddFamily(kid1, 0).Child(grand);
    }
    std::unique_ptr<TReportDesForm> des(int indent, bool repeat, std::int32_t who) {
        auto f = std::make_unique<TReportDesForm>();
        f->SetOptions(indent, 32, repeat, 36, false, false);
        f->SetCollection(&c);
        f->SetColumns(nullptr);
        f->SetIndividual(who);
        return f;
    }
};

} // namespace

TEST_F(Reports, DescendantLinesIndentFamiliesDuplicatesAndLoops) {
    auto f = des(3, true, root);
    EXPECT_EQ(f->Title(), "Descendants of " + c.GetFullName(root));
    ASSERT_TRUE(f->Prepare());
    auto t = allTexts(*f);
    // Two families: a line each with the position among them; grandchild
    // (generation 2) indented 2 blanks at indent 3, 1 blank at indent 1.
    EXPECT_TRUE(has(t, "1 - " + c.GetName(root) + " + " + c.GetName(w1) + " [1 of 2]"));
    EXPECT_TRUE(has(t, "1 - " + c.GetName(root) + " + " + c.GetName(w2) + " [2 of 2]"));
    EXPECT_TRUE(has(t, "  3 - " + c.GetName(grand)));
    EXPECT_EQ(des(1, true, root)->LineText(3), " 3 - " + c.GetName(grand));
    // A second run (export lays out twice) prints the same.
    ASSERT_TRUE(f->Prepare());
    EXPECT_EQ(allTexts(*f), t);

    // Reached twice without repeats: once more, marked, not expanded.
    c.AddFamily(kid2, 0).Child(grand);
    t = allTexts(*[&] {
        auto g = des(3, false, root);
        g->Prepare();
        return g;
    }());
    EXPECT_EQ(std::count(t.begin(), t.end(), "  3 - " + c.GetName(grand) + " (DUPLICATED)"), 1);
    // Someone his own descendant: the report ends.
    c.AddFamily(grand, 0).Child(root);
    auto g = des(3, true, root);
    ASSERT_TRUE(g->Prepare());
    EXPECT_LT(g->DesIterator->Count(), 1000);
}

TEST_F(Reports, ListColumnsWrapAndScaleWithScreenFont) {
    EXPECT_EQ(TReportListForm::PrintedWidth(140, 12), 100);
    EXPECT_EQ(TReportListForm::PrintedWidth(120, 10), 100);
    EXPECT_EQ(TReportListForm::PrintedWidth(140, 8), 140);

    WListColumns cols(&c, "TestListReport");
    cols.SetColumnList("2,7,6");
    WColSortIterator it("", c.GetCount(), &c);
    TReportListForm narrow;
    narrow.SetLayout(false, false, false);
    narrow.SetColumns(&cols, &it);
    EXPECT_EQ(narrow.ColumnCount, 3);
    EXPECT_EQ(narrow.DetailBand->Height, 15);

    for (int i = 1; i <= 3; ++i) cols.SetColumnWidth(i, 300);
    TReportListForm wide;
    wide.SetLayout(false, true, false);
    const double before = wide.DetailBand->Height, childBefore = wide.ChildBand->Height;
    wide.SetColumns(&cols, &it);
    EXPECT_EQ(wide.DetailBand->Height, before + 15); // one wrap: one row step more
    EXPECT_EQ(wide.ChildBand->Height, childBefore + 15);
    EXPECT_EQ(wide.ColumnLabels[2]->Left, 5);
    EXPECT_GT(wide.ColumnLabels[2]->Top, wide.ColumnLabels[0]->Top);
}

TEST_F(Reports, ListRowsGreyMarkAndCells) {
    WListColumns cols(&c, "TestListReport");
    cols.SetColumnList("7,6");
    cols.SetColumnWidth(1, 160);
    cols.SetColumnWidth(2, 160);
    WColSortIterator it("", c.GetCount(), &c);
    TReportListForm f;
    f.SetTitle("List");
    f.SetLayout(true, false, true);
    f.SetCollection(&c);
    f.SetColumns(&cols, &it);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, cols.CellText(1, root)));
    EXPECT_TRUE(has(t, cols.CellText(2, grand)));
    int greyFills = 0;
    for (const auto& item : f.QRPrinter()->Page(1)->Items)
        if (item.Kind == TQRItemKind::Fill && item.Color == 0x00E0E0E0) ++greyFills;
    EXPECT_EQ(greyFills, (c.GetCount() + 1) / 2);
    // No highlighter: no marker.
    EXPECT_FALSE(has(t, "*"));

    // Without an iterator the band prints once, empty.
    TReportListForm empty;
    empty.SetColumns(&cols, nullptr);
    empty.SetCollection(&c);
    ASSERT_TRUE(empty.Prepare());
    EXPECT_EQ(empty.QRPrinter()->PageCount(), 1);
    EXPECT_EQ(empty.Row, 1);
}

TEST_F(Reports, IslandLinesAndEmptyList) {
    c.AddPerson("Solo /Island/", 'F');
    TReportIslandForm f;
    f.SetTitle("Islands");
    f.SetCollection(&c);
    f.SetLayout(true, true);
    ASSERT_TRUE(f.Prepare());
    auto t = allTexts(f);
    EXPECT_TRUE(has(t, "1st individual in island"));
    ASSERT_EQ(c.GetIslandCount(), 2);
    EXPECT_TRUE(has(t, "6")); // the big island's size
    EXPECT_TRUE(has(t, c.GetName(c.GetIslandFirstIndividual(2))));
    EXPECT_EQ(f.Row, 3);

    WMemCollection none;
    TReportIslandForm e;
    e.SetCollection(&none);
    ASSERT_TRUE(e.Prepare());
    EXPECT_EQ(e.QRPrinter()->PageCount(), 1);
    EXPECT_EQ(e.Row, 1);
}
