#pragma once
// A source: a SOUR record, or a source written inline on a SOUR line.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSSource.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDSource : public WABSSource {
public:
    // Field numbers (1-based as in the record's layout).
    enum Field : int { Repo = 1, Title, Author, Publication, Abbreviation, CallNumber, Note, Text, FieldCount = 8 };

    // The source record at offset.
    WGEDSource(WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file);
    // A source written on a SOUR line: its value is the title.
    static std::unique_ptr<WGEDSource> CreateInline(WGEDCollection& collection, const char* sourceLine,
                                                    const WGEDTextMMF& file);

    std::unique_ptr<WABSRepo> GetRepo() const override;
    // Record number of the repository the REPO pointer names, 0 when none.
    std::int32_t GetRepoNumber() const;
    std::string GetAuthor() const override { return field(Author); }
    std::string GetTitle() const override { return field(Title); }
    std::string GetPublication() const override { return field(Publication); }
    std::string GetCallNumber() const override { return field(CallNumber); }
    std::string GetAbbreviation() const override { return field(Abbreviation); }
    std::unique_ptr<WABSNote> GetNote() const override;
    std::unique_ptr<WABSNote> GetText() const override;
    // Empty for an inline source.
    std::string GetRecordText() const override;
    bool HasNote() const override { return m_fields[Note] != nullptr; }
    bool HasText() const override { return m_fields[Text] != nullptr; }
    bool HasRepo() const override { return m_fields[Repo] != nullptr; }

    bool IsInline() const { return m_record == nullptr; }

private:
    WGEDSource(WGEDCollection& collection, const WGEDTextMMF& file);
    std::string field(int i) const;

    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_record = nullptr;     // null for an inline source
    const char* m_sourceLine = nullptr; // the SOUR line of an inline source
    // Value pointers (repository to call number), the NOTE and TEXT lines.
    std::array<const char*, FieldCount + 1> m_fields{};
    mutable std::array<std::string, FieldCount + 1> m_texts;
    mutable std::array<bool, FieldCount + 1> m_done{};
};
