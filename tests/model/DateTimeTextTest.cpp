#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "model/DateTimeText.h"

using DateTimeText::FormatDateTime;

namespace {
const char* const kLong = "dddd, mmm d, yyyy, hh:mm AM/PM";
const char* const kShort = "ddd, mmm d, yyyy, hh:mm AM/PM";
} // namespace

TEST(DateTimeText, StartOfTheCount) {
    EXPECT_EQ(FormatDateTime(kLong, 0.0), "Saturday, Dec 30, 1899, 12:00 AM");
    EXPECT_EQ(FormatDateTime(kLong, 1.5), "Sunday, Dec 31, 1899, 12:00 PM");
    EXPECT_EQ(FormatDateTime(kShort, 2.25), "Mon, Jan 1, 1900, 06:00 AM");
}

TEST(DateTimeText, NegativeValuesCountDaysBackAndTimeForward) {
    EXPECT_EQ(FormatDateTime(kLong, -1.25), "Friday, Dec 29, 1899, 06:00 AM");
    EXPECT_EQ(FormatDateTime(kLong, -0.5), "Saturday, Dec 30, 1899, 12:00 PM");
    EXPECT_EQ(FormatDateTime(kShort, -693593.0), "Mon, Jan 1, 0001, 12:00 AM");
}

TEST(DateTimeText, ModernDatesAndClock) {
    // 45000 is 15 March 2023, a Wednesday.
    EXPECT_EQ(FormatDateTime(kShort, 45000.75), "Wed, Mar 15, 2023, 06:00 PM");
    EXPECT_EQ(FormatDateTime(kShort, 45000.0 + (13 * 60 + 5) / 1440.0), "Wed, Mar 15, 2023, 01:05 PM");
    EXPECT_EQ(FormatDateTime(kShort, 45000.0 + 30 / 1440.0), "Wed, Mar 15, 2023, 12:30 AM");
    EXPECT_EQ(FormatDateTime(kShort, 45000.5), "Wed, Mar 15, 2023, 12:00 PM");
    // 29 February 2000 and the day after.
    EXPECT_EQ(FormatDateTime("d mmmm yyyy dddd", 36585.0), "29 February 2000 Tuesday");
    EXPECT_EQ(FormatDateTime("d mmmm yyyy", 36586.0), "1 March 2000");
}

TEST(DateTimeText, LettersAndLiterals) {
    const double t = 45000.0 + (18 * 3600 + 7 * 60 + 9) / 86400.0;
    EXPECT_EQ(FormatDateTime("mm/dd/yy", t), "03/15/23");        // mm as month away from an hour
    EXPECT_EQ(FormatDateTime("hh:mm", t), "18:07");              // 24 hours without a marker
    EXPECT_EQ(FormatDateTime("h:nn:ss am/pm", t), "6:07:09 pm"); // the marker keeps its case
    EXPECT_EQ(FormatDateTime("h a/p", 45000.25), "6 a");
    EXPECT_EQ(FormatDateTime("'on' d \"at\" h", t), "on 15 at 18");
    EXPECT_EQ(FormatDateTime("m/d", 45000.0), "3/15");
}

TEST(DateTimeText, RoundingReachesNextMidnight) {
    EXPECT_EQ(FormatDateTime(kShort, 45000.0 + 0.9999999999), "Thu, Mar 16, 2023, 12:00 AM");
}

TEST(DateTimeText, ValuesThatAreNoDateGiveEmptyText) {
    EXPECT_EQ(FormatDateTime(kLong, std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(FormatDateTime(kLong, std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(FormatDateTime(kLong, -std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(FormatDateTime(kLong, 1e300), "");
    EXPECT_EQ(FormatDateTime(kLong, -693594.0), "");
    EXPECT_EQ(FormatDateTime(kLong, 2958466.0), "");
    EXPECT_EQ(FormatDateTime(kShort, 2958465.5), "Fri, Dec 31, 9999, 12:00 PM");
}
