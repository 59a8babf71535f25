#include "highlight/OptionText.h"

#include "highlight/HLString.h"
#include "highlight/HLTable.h"
#include "model/ABSCollection.h"
#include "model/ABSEvent.h"

namespace HLOptText {

namespace {

std::vector<std::string> splitKeepEmpty(const std::string& s, char sep) {
    std::vector<std::string> out;
    if (s.empty()) return out;
    std::size_t start = 0;
    for (;;) {
        std::size_t p = s.find(sep, start);
        if (p == std::string::npos) {
            if (start < s.size()) out.push_back(s.substr(start));
            break;
        }
        out.push_back(s.substr(start, p - start));
        start = p + 1;
    }
    return out;
}

} // namespace

IntRange ParseIntDescriptor(const std::string& descriptor) {
    IntRange r;
    const auto items = splitKeepEmpty(descriptor, ',');
    if (items.size() >= 3) {
        r.min = NumberOr0(items[1]);
        r.max = NumberOr0(items[2]);
        if (r.max == 0) r.max = 65535;
    }
    return r;
}

std::string EditorDescriptor(int code) {
    const int kind = HLConditions::GetFieldInt(code, 1);
    switch (kind) {
    case HLConditions::pkText: return "Contains;Equals;Begins;Ends";
    case HLConditions::pkSoundex: return "Text;Code";
    case HLConditions::pkLDSBaptism:
    case HLConditions::pkLDSEndowment:
    case HLConditions::pkLDSSealParents:
    case HLConditions::pkLDSSealSpouse: return "A Date;" + WABSLDSEvent::GetStatusKeywords(kind - 2);
    default: {
        std::string s;
        HLConditions::GetField(code, 1, s);
        return s;
    }
    }
}

std::vector<std::string> DescriptorItems(const std::string& descriptor) { return splitKeepEmpty(descriptor, ';'); }

std::vector<std::string> LDSItems(int kind) {
    std::vector<std::string> items{"A Date"};
    const int ordinance = kind - 2;
    const std::int32_t n = WABSLDSEvent::StatusCount(ordinance);
    for (std::int32_t i = 1; i <= n; ++i) items.push_back(WABSLDSEvent::GetStatusKeyword(ordinance, i));
    return items;
}

std::string TrimBlanks(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

int NumberOr0(const std::string& s) {
    try {
        return HLStrToInt(TrimBlanks(s));
    } catch (const EHLConvertError&) {
        return 0;
    }
}

std::string SexText(int item) {
    switch (item) {
    case 0: return "M";
    case 1: return "F";
    default: return "U";
    }
}

int SexItemFromText(const std::string& s) {
    if (s == "F") return 1;
    if (s == "M") return 0;
    return 2;
}

std::string IndText(std::int32_t index, int generations) {
    return std::to_string(index) + "^" + std::to_string(generations);
}

std::int32_t ParseIndexText(const std::string& s) { return HLStrToInt(s); }

std::string PersonCaption(std::int32_t index) { return index == 0 ? "?" : "#" + std::to_string(index); }

std::string PersonHint(WABSCollection* collection, std::int32_t index) {
    if (index == 0) return "None Selected";
    return collection ? collection->GetNameWithBirth(index) : std::string();
}

std::string PersonLabel(WABSCollection* collection, std::int32_t index) {
    if (index == 0) return "None Selected";
    return std::to_string(index) + " - " + (collection ? collection->GetName(index) : std::string());
}

std::int32_t StepNext(std::int32_t index, std::int32_t upper) { return index + 1 < upper ? index + 1 : index; }

std::int32_t StepPrev(std::int32_t index, std::int32_t upper) {
    return index - 1 >= 1 && index - 1 < upper ? index - 1 : index;
}

bool IsSeparatorChar(char c) { return c == ';' || c == ':'; }

std::string StripSeparators(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (!IsSeparatorChar(c)) out += c;
    return out;
}

std::string StringText(int mode, const std::string& text) {
    return std::to_string(mode) + StripSeparators(TrimBlanks(text));
}

std::string DateText(int op, const std::string& dateText) {
    static const char* const kOps[] = {"", "", "BEF ", "ABT ", "AFT "};
    return std::string(op >= 1 && op <= 4 ? kOps[op] : "") + StripSeparators(dateText);
}

std::string IntText(int op, int value) { return std::to_string(op) + std::to_string(value); }

std::string CondText(bool negated, int code, bool hasEditor, const std::string& param) {
    std::string s = negated ? "-" : "+";
    s += std::to_string(code);
    if (hasEditor) s += ":" + StripSeparators(param);
    return s;
}

std::string BuildHLStrings(const std::vector<std::string>& rows, const std::vector<bool>& connectorAnd) {
    for (const auto& r : rows)
        if (r == "+1" || r == "-1") return {};
    std::string s;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (k > 0) {
            const bool isAnd = k - 1 < connectorAnd.size() ? bool(connectorAnd[k - 1]) : true;
            s += isAnd ? ";A;" : ";O;";
        }
        s += rows[k];
    }
    if (!rows.empty()) s += ";";
    return s;
}

const std::vector<int>& ColManConditionIds() {
    static const std::vector<int> ids = {
        1,   97,  44,  21,  106, 108, 95,  28, 39, 24, 42, 27,  63,  103, 111, 38, 40, 25,  56, 59, 41, 26, 22,
        107, 109, 96,  30,  20,  52,  77,  66, 73, 68, 76, 71,  74,  69,  75,  70, 18, 100, 99, 31, 79, 83, 32,
        80,  84,  35,  33,  81,  85,  34,  82, 86, 72, 67, 12,  2,   3,   8,   9,  4,  5,   6,  7,  15, 14, 10,
        11,  16,  13,  23,  65,  87,  91,  88, 92, 89, 93, 90,  94,  43,  36,  37, 50, 49,  51, 78, 47, 45, 46,
        48,  60,  104, 112, 62,  102, 110, 17, 58, 57, 61, 105, 113, 29,  55,  53, 54, 98,  19, 64};
    return ids;
}

const std::vector<int>& SearchManConditionIds() {
    static const std::vector<int> ids = {
        1,   29,  30,  57,  58,  2,   3,   4,   5,   6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 103, 111, 102,
        110, 104, 112, 105, 113, 106, 108, 107, 109, 17, 18, 19, 20, 97, 59, 98, 39, 24, 40, 25, 41,  26,  42,
        27,  28,  31,  79,  83,  32,  80,  84,  33,  81, 85, 34, 82, 86, 35, 87, 88, 89, 90, 91, 92,  93,  94,
        36,  37,  38,  43,  52,  44,  50,  51,  45,  78, 46, 47, 48, 49, 53, 54, 55, 56, 64, 65};
    return ids;
}

} // namespace HLOptText
