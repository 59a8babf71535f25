#include "gedcom/GedFunctions.h"

#include "gedcom/GEDCollection.h"
#include "gedcom/GEDSource.h"
#include "model/ABSNote.h"

std::string GedFunctions::GetTrimmedValue(const WGEDTextMMF& file, const char* p) {
    if (!p) return {};
    const char* e = file.End();
    while (p < e && *p == ' ') ++p;
    const char* q = p;
    while (q < e && *q != '\0' && !WTextMMF::IsLineEnd(*q)) ++q;
    while (q > p && q[-1] == ' ') --q;
    std::size_t n = std::size_t(q - p);
    return std::string(p, n > 255 ? 255 : n);
}

namespace {
void addInlineLines(const WGEDCollection& c, const WGEDTextMMF& f, const char* noteLine, WABSNote& note) {
    for (const std::string& s : f.GetText(f.At(noteLine, 6))) note.AddText(c.ConvertText(s));
}
} // namespace

std::unique_ptr<WABSNote> GedFunctions::GetNote(WGEDCollection& collection, const WGEDTextMMF& file,
                                                const char* noteLine) {
    if (!noteLine) return nullptr;
    if (auto xref = file.GetXREF(file.At(noteLine, 6), false)) {
        std::int32_t n = collection.FindXref(WGEDCollection::KindNote, *xref);
        return n ? collection.GetNote(n) : nullptr;
    }
    auto note = std::make_unique<WABSNote>();
    addInlineLines(collection, file, noteLine, *note);
    int level = file.GetLevel(noteLine);
    for (const char* line = file.NextLine(noteLine); line; line = file.NextLine(line)) {
        int l = file.GetLevel(line);
        std::uint32_t tag = file.TagWord(line);
        if (l < level || (l == level && tag != GEDTags::NOTE)) break;
        if (l == level + 1 && tag == GEDTags::NOTE) addInlineLines(collection, file, line, *note);
    }
    return note;
}

std::unique_ptr<WABSSource> GedFunctions::GetSource(WGEDCollection& collection, const WGEDTextMMF& file,
                                                    const char* sourceLine) {
    if (!sourceLine) return nullptr;
    if (auto xref = file.GetXREF(file.At(sourceLine, 7), false)) {
        std::int32_t n = collection.FindXref(WGEDCollection::KindSource, *xref);
        return n ? collection.GetSource(n) : nullptr;
    }
    return WGEDSource::CreateInline(collection, sourceLine, file);
}

std::string GedFunctions::FieldText(const WGEDCollection& collection, const WGEDTextMMF& file, const char* p,
                                    const char* separator) {
    if (!p) return {};
    std::string out;
    bool first = true;
    for (const std::string& s : file.GetText(p)) {
        if (!first) out += separator;
        // Line by line: a combining accent at a line end must not take the separator.
        out += collection.ConvertText(s);
        first = false;
    }
    return out;
}
