#pragma once
// A place of an event.
#include <cstdint>
#include <memory>
#include <string>

#include "model/ABSCitation.h"
#include "model/ABSNote.h"

class WABSPlace {
public:
    virtual ~WABSPlace() = default;

    virtual std::string GetName() const = 0;
    virtual std::int32_t GetCitationCount() const { return m_citationCount; }
    virtual std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;

    // The name trimmed; with PlaceCommas on also without leading blanks and
    // commas (places written as ", , County, State").
    std::string GetText() const;

protected:
    std::int32_t m_citationCount = 0;
};
