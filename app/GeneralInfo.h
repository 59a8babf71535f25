#pragma once
// What the General view shows, without widgets: the header entries, the
// submitter rows and the statistics column of the open file.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

class WABSCollection;

// One row of the header grid. TabStops: comma-separated pixel offsets at
// which the tab-separated pieces of the value start (empty: plain text).
struct HeaderEntry {
    std::string Label, Value, TabStops;
};

namespace GeneralInfo {

constexpr int kSubmitterRows = 7;
constexpr int kStatsRows = 8;

// Titles of rows 1..7 of the submitter grid; row 5 depends on the file kind.
std::string SubmitterTitle(int row, std::uint8_t fileKind);
// Titles of rows 1..8 of the statistics grid.
const char* StatsTitle(int row);

// Every header entry the file gives (no fixed room: none is dropped).
std::vector<HeaderEntry> HeaderEntries(WABSCollection& collection);

// Column 1 of submitter rows 1..7 (index 0..6); false and all empty without a submitter.
bool SubmitterValues(WABSCollection& collection, std::array<std::string, kSubmitterRows>& values);
// The submitter's record text, empty without one.
std::string SubmitterRecordText(WABSCollection& collection);

// Column 1 of statistics rows 2, 3 and 5..8 (index row-1). Rows 1 and 4
// stay empty: row 4 (the load time) is written when the file is opened.
std::array<std::string, kStatsRows> StatsValues(WABSCollection& collection);

// The numbers of a tab-stop text, read in order; a piece that is no number ends the list.
std::vector<int> ParseTabStops(const std::string& text);

} // namespace GeneralInfo
