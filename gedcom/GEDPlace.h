#pragma once
// The place of an event: a PLAC line (or an ordinance's TEMP line).
#include <string>
#include <vector>

#include "model/ABSPlace.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDPlace : public WABSPlace {
public:
    static constexpr int MaxCitations = 99;

    // A null line gives a place without a name.
    WGEDPlace(WGEDCollection& collection, const char* placeLine, const WGEDTextMMF& file);

    std::string GetName() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    std::unique_ptr<WABSNote> GetNote() const override;

private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_value;
    const char* m_note = nullptr;
    std::vector<const char*> m_sources;
};
