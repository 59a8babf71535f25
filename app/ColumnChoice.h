#pragma once
// The state of the list-columns dialog apart from its widgets: which columns
// of the chooser order are offered ("Master List") and which are shown, in
// display order ("Columns Displayed"). Positions are chooser positions
// 1..kPositions, one per column kind of the column table.
#include <cstdint>
#include <string>
#include <vector>

#include "columns/ColumnTable.h"

class WListColumns;

class WColumnChoice {
public:
    static constexpr std::int32_t kPositions = ColumnTable::kColumnCount;

    // Every position available, none chosen.
    WColumnChoice();
    // The columns a set shows, in its order. Ids that are no column kind and
    // repeats of an id already taken are left out: each position is chosen once.
    void LoadIds(const std::vector<std::int32_t>& ids);
    void Load(const WListColumns& columns);

    // Available positions in chooser order (the "Master List").
    std::vector<std::int32_t> SourcePositions() const;
    // Chosen positions in display order.
    const std::vector<std::int32_t>& Chosen() const { return FChosen; }
    std::int32_t ChosenCount() const { return static_cast<std::int32_t>(FChosen.size()); }
    std::int32_t AvailableCount() const;
    bool IsAvailable(std::int32_t position) const;

    // Moves. Each takes a 0-based list index and gives the index to select
    // afterwards in the list the item left (or moved within); -1 for none.
    // An index outside its list changes nothing and gives it back unchanged.
    int MoveRight(int sourceIndex);
    void AllRight();
    int MoveLeft(int destIndex);
    void AllLeft();
    int MoveUp(int destIndex);
    int MoveDown(int destIndex);

    struct Buttons {
        bool Right = false, AllRight = false, Left = false, AllLeft = false, Up = false, Down = false;
    };
    // Enabled state of the move buttons for the selected indexes (-1: none).
    Buttons Enabled(int sourceIndex, int destIndex) const;

    // Chosen column ids in display order, decimal, separated by ",".
    std::string GetColumnList() const;

private:
    // Index to select after an item at index left a list now holding count items.
    static int reselect(int index, int count);

    std::vector<bool> FAvailable; // [1..kPositions], [0] unused
    std::vector<std::int32_t> FChosen;
};
