#include "gedcom/OffsetIndex.h"

#include <cstring>

#include "model/ABSCollection.h"

WOffsetIndex::WOffsetIndex(const std::string& name, std::int32_t capacity)
    : WABSArrayIndex(name, false, sizeof(std::uint32_t), capacity) {}

void WOffsetIndex::Add(std::uint32_t offset) { WABSArrayIndex::Add(&offset); }

void WOffsetIndex::Put(std::int32_t n, std::uint32_t offset) const { PutRecord(n, &offset); }

std::uint32_t WOffsetIndex::GetOffset(std::int32_t n) const {
    const char* p = GetPtr(n);
    if (!p) throw EIndexError(n);
    std::uint32_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
