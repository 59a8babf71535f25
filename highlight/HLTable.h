#pragma once
// The condition definitions: one row per condition code 1..113. The rows are
// the vocabulary of the condition panel, the option editors and the factory.
#include <string>

namespace HLConditions {

constexpr int kFirstCode = 1;
constexpr int kLastCode = 113;
// Code 1 is the empty choice of a new condition row.
constexpr int kEmptyCode = 1;

// Parameter kinds: the first number of a row's parameter descriptor.
enum ParamKind : int {
    pkNone = 0,
    pkSex = 1,
    pkPersonGens = 2,
    pkText = 3,
    pkDate = 4,
    pkInteger = 5, // descriptor also carries minimum and maximum (0 = 65535)
    pkSoundex = 6,
    pkPerson = 7,
    pkAgeLimit = 8,
    pkLDSBaptism = 9,
    pkLDSEndowment = 10,
    pkLDSSealParents = 11,
    pkLDSSealSpouse = 12,
};

struct ConditionDef {
    const char* name;        // shown when not negated
    const char* negatedName; // shown when negated
    int optionCount;         // 0 or 1
    const char* descriptor;  // "kind" or "5,min,max"; "" without a parameter
    const char* className;   // the class the factory creates; "" for none
};

bool IsValidCode(int code);
// The row of a code, or nullptr outside 1..113.
const ConditionDef* GetDef(int code);

// The option count of the row (0 for an unknown code).
int GetParamFlag(int code);
// The negated or plain name; empty for an unknown code.
void GetConditionText(int code, bool negated, std::string& s);
std::string GetConditionText(int code, bool negated);
// Field K+2 of the row: K = 1 is the parameter descriptor. Empty when absent.
void GetField(int code, int k, std::string& s);
// The first ","-separated item of GetField as a number; 0 when empty or not a number.
int GetFieldInt(int code, int k);
// The row as one line of ":"-separated fields (name, negated name, option
// count, and the descriptor when there is a parameter).
std::string GetRowText(int code);

} // namespace HLConditions
