#include "gedcom/GEDCitation.h"

#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"

WGEDCitation::WGEDCitation(WGEDCollection& collection, const char* sourceLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file), m_line(sourceLine) {
    GedFunctions::ForEachSubLine(file, sourceLine, [&](const char* line, std::uint32_t tag) {
        if (tag == GEDTags::PAGE)
            m_page = file.At(line, 7);
        else if (tag == GEDTags::NOTE)
            m_note = line;
    });
}

std::string WGEDCitation::GetPage() const {
    return m_page ? m_collection.ConvertText(m_file.ValueView(m_page)) : std::string();
}

std::unique_ptr<WABSNote> WGEDCitation::GetNote() const { return GedFunctions::GetNote(m_collection, m_file, m_note); }

std::unique_ptr<WABSSource> WGEDCitation::GetSource() const {
    return GedFunctions::GetSource(m_collection, m_file, m_line);
}
