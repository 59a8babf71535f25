#include "payload/AriModel.h"

namespace payload {

void TGroupAriModel::Init(int low, int high, int increment, int maxTotal) {
    Low = low;
    High = high;
    Count = high - low + 1;
    Increment = increment;
    MaxTotal = maxTotal;
    Reset();
}

void TGroupAriModel::Reset() {
    const int last = Count + 1;
    freq[0] = 0;
    for (int i = 1; i <= last; ++i) freq[std::size_t(i)] = 1;
    for (int i = 0; i <= last; ++i) cum[std::size_t(i)] = last - i;
    for (int i = 1; i <= Count; ++i) {
        slotToSym[std::size_t(i)] = std::uint8_t(i - 1);
        symToSlot[std::size_t(i - 1)] = std::uint8_t(i);
    }
    slotToSym[0] = 0;
    slotToSym[std::size_t(last)] = 0;
}

void TGroupAriModel::halve() {
    int sum = 0;
    for (int i = Count + 1; i >= 0; --i) {
        freq[std::size_t(i)] = (freq[std::size_t(i)] + 1) / 2;
        cum[std::size_t(i)] = sum;
        sum += freq[std::size_t(i)];
    }
}

THeadAriModel::THeadAriModel() {
    Head.Init(0, 8, 32, 4096);
    static constexpr int maxTotals[kGroups] = {0, 0, 256, 256, 128, 1024, 2048, 4096, 8192};
    for (int g = 2; g < kGroups; ++g) {
        const int high = g == 8 ? kEndOfBlock : FirstOf(g + 1) - 1;
        Groups[std::size_t(g)].Init(FirstOf(g), high, 1, maxTotals[g]);
    }
}

void THeadAriModel::Reset() {
    Head.Reset();
    for (int g = 2; g < kGroups; ++g) Groups[std::size_t(g)].Reset();
}

} // namespace payload
