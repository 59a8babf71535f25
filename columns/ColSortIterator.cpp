#include "columns/ColSortIterator.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <optional>
#include <vector>

#include "columns/Attrib.h"
#include "columns/AttribArray.h"
#include "columns/ColumnTable.h"
#include "model/ABSCollection.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "platform/WorkerThreads.h"

namespace {

// Sorts running anywhere in the program.
int g_sortsRunning = 0;

// Marks a sort as running for as long as the scope lives.
class SortScope {
public:
    explicit SortScope(bool& busy) : m_busy(busy) {
        m_busy = true;
        ++g_sortsRunning;
    }
    ~SortScope() {
        m_busy = false;
        --g_sortsRunning;
    }
    SortScope(const SortScope&) = delete;
    SortScope& operator=(const SortScope&) = delete;

private:
    bool& m_busy;
};

// Turns a setting off for the scope and puts its exact value back, also when
// an exception leaves the scope, so it is never saved switched off.
class SettingOff {
public:
    explicit SettingOff(int option) : m_option(option), m_saved(WOptions::GetString(option)) {
        WOptions::SetBool(option, false);
    }
    ~SettingOff() { WOptions::SetString(m_option, m_saved); }
    SettingOff(const SettingOff&) = delete;
    SettingOff& operator=(const SettingOff&) = delete;

private:
    int m_option;
    std::string m_saved;
};

// The full-name find index's column: the plain full name a full-name search looks at.
class WFindNameAttrib : public WAttrib {
public:
    explicit WFindNameAttrib(WABSCollection* collection) : WAttrib(collection) {
        m_columnId = WColSortIterator::SearchColumn(WCollectionIterator::SearchKind::FullName);
    }
    void GetText(std::int32_t row, std::int32_t, std::string& s) override {
        auto ind = individual(row);
        s = ind ? WCollectionIterator::PlainFullName(*ind) : std::string();
    }
    std::unique_ptr<WAttrib> CloneForThread() const override { return std::make_unique<WFindNameAttrib>(m_collection); }
};

} // namespace

std::unique_ptr<WAttribArray> MakeKeyArray(std::int32_t sortKind, std::int32_t capacity) {
    switch (sortKind) {
    case SortKind::Text: return std::make_unique<WAttribStrArray>(capacity, false);
    case SortKind::Integer: return std::make_unique<WAttribIntArray>(capacity);
    case SortKind::Date: return std::make_unique<WAttribDateArray>(capacity);
    case SortKind::Age: return std::make_unique<WAttribAgeArray>(capacity);
    case SortKind::Float: return std::make_unique<WAttribFloatArray>(capacity);
    case SortKind::IdPair: return std::make_unique<WAttribStrArray>(capacity, true);
    default: return nullptr;
    }
}

WColSortIterator::WColSortIterator(const std::string& name, std::int32_t capacity, WABSCollection* collection)
    : WCollectionIterator(name, collection, capacity),
      m_individualCount(collection ? collection->GetIndividualCount() : 0) {}

WColSortIterator::~WColSortIterator() = default;

bool WColSortIterator::RebuildBlocked() { return g_sortsRunning > 0; }

void WColSortIterator::ensureFilled() const {
    // Filling is the lazy part of reading the list; the list itself is unchanged.
    if (!m_sortedOnce) const_cast<WColSortIterator*>(this)->EnsureSorted();
}

std::int32_t WColSortIterator::Count() const {
    ensureFilled();
    return m_count;
}

void WColSortIterator::Sort() {
    if (!m_collection || m_count > 0) return;
    const std::int32_t n = m_collection->GetCount();
    if (n <= 0) return;
    SetCount(n);
    char* p = GetPtr(1);
    for (std::int32_t pos = 1; pos <= n; ++pos) {
        std::int32_t individual = m_collection->ViewToIndex(pos);
        std::memcpy(p + std::int64_t(pos - 1) * 4, &individual, 4);
    }
    markChanged();
}

std::int32_t WColSortIterator::GetItem(std::int32_t position) {
    ensureFilled();
    if (!IsValidIndex(position)) return 0;
    return WCollectionIterator::GetItem(m_ascending ? position : m_count - position + 1);
}

std::int32_t WColSortIterator::itemAtCursor(std::int32_t position) {
    ensureFilled();
    if (!Current(position)) return 0;
    return GetItem(position);
}

std::int32_t WColSortIterator::First() { return itemAtCursor(1); }
std::int32_t WColSortIterator::Next() { return itemAtCursor(m_cursor + 1); }
std::int32_t WColSortIterator::Prev() { return itemAtCursor(m_cursor - 1); }
std::int32_t WColSortIterator::Last() {
    ensureFilled();
    return itemAtCursor(m_count);
}

unsigned WColSortIterator::s_keyThreads = 0;

bool WColSortIterator::buildKeys(WAttribArray& keys, WAttrib& attribute) {
    // A cancel flag left over from earlier work is not ours to act on.
    const bool cancelledBefore = plat::cancelRequested();
    const std::int32_t n = Count();
    if (m_collection) m_collection->PrepareAllIndividuals();
    // Attributes that read only the records build their keys on every usable CPU,
    // each thread a run of positions with its own copy of the attribute.
    std::size_t threads = s_keyThreads;
    if (threads == 0) threads = plat::WorkerThreads(std::size_t(n) / 16384 + 1);
    std::vector<std::unique_ptr<WAttrib>> copies;
    if (!m_collection || !m_collection->ReadsOnManyThreads()) threads = 1;
    for (std::size_t t = 1; t < threads; ++t) {
        copies.push_back(attribute.CloneForThread());
        if (!copies.back()) {
            copies.clear();
            threads = 1;
        }
    }
    std::vector<std::unique_ptr<WAttribArray::Part>> parts;
    for (std::size_t t = 0; t < threads; ++t) parts.push_back(keys.MakePart());
    std::atomic<bool> stop{false};
    // Only this thread lets window messages in; the others watch for the Cancel it saw.
    auto build = [&](std::size_t t) {
        WAttrib& attrib = t == 0 ? attribute : *copies[t - 1];
        const std::int32_t from = std::int32_t(std::int64_t(n) * std::int64_t(t) / std::int64_t(threads)) + 1;
        const std::int32_t to = std::int32_t(std::int64_t(n) * std::int64_t(t + 1) / std::int64_t(threads));
        for (std::int32_t pos = from; pos <= to; ++pos) {
            if (pos % kPumpEvery == 0) {
                if (t == 0) {
                    plat::processMessages();
                    if (!cancelledBefore && plat::cancelRequested()) stop = true;
                }
                if (stop.load(std::memory_order_relaxed)) return;
            }
            keys.StoreKeyPart(attrib, GetItem(pos), *parts[t]);
        }
    };
    plat::RunOnThreads(threads, [&](std::size_t t) {
        try {
            build(t);
        } catch (...) {
            stop = true; // the others stop early
            throw;
        }
    });
    if (stop) return false;
    keys.JoinParts(parts);
    return true;
}

void WColSortIterator::SortBy(WAttrib* attribute, bool toggle) { sortBy(attribute, toggle, false); }

void WColSortIterator::sortBy(WAttrib* attribute, bool toggle, bool rankGivenNames) {
    if (!attribute || m_busy) return;
    if (IsSorted() && attribute->GetColumnId() == m_sortColumnId) {
        if (toggle) m_ascending = !m_ascending;
        return;
    }
    SortScope running(m_busy);
    m_cancelled = false;
    ensureFilled();

    // The new keys are made before anything changes, so a cancelled build
    // leaves the list, its column and its direction as they were.
    const std::int32_t sortKind = attribute->GetSortKind();
    std::unique_ptr<WAttribArray> keys = MakeKeyArray(sortKind, m_individualCount);
    if (keys && !buildKeys(*keys, *attribute)) {
        m_cancelled = true;
        return;
    }

    if (toggle) m_ascending = true;
    m_sortColumnId = attribute->GetColumnId();
    markChanged();
    m_keys = std::move(keys);
    // Searches read the text keys at every probe: found once, not per probe.
    m_textKeys = dynamic_cast<const WAttribStrArray*>(m_keys.get());
    if (!m_keys) return;
    // Keys that rank plainly sort as numbers beside the records: the same
    // order, without reaching every key through the individual's number.
    std::vector<std::uint64_t> order;
    bool ranked = m_keys->OrderKeys(order);
    for (std::int32_t pos = 1; ranked && pos <= m_count; ++pos) {
        const std::int32_t individual = WCollectionIterator::GetItem(pos);
        ranked = individual >= 1 && individual <= m_keys->Capacity();
    }
    // The given names' ranks depend on the keys alone: made on other threads
    // while this one sorts, in the room of order keys not sorted by.
    if (!ranked) std::vector<std::uint64_t>().swap(order);
    std::optional<GivenNameRanking> givenNames;
    if (rankGivenNames && m_textKeys)
        givenNames.emplace(*this, [keys = m_textKeys](std::int32_t individual, std::string_view& key) {
            key = keys->KeyView(individual);
            return true;
        });
    if (ranked)
        SortByOrderKeys(order, m_keys->Comparer(), m_keys.get(), true, m_keys->KeyTies());
    else
        WABSArrayIndex::Sort(m_keys->Comparer(), m_keys.get(), true);
    if (givenNames) givenNames->Finish();
}

void WColSortIterator::SortByColumnId(std::int32_t id) {
    if (IsSorted() || m_busy) return;
    using Kind = SearchKind;
    if (id != kRecordColumn && id != kIdentifierColumn && id != SearchColumn(Kind::FullName) &&
        id != SearchColumn(Kind::SurnameGiven) && id != SearchColumn(Kind::RefN))
        return;
    // Full names as the find dialog lists them, whatever the name settings.
    std::unique_ptr<WAttrib> attribute = id == SearchColumn(Kind::FullName)
                                             ? std::make_unique<WFindNameAttrib>(m_collection)
                                             : ColumnTable::MakeAttrib(id, m_collection);
    if (!attribute) return;
    SettingOff plainNames(opt::PreSuf);
    sortBy(attribute.get(), true, id == SearchColumn(Kind::SurnameGiven));
    // The given-name ranks are made while the wait for the sort shows, not
    // at the first search typed with given names.
    if (id == SearchColumn(Kind::SurnameGiven) && IsSorted()) PrepareNameSearch();
}

bool WColSortIterator::StoredKey(std::int32_t individual, SearchKind kind, std::string_view& key) const {
    if (!m_textKeys || m_sortColumnId != SearchColumn(kind) || !IsSorted()) return false;
    key = m_textKeys->KeyView(individual);
    return true;
}

std::string WColSortIterator::SearchKey(std::int32_t individual, SearchKind kind) const {
    if (m_textKeys && m_sortColumnId == SearchColumn(kind) && IsSorted()) return m_textKeys->Key(individual);
    return WCollectionIterator::SearchKey(individual, kind);
}
