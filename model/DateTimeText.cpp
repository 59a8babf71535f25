#include "model/DateTimeText.h"

#include <cmath>
#include <cstdint>

namespace DateTimeText {
namespace {

const char* const kShortDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
const char* const kLongDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kShortMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char* const kLongMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};

// Smallest and largest accepted values: 1 January 0001 and the end of 31 December 9999.
constexpr double kMinValue = -693593.0;
constexpr double kMaxValue = 2958466.0;
constexpr std::int64_t kMsecPerDay = 86400000;

// Days from 1 January 1970 to a civil date (proleptic Gregorian calendar).
std::int64_t daysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = unsigned(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + std::int64_t(doe) - 719468;
}

void civilFromDays(std::int64_t z, int& y, int& m, int& d) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = unsigned(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(std::int64_t(yoe) + era * 400 + (m <= 2));
}

void appendNumber(std::string& out, int value, int width) {
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (value < 0) out.push_back('-');
    for (int i = int(digits.size()); i < width; ++i) out.push_back('0');
    out += digits;
}

char upperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool startsWithNoCase(const std::string& s, std::size_t at, const char* what) {
    for (std::size_t k = 0; what[k]; ++k)
        if (at + k >= s.size() || upperAscii(s[at + k]) != upperAscii(what[k])) return false;
    return true;
}

// A 12-hour marker anywhere after pos switches hours to the 12-hour clock.
bool twelveHourAfter(const std::string& f, std::size_t pos) {
    for (std::size_t i = pos; i < f.size(); ++i)
        if (startsWithNoCase(f, i, "AM/PM") || startsWithNoCase(f, i, "A/P")) return true;
    return false;
}

// A run of one or two letters gives the number in that many digits at
// least; three give the short name, more the long one.
void appendNumberOrName(std::string& out, std::size_t run, int number, const char* shortName, const char* longName) {
    if (run <= 2)
        appendNumber(out, number, int(run));
    else
        out += run == 3 ? shortName : longName;
}

std::size_t runLength(const std::string& f, std::size_t i) {
    const char u = upperAscii(f[i]);
    std::size_t n = 0;
    while (i + n < f.size() && upperAscii(f[i + n]) == u) ++n;
    return n;
}

} // namespace

bool DecodeDateTime(double value, DateTimeParts& p) {
    if (!std::isfinite(value) || value < kMinValue || value >= kMaxValue) return false;
    std::int64_t days = static_cast<std::int64_t>(std::trunc(value));
    std::int64_t ms = std::llround(std::fabs(value - std::trunc(value)) * double(kMsecPerDay));
    if (ms >= kMsecPerDay) {
        // Rounding up to the next midnight.
        ms -= kMsecPerDay;
        ++days;
    }
    const std::int64_t unixDays = days + daysFromCivil(1899, 12, 30);
    civilFromDays(unixDays, p.year, p.month, p.day);
    p.dayOfWeek = int(((unixDays + 4) % 7 + 7) % 7) + 1; // 1 Jan 1970 was a Thursday
    p.hour = int(ms / 3600000);
    p.minute = int(ms / 60000 % 60);
    p.second = int(ms / 1000 % 60);
    p.msec = int(ms % 1000);
    return true;
}

std::string FormatDateTime(const std::string& f, double value) {
    DateTimeParts p;
    if (!DecodeDateTime(value, p)) return std::string();
    std::string out;
    char lastToken = ' ';
    std::size_t i = 0;
    while (i < f.size()) {
        const char c = f[i];
        if (c == '"' || c == '\'') {
            std::size_t close = f.find(c, i + 1);
            if (close == std::string::npos) close = f.size();
            out.append(f, i + 1, close - i - 1);
            i = close + 1;
            continue;
        }
        char token = upperAscii(c);
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastToken == 'H') token = 'N';
            lastToken = token;
        }
        switch (token) {
        case 'Y': {
            const std::size_t n = runLength(f, i);
            if (n <= 2)
                appendNumber(out, p.year % 100, 2);
            else
                appendNumber(out, p.year, 4);
            i += n;
            break;
        }
        case 'M': {
            const std::size_t n = runLength(f, i);
            appendNumberOrName(out, n, p.month, kShortMonths[p.month - 1], kLongMonths[p.month - 1]);
            i += n;
            break;
        }
        case 'D': {
            const std::size_t n = runLength(f, i);
            appendNumberOrName(out, n, p.day, kShortDays[p.dayOfWeek - 1], kLongDays[p.dayOfWeek - 1]);
            i += n;
            break;
        }
        case 'H': {
            const std::size_t n = runLength(f, i) >= 2 ? 2 : 1;
            int h = p.hour;
            if (twelveHourAfter(f, i)) {
                h %= 12;
                if (h == 0) h = 12;
            }
            appendNumber(out, h, int(n));
            i += n;
            break;
        }
        case 'N': {
            const std::size_t n = runLength(f, i) >= 2 ? 2 : 1;
            appendNumber(out, p.minute, int(n));
            i += n;
            break;
        }
        case 'S': {
            const std::size_t n = runLength(f, i) >= 2 ? 2 : 1;
            appendNumber(out, p.second, int(n));
            i += n;
            break;
        }
        case 'Z': {
            const std::size_t n = runLength(f, i) >= 3 ? 3 : 1;
            appendNumber(out, p.msec, int(n));
            i += n;
            break;
        }
        case 'A':
            if (startsWithNoCase(f, i, "AM/PM")) {
                // The marker keeps the case it is written in.
                out.append(f, p.hour >= 12 ? i + 3 : i, 2);
                i += 5;
            } else if (startsWithNoCase(f, i, "A/P")) {
                out.push_back(p.hour >= 12 ? f[i + 2] : f[i]);
                i += 3;
            } else {
                out.push_back(c);
                ++i;
            }
            break;
        default:
            out.push_back(c);
            ++i;
            break;
        }
    }
    return out;
}

} // namespace DateTimeText
