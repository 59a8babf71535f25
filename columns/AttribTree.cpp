#include "columns/AttribTree.h"

#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"
#include "model/RelCalc.h"
#include "model/WaitHooks.h"

#include <charconv>
#include <cmath>

// TRANSITIONAL: the collection's island and depth operations are being added;
// until they are, these read as 0.
namespace {
template <class Coll>
std::int32_t numAncestors(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetNumAncestors(i); }) return c.GetNumAncestors(i); else return 0;
}
template <class Coll>
std::int32_t numDescendants(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetNumDescendants(i); }) return c.GetNumDescendants(i); else return 0;
}
template <class Coll>
std::int32_t ancestorGenerations(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetAncestorGenerations(i); }) return c.GetAncestorGenerations(i); else return 0;
}
template <class Coll>
std::int32_t descendantGenerations(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetDescendantGenerations(i); }) return c.GetDescendantGenerations(i); else return 0;
}
template <class Coll>
long double avgAncestorGenerations(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetAvgAncestorGenerations(i); }) return c.GetAvgAncestorGenerations(i); else return 0;
}
template <class Coll>
long double avgDescendantGenerations(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetAvgDescendantGenerations(i); }) return c.GetAvgDescendantGenerations(i); else return 0;
}
template <class Coll>
std::int32_t islandCount(Coll& c) {
    if constexpr (requires { c.GetIslandCount(); }) return c.GetIslandCount(); else return 0;
}
template <class Coll>
std::int32_t islandOf(Coll& c, std::int32_t i) {
    if constexpr (requires { c.GetIslandOfIndividual(i); }) return c.GetIslandOfIndividual(i); else return 0;
}
} // namespace

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
    return m_variant == ColVariant::Generations ? ancestorGenerations(*m_collection, row)
                                                : numAncestors(*m_collection, row);
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
    return m_variant == ColVariant::Generations ? descendantGenerations(*m_collection, row)
                                                : numDescendants(*m_collection, row);
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
    return m_variant == ColVariant::Descendants ? avgDescendantGenerations(*m_collection, row)
                                                : avgAncestorGenerations(*m_collection, row);
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
    islandCount(*m_collection);
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
    return exists(row) ? islandOf(*m_collection, row) : 0;
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
