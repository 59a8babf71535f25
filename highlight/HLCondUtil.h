#pragma once
// Small helpers the condition classes share: number parsing of parameter
// texts, upper-casing and names of individuals.
#include <cstdint>
#include <memory>
#include <string>

#include "highlight/HLString.h"
#include "model/ABSCollection.h"
#include "model/ABSIndividual.h"
#include "model/Global.h"

namespace hlcond {

// The text as a decimal number, or def when it is not one.
inline std::int32_t ToIntDef(const std::string& s, std::int32_t def) {
    try {
        return HLStrToInt(s);
    } catch (const EHLConvertError&) {
        return def;
    }
}

inline std::string Upper(const std::string& s) { return Global::ToUpper(s); }

// Full name with prefix and suffix; empty for a missing individual.
inline std::string FullName(WABSCollection* c, std::int32_t individual) {
    return c && individual > 0 ? c->GetFullName(individual) : std::string();
}

inline std::string Surname(WABSCollection* c, std::int32_t individual) {
    if (!c || individual <= 0) return std::string();
    std::unique_ptr<WABSIndividual> ind = c->GetIndividual(individual);
    return ind ? ind->GetSurnameText() : std::string();
}

} // namespace hlcond
