#pragma once
// Values at positions 0..n-1, each below a bound, that answers which position
// of a range is the first or the last to hold a value of a range of values,
// in O(log bound) rank and select steps over n * log(bound) bits: a search
// that would otherwise walk every position in between.
#include <cstddef>
#include <cstdint>
#include <vector>

class WWaveletTree {
public:
    static constexpr std::int64_t kNone = -1;

    WWaveletTree() = default;
    // Every value must lie below bound.
    WWaveletTree(std::vector<std::uint32_t> values, std::uint32_t bound);

    std::size_t Size() const { return m_size; }
    // The first position in [from, to) whose value lies in [low, high); kNone
    // when there is none.
    std::int64_t First(std::size_t from, std::size_t to, std::uint32_t low, std::uint32_t high) const;
    // The last such position.
    std::int64_t Last(std::size_t from, std::size_t to, std::uint32_t low, std::uint32_t high) const;

private:
    // One level's bits with the count of ones before each word.
    struct Bits {
        std::vector<std::uint64_t> words;
        std::vector<std::uint32_t> onesBefore;
        std::size_t zeros = 0; // in all: where the ones go on the next level
        std::size_t Rank1(std::size_t i) const;
        std::size_t Rank0(std::size_t i) const { return i - Rank1(i); }
        // Position of the k-th (0-based) one or zero.
        std::size_t Select(std::size_t k, bool one) const;
    };
    // A node of a level: its positions [start, end) and values [low, high).
    struct Node {
        unsigned level;
        std::size_t start, end;
        std::uint64_t low, high;
    };
    std::int64_t search(const Node& node, std::size_t from, std::size_t to, std::uint32_t low, std::uint32_t high,
                        bool last) const;

    std::vector<Bits> m_levels;
    std::size_t m_size = 0;
};
