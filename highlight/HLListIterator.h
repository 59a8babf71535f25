#pragma once
// The individuals of the collection's view that a highlighter accepts, in
// view order. The Highlighted list walks it like any column iterator.
#include <cstdint>
#include <string>

#include "columns/ColSortIterator.h"

class WABSHighLighter;

class WColHLIterator : public WColSortIterator {
public:
    // Pending messages are let through at every this many view positions.
    static constexpr std::int32_t kPumpEvery = 250;

    // Fills the list at once. The highlighter is not owned.
    WColHLIterator(const std::string& name, std::int32_t capacity, WABSCollection* collection,
                   WABSHighLighter* highlighter);

    // The filling step: keeps each view position whose individual is
    // highlighted. Nothing without collection or highlighter, or for an
    // empty view.
    void Sort() override;

    WABSHighLighter* GetHighLighter() const { return m_highlighter; }
    // A fill is running (its messages are being pumped): the iterator, its
    // highlighter and the collection must not be freed now.
    bool IsFilling() const { return m_filling; }
    static bool AnyFilling();

private:
    WABSHighLighter* m_highlighter;
    bool m_filling = false;
};
