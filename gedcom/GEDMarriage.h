#pragma once
// A family record, read on request from the mapped text; husband, wife and
// children come from the collection's family table.
#include <cstdint>
#include <vector>

#include "model/ABSMarriage.h"

class WFamLinks;
class WGEDCollection;
class WGEDTextMMF;

class WGEDMarriage : public WABSMarriage {
public:
    static constexpr int MaxCitations = 99;

    // EIndexError for a family number outside 1..count.
    WGEDMarriage(WGEDCollection& collection, std::int32_t n);

    // The date of the first MARR line: its DATE sub-line.
    void Load() override;
    std::int32_t GetHusband() const override;
    std::int32_t GetWife() const override;
    std::int32_t GetChild(std::int32_t i) const override;
    std::int32_t GetSpouseCount() const override;
    void SortChildren() override;
    bool HasLDSSealing() const override { return m_slgs != nullptr; }
    std::unique_ptr<WABSLDSEvent> GetLDSSealing(std::int32_t kind) const override;
    std::string GetPlace() const override;
    std::string GetRecordText() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    std::unique_ptr<WABSNote> GetNote() const override;

    const char* Record() const { return m_record; }

private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    WFamLinks* m_links;
    const char* m_record;
    const char* m_marr = nullptr;
    const char* m_note = nullptr;
    const char* m_slgs = nullptr;
    std::vector<const char*> m_sources;
};
