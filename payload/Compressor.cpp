#include "payload/Compressor.h"

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "payload/ArchiveHeader.h"
#include "payload/AriDecoder.h"
#include "payload/Crc32.h"
#include "payload/SuffixSort.h"
#include "platform/WorkerThreads.h"

namespace payload {

namespace {
// The low n bits of v (n < 32), most significant first; a whole word is
// stored every time, but counted only once full.
inline void outputBits(TStrucAriEncoder::Regs& r, std::uint32_t v, int n) {
    r.acc = r.acc << n | v;
    r.accBits += n;
    const int full = r.accBits >= 32;
    r.accBits -= 32 * full;
    *r.at = std::uint32_t(r.acc >> r.accBits);
    r.at += full;
}
} // namespace

void TStrucAriEncoder::Start(std::vector<std::uint8_t>& out) {
    m_model.Reset();
    m_out = &out;
    m_regs = Regs{};
    if (!m_words.data) {
        m_words.size = 4096;
        m_words.data = std::make_unique_for_overwrite<std::uint32_t[]>(m_words.size);
    }
    m_regs.at = m_words.data.get();
    m_regs.end = m_words.data.get() + m_words.size;
}

void TStrucAriEncoder::grow(Regs& r, TWordBuffer& words) {
    const std::size_t used = std::size_t(r.at - words.data.get());
    auto more = std::make_unique_for_overwrite<std::uint32_t[]>(2 * words.size);
    std::copy(words.data.get(), r.at, more.get());
    words.data = std::move(more);
    words.size *= 2;
    r.at = words.data.get() + used;
    r.end = words.data.get() + words.size;
}

void TStrucAriEncoder::bitPlusFollow(Regs& r, std::uint32_t bit, TWordBuffer& words) {
    outputBits(r, bit, 1);
    for (; r.pending >= 16; r.pending -= 16) {
        if (r.end - r.at < 4) grow(r, words);
        outputBits(r, bit ? 0u : 0xFFFFu, 16);
    }
    if (r.pending > 0) outputBits(r, bit ? 0u : (1u << r.pending) - 1, int(r.pending));
    r.pending = 0;
}

[[gnu::always_inline]] inline void TStrucAriEncoder::codeSymbol(Regs& r, TGroupAriModel& m, int offset,
                                                                TWordBuffer& words) {
    // Room for this symbol's bits: at most 16 and the owed ones, fewer than 16 here.
    if (r.end - r.at < 4) grow(r, words);
    const int slot = m.SlotOf(offset);
    const std::uint32_t range = r.high - r.low + 1;
    const int total = m.cum[0];
    r.high = r.low + divideByTotal(range * std::uint32_t(m.cum[std::size_t(slot - 1)]), total) - 1;
    r.low = r.low + divideByTotal(range * std::uint32_t(m.cum[std::size_t(slot)]), total);
    // All the renormalising steps at once, as the decoder takes them: the
    // bits Low and High share go out (the first one followed by the pending
    // underflow bits), then the underflow bits are counted. Without a
    // branch where it can be: whether bits go out is a coin toss.
    const int k = __builtin_clz((r.low ^ r.high) << 16 | 0x8000u);
    if (r.pending >= 16) [[unlikely]] {
        if (k) {
            const std::uint32_t top = r.low >> (16 - k);
            bitPlusFollow(r, top >> (k - 1), words);
            if (k > 1) outputBits(r, top & ((1u << (k - 1)) - 1), k - 1);
        }
    } else {
        const int p = int(r.pending);
        const std::uint32_t first = r.low >> 15 & 1u;
        const std::uint32_t top = r.low >> (16 - k); // k bits, the first one first
        const std::uint32_t follow = first ? 0u : (1u << p) - 1;
        const std::uint32_t v = (((first << p) | follow) << k >> 1) | (top & ((1u << k >> 1) - 1u));
        const int has = k != 0;
        outputBits(r, v & (0u - std::uint32_t(has)), (p + k) * has);
        r.pending *= std::uint32_t(1 - has);
    }
    r.low = (r.low << k) & 0xFFFF;
    r.high = ((r.high << k) | ((1u << k) - 1)) & 0xFFFF;
    const int u = __builtin_clz(~((r.low & ~r.high & 0x7FFF) << 17));
    r.pending += std::uint32_t(u);
    r.low = (r.low & 0x8000) | ((r.low << u) & 0x7FFF);
    r.high = (r.high & 0x8000) | ((r.high << u) & 0x7FFF) | ((1u << u) - 1);
    m.Update(slot);
}

void TStrucAriEncoder::EncodeSymbol(TGroupAriModel& m, int offset) {
    withRegs([&](Regs& r) { codeSymbol(r, m, offset, m_words); });
}

void TStrucAriEncoder::Encode(int symbol) {
    const int g = THeadAriModel::GroupOf(symbol);
    withRegs([&](Regs& r) {
        codeSymbol(r, m_model.Head, g, m_words);
        if (g > 1) codeSymbol(r, m_model.Groups[std::size_t(g)], symbol - THeadAriModel::FirstOf(g), m_words);
    });
}

void TStrucAriEncoder::Finish() {
    withRegs([&](Regs& r) {
        // Two more bits pick a point inside the final interval; the decoder's
        // read-ahead past the stream gets zeros, which stay inside it.
        ++r.pending;
        bitPlusFollow(r, r.low < kAriFirstQuarter ? 0 : 1, m_words);
        const std::uint32_t* words = m_words.data.get();
        const std::size_t whole = std::size_t(r.at - words);
        const std::size_t at = m_out->size();
        m_out->resize(at + 4 * whole + std::size_t(r.accBits + 7) / 8);
        std::uint8_t* o = m_out->data() + at;
        for (std::size_t w = 0; w < whole; ++w, o += 4) {
            const std::uint32_t v = words[w];
            o[0] = std::uint8_t(v >> 24);
            o[1] = std::uint8_t(v >> 16);
            o[2] = std::uint8_t(v >> 8);
            o[3] = std::uint8_t(v);
        }
        while (r.accBits >= 8) {
            r.accBits -= 8;
            *o++ = std::uint8_t(r.acc >> r.accBits);
        }
        if (r.accBits > 0) *o = std::uint8_t(r.acc << (8 - r.accBits));
        r.acc = 0;
        r.accBits = 0;
        r.at = m_words.data.get();
    });
}

TBlockSortResult blockSort(const std::uint8_t* data, std::uint32_t n, std::int32_t* sa, std::uint8_t* last) {
    TBlockSortResult r;
    if (n == 0) return r;
    // The last column is written only after the sort, which works in its room meanwhile.
    suffixSort(data, sa, n, last, n);
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
// Moves b, not at the front, to the front of the move-to-front list and
// returns where it stood. The ranks of sorted text are small but vary, so
// the first sixteen places are searched and moved at once, without a loop.
int moveToFront(std::uint8_t* list, std::uint8_t b) {
#if defined(__SSE2__)
    const __m128i want = _mm_set1_epi8(char(b));
    int rank = 0;
    for (int at = 0;; at += 16) {
        const int hits =
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(list + at)), want));
        if (hits) {
            rank = at + __builtin_ctz(unsigned(hits));
            break;
        }
    }
    if (rank < 16) {
        // Places 1..rank take the bytes before them, the rest up to 16 stay.
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(list));
        const __m128i same = _mm_loadu_si128(reinterpret_cast<const __m128i*>(list + 1));
        const __m128i moved = _mm_cmplt_epi8(_mm_setr_epi8(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16),
                                             _mm_set1_epi8(char(rank + 1)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(list + 1),
                         _mm_or_si128(_mm_and_si128(moved, before), _mm_andnot_si128(moved, same)));
        list[0] = b;
        return rank;
    }
#else
    int rank = 1;
    while (list[rank] != b) ++rank;
#endif
    std::memmove(list + 1, list, std::size_t(rank));
    list[0] = b;
    return rank;
}

void putU32(std::vector<std::uint8_t>& v, std::uint32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(std::uint8_t(x >> (8 * i)));
}
} // namespace

void TStrucAriEncoder::EncodeLastColumn(const std::uint8_t* last, std::uint32_t n) {
    std::uint8_t list[256];
    for (int k = 0; k < 256; ++k) list[k] = std::uint8_t(k);
    withRegs([&](Regs& r) {
        std::uint32_t run = 0;
        auto flushRun = [&] {
            // Bijective base 2, least significant digit first.
            while (run > 0) {
                const std::uint32_t two = 1 - (run & 1u);
                codeSymbol(r, m_model.Head, int(kRunDigit1 + two), m_words);
                run = (run - 1 - two) / 2;
            }
        };
        // Ranks (symbols 2..256) and the end of the block are all of groups
        // above the run digits', so they always take a group symbol too.
        auto codeGrouped = [&](int symbol) {
            const int g = THeadAriModel::GroupOf(symbol);
            codeSymbol(r, m_model.Head, g, m_words);
            codeSymbol(r, m_model.Groups[std::size_t(g)], symbol - THeadAriModel::FirstOf(g), m_words);
        };
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint8_t b = last[i];
            if (list[0] == b) {
                ++run;
                continue;
            }
            const int rank = moveToFront(list, b);
            flushRun();
            codeGrouped(rank + 1);
        }
        flushRun();
        codeGrouped(kEndOfBlock);
    });
}

WCompressor::WCompressor(std::uint32_t blockLength) : m_blockLength(blockLength) {
    if (m_blockLength == 0 || m_blockLength > kMaxBlockLength) throw std::invalid_argument("Bad block length");
    m_suffixArray = TBigTable(std::size_t(m_blockLength) * sizeof(std::int32_t));
    // Neither is cleared: a block writes what it reads.
    m_last = std::make_unique_for_overwrite<std::uint8_t[]>(m_blockLength);
}

void WCompressor::BeginArchive(std::vector<std::uint8_t>& archive) { putU32(archive, kArchiveSignature); }

void WCompressor::EncodeBlock(const std::uint8_t* data, std::uint32_t n, std::vector<std::uint8_t>& archive) {
    if (n > m_blockLength) throw std::invalid_argument("Block longer than the block length");
    const TBlockSortResult sorted = blockSort(data, n, static_cast<std::int32_t*>(m_suffixArray.data()), m_last.get());

    putU32(archive, kBlockSignature);
    putU32(archive, crc32(data, n));
    const std::size_t lengthAt = archive.size();
    putU32(archive, 0); // the coded length, once known
    putU32(archive, sorted.PrimaryIndex);
    putU32(archive, sorted.SentinelPosition);
    const std::size_t start = archive.size();
    m_encoder.Start(archive);
    m_encoder.EncodeLastColumn(m_last.get(), n);
    m_encoder.Finish();
    const std::uint32_t length = std::uint32_t(archive.size() - start);
    for (int i = 0; i < 4; ++i) archive[lengthAt + std::size_t(i)] = std::uint8_t(length >> (8 * i));
}

std::uint32_t WCompressor::Compress(const std::uint8_t* data, std::size_t n, std::vector<std::uint8_t>& archive) {
    BeginArchive(archive);
    std::uint32_t blocks = 0;
    for (std::size_t at = 0; at < n; at += m_blockLength) {
        const std::size_t len = n - at < m_blockLength ? n - at : m_blockLength;
        EncodeBlock(data + at, std::uint32_t(len), archive);
        ++blocks;
    }
    return blocks;
}

std::uint32_t packArchive(const TPackReader& read, const TPackWriter& write, std::uint32_t blockLength, int threads) {
    if (threads <= 0) threads = int(plat::WorkerThreads());
    std::vector<std::uint8_t> signature;
    WCompressor::BeginArchive(signature);
    write(signature.data(), signature.size());

    // Each worker takes the next block of input (read in turn) and packs it;
    // packed blocks wait in `ready` until those before them are written, by
    // whichever worker finds them next in line. At most 2 * threads blocks
    // are read ahead of the writing.
    std::mutex mutex;
    std::condition_variable room;
    std::uint32_t nextBlock = 0, written = 0;
    bool inputDone = false, failed = false, writing = false;
    std::exception_ptr error;
    std::map<std::uint32_t, std::vector<std::uint8_t>> ready;
    const std::uint32_t ahead = 2 * std::uint32_t(threads);
    auto work = [&] {
        try {
            WCompressor packer(blockLength);
            const auto input = std::make_unique_for_overwrite<std::uint8_t[]>(blockLength);
            for (;;) {
                std::uint32_t block = 0;
                std::size_t n = 0;
                {
                    std::unique_lock<std::mutex> lock(mutex);
                    room.wait(lock, [&] { return inputDone || failed || nextBlock < written + ahead; });
                    if (inputDone || failed) return;
                    while (n < blockLength) {
                        const std::size_t got = read(input.get() + n, blockLength - n);
                        if (got == 0) break;
                        n += got;
                    }
                    if (n < blockLength) inputDone = true;
                    if (n == 0) return;
                    block = nextBlock++;
                }
                std::vector<std::uint8_t> archive;
                packer.EncodeBlock(input.get(), std::uint32_t(n), archive);
                std::unique_lock<std::mutex> lock(mutex);
                ready.emplace(block, std::move(archive));
                if (writing) continue;
                writing = true;
                for (auto it = ready.find(written); !failed && it != ready.end(); it = ready.find(written)) {
                    std::vector<std::uint8_t> next = std::move(it->second);
                    ready.erase(it);
                    lock.unlock();
                    write(next.data(), next.size());
                    lock.lock();
                    ++written;
                    room.notify_all();
                }
                writing = false;
            }
        } catch (...) {
            std::lock_guard<std::mutex> lock(mutex);
            if (!failed) error = std::current_exception();
            failed = true;
            room.notify_all();
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(work);
    work();
    for (auto& t : pool) t.join();
    if (error) std::rethrow_exception(error);
    return written;
}

std::vector<std::uint8_t> compressArchive(const std::string& text, std::uint32_t& blockCount,
                                          std::uint32_t blockLength) {
    std::vector<std::uint8_t> archive;
    std::size_t at = 0;
    blockCount = packArchive(
        [&](std::uint8_t* data, std::size_t n) {
            n = std::min(n, text.size() - at);
            std::memcpy(data, text.data() + at, n);
            at += n;
            return n;
        },
        [&](const std::uint8_t* data, std::size_t n) { archive.insert(archive.end(), data, data + n); }, blockLength);
    return archive;
}

} // namespace payload
