// The print dialog builds the chart and list reports of pages 3 to 7.
#include "columns/ListColumns.h"
#include "reports/ReportDescendants.h"
#include "reports/ReportIsland.h"
#include "reports/ReportList.h"
#include "reports/ReportPedigree.h"
#include "reports/ui/PrintDialog.h"
#include "support/MemCollection.h"

#include <gtest/gtest.h>

#include <QListWidget>
#include <QRadioButton>

namespace {
struct BuildDlg : TPrintDlg {
    using TPrintDlg::BuildReport;
};
} // namespace

TEST(ListReportDialog, PagesThreeToSevenBuildTheirForms) {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    auto joe = c.AddPerson("Joe /Roe/", 'M');
    auto ann = c.AddPerson("Ann /Lee/", 'F');
    auto fam = c.AddFamily(joe, ann);
    c.AddFamily(c.AddPerson("Dad /Roe/", 'M'), 0).Child(joe);
    WListColumns cols(&c, "DialogListReport");
    cols.SetColumnList("2,7");

    BuildDlg dlg;
    dlg.SelectPage(3);
    dlg.SetCollection(&c, joe, 1);
    dlg.SetColumns(&cols, &cols);
    dlg.rbCascading->setChecked(true);

    auto ped = dlg.BuildReport(3);
    auto* p = dynamic_cast<TReportPed4Form*>(ped.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Family, std::int32_t(fam));
    EXPECT_TRUE(p->Cascading);
    ASSERT_TRUE(p->Prepare());
    bool spouse = false;
    for (const auto& it : p->QRPrinter()->Page(1)->Items)
        spouse = spouse || it.Text == c.GetFullName(ann);
    EXPECT_TRUE(spouse);

    auto des = dlg.BuildReport(4);
    ASSERT_NE(dynamic_cast<TReportDesForm*>(des.get()), nullptr);
    EXPECT_EQ(des->Title(), "Descendants of " + c.GetFullName(joe));

    ASSERT_EQ(dlg.ListIterator, nullptr);
    auto list = dlg.BuildReport(5);
    ASSERT_NE(dynamic_cast<TReportListForm*>(list.get()), nullptr);
    ASSERT_NE(dlg.ListIterator, nullptr);   // made and owned by the dialog
    EXPECT_TRUE(dlg.OwnsListIterator);
    EXPECT_EQ(list->Title(), "List");
    ASSERT_TRUE(list->Prepare());
    EXPECT_EQ(static_cast<TReportListForm*>(list.get())->Row, c.GetCount() + 1);

    auto hl = dlg.BuildReport(6);
    ASSERT_NE(hl, nullptr);
    EXPECT_NE(dlg.HLIterator, nullptr);
    EXPECT_EQ(hl->Title(), "Highlighted List");   // no highlighter: title kept

    auto isl = dlg.BuildReport(7);
    ASSERT_NE(dynamic_cast<TReportIslandForm*>(isl.get()), nullptr);
    EXPECT_EQ(isl->Title(), "Islands");

    // Pedigree needs an individual; nothing needs no collection.
    dlg.Individual = 0;
    EXPECT_EQ(dlg.BuildReport(3), nullptr);
    dlg.SetCollection(nullptr, 0, 0);
    EXPECT_EQ(dlg.BuildReport(7), nullptr);
}
