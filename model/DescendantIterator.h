#pragma once
// The descendants of one individual as the Descendants view and report show
// them: one entry per family of each person (with the spouse), each followed,
// depth first, by that family's children one generation deeper.
#include <cstdint>
#include <string>
#include <vector>

#include "model/ABSIterator.h"

class WABSCollection;

// One 16-byte list entry.
struct WDesEntry {
    std::uint16_t generation; // 0 for the root
    std::uint8_t familyPos;   // 1-based position among the person's families; 0 = none
    std::uint8_t familyCount; // families as spouse (0 in a repeated entry)
    std::int32_t individual;
    std::int32_t spouse;   // 0 = none
    std::uint8_t repeated; // 1: already listed, not expanded again
    std::uint8_t pad[3];
};
static_assert(sizeof(WDesEntry) == 16, "descendant entries are 16 bytes");

class WDesIterator : public WABSIterator {
public:
    static constexpr std::int32_t kMaxGeneration = 255;
    // Entries a build stops at: repeated lines of heavy pedigree collapse can
    // grow without bound, and the list must stay addressable.
    static constexpr std::int32_t kMaxEntries = 16 * 1024 * 1024;

    explicit WDesIterator(const std::string& name = "", std::int32_t capacity = 0);

    // True when one was given.
    bool SetCollection(WABSCollection* collection);
    // False (nothing changed) for a root below 1 or without a collection.
    // maxGeneration outside 1..255 counts as 255.
    bool Build(std::int32_t root, std::int32_t maxGeneration, bool allowRepeats);

    // Persons expanded by the last build, the root not counted; -1 before.
    std::int32_t GetDescendantCount() const { return m_descendantCount; }
    std::int32_t GetRoot() const { return m_root; }
    std::int32_t GetGenerationLimit() const { return m_generationLimit; }
    bool GetAllowRepeats() const { return m_allowRepeats; }
    // The last build stopped at kMaxEntries.
    bool WasTruncated() const { return m_truncated; }

    // Entry at a 1-based position (no cursor move), null when not valid.
    const WDesEntry* GetEntry(std::int32_t position) const {
        return reinterpret_cast<const WDesEntry*>(GetPtr(position));
    }

    // The limit of stored entries (tests lower it).
    void SetEntryLimit(std::int32_t limit) { m_entryLimit = limit; }

private:
    struct Frame;
    bool addEntry(std::uint16_t generation, std::int32_t familyPos, std::int32_t familyCount, std::int32_t individual,
                  std::int32_t spouse, bool repeated);
    void ensureStamps(std::int32_t count);

    WABSCollection* m_collection = nullptr;
    std::int32_t m_root = 0;
    std::int32_t m_generationLimit = kMaxGeneration;
    bool m_allowRepeats = true;
    std::int32_t m_descendantCount = -1;
    bool m_truncated = false;
    std::int32_t m_entryLimit = kMaxEntries;
    // Visited persons (repeats not allowed) and persons on the line being
    // walked, both by build stamp so a build never clears n entries.
    std::vector<std::uint32_t> m_visited;
    std::vector<std::uint32_t> m_onLine;
    std::uint32_t m_stamp = 0;
};
