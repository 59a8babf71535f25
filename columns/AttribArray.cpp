#include "columns/AttribArray.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <unordered_map>

#include "columns/Attrib.h"
#include "model/FloatArray.h"
#include "model/StrFunc.h"

namespace {

// Individual number held by a record of the iterator.
inline std::int32_t individualOf(const void* record) {
    std::int32_t n = 0;
    if (record) std::memcpy(&n, record, 4);
    return n;
}

inline int threeWay(long long a, long long b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Leading decimal digits as a number (saturating), 0 when there are none.
long long leadingNumber(const char* p, const char* end) {
    while (p < end && *p == ' ') ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    long long v = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 9;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        if (v < kMax) v = v * 10 + (*p - '0');
    return negative ? -v : v;
}

} // namespace

// ---------------------------------------------------------------- base

WAttribArray::WAttribArray(std::int32_t recordSize, std::int32_t capacity)
    : WABSArrayIndex("", false, recordSize, capacity > 0 ? capacity : 0), m_capacity(capacity > 0 ? capacity : 0) {
    SetCount(m_capacity);
}

// ---------------------------------------------------------------- text

WAttribStrArray::WAttribStrArray(std::int32_t capacity, bool idPair)
    : WAttribArray(kRecordSize, capacity), m_idPair(idPair) {}

static_assert(WAttribStrArray::kRecordSize == StrFunc::kSortKeyLength + 1, "a key and its terminating zero");

std::string WAttribStrArray::MakeKey(const std::string& text) { return StrFunc::SortKey(text); }

void WAttribStrArray::StoreKey(WAttrib& attrib, std::int32_t individual) {
    char* p = GetPtr(individual);
    if (!p) return;
    std::string text;
    attrib.GetKeyText(individual, text);
    std::string key = MakeKey(text);
    std::memset(p, 0, kRecordSize);
    std::memcpy(p, key.data(), key.size());
}

WCompareProc WAttribStrArray::Comparer() const { return m_idPair ? ColCompare::IdPairProc : ColCompare::TextProc; }

bool WAttribStrArray::OrderKeys(std::vector<std::uint64_t>& keys) const {
    if (m_idPair) return false;
    // Beyond this many different texts ranking them costs more than it saves.
    constexpr std::size_t kMostTexts = 65536;
    std::unordered_map<std::string_view, std::uint32_t> slot;
    std::vector<std::string_view> texts;
    keys.assign(std::size_t(m_capacity) + 1, 0);
    for (std::int32_t i = 1; i <= m_capacity; ++i) {
        const char* p = GetPtr(i);
        const std::string_view key(p, ::strnlen(p, kRecordSize));
        const auto [it, added] = slot.emplace(key, std::uint32_t(texts.size()));
        if (added) {
            if (texts.size() == kMostTexts) return false;
            texts.push_back(key);
        }
        keys[std::size_t(i)] = it->second;
    }
    // Texts compare as unsigned bytes, the shorter first: as string_view does.
    std::vector<std::uint32_t> order(texts.size());
    for (std::uint32_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return texts[a] < texts[b]; });
    std::vector<std::uint64_t> rank(texts.size());
    for (std::uint32_t r = 0; r < order.size(); ++r) rank[order[r]] = r + 1;
    for (std::int32_t i = 1; i <= m_capacity; ++i) keys[std::size_t(i)] = rank[keys[std::size_t(i)]] << 1 | 1;
    return true;
}

std::string WAttribStrArray::Key(std::int32_t individual) const { return std::string(KeyView(individual)); }

std::string_view WAttribStrArray::KeyView(std::int32_t individual) const {
    const char* p = GetPtr(individual);
    return p ? std::string_view(p, ::strnlen(p, kRecordSize)) : std::string_view();
}

// ---------------------------------------------------------------- integer

WAttribIntArray::WAttribIntArray(std::int32_t capacity) : WAttribArray(4, capacity) {}

void WAttribIntArray::StoreKey(WAttrib& attrib, std::int32_t individual) {
    char* p = GetPtr(individual);
    if (!p) return;
    std::int32_t v = attrib.GetInteger(individual);
    std::memcpy(p, &v, 4);
}

WCompareProc WAttribIntArray::Comparer() const { return ColCompare::IntegerProc; }

bool WAttribIntArray::OrderKeys(std::vector<std::uint64_t>& keys) const {
    keys.assign(std::size_t(m_capacity) + 1, 0);
    for (std::int32_t i = 1; i <= m_capacity; ++i)
        keys[std::size_t(i)] = std::uint64_t(std::int64_t(Key(i)) + (std::int64_t(1) << 31)) << 1 | 1;
    return true;
}

std::int32_t WAttribIntArray::Key(std::int32_t individual) const { return individualOf(GetPtr(individual)); }

// ---------------------------------------------------------------- date

WAttribDateArray::WAttribDateArray(std::int32_t capacity) : WAttribArray(sizeof(Record), capacity) {}

WAttribDateArray::Record WAttribDateArray::addDate(std::vector<WDate>& run, const std::string& text) {
    Record r{};
    if (!text.empty()) {
        run.emplace_back(text);
        r.slot = static_cast<std::uint32_t>(run.size());
        r.state = run.back().IsValid() ? Parsed : Unparsed;
    }
    return r;
}

void WAttribDateArray::SetKeyText(std::int32_t individual, const std::string& text) {
    char* p = GetPtr(individual);
    if (!p) return;
    if (m_runs.empty()) m_runs.push_back({1, {}});
    Record r = addDate(m_runs.back().dates, text);
    if (r.slot != 0) r.slot += m_runs.back().first - 1;
    std::memcpy(p, &r, sizeof r);
}

void WAttribDateArray::StoreKey(WAttrib& attrib, std::int32_t individual) {
    std::string text;
    attrib.GetSortText(individual, text);
    SetKeyText(individual, text);
}

namespace {
struct DatePart : WAttribArray::Part {
    std::vector<WDate> dates;
    std::vector<std::int32_t> individuals; // the ones with a date, in order
};
} // namespace

std::unique_ptr<WAttribArray::Part> WAttribDateArray::MakePart() const { return std::make_unique<DatePart>(); }

void WAttribDateArray::StoreKeyPart(WAttrib& attrib, std::int32_t individual, Part& part) {
    char* p = GetPtr(individual);
    if (!p) return;
    auto& own = static_cast<DatePart&>(part);
    std::string text;
    attrib.GetSortText(individual, text);
    const Record r = addDate(own.dates, text);
    if (r.slot != 0) own.individuals.push_back(individual);
    std::memcpy(p, &r, sizeof r);
}

void WAttribDateArray::JoinParts(std::vector<std::unique_ptr<Part>>& parts) {
    // Each part's dates become a run of their own, not moved: only the slots
    // of its individuals are renumbered after the dates before them.
    for (auto& part : parts) {
        auto& own = static_cast<DatePart&>(*part);
        if (own.dates.empty()) continue;
        const std::uint32_t offset = DateCount();
        for (std::int32_t individual : own.individuals) {
            Record r;
            std::memcpy(&r, GetPtr(individual), sizeof r);
            r.slot += offset;
            std::memcpy(GetPtr(individual), &r, sizeof r);
        }
        m_runs.push_back({offset + 1, std::move(own.dates)});
        part.reset();
    }
}

const WDate& WAttribDateArray::DateAt(std::uint32_t slot) const {
    std::size_t k = m_runs.size() - 1;
    while (m_runs[k].first > slot) --k;
    return m_runs[k].dates[slot - m_runs[k].first];
}

std::uint32_t WAttribDateArray::DateCount() const {
    return m_runs.empty() ? 0 : m_runs.back().first - 1 + std::uint32_t(m_runs.back().dates.size());
}

WCompareProc WAttribDateArray::Comparer() const { return ColCompare::DateProc; }

namespace {
// The qualifier of a structured date is its key's class, above bit 0.
constexpr int kDateTieBits = 5;
constexpr int kQualifiers = 1 << (kDateTieBits - 1);

struct QualifierTable {
    signed char order[kQualifiers * kQualifiers];
    QualifierTable() {
        for (int a = 0; a < kQualifiers; ++a)
            for (int b = 0; b < kQualifiers; ++b)
                order[a * kQualifiers + b] = static_cast<signed char>(WDate::CompareQualifiers(a, b));
    }
};
} // namespace

WKeyTies WAttribDateArray::KeyTies() const {
    static const QualifierTable table;
    return {kDateTieBits, table.order};
}

bool WAttribDateArray::OrderKeys(std::vector<std::uint64_t>& keys) const {
    keys.assign(std::size_t(m_capacity) + 1, 1);
    std::vector<std::int32_t> unstructured;
    for (std::int32_t i = 1; i <= m_capacity; ++i) {
        const Record* r = RecordOf(i);
        // Empty keys, and texts that are no date, are all alike (bit 0 set).
        std::uint64_t key = std::uint64_t(r->state) << 60 | 1;
        if (r->state == Parsed) {
            const WDate& d = DateAt(r->slot);
            if (d.IsUnstructured()) {
                unstructured.push_back(i);
            } else {
                // After the unstructured dates; same-day qualifiers go to the tie.
                const WDatePart& p = d.GetPart1();
                key |= std::uint64_t(1) << 59 | std::uint64_t(p.year) << 37 | std::uint64_t(p.month) << 21 |
                       std::uint64_t(p.day) << kDateTieBits | std::uint64_t(d.GetQualifier() & (kQualifiers - 1)) << 1;
            }
        }
        keys[std::size_t(i)] = key;
    }
    // Unstructured dates compare as their texts: rank them, above the tie bits.
    auto text = [&](std::int32_t i) -> const std::string& { return DateAt(RecordOf(i)->slot).GetOriginalText(); };
    std::sort(unstructured.begin(), unstructured.end(),
              [&](std::int32_t a, std::int32_t b) { return text(a) < text(b); });
    std::uint64_t rank = 0;
    for (std::size_t k = 0; k < unstructured.size(); ++k) {
        if (k == 0 || text(unstructured[k - 1]) != text(unstructured[k])) ++rank;
        keys[std::size_t(unstructured[k])] |= rank << kDateTieBits;
    }
    return true;
}

std::string WAttribDateArray::KeyText(std::int32_t individual) const {
    const Record* r = RecordOf(individual);
    if (!r || r->state == Empty || r->slot == 0 || r->slot > DateCount()) return {};
    return DateAt(r->slot).GetOriginalText();
}

// ---------------------------------------------------------------- age

WAgeKey WAgeKey::Parse(const std::string& text) {
    WAgeKey k;
    if (text.empty()) return k;
    k.approximate = text.front() == '~';
    k.uncertain = text.back() == '?';
    long long v = 0;
    bool digits = false;
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        digits = true;
        if (v < std::numeric_limits<std::int32_t>::max()) v = v * 10 + (c - '0');
    }
    if (v > std::numeric_limits<std::int32_t>::max()) v = std::numeric_limits<std::int32_t>::max();
    k.valid = digits;
    k.value = digits ? static_cast<std::int32_t>(v) : -1;
    return k;
}

WAttribAgeArray::WAttribAgeArray(std::int32_t capacity) : WAttribArray(sizeof(WAgeKey), capacity) {}

void WAttribAgeArray::StoreKey(WAttrib& attrib, std::int32_t individual) {
    char* p = GetPtr(individual);
    if (!p) return;
    std::string text;
    attrib.GetText(individual, 1, text);
    WAgeKey k = WAgeKey::Parse(text);
    std::memcpy(p, &k, sizeof k);
}

WCompareProc WAttribAgeArray::Comparer() const { return ColCompare::AgeProc; }

bool WAttribAgeArray::OrderKeys(std::vector<std::uint64_t>& keys) const {
    keys.assign(std::size_t(m_capacity) + 1, 0);
    for (std::int32_t i = 1; i <= m_capacity; ++i) {
        const WAgeKey k = Key(i);
        keys[std::size_t(i)] = 1; // invalid: before every valid key
        if (!k.valid) continue;
        // Exact, then approximate and certain, then approximate and uncertain.
        const std::uint64_t kind = !k.approximate ? 0 : (k.uncertain ? 2 : 1);
        keys[std::size_t(i)] =
            (std::uint64_t(1) << 62 | std::uint64_t(std::int64_t(k.value) + (std::int64_t(1) << 31)) << 2 | kind) << 1 |
            1;
    }
    return true;
}

WAgeKey WAttribAgeArray::Key(std::int32_t individual) const {
    WAgeKey k;
    if (const char* p = GetPtr(individual)) std::memcpy(&k, p, sizeof k);
    return k;
}

// ---------------------------------------------------------------- float

WAttribFloatArray::WAttribFloatArray(std::int32_t capacity) : WAttribArray(WFloatArray::ExtendedSize, capacity) {}

void WAttribFloatArray::StoreKey(WAttrib& attrib, std::int32_t individual) {
    char* p = GetPtr(individual);
    if (!p) return;
    WFloatArray::ToExtended(attrib.GetFloat(individual), reinterpret_cast<unsigned char*>(p));
}

WCompareProc WAttribFloatArray::Comparer() const { return ColCompare::FloatProc; }

long double WAttribFloatArray::Key(std::int32_t individual) const {
    const char* p = GetPtr(individual);
    return p ? WFloatArray::FromExtended(reinterpret_cast<const unsigned char*>(p)) : 0.0L;
}

// ---------------------------------------------------------------- comparers

namespace ColCompare {

int Text(const char* a, const char* b) {
    const auto* x = reinterpret_cast<const unsigned char*>(a);
    const auto* y = reinterpret_cast<const unsigned char*>(b);
    for (;; ++x, ++y) {
        if (*x != *y) return *x < *y ? -1 : 1;
        if (*x == 0) return 0;
    }
}

int IdPair(const char* a, const char* b) {
    const char* ca = std::strchr(a, ':');
    const char* cb = std::strchr(b, ':');
    if (!ca || !cb) return Text(a, b);
    int r = threeWay(leadingNumber(a, ca), leadingNumber(b, cb));
    if (r != 0) return r;
    return threeWay(leadingNumber(ca + 1, ca + 1 + std::strlen(ca + 1)),
                    leadingNumber(cb + 1, cb + 1 + std::strlen(cb + 1)));
}

int Integer(std::int32_t a, std::int32_t b) { return threeWay(a, b); }

int Float(long double a, long double b) { return a < b ? -1 : (a > b ? 1 : 0); }

int Age(const WAgeKey& a, const WAgeKey& b) {
    if (!a.valid || !b.valid) return threeWay(a.valid ? 1 : 0, b.valid ? 1 : 0);
    if (a.value != b.value) return threeWay(a.value, b.value);
    if (a.approximate && b.approximate) return threeWay(a.uncertain ? 1 : 0, b.uncertain ? 1 : 0);
    return threeWay(a.approximate ? 1 : 0, b.approximate ? 1 : 0);
}

int Date(const WAttribDateArray& keys, std::int32_t a, std::int32_t b) {
    const WAttribDateArray::Record* ra = keys.RecordOf(a);
    const WAttribDateArray::Record* rb = keys.RecordOf(b);
    if (!ra || !rb) return 0;
    if (ra->state != rb->state) {
        // Empty before text that is no date, before a date.
        return ra->state < rb->state ? -1 : 1;
    }
    if (ra->state != WAttribDateArray::Parsed) return 0;
    int r = keys.DateAt(ra->slot).Compare(keys.DateAt(rb->slot));
    return r < -1 ? 0 : r;
}

namespace {
template <class Array>
const Array& arrayOf(void* keys) {
    return *static_cast<const Array*>(keys);
}
} // namespace

int TextProc(const void* a, const void* b, void* keys) {
    const auto& k = arrayOf<WAttribStrArray>(keys);
    const char* pa = k.GetPtr(individualOf(a));
    const char* pb = k.GetPtr(individualOf(b));
    if (!pa || !pb) return 0;
    return Text(pa, pb);
}

int IdPairProc(const void* a, const void* b, void* keys) {
    const auto& k = arrayOf<WAttribStrArray>(keys);
    const char* pa = k.GetPtr(individualOf(a));
    const char* pb = k.GetPtr(individualOf(b));
    if (!pa || !pb) return 0;
    return IdPair(pa, pb);
}

int IntegerProc(const void* a, const void* b, void* keys) {
    const auto& k = arrayOf<WAttribIntArray>(keys);
    const char* pa = k.GetPtr(individualOf(a));
    const char* pb = k.GetPtr(individualOf(b));
    if (!pa || !pb) return 0;
    return Integer(individualOf(pa), individualOf(pb));
}

int DateProc(const void* a, const void* b, void* keys) {
    return Date(arrayOf<WAttribDateArray>(keys), individualOf(a), individualOf(b));
}

int AgeProc(const void* a, const void* b, void* keys) {
    const auto& k = arrayOf<WAttribAgeArray>(keys);
    const char* pa = k.GetPtr(individualOf(a));
    const char* pb = k.GetPtr(individualOf(b));
    if (!pa || !pb) return 0;
    WAgeKey ka, kb;
    std::memcpy(&ka, pa, sizeof ka);
    std::memcpy(&kb, pb, sizeof kb);
    return Age(ka, kb);
}

int FloatProc(const void* a, const void* b, void* keys) {
    const auto& k = arrayOf<WAttribFloatArray>(keys);
    const char* pa = k.GetPtr(individualOf(a));
    const char* pb = k.GetPtr(individualOf(b));
    if (!pa || !pb) return 0;
    return Float(WFloatArray::FromExtended(reinterpret_cast<const unsigned char*>(pa)),
                 WFloatArray::FromExtended(reinterpret_cast<const unsigned char*>(pb)));
}

} // namespace ColCompare
