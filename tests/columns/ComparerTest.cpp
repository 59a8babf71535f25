// The comparers of the six sort kinds and the keys they compare.
#include <climits>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "columns/Attrib.h"
#include "columns/AttribArray.h"
#include "support/MemCollection.h"

namespace {

TEST(CompareText, UnsignedBytesAndPrefixes) {
    EXPECT_EQ(ColCompare::Text("ABC", "ABC"), 0);
    EXPECT_EQ(ColCompare::Text("AB", "ABC"), -1);
    EXPECT_EQ(ColCompare::Text("ABC", "AB"), 1);
    EXPECT_EQ(ColCompare::Text("", ""), 0);
    EXPECT_EQ(ColCompare::Text("", "A"), -1);
    // Bytes above 127 sort after ASCII, not before.
    EXPECT_EQ(ColCompare::Text("\xD8", "Z"), 1);
    EXPECT_EQ(ColCompare::Text("Z", "\xD8"), -1);
}

TEST(CompareText, KeysRemoveAccentsAndUpperCase) {
    EXPECT_EQ(WAttribStrArray::MakeKey("\xC9mile"), "EMILE");
    EXPECT_EQ(WAttribStrArray::MakeKey("\xE9mile"), "EMILE");
    EXPECT_EQ(WAttribStrArray::MakeKey("Zo\xEB"), "ZOE");
    EXPECT_EQ(WAttribStrArray::MakeKey("M\xFCller, J\xFCrgen"), "MULLER, JURGEN");
    // 47 characters at most.
    EXPECT_EQ(WAttribStrArray::MakeKey(std::string(60, 'a')), std::string(47, 'A'));
}

TEST(CompareIdPair, NumbersBeforeAndAfterTheColon) {
    EXPECT_LT(ColCompare::IdPair("12:3", "12:10"), 0);
    EXPECT_GT(ColCompare::IdPair("12:10", "12:3"), 0);
    EXPECT_LT(ColCompare::IdPair("2:50", "12:1"), 0);
    EXPECT_EQ(ColCompare::IdPair("7:7", "7:7"), 0);
    // Without a colon on both sides: as text ("12:3" > "100" by bytes).
    EXPECT_GT(ColCompare::IdPair("12:3", "100"), 0);
    EXPECT_LT(ColCompare::IdPair("100", "12"), 0);
    // Large numbers compare by value, not by an overflowing difference.
    EXPECT_LT(ColCompare::IdPair("1:-2147483648", "1:2147483647"), 0);
    EXPECT_GT(ColCompare::IdPair("9999999999:1", "1:1"), 0);
    EXPECT_LT(ColCompare::IdPair("-3000000000:1", "3000000000:1"), 0);
}

TEST(CompareInteger, ExtremesDoNotOverflow) {
    EXPECT_EQ(ColCompare::Integer(INT_MIN, INT_MAX), -1);
    EXPECT_EQ(ColCompare::Integer(INT_MAX, INT_MIN), 1);
    EXPECT_EQ(ColCompare::Integer(INT_MAX, -1), 1);
    EXPECT_EQ(ColCompare::Integer(-1, INT_MAX), -1);
    EXPECT_EQ(ColCompare::Integer(5, 5), 0);
    EXPECT_EQ(ColCompare::Integer(INT_MIN, INT_MIN), 0);
}

TEST(CompareFloat, ThreeWay) {
    EXPECT_EQ(ColCompare::Float(1.5L, 2.0L), -1);
    EXPECT_EQ(ColCompare::Float(2.0L, 1.5L), 1);
    EXPECT_EQ(ColCompare::Float(0.25L, 0.25L), 0);
    EXPECT_EQ(ColCompare::Float(-1.0L, 0.0L), -1);
}

TEST(CompareAge, ParsingTheCellText) {
    WAgeKey k = WAgeKey::Parse("~45");
    EXPECT_TRUE(k.valid);
    EXPECT_TRUE(k.approximate);
    EXPECT_FALSE(k.uncertain);
    EXPECT_EQ(k.value, 45);
    k = WAgeKey::Parse("45?");
    EXPECT_TRUE(k.uncertain);
    EXPECT_FALSE(k.approximate);
    k = WAgeKey::Parse("");
    EXPECT_FALSE(k.valid);
    k = WAgeKey::Parse("abc");
    EXPECT_FALSE(k.valid);
    EXPECT_EQ(k.value, -1);
    // An estimate in brackets: the "~" is not in front.
    k = WAgeKey::Parse("[~80]");
    EXPECT_TRUE(k.valid);
    EXPECT_FALSE(k.approximate);
    EXPECT_EQ(k.value, 80);
    k = WAgeKey::Parse("1a2b3");
    EXPECT_EQ(k.value, 123);
    k = WAgeKey::Parse("99999999999999");
    EXPECT_EQ(k.value, INT_MAX);
}

TEST(CompareAge, Order) {
    auto cmp = [](const char* a, const char* b) { return ColCompare::Age(WAgeKey::Parse(a), WAgeKey::Parse(b)); };
    // Empty first, then by value; exact before approximate.
    EXPECT_EQ(cmp("", "45"), -1);
    EXPECT_EQ(cmp("45", ""), 1);
    EXPECT_EQ(cmp("45", "~45"), -1);
    EXPECT_EQ(cmp("~45", "45"), 1);
    EXPECT_EQ(cmp("45?", "~45"), -1);
    EXPECT_EQ(cmp("44", "~45"), -1);
    EXPECT_EQ(cmp("~44", "45"), -1);
    // Both approximate: certain before uncertain.
    EXPECT_EQ(cmp("~45", "~45?"), -1);
    EXPECT_EQ(cmp("~45?", "~45"), 1);
    // Equal keys give 0, in both orders.
    EXPECT_EQ(cmp("", ""), 0);
    EXPECT_EQ(cmp("x", ""), 0);
    EXPECT_EQ(cmp("45", "45"), 0);
    EXPECT_EQ(cmp("45", "45?"), 0);
    EXPECT_EQ(cmp("~45", "~45"), 0);
    EXPECT_EQ(cmp("~45?", "~45?"), 0);
}

TEST(CompareDate, EmptyThenUnreadableThenDates) {
    WAttribDateArray keys(8);
    keys.SetKeyText(1, "");
    keys.SetKeyText(2, "-"); // no word at all: not a date
    keys.SetKeyText(3, "1 JAN 1850");
    keys.SetKeyText(4, "BEF 1850");
    keys.SetKeyText(5, "");
    keys.SetKeyText(6, "/ /");
    keys.SetKeyText(7, "From 12 Dec 1850 to 1860");
    keys.SetKeyText(8, "1 JAN 1849");
    auto cmp = [&](std::int32_t a, std::int32_t b) { return ColCompare::Date(keys, a, b); };
    EXPECT_EQ(cmp(1, 2), -1);
    EXPECT_EQ(cmp(2, 1), 1);
    EXPECT_EQ(cmp(2, 3), -1);
    EXPECT_EQ(cmp(3, 2), 1);
    EXPECT_EQ(cmp(1, 3), -1);
    EXPECT_EQ(cmp(1, 5), 0);
    EXPECT_EQ(cmp(2, 6), 0); // two unreadable keys are equal
    EXPECT_EQ(cmp(6, 2), 0);
    EXPECT_EQ(cmp(4, 3), -1); // "before" 1850 first
    EXPECT_EQ(cmp(3, 3), 0);
    // The whole sort text counts: a range from 12 Dec 1850 sorts in 1850, not in year 185.
    EXPECT_EQ(keys.KeyText(7), "FROM 12 DEC 1850 TO 1860");
    EXPECT_EQ(cmp(7, 8), 1);
    EXPECT_EQ(cmp(7, 3), 1);
    EXPECT_EQ(cmp(8, 7), -1);
    // Out of range and individual 0 compare equal to anything.
    EXPECT_EQ(cmp(0, 3), 0);
    EXPECT_EQ(cmp(3, 9), 0);
}

TEST(CompareProcs, MissingRecordsAndIndividualZero) {
    WAttribIntArray keys(3);
    std::int32_t zero = 0, one = 1, nine = 9;
    EXPECT_EQ(ColCompare::IntegerProc(&zero, &one, &keys), 0);
    EXPECT_EQ(ColCompare::IntegerProc(&one, &nine, &keys), 0);
    EXPECT_EQ(ColCompare::IntegerProc(nullptr, &one, &keys), 0);
    WAttribStrArray text(2, false);
    EXPECT_EQ(ColCompare::TextProc(&one, &zero, &text), 0);
    WAttribAgeArray ages(2);
    EXPECT_EQ(ColCompare::AgeProc(&nine, &one, &ages), 0);
    WAttribFloatArray floats(2);
    EXPECT_EQ(ColCompare::FloatProc(&one, &nine, &floats), 0);
    WAttribDateArray dates(2);
    EXPECT_EQ(ColCompare::DateProc(&one, &zero, &dates), 0);
}

TEST(CompareProcs, SortAnIndexOfExtremeIntegers) {
    // Keys of five individuals, sorted through the record-array sort.
    WAttribIntArray keys(5);
    const std::int32_t values[] = {INT_MAX, INT_MIN, 0, -1, 1};
    for (std::int32_t i = 1; i <= 5; ++i) std::memcpy(keys.GetPtr(i), &values[i - 1], 4);
    WABSArrayIndex index("", false, 4, 5);
    for (std::int32_t i = 1; i <= 5; ++i) index.Add(&i);
    index.Sort(ColCompare::IntegerProc, &keys, false);
    std::vector<std::int32_t> order;
    for (std::int32_t p = 1; p <= 5; ++p) {
        std::int32_t n;
        std::memcpy(&n, index.GetPtr(p), 4);
        order.push_back(values[n - 1]);
    }
    EXPECT_EQ(order, (std::vector<std::int32_t>{INT_MIN, -1, 0, 1, INT_MAX}));
}

// Cell texts of a fake column, one per individual.
class TextColumn : public WAttrib {
public:
    explicit TextColumn(std::vector<std::string> texts) : WAttrib(nullptr), m_texts(std::move(texts)) {}
    void GetText(std::int32_t row, std::int32_t, std::string& s) override { s = m_texts[std::size_t(row - 1)]; }
    void GetSortText(std::int32_t row, std::string& s) override { GetText(row, 1, s); }

private:
    std::vector<std::string> m_texts;
};

// Order keys must rank every pair as the comparer does, ties included.
void expectKeysRankAsTheComparer(WAttribArray& keys, const std::vector<std::string>& texts) {
    TextColumn column(texts);
    const std::int32_t n = std::int32_t(texts.size());
    for (std::int32_t i = 1; i <= n; ++i) keys.StoreKey(column, i);
    std::vector<std::uint64_t> order;
    ASSERT_TRUE(keys.OrderKeys(order));
    const WKeyTies ties = keys.KeyTies();
    for (std::int32_t a = 1; a <= n; ++a)
        for (std::int32_t b = 1; b <= n; ++b) {
            const std::uint64_t ka = order[std::size_t(a)], kb = order[std::size_t(b)];
            const int c = keys.Comparer()(&a, &b, &keys);
            const std::string pair = texts[std::size_t(a - 1)] + " / " + texts[std::size_t(b - 1)];
            if (ka != kb) {
                const int k = ties.Tied(ka, kb) ? ties.Tie(ka, kb) : ka < kb ? -1 : 1;
                ASSERT_EQ(k, c < 0 ? -1 : c > 0) << pair;
            } else if (ka & 1) {
                ASSERT_EQ(c, 0) << pair;
            }
        }
}

TEST(OrderKeys, RankTextsAgesAndIntegersAsTheirComparers) {
    WAttribStrArray surnames(9, false);
    expectKeysRankAsTheComparer(surnames,
                                {"Birch", "birch", "\xC9mile", "Emile", "", "Birchwood", "\xD8st", "Zed", "B"});
    WAttribAgeArray ages(10);
    expectKeysRankAsTheComparer(ages, {"~45", "45?", "45", "~45?", "", "abc", "7", "~7", "120", "45"});
    WAttribIntArray numbers(4);
    for (std::int32_t i = 1; i <= 4; ++i) {
        const std::int32_t v[] = {INT_MAX, INT_MIN, 0, -1};
        std::memcpy(numbers.GetPtr(i), &v[i - 1], 4);
    }
    std::vector<std::uint64_t> order;
    ASSERT_TRUE(numbers.OrderKeys(order));
    EXPECT_TRUE(order[2] < order[4] && order[4] < order[3] && order[3] < order[1]);
    // Dates: empty, then no date, then unstructured texts, then structured
    // dates, whose qualifiers on one day are no order (about equals both
    // estimated and circa, which differ).
    WAttribDateArray dates(22);
    expectKeysRankAsTheComparer(dates, {"",
                                        "-",
                                        "sometime",
                                        "(in spring)",
                                        "ABT 1850",
                                        "1850",
                                        "BEF 1850",
                                        "AFT 1850",
                                        "EST 1850",
                                        "CIR 1850",
                                        "CAL 1850",
                                        "INT 1850 (guess)",
                                        "BET 1850 AND 1851",
                                        "FROM 1850 TO 1852",
                                        "TO 1850",
                                        "12 MAR 1850",
                                        "EST 12 MAR 1850",
                                        "1849",
                                        "sometime",
                                        "MAR 1850",
                                        "AFT 1849",
                                        "/ /"});
    // Identifier pairs compare by their numbers: no plain ranking.
    EXPECT_FALSE(WAttribStrArray(3, true).OrderKeys(order));
}

} // namespace
