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

    // Several sets of block buffers, so that several blocks can be in hand at once.
    static constexpr int kSlots = 4;
    std::uint32_t* Transform(int slot = 0) { return set_[slot].transform.data(); }
    std::uint32_t* Counts() { return counts_.data(); }
    std::uint32_t* Starts() { return starts_.data(); }
    std::uint8_t* Buffer1(int slot = 0) { return set_[slot].buffer1.data(); }
    std::uint8_t* Buffer2(int slot = 0) { return set_[slot].buffer2.data(); }

private:
    TBlockMan();
    struct Set {
        std::vector<std::uint32_t> transform;
        std::vector<std::uint8_t> buffer1, buffer2;
    };
    Set set_[kSlots];
    std::vector<std::uint32_t> counts_, starts_;
};

} // namespace payload
