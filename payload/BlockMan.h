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

    std::uint32_t* Transform() { return transform_.data(); }
    std::uint32_t* Counts() { return counts_.data(); }
    std::uint32_t* Starts() { return starts_.data(); }
    std::uint8_t* Buffer1() { return buffer1_.data(); }
    std::uint8_t* Buffer2() { return buffer2_.data(); }

private:
    TBlockMan();
    std::vector<std::uint32_t> transform_, counts_, starts_;
    std::vector<std::uint8_t> buffer1_, buffer2_;
};

} // namespace payload
