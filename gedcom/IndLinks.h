#pragma once
// Per individual: the families in which it is a child (parent families, each
// with two pedigree link codes) and those in which it is a spouse. The first
// of each is held inline; further ones in chains of two link pools. Appending
// never walks a chain: the last node is remembered, and long lists test
// duplicates in a set.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/ABSArrayIndex.h"
#include "model/LinkArray.h"

class WABSCollection;

class WIndLinks : public WABSArrayIndex {
public:
    // Flag bits.
    static constexpr std::uint8_t ParentOrderFixed = 1;
    static constexpr std::uint8_t SpouseOrderFixed = 2;
    // Individuals up to this many spouse families are ordered by the exchange
    // sort; more by a merge sort with the same comparison.
    static constexpr std::int32_t ExchangeSortLimit = 512;

    // individualCount zeroed entries.
    WIndLinks(const std::string& name, std::int32_t individualCount);
    ~WIndLinks() override;

    // A family in which the individual is a child. code1 and code2 are stored
    // as the family's pair (code2, code1).
    void AddParentFamily(std::int32_t individual, bool allowDuplicate, bool makeFirst, std::uint16_t code1,
                         std::uint16_t code2, std::int32_t family);
    // A family in which the individual is a spouse; duplicates are ignored.
    void AddSpouseFamily(std::int32_t individual, std::int32_t family, bool makeFirst);

    std::int32_t GetParentFamilyCount(std::int32_t individual) const;
    std::int32_t GetSpouseFamilyCount(std::int32_t individual) const;
    // The i-th family (1-based), 0 when out of range.
    std::int32_t GetParentFamily(std::int32_t individual, std::int32_t i) const;
    std::int32_t GetSpouseFamily(std::int32_t individual, std::int32_t i) const;
    // The two codes of the i-th parent family; false when out of range.
    bool GetParentCodes(std::int32_t individual, std::int32_t i, std::uint16_t& first, std::uint16_t& second) const;
    std::uint8_t GetFlags(std::int32_t individual) const;

    // Orders every individual's spouse families: undated first, then by
    // marriage date, equal ones by the other spouse's name. With threads
    // above 1 the collection's families are read on that many threads at
    // once; its individuals only on this one.
    void SortSpouseFamilies(WABSCollection& collection, unsigned threads = 1);

    WLinkArray& ParentLinks() { return *m_parents; }
    WLinkArray& SpouseLinks() { return *m_spouses; }

    using Sets = std::unordered_map<std::int32_t, std::unordered_set<std::int32_t>>;
    using Tails = std::unordered_map<std::int32_t, std::int32_t>;

    // Fills the individuals of one part of the table, on a thread of its own
    // while other fillers fill other individuals: the adding of the link
    // passes (no duplicates, none made first), with the new chain nodes kept
    // apart until Place puts them into the pools.
    class Filler {
    public:
        explicit Filler(WIndLinks& table) : m_table(&table) {}
        void AddParentFamily(std::int32_t individual, std::uint16_t code1, std::uint16_t code2, std::int32_t family);
        void AddSpouseFamily(std::int32_t individual, std::int32_t family);
        std::int32_t ParentNodeCount() const { return m_parents.nodes.Count(); }
        std::int32_t SpouseNodeCount() const { return m_spouses.nodes.Count(); }
        // Moves the nodes in behind the bases (from ReserveParentNodes and
        // ReserveSpouseNodes), and the chains of the individuals filled here
        // with them.
        void Place(std::int32_t parentBase, std::int32_t spouseBase);

    private:
        struct Chains {
            WLinkNodes nodes;
            Sets sets;
            Tails tails;
            std::vector<std::int32_t> started; // individuals whose chains started here
        };
        WIndLinks* m_table;
        Chains m_parents, m_spouses;
    };
    // Room in the pools for a filler's nodes; the base to place them at.
    std::int32_t ReserveParentNodes(std::int32_t count) { return m_parents->Reserve(count); }
    std::int32_t ReserveSpouseNodes(std::int32_t count) { return m_spouses->Reserve(count); }

private:
    struct Record {
        std::uint8_t flags;
        std::uint8_t pad[3];
        std::int32_t parentCount;
        std::int32_t firstParent;
        std::uint16_t code1;         // second code argument
        std::uint16_t code2;         // first code argument
        std::int32_t parentOverflow; // chain of the 2nd.. parent families
        std::int32_t spouseCount;
        std::int32_t firstSpouse;
        std::int32_t spouseOverflow;
    };
    static_assert(sizeof(Record) == 32, "individual link record layout");
    // Above this many links a chain's duplicate test uses a set.
    static constexpr std::int32_t WalkLimit = 48;

    Record* rec(std::int32_t individual) const;
    // Appends to a chain unless refused as a duplicate; true when added.
    template <class Pool>
    static bool appendLink(Pool& pool, Sets& sets, Tails& tails, std::int32_t individual, std::int32_t first,
                           std::int32_t chainCount, bool allowDuplicate, std::int32_t family, std::int32_t a,
                           std::int32_t b);
    // AddParentFamily and AddSpouseFamily on pools of either kind, up to the
    // move to the first place: true when the family was added to an existing
    // chain. An individual whose chain starts here is noted in started when
    // that is given.
    template <class Pool>
    bool addParent(Pool& pool, Sets& sets, Tails& tails, std::vector<std::int32_t>* started, std::int32_t individual,
                   bool allowDuplicate, bool makeFirst, std::uint16_t code1, std::uint16_t code2, std::int32_t family);
    template <class Pool>
    bool addSpouse(Pool& pool, Sets& sets, Tails& tails, std::vector<std::int32_t>* started, std::int32_t individual,
                   std::int32_t family, bool makeFirst);
    void moveParentFirst(std::int32_t individual, std::int32_t family);
    void moveSpouseFirst(std::int32_t individual, std::int32_t family);
    void setSpouseOrder(std::int32_t individual, const std::vector<std::int32_t>& families);
    struct SpouseWork;
    // Orders one individual's spouse families; without names, leaves them
    // as they are and gives false when the other spouses' names would be
    // needed. Touches only the individual's own row and chain.
    bool sortSpouses(std::int32_t individual, WABSCollection& collection, bool names, SpouseWork& work);

    std::unique_ptr<WLinkArray> m_parents;
    std::unique_ptr<WLinkArray> m_spouses;
    Sets m_parentSets, m_spouseSets;
    // Last node of each overflow chain, for appending without a walk (few
    // individuals have a chain at all).
    Tails m_parentTails, m_spouseTails;
};
