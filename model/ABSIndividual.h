#pragma once
// An individual as the views see it. The back end reads the file; the texts,
// ages and tests composed from those reads are implemented here once.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSCitation.h"
#include "model/ABSCollectionItem.h"
#include "model/ABSEvent.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"
#include "model/Date.h"
#include "model/DateDiff.h"

// A link between two individuals beyond the family links (the island walk
// follows it). No back end supplies any yet.
struct WExtraLink {
    std::int32_t Individual1 = 0;
    std::int32_t Individual2 = 0;
};

class WABSIndividual : public WABSCollectionItem {
public:
    explicit WABSIndividual(std::int32_t recNo) : WABSCollectionItem(recNo) {}
    // Does not call Refresh: a virtual call from a base destructor never
    // reaches the back end, so back ends release their caches in their own
    // destructors.
    ~WABSIndividual() override = default;

    // --- read from the file by the back end ---
    // Drops what the back end cached of the record.
    virtual void Clear() {}
    virtual void Refresh() = 0;
    // Binds the object to individual n.
    virtual void SetRecNo(std::int32_t n) = 0;
    virtual std::string GetXRef() const = 0;
    // The custom identifier (REFN).
    virtual std::string GetRefN() const = 0;
    virtual std::string GetAFN() const = 0;
    // 'M', 'F' or 'U'.
    virtual char GetSex() const = 0;
    // Dates owned by the record, or null.
    virtual const WDate* GetCreateDate() const = 0;
    virtual const WDate* GetChangeDate() const = 0;
    // The primary name, or none.
    virtual std::unique_ptr<WABSName> GetName() const = 0;
    // Kinds 1-4: one or zero; kind 6: the number of other events.
    virtual std::int32_t GetEventCount(std::int32_t kind) const = 0;
    virtual std::unique_ptr<WABSVitEvent> GetEvent(std::int32_t kind, std::int32_t index) const = 0;
    // Kinds 7-9.
    virtual std::unique_ptr<WABSLDSEvent> GetLDSEvent(std::int32_t kind) const = 0;
    virtual std::int32_t GetParentFamilyCount() const = 0;
    // Family number of the i-th family as child, 0 out of range.
    virtual std::int32_t GetParentFamily(std::int32_t i) const = 0;
    // As GetParentFamily, with the mother's and father's pedigree link codes.
    virtual void GetParentFamilyEx(std::int32_t i, std::int32_t& family, std::int32_t& motherLink,
                                   std::int32_t& fatherLink) const = 0;
    virtual std::int32_t GetSpouseFamilyCount() const = 0;
    // Family number of the i-th family as spouse, 0 out of range.
    virtual std::int32_t GetSpouseFamily(std::int32_t i) const = 0;
    virtual std::int32_t GetExtraLinkCount() const { return m_extraLinkCount; }
    virtual std::unique_ptr<WExtraLink> GetExtraLink(std::int32_t) const { return nullptr; }
    // No death or burial date; born or christened less than years ago.
    virtual bool IsPossiblyLiving(std::int32_t years) const;
    virtual bool HasNoParentFamily() const = 0;
    virtual bool HasNoSpouseFamily() const = 0;
    virtual std::int32_t GetCitationCount() const = 0;
    virtual std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;
    // The whole record as text.
    virtual std::string GetRecordText() const = 0;

    // --- composed here ---
    std::string GetGivenText() const;
    std::string GetSurnameText() const;
    std::string GetFullName(bool withPrefixSuffix) const;
    // Full name, then the identifier chosen by FNValue when FNValueFlag is on.
    std::string GetDisplayName() const;
    // Name, ", (b. date, place), (d. date, place)".
    std::string GetNameWithDates(bool withIdentifier) const;
    // "date, place"; empty without the event.
    std::string GetEventDateAndPlace(std::int32_t kind, std::int32_t index) const;
    std::string GetEventPlaceText(std::int32_t kind, std::int32_t index) const;
    std::string GetEventDateText(std::int32_t kind, std::int32_t index) const;
    bool HasEventDate(std::int32_t kind, std::int32_t index) const;
    // 0 without event or date.
    std::int32_t GetEventYear(std::int32_t kind, std::int32_t index) const;
    std::string GetEventQualifierLetter(std::int32_t kind, std::int32_t index) const;
    bool HasLDSEvent(std::int32_t kind) const;
    std::string GetLDSEventDateText(std::int32_t kind) const;
    // Place of the ordinance; "Live" when checkTemple and no temple is named.
    std::string GetLDSEventText(std::int32_t kind, bool checkTemple) const;
    std::string GetChangeDateText() const;
    std::string GetCitationsText() const;
    // The record note's text.
    std::string GetNoteText() const;

    // Whole years from birth (or christening) to death (or burial, or today);
    // -1 when unknown.
    std::int32_t GetAge() const;
    // The same span; estimated when christening or burial stood in, suffix
    // "?" when it runs to today. None unless both dates could be read.
    std::unique_ptr<WDateDiff> GetAgeDiff(bool& estimated, std::string& suffix) const;
    // "[~42?]" style; empty for 111 years or more or an unknown age.
    std::string GetAgeText() const;
    bool HasAnySource() const;
    bool HasAnyNote() const;

protected:
    std::int32_t m_extraLinkCount = 0;

private:
    // The two dates an age runs between, and the objects that own them.
    struct AgeSpan;
    void findAgeSpan(AgeSpan& span) const;
};
