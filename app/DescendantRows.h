#pragma once
// What a line of the Descendants view shows: the generation, the name and
// the spouse of the entry, each run on its own colours, indented by generation.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;
class WDesIterator;
struct WDesEntry;

// One run of text in the name column, drawn on its own background.
struct DesPiece {
    std::string Text;
    plat::ColorRef Back = plat::kWhite;
    plat::ColorRef Font = plat::kBlack;
};

struct DesNameLine {
    int Indent = 0; // pixels: setting DesIndent times the generation
    std::vector<DesPiece> Pieces;
};

// The name column of an entry; no pieces when its individual is missing.
DesNameLine DescendantNameLine(WABSCollection* collection, WABSHighLighter* highlighter, const WDesEntry& entry);

// Title of the name column: "Descendants (n individuals)", or
// "Descendants (0)" before any list was built.
std::string DescendantsTitle(const WDesIterator* list);

// The caption beside the generation limit (0: all).
std::string DescendantGenerationsText(int limit);
