#include "model/WaveletTree.h"

#include <algorithm>
#include <bit>

// Level k holds one bit of each value, the (k + 1)-th from the top, with the
// values ordered by their k top bits, each run of equal top bits (a node) in
// the order of the positions. A node's zeros make its left child on the next
// level, its ones the right one.
WWaveletTree::WWaveletTree(const std::vector<std::uint32_t>& values, std::uint32_t bound) : m_size(values.size()) {
    unsigned depth = 1;
    while (depth < 32 && (std::uint64_t(1) << depth) < bound) ++depth;
    const std::size_t n = values.size(), wordCount = n / 64 + 1;
    std::vector<std::uint32_t> current(values), next(n);
    m_levels.resize(depth);
    for (unsigned level = 0; level < depth; ++level) {
        const unsigned shift = depth - 1 - level;
        Bits& bits = m_levels[level];
        bits.words.assign(wordCount, 0);
        bits.onesBefore.assign(wordCount + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            if (current[i] >> shift & 1u) bits.words[i / 64] |= std::uint64_t(1) << (i % 64);
        for (std::size_t w = 0; w < wordCount; ++w)
            bits.onesBefore[w + 1] = bits.onesBefore[w] + std::uint32_t(std::popcount(bits.words[w]));
        if (level + 1 == depth) break;
        // Each node's zeros, then its ones.
        std::size_t out = 0;
        for (std::size_t i = 0; i < n;) {
            const std::uint64_t node = std::uint64_t(current[i]) >> (shift + 1);
            std::size_t end = i;
            while (end < n && std::uint64_t(current[end]) >> (shift + 1) == node) ++end;
            for (std::size_t j = i; j < end; ++j)
                if (!(current[j] >> shift & 1u)) next[out++] = current[j];
            for (std::size_t j = i; j < end; ++j)
                if (current[j] >> shift & 1u) next[out++] = current[j];
            i = end;
        }
        current.swap(next);
    }
}

std::size_t WWaveletTree::Bits::Rank1(std::size_t i) const {
    const std::size_t w = i / 64, b = i % 64;
    std::size_t ones = onesBefore[w];
    if (b) ones += std::size_t(std::popcount(words[w] & ((std::uint64_t(1) << b) - 1)));
    return ones;
}

std::size_t WWaveletTree::Bits::Select(std::size_t k, bool one) const {
    auto before = [&](std::size_t w) { return one ? onesBefore[w] : 64 * w - onesBefore[w]; };
    // The last word with at most k of them before it.
    std::size_t lo = 0, hi = words.size() - 1;
    while (lo < hi) {
        const std::size_t mid = lo + (hi - lo + 1) / 2;
        if (before(mid) <= k)
            lo = mid;
        else
            hi = mid - 1;
    }
    std::uint64_t word = one ? words[lo] : ~words[lo];
    for (std::size_t skip = k - before(lo); skip > 0; --skip) word &= word - 1;
    return lo * 64 + std::size_t(std::countr_zero(word));
}

std::int64_t WWaveletTree::search(const Node& node, std::size_t from, std::size_t to, std::uint32_t low,
                                  std::uint32_t high, bool last) const {
    if (from >= to || node.high <= low || high <= node.low) return kNone;
    if (low <= node.low && node.high <= high) return std::int64_t(last ? to - 1 : from);
    // A node below the last level holds one value, so it was decided above.
    const Bits& bits = m_levels[node.level];
    const std::size_t zerosBefore = bits.Rank0(node.start);
    const std::size_t zeros = bits.Rank0(node.end) - zerosBefore;
    const std::size_t fromZeros = bits.Rank0(from) - zerosBefore, toZeros = bits.Rank0(to) - zerosBefore;
    const std::uint64_t mid = node.low + (node.high - node.low) / 2;
    const Node left{node.level + 1, node.start, node.start + zeros, node.low, mid};
    const Node right{node.level + 1, node.start + zeros, node.end, mid, node.high};
    std::int64_t best = kNone;
    // Each child's answer taken back to this level's positions.
    const std::int64_t l = search(left, left.start + fromZeros, left.start + toZeros, low, high, last);
    if (l != kNone) best = std::int64_t(bits.Select(zerosBefore + std::size_t(l) - left.start, false));
    const std::size_t onesBefore = node.start - zerosBefore;
    const std::int64_t r = search(right, right.start + (from - node.start - fromZeros),
                                  right.start + (to - node.start - toZeros), low, high, last);
    if (r != kNone) {
        const std::int64_t up = std::int64_t(bits.Select(onesBefore + std::size_t(r) - right.start, true));
        best = best == kNone ? up : last ? std::max(best, up) : std::min(best, up);
    }
    return best;
}

std::int64_t WWaveletTree::First(std::size_t from, std::size_t to, std::uint32_t low, std::uint32_t high) const {
    if (m_levels.empty()) return kNone;
    const unsigned depth = unsigned(m_levels.size());
    return search({0, 0, m_size, 0, std::uint64_t(1) << depth}, from, std::min(to, m_size), low, high, false);
}

std::int64_t WWaveletTree::Last(std::size_t from, std::size_t to, std::uint32_t low, std::uint32_t high) const {
    if (m_levels.empty()) return kNone;
    const unsigned depth = unsigned(m_levels.size());
    return search({0, 0, m_size, 0, std::uint64_t(1) << depth}, from, std::min(to, m_size), low, high, true);
}
