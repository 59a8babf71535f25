#include "highlight/ABSHLInd.h"

#include "highlight/HLString.h"
#include "model/ABSCollection.h"
#include "model/JclStrings.h"

WABSHLInd::WABSHLInd(WABSCollection* ACollection, std::int32_t ACode)
    : WABSHighLighter(ACollection ? ACollection->GetIndividualCount() : 0, ACollection, ACode) {}

namespace {
std::int32_t toIntDef(const std::string& s, std::int32_t def) {
    try {
        return HLStrToInt(s);
    } catch (const EHLConvertError&) {
        return def;
    }
}
} // namespace

void WABSHLInd::ParseIndexParam(const std::string& S, std::int32_t& AIndex, std::int32_t& AGens) {
    std::vector<std::string> items;
    JclStrings::StrToStrings(S, "^", items, true);
    AIndex = toIntDef(items.empty() ? std::string() : items[0], 1);
    AGens = toIntDef(items.size() >= 2 ? items[1] : std::string(), 0);
}
