#include "columns/AttribEvent.h"

#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"
#include "model/Options.h"

namespace {

std::string bracketed(const std::string& text) { return text.empty() ? text : "[" + text + "]"; }

} // namespace

// ---------------------------------------------------------------- dates

WAttribDate::WAttribDate(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

std::unique_ptr<WAttrib> WAttribDate::CloneForThread() const {
    auto copy = std::make_unique<WAttribDate>(m_columnId, m_collection);
    copy->SetReferencePerson(m_referencePerson);
    return copy;
}

void WAttribDate::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    switch (m_variant) {
    case ColVariant::Birth:
    case ColVariant::Death:
    case ColVariant::Christening:
    case ColVariant::Burial: s = ind->GetEventDateText(m_variant, 1); break;
    case ColVariant::Marriage: {
        auto fam = m_collection->GetMarriage(AttribText::SpouseFamilyAt(*ind, family));
        if (fam) s = fam->GetDateText();
        break;
    }
    case ColVariant::Created:
        if (const WDate* d = ind->GetCreateDate()) s = d->GetText();
        break;
    case ColVariant::Changed:
        if (const WDate* d = ind->GetChangeDate()) s = d->GetText();
        break;
    case ColVariant::BirthOrChr:
        s = ind->GetEventDateText(EventKind::Birth, 1);
        if (s.empty()) s = bracketed(ind->GetEventDateText(EventKind::Christening, 1));
        break;
    case ColVariant::DeathOrBurial:
        s = ind->GetEventDateText(EventKind::Death, 1);
        if (s.empty()) s = bracketed(ind->GetEventDateText(EventKind::Burial, 1));
        break;
    default: break;
    }
}

void WAttribDate::GetSortText(std::int32_t row, std::string& s) {
    GetText(row, 1, s);
    if ((m_variant == ColVariant::BirthOrChr || m_variant == ColVariant::DeathOrBurial) && !s.empty() &&
        s.front() == '[') {
        s = s.size() >= 2 ? s.substr(1, s.size() - 2) : std::string();
    }
}

// ---------------------------------------------------------------- places

WAttribPlace::WAttribPlace(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribPlace::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    switch (m_variant) {
    case ColVariant::Birth:
    case ColVariant::Death:
    case ColVariant::Christening:
    case ColVariant::Burial: s = ind->GetEventPlaceText(m_variant, 1); break;
    case ColVariant::Marriage: {
        auto fam = m_collection->GetMarriage(AttribText::SpouseFamilyAt(*ind, family));
        if (fam) s = fam->GetPlace();
        break;
    }
    case ColVariant::BirthOrChr:
        s = ind->GetEventPlaceText(EventKind::Birth, 1);
        if (s.empty()) s = bracketed(ind->GetEventPlaceText(EventKind::Christening, 1));
        break;
    case ColVariant::DeathOrBurial:
        s = ind->GetEventPlaceText(EventKind::Death, 1);
        if (s.empty()) s = bracketed(ind->GetEventPlaceText(EventKind::Burial, 1));
        break;
    default: break;
    }
}

// ---------------------------------------------------------------- ages

WAttribAge::WAttribAge(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_variant(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

std::unique_ptr<WAttrib> WAttribAge::CloneForThread() const {
    auto copy = std::make_unique<WAttribAge>(m_columnId, m_collection);
    copy->SetReferencePerson(m_referencePerson);
    return copy;
}

void WAttribAge::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    if (m_variant == ColVariant::Lifetime) {
        s = ind->GetAgeText();
        return;
    }

    // The base date: birth, else (when asked) christening, which makes the
    // result an estimate. The events own their dates, so they stay alive here.
    bool estimated = false;
    std::unique_ptr<WABSVitEvent> baseEvent = ind->GetEvent(EventKind::Birth, 1);
    const WDate* base = baseEvent ? baseEvent->GetDate() : nullptr;
    if (!base && WOptions::GetBool(opt::AgeCalcCB)) {
        baseEvent = ind->GetEvent(EventKind::Christening, 1);
        base = baseEvent ? baseEvent->GetDate() : nullptr;
        estimated = base != nullptr;
    }
    if (!base) return;

    const WDate* other = nullptr;
    std::unique_ptr<WABSMarriage> fam;
    std::unique_ptr<WABSIndividual> parent;
    std::unique_ptr<WABSVitEvent> parentBirth;
    switch (m_variant) {
    case ColVariant::AtMarriage:
        fam = m_collection->GetMarriage(AttribText::SpouseFamilyAt(*ind, family));
        if (fam) other = fam->GetDate();
        break;
    case ColVariant::FatherAtBirth:
    case ColVariant::MotherAtBirth: {
        std::int32_t p =
            m_variant == ColVariant::FatherAtBirth ? m_collection->GetFather(row) : m_collection->GetMother(row);
        parent = m_collection->GetIndividual(p);
        if (parent) parentBirth = parent->GetEvent(EventKind::Birth, 1);
        if (parentBirth) other = parentBirth->GetDate();
        break;
    }
    default: return;
    }
    if (!other || !base->IsValid() || !other->IsValid()) return;
    // Dates that cannot be read word by word have no distance: no age, not "~0".
    if (!m_diff.Calc(base, other)) return;
    if (m_diff.GetYears() >= kMaxYears) return;
    s = m_diff.GetYearsText();
    if (estimated) s = "[" + s + "]";
}

// ---------------------------------------------------------------- LDS

WAttribLDS::WAttribLDS(std::int32_t id, WABSCollection* collection) : WAttrib(collection) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
    m_tabStops = {8, 16, 24};
}

void WAttribLDS::GetText(std::int32_t row, std::int32_t, std::string& s) {
    s.clear();
    auto ind = individual(row);
    if (!ind) return;
    s += ind->HasLDSEvent(EventKind::LDSBaptism) ? 'B' : '-';
    s += '\t';
    s += ind->HasLDSEvent(EventKind::LDSEndowment) ? 'E' : '-';
    s += '\t';
    s += ind->HasLDSEvent(EventKind::LDSSealParents) ? 'P' : '-';
    s += '\t';
    s += m_collection->HasSpouseSealing(row, 0) ? 'S' : '-';
}

WAttribLDSDate::WAttribLDSDate(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_kind(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribLDSDate::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    if (m_kind == EventKind::LDSSealSpouse) {
        if (!exists(row)) return;
        s = m_collection->GetFamilyEventDate(row, family < 1 ? 1 : family, m_kind);
        return;
    }
    auto ind = individual(row);
    if (ind) s = ind->GetLDSEventDateText(m_kind);
}

void WAttribLDSDate::GetSortText(std::int32_t row, std::string& s) { GetText(row, 1, s); }

WAttribLDSTemple::WAttribLDSTemple(std::int32_t id, WABSCollection* collection)
    : WAttrib(collection), m_kind(ColumnTable::VariantOf(id)) {
    m_columnId = id;
    m_sortKind = ColumnTable::SortKindOf(id);
}

void WAttribLDSTemple::GetText(std::int32_t row, std::int32_t family, std::string& s) {
    s.clear();
    if (m_kind == EventKind::LDSSealSpouse) {
        if (!exists(row)) return;
        s = m_collection->GetFamilyEventPlace(row, family < 1 ? 1 : family, false, m_kind);
        return;
    }
    auto ind = individual(row);
    if (ind) s = ind->GetLDSEventText(m_kind, false);
}
