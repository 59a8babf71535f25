#pragma once
// Index of individual numbers (4-byte records) that the list views, reports
// and find dialogs walk and search. Descendants fill and order it in Sort().
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/ABSIterator.h"

class WABSCollection;
class WABSIndividual;

class WCollectionIterator : public WABSIterator {
public:
    // Also makes collection the one that all name and identifier searches use
    // (the collection of the most recently created iterator).
    WCollectionIterator(const std::string& fileName, WABSCollection* collection, std::int32_t capacity);
    ~WCollectionIterator() override;

    using WABSArrayIndex::Sort;
    // Fills and orders the index.
    virtual void Sort() = 0;
    // Individual number at that position, 0 when there is none.
    virtual std::int32_t First();
    virtual std::int32_t Next();
    virtual std::int32_t Prev();
    virtual std::int32_t Last();
    virtual std::int32_t GetItem(std::int32_t position);

    // First position holding individual, 0 when absent.
    std::int32_t IndexOf(std::int32_t individual) const;
    // The first call sorts; later calls do nothing.
    void EnsureSorted();
    void Prepare() { EnsureSorted(); }
    bool IsSortedOnce() const { return m_sortedOnce; }

    // What a name or identifier search compares: the key an individual is
    // ordered by in an index sorted for it, and the typed text made into a key
    // the same way (accents removed, upper-cased, blanks squashed).
    enum class SearchKind { SurnameGiven, FullName, RefN };
    // A typed search as keys: the beginning a key must have, whole however
    // long (a stored key holds kSortKeyLength characters), and in a surname
    // and given-name search the beginning of the given names, when typed.
    struct Search {
        SearchKind kind = SearchKind::FullName;
        std::string key;
        bool hasGiven = false;
        std::string given;
    };
    // The surname and the given names each trimmed; a surname alone without them.
    static Search SurnameGivenSearch(const std::string& surname, const std::string& given);
    // The beginning of "GIVEN SURNAME" (or of the REFN), leading blanks
    // dropped and each run of blanks made one.
    static Search TextSearch(SearchKind kind, const std::string& text);
    // The name a full-name search looks at, as the find dialog lists it: the
    // given names, a blank and the surname, without prefix, suffix or slashes.
    static std::string PlainFullName(const WABSIndividual& individual);

    // Position of the first individual that matches, or the nearest one
    // before where it would be. A surname and given-name search matches an
    // individual whose surname and given names begin with those parts; the
    // others match a key that starts with the searched one. The index must be
    // sorted by that key.
    std::int32_t FindSurnameGiven(const std::string& surname, const std::string& given);
    std::int32_t FindFullName(const std::string& text);
    std::int32_t FindRefN(const std::string& text);
    // The individual at a position matches the search.
    bool MatchesAt(std::int32_t position, const Search& search) const;
    // The first matching position at or after from, the last at or before
    // from; 0 when there is none.
    std::int32_t NextMatch(std::int32_t from, const Search& search) const;
    std::int32_t PrevMatch(std::int32_t from, const Search& search) const;
    // Readies the surname and given-name searches of an index sorted for
    // them (done on first use otherwise).
    void PrepareNameSearch() const;

    WABSCollection* GetCollection() const { return m_collection; }
    // The collection the searches fetch individuals from.
    static WABSCollection* SearchCollection();
    static void SetSearchCollection(WABSCollection* collection);

    // Appends an individual number; returns the new count.
    std::int32_t AddItem(std::int32_t individual) { return Add(&individual); }

protected:
    // The key of an individual for a search, as the index is ordered by it
    // (cut to kSortKeyLength characters); by default made from the record of
    // the search collection, as the find indexes make theirs.
    virtual std::string SearchKey(std::int32_t individual, SearchKind kind) const;
    // The same key where the index keeps it, without a copy (valid until the
    // index changes); false where it keeps none.
    virtual bool StoredKey(std::int32_t, SearchKind, std::string_view&) const { return false; }
    // The surname and given-name parts of a stored key; false where it was
    // cut or a part holds ", " too, so that they cannot be told apart.
    static bool SplitStoredKey(std::string_view key, std::string_view& surname, std::string_view& given);

    // The given-name ranks of a surname and given-name search.
    struct GivenNames;
    // Where an individual's surname and given-name key lies in store; false
    // where it lies nowhere.
    using StoredKeyOf = std::function<bool(std::int32_t individual, std::string_view& key)>;
    // Ranks the given names of the individuals the index lists now on other
    // threads, from the keys storedKey reads (left as they are meanwhile) and
    // the records of the search collection, without reading the index again:
    // the ranks do not depend on its order, so it may sort meanwhile. Finish
    // hands them to the index once it is sorted, and its first search with
    // given names only lays them out in its order. Nothing runs where the
    // collection reads on one thread only.
    class GivenNameRanking {
    public:
        GivenNameRanking(const WCollectionIterator& index, StoredKeyOf storedKey);
        ~GivenNameRanking();
        GivenNameRanking(const GivenNameRanking&) = delete;
        GivenNameRanking& operator=(const GivenNameRanking&) = delete;
        void Finish();

    private:
        const WCollectionIterator& m_index;
        std::uint64_t m_changes;
        std::future<std::unique_ptr<GivenNames>> m_ranks;
    };

    WABSCollection* m_collection = nullptr;
    bool m_sortedOnce = false;

private:
    std::int32_t find(const Search& search) const;
    std::string keyAt(std::int32_t position, SearchKind kind) const;
    // The whole key of an individual, and its whole surname and given-name keys.
    std::string wholeKey(std::int32_t individual, SearchKind kind) const;
    void nameKeys(std::int32_t individual, std::string& surname, std::string& given) const;
    // The first position in [from, to) whose key, over the prefix's length,
    // is not below the prefix, or with above, is above it; to when none is.
    std::int32_t bound(std::int32_t from, std::int32_t to, SearchKind kind, const std::string& prefix,
                       bool above) const;
    // The positions [first, end) whose stored key begins as the search's key
    // does; verify is set when not all of them begin with the whole key.
    void run(const Search& search, std::int32_t& first, std::int32_t& end, bool& verify) const;
    // The individuals listed, each once, by their numbers.
    std::vector<std::int32_t> listedIndividuals() const;
    // Their given names, each different one once and in order, with the
    // rank of each individual's; on several threads where records allows.
    static std::unique_ptr<GivenNames> rankGivenNames(const std::vector<std::int32_t>& individuals,
                                                      const StoredKeyOf& storedKey, WABSCollection* records);
    const GivenNames& givenNames() const;
    // The first match at or after from, or backward the last at or before it.
    std::int32_t match(std::int32_t from, const Search& search, bool backward) const;

    // Built on the first search with given names (or ranked while the index
    // sorted), for the order it was built in.
    mutable std::unique_ptr<GivenNames> m_givenNames;
    mutable std::uint64_t m_givenNamesAt = 0;
};
