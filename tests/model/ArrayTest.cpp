#include <gtest/gtest.h>

#include "model/ABSArrayIndex.h"
#include "model/ABSIterator.h"
#include "model/BoolArray.h"
#include "model/FloatArray.h"
#include "model/IntArray.h"
#include "model/IslandSortIndex.h"
#include "platform/Hooks.h"
#include "support/ScopedTempDir.h"

#include <cfloat>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

std::uint32_t le32(const char* p) {
    const auto* b = reinterpret_cast<const unsigned char*>(p);
    return b[0] | b[1] << 8 | b[2] << 16 | std::uint32_t(b[3]) << 24;
}

int cmpInt(const void* rec, const void* key, void*) {
    std::int32_t a, b;
    std::memcpy(&a, rec, 4);
    std::memcpy(&b, key, 4);
    return a < b ? -1 : a > b ? 1 : 0;
}

struct MoveOnGrowthScope {
    explicit MoveOnGrowthScope(bool on) : old(WMMF::MoveOnGrowth()) { WMMF::SetMoveOnGrowth(on); }
    ~MoveOnGrowthScope() { WMMF::SetMoveOnGrowth(old); }
    bool old;
};

} // namespace

TEST(ArrayIndex, StoreLayoutAndInitialSize) {
    WABSArrayIndex a("", false, 6, 100);
    EXPECT_EQ(a.Store()->GetSize(), 100 * 6 + 1024);
    EXPECT_EQ(a.Store()->GetGrowthStep(), 16384);
    EXPECT_TRUE(a.Store()->IsInMemory());
    WABSArrayIndex empty("", false, 6, 0);
    EXPECT_EQ(empty.Store()->GetSize(), 2048);

    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Store()->GetDataEnd(), 16u);
    EXPECT_EQ(le32(a.Store()->GetPointer(8)), 0u);
    EXPECT_EQ(le32(a.Store()->GetPointer(12)), 6u);
    EXPECT_EQ(a.Add("abcdef"), 1);
    EXPECT_EQ(a.Add("ghijkl"), 2);
    EXPECT_EQ(a.GetPtr(1), a.Store()->GetPointer(16));
    EXPECT_EQ(a.GetPtr(2), a.Store()->GetPointer(22));
    EXPECT_EQ(std::string(a.GetPtr(2), 6), "ghijkl");
    EXPECT_EQ(a.GetPtr(0), nullptr);
    EXPECT_EQ(a.GetPtr(3), nullptr);
    EXPECT_EQ(a.GetPtr(-1), nullptr);
    EXPECT_TRUE(a.IsValidIndex(2));
    EXPECT_FALSE(a.IsValidIndex(3));
}

TEST(ArrayIndex, SetCountSetRecordClearAndSortedFlag) {
    WABSArrayIndex a("", false, 4, 0);
    a.SetCount(5);
    EXPECT_EQ(a.Count(), 5);
    a.SetCount(3); // never shrinks
    EXPECT_EQ(a.Count(), 5);
    std::int32_t v = 42;
    a.SetRecord(3, &v);
    a.SetRecord(6, &v); // not valid: nothing
    a.SetRecord(0, &v);
    EXPECT_EQ(a.Count(), 5);
    std::int32_t got;
    std::memcpy(&got, a.GetPtr(3), 4);
    EXPECT_EQ(got, 42);

    a.SetNoSort();
    EXPECT_TRUE(a.IsSorted());
    a.Sort(cmpInt, nullptr, false); // does nothing while marked sorted
    std::memcpy(&got, a.GetPtr(3), 4);
    EXPECT_EQ(got, 42);
    a.SetRecord(1, &v);
    EXPECT_FALSE(a.IsSorted());
    a.SetNoSort();
    a.Add(&v);
    EXPECT_FALSE(a.IsSorted());
    a.Sort(cmpInt, nullptr, false);
    EXPECT_TRUE(a.IsSorted());
    EXPECT_FALSE(a.GetSortFlag());

    // Emptying keeps the old bytes in the store; records made again are zeros.
    for (int i = 1; i <= a.Count(); ++i) a.SetRecord(i, &v);
    a.Clear();
    EXPECT_EQ(a.Count(), 0);
    EXPECT_EQ(a.Store()->GetDataEnd(), 16u);
    a.SetCount(4);
    for (int i = 1; i <= 4; ++i) {
        std::memcpy(&got, a.GetPtr(i), 4);
        EXPECT_EQ(got, 0) << i;
    }
}

TEST(ArrayIndex, BinarySearchAndFindPosition) {
    WIntArray a("", 0);
    bool found = true;
    std::int32_t key = 5;
    EXPECT_EQ(a.FindPosition(cmpInt, &key, found), 0);
    EXPECT_FALSE(found);
    EXPECT_EQ(a.BinarySearch(cmpInt, &key), 0);
    for (int v : {10, 20, 30, 40, 50}) a.Add(v);
    struct Case {
        std::int32_t key;
        std::int32_t pos;
        bool found;
    };
    for (Case c : {Case{5, 1, false}, Case{10, 1, true}, Case{25, 3, false}, Case{30, 3, true}, Case{50, 5, true},
                   Case{55, 5, false}, Case{45, 5, false}, Case{41, 5, false}, Case{39, 4, false}}) {
        EXPECT_EQ(a.FindPosition(cmpInt, &c.key, found), c.pos) << c.key;
        EXPECT_EQ(found, c.found) << c.key;
        EXPECT_EQ(a.BinarySearch(cmpInt, &c.key), c.found ? c.pos : 0) << c.key;
    }
    // The callable forms agree.
    auto cmp = [](const void* r, const void* k) { return cmpInt(r, k, nullptr); };
    key = 40;
    EXPECT_EQ(a.BinarySearchBy(cmp, &key), 4);
    key = 1;
    EXPECT_EQ(a.FindPositionBy(cmp, &key, found), 1);
    EXPECT_FALSE(found);
}

TEST(ArrayIndex, FreeingStoresCountAndDeletesOrKeepsTheNamedFile) {
    ScopedTempDir tmp;
    std::string kept = tmp.dir() + "/kept.idx";
    std::string gone = tmp.dir() + "/gone.idx";
    {
        WABSArrayIndex a(kept, true, 4, 0);
        for (std::int32_t v : {7, 8, 9}) a.Add(&v);
        WABSArrayIndex b(gone, false, 4, 0);
        b.Add("zzzz");
    }
    const std::string bytes = tsupport::readFile(kept);
    ASSERT_GE(bytes.size(), 28u);
    EXPECT_EQ(le32(bytes.data()), 1u);
    EXPECT_EQ(le32(bytes.data() + 4), 28u);
    EXPECT_EQ(le32(bytes.data() + 8), 3u);
    EXPECT_EQ(le32(bytes.data() + 12), 4u);
    EXPECT_EQ(le32(bytes.data() + 16), 7u);
    EXPECT_EQ(le32(bytes.data() + 24), 9u);
    EXPECT_FALSE(tsupport::fileExists(gone));
    // Temporary arrays leave nothing.
    {
        WIntArray big("", 100000);
        EXPECT_FALSE(big.Store()->IsInMemory());
        EXPECT_EQ(tmp.qelFiles().size(), 1u);
    }
    EXPECT_TRUE(tmp.qelFiles().empty());
}

TEST(ArrayTyped, IntArray) {
    WIntArray a("", 3);
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(a.GetValue(1), 0);
    a.SetValue(2, -17);
    a.SetValue(4, 99); // not valid
    EXPECT_EQ(a.Count(), 3);
    EXPECT_EQ(a.GetValue(2), -17);
    EXPECT_EQ(a.GetValue(0), 0);
    EXPECT_EQ(a.GetValue(4), 0);
    a.Increment(2);
    a.Increment(9);
    EXPECT_EQ(a.GetValue(2), -16);
    a.SetValue(3, INT32_MAX);
    a.Increment(3);
    EXPECT_EQ(a.GetValue(3), INT32_MIN);
    EXPECT_EQ(a.Add(5), 4);
    a.Fill(-1);
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(a.GetValue(i), -1);
    // Through the virtual slots as a base reference.
    WIntArray& r = a;
    r.SetValue(1, 12);
    EXPECT_EQ(r.GetValue(1), 12);
}

TEST(ArrayTyped, IntArrayAcrossSpillWithMovingStore) {
    ScopedTempDir tmp;
    for (bool move : {false, true}) {
        MoveOnGrowthScope scope(move);
        WIntArray a("", 0);
        for (int i = 1; i <= 300000; ++i) ASSERT_EQ(a.Add(i * 3), i);
        EXPECT_FALSE(a.Store()->IsInMemory());
        a.SetCount(400000);
        for (int i = 1; i <= 300000; i += 997) ASSERT_EQ(a.GetValue(i), i * 3);
        EXPECT_EQ(a.GetValue(300001), 0);
        EXPECT_EQ(a.GetValue(400000), 0);
        EXPECT_EQ(a.GetValue(400001), 0);
        a.Fill(7);
        EXPECT_EQ(a.GetValue(1), 7);
        EXPECT_EQ(a.GetValue(400000), 7);
    }
}

TEST(ArrayTyped, BoolArray) {
    WBoolArray b("", 4);
    EXPECT_FALSE(b.GetValue(1));
    b.SetValue(2, true);
    EXPECT_TRUE(b.GetValue(2));
    EXPECT_FALSE(b.GetValue(5));
    EXPECT_FALSE(b.GetValue(0));
    unsigned char two = 2;
    b.SetRecord(3, &two);
    EXPECT_FALSE(b.GetValue(3)); // only 1 is true
    b.Fill(true);
    for (int i = 1; i <= 4; ++i) EXPECT_TRUE(b.GetValue(i));
    EXPECT_EQ(static_cast<unsigned char>(*b.GetPtr(3)), 1);
    b.Fill(false);
    EXPECT_FALSE(b.GetValue(2));
}

TEST(ArrayTyped, FloatArrayKeepsTenByteExtendedValues) {
    WFloatArray f("", 3);
    EXPECT_EQ(f.RecordSize(), 10);
    EXPECT_EQ(f.GetValue(1), 0.0L);
    EXPECT_EQ(f.GetValue(4), 0.0L);
    // 1.0 in the 80-bit layout: mantissa 0x8000000000000000, exponent 0x3FFF.
    f.SetValue(1, 1.0L);
    const unsigned char one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(0, std::memcmp(f.GetPtr(1), one, 10));
    f.SetValue(2, -2.5L);
    const unsigned char m25[10] = {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0};
    EXPECT_EQ(0, std::memcmp(f.GetPtr(2), m25, 10));
    for (long double v : {1.0L / 3.0L, -1e300L, 123456789.125L, (long double)DBL_MIN / 1024, LDBL_MIN, LDBL_TRUE_MIN,
                          LDBL_MAX, -0.0L, 7.0L}) {
        f.SetValue(3, v);
        EXPECT_EQ(f.GetValue(3), v);
        EXPECT_EQ(std::signbit(f.GetValue(3)), std::signbit(v));
    }
    f.SetValue(3, HUGE_VALL);
    EXPECT_TRUE(std::isinf(f.GetValue(3)));
    f.SetValue(3, NAN);
    EXPECT_TRUE(std::isnan(f.GetValue(3)));
    f.Fill(-1.0L);
    for (int i = 1; i <= 3; ++i) EXPECT_EQ(f.GetValue(i), -1.0L);
}

TEST(ArrayTyped, IslandSortIndexOrdersLargerCountsFirst) {
    WIslandSortIndex s("", 4);
    EXPECT_EQ(s.Count(), 4);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(s.GetIndex(i), static_cast<std::uint32_t>(i));
        EXPECT_EQ(s.GetCount(i), 0u);
    }
    EXPECT_EQ(s.IncCount(5), nullptr);
    EXPECT_EQ(s.IncCount(0), nullptr);
    int counts[] = {3, 5, 5, 1};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < counts[i]; ++k) {
            auto* e = s.IncCount(i + 1);
            ASSERT_NE(e, nullptr);
            EXPECT_EQ(e->count, static_cast<std::uint32_t>(k + 1));
        }
    int pumps = 0;
    plat::hooks().processMessages = [&] { ++pumps; };
    s.Sort();
    plat::resetHooks();
    EXPECT_GE(pumps, 1); // the island sort pumps
    std::vector<std::uint32_t> gotCounts, gotKeys;
    for (int i = 1; i <= 4; ++i) {
        gotCounts.push_back(s.GetCount(i));
        gotKeys.push_back(s.GetIndex(i));
    }
    EXPECT_EQ(gotCounts, (std::vector<std::uint32_t>{5, 5, 3, 1}));
    EXPECT_EQ(gotKeys, (std::vector<std::uint32_t>{2, 3, 1, 4}));
    EXPECT_EQ(s.GetIndex(5), 0u);

    WIslandSortIndex::Entry e{1, 1};
    try {
        WIslandSortIndex::Compare(&e, nullptr, nullptr);
        FAIL() << "no error";
    } catch (const ECompareError& err) {
        EXPECT_STREQ(err.what(), "Error in compare function of WRINAssocIndex - nil passed as an argument");
    }
}

TEST(ArrayIterator, CursorWalk) {
    WABSIterator it("", 4, 0);
    EXPECT_EQ(it.First(), nullptr);
    EXPECT_EQ(it.GetCursor(), 0);
    for (std::int32_t v : {11, 22, 33}) it.Add(&v);
    auto val = [](const char* p) {
        std::int32_t v;
        std::memcpy(&v, p, 4);
        return v;
    };
    ASSERT_NE(it.First(), nullptr);
    EXPECT_EQ(val(it.Next()), 22);
    EXPECT_EQ(val(it.Next()), 33);
    EXPECT_EQ(it.GetCursor(), 3);
    EXPECT_EQ(it.Next(), nullptr); // after the last
    EXPECT_EQ(it.GetCursor(), 0);
    EXPECT_EQ(val(it.Next()), 11); // starts again
    EXPECT_EQ(it.Prev(), nullptr);
    EXPECT_EQ(it.GetCursor(), 0);
    EXPECT_EQ(val(it.Last()), 33);
    EXPECT_EQ(val(it.Prev()), 22);
    EXPECT_EQ(val(it.Current(1)), 11);
    EXPECT_EQ(it.Current(4), nullptr);
    EXPECT_EQ(it.GetCursor(), 0);
}
