#pragma once
// The 16-bit arithmetic decoder over the structured model, and the block
// decoder that turns one coded stream into move-to-front ranks.
#include "AriModel.h"

#include <cstdint>

namespace payload {

class TBitFile;

constexpr int kAriHalf = 32768;
constexpr int kAriFirstQuarter = 16384;
constexpr int kAriThirdQuarter = 49152;

class TStrucAriDecoder {
public:
    virtual ~TStrucAriDecoder() = default;
    virtual int InputBit() = 0;
    virtual std::uint32_t InputBits(int n) = 0;

    // Fresh models; Value takes the first 16 bits of the stream.
    void Start();
    int Decode() {
        return DecodeWith([this] { return InputBit(); });
    }
    void Finish() {}
    int DecodeSymbol(TGroupAriModel& model) {
        return DecodeSymbolWith(model, [this] { return InputBit(); });
    }

    THeadAriModel& Model() { return model_; }
    int LowValue() const { return low_; }
    int HighValue() const { return high_; }
    int CodeValue() const { return value_; }

protected:
    // The decoding steps, with the bit source passed in so that a concrete
    // decoder reads its bits without a virtual call per bit.
    template <class NextBit>
    int DecodeSymbolWith(TGroupAriModel& m, NextBit&& nextBit) {
        const int range = high_ - low_ + 1;
        const int total = m.cum[0];
        const int target = ((value_ - low_ + 1) * total - 1) / range;
        int slot = 1;
        while (m.cum[std::size_t(slot)] > target) ++slot;
        high_ = low_ + (range * m.cum[std::size_t(slot - 1)]) / total - 1;
        low_ = low_ + (range * m.cum[std::size_t(slot)]) / total;
        for (;;) {
            if (high_ < kAriHalf) {
            } else if (low_ >= kAriHalf) {
                value_ -= kAriHalf;
                low_ -= kAriHalf;
                high_ -= kAriHalf;
            } else if (low_ >= kAriFirstQuarter && high_ < kAriThirdQuarter) {
                value_ -= kAriFirstQuarter;
                low_ -= kAriFirstQuarter;
                high_ -= kAriFirstQuarter;
            } else {
                break;
            }
            low_ = 2 * low_;
            high_ = 2 * high_ + 1;
            value_ = 2 * value_ + nextBit();
        }
        const int symbol = m.GetSymbol(slot);
        m.Update(slot);
        return symbol;
    }

    template <class NextBit>
    int DecodeWith(NextBit&& nextBit) {
        const int g = DecodeSymbolWith(model_.Head, nextBit);
        if (g > 1) return THeadAriModel::FirstOf(g) + DecodeSymbolWith(model_.Groups[std::size_t(g)], nextBit);
        return g;
    }

    THeadAriModel model_;
    int low_ = 0, high_ = 65535, value_ = 0;
};

class TFileStrucAriDecoder final : public TStrucAriDecoder {
public:
    int InputBit() override;
    std::uint32_t InputBits(int n) override;

    // Decodes one block's ranks into buffer[1..count]. At most capacity ranks
    // fit; a stream that asks for more is refused with EBlockDamaged.
    void DecodeBlock(TBitFile& file, std::uint8_t* buffer, std::uint32_t capacity, std::uint32_t& count);

private:
    TBitFile* file_ = nullptr;
};

} // namespace payload
