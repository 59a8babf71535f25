#pragma once
// Index of individual numbers (4-byte records) that the list views, reports
// and find dialogs walk and search. Descendants fill and order it in Sort().
#include <string>

#include "model/ABSIterator.h"

class WABSCollection;

class WCollectionIterator : public WABSIterator {
public:
    // Also makes collection the one that all name and identifier searches use
    // (the collection of the most recently created iterator).
    WCollectionIterator(const std::string& fileName, WABSCollection* collection, std::int32_t capacity);

    using WABSArrayIndex::Sort;
    // Fills and orders the index.
    virtual void Sort() = 0;
    // Individual number at that position, 0 when there is none.
    virtual std::int32_t First();
    virtual std::int32_t Next();
    virtual std::int32_t Prev();
    virtual std::int32_t Last();
    virtual std::int32_t GetItem(std::int32_t position);

    // First position holding individual, 0 when absent.
    std::int32_t IndexOf(std::int32_t individual) const;
    // The first call sorts; later calls do nothing.
    void EnsureSorted();
    void Prepare() { EnsureSorted(); }
    bool IsSortedOnce() const { return m_sortedOnce; }

    // Position of the first individual whose surname and given names (full
    // name, REFN) start with the searched texts, case-insensitively for a-z.
    // The index must be sorted by that key.
    std::int32_t FindSurnameGiven(const std::string& surname, const std::string& given);
    std::int32_t FindFullName(const std::string& text);
    std::int32_t FindRefN(const std::string& text);

    WABSCollection* GetCollection() const { return m_collection; }
    // The collection the searches fetch individuals from.
    static WABSCollection* SearchCollection();
    static void SetSearchCollection(WABSCollection* collection);

    // Appends an individual number; returns the new count.
    std::int32_t AddItem(std::int32_t individual) { return Add(&individual); }

protected:
    WABSCollection* m_collection = nullptr;
    bool m_sortedOnce = false;

private:
    std::int32_t prefixFind(WCompareProc compare, const void* key);
};
