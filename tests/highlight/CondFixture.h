#pragma once
// Helpers of the condition tests: run a condition string through a group over
// a collection and collect who is highlighted, in either order of asking.
#include <set>
#include <string>

#include "highlight/HLGroup.h"
#include "highlight/HLRegister.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace condtest {

using Set = std::set<std::int32_t>;

// Highlighted individuals for a condition string; descending asks from the
// last individual to the first, which changes what lazy conditions see first.
inline Set Highlighted(WABSCollection& c, const std::string& conditions, bool descending = false) {
    HLRegister::RegisterConditionClasses();
    WHLGroup g(&c);
    g.SetConditions(conditions);
    g.Recalculate();
    Set out;
    const std::int32_t n = c.GetIndividualCount();
    for (std::int32_t k = 1; k <= n; ++k) {
        const std::int32_t i = descending ? n + 1 - k : k;
        if (g.IsHighlighted(i)) out.insert(i);
    }
    return out;
}

inline std::string Describe(WABSCollection& c, const std::string& conditions) {
    HLRegister::RegisterConditionClasses();
    WHLGroup g(&c);
    g.SetConditions(conditions);
    g.Recalculate();
    std::string s;
    g.GetDescription(s);
    return s;
}

// Everyone but the given ones.
inline Set AllBut(WABSCollection& c, const Set& except) {
    Set out;
    for (std::int32_t i = 1; i <= c.GetIndividualCount(); ++i)
        if (!except.count(i)) out.insert(i);
    return out;
}

// Settings of a fresh settings file, with names as typed (no slashes, no
// upper-casing, no identifiers) so expectations read plainly.
struct PlainNames {
    WDefaultSettings settings;
    PlainNames() {
        WOptions::SetBool(opt::NameSlash, false);
        WOptions::SetBool(opt::NameUpper, false);
        WOptions::SetBool(opt::FNValueFlag, false);
    }
};

} // namespace condtest
