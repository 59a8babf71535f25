#pragma once
// Adaptive frequency models of the arithmetic stage: one model per symbol
// group, and the structured model that picks a group first.
#include <array>
#include <cstdint>

namespace payload {

// Symbols of the arithmetic stage.
constexpr int kRunDigit1 = 0;   // zero-run digit with value 1
constexpr int kRunDigit2 = 1;   // zero-run digit with value 2
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
    static constexpr int kMaxCount = 130;  // the widest group, 128..257

    TGroupAriModel() = default;
    TGroupAriModel(int low, int high, int increment, int maxTotal) { Init(low, high, increment, maxTotal); }
    void Init(int low, int high, int increment, int maxTotal);
    // Back to the initial state: every slot frequency 1, slot i holding offset i - 1.
    void Reset();

    void Update(int slot);
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
};

class THeadAriModel {
public:
    static constexpr int kGroups = 9;
    THeadAriModel();
    void Reset();

    // Group of a symbol, and the first symbol of a group.
    static int GroupOf(int symbol) { return groupOf()[std::size_t(symbol)]; }
    static constexpr int FirstOf(int group) { return group < 2 ? group : 1 << (group - 1); }

    TGroupAriModel Head;
    // Groups 2..8; groups 0 and 1 are single symbols without a model.
    std::array<TGroupAriModel, kGroups> Groups;

private:
    static const std::array<std::uint8_t, kSymbolCount>& groupOf();
};

} // namespace payload
