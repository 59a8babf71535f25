#pragma once
// Events of individuals and families: vital and other events, LDS ordinances.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSCitation.h"
#include "model/ABSNote.h"
#include "model/ABSPlace.h"
#include "model/Date.h"

// Event kind codes.
namespace EventKind {
constexpr std::int32_t Birth = 1;
constexpr std::int32_t Death = 2;
constexpr std::int32_t Christening = 3;
constexpr std::int32_t Burial = 4;
constexpr std::int32_t Baptism = 5;
constexpr std::int32_t Other = 6; // addressed by a 1-based index
constexpr std::int32_t LDSBaptism = 7;
constexpr std::int32_t LDSEndowment = 8;
constexpr std::int32_t LDSSealParents = 9;
constexpr std::int32_t LDSSealSpouse = 10;
} // namespace EventKind

class WABSEvent {
public:
    // Every field empty, zero or false.
    WABSEvent();
    virtual ~WABSEvent();

    WABSEvent(const WABSEvent&) = delete;
    WABSEvent& operator=(const WABSEvent&) = delete;

    // Loads the date (lazily; the back end decides what else).
    virtual void Load() = 0;
    // Makes the sort date the date itself.
    virtual void ShareSortDate();
    virtual std::string GetDescription() const { return m_description; }
    virtual std::unique_ptr<WABSPlace> GetPlace() const = 0;
    virtual std::int32_t GetCitationCount() const { return m_citationCount; }
    virtual std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const = 0;
    virtual bool HasNote() const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;

    // The date, owned by the event; null without one.
    const WDate* GetDate();
    // There is a date and it could be read (valid and structured).
    bool HasValidDate();
    // The date's display text, empty without a date.
    std::string GetDateText();
    // The sort date's text, which is the date's own text.
    std::string GetSortDateText();
    // The place's text, empty without a place.
    std::string GetPlaceText() const;
    std::string GetEventName() const { return m_eventName; }
    std::int32_t GetKind() const { return m_kind; }
    std::string GetCitationsText() const;
    std::string GetNoteText() const;

protected:
    // Replaces the date (the back end's Load uses it); drops a shared sort date.
    void SetDate(std::unique_ptr<WDate> date);

    std::int32_t m_citationCount = 0;
    std::string m_eventName; // for other events, their label
    std::unique_ptr<WDate> m_date;
    bool m_loaded = false; // state of the back end
    bool m_shared = false; // the sort date is m_date itself
    std::unique_ptr<WDate> m_ownSortDate;
    WDate* m_sortDate = nullptr;
    std::int32_t m_kind = 0;
    std::string m_description;
};

// Births, deaths, christenings, burials, baptisms and other events.
class WABSVitEvent : public WABSEvent {
public:
    WABSVitEvent() = default;
};

// LDS ordinances (kinds 7 to 10).
class WABSLDSEvent : public WABSEvent {
public:
    WABSLDSEvent() = default;

    bool HasTemple() const { return m_hasTemple; }

    // Status keywords of the ordinance kinds 7 to 10 (10 each; 0 for other kinds).
    static std::int32_t StatusCount(std::int32_t kind);
    // Keyword i (1-based) of the kind, empty when out of range.
    static std::string GetStatusKeyword(std::int32_t kind, std::int32_t i);
    // All keywords of the kind joined by ";".
    static std::string GetStatusKeywords(std::int32_t kind);

protected:
    std::uint32_t m_word = 0; // kept by the back end
    bool m_hasTemple = false;
};
