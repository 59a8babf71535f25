#include "gedcom/GEDAddress.h"

#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"

WGEDAddress::WGEDAddress(const WGEDCollection& collection, const char* addrLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file) {
    static constexpr std::uint32_t tags[8] = {GEDTags::ADDR, GEDTags::ADR1, GEDTags::ADR2, GEDTags::CITY,
                                              GEDTags::STAE, GEDTags::POST, GEDTags::CTRY, GEDTags::PHON};
    for (const char* line = addrLine; line && *line != '0'; line = file.NextLine(line)) {
        std::uint32_t tag = file.TagWord(line);
        for (int i = 0; i < 8; ++i)
            if (tag == tags[i]) m_fields[std::size_t(i)] = file.At(line, 7);
    }
}

std::string WGEDAddress::field(int i) const {
    std::size_t k = std::size_t(i);
    if (!m_done[k]) {
        m_texts[k] = GedFunctions::FieldText(m_collection, m_file, m_fields[k], "\r\n");
        m_done[k] = true;
    }
    return m_texts[k];
}
