#pragma once
// Conditions that look at one individual's own record: missing dates and
// places, names, parents, sex, notes, sources, AFN, age and being alive.
// All decide lazily, one individual at a time.
#include <cstdint>
#include <string>

#include "highlight/ABSHLInd.h"

// 2, 4, 6, 8: the first birth / christening / death / burial has no valid
// date; 10: no family as spouse has a date text.
class WHLNoDate : public WABSHLInd {
public:
    WHLNoDate(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 3, 5, 7, 9: the first event of the kind has no place; 11: no family as
// spouse has a place; 12: none of birth, death, burial, christening has one.
class WHLNoPlace : public WABSHLInd {
public:
    WHLNoPlace(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 13
class WHLNoSurname : public WABSHLInd {
public:
    explicit WHLNoSurname(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 14
class WHLNoGivenName : public WABSHLInd {
public:
    explicit WHLNoGivenName(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 15
class WHLNoFather : public WABSHLInd {
public:
    explicit WHLNoFather(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 16
class WHLNoMother : public WABSHLInd {
public:
    explicit WHLNoMother(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 17: the sex letter equals the parameter's first character ("M" when empty).
class WHLSex : public WABSHLInd {
public:
    explicit WHLSex(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    char FSex = 'M';
};

// 18: has a note; 52: has a known age below the limit (110 by default).
class WHLHas : public WABSHLInd {
public:
    WHLHas(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    std::int32_t FLimit = 110;
};

// 20
class WHLAFN : public WABSHLInd {
public:
    explicit WHLAFN(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 65: possibly living under the age limit (110 by default).
class WHLALive : public WABSHLInd {
public:
    explicit WHLALive(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    std::int32_t FLimit = 110;
};

// 66 any source, 67 name source, 68-71 first birth / christening / death /
// burial source, 99 marriage source.
class WHLHasSource : public WABSHLInd {
public:
    WHLHasSource(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 72 name note, 73-76 first birth / christening / death / burial note,
// 77 any note, 100 marriage note.
class WHLHasNote : public WABSHLInd {
public:
    WHLHasNote(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};
