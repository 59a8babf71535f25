#pragma once
// The source records of the open file in the order of one of the Sources
// view's nine columns: 1 file order, 2 has a note, 3 has a text, 4 has a
// repository, 5 title, 6 abbreviation, 7 author, 8 publication, 9 call number.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ABSIterator.h"

class WABSCollection;

class WSourceIterator : public WABSIterator {
public:
    static constexpr std::int32_t kColumnCount = 9;

    // The sources in file order, then sorted by column 1.
    WSourceIterator(const std::string& name, WABSCollection* collection);

    // The present column again flips the direction; another column sorts
    // ascending by it (column 1: file order). Nothing without sources or
    // while this iterator sorts already.
    void SortBy(std::int32_t column, bool ascending = true);
    // The source number at a position in the present direction, 0 when absent.
    std::int32_t GetSortedItem(std::int32_t position) const;
    std::int32_t GetSortColumn() const { return m_sortColumn; }
    // 1 ascending, 2 descending.
    std::int32_t GetSortDirection() const { return m_ascending ? 1 : 2; }
    bool IsBusy() const { return m_busy; }

    // The sort key of a source for a column (before case folding).
    static std::string KeyText(WABSCollection& collection, std::int32_t source, std::int32_t column);

private:
    std::int32_t itemAt(std::int32_t position) const;

    WABSCollection* m_collection;
    std::int32_t m_sourceCount = 0;
    // Held per iterator: a new file's list must not inherit the last file's
    // column and flip to descending on its first sort.
    std::int32_t m_sortColumn = 0;
    bool m_ascending = true;
    bool m_busy = false;
};
