#pragma once
// Islands of one open collection: groups of individuals linked to one another
// by family links and to nobody outside the group. The collection owns one
// WIslands and answers its island operations through it.
//
// Islands are numbered 1, 2, ... in the order the walk finds them; callers
// address them by sorted position (1 = the island with most individuals).
// The tables are built in one pass on first use and kept for the life of the
// collection. While the pass runs (it lets window messages through) every
// query reads as "not computed": nothing half-built is ever visible.
#include <cstdint>
#include <memory>

class WABSCollection;
class WFamLinks;
class WIntArray;
class WIslandSortIndex;

class WIslands {
public:
    // Setting that makes the walk follow extra links as well.
    static constexpr int kOptIslandWit = 129;
    // Message pump intervals of the walk and of the extra-link pass.
    static constexpr std::uint32_t kWalkPump = 50;
    static constexpr std::uint32_t kExtraLinkPump = 2000;

    explicit WIslands(WABSCollection& collection);
    ~WIslands();
    WIslands(const WIslands&) = delete;
    WIslands& operator=(const WIslands&) = delete;

    // Computes when needed; 0 while a computation runs or after a cancelled one.
    std::int32_t GetIslandCount();
    // The tables are complete.
    bool IslandsComputed() const;
    bool IsComputing() const { return m_computing; }

    // Of the island at sorted position pos; 0 when not computed or pos is not 1..count.
    std::int32_t GetIslandSize(std::int32_t pos) const;
    std::int32_t GetIslandFamilyCount(std::int32_t pos) const;
    std::int32_t GetIslandFirstIndividual(std::int32_t pos) const;
    std::int32_t GetIslandNoteCount(std::int32_t) const { return 0; }
    std::int32_t GetIslandSourceCount(std::int32_t) const { return 0; }

    // Computes when needed; sorted position of the island holding the
    // individual, 0 when none or while a computation runs.
    std::int32_t GetIslandOfIndividual(std::int32_t individual);

    // Raw numbers for the island view (no computation; 0 when not computed).
    // Island number (walk order) at a sorted position.
    std::int32_t IslandAtPosition(std::int32_t pos) const;
    // Sorted position of an island number.
    std::int32_t PositionOfIsland(std::int32_t island) const;
    std::int32_t IslandNumberOfIndividual(std::int32_t individual) const;
    std::int32_t IslandNumberOfFamily(std::int32_t family) const;

    // Runs the computation unless the tables exist or one is under way.
    // False when it did not complete (re-entered or cancelled).
    bool ComputeIslands();

    // Largest number of individuals waiting on the walk's stack in the last
    // computation (a measure of the work list, not of the call stack).
    std::size_t PeakWorkList() const { return m_peakWorkList; }

private:
    struct Tables;
    void pump(std::uint32_t every);
    bool buildExtraLinks(WFamLinks& links, std::int32_t count);

    WABSCollection& m_collection;
    std::unique_ptr<Tables> m_tables; // null until a computation completed
    bool m_computing = false;
    bool m_cancelled = false;
    std::uint32_t m_pumpCounter = 0;
    std::size_t m_peakWorkList = 0;
};
