#include "gedcom/GEDSubmitter.h"

#include "gedcom/GEDCollection.h"

WGEDSubmitter::WGEDSubmitter(const WGEDCollection& collection, const WGEDTextMMF& file, const char* recordLine)
    : m_collection(collection), m_file(file), m_record(recordLine) {}

std::string WGEDSubmitter::lookup(std::uint32_t tag) const {
    for (const char* line = m_file.NextLine(m_record); line && *line != '0'; line = m_file.NextLine(line))
        if (m_file.TagWord(line) == tag) return m_collection.ConvertText(m_file.GetLineValue(line));
    return {};
}

std::string WGEDSubmitter::GetName() const { return lookup(GEDTags::NAME); }
std::string WGEDSubmitter::GetCountry() const { return lookup(GEDTags::CTRY); }
std::string WGEDSubmitter::GetPhone() const { return lookup(GEDTags::PHON); }

std::string WGEDSubmitter::GetEmail() const {
    std::string s = lookup(GEDTags::_EMA);
    if (s.empty()) s = lookup(GEDTags::EMAI);
    return s;
}

std::string WGEDSubmitter::addressLine(std::size_t i) const {
    if (!m_addressRead) {
        m_addressRead = true;
        for (const char* line = m_file.NextLine(m_record); line && *line != '0'; line = m_file.NextLine(line))
            if (m_file.TagWord(line) == GEDTags::ADDR) {
                m_address = m_file.GetText(m_file.At(line, 7));
                break;
            }
    }
    return i < m_address.size() ? m_collection.ConvertText(m_address[i]) : std::string();
}

std::string WGEDSubmitter::GetRecordText() const { return m_collection.ConvertText(m_file.RecordView(m_record)); }
