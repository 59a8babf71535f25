// The condition group with stand-in conditions: the real condition classes
// register themselves elsewhere; here each test registers what it needs.
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "highlight/ABSHLInd.h"
#include "highlight/HLFactory.h"
#include "highlight/HLGroup.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

// Every evaluation, in order: (condition code, individual).
using Log = std::vector<std::pair<int, int>>;

// True for the individuals listed in its parameter ("1,3,5"); records each
// evaluation.
class WSetCond : public WABSHLInd {
public:
    WSetCond(WABSCollection* c, int code, Log* log) : WABSHLInd(c, code), FLog(log) {}
    void Prepare() override {
        Reset(stUnknown);
        FMembers.clear();
        std::stringstream ss(FParameter);
        std::string item;
        while (std::getline(ss, item, ','))
            if (!item.empty()) FMembers.insert(std::stoi(item));
        ++prepares;
    }
    void Evaluate(std::int32_t i) override {
        FLog->emplace_back(GetConditionCode(), i);
        SetResult(i, FMembers.count(i) != 0);
    }
    void GetDescription(std::string& s) override {
        s = FInvert ? "not in {" + FParameter + "}" : "in {" + FParameter + "}";
        if (FParameter == "silent") s.clear();
    }
    int prepares = 0;

private:
    Log* FLog;
    std::set<int> FMembers;
};

// Sex equals the parameter letter.
class WSexCond : public WABSHLInd {
public:
    WSexCond(WABSCollection* c, int code, Log* log) : WABSHLInd(c, code), FLog(log) {}
    void Prepare() override { Reset(stUnknown); }
    void Evaluate(std::int32_t i) override {
        FLog->emplace_back(GetConditionCode(), i);
        const auto ind = FCollection->GetIndividual(i);
        SetResult(i, ind && !FParameter.empty() && ind->GetSex() == FParameter[0]);
    }
    void GetDescription(std::string& s) override { s = (FInvert ? "Is Not of Sex Type " : "Sex Type ") + FParameter; }

private:
    Log* FLog;
};

class HLGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        // 1 F, 2 M, 3 U, 4 F, 5 M, 6 U
        for (char s : std::string("FMUFMU")) coll.AddPerson("P /Q/", s);
        plat::hooks().showMessage = [this](const std::string& t) { messages.push_back(t); };
        plat::hooks().messageBox = [this](const std::string& t, const std::string&, unsigned) {
            messages.push_back(t);
            return int(plat::IDOK);
        };
        // Whatever other tests registered comes back afterwards.
        for (int code = 0; code <= 200; ++code) saved[code] = HLFactory::Find(code);
        HLFactory::UnregisterAll();
        // Codes 2..16 stand for set conditions, 17 for sex.
        for (int code = 2; code <= 16; ++code)
            HLFactory::Register(code, [this](int c, WABSCollection* col) {
                return std::unique_ptr<WABSHighLighter>(new WSetCond(col, c, &log));
            });
        HLFactory::Register(17, [this](int c, WABSCollection* col) {
            return std::unique_ptr<WABSHighLighter>(new WSexCond(col, c, &log));
        });
    }
    void TearDown() override {
        HLFactory::UnregisterAll();
        for (auto& [code, creator] : saved) HLFactory::Register(code, creator);
        plat::resetHooks();
    }
    std::vector<int> highlighted(WHLGroup& g) {
        std::vector<int> r;
        for (int i = 1; i <= coll.GetIndividualCount(); ++i)
            if (g.IsHighlighted(i)) r.push_back(i);
        return r;
    }
    std::vector<int> run(const std::string& s) {
        WHLGroup g(&coll);
        g.SetConditions(s);
        g.Recalculate();
        return highlighted(g);
    }

    WMemCollection coll;
    Log log;
    std::vector<std::string> messages;
    std::map<int, HLFactory::Creator> saved;
};

TEST_F(HLGroupTest, SexAndItsNegation) {
    EXPECT_EQ(run("+17:F"), (std::vector<int>{1, 4}));
    EXPECT_EQ(run("-17:F"), (std::vector<int>{2, 3, 5, 6}));
    EXPECT_EQ(run("+17:F;A;+17:M"), (std::vector<int>{}));
    EXPECT_EQ(run("+17:F;O;+17:M"), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(HLGroupTest, AndBindsTighterThanOr) {
    // c0 {1,2}, c1 {2,3}, c2 {3,4}, c3 {4,5}: (c0 And c1) Or (c2 And c3) = {2, 4};
    // read left to right it would be ((c0 And c1) Or c2) And c3 = {4}.
    WHLGroup g(&coll);
    g.SetConditions("+2:1,2;A;+3:2,3;O;+4:3,4;A;+5:4,5");
    g.Recalculate();
    EXPECT_EQ(g.BuildExpression(), "0 A 1 O 2 A 3");
    EXPECT_EQ(g.NodeCount(), 7);
    EXPECT_EQ(highlighted(g), (std::vector<int>{2, 4}));

    // Or chains: "0 O 1 O 2".
    EXPECT_EQ(run("+2:1;O;+3:3;O;+4:5"), (std::vector<int>{1, 3, 5}));
    // A negated member inside an And.
    EXPECT_EQ(run("+2:1,2,3;A;-3:2"), (std::vector<int>{1, 3}));
}

TEST_F(HLGroupTest, ShortCircuitAndOneEvaluationPerIndividual) {
    WHLGroup g(&coll);
    g.SetConditions("+2:1,2;A;+3:2,3;O;+4:3,4;A;+5:4,5");
    g.Recalculate();
    for (int i = 1; i <= 6; ++i) EXPECT_FALSE(g.IsEvaluated(i)) << i;
    log.clear();
    EXPECT_FALSE(g.IsHighlighted(1)); // c0 true, c1 false, c2 false: c3 never asked
    EXPECT_EQ(log, (Log{{2, 1}, {3, 1}, {4, 1}}));
    log.clear();
    EXPECT_TRUE(g.IsHighlighted(2)); // c0 and c1 true: the Or side is skipped
    EXPECT_EQ(log, (Log{{2, 2}, {3, 2}}));
    log.clear();
    EXPECT_FALSE(g.IsHighlighted(6)); // c0 false skips c1; c2 false skips c3
    EXPECT_EQ(log, (Log{{2, 6}, {4, 6}}));
    // Asked again: the group and its conditions answer from their states.
    log.clear();
    for (int i = 1; i <= 6; ++i) g.IsHighlighted(i);
    for (int i = 1; i <= 6; ++i) g.IsHighlighted(i);
    const Log expectedOnce{{2, 3}, {4, 3}, {5, 3}, {2, 4}, {4, 4}, {5, 4}, {2, 5}, {4, 5}};
    EXPECT_EQ(log, expectedOnce);
    // A recalculation forgets every state.
    g.Recalculate();
    EXPECT_FALSE(g.IsEvaluated(2));
    EXPECT_FALSE(g.GetCondition(0)->IsEvaluated(2));
}

TEST_F(HLGroupTest, IndexesOutsideTheFile) {
    WHLGroup g(&coll);
    g.SetConditions("-17:Z");
    g.Recalculate();
    EXPECT_FALSE(g.IsHighlighted(0));
    EXPECT_FALSE(g.IsHighlighted(7));
    EXPECT_FALSE(g.IsHighlighted(-3));
    EXPECT_TRUE(g.IsEvaluated(0));
    g.SetResult(0, true);
    g.SetResult(7, true);
    EXPECT_FALSE(g.IsTrue(0));
    EXPECT_FALSE(g.IsTrue(7));
    EXPECT_TRUE(g.IsHighlighted(6));
    EXPECT_TRUE(log.size() == 1u);
}

TEST_F(HLGroupTest, TwelveConditionsGiveTwoMessagesAndTen) {
    std::string s;
    for (int k = 0; k < 12; ++k) s += (k ? ";O;" : "") + std::string("+2:") + std::to_string(k % 6 + 1);
    WHLGroup g(&coll);
    g.SetConditions(s);
    EXPECT_EQ(g.ConditionCount(), 10);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Error: Too many high lighting options");
    g.Recalculate();
    EXPECT_EQ(g.NodeCount(), 19);
    EXPECT_EQ(highlighted(g), (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

TEST_F(HLGroupTest, SkippedCodesJoinTheConditionsThatExist) {
    WHLGroup g(&coll);
    // Items 1 (empty choice), 3 (0) and 4 (101) create nothing; the
    // connector after item 0 joins condition 0 to the next one created.
    g.SetConditions("+2:1,2;A;+1;O;+0;O;+101:3;O;+3:2,5");
    EXPECT_EQ(g.ConditionCount(), 2);
    g.Recalculate();
    EXPECT_EQ(g.BuildExpression(), "0 A 1");
    EXPECT_EQ(highlighted(g), (std::vector<int>{2}));
    EXPECT_TRUE(messages.empty());

    // Many skipped items among more than ten real ones.
    std::string s;
    for (int k = 0; k < 30; ++k) s += (k ? ";A;" : "") + std::string(k % 3 == 1 ? "+1" : "+2:1,2,3,4,5,6");
    g.SetConditions(s);
    EXPECT_EQ(g.ConditionCount(), 10);
    // The tenth condition comes from item 14; each of the 15 items after it
    // is refused with the message, whatever its code.
    EXPECT_EQ(messages.size(), 15u);
    g.Recalculate();
    EXPECT_EQ(g.NodeCount(), 19);
    EXPECT_EQ(highlighted(g), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    // Nothing created at all.
    g.SetConditions(";");
    g.Recalculate();
    EXPECT_EQ(g.ConditionCount(), 0);
    EXPECT_EQ(g.NodeCount(), 0);
    EXPECT_TRUE(highlighted(g).empty());
    std::string d = "x";
    g.GetDescription(d);
    EXPECT_EQ(d, "");
}

TEST_F(HLGroupTest, BadCodeStopsButKeepsEarlierConditions) {
    WHLGroup g(&coll);
    EXPECT_THROW(g.SetConditions("+2:1;A;+3:2;O;*17;O;+4:3"), EHLConvertError);
    EXPECT_EQ(g.ConditionCount(), 2);
    g.Recalculate();
    EXPECT_TRUE(highlighted(g).empty());
}

TEST_F(HLGroupTest, DescriptionJoinsWithConnectors) {
    WHLGroup g(&coll);
    g.SetConditions("+17:F;A;-2:4;O;+3:silent;A;+4:1");
    std::string d;
    g.GetDescription(d);
    EXPECT_EQ(d, "Sex Type F AND not in {4} OR  AND in {1}");
}

TEST_F(HLGroupTest, ColoursFollowTheSettings) {
    WDefaultSettings defaults;
    WHLGroup g(&coll);
    g.SetConditions("+17:F");
    g.Recalculate();
    EXPECT_EQ(g.GetBackColor(1), plat::ColorRef(0x00FFFF)); // setting default: yellow
    EXPECT_EQ(g.GetFontColor(1), plat::ColorRef(0));
    EXPECT_EQ(g.GetBackColor(2), plat::ColorRef(0xFFFFFF));
    WOptions::SetInt(opt::HLCol, 0x112233);
    WOptions::SetInt(opt::HLTCol, 0x0000FF);
    EXPECT_EQ(g.GetBackColor(4), plat::ColorRef(0x112233));
    EXPECT_EQ(g.GetFontColor(4), plat::ColorRef(0x0000FF));
    EXPECT_EQ(g.GetFontColor(5), plat::ColorRef(0));
    g.SetCurrentIndex(4);
    EXPECT_EQ(g.GetBackColor(4), plat::ColorRef(0xFFFF00));
    g.SetMarkCurrent(false);
    EXPECT_EQ(g.GetBackColor(4), plat::ColorRef(0x112233));
}

TEST_F(HLGroupTest, FactoryAndStateBasics) {
    EXPECT_TRUE(HLFactory::IsRegistered(17));
    EXPECT_TRUE(HLFactory::Find(17));
    EXPECT_FALSE(HLFactory::Find(18));
    EXPECT_EQ(HLFactory::Create(18, &coll), nullptr);
    HLFactory::Unregister(17);
    EXPECT_EQ(HLFactory::Create(17, &coll), nullptr);

    WSetCond c(&coll, 2, &log);
    c.SetParameter("2");
    c.Recalculate();
    EXPECT_EQ(c.Count(), 6);
    c.Reset(WABSHighLighter::stFalse);
    EXPECT_TRUE(c.IsEvaluated(2));
    EXPECT_FALSE(c.GetResult(2));
    c.SetInvert(true);
    EXPECT_TRUE(c.IsHighlighted(2));
    EXPECT_FALSE(c.GetResult(2)); // the invert flag is not part of the result
    EXPECT_TRUE(log.empty());
}

TEST(HLInd, ParseIndexParam) {
    std::int32_t i = -1, g = -1;
    WABSHLInd::ParseIndexParam("123^4", i, g);
    EXPECT_EQ(i, 123);
    EXPECT_EQ(g, 4);
    WABSHLInd::ParseIndexParam("abc^x", i, g);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(g, 0);
    WABSHLInd::ParseIndexParam("55", i, g);
    EXPECT_EQ(i, 55);
    EXPECT_EQ(g, 0);
    WABSHLInd::ParseIndexParam("", i, g);
    EXPECT_EQ(i, 1);
    EXPECT_EQ(g, 0);
}

} // namespace
