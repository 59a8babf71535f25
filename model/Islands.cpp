#include "model/Islands.h"

#include <memory>
#include <vector>

#include "model/ABSCollection.h"
#include "model/ABSIndividual.h"
#include "model/FamLinks.h"
#include "model/IntArray.h"
#include "model/IslandSortIndex.h"
#include "model/Options.h"
#include "platform/Hooks.h"

struct WIslands::Tables {
    std::unique_ptr<WIntArray> islandOfIndividual; // 0 = not reached
    std::unique_ptr<WIntArray> islandOfFamily;
    std::unique_ptr<WIntArray> individuals; // per island number, entry 0 unused
    std::unique_ptr<WIntArray> families;
    std::unique_ptr<WIntArray> firstIndividual;
    std::unique_ptr<WIslandSortIndex> sortIndex;
    std::vector<std::int32_t> positionOfIsland; // island number -> sorted position
    std::int32_t islandCount = 0;
};

WIslands::WIslands(WABSCollection& collection) : m_collection(collection) {}

WIslands::~WIslands() = default;

bool WIslands::IslandsComputed() const { return m_tables != nullptr; }

void WIslands::pump(std::uint32_t every) {
    if (++m_pumpCounter % every == 0) {
        plat::processMessages();
        if (plat::cancelRequested()) m_cancelled = true;
    }
}

std::int32_t WIslands::GetIslandCount() {
    if (!m_tables && !m_computing) ComputeIslands();
    return m_tables ? m_tables->islandCount : 0;
}

std::int32_t WIslands::IslandAtPosition(std::int32_t pos) const {
    if (!m_tables || pos < 1 || pos > m_tables->islandCount) return 0;
    return static_cast<std::int32_t>(m_tables->sortIndex->GetIndex(pos));
}

std::int32_t WIslands::PositionOfIsland(std::int32_t island) const {
    if (!m_tables || island < 1 || island > m_tables->islandCount) return 0;
    return m_tables->positionOfIsland[static_cast<std::size_t>(island)];
}

std::int32_t WIslands::GetIslandSize(std::int32_t pos) const {
    const std::int32_t island = IslandAtPosition(pos);
    return island ? m_tables->individuals->GetValue(island) : 0;
}

std::int32_t WIslands::GetIslandFamilyCount(std::int32_t pos) const {
    const std::int32_t island = IslandAtPosition(pos);
    return island ? m_tables->families->GetValue(island) : 0;
}

std::int32_t WIslands::GetIslandFirstIndividual(std::int32_t pos) const {
    const std::int32_t island = IslandAtPosition(pos);
    return island ? m_tables->firstIndividual->GetValue(island) : 0;
}

std::int32_t WIslands::IslandNumberOfIndividual(std::int32_t individual) const {
    return m_tables ? m_tables->islandOfIndividual->GetValue(individual) : 0;
}

std::int32_t WIslands::IslandNumberOfFamily(std::int32_t family) const {
    return m_tables ? m_tables->islandOfFamily->GetValue(family) : 0;
}

std::int32_t WIslands::GetIslandOfIndividual(std::int32_t individual) {
    if (!m_tables && !m_computing) ComputeIslands();
    return PositionOfIsland(IslandNumberOfIndividual(individual));
}

bool WIslands::buildExtraLinks(WFamLinks& links, std::int32_t count) {
    for (std::int32_t i = 1; i <= count; ++i) {
        std::unique_ptr<WABSIndividual> ind = m_collection.GetIndividual(i);
        if (ind) {
            const std::int32_t n = ind->GetExtraLinkCount();
            for (std::int32_t k = 1; k <= n; ++k) {
                std::unique_ptr<WExtraLink> link = ind->GetExtraLink(k);
                if (!link) continue;
                for (std::int32_t other : {link->Individual1, link->Individual2}) {
                    if (other >= 1 && other <= count) {
                        links.AddChild(i, other);
                        links.AddChild(other, i);
                    }
                }
            }
        }
        pump(kExtraLinkPump);
        if (m_cancelled) return false;
    }
    return true;
}

bool WIslands::ComputeIslands() {
    if (m_tables || m_computing) return false;
    m_computing = true;
    m_cancelled = false;
    m_pumpCounter = 0;
    m_peakWorkList = 0;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{m_computing};

    // The walk runs over individual numbers: family links name individuals,
    // not positions of an island view.
    const std::int32_t count = m_collection.GetIndividualCount();
    const std::int32_t familyCount = m_collection.GetMarriageCount();

    std::unique_ptr<WFamLinks> extra;
    if (WOptions::GetBool(kOptIslandWit)) {
        extra = std::make_unique<WFamLinks>(std::string(), count);
        if (!buildExtraLinks(*extra, count)) return false;
    }

    // Built aside and published only when complete.
    auto t = std::make_unique<Tables>();
    t->islandOfIndividual = std::make_unique<WIntArray>(std::string(), count);
    t->islandOfFamily = std::make_unique<WIntArray>(std::string(), familyCount);
    t->individuals = std::make_unique<WIntArray>(std::string(), 0);
    t->families = std::make_unique<WIntArray>(std::string(), 0);
    t->firstIndividual = std::make_unique<WIntArray>(std::string(), 0);
    t->individuals->Add(0);
    t->families->Add(0);
    t->firstIndividual->Add(0);

    WIntArray& islandOf = *t->islandOfIndividual;
    WIntArray& familyIsland = *t->islandOfFamily;
    std::vector<std::int32_t> work;
    std::vector<std::int32_t> members;

    // Family step: claim the family and queue its members.
    auto takeFamily = [&](std::int32_t family, std::int32_t island) {
        if (family < 1 || family > familyCount || familyIsland.GetValue(family) != 0) return;
        familyIsland.SetValue(family, island);
        t->families->Increment(island);
        m_collection.LinkChildren(family, members);
        for (auto it = members.rbegin(); it != members.rend(); ++it) work.push_back(*it);
        work.push_back(m_collection.LinkWife(family));
        work.push_back(m_collection.LinkHusband(family));
    };

    std::int32_t island = 1;
    for (std::int32_t i = 1; i <= count; ++i) {
        pump(kWalkPump);
        if (m_cancelled) return false;
        if (islandOf.GetValue(i) != 0) continue;
        // Explicit work list: a connected island of any size walks in constant call depth.
        work.clear();
        work.push_back(i);
        while (!work.empty()) {
            if (work.size() > m_peakWorkList) m_peakWorkList = work.size();
            const std::int32_t j = work.back();
            work.pop_back();
            if (j < 1 || j > count || islandOf.GetValue(j) != 0) continue;
            pump(kWalkPump);
            if (m_cancelled) return false;
            islandOf.SetValue(j, island);
            t->individuals->Increment(island);
            if (t->firstIndividual->GetValue(island) == 0) t->firstIndividual->SetValue(island, j);
            if (extra) {
                const std::int32_t links = extra->GetChildCount(j);
                for (std::int32_t k = links; k >= 1; --k) work.push_back(extra->GetChild(j, k));
            }
            const std::int32_t spouseFamilies = m_collection.LinkSpouseFamilyCount(j);
            for (std::int32_t k = spouseFamilies; k >= 1; --k) takeFamily(m_collection.LinkSpouseFamily(j, k), island);
            const std::int32_t parentFamilies = m_collection.LinkParentFamilyCount(j);
            for (std::int32_t k = parentFamilies; k >= 1; --k) takeFamily(m_collection.LinkParentFamily(j, k), island);
        }
        ++island;
        ++t->islandCount;
        t->individuals->Add(0);
        t->families->Add(0);
        t->firstIndividual->Add(0);
    }

    t->sortIndex = std::make_unique<WIslandSortIndex>(std::string(), t->islandCount);
    for (std::int32_t i = 1; i <= count; ++i) t->sortIndex->IncCount(islandOf.GetValue(i));
    t->sortIndex->Sort();
    t->positionOfIsland.assign(static_cast<std::size_t>(t->islandCount) + 1, 0);
    for (std::int32_t pos = 1; pos <= t->islandCount; ++pos) t->positionOfIsland[t->sortIndex->GetIndex(pos)] = pos;

    m_tables = std::move(t);
    return true;
}
