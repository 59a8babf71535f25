#include "model/CollectionIterator.h"

#include <cstring>

#include "model/ABSCollection.h"
#include "model/ABSName.h"
#include "model/StrFunc.h"

namespace {

// The collection of the most recently created iterator; the find routines
// fetch their individuals from it.
WABSCollection* g_searchCollection = nullptr;

std::int32_t individualAt(const void* p) {
    if (!p) return 0;
    std::int32_t n;
    std::memcpy(&n, p, 4);
    return n;
}

// The key starts with the searched key: 0; otherwise the order of the two
// over the searched key's length, an exhausted key counting as a zero byte.
int comparePrefix(const std::string& key, const std::string& searched) {
    for (std::size_t k = 0; k < searched.size(); ++k) {
        const unsigned char a = k < key.size() ? static_cast<unsigned char>(key[k]) : 0;
        const unsigned char b = static_cast<unsigned char>(searched[k]);
        if (a != b) return int(a) - int(b);
    }
    return 0;
}

} // namespace

WCollectionIterator::WCollectionIterator(const std::string& fileName, WABSCollection* collection, std::int32_t capacity)
    : WABSIterator(fileName, 4, capacity), m_collection(collection) {
    g_searchCollection = collection;
}

WABSCollection* WCollectionIterator::SearchCollection() { return g_searchCollection; }

void WCollectionIterator::SetSearchCollection(WABSCollection* collection) { g_searchCollection = collection; }

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

std::string WCollectionIterator::SurnameGivenKey(const std::string& surname, const std::string& given) {
    return StrFunc::SortKey(given.empty() ? surname : surname + ", " + given);
}

std::string WCollectionIterator::TextKey(const std::string& text) {
    const std::size_t b = text.find_first_not_of(' ');
    return StrFunc::SortKey(b == std::string::npos ? std::string() : text.substr(b));
}

std::string WCollectionIterator::PlainFullName(const WABSIndividual& individual) {
    // The name record once: the index of a large file reads every one.
    const std::unique_ptr<WABSName> name = individual.GetName();
    if (!name) return {};
    std::string text = name->GetGiven();
    if (!text.empty()) text += ' ';
    return text + name->GetSurnameText();
}

std::string WCollectionIterator::SearchKey(std::int32_t individual, SearchKind kind) const {
    auto ind = g_searchCollection ? g_searchCollection->GetIndividual(individual) : nullptr;
    if (!ind) return {};
    switch (kind) {
    case SearchKind::SurnameGiven: return StrFunc::SortKey(ind->GetSurnameText() + ", " + ind->GetGivenText());
    case SearchKind::FullName: return StrFunc::SortKey(PlainFullName(*ind));
    case SearchKind::RefN: return StrFunc::SortKey(ind->GetRefN());
    }
    return {};
}

bool WCollectionIterator::MatchesAt(std::int32_t position, SearchKind kind, const std::string& searchKey) const {
    const std::int32_t individual = individualAt(GetPtr(position));
    return individual != 0 && comparePrefix(SearchKey(individual, kind), searchKey) == 0;
}

// Position of the first entry whose key starts with the searched key, or the
// nearest one before where it would be. The entries that start with it lie
// together, so the first of them is the lower bound of the search: a short
// text that begins thousands of names costs no more than a long one.
std::int32_t WCollectionIterator::prefixFind(SearchKind kind, const std::string& searchKey) {
    if (m_count == 0) return 0;
    std::int32_t lo = 1, hi = m_count + 1;
    while (lo < hi) {
        const std::int32_t mid = lo + (hi - lo) / 2;
        if (comparePrefix(SearchKey(individualAt(GetPtr(mid)), kind), searchKey) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    // After every entry: the last one stands for where it would be.
    const std::int32_t pos = lo > m_count ? m_count : lo;
    if (MatchesAt(pos, kind, searchKey)) return pos;
    return pos > 2 ? pos - 1 : 1;
}

std::int32_t WCollectionIterator::FindSurnameGiven(const std::string& surname, const std::string& given) {
    return prefixFind(SearchKind::SurnameGiven, SurnameGivenKey(surname, given));
}

std::int32_t WCollectionIterator::FindFullName(const std::string& text) {
    return prefixFind(SearchKind::FullName, TextKey(text));
}

std::int32_t WCollectionIterator::FindRefN(const std::string& text) {
    return prefixFind(SearchKind::RefN, TextKey(text));
}
