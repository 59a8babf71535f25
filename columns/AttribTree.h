#pragma once
// Columns that walk the family graph: ancestor and descendant counts and
// depths, average generations, the island and the relationship to the
// reference person. The collection computes and caches the walks.
#include <memory>

#include "columns/Attrib.h"

class WRelCalc;

// 27: distinct ancestors; 61: largest ancestor generation.
class WAttribNumAnc : public WAttrib {
public:
    WAttribNumAnc(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;

private:
    int m_variant;
};

// 28: distinct descendants; 62: largest descendant generation.
class WAttribNumDes : public WAttrib {
public:
    WAttribNumDes(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;

private:
    int m_variant;
};

// 63, 64: average ancestor / descendant generation depth, two decimals.
class WAttribAvgGens : public WAttrib {
public:
    WAttribAvgGens(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    long double GetFloat(std::int32_t row) override;

    // Fixed-point with two decimals, "." whatever the locale.
    static std::string FormatAverage(long double value);

private:
    int m_variant;
};

// 58: sorted position of the individual's island ("0" without a collection).
class WAttribIsland : public WAttrib {
public:
    WAttribIsland(std::int32_t id, WABSCollection* collection);
    // Computes the islands at once, under the wait dialog.
    void SetCollection(WABSCollection* collection) override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;
};

// 38: kinship term to the reference person; 39 and 52: the common ancestor
// that computation found, as display name or "Surname, Given".
class WAttribRelation : public WAttrib {
public:
    WAttribRelation(std::int32_t id, WABSCollection* collection);
    ~WAttribRelation() override;
    // A new calculator over the new collection.
    void SetCollection(WABSCollection* collection) override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_variant;
    std::unique_ptr<WRelCalc> m_relCalc;
};
