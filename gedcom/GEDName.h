#pragma once
// A NAME line: given names, surname between slashes, prefix and suffix.
#include <string>
#include <vector>

#include "model/ABSName.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDName : public WABSName {
public:
    static constexpr int MaxCitations = 99;

    WGEDName(WGEDCollection& collection, const char* nameLine, const WGEDTextMMF& file);

    // The text between the first two slashes (to the line end without a second one).
    std::string GetSurname() const override;
    // The text before the first slash; for "/Surname/ Given" the text after the second.
    std::string GetGiven() const override;
    std::string GetPrefix() const override;
    // NSFX, else the text after the second slash, untrimmed; only NSFX when
    // the surname comes first.
    std::string GetSuffix() const override;
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override;
    std::unique_ptr<WABSNote> GetNote() const override;

private:
    std::string_view value() const;
    // The value begins with the surname ("/Smith/ John").
    bool surnameFirst() const;

    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_value;
    const char* m_givn = nullptr;
    const char* m_surn = nullptr;
    const char* m_npfx = nullptr;
    const char* m_nsfx = nullptr;
    const char* m_note = nullptr;
    std::vector<const char*> m_sources;
    mutable bool m_prefixDone = false, m_suffixDone = false;
    mutable std::string m_prefix, m_suffix;
};
