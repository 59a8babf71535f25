#include <gtest/gtest.h>

#include "highlight/HLGroup.h"
#include "highlight/HLRegister.h"
#include "highlight/HLString.h"
#include "highlight/OptionText.h"
#include "support/MemCollection.h"

using namespace HLOptText;

TEST(OptionEditorText, ParameterTextsOfEachKind) {
    EXPECT_EQ(StringText(1, ""), "1");
    EXPECT_EQ(StringText(2, "  SMITH "), "2SMITH");
    EXPECT_EQ(DateText(1, "1 JAN 1900"), "1 JAN 1900");
    EXPECT_EQ(DateText(2, "1 JAN 1900"), "BEF 1 JAN 1900");
    EXPECT_EQ(DateText(4, "1900"), "AFT 1900");
    EXPECT_EQ(IntText(1, 0), "10");
    EXPECT_EQ(IntText(5, 18), "518");
    EXPECT_EQ(IndText(123, 4), "123^4");
    EXPECT_EQ(SexText(0), "M");
    EXPECT_EQ(SexText(1), "F");
    EXPECT_EQ(SexText(2), "U");
    EXPECT_EQ(SexItemFromText("F"), 1);
    EXPECT_EQ(SexItemFromText("x"), 2);
    EXPECT_THROW(ParseIndexText("abc"), EHLConvertError);
    EXPECT_EQ(NumberOr0("abc"), 0);
}

TEST(OptionEditorText, IntegerDescriptorRanges) {
    auto r = ParseIntDescriptor(EditorDescriptor(47)); // "# Children"
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 65535);
    r = ParseIntDescriptor(EditorDescriptor(101));
    EXPECT_EQ(r.min, 1);
    EXPECT_EQ(r.max, 9);
    r = ParseIntDescriptor("5");
    EXPECT_EQ(r.max, 0);
}

TEST(OptionEditorText, ListDescriptorsByKind) {
    EXPECT_EQ(EditorDescriptor(24), "Contains;Equals;Begins;Ends");
    EXPECT_EQ(EditorDescriptor(57), "Text;Code");
    const auto lds = LDSItems(9);
    ASSERT_GE(lds.size(), 2u);
    EXPECT_EQ(lds[0], "A Date");
    EXPECT_EQ(DescriptorItems(EditorDescriptor(87)), lds);
}

TEST(OptionEditorText, PersonTextsAndArrowBounds) {
    WMemCollection c;
    c.AddPerson("John /Smith/", 'M').Birth("1 JAN 1900", "Boston");
    c.AddPerson("Mary /Jones/", 'F');
    EXPECT_EQ(PersonCaption(0), "?");
    EXPECT_EQ(PersonHint(&c, 0), "None Selected");
    EXPECT_EQ(PersonCaption(7), "#7");
    EXPECT_NE(PersonHint(&c, 1).find("Boston"), std::string::npos);
    EXPECT_EQ(PersonLabel(&c, 0), "None Selected");
    EXPECT_EQ(PersonLabel(&c, 2).rfind("2 - Mary", 0), 0u);
    EXPECT_EQ(StepNext(1, 3), 2);
    EXPECT_EQ(StepNext(2, 3), 2); // must stay below the bound
    EXPECT_EQ(StepPrev(1, 3), 1);
    EXPECT_EQ(StepPrev(2, 3), 1);
}

TEST(OptionEditorText, SeparatorsNeverLeakIntoTheConditionString) {
    // A parameter holding ";" or ":" would shift every later item.
    const std::string row = CondText(false, 24, true, StringText(1, "A;B:C"));
    EXPECT_EQ(row, "+24:1ABC");
    const std::string s = BuildHLStrings({row, "+17:F"}, {true});
    WHLString r;
    r.SetText(s);
    EXPECT_EQ(r.Count(), 2);
    EXPECT_EQ(r.GetCode(1), 17);
    EXPECT_EQ(r.GetParams(0), "1ABC");
}

TEST(OptionEditorText, ConditionStringOfRows) {
    EXPECT_EQ(BuildHLStrings({"+17:F", "-21:123^4"}, {true}), "+17:F;A;-21:123^4;");
    EXPECT_EQ(BuildHLStrings({"+17:F", "-2"}, {false}), "+17:F;O;-2;");
    EXPECT_EQ(BuildHLStrings({"+17:F", "-1"}, {true}), "");
    EXPECT_EQ(BuildHLStrings({}, {}), "");
    EXPECT_EQ(CondText(true, 15, false, "x"), "-15");
}

TEST(OptionEditorText, OfferedConditionLists) {
    const auto& col = ColManConditionIds();
    const auto& search = SearchManConditionIds();
    EXPECT_EQ(col.size(), 112u);
    EXPECT_EQ(search.size(), 89u);
    EXPECT_EQ(col.front(), 1);
    EXPECT_EQ(search.front(), 1);
    std::vector<bool> seen(114, false);
    for (int id : col) {
        ASSERT_TRUE(id >= 1 && id <= 113);
        EXPECT_FALSE(seen[std::size_t(id)]) << id;
        seen[std::size_t(id)] = true;
    }
    EXPECT_FALSE(seen[101]);
    for (int id : {21, 22, 23, 60, 63, 66, 77, 95, 96, 99, 100, 101})
        EXPECT_EQ(std::count(search.begin(), search.end(), id), 0) << id;
}
