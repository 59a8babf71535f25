#include "columns/IslandIterator.h"

#include "model/ABSCollection.h"
#include "model/Islands.h"

WIslandIterator::WIslandIterator(const std::string& name, std::int32_t island, WABSCollection* collection,
                                 const WIslands* islands, std::int32_t capacity)
    : WColSortIterator(name, capacity, collection), m_island(island), m_islands(islands) {
    EnsureSorted();
}

void WIslandIterator::Sort() {
    if (m_filled || !m_islands || !m_islands->IslandsComputed() || m_island == 0 || !m_collection) return;
    m_filled = true;
    const std::int32_t n = m_collection->GetIndividualCount();
    for (std::int32_t i = 1; i <= n; ++i)
        if (m_islands->IslandNumberOfIndividual(i) == m_island) AddItem(i);
}

namespace IslandView {

std::unique_ptr<WIslandIterator> CreateIslandIterator(WABSCollection& collection, std::int32_t pos) {
    const std::int32_t count = collection.GetIslandCount();
    if (pos < 1 || pos > count) return nullptr;
    WIslands& islands = collection.Islands();
    return std::make_unique<WIslandIterator>("", islands.IslandAtPosition(pos), &collection, &islands,
                                             islands.GetIslandSize(pos));
}

bool SetIslandView(WABSCollection& collection, std::int32_t pos) {
    // The islands are always computed over the whole file, never a view.
    if (collection.GetView()) collection.ClearView();
    std::unique_ptr<WIslandIterator> view = CreateIslandIterator(collection, pos);
    if (!view) return false;
    collection.SetView(std::move(view));
    return true;
}

} // namespace IslandView
