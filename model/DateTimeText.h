#pragma once
// Text of a date-time value (days since 30 December 1899, fraction = time of
// day) in English, with the classic format letters:
//   d dd ddd dddd   day, 2-digit day, short and full day name
//   m mm mmm mmmm   month, 2-digit month, short and full month name;
//                   m / mm right after an hour are minutes
//   yy yyyy         2- and 4-digit year
//   h hh n nn s ss z zzz   hour, minutes, seconds, milliseconds
//   AM/PM am/pm A/P a/p    12-hour clock with that marker (in the format's case)
//   "..." '...'     literal text; any other character stands for itself
#include <string>

namespace DateTimeText {

struct DateTimeParts {
    int year = 1899, month = 12, day = 30;
    int dayOfWeek = 7; // 1 Sunday .. 7 Saturday
    int hour = 0, minute = 0, second = 0, msec = 0;
};

// A negative value counts whole days back from 30 December 1899 and its
// fraction forward within that day. False for values outside the years
// 1..9999 and for values that are not numbers.
bool DecodeDateTime(double value, DateTimeParts& parts);

// Empty text when the value is no date.
std::string FormatDateTime(const std::string& format, double value);

} // namespace DateTimeText
