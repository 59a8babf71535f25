#pragma once
// The parameter texts of the option editors and the pieces of a condition
// string that the condition panel writes, without any widget: the editors
// only hold controls and ask these routines what text a choice stands for.
#include <cstdint>
#include <string>
#include <vector>

class WABSCollection;

namespace HLOptText {

// Kind 5 descriptors: "5,min,max"; a maximum of 0 means 65535.
struct IntRange {
    int min = 0;
    int max = 0;
};
IntRange ParseIntDescriptor(const std::string& descriptor);

// The descriptor an editor is created with for a condition code: the table's
// parameter field, or the item list of the text, soundex and LDS editors.
std::string EditorDescriptor(int code);
// The items of a list descriptor, split at ";" (empty pieces kept, a last
// empty piece dropped).
std::vector<std::string> DescriptorItems(const std::string& descriptor);
// "A Date" followed by the status words of the ordinance of kind 9..12.
std::vector<std::string> LDSItems(int kind);

// Leading and trailing blanks (and control characters) removed.
std::string TrimBlanks(const std::string& s);
// A decimal number with an optional sign; 0 when the text is not one.
int NumberOr0(const std::string& s);

// Sex list: item 0 Male, 1 Female, 2 Unknown.
std::string SexText(int item);
int SexItemFromText(const std::string& s);

// Person with generations: "123^4". The index of a text; throws
// EHLConvertError when the text is not a number.
std::string IndText(std::int32_t index, int generations);
std::int32_t ParseIndexText(const std::string& s);
// The person button's caption and hint, and the label of the person editor
// without generations ("None Selected" for index 0).
std::string PersonCaption(std::int32_t index);
std::string PersonHint(WABSCollection* collection, std::int32_t index);
std::string PersonLabel(WABSCollection* collection, std::int32_t index);
// Arrow steps: the new index, or the old one when the step is refused.
std::int32_t StepNext(std::int32_t index, std::int32_t upper);
std::int32_t StepPrev(std::int32_t index, std::int32_t upper);

// Characters a parameter can never hold: they separate the condition
// string's items and fields.
bool IsSeparatorChar(char c);
std::string StripSeparators(const std::string& s);

// Text match: the mode's number (1-based) and the trimmed text: "1SMITH".
std::string StringText(int mode, const std::string& text);
// Date: "" for "=", else "BEF ", "ABT ", "AFT " (operator 1..4) before the date text.
std::string DateText(int op, const std::string& dateText);
// Integer: operator number 1..5 then the value: "518".
std::string IntText(int op, int value);

// One condition row: sign, code and, with an editor, ":" and its text.
std::string CondText(bool negated, int code, bool hasEditor, const std::string& param);
// The whole set: "" when some row has no condition chosen ("+1" / "-1");
// else the rows joined by ";A;" or ";O;" and ended by ";".
// connectorAnd[k] stands between rows k and k + 1.
std::string BuildHLStrings(const std::vector<std::string>& rows, const std::vector<bool>& connectorAnd);

// The ids the condition combos offer, in list order (both begin with 1).
const std::vector<int>& ColManConditionIds();
const std::vector<int>& SearchManConditionIds();

} // namespace HLOptText
