#include "SuffixSort.h"

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
    sa[at++] = j > 0 && t[j - 1] < c1 ? ~j : j;
    for (std::int32_t i = 0; i < n; ++i) {
        j = sa[i];
        sa[i] = ~j;
        if (j > 0) {
            --j;
            const std::int32_t c0 = t[j];
            if (c0 != c1) {
                b[c1] = at;
                at = b[c1 = c0];
            }
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
            const std::int32_t c0 = t[j];
            if (c0 != c1) {
                b[c1] = at;
                at = b[c1 = c0];
            }
            sa[--at] = j == 0 || t[j - 1] > c1 ? ~j : j;
        } else {
            sa[i] = ~j;
        }
    }
}

// Which positions are leftmost S positions, as bits (bit i % 64 of word i / 64).
template <class Char>
std::vector<std::uint64_t> leftmostS(const Char* t, std::int32_t n) {
    // Suffix types right to left, without a branch: a position is S when
    // its character is below the next one, or equal to it and that one is S.
    std::vector<std::uint64_t> s(std::size_t(n + 63) / 64);
    std::uint64_t type = 0, word = 0; // the last position is L
    for (std::int32_t i = n - 2; i >= 0; --i) {
        type = std::uint64_t(t[i] < t[i + 1]) | (std::uint64_t(t[i] == t[i + 1]) & type);
        word |= type << (i & 63);
        if ((i & 63) == 0) {
            s[std::size_t(i >> 6)] = word;
            word = 0;
        }
    }
    // Leftmost S: S after L. Position 0 has nothing before it.
    std::uint64_t carry = ~std::uint64_t(0);
    for (std::size_t w = 0; w < s.size(); ++w) {
        const std::uint64_t v = s[w];
        s[w] = v & ~(v << 1 | carry >> 63);
        carry = v;
    }
    return s;
}

inline bool isSet(const std::vector<std::uint64_t>& bits, std::int32_t i) {
    return bits[std::size_t(i >> 6)] >> (i & 63) & 1;
}

// Calls f(p) for every set position p, right to left.
template <class F>
void forEachSet(const std::vector<std::uint64_t>& bits, F f) {
    for (std::size_t w = bits.size(); w-- > 0;) {
        for (std::uint64_t v = bits[w]; v != 0;) {
            const int top = 63 - __builtin_clzll(v);
            f(std::int32_t(w * 64 + std::size_t(top)));
            v ^= std::uint64_t(1) << top;
        }
    }
}

// spare: room for two arrays of k counts, when spareSize allows.
template <class Char>
void sortSuffixes(const Char* t, std::int32_t* sa, std::int32_t n, std::int32_t k, std::int32_t* spare,
                  std::int32_t spareSize) {
    if (n <= 1) {
        if (n == 1) sa[0] = 0;
        return;
    }
    std::vector<std::int32_t> own;
    if (spareSize < 2 * k) {
        own.resize(2 * std::size_t(k));
        spare = own.data();
    }
    std::int32_t* c = spare;
    std::int32_t* b = spare + k;
    countChars(t, n, c, k);

    // Sort the substrings from each leftmost S position to the next.
    bucketBounds(c, b, k, true);
    for (std::int32_t i = 0; i < n; ++i) sa[i] = 0;
    const std::vector<std::uint64_t> lms = leftmostS(t, n);
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
        sortSuffixes(reduced, sa, m, names, sa + m, n - 2 * m);
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

void suffixSort(const std::uint8_t* text, std::int32_t* suffixArray, std::uint32_t n) {
    std::int32_t counts[2 * 256];
    sortSuffixes(text, suffixArray, std::int32_t(n), 256, counts, 2 * 256);
}

} // namespace payload
