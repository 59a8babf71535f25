#include "highlight/HLSimple.h"

#include <memory>

#include "highlight/HLCondUtil.h"
#include "model/ABSEvent.h"
#include "model/ABSMarriage.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"

namespace {

// Event kind and words of the date and place codes.
struct VitalCode {
    std::int32_t kind;
    const char* word;
};

// 2/3 birth, 4/5 christening, 6/7 death, 8/9 burial.
VitalCode vitalOf(std::int32_t code) {
    switch (code) {
    case 2:
    case 3: return {EventKind::Birth, "birth"};
    case 4:
    case 5: return {EventKind::Christening, "christening"};
    case 6:
    case 7: return {EventKind::Death, "death"};
    case 8:
    case 9: return {EventKind::Burial, "burial"};
    default: return {0, ""};
    }
}

// 68-71 and 73-76: birth, christening, death, burial.
std::int32_t eventKindOfSlot(std::int32_t slot) {
    static const std::int32_t kinds[4] = {EventKind::Birth, EventKind::Christening, EventKind::Death,
                                          EventKind::Burial};
    return slot >= 0 && slot < 4 ? kinds[slot] : 0;
}

std::string placeOf(const WABSIndividual& ind, std::int32_t kind) {
    std::unique_ptr<WABSVitEvent> e = ind.GetEvent(kind, 1);
    return e ? e->GetPlaceText() : std::string();
}

} // namespace

// ---------------------------------------------------------------- WHLNoDate

WHLNoDate::WHLNoDate(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLNoDate::Prepare() { Reset(0); }

void WHLNoDate::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = true;
    if (FConditionCode == 10) {
        for (std::int32_t k = 1; k <= ind->GetSpouseFamilyCount() && result; ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind->GetSpouseFamily(k));
            if (fam && !fam->GetDateText().empty()) result = false;
        }
    } else {
        std::unique_ptr<WABSVitEvent> e = ind->GetEvent(vitalOf(FConditionCode).kind, 1);
        result = !(e && e->HasValidDate());
    }
    SetResult(AIndex, result);
}

void WHLNoDate::GetDescription(std::string& S) {
    S = FInvert ? "with " : "with no ";
    S += FConditionCode == 10 ? "marriage" : vitalOf(FConditionCode).word;
    S += " date";
}

// ---------------------------------------------------------------- WHLNoPlace

WHLNoPlace::WHLNoPlace(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLNoPlace::Prepare() { Reset(0); }

void WHLNoPlace::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = true;
    if (FConditionCode == 11) {
        for (std::int32_t k = 1; k <= ind->GetSpouseFamilyCount() && result; ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind->GetSpouseFamily(k));
            if (fam && !fam->GetPlace().empty()) result = false;
        }
    } else if (FConditionCode == 12) {
        for (std::int32_t kind : {EventKind::Birth, EventKind::Death, EventKind::Burial, EventKind::Christening}) {
            if (!placeOf(*ind, kind).empty()) {
                result = false;
                break;
            }
        }
    } else {
        result = placeOf(*ind, vitalOf(FConditionCode).kind).empty();
    }
    SetResult(AIndex, result);
}

void WHLNoPlace::GetDescription(std::string& S) {
    S = FInvert ? "with a " : "without a ";
    if (FConditionCode == 11)
        S += "marriage place";
    else if (FConditionCode == 12)
        S += "place";
    else
        S += std::string(vitalOf(FConditionCode).word) + " place";
}

// ---------------------------------------------------------------- names and parents

WHLNoSurname::WHLNoSurname(WABSCollection* ACollection) : WABSHLInd(ACollection, 13) {}

void WHLNoSurname::Prepare() { Reset(0); }

void WHLNoSurname::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && ind->GetSurnameText().empty());
}

void WHLNoSurname::GetDescription(std::string& S) { S = FInvert ? "with a surname" : "without a surname"; }

WHLNoGivenName::WHLNoGivenName(WABSCollection* ACollection) : WABSHLInd(ACollection, 14) {}

void WHLNoGivenName::Prepare() { Reset(0); }

void WHLNoGivenName::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && ind->GetGivenText().empty());
}

void WHLNoGivenName::GetDescription(std::string& S) { S = FInvert ? "with a given name" : "without a given name"; }

WHLNoFather::WHLNoFather(WABSCollection* ACollection) : WABSHLInd(ACollection, 15) {}

void WHLNoFather::Prepare() { Reset(0); }

void WHLNoFather::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && FCollection->GetFather(AIndex) == 0);
}

void WHLNoFather::GetDescription(std::string& S) { S = FInvert ? "with a father" : "without a father"; }

WHLNoMother::WHLNoMother(WABSCollection* ACollection) : WABSHLInd(ACollection, 16) {}

void WHLNoMother::Prepare() { Reset(0); }

void WHLNoMother::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && FCollection->GetMother(AIndex) == 0);
}

void WHLNoMother::GetDescription(std::string& S) { S = FInvert ? "with a mother" : "without a mother"; }

// ---------------------------------------------------------------- WHLSex

WHLSex::WHLSex(WABSCollection* ACollection) : WABSHLInd(ACollection, 17) {}

void WHLSex::Prepare() {
    FSex = FParameter.empty() ? 'M' : FParameter[0];
    Reset(0);
}

void WHLSex::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    const bool known = FSex == 'M' || FSex == 'F' || FSex == 'U';
    SetResult(AIndex, ind && known && ind->GetSex() == FSex);
}

void WHLSex::GetDescription(std::string& S) {
    S.clear();
    // Words follow the parameter even before a run.
    switch (FParameter.empty() ? 'M' : FParameter[0]) {
    case 'M': S = FInvert ? "not male" : "male"; break;
    case 'F': S = FInvert ? "not female" : "female"; break;
    case 'U': S = FInvert ? "with known sex type" : "with unknown sex type"; break;
    default: break;
    }
}

// ---------------------------------------------------------------- WHLHas

WHLHas::WHLHas(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLHas::Prepare() {
    FLimit = hlcond::ToIntDef(FParameter, 110);
    Reset(0);
}

void WHLHas::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    if (FConditionCode == 52) {
        const std::int32_t age = ind->GetAge();
        SetResult(AIndex, age >= 0 && age < FLimit);
    } else {
        SetResult(AIndex, FCollection->HasNote(AIndex));
    }
}

void WHLHas::GetDescription(std::string& S) {
    S = FInvert ? "without " : "with ";
    if (FConditionCode == 52)
        S += "an age (limit = " + std::to_string(hlcond::ToIntDef(FParameter, 110)) + ")";
    else
        S += "notes";
}

// ---------------------------------------------------------------- WHLAFN

WHLAFN::WHLAFN(WABSCollection* ACollection) : WABSHLInd(ACollection, 20) {}

void WHLAFN::Prepare() { Reset(0); }

void WHLAFN::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && !ind->GetAFN().empty());
}

void WHLAFN::GetDescription(std::string& S) { S = FInvert ? "without AFN" : "with AFN"; }

// ---------------------------------------------------------------- WHLALive

WHLALive::WHLALive(WABSCollection* ACollection) : WABSHLInd(ACollection, 65) {}

void WHLALive::Prepare() {
    FLimit = hlcond::ToIntDef(FParameter, 110);
    Reset(0);
}

void WHLALive::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    SetResult(AIndex, ind && ind->IsPossiblyLiving(FLimit));
}

void WHLALive::GetDescription(std::string& S) {
    S = FInvert ? "are not alive" : "are alive";
    S += " (Age limit = " + std::to_string(hlcond::ToIntDef(FParameter, 110)) + ")";
}

// ---------------------------------------------------------------- WHLHasSource

WHLHasSource::WHLHasSource(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLHasSource::Prepare() { Reset(0); }

void WHLHasSource::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = false;
    switch (FConditionCode) {
    case 66: result = FCollection->HasSource(AIndex); break;
    case 67: {
        std::unique_ptr<WABSName> name = ind->GetName();
        result = name && name->GetCitationCount() > 0;
        break;
    }
    case 99: result = FCollection->HasMarriageSource(AIndex); break;
    default: {
        std::unique_ptr<WABSVitEvent> e = ind->GetEvent(eventKindOfSlot(FConditionCode - 68), 1);
        result = e && e->GetCitationCount() > 0;
        break;
    }
    }
    SetResult(AIndex, result);
}

void WHLHasSource::GetDescription(std::string& S) {
    static const char* const words[] = {"a source",           "name source",  "birth source",
                                        "christening source", "death source", "burial source"};
    S = FInvert ? "without " : "with ";
    if (FConditionCode == 99)
        S += "marriage source";
    else if (FConditionCode >= 66 && FConditionCode <= 71)
        S += words[FConditionCode - 66];
}

// ---------------------------------------------------------------- WHLHasNote

WHLHasNote::WHLHasNote(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLHasNote::Prepare() { Reset(0); }

void WHLHasNote::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = false;
    switch (FConditionCode) {
    case 72: {
        std::unique_ptr<WABSName> name = ind->GetName();
        result = name && !name->GetNoteText().empty();
        break;
    }
    case 77: result = FCollection->HasNote(AIndex); break;
    case 100: result = FCollection->HasMarriageNote(AIndex); break;
    default: {
        std::unique_ptr<WABSVitEvent> e = ind->GetEvent(eventKindOfSlot(FConditionCode - 73), 1);
        result = e && e->HasNote();
        break;
    }
    }
    SetResult(AIndex, result);
}

void WHLHasNote::GetDescription(std::string& S) {
    static const char* const words[] = {"name note",  "birth note",  "christening note",
                                        "death note", "burial note", "any note"};
    S = FInvert ? "without " : "with ";
    if (FConditionCode == 100)
        S += "marriage note";
    else if (FConditionCode >= 72 && FConditionCode <= 77)
        S += words[FConditionCode - 72];
}
