#pragma once
// Cross-reference identifier -> record number, for one kind of record.
//
// Identifiers are kept whole: the first 16 bytes stand in the record
// (zero-padded), longer ones are kept in full beside the array. So two
// identifiers that share a long prefix stay two keys. Where a file repeats an
// identifier, Find gives the first record that carries it.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ABSArrayIndex.h"

class WXREFIndex : public WABSArrayIndex {
public:
    static constexpr std::size_t PrefixSize = 16;

    WXREFIndex(const std::string& name, std::int32_t capacity);

    // Appends an identifier with the next record number (count + 1); marks the
    // index out of order when it sorts before the previous one.
    void Add(std::string_view xref);
    // Filling from several threads after ExtendCount: Put writes position i
    // with record number i, each thread its own positions; an identifier
    // longer than PrefixSize is refused (false) and goes to PutLong, on one
    // thread. EndPuts then notes whether any identifier sorted before the one
    // before it (OutOfOrder of each pair), as Add would have, and whether
    // every identifier ends in its own position (Numbered), which readies
    // the lookups at once.
    bool Put(std::int32_t i, std::string_view xref) const;
    void PutLong(std::int32_t i, std::string_view xref);
    void EndPuts(bool outOfOrder, bool numbered);
    static bool OutOfOrder(std::string_view previous, std::string_view next);
    static bool Numbered(std::string_view xref, std::int32_t i);
    // Sorts by identifier (then record number) when out of order.
    void Sort();
    // Readies the index for lookups after the last Add: builds the hash table
    // that Find uses. Lookups do not need the records in order, so opening a
    // file calls this instead of Sort and keeps the records in file order.
    void Prepare() const;
    // Record number of the identifier, 0 when absent. Looks up a hash table
    // made on first use after the last change (the link passes make millions
    // of lookups); the binary search gives the same answers.
    std::int32_t Find(std::string_view xref) const;
    std::int32_t FindBySearch(std::string_view xref) const;
    bool IsOutOfOrder() const { return m_outOfOrder; }

    // The identifier and record number at array position i (1-based).
    std::string_view IdentifierAt(std::int32_t i) const;
    std::int32_t RecordAt(std::int32_t i) const;

    // Byte order of two zero-terminated identifiers, -1, 0 or 1; a shorter
    // prefix first. ECompareError for a null argument.
    static int CompareXREF(const char* a, const char* b);

private:
    struct Record {
        char prefix[PrefixSize];
        std::uint32_t length;
        std::uint32_t longOffset; // into m_long when length > PrefixSize
        std::int32_t recNo;
    };
    static_assert(sizeof(Record) == 28, "xref record layout");

    std::string_view text(const Record& r) const;
    int compareText(const Record& r, std::string_view key) const;
    int compareRecords(const Record& a, const Record& b) const;

    void buildHash() const;
    static std::uint64_t hash(std::string_view s);

    std::string m_long;
    bool m_outOfOrder = false;
    // Open-addressing table of array positions (0 = empty), a power of two in size.
    mutable std::vector<std::int32_t> m_slots;
    mutable bool m_hashValid = false;
    mutable bool m_hasDuplicates = false;
    mutable bool m_numbered = false; // identifier i ends in the number i, for every i
};
