#include "ArchiveHeader.h"

#include "BufferedFileStream.h"
#include "PayloadErrors.h"

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

void TDataBlockHeader::WriteFields(TBufferedFileStream& s) {
    s.WriteU32(CRC);
    s.WriteU32(StreamLength);
    s.WriteU32(PrimaryIndex);
    s.WriteU32(SentinelPosition);
}

} // namespace payload
