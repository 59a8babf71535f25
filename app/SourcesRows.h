#pragma once
// What the Sources view shows, without widgets: the grid's row count and
// cell texts over the source list in its present order, the sort by a
// title press, and the details of the chosen source.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class WABSCollection;
class WSourceIterator;

// The details under the grid for one source.
struct SourceDetails {
    std::string Title, Author, Abbreviation, Publication, CallNumber;
    std::string Note, Text, Repository; // lines joined by CR LF
    std::string Raw;                    // the record text (raw page only)
};

class WSourcesRows {
public:
    static constexpr int kColumns = 9;
    using RowTexts = std::array<std::string, kColumns>;

    // Grid titles of columns 0 to 8.
    static const char* ColumnTitle(int column);
    // The legend shown over the title row.
    static const char* ColumnLegend();
    // The setting that keeps a column's width (19..23, 130, 24..26), 0 outside 0..8.
    static int WidthSetting(int column);

    WSourcesRows();
    ~WSourcesRows();
    WSourcesRows(const WSourcesRows&) = delete;
    WSourcesRows& operator=(const WSourcesRows&) = delete;

    // A new file (or none): the source list is dropped.
    void SetCollection(WABSCollection* collection);
    WABSCollection* Collection() const { return m_collection; }
    // Makes the source list (file order) when there is none.
    void EnsureIterator();
    bool HasIterator() const { return m_iterator != nullptr; }
    void DropIterator();

    std::int32_t SourceCount() const;
    // Grid rows including the title row: at least 2.
    std::int32_t GridRowCount() const;
    // "<count> Sources".
    std::string CountText() const;

    // True while a sort runs (it lets window messages through).
    bool IsSorting() const { return m_sorting; }
    // Texts of grid row 1..count; all empty outside, without a list or while sorting.
    const RowTexts& Row(std::int32_t row);
    // The source number at a grid row, 0 when none.
    std::int32_t SourceAt(std::int32_t row) const;

    // A press on the title of column 0..8: sorts by that column (the same
    // column again reverses). False when nothing was sorted.
    bool SortByColumn(int column);
    // The grid column that carries the sort arrow, -1 when none.
    int SortArrowColumn() const;
    // True for ascending ("SORTUP").
    bool SortAscending() const;

    // The details of grid row 1..count; false (all empty) when there is no
    // such source. raw: only the record text is read.
    bool Details(std::int32_t row, bool raw, SourceDetails& out) const;

private:
    void clearCache() { m_cacheRow = 0; }

    WABSCollection* m_collection = nullptr;
    std::unique_ptr<WSourceIterator> m_iterator;
    // A list dropped while its sort ran: kept until the sort returns.
    std::unique_ptr<WSourceIterator> m_retired;
    bool m_sorting = false;
    std::int32_t m_cacheRow = 0;
    RowTexts m_cache;
};
