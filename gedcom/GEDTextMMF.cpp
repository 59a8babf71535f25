#include "gedcom/GEDTextMMF.h"

#include "model/Date.h"

bool WGEDTextMMF::Tag3Is(std::uint32_t w, const char (&t)[4], bool blank, bool lineEnd) {
    std::uint32_t three = std::uint32_t(std::uint8_t(t[0])) | std::uint32_t(std::uint8_t(t[1])) << 8 |
                          std::uint32_t(std::uint8_t(t[2])) << 16;
    if ((w & 0xFFFFFF) != three) return false;
    char after = char(w >> 24);
    return (blank && IsBlank(after)) || (lineEnd && IsLineEnd(after));
}

const char* WGEDTextMMF::At(const char* line, int offset) const {
    if (!line) return nullptr;
    const char* e = End();
    const char* p = line;
    int i = 0;
    if (offset >= 2) {
        // After a run of blanks the offsets count from the tag; the run ends
        // inside the line, so the walk below still stops at its end.
        const char* tag = TagStart(line);
        if (tag != line + 2) {
            p = tag;
            i = 2;
        }
    }
    for (; i < offset; ++i) {
        // Bytes above CR are never a line end: one test for the common byte.
        if (p >= e || (static_cast<unsigned char>(*p) <= '\r' && IsLineEnd(*p))) return p;
        ++p;
    }
    // A tab in the place of the blank after a four-letter tag parts the value
    // from it as the blank would; a tab after that blank stays in the value.
    if (offset == 6 && p < e && *p == '\t' && !IsBlank(p[-1])) ++p;
    return p;
}

std::optional<std::string_view> WGEDTextMMF::GetXREF(const char* p, bool skipFirst) const {
    if (!p) return std::nullopt;
    const char* e = End();
    while (p < e && IsBlank(*p)) ++p;
    if (p >= e || *p != '@') return std::nullopt;
    const char* start = ++p;
    while (p < e && *p != '@' && !IsLineEnd(*p)) ++p;
    if (p >= e || *p != '@') return std::nullopt;
    if (skipFirst && start < p) ++start;
    return std::string_view(start, std::size_t(p - start));
}

std::string_view WGEDTextMMF::RecordView(const char* p) const {
    if (!Contains(p)) return {};
    const char* next = NextRecord(p);
    if (!next) next = End();
    return std::string_view(p, std::size_t(next - p));
}

std::string WGEDTextMMF::GetRecordText(const char* p) const { return std::string(RecordView(p)); }

std::string_view WGEDTextMMF::ValueView(const char* p) const {
    if (!p) return {};
    const char* e = End();
    while (p < e && *p == ' ') ++p;
    const char* q = p;
    while (q < e && !IsLineEnd(*q)) ++q;
    while (q > p && q[-1] == ' ') --q;
    return std::string_view(p, std::size_t(q - p));
}

std::string WGEDTextMMF::GetValue(const char* p) const { return std::string(ValueView(p)); }

std::string WGEDTextMMF::GetLineValue(const char* line) const {
    if (!line) return {};
    const char* e = End();
    const char* p = line;
    auto blanks = [&]() {
        while (p < e && IsBlank(*p)) ++p;
    };
    auto word = [&]() {
        while (p < e && !IsBlank(*p) && !IsLineEnd(*p)) ++p;
    };
    blanks();
    word();
    blanks();
    word();
    // One blank or tab parts the value from the tag; GetValue drops further blanks.
    if (p < e && IsBlank(*p)) ++p;
    return GetValue(p);
}

int WGEDTextMMF::GetRecordType(const char* p) const {
    using namespace GEDRecordType;
    if (!p) return NoPointer;
    const char* e = End();
    while (p < e && *p != '@' && !IsLineEnd(*p)) ++p;
    if (p >= e || *p != '@') return NoPointer;
    ++p;
    while (p < e && *p != '@' && !IsLineEnd(*p)) ++p;
    if (p >= e || *p != '@') return NoPointer;
    ++p;
    while (p < e && IsBlank(*p)) ++p;
    if (p >= e || IsLineEnd(*p)) return Other;
    if (*p == 'F') return Family;
    switch (WordAt(p)) {
    case GEDTags::INDI: return Individual;
    case GEDTags::SOUR: return Source;
    case GEDTags::NOTE: return Note;
    case GEDTags::SUBM: return Other;
    case GEDTags::SUBN: return Submission;
    case GEDTags::REPO: return Repository;
    case GEDTags::OBJE: return Object;
    default: return Other;
    }
}

void WGEDTextMMF::GetDate(std::unique_ptr<WDate>& date, const char* p, bool fromNextLine) const {
    if (date || !p) return;
    const char* line = fromNextLine ? NextLine(p) : p;
    if (line && TagIs(line, GEDTags::DATE)) date = std::make_unique<WDate>(GetValue(At(line, 6)));
}

std::string WGEDTextMMF::GetPlace(const char* p) const {
    for (const char* line = NextLine(p); line && *line == '2'; line = NextLine(line))
        if (TagIs(line, GEDTags::PLAC)) return GetValue(At(line, 6));
    return {};
}

std::vector<std::string> WGEDTextMMF::GetText(const char* p) const {
    std::vector<std::string> lines;
    if (!p) return lines;
    lines.push_back(GetValue(p));
    for (const char* line = NextLine(p); line; line = NextLine(line)) {
        std::uint32_t tag = TagWord(line);
        if (tag == GEDTags::CONC)
            lines.back().append(ValueView(At(line, 6)));
        else if (tag == GEDTags::CONT)
            lines.push_back(GetValue(At(line, 6)));
        else
            break;
    }
    return lines;
}

int WGEDTextMMF::GetLevel(const char* line) const {
    if (!line) return 0;
    const char* e = End();
    const char* p = line;
    int level = 0;
    bool digits = false;
    while (p < e && !IsBlank(*p) && !IsLineEnd(*p)) {
        if (*p < '0' || *p > '9') return 0;
        if (level < 100000) level = level * 10 + (*p - '0');
        digits = true;
        ++p;
    }
    return digits ? level : 0;
}
