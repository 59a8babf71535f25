#pragma once
// The column set of one list of individuals: the chosen column ids in display
// order, one attribute per column, a width per column id kept in a section of
// the settings file, and the list's sort state applied to a sorted iterator.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "columns/ColumnTable.h"

class WABSCollection;
class WAttrib;
class WColSortIterator;

class WListColumns {
public:
    // At most this many positions; ids after that are ignored.
    static constexpr std::int32_t kMaxPositions = ColumnTable::kColumnCount;
    // Width of a position whose id is no column kind.
    static constexpr std::int32_t kUnknownWidth = 40;

    // Empty column list, no sort column, ascending, no iterator; reads the
    // widths of the section.
    WListColumns(WABSCollection* collection, const std::string& sectionName);
    // Writes the width of every shown column into the section.
    ~WListColumns();
    WListColumns(const WListColumns&) = delete;
    WListColumns& operator=(const WListColumns&) = delete;

    // A different collection: forgets the sort column and gives every column
    // the collection and reference person 0. False (and nothing done) while
    // the set's sort runs.
    bool SetCollection(WABSCollection* collection);
    WABSCollection* GetCollection() const { return m_collection; }
    void SetReferencePerson(std::int32_t individual);

    // A different text rebuilds the columns: items separated by ","; an item
    // that is no number is skipped, a number that is no column id keeps its
    // position without an attribute ("ERROR"). False while a sort runs.
    bool SetColumnList(const std::string& text);
    const std::string& GetColumnList() const { return m_columnList; }

    // "REF" for id 2 of a GEDCOM file, else the table's long or short title.
    std::string GetTitleForId(std::int32_t id, bool longTitle) const;
    void GetTitleForId(std::int32_t id, bool longTitle, std::string& s) const { s = GetTitleForId(id, longTitle); }
    // Title of a position ("ERROR" without an attribute); mark 1 none, 2
    // ascending, 3 descending on the sort column of an attached iterator.
    void GetColumnTitle(std::int32_t position, bool longTitle, std::int32_t& mark, std::string& s) const;
    // Cell text of a position ("ERROR" without an attribute).
    void GetCellText(std::int32_t position, std::int32_t row, std::int32_t family, std::string& s) const;
    std::string CellText(std::int32_t position, std::int32_t row, std::int32_t family = 1) const {
        std::string s;
        GetCellText(position, row, family, s);
        return s;
    }

    std::int32_t GetCount() const { return static_cast<std::int32_t>(m_ids.size()); }
    // Id at a position; 0 when the position holds no attribute.
    std::int32_t GetColumnId(std::int32_t position) const;
    WAttrib* GetAttrib(std::int32_t position) const;
    void SetColumnWidth(std::int32_t position, std::int32_t width);
    std::int32_t GetColumnWidth(std::int32_t position) const;
    const std::vector<std::int32_t>* GetTabStops(std::int32_t position) const;

    // A different iterator takes the set's direction and is sorted (no toggle).
    void SetSortIterator(WColSortIterator* iterator);
    WColSortIterator* GetSortIterator() const { return m_iterator; }
    // Sorts by a position; the same sorted position again reverses the direction.
    void SortByColumn(std::int32_t position);
    // Sorts again without toggling.
    void Resort();
    void ClearSortColumn() { m_sortColumn = -1; }
    // Position of the sort column, -1 when none.
    std::int32_t GetSortColumn() const { return m_sortColumn; }
    bool IsAscending() const { return m_ascending; }
    // The set's sort is running; the set must not be rebuilt or freed now.
    bool IsSorting() const { return m_sorting; }

    // Column id at a position of the chooser order, and back (0 when absent).
    static std::int32_t GetColumnIdAt(std::int32_t chooserPosition);
    static std::int32_t GetChooserPosition(std::int32_t id);

    // "Column 1: <long title>", then CR LF and "Column <n>: <long title>" per column.
    void GetColumnsText(std::string& s) const;
    const std::string& GetSectionName() const { return m_section; }

private:
    void readWidths();
    void sort(bool toggle);
    bool validPosition(std::int32_t position) const { return position >= 1 && position <= GetCount(); }

    WABSCollection* m_collection;
    std::string m_section;
    // Column ids by position (an id outside 1..68 has no attribute).
    std::vector<std::int32_t> m_ids;
    std::vector<std::unique_ptr<WAttrib>> m_attribs;
    std::array<std::int32_t, ColumnTable::kColumnCount + 1> m_widths{};
    std::string m_columnList;
    WColSortIterator* m_iterator = nullptr;
    std::int32_t m_sortColumn = -1;
    bool m_ascending = true;
    bool m_sorting = false;
};
