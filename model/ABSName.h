#pragma once
// A personal name.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSCitation.h"
#include "model/ABSNote.h"

class WABSName {
public:
    virtual ~WABSName() = default;

    virtual std::string GetSurname() const = 0;
    virtual std::string GetGiven() const = 0;
    virtual std::string GetPrefix() const = 0;
    virtual std::string GetSuffix() const = 0;
    virtual std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;

    std::int32_t GetCitationCount() const { return m_citationCount; }
    // The surname, upper-cased when NameUpper is on.
    std::string GetSurnameText() const;
    // [prefix] given /surname/ [suffix], by PreSuf and NameSlash.
    std::string GetFullName(bool withPrefixSuffix) const;
    // The same with each part's blanks squashed, as a name key takes it: a
    // surname written "/ Bartram/" sorts and is found as "Bartram".
    std::string GetFullNameKeyText(bool withPrefixSuffix) const;
    // "Surname, Given" as the keys of a name take it, each part's blanks squashed.
    static std::string SurnameGivenKeyText(std::string surname, std::string given);
    std::string GetSurnameGivenKeyText() const { return SurnameGivenKeyText(GetSurnameText(), GetGiven()); }
    std::string GetCitationsText() const;
    std::string GetNoteText() const;

protected:
    std::int32_t m_citationCount = 0;

private:
    std::string fullName(bool withPrefixSuffix, bool squashed) const;
};
