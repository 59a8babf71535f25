#include "payload/BlockMan.h"

#include <algorithm>

namespace payload {

TBlockMan& TBlockMan::instance() {
    static TBlockMan man;
    return man;
}

// Small limits (fuzzing) keep the buffers small, so each run stays quick.
TBlockWork& TBlockMan::Work(int worker, std::uint32_t maxBlock) {
    std::lock_guard<std::mutex> lock(m_mutex);
    while (int(m_work.size()) <= worker) m_work.push_back(std::make_unique<TBlockWork>());
    TBlockWork& w = *m_work[std::size_t(worker)];
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
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::size_t bytes = std::size_t(std::min(maxBlock, kMaxBlockLength)) + 2;
    while (int(m_text.size()) <= slot) {
        m_text.emplace_back();
        m_textSize.push_back(0);
    }
    if (m_textSize[std::size_t(slot)] < bytes) {
        // Not cleared: expansion writes a block's text before anyone reads it.
        m_text[std::size_t(slot)] = std::make_unique_for_overwrite<std::uint8_t[]>(bytes);
        m_textSize[std::size_t(slot)] = bytes;
    }
    return m_text[std::size_t(slot)].get();
}

void TBlockMan::Release() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_work.clear();
    m_text.clear();
    m_textSize.clear();
}

} // namespace payload
