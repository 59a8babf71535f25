// Date conditions: before, after, about (five years either side, at the
// exact edges) and equal, on each vital event, and parameters that hold no
// date at all.
#include <gtest/gtest.h>
#include <map>

#include "CondFixture.h"
#include "highlight/HLDate.h"

namespace {

using condtest::AllBut;
using condtest::Describe;
using condtest::Highlighted;
using condtest::Set;

class DateConds : public ::testing::Test {
protected:
    DateConds() {
        for (const char* year : {"1894", "1895", "1899", "1900", "1901", "1904", "1905"})
            born[year] = c.AddPerson(std::string("P") + year + " /Date/", 'M').Birth(year);
        dec1899 = c.AddPerson("Dec /Date/", 'F').Birth("31 DEC 1899");
        about1900 = c.AddPerson("Abt /Date/", 'F').Birth("ABT 1900");
        noBirth = c.AddPerson("None /Date/", 'F');
        undated = c.AddPerson("Undated /Date/", 'F').Birth("", "Somewhere");
        died = c.AddPerson("Died /Date/", 'M').Death("1902").Christening("1890").Burial("1903");
    }
    std::int32_t b(const char* year) { return born[year]; }

    condtest::PlainNames names;
    WMemCollection c;
    std::map<std::string, std::int32_t> born;
    std::int32_t dec1899, about1900, noBirth, undated, died;
};

TEST_F(DateConds, BeforeIsStrictlyEarlier) {
    const Set before{b("1894"), b("1895"), b("1899"), dec1899};
    EXPECT_EQ(Highlighted(c, "+39:BEF 1900"), before);
    // Without a birth date the condition is false, so its negation is true.
    const Set notBefore = Highlighted(c, "-39:BEF 1900");
    EXPECT_EQ(notBefore, AllBut(c, before));
    EXPECT_TRUE(notBefore.count(noBirth) && notBefore.count(undated));
    EXPECT_EQ(Describe(c, "+39:BEF 1900"), "with birth date Bef 1900");
}

TEST_F(DateConds, AfterIsStrictlyLater) {
    EXPECT_EQ(Highlighted(c, "+39:AFT 1900"), (Set{b("1901"), b("1904"), b("1905")}));
    EXPECT_EQ(Describe(c, "-39:AFT 1900"), "with not birth date Aft 1900");
}

TEST_F(DateConds, AboutSpansFiveYearsEachSide) {
    // 1895 and 1904 are in, 1894 and 1905 out.
    EXPECT_EQ(Highlighted(c, "+39:ABT 1900"),
              (Set{b("1895"), b("1899"), b("1900"), b("1901"), b("1904"), dec1899, about1900}));
    EXPECT_EQ(Describe(c, "+39:ABT 1900"), "with birth date Abt 1900");
}

TEST_F(DateConds, AboutWithADayCountsDays) {
    WMemCollection d;
    const auto in1 = d.AddPerson("", 'M').Birth("1 JAN 1895");
    const auto in2 = d.AddPerson("", 'M').Birth("2 JAN 1895");
    const auto out1 = d.AddPerson("", 'M').Birth("31 DEC 1894");
    const auto in3 = d.AddPerson("", 'M').Birth("31 DEC 1904");
    const auto out2 = d.AddPerson("", 'M').Birth("1 JAN 1905");
    const Set got = Highlighted(d, "+39:ABT 1 JAN 1900");
    EXPECT_TRUE(got.count(in1) && got.count(in2) && got.count(in3));
    EXPECT_FALSE(got.count(out1) || got.count(out2));
}

TEST_F(DateConds, EqualMeansTheSameDateAndQualifier) {
    EXPECT_EQ(Highlighted(c, "+39:1900"), (Set{b("1900")}));
    EXPECT_EQ(Highlighted(c, "+39:31 DEC 1899"), (Set{dec1899}));
    EXPECT_EQ(Describe(c, "+39:1 JAN 1900"), "with birth date = 1 Jan 1900");
}

TEST_F(DateConds, EachVitalEvent) {
    EXPECT_EQ(Highlighted(c, "+40:BEF 1891"), (Set{died}));
    EXPECT_EQ(Highlighted(c, "+41:1902"), (Set{died}));
    EXPECT_EQ(Highlighted(c, "+42:AFT 1902"), (Set{died}));
    EXPECT_EQ(Highlighted(c, "+42:AFT 1903"), Set{});
    EXPECT_EQ(Describe(c, "+41:1902"), "with death date = 1902");
    EXPECT_EQ(Describe(c, "-42:ABT 1903"), "with not burial date Abt 1903");
}

TEST_F(DateConds, ParameterWithoutADateMatchesNobody) {
    // The date editor writes "AFT " when its date buttons are empty.
    for (const char* param : {"AFT ", "BEF ", "ABT ", "", "=", "AFT"}) {
        EXPECT_EQ(Highlighted(c, std::string("+39:") + param), Set{}) << param;
        EXPECT_EQ(Highlighted(c, std::string("-39:") + param), AllBut(c, Set{})) << param;
    }
}

TEST(DateCondMatch, NotComparableNeverMatches) {
    WMemCollection c;
    WHLDate cond(&c, 39);
    const WDate event("1850");
    for (const char* param : {"AFT 1800", "BEF 1900", "ABT 1852", "1850"}) {
        cond.SetParameter(param);
        cond.Prepare();
        EXPECT_TRUE(cond.Matches(event)) << param;
    }
    for (const char* param : {"", "AFT", "AFT 1900", "BEF 1800", "ABT 1860", "1851"}) {
        cond.SetParameter(param);
        cond.Prepare();
        EXPECT_FALSE(cond.Matches(event)) << param;
    }
}

} // namespace
