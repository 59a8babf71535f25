#pragma once
// Key arrays of the column sort: one sort key per individual (record N holds
// the key of individual N) in temporary storage, and the comparers of the six
// sort kinds. The sort itself orders the iterator's individual numbers, so the
// comparers receive two individual numbers and the key array as context.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/ABSArrayIndex.h"
#include "model/Date.h"

class WAttrib;

class WAttribArray : public WABSArrayIndex {
public:
    // capacity zeroed records (the collection's individual count).
    WAttribArray(std::int32_t recordSize, std::int32_t capacity);

    std::int32_t Capacity() const { return m_capacity; }
    // Computes and stores the key of an individual (1..capacity).
    virtual void StoreKey(WAttrib& attrib, std::int32_t individual) = 0;
    // The comparer of this array's keys.
    virtual WCompareProc Comparer() const = 0;
    // Numbers ordered as the comparer orders the keys wherever they differ
    // (keys[i] for individual i, 0..capacity); equal numbers with bit 0 set
    // are equal keys, the comparer decides between the others. False where
    // making them does not pay.
    virtual bool OrderKeys(std::vector<std::uint64_t>&) const { return false; }
    // How OrderKeys' keys break ties in their low bits; none by default.
    virtual WKeyTies KeyTies() const { return {}; }

    // Keys stored on several threads: each thread stores the keys of its own
    // individuals in order into a part of its own, then JoinParts puts the
    // parts together in their order, on one thread, so the array ends as
    // StoreKey for every individual in that order would leave it.
    struct Part {
        virtual ~Part() = default;
    };
    virtual std::unique_ptr<Part> MakePart() const { return std::make_unique<Part>(); }
    // By default StoreKey touches nothing but the individual's own record.
    virtual void StoreKeyPart(WAttrib& attrib, std::int32_t individual, Part&) { StoreKey(attrib, individual); }
    virtual void JoinParts(std::vector<std::unique_ptr<Part>>&) {}

protected:
    std::int32_t m_capacity;
};

// Text keys: accents removed, upper-cased, at most 47 characters.
class WAttribStrArray : public WAttribArray {
public:
    static constexpr std::int32_t kRecordSize = 48;
    // With idPair the identifier-pair comparer, else the text comparer.
    WAttribStrArray(std::int32_t capacity, bool idPair);
    void StoreKey(WAttrib& attrib, std::int32_t individual) override;
    WCompareProc Comparer() const override;
    // Ranks of the texts, while there are few different ones.
    bool OrderKeys(std::vector<std::uint64_t>& keys) const override;
    // The stored key (for tests and diagnostics).
    std::string Key(std::int32_t individual) const;
    // The same, where it lies in store (empty for an individual outside).
    std::string_view KeyView(std::int32_t individual) const;
    // The key made of a cell text.
    static std::string MakeKey(const std::string& text);

private:
    bool m_idPair;
};

class WAttribIntArray : public WAttribArray {
public:
    explicit WAttribIntArray(std::int32_t capacity);
    void StoreKey(WAttrib& attrib, std::int32_t individual) override;
    WCompareProc Comparer() const override;
    bool OrderKeys(std::vector<std::uint64_t>& keys) const override;
    std::int32_t Key(std::int32_t individual) const;
};

// Date keys: the whole sort text, read once into a date when stored.
class WAttribDateArray : public WAttribArray {
public:
    // Record: the key's state and, for a non-empty key, its slot among the dates.
    struct Record {
        std::uint8_t state; // 0 empty, 1 not a readable date, 2 a date
        std::uint8_t pad[3];
        std::uint32_t slot; // 1-based index into the dates
    };
    enum : std::uint8_t { Empty = 0, Unparsed = 1, Parsed = 2 };

    explicit WAttribDateArray(std::int32_t capacity);
    void StoreKey(WAttrib& attrib, std::int32_t individual) override;
    WCompareProc Comparer() const override;
    // By state; unstructured dates by their texts, then structured ones by
    // year, month and day, the qualifier in the tie bits.
    bool OrderKeys(std::vector<std::uint64_t>& keys) const override;
    WKeyTies KeyTies() const override;
    // The whole sort text as stored (upper-cased by the date), empty for none.
    std::string KeyText(std::int32_t individual) const;
    // Stores a key text directly.
    void SetKeyText(std::int32_t individual, const std::string& text);

    const Record* RecordOf(std::int32_t individual) const {
        return reinterpret_cast<const Record*>(GetPtr(individual));
    }
    // The date of a slot (1 .. DateCount).
    const WDate& DateAt(std::uint32_t slot) const;
    std::uint32_t DateCount() const;

    // The dates of a part, numbered from 1 within it until joined.
    std::unique_ptr<Part> MakePart() const override;
    void StoreKeyPart(WAttrib& attrib, std::int32_t individual, Part& part) override;
    void JoinParts(std::vector<std::unique_ptr<Part>>& parts) override;

private:
    // The dates in runs, one per part of a build, each left where its thread
    // made it: a run's slots follow on from those of the run before it.
    struct Run {
        std::uint32_t first; // slot of dates[0]
        std::vector<WDate> dates;
    };
    static Record addDate(std::vector<WDate>& run, const std::string& text);
    std::vector<Run> m_runs;
};

// Age keys parsed from the cell text.
struct WAgeKey {
    std::uint8_t valid = 0;
    std::uint8_t approximate = 0;
    std::uint8_t pad[2] = {0, 0};
    std::int32_t value = 0;
    std::uint8_t uncertain = 0;
    std::uint8_t pad2[3] = {0, 0, 0};

    // "~" in front: approximate; "?" at the end: uncertain; the value is all
    // the digits in order; not valid for empty text or without digits (-1).
    static WAgeKey Parse(const std::string& text);
};
static_assert(sizeof(WAgeKey) == 12, "age keys are 12-byte records");

class WAttribAgeArray : public WAttribArray {
public:
    explicit WAttribAgeArray(std::int32_t capacity);
    void StoreKey(WAttrib& attrib, std::int32_t individual) override;
    WCompareProc Comparer() const override;
    bool OrderKeys(std::vector<std::uint64_t>& keys) const override;
    WAgeKey Key(std::int32_t individual) const;
};

// Floating keys as 10-byte extended records.
class WAttribFloatArray : public WAttribArray {
public:
    explicit WAttribFloatArray(std::int32_t capacity);
    void StoreKey(WAttrib& attrib, std::int32_t individual) override;
    WCompareProc Comparer() const override;
    long double Key(std::int32_t individual) const;
};

// The comparers on two keys: negative, 0 or positive; equal keys give 0.
namespace ColCompare {
// Unsigned bytes of zero-terminated keys; the key that ends first is smaller.
int Text(const char* a, const char* b);
// Both with ':': the number before the first ':', then the number after it;
// otherwise as text.
int IdPair(const char* a, const char* b);
int Integer(std::int32_t a, std::int32_t b);
int Float(long double a, long double b);
// Not valid first; by value; at equal values an uncertain key after a
// certain one when both are approximate, else an approximate one after an
// exact one.
int Age(const WAgeKey& a, const WAgeKey& b);
// Empty first, then keys that are no date, then dates in date order.
int Date(const WAttribDateArray& keys, std::int32_t a, std::int32_t b);

// The sort-routine forms: two records holding individual numbers, the key
// array as context. A missing record or individual 0 gives 0.
int TextProc(const void* a, const void* b, void* keys);
int IdPairProc(const void* a, const void* b, void* keys);
int IntegerProc(const void* a, const void* b, void* keys);
int DateProc(const void* a, const void* b, void* keys);
int AgeProc(const void* a, const void* b, void* keys);
int FloatProc(const void* a, const void* b, void* keys);
} // namespace ColCompare
