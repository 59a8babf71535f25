#pragma once
// The members of one island in ascending individual order, sortable by a
// list column. The collection's island view and the Islands view's member
// grid rest on it.
//
// It lives with the column iterators it derives from; the collection's
// island-view operations that make one are the free functions below.
#include <cstdint>
#include <memory>
#include <string>

#include "columns/ColSortIterator.h"

class WIslands;

class WIslandIterator : public WColSortIterator {
public:
    // Fills the list at once. island: island number (walk order); islands:
    // the collection's island tables (not owned).
    WIslandIterator(const std::string& name, std::int32_t island, WABSCollection* collection, const WIslands* islands,
                    std::int32_t capacity);

    // Fills once: every individual whose island is this one, ascending.
    // Nothing without computed tables or for island 0.
    void Sort() override;

    std::int32_t GetIsland() const { return m_island; }

private:
    std::int32_t m_island;
    const WIslands* m_islands;
    bool m_filled = false;
};

namespace IslandView {

// The island at sorted position pos (1 = largest), computing the islands
// when needed; none when pos is not 1..island count. The caller owns it.
std::unique_ptr<WIslandIterator> CreateIslandIterator(WABSCollection& collection, std::int32_t pos);

// Drops an active view; otherwise computes the islands when needed. Then,
// for pos within 1..island count, the island at pos becomes the view, so
// GetCount and ViewToIndex answer for its members. True when a view is set.
bool SetIslandView(WABSCollection& collection, std::int32_t pos);

} // namespace IslandView
