#include <gtest/gtest.h>

#include "app/MainCommands.h"
#include "app/QuickHelp.h"

namespace {

using MainCommands::Enabled;

TEST(ActionsTest, EnablingRulesFollowTheOpenFile) {
    WActionState none;
    WActionState open;
    open.Collection = true;
    open.FileKind = 1;
    // Before a file is open only the plain commands work.
    for (ActionId id : {ActionId::FileExit, ActionId::HelpAbout, ActionId::Options, ActionId::NextHighlighted})
        EXPECT_TRUE(Enabled(id, none));
    for (ActionId id : {ActionId::ToolPrint, ActionId::MenuFindNext, ActionId::MenuClipboard, ActionId::LeftHL,
                        ActionId::ToolFindIndex, ActionId::ToolRaw}) {
        EXPECT_FALSE(Enabled(id, none));
        EXPECT_TRUE(Enabled(id, open));
    }
    EXPECT_FALSE(Enabled(ActionId::ReLoad, open));
    open.FileKind = 2;
    EXPECT_FALSE(Enabled(ActionId::ToolRaw, open));
    // History buttons follow the navigation panel alone.
    none.CanGoBack = true;
    EXPECT_TRUE(Enabled(ActionId::GoBack, none));
    EXPECT_FALSE(Enabled(ActionId::GoForward, none));
}

TEST(ActionsTest, IslandCommands) {
    WActionState s;
    s.Collection = true;
    EXPECT_TRUE(Enabled(ActionId::CalculateIslands, s));
    EXPECT_FALSE(Enabled(ActionId::UseIslands, s));
    s.CalcIslandsSetting = true;
    EXPECT_FALSE(Enabled(ActionId::CalculateIslands, s));
    s.CalcIslandsSetting = false;
    s.IslandsComputed = true;
    EXPECT_FALSE(Enabled(ActionId::CalculateIslands, s));
    EXPECT_TRUE(Enabled(ActionId::UseIslands, s));

    std::string caption = "Use Islands";
    EXPECT_EQ(MainCommands::UseIslands(true, 4, 3, caption), MainCommands::IslandViewChange::Restrict);
    EXPECT_EQ(caption, "Use Island (3)");
    // A row beyond the island count keeps caption and view.
    EXPECT_EQ(MainCommands::UseIslands(true, 4, 5, caption), MainCommands::IslandViewChange::Keep);
    EXPECT_EQ(caption, "Use Island (3)");
    EXPECT_EQ(MainCommands::UseIslands(false, 4, 3, caption), MainCommands::IslandViewChange::Clear);
    EXPECT_EQ(caption, "Use Islands");
}

TEST(ActionsTest, LeftPanelButtonsToggleTheirPageAndSwitchOthers) {
    MainCommands::WLeftPanel panel(MainCommands::lpDirectory);
    auto step = panel.Choose(MainCommands::lpHighlighting, false);
    EXPECT_TRUE(step.Visible);
    EXPECT_EQ(step.QuickHelpEntry, QuickHelp::HighlightPanel);
    EXPECT_FALSE(step.RefillIslands);
    // The same button again hides, and again shows.
    EXPECT_FALSE(panel.Choose(MainCommands::lpHighlighting, true).Visible);
    EXPECT_TRUE(panel.Choose(MainCommands::lpHighlighting, false).Visible);
    // Another page while shown: switch, stay visible.
    step = panel.Choose(MainCommands::lpIslands, true);
    EXPECT_TRUE(step.Visible);
    EXPECT_EQ(step.QuickHelpEntry, QuickHelp::IslandsPanel);
    EXPECT_TRUE(step.RefillIslands);
    EXPECT_EQ(panel.Page(), MainCommands::lpIslands);
}

} // namespace
