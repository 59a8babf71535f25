// The report factory builds each print page's form from a plain choice.
#include <gtest/gtest.h>

#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "reports/ReportDescendants.h"
#include "reports/ReportFactory.h"
#include "reports/ReportFamily.h"
#include "reports/ReportInd.h"
#include "reports/ReportInfo.h"
#include "reports/ReportIsland.h"
#include "reports/ReportList.h"
#include "reports/ReportPedigree.h"
#include "support/MemCollection.h"

namespace {

struct ReportFactory : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    std::int32_t joe = 0, ann = 0, bea = 0, first = 0, second = 0;
    WListColumns cols{&c, "FactoryReport"};
    TReportFactory reports;
    TReportChoice choice;
    void SetUp() override {
        joe = c.AddPerson("Joe /Roe/", 'M');
        ann = c.AddPerson("Ann /Lee/", 'F');
        bea = c.AddPerson("Bea /Kay/", 'F');
        first = c.AddFamily(joe, ann);
        second = c.AddFamily(joe, bea);
        c.AddFamily(c.AddPerson("Dad /Roe/", 'M'), 0).Child(joe);
        cols.SetColumnList("2,7");
        choice.Collection = &c;
        choice.Individual = joe;
        choice.FileName = "Roe tree";
        choice.ListColumns = choice.DesColumns = &cols;
    }
    std::unique_ptr<TABSReportForm> build(int page) {
        choice.Page = page;
        return reports.Build(choice);
    }
};

TEST_F(ReportFactory, EachPageBuildsItsForm) {
    auto info = build(rpGeneral);
    ASSERT_NE(dynamic_cast<TReportInfoForm*>(info.get()), nullptr);
    EXPECT_EQ(info->Title(), "General File Information");
    EXPECT_NE(dynamic_cast<TReportIndForm*>(build(rpIndividual).get()), nullptr);

    // The second marriage names Bea and its own family on both couple pages.
    choice.Marriage = 2;
    auto fam = build(rpFamily);
    auto* f = dynamic_cast<TReportFamilyForm*>(fam.get());
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->Spouse, bea);
    EXPECT_EQ(f->Family, second);
    choice.Cascading = true;
    auto ped = build(rpPedigree);
    auto* p = dynamic_cast<TReportPed4Form*>(ped.get());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Family, second);
    EXPECT_TRUE(p->Cascading);
    choice.Marriage = 1;
    ped = build(rpPedigree);
    ASSERT_TRUE(ped->Prepare());
    bool spouse = false;
    for (const auto& it : ped->QRPrinter()->Page(1)->Items) spouse = spouse || it.Text == c.GetFullName(ann);
    EXPECT_TRUE(spouse);

    choice.Indent = 5;
    choice.Generations = 3;
    choice.Repeat = true;
    auto des = build(rpDescendants);
    auto* d = dynamic_cast<TReportDesForm*>(des.get());
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(des->Title(), "Descendants of " + c.GetFullName(joe));
    EXPECT_EQ(d->Indent, 5);
    EXPECT_EQ(d->Generations, 3);
    EXPECT_TRUE(d->Repeat);

    choice.Grey = choice.MarkHighlighted = true;
    auto list = build(rpList);
    auto* l = dynamic_cast<TReportListForm*>(list.get());
    ASSERT_NE(l, nullptr);
    EXPECT_EQ(list->Title(), "List");
    EXPECT_TRUE(l->Grey && l->MarkHighlighted);
    ASSERT_TRUE(list->Prepare());
    EXPECT_EQ(l->Row, c.GetCount() + 1);

    auto hl = build(rpHighlighted);
    auto* h = dynamic_cast<TReportListForm*>(hl.get());
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(hl->Title(), "Highlighted List"); // no highlighter: title kept
    EXPECT_FALSE(h->MarkHighlighted);

    choice.Grey = false;
    auto isl = build(rpIslands);
    auto* i = dynamic_cast<TReportIslandForm*>(isl.get());
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(isl->Title(), "Islands");
    EXPECT_FALSE(i->Grey);
    EXPECT_EQ(build(rpPageCount), nullptr);
}

TEST_F(ReportFactory, PagesThatCannotRunBuildNothing) {
    choice.Marriage = 3; // Joe has two
    auto fam = build(rpFamily);
    ASSERT_NE(fam, nullptr);
    EXPECT_EQ(static_cast<TReportFamilyForm*>(fam.get())->Family, 0);
    choice.Individual = 0;
    EXPECT_EQ(build(rpFamily), nullptr);
    EXPECT_EQ(build(rpPedigree), nullptr);
    choice.Collection = nullptr;
    for (int page = rpGeneral; page < rpPageCount; ++page) EXPECT_EQ(build(page), nullptr) << page;
}

TEST_F(ReportFactory, ListIteratorsAreBorrowedOrMadeOnce) {
    ASSERT_EQ(reports.ListIterator(), nullptr);
    auto list = build(rpList);
    WColSortIterator* made = reports.ListIterator();
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(reports.OwnsListIterator());
    EXPECT_EQ(static_cast<TReportListForm*>(list.get())->Iterator, made);
    list = build(rpList);
    EXPECT_EQ(reports.ListIterator(), made) << "kept for the next report";

    build(rpHighlighted);
    ASSERT_NE(reports.HighlightedIterator(), nullptr);
    reports.DropOwnHighlighted();
    EXPECT_EQ(reports.HighlightedIterator(), nullptr);

    WColSortIterator shown("", c.GetCount(), &c);
    reports.Borrow(&shown, &shown);
    EXPECT_FALSE(reports.OwnsListIterator());
    reports.DropOwnHighlighted();
    EXPECT_EQ(reports.HighlightedIterator(), &shown) << "a borrowed one stays";
    list = build(rpList);
    EXPECT_EQ(static_cast<TReportListForm*>(list.get())->Iterator, &shown);
}

} // namespace
