#include "model/IslandSortIndex.h"

#include <cstring>

WIslandSortIndex::WIslandSortIndex(const std::string& fileName, std::int32_t n)
    : WABSArrayIndex(fileName, false, sizeof(Entry), n) {
    for (std::int32_t i = 1; i <= n; ++i) {
        Entry e{static_cast<std::uint32_t>(i), 0};
        Add(&e);
    }
}

WIslandSortIndex::Entry* WIslandSortIndex::IncCount(std::int32_t i) {
    char* p = GetPtr(i);
    if (!p) return nullptr;
    auto* e = reinterpret_cast<Entry*>(p);
    ++e->count;
    markChanged();
    return e;
}

int WIslandSortIndex::Compare(const void* a, const void* b, void*) {
    if (!a || !b) throw ECompareError("Error in compare function of WRINAssocIndex - nil passed as an argument");
    Entry ea, eb;
    std::memcpy(&ea, a, sizeof ea);
    std::memcpy(&eb, b, sizeof eb);
    if (ea.count > eb.count) return -1;
    if (ea.count < eb.count) return 1;
    return 0;
}

void WIslandSortIndex::Sort() { WABSArrayIndex::Sort(&Compare, nullptr, true); }

std::uint32_t WIslandSortIndex::GetIndex(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return 0;
    Entry e;
    std::memcpy(&e, p, sizeof e);
    return e.key;
}

std::uint32_t WIslandSortIndex::GetCount(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return 0;
    Entry e;
    std::memcpy(&e, p, sizeof e);
    return e.count;
}
