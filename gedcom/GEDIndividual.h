#pragma once
// An individual record, read on request from the mapped text. The positions
// of its main lines, its sex and flags live in the collection's individual
// index, filled the first time any object reads the individual.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gedcom/GEDIndIndex.h"
#include "model/ABSIndividual.h"

class WGEDCollection;
class WGEDTextMMF;
class WIndLinks;

class WGEDIndividual : public WABSIndividual {
public:
    static constexpr int MaxCitations = 99;
    static constexpr int MaxOtherEvents = 999;

    // Binds the object to individual n (SetRecNo).
    WGEDIndividual(WGEDCollection& collection, std::int32_t n);
    ~WGEDIndividual() override;

    // Fills an index entry and its positions from the record's level-1 lines.
    static void FillEntry(const WGEDTextMMF& file, const char* record, WGEDIndIndex::Entry& entry,
                          WGEDIndIndex::Positions& positions);
    // The tag of a level-1 line is one of the other events.
    static bool IsOtherEventTag(const WGEDTextMMF& file, const char* line);

    // Resets the index entry so the next use fills it again.
    void Clear() override;
    void Refresh() override {}
    void SetRecNo(std::int32_t n) override;
    std::string GetXRef() const override;
    std::string GetRefN() const override;
    std::string GetAFN() const override;
    char GetSex() const override;
    const WDate* GetCreateDate() const override { return nullptr; }
    const WDate* GetChangeDate() const override;
    std::unique_ptr<WABSName> GetName() const override;
    std::int32_t GetEventCount(std::int32_t kind) const override;
    std::unique_ptr<WABSVitEvent> GetEvent(std::int32_t kind, std::int32_t index) const override;
    std::unique_ptr<WABSLDSEvent> GetLDSEvent(std::int32_t kind) const override;
    std::int32_t GetParentFamilyCount() const override;
    std::int32_t GetParentFamily(std::int32_t i) const override;
    void GetParentFamilyEx(std::int32_t i, std::int32_t& family, std::int32_t& motherLink,
                           std::int32_t& fatherLink) const override;
    std::int32_t GetSpouseFamilyCount() const override;
    std::int32_t GetSpouseFamily(std::int32_t i) const override;
    bool HasNoParentFamily() const override { return GetParentFamilyCount() == 0; }
    bool HasNoSpouseFamily() const override { return GetSpouseFamilyCount() == 0; }
    std::int32_t GetCitationCount() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    // The first note, with the texts of the record's further NOTE lines added.
    std::unique_ptr<WABSNote> GetNote() const override;
    std::string GetRecordText() const override;

    const char* Record() const { return m_record; }

private:
    // The line at a cached position, null when absent.
    const char* lineAt(int pos) const;
    void collectLines() const;

    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_record = nullptr;
    WGEDIndIndex::Entry* m_entry = nullptr;
    const WGEDIndIndex::Positions* m_positions = nullptr;
    WIndLinks* m_links = nullptr;
    mutable std::unique_ptr<WDate> m_changeDate;
    mutable bool m_linesLoaded = false;
    mutable std::vector<const char*> m_citations;
    mutable std::vector<const char*> m_otherEvents;
};
