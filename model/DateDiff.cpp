#include "model/DateDiff.h"

#include <cstdlib>

namespace {

inline int effectiveMonth(int m) { return m >= 1 && m <= 12 ? m : 0; }

// Whole anniversaries from the earlier to the later of two exact dates.
int wholeYears(const WDatePart& a, const WDatePart& b, bool aFirst) {
    const WDatePart& e = aFirst ? a : b;
    const WDatePart& l = aFirst ? b : a;
    const int em = effectiveMonth(e.month), lm = effectiveMonth(l.month);
    int years = int(l.year) - int(e.year);
    if (lm < em || (lm == em && l.day < e.day)) --years;
    return years < 0 ? 0 : years;
}

} // namespace

bool WDateDiff::Calc(const WDate* a, const WDate* b) {
    fDays = 0;
    fYears = 0;
    fExact = false;
    if (!a || !b || !a->IsValid() || !b->IsValid() || !a->IsStructured() || !b->IsStructured()) return false;
    const WDatePart& pa = a->GetPart1();
    const WDatePart& pb = b->GetPart1();
    fExact = pa.day != 0 && pb.day != 0 && a->GetQualifier() == dqNone && b->GetQualifier() == dqNone &&
             !a->HasDualYear() && !b->HasDualYear();
    if (fExact) {
        const int na = a->DayNumber(2), nb = b->DayNumber(2);
        // Days strictly between the two; the same day is 0, never negative.
        const int between = std::abs(na - nb) - 1;
        fDays = between < 0 ? 0 : between;
        // Counting anniversaries: 1 JAN 1900 to 1 JAN 1950 is 50 years,
        // which dividing the days by 365.25 gets wrong.
        fYears = wholeYears(pa, pb, na <= nb);
        return true;
    }
    if (effectiveMonth(pa.month) != 0 && effectiveMonth(pb.month) != 0)
        fDays = std::abs(a->DayNumber(1) - b->DayNumber(1)) + 1;
    else
        fDays = std::abs(a->DayNumber(0) - b->DayNumber(0)) + 1;
    fYears = int(double(fDays) / 365.25);
    return true;
}

std::string WDateDiff::GetYearsText() const {
    std::string s = fExact ? std::string() : std::string("~");
    s += std::to_string(fYears);
    return s;
}
