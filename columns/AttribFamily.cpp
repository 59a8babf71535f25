#include "columns/AttribFamily.h"

#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"

// ---------------------------------------------------------------- related person

WAttribFMS::WAttribFMS(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribFMS::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    if (!exists(row)) return;
    std::int32_t person = 0;
    std::int32_t kind = 0;
    const char* prefix = "";
    switch (m_variant & ~ColVariant::LastFirst) {
    case ColVariant::ParentOrSpouse:
        person = m_collection->GetFatherMotherOrSpouse(row, kind, family);
        if (kind == 2) prefix = "(M)-";
        if (kind == 3) prefix = "(S)-";
        break;
    case ColVariant::Father: person = m_collection->GetFather(row); break;
    case ColVariant::Mother: person = m_collection->GetMother(row); break;
    case ColVariant::Spouse: person = m_collection->GetSpouse(row, family < 1 ? 1 : family); break;
    case ColVariant::SpouseOrParent:
        person = m_collection->GetSpouseFatherOrMother(row, kind, family);
        if (kind == 1) prefix = "(F)-";
        if (kind == 2) prefix = "(M)-";
        break;
    default: return;
    }
    auto who = individual(person);
    if (!who) return;
    s = prefix;
    if (m_variant & ColVariant::LastFirst)
        s += who->GetSurnameText() + ", " + who->GetGivenText();
    else
        s += who->GetFullName(true);
}

// ---------------------------------------------------------------- counts

WAttribNumMarriages::WAttribNumMarriages(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNumMarriages::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribNumMarriages::GetInteger(std::int32_t row) {
    return exists(row) ? m_collection->LinkSpouseFamilyCount(row) : 0;
}

WAttribNumParents::WAttribNumParents(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNumParents::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribNumParents::GetInteger(std::int32_t row) {
    return exists(row) ? m_collection->GetParentCount(row) : 0;
}

WAttribNumChildren::WAttribNumChildren(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNumChildren::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribNumChildren::GetInteger(std::int32_t row) {
    return exists(row) ? m_collection->GetChildCount(row) : 0;
}
