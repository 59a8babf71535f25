#include "model/RelCalc.h"

#include <algorithm>

#include "model/ABSCollection.h"
#include "model/ABSIndividual.h"
#include "model/IntArray.h"

namespace {
constexpr std::int32_t kNoDistance = 65535;

enum WordGroup { gBrother = 0, gNephew = 1, gSon = 2, gFather = 3, gUncle = 4 };
} // namespace

const char* const WRelCalc::kWords[5][3] = {
    {"Brother", "Sister", "Brother or Sister"}, {"Nephew", "Niece", "Nephew or Niece"},
    {"Son", "Daughter", "Son or Daughter"},     {"Father", "Mother", "Parent"},
    {"Uncle", "Aunt", "Uncle or Aunt"},
};

WRelCalc::WRelCalc(WABSCollection* collection) : m_collection(collection) {}

WRelCalc::~WRelCalc() = default;

std::string WRelCalc::GenerationPrefix(std::int32_t n) {
    switch (n) {
    case 0: return std::string();
    case 1: return "G";
    case 2: return "GG";
    case 3: return "GGG";
    default: return std::to_string(n) + "G";
    }
}

std::string WRelCalc::Term(std::int32_t a, std::int32_t b, char sex) {
    const int col = sex == 'M' ? 0 : sex == 'F' ? 1 : 2;
    auto word = [col](int group) { return std::string(kWords[group][col]); };
    auto cousin = [a, b] {
        std::string s = std::to_string(std::min(a, b) - 1) + "C";
        if (a != b) s += std::to_string(a > b ? a - b : b - a) + "R";
        return s;
    };
    if (a < 0 || b < 0) return std::string();
    if (a == 0) {
        if (b == 0) return "* Selected Person *";
        if (b == 1) return word(gSon);
        if (b == 2) return "Grand " + word(gSon);
        return GenerationPrefix(b - 2) + " Grand " + word(gSon);
    }
    if (a == 1) {
        if (b == 0) return word(gFather);
        if (b == 1) return word(gBrother);
        if (b == 2) return word(gNephew);
        if (b == 3) return "Grand " + word(gNephew);
        return GenerationPrefix(b - 3) + " Grand " + word(gNephew);
    }
    if (a == 2) {
        if (b == 0) return "Grand " + word(gFather);
        if (b == 1) return word(gUncle);
        if (b == 2) return "1st Cousin";
        return "1C" + std::to_string(b - 2) + "R";
    }
    if (a == 3) {
        if (b == 0) return GenerationPrefix(1) + " Grand " + word(gFather);
        if (b == 1) return "Great " + word(gUncle);
        return cousin();
    }
    if (b == 0) return GenerationPrefix(a - 2) + " Grand " + word(gFather);
    if (b == 1) return GenerationPrefix(a - 3) + " Great " + word(gUncle);
    return cousin();
}

std::uint32_t WRelCalc::nextEpoch() {
    if (++m_epoch == 0) {
        std::fill(m_visited.begin(), m_visited.end(), 0);
        m_epoch = 1;
    }
    return m_epoch;
}

void WRelCalc::markAncestors(std::int32_t selected) {
    // Shortest distance of every ancestor. Breadth first reaches each one
    // first by its shortest line, so each is marked once.
    WIntArray& dist = *m_distance;
    dist.Fill(-1);
    const std::int32_t n = dist.Count();
    const std::int32_t families = m_collection->GetMarriageCount();
    if (selected < 1 || selected > n) return;
    std::vector<std::int32_t> level{selected}, next;
    dist.SetValue(selected, 0);
    for (std::int32_t d = 1; !level.empty(); ++d) {
        next.clear();
        for (std::int32_t j : level) {
            const std::int32_t k = m_collection->LinkParentFamilyCount(j);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t family = m_collection->LinkParentFamily(j, f);
                if (family < 1 || family > families) continue;
                for (std::int32_t p : {m_collection->LinkHusband(family), m_collection->LinkWife(family)}) {
                    if (p >= 1 && p <= n && dist.GetValue(p) < 0) {
                        dist.SetValue(p, d);
                        next.push_back(p);
                    }
                }
            }
        }
        level.swap(next);
    }
}

void WRelCalc::search(std::int32_t other) {
    // Depth first, father's side before mother's side and families in their
    // order: on ties the first common ancestor found wins, at the depth the
    // search first reached it. The work list pops in exactly the order the
    // recursive walk would enter individuals.
    WIntArray& dist = *m_distance;
    const std::int32_t n = dist.Count();
    const std::int32_t families = m_collection->GetMarriageCount();
    const std::uint32_t epoch = nextEpoch();
    struct Item {
        std::int32_t individual, depth;
    };
    std::vector<Item> work{{other, 0}};
    std::vector<std::int32_t> parents;
    m_peakWork = 0;
    while (!work.empty()) {
        m_peakWork = std::max(m_peakWork, work.size());
        const Item it = work.back();
        work.pop_back();
        const std::int32_t j = it.individual;
        if (j < 1 || j > n || m_visited[static_cast<std::size_t>(j)] == epoch) continue;
        m_visited[static_cast<std::size_t>(j)] = epoch;
        const std::int32_t dj = dist.GetValue(j);
        if (dj < 0) {
            parents.clear();
            const std::int32_t k = m_collection->LinkParentFamilyCount(j);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t family = m_collection->LinkParentFamily(j, f);
                if (family < 1 || family > families) continue;
                parents.push_back(m_collection->LinkHusband(family));
                parents.push_back(m_collection->LinkWife(family));
            }
            for (auto p = parents.rbegin(); p != parents.rend(); ++p) work.push_back(Item{*p, it.depth + 1});
        } else if (dj < m_selectedDistance) {
            // An ancestor of the selected individual: the search goes no higher here.
            m_common = j;
            m_selectedDistance = dj;
            m_otherDistance = it.depth;
        }
    }
}

void WRelCalc::GetRelationship(std::int32_t selected, std::int32_t other, std::string& text) {
    text.clear();
    m_common = 0;
    m_selectedDistance = kNoDistance;
    m_otherDistance = kNoDistance;
    if (!m_collection || selected <= 0) return;
    if (!m_distance) {
        const std::int32_t n = m_collection->GetIndividualCount();
        m_distance = std::make_unique<WIntArray>(std::string(), n);
        m_visited.assign(static_cast<std::size_t>(n) + 1, 0);
        m_selected = 0;
    }
    if (selected != m_selected) {
        markAncestors(selected);
        m_selected = selected;
    }
    search(other);
    if (m_common == 0) return;
    text = Term(m_selectedDistance, m_otherDistance, m_collection->LinkSex(other));
}

std::string WRelCalc::GetRelationship(std::int32_t selected, std::int32_t other) {
    std::string s;
    GetRelationship(selected, other, s);
    return s;
}

void WRelCalc::GetCommonAncestorName(std::int32_t selected, std::int32_t other, std::string& text, bool asDisplayName) {
    text.clear();
    if (!m_collection || m_common == 0 || m_common == selected || m_common == other) return;
    std::unique_ptr<WABSIndividual> ind = m_collection->GetIndividual(m_common);
    if (!ind) return;
    if (asDisplayName)
        text = ind->GetDisplayName();
    else
        text = ind->GetSurnameText() + ", " + ind->GetGivenText();
}
