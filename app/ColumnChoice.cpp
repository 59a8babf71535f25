#include "app/ColumnChoice.h"

#include <utility>

#include "columns/ListColumns.h"

WColumnChoice::WColumnChoice() : FAvailable(kPositions + 1, true) { FAvailable[0] = false; }

void WColumnChoice::LoadIds(const std::vector<std::int32_t>& ids) {
    AllLeft();
    for (std::int32_t id : ids) {
        const std::int32_t pos = WListColumns::GetChooserPosition(id);
        if (pos < 1 || pos > kPositions || !FAvailable[static_cast<std::size_t>(pos)]) continue;
        FAvailable[static_cast<std::size_t>(pos)] = false;
        FChosen.push_back(pos);
    }
}

void WColumnChoice::Load(const WListColumns& columns) {
    std::vector<std::int32_t> ids;
    for (std::int32_t p = 1; p <= columns.GetCount(); ++p) ids.push_back(columns.GetColumnId(p));
    LoadIds(ids);
}

std::vector<std::int32_t> WColumnChoice::SourcePositions() const {
    std::vector<std::int32_t> out;
    for (std::int32_t p = 1; p <= kPositions; ++p)
        if (FAvailable[static_cast<std::size_t>(p)]) out.push_back(p);
    return out;
}

std::int32_t WColumnChoice::AvailableCount() const { return kPositions - ChosenCount(); }

bool WColumnChoice::IsAvailable(std::int32_t position) const {
    return position >= 1 && position <= kPositions && FAvailable[static_cast<std::size_t>(position)];
}

int WColumnChoice::reselect(int index, int count) {
    if (count <= 0) return -1;
    return index < count ? index : count - 1;
}

int WColumnChoice::MoveRight(int sourceIndex) {
    const std::vector<std::int32_t> source = SourcePositions();
    if (sourceIndex < 0 || sourceIndex >= static_cast<int>(source.size())) return sourceIndex;
    const std::int32_t pos = source[static_cast<std::size_t>(sourceIndex)];
    FAvailable[static_cast<std::size_t>(pos)] = false;
    FChosen.push_back(pos);
    return reselect(sourceIndex, static_cast<int>(source.size()) - 1);
}

void WColumnChoice::AllRight() {
    for (std::int32_t pos : SourcePositions()) {
        FAvailable[static_cast<std::size_t>(pos)] = false;
        FChosen.push_back(pos);
    }
}

int WColumnChoice::MoveLeft(int destIndex) {
    if (destIndex < 0 || destIndex >= ChosenCount()) return destIndex;
    FAvailable[static_cast<std::size_t>(FChosen[static_cast<std::size_t>(destIndex)])] = true;
    FChosen.erase(FChosen.begin() + destIndex);
    return reselect(destIndex, ChosenCount());
}

void WColumnChoice::AllLeft() {
    for (std::int32_t p = 1; p <= kPositions; ++p) FAvailable[static_cast<std::size_t>(p)] = true;
    FChosen.clear();
}

int WColumnChoice::MoveUp(int destIndex) {
    if (destIndex < 1 || destIndex >= ChosenCount()) return destIndex;
    std::swap(FChosen[static_cast<std::size_t>(destIndex)], FChosen[static_cast<std::size_t>(destIndex - 1)]);
    return destIndex - 1;
}

int WColumnChoice::MoveDown(int destIndex) {
    if (destIndex < 0 || destIndex + 1 >= ChosenCount()) return destIndex;
    std::swap(FChosen[static_cast<std::size_t>(destIndex)], FChosen[static_cast<std::size_t>(destIndex + 1)]);
    return destIndex + 1;
}

WColumnChoice::Buttons WColumnChoice::Enabled(int sourceIndex, int destIndex) const {
    Buttons b;
    const bool dest = destIndex >= 0 && destIndex < ChosenCount();
    b.Right = sourceIndex >= 0 && sourceIndex < AvailableCount();
    b.AllRight = AvailableCount() > 0;
    b.Left = dest;
    b.Up = dest && destIndex > 0;
    b.Down = dest && destIndex + 1 < ChosenCount();
    b.AllLeft = ChosenCount() > 0;
    return b;
}

std::string WColumnChoice::GetColumnList() const {
    std::string s;
    for (std::size_t i = 0; i < FChosen.size(); ++i) {
        if (i) s += ',';
        s += std::to_string(WListColumns::GetColumnIdAt(FChosen[i]));
    }
    return s;
}
