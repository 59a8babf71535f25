#pragma once
// The 16-bit arithmetic decoder over the structured model, and the block
// decoder that turns one coded stream into move-to-front ranks.
#include <cstdint>
#include <cstring>

#include "payload/AriModel.h"

namespace payload {

class TBitFile;

constexpr int kAriHalf = 32768;
constexpr int kAriFirstQuarter = 16384;
constexpr int kAriThirdQuarter = 49152;

// A bit source made of a function that gives one bit at a time.
template <class NextBit>
struct BitsOf {
    NextBit next;
    int operator()() { return next(); }
    std::uint32_t Take(int n) {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i) v = 2 * v + std::uint32_t(next());
        return v;
    }
};
template <class NextBit>
BitsOf(NextBit) -> BitsOf<NextBit>;

class TStrucAriDecoder {
public:
    virtual ~TStrucAriDecoder() = default;
    virtual int InputBit() = 0;
    virtual std::uint32_t InputBits(int n) = 0;

    // Fresh models; Value takes the first 16 bits of the stream.
    void Start();
    int Decode() {
        BitsOf bits{[this] { return InputBit(); }};
        return DecodeWith(bits);
    }
    void Finish() {}
    int DecodeSymbol(TGroupAriModel& model) {
        BitsOf bits{[this] { return InputBit(); }};
        return DecodeSymbolWith(model, bits);
    }

    THeadAriModel& Model() { return m_model; }
    int LowValue() const { return m_low; }
    int HighValue() const { return m_high; }
    int CodeValue() const { return m_value; }

protected:
    // The decoding steps, with the bit source passed in so that a concrete
    // decoder reads its bits without a virtual call per bit.
    // Low, High and Value. A block is decoded with them in a local copy, so
    // the bytes it writes cannot be taken to change them.
    struct Regs {
        int low, high, value;
    };
    template <class Bits>
    static int decodeSymbol(Regs& r, TGroupAriModel& m, Bits& bits) {
        const std::uint32_t range = std::uint32_t(r.high - r.low + 1);
        const int total = m.cum[0];
        // cum[slot] > ((Value - Low + 1) * Total - 1) div Range, without the division.
        const std::uint32_t scaled = std::uint32_t(r.value - r.low + 1) * std::uint32_t(total);
        int slot = 1;
        while (std::uint32_t(m.cum[std::size_t(slot)]) * range >= scaled) ++slot;
        r.high = r.low + int(divideByTotal(range * std::uint32_t(m.cum[std::size_t(slot - 1)]), total)) - 1;
        r.low = r.low + int(divideByTotal(range * std::uint32_t(m.cum[std::size_t(slot)]), total));
        // Renormalise all at once: first shift out the leading bits Low and
        // High share (the Half cases), then the underflow bits (Low 01...,
        // High 10...: the First quarter case), which drop bit 14 and keep bit
        // 15. Both steps run every time (a shift by 0 changes nothing): the
        // branches they replace were mispredicted about half the time.
        const int k = __builtin_clz(std::uint32_t(r.low ^ r.high) << 16 | 0x8000u);
        r.low = (r.low << k) & 0xFFFF;
        r.high = ((r.high << k) | ((1 << k) - 1)) & 0xFFFF;
        const int u = __builtin_clz(~(std::uint32_t(r.low & ~r.high & 0x7FFF) << 17));
        const std::uint32_t in = bits.Take(k + u);
        r.value = ((r.value << k) | int(in >> u)) & 0xFFFF;
        r.low = (r.low & 0x8000) | ((r.low << u) & 0x7FFF);
        r.high = (r.high & 0x8000) | ((r.high << u) & 0x7FFF) | ((1 << u) - 1);
        r.value = (r.value & 0x8000) | ((r.value << u) & 0x7FFF) | int(in & ((1u << u) - 1));
        const int symbol = m.GetSymbol(slot);
        m.Update(slot);
        return symbol;
    }

    // f(regs) on a copy of the registers, kept afterwards.
    template <class F>
    int withRegs(F f) {
        Regs r{m_low, m_high, m_value};
        const int symbol = f(r);
        m_low = r.low;
        m_high = r.high;
        m_value = r.value;
        return symbol;
    }
    template <class Bits>
    int DecodeSymbolWith(TGroupAriModel& m, Bits& bits) {
        return withRegs([&](Regs& r) { return decodeSymbol(r, m, bits); });
    }
    template <class Bits>
    static int decodeWith(Regs& r, THeadAriModel& model, Bits& bits) {
        const int g = decodeSymbol(r, model.Head, bits);
        if (g > 1) return THeadAriModel::FirstOf(g) + decodeSymbol(r, model.Groups[std::size_t(g)], bits);
        return g;
    }

    template <class Bits>
    int DecodeWith(Bits& bits) {
        return withRegs([&](Regs& r) { return decodeWith(r, m_model, bits); });
    }

    // One block's ranks: put(rank, count) receives them in order, zero runs
    // whole; afterSymbol() runs after every decoded symbol. At most capacity
    // ranks are taken; a stream that asks for more is refused with
    // EBlockDamaged. Returns the number of ranks.
    template <class Bits, class Put, class AfterSymbol>
    std::uint32_t DecodeRanksWith(Bits& bits, std::uint32_t capacity, Put&& put, AfterSymbol&& afterSymbol) {
        m_model.Reset();
        Regs r{0, 65535, int(bits.Take(16))};
        auto next = [&] {
            const int s = decodeWith(r, m_model, bits);
            afterSymbol();
            return s;
        };
        std::uint32_t n = 0;
        int symbol = next();
        while (symbol != kEndOfBlock) {
            if (symbol <= kRunDigit2) {
                // Run digits, least significant first, in bijective base 2.
                std::uint64_t run = 0, weight = 1;
                while (symbol <= kRunDigit2) {
                    run += symbol == kRunDigit1 ? weight : 2 * weight;
                    weight *= 2;
                    if (run > capacity) throwDamaged("a run of zeros is longer than a block");
                    symbol = next();
                }
                if (run > capacity - n) throwDamaged("a block holds more data than the buffers can take");
                put(0, std::uint32_t(run));
                n += std::uint32_t(run);
            } else {
                if (n >= capacity) throwDamaged("a block holds more data than the buffers can take");
                put(std::uint8_t(symbol - 1), 1u);
                ++n;
                symbol = next();
            }
        }
        m_low = r.low;
        m_high = r.high;
        m_value = r.value;
        return n;
    }
    [[noreturn]] static void throwDamaged(const char* why);

    THeadAriModel m_model;
    int m_low = 0, m_high = 65535, m_value = 0;
};

class TFileStrucAriDecoder final : public TStrucAriDecoder {
public:
    int InputBit() override;
    std::uint32_t InputBits(int n) override;

    // Decodes one block's ranks into buffer[1..count]. At most capacity ranks
    // fit; a stream that asks for more is refused with EBlockDamaged.
    void DecodeBlock(TBitFile& file, std::uint8_t* buffer, std::uint32_t capacity, std::uint32_t& count);

private:
    TBitFile* m_file = nullptr;
};

// Bits of a coded stream held in memory: the stream's bytes followed by at
// least kPadding zero bytes, which stand for the zeros supplied past the
// stream's length.
class TMemoryBits {
public:
    static constexpr std::uint32_t kPadding = 512;
    TMemoryBits(const std::uint8_t* data, std::uint32_t length)
        : m_start(data), m_limitBits((std::uint64_t(length) + kSlackBytes) * 8) {}
    int operator()() { return int(Take(1)); }
    // The next n bits (0..32), first bit most significant.
    std::uint32_t Take(int n) {
        if (m_avail < n) refill();
        const std::uint32_t v = std::uint32_t((m_window >> 1) >> (63 - n));
        m_window <<= n;
        m_avail -= n;
        m_taken += std::uint64_t(n);
        return v;
    }
    std::uint64_t BitsTaken() const { return m_taken; }
    // Raises EBitReadOverrun once bits past the 20 supplied zero bytes were taken.
    void CheckLimit() const {
        if (m_taken > m_limitBits) overrun();
    }
    static constexpr int kSlackBytes = 20;

private:
    void refill() {
        std::uint64_t w;
        std::memcpy(&w, m_start + (m_taken >> 3), 8);
        const int used = int(m_taken & 7);
        m_window = __builtin_bswap64(w) << used;
        m_avail = 64 - used;
    }
    [[noreturn]] static void overrun();
    const std::uint8_t* m_start;
    std::uint64_t m_window = 0;
    int m_avail = 0;
    std::uint64_t m_taken = 0;
    std::uint64_t m_limitBits;
};

class TMemoryStrucAriDecoder final : public TStrucAriDecoder {
public:
    // There is no stream outside DecodeBlock, which hands its bits on itself.
    int InputBit() override { return 0; }
    std::uint32_t InputBits(int) override { return 0; }

    // Decodes a block's ranks from bits; put(rank, count) as in DecodeRanksWith.
    // Raises EBitReadOverrun when decoding runs more than 20 bytes past the stream.
    // The bits are read through a local copy, for the same reason as Regs.
    template <class Put>
    std::uint32_t DecodeBlock(TMemoryBits& bits, std::uint32_t capacity, Put&& put) {
        TMemoryBits local = bits;
        const std::uint32_t n = DecodeRanksWith(local, capacity, put, [&local] { local.CheckLimit(); });
        bits = local;
        return n;
    }
};

} // namespace payload
