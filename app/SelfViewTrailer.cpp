#include "app/SelfViewTrailer.h"

#include <cstring>

namespace {

std::uint32_t u32(const unsigned char* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
}
void putU32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}
std::string text(const unsigned char* p, std::size_t width) {
    std::size_t n = 0;
    while (n < width && p[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(p), n);
}
void putText(unsigned char* p, std::size_t width, const std::string& s) {
    std::memset(p, 0, width);
    std::memcpy(p, s.data(), s.size() < width ? s.size() : width);
}

// Field offsets of the stored record.
enum : std::size_t {
    oArchive = 0,
    oBlocks = 4,
    oStart = 8,
    oExtract = 12,
    oDate = 13,
    oFileName = 21,
    oTitle = 85,
    oSender = 117,
    oEmail = 181,
    oAddr1 = 245,
    oAddr2 = 309,
    oWeb = 373,
    oPhone = 437,
    oMessage = 469,
    oMagic = 1493
};

} // namespace

TSelfViewTrailer parseTrailer(const unsigned char* b) {
    TSelfViewTrailer t;
    t.ArchiveOffset = u32(b + oArchive);
    t.BlockCount = u32(b + oBlocks);
    t.StartIndex = static_cast<std::int32_t>(u32(b + oStart));
    t.AllowExtract = b[oExtract];
    // Unaligned little-endian double.
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = (bits << 8) | b[oDate + std::size_t(i)];
    std::memcpy(&t.CreateDate, &bits, sizeof bits);
    t.FileName = text(b + oFileName, TrailerWidths::FileName);
    t.Title = text(b + oTitle, TrailerWidths::Title);
    t.SenderName = text(b + oSender, TrailerWidths::SenderName);
    t.SenderEmail = text(b + oEmail, TrailerWidths::SenderEmail);
    t.Address1 = text(b + oAddr1, TrailerWidths::Address1);
    t.Address2 = text(b + oAddr2, TrailerWidths::Address2);
    t.WebSite = text(b + oWeb, TrailerWidths::WebSite);
    t.Phone = text(b + oPhone, TrailerWidths::Phone);
    t.Message = text(b + oMessage, TrailerWidths::Message);
    t.Magic = u32(b + oMagic);
    return t;
}

std::array<unsigned char, kTrailerSize> serializeTrailer(const TSelfViewTrailer& t) {
    std::array<unsigned char, kTrailerSize> out{};
    unsigned char* b = out.data();
    putU32(b + oArchive, t.ArchiveOffset);
    putU32(b + oBlocks, t.BlockCount);
    putU32(b + oStart, static_cast<std::uint32_t>(t.StartIndex));
    b[oExtract] = t.AllowExtract;
    std::uint64_t bits = 0;
    std::memcpy(&bits, &t.CreateDate, sizeof bits);
    for (int i = 0; i < 8; ++i) b[oDate + std::size_t(i)] = static_cast<unsigned char>(bits >> (8 * i));
    putText(b + oFileName, TrailerWidths::FileName, t.FileName);
    putText(b + oTitle, TrailerWidths::Title, t.Title);
    putText(b + oSender, TrailerWidths::SenderName, t.SenderName);
    putText(b + oEmail, TrailerWidths::SenderEmail, t.SenderEmail);
    putText(b + oAddr1, TrailerWidths::Address1, t.Address1);
    putText(b + oAddr2, TrailerWidths::Address2, t.Address2);
    putText(b + oWeb, TrailerWidths::WebSite, t.WebSite);
    putText(b + oPhone, TrailerWidths::Phone, t.Phone);
    putText(b + oMessage, TrailerWidths::Message, t.Message);
    putU32(b + oMagic, t.Magic);
    return out;
}
