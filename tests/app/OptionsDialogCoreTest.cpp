// What the options, list-columns and quick-help dialogs decide without a window.
#include <gtest/gtest.h>
#include <set>

#include "app/ColumnChoice.h"
#include "app/OptionsValues.h"
#include "app/QuickHelpText.h"
#include "columns/ListColumns.h"
#include "model/Options.h"
#include "support/MemCollection.h"

TEST(OptionsValues, LoadsAndSavesEveryControl) {
    WDefaultSettings defaults;
    // Every check box has its own setting and its setting exists in the table.
    std::set<int> settings;
    for (const WOptionCheck& c : kOptionChecks) {
        EXPECT_TRUE(settings.insert(c.Setting).second) << c.Control;
        EXPECT_GE(c.Setting, 1);
        EXPECT_LE(c.Setting, opt::kOptionCount);
    }
    EXPECT_EQ(OptionCheckIndex("cbUseLDS"), 9);
    EXPECT_EQ(OptionCheckIndex("nothing"), -1);

    WOptions::SetBool(opt::UseLDS, true);
    WOptions::SetBool(opt::ShowSplash, false);
    WOptions::SetInt(opt::FNValue, 3);
    WOptions::SetInt(opt::FontSize, 12);
    WOptions::SetInt(opt::HLCol, 0x00FF00);
    WOptions::SetInt(opt::HLTCol, 255);
    WOptionsValues v;
    v.Load();
    EXPECT_TRUE(v.Check("cbUseLDS"));
    EXPECT_FALSE(v.Check("cbShowSplash"));
    EXPECT_TRUE(v.Check("cbOpenLastFile"));   // default "T"
    EXPECT_FALSE(v.Check("cbTMGEngagement")); // default "F"
    EXPECT_EQ(v.NameValueItem, 2);
    EXPECT_EQ(v.FontSizeItem, 2);
    EXPECT_EQ(v.HLColor, 0x00FF00u);
    EXPECT_EQ(v.HLTextColor, 255u);

    // Round trip of every check box, each flipped in turn.
    for (int i = 0; i < kOptionCheckCount; ++i) {
        WOptionsValues w = v;
        w.Checks[static_cast<std::size_t>(i)] = !w.Checks[static_cast<std::size_t>(i)];
        w.Save();
        WOptionsValues back;
        back.Load();
        EXPECT_EQ(back.Checks, w.Checks) << kOptionChecks[static_cast<std::size_t>(i)].Control;
        v.Save();
    }
    v.FontSizeItem = 1;
    v.NameValueItem = 1;
    v.Save();
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "10");
    EXPECT_EQ(WOptions::GetString(opt::GridHeight), "16");
    EXPECT_EQ(WOptions::GetString(opt::FNValue), "2");
    EXPECT_EQ(WOptions::GetString(opt::HLCol), "65280");
}

TEST(OptionsValues, BadStoredValuesAreNotSavedBack) {
    WDefaultSettings defaults;
    WOptions::SetString(opt::FontSize, "9");
    WOptions::SetString(opt::GridHeight, "99");
    WOptions::SetString(opt::FNValue, "7");
    WOptions::SetString(opt::HLCol, "yellowish");
    WOptions::SetString(opt::HLTCol, "-5");
    WOptionsValues v;
    v.Load();
    EXPECT_EQ(v.FontSizeItem, 0);
    EXPECT_EQ(v.NameValueItem, 0);
    EXPECT_EQ(v.HLColor, 65535u); // the table's default
    EXPECT_EQ(v.HLTextColor, 0u);
    v.Save();
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "8");
    EXPECT_EQ(WOptions::GetString(opt::GridHeight), "14");
    EXPECT_EQ(WOptions::GetString(opt::FNValue), "1");
    EXPECT_EQ(WOptions::GetString(opt::HLCol), "65535");
    EXPECT_EQ(WOptions::GetString(opt::HLTCol), "0");

    for (const char* bad : {"0", "-1", "4", "", "2x"}) {
        WOptions::SetString(opt::FNValue, bad);
        WOptionsValues w;
        w.Load();
        EXPECT_EQ(w.NameValueItem, 0) << bad;
    }
    EXPECT_EQ(ColourFromSetting("16777215", 1), 0xFFFFFFu);
    EXPECT_EQ(ColourFromSetting("16777216", 1), 1u);
    EXPECT_EQ(ColourFromSetting("12 ", 1), 1u);
    EXPECT_EQ(ColourFromSetting("", 1), 1u);
    // Items outside the radio groups write the first choice, never garbage.
    WOptionsValues odd;
    odd.Load();
    odd.FontSizeItem = -1;
    odd.NameValueItem = 5;
    odd.Save();
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "8");
    EXPECT_EQ(WOptions::GetString(opt::FNValue), "1");
}

TEST(OptionsColumnChoice, LoadMovesAndColumnList) {
    WColumnChoice c;
    c.LoadIds({1, 2, 7});
    EXPECT_EQ(c.ChosenCount(), 3);
    EXPECT_EQ(c.GetColumnList(), "1,2,7");
    EXPECT_EQ(c.SourcePositions().size(), 65u);
    EXPECT_FALSE(c.IsAvailable(WListColumns::GetChooserPosition(7)));
    // The Master List runs in chooser order: 3 then 48 (positions 3 and 4).
    EXPECT_EQ(WListColumns::GetColumnIdAt(c.SourcePositions()[0]), 3);
    EXPECT_EQ(WListColumns::GetColumnIdAt(c.SourcePositions()[1]), 48);

    EXPECT_EQ(c.MoveRight(1), 1); // 48 appended; selection stays at index 1
    EXPECT_EQ(c.GetColumnList(), "1,2,7,48");
    EXPECT_EQ(c.MoveUp(3), 2);
    EXPECT_EQ(c.GetColumnList(), "1,2,48,7");
    EXPECT_EQ(c.MoveUp(0), 0);   // not past the top
    EXPECT_EQ(c.MoveDown(3), 3); // not past the bottom
    EXPECT_EQ(c.MoveDown(0), 1);
    EXPECT_EQ(c.GetColumnList(), "2,1,48,7");
    // Removing the last item selects the new last one.
    EXPECT_EQ(c.MoveLeft(3), 2);
    EXPECT_EQ(c.GetColumnList(), "2,1,48");
    EXPECT_TRUE(c.IsAvailable(WListColumns::GetChooserPosition(7)));
    EXPECT_EQ(c.MoveLeft(0), 0);
    EXPECT_EQ(c.GetColumnList(), "1,48");
    EXPECT_EQ(c.MoveLeft(7), 7); // out of range: nothing
    EXPECT_EQ(c.GetColumnList(), "1,48");

    c.AllRight();
    EXPECT_EQ(c.ChosenCount(), 68);
    EXPECT_TRUE(c.SourcePositions().empty());
    EXPECT_EQ(c.GetColumnList().substr(0, 7), "1,48,2,");
    WColumnChoice::Buttons b = c.Enabled(-1, 0);
    EXPECT_FALSE(b.AllRight);
    EXPECT_FALSE(b.Right);
    EXPECT_TRUE(b.Left && b.AllLeft && b.Down);
    EXPECT_FALSE(b.Up);
    b = c.Enabled(-1, 67);
    EXPECT_TRUE(b.Up);
    EXPECT_FALSE(b.Down);
    EXPECT_EQ(c.MoveRight(0), 0); // empty source: nothing
    c.AllLeft();
    EXPECT_EQ(c.ChosenCount(), 0);
    EXPECT_EQ(c.GetColumnList(), "");
    b = c.Enabled(0, -1);
    EXPECT_TRUE(b.Right && b.AllRight);
    EXPECT_FALSE(b.Left || b.AllLeft || b.Up || b.Down);
    EXPECT_EQ(c.MoveLeft(0), 0);
}

TEST(OptionsColumnChoice, RepeatedAndUnknownIdsCannotOverflow) {
    WColumnChoice c;
    c.LoadIds({1, 1, 99, 0, -3, 2, 2});
    EXPECT_EQ(c.GetColumnList(), "1,2");
    EXPECT_EQ(c.ChosenCount() + static_cast<int>(c.SourcePositions().size()), 68);
    c.AllRight();
    c.AllRight();
    EXPECT_EQ(c.ChosenCount(), 68);
    std::set<int> ids;
    for (int p : c.Chosen()) ids.insert(WListColumns::GetColumnIdAt(p));
    EXPECT_EQ(ids.size(), 68u);

    // Loaded from a column set as the dialog does.
    WListColumns set(nullptr, "List");
    set.SetColumnList("7,1,99,7");
    WColumnChoice d;
    d.Load(set);
    EXPECT_EQ(d.GetColumnList(), "7,1");
}

TEST(OptionsQuickHelpText, LinksAndNotice) {
    const auto links = ParseHelpLinks("Tabs Overview|999;General Tab|1000;;Bare;Bad|12x;Pipe|In|7");
    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].Title, "Tabs Overview");
    EXPECT_EQ(links[0].Context, 999);
    EXPECT_EQ(links[1].Context, 1000);
    EXPECT_EQ(links[2].Title, "Bare");
    EXPECT_EQ(links[2].Context, 0);
    EXPECT_EQ(links[3].Title, "Bad");
    EXPECT_EQ(links[3].Context, 0);
    EXPECT_EQ(links[4].Title, "Pipe|In");
    EXPECT_EQ(links[4].Context, 7);
    EXPECT_TRUE(ParseHelpLinks("").empty());
    EXPECT_EQ(QuickHelpNotice("List Tab"), "This help dialog box for \"List Tab\" is only displayed once.");
}
