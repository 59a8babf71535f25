#pragma once
// Conditions on the LDS ordinances of an individual and of its families.
#include <cstdint>
#include <string>

#include "highlight/ABSHLInd.h"

// 31-34: the ordinance exists (34: some family holds a spouse sealing);
// 79-82: its date text is not empty; 83-86: its place text is not empty.
// The spouse sealing of 82 and 86 is that of the first family as spouse.
class WHLHasLDS : public WABSHLInd {
public:
    WHLHasLDS(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 35: any of the ordinances exists.
class WHLLDS : public WABSHLInd {
public:
    explicit WHLLDS(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 87-90: the ordinance has a date that is a proper date (state 1) or equals
// status word state - 1 of the ordinance kind.
class WHLLDSDate : public WABSHLInd {
public:
    WHLLDSDate(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    // The ordinance kind of the code (7 to 10).
    std::int32_t Kind() const { return FConditionCode - 80; }
    void ReadParameter();

    std::int32_t FState = 1;
    std::string FStatusWord;
};
