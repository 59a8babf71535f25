#include "model/CollectionIterator.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>

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
int comparePrefix(std::string_view key, std::string_view searched) {
    for (std::size_t k = 0; k < searched.size(); ++k) {
        const unsigned char a = k < key.size() ? static_cast<unsigned char>(key[k]) : 0;
        const unsigned char b = static_cast<unsigned char>(searched[k]);
        if (a != b) return int(a) - int(b);
    }
    return 0;
}

// A surname and given-name key split at its first comma and blank: the
// surname never holds one, as the typed text is split at its first comma.
// Other keys, and a surname searched alone, are one part.
struct NameParts {
    std::string_view surname;
    std::optional<std::string_view> given;
};

NameParts splitKey(WCollectionIterator::SearchKind kind, std::string_view key) {
    if (kind != WCollectionIterator::SearchKind::SurnameGiven) return {key, std::nullopt};
    const std::size_t sep = key.find(", ");
    if (sep == std::string_view::npos) return {key, std::nullopt};
    return {key.substr(0, sep), key.substr(sep + 2)};
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
    const std::string s = StrFunc::SquashBlanks(surname);
    const std::string g = StrFunc::SquashBlanks(given);
    return StrFunc::SortKey(g.empty() ? s : s + ", " + g);
}

std::string WCollectionIterator::TextKey(const std::string& text) {
    return StrFunc::SortKey(StrFunc::SquashTypedBlanks(text));
}

std::string WCollectionIterator::PlainFullName(const WABSIndividual& individual) {
    // The name record once: the index of a large file reads every one.
    const std::unique_ptr<WABSName> name = individual.GetName();
    if (!name) return {};
    std::string text = StrFunc::SquashBlanks(name->GetGiven());
    if (!text.empty()) text += ' ';
    return text + StrFunc::SquashBlanks(name->GetSurnameText());
}

std::string WCollectionIterator::SearchKey(std::int32_t individual, SearchKind kind) const {
    auto ind = g_searchCollection ? g_searchCollection->GetIndividual(individual) : nullptr;
    if (!ind) return {};
    switch (kind) {
    case SearchKind::SurnameGiven: {
        const std::unique_ptr<WABSName> name = ind->GetName();
        if (!name) return StrFunc::SortKey(", ");
        return StrFunc::SortKey(StrFunc::SquashBlanks(name->GetSurnameText()) + ", " +
                                StrFunc::SquashBlanks(name->GetGiven()));
    }
    case SearchKind::FullName: return StrFunc::SortKey(PlainFullName(*ind));
    case SearchKind::RefN: return StrFunc::SortKey(ind->GetRefN());
    }
    return {};
}

std::string WCollectionIterator::keyAt(std::int32_t position, SearchKind kind) const {
    return SearchKey(individualAt(GetPtr(position)), kind);
}

bool WCollectionIterator::MatchesAt(std::int32_t position, SearchKind kind, const std::string& searchKey) const {
    const std::int32_t individual = individualAt(GetPtr(position));
    if (individual == 0) return false;
    const std::string key = SearchKey(individual, kind);
    const NameParts wanted = splitKey(kind, searchKey);
    if (!wanted.given) return comparePrefix(key, searchKey) == 0;
    // Both parts must begin with the searched ones.
    const NameParts has = splitKey(kind, key);
    return has.given && comparePrefix(has.surname, wanted.surname) == 0 &&
           comparePrefix(*has.given, *wanted.given) == 0;
}

std::int32_t WCollectionIterator::bound(std::int32_t from, std::int32_t to, SearchKind kind, const std::string& prefix,
                                        bool above) const {
    std::int32_t lo = from, hi = to;
    while (lo < hi) {
        const std::int32_t mid = lo + (hi - lo) / 2;
        const int c = comparePrefix(keyAt(mid, kind), prefix);
        if (above ? c <= 0 : c < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

// The entries whose key starts with a prefix lie together, so the first of
// them is a lower bound: a short text that begins thousands of names costs no
// more than a long one. A surname with given names is looked for surname by
// surname among the entries whose surname begins with the typed one: each
// surname's entries are in given-name order, so one bound per surname finds
// its first match.
std::int32_t WCollectionIterator::NextMatch(std::int32_t from, SearchKind kind, const std::string& searchKey) const {
    const std::int32_t end = m_count + 1;
    if (from < 1) from = 1;
    const NameParts wanted = splitKey(kind, searchKey);
    if (!wanted.given) {
        const std::int32_t pos = std::max(from, bound(1, end, kind, searchKey, false));
        return pos < end && MatchesAt(pos, kind, searchKey) ? pos : 0;
    }
    const std::string surname(wanted.surname);
    const std::int32_t runEnd = bound(1, end, kind, surname, true);
    std::int32_t pos = std::max(from, bound(1, end, kind, surname, false));
    while (pos < runEnd) {
        const std::string key = keyAt(pos, kind);
        const NameParts has = splitKey(kind, key);
        if (!has.given) {
            ++pos;
            continue;
        }
        const std::string block = std::string(has.surname) + ", ";
        const std::string target = StrFunc::SortKey(block + std::string(*wanted.given));
        const std::int32_t hit = bound(pos, runEnd, kind, target, false);
        if (hit < runEnd && comparePrefix(keyAt(hit, kind), target) == 0) return hit;
        pos = std::max(pos + 1, bound(pos, runEnd, kind, block, true));
    }
    return 0;
}

std::int32_t WCollectionIterator::PrevMatch(std::int32_t from, SearchKind kind, const std::string& searchKey) const {
    if (from > m_count) from = m_count;
    if (from < 1) return 0;
    const NameParts wanted = splitKey(kind, searchKey);
    if (!wanted.given) {
        const std::int32_t pos = std::min(from, bound(1, m_count + 1, kind, searchKey, true) - 1);
        return pos >= 1 && MatchesAt(pos, kind, searchKey) ? pos : 0;
    }
    const std::string surname(wanted.surname);
    const std::int32_t runStart = bound(1, m_count + 1, kind, surname, false);
    std::int32_t pos = std::min(from, bound(runStart, m_count + 1, kind, surname, true) - 1);
    while (pos >= runStart) {
        const std::string key = keyAt(pos, kind);
        const NameParts has = splitKey(kind, key);
        if (!has.given) {
            --pos;
            continue;
        }
        const std::string block = std::string(has.surname) + ", ";
        const std::string target = StrFunc::SortKey(block + std::string(*wanted.given));
        const std::int32_t blockStart = bound(runStart, pos + 1, kind, block, false);
        // The last entry up to pos that is not above the target.
        const std::int32_t last = bound(blockStart, pos + 1, kind, target, true) - 1;
        if (last >= blockStart && comparePrefix(keyAt(last, kind), target) == 0) return last;
        pos = std::min(pos - 1, blockStart - 1);
    }
    return 0;
}

std::int32_t WCollectionIterator::find(SearchKind kind, const std::string& searchKey) const {
    if (m_count == 0) return 0;
    if (const std::int32_t hit = NextMatch(1, kind, searchKey)) return hit;
    // Nothing matches: the entry before where the text would be, the last
    // entry standing for a place after every one.
    const std::int32_t pos = std::min(bound(1, m_count + 1, kind, searchKey, false), m_count);
    return pos > 2 ? pos - 1 : 1;
}

std::int32_t WCollectionIterator::FindSurnameGiven(const std::string& surname, const std::string& given) {
    return find(SearchKind::SurnameGiven, SurnameGivenKey(surname, given));
}

std::int32_t WCollectionIterator::FindFullName(const std::string& text) {
    return find(SearchKind::FullName, TextKey(text));
}

std::int32_t WCollectionIterator::FindRefN(const std::string& text) { return find(SearchKind::RefN, TextKey(text)); }
