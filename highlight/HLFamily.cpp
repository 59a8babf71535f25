#include "highlight/HLFamily.h"

#include <cctype>
#include <unordered_map>
#include <unordered_set>

#include "highlight/HLCondUtil.h"
#include "model/ABSMarriage.h"
#include "model/Generations.h"

// ---------------------------------------------------------------- WHLMarriedNoSpouse

WHLMarriedNoSpouse::WHLMarriedNoSpouse(WABSCollection* ACollection) : WABSHLInd(ACollection, 36) {}

void WHLMarriedNoSpouse::Prepare() { Reset(0); }

void WHLMarriedNoSpouse::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    bool result = false;
    for (std::int32_t k = 1; k <= ind->GetSpouseFamilyCount() && !result; ++k) {
        std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ind->GetSpouseFamily(k));
        if (fam && fam->GetOtherSpouse(AIndex) == 0) result = true;
    }
    SetResult(AIndex, result);
}

void WHLMarriedNoSpouse::GetDescription(std::string& S) {
    S = FInvert ? "married with spouse entered" : "married with no spouse entered";
}

// ---------------------------------------------------------------- WHLMarriedSameName

WHLMarriedSameName::WHLMarriedSameName(WABSCollection* ACollection) : WABSHLInd(ACollection, 37) {}

void WHLMarriedSameName::Prepare() { Reset(0); }

void WHLMarriedSameName::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    const std::int32_t families = ind->GetSpouseFamilyCount();
    bool result = false;
    if (families >= 2) {
        // Any number of spouses: names go into a set, not a fixed table.
        std::unordered_set<std::string> names;
        for (std::int32_t k = 1; k <= families && !result; ++k) {
            const std::int32_t spouse = FCollection->GetSpouse(AIndex, k);
            if (spouse == 0) continue;
            if (!names.insert(hlcond::Upper(hlcond::FullName(FCollection, spouse))).second) result = true;
        }
    }
    SetResult(AIndex, result);
}

void WHLMarriedSameName::GetDescription(std::string& S) {
    S = FInvert ? "married with spouses with different names" : "married with spouses with same names";
}

// ---------------------------------------------------------------- WHLChildSameName

WHLChildSameName::WHLChildSameName(WABSCollection* ACollection) : WABSHLInd(ACollection, 38) {}

bool WHLChildSameName::FindFirstPair(std::int32_t individual, std::int32_t& family1, std::int32_t& family2) {
    family1 = family2 = 0;
    if (!FCollection) return false;
    // Cheap test first: most individuals have fewer than two children.
    std::int32_t total = 0;
    const std::int32_t families = FCollection->LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families && total < 2; ++k)
        total += FCollection->LinkChildCount(FCollection->LinkSpouseFamily(individual, k));
    if (total < 2) return false;

    std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(individual);
    if (!ind) return false;
    FChildren.clear();
    for (std::int32_t k = 1; k <= ind->GetSpouseFamilyCount(); ++k) {
        const std::int32_t f = ind->GetSpouseFamily(k);
        std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(f);
        if (!fam) continue;
        fam->SortChildren();
        for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c) {
            const std::int32_t child = fam->GetChild(c);
            if (child > 0) FChildren.push_back(Child{f, hlcond::Upper(hlcond::FullName(FCollection, child))});
        }
    }
    // The first pair in (i, j) order: the earliest child whose name comes
    // again, with the next child of that name. Linear for any family size.
    std::unordered_map<std::string, std::int32_t> occurrences;
    for (const Child& c : FChildren) ++occurrences[c.name];
    for (std::size_t i = 0; i < FChildren.size(); ++i) {
        if (occurrences[FChildren[i].name] < 2) continue;
        for (std::size_t j = i + 1; j < FChildren.size(); ++j) {
            if (FChildren[j].name == FChildren[i].name) {
                family1 = FChildren[i].family;
                family2 = FChildren[j].family;
                return true;
            }
        }
    }
    return false;
}

void WHLChildSameName::Prepare() {
    Reset(0);
    if (!FCollection) return;
    const std::int32_t n = FCollection->GetIndividualCount();
    for (std::int32_t i = 1; i <= n; ++i) {
        std::int32_t f1 = 0, f2 = 0;
        if (!FindFirstPair(i, f1, f2)) continue;
        SetResult(i, true);
        for (std::int32_t f : {f1, f2}) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(f);
            if (fam) SetResult(fam->GetOtherSpouse(i), true);
        }
    }
}

void WHLChildSameName::Evaluate(std::int32_t AIndex) {
    // Everyone with a pair, and their partners, were marked when prepared.
    std::int32_t f1 = 0, f2 = 0;
    SetResult(AIndex, FindFirstPair(AIndex, f1, f2));
}

void WHLChildSameName::GetDescription(std::string& S) {
    S = FInvert ? "with no children having the same name" : "with children having the same name";
}

// ---------------------------------------------------------------- WHLWarning

WHLWarning::WHLWarning(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLWarning::Prepare() { Reset(0); }

void WHLWarning::Evaluate(std::int32_t AIndex) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    if (!ind) {
        SetResult(AIndex, false);
        return;
    }
    const std::string surname = hlcond::Upper(ind->GetSurnameText());
    const std::int32_t father = FCollection->GetFather(AIndex);
    const std::int32_t mother = FCollection->GetMother(AIndex);
    const std::string fatherName = hlcond::Upper(hlcond::Surname(FCollection, father));
    const std::string motherName = hlcond::Upper(hlcond::Surname(FCollection, mother));
    bool result = false;
    switch (FConditionCode) {
    case 53: result = !surname.empty() && father != 0 && !fatherName.empty() && surname != fatherName; break;
    case 54:
        result = !surname.empty() && father != 0 && !fatherName.empty() && mother != 0 && !motherName.empty() &&
                 surname != fatherName && surname != motherName;
        break;
    case 55:
        result = mother != 0 && surname == motherName && !(father != 0 && !fatherName.empty() && surname == fatherName);
        break;
    case 56:
        // Only this individual's own answer is stored: the spouses get theirs
        // when they are asked, whatever the drawing order.
        if (!surname.empty()) {
            for (std::int32_t k = 1; k <= ind->GetSpouseFamilyCount() && !result; ++k) {
                const std::int32_t spouse = FCollection->GetSpouse(AIndex, k);
                if (spouse != 0 && hlcond::Upper(hlcond::Surname(FCollection, spouse)) == surname) result = true;
            }
        }
        break;
    default: break;
    }
    SetResult(AIndex, result);
}

void WHLWarning::GetDescription(std::string& S) {
    switch (FConditionCode) {
    case 53:
    case 54:
        S = FInvert ? "with surname not different than " : "with surname different than ";
        S += FConditionCode == 53 ? "father" : "parents";
        break;
    case 55:
    case 56:
        S = FInvert ? "with surname not same as " : "with surname same as ";
        S += FConditionCode == 55 ? "mother" : "spouse";
        break;
    default: S.clear(); break;
    }
}

// ---------------------------------------------------------------- WHLRelationIs

WHLRelationIs::WHLRelationIs(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

void WHLRelationIs::Prepare() {
    FRefPerson = hlcond::ToIntDef(FParameter, 0);
    if (FConditionCode == 64) {
        Reset(0);
        return;
    }
    Reset(1);
    if (!FCollection || FRefPerson <= 0) return;
    std::unique_ptr<WABSIndividual> ref = FCollection->GetIndividual(FRefPerson);
    if (!ref) return;
    switch (FConditionCode) {
    case 60: // children of the person's families as spouse
        for (std::int32_t k = 1; k <= ref->GetSpouseFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ref->GetSpouseFamily(k));
            if (!fam) continue;
            for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c) SetResult(fam->GetChild(c), true);
        }
        break;
    case 61: // the person's spouses
        for (std::int32_t k = 1; k <= ref->GetSpouseFamilyCount(); ++k)
            SetResult(FCollection->GetSpouse(FRefPerson, k), true);
        break;
    case 62: // the children of the person's parent families, less the person
        for (std::int32_t k = 1; k <= ref->GetParentFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ref->GetParentFamily(k));
            if (!fam) continue;
            for (std::int32_t c = 1; c <= fam->GetChildCount(); ++c) SetResult(fam->GetChild(c), true);
        }
        SetResult(FRefPerson, false);
        break;
    case 63: // the parents of the person's parent families
        for (std::int32_t k = 1; k <= ref->GetParentFamilyCount(); ++k) {
            std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(ref->GetParentFamily(k));
            if (!fam) continue;
            SetResult(fam->GetHusband(), true);
            SetResult(fam->GetWife(), true);
        }
        break;
    default: break;
    }
}

void WHLRelationIs::Evaluate(std::int32_t AIndex) {
    // Only 64 decides here; the others were marked when prepared.
    if (FConditionCode != 64) return;
    SetResult(AIndex, FCollection && !FCollection->HasFamily(AIndex));
}

void WHLRelationIs::GetDescription(std::string& S) {
    static const char* const words[4] = {"parent", "spouse", "sibling", "child"};
    if (FConditionCode == 64) {
        S = FInvert ? "who are linked" : "who are unlinked";
        return;
    }
    S.clear();
    if (FConditionCode < 60 || FConditionCode > 63) return;
    S = std::string("where ") + words[FConditionCode - 60] + (FInvert ? " is not " : " is ") +
        hlcond::FullName(FCollection, hlcond::ToIntDef(FParameter, 0));
}

// ---------------------------------------------------------------- WHLInt

WHLInt::WHLInt(WABSCollection* ACollection, std::int32_t ACode) : WABSHLInd(ACollection, ACode) {}

WHLInt::~WHLInt() = default;

void WHLInt::ReadParameter() {
    FOperator = 1;
    FNumber = -1;
    if (FParameter.empty()) return;
    const unsigned char first = static_cast<unsigned char>(FParameter[0]);
    if (std::isdigit(first)) FOperator = first - '0';
    const std::string rest = FParameter.substr(1);
    FNumber = rest.empty() ? -1 : hlcond::ToIntDef(rest, -1);
}

void WHLInt::Prepare() {
    ReadParameter();
    Reset(0);
}

std::int32_t WHLInt::Value(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(individual) : nullptr;
    if (!ind) return -1;
    if ((FConditionCode == 50 || FConditionCode == 51) && !FGenerations)
        FGenerations = std::make_unique<WGenerations>(*FCollection);
    switch (FConditionCode) {
    case 44: return ind->GetAge();
    case 45: return ind->GetSpouseFamilyCount();
    case 46: return FCollection->GetParentCount(individual);
    case 47: return FCollection->GetChildCount(individual);
    case 48: return FCollection->GetSonCount(individual);
    case 49: return FCollection->GetDaughterCount(individual);
    case 50: return FGenerations->GetNumAncestors(individual);
    case 51: return FGenerations->GetNumDescendants(individual);
    case 78: return ind->GetParentFamilyCount();
    default: return -1;
    }
}

void WHLInt::Evaluate(std::int32_t AIndex) {
    const std::int32_t v = Value(AIndex);
    bool result = false;
    if (v >= 0) {
        switch (FOperator) {
        case 1: result = v == FNumber; break;
        case 2: result = v < FNumber; break;
        case 3: result = v <= FNumber; break;
        case 4: result = v > FNumber; break;
        case 5: result = v >= FNumber; break;
        default: break;
        }
    }
    SetResult(AIndex, result);
}

void WHLInt::GetDescription(std::string& S) {
    static const char* const ops[5][2] = {
        {" = ", " <> "}, {" < ", " >= "}, {" <= ", " > "}, {" > ", " <= "}, {" >= ", " < "}};
    const char* word = "";
    switch (FConditionCode) {
    case 44: word = "age"; break;
    case 45: word = "# marriages"; break;
    case 46: word = "# parents"; break;
    case 47: word = "# children"; break;
    case 48: word = "# sons"; break;
    case 49: word = "# daughters"; break;
    case 50: word = "# ancestors"; break;
    case 51: word = "# descendants"; break;
    case 78: word = "# families"; break;
    default: break;
    }
    ReadParameter();
    S = std::string("with ") + word;
    if (FOperator >= 1 && FOperator <= 5) S += ops[FOperator - 1][FInvert ? 1 : 0];
    S += std::to_string(FNumber);
}
