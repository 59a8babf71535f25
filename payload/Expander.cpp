#include "Expander.h"

#include "ArchiveHeader.h"
#include "Crc32.h"
#include "PayloadErrors.h"

#include <algorithm>
#include <cstring>

namespace payload {

namespace {
constexpr std::uint32_t kRowMask = 0xFFFFFFu; // rows fit 24 bits; the byte rides in the top 8
static_assert(kTransformEntries <= kRowMask);

void checkPositions(std::uint32_t n, std::uint32_t P, std::uint32_t R) {
    if (n > kMaxBlockLength) throw EBlockDamaged("a block holds more data than the buffers can take");
    if (P > n) throw EBlockDamaged("the sentinel position lies beyond the block");
    if (R > n) throw EBlockDamaged("the primary index lies beyond the block");
}
} // namespace

std::uint32_t TBWTBase::BlockCRC(const std::uint8_t* buffer, std::uint32_t length) { return crc32(buffer + 1, length); }

void TExpander::DecodeMoveToFront(const std::uint8_t* ranks, std::uint32_t n, std::uint32_t P, std::uint8_t* last) {
    mtf_.Reset();
    const std::uint32_t head = P < n ? P : n;
    for (std::uint32_t k = 0; k < head; ++k) last[k] = mtf_.Decode(ranks[k]);
    for (std::uint32_t k = head; k < n; ++k) last[k + 1] = mtf_.Decode(ranks[k]);
}

void TExpander::BuildTransforms(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, const std::uint32_t* counts,
                                std::uint32_t* forward, std::uint32_t* backward) {
    // Row 0 is the sentinel's, which sorts before every byte.
    std::uint32_t start[256];
    std::uint32_t sum = 1;
    for (int c = 0; c < 256; ++c) {
        start[c] = sum;
        sum += counts[c];
    }
    // Row j = start(c) + occurrence is the row that the byte c at last[i]
    // begins: forward[j] leads from j to i, backward[i] from i to j. Both
    // carry c, the byte emitted on the way, so a walk reads one entry a byte.
    auto link = [&](std::uint32_t i) {
        const std::uint32_t c = last[i];
        const std::uint32_t j = start[c]++;
        forward[j] = i | c << 24;
        backward[i] = j | c << 24;
    };
    for (std::uint32_t i = 0; i < P; ++i) link(i);
    for (std::uint32_t i = P + 1; i <= n; ++i) link(i);
    forward[0] = P;
    backward[P] = 0;
}

namespace {
// A walk of one block from both ends: the first half forward from row R, the
// second backward from the sentinel's row 0. Two chains of dependent reads
// instead of one, so the memory system works on both at once.
struct TwoWayWalk {
    const std::uint32_t* forward;
    const std::uint32_t* backward;
    std::uint8_t* text;
    std::uint32_t f, b, lo = 2, hi;
    TwoWayWalk(const std::uint32_t* fw, const std::uint32_t* bw, std::uint32_t n, std::uint32_t R, std::uint8_t first,
               std::uint8_t* t)
        : forward(fw), backward(bw), text(t), f(R), b(0), hi(n) {
        if (n > 0) text[1] = first;
    }
    bool twoLeft() const { return lo + 1 <= hi; }
    void step() {
        const std::uint32_t vf = forward[f], vb = backward[b];
        text[lo++] = std::uint8_t(vf >> 24);
        text[hi--] = std::uint8_t(vb >> 24);
        f = vf & kRowMask;
        b = vb & kRowMask;
    }
    void finish() {
        while (twoLeft()) step();
        if (lo == hi) text[lo] = std::uint8_t(forward[f] >> 24);
    }
};
} // namespace

void TExpander::WalkBlocks(TBlockWork* const* works, int count) {
    auto walkOf = [](const TBlockWork& w) { return TwoWayWalk(w.forward, w.backward, w.n, w.R, w.first, w.text); };
    if (count == 1) {
        walkOf(*works[0]).finish();
    } else if (count == 2) {
        // Four chains in flight.
        TwoWayWalk x = walkOf(*works[0]), y = walkOf(*works[1]);
        while (x.twoLeft() && y.twoLeft()) {
            x.step();
            y.step();
        }
        x.finish();
        y.finish();
    }
}

void TExpander::WalkForward(const std::uint32_t* forward, std::uint32_t n, std::uint32_t R, std::uint8_t first,
                            std::uint8_t* text) {
    if (n == 0) return;
    text[1] = first;
    std::uint32_t f = R;
    for (std::uint32_t k = 2; k <= n; ++k) {
        const std::uint32_t v = forward[f];
        text[k] = std::uint8_t(v >> 24);
        f = v & kRowMask;
    }
}

void TExpander::InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* forward, std::uint32_t* backward, std::uint8_t* text) {
    checkPositions(n, P, R);
    std::uint32_t counts[256] = {};
    for (std::uint32_t i = 0; i <= n; ++i)
        if (i != P) ++counts[last[i]];
    BuildTransforms(last, n, P, counts, forward, backward);
    TwoWayWalk(forward, backward, n, R, last[R], text).finish();
}

void TExpander::DecodeBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work,
                            std::uint8_t* text) {
    const std::uint32_t P = h.SentinelPosition, R = h.PrimaryIndex;
    // Ranks go through move-to-front straight into the last column (text
    // doubles as it: the walk reads only the transforms), counted on the way.
    std::uint8_t* last = text;
    std::uint32_t counts[256] = {};
    std::uint32_t k = 0;
    mtf_.Reset();
    auto put = [&](std::uint8_t rank, std::uint32_t run) {
        if (rank != 0) {
            const std::uint8_t b = mtf_.Decode(rank);
            ++counts[b];
            last[k < P ? k : k + 1] = b;
            ++k;
            return;
        }
        const std::uint8_t b = mtf_.ByteAt(0);
        counts[b] += run;
        std::uint32_t a = k;
        const std::uint32_t e = k + run;
        if (a < P) {
            const std::uint32_t m = std::min(e, P);
            std::memset(last + a, b, m - a);
            a = m;
        }
        if (a < e) std::memset(last + a + 1, b, e - a);
        k = e;
    };
    TMemoryBits bits(stream, h.StreamLength);
    const std::uint32_t n = decoder_.DecodeBlock(bits, maxBlockLength_, put);
    checkPositions(n, P, R);

    BuildTransforms(last, n, P, counts, work.forward, work.backward);
    work.text = text;
    work.n = n;
    work.R = R;
    work.crc = h.CRC;
    work.first = last[R];
}

bool TExpander::FinishBlock(const TBlockWork& work) {
    const bool valid = BlockCRC(work.text, work.n) == work.crc;
    // A damaged block: the walks need not meet, so write what the single
    // forward walk gives.
    if (!valid) WalkForward(work.forward, work.n, work.R, work.first, work.text);
    return valid;
}

std::uint32_t TExpander::ExpandBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work,
                                     std::uint8_t* text) {
    blockValid_ = false;
    DecodeBlock(h, stream, work, text);
    TBlockWork* one = &work;
    WalkBlocks(&one, 1);
    blockValid_ = FinishBlock(work);
    return work.n;
}

} // namespace payload
