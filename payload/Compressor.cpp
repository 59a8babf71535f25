#include "Compressor.h"

#include "AriDecoder.h"
#include "ArchiveHeader.h"
#include "Crc32.h"

#include <divsufsort.h>

#include <stdexcept>

namespace payload {

void TStrucAriEncoder::Start(std::vector<std::uint8_t>& out) {
    model_.Reset();
    out_ = &out;
    low_ = 0;
    high_ = 65535;
    pending_ = 0;
    current_ = 0;
    mask_ = 128;
}

void TStrucAriEncoder::bitPlusFollow(int bit) {
    outputBit(bit);
    for (; pending_ > 0; --pending_) outputBit(!bit);
}

void TStrucAriEncoder::EncodeSymbol(TGroupAriModel& m, int offset) {
    const int slot = m.SlotOf(offset);
    const int range = high_ - low_ + 1;
    const int total = m.cum[0];
    high_ = low_ + (range * m.cum[std::size_t(slot - 1)]) / total - 1;
    low_ = low_ + (range * m.cum[std::size_t(slot)]) / total;
    for (;;) {
        if (high_ < kAriHalf) {
            bitPlusFollow(0);
        } else if (low_ >= kAriHalf) {
            bitPlusFollow(1);
            low_ -= kAriHalf;
            high_ -= kAriHalf;
        } else if (low_ >= kAriFirstQuarter && high_ < kAriThirdQuarter) {
            ++pending_;
            low_ -= kAriFirstQuarter;
            high_ -= kAriFirstQuarter;
        } else {
            break;
        }
        low_ = 2 * low_;
        high_ = 2 * high_ + 1;
    }
    m.Update(slot);
}

void TStrucAriEncoder::Encode(int symbol) {
    const int g = THeadAriModel::GroupOf(symbol);
    EncodeSymbol(model_.Head, g);
    if (g > 1) EncodeSymbol(model_.Groups[std::size_t(g)], symbol - THeadAriModel::FirstOf(g));
}

void TStrucAriEncoder::Finish() {
    // Two more bits pick a point inside the final interval; the decoder's
    // read-ahead past the stream gets zeros, which stay inside it.
    ++pending_;
    bitPlusFollow(low_ < kAriFirstQuarter ? 0 : 1);
    if (mask_ != 128) {
        out_->push_back(current_);
        current_ = 0;
        mask_ = 128;
    }
}

TBlockSortResult blockSort(const std::uint8_t* data, std::uint32_t n, std::int32_t* sa, std::uint8_t* last) {
    TBlockSortResult r;
    if (n == 0) return r;
    if (divsufsort(data, sa, std::int32_t(n)) != 0) throw std::runtime_error("Block sort failed");
    // Row 0 is the rotation that starts with the sentinel; row k + 1 the suffix sa[k].
    std::uint32_t out = 0;
    last[out++] = data[n - 1];
    for (std::uint32_t k = 0; k < n; ++k) {
        const std::int32_t s = sa[k];
        if (s == 0) {
            r.SentinelPosition = k + 1;
        } else {
            if (s == 1) r.PrimaryIndex = k + 1;
            last[out++] = data[s - 1];
        }
    }
    // With one byte the rotation after it is the sentinel's own row.
    if (n == 1) r.PrimaryIndex = 0;
    return r;
}

std::vector<std::uint8_t> encodeSymbols(const std::vector<int>& symbols) {
    std::vector<std::uint8_t> out;
    TStrucAriEncoder enc;
    enc.Start(out);
    for (int s : symbols) enc.Encode(s);
    enc.Finish();
    return out;
}

namespace {
void putU32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}
} // namespace

WCompressor::WCompressor(std::uint32_t blockLength) : blockLength_(blockLength) {
    if (blockLength_ == 0 || blockLength_ > kMaxBlockLength) throw std::invalid_argument("Bad block length");
    suffixArray_.resize(blockLength_);
    last_.resize(blockLength_);
}

void WCompressor::BeginArchive(std::vector<std::uint8_t>& archive) { putU32(archive, kArchiveSignature); }

void WCompressor::flushRun(std::uint32_t run) {
    // Bijective base 2, least significant digit first.
    while (run > 0) {
        if (run & 1u) {
            encoder_.Encode(kRunDigit1);
            run = (run - 1) / 2;
        } else {
            encoder_.Encode(kRunDigit2);
            run = (run - 2) / 2;
        }
    }
}

void WCompressor::EncodeBlock(const std::uint8_t* data, std::uint32_t n, std::vector<std::uint8_t>& archive) {
    if (n > blockLength_) throw std::invalid_argument("Block longer than the block length");
    const TBlockSortResult sorted = blockSort(data, n, suffixArray_.data(), last_.data());

    stream_.clear();
    encoder_.Start(stream_);
    mtf_.Reset();
    std::uint32_t run = 0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint8_t b = last_[i];
        const int rank = mtf_.PositionOf(b);
        if (rank == 0) {
            ++run;
            continue;
        }
        flushRun(run);
        run = 0;
        encoder_.Encode(rank + 1);
        mtf_.MoveToFront(b);
    }
    flushRun(run);
    encoder_.Encode(kEndOfBlock);
    encoder_.Finish();

    putU32(archive, kBlockSignature);
    putU32(archive, crc32(data, n));
    putU32(archive, std::uint32_t(stream_.size()));
    putU32(archive, sorted.PrimaryIndex);
    putU32(archive, sorted.SentinelPosition);
    archive.insert(archive.end(), stream_.begin(), stream_.end());
}

std::uint32_t WCompressor::Compress(const std::uint8_t* data, std::size_t n, std::vector<std::uint8_t>& archive) {
    BeginArchive(archive);
    std::uint32_t blocks = 0;
    for (std::size_t at = 0; at < n; at += blockLength_) {
        const std::size_t len = n - at < blockLength_ ? n - at : blockLength_;
        EncodeBlock(data + at, std::uint32_t(len), archive);
        ++blocks;
    }
    return blocks;
}

std::vector<std::uint8_t> compressArchive(const std::string& text, std::uint32_t& blockCount,
                                          std::uint32_t blockLength) {
    std::vector<std::uint8_t> archive;
    WCompressor c(blockLength);
    blockCount = c.Compress(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), archive);
    return archive;
}

} // namespace payload
