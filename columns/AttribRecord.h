#pragma once
// Columns read from the individual's own record: index, identifiers, names,
// note, sex, the "has" tests and the possibly-living test.
#include "columns/Attrib.h"

// 1: the record number itself.
class WAttribIndex : public WAttrib {
public:
    WAttribIndex(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    std::int32_t GetInteger(std::int32_t row) override;
};

// 2 cross-reference identifier, 3 AFN, 48 custom identifier (REFN).
class WAttribID : public WAttrib {
public:
    WAttribID(std::int32_t id, WABSCollection* collection);
    // Id 2 takes its sort kind from the file kind.
    void SetCollection(WABSCollection* collection) override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    // The identifier as a decimal number, 0 when it is none.
    std::int32_t GetInteger(std::int32_t row) override;

    // Sort kind of id 2 for a file kind: 6 for 6, 1 for 1, 2 for any other.
    static std::int32_t SortKindForFileKind(int fileKind);

private:
    void applyFileKind();
    int m_variant;
};

// 4 surname, 5 given, 6 full name, 7 "Surname, Given", 46 and 47 Soundex codes.
class WAttribName : public WAttrib {
public:
    WAttribName(std::int32_t id, WABSCollection* collection);
    std::unique_ptr<WAttrib> CloneForThread() const override;
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
    // Name parts with their blanks squashed, so a surname written
    // "/ Bartram/" sorts among the B's; the cell shows it as written.
    void GetKeyText(std::int32_t row, std::string& s) override;

private:
    void nameText(std::int32_t row, bool forKey, std::string& s);
    int m_variant;
};

// 8: the record note on one line.
class WAttribNote : public WAttrib {
public:
    WAttribNote(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
};

// 9: the sex character.
class WAttribSex : public WAttrib {
public:
    WAttribSex(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
};

// 21 has a note, 22 has a source, 23 has other events: "Yes" or "No".
class WAttribHas : public WAttrib {
public:
    WAttribHas(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;

private:
    int m_variant;
};

// 40: "Yes" when the individual may still be living, else "No".
class WAttribALive : public WAttrib {
public:
    static constexpr std::int32_t kLivingYears = 110;
    WAttribALive(std::int32_t id, WABSCollection* collection);
    void GetText(std::int32_t row, std::int32_t family, std::string& s) override;
};
