#include "model/LinkArray.h"

#include <cstring>
#include <new>
#include <sys/mman.h>

WLinkArray::WLinkArray(std::int32_t capacity) : WABSArrayIndex(std::string(), false, NodeSize, capacity) {}

void WLinkArray::Clear() {
    WABSArrayIndex::Clear();
    m_walkFirst = m_walkOrdinal = m_walkNode = 0;
}

bool WLinkArray::readNode(std::int32_t index, Node& node) const {
    const char* p = GetPtr(index);
    if (!p) return false;
    std::memcpy(&node, p, sizeof node);
    return true;
}

void WLinkArray::writeNode(std::int32_t index, const Node& node) {
    if (char* p = GetPtr(index)) std::memcpy(p, &node, sizeof node);
}

template <class Nodes>
bool WLinkArray::appendLink(Nodes& nodes, std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b) {
    Node node;
    if (!nodes.readNode(tail, node)) return false;
    for (Slot& slot : node.entries) {
        if (slot.target == 0) {
            slot = {target, a, b};
            nodes.writeNode(tail, node);
            return true;
        }
    }
    const std::int32_t added = nodes.AddNode(target, a, b);
    node.next = added;
    nodes.writeNode(tail, node);
    tail = added;
    return true;
}

template <class Nodes>
std::int32_t WLinkArray::findLink(const Nodes& nodes, std::int32_t first, std::int32_t target) {
    std::int32_t index = first;
    std::int32_t base = 0;
    Node node;
    while (nodes.readNode(index, node) && node.entries[0].target != 0) {
        for (std::int32_t s = 0; s < SlotsPerNode; ++s)
            if (node.entries[s].target == target) return base + s + 1;
        base += SlotsPerNode;
        index = node.next;
    }
    return 0;
}

template <class Nodes>
std::int32_t WLinkArray::nextNode(const Nodes& nodes, std::int32_t node) {
    Node n;
    return nodes.readNode(node, n) ? n.next : 0;
}

template <class Nodes>
std::int32_t WLinkArray::slotTarget(const Nodes& nodes, std::int32_t node, std::int32_t slot) {
    Node n;
    if (slot < 0 || slot >= SlotsPerNode || !nodes.readNode(node, n)) return 0;
    return n.entries[slot].target;
}

std::int32_t WLinkArray::AddNode(std::int32_t target, std::int32_t a, std::int32_t b) {
    Node node{};
    node.entries[0] = {target, a, b};
    return Add(&node);
}

bool WLinkArray::AddLink(std::int32_t first, bool allowDuplicate, std::int32_t target, std::int32_t a, std::int32_t b) {
    std::int32_t index = first;
    Node node;
    while (readNode(index, node)) {
        if (node.entries[0].target == 0) return false;
        for (Slot& slot : node.entries) {
            if (!allowDuplicate && slot.target == target) return false;
            if (slot.target == 0) {
                slot = {target, a, b};
                writeNode(index, node);
                return true;
            }
        }
        if (node.next == 0) {
            // Every node is full: open a new one behind the last.
            std::int32_t added = AddNode(target, a, b);
            node.next = added;
            writeNode(index, node);
            return true;
        }
        index = node.next;
    }
    return false;
}

bool WLinkArray::AppendLink(std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b) {
    return appendLink(*this, tail, target, a, b);
}

std::int32_t WLinkArray::nodeOfLink(std::int32_t first, std::int32_t n) const {
    if (n < 1 || !IsValidIndex(first)) return 0;
    const std::int32_t ordinal = (n - 1) / SlotsPerNode;
    std::int32_t index = first;
    std::int32_t at = 0;
    if (m_walkFirst == first && m_walkOrdinal <= ordinal && IsValidIndex(m_walkNode)) {
        index = m_walkNode;
        at = m_walkOrdinal;
    }
    Node node;
    while (at < ordinal) {
        if (!readNode(index, node) || node.next == 0) return 0;
        index = node.next;
        ++at;
    }
    if (!IsValidIndex(index)) return 0;
    m_walkFirst = first;
    m_walkOrdinal = ordinal;
    m_walkNode = index;
    return index;
}

std::int32_t WLinkArray::GetLinkTarget(std::int32_t first, std::int32_t n) const {
    std::int32_t target = 0, a = 0, b = 0;
    return GetLink(first, n, target, a, b) ? target : 0;
}

bool WLinkArray::GetLink(std::int32_t first, std::int32_t n, std::int32_t& target, std::int32_t& a,
                         std::int32_t& b) const {
    Node node;
    std::int32_t index = nodeOfLink(first, n);
    if (index == 0 || !readNode(index, node)) return false;
    const Slot& slot = node.entries[(n - 1) % SlotsPerNode];
    target = slot.target;
    a = slot.a;
    b = slot.b;
    return true;
}

bool WLinkArray::SetLink(std::int32_t first, std::int32_t n, std::int32_t target, std::int32_t a, std::int32_t b) {
    Node node;
    std::int32_t index = nodeOfLink(first, n);
    if (index == 0 || !readNode(index, node)) return false;
    node.entries[(n - 1) % SlotsPerNode] = {target, a, b};
    writeNode(index, node);
    return true;
}

void WLinkArray::SetTargets(std::int32_t first, const std::int32_t* targets, std::size_t count) {
    std::size_t i = 0;
    Node node;
    for (std::int32_t index = first; i < count && readNode(index, node); index = node.next) {
        for (Slot& slot : node.entries)
            if (i < count) slot = {targets[i++], 0, 0};
        writeNode(index, node);
    }
}

void WLinkArray::ReplaceLink(std::int32_t first, std::int32_t oldTarget, std::int32_t newTarget, std::int32_t a,
                             std::int32_t b) {
    std::int32_t index = first;
    Node node;
    while (readNode(index, node) && node.entries[0].target != 0) {
        for (Slot& slot : node.entries) {
            if (slot.target == oldTarget) {
                slot = {newTarget, a, b};
                writeNode(index, node);
                return;
            }
        }
        index = node.next;
    }
}

std::int32_t WLinkArray::FindLink(std::int32_t first, std::int32_t target) const {
    return findLink(*this, first, target);
}

std::int32_t WLinkArray::NextNode(std::int32_t node) const { return nextNode(*this, node); }

std::int32_t WLinkArray::SlotTarget(std::int32_t node, std::int32_t slot) const {
    return slotTarget(*this, node, slot);
}

std::int32_t WLinkArray::Reserve(std::int32_t count) {
    const std::int32_t base = Count();
    if (count > 0) ExtendCount(base + count);
    return base;
}

void WLinkArray::Place(std::int32_t base, WLinkNodes& nodes) const {
    if (nodes.Count() > 0) PrepareWrite(base + 1, base + nodes.Count());
    for (std::int32_t i = 1; i <= nodes.Count(); ++i) {
        Node node = nodes.At(i);
        if (node.next) node.next += base;
        PutRecord(base + i, &node);
        if (i % WLinkNodes::BlockNodes == 0) nodes.release(std::size_t(i / WLinkNodes::BlockNodes - 1));
    }
    nodes.clear();
}

std::int32_t WLinkNodes::AddNode(std::int32_t target, std::int32_t a, std::int32_t b) {
    if (m_count % BlockNodes == 0) {
        void* p = mmap(nullptr, BlockNodes * sizeof(WLinkArray::Node), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (p == MAP_FAILED) throw std::bad_alloc();
        m_blocks.push_back(static_cast<WLinkArray::Node*>(p));
    }
    WLinkArray::Node node{};
    node.entries[0] = {target, a, b};
    at(++m_count) = node;
    return m_count;
}

void WLinkNodes::release(std::size_t b) {
    if (m_blocks[b]) munmap(m_blocks[b], BlockNodes * sizeof(WLinkArray::Node));
    m_blocks[b] = nullptr;
}

void WLinkNodes::clear() {
    for (std::size_t b = 0; b < m_blocks.size(); ++b) release(b);
    m_blocks.clear();
    m_count = 0;
}

bool WLinkNodes::readNode(std::int32_t index, WLinkArray::Node& node) const {
    if (index < 1 || index > Count()) return false;
    node = At(index);
    return true;
}

bool WLinkNodes::AppendLink(std::int32_t& tail, std::int32_t target, std::int32_t a, std::int32_t b) {
    return WLinkArray::appendLink(*this, tail, target, a, b);
}

std::int32_t WLinkNodes::FindLink(std::int32_t first, std::int32_t target) const {
    return WLinkArray::findLink(*this, first, target);
}

std::int32_t WLinkNodes::NextNode(std::int32_t node) const { return WLinkArray::nextNode(*this, node); }

std::int32_t WLinkNodes::SlotTarget(std::int32_t node, std::int32_t slot) const {
    return WLinkArray::slotTarget(*this, node, slot);
}
