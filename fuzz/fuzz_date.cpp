// Fuzz target of the date parser: the input holds two date texts (split at
// the first line feed). Each is parsed and shown; the two are compared and
// subtracted, stepped by amounts from the input, and the input also serves as
// a date-time format.
#include <cstdint>
#include <cstring>
#include <string>

#include "model/Date.h"
#include "model/DateDiff.h"
#include "model/DateTimeText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string all(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = all.find('\n');
    const std::string first = all.substr(0, cut);
    const std::string second = cut == std::string::npos ? std::string() : all.substr(cut + 1);
    WDate a(first), b(second);
    for (WDate* d : {&a, &b}) {
        d->GetText();
        d->GetMonthName();
        d->GetQualifierLetter();
        for (int p = 0; p <= 2; ++p) d->DayNumber(p);
    }
    a.Compare(b);
    b.Compare(&a);
    a.Compare(nullptr);
    WDateDiff diff;
    if (diff.Calc(a, b)) diff.GetYearsText();
    // Steps of up to a few hundred years: day steps walk month by month.
    std::int32_t step = 0;
    if (size >= sizeof step) std::memcpy(&step, data, sizeof step);
    step %= 100000;
    a.AddDays(step);
    a.SubMonths(step);
    a.AddYears(step);
    a.GetText();
    double when = 0;
    if (size >= sizeof when) std::memcpy(&when, data + size - sizeof when, sizeof when);
    DateTimeText::FormatDateTime(first, when);
    DateTimeText::FormatDateTime("dddd, mmm d, yyyy, hh:mm AM/PM", when);
    return 0;
}
