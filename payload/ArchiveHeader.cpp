#include "payload/ArchiveHeader.h"

#include "payload/BufferedFileStream.h"
#include "payload/PayloadErrors.h"

namespace payload {

void TArchiveHeader::Read(TBufferedFileStream& s) {
    if (s.ReadU32() != GetSignature()) throw ESignatureWrong();
    Signature = GetSignature();
    ReadFields(s);
}

void TArchiveHeader::Write(TBufferedFileStream& s) {
    s.WriteU32(Signature);
    WriteFields(s);
}

void TDataBlockHeader::ReadFields(TBufferedFileStream& s) {
    CRC = s.ReadU32();
    StreamLength = s.ReadU32();
    PrimaryIndex = s.ReadU32();
    SentinelPosition = s.ReadU32();
}

void TDataBlockHeader::Parse(const std::uint8_t (&b)[kBlockHeaderSize]) {
    auto u32 = [&b](int at) {
        return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
               std::uint32_t(b[at + 3]) << 24;
    };
    if (u32(0) != GetSignature()) throw ESignatureWrong();
    CRC = u32(4);
    StreamLength = u32(8);
    PrimaryIndex = u32(12);
    SentinelPosition = u32(16);
}

void TDataBlockHeader::WriteFields(TBufferedFileStream& s) {
    s.WriteU32(CRC);
    s.WriteU32(StreamLength);
    s.WriteU32(PrimaryIndex);
    s.WriteU32(SentinelPosition);
}

} // namespace payload
