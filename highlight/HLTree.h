#pragma once
// Conditions that walk the family tree from a chosen person: ancestors,
// descendants, blood relatives and the longest ancestor or descendant line.
#include <cstdint>
#include <memory>
#include <string>

#include "highlight/ABSHLInd.h"

class WGenerations;
class WRelCalc;

// 21: ancestors of the person within the generations ("index^generations",
// 0 generations = unlimited), marked when the run is prepared.
class WHLAncestor : public WABSHLInd {
public:
    static constexpr std::int32_t kUnlimited = 65535;
    explicit WHLAncestor(WABSCollection* ACollection);
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

protected:
    WHLAncestor(WABSCollection* ACollection, std::int32_t ACode);
    // Person and generations of the parameter (0 and unlimited when empty).
    void ReadParameter(std::int32_t& person, std::int32_t& generations) const;
    // Marks everyone reachable from the person within the generations, going
    // up (parents) or down (children). An individual is walked again when it
    // is reached with more generations left than before, so a short line
    // found after a long one still reaches as far as it should.
    void MarkLine(std::int32_t person, std::int32_t generations, bool up);
    void Describe(std::string& S, const char* words, const char* negatedWords);
};

// 22: descendants of the person within the generations.
class WHLDescendants : public WHLAncestor {
public:
    explicit WHLDescendants(WABSCollection* ACollection);
    void Prepare() override;
    void GetDescription(std::string& S) override;

private:
    std::int32_t FDescPerson = 0;
};

// 23: has a blood relationship to the person.
class WHLRelation : public WABSHLInd {
public:
    explicit WHLRelation(WABSCollection* ACollection);
    ~WHLRelation() override;
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    std::unique_ptr<WRelCalc> FRelCalc;
};

// 95, 96: on the longest ancestor (descendant) line of the person, marked
// when the run is prepared.
class WHLPaths : public WABSHLInd {
public:
    WHLPaths(WABSCollection* ACollection, std::int32_t ACode);
    ~WHLPaths() override;
    void Prepare() override;
    void Evaluate(std::int32_t AIndex) override;
    void GetDescription(std::string& S) override;

private:
    // Generation depths, cached across runs.
    std::unique_ptr<WGenerations> FGenerations;
};
