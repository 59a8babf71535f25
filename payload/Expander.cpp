#include "payload/Expander.h"

#include <algorithm>
#include <cstring>

#include "payload/ArchiveHeader.h"
#include "payload/Crc32.h"
#include "payload/PayloadErrors.h"

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
    m_mtf.Reset();
    const std::uint32_t head = P < n ? P : n;
    for (std::uint32_t k = 0; k < head; ++k) last[k] = m_mtf.Decode(ranks[k]);
    for (std::uint32_t k = head; k < n; ++k) last[k + 1] = m_mtf.Decode(ranks[k]);
}

void TExpander::BuildTransforms(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, const std::uint32_t* counts,
                                std::uint32_t* forward, std::uint32_t* pairs, TRowStarts& starts) {
    // Row 0 is the sentinel's, which sorts before every byte.
    std::uint32_t start[256];
    std::uint32_t sum = 1;
    for (int c = 0; c < 256; ++c) {
        start[c] = sum;
        starts[std::size_t(c)] = sum;
        sum += counts[c];
    }
    starts[256] = 0xFFFFFFFFu;
    // Row j = start(c) + occurrence is the row that the byte c at last[i]
    // begins: forward[j] leads from j to i and carries c.
    auto link = [&](std::uint32_t i) {
        const std::uint32_t c = last[i];
        const std::uint32_t j = start[c]++;
        forward[j] = i | c << 24;
    };
    for (std::uint32_t i = 0; i < P; ++i) link(i);
    for (std::uint32_t i = P + 1; i <= n; ++i) link(i);
    forward[0] = P;
    // Two steps a read: the entry of the row one step on, which leads two
    // steps on and carries the byte that row begins with. Within one byte's
    // rows the rows one step on rise, so these reads sweep the table in
    // order rather than jump about it.
    for (std::uint32_t j = 0; j <= n; ++j) pairs[j] = forward[forward[j] & kRowMask];
}

namespace {
// The walk of one block from row R, two bytes a dependent read: the walk is
// bound by those reads, each of which misses the caches.
struct PairWalk {
    const std::uint32_t* pairs;
    const TRowStarts& starts;
    std::uint8_t* text;
    std::uint32_t f, k = 2, n;
    PairWalk(const std::uint32_t* p, const TRowStarts& s, std::uint32_t len, std::uint32_t R, std::uint8_t first,
             std::uint8_t* t)
        : pairs(p), starts(s), text(t), f(R), n(len) {
        if (n > 0) text[1] = first;
    }
    // The byte a row begins with, from where the rows of each byte start:
    // computing it is cheaper than another read that misses.
    std::uint8_t firstOf(std::uint32_t row) const {
        std::uint32_t c = 0;
        for (std::uint32_t step = 128; step; step >>= 1) c += starts[c + step] <= row ? step : 0;
        return std::uint8_t(c);
    }
    bool twoLeft() const { return k + 1 <= n; }
    void step() {
        const std::uint32_t e = pairs[f];
        text[k] = firstOf(f);
        text[k + 1] = std::uint8_t(e >> 24);
        f = e & kRowMask;
        k += 2;
    }
    void finish() {
        while (twoLeft()) step();
        if (k == n) text[k] = firstOf(f);
    }
};

PairWalk walkOf(const TBlockWork& w) { return PairWalk(w.pairs, w.starts, w.n, w.R, w.first, w.text); }
} // namespace

void TExpander::WalkBlocks(TBlockWork* const* works, int count) {
    if (count == 1) {
        walkOf(*works[0]).finish();
    } else if (count == 2) {
        // Two chains of reads in flight.
        PairWalk x = walkOf(*works[0]), y = walkOf(*works[1]);
        while (x.twoLeft() && y.twoLeft()) {
            x.step();
            y.step();
        }
        x.finish();
        y.finish();
    }
}

void TExpander::InverseBlockSort(const std::uint8_t* last, std::uint32_t n, std::uint32_t P, std::uint32_t R,
                                 std::uint32_t* forward, std::uint32_t* pairs, std::uint8_t* text) {
    checkPositions(n, P, R);
    std::uint32_t counts[256] = {};
    for (std::uint32_t i = 0; i <= n; ++i)
        if (i != P) ++counts[last[i]];
    TRowStarts starts;
    BuildTransforms(last, n, P, counts, forward, pairs, starts);
    PairWalk(pairs, starts, n, R, last[R], text).finish();
}

void TExpander::DecodeBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work,
                            std::uint8_t* text) {
    const std::uint32_t P = h.SentinelPosition, R = h.PrimaryIndex;
    // Ranks go through move-to-front straight into the last column (text
    // doubles as it: the walk reads only the transforms), counted on the way.
    std::uint8_t* last = text;
    std::uint32_t counts[256] = {};
    std::uint32_t k = 0;
    m_mtf.Reset();
    auto put = [&](std::uint8_t rank, std::uint32_t run) {
        if (rank != 0) {
            const std::uint8_t b = m_mtf.Decode(rank);
            ++counts[b];
            last[k < P ? k : k + 1] = b;
            ++k;
            return;
        }
        const std::uint8_t b = m_mtf.ByteAt(0);
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
    const std::uint32_t n = m_decoder.DecodeBlock(bits, m_maxBlockLength, put);
    checkPositions(n, P, R);

    BuildTransforms(last, n, P, counts, work.forward, work.pairs, work.starts);
    work.text = text;
    work.n = n;
    work.R = R;
    work.crc = h.CRC;
    work.first = last[R];
}

bool TExpander::FinishBlock(const TBlockWork& work) { return BlockCRC(work.text, work.n) == work.crc; }

std::uint32_t TExpander::ExpandBlock(const TDataBlockHeader& h, const std::uint8_t* stream, TBlockWork& work,
                                     std::uint8_t* text) {
    m_blockValid = false;
    DecodeBlock(h, stream, work, text);
    TBlockWork* one = &work;
    WalkBlocks(&one, 1);
    m_blockValid = FinishBlock(work);
    return work.n;
}

} // namespace payload
