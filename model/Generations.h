#pragma once
// Ancestor and descendant counts and generation depths of the individuals of
// one open collection, each computed on first request and cached per
// individual. The collection owns one WGenerations and answers its count and
// depth operations through it.
//
// Every walk keeps its work on explicit stacks of numbers, so a line of a
// million generations costs no call depth; visited sets are reset by epoch
// stamps, so a query costs what it walks and never a pass over all individuals.
#include <cstdint>
#include <memory>
#include <vector>

class WABSCollection;
class WFloatArray;
class WIntArray;

class WGenerations {
public:
    explicit WGenerations(WABSCollection& collection);
    ~WGenerations();
    WGenerations(const WGenerations&) = delete;
    WGenerations& operator=(const WGenerations&) = delete;

    // Distinct ancestors (descendants) of the individual, itself not counted.
    std::int32_t GetNumAncestors(std::int32_t individual);
    std::int32_t GetNumDescendants(std::int32_t individual);
    // Largest number of generations above (below); -1 for 0. A family as
    // child (as spouse) counts one generation even without parents (children).
    std::int32_t GetAncestorGenerations(std::int32_t individual);
    std::int32_t GetDescendantGenerations(std::int32_t individual);
    // Mean generation distance over every line to every ancestor
    // (descendant); -1.0 for 0, 0.0 when there is nothing to average.
    double GetAvgAncestorGenerations(std::int32_t individual);
    double GetAvgDescendantGenerations(std::int32_t individual);

    // Deepest explicit stack (frames) any walk of this object used.
    std::size_t PeakStack() const { return m_peakStack; }

private:
    // Up the family tree (parents) or down it (children).
    enum Direction { Up = 0, Down = 1 };

    struct Side {
        std::unique_ptr<WIntArray> count; // -1 = not computed
        std::unique_ptr<WIntArray> depth; // -1 = not computed
        std::unique_ptr<WFloatArray> sum; // -1.0 = not computed
        std::unique_ptr<WFloatArray> lines;
    };

    std::int32_t numRelatives(Direction dir, std::int32_t individual);
    std::int32_t depth(Direction dir, std::int32_t individual);
    double average(Direction dir, std::int32_t individual);
    void computeAverage(Direction dir, std::int32_t individual);

    // Whether the individual has a family in the direction (as child / as spouse).
    bool hasFamily(Direction dir, std::int32_t individual);
    // Appends the relatives one step away, in family order: husband and wife
    // of each family as child, or the children of each family as spouse.
    void appendRelatives(Direction dir, std::int32_t individual, std::vector<std::int32_t>& out);

    std::int32_t size();
    std::uint32_t nextEpoch();
    void notePeak(std::size_t frames) {
        if (frames > m_peakStack) m_peakStack = frames;
    }

    WABSCollection& m_collection;
    std::int32_t m_count = -1;
    Side m_side[2];
    // Shared by both counts: stamp of the query that last reached an individual.
    std::vector<std::uint32_t> m_visited;
    std::uint32_t m_epoch = 0;
    // Individuals whose depth or average is being computed (a loop closes there).
    std::vector<std::uint8_t> m_onStack;
    std::vector<std::int32_t> m_scratch;
    std::size_t m_peakStack = 0;
};
