#pragma once
// The work buffers of block decoding, allocated once and kept for the run.
#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "payload/BigTable.h"

namespace payload {

// One transform entry per symbol of the last column, sentinel included.
constexpr std::uint32_t kTransformEntries = 615400;
// Largest block: one byte less than the transform entries.
constexpr std::uint32_t kMaxBlockLength = kTransformEntries - 1;
constexpr std::size_t kByteBufferSize = 1230802;
// A block's last column, then its text from entry 1 on, in one buffer.
constexpr std::size_t kTextBufferSize = std::size_t(kTransformEntries) + 1;

using TRowStarts = std::array<std::uint32_t, 257>;

// What one expanding thread needs besides the text buffer of its block: the
// transform tables and the coded stream.
struct TBlockWork {
    // The rows one and two steps on, in one block of memory owned here.
    std::uint32_t* forward = nullptr;
    std::uint32_t* pairs = nullptr;
    // The first row of each byte; 256 ends the rows.
    TRowStarts starts{};
    std::size_t entries = 0;
    std::vector<std::uint8_t> stream;
    // The block in hand between decoding and walking.
    std::uint8_t* text = nullptr;
    std::uint32_t n = 0, R = 0, crc = 0;
    std::uint8_t first = 0;

    TBigTable tables;
};

class TBlockMan {
public:
    // The one instance, created on first use and kept until the program ends.
    static TBlockMan& instance();

    // Work buffers of thread `worker` and text buffer number `slot` for
    // blocks of up to maxBlock bytes, made on first use and kept until
    // Release: a fixed number of blocks is in hand at once.
    TBlockWork& Work(int worker, std::uint32_t maxBlock = kMaxBlockLength);
    std::uint8_t* Text(int slot, std::uint32_t maxBlock = kMaxBlockLength);
    // Frees every buffer: an expansion's buffers would otherwise stay
    // resident while the expanded file is read.
    void Release();

private:
    TBlockMan() = default;
    std::mutex m_mutex;
    std::vector<std::unique_ptr<TBlockWork>> m_work;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_text;
    std::vector<std::size_t> m_textSize;
};

} // namespace payload
