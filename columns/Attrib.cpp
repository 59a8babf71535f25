#include "columns/Attrib.h"

#include "model/ABSCollection.h"
#include "model/ABSIndividual.h"

WAttrib::WAttrib(WABSCollection* collection) : m_collection(collection) {}

WAttrib::~WAttrib() = default;

void WAttrib::SetCollection(WABSCollection* collection) { m_collection = collection; }

std::int32_t WAttrib::GetInteger(std::int32_t) { return 0; }

long double WAttrib::GetFloat(std::int32_t) { return 0.0L; }

std::unique_ptr<WABSIndividual> WAttrib::individual(std::int32_t row) const {
    if (!m_collection || row < 1) return nullptr;
    return m_collection->GetIndividual(row);
}

bool WAttrib::exists(std::int32_t row) const { return m_collection && m_collection->IndividualExists(row); }

void WAttrib::GetSortText(std::int32_t, std::string& s) { s.clear(); }

namespace AttribText {

std::string Dec(std::int64_t value) { return std::to_string(value); }

std::int32_t SpouseFamilyAt(const WABSIndividual& individual, std::int32_t family) {
    if (individual.GetSpouseFamilyCount() <= 0) return 0;
    return individual.GetSpouseFamily(family < 1 ? 1 : family);
}

} // namespace AttribText
