#pragma once
// 39-42: the first birth / christening / death / burial date compared with a
// date typed by the user, by the qualifier written in front of it: "BEF",
// "AFT", "ABT" (within five years either side) or none (the same date).
#include <cstdint>
#include <string>

#include "highlight/ABSHLInd.h"
#include "model/Date.h"

class WHLDate : public WABSHLInd {
public:
    WHLDate(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

    // Whether an event date matches the parameter date by its qualifier.
    bool Matches(const WDate& eventDate) const;

private:
    std::int32_t VitalKind() const;
    void ReadParameter();

    WDate FDate{"TODAY"};
    std::int32_t FQualifier = 0;
};
