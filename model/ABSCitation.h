#pragma once
// A citation of a source: page, note and the source cited.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/ABSNote.h"
#include "model/ABSSource.h"

class WABSCitation {
public:
    virtual ~WABSCitation() = default;

    virtual std::string GetPage() const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;
    virtual std::unique_ptr<WABSSource> GetSource() const = 0;

    // Page, then each non-empty part after ", " (only when something stands
    // before it): the citation note, the source summary, the source note.
    std::string GetDescription() const;
};

// The citations text of a record: "1) " and the first description, each later
// one after CR LF CR LF as its index, ") " and the description. fetch(i)
// gives citation i (1..count) or none; missing ones are skipped.
std::string ComposeCitationsText(std::int32_t count,
                                 const std::function<std::unique_ptr<WABSCitation>(std::int32_t)>& fetch);

// The note's text with CR LF between lines, empty without a note.
std::string ComposeNoteText(const std::unique_ptr<WABSNote>& note);
