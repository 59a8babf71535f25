#include "gedcom/XREFIndex.h"

#include <algorithm>
#include <cstring>

#include "model/IslandSortIndex.h"

WXREFIndex::WXREFIndex(const std::string& name, std::int32_t capacity)
    : WABSArrayIndex(name, false, sizeof(Record), capacity) {}

std::string_view WXREFIndex::text(const Record& r) const {
    if (r.length <= PrefixSize) return std::string_view(r.prefix, r.length);
    return std::string_view(m_long.data() + r.longOffset, r.length);
}

namespace {
int sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

int compareViews(std::string_view a, std::string_view b) {
    std::size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c) return sign(c);
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}
} // namespace

namespace {
// The prefix as two big-endian words: comparing them orders like memcmp.
inline void prefixWords(const char* p, std::uint64_t& hi, std::uint64_t& lo) {
    std::memcpy(&hi, p, 8);
    std::memcpy(&lo, p + 8, 8);
    hi = __builtin_bswap64(hi);
    lo = __builtin_bswap64(lo);
}
} // namespace

namespace {
// The number that ends an identifier ("I123" -> 123), at most 9 digits; 0 when none.
std::uint32_t trailingNumber(std::string_view x) {
    std::size_t k = x.size();
    int digits = 0;
    while (k > 0 && digits < 9 && x[k - 1] >= '0' && x[k - 1] <= '9') {
        --k;
        ++digits;
    }
    std::uint32_t n = 0;
    for (std::size_t j = k; j < x.size(); ++j) n = n * 10 + std::uint32_t(x[j] - '0');
    return n;
}
} // namespace

int WXREFIndex::compareRecords(const Record& a, const Record& b) const {
    // The zero-padded prefixes order like the whole texts wherever they differ.
    std::uint64_t ah, al, bh, bl;
    prefixWords(a.prefix, ah, al);
    prefixWords(b.prefix, bh, bl);
    if (ah != bh) return ah < bh ? -1 : 1;
    if (al != bl) return al < bl ? -1 : 1;
    int c;
    if (a.length <= PrefixSize && b.length <= PrefixSize)
        c = a.length < b.length ? -1 : a.length > b.length ? 1 : 0;
    else
        c = compareViews(text(a), text(b));
    if (c) return c;
    return a.recNo < b.recNo ? -1 : a.recNo > b.recNo ? 1 : 0;
}

int WXREFIndex::compareText(const Record& r, std::string_view key) const { return compareViews(text(r), key); }

void WXREFIndex::Add(std::string_view xref) {
    Record r{};
    std::memcpy(r.prefix, xref.data(), std::min(xref.size(), PrefixSize));
    r.length = std::uint32_t(xref.size());
    if (xref.size() > PrefixSize) {
        r.longOffset = std::uint32_t(m_long.size());
        m_long.append(xref);
    }
    r.recNo = Count() + 1;
    m_hashValid = false;
    if (!m_outOfOrder && Count() >= 1) {
        Record prev;
        std::memcpy(&prev, GetPtr(Count()), sizeof prev);
        if (compareViews(text(prev), xref) > 0) m_outOfOrder = true;
    }
    WABSArrayIndex::Add(&r);
}

bool WXREFIndex::Put(std::int32_t i, std::string_view xref) const {
    if (xref.size() > PrefixSize) return false;
    Record r{};
    std::memcpy(r.prefix, xref.data(), xref.size());
    r.length = std::uint32_t(xref.size());
    r.recNo = i;
    PutRecord(i, &r);
    return true;
}

void WXREFIndex::PutLong(std::int32_t i, std::string_view xref) {
    Record r{};
    std::memcpy(r.prefix, xref.data(), std::min(xref.size(), PrefixSize));
    r.length = std::uint32_t(xref.size());
    r.longOffset = std::uint32_t(m_long.size());
    m_long.append(xref);
    r.recNo = i;
    PutRecord(i, &r);
}

void WXREFIndex::EndPuts(bool outOfOrder, bool numbered) {
    m_outOfOrder = m_outOfOrder || outOfOrder;
    m_hashValid = false;
    if (!numbered) return;
    // What buildHash would find: distinct identifiers, each at its number.
    m_numbered = true;
    m_hasDuplicates = false;
    std::vector<std::int32_t>().swap(m_slots);
    m_hashValid = true;
}

bool WXREFIndex::Numbered(std::string_view xref, std::int32_t i) { return trailingNumber(xref) == std::uint32_t(i); }

bool WXREFIndex::OutOfOrder(std::string_view previous, std::string_view next) {
    return compareViews(previous, next) > 0;
}

void WXREFIndex::Sort() {
    if (!m_outOfOrder) return;
    SortBy(
        [this](const void* a, const void* b) {
            Record ra, rb;
            std::memcpy(&ra, a, sizeof ra);
            std::memcpy(&rb, b, sizeof rb);
            return compareRecords(ra, rb);
        },
        true);
    m_outOfOrder = false;
    m_hashValid = false;
}

std::uint64_t WXREFIndex::hash(std::string_view s) {
    std::uint64_t h = 0xCBF29CE484222325ull;
    for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
    return h ^ (h >> 29);
}

void WXREFIndex::Prepare() const {
    if (!m_hashValid) buildHash();
}

void WXREFIndex::buildHash() const {
    m_hasDuplicates = false;
    // Identifiers that all end in their own position number need no table:
    // they are distinct, and each can stand nowhere but at its number.
    m_numbered = true;
    for (std::int32_t i = 1; i <= Count() && m_numbered; ++i)
        m_numbered = trailingNumber(IdentifierAt(i)) == std::uint32_t(i);
    if (m_numbered) {
        std::vector<std::int32_t>().swap(m_slots);
        m_hashValid = true;
        return;
    }
    std::size_t size = 16;
    while (size < std::size_t(Count()) * 2) size <<= 1;
    m_slots.assign(size, 0);
    std::size_t mask = size - 1;
    for (std::int32_t i = 1; i <= Count(); ++i) {
        std::string_view id = IdentifierAt(i);
        for (std::size_t k = hash(id) & mask;; k = (k + 1) & mask) {
            if (m_slots[k] == 0) {
                m_slots[k] = i;
                break;
            }
            // A repeated identifier keeps its first position (lowest record number).
            if (IdentifierAt(m_slots[k]) == id) {
                m_hasDuplicates = true;
                break;
            }
        }
    }
    m_hashValid = true;
}

std::int32_t WXREFIndex::Find(std::string_view xref) const {
    if (Count() == 0) return 0;
    if (!m_hashValid) buildHash();
    if (!m_hasDuplicates) {
        // Most files number their records in order ("I123" is the 123rd):
        // try that position first; a match there is the only match.
        std::uint32_t n = trailingNumber(xref);
        if (n >= 1 && n <= std::uint32_t(Count()) && IdentifierAt(std::int32_t(n)) == xref)
            return RecordAt(std::int32_t(n));
        // When every identifier stands at its own number, that was the only place to look.
        if (m_numbered) return 0;
    }
    std::size_t mask = m_slots.size() - 1;
    for (std::size_t k = hash(xref) & mask;; k = (k + 1) & mask) {
        std::int32_t pos = m_slots[k];
        if (pos == 0) return 0;
        if (IdentifierAt(pos) == xref) return RecordAt(pos);
    }
}

std::int32_t WXREFIndex::FindBySearch(std::string_view xref) const {
    auto cmp = [this](const void* rec, const void* key) {
        Record r;
        std::memcpy(&r, rec, sizeof r);
        return compareText(r, *static_cast<const std::string_view*>(key));
    };
    bool found = false;
    std::int32_t pos = FindPositionBy(cmp, &xref, found);
    if (!found) return 0;
    // Equal identifiers stand in record order: the first one wins.
    while (pos > 1 && cmp(GetPtr(pos - 1), &xref) == 0) --pos;
    return RecordAt(pos);
}

std::string_view WXREFIndex::IdentifierAt(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return {};
    Record r;
    std::memcpy(&r, p, sizeof r);
    if (r.length <= PrefixSize) return std::string_view(p + offsetof(Record, prefix), r.length);
    return text(r);
}

std::int32_t WXREFIndex::RecordAt(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return 0;
    std::int32_t n;
    std::memcpy(&n, p + offsetof(Record, recNo), sizeof n);
    return n;
}

int WXREFIndex::CompareXREF(const char* a, const char* b) {
    if (!a || !b) throw ECompareError("Error in compare function of WRINAssocIndex - nil passed as an argument");
    return compareViews(a, b);
}
