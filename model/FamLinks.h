#pragma once
// The family table: husband, wife and the chain of children of every family,
// 1-based by family number, built when a file is opened. The same table
// indexed by individual holds the island walk's extra links.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/ABSArrayIndex.h"
#include "model/LinkArray.h"

class WABSCollection;

class WFamLinks : public WABSArrayIndex {
public:
    // Flag bit: the children are in birth order already.
    static constexpr std::uint8_t ChildrenSorted = 2;
    // Families up to this many children use their own exchange sort; larger
    // ones a merge sort with the same ordering (the exchange sort is quadratic).
    static constexpr std::int32_t ExchangeSortLimit = 2000;

    // count zeroed families and a link pool with room for count nodes.
    WFamLinks(const std::string& name, std::int32_t count);
    ~WFamLinks() override;

    // Every operation on a family number outside 1..count does nothing and reads as 0.
    void SetHusband(std::int32_t family, std::int32_t individual);
    void SetWife(std::int32_t family, std::int32_t individual);
    // Appends a child unless it is in the list already; clears the sorted flag.
    // Costs no walk of the chain: the last node is remembered, and large
    // families test duplicates in a set.
    void AddChild(std::int32_t family, std::int32_t individual);

    std::int32_t GetHusband(std::int32_t family) const;
    std::int32_t GetWife(std::int32_t family) const;
    std::int32_t GetChildCount(std::int32_t family) const;
    // n-th child (1-based), 0 out of range. Reading the children in order
    // costs one node step per three children.
    std::int32_t GetChild(std::int32_t family, std::int32_t n) const;
    // All children in order.
    void GetChildren(std::int32_t family, std::vector<std::int32_t>& children) const;
    std::uint8_t GetFlags(std::int32_t family) const;

    // Sorts the children by birth when the collection is given, the family is
    // valid, the SortChildren setting is on, there are two children or more
    // and they are not sorted yet; then marks them sorted.
    void SortChildren(std::int32_t family, WABSCollection* collection);
    // Dated children first, oldest first, then the undated ones.
    void SortChildrenByBirth(std::int32_t family, WABSCollection* collection);

    WLinkArray& Links() { return *m_links; }
    const WLinkArray& Links() const { return *m_links; }

    // Fills the families of one part of the table, on a thread of its own
    // while other fillers fill other families: the adding of AddChild,
    // SetHusband and SetWife, with the new chain nodes kept apart until
    // Place puts them into the pool.
    class Filler {
    public:
        explicit Filler(WFamLinks& table) : m_table(&table) {}
        void AddChild(std::int32_t family, std::int32_t individual);
        void SetHusband(std::int32_t family, std::int32_t individual) { m_table->SetHusband(family, individual); }
        void SetWife(std::int32_t family, std::int32_t individual) { m_table->SetWife(family, individual); }
        std::int32_t NodeCount() const { return m_nodes.Count(); }
        // Moves the nodes in behind base (from ReserveNodes), and the
        // chains of the families filled here with them.
        void Place(std::int32_t base);

    private:
        WFamLinks* m_table;
        WLinkNodes m_nodes;
        std::unordered_map<std::int32_t, std::unordered_set<std::int32_t>> m_large;
        std::vector<std::int32_t> m_chains; // families whose chains started here
    };
    // Room in the pool for a filler's nodes; the base to place them at.
    std::int32_t ReserveNodes(std::int32_t count) { return m_links->Reserve(count); }

private:
    struct Record {
        std::uint8_t flags;
        std::uint8_t pad[3];
        std::int32_t husband;
        std::int32_t wife;
        std::uint32_t childCount; // 32 bits: no family may lose children
        std::int32_t first;       // first node of the children chain, 0 = none
        std::int32_t last;        // last node of the chain, for appending
    };
    static_assert(sizeof(Record) == 24, "family record layout");
    // Below this many children the duplicate test walks the chain.
    static constexpr std::uint32_t WalkLimit = 48;

    bool read(std::int32_t family, Record& r) const;
    void write(std::int32_t family, const Record& r);
    // AddChild on a pool of either kind; a family whose chain starts here
    // is noted in started when that is given.
    template <class Pool>
    void addChild(Pool& pool, std::unordered_map<std::int32_t, std::unordered_set<std::int32_t>>& large,
                  std::vector<std::int32_t>* started, std::int32_t family, std::int32_t individual);
    template <class Pool>
    static void childrenOf(const Pool& pool, const Record& r, std::vector<std::int32_t>& children);

    std::unique_ptr<WLinkArray> m_links;
    // Children of the families too large for the chain walk.
    std::unordered_map<std::int32_t, std::unordered_set<std::int32_t>> m_largeFamilies;
};
