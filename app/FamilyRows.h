#pragma once
// What the Family view shows of the current individual: the subject with its
// spouse families, the six individual panels (subject, parents, spouse and
// the spouse's parents), the family's date and place and one row per child.
// The Pedigree view shares the subject, its families and the panel texts.
#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;
class WABSIndividual;

// A record the individual links to could not be fetched.
class EINDError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The subject and its spouse families, stepped through one at a time.
class WFamilySubject {
public:
    // Takes the individual and its spouse families, the first one shown.
    // False (and no subject) when the individual is not handed out.
    bool Take(WABSCollection* collection, std::int32_t individual);
    void Clear();
    // The next family, wrapping from the last to the first; false without families.
    bool Next();

    std::int32_t Subject() const { return m_subject; }
    std::int32_t Count() const { return std::int32_t(m_families.size()); }
    // 1-based position of the family shown.
    std::int32_t Index() const { return m_index; }
    // Family number at the shown position, 0 without families.
    std::int32_t CurrentFamily() const;
    const std::vector<std::int32_t>& Families() const { return m_families; }
    // "(i of n)" with two or more families, else empty.
    std::string PositionText() const;

private:
    std::int32_t m_subject = 0;
    std::int32_t m_index = 1;
    // Grows with the individual: no cap on the number of spouse families.
    std::vector<std::int32_t> m_families;
};

// What one individual panel shows.
struct PersonPanelInfo {
    std::int32_t Individual = 0; // 0: an empty panel in the button-face colour
    std::string Name, Birth, Death;
    std::string Hint;
    plat::ColorRef Back = plat::kWhite;
    plat::ColorRef Font = plat::kBlack;
    bool UseLDS = false;
    bool LDSBap = false, LDSEnd = false, LDSSP = false, LDSSS = false;
};

// The panel of an individual showing linesShown lines (1 to 3). Reads the
// settings UseLDS, FamBirChr and ShowIndHint.
PersonPanelInfo MakePersonPanel(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual,
                                int linesShown);

// "date, place" of the event (either alone when the other is empty); when
// empty and altBracketed, the same of the alternate event in brackets.
std::string VitalLine(const WABSIndividual& person, std::int32_t kind, std::int32_t altKind, bool altBracketed);

// The highlight colours of an individual (white on black without a group).
plat::ColorRef HighlightBackColor(WABSHighLighter* highlighter, std::int32_t individual);
plat::ColorRef HighlightFontColor(WABSHighLighter* highlighter, std::int32_t individual);

// One row of the children grid.
struct FamChildRow {
    bool HasChildren = false; // the child's first family as spouse has children
    std::int32_t Child = 0;
    std::string ChildName;
    std::string Sex, Birth, Death;
    std::int32_t SpouseCount = 0; // the child's spouse families
    std::int32_t Spouse = 0;      // the other spouse in the first of them
    std::string SpouseName;       // with "(1 of n) " in front for several families
    plat::ColorRef ChildBack = plat::kWhite, ChildFont = plat::kBlack;
    plat::ColorRef SpouseBack = plat::kWhite, SpouseFont = plat::kBlack;
};

// The row of a child; an empty row for 0 or an individual not handed out.
// EINDError when the child's first spouse family cannot be fetched. Reads FamBirChr.
FamChildRow MakeChildRow(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual);

// The six panels in this order.
enum FamilyPanel { fpSubject = 0, fpFather1, fpMother1, fpSpouse, fpFather2, fpMother2, fpCount };

// Everything the Family view shows for the subject's family at the shown position.
struct FamilyGroup {
    std::int32_t Family = 0;
    std::int32_t Spouse = 0;
    std::string MarriageInfo;
    std::string MultipleMarriages;
    std::array<std::int32_t, fpCount> Persons{};
    // The four "+" buttons beside father 1, mother 1, father 2 and mother 2:
    // that person has a parent of their own.
    std::array<bool, 4> Plus{};
    // Grows with the family: no cap on the number of children.
    std::vector<FamChildRow> Children;
};

// Fills the group for the subject's shown family. EINDError from a child row
// leaves the rows before it in place.
void ShowFamilyGroup(WABSCollection* collection, WABSHighLighter* highlighter, const WFamilySubject& subject,
                     FamilyGroup& group);

// Column titles of the children grid; column 1 carries the child count.
std::array<std::string, 6> FamilyGridTitles(bool famBirChr, std::size_t childCount);
