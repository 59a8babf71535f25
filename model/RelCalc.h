#pragma once
// Names the blood relationship of any individual to one selected individual
// and finds their nearest common ancestor. The selected individual's
// ancestors are marked with their shortest distance once and reused for every
// other individual asked about, until the selected individual changes.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class WABSCollection;
class WIntArray;

class WRelCalc {
public:
    // The collection is not owned.
    explicit WRelCalc(WABSCollection* collection);
    ~WRelCalc();
    WRelCalc(const WRelCalc&) = delete;
    WRelCalc& operator=(const WRelCalc&) = delete;

    // Kinship term of other as seen from selected; empty without a
    // collection, without a selected individual or without a common ancestor.
    void GetRelationship(std::int32_t selected, std::int32_t other, std::string& text);
    std::string GetRelationship(std::int32_t selected, std::int32_t other);
    // After GetRelationship for the same pair: the common ancestor's display
    // name, or "surname, given"; empty when there is none or it is one of the two.
    void GetCommonAncestorName(std::int32_t selected, std::int32_t other, std::string& text, bool asDisplayName);

    // Results of the last request.
    std::int32_t GetCommonAncestor() const { return m_common; }
    std::int32_t GetSelectedDistance() const { return m_selectedDistance; }
    std::int32_t GetOtherDistance() const { return m_otherDistance; }

    // The term for a distance from the selected individual (a) and from the
    // other one (b) up to the common ancestor; sex 'M', 'F' or other.
    static std::string Term(std::int32_t a, std::int32_t b, char sex);
    // "" for 0, "G", "GG", "GGG", then "4G", "5G", ...
    static std::string GenerationPrefix(std::int32_t n);

    // Deepest work list of the last search (numbers waiting, not call depth).
    std::size_t PeakWorkList() const { return m_peakWork; }

private:
    void markAncestors(std::int32_t selected);
    void search(std::int32_t other);
    std::uint32_t nextEpoch();

    WABSCollection* m_collection;
    static const char* const kWords[5][3];
    std::int32_t m_selected = 0;
    std::unique_ptr<WIntArray> m_distance; // -1 = not an ancestor of the selected individual
    std::vector<std::uint32_t> m_visited;  // epoch stamps of the search
    std::uint32_t m_epoch = 0;
    std::int32_t m_common = 0;
    std::int32_t m_selectedDistance = 0;
    std::int32_t m_otherDistance = 0;
    std::size_t m_peakWork = 0;
};
