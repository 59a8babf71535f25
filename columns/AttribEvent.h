#pragma once
// Columns read from events: dates, places, ages and the LDS ordinances.
#include "columns/Attrib.h"
#include "model/Date.h"
#include "model/DateDiff.h"

// 10, 12, 14, 16 vital dates; 42 marriage date; 54, 55 record creation and
// change dates; 65 birth else "[christening]"; 67 death else "[burial]".
class WAttribDate : public WAttrib {
public:
    WAttribDate(std::int32_t id, WABSCollection* collection);
    std::unique_ptr<WAttrib> CloneForThread() const override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    // The cell text of the first family; a bracketed fallback loses its brackets.
    void GetSortText(std::int32_t row, std::string& s) override;

private:
    int m_variant;
};

// 11, 13, 15, 17 vital places; 41 marriage place; 66 birth else
// "[christening]"; 68 death else "[burial]".
class WAttribPlace : public WAttrib {
public:
    WAttribPlace(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_variant;
};

// 19 age; 20 age at marriage; 59, 60 the father's and mother's age at the
// individual's birth. Whole years, "~" when approximate, "[...]" when
// estimated from a christening; empty from 111 years on.
class WAttribAge : public WAttrib {
public:
    static constexpr int kMaxYears = 111;
    WAttribAge(std::int32_t id, WABSCollection* collection);
    std::unique_ptr<WAttrib> CloneForThread() const override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_variant;
    WDateDiff m_diff;
    WDate m_today{"TODAY"};
};

// 29: "B", "E", "P", "S" or "-" for each ordinance, joined by tabs.
class WAttribLDS : public WAttrib {
public:
    WAttribLDS(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
};

// 30, 32, 34 the date of the LDS baptism, endowment, sealing to parents;
// 36 the sealing to spouse in the family-th family.
class WAttribLDSDate : public WAttrib {
public:
    WAttribLDSDate(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    void GetSortText(std::int32_t row, std::string& s) override;

private:
    int m_kind;
};

// 31, 33, 35, 37: the temple (place) of the same ordinances.
class WAttribLDSTemple : public WAttrib {
public:
    WAttribLDSTemple(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_kind;
};
