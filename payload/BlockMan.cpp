#include "BlockMan.h"

namespace payload {

TBlockMan& TBlockMan::instance() {
    static TBlockMan man;
    return man;
}

TBlockWork& TBlockMan::Work(int worker) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (int(work_.size()) <= worker) {
        auto w = std::make_unique<TBlockWork>();
        w->forward.resize(kTransformEntries);
        w->backward.resize(kTransformEntries);
        work_.push_back(std::move(w));
    }
    return *work_[std::size_t(worker)];
}

std::uint8_t* TBlockMan::Text(int slot) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (int(text_.size()) <= slot) text_.push_back(std::make_unique<std::uint8_t[]>(kTextBufferSize));
    return text_[std::size_t(slot)].get();
}

void TBlockMan::Release() {
    std::lock_guard<std::mutex> lock(mutex_);
    work_.clear();
    text_.clear();
}

} // namespace payload
