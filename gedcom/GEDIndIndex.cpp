#include "gedcom/GEDIndIndex.h"

#include <cstring>

#include "model/ABSCollection.h"

WGEDIndIndex::WGEDIndIndex(const std::string& name, std::int32_t capacity)
    : WABSArrayIndex(name, false, sizeof(Entry), capacity) {}

void WGEDIndIndex::Add(std::uint32_t offset) {
    Entry e{};
    e.offset = offset;
    e.sex = 'U';
    WABSArrayIndex::Add(&e);
}

void WGEDIndIndex::Put(std::int32_t n, std::uint32_t offset) const {
    Entry e{};
    e.offset = offset;
    e.sex = 'U';
    PutRecord(n, &e);
}

std::uint32_t WGEDIndIndex::GetOffset(std::int32_t n) const {
    const char* p = GetPtr(n);
    if (!p) throw EIndexError(n);
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

WGEDIndIndex::Entry& WGEDIndIndex::GetEntry(std::int32_t n) {
    char* p = GetPtr(n);
    if (!p) throw EIndexError(n);
    // The store is 8-byte aligned and entries are 4-byte multiples.
    return *reinterpret_cast<Entry*>(p);
}

WGEDIndIndex::Positions& WGEDIndIndex::PositionsOf(Entry& entry) {
    if (entry.slot == 0 || entry.slot > m_positions.size()) {
        m_positions.emplace_back();
        m_positions.back().fill(0);
        entry.slot = std::uint32_t(m_positions.size());
    }
    return m_positions[entry.slot - 1];
}

const WGEDIndIndex::Positions* WGEDIndIndex::FindPositions(const Entry& entry) const {
    if (entry.slot == 0 || entry.slot > m_positions.size()) return nullptr;
    return &m_positions[entry.slot - 1];
}
