#include "highlight/HLLDS.h"

#include <memory>

#include "highlight/HLCondUtil.h"
#include "model/ABSEvent.h"
#include "model/Date.h"

namespace {

const char* const kOrdinanceWords[4] = {"Baptism", "Endowment", "Sealed to Parents", "Sealed to Spouse"};

// Ordinance of the kind (7-9 of the individual, 10 of its first family as spouse).
std::unique_ptr<WABSLDSEvent> ordinance(WABSCollection& c, const WABSIndividual& ind, std::int32_t individual,
                                        std::int32_t kind) {
    if (kind == EventKind::LDSSealSpouse) return c.GetEventOfFamily(individual, 1, EventKind::LDSSealSpouse);
    return ind.GetLDSEvent(kind);
}

} // namespace

// ---------------------------------------------------------------- WHLHasLDS

WHLHasLDS::WHLHasLDS(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLHasLDS::Prepare() { Reset(0); }

void WHLHasLDS::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = false;
    if (FConditionCode >= 31 && FConditionCode <= 33) {
        result = ind->HasLDSEvent(FConditionCode - 24);
    } else if (FConditionCode == 34) {
        result = FCollection->HasSpouseSealing(AIndex, 0);
    } else if (FConditionCode >= 79 && FConditionCode <= 81) {
        result = !ind->GetLDSEventDateText(FConditionCode - 72).empty();
    } else if (FConditionCode == 82) {
        result = !FCollection->GetFamilyEventDate(AIndex, 1, EventKind::LDSSealSpouse).empty();
    } else if (FConditionCode >= 83 && FConditionCode <= 85) {
        std::unique_ptr<WABSLDSEvent> e = ind->GetLDSEvent(FConditionCode - 76);
        result = e && !e->GetPlaceText().empty();
    } else if (FConditionCode == 86) {
        result = !FCollection->GetFamilyEventPlace(AIndex, 1, false, EventKind::LDSSealSpouse).empty();
    }
    SetResult(AIndex, result);
}

void WHLHasLDS::GetDescription(std::string& S) {
    S = FInvert ? "without LDS " : "with LDS ";
    if (FConditionCode >= 31 && FConditionCode <= 34)
        S += kOrdinanceWords[FConditionCode - 31];
    else if (FConditionCode >= 79 && FConditionCode <= 82)
        S += std::string(kOrdinanceWords[FConditionCode - 79]) + " Date";
    else if (FConditionCode >= 83 && FConditionCode <= 86)
        S += std::string(kOrdinanceWords[FConditionCode - 83]) + " Place";
}

// ---------------------------------------------------------------- WHLLDS

WHLLDS::WHLLDS(WABSCollection* ACollection) : WABSHLInd(ACollection, 35) {}

void WHLLDS::Prepare() { Reset(0); }

void WHLLDS::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    SetResult(AIndex, ind->HasLDSEvent(EventKind::LDSBaptism) || ind->HasLDSEvent(EventKind::LDSEndowment) ||
                          ind->HasLDSEvent(EventKind::LDSSealParents) || FCollection->HasSpouseSealing(AIndex, 0));
}

void WHLLDS::GetDescription(std::string& S) {
    S = FInvert ? "Individuals without LDS Events" : "Individuals with LDS Events";
}

// ---------------------------------------------------------------- WHLLDSDate

WHLLDSDate::WHLLDSDate(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLLDSDate::ReadParameter() {
    FState = hlcond::ToIntDef(FParameter, 1);
    FStatusWord = FState > 1 ? WABSLDSEvent::GetStatusKeyword(Kind(), FState - 1) : std::string();
}

void WHLLDSDate::Prepare() {
    ReadParameter();
    Reset(0);
}

void WHLLDSDate::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    std::unique_ptr<WABSLDSEvent> e = ordinance(*FCollection, *ind, AIndex, Kind());
    const WDate* date = e ? e->GetDate() : nullptr;
    bool result = false;
    if (date && date->IsValid()) {
        if (FState == 1)
            result = date->IsStructured();
        else if (FState > 1)
            result = !FStatusWord.empty() && date->GetText() == FStatusWord;
    }
    SetResult(AIndex, result);
}

void WHLLDSDate::GetDescription(std::string& S) {
    static const char* const words[4] = {"Baptism date", "Endowment date", "Sealed to Parents date",
                                         "Sealed to Spouse date"};
    ReadParameter();
    S = "where LDS ";
    if (FConditionCode >= 87 && FConditionCode <= 90) S += words[FConditionCode - 87];
    S += FInvert ? " is not " : " is ";
    S += FState == 1 ? std::string("a date") : FStatusWord;
}
