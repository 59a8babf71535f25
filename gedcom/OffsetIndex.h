#pragma once
// Record number -> byte offset of the record's level-0 line, for one kind of record.
#include <cstdint>
#include <string>

#include "model/ABSArrayIndex.h"

class WOffsetIndex : public WABSArrayIndex {
public:
    WOffsetIndex(const std::string& name, std::int32_t capacity);

    void Add(std::uint32_t offset);
    // The same at a position made by ExtendCount (threads may fill different ones).
    void Put(std::int32_t n, std::uint32_t offset) const;
    // The offset of record n; EIndexError outside 1..count.
    std::uint32_t GetOffset(std::int32_t n) const;
};
