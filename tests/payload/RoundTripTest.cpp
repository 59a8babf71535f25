// Packing then expanding gives back every input, across block boundaries.
#include <gtest/gtest.h>

#include "PayloadTestUtil.h"
#include "payload/BlockMan.h"
#include "payload/Compressor.h"
#include "support/SharedData.h"

using namespace ptest;

namespace {

struct RoundTrip {
    std::string output;
    bool ok = false;
    std::uint32_t blocks = 0;
    std::size_t archiveSize = 0;
};

RoundTrip roundTrip(const std::string& text, std::uint32_t blockLength = payload::kMaxBlockLength) {
    ScratchDir dir;
    RoundTrip r;
    const auto archive = payload::compressArchive(text, r.blocks, blockLength);
    r.archiveSize = archive.size();
    writeFile(dir.file("a.bin"), archive);
    payload::WRESCompress rc;
    r.ok = rc.ExpandFile(dir.file("a.bin"), dir.file("out"), r.blocks);
    r.output = readFile(dir.file("out"));
    return r;
}

#define EXPECT_ROUND_TRIP(text, ...) \
    do { \
        const std::string in_ = (text); \
        const RoundTrip r_ = roundTrip(in_, ##__VA_ARGS__); \
        EXPECT_TRUE(r_.ok); \
        EXPECT_EQ(r_.output.size(), in_.size()); \
        EXPECT_TRUE(r_.output == in_) << "first " << in_.size() << " bytes"; \
    } while (0)

} // namespace

TEST(RoundTrip, EmptyAndSingleBytes) {
    RecordingHooks hooks;
    const RoundTrip empty = roundTrip("");
    EXPECT_EQ(empty.blocks, 0u);
    EXPECT_EQ(empty.archiveSize, 4u);
    EXPECT_TRUE(empty.ok);
    EXPECT_EQ(empty.output, "");
    for (int b : {0, 1, int('A'), 127, 128, 254, 255}) EXPECT_ROUND_TRIP(std::string(1, char(b)));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST(RoundTrip, EveryByteValue) {
    std::string all;
    for (int i = 0; i < 256; ++i) all.push_back(char(i));
    EXPECT_ROUND_TRIP(all);
    std::string down(all.rbegin(), all.rend());
    EXPECT_ROUND_TRIP(down);
    // Every value twice in a row and then far apart: ranks 0 and 255 both occur.
    std::string twice;
    for (int i = 0; i < 256; ++i) twice += std::string(2, char(i));
    EXPECT_ROUND_TRIP(twice + all + down);
}

TEST(RoundTrip, RunsOfEveryShortLengthAndAroundPowersOfTwo) {
    for (int len = 1; len <= 20; ++len) {
        EXPECT_ROUND_TRIP(std::string(std::size_t(len), 'x'));
        EXPECT_ROUND_TRIP("ab" + std::string(std::size_t(len), '\0') + "ba");
    }
    for (int k = 1; k <= 19; ++k) {
        const std::size_t p = std::size_t(1) << k;
        for (std::size_t len : {p - 1, p, p + 1}) EXPECT_ROUND_TRIP(std::string(len, 'z') + "q");
    }
}

TEST(RoundTrip, RandomAndTextLikeData) {
    for (std::size_t n : {2u, 3u, 17u, 1000u, 65537u, 200000u}) EXPECT_ROUND_TRIP(randomBytes(n, std::uint32_t(n)));
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME Anne /Harrowgate/\r\n2 GIVN Anne\r\n";
    EXPECT_ROUND_TRIP(text);
    const RoundTrip r = roundTrip(text);
    EXPECT_LT(r.archiveSize * 10, text.size()); // repetitive text packs well
}

TEST(RoundTrip, MaximumBlockAndOneByteMore) {
    const std::uint32_t max = payload::kMaxBlockLength;
    std::string text = randomBytes(max / 2, 7);
    for (std::size_t i = 0; text.size() < max; ++i) text.push_back(char('a' + i % 7));
    ASSERT_EQ(text.size(), max);
    RoundTrip r = roundTrip(text);
    EXPECT_EQ(r.blocks, 1u);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.output == text);

    text.push_back('!');
    r = roundTrip(text);
    EXPECT_EQ(r.blocks, 2u);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.output == text);

    // A whole block of one byte value: the longest zero run there is.
    EXPECT_ROUND_TRIP(std::string(max, '\x7f'));
}

TEST(RoundTrip, SeveralBlocks) {
    RecordingHooks hooks;
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "2 DATE ABT " + std::to_string(1700 + i % 300) + "\n";
    const RoundTrip r = roundTrip(text, 100000);
    EXPECT_EQ(r.blocks, std::uint32_t((text.size() + 99999) / 100000));
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.output == text);
    EXPECT_EQ(hooks.pumps, int(r.blocks));
    // Tiny blocks: block boundaries everywhere.
    EXPECT_ROUND_TRIP(randomBytes(1000, 3), 1);
    EXPECT_ROUND_TRIP(text.substr(0, 5000), 7);
}

TEST(RoundTrip, EncoderStreamsDecodeWithinTheirStatedLength) {
    // Every block's coded stream ends where its header says; decoding never
    // needs more than the two read-ahead bytes past it.
    for (const std::string& text : {std::string("q"), std::string(1000, 'a'), randomBytes(5000, 9)}) {
        std::uint32_t blocks = 0;
        const auto a = payload::compressArchive(text, blocks);
        ASSERT_EQ(blocks, 1u);
        const std::uint32_t len =
            std::uint32_t(a[12]) | std::uint32_t(a[13]) << 8 | std::uint32_t(a[14]) << 16 | std::uint32_t(a[15]) << 24;
        EXPECT_EQ(a.size(), 4u + 20u + len);
    }
}

TEST(RoundTrip, SharedAndGeneratedFilesOnAnyNumberOfThreads) {
    BRENTHAUL_NEED_SHARED("");
    std::vector<std::string> texts;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(BRENTHAUL_SHARED_DATA, ec))
        texts.push_back(readFile(e.path().string()));
    ASSERT_FALSE(texts.empty()) << "no shared GEDCOM files in " << BRENTHAUL_SHARED_DATA;
    ScratchDir dir;
    const std::string gen = std::string(BRENTHAUL_BINARY_DIR) + "/gengedcom";
    if (std::filesystem::exists(gen) &&
        std::system((gen + " --quiet --individuals 10000 --out " + dir.file("gen.ged")).c_str()) == 0)
        texts.push_back(readFile(dir.file("gen.ged")));
    for (const std::string& text : texts) {
        // Small blocks as well, so that even the small files spread over the threads.
        for (std::uint32_t blockLength : {payload::kMaxBlockLength, 50000u}) {
            std::uint32_t blocks = 0;
            writeFile(dir.file("a.bin"), payload::compressArchive(text, blocks, blockLength));
            for (int threads : {1, 3, 0}) {
                payload::WRESCompress::SetMaxThreads(threads);
                payload::WRESCompress rc;
                EXPECT_TRUE(rc.ExpandFile(dir.file("a.bin"), dir.file("out"), blocks));
                ASSERT_TRUE(readFile(dir.file("out")) == text) << text.size() << " bytes, " << threads << " threads";
            }
        }
    }
    payload::WRESCompress::SetMaxThreads(0);
}
