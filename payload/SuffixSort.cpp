#include "payload/SuffixSort.h"

#include <bit>
#include <cstring>
#include <vector>

namespace payload {

namespace {

// Suffix sorting by induced sorting: the suffixes that start a run of
// smaller-than-next characters after a larger one (the "leftmost S"
// suffixes) are sorted first, by recursion on the string of their names
// where names repeat, and every other suffix is induced from them in two
// linear passes. A suffix past the end of the text, smaller than any, is
// implied.
//
// In the inducing passes an entry is stored complemented (negative) when
// its predecessor is not to be induced by the current pass; each pass
// flips what it has seen, which hands the next pass exactly its entries.
// So no array of suffix types is needed.

// Counts of each character in c (size k).
template <class Char>
void countChars(const Char* t, std::int32_t n, std::int32_t* c, std::int32_t k) {
    for (std::int32_t i = 0; i < k; ++i) c[i] = 0;
    for (std::int32_t i = 0; i < n; ++i) ++c[t[i]];
}

// Bucket starts (ends = false) or ends (one past the last entry).
inline void bucketBounds(const std::int32_t* c, std::int32_t* b, std::int32_t k, bool ends) {
    std::int32_t sum = 0;
    if (ends) {
        for (std::int32_t i = 0; i < k; ++i) b[i] = sum += c[i];
    } else {
        for (std::int32_t i = 0; i < k; ++i) {
            b[i] = sum;
            sum += c[i];
        }
    }
}

// From the leftmost S suffixes in place at their bucket ends, the L suffixes
// left to right, then the S suffixes right to left.
template <class Char>
void induce(const Char* t, std::int32_t* sa, std::int32_t n, const std::int32_t* c, std::int32_t* b, std::int32_t k) {
    bucketBounds(c, b, k, false);
    // The implied last suffix comes first; its predecessor is the last character, an L suffix.
    std::int32_t j = n - 1;
    std::int32_t c1 = t[j];
    std::int32_t at = b[c1];
    // The bucket being filled is kept in c1 and at; b holds the others.
    auto toBucket = [&](std::int32_t c0) {
        if (c0 != c1) {
            b[c1] = at;
            at = b[c1 = c0];
        }
    };
    sa[at++] = j > 0 && t[j - 1] < c1 ? ~j : j;
    for (std::int32_t i = 0; i < n; ++i) {
        j = sa[i];
        sa[i] = ~j;
        if (j > 0) {
            --j;
            toBucket(t[j]);
            sa[at++] = j > 0 && t[j - 1] < c1 ? ~j : j;
        }
    }
    bucketBounds(c, b, k, true);
    c1 = 0;
    at = b[0];
    for (std::int32_t i = n - 1; i >= 0; --i) {
        j = sa[i];
        if (j > 0) {
            --j;
            toBucket(t[j]);
            sa[--at] = j == 0 || t[j - 1] > c1 ? ~j : j;
        } else {
            sa[i] = ~j;
        }
    }
}

// Room handed down the recursion, taken front first; what a level takes is
// free again when it returns, as the callee gets a copy.
struct TRoom {
    std::uint8_t* at = nullptr;
    std::size_t bytes = 0;
    // Room for count Ts, or null when they do not fit.
    template <class T>
    T* take(std::size_t count) {
        const std::size_t skip = (alignof(T) - reinterpret_cast<std::uintptr_t>(at) % alignof(T)) % alignof(T);
        if (bytes < skip || (bytes - skip) / sizeof(T) < count) return nullptr;
        T* p = reinterpret_cast<T*>(at + skip);
        at += skip + count * sizeof(T);
        bytes -= skip + count * sizeof(T);
        return p;
    }
};

// Bits of a vector of positions: bit i % 64 of word i / 64.
struct TBits {
    std::uint64_t* words;
    std::size_t count;
};

// Which positions are leftmost S positions, as bits (bit i % 64 of word i / 64).
template <class Char>
void leftmostS(const Char* t, std::int32_t n, TBits s) {
    // Suffix types right to left, without a branch: a position is S when
    // its character is below the next one, or equal to it and that one is S.
    std::uint64_t type = 0, word = 0; // the last position is L
    s.words[s.count - 1] = 0;         // in case it starts a word of its own
    for (std::int32_t i = n - 2; i >= 0; --i) {
        type = std::uint64_t(t[i] < t[i + 1]) | (std::uint64_t(t[i] == t[i + 1]) & type);
        word |= type << (i & 63);
        if ((i & 63) == 0) {
            s.words[i >> 6] = word;
            word = 0;
        }
    }
    // Leftmost S: S after L. Position 0 has nothing before it.
    std::uint64_t carry = ~std::uint64_t(0);
    for (std::size_t w = 0; w < s.count; ++w) {
        const std::uint64_t v = s.words[w];
        s.words[w] = v & ~(v << 1 | carry >> 63);
        carry = v;
    }
}

inline bool isSet(TBits bits, std::int32_t i) { return bits.words[i >> 6] >> (i & 63) & 1; }

// Calls f(p) for every set position p, right to left.
template <class F>
void forEachSet(TBits bits, F f) {
    for (std::size_t w = bits.count; w-- > 0;) {
        for (std::uint64_t v = bits.words[w]; v != 0;) {
            const int top = 63 - __builtin_clzll(v);
            f(std::int32_t(w * 64 + std::size_t(top)));
            v ^= std::uint64_t(1) << top;
        }
    }
}

// spare: room in the suffix array for two arrays of k counts, when
// spareSize allows; room: further space for the position bits and counts.
// What fits in neither is allocated.
template <class Char>
void sortSuffixes(const Char* t, std::int32_t* sa, std::int32_t n, std::int32_t k, std::int32_t* spare,
                  std::int32_t spareSize, TRoom room) {
    if (n <= 1) {
        if (n == 1) sa[0] = 0;
        return;
    }
    const std::size_t bitWords = std::size_t(n + 63) / 64;
    std::uint64_t* bitRoom = room.take<std::uint64_t>(bitWords);
    std::vector<std::uint64_t> own;
    if (!bitRoom) {
        own.resize(bitWords);
        bitRoom = own.data();
    }
    const TBits lms{bitRoom, bitWords};
    std::vector<std::int32_t> ownCounts;
    if (spareSize < 2 * k) {
        spare = room.take<std::int32_t>(2 * std::size_t(k));
        if (!spare) {
            ownCounts.resize(2 * std::size_t(k));
            spare = ownCounts.data();
        }
    }
    std::int32_t* c = spare;
    std::int32_t* b = spare + k;
    countChars(t, n, c, k);

    // Sort the substrings from each leftmost S position to the next.
    bucketBounds(c, b, k, true);
    for (std::int32_t i = 0; i < n; ++i) sa[i] = 0;
    leftmostS(t, n, lms);
    std::int32_t m = 0;
    forEachSet(lms, [&](std::int32_t p) {
        sa[--b[t[p]]] = p;
        ++m;
    });
    induce(t, sa, n, c, b, k);

    // Gather them, sorted, at the front.
    std::int32_t found = 0;
    for (std::int32_t i = 0; i < n; ++i) {
        const std::int32_t p = sa[i];
        sa[found] = p;
        found += isSet(lms, p);
    }

    // Name them: equal substrings (same length, same characters) share a
    // name. Lengths, then names, are kept at m + p / 2, which no two
    // leftmost S positions share.
    for (std::int32_t i = m; i < n; ++i) sa[i] = 0;
    std::int32_t next = n;
    forEachSet(lms, [&](std::int32_t p) {
        sa[m + (p >> 1)] = next - p; // the last one reaches the implied end
        next = p;
    });
    std::int32_t names = 0, q = n, qlen = 0;
    for (std::int32_t i = 0; i < m; ++i) {
        const std::int32_t p = sa[i];
        const std::int32_t plen = sa[m + (p >> 1)];
        bool same = plen == qlen && q + plen < n && p + plen < n;
        bool compared = false;
        if constexpr (sizeof(Char) == 1 && std::endian::native == std::endian::little) {
            // Most are short and equal to the one before: eight bytes at once.
            if (same && plen < 8 && p + 8 <= n && q + 8 <= n) {
                std::uint64_t a, z;
                std::memcpy(&a, t + p, 8);
                std::memcpy(&z, t + q, 8);
                same = ((a ^ z) & (~std::uint64_t(0) >> (8 * (7 - plen)))) == 0;
                compared = true;
            }
        }
        for (std::int32_t j = 0; same && !compared && j <= plen; ++j) same = t[p + j] == t[q + j];
        if (!same) {
            ++names;
            q = p;
            qlen = plen;
        }
        sa[m + (p >> 1)] = names;
    }

    // The string of names, in text order, at the end; its suffix array at the front.
    std::int32_t* reduced = sa + n - m;
    // Without a branch: an empty entry writes at j, which was read already.
    for (std::int32_t i = n - 1, j = n - 1; i >= m; --i) {
        const std::int32_t name = sa[i];
        sa[j] = name - 1;
        j -= name != 0;
    }
    if (names < m) {
        // Between the reduced problem's suffix array and its string lies room for its counts.
        sortSuffixes(reduced, sa, m, names, sa + m, n - 2 * m, room);
    } else {
        for (std::int32_t i = 0; i < m; ++i) sa[reduced[i]] = i;
    }

    // The leftmost S suffixes, now fully sorted, to their bucket ends, and
    // everything else induced from them.
    std::int32_t j = m;
    forEachSet(lms, [&](std::int32_t p) { reduced[--j] = p; });
    for (std::int32_t i = 0; i < m; ++i) sa[i] = reduced[sa[i]];
    for (std::int32_t i = m; i < n; ++i) sa[i] = 0;
    bucketBounds(c, b, k, true);
    // Each lands at or after its own index, so going down overwrites nothing unread.
    for (std::int32_t i = m - 1; i >= 0; --i) {
        const std::int32_t p = sa[i];
        sa[i] = 0;
        sa[--b[t[p]]] = p;
    }
    induce(t, sa, n, c, b, k);
}

} // namespace

void suffixSort(const std::uint8_t* text, std::int32_t* suffixArray, std::uint32_t n, std::uint8_t* scratch,
                std::size_t scratchBytes) {
    std::int32_t counts[2 * 256];
    sortSuffixes(text, suffixArray, std::int32_t(n), 256, counts, 2 * 256, TRoom{scratch, scratchBytes});
}

} // namespace payload
