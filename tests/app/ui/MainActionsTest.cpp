#include <gtest/gtest.h>

#include <QAction>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QToolBar>

#include "app/ui/MainActions.h"

namespace {

struct MainActionsTest : ::testing::Test {
    void SetUp() override {
        TMainActions::Commands c;
        c.Print = [this] { ++prints; };
        c.FindNext = [this] { ++findNext; };
        c.ToggleRaw = [this] { state.ShowRaw = !state.ShowRaw; };
        c.MenuTab = [this](int tag) { tabs.push_back(tag); };
        c.UseIslands = [this](bool ticked) { useTicked = ticked; };
        // The window's tabs: one without a View menu item.
        const std::vector<TViewTab> tabs = {
            {.Page = TViewPage::pgSender, .Caption = "Sender"},
            {.Page = TViewPage::pgGeneral, .Caption = "General", .MenuCaption = "General Tab", .Shortcut = Qt::Key_F2},
            {.Page = TViewPage::pgList, .Caption = "List", .MenuCaption = "List Tab", .Shortcut = Qt::Key_F7}};
        actions = new TMainActions(&window, tabs, c, [this] {
            ++queries;
            return state;
        });
    }

    QMenu* menu(const QString& title) {
        for (QAction* a : window.menuBar()->actions())
            if (a->text() == title) return a->menu();
        return nullptr;
    }
    // Captions of a menu, separators as "-", hidden items left out.
    QStringList captions(QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions())
            if (a->isSeparator())
                out << "-";
            else if (a->isVisible())
                out << a->text();
        return out;
    }

    QMainWindow window;
    TMainActions* actions = nullptr;
    WActionState state;
    int queries = 0, prints = 0, findNext = 0;
    bool useTicked = false;
    std::vector<int> tabs;
};

TEST_F(MainActionsTest, MenuStructureCaptionsAndShortcuts) {
    QStringList titles;
    for (QAction* a : window.menuBar()->actions()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{"&File", "Edit", "View", "Tools", "&Help"}));
    EXPECT_EQ(captions(menu("&File")), (QStringList{"&Open", "Print", "-", "-", "E&xit"}));
    EXPECT_EQ(actions->LastFileItems().size(), 10u);
    EXPECT_EQ(captions(menu("Edit")),
              (QStringList{"Copy To Clipboard", "-", "Find Next", "Find Previous", "-", "Next Highlighted Individual",
                           "Previous Highlighted Individual", "-", "Quick Find...", "Advanced Find ..."}));
    const QStringList view = captions(menu("View"));
    EXPECT_EQ(view, (QStringList{"Directory Panel", "File Search Panel", "Highlighting Panel", "Islands Panel", "-",
                                 "General Tab", "List Tab", "Internet Tab"}));
    EXPECT_EQ(captions(menu("Tools")),
              (QStringList{"Options...", "-", "Make Self-Viewing GEDCOM", "-", "Check for Updates"}));
    // "User Manual" and "Make a Suggestion" are there but hidden.
    EXPECT_EQ(captions(menu("&Help")), (QStringList{"Reset Quick Help Dialog Boxes", "-", "-", "&About..."}));
    EXPECT_EQ(menu("&Help")->actions().size(), 6);

    const std::pair<ActionId, const char*> keys[] = {{ActionId::MenuClipboard, "Ctrl+C"},
                                                     {ActionId::MenuFindNext, "Ctrl+N"},
                                                     {ActionId::MenuFindPrev, "Ctrl+Shift+N"},
                                                     {ActionId::MenuFileOpen, "Ctrl+O"},
                                                     {ActionId::MenuPrint, "Ctrl+P"},
                                                     {ActionId::MenuQuickFind, "Ctrl+Q"},
                                                     {ActionId::MenuFind, "Ctrl+F"},
                                                     {ActionId::NextHighlighted, "Ctrl+H"},
                                                     {ActionId::PreviousHighlighted, "Ctrl+Shift+H"},
                                                     {ActionId::Options, "Ctrl+J"}};
    for (const auto& [id, key] : keys) EXPECT_EQ(actions->Action(id)->shortcut().toString(), key);
    EXPECT_EQ(actions->TabItems().back()->shortcut().toString(), "F11");
    // No two commands share a shortcut.
    QStringList all;
    for (QAction* a : window.findChildren<QAction*>())
        if (!a->shortcut().isEmpty()) all << a->shortcut().toString();
    EXPECT_EQ(all.size(), QSet<QString>(all.begin(), all.end()).size());
    // Hints: short part as tooltip, long part on the status bar.
    EXPECT_EQ(actions->Action(ActionId::FileExit)->toolTip(), "Exit");
    EXPECT_EQ(actions->Action(ActionId::FileExit)->statusTip(), "Exit application");
    EXPECT_TRUE(actions->ToolBar()->actions().contains(actions->Action(ActionId::ToolFindNext)));
}

TEST_F(MainActionsTest, UpdatePassRunsWhenTheLoopWaitsAndBeforeExecuting) {
    // Nothing open: only the plain commands.
    EXPECT_FALSE(actions->Action(ActionId::MenuPrint)->isEnabled());
    EXPECT_TRUE(actions->Action(ActionId::FileExit)->isEnabled());
    state.Collection = true;
    state.FileKind = 1;
    const int before = actions->UpdatePasses();
    // A real wait of the loop, not a pass through pending events.
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_GT(actions->UpdatePasses(), before);
    EXPECT_TRUE(actions->Action(ActionId::ToolRaw)->isEnabled());
    // The features kept as controls stay disabled with a file open.
    for (ActionId id :
         {ActionId::MenuFileOpen, ActionId::FileOpen, ActionId::ReLoad, ActionId::MenuSelfX, ActionId::MenuCheckUpdates,
          ActionId::LeftDir, ActionId::MenuLeftSearch, ActionId::ExportIslands})
        EXPECT_FALSE(actions->Action(id)->isEnabled());

    actions->Action(ActionId::MenuPrint)->trigger();
    actions->Action(ActionId::ToolPrint)->trigger();
    EXPECT_EQ(prints, 2);
    // The file went away since the last pass: the command no longer runs.
    state.Collection = false;
    ASSERT_TRUE(actions->Action(ActionId::MenuFindNext)->isEnabled());
    actions->Action(ActionId::MenuFindNext)->trigger();
    EXPECT_EQ(findNext, 0);
    EXPECT_FALSE(actions->Action(ActionId::MenuFindNext)->isEnabled());
}

TEST_F(MainActionsTest, RawButtonFollowsTheStateAndTabItemsPassTheirTag) {
    state.Collection = true;
    state.FileKind = 1;
    actions->UpdateActions();
    QAction* raw = actions->Action(ActionId::ToolRaw);
    raw->trigger();
    actions->UpdateActions();
    EXPECT_TRUE(state.ShowRaw);
    EXPECT_TRUE(raw->isChecked());
    raw->trigger();
    actions->UpdateActions();
    EXPECT_FALSE(raw->isChecked());

    actions->TabItems()[0]->trigger();
    actions->TabItems()[1]->trigger();
    // The Internet item (no tab here) stays greyed through the update pass.
    actions->UpdateActions();
    EXPECT_FALSE(actions->TabItems()[2]->isEnabled());
    actions->TabItems()[2]->trigger();
    EXPECT_EQ(tabs, (std::vector<int>{1, 2}));

    state.IslandsComputed = true;
    actions->UpdateActions();
    actions->Action(ActionId::UseIslands)->trigger();
    EXPECT_TRUE(useTicked);
}

} // namespace
