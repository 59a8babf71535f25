#include "highlight/ABSHighLighter.h"

#include <cstring>

#include "model/Options.h"

WABSHighLighter::WABSHighLighter(std::int32_t ACount, WABSCollection* ACollection, std::int32_t ACode)
    : WABSArrayIndex(std::string(), false, 1, ACount > 0 ? ACount : 0), FCollection(ACollection),
      FConditionCode(ACode) {
    if (ACount > 0) SetCount(ACount); // new records are zero: not evaluated
}

WABSHighLighter::~WABSHighLighter() = default;

std::uint8_t WABSHighLighter::state(std::int32_t AIndex) const {
    const char* p = GetPtr(AIndex);
    return p ? static_cast<std::uint8_t>(*p) : std::uint8_t(stUnknown);
}

bool WABSHighLighter::GetResult(std::int32_t AIndex) {
    if (!IsValidIndex(AIndex)) return false;
    if (state(AIndex) == stUnknown) Evaluate(AIndex);
    return state(AIndex) == stTrue;
}

bool WABSHighLighter::IsHighlighted(std::int32_t AIndex) {
    if (!IsValidIndex(AIndex)) return false;
    if (state(AIndex) == stUnknown) Evaluate(AIndex);
    return FInvert ? state(AIndex) == stFalse : state(AIndex) == stTrue;
}

bool WABSHighLighter::IsTrue(std::int32_t AIndex) const { return IsValidIndex(AIndex) && state(AIndex) == stTrue; }

bool WABSHighLighter::IsEvaluated(std::int32_t AIndex) const {
    return !IsValidIndex(AIndex) || state(AIndex) != stUnknown;
}

void WABSHighLighter::SetResult(std::int32_t AIndex, bool AValue) {
    if (char* p = GetPtr(AIndex)) *p = static_cast<char>(AValue ? stTrue : stFalse);
}

void WABSHighLighter::Reset(std::uint8_t AState) {
    // The records lie one after another in the store.
    if (Count() > 0) std::memset(GetPtr(1), AState, static_cast<std::size_t>(Count()));
}

plat::ColorRef WABSHighLighter::GetHighlightColor() { return static_cast<plat::ColorRef>(WOptions::GetInt(kOptHLCol)); }

plat::ColorRef WABSHighLighter::GetHighlightFontColor() {
    return static_cast<plat::ColorRef>(WOptions::GetInt(kOptHLTCol));
}

plat::ColorRef WABSHighLighter::GetBackColor(std::int32_t ARow) {
    if (FMarkCurrent && ARow == FCurrentIndex) return FCurrentColor;
    if (IsHighlighted(ARow)) return GetHighlightColor();
    return FNormalColor;
}

plat::ColorRef WABSHighLighter::GetFontColor(std::int32_t ARow) {
    return IsHighlighted(ARow) ? GetHighlightFontColor() : plat::kBlack;
}
