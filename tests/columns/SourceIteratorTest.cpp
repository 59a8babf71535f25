// The Sources view's iterator.
#include <gtest/gtest.h>
#include <set>

#include "columns/SourceIterator.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

std::vector<std::int32_t> order(const WSourceIterator& it) {
    std::vector<std::int32_t> v;
    for (std::int32_t p = 1; p <= it.Count(); ++p) v.push_back(it.GetSortedItem(p));
    return v;
}

memtree::Source source(const std::string& title, const std::string& author, bool note) {
    memtree::Source s;
    s.title = title;
    s.author = author;
    if (note) s.note = {"a note"};
    return s;
}

struct Sources {
    WMemCollection c;
    Sources() {
        c.AddSource(source("beta", "Zed", true));     // 1
        c.AddSource(source("Alpha", "", false));      // 2
        c.AddSource(source("gamma", "adams", true));  // 3
        c.AddSource(source("ALPHA", "Baker", false)); // 4
    }
};

TEST(SourceIterator, StartsInFileOrderByColumnOne) {
    Sources s;
    WSourceIterator it("", &s.c);
    EXPECT_EQ(it.GetSortColumn(), 1);
    EXPECT_EQ(it.GetSortDirection(), 1);
    EXPECT_EQ(order(it), (std::vector<std::int32_t>{1, 2, 3, 4}));
    // Column 1 again: the direction flips, nothing else.
    it.SortBy(1, true);
    EXPECT_EQ(it.GetSortDirection(), 2);
    EXPECT_EQ(order(it), (std::vector<std::int32_t>{4, 3, 2, 1}));
    EXPECT_EQ(it.GetSortedItem(0), 0);
    EXPECT_EQ(it.GetSortedItem(5), 0);
}

TEST(SourceIterator, TitlesSortWithoutRegardToCase) {
    Sources s;
    WSourceIterator it("", &s.c);
    it.SortBy(5, true);
    EXPECT_EQ(it.GetSortColumn(), 5);
    EXPECT_EQ(it.GetSortDirection(), 1);
    auto v = order(it);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(std::set<std::int32_t>(v.begin(), v.begin() + 2), (std::set<std::int32_t>{2, 4}));
    EXPECT_EQ(v[2], 1);
    EXPECT_EQ(v[3], 3);
    it.SortBy(5, true);
    EXPECT_EQ(it.GetSortedItem(1), 3);
    // Authors: the empty one first, "adams" before "Baker".
    it.SortBy(7, true);
    EXPECT_EQ(order(it), (std::vector<std::int32_t>{2, 3, 4, 1}));
    // Back to file order, ascending.
    it.SortBy(1, true);
    EXPECT_EQ(order(it), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST(SourceIterator, FlagColumnsPutBlanksFirst) {
    Sources s;
    EXPECT_EQ(WSourceIterator::KeyText(s.c, 1, 2), "Y");
    EXPECT_EQ(WSourceIterator::KeyText(s.c, 2, 2), " ");
    EXPECT_EQ(WSourceIterator::KeyText(s.c, 1, 3), " ");
    EXPECT_EQ(WSourceIterator::KeyText(s.c, 1, 4), " ");
    EXPECT_EQ(WSourceIterator::KeyText(s.c, 1, 10), "");
    WSourceIterator it("", &s.c);
    it.SortBy(2, true);
    auto v = order(it);
    EXPECT_EQ(std::set<std::int32_t>(v.begin(), v.begin() + 2), (std::set<std::int32_t>{2, 4}));
    EXPECT_EQ(std::set<std::int32_t>(v.begin() + 2, v.end()), (std::set<std::int32_t>{1, 3}));
}

TEST(SourceIterator, NoSources) {
    WMemCollection c;
    WSourceIterator it("", &c);
    EXPECT_EQ(it.GetSortedItem(1), 0);
    it.SortBy(5, true);
    EXPECT_EQ(it.GetSortColumn(), 0);
    WSourceIterator none("", nullptr);
    EXPECT_EQ(none.GetSortedItem(1), 0);
}

TEST(SourceIterator, EachIteratorHasItsOwnColumn) {
    Sources s;
    WSourceIterator first("", &s.c);
    first.SortBy(1, true); // descending
    WSourceIterator second("", &s.c);
    EXPECT_EQ(second.GetSortDirection(), 1);
    EXPECT_EQ(order(second), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST(SourceIterator, ASortDuringThePumpIsIgnored) {
    Sources s;
    WSourceIterator it("", &s.c);
    int calls = 0;
    plat::hooks().processMessages = [&] {
        ++calls;
        EXPECT_TRUE(it.IsBusy());
        it.SortBy(1, true); // another header click meanwhile
    };
    it.SortBy(5, true);
    plat::resetHooks();
    EXPECT_GT(calls, 0);
    EXPECT_EQ(it.GetSortColumn(), 5);
    EXPECT_EQ(it.GetSortDirection(), 1);
    EXPECT_FALSE(it.IsBusy());
}

} // namespace
