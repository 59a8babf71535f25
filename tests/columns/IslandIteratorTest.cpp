// Island iterators and the collection's island view.
#include <gtest/gtest.h>
#include <vector>

#include "columns/IslandIterator.h"
#include "model/Islands.h"
#include "support/MemCollection.h"

namespace {

std::vector<std::int32_t> Items(WColSortIterator& it) {
    std::vector<std::int32_t> v;
    for (std::int32_t p = 1; p <= it.Count(); ++p) v.push_back(it.GetItem(p));
    return v;
}

// Islands: {1,3,5,6} (largest), {2,4}, {7} alone.
struct Islands3 {
    WMemCollection c;
    Islands3() {
        for (int i = 1; i <= 7; ++i) c.AddPerson("P" + std::to_string(i) + " /X/", i % 2 ? 'M' : 'F');
        c.AddFamily(1, 3).Child(6);
        c.AddFamily(5, 0).Child(1);
        c.AddFamily(2, 4);
    }
};

TEST(IslandIterator, MembersAscendingBySortedPosition) {
    Islands3 f;
    auto largest = IslandView::CreateIslandIterator(f.c, 1); // computes the islands
    ASSERT_TRUE(largest);
    EXPECT_EQ(Items(*largest), (std::vector<std::int32_t>{1, 3, 5, 6}));
    auto second = IslandView::CreateIslandIterator(f.c, 2);
    ASSERT_TRUE(second);
    EXPECT_EQ(Items(*second), (std::vector<std::int32_t>{2, 4}));
    EXPECT_FALSE(IslandView::CreateIslandIterator(f.c, 4));
    EXPECT_FALSE(IslandView::CreateIslandIterator(f.c, 0));

    // Island 0 or tables not computed: an empty list; once the tables
    // exist the fill runs, and only once.
    WMemCollection other;
    other.AddPerson("A /B/");
    WIslandIterator early("", 1, &other, &other.Islands(), 0);
    EXPECT_EQ(early.Count(), 0);
    other.ComputeIslands();
    WIslandIterator zero("", 0, &other, &other.Islands(), 0);
    EXPECT_EQ(zero.Count(), 0);
    early.Sort();
    early.Sort();
    EXPECT_EQ(Items(early), (std::vector<std::int32_t>{1}));
}

TEST(IslandIterator, IslandViewRestrictsAndRenumbers) {
    Islands3 f;
    ASSERT_TRUE(IslandView::SetIslandView(f.c, 2));
    EXPECT_EQ(f.c.GetCount(), 2);
    EXPECT_EQ(f.c.ViewToIndex(1), 2);
    EXPECT_EQ(f.c.ViewToIndex(2), 4);
    EXPECT_EQ(f.c.IndexToView(4), 2);
    // A second choice replaces the view (islands stay as computed for the whole file).
    ASSERT_TRUE(IslandView::SetIslandView(f.c, 1));
    EXPECT_EQ(f.c.GetCount(), 4);
    // Beyond the island count: no view, the whole file again.
    EXPECT_FALSE(IslandView::SetIslandView(f.c, 9));
    EXPECT_EQ(f.c.GetView(), nullptr);
    EXPECT_EQ(f.c.GetCount(), 7);
}

} // namespace
