#include "model/ABSArrayIndex.h"

#include "platform/Hooks.h"

#include <unistd.h>

#include <cstring>
#include <vector>

WABSArrayIndex::WABSArrayIndex(const std::string& fileName, bool keepFile,
                               std::int32_t recordSize, std::int32_t initialCapacity)
    : m_fileName(fileName),
      m_keepFile(keepFile),
      m_recordSize(recordSize > 0 ? recordSize : 1),
      m_initialCapacity(initialCapacity > 0 ? initialCapacity : 0) {
    std::int64_t initial = m_initialCapacity == 0
                               ? 2048
                               : std::int64_t(m_initialCapacity) * m_recordSize + 1024;
    if (initial > WMMF::MaxSize)
        throw EFCreateError(MMFErrorText(fileName.empty() ? std::string("qel*.tmp") : fileName));
    m_store = std::make_unique<WVersionMMF>(fileName, static_cast<std::int32_t>(initial),
                                            GrowthStep);
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
    m_firstOffset = FirstRecordOffset;
    m_sorted = false;
}

void WABSArrayIndex::SetRecord(std::int64_t i, const void* record) {
    if (!IsValidIndex(i)) return;
    std::memcpy(m_store->GetPointer(recordOffset(i)), record, static_cast<std::size_t>(m_recordSize));
    m_sorted = false;
}

std::int32_t WABSArrayIndex::Add(const void* record) {
    m_store->Append(record, m_recordSize);
    ++m_count;
    m_sorted = false;
    return m_count;
}

void WABSArrayIndex::SetCount(std::int32_t n) {
    if (n <= m_count) return;
    m_store->AppendZeros(std::int64_t(n - m_count) * m_recordSize);
    m_count = n;
    m_sorted = false;
}

std::int32_t WABSArrayIndex::BinarySearch(WCompareProc compare, const void* key) const {
    bool found = false;
    std::int32_t p = FindPosition(compare, key, found);
    return found ? p : 0;
}

std::int32_t WABSArrayIndex::FindPosition(WCompareProc compare, const void* key,
                                          bool& found) const {
    auto cmp = [compare](const void* record, const void* k) { return compare(record, k, nullptr); };
    return findPosition(cmp, key, found);
}

namespace {

// The quick/insertion sort. Positions are 1-based; records are moved in place
// in the store. The store may move while messages are pumped (something may
// add to another array, or to this one), so addresses are taken afresh.
class QuickSorter {
public:
    QuickSorter(WABSArrayIndex& array, WCompareProc compare, void* context, bool pump)
        : m_array(array),
          m_compare(compare),
          m_context(context),
          m_pump(pump),
          m_size(static_cast<std::size_t>(array.RecordSize())),
          m_count(array.Count()),
          m_pivot(m_size),
          m_swap(m_size) {
        refresh();
    }

    // False when the array changed under the sort (emptied while pumping).
    bool run() {
        int depth = 8;
        for (std::int64_t n = m_count; n > 1; n >>= 1) depth += 2;
        sortRange(1, m_count, depth);
        return !m_abandoned;
    }

private:
    char* rec(std::int64_t i) const { return m_base + (i - 1) * static_cast<std::int64_t>(m_size); }
    void refresh() { m_base = m_array.Store()->GetPointer(WABSArrayIndex::FirstRecordOffset); }
    bool after(const void* a, const void* b) const { return m_compare(a, b, m_context) > 0; }
    void copy(std::int64_t to, const void* from) { std::memcpy(rec(to), from, m_size); }
    void exchange(std::int64_t a, std::int64_t b) {
        std::memcpy(m_swap.data(), rec(a), m_size);
        std::memcpy(rec(a), rec(b), m_size);
        std::memcpy(rec(b), m_swap.data(), m_size);
    }

    void pumpMessages() {
        plat::processMessages();
        if (m_array.Count() < m_count)
            m_abandoned = true;
        else
            refresh();
    }

    void insertionSort(std::int64_t lo, std::int64_t hi) {
        for (std::int64_t i = lo + 1; i <= hi; ++i) {
            std::memcpy(m_swap.data(), rec(i), m_size);
            std::int64_t j = i - 1;
            while (j >= lo && after(rec(j), m_swap.data())) {
                copy(j + 1, rec(j));
                --j;
            }
            copy(j + 1, m_swap.data());
        }
    }

    std::int64_t partition(std::int64_t lo, std::int64_t hi) {
        std::int64_t mid = (lo + hi) / 2;
        std::memcpy(m_pivot.data(), rec(mid), m_size);
        exchange(lo, mid);
        std::int64_t i = lo + 1, j = hi;
        for (;;) {
            while (j > i && after(m_pivot.data(), rec(i))) ++i;
            while (i <= j && after(rec(j), m_pivot.data())) --j;
            if (j > i) {
                exchange(i, j);
                ++i;
                --j;
            } else {
                break;
            }
        }
        copy(lo, rec(j));
        copy(j, m_pivot.data());
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
    WCompareProc m_compare;
    void* m_context;
    bool m_pump;
    std::size_t m_size;
    std::int32_t m_count;
    std::vector<char> m_pivot;
    std::vector<char> m_swap;
    char* m_base = nullptr;
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
    QuickSorter sorter(*this, compare, context, pump);
    bool complete = sorter.run();
    m_sorted = complete;
}
