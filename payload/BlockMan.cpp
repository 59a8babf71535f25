#include "BlockMan.h"

#include <algorithm>

namespace payload {

TBlockMan& TBlockMan::instance() {
    static TBlockMan man;
    return man;
}

// Small limits (fuzzing) keep the buffers small, so each run stays quick.
TBlockWork& TBlockMan::Work(int worker, std::uint32_t maxBlock) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (int(work_.size()) <= worker) work_.push_back(std::make_unique<TBlockWork>());
    TBlockWork& w = *work_[std::size_t(worker)];
    const std::size_t entries = std::size_t(std::min(maxBlock, kMaxBlockLength)) + 1;
    if (w.entries < entries) {
        // Both tables in one allocation, the second starting at a cache line.
        const std::size_t half = (entries * sizeof(std::uint32_t) + 63) / 64 * 64;
        w.tables = TBigTable(2 * half);
        // The walk reads pairs: first, where the huge pages are.
        w.pairs = static_cast<std::uint32_t*>(w.tables.data());
        w.forward = w.pairs + half / sizeof(std::uint32_t);
        w.entries = entries;
    }
    return w;
}

std::uint8_t* TBlockMan::Text(int slot, std::uint32_t maxBlock) {
    std::lock_guard<std::mutex> lock(mutex_);
    const std::size_t bytes = std::size_t(std::min(maxBlock, kMaxBlockLength)) + 2;
    while (int(text_.size()) <= slot) {
        text_.emplace_back();
        textSize_.push_back(0);
    }
    if (textSize_[std::size_t(slot)] < bytes) {
        // Not cleared: expansion writes a block's text before anyone reads it.
        text_[std::size_t(slot)] = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
        textSize_[std::size_t(slot)] = bytes;
    }
    return text_[std::size_t(slot)].get();
}

void TBlockMan::Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    work_.clear();
    text_.clear();
    textSize_.clear();
}

} // namespace payload
