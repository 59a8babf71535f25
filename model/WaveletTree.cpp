#include "model/WaveletTree.h"

#include <algorithm>
#include <bit>
#include <utility>

// Level k holds one bit of each value, the (k + 1)-th from the top, for the
// values in the order of the level before with its zeros moved ahead of its
// ones, keeping their order (a wavelet matrix). The values that agree in
// their k top bits so stand together on level k: the nodes of the tree.
WWaveletTree::WWaveletTree(std::vector<std::uint32_t> values, std::uint32_t bound) : m_size(values.size()) {
    unsigned depth = 1;
    while (depth < 32 && (std::uint64_t(1) << depth) < bound) ++depth;
    const std::size_t n = values.size(), wordCount = n / 64 + 1;
    std::vector<std::uint32_t> current(std::move(values)), next(n);
    m_levels.resize(depth);
    for (unsigned level = 0; level < depth; ++level) {
        const unsigned shift = depth - 1 - level;
        Bits& bits = m_levels[level];
        bits.words.resize(wordCount);
        bits.onesBefore.resize(wordCount + 1);
        // A word at a time in a register, not a store per value.
        for (std::size_t w = 0; w < wordCount; ++w) {
            std::uint64_t word = 0;
            for (std::size_t i = w * 64, end = std::min(n, i + 64); i < end; ++i)
                word |= std::uint64_t(current[i] >> shift & 1u) << (i % 64);
            bits.words[w] = word;
            bits.onesBefore[w + 1] = bits.onesBefore[w] + std::uint32_t(std::popcount(word));
        }
        bits.zeros = n - bits.onesBefore[wordCount];
        if (level + 1 == depth) break;
        // Without a branch: the bits of ranks are as good as random.
        std::size_t zero = 0, one = bits.zeros;
        for (std::size_t i = 0; i < n; ++i) {
            const std::uint32_t value = current[i];
            const std::size_t bit = value >> shift & 1u;
            next[bit ? one : zero] = value;
            one += bit;
            zero += bit ^ 1u;
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
    const std::size_t startZeros = bits.Rank0(node.start), endZeros = bits.Rank0(node.end);
    const std::size_t fromZeros = bits.Rank0(from), toZeros = bits.Rank0(to);
    const std::uint64_t mid = node.low + (node.high - node.low) / 2;
    const Node left{node.level + 1, startZeros, endZeros, node.low, mid};
    const Node right{node.level + 1, bits.zeros + node.start - startZeros, bits.zeros + node.end - endZeros, mid,
                     node.high};
    std::int64_t best = kNone;
    // Each child's answer taken back to this level's positions.
    const std::int64_t l = search(left, fromZeros, toZeros, low, high, last);
    if (l != kNone) best = std::int64_t(bits.Select(std::size_t(l), false));
    const std::int64_t r = search(right, bits.zeros + from - fromZeros, bits.zeros + to - toZeros, low, high, last);
    if (r != kNone) {
        const std::int64_t up = std::int64_t(bits.Select(std::size_t(r) - bits.zeros, true));
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
