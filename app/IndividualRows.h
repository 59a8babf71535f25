#pragma once
// The rows of the Individual view: identifiers, name, events with ages, LDS
// ordinances, parents, marriages and children, each with its notes, sources
// and the highlight colours of the individual it points to. The clipboard
// copy of the view uses the same rows.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;
class WDate;

struct IndRow {
    std::int32_t Target = 0; // individual a double click moves to
    std::string Type;
    std::string Date;
    std::string SortDate; // sort key of the chronological order, not shown
    std::string Info;
    std::string Age;
    plat::ColorRef Back = plat::kWhite;
    plat::ColorRef Font = plat::kBlack;
    std::string Sources;
    std::string Notes;
};

constexpr std::size_t kMaxIndRows = 1023;

// Fills rows for the individual (empty when it is not handed out). Reads the
// settings UseLDS and Chrono.
void FillIndividualGrid(WABSCollection* collection, WABSHighLighter* highlighter, bool forClipboard,
                        std::int32_t individual, std::vector<IndRow>& rows);

// The Age column between the reference date and an event date; christening
// references put the years in brackets.
std::string IndividualAgeText(const WDate* reference, const WDate* date, bool estimated);

// The chronological order of rows[from..]: an exchange sort by date, ties by
// Type; undated rows last, in the order they were built.
void SortRowsChronologically(std::vector<IndRow>& rows, std::size_t from);
