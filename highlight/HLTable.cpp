#include "highlight/HLTable.h"

#include <charconv>

namespace HLConditions {

namespace {

// Index 0 is unused so that the row of code c is kRows[c].
const ConditionDef kRows[kLastCode + 1] = {
    /*   0 */ {"", "", 0, "", ""},
    /*   1 */ {"Select a Condition", "Select a Condition", 0, "", ""},
    /*   2 */ {"Has No Birth Date", "Has a Birth Date", 0, "", "WHLNoDate"},
    /*   3 */ {"Has No Birth Place", "Has a Birth Place", 0, "", "WHLNoPlace"},
    /*   4 */ {"Has No Christening Date", "Has a Christening Date", 0, "", "WHLNoDate"},
    /*   5 */ {"Has No Christening Place", "Has a Christening Place", 0, "", "WHLNoPlace"},
    /*   6 */ {"Has No Death Date", "Has a Death Date", 0, "", "WHLNoDate"},
    /*   7 */ {"Has No Death Place", "Has a Death Place", 0, "", "WHLNoPlace"},
    /*   8 */ {"Has No Burial Date", "Has a Burial Date", 0, "", "WHLNoDate"},
    /*   9 */ {"Has No Burial Place", "Has a Burial Place", 0, "", "WHLNoPlace"},
    /*  10 */ {"Has No Marriage Date", "Has a Marriage Date", 0, "", "WHLNoDate"},
    /*  11 */ {"Has No Marriage Place", "Has a Marriage Place", 0, "", "WHLNoPlace"},
    /*  12 */ {"Has No Places (All)", "Has any Place", 0, "", "WHLNoPlace"},
    /*  13 */ {"Has No Surname", "Has a Surname", 0, "", "WHLNoSurname"},
    /*  14 */ {"Has No Given Name", "Has a Given Name", 0, "", "WHLNoGivenName"},
    /*  15 */ {"Has No Father", "Has a Father", 0, "", "WHLNoFather"},
    /*  16 */ {"Has No Mother", "Has a Mother", 0, "", "WHLNoMother"},
    /*  17 */ {"Sex Type", "Is Not of Sex Type", 1, "1", "WHLSex"},
    /*  18 */ {"Has Ind Note", "Has No Ind Note", 0, "", "WHLHas"},
    /*  19 */ {"Text in Notes", "Text Not in Notes", 1, "3", "WHLStr"},
    /*  20 */ {"Has AFN", "Has No AFN", 0, "", "WHLAFN"},
    /*  21 */ {"Ancestors of", "Not an Ancestor of", 1, "2", "WHLAncestor"},
    /*  22 */ {"Descendants of", "Not a Descendant of", 1, "2", "WHLDescendants"},
    /*  23 */ {"Is a Relation to", "No Relation to", 1, "7", "WHLRelation"},
    /*  24 */ {"Birth Place", "Not Birth Place", 1, "3", "WHLStr"},
    /*  25 */ {"Christening Place", "Not Christening Place", 1, "3", "WHLStr"},
    /*  26 */ {"Death Place", "Not Death Place", 1, "3", "WHLStr"},
    /*  27 */ {"Burial Place", "Not Burial Place", 1, "3", "WHLStr"},
    /*  28 */ {"Any Place", "Not this Place", 1, "3", "WHLStr"},
    /*  29 */ {"Surname", "Not this Surname", 1, "3", "WHLStr"},
    /*  30 */ {"Given Names", "Not this Given Name", 1, "3", "WHLStr"},
    /*  31 */ {"Has LDS Baptism", "Has No LDS Baptism", 0, "", "WHLHasLDS"},
    /*  32 */ {"Has LDS Endowment", "Has No LDS Endowment", 0, "", "WHLHasLDS"},
    /*  33 */ {"Has LDS Sealed to Parents", "Has No LDS Sealed to Parents", 0, "", "WHLHasLDS"},
    /*  34 */ {"Has LDS Sealed to Spouse", "Has No LDS Sealed to Spouse", 0, "", "WHLHasLDS"},
    /*  35 */ {"Has LDS Events", "Has no LDS Events", 0, "", "WHLLDS"},
    /*  36 */ {"Married - No Spouse", "Not Married - No Spouse", 0, "", "WHLMarriedNoSpouse"},
    /*  37 */ {"Married - Same Name", "Not Married - Same Name", 0, "", "WHLMarriedSameName"},
    /*  38 */ {"Children with Same Name", "Not Children with Same Name", 0, "", "WHLChildSameName"},
    /*  39 */ {"Birth Date", "Not Birth Date", 1, "4", "WHLDate"},
    /*  40 */ {"Christening Date", "Not Christening Date", 1, "4", "WHLDate"},
    /*  41 */ {"Death Date", "Not Death Date", 1, "4", "WHLDate"},
    /*  42 */ {"Burial Date", "Not Burial Date", 1, "4", "WHLDate"},
    /*  43 */ {"Marriage Place", "Not Marriage Place", 1, "3", "WHLStr"},
    /*  44 */ {"Age", "Not Age", 1, "5,0,0", "WHLInt"},
    /*  45 */ {"# Marriages", "Not # Marriages", 1, "5,0,0", "WHLInt"},
    /*  46 */ {"# Parents", "Not # Parents", 1, "5,0,0", "WHLInt"},
    /*  47 */ {"# Children", "Not # Children", 1, "5,0,0", "WHLInt"},
    /*  48 */ {"# Sons", "Not # Sons", 1, "5,0,0", "WHLInt"},
    /*  49 */ {"# Daughters", "Not # Daughters", 1, "5,0,0", "WHLInt"},
    /*  50 */ {"# Ancestors", "Not # Ancestors", 1, "5,0,0", "WHLInt"},
    /*  51 */ {"# Decendants", "Not # Decendants", 1, "5,0,0", "WHLInt"},
    /*  52 */ {"Has Age", "No Age", 1, "8", "WHLHas"},
    /*  53 */ {"Surname not Father's", "Surname is Father's", 0, "", "WHLWarning"},
    /*  54 */ {"Surname not Parent's", "Surname is Parent's", 0, "", "WHLWarning"},
    /*  55 */ {"Surname is Mother's", "Surname not Mother's", 0, "", "WHLWarning"},
    /*  56 */ {"Couple Same Surname", "Couple Not Same Surname", 0, "", "WHLWarning"},
    /*  57 */ {"Soundex Surname", "Not Soundex Surname", 1, "6", "WHLStr"},
    /*  58 */ {"Soundex Given", "Not Soundex Given", 1, "6", "WHLStr"},
    /*  59 */ {"Custom ID", "Not Custom ID", 1, "3", "WHLStr"},
    /*  60 */ {"Parent is", "Parent is not", 1, "7", "WHLRelationIs"},
    /*  61 */ {"Spouse is", "Spouse is not", 1, "7", "WHLRelationIs"},
    /*  62 */ {"Sibling is", "Sibling is not", 1, "7", "WHLRelationIs"},
    /*  63 */ {"Child is", "Child is not", 1, "7", "WHLRelationIs"},
    /*  64 */ {"Unlinked", "Not Unlinked", 0, "", "WHLRelationIs"},
    /*  65 */ {"Is Alive", "Is Not Alive", 1, "8", "WHLALive"},
    /*  66 */ {"Has Any Source", "Has no Sources", 0, "", "WHLHasSource"},
    /*  67 */ {"Has Name Source", "Has no Name Source", 0, "", "WHLHasSource"},
    /*  68 */ {"Has Birth Source", "Has no Birth Source", 0, "", "WHLHasSource"},
    /*  69 */ {"Has Christening Source", "Has no Christening Source", 0, "", "WHLHasSource"},
    /*  70 */ {"Has Death Source", "Has no Death Source", 0, "", "WHLHasSource"},
    /*  71 */ {"Has Burial Source", "Has no Burial Source", 0, "", "WHLHasSource"},
    /*  72 */ {"Has Name Note", "Has no Name Note", 0, "", "WHLHasNote"},
    /*  73 */ {"Has Birth Note", "Has no Birth Note", 0, "", "WHLHasNote"},
    /*  74 */ {"Has Christening Note", "Has no Christening Note", 0, "", "WHLHasNote"},
    /*  75 */ {"Has Death Note", "Has no Death Note", 0, "", "WHLHasNote"},
    /*  76 */ {"Has Burial Note", "Has no Burial Note", 0, "", "WHLHasNote"},
    /*  77 */ {"Has Any Note", "Has no Notes", 0, "", "WHLHasNote"},
    /*  78 */ {"# Families", "Not # Families", 1, "5,0,0", "WHLInt"},
    /*  79 */ {"Has LDS B Date", "Has No LDS B Date", 0, "", "WHLHasLDS"},
    /*  80 */ {"Has LDS E Date", "Has No LDS E Date", 0, "", "WHLHasLDS"},
    /*  81 */ {"Has LDS SP Date", "Has No LDS SP Date", 0, "", "WHLHasLDS"},
    /*  82 */ {"Has LDS SS Date", "Has No LDS SS Date", 0, "", "WHLHasLDS"},
    /*  83 */ {"Has LDS B Place", "Has No LDS B Place", 0, "", "WHLHasLDS"},
    /*  84 */ {"Has LDS E Place", "Has No LDS E Place", 0, "", "WHLHasLDS"},
    /*  85 */ {"Has LDS SP Place", "Has No LDS SP Place", 0, "", "WHLHasLDS"},
    /*  86 */ {"Has LDS SS Place", "Has No LDS SS Place", 0, "", "WHLHasLDS"},
    /*  87 */ {"LDS B Date", "Not LDS B Date", 1, "9", "WHLLDSDate"},
    /*  88 */ {"LDS E Date", "Not LDS E Date", 1, "10", "WHLLDSDate"},
    /*  89 */ {"LDS SP Date", "Not LDS SP Date", 1, "11", "WHLLDSDate"},
    /*  90 */ {"LDS SS Date", "Not LDS SS Date", 1, "12", "WHLLDSDate"},
    /*  91 */ {"LDS B Place", "Not LDS B Place", 1, "3", "WHLStr"},
    /*  92 */ {"LDS E Place", "Not LDS E Place", 1, "3", "WHLStr"},
    /*  93 */ {"LDS SP Place", "Not LDS SP Place", 1, "3", "WHLStr"},
    /*  94 */ {"LDS SS Place", "Not LDS SS Place", 1, "3", "WHLStr"},
    /*  95 */ {"Anc Max Path", "Not Anc Max Path", 1, "7", "WHLPaths"},
    /*  96 */ {"Des Max Path", "Not Des Max Path", 1, "7", "WHLPaths"},
    /*  97 */ {"AFN", "Not AFN", 1, "3", "WHLStr"},
    /*  98 */ {"Reference ID", "Not Reference ID", 1, "3", "WHLStr"},
    /*  99 */ {"Has Marriage Source", "Has No Marriage Source", 0, "", "WHLHasSource"},
    /* 100 */ {"Has Marriage Note", "Has No Marriage Note", 0, "", "WHLHasNote"},
    /* 101 */ {"Legacy Tag Set On", "Legacy Tag Set Off", 1, "5,1,9", ""},
    /* 102 */ {"Sibling Name", "Not Sibling Name", 1, "3", "WHLStr"},
    /* 103 */ {"Child Name", "Not Child Name", 1, "3", "WHLStr"},
    /* 104 */ {"Parent Name", "Not Parent Name", 1, "3", "WHLStr"},
    /* 105 */ {"Spouse Name", "Not Spouse Name", 1, "3", "WHLStr"},
    /* 106 */ {"Ancestor Name", "Not Ancestor Name", 1, "3", "WHLStr"},
    /* 107 */ {"Descendant Name", "Not Descendant Name", 1, "3", "WHLStr"},
    /* 108 */ {"Ancestor Surname", "Not Ancestor Surname", 1, "3", "WHLStr"},
    /* 109 */ {"Descendant Surname", "Not Descendant Surname", 1, "3", "WHLStr"},
    /* 110 */ {"Sibling Surname", "Not Sibling Surname", 1, "3", "WHLStr"},
    /* 111 */ {"Child Surname", "Not Child Surname", 1, "3", "WHLStr"},
    /* 112 */ {"Parent Surname", "Not Parent Surname", 1, "3", "WHLStr"},
    /* 113 */ {"Spouse Surname", "Not Spouse Surname", 1, "3", "WHLStr"},
};

} // namespace

bool IsValidCode(int code) { return code >= kFirstCode && code <= kLastCode; }

const ConditionDef* GetDef(int code) { return IsValidCode(code) ? &kRows[code] : nullptr; }

int GetParamFlag(int code) {
    const ConditionDef* d = GetDef(code);
    return d ? d->optionCount : 0;
}

void GetConditionText(int code, bool negated, std::string& s) {
    const ConditionDef* d = GetDef(code);
    s = d ? (negated ? d->negatedName : d->name) : "";
}

std::string GetConditionText(int code, bool negated) {
    std::string s;
    GetConditionText(code, negated, s);
    return s;
}

void GetField(int code, int k, std::string& s) {
    s.clear();
    const ConditionDef* d = GetDef(code);
    // Only the descriptor follows the option count.
    if (d && k == 1 && d->optionCount >= 1) s = d->descriptor;
}

int GetFieldInt(int code, int k) {
    std::string s;
    GetField(code, k, s);
    const std::string first = s.substr(0, s.find(','));
    int value = 0;
    const char* b = first.data();
    const char* e = b + first.size();
    if (b != e && *b == '+') ++b;
    auto [p, ec] = std::from_chars(b, e, value);
    if (ec != std::errc() || p != e || b == e) return 0;
    return value;
}

std::string GetRowText(int code) {
    const ConditionDef* d = GetDef(code);
    if (!d) return {};
    std::string s = std::string(d->name) + ":" + d->negatedName + ":" + std::to_string(d->optionCount);
    if (d->optionCount >= 1) s += std::string(":") + d->descriptor;
    return s;
}

} // namespace HLConditions
