#include "model/ABSArrayIndex.h"

#include <algorithm>
#include <cstring>
#include <sys/mman.h>
#include <type_traits>
#include <unistd.h>
#include <vector>

#include "platform/Hooks.h"

WABSArrayIndex::WABSArrayIndex(const std::string& fileName, bool keepFile, std::int32_t recordSize,
                               std::int32_t initialCapacity)
    : m_fileName(fileName), m_keepFile(keepFile), m_recordSize(recordSize > 0 ? recordSize : 1),
      m_initialCapacity(initialCapacity > 0 ? initialCapacity : 0) {
    std::int64_t initial = m_initialCapacity == 0 ? 2048 : std::int64_t(m_initialCapacity) * m_recordSize + 1024;
    if (initial > WMMF::MaxSize)
        throw EFCreateError(MMFErrorText(fileName.empty() ? std::string("qel*.tmp") : fileName));
    m_store = std::make_unique<WVersionMMF>(fileName, static_cast<std::int32_t>(initial), GrowthStep);
    Clear();
}

WABSArrayIndex::~WABSArrayIndex() {
    if (m_store && !m_store->IsReadOnly() && m_store->GetSize() >= 12) {
        // Stored little-endian, like the rest of the header.
        auto n = static_cast<std::uint32_t>(m_count);
        auto* p = reinterpret_cast<unsigned char*>(m_store->GetPointer(8));
        for (int k = 0; k < 4; ++k) p[k] = static_cast<unsigned char>(n >> (8 * k));
    }
    m_store.reset();
    if (!m_keepFile && !m_fileName.empty()) ::unlink(m_fileName.c_str());
}

void WABSArrayIndex::Clear() {
    m_store->ResetHeader();
    m_count = 0;
    std::uint32_t fields[2] = {0, static_cast<std::uint32_t>(m_recordSize)};
    m_store->Append(fields, sizeof fields);
    m_written = std::max<std::int64_t>(m_written, m_store->GetDataEnd());
    m_firstOffset = FirstRecordOffset;
    markChanged();
}

void WABSArrayIndex::SetRecord(std::int64_t i, const void* record) {
    if (!IsValidIndex(i)) return;
    std::memcpy(m_store->GetPointer(recordOffset(i)), record, static_cast<std::size_t>(m_recordSize));
    markChanged();
}

std::int32_t WABSArrayIndex::Add(const void* record) {
    m_store->Append(record, m_recordSize);
    ++m_count;
    m_written = std::max(m_written, recordOffset(std::int64_t(m_count) + 1));
    markChanged();
    return m_count;
}

void WABSArrayIndex::SetCount(std::int32_t n) {
    if (n <= m_count) return;
    // Bytes past all this array ever wrote are still the zeros the store was
    // made with: only the reused part is cleared, so a large table costs no
    // memory until its records are touched.
    const std::int64_t from = recordOffset(m_count + 1);
    const std::int64_t to = recordOffset(std::int64_t(n) + 1);
    if (m_written > from) m_store->AppendZeros(std::min(m_written, to) - from);
    ExtendCount(n);
}

void WABSArrayIndex::ExtendCount(std::int32_t n) {
    if (n <= m_count) return;
    // Writing the last record grows the store once and leaves the pages
    // between untouched, for the fillers to touch in parallel.
    std::vector<char> zero(static_cast<std::size_t>(m_recordSize));
    m_store->Seek(recordOffset(n), 0);
    m_store->WriteBuffer(zero.data(), m_recordSize);
    m_count = n;
    markChanged();
    m_written = std::max(m_written, recordOffset(std::int64_t(n) + 1));
}

void WABSArrayIndex::PrepareWrite(std::int32_t first, std::int32_t last) const {
#ifdef MADV_POPULATE_WRITE
    first = std::max(first, 1);
    last = std::min(last, m_count);
    if (first > last || m_store->IsInMemory()) return;
    // Mappings start on a page, so rounding down stays inside this one.
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto from = reinterpret_cast<std::uintptr_t>(GetPtr(first)) & ~(page - 1);
    const auto to = reinterpret_cast<std::uintptr_t>(GetPtr(last)) + static_cast<std::uintptr_t>(m_recordSize);
    // Only a hint: without it the pages come one fault at a time.
    (void)madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
#else
    (void)first;
    (void)last;
#endif
}

std::int32_t WABSArrayIndex::BinarySearch(WCompareProc compare, const void* key) const {
    bool found = false;
    std::int32_t p = FindPosition(compare, key, found);
    return found ? p : 0;
}

std::int32_t WABSArrayIndex::FindPosition(WCompareProc compare, const void* key, bool& found) const {
    auto cmp = [compare](const void* record, const void* k) { return compare(record, k, nullptr); };
    return findPosition(cmp, key, found);
}

namespace {

// Records in the store, compared by the caller's comparer. Positions are
// 1-based; records are moved in place in the store. The store may move while
// messages are pumped (something may add to another array, or to this one),
// so addresses are taken afresh.
class StoreRecords {
public:
    StoreRecords(WABSArrayIndex& array, WCompareProc compare, void* context)
        : m_array(array), m_compare(compare), m_context(context), m_size(static_cast<std::size_t>(array.RecordSize())),
          m_pivot(m_size), m_swap(m_size) {
        refresh();
    }
    char* at(std::int64_t i) const { return m_base + (i - 1) * static_cast<std::int64_t>(m_size); }
    char* pivot() { return m_pivot.data(); }
    char* swap() { return m_swap.data(); }
    void copy(void* to, const void* from) const { std::memcpy(to, from, m_size); }
    bool after(const void* a, const void* b) const { return m_compare(a, b, m_context) > 0; }
    void refresh() { m_base = m_array.Store()->GetPointer(WABSArrayIndex::FirstRecordOffset); }

private:
    WABSArrayIndex& m_array;
    WCompareProc m_compare;
    void* m_context;
    std::size_t m_size;
    std::vector<char> m_pivot, m_swap;
    char* m_base = nullptr;
};

// A copy of 4-byte records, each beside the order key of the number it holds:
// the same sort on keys that sit next to each other, written back at the end.
// Keys without classes keep the plain comparison.
template <bool kTies>
class KeyedRecords {
public:
    struct Entry {
        std::uint64_t key;
        std::uint32_t record;
    };
    KeyedRecords(WABSArrayIndex& array, const std::vector<std::uint64_t>& keys, WCompareProc compare, void* context,
                 WKeyTies ties)
        : m_compare(compare), m_context(context), m_ties(ties) {
        const std::int32_t n = array.Count();
        m_entries.resize(static_cast<std::size_t>(n));
        const char* base = array.Store()->GetPointer(WABSArrayIndex::FirstRecordOffset);
        for (std::int32_t i = 0; i < n; ++i) {
            std::uint32_t r;
            std::memcpy(&r, base + std::int64_t(i) * 4, 4);
            m_entries[std::size_t(i)] = {keys[r], r};
        }
    }
    Entry* at(std::int64_t i) { return &m_entries[static_cast<std::size_t>(i - 1)]; }
    Entry* pivot() { return &m_pivot; }
    Entry* swap() { return &m_swap; }
    static void copy(Entry* to, const Entry* from) { *to = *from; }
    bool after(const Entry* a, const Entry* b) const {
        if (a->key != b->key) {
            if constexpr (kTies)
                if (m_ties.Tied(a->key, b->key)) return m_ties.Tie(a->key, b->key) > 0;
            return a->key > b->key;
        }
        return (a->key & 1) == 0 && m_compare(&a->record, &b->record, m_context) > 0;
    }
    void refresh() {}
    void writeBack(WABSArrayIndex& array) const {
        char* base = array.Store()->GetPointer(WABSArrayIndex::FirstRecordOffset);
        for (std::size_t i = 0; i < m_entries.size(); ++i) std::memcpy(base + i * 4, &m_entries[i].record, 4);
    }

private:
    WCompareProc m_compare;
    void* m_context;
    WKeyTies m_ties;
    std::vector<Entry> m_entries;
    Entry m_pivot{}, m_swap{};
};

// The quick/insertion sort over records of either kind.
template <class Records>
class QuickSorter {
public:
    QuickSorter(WABSArrayIndex& array, Records& records, bool pump)
        : m_array(array), m_records(records), m_pump(pump), m_count(array.Count()) {}

    // False when the array changed under the sort (emptied while pumping).
    bool run() {
        int depth = 8;
        for (std::int64_t n = m_count; n > 1; n >>= 1) depth += 2;
        sortRange(1, m_count, depth);
        return !m_abandoned;
    }

private:
    auto rec(std::int64_t i) const { return m_records.at(i); }
    bool after(const void* a, const void* b) const {
        using T = std::remove_pointer_t<decltype(m_records.at(1))>;
        return m_records.after(static_cast<const T*>(a), static_cast<const T*>(b));
    }
    template <class T>
    void copy(std::int64_t to, const T* from) {
        m_records.copy(rec(to), from);
    }
    void exchange(std::int64_t a, std::int64_t b) {
        m_records.copy(m_records.swap(), rec(a));
        m_records.copy(rec(a), rec(b));
        m_records.copy(rec(b), m_records.swap());
    }

    void pumpMessages() {
        plat::processMessages();
        if (m_array.Count() < m_count)
            m_abandoned = true;
        else
            m_records.refresh();
    }

    void insertionSort(std::int64_t lo, std::int64_t hi) {
        for (std::int64_t i = lo + 1; i <= hi; ++i) {
            m_records.copy(m_records.swap(), rec(i));
            std::int64_t j = i - 1;
            while (j >= lo && after(rec(j), m_records.swap())) {
                copy(j + 1, rec(j));
                --j;
            }
            copy(j + 1, m_records.swap());
        }
    }

    std::int64_t partition(std::int64_t lo, std::int64_t hi) {
        std::int64_t mid = (lo + hi) / 2;
        m_records.copy(m_records.pivot(), rec(mid));
        exchange(lo, mid);
        std::int64_t i = lo + 1, j = hi;
        for (;;) {
            while (j > i && after(m_records.pivot(), rec(i))) ++i;
            while (i <= j && after(rec(j), m_records.pivot())) --j;
            if (j > i) {
                exchange(i, j);
                ++i;
                --j;
            } else {
                break;
            }
        }
        copy(lo, rec(j));
        copy(j, m_records.pivot());
        return j;
    }

    // Heap sort of a range whose partitions keep coming out lopsided (inputs
    // such as organ pipes defeat the middle pivot); it keeps the whole sort
    // n log n. Ranges that partition well never get here, so their order of
    // equal records is that of the quick sort.
    void siftDown(std::int64_t lo, std::int64_t root, std::int64_t n) {
        for (;;) {
            std::int64_t child = 2 * root + 1;
            if (child >= n) return;
            if (child + 1 < n && after(rec(lo + child + 1), rec(lo + child))) ++child;
            if (!after(rec(lo + child), rec(lo + root))) return;
            exchange(lo + root, lo + child);
            root = child;
        }
    }
    void heapSort(std::int64_t lo, std::int64_t hi) {
        const std::int64_t n = hi - lo + 1;
        for (std::int64_t i = n / 2 - 1; i >= 0; --i) siftDown(lo, i, n);
        for (std::int64_t end = n - 1; end > 0; --end) {
            if (m_pump && ++m_steps % 4096 == 0) {
                pumpMessages();
                if (m_abandoned) return;
            }
            exchange(lo, lo + end);
            siftDown(lo, 0, end);
        }
    }

    void sortRange(std::int64_t lo, std::int64_t hi, int depth) {
        while (hi > lo && !m_abandoned) {
            ++m_steps;
            if (m_pump && m_steps % 25 == 0) {
                pumpMessages();
                if (m_abandoned) return;
            }
            if (hi - lo < 10) {
                insertionSort(lo, hi);
                return;
            }
            if (depth-- <= 0) {
                heapSort(lo, hi);
                return;
            }
            std::int64_t p = partition(lo, hi);
            // The smaller side by recursion, the larger one in this loop.
            if (p - lo > hi - p) {
                sortRange(p + 1, hi, depth);
                hi = p - 1;
            } else {
                sortRange(lo, p - 1, depth);
                lo = p + 1;
            }
        }
    }

    WABSArrayIndex& m_array;
    Records& m_records;
    bool m_pump;
    std::int32_t m_count;
    std::uint64_t m_steps = 0;
    bool m_abandoned = false;
};

// Clears the sorting flag however the sort ends.
struct SortingGuard {
    bool& flag;
    explicit SortingGuard(bool& f) : flag(f) { flag = true; }
    ~SortingGuard() { flag = false; }
};

} // namespace

void WABSArrayIndex::Sort(WCompareProc compare, void* context, bool pump) {
    if (!m_store || m_count == 0 || m_sorted || m_sorting || !compare) return;
    SortingGuard guard(m_sorting);
    if (pump) plat::processMessages();
    if (m_count == 0) return;
    StoreRecords records(*this, compare, context);
    QuickSorter<StoreRecords> sorter(*this, records, pump);
    bool complete = sorter.run();
    m_sorted = complete;
    ++m_changes;
}

void WABSArrayIndex::SortByOrderKeys(const std::vector<std::uint64_t>& keys, WCompareProc compare, void* context,
                                     bool pump, WKeyTies ties) {
    if (!m_store || m_count == 0 || m_sorted || m_sorting || m_recordSize != 4 || !compare) return;
    SortingGuard guard(m_sorting);
    if (pump) plat::processMessages();
    if (m_count == 0) return;
    auto sort = [&](auto records) {
        QuickSorter<decltype(records)> sorter(*this, records, pump);
        if (!sorter.run()) return;
        records.writeBack(*this);
        m_sorted = true;
        ++m_changes;
    };
    if (ties.table)
        sort(KeyedRecords<true>(*this, keys, compare, context, ties));
    else
        sort(KeyedRecords<false>(*this, keys, compare, context, ties));
}
