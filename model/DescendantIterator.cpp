#include "model/DescendantIterator.h"

#include <algorithm>

#include "model/ABSCollection.h"

// One person being expanded: which family comes next and, within the
// family being listed, which child.
struct WDesIterator::Frame {
    std::int32_t person;
    std::uint16_t generation;
    std::int32_t familyCount;
    std::int32_t family; // 1-based position of the family being listed
    std::vector<std::int32_t> children;
    std::size_t child; // next child to add
};

WDesIterator::WDesIterator(const std::string& name, std::int32_t capacity)
    : WABSIterator(name, sizeof(WDesEntry), capacity) {}

bool WDesIterator::SetCollection(WABSCollection* collection) {
    m_collection = collection;
    return collection != nullptr;
}

bool WDesIterator::addEntry(std::uint16_t generation, std::int32_t familyPos, std::int32_t familyCount,
                            std::int32_t individual, std::int32_t spouse, bool repeated) {
    if (m_count >= m_entryLimit) {
        m_truncated = true;
        return false;
    }
    WDesEntry e{};
    e.generation = generation;
    e.familyPos = static_cast<std::uint8_t>(std::clamp(familyPos, 0, 255));
    e.familyCount = static_cast<std::uint8_t>(std::clamp(familyCount, 0, 255));
    e.individual = individual;
    e.spouse = spouse;
    e.repeated = repeated ? 1 : 0;
    Add(&e);
    return true;
}

void WDesIterator::ensureStamps(std::int32_t count) {
    const std::size_t n = static_cast<std::size_t>(std::max(count, 0)) + 1;
    if (m_visited.size() != n) {
        m_visited.assign(n, 0);
        m_onLine.assign(n, 0);
        m_stamp = 0;
    }
    if (++m_stamp == 0) { // wrapped: start the stamps afresh
        std::fill(m_visited.begin(), m_visited.end(), 0);
        std::fill(m_onLine.begin(), m_onLine.end(), 0);
        m_stamp = 1;
    }
}

bool WDesIterator::Build(std::int32_t root, std::int32_t maxGeneration, bool allowRepeats) {
    if (root < 1 || !m_collection) return false;
    WABSCollection& c = *m_collection;
    m_root = root;
    m_descendantCount = -1;
    m_truncated = false;
    Clear();
    m_cursor = 0;
    m_generationLimit = (maxGeneration >= 1 && maxGeneration <= kMaxGeneration) ? maxGeneration : kMaxGeneration;
    m_allowRepeats = allowRepeats;
    const std::int32_t individuals = c.GetIndividualCount();
    ensureStamps(individuals);
    const auto slot = [&](std::int32_t p) -> std::size_t {
        return (p >= 1 && p <= individuals) ? static_cast<std::size_t>(p) : 0;
    };

    // Depth first with an explicit stack: a long line of descent must not
    // exhaust the call stack.
    std::vector<Frame> stack;
    // Adds person p at generation g; pushes a frame when p is to be expanded.
    const auto addPerson = [&](std::int32_t p, std::int32_t g) {
        if (g > m_generationLimit || m_truncated) return;
        const std::size_t s = slot(p);
        // A person met again on its own line (a loop in the file's links) is
        // never expanded again, or the line would repeat itself to the limit.
        const bool loop = s && m_onLine[s] == m_stamp;
        if ((!m_allowRepeats && s && m_visited[s] == m_stamp) || loop) {
            addEntry(static_cast<std::uint16_t>(g), 0, 0, p, 0, true);
            return;
        }
        if (!m_allowRepeats && s) m_visited[s] = m_stamp;
        ++m_descendantCount;
        if (!c.IndividualExists(p)) return;
        const std::int32_t families = c.LinkSpouseFamilyCount(p);
        if (families <= 0) {
            addEntry(static_cast<std::uint16_t>(g), 0, 0, p, 0, false);
            return;
        }
        if (s) m_onLine[s] = m_stamp;
        stack.push_back(Frame{p, static_cast<std::uint16_t>(g), families, 0, {}, 0});
    };

    addPerson(root, 0);
    while (!stack.empty() && !m_truncated) {
        Frame& f = stack.back();
        if (f.child < f.children.size()) {
            const std::int32_t child = f.children[f.child++];
            const std::int32_t g = f.generation + 1;
            if (child > 0) addPerson(child, g); // may grow the stack: f is not used after
            continue;
        }
        if (f.family >= f.familyCount) {
            const std::size_t s = slot(f.person);
            if (s) m_onLine[s] = 0;
            stack.pop_back();
            continue;
        }
        ++f.family;
        f.children.clear();
        f.child = 0;
        const std::int32_t fam = c.LinkSpouseFamily(f.person, f.family);
        if (!c.MarriageExists(fam)) continue;
        c.LinkSortChildren(fam);
        const std::int32_t husband = c.LinkHusband(fam);
        const std::int32_t spouse = husband == f.person ? c.LinkWife(fam) : husband;
        if (!addEntry(f.generation, f.family, f.familyCount, f.person, spouse, false)) break;
        c.LinkChildren(fam, f.children);
    }
    return true;
}
