#include "gedcom/GEDIndividual.h"

#include "gedcom/GEDCitation.h"
#include "gedcom/GEDCollection.h"
#include "gedcom/GEDLDSEvent.h"
#include "gedcom/GEDName.h"
#include "gedcom/GEDVitEvent.h"
#include "gedcom/GedFunctions.h"
#include "gedcom/IndLinks.h"
#include "model/ABSNote.h"
#include "model/Date.h"

namespace {
constexpr std::uint32_t kOtherEventTags[] = {
    GEDTag("ADOP"), GEDTag("ANUL"), GEDTag("ASSO"), GEDTag("BAPM"), GEDTag("BLES"), GEDTag("CAST"), GEDTag("CENS"),
    GEDTag("CHRA"), GEDTag("CONF"), GEDTag("CONL"), GEDTag("CREM"), GEDTag("DIV "), GEDTag("DSCR"), GEDTag("EDUC"),
    GEDTag("EMIG"), GEDTag("ENGA"), GEDTag("EVEN"), GEDTag("FCOM"), GEDTag("GRAD"), GEDTag("IMMI"), GEDTag("MARB"),
    GEDTag("MARC"), GEDTag("MARS"), GEDTag("NATI"), GEDTag("NATU"), GEDTag("NCHI"), GEDTag("OCCU"), GEDTag("ORDN"),
    GEDTag("PROB"), GEDTag("PROP"), GEDTag("RELI"), GEDTag("RESI"), GEDTag("RETI"), GEDTag("TITL"), GEDTag("WILL")};
} // namespace

bool WGEDIndividual::IsOtherEventTag(const WGEDTextMMF& file, const char* line) {
    if (file.Tag3Is(line, "SSN")) return true;
    std::uint32_t tag = file.TagWord(line);
    for (std::uint32_t t : kOtherEventTags)
        if (t == tag) return true;
    return false;
}

void WGEDIndividual::FillEntry(const WGEDTextMMF& file, const char* record, WGEDIndIndex::Entry& e,
                               WGEDIndIndex::Positions& pos) {
    pos.fill(0);
    e.sex = 'U';
    e.flags = WGEDIndIndex::PositionsFilled;
    for (const char* line = file.NextLine(record); line && *line != '0'; line = file.NextLine(line)) {
        if (*line != '1') continue;
        std::uint32_t d = std::uint32_t(line - record);
        std::uint32_t tag = file.TagWord(line);
        switch (tag) {
        case GEDTags::NAME:
            if (!pos[WGEDIndIndex::PosName]) pos[WGEDIndIndex::PosName] = d;
            break;
        case GEDTags::BIRT: pos[WGEDIndIndex::PosBirt] = d; break;
        case GEDTags::DEAT: pos[WGEDIndIndex::PosDeat] = d; break;
        case GEDTags::BURI: pos[WGEDIndIndex::PosBuri] = d; break;
        case GEDTags::BAPL:
        case GEDTags::CONS: pos[WGEDIndIndex::PosBapl] = d; break;
        case GEDTags::ENDL: pos[WGEDIndIndex::PosEndl] = d; break;
        case GEDTags::SLGC: pos[WGEDIndIndex::PosSlgc] = d; break;
        case GEDTags::CHAN: pos[WGEDIndIndex::PosChan] = d; break;
        case GEDTags::NOTE:
            if (pos[WGEDIndIndex::PosNote]) {
                e.flags |= WGEDIndIndex::SeveralNotes;
            } else {
                e.flags &= std::uint8_t(~WGEDIndIndex::SeveralNotes);
                pos[WGEDIndIndex::PosNote] = d;
            }
            break;
        default:
            if (WGEDTextMMF::Tag3Is(tag, "AFN", true, false)) {
                pos[WGEDIndIndex::PosAFN] = std::uint32_t(file.At(line, 6) - record);
            } else if (WGEDTextMMF::Tag3Is(tag, "SEX", true, false)) {
                // The code is the first byte of the value, however many blanks come before it.
                const char* v = file.At(line, 6);
                while (v < file.End() && WGEDTextMMF::IsBlank(*v)) ++v;
                if (v < file.End() && !WTextMMF::IsLineEnd(*v)) e.sex = std::uint8_t(*v);
            } else if (WGEDTextMMF::Tag3Is(tag, "CHR")) {
                pos[WGEDIndIndex::PosChr] = d;
            }
            break;
        }
    }
}

WGEDIndividual::WGEDIndividual(WGEDCollection& collection, std::int32_t n)
    : WABSIndividual(n), m_collection(collection), m_file(collection.File()) {
    SetRecNo(n);
}

WGEDIndividual::~WGEDIndividual() = default;

void WGEDIndividual::Clear() {
    if (m_entry) {
        // The side-table slot stays; the next fill writes it again.
        m_entry->sex = 'U';
        m_entry->flags = 0;
        m_collection.IndIndex()->PositionsOf(*m_entry).fill(0);
    }
    WABSIndividual::Clear();
}

void WGEDIndividual::SetRecNo(std::int32_t n) {
    if (n == 0) {
        m_record = nullptr;
        m_entry = nullptr;
        m_positions = nullptr;
        return;
    }
    m_recNo = n;
    m_links = m_collection.IndLinks();
    m_changeDate.reset();
    m_linesLoaded = false;
    m_citations.clear();
    m_otherEvents.clear();
    m_record = m_collection.RecordPointer(WGEDCollection::KindIndividual, n);
    if (!m_file.Contains(m_record)) throw EMemoryError("Error getting pointer to individual " + std::to_string(n));
    m_entry = &m_collection.IndividualEntry(n);
    m_positions = m_collection.IndIndex()->FindPositions(*m_entry);
}

const char* WGEDIndividual::lineAt(int pos) const {
    if (!m_positions || !m_record) return nullptr;
    std::uint32_t d = (*m_positions)[std::size_t(pos)];
    return d ? m_record + d : nullptr;
}

std::string WGEDIndividual::GetXRef() const {
    if (!m_record) return {};
    auto x = m_file.GetXREF(m_file.At(m_record, 2), true);
    return x ? std::string(*x) : std::string();
}

std::string WGEDIndividual::GetRefN() const {
    if (!m_record) return {};
    for (const char* line = m_file.NextLine(m_record); line && *line != '0'; line = m_file.NextLine(line))
        if (*line == '1' && m_file.TagWord(line) == GEDTags::REFN) return m_file.GetValue(m_file.At(line, 7));
    return {};
}

std::string WGEDIndividual::GetAFN() const {
    const char* p = lineAt(WGEDIndIndex::PosAFN);
    return p ? m_file.GetValue(p) : std::string();
}

char WGEDIndividual::GetSex() const { return m_entry ? char(m_entry->sex) : 'U'; }

const WDate* WGEDIndividual::GetChangeDate() const {
    if (m_changeDate) return m_changeDate.get();
    const char* chan = lineAt(WGEDIndIndex::PosChan);
    if (!chan) return nullptr;
    int level = m_file.GetLevel(chan);
    for (const char* line = m_file.NextLine(chan); line && m_file.GetLevel(line) > level; line = m_file.NextLine(line))
        if (m_file.TagWord(line) == GEDTags::DATE) {
            m_changeDate = m_collection.MakeDate(m_file.ValueView(m_file.At(line, 7)));
            break;
        }
    return m_changeDate.get();
}

std::unique_ptr<WABSName> WGEDIndividual::GetName() const {
    const char* line = lineAt(WGEDIndIndex::PosName);
    if (!line) return nullptr;
    return std::make_unique<WGEDName>(m_collection, line, m_file);
}

void WGEDIndividual::collectLines() const {
    if (m_linesLoaded || !m_record) return;
    m_linesLoaded = true;
    for (const char* line = m_file.NextLine(m_record); line && *line != '0'; line = m_file.NextLine(line)) {
        if (*line != '1') continue;
        if (m_file.TagWord(line) == GEDTags::SOUR) {
            if (m_citations.size() < MaxCitations) m_citations.push_back(line);
        } else if (IsOtherEventTag(m_file, line) && m_otherEvents.size() < MaxOtherEvents) {
            m_otherEvents.push_back(line);
        }
    }
}

namespace {
int vitalPosition(std::int32_t kind) {
    switch (kind) {
    case EventKind::Birth: return WGEDIndIndex::PosBirt;
    case EventKind::Death: return WGEDIndIndex::PosDeat;
    case EventKind::Christening: return WGEDIndIndex::PosChr;
    case EventKind::Burial: return WGEDIndIndex::PosBuri;
    default: return -1;
    }
}
} // namespace

std::int32_t WGEDIndividual::GetEventCount(std::int32_t kind) const {
    int pos = vitalPosition(kind);
    if (pos >= 0) return lineAt(pos) ? 1 : 0;
    if (kind == EventKind::Other) {
        collectLines();
        return std::int32_t(m_otherEvents.size());
    }
    return 0;
}

std::unique_ptr<WABSVitEvent> WGEDIndividual::GetEvent(std::int32_t kind, std::int32_t index) const {
    int pos = vitalPosition(kind);
    const char* line = nullptr;
    if (pos >= 0) {
        line = lineAt(pos);
    } else if (kind == EventKind::Other) {
        collectLines();
        if (index >= 1 && index <= std::int32_t(m_otherEvents.size())) line = m_otherEvents[std::size_t(index - 1)];
    }
    if (!line) return nullptr;
    return std::make_unique<WGEDVitEvent>(m_collection, line, m_file);
}

std::unique_ptr<WABSLDSEvent> WGEDIndividual::GetLDSEvent(std::int32_t kind) const {
    int pos = kind == EventKind::LDSBaptism       ? WGEDIndIndex::PosBapl
              : kind == EventKind::LDSEndowment   ? WGEDIndIndex::PosEndl
              : kind == EventKind::LDSSealParents ? WGEDIndIndex::PosSlgc
                                                  : -1;
    const char* line = pos >= 0 ? lineAt(pos) : nullptr;
    if (!line) return nullptr;
    return std::make_unique<WGEDLDSEvent>(m_collection, line, m_file);
}

std::int32_t WGEDIndividual::GetParentFamilyCount() const {
    return m_links ? m_links->GetParentFamilyCount(m_recNo) : 0;
}

std::int32_t WGEDIndividual::GetParentFamily(std::int32_t i) const {
    return m_links ? m_links->GetParentFamily(m_recNo, i) : 0;
}

void WGEDIndividual::GetParentFamilyEx(std::int32_t i, std::int32_t& family, std::int32_t& motherLink,
                                       std::int32_t& fatherLink) const {
    family = GetParentFamily(i);
    motherLink = 7;
    fatherLink = 1;
}

std::int32_t WGEDIndividual::GetSpouseFamilyCount() const {
    return m_links ? m_links->GetSpouseFamilyCount(m_recNo) : 0;
}

std::int32_t WGEDIndividual::GetSpouseFamily(std::int32_t i) const {
    return m_links ? m_links->GetSpouseFamily(m_recNo, i) : 0;
}

std::int32_t WGEDIndividual::GetCitationCount() const {
    collectLines();
    return std::int32_t(m_citations.size());
}

std::unique_ptr<WABSCitation> WGEDIndividual::GetCitation(std::int32_t i) const {
    collectLines();
    if (i < 1 || i > std::int32_t(m_citations.size())) return nullptr;
    return std::make_unique<WGEDCitation>(m_collection, m_citations[std::size_t(i - 1)], m_file);
}

std::unique_ptr<WABSNote> WGEDIndividual::GetNote() const {
    const char* first = lineAt(WGEDIndIndex::PosNote);
    if (!first) return nullptr;
    std::unique_ptr<WABSNote> note = GedFunctions::GetNote(m_collection, m_file, first);
    if (!note || !(m_entry->flags & WGEDIndIndex::SeveralNotes)) return note;
    for (const char* line = m_file.NextLine(first); line && *line != '0'; line = m_file.NextLine(line)) {
        if (*line != '1' || m_file.TagWord(line) != GEDTags::NOTE) continue;
        if (std::unique_ptr<WABSNote> more = GedFunctions::GetNote(m_collection, m_file, line))
            note->AddText(more->GetText("\r\n"));
    }
    return note;
}

std::string WGEDIndividual::GetRecordText() const {
    if (!m_record) return {};
    std::string_view raw = m_file.RecordView(m_record);
    if (!m_file.IsLFOnly()) return m_collection.ConvertText(raw);
    std::string s;
    s.reserve(raw.size() + raw.size() / 16);
    for (char c : raw) {
        if (c == '\n')
            s += "\r\n";
        else
            s.push_back(c);
    }
    return m_collection.ConvertText(s);
}
