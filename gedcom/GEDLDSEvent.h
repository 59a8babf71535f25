#pragma once
// An LDS ordinance of an individual or a family: its line and sub-lines.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ABSEvent.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDLDSEvent : public WABSLDSEvent {
public:
    static constexpr int MaxCitations = 99;

    WGEDLDSEvent(WGEDCollection& collection, const char* ordinanceLine, const WGEDTextMMF& file);

    // The date from DATE, else the status text, else the qualifier text.
    void Load() override;
    // Over the PLAC or TEMP line (the later), or a place without a name.
    std::unique_ptr<WABSPlace> GetPlace() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    bool HasNote() const override;
    std::unique_ptr<WABSNote> GetNote() const override;

private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_dateLine = nullptr;
    const char* m_placeLine = nullptr;
    const char* m_addrLine = nullptr;
    const char* m_noteLine = nullptr;
    std::string m_status, m_qualifier, m_cause;
    std::vector<const char*> m_sources;
};
