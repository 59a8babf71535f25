#include "highlight/HLDate.h"

#include <memory>

#include "model/ABSCollection.h"
#include "model/ABSEvent.h"
#include "model/ABSIndividual.h"

WHLDate::WHLDate(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

std::int32_t WHLDate::VitalKind() const {
    switch (FConditionCode) {
    case 39: return EventKind::Birth;
    case 40: return EventKind::Christening;
    case 41: return EventKind::Death;
    case 42: return EventKind::Burial;
    default: return 0;
    }
}

void WHLDate::ReadParameter() {
    FDate.SetText(FParameter);
    FQualifier = FDate.GetQualifier();
}

void WHLDate::Prepare() {
    ReadParameter();
    Reset(0);
}

bool WHLDate::Matches(const WDate& eventDate) const {
    // A parameter without any date (the editor's qualifier with empty date
    // buttons gives "AFT ") would sort before every event: it matches nothing.
    if (!FDate.IsValid() ||
        (FDate.IsStructured() && FDate.GetYear() == 0 && FDate.GetMonth() == 0 && FDate.GetDay() == 0))
        return false;
    // -2 says the two dates cannot be compared: that never counts as a match.
    switch (FQualifier) {
    case dqBefore: return FDate.Compare(eventDate) > 0;
    case dqAfter: return FDate.Compare(eventDate) == -1;
    case dqAbout: {
        WDate moved = eventDate;
        moved.SubYears(5);
        if (FDate.Compare(moved) < 1) return false;
        moved.AddYears(10);
        return FDate.Compare(moved) == -1;
    }
    default: return FDate.Compare(eventDate) == 0;
    }
}

void WHLDate::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    std::unique_ptr<WABSVitEvent> e = ind->GetEvent(VitalKind(), 1);
    const WDate* date = e ? e->GetDate() : nullptr;
    SetResult(AIndex, date && Matches(*date));
}

void WHLDate::GetDescription(std::string& S) {
    static const char* const words[4] = {"birth date", "christening date", "death date", "burial date"};
    ReadParameter();
    S = FInvert ? "with not " : "with ";
    if (FConditionCode >= 39 && FConditionCode <= 42) S += words[FConditionCode - 39];
    S += " ";
    if (FQualifier != dqBefore && FQualifier != dqAfter && FQualifier != dqAbout) S += "= ";
    S += FDate.GetText();
}
