#include "model/CollectionIterator.h"

#include <cstring>

#include "model/ABSCollection.h"

namespace {

// The collection of the most recently created iterator; the find routines
// fetch their individuals from it.
WABSCollection* g_searchCollection = nullptr;

unsigned char foldAZ(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - ('a' - 'A') : c; }

// Compares text with key over the key's length, ignoring the case of a-z; an
// exhausted text compares as a zero byte. An empty key matches everything.
int comparePrefix(const std::string& text, const std::string& key) {
    for (std::size_t k = 0; k < key.size(); ++k) {
        unsigned char a = k < text.size() ? foldAZ(static_cast<unsigned char>(text[k])) : 0;
        unsigned char b = foldAZ(static_cast<unsigned char>(key[k]));
        if (a != b) return int(a) - int(b);
    }
    return 0;
}

std::unique_ptr<WABSIndividual> fetch(const void* record) {
    if (!record || !g_searchCollection) return nullptr;
    std::int32_t n;
    std::memcpy(&n, record, 4);
    return g_searchCollection->GetIndividual(n);
}

struct NameKey {
    const std::string* surname;
    const std::string* given;
};

int compareSurnameGiven(const void* record, const void* key, void*) {
    const auto* k = static_cast<const NameKey*>(key);
    auto ind = fetch(record);
    std::string surname = ind ? ind->GetSurnameText() : std::string();
    int r = comparePrefix(surname, *k->surname);
    if (r != 0) return r;
    std::string given = ind ? ind->GetGivenText() : std::string();
    return comparePrefix(given, *k->given);
}

int compareFullName(const void* record, const void* key, void*) {
    auto ind = fetch(record);
    std::string name = ind ? ind->GetFullName(true) : std::string();
    return comparePrefix(name, *static_cast<const std::string*>(key));
}

int compareRefN(const void* record, const void* key, void*) {
    auto ind = fetch(record);
    std::string refn = ind ? ind->GetRefN() : std::string();
    return comparePrefix(refn, *static_cast<const std::string*>(key));
}

} // namespace

WCollectionIterator::WCollectionIterator(const std::string& fileName, WABSCollection* collection, std::int32_t capacity)
    : WABSIterator(fileName, 4, capacity), m_collection(collection) {
    g_searchCollection = collection;
}

WABSCollection* WCollectionIterator::SearchCollection() { return g_searchCollection; }

void WCollectionIterator::SetSearchCollection(WABSCollection* collection) { g_searchCollection = collection; }

namespace {
std::int32_t individualAt(const char* p) {
    if (!p) return 0;
    std::int32_t n;
    std::memcpy(&n, p, 4);
    return n;
}
} // namespace

std::int32_t WCollectionIterator::First() { return individualAt(Current(1)); }
std::int32_t WCollectionIterator::Next() { return individualAt(Current(m_cursor + 1)); }
std::int32_t WCollectionIterator::Prev() { return individualAt(Current(m_cursor - 1)); }
std::int32_t WCollectionIterator::Last() { return individualAt(Current(m_count)); }
std::int32_t WCollectionIterator::GetItem(std::int32_t position) { return individualAt(GetPtr(position)); }

std::int32_t WCollectionIterator::IndexOf(std::int32_t individual) const {
    if (m_count == 0) return 0;
    const char* base = GetPtr(1);
    for (std::int32_t i = 0; i < m_count; ++i) {
        std::int32_t n;
        std::memcpy(&n, base + std::int64_t(i) * 4, 4);
        if (n == individual) return i + 1;
    }
    return 0;
}

void WCollectionIterator::EnsureSorted() {
    if (m_sortedOnce) return;
    m_sortedOnce = true;
    Sort();
}

// Position of the first entry that starts with the key, or the nearest one
// before where it would be.
std::int32_t WCollectionIterator::prefixFind(WCompareProc compare, const void* key) {
    bool found = false;
    std::int32_t pos = FindPosition(compare, key, found);
    if (pos == 0) return 0;
    if (compare(GetPtr(pos), key, nullptr) != 0) return pos - 1 > 1 ? pos - 1 : 1;
    if (!found) return pos;
    while (pos > 1 && compare(GetPtr(pos - 1), key, nullptr) == 0) --pos;
    return pos;
}

std::int32_t WCollectionIterator::FindSurnameGiven(const std::string& surname, const std::string& given) {
    NameKey key{&surname, &given};
    return prefixFind(compareSurnameGiven, &key);
}

std::int32_t WCollectionIterator::FindFullName(const std::string& text) { return prefixFind(compareFullName, &text); }

std::int32_t WCollectionIterator::FindRefN(const std::string& text) { return prefixFind(compareRefN, &text); }
