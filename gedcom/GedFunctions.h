#pragma once
// Routines the GEDCOM records share: a NOTE or SOUR line resolved through its
// pointer or read as inline text, trimmed values and continued field texts.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class WABSNote;
class WABSSource;
class WGEDCollection;
class WGEDTextMMF;

namespace GedFunctions {

// The text from p to the line end (or a zero byte), without leading and
// trailing blanks, at most 255 characters. Empty for null.
std::string GetTrimmedValue(const WGEDTextMMF& file, const char* p);

// The note of a NOTE line: the note record its pointer names (none when the
// identifier is unknown), or an inline note of its text and continuation.
std::unique_ptr<WABSNote> GetNote(WGEDCollection& collection, const WGEDTextMMF& file, const char* noteLine);

// The source of a SOUR line: the source record its pointer names (none when
// unknown), or an inline source over the line.
std::unique_ptr<WABSSource> GetSource(WGEDCollection& collection, const WGEDTextMMF& file, const char* sourceLine);

// A field text: the value at p with its CONC/CONT continuation, the lines
// joined by separator, converted. Empty for null.
std::string FieldText(const WGEDCollection& collection, const WGEDTextMMF& file, const char* p, const char* separator);

// Calls fn(line, tag) for every line one level below line, up to the next
// line of line's level or lower.
template <class Fn>
void ForEachSubLine(const WGEDTextMMF& file, const char* line, Fn&& fn);

} // namespace GedFunctions

#include "gedcom/GEDTextMMF.h"

template <class Fn>
void GedFunctions::ForEachSubLine(const WGEDTextMMF& file, const char* line, Fn&& fn) {
    if (!line) return;
    int level = file.GetLevel(line);
    for (const char* sub = file.NextLine(line); sub; sub = file.NextLine(sub)) {
        int l = file.GetLevel(sub);
        if (l <= level) break;
        if (l == level + 1) fn(sub, file.TagWord(sub));
    }
}
