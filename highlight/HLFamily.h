#pragma once
// Conditions on an individual's marriages, children, surnames against its
// relatives, counts of relatives and the near relatives of a chosen person.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "highlight/ABSHLInd.h"

class WGenerations;

// 36: some family as spouse has no spouse other than the individual.
class WHLMarriedNoSpouse : public WABSHLInd {
public:
    explicit WHLMarriedNoSpouse(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 37: two families as spouse whose other spouses have the same full name.
class WHLMarriedSameName : public WABSHLInd {
public:
    explicit WHLMarriedSameName(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 38: two children over all families as spouse have the same full name. The
// other parent of each of the first such pair's families is marked too; that
// marking is done for the whole file when the run is prepared, so no answer
// depends on which individual happens to be asked first.
class WHLChildSameName : public WABSHLInd {
public:
    explicit WHLChildSameName(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

    // The families of the first pair of same-named children of the
    // individual (in order over the families as spouse and their children).
    bool FindFirstPair(std::int32_t individual, std::int32_t& family1, std::int32_t& family2);

private:
    struct Child {
        std::int32_t family;
        std::string name;
    };
    std::vector<Child> FChildren; // grows with the family, no fixed limit
};

// 53-56: the surname against the father's, the parents', the mother's or a
// spouse's.
class WHLWarning : public WABSHLInd {
public:
    WHLWarning(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 60-63: children, spouses, siblings or parents of the chosen person, marked
// when the run is prepared; 64: individuals without any family link.
class WHLRelationIs : public WABSHLInd {
public:
    WHLRelationIs(WABSCollection* ACollection, std::int32_t ACode);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;
};

// 44-51, 78: a number of the individual compared with a given number.
class WHLInt : public WABSHLInd {
public:
    WHLInt(WABSCollection* ACollection, std::int32_t ACode);
    ~WHLInt() override;
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

    // The value the code compares; -1 when unknown.
    std::int32_t Value(std::int32_t individual);

private:
    void ReadParameter();

    std::int32_t FOperator = 1;
    std::int32_t FNumber = -1;
    // Ancestor and descendant counts (50, 51), cached across runs.
    std::unique_ptr<WGenerations> FGenerations;
};
