#include "gedcom/GEDSource.h"

#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"

WGEDSource::WGEDSource(WGEDCollection& collection, const WGEDTextMMF& file) : m_collection(collection), m_file(file) {}

WGEDSource::WGEDSource(WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file)
    : WGEDSource(collection, file) {
    if (offset == 0) return;
    m_record = file.Begin() + offset;
    GedFunctions::ForEachSubLine(file, m_record, [&](const char* line, std::uint32_t tag) {
        switch (tag) {
        case GEDTags::REPO: m_fields[Repo] = file.At(line, 7); break;
        case GEDTags::TITL:
        case GEDTags::NAME: m_fields[Title] = file.At(line, 7); break;
        case GEDTags::AUTH: m_fields[Author] = file.At(line, 7); break;
        case GEDTags::PUBL: m_fields[Publication] = file.At(line, 7); break;
        case GEDTags::ABBR: m_fields[Abbreviation] = file.At(line, 7); break;
        case GEDTags::CALN: m_fields[CallNumber] = file.At(line, 7); break;
        case GEDTags::NOTE: m_fields[Note] = line; break;
        case GEDTags::TEXT: m_fields[Text] = line; break;
        default: break;
        }
    });
}

std::unique_ptr<WGEDSource> WGEDSource::CreateInline(WGEDCollection& collection, const char* sourceLine,
                                                     const WGEDTextMMF& file) {
    std::unique_ptr<WGEDSource> s(new WGEDSource(collection, file));
    s->m_sourceLine = sourceLine;
    s->m_fields[Title] = file.At(sourceLine, 7);
    GedFunctions::ForEachSubLine(file, sourceLine, [&](const char* line, std::uint32_t tag) {
        if (tag == GEDTags::NOTE)
            s->m_fields[Note] = line;
        else if (tag == GEDTags::TEXT)
            s->m_fields[Text] = line;
    });
    return s;
}

std::string WGEDSource::field(int i) const {
    std::size_t k = std::size_t(i);
    if (!m_done[k]) {
        m_texts[k] = GedFunctions::FieldText(m_collection, m_file, m_fields[k], "\r\n");
        m_done[k] = true;
    }
    return m_texts[k];
}

std::int32_t WGEDSource::GetRepoNumber() const {
    auto xref = m_file.GetXREF(m_fields[Repo], false);
    return xref ? m_collection.FindXref(WGEDCollection::KindRepository, *xref) : 0;
}

std::unique_ptr<WABSRepo> WGEDSource::GetRepo() const {
    std::int32_t n = GetRepoNumber();
    return n ? m_collection.GetRepository(n) : nullptr;
}

std::unique_ptr<WABSNote> WGEDSource::GetNote() const {
    return GedFunctions::GetNote(m_collection, m_file, m_fields[Note]);
}

std::unique_ptr<WABSNote> WGEDSource::GetText() const {
    return GedFunctions::GetNote(m_collection, m_file, m_fields[Text]);
}

std::string WGEDSource::GetRecordText() const {
    return m_record ? m_collection.ConvertText(m_file.RecordView(m_record)) : std::string();
}
