#include "columns/AttribTree.h"

#include <charconv>
#include <cmath>

#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"
#include "model/RelCalc.h"
#include "model/WaitHooks.h"

// ---------------------------------------------------------------- counts and depths

WAttribNumAnc::WAttribNumAnc(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNumAnc::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribNumAnc::GetInteger(std::int32_t row) {
    if (!exists(row)) return 0;
    return m_variant == ColVariant::Generations ? m_collection->GetAncestorGenerations(row)
                                                : m_collection->GetNumAncestors(row);
}

WAttribNumDes::WAttribNumDes(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribNumDes::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribNumDes::GetInteger(std::int32_t row) {
    if (!exists(row)) return 0;
    return m_variant == ColVariant::Generations ? m_collection->GetDescendantGenerations(row)
                                                : m_collection->GetNumDescendants(row);
}

// ---------------------------------------------------------------- averages

WAttribAvgGens::WAttribAvgGens(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

std::string WAttribAvgGens::FormatAverage(long double value) {
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 2);
    if (ec != std::errc()) return {};
    return std::string(buf, end);
}

void WAttribAvgGens::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (exists(row)) s = FormatAverage(GetFloat(row));
}

long double WAttribAvgGens::GetFloat(std::int32_t row) {
    if (!exists(row)) return 0.0L;
    return m_variant == ColVariant::Descendants ? m_collection->GetAvgDescendantGenerations(row)
                                                : m_collection->GetAvgAncestorGenerations(row);
}

// ---------------------------------------------------------------- island

WAttribIsland::WAttribIsland(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribIsland::SetCollection(WABSCollection* collection) {
    WAttrib::SetCollection(collection);
    if (!m_collection) return;
    WaitHooks::WaitScope wait("Calculating Islands.  Please Wait...");
    m_collection->GetIslandCount();
}

void WAttribIsland::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (!m_collection) {
        s.assign(1, '0');
        return;
    }
    if (exists(row)) s = AttribText::Dec(GetInteger(row));
}

std::int32_t WAttribIsland::GetInteger(std::int32_t row) {
    return exists(row) ? m_collection->GetIslandOfIndividual(row) : 0;
}

// ---------------------------------------------------------------- relationship

WAttribRelation::WAttribRelation(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)), m_relCalc(std::make_unique<WRelCalc>(collection)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

WAttribRelation::~WAttribRelation() = default;

void WAttribRelation::SetCollection(WABSCollection* collection) {
    WAttrib::SetCollection(collection);
    m_relCalc = std::make_unique<WRelCalc>(collection);
}

void WAttribRelation::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    if (!exists(row)) return;
    m_relCalc->GetRelationship(m_referencePerson, row, s);
    if (m_variant == ColVariant::Term) return;
    m_relCalc->GetCommonAncestorName(m_referencePerson, row, s, m_variant == ColVariant::CommonAncestor);
}
