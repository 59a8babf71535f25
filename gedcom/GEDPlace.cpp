#include "gedcom/GEDPlace.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"

WGEDPlace::WGEDPlace(WGEDCollection& collection, const char* placeLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file), m_value(file.At(placeLine, 7)) {
    GedFunctions::ForEachSubLine(file, placeLine, [&](const char* line, std::uint32_t tag) {
        if (tag == GEDTags::NOTE)
            m_note = line;
        else if (tag == GEDTags::SOUR && m_sources.size() < MaxCitations)
            m_sources.push_back(line);
    });
    m_citationCount = std::int32_t(m_sources.size());
}

std::string WGEDPlace::GetName() const {
    return m_value ? m_collection.ConvertText(abs_text::Trim(m_file.GetValue(m_value))) : std::string();
}

std::unique_ptr<WABSCitation> WGEDPlace::GetCitation(std::int32_t i) const {
    if (i < 1 || i > std::int32_t(m_sources.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_sources[std::size_t(i - 1)], m_file);
}

std::unique_ptr<WABSNote> WGEDPlace::GetNote() const { return GedFunctions::GetNote(m_collection, m_file, m_note); }
