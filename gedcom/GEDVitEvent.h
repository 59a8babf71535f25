#pragma once
// A vital or other event of an individual: its line and sub-lines.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ABSEvent.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDVitEvent : public WABSVitEvent {
public:
    static constexpr int MaxCitations = 99;

    WGEDVitEvent(WGEDCollection& collection, const char* eventLine, const WGEDTextMMF& file);

    // Type code and name of an event tag (the line's tag word).
    static std::int32_t KindOfTag(const WGEDTextMMF& file, const char* line, std::string& name);

    void Load() override;
    // The event's own value, then ", " and the cause.
    std::string GetDescription() const override;
    std::unique_ptr<WABSPlace> GetPlace() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    bool HasNote() const override;
    std::unique_ptr<WABSNote> GetNote() const override;

private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_line;
    const char* m_dateLine = nullptr;
    const char* m_placeLine = nullptr;
    const char* m_addrLine = nullptr;
    const char* m_causeLine = nullptr;
    const char* m_noteLine = nullptr;
    std::vector<const char*> m_sources;
};
