// Islands of a collection: membership, sizes, family counts, first
// individuals, the order by size, extra links, the message pump and cancel,
// and the tables staying invisible while they are built.
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

#include "model/ABSCollection.h"
#include "model/ABSIndividual.h"
#include "model/Islands.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

// Restores the message pump and the cancel flag after a test replaced them.
struct PumpGuard {
    std::function<void()> saved = plat::hooks().processMessages;
    ~PumpGuard() {
        plat::hooks().processMessages = saved;
        plat::setCancelRequested(false);
    }
};

// Reference islands by union-find over the family links.
std::vector<std::int32_t> referenceComponents(WMemCollection& c) {
    const std::int32_t n = c.GetIndividualCount();
    std::vector<std::int32_t> parent(static_cast<std::size_t>(n) + 1);
    for (std::int32_t i = 0; i <= n; ++i) parent[static_cast<std::size_t>(i)] = i;
    std::function<std::int32_t(std::int32_t)> find = [&](std::int32_t x) {
        while (parent[static_cast<std::size_t>(x)] != x)
            x = parent[static_cast<std::size_t>(x)] =
                parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
        return x;
    };
    auto unite = [&](std::int32_t a, std::int32_t b) {
        if (a > 0 && b > 0) parent[static_cast<std::size_t>(find(a))] = find(b);
    };
    for (std::int32_t f = 1; f <= c.GetMarriageCount(); ++f) {
        std::vector<std::int32_t> m{c.LinkHusband(f), c.LinkWife(f)};
        std::vector<std::int32_t> kids;
        c.LinkChildren(f, kids);
        m.insert(m.end(), kids.begin(), kids.end());
        std::int32_t first = 0;
        for (std::int32_t x : m)
            if (x > 0) {
                if (first == 0) first = x;
                unite(first, x);
            }
    }
    std::vector<std::int32_t> root(static_cast<std::size_t>(n) + 1, 0);
    for (std::int32_t i = 1; i <= n; ++i) root[static_cast<std::size_t>(i)] = find(i);
    return root;
}

class IslandsTest : public ::testing::Test {
protected:
    WDefaultSettings settings;
    WMemCollection c;
};

TEST_F(IslandsTest, NobodyLinkedGivesOneIslandPerIndividual) {
    for (int i = 0; i < 6; ++i) c.AddPerson("P" + std::to_string(i) + " /X/", 'M');
    WIslands islands(c);
    EXPECT_FALSE(islands.IslandsComputed());
    ASSERT_EQ(islands.GetIslandCount(), 6);
    EXPECT_TRUE(islands.IslandsComputed());
    std::set<std::int32_t> firsts;
    for (std::int32_t pos = 1; pos <= 6; ++pos) {
        EXPECT_EQ(islands.GetIslandSize(pos), 1);
        EXPECT_EQ(islands.GetIslandFamilyCount(pos), 0);
        EXPECT_EQ(islands.GetIslandNoteCount(pos), 0);
        EXPECT_EQ(islands.GetIslandSourceCount(pos), 0);
        firsts.insert(islands.GetIslandFirstIndividual(pos));
    }
    EXPECT_EQ(firsts, (std::set<std::int32_t>{1, 2, 3, 4, 5, 6}));
    for (std::int32_t i = 1; i <= 6; ++i)
        EXPECT_EQ(islands.GetIslandFirstIndividual(islands.GetIslandOfIndividual(i)), i);
    EXPECT_EQ(islands.GetIslandSize(0), 0);
    EXPECT_EQ(islands.GetIslandSize(7), 0);
    EXPECT_EQ(islands.GetIslandOfIndividual(0), 0);
    EXPECT_EQ(islands.GetIslandOfIndividual(7), 0);
}

TEST_F(IslandsTest, BridgeIndividualJoinsTwoFamiliesAndLargestIslandIsFirst) {
    // A lone couple first, so the walk finds the small island first.
    const auto h3 = c.AddPerson("Hal /C/", 'M');
    const auto w3 = c.AddPerson("Wyn /C/", 'F');
    const auto h1 = c.AddPerson("Abe /A/", 'M');
    const auto w1 = c.AddPerson("Ann /A/", 'F');
    const auto x = c.AddPerson("Xav /A/", 'M'); // child in one family, husband in the next
    const auto w2 = c.AddPerson("Bea /B/", 'F');
    const auto y = c.AddPerson("Yul /A/", 'M');
    c.AddFamily(h3, w3);
    c.AddFamily(h1, w1).Child(x);
    c.AddFamily(x, w2).Child(y);

    WIslands islands(c);
    ASSERT_EQ(islands.GetIslandCount(), 2);
    EXPECT_EQ(islands.GetIslandSize(1), 5);
    EXPECT_EQ(islands.GetIslandFamilyCount(1), 2);
    EXPECT_EQ(islands.GetIslandFirstIndividual(1), h1);
    EXPECT_EQ(islands.GetIslandSize(2), 2);
    EXPECT_EQ(islands.GetIslandFamilyCount(2), 1);
    EXPECT_EQ(islands.GetIslandFirstIndividual(2), h3);
    for (std::int32_t i : {h1, w1, x, w2, y}) EXPECT_EQ(islands.GetIslandOfIndividual(i), 1) << i;
    for (std::int32_t i : {h3, w3}) EXPECT_EQ(islands.GetIslandOfIndividual(i), 2) << i;
    // Walk order numbers: the couple's island was found first.
    EXPECT_EQ(islands.IslandAtPosition(2), 1);
    EXPECT_EQ(islands.IslandNumberOfIndividual(y), 2);
    EXPECT_EQ(islands.IslandNumberOfFamily(1), 1);
    EXPECT_EQ(islands.IslandNumberOfFamily(3), 2);
}

TEST_F(IslandsTest, TiedSizesAreOrderedByCountAndEveryIndividualFindsItsOwnIsland) {
    // Islands of 3, 5, 5 and 1 individuals, in that walk order.
    auto chain = [&](int n) {
        std::int32_t prev = c.AddPerson("", 'M');
        for (int k = 1; k < n; ++k) {
            const std::int32_t next = c.AddPerson("", 'M');
            c.AddFamily(prev, 0).Child(next);
            prev = next;
        }
    };
    chain(3);
    chain(5);
    chain(5);
    chain(1);
    WIslands islands(c);
    ASSERT_EQ(islands.GetIslandCount(), 4);
    EXPECT_EQ(islands.GetIslandSize(1), 5);
    EXPECT_EQ(islands.GetIslandSize(2), 5);
    EXPECT_EQ(islands.GetIslandSize(3), 3);
    EXPECT_EQ(islands.GetIslandSize(4), 1);
    EXPECT_EQ(islands.GetIslandFirstIndividual(3), 1);
    EXPECT_EQ(islands.GetIslandFirstIndividual(4), 14);
    const auto root = referenceComponents(c);
    for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) {
        const std::int32_t pos = islands.GetIslandOfIndividual(i);
        const std::int32_t first = islands.GetIslandFirstIndividual(pos);
        EXPECT_EQ(root[static_cast<std::size_t>(first)], root[static_cast<std::size_t>(i)]) << i;
    }
    // The two islands of five are distinct.
    EXPECT_NE(islands.GetIslandFirstIndividual(1), islands.GetIslandFirstIndividual(2));
}

TEST_F(IslandsTest, RandomFileAgreesWithReferenceComponents) {
    std::uint32_t seed = 12345;
    auto rnd = [&](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return (seed >> 8) % n;
    };
    const int n = 400;
    for (int i = 0; i < n; ++i) c.AddPerson("", i % 2 ? 'F' : 'M');
    for (int f = 0; f < 150; ++f) {
        auto fam = c.AddFamily(rnd(3) ? std::int32_t(1 + rnd(n)) : 0, rnd(3) ? std::int32_t(1 + rnd(n)) : 0);
        for (std::uint32_t k = rnd(4); k > 0; --k) fam.Child(std::int32_t(1 + rnd(n)));
    }
    WIslands islands(c);
    const std::int32_t count = islands.GetIslandCount();
    const auto root = referenceComponents(c);
    std::map<std::int32_t, std::int32_t> sizes;
    for (std::int32_t i = 1; i <= n; ++i) ++sizes[root[static_cast<std::size_t>(i)]];
    ASSERT_EQ(count, static_cast<std::int32_t>(sizes.size()));
    std::int64_t total = 0, families = 0;
    for (std::int32_t pos = 1; pos <= count; ++pos) {
        total += islands.GetIslandSize(pos);
        families += islands.GetIslandFamilyCount(pos);
        if (pos > 1) {
            EXPECT_GE(islands.GetIslandSize(pos - 1), islands.GetIslandSize(pos));
        }
        const std::int32_t first = islands.GetIslandFirstIndividual(pos);
        EXPECT_EQ(islands.GetIslandSize(pos), sizes[root[static_cast<std::size_t>(first)]]);
        // The first individual is the lowest number of its island.
        for (std::int32_t i = 1; i < first; ++i)
            EXPECT_NE(root[static_cast<std::size_t>(i)], root[static_cast<std::size_t>(first)]);
    }
    EXPECT_EQ(total, n);
    // Families without any member belong to no island.
    std::int64_t linked = 0;
    for (std::int32_t f = 1; f <= c.GetMarriageCount(); ++f) {
        std::vector<std::int32_t> kids;
        c.LinkChildren(f, kids);
        if (c.LinkHusband(f) || c.LinkWife(f) || !kids.empty()) ++linked;
    }
    EXPECT_EQ(families, linked);
}

TEST_F(IslandsTest, MillionIndividualChainNeedsNoDeepCallStack) {
    const std::int32_t n = 1000000;
    std::int32_t prev = c.AddPerson("", 'M');
    for (std::int32_t k = 1; k < n; ++k) {
        const std::int32_t next = c.AddPerson("", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    WIslands islands(c);
    ASSERT_EQ(islands.GetIslandCount(), 1);
    EXPECT_EQ(islands.GetIslandSize(1), n);
    EXPECT_EQ(islands.GetIslandFamilyCount(1), n - 1);
    EXPECT_EQ(islands.GetIslandOfIndividual(n), 1);
    EXPECT_LT(islands.PeakWorkList(), 8u);
}

// Asked from inside the pumped messages, the islands read as not computed.
TEST_F(IslandsTest, QueriesDuringTheComputationSeeNothingHalfBuilt) {
    PumpGuard guard;
    for (int i = 0; i < 300; ++i) c.AddPerson("", 'M');
    for (std::int32_t i = 1; i < 300; i += 3) c.AddFamily(i, i + 1).Child(i + 2);
    WIslands islands(c);
    int pumps = 0, seenComputed = 0, nonZero = 0;
    plat::hooks().processMessages = [&] {
        ++pumps;
        EXPECT_TRUE(islands.IsComputing());
        if (islands.IslandsComputed()) ++seenComputed;
        // A repaint asking again must neither restart nor read the tables.
        if (islands.GetIslandOfIndividual(1) != 0 || islands.GetIslandCount() != 0 || islands.GetIslandSize(1) != 0 ||
            islands.GetIslandFirstIndividual(1) != 0)
            ++nonZero;
    };
    EXPECT_EQ(islands.GetIslandCount(), 100);
    EXPECT_GT(pumps, 0);
    EXPECT_EQ(seenComputed, 0);
    EXPECT_EQ(nonZero, 0);
    EXPECT_FALSE(islands.IsComputing());
    EXPECT_EQ(islands.GetIslandOfIndividual(1), islands.GetIslandOfIndividual(3));
    EXPECT_EQ(islands.GetIslandSize(1), 3);
}

TEST_F(IslandsTest, PumpRunsEveryFiftyWalkStepsAndCancelLeavesNothing) {
    PumpGuard guard;
    WOptions::SetBool(WIslands::kOptIslandWit, false);
    for (int i = 0; i < 1000; ++i) c.AddPerson("", 'M');
    int pumps = 0;
    plat::hooks().processMessages = [&] { ++pumps; };
    WIslands counted(c);
    counted.GetIslandCount();
    // One step per individual in the main loop and one per individual walked.
    EXPECT_GE(pumps, 2000 / 50);
    EXPECT_LE(pumps, 2000 / 50 + 60); // plus the sort's own pumping

    pumps = 0;
    plat::hooks().processMessages = [&] {
        if (++pumps == 3) plat::setCancelRequested(true);
    };
    WIslands cancelled(c);
    EXPECT_FALSE(cancelled.ComputeIslands());
    EXPECT_EQ(pumps, 3);
    EXPECT_FALSE(cancelled.IslandsComputed());
    EXPECT_FALSE(cancelled.IsComputing());
    EXPECT_EQ(cancelled.GetIslandSize(1), 0);
    plat::setCancelRequested(false);
    EXPECT_EQ(cancelled.GetIslandCount(), 1000);
}

// An individual record that carries extra links (no file format does yet).
class LinkedIndividual : public WABSIndividual {
public:
    LinkedIndividual(std::unique_ptr<WABSIndividual> inner, std::vector<WExtraLink> links)
        : WABSIndividual(inner->GetRecNo()), m_inner(std::move(inner)), m_links(std::move(links)) {
        m_extraLinkCount = static_cast<std::int32_t>(m_links.size());
    }
    std::unique_ptr<WExtraLink> GetExtraLink(std::int32_t i) const override {
        if (i < 1 || i > GetExtraLinkCount()) return nullptr;
        return std::make_unique<WExtraLink>(m_links[static_cast<std::size_t>(i - 1)]);
    }
    void Refresh() override { m_inner->Refresh(); }
    void SetRecNo(std::int32_t n) override { m_inner->SetRecNo(n); }
    std::string GetXRef() const override { return m_inner->GetXRef(); }
    std::string GetRefN() const override { return m_inner->GetRefN(); }
    std::string GetAFN() const override { return m_inner->GetAFN(); }
    char GetSex() const override { return m_inner->GetSex(); }
    const WDate* GetCreateDate() const override { return m_inner->GetCreateDate(); }
    const WDate* GetChangeDate() const override { return m_inner->GetChangeDate(); }
    std::unique_ptr<WABSName> GetName() const override { return m_inner->GetName(); }
    std::int32_t GetEventCount(std::int32_t kind) const override { return m_inner->GetEventCount(kind); }
    std::unique_ptr<WABSVitEvent> GetEvent(std::int32_t kind, std::int32_t index) const override {
        return m_inner->GetEvent(kind, index);
    }
    std::unique_ptr<WABSLDSEvent> GetLDSEvent(std::int32_t kind) const override { return m_inner->GetLDSEvent(kind); }
    std::int32_t GetParentFamilyCount() const override { return m_inner->GetParentFamilyCount(); }
    std::int32_t GetParentFamily(std::int32_t i) const override { return m_inner->GetParentFamily(i); }
    void GetParentFamilyEx(std::int32_t i, std::int32_t& f, std::int32_t& m, std::int32_t& fa) const override {
        m_inner->GetParentFamilyEx(i, f, m, fa);
    }
    std::int32_t GetSpouseFamilyCount() const override { return m_inner->GetSpouseFamilyCount(); }
    std::int32_t GetSpouseFamily(std::int32_t i) const override { return m_inner->GetSpouseFamily(i); }
    bool HasNoParentFamily() const override { return m_inner->HasNoParentFamily(); }
    bool HasNoSpouseFamily() const override { return m_inner->HasNoSpouseFamily(); }
    std::int32_t GetCitationCount() const override { return m_inner->GetCitationCount(); }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override { return m_inner->GetCitation(i); }
    std::unique_ptr<WABSNote> GetNote() const override { return m_inner->GetNote(); }
    std::string GetRecordText() const override { return m_inner->GetRecordText(); }

private:
    std::unique_ptr<WABSIndividual> m_inner;
    std::vector<WExtraLink> m_links;
};

class LinkedCollection : public WMemCollection {
public:
    std::map<std::int32_t, std::vector<WExtraLink>> links;

protected:
    std::unique_ptr<WABSIndividual> MakeIndividual(std::int32_t n) override {
        std::unique_ptr<WABSIndividual> inner = WMemCollection::MakeIndividual(n);
        auto it = links.find(n);
        if (it == links.end() || !inner) return inner;
        return std::make_unique<LinkedIndividual>(std::move(inner), it->second);
    }
};

TEST(IslandsExtraLinks, FollowedOnlyWhenTheSettingIsOn) {
    WDefaultSettings settings;
    LinkedCollection lc;
    for (int i = 0; i < 6; ++i) lc.AddPerson("", 'M');
    lc.AddFamily(1, 2);
    // 3 names a witness 5; 4 names 6 and a number outside the file.
    lc.links[3] = {WExtraLink{3, 5}};
    lc.links[4] = {WExtraLink{6, 99}};

    WOptions::SetBool(WIslands::kOptIslandWit, true);
    {
        WIslands islands(lc);
        ASSERT_EQ(islands.GetIslandCount(), 3);
        EXPECT_EQ(islands.GetIslandOfIndividual(3), islands.GetIslandOfIndividual(5));
        EXPECT_EQ(islands.GetIslandOfIndividual(4), islands.GetIslandOfIndividual(6));
        EXPECT_NE(islands.GetIslandOfIndividual(3), islands.GetIslandOfIndividual(4));
        for (std::int32_t pos = 1; pos <= 3; ++pos) EXPECT_EQ(islands.GetIslandSize(pos), 2);
        // The extra links count no family.
        EXPECT_EQ(islands.GetIslandFamilyCount(islands.GetIslandOfIndividual(3)), 0);
        EXPECT_EQ(islands.GetIslandFamilyCount(islands.GetIslandOfIndividual(1)), 1);
    }
    WOptions::SetBool(WIslands::kOptIslandWit, false);
    {
        WIslands islands(lc);
        EXPECT_EQ(islands.GetIslandCount(), 5);
        EXPECT_NE(islands.GetIslandOfIndividual(3), islands.GetIslandOfIndividual(5));
    }
}

} // namespace
