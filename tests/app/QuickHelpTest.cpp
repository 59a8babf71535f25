#include <gtest/gtest.h>

#include "app/QuickHelp.h"
#include "app/QuickHelpText.h"
#include "model/Options.h"
#include "support/MemCollection.h"

namespace {

struct QuickHelpTest : ::testing::Test {
    WDefaultSettings settings;
    std::vector<std::string> shown;
    bool stop = false;
    void SetUp() override {
        QuickHelp::SetDialogHandler([this](const QuickHelpEntry& e) {
            shown.push_back(e.Title);
            return stop;
        });
    }
    void TearDown() override { QuickHelp::SetDialogHandler({}); }
};

TEST_F(QuickHelpTest, EachEntryOfferedOnceUntilReset) {
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::Sources));
    EXPECT_FALSE(QuickHelp::Show(QuickHelp::Sources));
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::General));
    ASSERT_EQ(shown, (std::vector<std::string>{"Sources Tab", "General Tab"}));
    EXPECT_FALSE(WOptions::GetBool(opt::IH10));
    EXPECT_TRUE(WOptions::GetBool(opt::DispInitHelp));
    QuickHelp::ResetAll();
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::Sources));
    EXPECT_EQ(shown.size(), 3u);
}

TEST_F(QuickHelpTest, StopAllSwitchesEveryEntryOff) {
    stop = true;
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::Welcome));
    EXPECT_FALSE(WOptions::GetBool(opt::DispInitHelp));
    EXPECT_FALSE(QuickHelp::Show(QuickHelp::List));
    EXPECT_TRUE(WOptions::GetBool(opt::IH7)); // still due, but quick help is off
    QuickHelp::ResetAll();
    for (int k = 1; k <= QuickHelp::kEntryCount; ++k) EXPECT_TRUE(WOptions::GetBool(94 + k)) << k;
    stop = false;
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::List));
}

TEST_F(QuickHelpTest, OutOfRangeAndNoDialogOfferNothing) {
    EXPECT_FALSE(QuickHelp::Show(0));
    EXPECT_FALSE(QuickHelp::Show(17));
    QuickHelp::SetDialogHandler({});
    EXPECT_FALSE(QuickHelp::Show(QuickHelp::Family));
    EXPECT_TRUE(WOptions::GetBool(opt::IH4));
    EXPECT_TRUE(shown.empty());
}

TEST_F(QuickHelpTest, ADialogOpenMeanwhileIsNotStacked) {
    int depth = 0, maxDepth = 0;
    QuickHelp::SetDialogHandler([&](const QuickHelpEntry&) {
        maxDepth = std::max(maxDepth, ++depth);
        QuickHelp::Show(QuickHelp::Pedigree); // a refill while the dialog pumps messages
        --depth;
        return false;
    });
    EXPECT_TRUE(QuickHelp::Show(QuickHelp::Family));
    EXPECT_EQ(maxDepth, 1);
    EXPECT_TRUE(WOptions::GetBool(opt::IH5));
}

TEST_F(QuickHelpTest, TableSettingsAndLinks) {
    for (int k = 1; k <= QuickHelp::kEntryCount; ++k) {
        EXPECT_EQ(QuickHelp::GetEntry(k).Setting, 94 + k);
        for (const auto& link : ParseHelpLinks(QuickHelp::GetEntry(k).Links)) EXPECT_GT(link.Context, 0) << k;
    }
    const auto links = ParseHelpLinks(QuickHelp::GetEntry(QuickHelp::Descendants).Links);
    ASSERT_EQ(links.size(), 4u);
    EXPECT_EQ(links[3].Title, "Columns");
    EXPECT_EQ(links[3].Context, 2050);
}

} // namespace
