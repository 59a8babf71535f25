#pragma once
// Adaptive frequency models of the arithmetic stage: one model per symbol
// group, and the structured model that picks a group first.
#include <array>
#include <cstdint>

namespace payload {

// Symbols of the arithmetic stage.
constexpr int kRunDigit1 = 0; // zero-run digit with value 1
constexpr int kRunDigit2 = 1; // zero-run digit with value 2
constexpr int kEndOfBlock = 257;
constexpr int kSymbolCount = 258;

// floor(x / total) by a multiplication: model totals never pass kMaxAriTotal
// (8192 plus the head model's increment of 32, with room to spare).
constexpr int kMaxAriTotal = 8192 + 64;
// ceil(2^64 / d): floor(x / d) is then the high half of the 128-bit product
// for every 32-bit x (d >= 2; totals start at 3).
inline constexpr std::array<std::uint64_t, kMaxAriTotal + 1> kAriTotalReciprocals = [] {
    std::array<std::uint64_t, kMaxAriTotal + 1> r{};
    for (std::size_t d = 2; d < r.size(); ++d) r[d] = ~std::uint64_t(0) / d + 1;
    return r;
}();
inline std::uint32_t divideByTotal(std::uint32_t x, int total) {
    return std::uint32_t((static_cast<unsigned __int128>(kAriTotalReciprocals[std::size_t(total)]) * x) >> 64);
}

class TGroupAriModel {
public:
    static constexpr int kMaxCount = 130; // the widest group, 128..257

    TGroupAriModel() = default;
    TGroupAriModel(int low, int high, int increment, int maxTotal) { Init(low, high, increment, maxTotal); }
    void Init(int low, int high, int increment, int maxTotal);
    // Back to the initial state: every slot frequency 1, slot i holding offset i - 1.
    void Reset();

    void Update(int slot) {
        if (cum[0] >= MaxTotal) halve();
        int i = slot;
        while (freq[std::size_t(i)] == freq[std::size_t(i - 1)]) --i;
        if (i < slot) {
            const std::uint8_t a = slotToSym[std::size_t(i)];
            const std::uint8_t b = slotToSym[std::size_t(slot)];
            slotToSym[std::size_t(i)] = b;
            slotToSym[std::size_t(slot)] = a;
            symToSlot[b] = std::uint8_t(i);
            symToSlot[a] = std::uint8_t(slot);
        }
        freq[std::size_t(i)] += Increment;
        for (int j = 0; j < i; ++j) cum[std::size_t(j)] += Increment;
    }
    // Symbol offset held by a slot; the escape slot Count + 1 holds 0.
    int GetSymbol(int slot) const { return slotToSym[std::size_t(slot)]; }
    int SlotOf(int offset) const { return symToSlot[std::size_t(offset)]; }
    int Total() const { return cum[0]; }

    int Low = 0, High = 0, Count = 0, Increment = 1, MaxTotal = 0;
    // Slots 0..Count + 1; freq[0] = 0 stops the search in Update.
    std::array<int, kMaxCount + 2> freq{};
    std::array<int, kMaxCount + 2> cum{};
    std::array<std::uint8_t, kMaxCount + 2> slotToSym{};
    std::array<std::uint8_t, kMaxCount + 2> symToSlot{};

private:
    // Every frequency halved (rounding up), the sums made again.
    void halve();
};

// First symbol of a group, and the group of each symbol.
constexpr int firstOfGroup(int group) { return group < 2 ? group : 1 << (group - 1); }
inline constexpr std::array<std::uint8_t, kSymbolCount> kGroupOfSymbol = [] {
    std::array<std::uint8_t, kSymbolCount> t{};
    for (int s = 0; s < kSymbolCount; ++s) {
        int g = 0;
        while (g + 1 < 9 && s >= firstOfGroup(g + 1)) ++g;
        t[std::size_t(s)] = std::uint8_t(g);
    }
    return t;
}();

class THeadAriModel {
public:
    static constexpr int kGroups = 9;
    THeadAriModel();
    void Reset();

    // Group of a symbol, and the first symbol of a group.
    static int GroupOf(int symbol) { return kGroupOfSymbol[std::size_t(symbol)]; }
    static constexpr int FirstOf(int group) { return firstOfGroup(group); }

    TGroupAriModel Head;
    // Groups 2..8; groups 0 and 1 are single symbols without a model.
    std::array<TGroupAriModel, kGroups> Groups;
};

} // namespace payload
