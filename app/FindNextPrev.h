#pragma once
// Find next / find previous over the find box's current index: the first hit
// of the typed text and the entry now shown, stepping from hit to hit over
// the entries between that do not match, and wrapping at either end.
#include <cstdint>
#include <functional>
#include <string>

#include "model/CollectionIterator.h"

class WFindBox;

class WFindNextPrev {
public:
    explicit WFindNextPrev(WFindBox& box) : m_box(box) {}

    // Moves the navigation panel to an individual number.
    using MoveTo = std::function<void(std::int32_t individual)>;

    // The find box changed its text (typed or following the current
    // individual): no search is active any more.
    void Reset() { m_first = m_current = 0; }

    // True while a step moves the panel, so the window does not rewrite the
    // find box (and reset the search) from its selected-individual update.
    bool Busy() const { return m_busy; }
    std::int32_t FindFirst() const { return m_first; }
    std::int32_t FindCurrent() const { return m_current; }

    // text: the find box's text. Each returns whether the panel was moved.
    bool FindNext(const std::string& text, const MoveTo& moveTo);
    bool FindPrevious(const std::string& text, const MoveTo& moveTo);

private:
    // The search the find box made of the text in surname and given-name
    // mode: its hits are those that match it, compared as the index's keys.
    // False in the index and identifier modes, where every entry is a hit.
    bool search(const std::string& text, WCollectionIterator::Search& search) const;
    // The first hit at or after a position, the last at or before it; 0 for none.
    std::int32_t nextHit(std::int32_t from, const std::string& text) const;
    std::int32_t prevHit(std::int32_t from, const std::string& text) const;
    std::int32_t itemAt(std::int32_t position) const;
    std::int32_t count() const;
    bool move(std::int32_t position, const MoveTo& moveTo) const;

    WFindBox& m_box;
    std::int32_t m_first = 0;
    std::int32_t m_current = 0;
    bool m_busy = false;
};
