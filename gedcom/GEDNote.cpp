#include "gedcom/GEDNote.h"

#include "gedcom/GEDCollection.h"

WGEDNote::WGEDNote(const WGEDCollection& collection, std::uint32_t offset, const WGEDTextMMF& file) {
    if (offset == 0) return;
    const char* line = file.Begin() + offset;
    const char* e = file.End();
    const char* end = file.LineEnd(line);
    // The text follows the pointer, blanks and the four-letter tag.
    const char* p = line;
    int ats = 0;
    while (p < end && ats < 2)
        if (*p++ == '@') ++ats;
    const char* start = nullptr;
    if (ats == 2) {
        start = p;
        while (start < end && WGEDTextMMF::IsBlank(*start)) ++start;
        for (int i = 0; i < 4 && start < end; ++i) ++start;
        // A tab in the place of the blank after the tag parts the text from it.
        if (start < end && *start == '\t' && !WGEDTextMMF::IsBlank(start[-1])) ++start;
    }
    if (!start || start >= end || start >= e) {
        // No text on the record line: it starts on a CONC or CONT line, or there is none.
        const char* next = file.NextLine(line);
        std::uint32_t tag = file.TagWord(next);
        if (!next || (tag != GEDTags::CONC && tag != GEDTags::CONT)) return;
        start = file.At(next, 7);
    }
    for (const std::string& s : file.GetText(start)) AddText(collection.ConvertText(s));
}
