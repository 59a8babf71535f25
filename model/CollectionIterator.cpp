#include "model/CollectionIterator.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/ABSCollection.h"
#include "model/ABSName.h"
#include "model/StrFunc.h"
#include "model/WaveletTree.h"

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

bool beginsWith(std::string_view key, std::string_view start) {
    return key.size() >= start.size() && key.compare(0, start.size(), start) == 0;
}

// Between the surname and the given names of a surname and given-name key.
constexpr std::string_view kSeparator = ", ";

// The individual from the collection the searches read.
std::unique_ptr<WABSIndividual> fetch(std::int32_t individual) {
    return g_searchCollection ? g_searchCollection->GetIndividual(individual) : nullptr;
}

// A surname or given names as their part of a key takes them, whole.
std::string partKey(const std::string& part) { return StrFunc::WholeKey(StrFunc::SquashBlanks(part)); }

// The text an individual's key is made of, before it is cut.
std::string recordText(const WABSIndividual& individual, WCollectionIterator::SearchKind kind) {
    using Kind = WCollectionIterator::SearchKind;
    switch (kind) {
    case Kind::SurnameGiven: {
        const std::unique_ptr<WABSName> name = individual.GetName();
        return name ? name->GetSurnameGivenKeyText() : std::string(kSeparator);
    }
    case Kind::FullName: return WCollectionIterator::PlainFullName(individual);
    case Kind::RefN: return individual.GetRefN();
    }
    return {};
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

// The given names of the entries as ranks in the order of their keys, so
// that the names beginning alike are one range of ranks; a wavelet tree over
// the ranks in the index's order finds the first or last entry of such a range
// within a run of positions without walking the run.
struct WCollectionIterator::GivenNames {
    std::vector<std::string> names; // each key once, in order
    WWaveletTree ranks;             // at position - 1
    // The ranks [first, end) of the names that begin with a text.
    std::pair<std::uint32_t, std::uint32_t> Beginning(const std::string& text) const {
        const auto first = std::lower_bound(names.begin(), names.end(), text);
        const auto end =
            std::partition_point(first, names.end(), [&](const std::string& n) { return beginsWith(n, text); });
        return {std::uint32_t(first - names.begin()), std::uint32_t(end - names.begin())};
    }
};

WCollectionIterator::~WCollectionIterator() = default;

WCollectionIterator::Search WCollectionIterator::SurnameGivenSearch(const std::string& surname,
                                                                    const std::string& given) {
    Search search;
    search.kind = SearchKind::SurnameGiven;
    search.key = partKey(surname);
    search.given = partKey(given);
    search.hasGiven = !search.given.empty();
    return search;
}

WCollectionIterator::Search WCollectionIterator::TextSearch(SearchKind kind, const std::string& text) {
    Search search;
    search.kind = kind;
    search.key = StrFunc::WholeKey(StrFunc::SquashTypedBlanks(text));
    return search;
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
    auto ind = fetch(individual);
    return ind ? StrFunc::SortKey(recordText(*ind, kind)) : std::string();
}

std::string WCollectionIterator::keyAt(std::int32_t position, SearchKind kind) const {
    return SearchKey(individualAt(GetPtr(position)), kind);
}

std::string WCollectionIterator::wholeKey(std::int32_t individual, SearchKind kind) const {
    std::string key = SearchKey(individual, kind);
    if (key.size() < StrFunc::kSortKeyLength) return key;
    auto ind = fetch(individual);
    return ind ? StrFunc::WholeKey(recordText(*ind, kind)) : key;
}

// The stored key holds both parts, unless it was cut or a part holds the
// separator too.
bool WCollectionIterator::SplitStoredKey(std::string_view key, std::string_view& surname, std::string_view& given) {
    const std::size_t sep = key.find(kSeparator);
    if (key.size() >= StrFunc::kSortKeyLength || sep == std::string_view::npos ||
        key.find(kSeparator, sep + kSeparator.size()) != std::string_view::npos)
        return false;
    surname = key.substr(0, sep);
    given = key.substr(sep + kSeparator.size());
    return true;
}

void WCollectionIterator::nameKeys(std::int32_t individual, std::string& surname, std::string& given) const {
    const std::string key = SearchKey(individual, SearchKind::SurnameGiven);
    std::string_view s, g;
    if (SplitStoredKey(key, s, g)) {
        surname.assign(s);
        given.assign(g);
        return;
    }
    surname.clear();
    given.clear();
    auto ind = fetch(individual);
    const std::unique_ptr<WABSName> name = ind ? ind->GetName() : nullptr;
    if (!name) return;
    surname = partKey(name->GetSurnameText());
    given = partKey(name->GetGiven());
}

bool WCollectionIterator::MatchesAt(std::int32_t position, const Search& search) const {
    const std::int32_t individual = individualAt(GetPtr(position));
    if (individual == 0) return false;
    if (search.kind != SearchKind::SurnameGiven) return beginsWith(wholeKey(individual, search.kind), search.key);
    std::string surname, given;
    nameKeys(individual, surname, given);
    return beginsWith(surname, search.key) && (!search.hasGiven || beginsWith(given, search.given));
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

// The entries whose stored key starts with a prefix lie together. Where the
// search's key is longer than a stored key, or a surname holds a comma (and so
// could begin a stored key with its given names), some of them do not match.
void WCollectionIterator::run(const Search& search, std::int32_t& first, std::int32_t& end, bool& verify) const {
    const std::string prefix = search.key.substr(0, StrFunc::kSortKeyLength);
    first = bound(1, m_count + 1, search.kind, prefix, false);
    end = bound(first, m_count + 1, search.kind, prefix, true);
    verify = search.key.size() > StrFunc::kSortKeyLength ||
             (search.kind == SearchKind::SurnameGiven && search.key.find(',') != std::string::npos);
}

const WCollectionIterator::GivenNames& WCollectionIterator::givenNames() const {
    if (m_givenNames && m_givenNamesAt == Changes()) return *m_givenNames;
    auto made = std::make_unique<GivenNames>();
    // The individuals' given names in the order of their numbers, as the keys
    // lie in store, each different one numbered once; kept texts of those
    // whose key does not hold them whole.
    constexpr std::uint32_t kAbsent = UINT32_MAX, kListed = UINT32_MAX - 1;
    auto at = [this](std::int32_t pos) { return std::size_t(std::max(0, individualAt(GetPtr(pos)))); };
    std::size_t most = 0;
    for (std::int32_t pos = 1; pos <= m_count; ++pos) most = std::max(most, at(pos));
    std::vector<std::uint32_t> idOf(most + 1, kAbsent);
    for (std::int32_t pos = 1; pos <= m_count; ++pos) idOf[at(pos)] = kListed;
    std::unordered_map<std::string_view, std::uint32_t> ids;
    std::deque<std::string> kept;
    std::string surname, given;
    for (std::size_t n = 0; n <= most; ++n) { // 0 stands for none
        if (idOf[n] != kListed) continue;
        const auto individual = std::int32_t(n);
        std::string_view key, s, g;
        if (!StoredKey(individual, SearchKind::SurnameGiven, key) || !SplitStoredKey(key, s, g)) {
            nameKeys(individual, surname, given);
            g = kept.emplace_back(given);
        }
        idOf[n] = ids.try_emplace(g, std::uint32_t(ids.size())).first->second;
    }
    std::vector<std::string_view> byId(ids.size());
    for (const auto& [name, id] : ids) byId[id] = name;
    std::vector<std::uint32_t> order(ids.size());
    for (std::uint32_t id = 0; id < order.size(); ++id) order[id] = id;
    std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) { return byId[a] < byId[b]; });
    std::vector<std::uint32_t> rankOf(ids.size());
    made->names.reserve(ids.size());
    for (std::uint32_t rank = 0; rank < order.size(); ++rank) {
        rankOf[order[rank]] = rank;
        made->names.emplace_back(byId[order[rank]]);
    }
    std::vector<std::uint32_t> rankAt(static_cast<std::size_t>(m_count));
    for (std::int32_t pos = 1; pos <= m_count; ++pos) rankAt[std::size_t(pos - 1)] = rankOf[idOf[at(pos)]];
    made->ranks = WWaveletTree(rankAt, std::uint32_t(made->names.size()));
    m_givenNames = std::move(made);
    m_givenNamesAt = Changes();
    return *m_givenNames;
}

void WCollectionIterator::PrepareNameSearch() const { givenNames(); }

// A surname with given names is looked for among the entries whose surname
// begins with the typed one, by the ranks of their given names: the first or
// last of them in a run costs as little as a miss.
std::int32_t WCollectionIterator::match(std::int32_t from, const Search& search, bool backward) const {
    std::int32_t first = 0, end = 0;
    bool verify = false;
    run(search, first, end, verify);
    const GivenNames* names = search.kind == SearchKind::SurnameGiven && search.hasGiven ? &givenNames() : nullptr;
    const auto [low, high] = names ? names->Beginning(search.given) : std::pair<std::uint32_t, std::uint32_t>();
    if (names && low >= high) return 0;
    for (std::int32_t pos = backward ? std::min(from, end - 1) : std::max(from, first);
         backward ? pos >= first : pos < end; pos += backward ? -1 : 1) {
        if (names) {
            const std::int64_t hit = backward
                                         ? names->ranks.Last(std::size_t(first - 1), std::size_t(pos), low, high)
                                         : names->ranks.First(std::size_t(pos - 1), std::size_t(end - 1), low, high);
            if (hit == WWaveletTree::kNone) return 0;
            pos = std::int32_t(hit) + 1;
        }
        if (!verify || MatchesAt(pos, search)) return pos;
    }
    return 0;
}

std::int32_t WCollectionIterator::NextMatch(std::int32_t from, const Search& search) const {
    return m_count > 0 ? match(std::max(from, 1), search, false) : 0;
}

std::int32_t WCollectionIterator::PrevMatch(std::int32_t from, const Search& search) const {
    from = std::min(from, m_count);
    return from >= 1 ? match(from, search, true) : 0;
}

std::int32_t WCollectionIterator::find(const Search& search) const {
    if (m_count == 0) return 0;
    if (const std::int32_t hit = NextMatch(1, search)) return hit;
    // Nothing matches: the entry before where the text would be, the last
    // entry standing for a place after every one.
    std::string key = search.key;
    if (search.hasGiven) key += std::string(kSeparator) + search.given;
    const std::int32_t pos =
        std::min(bound(1, m_count + 1, search.kind, key.substr(0, StrFunc::kSortKeyLength), false), m_count);
    return pos > 2 ? pos - 1 : 1;
}

std::int32_t WCollectionIterator::FindSurnameGiven(const std::string& surname, const std::string& given) {
    return find(SurnameGivenSearch(surname, given));
}

std::int32_t WCollectionIterator::FindFullName(const std::string& text) {
    return find(TextSearch(SearchKind::FullName, text));
}

std::int32_t WCollectionIterator::FindRefN(const std::string& text) { return find(TextSearch(SearchKind::RefN, text)); }
