#include "AriDecoder.h"

#include "BufferedFileStream.h"
#include "PayloadErrors.h"

#include <cstring>

namespace payload {

void TStrucAriDecoder::Start() {
    model_.Reset();
    value_ = int(InputBits(16));
    low_ = 0;
    high_ = 65535;
}

int TFileStrucAriDecoder::InputBit() { return file_->ReadBit(); }

std::uint32_t TFileStrucAriDecoder::InputBits(int n) { return file_->ReadBits(n); }

void TFileStrucAriDecoder::DecodeBlock(TBitFile& file, std::uint8_t* buffer, std::uint32_t capacity,
                                       std::uint32_t& count) {
    file_ = &file;
    file.ResetBits();
    Start();
    TBitFile& bits = file;
    auto next = [&bits] { return bits.ReadBit(); };
    std::uint32_t n = 0;
    int symbol = DecodeWith(next);
    while (symbol != kEndOfBlock) {
        if (symbol <= kRunDigit2) {
            // Run digits, least significant first, in bijective base 2.
            std::uint64_t run = 0, weight = 1;
            while (symbol <= kRunDigit2) {
                run += symbol == kRunDigit1 ? weight : 2 * weight;
                weight *= 2;
                if (run > capacity) throw EBlockDamaged("a run of zeros is longer than a block");
                symbol = DecodeWith(next);
            }
            if (run > capacity - n) throw EBlockDamaged("a block holds more data than the buffers can take");
            std::memset(buffer + n + 1, 0, std::size_t(run));
            n += std::uint32_t(run);
        } else {
            if (n >= capacity) throw EBlockDamaged("a block holds more data than the buffers can take");
            buffer[++n] = std::uint8_t(symbol - 1);
            symbol = DecodeWith(next);
        }
    }
    Finish();
    file.ResetBits();
    count = n;
}

} // namespace payload
