#pragma once
// The toolbar find box of the main window without its widgets: the find
// indexes of the open file, the quick-find mode, the find position, and what
// a typed text moves the navigation panel to.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class WABSCollection;
class WColSortIterator;

class WFindBox {
public:
    enum Mode { mdIndex = 1, mdIdentifier = 2, mdSurname = 3, mdGiven = 4, mdCustom = 5 };

    WFindBox();
    ~WFindBox();

    // Drops every index of the previous file.
    void SetCollection(WABSCollection* collection);
    WABSCollection* Collection() const { return m_collection; }

    // Makes the mode's index current, creating it over all individuals when
    // missing; sorts it by its column when asked (once). Modes outside 1..5
    // change nothing.
    void BuildFindIndex(int mode, bool sort);
    // A find index is being sorted (window messages run meanwhile).
    bool Sorting() const { return m_sorting; }
    // A text typed during a sort that no search has taken up yet; taking it
    // clears it.
    bool TextPending() const { return m_textPending; }
    bool TakePendingText() { return std::exchange(m_textPending, false); }
    void FreeFindIndexes();
    WColSortIterator* Index(int mode) const;
    WColSortIterator* Current() const { return m_current; }

    // Clears the box: a search waiting for a sort is dropped.
    void SetQuickFindMode(int mode) {
        m_mode = mode;
        dropWaitingSearch();
    }
    int QuickFindMode() const { return m_mode; }
    std::int32_t FindPosition() const { return m_findPos; }
    bool NextPrevEnabled() const { return m_nextPrev; }

    // "surname, given" split at its first comma, both parts trimmed.
    static void SplitName(const std::string& text, std::string& surname, std::string& given);

    // The find box's text changed; returns the individual to move to, 0 for none.
    // A text typed while an index sorts moves nothing: the search that
    // started the sort runs again with the latest text once it is sorted.
    std::int32_t TextChanged(const std::string& text);
    // What the box shows for the current individual; it replaces the text of
    // a search waiting for a sort, which is dropped.
    std::string SelectedText(std::int32_t individual);

private:
    std::int32_t search(const std::string& text);
    // The box changed while this search's index sorted.
    bool superseded() const { return m_textPending || m_dropped; }
    void dropWaitingSearch() {
        m_dropped = m_searching;
        m_textPending = false;
    }

    WABSCollection* m_collection = nullptr;
    std::array<std::unique_ptr<WColSortIterator>, 6> m_indexes;
    WColSortIterator* m_current = nullptr;
    int m_mode = mdIndex;
    std::int32_t m_findPos = 0;
    bool m_nextPrev = false;
    bool m_sorting = false;
    bool m_searching = false;
    bool m_textPending = false;
    bool m_dropped = false;
    std::string m_pendingText;
};
