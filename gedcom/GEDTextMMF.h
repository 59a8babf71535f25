#pragma once
// GEDCOM line parsing over the mapped file. A line is addressed by its first
// byte: byte 0 is the level digit, byte 1 a blank, bytes 2..5 the tag (compared
// as one 4-byte word), byte 6 the blank before the value. Nothing here copies a
// line to find its tag; only the value routines copy bytes.
//
// Some writers put several blanks or tabs after the level (or after a level-0
// line's pointer): such a run counts as one blank, so the byte offsets below
// are taken from where the tag (or pointer) starts. A tab may stand for the
// blank after a four-letter tag.
//
// Every routine stops at the end of its line and at the end of the data. A
// value asked for at a byte past its line's end (byte 7 of "1 BIRT") is empty.
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "gedcom/TextMMF.h"

class WDate;

// Record types of level-0 lines (GetRecordType).
namespace GEDRecordType {
constexpr int Individual = 0;
constexpr int Family = 1;
constexpr int Object = 2;
constexpr int Note = 3;
constexpr int Repository = 4;
constexpr int Source = 5;
constexpr int Submission = 6;
constexpr int Other = 7; // SUBM and every tag not listed
constexpr int NoPointer = 8;
} // namespace GEDRecordType

// A tag as the 4-byte word the lines are compared with.
constexpr std::uint32_t GEDTag(const char (&t)[5]) {
    return std::uint32_t(std::uint8_t(t[0])) | std::uint32_t(std::uint8_t(t[1])) << 8 |
           std::uint32_t(std::uint8_t(t[2])) << 16 | std::uint32_t(std::uint8_t(t[3])) << 24;
}

class WGEDTextMMF : public WTextMMF {
public:
    explicit WGEDTextMMF(const std::string& fileName) : WTextMMF(fileName) {}

    // The 4 bytes at p as a word; bytes past the end of the data read as LF,
    // so a last line "1 CHR" without line end still reads as "CHR" + line end.
    std::uint32_t WordAt(const char* p) const {
        unsigned char b[4] = {'\n', '\n', '\n', '\n'};
        const char* e = End();
        if (p + 4 <= e)
            std::memcpy(b, p, 4);
        else
            for (int i = 0; i < 4 && p + i < e; ++i) b[i] = static_cast<unsigned char>(p[i]);
        return Word(b);
    }
    // Four bytes as one word, the first lowest, as GEDTag makes a tag's.
    static std::uint32_t Word(const unsigned char* b) {
        return std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 | std::uint32_t(b[3]) << 24;
    }
    static bool IsBlank(char c) { return c == ' ' || c == '\t'; }
    // Where a line's tag (or pointer) starts: byte 2, or past the whole run
    // of blanks and tabs that follows the level.
    const char* TagStart(const char* line) const {
        // One test settles the common line, whose byte 2 is a letter, digit or "@".
        if (End() - line <= 2 || static_cast<unsigned char>(line[2]) > ' ' || !IsBlank(line[2]) || !IsBlank(line[1]))
            return line + 2;
        const char* p = line + 3;
        while (p < End() && IsBlank(*p)) ++p;
        return p;
    }
    // The tag word of a line (bytes 2..5).
    std::uint32_t TagWord(const char* line) const {
        if (!line) return 0;
        if (End() - line >= 6 && static_cast<unsigned char>(line[2]) > ' ')
            return Word(reinterpret_cast<const unsigned char*>(line) + 2);
        return WordAt(TagStart(line));
    }
    bool TagIs(const char* line, std::uint32_t tag) const { return line && TagWord(line) == tag; }
    // Three-letter tag followed by a blank (or tab), a CR or an LF.
    bool Tag3Is(const char* line, const char (&t)[4], bool blank = true, bool lineEnd = true) const {
        return line && Tag3Is(TagWord(line), t, blank, lineEnd);
    }
    // The same test on a tag word already read.
    static bool Tag3Is(std::uint32_t word, const char (&t)[4], bool blank = true, bool lineEnd = true);
    // The level byte of a line, 0 for null.
    char LevelByte(const char* line) const { return Contains(line) ? *line : '\0'; }

    // Byte offset of a line, but never past its line end: the start of a value
    // that may be empty. Null for a null line.
    const char* At(const char* line, int offset) const;

    // The pointer "@...@" at p (after blanks and tabs): the identifier between the two
    // "@", whole, without its first character when skipFirst. Nothing without
    // an opening "@" or without a closing "@" on the same line.
    std::optional<std::string_view> GetXREF(const char* p, bool skipFirst) const;
    // The raw bytes from p up to the next level-0 line, or to the end of the
    // data when none follows. Empty for null.
    std::string GetRecordText(const char* p) const;
    std::string_view RecordView(const char* p) const;
    // The rest of the line from p without leading blanks and trailing blanks
    // (tabs stay). Empty for null.
    std::string GetValue(const char* p) const;
    std::string_view ValueView(const char* p) const;
    // From a line start: the value after the level and the tag (or pointer).
    std::string GetLineValue(const char* line) const;
    // Kind of a level-0 line by the tag after its pointer.
    int GetRecordType(const char* p) const;
    // Fills date once: from the DATE line at p (or the line after p when
    // fromNextLine); any other line leaves it null (and it is tried again).
    // The text is taken as it stands: records make theirs through the
    // collection, which converts it from the file's character set.
    void GetDate(std::unique_ptr<WDate>& date, const char* p, bool fromNextLine) const;
    // The value of the first PLAC line among the level-2 lines right after p.
    std::string GetPlace(const char* p) const;
    // A value with its continuation: the value at p, then CONC lines appended
    // and CONT lines as new strings, until a line that is neither.
    std::vector<std::string> GetText(const char* p) const;
    // The number before the first blank or tab of the line, 0 when it is none.
    int GetLevel(const char* line) const;
};

namespace GEDTags {
constexpr std::uint32_t HEAD = GEDTag("HEAD"), TRLR = GEDTag("TRLR"), INDI = GEDTag("INDI"), FAMC = GEDTag("FAMC"),
                        FAMS = GEDTag("FAMS"), HUSB = GEDTag("HUSB"), WIFE = GEDTag("WIFE"), CHIL = GEDTag("CHIL"),
                        NAME = GEDTag("NAME"), NOTE = GEDTag("NOTE"), SOUR = GEDTag("SOUR"), DATE = GEDTag("DATE"),
                        PLAC = GEDTag("PLAC"), CONC = GEDTag("CONC"), CONT = GEDTag("CONT"), CHAR = GEDTag("CHAR"),
                        BIRT = GEDTag("BIRT"), DEAT = GEDTag("DEAT"), BURI = GEDTag("BURI"), CHAN = GEDTag("CHAN"),
                        BAPL = GEDTag("BAPL"), CONS = GEDTag("CONS"), ENDL = GEDTag("ENDL"), SLGC = GEDTag("SLGC"),
                        SLGS = GEDTag("SLGS"), MARR = GEDTag("MARR"), REFN = GEDTag("REFN"), SUBM = GEDTag("SUBM"),
                        SUBN = GEDTag("SUBN"), REPO = GEDTag("REPO"), OBJE = GEDTag("OBJE"), TIME = GEDTag("TIME"),
                        DEST = GEDTag("DEST"), FILE = GEDTag("FILE"), GEDC = GEDTag("GEDC"), VERS = GEDTag("VERS"),
                        FORM = GEDTag("FORM"), CORP = GEDTag("CORP"), ADDR = GEDTag("ADDR"), GIVN = GEDTag("GIVN"),
                        SURN = GEDTag("SURN"), NPFX = GEDTag("NPFX"), NSFX = GEDTag("NSFX"), TYPE = GEDTag("TYPE"),
                        CAUS = GEDTag("CAUS"), STAT = GEDTag("STAT"), QUAL = GEDTag("QUAL"), TEMP = GEDTag("TEMP"),
                        TITL = GEDTag("TITL"), AUTH = GEDTag("AUTH"), PUBL = GEDTag("PUBL"), ABBR = GEDTag("ABBR"),
                        CALN = GEDTag("CALN"), TEXT = GEDTag("TEXT"), PAGE = GEDTag("PAGE"), ADR1 = GEDTag("ADR1"),
                        ADR2 = GEDTag("ADR2"), CITY = GEDTag("CITY"), STAE = GEDTag("STAE"), POST = GEDTag("POST"),
                        CTRY = GEDTag("CTRY"), PHON = GEDTag("PHON"), _EMA = GEDTag("_EMA"), EMAI = GEDTag("EMAI");
} // namespace GEDTags
