#include "model/ABSMarriage.h"

#include "model/ABSCitation.h"
#include "model/ABSNote.h"
#include "model/Date.h"

WABSMarriage::WABSMarriage(std::int32_t recNo) : WABSCollectionItem(recNo), m_eventName("Marriage") {}

WABSMarriage::~WABSMarriage() = default;

void WABSMarriage::SetDate(std::unique_ptr<WDate> date) {
    if (m_shared) m_sortDate = nullptr;
    m_shared = false;
    m_date = std::move(date);
}

void WABSMarriage::ShareSortDate() {
    Load();
    m_ownSortDate.reset();
    m_sortDate = m_date.get();
    m_shared = true;
}

std::int32_t WABSMarriage::GetOtherSpouse(std::int32_t individual) const {
    std::int32_t husband = GetHusband();
    return husband == individual ? GetWife() : husband;
}

const WDate* WABSMarriage::GetDate() {
    Load();
    return m_date.get();
}

const WDate* WABSMarriage::GetSortDate() {
    ShareSortDate();
    return m_sortDate;
}

std::string WABSMarriage::GetDateText() {
    const WDate* date = GetDate();
    return date ? date->GetText() : std::string();
}

std::string WABSMarriage::GetSortDateText() {
    const WDate* date = GetSortDate();
    return date ? date->GetText() : std::string();
}

std::string WABSMarriage::GetDateAndPlaceText() {
    std::string text = GetDateText();
    std::string place = GetPlace();
    if (!place.empty()) text += ", " + place;
    return text;
}

std::string WABSMarriage::GetCitationsText() const {
    return ComposeCitationsText(GetCitationCount(), [this](std::int32_t i) { return GetCitation(i); });
}

std::string WABSMarriage::GetNoteText() const { return ComposeNoteText(GetNote()); }
