#include "model/CollectionIterator.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "model/ABSCollection.h"
#include "model/ABSName.h"
#include "model/StrFunc.h"
#include "model/WaveletTree.h"
#include "platform/WorkerThreads.h"

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

// The given-name key of an individual's record, empty without a name.
std::string recordGivenKey(WABSCollection* records, std::int32_t individual) {
    auto ind = records ? records->GetIndividual(individual) : nullptr;
    const std::unique_ptr<WABSName> name = ind ? ind->GetName() : nullptr;
    return name ? partKey(name->GetGiven()) : std::string();
}

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
    std::vector<std::string_view> names;       // each key once, in order, in the stored keys or in kept
    std::vector<std::deque<std::string>> kept; // those no stored key holds whole
    std::vector<std::uint32_t> rankOf;         // by individual number, until laid out
    bool laidOut = false;
    WWaveletTree ranks; // at position - 1
    // The ranks [first, end) of the names that begin with a text.
    std::pair<std::uint32_t, std::uint32_t> Beginning(const std::string& text) const {
        const auto first = std::lower_bound(names.begin(), names.end(), text);
        const auto end =
            std::partition_point(first, names.end(), [&](std::string_view n) { return beginsWith(n, text); });
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

std::vector<std::int32_t> WCollectionIterator::listedIndividuals() const {
    // As the keys lie in store; 0 stands for none.
    auto at = [this](std::int32_t pos) { return std::size_t(std::max(0, individualAt(GetPtr(pos)))); };
    std::size_t most = 0;
    for (std::int32_t pos = 1; pos <= m_count; ++pos) most = std::max(most, at(pos));
    std::vector<bool> listed(m_count > 0 ? most + 1 : 0);
    for (std::int32_t pos = 1; pos <= m_count; ++pos) listed[at(pos)] = true;
    std::vector<std::int32_t> individuals;
    individuals.reserve(std::size_t(m_count));
    for (std::size_t n = 0; n < listed.size(); ++n)
        if (listed[n]) individuals.push_back(std::int32_t(n));
    return individuals;
}

// Each thread takes a slice of the individuals: reads their given names where
// their keys lie, keeps those no key holds whole, and sorts them. Then each
// thread merges a range of names from every slice, each name once, and the
// ranks of the slices' names become ranks of the whole.
std::unique_ptr<WCollectionIterator::GivenNames>
WCollectionIterator::rankGivenNames(const std::vector<std::int32_t>& individuals, const StoredKeyOf& storedKey,
                                    WABSCollection* records) {
    auto made = std::make_unique<GivenNames>();
    const std::size_t n = individuals.size();
    made->rankOf.assign(n ? std::size_t(individuals.back()) + 1 : 0, 0);
    const std::size_t threads = records && records->ReadsOnManyThreads() ? plat::WorkerThreads(n / 16384 + 1) : 1;
    // A given name where it lies, in 16 bytes: the slices hold one per individual.
    struct Name {
        const char* text;
        std::uint32_t size;
        std::uint32_t rank; // the individual's number, then the rank in the slice, then in the whole
        std::string_view view() const { return {text, size}; }
    };
    struct Slice {
        std::vector<Name> names; // sorted, then each once
        std::string kept;        // given names no stored key holds, each ended by a zero byte
    };
    std::vector<Slice> slices(threads);
    auto slice = [&](std::size_t t) { return std::pair(n * t / threads, n * (t + 1) / threads); };
    plat::RunOnThreads(threads, [&](std::size_t t) {
        Slice& own = slices[t];
        const auto [from, to] = slice(t);
        own.names.resize(to - from);
        for (std::size_t k = from; k < to; ++k) {
            const std::int32_t individual = individuals[k];
            std::string_view key, surname, given;
            if (storedKey(individual, key) && SplitStoredKey(key, surname, given)) {
                own.names[k - from] = {given.data(), std::uint32_t(given.size()), std::uint32_t(individual)};
                continue;
            }
            // Where it starts in kept, until kept grows no more.
            own.names[k - from] = {nullptr, std::uint32_t(own.kept.size()), std::uint32_t(individual)};
            own.kept += recordGivenKey(records, individual);
            own.kept += '\0';
        }
        for (Name& name : own.names) {
            if (name.text) continue;
            name.text = own.kept.data() + name.size;
            name.size = std::uint32_t(std::strlen(name.text));
        }
        std::sort(own.names.begin(), own.names.end(), [](const Name& a, const Name& b) { return a.view() < b.view(); });
        std::size_t distinct = 0;
        for (std::size_t k = 0; k < own.names.size(); ++k) {
            const Name name = own.names[k];
            if (distinct == 0 || own.names[distinct - 1].view() != name.view()) own.names[distinct++] = name;
            made->rankOf[name.rank] = std::uint32_t(distinct - 1);
        }
        own.names.resize(distinct);
    });

    // Range r holds the names from splitter r - 1 on, below splitter r: names
    // of the largest slice at even steps. Its names go after room for all of
    // its slices' names, and close up after.
    const std::vector<Name>& largest =
        std::max_element(slices.begin(), slices.end(), [](const Slice& a, const Slice& b) {
            return a.names.size() < b.names.size();
        })->names;
    std::vector<std::vector<std::size_t>> cuts(threads, std::vector<std::size_t>(threads + 1, 0));
    std::vector<std::size_t> room(threads + 1, 0), count(threads, 0);
    for (std::size_t t = 0; t < threads; ++t) {
        const std::vector<Name>& names = slices[t].names;
        for (std::size_t r = 1; r < threads; ++r)
            cuts[t][r] = std::size_t(
                std::lower_bound(names.begin(), names.end(),
                                 largest.empty() ? std::string_view() : largest[largest.size() * r / threads].view(),
                                 [](const Name& a, std::string_view b) { return a.view() < b; }) -
                names.begin());
        cuts[t][threads] = names.size();
        for (std::size_t r = 0; r < threads; ++r) room[r + 1] += cuts[t][r + 1] - cuts[t][r];
    }
    for (std::size_t r = 0; r < threads; ++r) room[r + 1] += room[r];
    made->names.resize(room[threads]);
    made->kept.resize(threads);
    const std::less<const char*> before;
    plat::RunOnThreads(threads, [&](std::size_t r) {
        // The slices by their next names, the least on top.
        std::vector<std::size_t> next(threads), heap;
        auto head = [&](std::size_t t) { return slices[t].names[next[t]].view(); };
        auto later = [&](std::size_t a, std::size_t b) { return head(b) < head(a); };
        for (std::size_t t = 0; t < threads; ++t)
            if ((next[t] = cuts[t][r]) < cuts[t][r + 1]) heap.push_back(t);
        std::make_heap(heap.begin(), heap.end(), later);
        std::size_t out = room[r];
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end(), later);
            const std::size_t t = heap.back();
            Name& name = slices[t].names[next[t]];
            if (out == room[r] || made->names[out - 1] != name.view()) {
                // Kept once, whatever the slices that kept it.
                const std::string& kept = slices[t].kept;
                const bool isKept = !before(name.text, kept.data()) && before(name.text, kept.data() + kept.size());
                made->names[out++] = isKept ? std::string_view(made->kept[r].emplace_back(name.view())) : name.view();
            }
            name.rank = std::uint32_t(out - 1);
            if (++next[t] < cuts[t][r + 1])
                std::push_heap(heap.begin(), heap.end(), later);
            else
                heap.pop_back();
        }
        count[r] = out - room[r];
    });
    std::vector<std::size_t> start(threads, 0);
    for (std::size_t r = 0, at = 0; r < threads; at += count[r++]) {
        start[r] = at;
        if (at != room[r])
            std::copy(made->names.begin() + std::ptrdiff_t(room[r]),
                      made->names.begin() + std::ptrdiff_t(room[r] + count[r]),
                      made->names.begin() + std::ptrdiff_t(at));
    }
    made->names.resize(start[threads - 1] + count[threads - 1]);
    plat::RunOnThreads(threads, [&](std::size_t t) {
        for (Name& name : slices[t].names) {
            const std::size_t r = std::size_t(std::upper_bound(room.begin(), room.end(), name.rank) - room.begin()) - 1;
            name.rank = std::uint32_t(name.rank - room[r] + start[r]);
        }
        const auto [from, to] = slice(t);
        for (std::size_t k = from; k < to; ++k) {
            std::uint32_t& rank = made->rankOf[std::size_t(individuals[k])];
            rank = slices[t].names[rank].rank;
        }
    });
    return made;
}

const WCollectionIterator::GivenNames& WCollectionIterator::givenNames() const {
    if (!m_givenNames || m_givenNamesAt != Changes()) {
        m_givenNames.reset();
        m_givenNames = rankGivenNames(
            listedIndividuals(),
            [this](std::int32_t individual, std::string_view& key) {
                return StoredKey(individual, SearchKind::SurnameGiven, key);
            },
            g_searchCollection);
        m_givenNamesAt = Changes();
    }
    GivenNames& made = *m_givenNames;
    if (!made.laidOut) {
        std::vector<std::uint32_t> rankAt(static_cast<std::size_t>(m_count));
        for (std::int32_t pos = 1; pos <= m_count; ++pos)
            rankAt[std::size_t(pos - 1)] = made.rankOf[std::size_t(std::max(0, individualAt(GetPtr(pos))))];
        std::vector<std::uint32_t>().swap(made.rankOf);
        made.ranks = WWaveletTree(std::move(rankAt), std::uint32_t(made.names.size()));
        made.laidOut = true;
    }
    return made;
}

WCollectionIterator::GivenNameRanking::GivenNameRanking(const WCollectionIterator& index, StoredKeyOf storedKey)
    : m_index(index), m_changes(index.Changes()) {
    WABSCollection* records = g_searchCollection;
    if (!records || !records->ReadsOnManyThreads()) return;
    try {
        m_ranks =
            std::async(std::launch::async, [individuals = index.listedIndividuals(), storedKey = std::move(storedKey),
                                            records] { return rankGivenNames(individuals, storedKey, records); });
    } catch (const std::system_error&) {
        // No thread to be had: the first search ranks them.
    }
}

// The job's future waits for it.
WCollectionIterator::GivenNameRanking::~GivenNameRanking() = default;

void WCollectionIterator::GivenNameRanking::Finish() {
    if (!m_ranks.valid()) return;
    std::unique_ptr<GivenNames> ranks = m_ranks.get();
    // Sorted, and changed by nothing but the sort.
    if (!m_index.IsSorted() || m_index.Changes() != m_changes + 1) return;
    m_index.m_givenNames = std::move(ranks);
    m_index.m_givenNamesAt = m_index.Changes();
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
