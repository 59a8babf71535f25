#include "payload/AriDecoder.h"

#include "payload/BufferedFileStream.h"
#include "payload/PayloadErrors.h"

namespace payload {

void TStrucAriDecoder::throwDamaged(const char* why) { throw EBlockDamaged(why); }

void TStrucAriDecoder::Start() {
    m_model.Reset();
    m_value = int(InputBits(16));
    m_low = 0;
    m_high = 65535;
}

int TFileStrucAriDecoder::InputBit() { return m_file->ReadBit(); }

std::uint32_t TFileStrucAriDecoder::InputBits(int n) { return m_file->ReadBits(n); }

void TFileStrucAriDecoder::DecodeBlock(TBitFile& file, std::uint8_t* buffer, std::uint32_t capacity,
                                       std::uint32_t& count) {
    m_file = &file;
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
