// Archives built by hand from the format's bit-level rules, not by the packer,
// so that a misreading shared by packer and expander cannot pass unseen.
#include <gtest/gtest.h>

#include "PayloadTestUtil.h"
#include "payload/PayloadErrors.h"

using namespace ptest;

namespace {

std::vector<std::uint8_t> archiveSignature() { return bytes({'T', 'B', 'W', 'Z'}); }

void appendBlock(std::vector<std::uint8_t>& a, std::uint32_t crc, std::uint32_t primary, std::uint32_t sentinel,
                 const std::vector<std::uint8_t>& stream) {
    for (char c : std::string("DATA")) a.push_back(std::uint8_t(c));
    putU32(a, crc);
    putU32(a, std::uint32_t(stream.size()));
    putU32(a, primary);
    putU32(a, sentinel);
    a.insert(a.end(), stream.begin(), stream.end());
}

// Empty block: the first symbol is end-of-block (257, head group 8, offset 129).
// Head model: 9 groups + escape, all frequencies 1, total 10; group 8 is slot 9,
// cum[9] = 1, cum[8] = 2, so Target = ((V + 1) * 10 - 1) div 65536 must be 1:
// V in [6553, 13106]. Then Low = 6553, High = 13106; two doublings (High below
// Half) give Low = 26212, High = 52427 and V' = 4V + next two bits.
// Group 8: 130 symbols + escape, total 131; offset 129 is slot 130, cum = 1..2,
// Range 26216: Target = ((V' - 26211) * 131 - 1) div 26216 = 1 needs
// V' in [26412, 26611], so V in [6603, 6652] with zero bits after it.
// V = 6640 = 0x19F0.
const std::vector<std::uint8_t> kEmptyStream = bytes({0x19, 0xF0});

// "aaaaa": rotations of "aaaaa$" sorted: $, a$, aa$, aaa$, aaaa$, aaaaa$; last
// column a a a a a $ (sentinel at 5 = n), the rotation starting at the second
// byte is row 4. Ranks: 'a' = 97 (symbol 98), then four zeros (run digits 1, 0),
// then end-of-block: symbols 98, 1, 0, 257. Narrowing the code value through
// the decoder's steps (head slot 8 of 10: V in [13107, 19659]; group 7 slot 35
// of 65, cum 30..31; head slot 2 after the first update, total 42; head slot 8
// (symbol 0 moved there by the first exchange), total 74; head slot 9, total
// 106; group 8 slot 130 of 131) leaves x in [0.2464394085, 0.2464394086);
// the shortest bit string in it is 0x3F16A73040.
const std::vector<std::uint8_t> kFiveAStream = bytes({0x3F, 0x16, 0xA7, 0x30, 0x40});
constexpr std::uint32_t kFiveACrc = 0xEEAC93B9; // CRC-32 of "aaaaa"

std::string expand(const ScratchDir& dir, const std::vector<std::uint8_t>& archive, std::int64_t blocks,
                   bool* ok = nullptr) {
    writeFile(dir.file("a.bin"), archive);
    payload::WRESCompress rc;
    const bool r = rc.ExpandFile(dir.file("a.bin"), dir.file("out.ged"), blocks);
    if (ok) *ok = r;
    return readFile(dir.file("out.ged"));
}

} // namespace

TEST(GoldenArchive, HandBuiltEmptyBlockExpandsToNothing) {
    ScratchDir dir;
    RecordingHooks hooks;
    auto a = archiveSignature();
    appendBlock(a, 0, 0, 0, kEmptyStream);
    bool ok = false;
    EXPECT_EQ(expand(dir, a, 1, &ok), "");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(hooks.messages.empty());
    EXPECT_EQ(hooks.pumps, 1);
}

TEST(GoldenArchive, HandBuiltRunOfFiveBytes) {
    ScratchDir dir;
    RecordingHooks hooks;
    auto a = archiveSignature();
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    bool ok = false;
    EXPECT_EQ(expand(dir, a, 1, &ok), "aaaaa");
    EXPECT_TRUE(ok);
    EXPECT_TRUE(hooks.messages.empty());
}

TEST(GoldenArchive, BlocksFollowOneAnotherAndPumpAfterEach) {
    ScratchDir dir;
    RecordingHooks hooks;
    auto a = archiveSignature();
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    appendBlock(a, 0, 0, 0, kEmptyStream);
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    EXPECT_EQ(expand(dir, a, 3), "aaaaaaaaaa");
    EXPECT_EQ(hooks.pumps, 3);
    // Only the blocks asked for are expanded.
    EXPECT_EQ(expand(dir, a, 1), "aaaaa");
    EXPECT_EQ(expand(dir, a, 0), "");
    EXPECT_EQ(expand(dir, a, -3), "");
}

TEST(GoldenArchive, NextHeaderFollowsTheStatedStreamLength) {
    // A stream longer than decoding uses: the next header is found after the
    // stated length, not where decoding stopped.
    ScratchDir dir;
    auto padded = kEmptyStream;
    for (int i = 0; i < 7; ++i) padded.push_back(std::uint8_t(0xA5 + i));
    auto a = archiveSignature();
    appendBlock(a, 0, 0, 0, padded);
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    bool ok = false;
    EXPECT_EQ(expand(dir, a, 2, &ok), "aaaaa");
    EXPECT_TRUE(ok);
}

TEST(GoldenArchive, WrongCrcIsShownOnceWrittenAndReported) {
    ScratchDir dir;
    RecordingHooks hooks;
    auto a = archiveSignature();
    appendBlock(a, kFiveACrc ^ 1u, 4, 5, kFiveAStream);
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    bool ok = true;
    EXPECT_EQ(expand(dir, a, 2, &ok), "aaaaaaaaaa");
    EXPECT_FALSE(ok);
    ASSERT_EQ(hooks.messages.size(), 1u);
    EXPECT_EQ(hooks.messages[0], "CRC does not match!");
}

TEST(GoldenArchive, MissingBlockFailsAfterTheRealOnes) {
    ScratchDir dir;
    auto a = archiveSignature();
    appendBlock(a, kFiveACrc, 4, 5, kFiveAStream);
    writeFile(dir.file("a.bin"), a);
    payload::WRESCompress rc;
    try {
        rc.ExpandFile(dir.file("a.bin"), dir.file("out.ged"), 2);
        FAIL() << "expected ESignatureWrong";
    } catch (const payload::ESignatureWrong& e) {
        EXPECT_STREQ(e.what(), "Wrong Signature. Archive could be corrupted.");
    }
    EXPECT_EQ(readFile(dir.file("out.ged")), "aaaaa");
}

TEST(GoldenArchive, WrongFileSignatureCreatesNoOutput) {
    ScratchDir dir;
    for (const auto& head : {bytes({'T', 'B', 'W', 'Y'}), bytes({'T', 'B'}), bytes({})}) {
        auto a = head;
        appendBlock(a, 0, 0, 0, kEmptyStream);
        writeFile(dir.file("a.bin"), a);
        payload::WRESCompress rc;
        EXPECT_THROW(rc.ExpandFile(dir.file("a.bin"), dir.file("none.ged"), 1), payload::ESignatureWrong);
        EXPECT_FALSE(std::filesystem::exists(dir.file("none.ged")));
    }
}

TEST(GoldenArchive, WrongBlockSignature) {
    ScratchDir dir;
    auto a = archiveSignature();
    appendBlock(a, 0, 0, 0, kEmptyStream);
    a[4 + 3] = 'O'; // "DATO"
    writeFile(dir.file("a.bin"), a);
    payload::WRESCompress rc;
    EXPECT_THROW(rc.ExpandFile(dir.file("a.bin"), dir.file("out.ged"), 1), payload::ESignatureWrong);
}
