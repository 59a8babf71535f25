// Pedigree charts: the continuation queue, single and cascading sheets,
// pedigree collapse and ancestry loops.
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/Options.h"
#include "reports/IntFIFO.h"
#include "reports/ReportPedigree.h"
#include "support/MemCollection.h"

namespace {

std::vector<std::string> pageTexts(TQuickRep& r, int page) {
    std::vector<std::string> out;
    if (const TQRPreparedPage* p = r.QRPrinter()->Page(page))
        for (const auto& it : p->Items)
            if (it.Kind == TQRItemKind::Text) out.push_back(it.Text);
    return out;
}

long countOf(const std::vector<std::string>& v, const std::string& s) { return std::count(v.begin(), v.end(), s); }
bool has(const std::vector<std::string>& v, const std::string& s) { return countOf(v, s) > 0; }

// Gives person complete ancestors for depth generations; names "A<n> /X/".
void addAncestors(WMemCollection& c, std::int32_t person, int depth, int& counter) {
    if (depth == 0) return;
    auto f = c.AddPerson("A" + std::to_string(++counter) + " /X/", 'M').Birth("1800");
    auto m = c.AddPerson("A" + std::to_string(++counter) + " /X/", 'F');
    c.AddFamily(f, m).Marriage("1820", "Town").Child(person);
    addAncestors(c, f, depth - 1, counter);
    addAncestors(c, m, depth - 1, counter);
}

struct Pedigree : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;

    std::unique_ptr<TReportPed4Form> run(std::int32_t root, bool cascading, std::int32_t family = 0) {
        auto f = std::make_unique<TReportPed4Form>();
        f->SetIndividual(root);
        f->SetCascading(cascading);
        f->SetCollection(&c);
        f->SetFamily(family);
        f->SetFileName("test");
        EXPECT_TRUE(f->Prepare());
        return f;
    }
};

} // namespace

TEST(IntFIFO, OrderAndSlotReuse) {
    WIntFIFO q;
    std::int32_t v = 0;
    q.Push(5);
    q.Push(7);
    ASSERT_TRUE(q.Pop(v));
    EXPECT_EQ(v, 5);
    q.Push(9); // takes the slot 5 left
    EXPECT_EQ(q.SlotCount(), 2);
    ASSERT_TRUE(q.Pop(v));
    EXPECT_EQ(v, 7);
    ASSERT_TRUE(q.Pop(v));
    EXPECT_EQ(v, 9);
    EXPECT_FALSE(q.Pop(v));
    EXPECT_EQ(q.Count(), 0);
    EXPECT_EQ(q.Head(), 0);

    // A long run of a short queue stays within a few slots.
    for (int i = 0; i < 200000; ++i) {
        q.Push(i);
        q.Push(i + 1);
        ASSERT_TRUE(q.Pop(v));
        ASSERT_TRUE(q.Pop(v));
        ASSERT_EQ(v, i + 1);
    }
    EXPECT_EQ(q.SlotCount(), 2);
}

TEST_F(Pedigree, SingleSheetIsOneChartWithoutContinuations) {
    auto root = c.AddPerson("Root /X/", 'M').Birth("1900", "Here");
    int n = 0;
    addAncestors(c, root, 5, n);
    auto f = run(root, false);
    EXPECT_EQ(f->QRPrinter()->PageCount(), 1);
    auto t = pageTexts(*f, 1);
    EXPECT_TRUE(has(t, "Pedigree Chart"));
    EXPECT_TRUE(has(t, "Root /X/") || has(t, "Root X"));
    EXPECT_FALSE(has(t, "Chart No."));
    for (int box = 8; box <= 15; ++box) EXPECT_TRUE(f->Boxes[size_t(box)].labContinue->Caption.empty());
    // 15 boxes, each numbered.
    for (int box = 1; box <= 15; ++box) EXPECT_TRUE(has(t, std::to_string(box))) << box;
}

TEST_F(Pedigree, CascadingContinuesEachOuterPersonInBoxOrder) {
    auto root = c.AddPerson("Root /X/", 'M');
    int n = 0;
    addAncestors(c, root, 4, n); // outer column has parents, their parents none
    auto f = run(root, true);
    ASSERT_EQ(f->QRPrinter()->PageCount(), 9);
    auto first = pageTexts(*f, 1);
    EXPECT_TRUE(has(first, "Chart No."));
    for (int chart = 2; chart <= 9; ++chart) EXPECT_TRUE(has(first, std::to_string(chart))) << chart;
    for (int chart = 2; chart <= 9; ++chart) {
        auto t = pageTexts(*f, chart);
        EXPECT_TRUE(has(t, std::to_string(chart)));
        EXPECT_TRUE(has(t, "No. 1 on this chart is the same as no. " + std::to_string(chart + 6) + " on chart no. 1"))
            << chart;
    }
    // Printing again gives the same charts.
    ASSERT_TRUE(f->Prepare());
    EXPECT_EQ(f->QRPrinter()->PageCount(), 9);
}

TEST_F(Pedigree, CollapseAndLoopsPrintEachPersonOnce) {
    // Cousins marry: the root's two grandfathers are the same man.
    auto g = c.AddPerson("Grand /G/", 'M');
    auto gw1 = c.AddPerson("Wife1 /W/", 'F');
    auto gw2 = c.AddPerson("Wife2 /W/", 'F');
    auto gf = c.AddPerson("Great /G/", 'M');
    c.AddFamily(gf, 0).Child(g);
    auto father = c.AddPerson("Father /F/", 'M');
    auto mother = c.AddPerson("Mother /M/", 'F');
    c.AddFamily(g, gw1).Child(father);
    c.AddFamily(g, gw2).Child(mother);
    auto root = c.AddPerson("Root /R/", 'F');
    auto fam = c.AddFamily(father, mother);
    c.Family(fam).Child(root);
    auto spouse = c.AddPerson("Spouse /S/", 'M');
    auto own = c.AddFamily(spouse, root).Marriage("1950", "Chapel");

    auto f = run(root, true, own);
    auto t = pageTexts(*f, 1);
    EXPECT_EQ(f->QRPrinter()->PageCount(), 1);
    EXPECT_TRUE(has(t, "    Already printed."));
    EXPECT_TRUE(has(t, "    See #4 on Page 1"));
    EXPECT_EQ(countOf(t, c.GetFullName(gf)), 1); // his line is not drawn twice
    EXPECT_TRUE(has(t, c.GetFullName(spouse)));
    EXPECT_TRUE(has(t, "(Spouse of #1)"));
    EXPECT_TRUE(has(t, "M:"));

    // Without a chosen family: no spouse, no marriage row for box 1.
    auto g2 = run(root, false);
    EXPECT_TRUE(g2->labSpouse->Caption.empty());

    // Someone his own ancestor, deep enough to cascade: terminates.
    WMemCollection loop;
    auto a = loop.AddPerson("Loop /A/", 'M');
    std::int32_t child = a;
    for (int i = 0; i < 12; ++i) {
        auto p = loop.AddPerson("P" + std::to_string(i) + " /L/", 'M');
        loop.AddFamily(p, 0).Child(child);
        child = p;
    }
    loop.AddFamily(a, 0).Child(child); // the top of the line is a's child
    TReportPed4Form lf;
    lf.SetIndividual(a);
    lf.SetCascading(true);
    lf.SetCollection(&loop);
    ASSERT_TRUE(lf.Prepare());
    EXPECT_GE(lf.QRPrinter()->PageCount(), 2);
    EXPECT_LE(lf.QRPrinter()->PageCount(), 13);
}

TEST_F(Pedigree, NoParentsNoCollection) {
    auto root = c.AddPerson("Alone /A/", 'M');
    auto f = run(root, true);
    EXPECT_EQ(f->QRPrinter()->PageCount(), 1);
    for (int box = 2; box <= 15; ++box) EXPECT_TRUE(f->Boxes[size_t(box)].labName->Caption.empty());
    EXPECT_FALSE(has(pageTexts(*f, 1), "2"));
}

TEST_F(Pedigree, DeepCascadeCountsChartsPerThreeGenerations) {
    auto root = c.AddPerson("Root /X/", 'M');
    int n = 0;
    addAncestors(c, root, 12, n);
    auto f = run(root, true);
    // Chart roots stand at generations 0, 3, 6 and 9: 1 + 8 + 64 + 512.
    EXPECT_EQ(f->QRPrinter()->PageCount(), 585);
    EXPECT_EQ(f->ChartCounter, 585);
    EXPECT_EQ(f->RootQueue.Count(), 0);
}
