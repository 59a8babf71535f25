#pragma once
// 1-based arrays of fixed-size records kept in a WVersionMMF: in memory while
// small, in a mapped temporary file when large.
//
// Store layout: store header (8 bytes), record count (offset 8, written when
// the array is emptied and freed), record size (offset 12), then record i at
// 16 + (i - 1) * size.
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "model/VersionMMF.h"

class WABSIndex {
public:
    virtual ~WABSIndex() = default;
};

// Compare routine. Sorting: other is another record (or a work copy of one)
// and only "> 0" (record sorts after other) is tested. Searching: other is the
// caller's key, context is null, and the result is negative when the record
// sorts before the key, 0 on a match, positive after.
using WCompareProc = int (*)(const void* record, const void* other, void* context);

// Order keys whose low bits hold a class (bits 1 .. bits - 1) that decides
// between keys agreeing above them: table[a * classes + b] is the result for
// classes a and b, with 1 << (bits - 1) classes. Such classes need not rank
// plainly: the table may be no order at all. No table: no classes.
struct WKeyTies {
    int bits = 0; // 2..9
    const signed char* table = nullptr;
    // Two different keys differ in their classes alone.
    bool Tied(std::uint64_t a, std::uint64_t b) const { return table && (a ^ b) >> bits == 0; }
    // The result between two tied keys.
    int Tie(std::uint64_t a, std::uint64_t b) const {
        const std::uint64_t mask = (std::uint64_t(1) << (bits - 1)) - 1;
        return table[(a >> 1 & mask) << (bits - 1) | (b >> 1 & mask)];
    }
};

class WABSArrayIndex : public WABSIndex {
public:
    static constexpr std::int32_t FirstRecordOffset = 16;
    static constexpr std::int32_t GrowthStep = 16384;

    // The store starts with capacity * recordSize + 1,024 bytes (2,048 when
    // the capacity is 0), in memory; the array starts empty.
    WABSArrayIndex(const std::string& fileName, bool keepFile, std::int32_t recordSize, std::int32_t initialCapacity);
    // Stores the count at offset 8, frees the store and deletes the named file
    // unless it is to be kept.
    ~WABSArrayIndex() override;

    WABSArrayIndex(const WABSArrayIndex&) = delete;
    WABSArrayIndex& operator=(const WABSArrayIndex&) = delete;

    virtual std::int32_t Count() const { return m_count; }
    // Empties the array.
    void Clear();
    bool IsValidIndex(std::int64_t i) const { return i >= 1 && i <= m_count; }
    // Address of record i, null when i is not valid; valid until the array grows.
    char* GetPtr(std::int64_t i) const { return IsValidIndex(i) ? m_store->GetPointer(recordOffset(i)) : nullptr; }
    // Copies a record into position i (valid i only); clears the sorted flag.
    void SetRecord(std::int64_t i, const void* record);
    // Appends a record; returns the new count; clears the sorted flag.
    std::int32_t Add(const void* record);
    // Appends zero records up to n; never shrinks.
    void SetCount(std::int32_t n);
    // Raises the count to n without writing the new records (only the last
    // is zeroed), for a caller that then fills every one with PutRecord.
    void ExtendCount(std::int32_t n);
    // Readies the pages of records first..last for writing in one go, where
    // the store is a mapped file: cheaper than a fault per page on first use.
    void PrepareWrite(std::int32_t first, std::int32_t last) const;
    // Copies a record into valid position i and nothing else, so threads may
    // fill different positions at once.
    void PutRecord(std::int64_t i, const void* record) const {
        std::memcpy(m_store->GetPointer(recordOffset(i)), record, static_cast<std::size_t>(m_recordSize));
    }
    // Marks the records as in order, so Sort does nothing until one changes.
    void SetNoSort() { m_sorted = true; }
    // True while a sort runs (views skip drawing meanwhile).
    bool GetSortFlag() const { return m_sorting; }
    bool IsSorted() const { return m_sorted; }
    // Rises whenever the records or their order may have changed: what was
    // worked out from the order holds while it stays the same.
    std::uint64_t Changes() const { return m_changes; }
    std::int32_t RecordSize() const { return m_recordSize; }
    WVersionMMF* Store() const { return m_store.get(); }

    // Quick/insertion sort of all records. With pump, pending window messages
    // are let through every 25 partition steps. Not stable.
    void Sort(WCompareProc compare, void* context, bool pump);
    // The same sort, for 4-byte records holding numbers (every one a valid
    // index of keys): keys[number] orders them as compare would wherever two
    // keys differ; equal keys with bit 0 set are equal, others are left to
    // compare, and keys that differ only in their classes to ties. The
    // very moves the comparer would make, on a compact copy beside the keys.
    void SortByOrderKeys(const std::vector<std::uint64_t>& keys, WCompareProc compare, void* context, bool pump,
                         WKeyTies ties = {});
    // Position of a record matching key, 0 when none (records must be in order).
    std::int32_t BinarySearch(WCompareProc compare, const void* key) const;
    // As BinarySearch; without a match the insertion point, clipped to the count.
    std::int32_t FindPosition(WCompareProc compare, const void* key, bool& found) const;

    // The same with any callable: sort cmp(const void* a, const void* b) -> int,
    // search cmp(const void* record, const void* key) -> int.
    template <class F>
    void SortBy(F&& cmp, bool pump) {
        using Fn = std::remove_reference_t<F>;
        Sort([](const void* a, const void* b, void* c) { return (*static_cast<Fn*>(c))(a, b); },
             const_cast<void*>(static_cast<const void*>(&cmp)), pump);
    }
    template <class F>
    std::int32_t FindPositionBy(F&& cmp, const void* key, bool& found) const {
        return findPosition(cmp, key, found);
    }
    template <class F>
    std::int32_t BinarySearchBy(F&& cmp, const void* key) const {
        bool found = false;
        std::int32_t p = findPosition(cmp, key, found);
        return found ? p : 0;
    }

protected:
    std::int64_t recordOffset(std::int64_t i) const {
        return FirstRecordOffset + (i - 1) * static_cast<std::int64_t>(m_recordSize);
    }
    void markChanged() {
        m_sorted = false;
        ++m_changes;
    }

    std::string m_fileName;
    bool m_keepFile = false;
    std::unique_ptr<WVersionMMF> m_store;
    std::int32_t m_firstOffset = FirstRecordOffset;
    std::int32_t m_recordSize = 0;
    std::int32_t m_count = 0;
    std::int32_t m_initialCapacity = 0;
    bool m_sorted = false;
    bool m_sorting = false;
    std::uint64_t m_changes = 0;
    std::int64_t m_written = 0; // the store's bytes from here on were never written

private:
    template <class F>
    std::int32_t findPosition(F& cmp, const void* key, bool& found) const {
        std::int64_t lo = 1, hi = m_count;
        found = false;
        while (lo <= hi) {
            std::int64_t mid = (lo + hi) / 2;
            int r = cmp(static_cast<const void*>(GetPtr(mid)), key);
            if (r == 0) {
                found = true;
                return static_cast<std::int32_t>(mid);
            }
            if (r < 0)
                lo = mid + 1;
            else
                hi = mid - 1;
        }
        return static_cast<std::int32_t>(lo > m_count ? m_count : lo);
    }
};
