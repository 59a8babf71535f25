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
    m_days = 0;
    m_years = 0;
    m_exact = false;
    if (!a || !b || !a->IsValid() || !b->IsValid() || !a->IsStructured() || !b->IsStructured()) return false;
    const WDatePart& pa = a->GetPart1();
    const WDatePart& pb = b->GetPart1();
    m_exact = pa.day != 0 && pb.day != 0 && a->GetQualifier() == dqNone && b->GetQualifier() == dqNone &&
              !a->HasDualYear() && !b->HasDualYear();
    if (m_exact) {
        const int na = a->DayNumber(2), nb = b->DayNumber(2);
        // Days strictly between the two; the same day is 0, never negative.
        const int between = std::abs(na - nb) - 1;
        m_days = between < 0 ? 0 : between;
        // Counting anniversaries: 1 JAN 1900 to 1 JAN 1950 is 50 years,
        // which dividing the days by 365.25 gets wrong.
        m_years = wholeYears(pa, pb, na <= nb);
        return true;
    }
    if (effectiveMonth(pa.month) != 0 && effectiveMonth(pb.month) != 0)
        m_days = std::abs(a->DayNumber(1) - b->DayNumber(1)) + 1;
    else
        m_days = std::abs(a->DayNumber(0) - b->DayNumber(0)) + 1;
    m_years = int(double(m_days) / 365.25);
    return true;
}

std::string WDateDiff::GetYearsText() const {
    std::string s = m_exact ? std::string() : std::string("~");
    s += std::to_string(m_years);
    return s;
}
