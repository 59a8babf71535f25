#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

#include "highlight/ui/SelectionButton.h"
#include "platform/ui/QtText.h"

namespace {

TEST(SelectionButton, FourFindItemsNumberedInOrder) {
    WSelectionButton b;
    b.SetUpdateCaption(true);
    b.SetItemString("Find Index:;Find REF:;Find Surname:;Find Given:");
    ASSERT_EQ(b.Items().size(), 4u);
    QSignalSpy change(&b, &WSelectionButton::OnItemChange);
    ASSERT_TRUE(b.ChooseNumber(3));
    EXPECT_EQ(b.ItemSelected(), 3);
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(b.text(), QString("Find Surname:"));
    // Set from outside: the caption follows too.
    b.SetItemSelected(1);
    EXPECT_EQ(b.text(), QString("Find Index:"));
    EXPECT_EQ(change.count(), 1);
    EXPECT_EQ(b.GetItemString(), "Find Index:;Find REF:;Find Surname:;Find Given:");
}

TEST(SelectionButton, SeparatorsAreSkippedInClickNumbers) {
    WSelectionButton b;
    b.SetItemString("A;-;B");
    ASSERT_EQ(b.Items().size(), 3u);
    EXPECT_TRUE(b.Items()[1].separator);
    EXPECT_EQ(b.NumberAt(0), 1);
    EXPECT_EQ(b.NumberAt(1), 0);
    EXPECT_EQ(b.NumberAt(2), 2);
    // A click on B through the menu itself reports 2.
    QAction* last = b.Menu()->actions().back();
    ASSERT_EQ(last->text(), QString("B"));
    last->trigger();
    EXPECT_EQ(b.ItemSelected(), 2);
    // Without caption updates the caption stays.
    b.setText("S");
    b.ChooseNumber(1);
    EXPECT_EQ(b.text(), QString("S"));
}

TEST(SelectionButton, ListItemsMayHoldSemicolonsAndDashes) {
    WSelectionButton b;
    b.SetItems(std::vector<std::string>{"Smith; John", "-", "Doe & Roe"});
    ASSERT_EQ(b.Menu()->actions().size(), 3);
    for (QAction* a : b.Menu()->actions()) EXPECT_FALSE(a->isSeparator());
    // "&" is shown as itself, not as an accelerator.
    EXPECT_EQ(b.Menu()->actions()[2]->text(), QString("Doe && Roe"));
    b.ChooseNumber(2);
    EXPECT_EQ(b.ItemSelected(), 2);
    b.ChooseNumber(3);
    EXPECT_EQ(b.ItemSelected(), 3);
    EXPECT_FALSE(b.ChooseNumber(4));
}

TEST(SelectionButton, ClickAsksOwnerBeforeShowingTheList) {
    WSelectionButton b;
    b.resize(16, 17);
    int itemsAtShow = -1;
    QObject::connect(&b, &WSelectionButton::OnBeforeShow, &b, [&] {
        b.SetItemString("X;Y");
        itemsAtShow = int(b.Items().size());
    });
    QTest::mouseClick(&b, Qt::LeftButton);
    EXPECT_EQ(itemsAtShow, 2);
    EXPECT_TRUE(b.Menu()->isVisible());
    b.Menu()->hide();
    // Many items: all of them stay reachable.
    std::vector<std::string> many;
    for (int i = 0; i < 120; ++i) many.push_back("item " + std::to_string(i));
    b.SetItems(many);
    ASSERT_TRUE(b.ChooseNumber(100));
    EXPECT_EQ(b.ItemSelected(), 100);
}

} // namespace
