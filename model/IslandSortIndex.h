#pragma once
// Islands by size: entries of (island number, member count), both unsigned
// 32-bit, ordered by larger count first.
#include <stdexcept>

#include "model/ABSArrayIndex.h"

// Raised by the island compare when handed a missing record.
class ECompareError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WIslandSortIndex : public WABSArrayIndex {
public:
    struct Entry {
        std::uint32_t key;
        std::uint32_t count;
    };

    // n entries (i, 0) for i = 1..n.
    WIslandSortIndex(const std::string& fileName, std::int32_t n);

    // Adds 1 to the count of entry i and returns its address (null when i is not valid).
    Entry* IncCount(std::int32_t i);
    using WABSArrayIndex::Sort;
    // Larger count first, with the message pump live.
    void Sort();
    // Key of entry i, 0 when not valid.
    std::uint32_t GetIndex(std::int32_t i) const;
    // Count of entry i, 0 when not valid.
    std::uint32_t GetCount(std::int32_t i) const;

    // The compare routine of Sort.
    static int Compare(const void* a, const void* b, void* context);
};
