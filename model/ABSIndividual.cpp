#include "model/ABSIndividual.h"

#include "model/ABSCitation.h"
#include "model/ABSEvent.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"
#include "model/Date.h"
#include "model/DateDiff.h"
#include "model/Options.h"
#include "platform/Hooks.h"

namespace {

// A date that could be read word by word; only those take part in ages.
bool isParsed(const WDate* date) { return date && date->IsValid() && date->IsStructured(); }

constexpr std::int32_t kVitalKinds[] = {EventKind::Birth, EventKind::Christening, EventKind::Death, EventKind::Burial};

} // namespace

struct WABSIndividual::AgeSpan {
    std::unique_ptr<WABSVitEvent> startEvent;
    std::unique_ptr<WABSVitEvent> endEvent;
    std::unique_ptr<WDate> today;
    const WDate* start = nullptr;
    const WDate* end = nullptr;
    bool estimated = false;
    bool toToday = false;
};

void WABSIndividual::findAgeSpan(AgeSpan& span) const {
    const bool ageCalc = WOptions::GetBool(opt::AgeCalcCB);
    span.startEvent = GetEvent(EventKind::Birth, 1);
    span.start = span.startEvent ? span.startEvent->GetDate() : nullptr;
    // The christening stands in only when the birth has no date at all, not
    // when its date could not be read.
    if (!span.start && ageCalc) {
        span.startEvent = GetEvent(EventKind::Christening, 1);
        span.start = span.startEvent ? span.startEvent->GetDate() : nullptr;
        span.estimated = span.start != nullptr;
    }
    if (!span.start) return;

    span.endEvent = GetEvent(EventKind::Death, 1);
    const WDate* end = span.endEvent ? span.endEvent->GetDate() : nullptr;
    if (isParsed(end)) {
        span.end = end;
        return;
    }
    if (ageCalc) {
        span.endEvent = GetEvent(EventKind::Burial, 1);
        end = span.endEvent ? span.endEvent->GetDate() : nullptr;
        if (isParsed(end)) {
            span.end = end;
            span.estimated = true;
            return;
        }
    }
    span.endEvent.reset();
    span.today = std::make_unique<WDate>("TODAY");
    span.end = span.today.get();
    span.toToday = true;
}

std::int32_t WABSIndividual::GetAge() const {
    AgeSpan span;
    findAgeSpan(span);
    if (!span.start || !isParsed(span.start) || !isParsed(span.end)) return -1;
    WDateDiff diff;
    if (!diff.Calc(span.start, span.end)) return -1;
    return diff.GetYears();
}

std::unique_ptr<WDateDiff> WABSIndividual::GetAgeDiff(bool& estimated, std::string& suffix) const {
    AgeSpan span;
    findAgeSpan(span);
    estimated = span.estimated;
    suffix = span.toToday ? "?" : "";
    if (!isParsed(span.start) || !isParsed(span.end)) return nullptr;
    auto diff = std::make_unique<WDateDiff>();
    if (!diff->Calc(span.start, span.end)) return nullptr;
    return diff;
}

std::string WABSIndividual::GetAgeText() const {
    bool estimated = false;
    std::string suffix;
    std::unique_ptr<WDateDiff> diff = GetAgeDiff(estimated, suffix);
    if (!diff || diff->GetYears() >= 111) return {};
    std::string text;
    if (estimated) text += '[';
    text += diff->GetYearsText();
    text += suffix;
    if (estimated) text += ']';
    return text;
}

bool WABSIndividual::IsPossiblyLiving(std::int32_t years) const {
    for (std::int32_t kind : {EventKind::Death, EventKind::Burial}) {
        std::unique_ptr<WABSVitEvent> event = GetEvent(kind, 1);
        if (event && event->HasValidDate()) return false;
    }
    std::int32_t year = GetEventYear(EventKind::Birth, 1);
    if (year == 0) year = GetEventYear(EventKind::Christening, 1);
    if (year < 1) return false;
    return plat::now().year - year < years;
}

std::string WABSIndividual::GetGivenText() const {
    std::unique_ptr<WABSName> name = GetName();
    return name ? name->GetGiven() : std::string();
}

std::string WABSIndividual::GetSurnameText() const {
    std::unique_ptr<WABSName> name = GetName();
    return name ? name->GetSurnameText() : std::string();
}

std::string WABSIndividual::GetFullName(bool withPrefixSuffix) const {
    std::unique_ptr<WABSName> name = GetName();
    return name ? name->GetFullName(withPrefixSuffix) : std::string();
}

std::string WABSIndividual::GetDisplayName() const {
    std::string text = GetFullName(true);
    if (!WOptions::GetBool(opt::FNValueFlag)) return text;
    switch (WOptions::GetInt(opt::FNValue)) {
    case 2: text += " (" + std::to_string(GetRecNo()) + ")"; break;
    case 3: text += " {" + GetRefN() + "}"; break;
    default: text += " [" + GetXRef() + "]"; break;
    }
    return text;
}

std::string WABSIndividual::GetNameWithDates(bool withIdentifier) const {
    std::string text = withIdentifier ? GetDisplayName() : GetFullName(false);
    text += ", (b. " + GetEventDateText(EventKind::Birth, 1) + ", " + GetEventPlaceText(EventKind::Birth, 1);
    text += "), (d. " + GetEventDateText(EventKind::Death, 1) + ", " + GetEventPlaceText(EventKind::Death, 1);
    text += ")";
    return text;
}

std::string WABSIndividual::GetEventDateAndPlace(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    if (!event) return {};
    return event->GetDateText() + ", " + event->GetPlaceText();
}

std::string WABSIndividual::GetEventPlaceText(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    return event ? event->GetPlaceText() : std::string();
}

std::string WABSIndividual::GetEventDateText(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    return event ? event->GetDateText() : std::string();
}

bool WABSIndividual::HasEventDate(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    return event && event->HasValidDate();
}

std::int32_t WABSIndividual::GetEventYear(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    const WDate* date = event ? event->GetDate() : nullptr;
    return date ? date->GetYear() : 0;
}

std::string WABSIndividual::GetEventQualifierLetter(std::int32_t kind, std::int32_t index) const {
    std::unique_ptr<WABSVitEvent> event = GetEvent(kind, index);
    const WDate* date = event ? event->GetDate() : nullptr;
    return date ? date->GetQualifierLetter() : std::string();
}

bool WABSIndividual::HasLDSEvent(std::int32_t kind) const { return GetLDSEvent(kind) != nullptr; }

std::string WABSIndividual::GetLDSEventDateText(std::int32_t kind) const {
    std::unique_ptr<WABSLDSEvent> event = GetLDSEvent(kind);
    return event ? event->GetDateText() : std::string();
}

std::string WABSIndividual::GetLDSEventText(std::int32_t kind, bool checkTemple) const {
    std::unique_ptr<WABSLDSEvent> event = GetLDSEvent(kind);
    if (!event) return {};
    if (checkTemple && !event->HasTemple()) return "Live";
    return event->GetPlaceText();
}

std::string WABSIndividual::GetChangeDateText() const {
    const WDate* date = GetChangeDate();
    return date ? date->GetText() : std::string();
}

std::string WABSIndividual::GetCitationsText() const {
    return ComposeCitationsText(GetCitationCount(), [this](std::int32_t i) { return GetCitation(i); });
}

std::string WABSIndividual::GetNoteText() const { return ComposeNoteText(GetNote()); }

bool WABSIndividual::HasAnySource() const {
    if (GetCitationCount() > 0) return true;
    if (std::unique_ptr<WABSName> name = GetName(); name && name->GetCitationCount() > 0) return true;
    for (std::int32_t kind : kVitalKinds) {
        std::unique_ptr<WABSVitEvent> event = GetEvent(kind, 1);
        if (event && event->GetCitationCount() > 0) return true;
    }
    const std::int32_t others = GetEventCount(EventKind::Other);
    for (std::int32_t i = 1; i <= others; ++i) {
        std::unique_ptr<WABSVitEvent> event = GetEvent(EventKind::Other, i);
        if (event && event->GetCitationCount() > 0) return true;
    }
    return false;
}

bool WABSIndividual::HasAnyNote() const {
    if (!GetNoteText().empty()) return true;
    if (std::unique_ptr<WABSName> name = GetName(); name && name->GetNote()) return true;
    for (std::int32_t kind : kVitalKinds) {
        std::unique_ptr<WABSVitEvent> event = GetEvent(kind, 1);
        if (event && event->HasNote()) return true;
    }
    const std::int32_t others = GetEventCount(EventKind::Other);
    for (std::int32_t i = 1; i <= others; ++i) {
        std::unique_ptr<WABSVitEvent> event = GetEvent(EventKind::Other, i);
        if (event && event->HasNote()) return true;
    }
    return false;
}
