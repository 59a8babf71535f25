// The Descendants view's name column: texts, marks and colours of a line.
#include <gtest/gtest.h>

#include "app/DescendantRows.h"
#include "highlight/ABSHighLighter.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

// Highlights one individual.
class WOne : public WABSHighLighter {
public:
    WOne(WABSCollection* c, std::int32_t one) : WABSHighLighter(c->GetIndividualCount(), c), FOne(one) {}
    void Evaluate(std::int32_t i) override { SetResult(i, i == FOne); }
    void Prepare() override { Reset(stUnknown); }
    void GetDescription(std::string& s) override { s = "one"; }

private:
    std::int32_t FOne;
};

std::string Join(const DesNameLine& line) {
    std::string s;
    for (const DesPiece& p : line.Pieces) s += p.Text;
    return s;
}

TEST(DescendantRows, LineTextsMarksAndColours) {
    WDefaultSettings settings;
    WMemCollection c;
    auto bob = c.AddPerson("Bob /Main/", 'M');
    auto ida = c.AddPerson("Ida /Law/", 'F');
    c.AddFamily(bob, ida).Child(c.AddPerson("Gus /Main/", 'M'));
    WOptions::SetInt(opt::DesIndent, 6);
    WOptions::SetInt(WABSHighLighter::kOptHLCol, 0x00FFFF);
    WOptions::SetInt(WABSHighLighter::kOptHLTCol, 0x0000FF);
    WOne hl(&c, ida);
    const std::string bobName = c.GetIndividual(bob)->GetDisplayName();
    const std::string idaName = c.GetIndividual(ida)->GetDisplayName();

    // One marriage: no ordinal; only the highlighted spouse takes the colours.
    const DesNameLine married = DescendantNameLine(&c, &hl, WDesEntry{2, 1, 1, bob, ida, 0, {}});
    EXPECT_EQ(Join(married), "3 - " + bobName + " + " + idaName);
    EXPECT_EQ(married.Indent, 12);
    ASSERT_EQ(married.Pieces.size(), 4u);
    EXPECT_EQ(married.Pieces[1].Back, plat::kWhite);
    EXPECT_EQ(married.Pieces[2].Back, plat::kWhite);
    EXPECT_EQ(married.Pieces[3].Back, 0x00FFFFu);
    EXPECT_EQ(married.Pieces[3].Font, 0x0000FFu);

    EXPECT_TRUE(DescendantNameLine(&c, nullptr, WDesEntry{0, 0, 0, 99, 0, 0, {}}).Pieces.empty());
    EXPECT_TRUE(DescendantNameLine(nullptr, nullptr, WDesEntry{0, 0, 0, bob, 0, 0, {}}).Pieces.empty());

    WDesIterator list;
    list.SetCollection(&c);
    ASSERT_TRUE(list.Build(bob, 0, false));
    EXPECT_EQ(DescendantsTitle(&list), "Descendants (1 individuals)");
    EXPECT_EQ(DescendantsTitle(nullptr), "Descendants (0)");
    EXPECT_EQ(DescendantGenerationsText(0), "Show ALL Generations");
    EXPECT_EQ(DescendantGenerationsText(12), "Show 12 Generations");
}

} // namespace
