#pragma once
// What the Pedigree view shows: five generations of ancestors in 31 boxes,
// the spouse of the shown family, the siblings and the family's children,
// and where the boxes and their connecting lines go.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "app/FamilyRows.h"
#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;

constexpr int kPedBoxes = 31;
// Boxes 16 to 31 are the fifth generation.
constexpr int kPedFirstOuter = 16;
// The "+" marks beside the outer boxes and the spouse's box.
constexpr int kPedPlusWidth = 12;
// The least room between the spouse's box and the boxes around it.
constexpr int kPedGap = 3;
// The outer boxes end at 98% of the width: in a narrower area the "+" marks
// beside them would not fit, and the names would be cut short.
constexpr int kPedLeastWidth = 50 * kPedPlusWidth;

// Box k holds the father of box k / 2 (even k) or its mother (odd k); box 1
// is the individual. Index 0 is unused; a missing person stays 0 down the line.
using PedAncestors = std::array<std::int32_t, kPedBoxes + 1>;
PedAncestors PedigreeAncestors(WABSCollection* collection, std::int32_t individual);

struct PedigreeTree {
    bool Filled = false;
    PedAncestors Ancestors{};
    std::int32_t Spouse = 0;
    // Plus[i] for i 1..16: the person in box 15 + i has a parent; Plus[17]: the spouse has one.
    std::array<bool, 18> Plus{};
    // Grow with the data: no cap on siblings or children.
    std::vector<std::int32_t> Siblings;
    std::vector<std::int32_t> Children;
    std::string SiblingsLabel = "Siblings";
    std::string ChildrenLabel = "Children";
};

// Fills the tree for the subject and its shown family.
void ShowPedigreeTree(WABSCollection* collection, const WFamilySubject& subject, PedigreeTree& tree);

// One line of the sibling and child lists.
struct PedListItem {
    std::int32_t Individual = 0;
    bool Plus = false;     // has children in any family
    std::string Qualifier; // of the birth date
    std::string Year;      // birth year, empty when 0
    std::string Given;     // "<No Given Name>" when empty
    std::string LDS;       // four letters "BEPS" or "-", empty without UseLDS
    plat::ColorRef Back = plat::kWhite;
    plat::ColorRef Font = plat::kBlack;
};

// Reads UseLDS.
PedListItem MakePedListItem(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual);

// Geometry of the boxes in a main area of width x height pixels.
struct PedBox {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Right() const { return Left + Width; }
    int Middle() const { return Top + Height / 2; }
};

struct PedLine {
    int X1, Y1, X2, Y2;
};

struct PedigreeLayout {
    bool Valid = false;
    // The area the boxes take: the area given, or higher where the
    // generations need more room to stay apart (the view scrolls then).
    int Width = 0, Height = 0;
    std::array<PedBox, kPedBoxes + 1> Boxes{}; // 1..31
    PedBox Spouse;
    int ButtonLeft = 0, ButtonTop = 0;
    // Top-left of the "+" marks: 1..16 beside boxes 16..31, 17 beside the spouse.
    std::array<std::array<int, 2>, 18> PlusAt{};
};

// heights[k]: the height of box k (1..31); spouseNameWidth: the width the
// spouse's box needs to show the whole name; buttonWidth: that of the spouse
// button, 0 while it is hidden. Nothing is laid out (Valid false) when the
// area is empty.
PedigreeLayout LayoutPedigree(int width, int height, const std::array<int, kPedBoxes + 1>& heights, int spouseHeight,
                              int buttonHeight, int spouseNameWidth = 0, int buttonWidth = 0);

// The lines under the boxes: the subject down to the spouse, and each pair of
// parents joined to each other (the outer pairs also to their child).
std::vector<PedLine> PedigreeLines(const PedigreeLayout& layout);
