#include "gedcom/GEDMarriage.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GEDLDSEvent.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"
#include "model/Date.h"
#include "model/FamLinks.h"

WGEDMarriage::WGEDMarriage(WGEDCollection& collection, std::int32_t n)
    : WABSMarriage(n), m_collection(collection), m_file(collection.File()), m_links(collection.FamLinks()),
      m_record(collection.RecordPointer(WGEDCollection::KindFamily, n)) {
    if (!m_file.Contains(m_record)) throw EMemoryError("Error getting pointer to individual " + std::to_string(n));
    m_childCount = m_links ? m_links->GetChildCount(n) : 0;
    for (const char* line = m_file.NextLine(m_record); line && *line != '0'; line = m_file.NextLine(line)) {
        switch (m_file.TagWord(line)) {
        case GEDTags::SLGS: m_slgs = line; break;
        case GEDTags::MARR:
            if (!m_marr) m_marr = line;
            break;
        case GEDTags::SOUR:
            if (m_sources.size() < MaxCitations) m_sources.push_back(line);
            break;
        case GEDTags::NOTE:
            if (!m_note) m_note = line;
            break;
        default: break;
        }
    }
    m_citationCount = std::int32_t(m_sources.size());
}

void WGEDMarriage::Load() {
    if (m_date || !m_marr) return;
    // The DATE may follow a PLAC or any other sub-line of the event.
    const char* date = nullptr;
    GedFunctions::ForEachSubLine(m_file, m_marr, [&](const char* line, std::uint32_t tag) {
        if (!date && tag == GEDTags::DATE) date = line;
    });
    if (date) SetDate(m_collection.MakeDate(m_file.ValueView(m_file.At(date, 7))));
}

std::int32_t WGEDMarriage::GetHusband() const { return m_links ? m_links->GetHusband(m_recNo) : 0; }
std::int32_t WGEDMarriage::GetWife() const { return m_links ? m_links->GetWife(m_recNo) : 0; }
std::int32_t WGEDMarriage::GetChild(std::int32_t i) const { return m_links ? m_links->GetChild(m_recNo, i) : 0; }

std::int32_t WGEDMarriage::GetSpouseCount() const { return (GetHusband() ? 1 : 0) + (GetWife() ? 1 : 0); }

void WGEDMarriage::SortChildren() {
    if (m_links) m_links->SortChildren(m_recNo, &m_collection);
}

std::unique_ptr<WABSLDSEvent> WGEDMarriage::GetLDSSealing(std::int32_t) const {
    if (!m_slgs) return nullptr;
    return std::make_unique<WGEDLDSEvent>(m_collection, m_slgs, m_file);
}

std::string WGEDMarriage::GetPlace() const {
    return m_marr ? m_collection.ConvertText(m_file.GetPlace(m_marr)) : std::string();
}

std::string WGEDMarriage::GetRecordText() const { return m_collection.ConvertText(m_file.RecordView(m_record)); }

std::unique_ptr<WABSCitation> WGEDMarriage::GetCitation(std::int32_t i) const {
    if (i < 1 || i > std::int32_t(m_sources.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_sources[std::size_t(i - 1)], m_file);
}

std::unique_ptr<WABSNote> WGEDMarriage::GetNote() const { return GedFunctions::GetNote(m_collection, m_file, m_note); }
