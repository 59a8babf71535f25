#include "columns/ColumnTable.h"

#include "columns/AttribEvent.h"
#include "columns/AttribFamily.h"
#include "columns/AttribRecord.h"
#include "columns/AttribTree.h"

namespace {

using C = WAttribClass;
namespace V = ColVariant;
namespace K = SortKind;

// Row i is column id i; row 0 stands for id 0, which is no column kind.
constexpr WColumnKind kKinds[ColumnTable::kColumnCount + 1] = {
    {0, ColumnTable::kNoColumnTitle, "", C::Index, 0, K::None, 0},
    {1, "Index", "Index", C::Index, 0, K::Integer, 40},
    {2, "RIN", "RIN", C::ID, V::XRef, K::Text, 40},
    {3, "AFN", "AFN", C::ID, V::AFN, K::Text, 40},
    {4, "Surname", "Surname", C::Name, V::Surname, K::Text, 160},
    {5, "Given", "Given", C::Name, V::Given, K::Text, 160},
    {6, "Full Name", "Full Name", C::Name, V::FullName, K::Text, 160},
    {7, "Surname, Given", "Surname, Given", C::Name, V::SurnameGiven, K::Text, 160},
    {8, "Note", "Note", C::Note, 0, K::Text, 160},
    {9, "Sex", "Sex", C::Sex, 0, K::Text, 25},
    {10, "Birth Date", "Birth Date", C::Date, V::Birth, K::Date, 75},
    {11, "Birth Place", "Birth Place", C::Place, V::Birth, K::Text, 130},
    {12, "Chr Date", "Christening Date", C::Date, V::Christening, K::Date, 75},
    {13, "Chr Place", "Christening Place", C::Place, V::Christening, K::Text, 130},
    {14, "Death Date", "Death Date", C::Date, V::Death, K::Date, 75},
    {15, "Death Place", "Death Place", C::Place, V::Death, K::Text, 130},
    {16, "Burial Date", "Burial Date", C::Date, V::Burial, K::Date, 75},
    {17, "Burial Place", "Burial Place", C::Place, V::Burial, K::Text, 130},
    {18, "Father/Mother(M)/Spouse(S)", "Father/Mother(M)/Spouse(S)", C::FMS, V::ParentOrSpouse, K::Text, 160},
    {19, "Age", "Age", C::Age, V::Lifetime, K::Age, 30},
    {20, "Mar. Age", "Married Age", C::Age, V::AtMarriage, K::Age, 40},
    {21, "Has Note", "Has a Note", C::Has, V::HasNote, K::Text, 40},
    {22, "Has Source", "Has a Source", C::Has, V::HasSource, K::Text, 40},
    {23, "Has Events", "Has Events", C::Has, V::HasEvents, K::Text, 40},
    {24, "#Mars", "Number of Marriages", C::NumMarriages, 0, K::Integer, 40},
    {25, "#Pars", "Number of Parents", C::NumParents, 0, K::Integer, 40},
    {26, "#Chds", "Number of Children", C::NumChildren, 0, K::Integer, 40},
    {27, "#Anc", "Number of Ancestors", C::NumAnc, V::Count, K::Integer, 40},
    {28, "#Des", "Number of Descendants", C::NumDes, V::Count, K::Integer, 40},
    {29, "LDS", "LDS Information", C::LDS, 0, K::Text, 36},
    {30, "LDS B", "LDS Baptism", C::LDSDate, 7, K::Date, 75},
    {31, "LDS B Temple", "LDS Baptism Temple", C::LDSTemple, 7, K::Text, 70},
    {32, "LDS E", "LDS Endowment", C::LDSDate, 8, K::Date, 75},
    {33, "LDS E Temple", "LDS Endowment Temple", C::LDSTemple, 8, K::Text, 70},
    {34, "LDS SP", "LDS Sealed to Parents", C::LDSDate, 9, K::Date, 75},
    {35, "LDS SP Temple", "LDS Sealed to Parents Temple", C::LDSTemple, 9, K::Text, 70},
    {36, "LDS SS", "LDS Sealed to Spouse", C::LDSDate, 10, K::Date, 75},
    {37, "LDS SS Temple", "LDS Sealed to Spouse Temple", C::LDSTemple, 10, K::Text, 70},
    {38, "Relationship", "Relationship", C::Relation, V::Term, K::Text, 160},
    {39, "Common Ancestor", "Common Ancestor", C::Relation, V::CommonAncestor, K::Text, 160},
    {40, "Alive", "Alive", C::ALive, 0, K::Text, 40},
    {41, "Mar Place", "Marriage Place", C::Place, V::Marriage, K::Text, 130},
    {42, "Mar Date", "Marriage Date", C::Date, V::Marriage, K::Date, 75},
    {43, "Father", "Father", C::FMS, V::Father, K::Text, 160},
    {44, "Mother", "Mother", C::FMS, V::Mother, K::Text, 160},
    {45, "Spouse", "Spouse", C::FMS, V::Spouse, K::Text, 160},
    {46, "Sur Sdx", "Surname Soundex", C::Name, V::SurnameSoundex, K::Text, 50},
    {47, "Name Sdx", "Given Name Soundex", C::Name, V::GivenSoundex, K::Text, 50},
    {48, "Custom ID", "Custom ID", C::ID, V::RefN, K::Text, 40},
    {49, "Father (Last, First)", "Father (Last, First)", C::FMS, V::Father | V::LastFirst, K::Text, 160},
    {50, "Mother (Last, First)", "Mother (Last, First)", C::FMS, V::Mother | V::LastFirst, K::Text, 160},
    {51, "Spouse (Last, First)", "Spouse (Last, First)", C::FMS, V::Spouse | V::LastFirst, K::Text, 160},
    {52, "Common Ancestor (L, F)", "Common Ancestor (Last, First)", C::Relation, V::CommonAncestorLF, K::Text, 160},
    {53, "Father/Mother(M)/Spouse(S) (L, F)", "Father/Mother(M)/Spouse(S) (Last, First)", C::FMS,
     V::ParentOrSpouse | V::LastFirst, K::Text, 160},
    {54, "Create Date", "Create Date", C::Date, V::Created, K::Date, 75},
    {55, "Modify Date", "Modify Date", C::Date, V::Changed, K::Date, 75},
    {56, "Spouse/Father(F)/Mother(M) (F, L)", "Spouse/Father(F)/Mother(M) (First, Last)", C::FMS, V::SpouseOrParent,
     K::Text, 160},
    {57, "Spouse/Father(F)/Mother(M) (L, F)", "Spouse/Father(F)/Mother(M) (Last, First)", C::FMS,
     V::SpouseOrParent | V::LastFirst, K::Text, 160},
    {58, "Island #", "Island Number", C::Island, 0, K::Integer, 40},
    {59, "F. Age", "Father's age at birth", C::Age, V::FatherAtBirth, K::Age, 40},
    {60, "M. Age", "Mother's age at birth", C::Age, V::MotherAtBirth, K::Age, 40},
    {61, "A Gens", "Largest Ancestor Generation", C::NumAnc, V::Generations, K::Integer, 40},
    {62, "D Gens", "Largest Descendant Generation", C::NumDes, V::Generations, K::Integer, 40},
    {63, "Avg A Gens", "Average Ancestor Generations", C::AvgGens, V::Ancestors, K::Float, 50},
    {64, "Avg D Gens", "Average Descendant Generations", C::AvgGens, V::Descendants, K::Float, 50},
    {65, "Birth/[C] Date", "Birth/[Christening] Date", C::Date, V::BirthOrChr, K::Date, 75},
    {66, "Birth/[C] Place", "Birth/[Christening] Place", C::Place, V::BirthOrChr, K::Text, 130},
    {67, "Death/[B] Date", "Death/[Burial] Date", C::Date, V::DeathOrBurial, K::Date, 75},
    {68, "Death/[B] Place", "Death/[Burial] Place", C::Place, V::DeathOrBurial, K::Text, 130},
};

constexpr bool tableInIdOrder() {
    for (std::int32_t i = 0; i <= ColumnTable::kColumnCount; ++i)
        if (kKinds[i].Id != i) return false;
    return true;
}
static_assert(tableInIdOrder(), "row i must hold column id i");

constexpr std::int32_t kChooserOrder[ColumnTable::kColumnCount] = {
    1,  2,  3,  48, 4,  5,  6,  7,  8,  9,  65, 66, 67, 68, 10, 11, 12, 13, 14, 15, 16, 17, 18,
    53, 56, 57, 19, 20, 59, 60, 21, 22, 23, 58, 27, 61, 63, 28, 62, 64, 24, 25, 26, 29, 30, 31,
    32, 33, 34, 35, 36, 37, 38, 39, 52, 40, 41, 42, 46, 47, 43, 49, 44, 50, 45, 51, 54, 55};

constexpr bool chooserIsPermutation() {
    bool seen[ColumnTable::kColumnCount + 1] = {};
    for (std::int32_t id : kChooserOrder) {
        if (id < 1 || id > ColumnTable::kColumnCount || seen[id]) return false;
        seen[id] = true;
    }
    return true;
}
static_assert(chooserIsPermutation(), "the chooser offers every column id once");

} // namespace

namespace ColumnTable {

bool IsColumnId(std::int32_t id) { return id >= 1 && id <= kColumnCount; }

const WColumnKind* Find(std::int32_t id) { return IsColumnId(id) ? &kKinds[id] : nullptr; }

const char* Title(std::int32_t id, bool longTitle) {
    if (id < 0 || id > kColumnCount) return "";
    return longTitle ? kKinds[id].LongTitle : kKinds[id].ShortTitle;
}

int VariantOf(std::int32_t id) { return IsColumnId(id) ? kKinds[id].Variant : 0; }

std::int32_t SortKindOf(std::int32_t id) { return IsColumnId(id) ? kKinds[id].SortKind : SortKind::Text; }

std::int32_t DefaultWidth(std::int32_t id) { return IsColumnId(id) ? kKinds[id].Width : 0; }

std::int32_t ChooserId(std::int32_t position) {
    return position >= 1 && position <= kColumnCount ? kChooserOrder[position - 1] : 0;
}

std::int32_t ChooserPosition(std::int32_t id) {
    for (std::int32_t p = 0; p < kColumnCount; ++p)
        if (kChooserOrder[p] == id) return p + 1;
    return 0;
}

std::unique_ptr<WAttrib> MakeAttrib(std::int32_t id, WABSCollection* collection) {
    const WColumnKind* kind = Find(id);
    if (!kind) return nullptr;
    switch (kind->Class) {
    case C::Index: return std::make_unique<WAttribIndex>(id, collection);
    case C::ID: return std::make_unique<WAttribID>(id, collection);
    case C::Name: return std::make_unique<WAttribName>(id, collection);
    case C::Note: return std::make_unique<WAttribNote>(id, collection);
    case C::Sex: return std::make_unique<WAttribSex>(id, collection);
    case C::Date: return std::make_unique<WAttribDate>(id, collection);
    case C::Place: return std::make_unique<WAttribPlace>(id, collection);
    case C::FMS: return std::make_unique<WAttribFMS>(id, collection);
    case C::Age: return std::make_unique<WAttribAge>(id, collection);
    case C::Has: return std::make_unique<WAttribHas>(id, collection);
    case C::NumMarriages: return std::make_unique<WAttribNumMarriages>(id, collection);
    case C::NumParents: return std::make_unique<WAttribNumParents>(id, collection);
    case C::NumChildren: return std::make_unique<WAttribNumChildren>(id, collection);
    case C::NumAnc: return std::make_unique<WAttribNumAnc>(id, collection);
    case C::NumDes: return std::make_unique<WAttribNumDes>(id, collection);
    case C::LDS: return std::make_unique<WAttribLDS>(id, collection);
    case C::LDSDate: return std::make_unique<WAttribLDSDate>(id, collection);
    case C::LDSTemple: return std::make_unique<WAttribLDSTemple>(id, collection);
    case C::Relation: return std::make_unique<WAttribRelation>(id, collection);
    case C::ALive: return std::make_unique<WAttribALive>(id, collection);
    case C::Island: return std::make_unique<WAttribIsland>(id, collection);
    case C::AvgGens: return std::make_unique<WAttribAvgGens>(id, collection);
    }
    return nullptr;
}

} // namespace ColumnTable
