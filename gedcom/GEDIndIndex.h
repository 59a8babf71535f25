#pragma once
// One entry per individual in file order: the record offset and, filled on
// first use, the distances from the record start to the lines the views use
// most, the sex and flags. Distances are 32-bit, so records of any size keep
// their positions right; they stand in a side table that grows only as
// individuals are first read, so opening a file pays 12 bytes per individual.
#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "model/ABSArrayIndex.h"

class WGEDIndIndex : public WABSArrayIndex {
public:
    // Positions, in their order in the entry.
    enum Pos : int {
        PosName = 0, // first NAME line
        PosAFN,      // value of the AFN line (line start + 6)
        PosNote,     // first NOTE line
        PosBirt,
        PosChr,
        PosDeat,
        PosBuri,
        PosChan,
        PosBapl, // BAPL or CONS
        PosEndl,
        PosSlgc,
        PosCount
    };
    // Flag bits.
    static constexpr std::uint8_t PositionsFilled = 1;
    static constexpr std::uint8_t SeveralNotes = 2;

    struct Entry {
        std::uint32_t offset;
        std::uint32_t slot; // 1-based place of the positions in the side table, 0 = none yet
        std::uint8_t sex;
        std::uint8_t flags;
        std::uint8_t pad[2];
    };
    static_assert(sizeof(Entry) == 12, "individual entry layout");
    using Positions = std::array<std::uint32_t, PosCount>;

    WGEDIndIndex(const std::string& name, std::int32_t capacity);

    // Appends an entry with the offset and the positions not yet filled.
    void Add(std::uint32_t offset);
    // The same at a position made by ExtendCount (threads may fill different ones).
    void Put(std::int32_t n, std::uint32_t offset) const;
    // EIndexError outside 1..count.
    std::uint32_t GetOffset(std::int32_t n) const;
    // The entry of individual n for reading and writing; valid until the index
    // grows (it does not after opening). EIndexError outside 1..count.
    Entry& GetEntry(std::int32_t n);
    // The positions of an entry, made (all 0) when it has none yet. The
    // reference stays valid for the life of the index.
    Positions& PositionsOf(Entry& entry);
    // The positions of an entry, null when it has none.
    const Positions* FindPositions(const Entry& entry) const;

private:
    std::deque<Positions> m_positions;
};
