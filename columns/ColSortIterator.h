#pragma once
// The individuals of the open file (or of its island view) in the order of one
// column, ascending or descending. The list views, the list reports and the
// find indexes walk it.
//
// The array holds individual numbers in view order until a column sorts it;
// the sort is always ascending by key and GetItem produces descending order.
// Building keys and sorting let window messages through, so a sort refuses to
// be re-entered and tells callers (IsBusy, RebuildBlocked) not to free or
// rebuild iterators meanwhile.
#include <cstdint>
#include <memory>
#include <string>

#include "model/CollectionIterator.h"

class WAttrib;
class WAttribArray;
class WAttribStrArray;

class WColSortIterator : public WCollectionIterator {
public:
    // Keys are built with a look at the message queue every this many individuals.
    static constexpr std::int32_t kPumpEvery = 50;

    // Ascending, no sort column; unfilled.
    WColSortIterator(const std::string& name, std::int32_t capacity, WABSCollection* collection);
    ~WColSortIterator() override;

    // Fills when not filled yet.
    std::int32_t Count() const override;
    // Fills (once): the individuals of the collection's view, in view order.
    void Sort() override;
    // Ascending: the individual at position; descending: at count - position + 1.
    std::int32_t GetItem(std::int32_t position) override;
    std::int32_t First() override;
    std::int32_t Next() override;
    std::int32_t Prev() override;
    std::int32_t Last() override;

    bool IsAscending() const { return m_ascending; }
    void SetAscending(bool value) { m_ascending = value; }

    // Sorts by the attribute's column. The same column again (already sorted)
    // only flips the direction, and only with toggle; a new column starts
    // ascending when toggle is set. Nothing while this iterator sorts already,
    // and nothing changes when the Cancel button stops the key building.
    void SortBy(WAttrib* attribute, bool toggle);
    // The columns the find indexes sort by: record number, identifier, and
    // the column of each search kind.
    static constexpr std::int32_t kRecordColumn = 1, kIdentifierColumn = 2;
    static constexpr std::int32_t SearchColumn(SearchKind kind) {
        switch (kind) {
        case SearchKind::FullName: return 6;
        case SearchKind::SurnameGiven: return 7;
        case SearchKind::RefN: return 48;
        }
        return 0;
    }
    // For the find indexes: sorts once by one of those columns, names
    // without prefixes, suffixes or slashes, as the find dialog lists them and
    // a search is typed. Nothing once sorted, or for other ids.
    void SortByColumnId(std::int32_t id);

    std::int32_t GetSortColumnId() const { return m_sortColumnId; }
    std::int32_t GetIndividualCount() const { return m_individualCount; }
    // The keys of the present sort (null before the first sort).
    const WAttribArray* GetKeys() const { return m_keys.get(); }
    // The last SortBy was stopped by the Cancel button.
    bool WasCancelled() const { return m_cancelled; }

    // Threads that build the keys; 0, the default, takes one per usable CPU and
    // 16,384 individuals, at most.
    static void SetKeyThreads(unsigned threads) { s_keyThreads = threads; }

    // A SortBy of this iterator is running (its messages are being pumped).
    bool IsBusy() const { return m_busy; }
    // Some column sort is running: iterators, column sets and the collection
    // must not be freed or rebuilt now.
    static bool RebuildBlocked();

protected:
    // The keys this index sorted by, when it is sorted by the column of that search.
    std::string SearchKey(std::int32_t individual, SearchKind kind) const override;
    bool StoredKey(std::int32_t individual, SearchKind kind, std::string_view& key) const override;
    void ensureFilled() const;
    // Makes the keys of every listed individual; false when cancelled.
    bool buildKeys(WAttribArray& keys, WAttrib& attribute);

    std::int32_t m_individualCount = 0;
    std::unique_ptr<WAttribArray> m_keys;
    const WAttribStrArray* m_textKeys = nullptr; // m_keys when they are texts
    std::int32_t m_sortColumnId = 0;
    bool m_ascending = true;
    bool m_busy = false;
    bool m_cancelled = false;

private:
    // SortBy; with rankGivenNames the given names are ranked while it sorts.
    void sortBy(WAttrib* attribute, bool toggle, bool rankGivenNames);
    std::int32_t itemAtCursor(std::int32_t position);
    static unsigned s_keyThreads;
};

// Makes an empty key array for a sort kind (null for kind 0 and unknown kinds).
std::unique_ptr<WAttribArray> MakeKeyArray(std::int32_t sortKind, std::int32_t capacity);
