#include "gedcom/GEDRepo.h"

#include "gedcom/GEDAddress.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"

WGEDRepo::WGEDRepo(const WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file) {
    if (offset == 0) return;
    m_record = file.Begin() + offset;
    for (const char* line = file.NextLine(m_record); line && *line != '0'; line = file.NextLine(line)) {
        switch (file.TagWord(line)) {
        case GEDTags::NAME: m_name = file.At(line, 7); break;
        case GEDTags::ADDR: m_addr = line; break;
        case GEDTags::NOTE: m_note = line; break;
        default: break;
        }
    }
}

std::string WGEDRepo::GetName() const {
    if (!m_nameDone) {
        m_nameText = GedFunctions::FieldText(m_collection, m_file, m_name, "\r");
        m_nameDone = true;
    }
    return m_nameText;
}

std::unique_ptr<WABSAddress> WGEDRepo::GetAddress() const {
    if (!m_addr) return nullptr;
    return std::make_unique<WGEDAddress>(m_collection, m_addr, m_file);
}

std::string WGEDRepo::GetRecordText() const {
    return m_record ? m_collection.ConvertText(m_file.RecordView(m_record)) : std::string();
}
