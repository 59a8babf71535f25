#pragma once
// A family as the views see it.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSCitation.h"
#include "model/ABSCollectionItem.h"
#include "model/ABSEvent.h"
#include "model/ABSNote.h"
#include "model/Date.h"

class WABSMarriage : public WABSCollectionItem {
public:
    explicit WABSMarriage(std::int32_t recNo);
    ~WABSMarriage() override;

    // Loads the family's date lazily.
    virtual void Load() = 0;
    // Makes the sort date the date itself.
    virtual void ShareSortDate();
    // Individual numbers, 0 when none.
    virtual std::int32_t GetHusband() const = 0;
    virtual std::int32_t GetWife() const = 0;
    // Individual number of the i-th child (1-based), 0 out of range.
    virtual std::int32_t GetChild(std::int32_t i) const = 0;
    // 0, 1 or 2 spouses present.
    virtual std::int32_t GetSpouseCount() const = 0;
    // Puts the children in birth order; callers call it right before reading them.
    virtual void SortChildren() {}
    virtual std::int32_t GetFlags() const { return 0; }
    virtual bool HasLDSSealing() const = 0;
    virtual std::unique_ptr<WABSLDSEvent> GetLDSSealing(std::int32_t kind) const = 0;
    // The family event's place text.
    virtual std::string GetPlace() const = 0;
    virtual std::string GetRecordText() const = 0;
    virtual std::int32_t GetCitationCount() const { return m_citationCount; }
    virtual std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;

    std::int32_t GetChildCount() const { return m_childCount; }
    // The husband, unless he is individual; then the wife.
    std::int32_t GetOtherSpouse(std::int32_t individual) const;
    // Owned by the family; null without a date.
    const WDate* GetDate();
    const WDate* GetSortDate();
    std::string GetDateText();
    std::string GetSortDateText();
    // Date text, then ", " and the place when there is one.
    std::string GetDateAndPlaceText();
    std::string GetEventName() const { return m_eventName; }
    std::string GetCitationsText() const;
    std::string GetNoteText() const;

protected:
    // Replaces the date (the back end's Load uses it); drops a shared sort date.
    void SetDate(std::unique_ptr<WDate> date);

    std::int32_t m_childCount = 0;
    std::unique_ptr<WDate> m_date;
    std::unique_ptr<WDate> m_ownSortDate;
    WDate* m_sortDate = nullptr;
    bool m_shared = false; // the sort date is m_date itself
    std::int32_t m_citationCount = 0;
    std::string m_eventName; // "Marriage"
};
