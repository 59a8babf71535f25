#include "highlight/HLTree.h"

#include <vector>

#include "highlight/HLCondUtil.h"
#include "model/Generations.h"
#include "model/RelCalc.h"

// ---------------------------------------------------------------- WHLAncestor

WHLAncestor::WHLAncestor(WABSCollection* ACollection) : WABSHLInd(ACollection, 21) {}

WHLAncestor::WHLAncestor(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLAncestor::ReadParameter(std::int32_t& person, std::int32_t& generations) const {
    person = 0;
    generations = 0;
    if (!FParameter.empty()) ParseIndexParam(FParameter, person, generations);
    if (generations == 0) generations = kUnlimited;
}

void WHLAncestor::MarkLine(std::int32_t person, std::int32_t generations, bool up) {
    if (!FCollection || person == 0 || generations < 0) return;
    const std::int32_t n = Count();
    const std::int32_t families = FCollection->GetMarriageCount();
    // Most generations left with which each individual was reached so far.
    std::vector<std::int32_t> best(static_cast<std::size_t>(n) + 1, -1);
    struct Item {
        std::int32_t individual, left;
    };
    // Breadth first: each individual is usually first reached by its
    // shortest line already.
    std::vector<Item> queue{{person, generations}};
    std::vector<std::int32_t> kids;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        const Item it = queue[head];
        if (it.individual < 1 || it.individual > n || it.left < 0) continue;
        if (best[static_cast<std::size_t>(it.individual)] >= it.left) continue;
        best[static_cast<std::size_t>(it.individual)] = it.left;
        SetResult(it.individual, true);
        if (up) {
            const std::int32_t k = FCollection->LinkParentFamilyCount(it.individual);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t fam = FCollection->LinkParentFamily(it.individual, f);
                if (fam < 1 || fam > families) continue;
                queue.push_back(Item{FCollection->LinkHusband(fam), it.left - 1});
                queue.push_back(Item{FCollection->LinkWife(fam), it.left - 1});
            }
        } else {
            const std::int32_t k = FCollection->LinkSpouseFamilyCount(it.individual);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t fam = FCollection->LinkSpouseFamily(it.individual, f);
                if (fam < 1 || fam > families) continue;
                FCollection->LinkChildren(fam, kids);
                for (std::int32_t c : kids) queue.push_back(Item{c, it.left - 1});
            }
        }
    }
}

void WHLAncestor::Prepare() {
    ReadParameter(FRefPerson, FGenerations);
    Reset(1);
    MarkLine(FRefPerson, FGenerations, true);
    // Nobody is an ancestor of himself.
    SetResult(FRefPerson, false);
}

void WHLAncestor::Evaluate(std::int32_t) {}

void WHLAncestor::Describe(std::string& S, const char* words, const char* negatedWords) {
    S.clear();
    std::int32_t person = 0, generations = 0;
    ReadParameter(person, generations);
    if (person == 0 || !FCollection || !FCollection->GetIndividual(person)) return;
    S = (FInvert ? negatedWords : words) + FCollection->GetFullName(person);
    if (generations != kUnlimited) S += " (" + std::to_string(generations) + " generations)";
}

void WHLAncestor::GetDescription(std::string& S) { Describe(S, "Ancestors of ", "Not Ancestors of "); }

// ---------------------------------------------------------------- WHLDescendants

WHLDescendants::WHLDescendants(WABSCollection* ACollection) : WHLAncestor(ACollection, 22) {}

void WHLDescendants::Prepare() {
    ReadParameter(FDescPerson, FGenerations);
    Reset(1);
    MarkLine(FDescPerson, FGenerations, false);
    SetResult(FDescPerson, false);
}

void WHLDescendants::GetDescription(std::string& S) { Describe(S, "Descendants of ", "Not descendants of "); }

// ---------------------------------------------------------------- WHLRelation

WHLRelation::WHLRelation(WABSCollection* ACollection)
    : WABSHLInd(ACollection, 23), FRelCalc(std::make_unique<WRelCalc>(ACollection)) {}

WHLRelation::~WHLRelation() = default;

void WHLRelation::Prepare() {
    FRefPerson = hlcond::ToIntDef(FParameter, 0);
    Reset(0);
}

void WHLRelation::Evaluate(std::int32_t AIndex) {
    if (!FCollection || !FCollection->IndividualExists(AIndex)) {
        SetResult(AIndex, false);
        return;
    }
    std::string term;
    FRelCalc->GetRelationship(FRefPerson, AIndex, term);
    SetResult(AIndex, !term.empty());
}

void WHLRelation::GetDescription(std::string& S) {
    S.clear();
    const std::int32_t person = hlcond::ToIntDef(FParameter, 0);
    if (person <= 0 || !FCollection || !FCollection->IndividualExists(person)) return;
    S = (FInvert ? "not related to " : "related to ") + FCollection->GetFullName(person);
}

// ---------------------------------------------------------------- WHLPaths

WHLPaths::WHLPaths(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

WHLPaths::~WHLPaths() = default;

void WHLPaths::Prepare() {
    FRefPerson = hlcond::ToIntDef(FParameter, 0);
    Reset(1);
    if (!FCollection || FRefPerson <= 0 || FRefPerson > Count()) return;
    if (!FGenerations) FGenerations = std::make_unique<WGenerations>(*FCollection);
    const bool up = FConditionCode == 95;
    const std::int32_t families = FCollection->GetMarriageCount();
    std::vector<std::int32_t> candidates;
    std::int32_t current = FRefPerson;
    SetResult(current, true);
    for (;;) {
        candidates.clear();
        if (up) {
            const std::int32_t k = FCollection->LinkParentFamilyCount(current);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t fam = FCollection->LinkParentFamily(current, f);
                if (fam < 1 || fam > families) continue;
                candidates.push_back(FCollection->LinkHusband(fam));
                candidates.push_back(FCollection->LinkWife(fam));
            }
        } else {
            std::vector<std::int32_t> kids;
            const std::int32_t k = FCollection->LinkSpouseFamilyCount(current);
            for (std::int32_t f = 1; f <= k; ++f) {
                const std::int32_t fam = FCollection->LinkSpouseFamily(current, f);
                if (fam < 1 || fam > families) continue;
                FCollection->LinkChildren(fam, kids);
                candidates.insert(candidates.end(), kids.begin(), kids.end());
            }
        }
        std::int32_t next = 0, deepest = -1;
        for (std::int32_t c : candidates) {
            if (c == 0) continue;
            const std::int32_t d =
                up ? FGenerations->GetAncestorGenerations(c) : FGenerations->GetDescendantGenerations(c);
            if (d > deepest) {
                deepest = d;
                next = c;
            }
        }
        // A family loop in the data would lead back to a marked individual.
        if (next == 0 || IsTrue(next)) break;
        SetResult(next, true);
        current = next;
    }
}

void WHLPaths::Evaluate(std::int32_t) {}

void WHLPaths::GetDescription(std::string& S) {
    const bool up = FConditionCode == 95;
    if (FInvert)
        S = up ? "Not longest Ancestor path of " : "Not longest descendant path of ";
    else
        S = up ? "Longest ancestor path of " : "Longest descendant path of ";
    S += hlcond::FullName(FCollection, hlcond::ToIntDef(FParameter, 0));
}
