#pragma once
#include <string>

#include "model/Date.h"

// The distance between two dates: days, exact or approximate, and whole years.
class WDateDiff {
public:
    // True and the difference when both dates are present, valid and
    // structured; False with days 0 otherwise.
    bool Calc(const WDate* a, const WDate* b);
    bool Calc(const WDate& a, const WDate& b) { return Calc(&a, &b); }

    int GetDays() const { return m_days; }
    bool IsExact() const { return m_exact; }
    int GetYears() const { return m_years; }
    // The years in decimal, "~" in front when the difference is approximate.
    std::string GetYearsText() const;

private:
    int m_days = 0;
    int m_years = 0;
    bool m_exact = false;
};
