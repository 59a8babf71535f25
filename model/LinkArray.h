#pragma once
// A pool of chained link nodes. A chain is named by the index of its first
// node; each node holds three links (target, value A, value B) and the index
// of the next node (0 at the end). Slots fill from the first, so a node's
// first slot is never empty in a chain built by AddNode / AddLink / AppendLink.
#include <cstdint>
#include <utility>
#include <vector>

#include "model/ABSArrayIndex.h"

class WLinkNodes;

class WLinkArray : public WABSArrayIndex {
public:
    static constexpr std::int32_t SlotsPerNode = 3;
    static constexpr std::int32_t NodeSize = 40;

    // An empty pool with room for capacity nodes.
    explicit WLinkArray(std::int32_t capacity);

    // Empties the pool.
    void Clear();

    // Appends a node holding (target, a, b) in its first slot; returns its index.
    std::int32_t AddNode(std::int32_t target, std::int32_t a, std::int32_t b);
    // Adds a link to the chain at first: into the first empty slot, or a new
    // node at the end. Without allowDuplicate a link whose target is already
    // in the chain is refused. Walks the whole chain; builders of long chains
    // use AppendLink.
    bool AddLink(std::int32_t first, bool allowDuplicate, std::int32_t target, std::int32_t a, std::int32_t b);
    // Appends to a chain whose last node is tail without walking it; tail
    // moves to the new node when one is opened. No duplicate test.
    bool AppendLink(std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b);

    // Target of the n-th link (1-based); 0 when the chain ends first or the slot is empty.
    std::int32_t GetLinkTarget(std::int32_t first, std::int32_t n) const;
    // The n-th link; false when the chain ends first.
    bool GetLink(std::int32_t first, std::int32_t n, std::int32_t& target, std::int32_t& a, std::int32_t& b) const;
    // Overwrites the n-th link; false when the chain ends first.
    bool SetLink(std::int32_t first, std::int32_t n, std::int32_t target, std::int32_t a, std::int32_t b);
    // Overwrites links 1, 2, ... of the chain with the targets in order
    // (values A and B 0), as SetLink would, up to the chain's end. It keeps
    // no walk memory, so threads may write different chains at once.
    void SetTargets(std::int32_t first, const std::int32_t* targets, std::size_t count);
    // Overwrites the first link whose target is oldTarget.
    void ReplaceLink(std::int32_t first, std::int32_t oldTarget, std::int32_t newTarget, std::int32_t a,
                     std::int32_t b);
    // 1-based position of the first link with that target (three positions
    // per node), 0 when absent or first is no node.
    std::int32_t FindLink(std::int32_t first, std::int32_t target) const;

    // Index of the next node after node, 0 at the end.
    std::int32_t NextNode(std::int32_t node) const;
    // Target of slot (0..2) of node; 0 for an empty slot or no node.
    std::int32_t SlotTarget(std::int32_t node, std::int32_t slot) const;

    // Room for count more nodes at the end, not yet written; returns the
    // index before the first of them, the base to Place nodes at.
    std::int32_t Reserve(std::int32_t count);
    // Moves nodes built apart into positions base + 1 on, their next
    // indexes moved by base, and empties nodes, whose memory goes back as it
    // is copied. Threads may place into different reserved ranges at once.
    void Place(std::int32_t base, WLinkNodes& nodes) const;

    struct Slot {
        std::int32_t target;
        std::int32_t a;
        std::int32_t b;
    };
    struct Node {
        Slot entries[SlotsPerNode];
        std::int32_t next;
    };
    static_assert(sizeof(Node) == NodeSize, "link node layout");

private:
    friend class WLinkNodes;
    bool readNode(std::int32_t index, Node& node) const;
    void writeNode(std::int32_t index, const Node& node);
    // The chain steps, on this pool or on nodes built apart (Nodes gives
    // readNode, writeNode and AddNode).
    template <class Nodes>
    static bool appendLink(Nodes& nodes, std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b);
    template <class Nodes>
    static std::int32_t findLink(const Nodes& nodes, std::int32_t first, std::int32_t target);
    template <class Nodes>
    static std::int32_t nextNode(const Nodes& nodes, std::int32_t node);
    template <class Nodes>
    static std::int32_t slotTarget(const Nodes& nodes, std::int32_t node, std::int32_t slot);
    // Node holding the n-th link of the chain (0 when the chain ends first).
    // Remembers the last walk, so reading a chain in order costs one step per node.
    std::int32_t nodeOfLink(std::int32_t first, std::int32_t n) const;

    mutable std::int32_t m_walkFirst = 0;
    mutable std::int32_t m_walkOrdinal = 0; // 0-based node number within the chain
    mutable std::int32_t m_walkNode = 0;
};

// Chains built in plain memory, apart from any pool, so that a thread can build
// its own while others build theirs; nodes are numbered from 1 as in a pool,
// and WLinkArray::Place puts them into one behind a base. The operations are
// those of WLinkArray. The nodes stand in blocks mapped on their own, so
// that each goes back to the system once placed.
class WLinkNodes {
public:
    WLinkNodes() = default;
    WLinkNodes(WLinkNodes&& o) noexcept { swap(o); }
    WLinkNodes& operator=(WLinkNodes&& o) noexcept {
        swap(o);
        return *this;
    }
    ~WLinkNodes() { clear(); }

    std::int32_t AddNode(std::int32_t target, std::int32_t a, std::int32_t b);
    bool AppendLink(std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b);
    std::int32_t FindLink(std::int32_t first, std::int32_t target) const;
    std::int32_t NextNode(std::int32_t node) const;
    std::int32_t SlotTarget(std::int32_t node, std::int32_t slot) const;
    std::int32_t Count() const { return m_count; }
    const WLinkArray::Node& At(std::int32_t node) const { return at(node); }

private:
    friend class WLinkArray;
    static constexpr int BlockShift = 14; // 16,384 nodes, 640 KB
    static constexpr std::int32_t BlockNodes = std::int32_t(1) << BlockShift;

    WLinkArray::Node& at(std::int32_t node) const {
        const auto i = static_cast<std::uint32_t>(node - 1);
        return m_blocks[i >> BlockShift][i & (BlockNodes - 1)];
    }
    bool readNode(std::int32_t index, WLinkArray::Node& node) const;
    void writeNode(std::int32_t index, const WLinkArray::Node& node) { at(index) = node; }
    // Gives block b back.
    void release(std::size_t b);
    void clear();
    void swap(WLinkNodes& o) noexcept {
        m_blocks.swap(o.m_blocks);
        std::swap(m_count, o.m_count);
    }

    std::vector<WLinkArray::Node*> m_blocks;
    std::int32_t m_count = 0;
};
