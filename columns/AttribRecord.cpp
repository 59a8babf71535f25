#include "columns/AttribRecord.h"

#include <charconv>

#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/StrFunc.h"

namespace {

// Whole text as a decimal integer (blanks before it allowed), else 0.
std::int32_t decimalOrZero(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    std::int32_t value = 0;
    auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last || first == last) return 0;
    return value;
}

} // namespace

// ---------------------------------------------------------------- index

WAttribIndex::WAttribIndex(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribIndex::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    s = AttribText::Dec(row);
}

std::int32_t WAttribIndex::GetInteger(std::int32_t row) { return row; }

// ---------------------------------------------------------------- identifiers

WAttribID::WAttribID(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
    applyFileKind();
}

std::int32_t WAttribID::SortKindForFileKind(int fileKind) {
    if (fileKind == 6) return SortKind::IdPair;
    if (fileKind != 1) return SortKind::Integer;
    return SortKind::Text;
}

void WAttribID::applyFileKind() {
    if (m_collection && m_variant == ColVariant::XRef) m_sortKind = SortKindForFileKind(m_collection->GetFileKind());
}

void WAttribID::SetCollection(WABSCollection* collection) {
    WAttrib::SetCollection(collection);
    applyFileKind();
}

void WAttribID::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    switch (m_variant) {
    case ColVariant::XRef: s = ind->GetXRef(); break;
    case ColVariant::AFN: s = ind->GetAFN(); break;
    case ColVariant::RefN: s = ind->GetRefN(); break;
    default: break;
    }
}

std::int32_t WAttribID::GetInteger(std::int32_t row) {
    auto ind = individual(row);
    return ind ? decimalOrZero(ind->GetXRef()) : 0;
}

// ---------------------------------------------------------------- names

WAttribName::WAttribName(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

std::unique_ptr<WAttrib> WAttribName::CloneForThread() const {
    auto copy = std::make_unique<WAttribName>(m_columnId, m_collection);
    copy->SetReferencePerson(m_referencePerson);
    return copy;
}

void WAttribName::GetText(std::int32_t row, std::int32_t, std::string& s) { nameText(row, false, s); }

void WAttribName::GetKeyText(std::int32_t row, std::string& s) { nameText(row, true, s); }

void WAttribName::nameText(std::int32_t row, bool forKey, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    auto name = ind->GetName();
    if (!name) return;
    switch (m_variant) {
    case ColVariant::Surname:
        s = name->GetSurnameText();
        if (forKey) StrFunc::SquashBlanksIn(s);
        break;
    case ColVariant::Given:
        s = name->GetGiven();
        if (forKey) StrFunc::SquashBlanksIn(s);
        break;
    case ColVariant::FullName: s = forKey ? name->GetFullNameKeyText(true) : name->GetFullName(true); break;
    case ColVariant::SurnameGiven:
        if (forKey) {
            s = name->GetSurnameGivenKeyText();
            break;
        }
        s = name->GetSurnameText();
        s += ", ";
        s += name->GetGiven();
        break;
    case ColVariant::SurnameSoundex: s = Global::Soundex(name->GetSurnameText()); break;
    case ColVariant::GivenSoundex: {
        // The first blank-separated word of the given names.
        std::string given = name->GetGiven();
        std::size_t b = given.find_first_not_of(' ');
        if (b == std::string::npos) break;
        std::size_t e = given.find(' ', b);
        s = Global::Soundex(given.substr(b, e == std::string::npos ? std::string::npos : e - b));
        break;
    }
    default: break;
    }
}

// ---------------------------------------------------------------- note, sex

WAttribNote::WAttribNote(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNote::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    if (auto note = ind->GetNote()) s = note->GetText(" ");
}

WAttribSex::WAttribSex(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribSex::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    char sex = ind->GetSex();
    if (sex != '\0') s.assign(1, sex);
}

// ---------------------------------------------------------------- has ...

WAttribHas::WAttribHas(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribHas::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (!exists(row)) return;
    bool has = false;
    switch (m_variant) {
    case ColVariant::HasNote: has = m_collection->HasNote(row); break;
    case ColVariant::HasSource: has = m_collection->HasSource(row); break;
    case ColVariant::HasEvents: {
        auto ind = individual(row);
        if (!ind) return;
        has = ind->GetEventCount(6) > 0;
        break;
    }
    default: return;
    }
    s = has ? "Yes" : "No";
}

// ---------------------------------------------------------------- alive

WAttribALive::WAttribALive(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribALive::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (!m_collection) {
        s = "No";
        return;
    }
    auto ind = individual(row);
    if (!ind) return;
    s = ind->IsPossiblyLiving(kLivingYears) ? "Yes" : "No";
}
