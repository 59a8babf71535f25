#pragma once
// The settings store: numbered settings held in memory, loaded from and saved
// to the settings file through ini2.
#include <string>
#include <vector>

namespace opt {

// Setting numbers, named after their keys.
enum Option : int {
#define OPTION(number, section, key, def) key = number,
#include "model/OptionList.inc"
#undef OPTION
};

constexpr int kOptionCount = 138;
// Room for values 1..kValueSlots; numbers past the table read as empty.
constexpr int kValueSlots = 500;

// Edition groups: 0 this program, 1 the sibling product, 2 the lite edition.
constexpr int kEditionThis = 0;
constexpr int kEditionSibling = 1;
constexpr int kEditionLite = 2;
constexpr int kEditionCount = 3;

// Number in this program's edition group.
enum GroupOption : int { NoOpt = 1 };

} // namespace opt

struct WOptionRow {
    const char* Section;
    const char* Key;
    const char* Default;
};

class WOptions {
public:
    WOptions() = delete;

    // Reads the 138 settings, then the edition's group, and marks the group loaded.
    static void Load(int edition);
    // Writes the settings back in table order, then every loaded group.
    static void Save();

    static void SetProgramDir(const std::string& dir);
    static const std::string& GetProgramDir();

    // Numbers outside 1..500 read as empty text, False and 0; writes to them
    // are ignored.
    static std::string GetString(int i);
    static bool GetBool(int i); // exactly "T"
    static int GetInt(int i);   // decimal integer, else 0
    static void SetString(int i, const std::string& value);
    static void SetBool(int i, bool value);
    static void SetInt(int i, int value);

    // The edition group's values (1-based within the group).
    static std::string GetGroupString(int i);
    static void SetGroupString(int i, const std::string& value);
    static bool GroupLoaded(int edition);

    // Row i (1..138) of the option table; rows of an edition group.
    static const WOptionRow& Row(int i);
    static const std::vector<WOptionRow>& GroupRows(int edition);

    // Empties every value and forgets loaded groups (a fresh run).
    static void Clear();
};
