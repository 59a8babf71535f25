#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "model/CollectionIterator.h"
#include "model/StrFunc.h"
#include "model/WaveletTree.h"
#include "support/MemCollection.h"

namespace {

// An index of all individuals ordered by a text key made as the column-sort
// indexes make theirs.
class KeyIndex : public WCollectionIterator {
public:
    using KeyFn = std::function<std::string(const WABSIndividual&)>;
    KeyIndex(WABSCollection* c, KeyFn key) : WCollectionIterator("", c, 0), m_key(std::move(key)) {}

    void Sort() override {
        ++sorts;
        Clear();
        for (std::int32_t i = 1; i <= m_collection->GetIndividualCount(); ++i) AddItem(i);
        auto cmp = [this](const void* a, const void* b) {
            return StrFunc::SortKey(text(a)).compare(StrFunc::SortKey(text(b)));
        };
        WABSArrayIndex::SortBy(cmp, false);
    }
    int sorts = 0;

private:
    std::string text(const void* rec) {
        std::int32_t n;
        std::memcpy(&n, rec, 4);
        auto ind = m_collection->GetIndividual(n);
        return ind ? m_key(*ind) : std::string();
    }
    KeyFn m_key;
};

std::string surnameGiven(const WABSIndividual& i) { return i.GetSurnameText() + ", " + i.GetGivenText(); }

struct Family {
    WMemCollection c;
    Family() {
        // Added out of order; the index sorts them.
        c.AddPerson("Fred /Carter/").RefN("R-600");
        c.AddPerson("Bob /Baker/").RefN("R-200");
        c.AddPerson("Anna /Adams/").RefN("R-100");
        c.AddPerson("Dora /Baker/").RefN("R-400");
        c.AddPerson("Gus /Davis/").RefN("R-700");
        c.AddPerson("Carl /Baker/").RefN("R-300");
        c.AddPerson("Eve /Carter/").RefN("R-500");
    }
};

std::vector<std::string> order(KeyIndex& idx, WABSCollection& c) {
    std::vector<std::string> out;
    for (std::int32_t n = idx.First(); n != 0; n = idx.Next()) out.push_back(c.GetIndividual(n)->GetGivenText());
    return out;
}

} // namespace

TEST(ArrayFind, SurnameGivenPrefixBeforeAmongAndAfter) {
    Family f;
    KeyIndex idx(&f.c, surnameGiven);
    idx.EnsureSorted();
    idx.EnsureSorted();
    EXPECT_EQ(idx.sorts, 1);
    ASSERT_EQ(order(idx, f.c), (std::vector<std::string>{"Anna", "Bob", "Carl", "Dora", "Eve", "Fred", "Gus"}));

    EXPECT_EQ(idx.FindSurnameGiven("", ""), 1);       // empty key matches everything
    EXPECT_EQ(idx.FindSurnameGiven("Baker", ""), 2);  // first of three, not the probe hit
    EXPECT_EQ(idx.FindSurnameGiven("baKER", "c"), 3); // case of a-z ignored
    EXPECT_EQ(idx.FindSurnameGiven("Baker", "Do"), 4);
    // The surname part is a beginning too, with a given name typed.
    EXPECT_EQ(idx.FindSurnameGiven("Bak", "Do"), 4);
    EXPECT_EQ(idx.FindSurnameGiven("Carter", "Fred"), 6);
    EXPECT_EQ(idx.FindSurnameGiven("Davis", ""), 7);
    EXPECT_EQ(idx.FindSurnameGiven("Aa", ""), 1);       // before every entry
    EXPECT_EQ(idx.FindSurnameGiven("Bz", ""), 4);       // among: the entry before Carter
    EXPECT_EQ(idx.FindSurnameGiven("Baker", "Zed"), 4); // among, decided by the given name
    EXPECT_EQ(idx.FindSurnameGiven("Zed", ""), 6);      // after every entry: count - 1
    EXPECT_EQ(idx.FindSurnameGiven("Adamsx", ""), 1);   // longer than the surname
}

TEST(ArrayFind, EveryPositionBeforeTheHitMatches) {
    WMemCollection c;
    for (int i = 0; i < 9; ++i) c.AddPerson("Jo" + std::string(1, char('a' + i)) + " /Same/");
    c.AddPerson("Zoe /Zed/");
    KeyIndex idx(&c, surnameGiven);
    idx.EnsureSorted();
    EXPECT_EQ(idx.FindSurnameGiven("same", ""), 1);
    EXPECT_EQ(idx.FindSurnameGiven("Same", "JOI"), 9);
    EXPECT_EQ(idx.FindSurnameGiven("Zed", ""), 10);
    EXPECT_EQ(idx.FindSurnameGiven("Zz", ""), 9);
}

TEST(ArrayFind, FullNameAndRefNSearches) {
    Family f;
    KeyIndex byName(&f.c, [](const WABSIndividual& i) { return i.GetGivenText() + " " + i.GetSurnameText(); });
    byName.EnsureSorted();
    std::int32_t p = byName.FindFullName("carl");
    ASSERT_GE(p, 1);
    EXPECT_EQ(f.c.GetIndividual(byName.GetItem(p))->GetGivenText(), "Carl");
    EXPECT_EQ(byName.FindFullName(""), 1);
    EXPECT_EQ(byName.FindFullName("zzz"), 6);

    KeyIndex byRefN(&f.c, [](const WABSIndividual& i) { return i.GetRefN(); });
    byRefN.EnsureSorted();
    EXPECT_EQ(byRefN.FindRefN("r-5"), 5);
    EXPECT_EQ(f.c.GetIndividual(byRefN.GetItem(5))->GetRefN(), "R-500");
    EXPECT_EQ(byRefN.FindRefN("R-"), 1);
    EXPECT_EQ(byRefN.FindRefN("R-35"), 3); // between: the one before
    EXPECT_EQ(byRefN.FindRefN("A"), 1);
}

TEST(ArrayFind, EmptyIndexAndCursorAndSharedCollection) {
    Family f;
    WMemCollection other;
    other.AddPerson("Xavier /Young/");
    KeyIndex idx(&f.c, surnameGiven);
    EXPECT_EQ(WCollectionIterator::SearchCollection(), &f.c);
    EXPECT_EQ(idx.FindSurnameGiven("", ""), 0); // nothing to find
    EXPECT_EQ(idx.First(), 0);
    EXPECT_EQ(idx.GetItem(1), 0);
    EXPECT_EQ(idx.IndexOf(3), 0);
    idx.EnsureSorted();
    EXPECT_EQ(idx.IndexOf(3), 1); // Anna Adams
    EXPECT_EQ(idx.IndexOf(5), 7);
    EXPECT_EQ(idx.IndexOf(99), 0);
    EXPECT_EQ(idx.Last(), 5);
    EXPECT_EQ(idx.Prev(), 1);
    EXPECT_EQ(idx.Next(), 5);
    EXPECT_EQ(idx.Next(), 0);
    EXPECT_EQ(idx.Next(), 3);
    EXPECT_EQ(idx.GetItem(8), 0);
    // A newer iterator makes its collection the one all searches use.
    KeyIndex second(&other, surnameGiven);
    EXPECT_EQ(WCollectionIterator::SearchCollection(), &other);
    WCollectionIterator::SetSearchCollection(&f.c);
    EXPECT_EQ(idx.FindSurnameGiven("Carter", ""), 5);
}

// The first and last position of a range holding a value of a range, against
// a walk over every position, across word boundaries and bounds that are no
// power of two.
TEST(ArrayFind, WaveletTreeFirstAndLastInRanges) {
    std::mt19937 rng(5);
    for (std::uint32_t bound : {1u, 2u, 37u, 1000u}) {
        std::vector<std::uint32_t> values(150);
        for (auto& v : values) v = std::uint32_t(rng() % bound);
        const WWaveletTree tree(values, bound);
        for (int q = 0; q < 3000; ++q) {
            std::size_t from = rng() % 152, to = rng() % 152;
            std::uint32_t low = std::uint32_t(rng() % (bound + 1)), high = std::uint32_t(rng() % (bound + 2));
            std::int64_t first = -1, last = -1;
            for (std::size_t i = from; i < std::min<std::size_t>(to, values.size()); ++i)
                if (values[i] >= low && values[i] < high) {
                    if (first < 0) first = std::int64_t(i);
                    last = std::int64_t(i);
                }
            ASSERT_EQ(tree.First(from, to, low, high), first) << from << " " << to << " " << low << " " << high;
            ASSERT_EQ(tree.Last(from, to, low, high), last) << from << " " << to << " " << low << " " << high;
        }
    }
    EXPECT_EQ(WWaveletTree({}, 1).First(0, 5, 0, 1), WWaveletTree::kNone);
}
