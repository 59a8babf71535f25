// The decoding stages one by one, against values worked out by hand.
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <random>
#include <string_view>
#include <utility>

#include "PayloadTestUtil.h"
#include "payload/AriDecoder.h"
#include "payload/BufferedFileStream.h"
#include "payload/Compressor.h"
#include "payload/Crc32.h"
#include "payload/Expander.h"
#include "payload/PayloadErrors.h"
#include "payload/SuffixSort.h"

using namespace ptest;
using payload::TGroupAriModel;

TEST(Crc32, KnownValues) {
    const std::string check = "123456789";
    EXPECT_EQ(payload::crc32(reinterpret_cast<const std::uint8_t*>(check.data()), check.size()), 0xCBF43926u);
    EXPECT_EQ(payload::crc32(nullptr, 0), 0u);
    const std::string fox = "The quick brown fox jumps over the lazy dog";
    EXPECT_EQ(payload::crc32(reinterpret_cast<const std::uint8_t*>(fox.data()), fox.size()), 0x414FA339u);
    // The block CRC covers buffer entries 1..n, not entry 0.
    const std::string shifted = "#" + check;
    EXPECT_EQ(payload::TBWTBase::BlockCRC(reinterpret_cast<const std::uint8_t*>(shifted.data()), 9), 0xCBF43926u);
}

TEST(Crc32, BulkUpdateMatchesBytewiseAtEveryLength) {
    const std::string data = randomBytes(100, 5);
    const auto* p = reinterpret_cast<const std::uint8_t*>(data.data());
    for (std::size_t n = 0; n <= data.size(); ++n) {
        payload::TCRC32 one;
        for (std::size_t i = 0; i < n; ++i) one.Update(p[i]);
        payload::TCRC32 bulk;
        bulk.Update(p, n / 3);
        bulk.Update(p + n / 3, n - n / 3);
        ASSERT_EQ(one.GetValue(), bulk.GetValue()) << n;
    }
}

namespace {
void expectCumConsistent(const TGroupAriModel& m) {
    for (int i = 0; i <= m.Count + 1; ++i) {
        int sum = 0;
        for (int j = i + 1; j <= m.Count + 1; ++j) sum += m.freq[std::size_t(j)];
        ASSERT_EQ(m.cum[std::size_t(i)], sum) << "slot " << i;
    }
}
} // namespace

TEST(GroupModel, InitialStateAndExchange) {
    TGroupAriModel m(8, 15, 1, 128); // group 4
    EXPECT_EQ(m.Count, 8);
    EXPECT_EQ(m.Total(), 9);
    EXPECT_EQ(m.freq[0], 0);
    for (int s = 1; s <= 8; ++s) EXPECT_EQ(m.GetSymbol(s), s - 1);
    EXPECT_EQ(m.GetSymbol(9), 0); // escape slot
    expectCumConsistent(m);

    // All frequencies equal: slot 5 moves up to slot 1, swapping with offset 0.
    m.Update(5);
    EXPECT_EQ(m.GetSymbol(1), 4);
    EXPECT_EQ(m.GetSymbol(5), 0);
    EXPECT_EQ(m.SlotOf(4), 1);
    EXPECT_EQ(m.SlotOf(0), 5);
    EXPECT_EQ(m.freq[1], 2);
    EXPECT_EQ(m.Total(), 10);
    expectCumConsistent(m);

    // Slot 3 goes to slot 2, the first slot with its frequency.
    m.Update(3);
    EXPECT_EQ(m.GetSymbol(2), 2);
    EXPECT_EQ(m.GetSymbol(3), 1);
    EXPECT_EQ(m.freq[2], 2);
    // Slot 1 already leads: no exchange.
    m.Update(1);
    EXPECT_EQ(m.GetSymbol(1), 4);
    EXPECT_EQ(m.freq[1], 3);
    expectCumConsistent(m);
}

TEST(GroupModel, HalvesWhenTheTotalReachesItsMaximum) {
    TGroupAriModel m(8, 15, 1, 128);
    for (int i = 0; i < 119; ++i) m.Update(1); // 9 + 119 = 128, no halving yet at 127
    EXPECT_EQ(m.Total(), 128);
    EXPECT_EQ(m.freq[1], 120);
    m.Update(1);
    // (120 + 1) div 2 = 60, then + 1; the slots of frequency 1 keep 1.
    EXPECT_EQ(m.freq[1], 61);
    for (int s = 2; s <= 9; ++s) EXPECT_EQ(m.freq[std::size_t(s)], 1);
    EXPECT_EQ(m.freq[0], 0);
    EXPECT_EQ(m.Total(), 69);
    expectCumConsistent(m);

    // The head model adds 32 at a time.
    payload::THeadAriModel head;
    head.Head.Update(9);
    EXPECT_EQ(head.Head.GetSymbol(1), 8);
    EXPECT_EQ(head.Head.Total(), 10 + 32);
}

TEST(GroupModel, GroupsCoverTheAlphabet) {
    using H = payload::THeadAriModel;
    EXPECT_EQ(H::GroupOf(0), 0);
    EXPECT_EQ(H::GroupOf(1), 1);
    EXPECT_EQ(H::GroupOf(2), 2);
    EXPECT_EQ(H::GroupOf(3), 2);
    EXPECT_EQ(H::GroupOf(4), 3);
    EXPECT_EQ(H::GroupOf(127), 7);
    EXPECT_EQ(H::GroupOf(128), 8);
    EXPECT_EQ(H::GroupOf(257), 8);
    H h;
    EXPECT_EQ(h.Groups[8].Count, 130);
    EXPECT_EQ(h.Groups[8].MaxTotal, 8192);
    EXPECT_EQ(h.Groups[5].Low, 16);
    EXPECT_EQ(h.Groups[5].High, 31);
    EXPECT_EQ(h.Groups[4].MaxTotal, 128);
    EXPECT_EQ(h.Head.MaxTotal, 4096);
}

TEST(MoveToFront, RanksZeroAndLast) {
    payload::TMTFDecoder d;
    d.Reset();
    EXPECT_EQ(d.Decode(0), 0);
    EXPECT_EQ(d.ByteAt(0), 0);
    EXPECT_EQ(d.ByteAt(1), 1);
    EXPECT_EQ(d.Decode(255), 255);
    EXPECT_EQ(d.ByteAt(0), 255);
    EXPECT_EQ(d.ByteAt(1), 0);
    EXPECT_EQ(d.ByteAt(255), 254);
    EXPECT_EQ(d.Decode(2), 1); // 255, 0, 1 -> 1, 255, 0
    EXPECT_EQ(d.ByteAt(1), 255);
    EXPECT_EQ(d.ByteAt(2), 0);

    // The encoder's tables stay each other's inverse.
    payload::TMTFBase e;
    e.Reset();
    for (int b : {7, 200, 7, 0, 255, 200}) {
        e.MoveToFront(std::uint8_t(b));
        for (int p = 0; p < 256; ++p) ASSERT_EQ(e.PositionOf(e.ByteAt(p)), p);
    }
}

TEST(InverseBlockSort, SentinelPlacementAndKnownText) {
    payload::TExpander x;
    std::vector<std::uint32_t> T(16), back(16);
    std::vector<std::uint8_t> last(16, 0xEE), text(16);

    // "banana": last column a n n b $ a a, sentinel at 4, second-byte rotation at row 3.
    // As ranks: a=97, n=110 -> 110, n -> 0, b=98 -> 99, a -> 2, a -> 0.
    const auto ranks = bytes({97, 110, 0, 99, 2, 0});
    x.DecodeMoveToFront(ranks.data(), 6, 4, last.data());
    EXPECT_EQ(std::string(last.begin(), last.begin() + 4), "annb");
    EXPECT_EQ(last[4], 0xEE); // the sentinel slot is left alone
    EXPECT_EQ(std::string(last.begin() + 5, last.begin() + 7), "aa");
    payload::TExpander::InverseBlockSort(last.data(), 6, 4, 3, T.data(), back.data(), text.data());
    EXPECT_EQ(std::string(text.begin() + 1, text.begin() + 7), "banana");

    // Sentinel position 0: it comes first, the bytes follow it.
    std::fill(last.begin(), last.end(), 0xEE);
    const auto two = bytes({'b', 1}); // 'b', then rank 1: byte 0, now second in the table
    x.DecodeMoveToFront(two.data(), 2, 0, last.data());
    EXPECT_EQ(last[0], 0xEE);
    EXPECT_EQ(last[1], 'b');
    EXPECT_EQ(last[2], 0);
    // Worked by hand: L = $ b a; starts $0 a1 b2; T[2] = 1, T[1] = 2, T[0] = 0;
    // from row 1: b, then row 2: a.
    last[2] = 'a';
    payload::TExpander::InverseBlockSort(last.data(), 2, 0, 1, T.data(), back.data(), text.data());
    EXPECT_EQ(text[1], 'b');
    EXPECT_EQ(text[2], 'a');

    // Sentinel position n: it comes last.
    std::fill(last.begin(), last.end(), 0xEE);
    x.DecodeMoveToFront(two.data(), 2, 2, last.data());
    EXPECT_EQ(last[0], 'b');
    EXPECT_EQ(last[1], 0);
    EXPECT_EQ(last[2], 0xEE);

    // Out-of-range positions are refused, not followed.
    EXPECT_THROW(payload::TExpander::InverseBlockSort(last.data(), 2, 3, 0, T.data(), back.data(), text.data()),
                 payload::EArchiveError);
    EXPECT_THROW(payload::TExpander::InverseBlockSort(last.data(), 2, 0, 3, T.data(), back.data(), text.data()),
                 payload::EArchiveError);
}

TEST(BlockSort, RowsOfAKnownText) {
    const std::string s = "banana";
    std::vector<std::int32_t> sa(s.size());
    std::vector<std::uint8_t> last(s.size());
    const auto r = payload::blockSort(reinterpret_cast<const std::uint8_t*>(s.data()), 6, sa.data(), last.data());
    EXPECT_EQ(r.SentinelPosition, 4u);
    EXPECT_EQ(r.PrimaryIndex, 3u);
    EXPECT_EQ(std::string(last.begin(), last.end()), "annbaa");
}

TEST(SuffixSort, SameOrderAsComparingTheSuffixes) {
    std::mt19937 rng(7);
    std::vector<std::string> texts = {"", "a", "aa", "ab", "ba", "banana", "mississippi", std::string(300, 'z')};
    // Fibonacci words and repeats nest equal substrings several levels deep.
    std::string f0 = "b", f1 = "a";
    while (f1.size() < 2500) f1 = std::exchange(f0, f1) + f1;
    texts.push_back(f1);
    for (int i = 0; i < 40; ++i) texts.push_back(std::string("abcab").substr(0, 1 + i % 5) + "cab");
    texts.back() = std::string(700, 'x') + "abcabcabcabcab" + std::string(700, 'x');
    for (int alphabet : {1, 2, 3, 4, 26, 256}) {
        for (int i = 0; i < 30; ++i) {
            std::string t(rng() % 600, 'a');
            for (char& c : t) c = char('a' + int(rng() % unsigned(alphabet)));
            if (i % 3 == 0) t += t + t.substr(0, t.size() / 2); // repeats
            texts.push_back(t);
        }
    }
    for (const std::string& t : texts) {
        std::vector<std::int32_t> expected(t.size());
        std::iota(expected.begin(), expected.end(), 0);
        const std::string_view v(t);
        std::sort(expected.begin(), expected.end(), [&](std::int32_t a, std::int32_t b) {
            const auto x = v.substr(std::size_t(a)), y = v.substr(std::size_t(b));
            return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end(),
                                                [](char p, char q) { return std::uint8_t(p) < std::uint8_t(q); });
        });
        std::vector<std::int32_t> got(t.size(), -7);
        std::vector<std::uint8_t> scratch(t.size(), 0xA7); // working room left dirty, as a packer reuses it
        payload::suffixSort(reinterpret_cast<const std::uint8_t*>(t.data()), got.data(), std::uint32_t(t.size()),
                            scratch.data(), scratch.size());
        ASSERT_EQ(got, expected) << "text of " << t.size() << " bytes: " << t.substr(0, 40);
    }
}

namespace {
// Decodes a coded symbol stream as one block's ranks.
std::vector<std::uint8_t> decodeRanks(const std::vector<int>& symbols) {
    ScratchDir dir;
    const auto stream = payload::encodeSymbols(symbols);
    writeFile(dir.file("s.bin"), stream);
    payload::TBitFile f(dir.file("s.bin"), payload::OpenMode::Read);
    f.SetReadLimit(std::int64_t(stream.size()));
    payload::TFileStrucAriDecoder d;
    std::vector<std::uint8_t> buf(1001, 0xEE);
    std::uint32_t n = 0;
    d.DecodeBlock(f, buf.data(), 1000, n);
    return std::vector<std::uint8_t>(buf.begin() + 1, buf.begin() + 1 + n);
}
} // namespace

TEST(ZeroRuns, DigitsAreBijectiveBaseTwoLeastSignificantFirst) {
    EXPECT_EQ(decodeRanks({257}).size(), 0u);
    EXPECT_EQ(decodeRanks({0, 257}), bytes({0}));
    EXPECT_EQ(decodeRanks({1, 0, 257}), bytes({0, 0, 0, 0}));
    EXPECT_EQ(decodeRanks({0, 1, 257}).size(), 5u);
    EXPECT_EQ(decodeRanks({1, 1, 257}).size(), 6u);
    EXPECT_EQ(decodeRanks({0, 0, 0, 257}).size(), 7u);
    EXPECT_EQ(decodeRanks({2, 0, 0, 256, 1, 257}), bytes({1, 0, 0, 0, 255, 0, 0}));
    // Every symbol of every group, once.
    std::vector<int> all;
    for (int s = 2; s <= 256; ++s) all.push_back(s);
    all.push_back(257);
    const auto ranks = decodeRanks(all);
    ASSERT_EQ(ranks.size(), 255u);
    for (int r = 1; r <= 255; ++r) ASSERT_EQ(ranks[std::size_t(r - 1)], r);
}
