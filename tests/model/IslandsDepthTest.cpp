// Ancestor and descendant counts, generation depths and average generations,
// checked on hand-made trees and against a plainly recursive reference on
// random files with loops (the cached results depend on the walk order there,
// so both must take the same steps).
#include <gtest/gtest.h>
#include <set>
#include <vector>

#include "model/Generations.h"
#include "support/MemCollection.h"

namespace {

// The recursive walks the way they read, for small files only.
class ReferenceDepths {
public:
    ReferenceDepths(WMemCollection& c, bool up) : m_c(c), m_up(up) {
        const std::size_t n = static_cast<std::size_t>(c.GetIndividualCount()) + 1;
        m_depth.assign(n, -1);
        m_sum.assign(n, -1.0L);
        m_lines.assign(n, -1.0L);
        m_onStack.assign(n, false);
    }

    std::int32_t Depth(std::int32_t j) {
        if (j == 0) return 0;
        if (m_depth[idx(j)] >= 0) return m_depth[idx(j)];
        if (m_onStack[idx(j)]) return 0;
        std::int32_t d = 0;
        if (familyCount(j) >= 1) {
            m_onStack[idx(j)] = true;
            for (std::int32_t r : relatives(j)) d = std::max(d, Depth(r));
            ++d;
            m_onStack[idx(j)] = false;
        }
        m_depth[idx(j)] = d;
        return d;
    }

    double Average(std::int32_t i) {
        if (m_sum[idx(i)] < 0) computeAverage(i);
        return m_lines[idx(i)] > 0 ? double(m_sum[idx(i)] / m_lines[idx(i)]) : 0.0;
    }

    std::int32_t Count(std::int32_t i) {
        std::set<std::int32_t> seen{i};
        std::int32_t n = 0;
        for (std::int32_t r : relatives(i)) n += count(r, seen);
        return n;
    }

private:
    std::size_t idx(std::int32_t j) const { return static_cast<std::size_t>(j); }

    std::int32_t familyCount(std::int32_t j) {
        return m_up ? m_c.LinkParentFamilyCount(j) : m_c.LinkSpouseFamilyCount(j);
    }

    std::vector<std::int32_t> relatives(std::int32_t j) {
        std::vector<std::int32_t> out;
        for (std::int32_t k = 1; k <= familyCount(j); ++k) {
            if (m_up) {
                const std::int32_t f = m_c.LinkParentFamily(j, k);
                out.push_back(m_c.LinkHusband(f));
                out.push_back(m_c.LinkWife(f));
            } else {
                std::vector<std::int32_t> kids;
                m_c.LinkChildren(m_c.LinkSpouseFamily(j, k), kids);
                out.insert(out.end(), kids.begin(), kids.end());
            }
        }
        return out;
    }

    std::int32_t count(std::int32_t j, std::set<std::int32_t>& seen) {
        if (j == 0 || !seen.insert(j).second) return 0;
        std::int32_t n = 1;
        for (std::int32_t r : relatives(j)) n += count(r, seen);
        return n;
    }

    void computeAverage(std::int32_t j) {
        if (m_onStack[idx(j)]) {
            m_sum[idx(j)] = 0;
            m_lines[idx(j)] = 0;
            return;
        }
        if (m_sum[idx(j)] >= 0) return;
        long double s = 0, c = 0;
        if (familyCount(j) >= 1) {
            m_onStack[idx(j)] = true;
            for (std::int32_t p : relatives(j)) {
                if (p == 0) continue;
                computeAverage(p);
                if (m_sum[idx(p)] >= 0) {
                    s += m_sum[idx(p)] + m_lines[idx(p)] + 1;
                    c += m_lines[idx(p)] + 1;
                }
            }
            m_onStack[idx(j)] = false;
        }
        m_sum[idx(j)] = s;
        m_lines[idx(j)] = c;
    }

    WMemCollection& m_c;
    bool m_up;
    std::vector<std::int32_t> m_depth;
    std::vector<long double> m_sum, m_lines;
    std::vector<bool> m_onStack;
};

class DepthTest : public ::testing::Test {
protected:
    WDefaultSettings settings;
    WMemCollection c;
};

TEST_F(DepthTest, ZeroAndParentsUnknown) {
    const auto lone = c.AddPerson("Lone /X/", 'M');
    const auto orphan = c.AddPerson("Orphan /X/", 'F');
    c.AddFamily(0, 0).Child(orphan); // a family as child with neither parent
    WGenerations g(c);
    EXPECT_EQ(g.GetAncestorGenerations(0), -1);
    EXPECT_EQ(g.GetDescendantGenerations(0), -1);
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(0), -1.0);
    EXPECT_DOUBLE_EQ(g.GetAvgDescendantGenerations(0), -1.0);
    EXPECT_EQ(g.GetNumAncestors(0), 0);
    EXPECT_EQ(g.GetAncestorGenerations(lone), 0);
    EXPECT_EQ(g.GetAncestorGenerations(orphan), 1);
    EXPECT_EQ(g.GetNumAncestors(orphan), 0);
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(orphan), 0.0);
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(lone), 0.0);
}

TEST_F(DepthTest, SiblingParentsCountSharedGrandparentsOnceButTwiceInTheAverage) {
    const auto g1 = c.AddPerson("G1 /A/", 'M');
    const auto g2 = c.AddPerson("G2 /A/", 'F');
    const auto p1 = c.AddPerson("P1 /A/", 'M');
    const auto p2 = c.AddPerson("P2 /A/", 'F');
    const auto x = c.AddPerson("X /A/", 'M');
    c.AddFamily(g1, g2).Child(p1).Child(p2);
    c.AddFamily(p1, p2).Child(x);
    WGenerations g(c);
    EXPECT_EQ(g.GetNumAncestors(x), 4);
    EXPECT_EQ(g.GetAncestorGenerations(x), 2);
    // Lines: P1, P2 at 1; G1, G2 at 2 through each parent.
    EXPECT_NEAR(g.GetAvgAncestorGenerations(x), 10.0 / 6.0, 1e-12);
    EXPECT_EQ(g.GetNumDescendants(g1), 3);
    EXPECT_EQ(g.GetDescendantGenerations(g1), 2);
    // Lines from G1: P1, P2 at 1, X at 2 through each.
    EXPECT_NEAR(g.GetAvgDescendantGenerations(g1), 6.0 / 4.0, 1e-12);
    // A spouse without children still counts one generation.
    const auto childless = c.AddPerson("C /A/", 'M');
    c.AddFamily(childless, 0);
    WGenerations g2nd(c);
    EXPECT_EQ(g2nd.GetDescendantGenerations(childless), 1);
    EXPECT_EQ(g2nd.GetNumDescendants(childless), 0);
}

TEST_F(DepthTest, FamilyLoopGivesFiniteDepthsClosingAtZero) {
    const auto a = c.AddPerson("A /L/", 'M');
    const auto b = c.AddPerson("B /L/", 'M');
    c.AddFamily(b, 0).Child(a); // B is A's father
    c.AddFamily(a, 0).Child(b); // and A is B's father
    WGenerations g(c);
    EXPECT_EQ(g.GetAncestorGenerations(a), 2);
    EXPECT_EQ(g.GetAncestorGenerations(b), 1); // cached while A was in progress
    EXPECT_EQ(g.GetNumAncestors(a), 1);
    EXPECT_EQ(g.GetNumDescendants(a), 1);
    // A closes the loop with one line and nothing above it.
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(a), 1.5);
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(b), 1.0);
}

TEST_F(DepthTest, ExplicitStacksMatchTheRecursiveWalksOnRandomFilesWithLoops) {
    std::uint32_t seed = 777;
    auto rnd = [&](std::uint32_t n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 9) % n;
    };
    const std::int32_t n = 120;
    for (std::int32_t i = 0; i < n; ++i) c.AddPerson("", 'M');
    for (int f = 0; f < 70; ++f) {
        auto fam = c.AddFamily(rnd(5) ? std::int32_t(1 + rnd(n)) : 0, rnd(5) ? std::int32_t(1 + rnd(n)) : 0);
        for (std::uint32_t k = rnd(4); k > 0; --k) fam.Child(std::int32_t(1 + rnd(n)));
    }
    for (bool up : {true, false}) {
        for (int order = 0; order < 2; ++order) {
            ReferenceDepths ref(c, up);
            ReferenceDepths refAvg(c, up);
            WGenerations g(c);
            for (std::int32_t k = 1; k <= n; ++k) {
                const std::int32_t i = order == 0 ? k : n + 1 - k;
                EXPECT_EQ(up ? g.GetAncestorGenerations(i) : g.GetDescendantGenerations(i), ref.Depth(i))
                    << "up " << up << " individual " << i;
                EXPECT_DOUBLE_EQ(up ? g.GetAvgAncestorGenerations(i) : g.GetAvgDescendantGenerations(i),
                                 refAvg.Average(i))
                    << "up " << up << " individual " << i;
                EXPECT_EQ(up ? g.GetNumAncestors(i) : g.GetNumDescendants(i), ref.Count(i));
            }
        }
    }
}

TEST_F(DepthTest, MillionGenerationLineNeedsNoDeepCallStack) {
    const std::int32_t n = 1000000;
    std::int32_t prev = c.AddPerson("", 'M');
    for (std::int32_t k = 1; k < n; ++k) {
        const std::int32_t next = c.AddPerson("", 'M');
        c.AddFamily(prev, 0).Child(next);
        prev = next;
    }
    WGenerations g(c);
    EXPECT_EQ(g.GetAncestorGenerations(n), n - 1);
    EXPECT_EQ(g.GetDescendantGenerations(1), n - 1);
    EXPECT_EQ(g.GetNumAncestors(n), n - 1);
    EXPECT_EQ(g.GetNumDescendants(1), n - 1);
    // Mean of 1 .. n-1.
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(n), n / 2.0);
    EXPECT_DOUBLE_EQ(g.GetAvgDescendantGenerations(1), n / 2.0);
    // Everything on the way was cached.
    EXPECT_EQ(g.GetAncestorGenerations(n / 2), n / 2 - 1);
    EXPECT_DOUBLE_EQ(g.GetAvgAncestorGenerations(3), 1.5);
}

TEST_F(DepthTest, CountsOfAWholeColumnStayLinearInWhatTheyWalk) {
    // Many small families: a full column of counts must not cost a pass over
    // the file per individual.
    const std::int32_t families = 60000;
    for (std::int32_t f = 0; f < families; ++f) {
        const auto h = c.AddPerson("", 'M');
        const auto w = c.AddPerson("", 'F');
        const auto k = c.AddPerson("", 'M');
        c.AddFamily(h, w).Child(k);
    }
    WGenerations g(c);
    std::int64_t total = 0;
    for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i) total += g.GetNumAncestors(i) + g.GetNumDescendants(i);
    EXPECT_EQ(total, std::int64_t(families) * 4);
}

} // namespace
