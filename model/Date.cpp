#include "model/Date.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "model/Global.h"
#include "model/StrFunc.h"
#include "platform/Hooks.h"

namespace {

constexpr const char* kMonthNames[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* kMonthWords[12] = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                         "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr int kDaysInMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr int kDaysBefore[13] = {0, 0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
constexpr int kMaxYear = 65535;

// The first four bytes of a word as one number; shorter words are padded with
// zeros, so "BEF" and "BEFORE" give different keys and "BEF" matches only itself.
constexpr std::uint32_t key(const char* s) {
    std::uint32_t k = 0;
    for (int i = 0; i < 4 && s[i]; ++i) k |= std::uint32_t(static_cast<unsigned char>(s[i])) << (8 * i);
    return k;
}

inline std::uint32_t tokenKey(const WDateTokens& t, int i) {
    const auto* p = reinterpret_cast<const unsigned char*>(t.text[i]);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

int qualifierOf(std::uint32_t k) {
    switch (k) {
    case key("BEF"):
    case key("BEF."):
    case key("BEFO"): return dqBefore;
    case key("AFT"):
    case key("AFT."):
    case key("AFTE"): return dqAfter;
    case key("BET"):
    case key("BET."):
    case key("BETW"): return dqBetween;
    case key("FROM"): return dqFrom;
    case key("TO"): return dqTo;
    case key("ABT"):
    case key("ABT."):
    case key("ABOU"):
    case key("AROU"):
    case key("SAY"): return dqAbout;
    case key("EST"):
    case key("EST."): return dqEstimated;
    case key("CIR"):
    case key("CIR."): return dqCirca;
    case key("CAL"):
    case key("CAL."): return dqCalculated;
    case key("INT"):
    case key("INT."): return dqInterpreted;
    case key("AND"): return dqAnd;
    default: return dqNone;
    }
}

// Calendar of an escape such as "@#DJULIAN@", -1 for any other word.
int calendarOf(std::uint32_t k) {
    switch (k) {
    case key("@#DG"): return dcGregorian;
    case key("@#DJ"): return dcJulian;
    case key("@#DH"): return dcHebrew;
    case key("@#DF"): return dcFrench;
    case key("@#DR"): return dcRoman;
    case key("@#DU"): return dcUnknown;
    default: return -1;
    }
}

// Month of a word in the given calendar, 0 when it is none.
int monthOf(std::uint32_t k, int calendar) {
    switch (calendar) {
    case dcGregorian:
    case dcJulian:
        switch (k) {
        case key("JAN"):
        case key("JANU"): return 1;
        case key("FEB"):
        case key("FEBR"): return 2;
        case key("MAR"):
        case key("MARC"): return 3;
        case key("APR"):
        case key("APRI"): return 4;
        case key("MAY"): return 5;
        case key("JUN"):
        case key("JUNE"): return 6;
        case key("JUL"):
        case key("JULY"): return 7;
        case key("AUG"):
        case key("AUGU"): return 8;
        case key("SEP"):
        case key("SEPT"): return 9;
        case key("OCT"):
        case key("OCTO"): return 10;
        case key("NOV"):
        case key("NOVE"): return 11;
        case key("DEC"):
        case key("DECE"): return 12;
        default: return 0;
        }
    case dcHebrew:
        switch (k) {
        case key("TSH"): return 1;
        case key("CSH"): return 2;
        case key("KSL"): return 3;
        case key("TVT"): return 4;
        case key("SHV"): return 5;
        case key("ADR"): return 6;
        case key("ADS"): return 7;
        case key("NSN"): return 8;
        case key("IYR"): return 9;
        case key("SVN"): return 10;
        case key("TMZ"): return 11;
        case key("AAV"): return 12;
        case key("ELL"): return 13;
        default: return 0;
        }
    case dcFrench:
        switch (k) {
        case key("VEND"): return 1;
        case key("BRUM"): return 2;
        case key("FRIM"): return 3;
        case key("NIVO"): return 4;
        case key("PLUV"): return 5;
        case key("VENT"): return 6;
        case key("GERM"): return 7;
        case key("FLOR"): return 8;
        case key("PRAI"): return 9;
        case key("MESS"): return 10;
        case key("THER"): return 11;
        case key("FRUC"): return 12;
        case key("COMP"): return 13;
        default: return 0;
        }
    default: return 0;
    }
}

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isSeparator(char c) { return c == ' ' || c == '/' || c == '-'; }

// Value of a word made of digits only (at most seven, so it fits), -1 otherwise.
int numberOf(const WDateTokens& t, int i) {
    if (t.len[i] == 0 || !isDigit(t.text[i][0])) return -1;
    int v = 0;
    for (int j = 0; j < t.len[i]; ++j) {
        const char c = t.text[i][j];
        if (!isDigit(c)) return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

void setToken(WDateTokens& t, int i, const char* src, size_t len) {
    const size_t n = len < size_t(WDateTokens::kLen) ? len : size_t(WDateTokens::kLen);
    std::memset(t.text[i], 0, sizeof t.text[i]);
    std::memcpy(t.text[i], src, n);
    t.len[i] = std::uint8_t(n);
    t.digits[i] = false;
    t.dual[i] = false;
}

// Takes token k, just after the part's year, as that year's dual-year suffix
// when it is one; the number of tokens used (0 or 1).
int takeDual(const WDateTokens& t, int k, WDatePart& part) {
    if (k >= t.count || !t.dual[k]) return 0;
    const int v = numberOf(t, k);
    if (v < 0) return 0;
    part.dual = std::uint16_t(v);
    part.dualDigits = t.len[k];
    return 1;
}

// Two-digit number at p, -1 when either character is no digit.
int twoDigits(const char* p) { return isDigit(p[0]) && isDigit(p[1]) ? (p[0] - '0') * 10 + (p[1] - '0') : -1; }

// Carries a month step into the year; false when the year would leave
// 1..65535. A date without a year (0) keeps none.
inline bool carryYear(long& y, int delta) {
    if (y == 0) return true;
    y += delta;
    return y >= 1 && y <= kMaxYear;
}

void appendNumber(std::string& out, long v) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    out.append(buf, r.ptr);
}

// Result for equal year, month and day, by the two qualifiers (0..9).
constexpr signed char kQualOrder[10][10] = {
    //        0   1   2   3  4  5   6   7   8   9
    /* 0 */ {0, 1, -1, 0, 0, 0, 1, 1, 1, 1},
    /* 1 */ {-1, 0, -1, 0, 0, 0, -1, -1, -1, -1},
    /* 2 */ {1, 1, 0, 0, 0, 0, 1, 1, 1, 1},
    /* 3 */ {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    /* 4 */ {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    /* 5 */ {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
    /* 6 */ {-1, 1, -1, 0, 0, 0, 0, 0, 0, 0},
    /* 7 */ {-1, 1, -1, 0, 0, 0, 0, 0, 1, 1},
    /* 8 */ {-1, 1, -1, 0, 0, 0, 0, -1, 0, 1},
    /* 9 */ {-1, 1, -1, 0, 0, 0, 0, -1, -1, 0},
};

inline int effectiveMonth(int m) { return m >= 1 && m <= 12 ? m : 0; }

} // namespace

// ---------------------------------------------------------------- splitting

bool WDate::Tokenize(const std::string& text, WDateTokens& t) {
    // Only the words below count are written and read.
    t.count = 0;
    t.overflow = false;
    t.badNumeric = false;

    const char* p = text.data();
    const size_t n = text.size();

    // A dual year such as 1850/1851.
    if (n == 9 && (p[4] == '/' || p[4] == '.')) {
        setToken(t, 0, p, 4);
        setToken(t, 1, p + 5, 4);
        t.digits[0] = true;
        t.dual[1] = true;
        t.count = 2;
        return true;
    }
    // <1850>
    if (n == 6 && p[0] == '<' && p[5] == '>') {
        setToken(t, 0, p + 1, 4);
        t.digits[0] = true;
        t.count = 1;
        return true;
    }
    // day.month.year
    if (n == 10 && p[2] == '.' && p[5] == '.') {
        setToken(t, 0, p + 6, 4);
        setToken(t, 1, p, 2);
        setToken(t, 2, p + 3, 2);
        t.digits[0] = true;
        t.count = 3;
        const int d = twoDigits(p), m = twoDigits(p + 3);
        if ((d >= 0 && (d < 1 || d > 31)) || (m >= 0 && (m < 1 || m > 12))) t.badNumeric = true;
        return true;
    }
    // month.year
    if (n == 7 && p[2] == '.') {
        const int m = twoDigits(p);
        if (m >= 1 && m <= 12) {
            setToken(t, 0, kMonthWords[m - 1], 3);
        } else {
            setToken(t, 0, "", 0); // an empty word: no month word
            t.badNumeric = true;
        }
        setToken(t, 1, p + 3, 4);
        t.digits[0] = true;
        t.count = 2;
        return true;
    }

    size_t i = 0;
    size_t prevEnd = 0; // end of the word before, 0 before the first
    while (i < n && isSeparator(p[i])) ++i;
    while (i < n) {
        if (t.count == WDateTokens::kMax) {
            t.overflow = true;
            break;
        }
        const size_t start = i;
        size_t end = n;
        // A calendar escape is one word even where it holds a blank ("@#DFRENCH R@").
        bool escape = false;
        if (p[i] == '@' && i + 1 < n && p[i + 1] == '#') {
            for (size_t j = i + 2; j < n && j < i + 16; ++j)
                if (p[j] == '@') {
                    end = j + 1;
                    escape = true;
                    break;
                }
        }
        if (!escape) {
            end = i;
            while (end < n && !isSeparator(p[end])) ++end;
        }
        bool digits = true;
        for (size_t j = start; j < end; ++j)
            if (!isDigit(p[j])) {
                digits = false;
                break;
            }
        setToken(t, t.count, p + start, end - start);
        t.digits[t.count] = digits;
        // "1712/13", "1699/00": the digits after a single slash right behind
        // a number, with nothing but a blank or the end after them.
        t.dual[t.count] = digits && t.count > 0 && end - start <= 4 && prevEnd + 1 == start && p[start - 1] == '/' &&
                          isDigit(p[start - 2]) && (end == n || p[end] == ' ');
        ++t.count;
        prevEnd = end;
        i = end;
        while (i < n && isSeparator(p[i])) ++i;
    }
    return t.count > 0;
}

// ---------------------------------------------------------------- reading

void WDate::SetText(const std::string& text) {
    if (text == "TODAY") {
        const plat::CalendarTime now = plat::now();
        std::string s;
        appendNumber(s, now.day);
        s += ' ';
        if (now.month >= 1 && now.month <= 12) s += kMonthWords[now.month - 1];
        s += ' ';
        appendNumber(s, now.year);
        m_text = s;
        Parse();
        return;
    }
    if (&text == &m_text) {
        const std::string copy = text;
        SetText(copy);
        return;
    }
    const auto& upper = Global::UpperTable();
    // Upper-case straight into the buffer, which keeps its capacity from one
    // text to the next.
    m_text.resize(text.size());
    for (size_t i = 0; i < text.size(); ++i) m_text[i] = char(upper[static_cast<unsigned char>(text[i])]);
    Parse();
}

void WDate::SetDMY(int day, int month, int year) {
    std::string s;
    if (day != 0) {
        appendNumber(s, day);
        s += ' ';
    }
    if (month >= 1 && month <= 12) {
        s += kMonthWords[month - 1];
        s += ' ';
    }
    appendNumber(s, year);
    m_text = std::move(s);
    Parse();
}

void WDate::Parse() {
    m_qual1 = m_qual2 = dqNone;
    m_part1 = WDatePart{};
    m_part2 = WDatePart{};
    m_unstructured = false;
    m_valid = false;
    WDateTokens t;
    if (!Tokenize(m_text, t)) return;
    m_valid = true;
    // Words beyond those that fit, or a numeric day or month out of range,
    // leave the text unreadable as a whole: show it as written.
    if (t.overflow || t.badNumeric) m_unstructured = true;
    Interpret(t);
}

void WDate::Interpret(const WDateTokens& t) {
    int k = 0;
    if (k < t.count) {
        if (const int q = qualifierOf(tokenKey(t, k))) {
            m_qual1 = std::uint8_t(q);
            ++k;
        }
    }
    ReadPart(t, k, m_part1);
    if (k < t.count) {
        if (const int q = qualifierOf(tokenKey(t, k))) {
            m_qual2 = std::uint8_t(q);
            ++k;
        }
    }
    if (k < t.count) ReadPart(t, k, m_part2);
}

void WDate::ReadPart(const WDateTokens& t, int& k, WDatePart& part) {
    if (k >= t.count) return;
    part = WDatePart{};
    if (const int cal = calendarOf(tokenKey(t, k)); cal >= 0) {
        part.calendar = std::uint8_t(cal);
        ++k;
    }
    // "1712/13" is a year and its dual-year suffix, not a month and a year.
    const bool yearAndDual = k + 1 < t.count && t.dual[k + 1] && numberOf(t, k) >= 32;
    // month day year, all numbers
    if (!yearAndDual && k + 2 < t.count && t.digits[k] && t.digits[k + 1] && t.digits[k + 2]) {
        const int m = numberOf(t, k), d = numberOf(t, k + 1), y = numberOf(t, k + 2);
        if (m < 1 || m > 12) {
            m_unstructured = true;
            return;
        }
        part.month = std::uint16_t(m);
        if (d < 1 || d > 31) {
            m_unstructured = true;
            return;
        }
        part.day = std::uint16_t(d);
        if (y < 0 || y > kMaxYear) {
            m_unstructured = true;
            return;
        }
        part.year = std::uint16_t(y);
        k += 3;
        k += takeDual(t, k, part);
        return;
    }
    // month year, both numbers
    if (!yearAndDual && k + 1 < t.count && t.digits[k] && t.digits[k + 1]) {
        const int m = numberOf(t, k), y = numberOf(t, k + 1);
        if (m < 1 || m > 12 || y < 0 || y > kMaxYear) {
            m_unstructured = true;
            return;
        }
        part.month = std::uint16_t(m);
        part.year = std::uint16_t(y);
        k += 2;
        k += takeDual(t, k, part);
        return;
    }
    // word by word
    for (; k < t.count; ++k) {
        const std::uint32_t kk = tokenKey(t, k);
        if (qualifierOf(kk)) return;
        const int v = numberOf(t, k);
        if (v >= 0 && v < 3000) {
            if (v < 32 && part.day == 0) {
                part.day = std::uint16_t(v);
            } else if (v < 32 && part.month != 0) {
                if (part.year != 0) return;
                part.year = std::uint16_t(v);
                k += takeDual(t, k + 1, part);
            } else if (v < 13) {
                part.month = std::uint16_t(v);
            } else {
                if (part.year != 0) return;
                part.year = std::uint16_t(v);
                k += takeDual(t, k + 1, part);
            }
        } else {
            if (part.month != 0) return;
            const int m = monthOf(kk, part.calendar);
            if (m == 0) {
                m_unstructured = true;
                return;
            }
            part.month = std::uint16_t(m);
        }
    }
}

// ---------------------------------------------------------------- text

void WDate::AppendPart(std::string& out, const WDatePart& part) const {
    if (part.day != 0) {
        appendNumber(out, part.day);
        out += ' ';
    }
    if (part.month >= 1 && part.month <= 12) {
        out += kMonthNames[part.month - 1];
        out += ' ';
    }
    if (part.year != 0) appendNumber(out, part.year);
    if (part.dualDigits != 0) {
        out += '/';
        char buf[8];
        const auto r = std::to_chars(buf, buf + sizeof buf, part.dual);
        out.append(size_t(part.dualDigits) - std::min(size_t(part.dualDigits), size_t(r.ptr - buf)), '0');
        out.append(buf, r.ptr);
    }
}

std::string WDate::GetText() const {
    if (!m_valid || m_unstructured) return m_text;
    std::string out;
    switch (m_qual1) {
    case dqBefore: out = "Bef "; break;
    case dqAfter: out = "Aft "; break;
    case dqBetween: out = "Bet "; break;
    case dqFrom: out = "From "; break;
    case dqAbout: out = "Abt "; break;
    case dqEstimated: out = "Est "; break;
    case dqCirca: out = "Cir "; break;
    case dqCalculated: out = "Cal "; break;
    default: break;
    }
    AppendPart(out, m_part1);
    if (m_qual1 == dqBetween || m_qual1 == dqFrom) {
        out += m_qual1 == dqBetween ? " and " : " to ";
        AppendPart(out, m_part2);
    } else if (m_part2.year != 0) {
        out += '/';
        appendNumber(out, m_part2.year);
    }
    return out;
}

std::string WDate::GetMonthName() const {
    if (!m_valid || m_part1.month < 1 || m_part1.month > 12) return std::string();
    return kMonthNames[m_part1.month - 1];
}

std::string WDate::GetQualifierLetter() const {
    switch (GetQualifier()) {
    case dqBefore: return "b";
    case dqAfter: return "a";
    case dqAbout:
    case dqCirca: return "c";
    case dqEstimated: return "e";
    default: return std::string();
    }
}

void WDate::SetDay(int day) {
    if (m_valid) m_part1.day = std::uint16_t(day);
}

void WDate::SetMonth(int month) {
    if (m_valid) m_part1.month = std::uint16_t(month);
}

// ---------------------------------------------------------------- comparison

int WDate::CompareQualifiers(int a, int b) {
    if (a < 0 || b < 0 || a > 9 || b > 9) return 0;
    return kQualOrder[a][b];
}

int WDate::Compare(const WDate* other) const {
    if (!m_valid || !other) return -2;
    static const WDatePart kNoPart{};
    const bool otherValid = other->m_valid;
    const bool aStructured = !m_unstructured;
    const bool bStructured = !otherValid || !other->m_unstructured;
    if (aStructured && bStructured) {
        const WDatePart& a = m_part1;
        const WDatePart& b = otherValid ? other->m_part1 : kNoPart;
        if (a.year != b.year) return a.year < b.year ? -1 : 1;
        if (a.month != b.month) return a.month < b.month ? -1 : 1;
        if (a.day != b.day) return a.day < b.day ? -1 : 1;
        return CompareQualifiers(m_qual1, otherValid ? other->m_qual1 : 0);
    }
    if (aStructured) return 1;
    if (bStructured) return -1;
    return StrFunc::CompareStrings(m_text, other->m_text);
}

// ---------------------------------------------------------------- arithmetic

bool WDate::IsLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int WDate::DaysInMonth(int month, int year) {
    if (month < 1 || month > 12) return 0;
    return month == 2 && IsLeapYear(year) ? 29 : kDaysInMonth[month - 1];
}

int WDate::DayNumber(int precision) const {
    if (!m_valid || precision < 0 || precision > 2) return 0;
    const int y = int(m_part1.year) - 1;
    const int m = effectiveMonth(m_part1.month);
    int days = y * 365 + y / 4 + y / 400 - y / 100;
    if (m > 2 && IsLeapYear(m_part1.year)) ++days;
    if (precision >= 1) days += kDaysBefore[m];
    if (precision == 2) days += m_part1.day;
    return days;
}

bool WDate::AddDays(int n) {
    if (!m_valid || m_part1.day == 0 || effectiveMonth(m_part1.month) == 0) return false;
    long left = n, d = m_part1.day, y = m_part1.year;
    int m = m_part1.month;
    while (left > 0) {
        const long len = DaysInMonth(m, int(y));
        // Steps until day 1 of the next month.
        const long toNext = (d >= len ? 0 : len - d) + 1;
        if (left < toNext) {
            d += left;
            break;
        }
        left -= toNext;
        d = 1;
        if (++m > 12) {
            m = 1;
            if (!carryYear(y, 1)) return false;
        }
    }
    m_part1.day = std::uint16_t(d);
    m_part1.month = std::uint16_t(m);
    m_part1.year = std::uint16_t(y);
    return true;
}

bool WDate::SubDays(int n) {
    if (!m_valid || m_part1.day == 0 || effectiveMonth(m_part1.month) == 0) return false;
    long left = n, d = m_part1.day, y = m_part1.year;
    int m = m_part1.month;
    while (left > 0) {
        // d steps reach the last day of the previous month.
        if (left < d) {
            d -= left;
            break;
        }
        left -= d;
        if (--m < 1) {
            m = 12;
            if (!carryYear(y, -1)) return false;
        }
        d = DaysInMonth(m, int(y));
    }
    m_part1.day = std::uint16_t(d);
    m_part1.month = std::uint16_t(m);
    m_part1.year = std::uint16_t(y);
    return true;
}

bool WDate::AddMonths(int n) {
    if (!m_valid || effectiveMonth(m_part1.month) == 0) return false;
    long left = n, d = m_part1.day, y = m_part1.year;
    long m = m_part1.month;
    // Month by month while the day may still need cutting (above 28) ...
    while (left > 0 && d > 28) {
        if (++m > 12) {
            m = 1;
            if (!carryYear(y, 1)) return false;
        }
        const long len = DaysInMonth(int(m), int(y));
        if (d > len) d = len;
        --left;
    }
    // ... then all at once.
    if (left > 0) {
        const long total = m - 1 + left;
        if (y != 0) {
            y += total / 12;
            if (y > kMaxYear) return false;
        }
        m = total % 12 + 1;
    }
    m_part1.day = std::uint16_t(d);
    m_part1.month = std::uint16_t(m);
    m_part1.year = std::uint16_t(y);
    return true;
}

bool WDate::SubMonths(int n) {
    if (!m_valid || effectiveMonth(m_part1.month) == 0) return false;
    long left = n, d = m_part1.day, y = m_part1.year;
    long m = m_part1.month;
    while (left > 0 && d > 28) {
        if (--m < 1) {
            m = 12;
            if (!carryYear(y, -1)) return false;
        }
        const long len = DaysInMonth(int(m), int(y));
        if (d > len) d = len;
        --left;
    }
    if (left > 0) {
        const long back = left;
        long yearsBack = back / 12;
        long mm = m - back % 12;
        if (mm < 1) {
            mm += 12;
            ++yearsBack;
        }
        if (y != 0) {
            y -= yearsBack;
            if (y < 1) return false;
        }
        m = mm;
    }
    m_part1.day = std::uint16_t(d);
    m_part1.month = std::uint16_t(m);
    m_part1.year = std::uint16_t(y);
    return true;
}

bool WDate::StepYear(long delta) {
    if (!m_valid || m_part1.year == 0) return false;
    const long y = long(m_part1.year) + delta;
    if (y < 1 || y > kMaxYear) return false;
    m_part1.year = std::uint16_t(y);
    return true;
}

bool WDate::AddYears(int n) { return StepYear(n); }
bool WDate::SubYears(int n) { return StepYear(-long(n)); }
