#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <vector>

#include "app/SelfViewTrailer.h"
#include "model/DateTimeText.h"

namespace {

void putU32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(v >> (8 * i));
}
void putDouble(std::vector<unsigned char>& b, std::size_t at, double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    for (int i = 0; i < 8; ++i) b[at + std::size_t(i)] = static_cast<unsigned char>(bits >> (8 * i));
}
void fill(std::vector<unsigned char>& b, std::size_t at, std::size_t width, char c) {
    std::memset(b.data() + at, c, width);
}

const char* const kSenderFormat = "dddd, mmm d, yyyy, hh:mm AM/PM";
const char* const kCreatedFormat = "ddd, mmm d, yyyy, hh:mm AM/PM";

} // namespace

TEST(SelfViewTrailer, FullWidthFieldsEndAtTheirWidth) {
    std::vector<unsigned char> b(kTrailerSize, 0);
    putU32(b, 0, 0x01020304);
    putU32(b, 4, 7);
    putU32(b, 8, 0xFFFFFFFE);
    b[12] = 1;
    fill(b, 21, 64, 'F');
    fill(b, 85, 32, 'T');
    fill(b, 117, 64, 'N');
    fill(b, 181, 64, 'E');
    fill(b, 245, 64, '1');
    fill(b, 309, 64, '2');
    fill(b, 373, 64, 'W');
    fill(b, 437, 32, 'P');
    fill(b, 469, 1024, 'M');
    putU32(b, 1493, kTrailerMagic);
    const TSelfViewTrailer t = parseTrailer(b.data());
    EXPECT_EQ(t.ArchiveOffset, 0x01020304u);
    EXPECT_EQ(t.BlockCount, 7u);
    EXPECT_EQ(t.StartIndex, -2);
    EXPECT_EQ(t.AllowExtract, 1);
    EXPECT_EQ(t.FileName, std::string(64, 'F'));
    EXPECT_EQ(t.Title, std::string(32, 'T'));
    EXPECT_EQ(t.SenderName, std::string(64, 'N'));
    EXPECT_EQ(t.SenderEmail, std::string(64, 'E'));
    EXPECT_EQ(t.Address1, std::string(64, '1'));
    EXPECT_EQ(t.Address2, std::string(64, '2'));
    EXPECT_EQ(t.WebSite, std::string(64, 'W'));
    EXPECT_EQ(t.Phone, std::string(32, 'P'));
    EXPECT_EQ(t.Message, std::string(1024, 'M'));
    EXPECT_EQ(t.Magic, kTrailerMagic);
    EXPECT_EQ(b[1493], 0xEF);
    EXPECT_EQ(b[1496], 0xDE);
}

TEST(SelfViewTrailer, TextsStopAtNulAndKeepCodePageBytes) {
    std::vector<unsigned char> b(kTrailerSize, 0);
    // Title: all of 0x80..0x9F, the five unassigned bytes included, at full width.
    for (int i = 0; i < 32; ++i) b[85 + std::size_t(i)] = static_cast<unsigned char>(0x80 + i);
    const char name[] = "Ren\xE9\0junk";
    std::memcpy(b.data() + 117, name, sizeof name);
    const char msg[] = "Line one\r\nLine \x93two\x94";
    std::memcpy(b.data() + 469, msg, sizeof msg);
    const TSelfViewTrailer t = parseTrailer(b.data());
    ASSERT_EQ(t.Title.size(), 32u);
    for (int i = 0; i < 32; ++i) EXPECT_EQ(static_cast<unsigned char>(t.Title[std::size_t(i)]), 0x80 + i);
    EXPECT_EQ(t.SenderName, "Ren\xE9");
    EXPECT_EQ(t.Message, "Line one\r\nLine \x93two\x94");
    EXPECT_EQ(t.FileName, "");
    EXPECT_NE(t.Magic, kTrailerMagic); // returned as stored
}

TEST(SelfViewTrailer, CreationDatesAndTheirTexts) {
    const struct {
        double value;
        const char* sender;
        const char* created;
    } cases[] = {
        {0.0, "Saturday, Dec 30, 1899, 12:00 AM", "Sat, Dec 30, 1899, 12:00 AM"},
        {1.5, "Sunday, Dec 31, 1899, 12:00 PM", "Sun, Dec 31, 1899, 12:00 PM"},
        {-1.25, "Friday, Dec 29, 1899, 06:00 AM", "Fri, Dec 29, 1899, 06:00 AM"},
        {45000.5625, "Wednesday, Mar 15, 2023, 01:30 PM", "Wed, Mar 15, 2023, 01:30 PM"},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> b(kTrailerSize, 0);
        putDouble(b, 13, c.value);
        const TSelfViewTrailer t = parseTrailer(b.data());
        EXPECT_EQ(t.CreateDate, c.value);
        EXPECT_EQ(DateTimeText::FormatDateTime(kSenderFormat, t.CreateDate), c.sender);
        EXPECT_EQ(DateTimeText::FormatDateTime(kCreatedFormat, t.CreateDate), c.created);
    }
    // A damaged date field gives no text rather than a crash.
    std::vector<unsigned char> b(kTrailerSize, 0xFF);
    const TSelfViewTrailer t = parseTrailer(b.data());
    EXPECT_TRUE(std::isnan(t.CreateDate));
    EXPECT_EQ(DateTimeText::FormatDateTime(kSenderFormat, t.CreateDate), "");
}

TEST(SelfViewTrailer, WrittenRecordReadsBack) {
    TSelfViewTrailer t;
    t.ArchiveOffset = 123456;
    t.BlockCount = 3;
    t.StartIndex = 42;
    t.AllowExtract = 1;
    t.CreateDate = 45000.75;
    t.FileName = "family.ged";
    t.Title = std::string(40, 'x'); // longer than its field
    t.SenderName = "J\xF6rg";
    t.Message = "a\r\nb";
    const auto bytes = serializeTrailer(t);
    const TSelfViewTrailer r = parseTrailer(bytes.data());
    EXPECT_EQ(r.ArchiveOffset, 123456u);
    EXPECT_EQ(r.BlockCount, 3u);
    EXPECT_EQ(r.StartIndex, 42);
    EXPECT_EQ(r.AllowExtract, 1);
    EXPECT_EQ(r.CreateDate, 45000.75);
    EXPECT_EQ(r.FileName, "family.ged");
    EXPECT_EQ(r.Title, std::string(32, 'x'));
    EXPECT_EQ(r.SenderName, "J\xF6rg");
    EXPECT_EQ(r.Message, "a\r\nb");
    EXPECT_EQ(r.Magic, kTrailerMagic);
}
