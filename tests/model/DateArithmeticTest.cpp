#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "model/Date.h"
#include "model/DateDiff.h"

namespace {

int cmp(const char* a, const char* b) {
    WDate da(a), db(b);
    return da.Compare(db);
}

std::string shown(const WDate& d) { return d.GetText(); }

} // namespace

TEST(DateCompare, DocumentedOrder) {
    EXPECT_EQ(cmp("BEF 1850", "1850"), -1);
    EXPECT_EQ(cmp("ABT 1850", "EST 1850"), 0);
    EXPECT_EQ(cmp("CAL 1850", "EST 1850"), -1);
    EXPECT_EQ(cmp("1850", "JAN 1850"), -1);
    EXPECT_EQ(cmp("JAN 1850", "1 JAN 1850"), -1);
    EXPECT_EQ(cmp("1 JAN 1850", "1 JAN 1850"), 0);
    EXPECT_EQ(cmp("31 DEC 1849", "1 JAN 1850"), -1);
    EXPECT_EQ(cmp("2 JAN 1850", "1 JAN 1850"), 1);
    EXPECT_EQ(cmp("AFT 1850", "1850"), 1);
    // Only part 1 of a range counts, and range words tie with everything.
    EXPECT_EQ(cmp("BET 1850 AND 1900", "FROM 1850 TO 1860"), 0);
    EXPECT_EQ(cmp("BET 1850 AND 1900", "BEF 1850"), 0);
}

TEST(DateCompare, UnstructuredBeforeStructuredAndByText) {
    EXPECT_EQ(cmp("SOMETIME", "1"), -1);
    EXPECT_EQ(cmp("1", "SOMETIME"), 1);
    EXPECT_EQ(cmp("ABT 1850 (BIBLE)", "AFTER THE WAR"), -1);
    EXPECT_EQ(cmp("AFTER THE WAR", "ABT 1850 (BIBLE)"), 1);
    EXPECT_EQ(cmp("UNKNOWN", "UNKNOWN"), 0);
    EXPECT_EQ(cmp("UNK", "UNKNOWN"), -1);
}

TEST(DateCompare, DualYearsSortByTheirFirstYear) {
    EXPECT_EQ(cmp("13 JAN 1712/13", "13 JAN 1712"), 0);
    EXPECT_EQ(cmp("1712/13", "1712"), 0); // no day 13
    EXPECT_EQ(cmp("1741/42", "1741"), 0); // structured, not text
    EXPECT_EQ(cmp("27 OCT 1699/00", "28 OCT 1699"), -1);
    EXPECT_EQ(cmp("28 OCT 1699", "27 OCT 1699/00"), 1);
    EXPECT_EQ(cmp("BET 5 APR 1712/13 AND 28 SEP 1714/15", "BET 6 APR 1712 AND 1713"), -1);
}

TEST(DateCompare, MissingAndInvalidDates) {
    WDate valid("1850"), invalid(""), loose("SOMETIME");
    EXPECT_EQ(valid.Compare(nullptr), -2);
    EXPECT_EQ(invalid.Compare(valid), -2);
    EXPECT_EQ(invalid.Compare(invalid), -2);
    // An invalid other date counts as a structured date with nothing set.
    EXPECT_EQ(valid.Compare(invalid), 1);
    EXPECT_EQ(loose.Compare(invalid), -1);
    WDate before("BEF 0");
    EXPECT_EQ(before.Compare(invalid), -1);
}

TEST(DateCompare, QualifiersAreAntisymmetric) {
    const std::vector<const char*> words = {"",     "BEF ", "AFT ", "BET ", "FROM ", "TO ",
                                            "ABT ", "EST ", "CIR ", "CAL ", "INT "};
    int nonZero = 0;
    for (const char* a : words)
        for (const char* b : words) {
            WDate da(std::string(a) + "1 JAN 1850"), db(std::string(b) + "1 JAN 1850");
            ASSERT_TRUE(da.IsStructured() && db.IsStructured()) << a << "|" << b;
            const int ab = da.Compare(db), ba = db.Compare(da);
            EXPECT_EQ(ab, -ba) << a << "vs" << b;
            EXPECT_GE(ab, -1);
            if (ab) ++nonZero;
        }
    EXPECT_EQ(nonZero, 36); // the 18 ordered pairs of the table, each way round
    // A few cells of the table.
    EXPECT_EQ(cmp("1850", "ABT 1850"), 1);
    EXPECT_EQ(cmp("EST 1850", "CIR 1850"), 1);
    EXPECT_EQ(cmp("CIR 1850", "CAL 1850"), 1);
    EXPECT_EQ(cmp("ABT 1850", "BEF 1850"), 1);
    EXPECT_EQ(cmp("AFT 1850", "EST 1850"), 1);
    EXPECT_EQ(cmp("INT 1850", "BEF 1850"), 0);
}

TEST(DateArithmetic, DayNumbersAndLeapYears) {
    EXPECT_TRUE(WDate::IsLeapYear(2000));
    EXPECT_FALSE(WDate::IsLeapYear(1900));
    EXPECT_TRUE(WDate::IsLeapYear(1852));
    EXPECT_FALSE(WDate::IsLeapYear(1851));
    WDate a("1 JAN 1901"), b("1 JAN 1900");
    EXPECT_EQ(a.DayNumber(2) - b.DayNumber(2), 365);
    WDate c("1 MAR 2000"), d("28 FEB 2000");
    EXPECT_EQ(c.DayNumber(2) - d.DayNumber(2), 2);
    EXPECT_EQ(WDate("").DayNumber(2), 0);
    EXPECT_EQ(a.DayNumber(3), 0);
    EXPECT_EQ(a.DayNumber(-1), 0);
}

TEST(DateArithmetic, StepsAcrossMonthYearAndLeapDay) {
    struct Step {
        const char* from;
        bool (WDate::*op)(int);
        int n;
        const char* to;
    };
    const std::vector<Step> steps = {
        {"28 FEB 1900", &WDate::AddDays, 1, "1 Mar 1900"},
        {"28 FEB 2000", &WDate::AddDays, 1, "29 Feb 2000"},
        {"29 FEB 2000", &WDate::AddDays, 1, "1 Mar 2000"},
        {"31 DEC 1850", &WDate::AddDays, 1, "1 Jan 1851"},
        {"1 JAN 1850", &WDate::AddDays, 365, "1 Jan 1851"},
        {"1 JAN 1852", &WDate::AddDays, 366, "1 Jan 1853"},
        {"1 JAN 1850", &WDate::SubDays, 1, "31 Dec 1849"},
        {"1 MAR 2000", &WDate::SubDays, 1, "29 Feb 2000"},
        {"1 MAR 1900", &WDate::SubDays, 1, "28 Feb 1900"},
        {"31 JAN 1850", &WDate::AddMonths, 1, "28 Feb 1850"},
        {"31 JAN 1852", &WDate::AddMonths, 1, "29 Feb 1852"},
        {"31 JAN 1850", &WDate::AddMonths, 2, "28 Mar 1850"}, // cut on the way stays cut
        {"15 DEC 1850", &WDate::AddMonths, 13, "15 Jan 1852"},
        {"DEC 1850", &WDate::AddMonths, 1, "Jan 1851"},
        {"15 JAN 1850", &WDate::SubMonths, 1, "15 Dec 1849"},
        {"31 MAR 1850", &WDate::SubMonths, 1, "28 Feb 1850"},
        {"15 MAR 1850", &WDate::SubMonths, 14, "15 Jan 1849"},
        {"29 FEB 2000", &WDate::AddYears, 1, "29 Feb 2001"}, // the day is not adjusted
        {"1850", &WDate::AddYears, 10, "1860"},
        {"1850", &WDate::AddYears, -10, "1840"},
        {"1850", &WDate::SubYears, 50, "1800"},
        {"31 DEC", &WDate::AddDays, 1, "1 Jan "}, // no year stays no year
        {"1 JAN", &WDate::SubDays, 1, "31 Dec "},
    };
    for (const Step& s : steps) {
        WDate d(s.from);
        EXPECT_TRUE((d.*s.op)(s.n)) << s.from;
        EXPECT_EQ(shown(d), s.to) << s.from << " by " << s.n;
        EXPECT_EQ(d.GetOriginalText(), WDate(s.from).GetOriginalText());
    }
}

TEST(DateArithmetic, DayStepsAgreeWithDayNumbers) {
    for (const char* start : {"1 JAN 1899", "28 FEB 1900", "15 JUN 1999", "31 DEC 2003"}) {
        const WDate base(start);
        for (int n = 0; n <= 1500; n += 7) {
            WDate up(start), down(start);
            ASSERT_TRUE(up.AddDays(n));
            ASSERT_TRUE(down.SubDays(n));
            EXPECT_EQ(up.DayNumber(2) - base.DayNumber(2), n) << start << " + " << n;
            EXPECT_EQ(base.DayNumber(2) - down.DayNumber(2), n) << start << " - " << n;
            ASSERT_TRUE(up.SubDays(n));
            EXPECT_EQ(up.Compare(base), 0);
        }
    }
}

TEST(DateArithmetic, RefusedSteps) {
    WDate year("1850");
    EXPECT_FALSE(year.AddDays(1));
    EXPECT_FALSE(year.SubDays(1));
    EXPECT_FALSE(year.AddMonths(1));
    EXPECT_FALSE(year.SubMonths(1));
    EXPECT_EQ(shown(year), "1850");

    WDate month("JAN");
    EXPECT_FALSE(month.AddYears(1));
    EXPECT_FALSE(WDate("").AddYears(1));
    EXPECT_FALSE(WDate("").AddDays(1));

    // A day without a month has no month length to step in.
    WDate dayOnly("5 JAN 1850");
    dayOnly.SetMonth(0);
    EXPECT_EQ(dayOnly.GetDay(), 5);
    EXPECT_FALSE(dayOnly.AddDays(1));

    // Steps below 1 change nothing but are not refused.
    WDate d("1 JAN 1850");
    EXPECT_TRUE(d.AddDays(0));
    EXPECT_TRUE(d.AddDays(-3));
    EXPECT_TRUE(d.SubMonths(-2));
    EXPECT_EQ(shown(d), "1 Jan 1850");
}

TEST(DateArithmetic, MonthOutsideTheTablesCountsAsNone) {
    WDate d("15 JAN 1850");
    d.SetMonth(13);
    EXPECT_EQ(d.DayNumber(1), d.DayNumber(0));
    EXPECT_EQ(d.DayNumber(2), d.DayNumber(0) + 15);
    EXPECT_FALSE(d.AddDays(1));
    EXPECT_FALSE(d.SubDays(1));
    EXPECT_FALSE(d.AddMonths(1));
    EXPECT_FALSE(d.SubMonths(1));
    EXPECT_EQ(d.GetDay(), 15);
    EXPECT_EQ(d.GetMonth(), 13);
    EXPECT_TRUE(d.AddYears(1));
    EXPECT_EQ(d.GetYear(), 1851);
    d.SetMonth(60000);
    EXPECT_EQ(d.DayNumber(2), d.DayNumber(0) + 15);
    EXPECT_EQ(d.GetMonthName(), "");

    WDate elul("@#DHEBREW@ 29 ELL 1760");
    EXPECT_FALSE(elul.AddDays(1));
    EXPECT_EQ(elul.DayNumber(1), elul.DayNumber(0));
}

TEST(DateArithmetic, YearsStayWithinRange) {
    WDate first("1 JAN 1");
    EXPECT_FALSE(first.SubYears(1));
    EXPECT_FALSE(first.SubDays(1));
    EXPECT_FALSE(first.SubMonths(1));
    EXPECT_EQ(first.GetYear(), 1);
    EXPECT_EQ(first.GetDay(), 1);
    EXPECT_EQ(first.GetMonth(), 1);

    WDate last("12 31 65535");
    ASSERT_EQ(last.GetYear(), 65535);
    EXPECT_FALSE(last.AddYears(1));
    EXPECT_FALSE(last.AddDays(1));
    EXPECT_FALSE(last.AddMonths(1));
    EXPECT_FALSE(last.AddDays(2000000000));
    EXPECT_EQ(shown(last), "31 Dec 65535");

    WDate mid("1850");
    EXPECT_FALSE(mid.AddYears(70000));
    EXPECT_FALSE(mid.AddYears(-1850));
    EXPECT_FALSE(mid.SubYears(-2147483647 - 1));
    EXPECT_EQ(mid.GetYear(), 1850);
    EXPECT_TRUE(mid.AddYears(-1849));
    EXPECT_EQ(mid.GetYear(), 1);
}

TEST(DateDiff, ExactDifferencesCountAnniversaries) {
    struct Case {
        const char* a;
        const char* b;
        int days, years;
    };
    const std::vector<Case> cases = {
        {"1 JAN 1900", "1 JAN 1901", 364, 1},    {"1 JAN 1900", "2 JAN 1901", 365, 1},
        {"1 JAN 1900", "3 JAN 1901", 366, 1},    {"1 JAN 1900", "31 DEC 1900", 363, 0},
        {"1 JAN 1900", "1 JAN 1950", 18261, 50}, {"1 JAN 1900", "31 DEC 1949", 18260, 49},
        {"29 FEB 2000", "28 FEB 2001", 364, 0},  {"29 FEB 2000", "1 MAR 2001", 365, 1},
        {"15 JUN 1850", "15 JUN 1850", 0, 0},    {"15 JUN 1850", "16 JUN 1850", 0, 0},
    };
    for (const Case& c : cases) {
        for (bool swap : {false, true}) {
            WDate a(swap ? c.b : c.a), b(swap ? c.a : c.b);
            WDateDiff diff;
            ASSERT_TRUE(diff.Calc(a, b)) << c.a << " - " << c.b;
            EXPECT_TRUE(diff.IsExact());
            EXPECT_EQ(diff.GetDays(), c.days) << c.a << " - " << c.b;
            EXPECT_EQ(diff.GetYears(), c.years) << c.a << " - " << c.b;
            EXPECT_EQ(diff.GetYearsText(), std::to_string(c.years));
        }
    }
}

TEST(DateDiff, ApproximateDifferences) {
    WDateDiff diff;
    WDate y1850("1850"), y1900("1900");
    ASSERT_TRUE(diff.Calc(y1850, y1900));
    EXPECT_FALSE(diff.IsExact());
    EXPECT_EQ(diff.GetDays(), 18263);
    EXPECT_EQ(diff.GetYears(), 50);
    EXPECT_EQ(diff.GetYearsText(), "~50");

    WDate abt("ABT 1 JAN 1900"), next("1 JAN 1901");
    ASSERT_TRUE(diff.Calc(abt, next));
    EXPECT_FALSE(diff.IsExact());
    EXPECT_EQ(diff.GetDays(), 366);
    EXPECT_EQ(diff.GetYears(), 1);
    EXPECT_EQ(diff.GetYearsText(), "~1");

    WDate dual("1 JAN 1750/51"), later("1 JAN 1800");
    ASSERT_TRUE(diff.Calc(dual, later));
    EXPECT_FALSE(diff.IsExact());
    // So does a dual year below 32, taken by month: an age "~38", not "38".
    for (const char* t : {"13 JAN 1712/13", "13 JAN 1712/00"}) {
        WDate low(t), at1750("13 JAN 1750");
        ASSERT_TRUE(diff.Calc(low, at1750)) << t;
        EXPECT_FALSE(diff.IsExact()) << t;
        EXPECT_EQ(diff.GetDays(), at1750.DayNumber(1) - low.DayNumber(1) + 1) << t;
        EXPECT_EQ(diff.GetYearsText(), "~38") << t;
    }

    // With a month on one side only, by years.
    WDate jun("JUN 1850");
    ASSERT_TRUE(diff.Calc(jun, y1900));
    EXPECT_EQ(diff.GetDays(), std::abs(jun.DayNumber(0) - y1900.DayNumber(0)) + 1);
}

TEST(DateDiff, RefusedWithoutTwoReadableDates) {
    WDate good("1 JAN 1900"), loose("SOMETIME"), empty("");
    WDateDiff diff;
    ASSERT_TRUE(diff.Calc(good, good));
    EXPECT_FALSE(diff.Calc(&good, nullptr));
    EXPECT_EQ(diff.GetDays(), 0);
    EXPECT_EQ(diff.GetYears(), 0);
    EXPECT_FALSE(diff.Calc(good, loose));
    EXPECT_FALSE(diff.Calc(empty, good));
    EXPECT_FALSE(diff.Calc(nullptr, nullptr));
}
