#pragma once
// A NOTE record: its text and continuation lines, each converted; empty lines dropped.
#include <cstdint>

#include "model/ABSNote.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDNote : public WABSNote {
public:
    // Offset 0 gives an empty note.
    WGEDNote(const WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file);
};
