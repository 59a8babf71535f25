#include "gedcom/IndLinks.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#include "model/ABSCollection.h"
#include "model/Date.h"
#include "model/Global.h"

WIndLinks::WIndLinks(const std::string& name, std::int32_t individualCount)
    : WABSArrayIndex(name, false, sizeof(Record), individualCount),
      m_parents(std::make_unique<WLinkArray>(std::max(individualCount / 3, 0))),
      m_spouses(std::make_unique<WLinkArray>(std::max(individualCount / 3, 0))) {
    SetCount(individualCount);
}

WIndLinks::~WIndLinks() = default;

WIndLinks::Record* WIndLinks::rec(std::int32_t individual) const {
    // Records are 4-byte multiples in an aligned store.
    return reinterpret_cast<Record*>(GetPtr(individual));
}

template <class Pool>
bool WIndLinks::appendLink(Pool& pool, Sets& sets, Tails& tails, std::int32_t individual, std::int32_t first,
                           std::int32_t chainCount, bool allowDuplicate, std::int32_t family, std::int32_t a,
                           std::int32_t b) {
    if (!allowDuplicate) {
        if (chainCount <= WalkLimit) {
            if (pool.FindLink(first, family)) return false;
        } else {
            auto it = sets.find(individual);
            if (it == sets.end()) {
                // First time past the limit: one walk fills the set.
                auto& s = sets[individual];
                for (std::int32_t node = first; node; node = pool.NextNode(node))
                    for (std::int32_t slot = 0; slot < WLinkArray::SlotsPerNode; ++slot)
                        if (std::int32_t t = pool.SlotTarget(node, slot)) s.insert(t);
                it = sets.find(individual);
            }
            if (!it->second.insert(family).second) return false;
        }
    } else if (auto it = sets.find(individual); it != sets.end()) {
        it->second.insert(family);
    }
    auto tail = tails.find(individual);
    if (tail == tails.end()) {
        // Not known (the chain was made elsewhere): one walk finds the end.
        std::int32_t last = first;
        while (std::int32_t next = pool.NextNode(last)) last = next;
        tail = tails.emplace(individual, last).first;
    }
    return pool.AppendLink(tail->second, family, a, b);
}

template <class Pool>
bool WIndLinks::addParent(Pool& pool, Sets& sets, Tails& tails, std::vector<std::int32_t>* started,
                          std::int32_t individual, bool allowDuplicate, bool makeFirst, std::uint16_t code1,
                          std::uint16_t code2, std::int32_t family) {
    Record* r = rec(individual);
    if (!r) return false;
    if (makeFirst) r->flags |= ParentOrderFixed;
    if (r->parentCount == 0) {
        r->firstParent = family;
        r->code1 = code2;
        r->code2 = code1;
        r->parentCount = 1;
        return false;
    }
    if (!allowDuplicate && family == r->firstParent) return false;
    if (!r->parentOverflow) {
        ++r->parentCount;
        std::int32_t node;
        if (makeFirst) {
            node = pool.AddNode(r->firstParent, r->code1, r->code2);
            r = rec(individual);
            r->firstParent = family;
            r->code1 = code2;
            r->code2 = code1;
        } else {
            node = pool.AddNode(family, code2, code1);
            r = rec(individual);
        }
        r->parentOverflow = node;
        tails[individual] = node;
        if (started) started->push_back(individual);
        return false;
    }
    bool added = appendLink(pool, sets, tails, individual, r->parentOverflow, r->parentCount - 1, allowDuplicate,
                            family, code2, code1);
    if (!added) return false;
    r = rec(individual);
    ++r->parentCount;
    return true;
}

template <class Pool>
bool WIndLinks::addSpouse(Pool& pool, Sets& sets, Tails& tails, std::vector<std::int32_t>* started,
                          std::int32_t individual, std::int32_t family, bool makeFirst) {
    Record* r = rec(individual);
    if (!r) return false;
    if (makeFirst) r->flags |= SpouseOrderFixed;
    if (r->spouseCount == 0) {
        r->firstSpouse = family;
        r->spouseCount = 1;
        return false;
    }
    if (family == r->firstSpouse) return false;
    if (!r->spouseOverflow) {
        ++r->spouseCount;
        std::int32_t target = makeFirst ? r->firstSpouse : family;
        std::int32_t node = pool.AddNode(target, 0, 0);
        r = rec(individual);
        r->spouseOverflow = node;
        tails[individual] = node;
        if (makeFirst) r->firstSpouse = family;
        if (started) started->push_back(individual);
        return false;
    }
    bool added = appendLink(pool, sets, tails, individual, r->spouseOverflow, r->spouseCount - 1, false, family, 0, 0);
    if (!added) return false;
    r = rec(individual);
    ++r->spouseCount;
    return true;
}

void WIndLinks::AddParentFamily(std::int32_t individual, bool allowDuplicate, bool makeFirst, std::uint16_t code1,
                                std::uint16_t code2, std::int32_t family) {
    if (addParent(*m_parents, m_parentSets, m_parentTails, nullptr, individual, allowDuplicate, makeFirst, code1, code2,
                  family) &&
        makeFirst)
        moveParentFirst(individual, family);
}

void WIndLinks::AddSpouseFamily(std::int32_t individual, std::int32_t family, bool makeFirst) {
    if (addSpouse(*m_spouses, m_spouseSets, m_spouseTails, nullptr, individual, family, makeFirst) && makeFirst)
        moveSpouseFirst(individual, family);
}

void WIndLinks::Filler::AddParentFamily(std::int32_t individual, std::uint16_t code1, std::uint16_t code2,
                                        std::int32_t family) {
    m_table->addParent(m_parents.nodes, m_parents.sets, m_parents.tails, &m_parents.started, individual, false, false,
                       code1, code2, family);
}

void WIndLinks::Filler::AddSpouseFamily(std::int32_t individual, std::int32_t family) {
    m_table->addSpouse(m_spouses.nodes, m_spouses.sets, m_spouses.tails, &m_spouses.started, individual, family, false);
}

void WIndLinks::Filler::Place(std::int32_t parentBase, std::int32_t spouseBase) {
    m_table->m_parents->Place(parentBase, m_parents.nodes);
    m_table->m_spouses->Place(spouseBase, m_spouses.nodes);
    for (std::int32_t individual : m_parents.started) m_table->rec(individual)->parentOverflow += parentBase;
    for (std::int32_t individual : m_spouses.started) m_table->rec(individual)->spouseOverflow += spouseBase;
}

void WIndLinks::moveParentFirst(std::int32_t individual, std::int32_t family) {
    Record* r = rec(individual);
    r->flags |= ParentOrderFixed;
    if (r->parentCount <= 1 || r->firstParent == family) return;
    std::int32_t pos = m_parents->FindLink(r->parentOverflow, family);
    std::int32_t t = 0, a = 0, b = 0;
    if (!pos || !m_parents->GetLink(r->parentOverflow, pos, t, a, b)) return;
    m_parents->SetLink(r->parentOverflow, pos, r->firstParent, r->code1, r->code2);
    if (auto it = m_parentSets.find(individual); it != m_parentSets.end()) {
        it->second.erase(family);
        it->second.insert(r->firstParent);
    }
    r->firstParent = family;
    r->code1 = std::uint16_t(a);
    r->code2 = std::uint16_t(b);
}

void WIndLinks::moveSpouseFirst(std::int32_t individual, std::int32_t family) {
    Record* r = rec(individual);
    r->flags |= SpouseOrderFixed;
    if (r->spouseCount <= 1 || r->firstSpouse == family) return;
    std::int32_t pos = m_spouses->FindLink(r->spouseOverflow, family);
    if (!pos) return;
    m_spouses->SetLink(r->spouseOverflow, pos, r->firstSpouse, 0, 0);
    if (auto it = m_spouseSets.find(individual); it != m_spouseSets.end()) {
        it->second.erase(family);
        it->second.insert(r->firstSpouse);
    }
    r->firstSpouse = family;
}

std::int32_t WIndLinks::GetParentFamilyCount(std::int32_t individual) const {
    const Record* r = rec(individual);
    return r ? r->parentCount : 0;
}

std::int32_t WIndLinks::GetSpouseFamilyCount(std::int32_t individual) const {
    const Record* r = rec(individual);
    return r ? r->spouseCount : 0;
}

std::int32_t WIndLinks::GetParentFamily(std::int32_t individual, std::int32_t i) const {
    const Record* r = rec(individual);
    if (!r || i < 1 || i > r->parentCount) return 0;
    if (i == 1) return r->firstParent;
    return r->parentOverflow ? m_parents->GetLinkTarget(r->parentOverflow, i - 1) : 0;
}

std::int32_t WIndLinks::GetSpouseFamily(std::int32_t individual, std::int32_t i) const {
    const Record* r = rec(individual);
    if (!r || i < 1 || i > r->spouseCount) return 0;
    if (i == 1) return r->firstSpouse;
    return r->spouseOverflow ? m_spouses->GetLinkTarget(r->spouseOverflow, i - 1) : 0;
}

bool WIndLinks::GetParentCodes(std::int32_t individual, std::int32_t i, std::uint16_t& first,
                               std::uint16_t& second) const {
    const Record* r = rec(individual);
    if (!r || i < 1 || i > r->parentCount) return false;
    if (i == 1) {
        first = r->code1;
        second = r->code2;
        return true;
    }
    std::int32_t t = 0, a = 0, b = 0;
    if (!r->parentOverflow || !m_parents->GetLink(r->parentOverflow, i - 1, t, a, b)) return false;
    first = std::uint16_t(a);
    second = std::uint16_t(b);
    return true;
}

std::uint8_t WIndLinks::GetFlags(std::int32_t individual) const {
    const Record* r = rec(individual);
    return r ? r->flags : 0;
}

void WIndLinks::setSpouseOrder(std::int32_t individual, const std::vector<std::int32_t>& families) {
    Record* r = rec(individual);
    r->firstSpouse = families[0];
    if (families.size() > 1) m_spouses->SetTargets(r->spouseOverflow, families.data() + 1, families.size() - 1);
    r->flags |= SpouseOrderFixed;
}

namespace {
int compareNames(const std::string& a, const std::string& b) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char ca = Global::UpperChar(static_cast<unsigned char>(a[i]));
        unsigned char cb = Global::UpperChar(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
} // namespace

struct WIndLinks::SpouseWork {
    struct Item {
        std::int32_t family = 0;
        std::unique_ptr<WABSMarriage> marriage;
        const WDate* date = nullptr;
        mutable bool nameKnown = false;
        mutable std::string name;
    };
    std::vector<Item> items;
    std::vector<std::int32_t> order;
};

bool WIndLinks::sortSpouses(std::int32_t ind, WABSCollection& collection, bool names, SpouseWork& work) {
    using Item = SpouseWork::Item;
    const Record* r = rec(ind);
    const std::int32_t n = r->spouseCount;
    if (!names && n > ExchangeSortLimit) return false;
    std::vector<Item>& items = work.items;
    items.clear();
    items.resize(std::size_t(n));
    // The families as GetSpouseFamily gives them, read without its walk
    // memory, which only one thread may use.
    std::int32_t node = r->spouseOverflow;
    for (std::int32_t k = 0; k < n; ++k) {
        Item& it = items[std::size_t(k)];
        if (k == 0) {
            it.family = r->firstSpouse;
        } else {
            it.family = m_spouses->SlotTarget(node, (k - 1) % WLinkArray::SlotsPerNode);
            if (k % WLinkArray::SlotsPerNode == 0) node = m_spouses->NextNode(node);
        }
        it.marriage = collection.GetMarriage(it.family);
        if (it.marriage) it.date = it.marriage->GetDate();
    }
    bool blocked = false;
    auto nameOf = [&](const Item& it) -> const std::string& {
        if (!it.nameKnown && names) {
            it.nameKnown = true;
            if (it.marriage) {
                std::int32_t other = it.marriage->GetOtherSpouse(ind);
                if (auto person = collection.GetIndividual(other)) it.name = person->GetFullName(true);
            }
        }
        blocked = blocked || !names;
        return it.name;
    };
    // > 0: a stands after b.
    auto compare = [&](const Item& a, const Item& b) {
        int r = 0;
        if (!a.date && b.date)
            r = -1;
        else if (a.date && !b.date)
            r = 1;
        else if (a.date && b.date)
            r = a.date->Compare(b.date);
        if ((!a.date && !b.date) || r == 0) r = compareNames(nameOf(a), nameOf(b));
        return r;
    };
    if (n <= ExchangeSortLimit) {
        for (std::int32_t a = 0; a < n - 1 && !blocked; ++a)
            for (std::int32_t b = a + 1; b < n && !blocked; ++b)
                if (compare(items[std::size_t(a)], items[std::size_t(b)]) > 0)
                    std::swap(items[std::size_t(a)], items[std::size_t(b)]);
    } else {
        std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) { return compare(b, a) > 0; });
    }
    if (blocked) {
        items.clear();
        return false;
    }
    work.order.clear();
    for (const Item& it : items) work.order.push_back(it.family);
    items.clear();
    setSpouseOrder(ind, work.order);
    return true;
}

void WIndLinks::SortSpouseFamilies(WABSCollection& collection, unsigned threads) {
    auto due = [&](std::int32_t ind) {
        const Record* r = rec(ind);
        return r->spouseCount > 1 && !(r->flags & SpouseOrderFixed);
    };
    // With several threads, each orders the individuals of its part whose
    // families' dates decide; an individual whose order needs the other
    // spouses' names (equal or missing dates) is left for this thread,
    // which alone reads individuals. Each individual's order is its own, so
    // the order of the work does not matter.
    const std::int32_t n = Count();
    threads = std::max(1u, std::min<unsigned>(threads, unsigned(std::max(n, 1))));
    std::vector<std::vector<std::int32_t>> left(threads), done(threads);
    if (threads > 1) {
        auto part = [&](unsigned t) {
            SpouseWork work;
            const std::int32_t from = std::int32_t(std::int64_t(n) * t / threads) + 1,
                               to = std::int32_t(std::int64_t(n) * (t + 1) / threads);
            for (std::int32_t ind = from; ind <= to; ++ind) {
                if (!due(ind)) continue;
                bool sorted = false;
                try {
                    sorted = sortSpouses(ind, collection, false, work);
                } catch (...) {
                    // Met again, and reported, on this thread.
                }
                (sorted ? done : left)[t].push_back(ind);
            }
        };
        std::vector<std::thread> pool;
        unsigned t = 1;
        try {
            for (; t < threads; ++t) pool.emplace_back(part, t);
        } catch (const std::system_error&) {
        }
        for (unsigned rest = t; rest < threads; ++rest) part(rest);
        part(0);
        for (auto& th : pool) th.join();
    } else {
        for (std::int32_t ind = 1; ind <= n; ++ind)
            if (due(ind)) left[0].push_back(ind);
    }
    SpouseWork work;
    for (unsigned t = 0; t < threads; ++t) {
        // The set (if any) is made again from the chain when next needed.
        for (std::int32_t ind : done[t]) m_spouseSets.erase(ind);
        for (std::int32_t ind : left[t]) {
            sortSpouses(ind, collection, true, work);
            m_spouseSets.erase(ind);
        }
    }
}
