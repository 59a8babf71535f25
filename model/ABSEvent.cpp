#include "model/ABSEvent.h"

#include <array>

#include "model/ABSCitation.h"
#include "model/ABSNote.h"
#include "model/ABSPlace.h"
#include "model/Date.h"

WABSEvent::WABSEvent() = default;
WABSEvent::~WABSEvent() = default;

void WABSEvent::SetDate(std::unique_ptr<WDate> date) {
    if (m_shared) m_sortDate = nullptr;
    m_shared = false;
    m_date = std::move(date);
}

void WABSEvent::ShareSortDate() {
    m_shared = true;
    Load();
    m_ownSortDate.reset();
    m_sortDate = m_date.get();
}

const WDate* WABSEvent::GetDate() {
    Load();
    return m_date.get();
}

bool WABSEvent::HasValidDate() {
    const WDate* date = GetDate();
    return date && date->IsValid() && date->IsStructured();
}

std::string WABSEvent::GetDateText() {
    const WDate* date = GetDate();
    return date ? date->GetText() : std::string();
}

std::string WABSEvent::GetSortDateText() {
    ShareSortDate();
    return m_sortDate ? m_sortDate->GetText() : std::string();
}

std::string WABSEvent::GetPlaceText() const {
    std::unique_ptr<WABSPlace> place = GetPlace();
    return place ? place->GetText() : std::string();
}

std::string WABSEvent::GetCitationsText() const {
    return ComposeCitationsText(GetCitationCount(), [this](std::int32_t i) { return GetCitation(i); });
}

std::string WABSEvent::GetNoteText() const { return ComposeNoteText(GetNote()); }

namespace {

// Keywords of the ordinance kinds 7 to 10, in their order.
using KeywordTable = std::array<const char*, 10>;
constexpr KeywordTable kBaptism = {"SUBMITTED", "CLEARED",  "COMPLETED", "CHILD",     "INFANT",
                                   "QUALIFIED", "PRE-1970", "STILLBORN", "UNCLEARED", "DONTDOIT"};
constexpr KeywordTable kSealParents = {"SUBMITTED", "CLEARED",  "COMPLETED", "BIC",       "DNS",
                                       "QUALIFIED", "PRE-1970", "STILLBORN", "UNCLEARED", "DONTDOIT"};
constexpr KeywordTable kSealSpouse = {"SUBMITTED", "CLEARED",   "COMPLETED", "CANCELED",  "DNS",
                                      "DNS/CAN",   "QUALIFIED", "PRE-1970",  "UNCLEARED", "DONTDOIT"};

const KeywordTable* keywordsOf(std::int32_t kind) {
    switch (kind) {
    case EventKind::LDSBaptism:
    case EventKind::LDSEndowment: return &kBaptism;
    case EventKind::LDSSealParents: return &kSealParents;
    case EventKind::LDSSealSpouse: return &kSealSpouse;
    default: return nullptr;
    }
}

} // namespace

std::int32_t WABSLDSEvent::StatusCount(std::int32_t kind) {
    return keywordsOf(kind) ? static_cast<std::int32_t>(kBaptism.size()) : 0;
}

std::string WABSLDSEvent::GetStatusKeyword(std::int32_t kind, std::int32_t i) {
    const KeywordTable* table = keywordsOf(kind);
    if (!table || i < 1 || i > static_cast<std::int32_t>(table->size())) return {};
    return (*table)[static_cast<std::size_t>(i - 1)];
}

std::string WABSLDSEvent::GetStatusKeywords(std::int32_t kind) {
    std::string text;
    const KeywordTable* table = keywordsOf(kind);
    if (!table) return text;
    for (const char* word : *table) {
        if (!text.empty()) text += ';';
        text += word;
    }
    return text;
}
