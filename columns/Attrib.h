#pragma once
// Base of the list-column value providers: one column kind, computed per
// individual (a record number) into the cell text and a sort key of the
// column's sort kind. Attributes read everything through the collection and
// the record objects it hands out, and keep no copies of the data.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class WABSCollection;
class WABSIndividual;

class WAttrib {
public:
    // Sort kind text, no tab stops; subclasses set their column id.
    explicit WAttrib(WABSCollection* collection);
    virtual ~WAttrib();
    WAttrib(const WAttrib&) = delete;
    WAttrib& operator=(const WAttrib&) = delete;

    // Attaches the collection (absent: every text empty unless said otherwise).
    virtual void SetCollection(WABSCollection* collection);
    // Cell text of individual row. family chooses which of the individual's
    // spouse families a marriage column means: the family-th, below 1 the first.
    virtual void GetText(std::int32_t row, std::int32_t family, std::string& s) = 0;
    virtual std::int32_t GetInteger(std::int32_t row);
    virtual long double GetFloat(std::int32_t row);
    // Date sort key text.
    virtual void GetSortText(std::int32_t row, std::string& s);
    // The text a text key is made from: the cell text unless a column keys
    // its text otherwise.
    virtual void GetKeyText(std::int32_t row, std::string& s) { GetText(row, 1, s); }

    // A fresh copy for building keys on another thread: one that reads
    // nothing but the collection's records. Null for attributes that keep
    // shared work of their own.
    virtual std::unique_ptr<WAttrib> CloneForThread() const { return nullptr; }

    std::string Text(std::int32_t row, std::int32_t family = 1) {
        std::string s;
        GetText(row, family, s);
        return s;
    }
    std::string SortText(std::int32_t row) {
        std::string s;
        GetSortText(row, s);
        return s;
    }

    void SetReferencePerson(std::int32_t individual) { m_referencePerson = individual; }
    std::int32_t GetReferencePerson() const { return m_referencePerson; }
    std::int32_t GetColumnId() const { return m_columnId; }
    std::int32_t GetSortKind() const { return m_sortKind; }
    WABSCollection* GetCollection() const { return m_collection; }
    // Tab positions in characters; null when the column sets none.
    const std::vector<std::int32_t>* GetTabStops() const { return m_tabStops.empty() ? nullptr : &m_tabStops; }

protected:
    // The individual of a row; none without a collection or for a row that
    // is no record number.
    std::unique_ptr<WABSIndividual> individual(std::int32_t row) const;
    // The row is an individual of the collection.
    bool exists(std::int32_t row) const;

    WABSCollection* m_collection = nullptr;
    std::int32_t m_columnId = 0;
    std::int32_t m_sortKind = 1;
    std::int32_t m_referencePerson = 0;
    std::vector<std::int32_t> m_tabStops;
};

// Small helpers the attribute classes share.
namespace AttribText {
// Decimal text of a number.
std::string Dec(std::int64_t value);
// The family-th spouse family number of an individual (the first when family
// is below 1); 0 when the individual has no such family.
std::int32_t SpouseFamilyAt(const WABSIndividual& individual, std::int32_t family);
} // namespace AttribText
