#pragma once
// A source record.
#include <memory>
#include <string>

#include "model/ABSNote.h"
#include "model/ABSRepo.h"

class WABSSource {
public:
    virtual ~WABSSource() = default;

    virtual std::unique_ptr<WABSRepo> GetRepo() const = 0;
    virtual std::string GetAuthor() const = 0;
    virtual std::string GetTitle() const = 0;
    virtual std::string GetPublication() const = 0;
    virtual std::string GetCallNumber() const = 0;
    virtual std::string GetAbbreviation() const = 0;
    virtual std::unique_ptr<WABSNote> GetNote() const = 0;
    // The source text as a note.
    virtual std::unique_ptr<WABSNote> GetText() const = 0;
    virtual std::string GetRecordText() const { return {}; }
    virtual std::unique_ptr<WABSNote> GetAllNotes() const { return GetNote(); }
    virtual bool HasNote() const = 0;
    virtual bool HasText() const = 0;
    virtual bool HasRepo() const = 0;
    // Author, title, publication, call number and abbreviation, each flattened
    // to one line, the non-empty ones joined by ", ".
    virtual std::string GetSummary() const;
};
