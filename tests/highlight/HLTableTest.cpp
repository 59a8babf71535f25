// The condition table checked row by row against the published list of
// condition kinds, parsed here from its own text so that a typo in the data
// table cannot be repeated by the test.
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "highlight/HLTable.h"

namespace {

const char* const kPublished = R"ROWS(
| 1 | "Select a Condition" | "Select a Condition" | none | none |
| 2 | "Has No Birth Date" | "Has a Birth Date" | none | `WHLNoDate` |
| 3 | "Has No Birth Place" | "Has a Birth Place" | none | `WHLNoPlace` |
| 4 | "Has No Christening Date" | "Has a Christening Date" | none | `WHLNoDate` |
| 5 | "Has No Christening Place" | "Has a Christening Place" | none | `WHLNoPlace` |
| 6 | "Has No Death Date" | "Has a Death Date" | none | `WHLNoDate` |
| 7 | "Has No Death Place" | "Has a Death Place" | none | `WHLNoPlace` |
| 8 | "Has No Burial Date" | "Has a Burial Date" | none | `WHLNoDate` |
| 9 | "Has No Burial Place" | "Has a Burial Place" | none | `WHLNoPlace` |
| 10 | "Has No Marriage Date" | "Has a Marriage Date" | none | `WHLNoDate` |
| 11 | "Has No Marriage Place" | "Has a Marriage Place" | none | `WHLNoPlace` |
| 12 | "Has No Places (All)" | "Has any Place" | none | `WHLNoPlace` |
| 13 | "Has No Surname" | "Has a Surname" | none | `WHLNoSurname` |
| 14 | "Has No Given Name" | "Has a Given Name" | none | `WHLNoGivenName` |
| 15 | "Has No Father" | "Has a Father" | none | `WHLNoFather` |
| 16 | "Has No Mother" | "Has a Mother" | none | `WHLNoMother` |
| 17 | "Sex Type" | "Is Not of Sex Type" | sex (kind 1) | `WHLSex` |
| 18 | "Has Ind Note" | "Has No Ind Note" | none | `WHLHas` |
| 19 | "Text in Notes" | "Text Not in Notes" | text match (kind 3) | `WHLStr` |
| 20 | "Has AFN" | "Has No AFN" | none | `WHLAFN` |
| 21 | "Ancestors of" | "Not an Ancestor of" | person and generations (kind 2) | `WHLAncestor` |
| 22 | "Descendants of" | "Not a Descendant of" | person and generations (kind 2) | `WHLDescendants` |
| 23 | "Is a Relation to" | "No Relation to" | person (kind 7) | `WHLRelation` |
| 24 | "Birth Place" | "Not Birth Place" | text match (kind 3) | `WHLStr` |
| 25 | "Christening Place" | "Not Christening Place" | text match (kind 3) | `WHLStr` |
| 26 | "Death Place" | "Not Death Place" | text match (kind 3) | `WHLStr` |
| 27 | "Burial Place" | "Not Burial Place" | text match (kind 3) | `WHLStr` |
| 28 | "Any Place" | "Not this Place" | text match (kind 3) | `WHLStr` |
| 29 | "Surname" | "Not this Surname" | text match (kind 3) | `WHLStr` |
| 30 | "Given Names" | "Not this Given Name" | text match (kind 3) | `WHLStr` |
| 31 | "Has LDS Baptism" | "Has No LDS Baptism" | none | `WHLHasLDS` |
| 32 | "Has LDS Endowment" | "Has No LDS Endowment" | none | `WHLHasLDS` |
| 33 | "Has LDS Sealed to Parents" | "Has No LDS Sealed to Parents" | none | `WHLHasLDS` |
| 34 | "Has LDS Sealed to Spouse" | "Has No LDS Sealed to Spouse" | none | `WHLHasLDS` |
| 35 | "Has LDS Events" | "Has no LDS Events" | none | `WHLLDS` |
| 36 | "Married - No Spouse" | "Not Married - No Spouse" | none | `WHLMarriedNoSpouse` |
| 37 | "Married - Same Name" | "Not Married - Same Name" | none | `WHLMarriedSameName` |
| 38 | "Children with Same Name" | "Not Children with Same Name" | none | `WHLChildSameName` |
| 39 | "Birth Date" | "Not Birth Date" | date (kind 4) | `WHLDate` |
| 40 | "Christening Date" | "Not Christening Date" | date (kind 4) | `WHLDate` |
| 41 | "Death Date" | "Not Death Date" | date (kind 4) | `WHLDate` |
| 42 | "Burial Date" | "Not Burial Date" | date (kind 4) | `WHLDate` |
| 43 | "Marriage Place" | "Not Marriage Place" | text match (kind 3) | `WHLStr` |
| 44 | "Age" | "Not Age" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 45 | "# Marriages" | "Not # Marriages" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 46 | "# Parents" | "Not # Parents" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 47 | "# Children" | "Not # Children" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 48 | "# Sons" | "Not # Sons" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 49 | "# Daughters" | "Not # Daughters" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 50 | "# Ancestors" | "Not # Ancestors" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 51 | "# Decendants" | "Not # Decendants" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 52 | "Has Age" | "No Age" | age limit (kind 8) | `WHLHas` |
| 53 | "Surname not Father's" | "Surname is Father's" | none | `WHLWarning` |
| 54 | "Surname not Parent's" | "Surname is Parent's" | none | `WHLWarning` |
| 55 | "Surname is Mother's" | "Surname not Mother's" | none | `WHLWarning` |
| 56 | "Couple Same Surname" | "Couple Not Same Surname" | none | `WHLWarning` |
| 57 | "Soundex Surname" | "Not Soundex Surname" | soundex (kind 6) | `WHLStr` |
| 58 | "Soundex Given" | "Not Soundex Given" | soundex (kind 6) | `WHLStr` |
| 59 | "Custom ID" | "Not Custom ID" | text match (kind 3) | `WHLStr` |
| 60 | "Parent is" | "Parent is not" | person (kind 7) | `WHLRelationIs` |
| 61 | "Spouse is" | "Spouse is not" | person (kind 7) | `WHLRelationIs` |
| 62 | "Sibling is" | "Sibling is not" | person (kind 7) | `WHLRelationIs` |
| 63 | "Child is" | "Child is not" | person (kind 7) | `WHLRelationIs` |
| 64 | "Unlinked" | "Not Unlinked" | none | `WHLRelationIs` |
| 65 | "Is Alive" | "Is Not Alive" | age limit (kind 8) | `WHLALive` |
| 66 | "Has Any Source" | "Has no Sources" | none | `WHLHasSource` |
| 67 | "Has Name Source" | "Has no Name Source" | none | `WHLHasSource` |
| 68 | "Has Birth Source" | "Has no Birth Source" | none | `WHLHasSource` |
| 69 | "Has Christening Source" | "Has no Christening Source" | none | `WHLHasSource` |
| 70 | "Has Death Source" | "Has no Death Source" | none | `WHLHasSource` |
| 71 | "Has Burial Source" | "Has no Burial Source" | none | `WHLHasSource` |
| 72 | "Has Name Note" | "Has no Name Note" | none | `WHLHasNote` |
| 73 | "Has Birth Note" | "Has no Birth Note" | none | `WHLHasNote` |
| 74 | "Has Christening Note" | "Has no Christening Note" | none | `WHLHasNote` |
| 75 | "Has Death Note" | "Has no Death Note" | none | `WHLHasNote` |
| 76 | "Has Burial Note" | "Has no Burial Note" | none | `WHLHasNote` |
| 77 | "Has Any Note" | "Has no Notes" | none | `WHLHasNote` |
| 78 | "# Families" | "Not # Families" | integer (kind 5, min 0, max 0) | `WHLInt` |
| 79 | "Has LDS B Date" | "Has No LDS B Date" | none | `WHLHasLDS` |
| 80 | "Has LDS E Date" | "Has No LDS E Date" | none | `WHLHasLDS` |
| 81 | "Has LDS SP Date" | "Has No LDS SP Date" | none | `WHLHasLDS` |
| 82 | "Has LDS SS Date" | "Has No LDS SS Date" | none | `WHLHasLDS` |
| 83 | "Has LDS B Place" | "Has No LDS B Place" | none | `WHLHasLDS` |
| 84 | "Has LDS E Place" | "Has No LDS E Place" | none | `WHLHasLDS` |
| 85 | "Has LDS SP Place" | "Has No LDS SP Place" | none | `WHLHasLDS` |
| 86 | "Has LDS SS Place" | "Has No LDS SS Place" | none | `WHLHasLDS` |
| 87 | "LDS B Date" | "Not LDS B Date" | LDS date state (baptism) (kind 9) | `WHLLDSDate` |
| 88 | "LDS E Date" | "Not LDS E Date" | LDS date state (endowment) (kind 10) | `WHLLDSDate` |
| 89 | "LDS SP Date" | "Not LDS SP Date" | LDS date state (sealing to parents) (kind 11) | `WHLLDSDate` |
| 90 | "LDS SS Date" | "Not LDS SS Date" | LDS date state (sealing to spouse) (kind 12) | `WHLLDSDate` |
| 91 | "LDS B Place" | "Not LDS B Place" | text match (kind 3) | `WHLStr` |
| 92 | "LDS E Place" | "Not LDS E Place" | text match (kind 3) | `WHLStr` |
| 93 | "LDS SP Place" | "Not LDS SP Place" | text match (kind 3) | `WHLStr` |
| 94 | "LDS SS Place" | "Not LDS SS Place" | text match (kind 3) | `WHLStr` |
| 95 | "Anc Max Path" | "Not Anc Max Path" | person (kind 7) | `WHLPaths` |
| 96 | "Des Max Path" | "Not Des Max Path" | person (kind 7) | `WHLPaths` |
| 97 | "AFN" | "Not AFN" | text match (kind 3) | `WHLStr` |
| 98 | "Reference ID" | "Not Reference ID" | text match (kind 3) | `WHLStr` |
| 99 | "Has Marriage Source" | "Has No Marriage Source" | none | `WHLHasSource` |
| 100 | "Has Marriage Note" | "Has No Marriage Note" | none | `WHLHasNote` |
| 101 | "Legacy Tag Set On" | "Legacy Tag Set Off" | integer (kind 5, min 1, max 9) | none |
| 102 | "Sibling Name" | "Not Sibling Name" | text match (kind 3) | `WHLStr` |
| 103 | "Child Name" | "Not Child Name" | text match (kind 3) | `WHLStr` |
| 104 | "Parent Name" | "Not Parent Name" | text match (kind 3) | `WHLStr` |
| 105 | "Spouse Name" | "Not Spouse Name" | text match (kind 3) | `WHLStr` |
| 106 | "Ancestor Name" | "Not Ancestor Name" | text match (kind 3) | `WHLStr` |
| 107 | "Descendant Name" | "Not Descendant Name" | text match (kind 3) | `WHLStr` |
| 108 | "Ancestor Surname" | "Not Ancestor Surname" | text match (kind 3) | `WHLStr` |
| 109 | "Descendant Surname" | "Not Descendant Surname" | text match (kind 3) | `WHLStr` |
| 110 | "Sibling Surname" | "Not Sibling Surname" | text match (kind 3) | `WHLStr` |
| 111 | "Child Surname" | "Not Child Surname" | text match (kind 3) | `WHLStr` |
| 112 | "Parent Surname" | "Not Parent Surname" | text match (kind 3) | `WHLStr` |
| 113 | "Spouse Surname" | "Not Spouse Surname" | text match (kind 3) | `WHLStr` |
)ROWS";

struct Expected {
    int code = 0;
    std::string name, negated, className;
    int optionCount = 0, kind = 0, min = -1, max = -1;
};

std::string unquote(std::string s) {
    const auto b = s.find_first_not_of(' ');
    const auto e = s.find_last_not_of(' ');
    s = s.substr(b, e - b + 1);
    if (s.size() >= 2 && (s.front() == '"' || s.front() == '`')) s = s.substr(1, s.size() - 2);
    return s;
}

std::vector<Expected> parsePublished() {
    std::vector<Expected> rows;
    std::istringstream in(kPublished);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        std::vector<std::string> cells;
        std::string cell;
        std::istringstream ls(line.substr(1));
        while (std::getline(ls, cell, '|')) cells.push_back(cell);
        if (cells.size() < 5) continue;
        Expected r;
        r.code = std::stoi(cells[0]);
        r.name = unquote(cells[1]);
        r.negated = unquote(cells[2]);
        const std::string param = unquote(cells[3]);
        r.className = unquote(cells[4]);
        if (r.className == "none") r.className.clear();
        // "(kind N)" or "(kind N, min A, max B)"
        const std::size_t at = param.find("(kind ");
        int kind = 0, min = 0, max = 0;
        const int got = param == "none" || at == std::string::npos
                            ? 0
                            : std::sscanf(param.c_str() + at, "(kind %d, min %d, max %d)", &kind, &min, &max);
        if (got >= 1) {
            r.optionCount = 1;
            r.kind = kind;
            if (got == 3) {
                r.min = min;
                r.max = max;
            }
        }
        rows.push_back(r);
    }
    return rows;
}

TEST(HLTable, EveryRowMatchesThePublishedList) {
    const std::vector<Expected> rows = parsePublished();
    ASSERT_EQ(rows.size(), 113u);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Expected& r = rows[i];
        SCOPED_TRACE("code " + std::to_string(r.code));
        EXPECT_EQ(r.code, int(i) + 1);
        std::string s;
        HLConditions::GetConditionText(r.code, false, s);
        EXPECT_EQ(s, r.name);
        HLConditions::GetConditionText(r.code, true, s);
        EXPECT_EQ(s, r.negated);
        EXPECT_EQ(HLConditions::GetParamFlag(r.code), r.optionCount);
        EXPECT_EQ(HLConditions::GetDef(r.code)->className, r.className);

        // The row text regenerated from its fields.
        std::string row = r.name + ":" + r.negated + ":" + std::to_string(r.optionCount);
        if (r.optionCount) {
            row += ":" + std::to_string(r.kind);
            if (r.kind == 5) row += "," + std::to_string(r.min) + "," + std::to_string(r.max);
            EXPECT_EQ(HLConditions::GetFieldInt(r.code, 1), r.kind);
        } else {
            HLConditions::GetField(r.code, 1, s);
            EXPECT_EQ(s, "");
            EXPECT_EQ(HLConditions::GetFieldInt(r.code, 1), 0);
        }
        EXPECT_EQ(HLConditions::GetRowText(r.code), row);
    }
}

TEST(HLTable, DescriptorsOfParameterRows) {
    std::string s;
    HLConditions::GetField(44, 1, s);
    EXPECT_EQ(s, "5,0,0");
    HLConditions::GetField(101, 1, s);
    EXPECT_EQ(s, "5,1,9");
    EXPECT_EQ(HLConditions::GetFieldInt(101, 1), 5);
    EXPECT_EQ(HLConditions::GetFieldInt(90, 1), HLConditions::pkLDSSealSpouse);
    EXPECT_EQ(HLConditions::GetFieldInt(57, 1), HLConditions::pkSoundex);
    // Fields past the descriptor do not exist.
    HLConditions::GetField(44, 2, s);
    EXPECT_EQ(s, "");
}

TEST(HLTable, CodesOutsideTheTableAreHarmless) {
    for (int code : {-5, 0, 114, 100000}) {
        std::string s = "x";
        EXPECT_EQ(HLConditions::GetDef(code), nullptr);
        EXPECT_EQ(HLConditions::GetParamFlag(code), 0);
        HLConditions::GetConditionText(code, false, s);
        EXPECT_EQ(s, "");
        s = "x";
        HLConditions::GetField(code, 1, s);
        EXPECT_EQ(s, "");
        EXPECT_EQ(HLConditions::GetFieldInt(code, 1), 0);
        EXPECT_EQ(HLConditions::GetRowText(code), "");
    }
}

} // namespace
