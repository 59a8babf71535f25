#pragma once
// A genealogical date as a GEDCOM file writes it: the source text, a
// qualifier ("before", "about", ...), one or two date parts and a calendar.
// It reads GEDCOM date text and the common numeric forms, prints itself,
// compares and steps by day, month and year. A text that cannot be read word
// by word stays valid but unstructured, and then prints, compares and sorts
// as its text. Bad input is reported by results, never by exceptions.
#include <cstdint>
#include <string>

enum WDateQualifier : std::uint8_t {
    dqNone = 0,
    dqBefore = 1,
    dqAfter = 2,
    dqBetween = 3,
    dqFrom = 4,
    dqTo = 5,
    dqAbout = 6,
    dqEstimated = 7,
    dqCirca = 8,
    dqCalculated = 9,
    dqInterpreted = 10,
    dqAnd = 11,
};

enum WDateCalendar : std::uint8_t {
    dcGregorian = 0,
    dcJulian = 1,
    dcHebrew = 2,
    dcFrench = 3,
    dcRoman = 4,
    dcUnknown = 5,
};

struct WDatePart {
    std::uint8_t calendar = dcGregorian;
    std::uint16_t day = 0;   // 0 = none
    std::uint16_t month = 0; // 0 = none; 13 exists in the Hebrew and French calendars
    std::uint16_t year = 0;  // 0 = none
    // Dual-year suffix of the year as written ("1712/13", "1699/00"); its
    // digit count keeps the leading zeros; 0 digits = none.
    std::uint16_t dual = 0;
    std::uint8_t dualDigits = 0;
};

// The words of one date text, on the stack: parsing allocates nothing per token.
struct WDateTokens {
    static constexpr int kMax = 15;
    static constexpr int kLen = 7;
    int count = 0;
    bool overflow = false;   // the text had more words than fit
    bool badNumeric = false; // a day.month.year form with day or month out of range
    // Words 0..count-1, each zero-padded to 8 bytes.
    char text[kMax][kLen + 1];
    std::uint8_t len[kMax];
    bool digits[kMax];
    // One to four digits joined to the word before by a single "/" and ending
    // the text or followed by a blank: a dual-year suffix when that word is a year.
    bool dual[kMax];
};

class WDate {
public:
    WDate() = default;
    explicit WDate(const std::string& text) { SetText(text); }

    // Stores the text upper-cased and reads it; the text is cp1252, already
    // converted from the file's character set. "TODAY" (exactly) gives the
    // current date; empty text gives an invalid date.
    void SetText(const std::string& text);
    // Builds "D MON YYYY" from the parts that are set and reads it.
    void SetDMY(int day, int month, int year);

    // Display text ("Abt 25 Dec 1850", "Bet 1850 and 1860"); the stored text
    // for an invalid or unstructured date.
    std::string GetText() const;
    const std::string& GetOriginalText() const { return m_text; }

    int GetDay() const { return m_valid ? m_part1.day : 0; }
    int GetMonth() const { return m_valid ? m_part1.month : 0; }
    int GetYear() const { return m_valid ? m_part1.year : 0; }
    std::string GetMonthName() const;
    int GetQualifier() const { return m_valid ? m_qual1 : 0; }
    // "b" before, "a" after, "c" about and circa, "e" estimated, else empty.
    std::string GetQualifierLetter() const;

    bool IsValid() const { return m_valid; }
    bool IsUnstructured() const { return m_unstructured; }
    bool IsStructured() const { return !m_unstructured; }
    // A dual-year suffix on part 1, or a second part with a year.
    bool HasDualYear() const { return m_part1.dualDigits != 0 || m_part2.year != 0; }

    // Change part 1 of a valid date; the text stays as it was.
    void SetDay(int day);
    void SetMonth(int month);

    int GetQualifier2() const { return m_qual2; }
    const WDatePart& GetPart1() const { return m_part1; }
    const WDatePart& GetPart2() const { return m_part2; }

    // -1 before, 1 after, 0 equal; -2 when this date is invalid or other is missing.
    int Compare(const WDate* other) const;
    int Compare(const WDate& other) const { return Compare(&other); }
    // What decides between two structured dates on the same day: -1, 0 or 1
    // by their qualifiers. Not an order: about equals both estimated and
    // circa, which differ from each other.
    static int CompareQualifiers(int a, int b);

    // Day count of part 1 at precision 0 (year), 1 (month) or 2 (day); 0 for
    // an invalid date or another precision.
    int DayNumber(int precision) const;
    static bool IsLeapYear(int year);
    static int DaysInMonth(int month, int year); // 0 outside 1..12

    // Steps of part 1 (Gregorian rules). False, and nothing changed, when the
    // date is invalid, the stepped field is 0, the month is outside 1..12 (day
    // and month steps) or the year would leave 1..65535.
    bool AddDays(int n);
    bool SubDays(int n);
    bool AddMonths(int n);
    bool SubMonths(int n);
    bool AddYears(int n);
    bool SubYears(int n);

    // Splits a date text into its words (exposed for tests). False when the
    // text has no word at all.
    static bool Tokenize(const std::string& text, WDateTokens& tokens);

private:
    void Parse();
    void Interpret(const WDateTokens& t);
    void ReadPart(const WDateTokens& t, int& k, WDatePart& part);
    void AppendPart(std::string& out, const WDatePart& part) const;
    bool StepYear(long delta);

    std::uint8_t m_qual1 = dqNone;
    std::uint8_t m_qual2 = dqNone;
    WDatePart m_part1;
    WDatePart m_part2;
    bool m_valid = false;
    bool m_unstructured = false;
    std::string m_text;
};
