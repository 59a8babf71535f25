#pragma once
// The archive's file header ("TBWZ") and block headers ("DATA").
#include <cstdint>

namespace payload {

class TBufferedFileStream;

// A signature as the 32-bit little-endian value of its four ASCII bytes.
constexpr std::uint32_t signatureOf(const char (&s)[5]) {
    return std::uint32_t(std::uint8_t(s[0])) | std::uint32_t(std::uint8_t(s[1])) << 8 |
           std::uint32_t(std::uint8_t(s[2])) << 16 | std::uint32_t(std::uint8_t(s[3])) << 24;
}
constexpr std::uint32_t kArchiveSignature = signatureOf("TBWZ");
constexpr std::uint32_t kBlockSignature = signatureOf("DATA");
constexpr std::uint32_t kBlockHeaderSize = 20;

class TArchiveHeader {
public:
    virtual ~TArchiveHeader() = default;
    virtual std::uint32_t GetSignature() const { return 0; }
    virtual void ReadFields(TBufferedFileStream&) {}
    virtual void WriteFields(TBufferedFileStream&) {}

    // Reads the signature (ESignatureWrong unless it is GetSignature()) and the fields.
    void Read(TBufferedFileStream& s);
    void Write(TBufferedFileStream& s);

    std::uint32_t Signature = 0;
};

class TResourceArchiveHeader : public TArchiveHeader {
public:
    TResourceArchiveHeader() { Signature = GetSignature(); }
    std::uint32_t GetSignature() const override { return kArchiveSignature; }
};

class TDataBlockHeader : public TArchiveHeader {
public:
    TDataBlockHeader() { Signature = GetSignature(); }
    std::uint32_t GetSignature() const override { return kBlockSignature; }
    void ReadFields(TBufferedFileStream& s) override;
    void WriteFields(TBufferedFileStream& s) override;
    // The same from the header's bytes in memory.
    void Parse(const std::uint8_t (&bytes)[kBlockHeaderSize]);

    std::uint32_t CRC = 0;
    std::uint32_t StreamLength = 0;
    std::uint32_t PrimaryIndex = 0;
    std::uint32_t SentinelPosition = 0;
};

} // namespace payload
