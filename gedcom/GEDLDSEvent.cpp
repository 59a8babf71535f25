#include "gedcom/GEDLDSEvent.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GEDPlace.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"
#include "model/Date.h"

WGEDLDSEvent::WGEDLDSEvent(WGEDCollection& collection, const char* ordinanceLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file) {
    std::uint32_t tag = file.TagWord(ordinanceLine);
    if (tag == GEDTags::BAPL || tag == GEDTags::CONS)
        m_kind = EventKind::LDSBaptism;
    else if (tag == GEDTags::ENDL)
        m_kind = EventKind::LDSEndowment;
    else if (tag == GEDTags::SLGC)
        m_kind = EventKind::LDSSealParents;
    else
        m_kind = 0;
    GedFunctions::ForEachSubLine(file, ordinanceLine, [&](const char* line, std::uint32_t t) {
        switch (t) {
        case GEDTags::DATE: m_dateLine = line; break;
        case GEDTags::PLAC: m_placeLine = line; break;
        case GEDTags::TEMP:
            m_placeLine = line;
            m_hasTemple = true;
            break;
        case GEDTags::ADDR: m_addrLine = line; break;
        case GEDTags::NOTE: m_noteLine = line; break;
        case GEDTags::STAT: m_status = GedFunctions::GetTrimmedValue(file, file.At(line, 7)); break;
        case GEDTags::QUAL: m_qualifier = GedFunctions::GetTrimmedValue(file, file.At(line, 7)); break;
        case GEDTags::CAUS: m_cause = GedFunctions::GetTrimmedValue(file, file.At(line, 7)); break;
        case GEDTags::SOUR:
            if (m_sources.size() < MaxCitations) m_sources.push_back(line);
            break;
        default: break;
        }
    });
    m_citationCount = std::int32_t(m_sources.size());
}

void WGEDLDSEvent::Load() {
    if (m_date) return;
    if (m_dateLine)
        SetDate(m_collection.MakeDate(m_file.ValueView(m_file.At(m_dateLine, 7))));
    else if (!m_status.empty())
        SetDate(m_collection.MakeDate(m_status));
    else if (!m_qualifier.empty())
        SetDate(m_collection.MakeDate(m_qualifier));
}

std::unique_ptr<WABSPlace> WGEDLDSEvent::GetPlace() const {
    return std::make_unique<WGEDPlace>(m_collection, m_placeLine, m_file);
}

std::unique_ptr<WABSCitation> WGEDLDSEvent::GetCitation(std::int32_t i) const {
    if (i < 1 || i > std::int32_t(m_sources.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_sources[std::size_t(i - 1)], m_file);
}

bool WGEDLDSEvent::HasNote() const { return GetNote() != nullptr; }

std::unique_ptr<WABSNote> WGEDLDSEvent::GetNote() const {
    return GedFunctions::GetNote(m_collection, m_file, m_noteLine);
}
