#include "gedcom/GEDName.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GedFunctions.h"
#include "model/ABSNote.h"

WGEDName::WGEDName(WGEDCollection& collection, const char* nameLine, const WGEDTextMMF& file)
    : m_collection(collection), m_file(file), m_value(file.At(nameLine, 7)) {
    GedFunctions::ForEachSubLine(file, nameLine, [&](const char* line, std::uint32_t tag) {
        switch (tag) {
        case GEDTags::GIVN: m_givn = file.At(line, 7); break;
        case GEDTags::SURN: m_surn = file.At(line, 7); break;
        case GEDTags::NPFX: m_npfx = file.At(line, 7); break;
        case GEDTags::NSFX: m_nsfx = file.At(line, 7); break;
        case GEDTags::NOTE: m_note = line; break;
        case GEDTags::SOUR:
            if (m_sources.size() < MaxCitations) m_sources.push_back(line);
            break;
        default: break;
        }
    });
    m_citationCount = std::int32_t(m_sources.size());
}

std::string_view WGEDName::value() const { return m_file.ValueView(m_value); }

std::string WGEDName::GetSurname() const {
    std::string_view v = value();
    std::size_t a = v.find('/');
    if (a == std::string_view::npos) return {};
    std::size_t b = v.find('/', a + 1);
    return m_collection.ConvertText(v.substr(a + 1, b == std::string_view::npos ? std::string_view::npos : b - a - 1));
}

bool WGEDName::surnameFirst() const {
    for (char c : value())
        if (static_cast<unsigned char>(c) > ' ') return c == '/';
    return false;
}

std::string WGEDName::GetGiven() const {
    std::string v = abs_text::Trim(std::string(value()));
    if (v.empty()) return {};
    std::string given;
    if (v[0] == '/') {
        std::size_t b = v.find('/', 1);
        if (b == std::string::npos) return {};
        given = v.substr(b + 1);
    } else {
        given = v.substr(0, v.find('/'));
    }
    // Trimmed after the conversion: an accent it drops can leave a blank at the end.
    return abs_text::Trim(m_collection.ConvertText(given));
}

std::string WGEDName::GetPrefix() const {
    if (!m_prefixDone) {
        m_prefix = m_npfx ? m_collection.ConvertText(m_file.ValueView(m_npfx)) : std::string();
        m_prefixDone = true;
    }
    return m_prefix;
}

std::string WGEDName::GetSuffix() const {
    if (!m_suffixDone) {
        m_suffixDone = true;
        if (m_nsfx) {
            m_suffix = m_collection.ConvertText(m_file.ValueView(m_nsfx));
        } else if (!surnameFirst()) {
            // In "/William/ I" the text after the surname is the given name.
            std::string_view v = value();
            std::size_t a = v.find('/');
            std::size_t b = a == std::string_view::npos ? a : v.find('/', a + 1);
            if (b != std::string_view::npos) m_suffix = m_collection.ConvertText(v.substr(b + 1));
        }
    }
    return m_suffix;
}

std::unique_ptr<WABSCitation> WGEDName::GetCitation(std::int32_t i) const {
    if (i < 1 || i > std::int32_t(m_sources.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_sources[std::size_t(i - 1)], m_file);
}

std::unique_ptr<WABSNote> WGEDName::GetNote() const { return GedFunctions::GetNote(m_collection, m_file, m_note); }
