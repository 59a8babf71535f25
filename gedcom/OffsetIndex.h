#pragma once
// Record number -> byte offset of the record's level-0 line, for one kind of record.
#include "model/ABSArrayIndex.h"

#include <cstdint>
#include <string>

class WOffsetIndex : public WABSArrayIndex {
public:
    WOffsetIndex(const std::string& name, std::int32_t capacity);

    void Add(std::uint32_t offset);
    // The offset of record n; EIndexError outside 1..count.
    std::uint32_t GetOffset(std::int32_t n) const;
};
