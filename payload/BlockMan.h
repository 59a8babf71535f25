#pragma once
// The work buffers of block decoding, allocated once and kept for the run.
#include <cstdint>
#include <vector>

namespace payload {

// One transform entry per symbol of the last column, sentinel included.
constexpr std::uint32_t kTransformEntries = 615400;
// Largest block: one byte less than the transform entries.
constexpr std::uint32_t kMaxBlockLength = kTransformEntries - 1;
constexpr std::size_t kByteBufferSize = 1230802;

class TBlockMan {
public:
    // The one instance, created on first use and kept until the program ends.
    static TBlockMan& instance();

    // Several sets of block buffers, so that several blocks can be in hand at
    // once (walked side by side, or expanded on several threads).
    static constexpr int kSlots = 4;
    std::uint32_t* Transform(int slot = 0) { return set_[slot].transform.data(); }
    std::uint32_t* Counts(int slot = 0) { return set_[slot].counts.data(); }
    std::uint32_t* Starts(int slot = 0) { return set_[slot].starts.data(); }
    std::uint8_t* Buffer1(int slot = 0) { return set_[slot].buffer1.data(); }
    std::uint8_t* Buffer2(int slot = 0) { return set_[slot].buffer2.data(); }

private:
    TBlockMan();
    struct Set {
        std::vector<std::uint32_t> transform;
        std::vector<std::uint8_t> buffer1, buffer2;
        std::vector<std::uint32_t> counts, starts;
    };
    Set set_[kSlots];
};

} // namespace payload
