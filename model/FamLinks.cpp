#include "model/FamLinks.h"

#include <algorithm>
#include <cstring>

#include "model/ABSCollection.h"
#include "model/Date.h"
#include "model/Options.h"

WFamLinks::WFamLinks(const std::string& name, std::int32_t count)
    : WABSArrayIndex(name, false, sizeof(Record), count), m_links(std::make_unique<WLinkArray>(count)) {
    SetCount(count);
}

WFamLinks::~WFamLinks() = default;

bool WFamLinks::read(std::int32_t family, Record& r) const {
    const char* p = GetPtr(family);
    if (!p) return false;
    std::memcpy(&r, p, sizeof r);
    return true;
}

void WFamLinks::write(std::int32_t family, const Record& r) {
    if (char* p = GetPtr(family)) std::memcpy(p, &r, sizeof r);
}

void WFamLinks::SetHusband(std::int32_t family, std::int32_t individual) {
    Record r;
    if (!read(family, r)) return;
    r.husband = individual;
    write(family, r);
}

void WFamLinks::SetWife(std::int32_t family, std::int32_t individual) {
    Record r;
    if (!read(family, r)) return;
    r.wife = individual;
    write(family, r);
}

template <class Pool>
void WFamLinks::childrenOf(const Pool& pool, const Record& r, std::vector<std::int32_t>& children) {
    children.reserve(r.childCount);
    for (std::int32_t node = r.first; node != 0 && children.size() < r.childCount; node = pool.NextNode(node)) {
        for (std::int32_t s = 0; s < WLinkArray::SlotsPerNode && children.size() < r.childCount; ++s)
            children.push_back(pool.SlotTarget(node, s));
    }
}

template <class Pool>
void WFamLinks::addChild(Pool& pool, std::unordered_map<std::int32_t, std::unordered_set<std::int32_t>>& large,
                         std::vector<std::int32_t>* started, std::int32_t family, std::int32_t individual) {
    Record r;
    if (!read(family, r)) return;
    r.flags = static_cast<std::uint8_t>(r.flags & ~ChildrenSorted);
    if (r.first == 0) {
        r.first = r.last = pool.AddNode(individual, 0, 0);
        r.childCount = 1;
        write(family, r);
        if (started) started->push_back(family);
        return;
    }
    bool present = false;
    if (r.childCount < WalkLimit) {
        present = pool.FindLink(r.first, individual) != 0;
    } else {
        auto it = large.find(family);
        if (it == large.end()) {
            // The family just outgrew the walk: collect its children once.
            std::vector<std::int32_t> children;
            childrenOf(pool, r, children);
            it = large.emplace(family, std::unordered_set<std::int32_t>(children.begin(), children.end())).first;
        }
        present = !it->second.insert(individual).second;
    }
    if (!present && pool.AppendLink(r.last, individual, 0, 0)) ++r.childCount;
    write(family, r);
}

void WFamLinks::AddChild(std::int32_t family, std::int32_t individual) {
    addChild(*m_links, m_largeFamilies, nullptr, family, individual);
}

void WFamLinks::Filler::AddChild(std::int32_t family, std::int32_t individual) {
    m_table->addChild(m_nodes, m_large, &m_chains, family, individual);
}

void WFamLinks::Filler::Place(std::int32_t base) {
    m_table->m_links->Place(base, m_nodes);
    for (std::int32_t family : m_chains) {
        Record r;
        if (!m_table->read(family, r)) continue;
        r.first += base;
        r.last += base;
        m_table->write(family, r);
    }
}

std::int32_t WFamLinks::GetHusband(std::int32_t family) const {
    Record r;
    return read(family, r) ? r.husband : 0;
}

std::int32_t WFamLinks::GetWife(std::int32_t family) const {
    Record r;
    return read(family, r) ? r.wife : 0;
}

std::int32_t WFamLinks::GetChildCount(std::int32_t family) const {
    Record r;
    return read(family, r) ? static_cast<std::int32_t>(r.childCount) : 0;
}

std::uint8_t WFamLinks::GetFlags(std::int32_t family) const {
    Record r;
    return read(family, r) ? r.flags : 0;
}

std::int32_t WFamLinks::GetChild(std::int32_t family, std::int32_t n) const {
    Record r;
    if (!read(family, r) || r.first == 0 || n < 1 || static_cast<std::uint32_t>(n) > r.childCount) return 0;
    return m_links->GetLinkTarget(r.first, n);
}

void WFamLinks::GetChildren(std::int32_t family, std::vector<std::int32_t>& children) const {
    children.clear();
    Record r;
    if (!read(family, r) || r.first == 0) return;
    childrenOf(*m_links, r, children);
}

void WFamLinks::SortChildren(std::int32_t family, WABSCollection* collection) {
    Record r;
    if (!collection || !read(family, r) || !WOptions::GetBool(opt::SortChildren) || r.childCount <= 1 ||
        (r.flags & ChildrenSorted) != 0)
        return;
    SortChildrenByBirth(family, collection);
    if (read(family, r)) {
        r.flags |= ChildrenSorted;
        write(family, r);
    }
}

namespace {

struct ChildEntry {
    std::int32_t child = 0;
    std::unique_ptr<WABSVitEvent> birth;
    const WDate* date = nullptr;
};

// The exchange sort of the family view: each position takes, in turn, every
// later entry that sorts before what it holds; an entry without a date gives
// way to anything.
void exchangeSort(std::vector<ChildEntry>& entries) {
    const std::size_t n = entries.size();
    for (std::size_t p = 0; p + 1 < n; ++p) {
        const WDate* d = entries[p].date;
        for (std::size_t k = p + 1; k < n; ++k) {
            const WDate* e = entries[k].date;
            if (!d || (e && d->Compare(e) == 1)) {
                std::swap(entries[p], entries[k]);
                d = e;
            }
        }
    }
}

// a sorts after b: undated after dated, later dates after earlier ones.
bool sortsAfter(const ChildEntry& a, const ChildEntry& b) {
    if (!b.date) return false;
    if (!a.date) return true;
    return a.date->Compare(b.date) == 1;
}

// A stable merge sort for very large families. It only asks "sorts after"
// and never leaves its ranges, whatever the comparisons answer.
void mergeSort(std::vector<ChildEntry>& entries) {
    const std::size_t n = entries.size();
    std::vector<ChildEntry> buffer(n);
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, out = lo;
            while (i < mid && j < hi)
                buffer[out++] = std::move(sortsAfter(entries[i], entries[j]) ? entries[j++] : entries[i++]);
            while (i < mid) buffer[out++] = std::move(entries[i++]);
            while (j < hi) buffer[out++] = std::move(entries[j++]);
        }
        entries.swap(buffer);
    }
}

} // namespace

void WFamLinks::SortChildrenByBirth(std::int32_t family, WABSCollection* collection) {
    Record r;
    if (!collection || !read(family, r) || r.first == 0) return;
    std::vector<std::int32_t> children;
    GetChildren(family, children);

    std::vector<ChildEntry> entries(children.size());
    for (std::size_t i = 0; i < children.size(); ++i) {
        entries[i].child = children[i];
        if (std::unique_ptr<WABSIndividual> individual = collection->GetIndividual(children[i])) {
            entries[i].birth = individual->GetEvent(EventKind::Birth, 1);
            if (entries[i].birth) entries[i].date = entries[i].birth->GetDate();
        }
    }

    if (entries.size() <= static_cast<std::size_t>(ExchangeSortLimit))
        exchangeSort(entries);
    else
        mergeSort(entries);

    for (std::size_t i = 0; i < entries.size(); ++i)
        m_links->SetLink(r.first, static_cast<std::int32_t>(i + 1), entries[i].child, 0, 0);
}
