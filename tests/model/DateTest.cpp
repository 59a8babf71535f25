#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "model/Date.h"
#include "platform/Hooks.h"

namespace {

struct ParseCase {
    const char* text;
    int day, month, year;
    int qual1, qual2;
    int year2;
    bool structured;
    const char* display;
};

void expectParse(const ParseCase& c) {
    SCOPED_TRACE(c.text);
    WDate d(c.text);
    EXPECT_TRUE(d.IsValid());
    EXPECT_EQ(d.IsStructured(), c.structured);
    EXPECT_EQ(d.GetText(), c.display);
    if (!c.structured) return;
    EXPECT_EQ(d.GetDay(), c.day);
    EXPECT_EQ(d.GetMonth(), c.month);
    EXPECT_EQ(d.GetYear(), c.year);
    EXPECT_EQ(d.GetQualifier(), c.qual1);
    EXPECT_EQ(d.GetQualifier2(), c.qual2);
    EXPECT_EQ(d.GetPart2().year, c.year2);
}

} // namespace

TEST(DateParse, GedcomForms) {
    const std::vector<ParseCase> cases = {
        {"25 DEC 1850", 25, 12, 1850, 0, 0, 0, true, "25 Dec 1850"},
        {"1850", 0, 0, 1850, 0, 0, 0, true, "1850"},
        {"DEC 1850", 0, 12, 1850, 0, 0, 0, true, "Dec 1850"},
        {"dec 1850", 0, 12, 1850, 0, 0, 0, true, "Dec 1850"},
        {"ABT 1850", 0, 0, 1850, dqAbout, 0, 0, true, "Abt 1850"},
        {"SAY 1850", 0, 0, 1850, dqAbout, 0, 0, true, "Abt 1850"},
        {"BET 1850 AND 1860", 0, 0, 1850, dqBetween, dqAnd, 1860, true, "Bet 1850 and 1860"},
        {"FROM 1 JAN 1850 TO 3 MAR 1860", 1, 1, 1850, dqFrom, dqTo, 1860, true, "From 1 Jan 1850 to 3 Mar 1860"},
        {"TO 1860", 0, 0, 1860, dqTo, 0, 0, true, "1860"},
        {"EST 1850", 0, 0, 1850, dqEstimated, 0, 0, true, "Est 1850"},
        {"CIR. 1850", 0, 0, 1850, dqCirca, 0, 0, true, "Cir 1850"},
        {"CAL 1850", 0, 0, 1850, dqCalculated, 0, 0, true, "Cal 1850"},
        {"INT 1850", 0, 0, 1850, dqInterpreted, 0, 0, true, "1850"},
        {"AFT 2 FEB 1900", 2, 2, 1900, dqAfter, 0, 0, true, "Aft 2 Feb 1900"},
        {"JAN 1 1850", 1, 1, 1850, 0, 0, 0, true, "1 Jan 1850"},
        {"12/25/1850", 25, 12, 1850, 0, 0, 0, true, "25 Dec 1850"},
        {"12-25-1850", 25, 12, 1850, 0, 0, 0, true, "25 Dec 1850"},
        {"3 1850", 0, 3, 1850, 0, 0, 0, true, "Mar 1850"},
        {"25.12.1850", 25, 12, 1850, 0, 0, 0, true, "25 Dec 1850"},
        {"03.1850", 0, 3, 1850, 0, 0, 0, true, "Mar 1850"},
        {"<1850>", 0, 0, 1850, 0, 0, 0, true, "1850"},
        {"  / 1850", 0, 0, 1850, 0, 0, 0, true, "1850"},
        {"1 SEPTEMBER 1850", 1, 9, 1850, 0, 0, 0, true, "1 Sep 1850"},
        {"1 June 1850", 1, 6, 1850, 0, 0, 0, true, "1 Jun 1850"},
        {"JAN", 0, 1, 0, 0, 0, 0, true, "Jan "},
    };
    for (const auto& c : cases) expectParse(c);
}

TEST(DateParse, UnreadableTextStaysAsWritten) {
    for (const char* t : {"ABT 1850 (FAMILY BIBLE)", "INT 1850 (FROM RECORDS)", "DEC 3000", "MAY. 1850",
                          "ESTIMATED 1850", "BEFX 1850", "TODAYISH"}) {
        WDate d(t);
        EXPECT_TRUE(d.IsValid()) << t;
        EXPECT_FALSE(d.IsStructured()) << t;
        EXPECT_EQ(d.GetText(), t) << t;
    }
    // Lower case is stored upper-cased and shown that way.
    WDate d("abt 1850 (bible)");
    EXPECT_EQ(d.GetText(), "ABT 1850 (BIBLE)");
    EXPECT_EQ(d.GetOriginalText(), "ABT 1850 (BIBLE)");
}

TEST(DateParse, NumericFormsOutOfRangeShowTheirText) {
    // Each of these used to read as an empty date, blank on screen and sorted as year 0.
    for (const char* t : {"25/12/1850", "1850-1860", "12/45/1850", "25 12", "45.12.1850", "25.13.1850", "13.1850",
                          "00.1850", "1 2 9999999"}) {
        WDate d(t);
        EXPECT_TRUE(d.IsValid()) << t;
        EXPECT_FALSE(d.IsStructured()) << t;
        EXPECT_EQ(d.GetText(), t) << t;
    }
    // It sorts with the unstructured dates, before every structured one.
    WDate bad("25/12/1850"), year0("0"), other("1 JAN 1");
    EXPECT_EQ(bad.Compare(year0), -1);
    EXPECT_EQ(year0.Compare(bad), 1);
    EXPECT_EQ(bad.Compare(other), -1);
}

TEST(DateParse, QualifiersReadByTheirFirstFourLetters) {
    const std::vector<std::pair<const char*, int>> words = {
        {"BEF", dqBefore},      {"BEF.", dqBefore},     {"BEFORE", dqBefore}, {"AFT", dqAfter},      {"AFTER", dqAfter},
        {"BET", dqBetween},     {"BETWEEN", dqBetween}, {"FROM", dqFrom},     {"ABT", dqAbout},      {"ABT.", dqAbout},
        {"ABOUT", dqAbout},     {"AROUND", dqAbout},    {"SAY", dqAbout},     {"EST.", dqEstimated}, {"CIR", dqCirca},
        {"CAL.", dqCalculated}, {"INT.", dqInterpreted}};
    for (auto [w, q] : words) {
        WDate d(std::string(w) + " 1850");
        EXPECT_TRUE(d.IsStructured()) << w;
        EXPECT_EQ(d.GetQualifier(), q) << w;
        EXPECT_EQ(d.GetYear(), 1850) << w;
    }
    // Three-letter words must match whole; four letters that are no key are no qualifier.
    for (const char* w : {"BEFX", "ABTX", "SAYS", "ESTI", "CIRC", "ANDY", "TOWN"}) {
        WDate d(std::string(w) + " 1850");
        EXPECT_EQ(d.GetQualifier(), 0) << w;
        EXPECT_FALSE(d.IsStructured()) << w;
    }
    WDate letters;
    const std::vector<std::pair<const char*, const char*>> letterCases = {
        {"BEF 1850", "b"}, {"AFT 1850", "a"}, {"ABT 1850", "c"}, {"CIR 1850", "c"},
        {"EST 1850", "e"}, {"CAL 1850", ""},  {"1850", ""},      {"BET 1850 AND 1860", ""}};
    for (auto [t, l] : letterCases) {
        letters.SetText(t);
        EXPECT_EQ(letters.GetQualifierLetter(), l) << t;
    }
}

TEST(DateParse, DualYearsAndRanges) {
    for (const char* t : {"1850/1851", "1850.1851"}) {
        WDate dual(t);
        EXPECT_EQ(dual.GetYear(), 1850) << t;
        EXPECT_TRUE(dual.HasDualYear()) << t;
        EXPECT_EQ(dual.GetPart1().dual, 1851) << t;
        EXPECT_EQ(dual.GetText(), "1850/1851") << t;
    }

    WDate dual2("25 DEC 1750/51");
    EXPECT_EQ(dual2.GetDay(), 25);
    EXPECT_EQ(dual2.GetMonth(), 12);
    EXPECT_EQ(dual2.GetYear(), 1750);
    EXPECT_EQ(dual2.GetPart1().dual, 51);
    EXPECT_EQ(dual2.GetText(), "25 Dec 1750/51");

    WDate plain("25 DEC 1750");
    EXPECT_FALSE(plain.HasDualYear());

    // A range whose second part is missing still prints its connector.
    const std::vector<std::pair<const char*, const char*>> open = {{"FROM 1850", "From 1850 to "},
                                                                   {"BET 1850", "Bet 1850 and "},
                                                                   {"BET 1850 AND", "Bet 1850 and "},
                                                                   {"FROM DEC 1850 TO", "From Dec 1850 to "}};
    for (auto [t, shown] : open) {
        WDate d(t);
        EXPECT_TRUE(d.IsStructured()) << t;
        EXPECT_FALSE(d.HasDualYear()) << t;
        EXPECT_EQ(d.GetText(), shown) << t;
    }
    WDate closed("BET 1850 AND");
    EXPECT_EQ(closed.GetQualifier2(), dqAnd);
}

TEST(DateParse, DualYearSuffixesOfAnyValue) {
    struct Case {
        const char* text;
        int day, month, year;
        const char* display;
    };
    // Suffixes below 32 used to become the next day ("1712/13" read as day 13).
    const std::vector<Case> cases = {
        {"13 JAN 1712/13", 13, 1, 1712, "13 Jan 1712/13"},
        {"27 OCT 1699/00", 27, 10, 1699, "27 Oct 1699/00"},
        {"1712/13", 0, 0, 1712, "1712/13"},
        {"1741/42", 0, 0, 1741, "1741/42"}, // was unreadable: a month 1741
        {"935/950", 0, 0, 935, "935/950"},
        {"ABT 1699/00", 0, 0, 1699, "Abt 1699/00"},
        {"BEF 8 FEB 1485/6", 8, 2, 1485, "Bef 8 Feb 1485/6"},
        {"12/25/1850/51", 25, 12, 1850, "25 Dec 1850/51"},
    };
    for (const Case& c : cases) {
        WDate d(c.text);
        EXPECT_TRUE(d.IsStructured()) << c.text;
        EXPECT_TRUE(d.HasDualYear()) << c.text;
        EXPECT_EQ(d.GetText(), c.display);
        EXPECT_EQ(d.GetDay(), c.day) << c.text;
        EXPECT_EQ(d.GetMonth(), c.month) << c.text;
        EXPECT_EQ(d.GetYear(), c.year) << c.text;
    }
    // Both ends of a range keep theirs.
    WDate bet("BET 5 APR 1712/13 AND 28 SEP 1714/15");
    EXPECT_EQ(bet.GetText(), "Bet 5 Apr 1712/13 and 28 Sep 1714/15");
    EXPECT_EQ(bet.GetPart2().year, 1714);
    EXPECT_EQ(WDate("FROM 28 JUN 1483 TO 1 FEB 1513/4").GetText(), "From 28 Jun 1483 to 1 Feb 1513/4");
    EXPECT_EQ(WDate("FROM 1712/13 TO 1720").GetText(), "From 1712/13 to 1720");
    // A slash between month, day and year is no suffix, nor are five digits.
    EXPECT_EQ(WDate("12/1850").GetText(), "Dec 1850");
    EXPECT_EQ(WDate("12/25/1850").GetText(), "25 Dec 1850");
    for (const char* t : {"1850/12/25", "1712/12345"}) EXPECT_FALSE(WDate(t).IsStructured()) << t;
}

TEST(DateParse, CalendarEscapes) {
    WDate hebrew("@#DHEBREW@ 15 TSH 1760");
    EXPECT_TRUE(hebrew.IsStructured());
    EXPECT_EQ(hebrew.GetPart1().calendar, dcHebrew);
    EXPECT_EQ(hebrew.GetDay(), 15);
    EXPECT_EQ(hebrew.GetMonth(), 1);
    EXPECT_EQ(hebrew.GetText(), "15 Jan 1760");

    EXPECT_FALSE(WDate("@#DHEBREW@ 15 TSH 5760").IsStructured());
    EXPECT_FALSE(WDate("@#DHEBREW@ 15 JAN 1760").IsStructured()); // no Hebrew month word

    WDate elul("@#DHEBREW@ 1 ELL 1760");
    EXPECT_EQ(elul.GetMonth(), 13);
    EXPECT_EQ(elul.GetMonthName(), "");
    EXPECT_EQ(elul.GetText(), "1 1760");

    // The French republican escape holds a blank but is one word.
    WDate french("@#DFRENCH R@ 1 VENDEMIAIRE 10");
    EXPECT_TRUE(french.IsStructured());
    EXPECT_EQ(french.GetPart1().calendar, dcFrench);
    EXPECT_EQ(french.GetMonth(), 1);
    EXPECT_EQ(french.GetYear(), 10);
    WDateTokens t;
    ASSERT_TRUE(WDate::Tokenize("@#DFRENCH R@ 1 VEND 10", t));
    EXPECT_EQ(t.count, 4);
    EXPECT_STREQ(t.text[1], "1");

    WDate julian("BEF @#DJULIAN@ 1 MAR 1749/50");
    EXPECT_TRUE(julian.IsStructured());
    EXPECT_EQ(julian.GetQualifier(), dqBefore);
    EXPECT_EQ(julian.GetPart1().calendar, dcJulian);
    EXPECT_EQ(julian.GetText(), "Bef 1 Mar 1749/50");

    WDate range("BET 1700 AND @#DJULIAN@ 1710");
    EXPECT_EQ(range.GetPart1().calendar, dcGregorian);
    EXPECT_EQ(range.GetPart2().calendar, dcJulian);
    EXPECT_EQ(range.GetPart2().year, 1710);
    EXPECT_FALSE(WDate("@#DROMAN@ 1 JAN 50").IsStructured()); // no month words
}

TEST(DateParse, TokensAreCutAndCounted) {
    WDateTokens t;
    std::memset(static_cast<void*>(&t), 0x5A, sizeof t); // leftovers of an earlier text
    ASSERT_TRUE(WDate::Tokenize("13.1850", t));
    EXPECT_EQ(t.count, 2);
    EXPECT_STREQ(t.text[0], "");
    EXPECT_STREQ(t.text[1], "1850");
    EXPECT_TRUE(t.badNumeric);
    EXPECT_FALSE(t.overflow);

    ASSERT_TRUE(WDate::Tokenize("ABCDEFGHIJ -/ 123456789", t));
    EXPECT_EQ(t.count, 2);
    EXPECT_STREQ(t.text[0], "ABCDEFG");
    EXPECT_STREQ(t.text[1], "1234567");
    EXPECT_FALSE(t.digits[0]);
    EXPECT_TRUE(t.digits[1]);

    EXPECT_FALSE(WDate::Tokenize(" /-- ", t));
    EXPECT_FALSE(WDate::Tokenize("", t));

    // Fifteen words fit; a sixteenth is flagged, never written past the array.
    ASSERT_TRUE(WDate::Tokenize("A B C D E F G H I J K L M N O", t));
    EXPECT_EQ(t.count, 15);
    EXPECT_FALSE(t.overflow);
    ASSERT_TRUE(WDate::Tokenize("1 JAN 1850 A B C D E F G H I J K L M N O P", t));
    EXPECT_EQ(t.count, 15);
    EXPECT_TRUE(t.overflow);
}

TEST(DateParse, MoreThanFifteenWordsShowTheText) {
    const std::string text = "1 JAN 1850 AND 1 JAN 1860 1 2 3 4 5 6 7 8 9 10";
    WDate d(text);
    EXPECT_TRUE(d.IsValid());
    EXPECT_FALSE(d.IsStructured());
    EXPECT_EQ(d.GetText(), text);
}

TEST(DateParse, EarlierTextLeavesNothingBehind) {
    WDate d("BET 1 JAN 1850 AND 1860");
    d.SetText("03.1850");
    EXPECT_EQ(d.GetMonth(), 3);
    EXPECT_EQ(d.GetDay(), 0);
    EXPECT_EQ(d.GetQualifier(), 0);
    EXPECT_FALSE(d.HasDualYear());
    d.SetText("JAN 1850 (A NOTE)");
    EXPECT_FALSE(d.IsStructured());
    d.SetText("13.1850"); // the month word is not taken from the last text
    EXPECT_FALSE(d.IsStructured());
    EXPECT_EQ(d.GetText(), "13.1850");
    d.SetText("1850");
    EXPECT_TRUE(d.IsStructured());
    EXPECT_EQ(d.GetText(), "1850");
    // Reading its own text again gives the same date.
    d.SetText(d.GetOriginalText());
    EXPECT_EQ(d.GetYear(), 1850);
}

TEST(DateParse, EmptyTextIsInvalid) {
    for (const char* t : {"", "   ", "//"}) {
        WDate d(t);
        EXPECT_FALSE(d.IsValid()) << t;
        EXPECT_EQ(d.GetYear(), 0);
        EXPECT_EQ(d.GetQualifier(), 0);
        EXPECT_EQ(d.GetMonthName(), "");
        EXPECT_EQ(d.GetText(), t);
        d.SetDay(5);
        d.SetMonth(5);
        EXPECT_EQ(d.GetDay(), 0);
    }
}

TEST(DateParse, TextIsUpperCasedAsCp1252) {
    // The reader converts from the file's character set; here 0xE8 is è, no ANSEL accent.
    WDate d(std::string("ABT 1850 (pr\xE8s \x96 M\xFCller)"));
    EXPECT_FALSE(d.IsStructured());
    EXPECT_EQ(d.GetText(), "ABT 1850 (PR\xC8S \x96 M\xDCLLER)");
}

TEST(DateParse, TodayUsesTheClock) {
    plat::hooks().now = [] {
        plat::CalendarTime t;
        t.year = 2024;
        t.month = 3;
        t.day = 5;
        return t;
    };
    WDate d("TODAY");
    plat::resetHooks();
    EXPECT_TRUE(d.IsStructured());
    EXPECT_EQ(d.GetDay(), 5);
    EXPECT_EQ(d.GetMonth(), 3);
    EXPECT_EQ(d.GetYear(), 2024);
    EXPECT_EQ(d.GetQualifier(), 0);
    EXPECT_EQ(d.GetOriginalText(), "5 MAR 2024");
    EXPECT_EQ(d.GetText(), "5 Mar 2024");
    // Only the word in capitals means today.
    EXPECT_FALSE(WDate("Today").IsStructured());
}

TEST(DateParse, SetDmyBuildsTheText) {
    WDate d;
    d.SetDMY(25, 12, 1850);
    EXPECT_EQ(d.GetOriginalText(), "25 DEC 1850");
    EXPECT_EQ(d.GetDay(), 25);
    d.SetDMY(0, 0, 1850);
    EXPECT_EQ(d.GetOriginalText(), "1850");
    EXPECT_EQ(d.GetMonth(), 0);
    d.SetDMY(0, 13, 1850);
    EXPECT_EQ(d.GetOriginalText(), "1850");
    d.SetDMY(31, 2, 1851);
    EXPECT_EQ(d.GetText(), "31 Feb 1851");
    EXPECT_EQ(d.GetMonthName(), "Feb");
}

TEST(DateParse, SetDayAndMonthKeepTheText) {
    WDate d("1 JAN 1850");
    d.SetDay(15);
    d.SetMonth(6);
    EXPECT_EQ(d.GetDay(), 15);
    EXPECT_EQ(d.GetMonth(), 6);
    EXPECT_EQ(d.GetOriginalText(), "1 JAN 1850");
    EXPECT_EQ(d.GetText(), "15 Jun 1850");
}

TEST(DateParse, RandomTextsKeepTheInvariants) {
    const char* words[] = {"ABT", "BEF", "AND", "TO",  "FROM", "JAN",   "DEC",  "@#DJULIAN@", "@#DFRENCH R@", "VEND",
                           "TSH", "1",   "12",  "31",  "32",   "1850",  "2999", "3000",       "99999999",     "/",
                           "-",   ".",   " ",   "(X)", "\xE2", "\xE8u", "<",    ">"};
    std::mt19937 rng(42);
    std::vector<WDate> dates;
    for (int i = 0; i < 5000; ++i) {
        std::string text;
        const int n = int(rng() % 12);
        for (int k = 0; k < n; ++k) {
            if (rng() % 8 == 0)
                text.push_back(char(rng() % 256));
            else
                text += words[rng() % (sizeof words / sizeof words[0])];
            if (rng() % 3) text.push_back(' ');
        }
        WDate d(text);
        if (!d.IsValid() || !d.IsStructured()) {
            EXPECT_EQ(d.GetText(), d.GetOriginalText()) << text;
        }
        if (!d.IsValid()) {
            EXPECT_EQ(d.GetYear(), 0) << text;
        }
        EXPECT_LE(d.GetOriginalText().size(), text.size());
        dates.push_back(d);
    }
    for (size_t i = 1; i < dates.size(); ++i) {
        const WDate& a = dates[i - 1];
        const WDate& b = dates[i];
        if (!a.IsValid() || !b.IsValid()) continue;
        EXPECT_EQ(a.Compare(b), -b.Compare(a)) << a.GetOriginalText() << " | " << b.GetOriginalText();
    }
}
