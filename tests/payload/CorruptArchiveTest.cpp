// Damaged archives are refused with an error, never followed outside a buffer.
// (The sanitizer build runs these too.)
#include <gtest/gtest.h>

#include "PayloadTestUtil.h"
#include "payload/BlockMan.h"
#include "payload/BufferedFileStream.h"
#include "payload/Compressor.h"
#include "payload/PayloadErrors.h"

using namespace ptest;

namespace {

std::vector<std::uint8_t> archiveWith(const std::vector<std::uint8_t>& stream, std::uint32_t crc, std::uint32_t primary,
                                      std::uint32_t sentinel) {
    std::vector<std::uint8_t> a = bytes({'T', 'B', 'W', 'Z', 'D', 'A', 'T', 'A'});
    putU32(a, crc);
    putU32(a, std::uint32_t(stream.size()));
    putU32(a, primary);
    putU32(a, sentinel);
    a.insert(a.end(), stream.begin(), stream.end());
    return a;
}

// Symbols of a zero run of the given length.
void appendRun(std::vector<int>& symbols, std::uint64_t run) {
    while (run > 0) {
        if (run & 1u) {
            symbols.push_back(0);
            run = (run - 1) / 2;
        } else {
            symbols.push_back(1);
            run = (run - 2) / 2;
        }
    }
}

// Expands and returns the text of the error raised ("" when none).
std::string expandError(const std::vector<std::uint8_t>& archive, std::int64_t blocks, std::string* out = nullptr,
                        std::uint32_t maxBlock = 0) {
    ScratchDir dir;
    writeFile(dir.file("a.bin"), archive);
    std::string error;
    try {
        payload::WRESCompress rc(maxBlock);
        rc.ExpandFile(dir.file("a.bin"), dir.file("out"), blocks);
    } catch (const payload::EArchiveError& e) {
        error = e.what();
    }
    if (out) *out = readFile(dir.file("out"));
    return error;
}

constexpr std::uint32_t kMax = payload::kMaxBlockLength;
const char* const kDamaged = "The archive is damaged: ";

} // namespace

TEST(CorruptArchive, BlocksLongerThanTheChosenLimitAreRefused) {
    RecordingHooks hooks;
    std::uint32_t blocks = 0;
    const std::string text(3000, 'x');
    const auto archive = payload::compressArchive(text, blocks, 2048);
    std::string out;
    EXPECT_EQ(expandError(archive, blocks, &out, 2048), "");
    EXPECT_EQ(out, text);
    EXPECT_EQ(expandError(archive, blocks, nullptr, 1024).rfind(kDamaged, 0), 0u);
}

TEST(CorruptArchive, MoreRanksThanABlockHolds) {
    RecordingHooks hooks;
    // A run one longer than a block.
    std::vector<int> s;
    appendRun(s, kMax + 1);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1).rfind(kDamaged, 0), 0u);

    // A full block of zeros, then one rank more.
    s.clear();
    appendRun(s, kMax);
    s.push_back(5);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1).rfind(kDamaged, 0), 0u);

    // Two runs that only together overflow.
    s.clear();
    appendRun(s, kMax - 10);
    s.push_back(9);
    appendRun(s, 11);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1).rfind(kDamaged, 0), 0u);

    // Rank symbols alone, one more than a block.
    s.assign(kMax + 1, 3);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1).rfind(kDamaged, 0), 0u);

    // Exactly a block's worth is fine (the CRC is then wrong, which is only shown).
    s.assign(kMax, 3);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1), "");
    EXPECT_EQ(hooks.messages, std::vector<std::string>{"CRC does not match!"});
}

TEST(CorruptArchive, RunDigitsWithoutEndDoNotOverflow) {
    // 64 digits of value 2 would overflow any 64-bit counter.
    std::vector<int> s(64, 1);
    s.push_back(257);
    EXPECT_EQ(expandError(archiveWith(payload::encodeSymbols(s), 0, 0, 0), 1).rfind(kDamaged, 0), 0u);
}

TEST(CorruptArchive, PositionsBeyondTheBlock) {
    std::uint32_t blocks = 0;
    const std::string text = "Harrowgate";
    auto good = payload::compressArchive(text, blocks);
    ASSERT_EQ(expandError(good, 1), "");
    const std::uint32_t n = std::uint32_t(text.size());
    for (std::uint32_t bad : {n + 1, n + 1000, kMax, 0xFFFFFFFFu}) {
        auto a = good;
        setU32(a, 4 + 16, bad); // sentinel position
        EXPECT_EQ(expandError(a, 1), std::string(kDamaged) + "the sentinel position lies beyond the block");
        a = good;
        setU32(a, 4 + 12, bad); // primary index
        EXPECT_EQ(expandError(a, 1), std::string(kDamaged) + "the primary index lies beyond the block");
    }
    // The largest legal values are accepted (the text is then wrong, the CRC says so).
    RecordingHooks hooks;
    auto a = good;
    setU32(a, 4 + 16, n);
    setU32(a, 4 + 12, n);
    EXPECT_EQ(expandError(a, 1), "");
    EXPECT_EQ(hooks.messages.size(), 1u);
}

TEST(CorruptArchive, BlockCountLargerThanTheArchive) {
    std::uint32_t blocks = 0;
    const std::string text = "0 HEAD\r\n1 CHAR UTF-8\r\n0 TRLR\r\n";
    const auto a = payload::compressArchive(text, blocks, 10);
    ASSERT_EQ(blocks, 3u);
    for (std::int64_t asked : {std::int64_t(4), std::int64_t(1000), std::int64_t(0xFFFFFFFF)}) {
        std::string out;
        EXPECT_EQ(expandError(a, asked, &out), "Wrong Signature. Archive could be corrupted.");
        EXPECT_EQ(out, text); // the real blocks stay written
    }
    // A header cut short is a missing block as well.
    auto cut = a;
    cut.insert(cut.end(), {'D', 'A', 'T', 'A', 0, 0});
    EXPECT_EQ(expandError(cut, 5), "Wrong Signature. Archive could be corrupted.");
}

TEST(CorruptArchive, StreamRunningPastTheArchiveEnd) {
    std::uint32_t blocks = 0;
    const auto good = payload::compressArchive(randomBytes(3000, 11), blocks);
    auto a = good;
    a.erase(a.end() - 5, a.end());
    EXPECT_EQ(expandError(a, 1), std::string(kDamaged) + "a block's coded data runs past the end of the archive");
    a = good;
    setU32(a, 4 + 8, 0xFFFFFFFFu);
    EXPECT_EQ(expandError(a, 1), std::string(kDamaged) + "a block's coded data runs past the end of the archive");
}

TEST(CorruptArchive, DecodingFarPastTheStreamIsStopped) {
    // A long stream whose header claims only a few bytes: decoding runs into
    // the zeros supplied past the limit and stops after 20 of them.
    std::vector<int> s;
    for (int i = 0; i < 3000; ++i) s.push_back(2 + (i * 37) % 255);
    s.push_back(257);
    const auto stream = payload::encodeSymbols(s);
    for (std::uint32_t claimed : {0u, 1u, 6u}) {
        auto a = archiveWith(stream, 0, 0, 0);
        setU32(a, 4 + 8, claimed);
        std::string out = "unchanged";
        EXPECT_EQ(expandError(a, 1, &out), "Too many bytes read in bit mode.");
        EXPECT_EQ(out, "");
    }
}

TEST(CorruptArchive, LimitedReadGivesTwentyZerosThenStops) {
    ScratchDir dir;
    writeFile(dir.file("ff.bin"), std::string(64, '\xff'));
    payload::TBitFile f(dir.file("ff.bin"), payload::OpenMode::Read);
    f.SetReadLimit(2);
    EXPECT_EQ(f.LimitedReadByte(), 0xFF);
    EXPECT_EQ(f.LimitedReadByte(), 0xFF);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(f.LimitedReadByte(), 0) << i;
    EXPECT_THROW(f.LimitedReadByte(), payload::EBitReadOverrun);
    EXPECT_EQ(f.Position(), 2); // nothing past the limit was taken from the file
}

TEST(CorruptArchive, RandomDamageNeverCrashes) {
    // Flipped bits and garbage anywhere: an error, a CRC message or, rarely, a
    // lucky decode; never a crash or a read outside a buffer.
    std::uint32_t blocks = 0;
    std::string text;
    for (int i = 0; i < 200; ++i) text += "1 NAME Zo\xc3\xab /M\xc3\xbcller/\n2 DATE BET 1850 AND 1860\n";
    const auto good = payload::compressArchive(text, blocks, 4000);
    ASSERT_GE(blocks, 2u);
    RecordingHooks hooks;
    std::mt19937 rng(2024);
    int refused = 0, shown = 0;
    for (int trial = 0; trial < 300; ++trial) {
        auto a = good;
        const int flips = 1 + int(rng() % 4);
        for (int k = 0; k < flips; ++k) a[4 + rng() % (a.size() - 4)] ^= std::uint8_t(1u << (rng() % 8));
        hooks.messages.clear();
        if (!expandError(a, blocks).empty()) ++refused;
        if (!hooks.messages.empty()) ++shown;
    }
    EXPECT_GT(refused + shown, 250);
}

TEST(CorruptArchive, DamageInsideAGroupOfBlocksKeepsTheBlocksBefore) {
    // Blocks are walked several at a time; a damaged one must still leave
    // exactly the blocks before it written, and a CRC mismatch must not stop
    // the others of its group.
    std::uint32_t blocks = 0;
    const std::string text = "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Ann /Birch/\r\n0 TRLR\r\n";
    const auto good = payload::compressArchive(text, blocks, 10);
    ASSERT_GE(blocks, 6u);
    // Offset of block k's header.
    auto headerAt = [&](const std::vector<std::uint8_t>& a, int k) {
        std::size_t pos = 4;
        for (int i = 0; i < k; ++i) {
            const std::uint32_t len = std::uint32_t(a[pos + 8]) | std::uint32_t(a[pos + 9]) << 8 |
                                      std::uint32_t(a[pos + 10]) << 16 | std::uint32_t(a[pos + 11]) << 24;
            pos += 20 + len;
        }
        return pos;
    };
    // One thread (blocks walked side by side) and several (blocks expanded apart).
    for (int threads : {1, 3, 4}) {
        SCOPED_TRACE(threads);
        payload::WRESCompress::SetMaxThreads(threads);
        for (int broken : {1, 2, 5}) {
            auto a = good;
            a[headerAt(a, broken)] = 'X'; // "DATA" no more
            std::string out;
            EXPECT_EQ(expandError(a, blocks, &out), "Wrong Signature. Archive could be corrupted.") << broken;
            EXPECT_EQ(out, text.substr(0, std::size_t(broken) * 10)) << broken;
            a = good;
            setU32(a, headerAt(a, broken) + 16, 0xFFFFFFu); // sentinel far beyond the block
            EXPECT_EQ(expandError(a, blocks, &out),
                      std::string(kDamaged) + "the sentinel position lies beyond the block");
            EXPECT_EQ(out, text.substr(0, std::size_t(broken) * 10)) << broken;
        }
        RecordingHooks hooks;
        auto a = good;
        setU32(a, headerAt(a, 2) + 4, 0x12345678u); // block 3's CRC
        ScratchDir dir;
        writeFile(dir.file("a.bin"), a);
        payload::WRESCompress rc;
        EXPECT_FALSE(rc.ExpandFile(dir.file("a.bin"), dir.file("out"), blocks));
        EXPECT_EQ(readFile(dir.file("out")), text);
        EXPECT_EQ(hooks.messages, std::vector<std::string>{"CRC does not match!"});
        // Every block is followed by a pump.
        EXPECT_GE(hooks.pumps, int(blocks));
        std::string out;
        EXPECT_EQ(expandError(good, blocks, &out), "");
        EXPECT_EQ(out, text);
    }
    payload::WRESCompress::SetMaxThreads(0);
}
