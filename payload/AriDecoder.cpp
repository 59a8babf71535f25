#include "AriDecoder.h"

#include "BufferedFileStream.h"
#include "PayloadErrors.h"

namespace payload {

void TStrucAriDecoder::throwDamaged(const char* why) { throw EBlockDamaged(why); }

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
    std::uint8_t* at = buffer + 1;
    BitsOf bits{[&file] { return file.ReadBit(); }};
    count = DecodeRanksWith(
        bits, capacity,
        [&at](std::uint8_t rank, std::uint32_t k) {
            std::memset(at, rank, k);
            at += k;
        },
        [] {});
    Finish();
    file.ResetBits();
}

void TMemoryBits::overrun() { throw EBitReadOverrun(); }

} // namespace payload
