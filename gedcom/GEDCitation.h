#pragma once
// A citation: a SOUR line of a record, with its page and note.
#include <string>

#include "model/ABSCitation.h"

class WGEDCollection;
class WGEDTextMMF;

class WGEDCitation : public WABSCitation {
public:
    WGEDCitation(WGEDCollection& collection, const char* sourceLine, const WGEDTextMMF& file);

    std::string GetPage() const override;
    std::unique_ptr<WABSNote> GetNote() const override;
    // The source record the line points at, or an inline source.
    std::unique_ptr<WABSSource> GetSource() const override;

private:
    WGEDCollection& m_collection;
    const WGEDTextMMF& m_file;
    const char* m_line;
    const char* m_page = nullptr;
    const char* m_note = nullptr;
};
