#pragma once
// The toolbar find box of the main window without its widgets: the find
// indexes of the open file, the quick-find mode, the find position, and what
// a typed text moves the navigation panel to.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

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
    void FreeFindIndexes();
    WColSortIterator* Index(int mode) const;
    WColSortIterator* Current() const { return m_current; }

    void SetQuickFindMode(int mode) { m_mode = mode; }
    int QuickFindMode() const { return m_mode; }
    std::int32_t FindPosition() const { return m_findPos; }
    bool NextPrevEnabled() const { return m_nextPrev; }

    // The find box's text changed; returns the individual to move to, 0 for none.
    std::int32_t TextChanged(const std::string& text);
    // What the box shows for the current individual.
    std::string SelectedText(std::int32_t individual);

private:
    WABSCollection* m_collection = nullptr;
    std::array<std::unique_ptr<WColSortIterator>, 6> m_indexes;
    WColSortIterator* m_current = nullptr;
    int m_mode = mdIndex;
    std::int32_t m_findPos = 0;
    bool m_nextPrev = false;
};
