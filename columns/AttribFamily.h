#pragma once
// Columns about the individual's close family: a related person's name and
// the numbers of marriages, parents and children.
#include "columns/Attrib.h"

// A related person's name: 18 and 53 father, else "(M)-" mother, else
// "(S)-" spouse; 43/49 father; 44/50 mother; 45/51 spouse; 56 and 57 spouse,
// else "(F)-" father, else "(M)-" mother. 49, 50, 51, 53 and 57 as
// "Surname, Given", the others as the full name.
class WAttribFMS : public WAttrib {
public:
    WAttribFMS(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_variant;
};

// 24: number of families as spouse.
class WAttribNumMarriages : public WAttrib {
public:
    WAttribNumMarriages(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;
};

// 25: parents present over all families as child.
class WAttribNumParents : public WAttrib {
public:
    WAttribNumParents(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;
};

// 26: children over all families as spouse.
class WAttribNumChildren : public WAttrib {
public:
    WAttribNumChildren(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;
};
