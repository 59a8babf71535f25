#include "gedcom/GEDVitEvent.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GEDPlace.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"
#include "model/Date.h"

namespace {
struct TagName {
    std::uint32_t tag;
    const char* name;
};
// Other events and their labels.
constexpr TagName kOtherEvents[] = {
    {GEDTag("EVEN"), "Event"},
    {GEDTag("ADOP"), "Adoption"},
    {GEDTag("ANUL"), "Annulment"},
    {GEDTag("ASSO"), "Associates"},
    {GEDTag("BLES"), "Blessing"},
    {GEDTag("CAST"), "Caste"},
    {GEDTag("CENS"), "Census"},
    {GEDTag("CHRA"), "Adult Christening"},
    {GEDTag("CONF"), "Confirmation"},
    {GEDTag("CONL"), "Confirmation LDS"},
    {GEDTag("CREM"), "Cremation"},
    {GEDTag("DIV "), "Divorce"},
    {GEDTag("DSCR"), "Phyical Description"},
    {GEDTag("EDUC"), "Education"},
    {GEDTag("EMIG"), "Emigration"},
    {GEDTag("ENGA"), "Engagement"},
    {GEDTag("FCOM"), "First Communion"},
    {GEDTag("GRAD"), "Graduation"},
    {GEDTag("IMMI"), "Immigration"},
    {GEDTag("MARB"), "Marriage Banns"},
    {GEDTag("MARC"), "Marriage Contract"},
    {GEDTag("MARS"), "Marriage Settlement"},
    {GEDTag("NATI"), "Nationality"},
    {GEDTag("NATU"), "Naturalization"},
    {GEDTag("NCHI"), "Children Count"},
    {GEDTag("OCCU"), "Occupation"},
    {GEDTag("ORDN"), "Ordinance"},
    {GEDTag("PROB"), "Probate"},
    {GEDTag("PROP"), "Property"},
    {GEDTag("RELI"), "Religion"},
    {GEDTag("RESI"), "Residence"},
    {GEDTag("RETI"), "Retirement"},
    {GEDTag("TITL"), "Nobility Title"},
    {GEDTag("WILL"), "Will"},
};
} // namespace

std::int32_t WGEDVitEvent::KindOfTag(const WGEDTextMMF& file, const char* line, std::string& name) {
    name.clear();
    std::uint32_t tag = file.TagWord(line);
    if (tag == GEDTags::BIRT) return EventKind::Birth;
    if (tag == GEDTags::DEAT) return EventKind::Death;
    if (file.Tag3Is(line, "CHR")) return EventKind::Christening;
    if (tag == GEDTags::BURI) return EventKind::Burial;
    if (tag == GEDTag("BAPM")) {
        name = "Baptism";
        return EventKind::Baptism;
    }
    if (file.Tag3Is(line, "SSN")) {
        name = "SSN";
        return EventKind::Other;
    }
    for (const TagName& t : kOtherEvents)
        if (t.tag == tag) {
            name = t.name;
            break;
        }
    return EventKind::Other;
}

WGEDVitEvent::WGEDVitEvent(WGEDCollection& collection, const char* eventLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file), m_line(eventLine) {
    m_kind = KindOfTag(file, eventLine, m_eventName);
    GedFunctions::ForEachSubLine(file, eventLine, [&](const char* line, std::uint32_t tag) {
        switch (tag) {
        case GEDTags::DATE: m_dateLine = line; break;
        case GEDTags::PLAC: m_placeLine = line; break;
        case GEDTags::ADDR: m_addrLine = line; break;
        case GEDTags::CAUS: m_causeLine = line; break;
        case GEDTags::NOTE: m_noteLine = line; break;
        case GEDTags::TYPE: m_eventName = collection.ConvertText(file.ValueView(file.At(line, 7))); break;
        case GEDTags::SOUR:
            if (m_sources.size() < MaxCitations) m_sources.push_back(line);
            break;
        default: break;
        }
    });
    m_citationCount = std::int32_t(m_sources.size());
}

void WGEDVitEvent::Load() {
    if (!m_date && m_dateLine) SetDate(m_collection.MakeDate(m_file.ValueView(m_file.At(m_dateLine, 7))));
}

std::string WGEDVitEvent::GetDescription() const {
    std::string s = m_file.GetValue(m_file.At(m_line, 6));
    if (m_causeLine) {
        std::string cause = m_file.GetLineValue(m_causeLine);
        if (!cause.empty()) {
            if (!s.empty()) s += ", ";
            s += cause;
        }
    }
    return m_collection.ConvertText(s);
}

std::unique_ptr<WABSPlace> WGEDVitEvent::GetPlace() const {
    if (!m_placeLine) return nullptr;
    return std::make_unique<WGEDPlace>(m_collection, m_placeLine, m_file);
}

std::unique_ptr<WABSCitation> WGEDVitEvent::GetCitation(std::int32_t i) const {
    if (i < 1 || i > std::int32_t(m_sources.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_sources[std::size_t(i - 1)], m_file);
}

bool WGEDVitEvent::HasNote() const { return GetNote() != nullptr; }

std::unique_ptr<WABSNote> WGEDVitEvent::GetNote() const {
    return GedFunctions::GetNote(m_collection, m_file, m_noteLine);
}
