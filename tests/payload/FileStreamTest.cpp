// Buffered file stream, bit file and archive headers.
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "PayloadTestUtil.h"
#include "payload/ArchiveHeader.h"
#include "payload/BufferedFileStream.h"
#include "payload/PayloadErrors.h"

using namespace ptest;
using payload::OpenMode;
using payload::TBufferedFileStream;

TEST(BufferedFileStream, WritesAndReadsAcrossBufferRefills) {
    ScratchDir dir;
    const std::string data = randomBytes(3 * 65536 + 123, 4);
    {
        TBufferedFileStream w(dir.file("f"), OpenMode::Create);
        for (char c : data) w.WriteByte(std::uint8_t(c));
        EXPECT_EQ(w.Position(), std::int64_t(data.size()));
    } // flushed when freed
    ASSERT_EQ(readFile(dir.file("f")), data);

    TBufferedFileStream r(dir.file("f"), OpenMode::Read);
    EXPECT_EQ(r.Size(), std::int64_t(data.size()));
    std::string back;
    std::uint8_t b = 0;
    while (r.ReadByte(b)) back.push_back(char(b));
    EXPECT_TRUE(back == data);
    b = 7;
    EXPECT_FALSE(r.ReadByte(b));
    EXPECT_EQ(b, 0);
    EXPECT_FALSE(r.ReadByte(b));
    // 32-bit values past the end read as zero bytes.
    EXPECT_EQ(r.ReadU32(), 0u);
}

TEST(BufferedFileStream, SmartSeek) {
    ScratchDir dir;
    std::string data;
    for (int i = 0; i < 70000; ++i) data.push_back(char(i * 7));
    writeFile(dir.file("f"), data);
    TBufferedFileStream r(dir.file("f"), OpenMode::Read);
    std::uint8_t b;
    auto at = [&](std::int64_t p) { return std::uint8_t(data[std::size_t(p)]); };
    r.ReadByte(b);
    EXPECT_EQ(r.SmartSeek(1000, payload::soFromBeginning), 1000); // inside the buffer
    ASSERT_TRUE(r.ReadByte(b));
    EXPECT_EQ(b, at(1000));
    EXPECT_EQ(r.SmartSeek(-1001, payload::soFromCurrent), 0); // buffer start: re-read
    ASSERT_TRUE(r.ReadByte(b));
    EXPECT_EQ(b, at(0));
    EXPECT_EQ(r.SmartSeek(68000, payload::soFromBeginning), 68000); // beyond the buffer
    ASSERT_TRUE(r.ReadByte(b));
    EXPECT_EQ(b, at(68000));
    EXPECT_EQ(r.Position(), 68001);
    EXPECT_EQ(r.SmartSeek(-4, payload::soFromEnd), 69996);
    EXPECT_EQ(r.ReadU32(), std::uint32_t(at(69996)) | std::uint32_t(at(69997)) << 8 | std::uint32_t(at(69998)) << 16 |
                               std::uint32_t(at(69999)) << 24);
    EXPECT_THROW(r.SmartSeek(-1, payload::soFromBeginning), payload::ESeekError);

    RecordingHooks hooks;
    EXPECT_EQ(r.SmartSeek(5, 9), 5);
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"abs_offset not initialized"});
    ASSERT_TRUE(r.ReadByte(b));
    EXPECT_EQ(b, at(5));
}

TEST(BufferedFileStream, MissingFilesRaiseFileErrors) {
    ScratchDir dir;
    EXPECT_THROW(TBufferedFileStream(dir.file("nope"), OpenMode::Read), payload::EFileError);
    EXPECT_THROW(TBufferedFileStream(dir.path(), OpenMode::Read), payload::EFileError); // a folder
    EXPECT_THROW(payload::TPlainFileStream(dir.file("no/such/dir")), payload::EFileError);
}

TEST(PlainFileStream, OverwritesAnExistingFileToWhatWasWritten) {
    ScratchDir dir;
    const std::uint8_t text[] = {'a', 'b', 'c'};
    for (const bool closed : {true, false}) {
        writeFile(dir.file("out"), std::string(5000, 'x'));
        {
            payload::TPlainFileStream out(dir.file("out"));
            out.Write(text, 3);
            if (closed) out.Close();
        }
        EXPECT_EQ(readFile(dir.file("out")), "abc") << (closed ? "closed" : "destroyed");
    }
    // A link at the name is not followed: the file it points at keeps its content.
    writeFile(dir.file("target"), "kept");
    ASSERT_EQ(::symlink(dir.file("target").c_str(), dir.file("link").c_str()), 0);
    try {
        payload::TPlainFileStream out(dir.file("link"));
        ADD_FAILURE() << "opened through a link";
    } catch (const payload::EFileError& e) {
        EXPECT_EQ(e.Errno, ELOOP);
        EXPECT_TRUE(e.Writing);
    }
    EXPECT_EQ(readFile(dir.file("target")), "kept");

    // Nor a second name of another file, nor a pipe: refused at once whether
    // or not someone is at its other end, and the same for reading.
    ASSERT_EQ(::link(dir.file("target").c_str(), dir.file("hard").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    const int otherEnd = ::open(dir.file("pipe").c_str(), O_RDWR | O_NONBLOCK);
    const auto refusal = [](auto make) {
        try {
            make();
        } catch (const payload::EFileError& e) {
            return e.Errno;
        }
        return 0;
    };
    EXPECT_EQ(refusal([&] { payload::TPlainFileStream out(dir.file("hard")); }), EMLINK);
    EXPECT_EQ(readFile(dir.file("target")), "kept");
    // Someone at the other end first: a blocking open of the lone pipe would never return.
    ASSERT_EQ(refusal([&] { payload::TPlainFileStream out(dir.file("pipe")); }), ENXIO);
    ASSERT_EQ(refusal([&] { TBufferedFileStream in(dir.file("pipe"), OpenMode::Read); }), ENXIO);
    ::close(otherEnd);
    EXPECT_EQ(refusal([&] { payload::TPlainFileStream out(dir.file("pipe")); }), ENXIO);
    EXPECT_EQ(refusal([&] { TBufferedFileStream in(dir.file("pipe"), OpenMode::Read); }), ENXIO);
}

TEST(BitFile, BitsMostSignificantFirstAndPartialByteOnClose) {
    ScratchDir dir;
    {
        payload::TBitFile w(dir.file("b"), OpenMode::Create);
        w.WriteBits(0xA5, 8);
        w.WriteBits(0x5, 3); // 101 -> 0xA0 padded
    }
    EXPECT_EQ(readFile(dir.file("b")), std::string("\xA5\xA0", 2));
    payload::TBitFile r(dir.file("b"), OpenMode::Read);
    EXPECT_EQ(r.ReadBit(), 1);
    EXPECT_EQ(r.ReadBit(), 0);
    EXPECT_EQ(r.ReadBits(6), 0x25u);
    r.ReadBit();
    r.ResetBits();                // the rest of the second byte is dropped
    EXPECT_EQ(r.ReadBits(8), 0u); // end of file reads as zeros
}

TEST(ArchiveHeaders, WriteAndReadBack) {
    ScratchDir dir;
    {
        payload::TArchiveFile a(dir.file("x"), OpenMode::Create);
        payload::TDataBlockHeader h;
        h.CRC = 0x11223344;
        h.StreamLength = 5;
        h.PrimaryIndex = 6;
        h.SentinelPosition = 7;
        h.Write(a);
    }
    const std::string raw = readFile(dir.file("x"));
    EXPECT_EQ(raw.substr(0, 8), "TBWZDATA");
    EXPECT_EQ(raw.substr(8, 4), std::string("\x44\x33\x22\x11", 4));
    payload::TArchiveFile a(dir.file("x"), OpenMode::Read); // checks "TBWZ"
    payload::TDataBlockHeader h;
    h.Read(a);
    EXPECT_EQ(h.CRC, 0x11223344u);
    EXPECT_EQ(h.StreamLength, 5u);
    EXPECT_EQ(h.PrimaryIndex, 6u);
    EXPECT_EQ(h.SentinelPosition, 7u);
    payload::TArchiveHeader base;
    EXPECT_EQ(base.GetSignature(), 0u);
}
