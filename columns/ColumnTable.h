#pragma once
// The 68 list-column kinds: titles, sort kind, default width and the
// attribute class (with its variant) that computes each one. Every other part
// of the list code reads its column facts from this one table.
#include <cstdint>
#include <memory>

class WABSCollection;
class WAttrib;

// Sort kind of a column.
namespace SortKind {
constexpr std::int32_t None = 0;
constexpr std::int32_t Text = 1;
constexpr std::int32_t Integer = 2;
constexpr std::int32_t Date = 3;
constexpr std::int32_t Age = 4;
constexpr std::int32_t Float = 5;
constexpr std::int32_t IdPair = 6; // two decimal numbers joined by ':'
} // namespace SortKind

// The attribute classes, one per family of columns.
enum class WAttribClass : std::uint8_t {
    Index,
    ID,
    Name,
    Note,
    Sex,
    Date,
    Place,
    FMS,
    Age,
    Has,
    NumMarriages,
    NumParents,
    NumChildren,
    NumAnc,
    NumDes,
    LDS,
    LDSDate,
    LDSTemple,
    Relation,
    ALive,
    Island,
    AvgGens,
};

// What a column of a class shows; the meaning of the number depends on the class.
namespace ColVariant {
// ID
constexpr int XRef = 1, AFN = 2, RefN = 3;
// Name
constexpr int Surname = 1, Given = 2, FullName = 3, SurnameGiven = 4, SurnameSoundex = 5, GivenSoundex = 6;
// Date and Place: the event kinds 1-4 themselves, then the family event and
// the fallbacks ("birth, else [christening]").
constexpr int Birth = 1, Death = 2, Christening = 3, Burial = 4;
constexpr int Marriage = 11, Created = 12, Changed = 13, BirthOrChr = 14, DeathOrBurial = 15;
// FMS: who, plus LastFirst for the "Surname, Given" form.
constexpr int ParentOrSpouse = 1, Father = 2, Mother = 3, Spouse = 4, SpouseOrParent = 5;
constexpr int LastFirst = 0x10;
// Age
constexpr int Lifetime = 1, AtMarriage = 2, FatherAtBirth = 3, MotherAtBirth = 4;
// Has
constexpr int HasNote = 1, HasSource = 2, HasEvents = 3;
// NumAnc, NumDes
constexpr int Count = 1, Generations = 2;
// LDSDate, LDSTemple: the ordinance kinds 7-10 themselves.
// Relation
constexpr int Term = 1, CommonAncestor = 2, CommonAncestorLF = 3;
// AvgGens
constexpr int Ancestors = 1, Descendants = 2;
} // namespace ColVariant

struct WColumnKind {
    std::int32_t Id;
    const char* ShortTitle;
    const char* LongTitle;
    WAttribClass Class;
    int Variant;
    std::int32_t SortKind;
    std::int32_t Width; // default, pixels
};

namespace ColumnTable {

constexpr std::int32_t kColumnCount = 68;
// Short title of id 0, which is no column kind.
constexpr const char* kNoColumnTitle = "DONTDOIT";
// Title of id 2 for a GEDCOM file.
constexpr const char* kRefTitle = "REF";

bool IsColumnId(std::int32_t id);
// Row of a column id 1..68; null for anything else.
const WColumnKind* Find(std::int32_t id);
// Short or long title of the table ("DONTDOIT" and "" for id 0, "" outside).
const char* Title(std::int32_t id, bool longTitle);
// Variant of the column's class; 0 outside 1..68.
int VariantOf(std::int32_t id);
// Sort kind of the table; text outside 1..68.
std::int32_t SortKindOf(std::int32_t id);
// Default width; 0 outside 1..68.
std::int32_t DefaultWidth(std::int32_t id);

// Column ids in the order the column chooser offers them (positions 1..68).
std::int32_t ChooserId(std::int32_t position);
// Position of an id in the chooser order, 0 when it is not there.
std::int32_t ChooserPosition(std::int32_t id);

// A new attribute object for a column id over the collection (which may be
// absent); null for an unknown id.
std::unique_ptr<WAttrib> MakeAttrib(std::int32_t id, WABSCollection* collection);

} // namespace ColumnTable
