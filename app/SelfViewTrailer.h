#pragma once
// The fixed-size record at the very end of a self-viewing program file.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

constexpr std::size_t kTrailerSize = 1497;
constexpr std::uint32_t kTrailerMagic = 0xDEADBEEF;

struct TSelfViewTrailer {
    std::uint32_t ArchiveOffset = 0;
    std::uint32_t BlockCount = 0;
    std::int32_t StartIndex = 1;
    std::uint8_t AllowExtract = 0;
    double CreateDate = 0.0; // days since 30 Dec 1899, fraction = time of day
    std::string FileName;    // 64
    std::string Title;       // 32
    std::string SenderName;  // 64
    std::string SenderEmail; // 64
    std::string Address1;    // 64
    std::string Address2;    // 64
    std::string WebSite;     // 64
    std::string Phone;       // 32
    std::string Message;     // 1024
    std::uint32_t Magic = kTrailerMagic;
};

// Field widths of the stored text fields.
struct TrailerWidths {
    static constexpr std::size_t FileName = 64, Title = 32, SenderName = 64, SenderEmail = 64, Address1 = 64,
                                 Address2 = 64, WebSite = 64, Phone = 32, Message = 1024;
};

// Reads a trailer from exactly kTrailerSize bytes. Texts end at the first NUL
// or at the field's full width. The magic is returned as stored, not checked.
TSelfViewTrailer parseTrailer(const unsigned char* bytes);

// Writes a trailer into exactly kTrailerSize bytes; longer texts are cut to
// their field width, shorter ones padded with NUL.
std::array<unsigned char, kTrailerSize> serializeTrailer(const TSelfViewTrailer& t);
