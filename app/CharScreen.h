#pragma once
// A character grid on which texts are placed at row and column positions, as
// on a text screen, and then read back line by line. Rows and columns count
// from 1; the last row and the last column are never written, so a grid made
// with R rows and C columns holds R - 1 usable lines of C - 1 characters.
#include <cstdint>
#include <string>
#include <vector>

class WCharScreen {
public:
    // Negative sizes count as 0 (an empty grid that takes nothing).
    WCharScreen(std::int32_t ARows, std::int32_t AColumns);

    std::int32_t Rows() const { return FRows; }
    std::int32_t Columns() const { return FColumns; }

    // Overwrites characters of line ARow from column ACol on, at most AMaxLen
    // of them and never into the last column; outside the grid nothing happens.
    void PutText(std::int32_t ARow, std::int32_t ACol, const std::string& AText, std::int32_t AMaxLen);
    // Line ARow as stored (Columns characters, blanks kept); empty outside 1..Rows - 1.
    void GetLine(std::int32_t ARow, std::string& S) const;
    std::string GetLine(std::int32_t ARow) const {
        std::string s;
        GetLine(ARow, s);
        return s;
    }

private:
    std::int32_t FRows;
    std::int32_t FColumns;
    // Line r (1-based) is FLines[r - 1].
    std::vector<std::string> FLines;
};
