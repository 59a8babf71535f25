// The navigation panel as a widget: what the user's clicks and scrolls do.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

#include "app/navpanel/IndScroll.h"
#include "highlight/ABSHighLighter.h"
#include "highlight/ui/SelectionButton.h"
#include "support/MemCollection.h"

namespace {

class WMarkOne : public WABSHighLighter {
public:
    WMarkOne(WABSCollection* c, int who) : WABSHighLighter(c->GetIndividualCount(), c), FWho(who) {}
    void Evaluate(std::int32_t i) override { SetResult(i, i == FWho); }
    void Prepare() override { Reset(stUnknown); }
    void GetDescription(std::string& s) override { s.clear(); }

private:
    int FWho;
};

class IndScrollWidget : public ::testing::Test {
protected:
    void fill(WMemCollection& c, int n) {
        for (int i = 0; i < n; ++i) c.AddPerson("P" + std::to_string(i + 1) + " /Test/", 'M');
    }
    WDefaultSettings defaults;
};

TEST_F(IndScrollWidget, LayoutAndScrollRange) {
    WIndScroll s;
    s.resize(300, 41);
    s.show();
    EXPECT_EQ(s.height(), 41);
    EXPECT_EQ(s.ScrollBar->pos(), QPoint(21, 20));
    EXPECT_EQ(s.ScrollBar->width(), 300 - 8 - 32 - 2);
    EXPECT_EQ(s.NextHLButton->x(), 300 - 16 - 3);
    EXPECT_EQ(s.FatherButton->geometry(), QRect(300 - 3 - 48, 0, 16, 17));
    EXPECT_EQ(s.RelativesButton->x(), 300 - 3 - 16);
    EXPECT_EQ(s.CaptionLabel->width(), 300 - 3 - 48 - 3 - 3);
    EXPECT_FALSE(s.ScrollBar->isEnabled()); // no collection yet
    EXPECT_FALSE(s.FatherButton->isEnabled());
    EXPECT_EQ(s.PrevHLButton->toolTip(), QString("Previous Highlighted Individual"));
    EXPECT_FALSE(s.NextHLButton->icon().isNull());

    WMemCollection c150;
    fill(c150, 150);
    QSignalSpy changed(&s, &WIndScroll::OnChange);
    s.SetCollection(&c150);
    EXPECT_TRUE(s.ScrollBar->isEnabled());
    EXPECT_EQ(s.ScrollBar->minimum(), 1);
    EXPECT_EQ(s.ScrollBar->maximum(), 150);
    EXPECT_EQ(s.ScrollBar->pageStep(), 1);
    EXPECT_GE(changed.count(), 1);
    EXPECT_TRUE(s.CaptionLabel->text().startsWith(" 1 - "));

    WMemCollection c1000;
    fill(c1000, 1000);
    s.SetCollection(&c1000);
    EXPECT_EQ(s.ScrollBar->pageStep(), 10);
    s.SetCurrentIndividual(640);
    EXPECT_EQ(s.ScrollBar->value(), 640);
    EXPECT_TRUE(s.CaptionLabel->text().startsWith(" 640 - "));
    s.SetFontSize(12);
    EXPECT_EQ(s.CaptionLabel->height(), 18);
    s.SetCollection(nullptr);
    EXPECT_FALSE(s.ScrollBar->isEnabled());
    EXPECT_EQ(s.CaptionLabel->text(), QString());
}

TEST_F(IndScrollWidget, UserScrollIsRecordedAndClearsForward) {
    WMemCollection c;
    fill(c, 20);
    WIndScroll s;
    s.resize(300, 41);
    s.show();
    s.SetCollection(&c);
    s.SetCurrentIndividual(5);
    s.SetCurrentIndividual(7);
    s.Back();
    ASSERT_EQ(s.GetCurrentIndividual(), 5);
    ASSERT_TRUE(s.CanGoForward());
    // Moves made by the program are no user scrolls.
    s.SetCurrentIndividual(5);
    EXPECT_TRUE(s.CanGoForward());

    QSignalSpy changed(&s, &WIndScroll::OnChange);
    s.ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(s.GetCurrentIndividual(), 6);
    EXPECT_GE(changed.count(), 1);
    EXPECT_FALSE(s.CanGoForward());
    QTest::qWait(20); // the end of the scroll arrives after the step
    s.Back();
    EXPECT_EQ(s.GetCurrentIndividual(), 5);
    s.Forward();
    EXPECT_EQ(s.GetCurrentIndividual(), 6);

    // Dragging the thumb: tracked positions, then the release.
    s.ScrollBar->setSliderDown(true);
    s.ScrollBar->setSliderPosition(15);
    EXPECT_EQ(s.GetCurrentIndividual(), 15);
    s.ScrollBar->setSliderDown(false);
    QTest::qWait(20);
    s.Back();
    EXPECT_EQ(s.GetCurrentIndividual(), 6);
    std::string list;
    s.GetForwardList(list);
    EXPECT_EQ(list, "15,");
}

TEST_F(IndScrollWidget, ParentsRelativesAndHighlightedCaption) {
    WMemCollection c;
    const int dad = c.AddPerson("Dad <b>&amp; /Semi;Colon/", 'M');
    const int mum = c.AddPerson("-", 'F');
    const int me = c.AddPerson("Me /Test/", 'M');
    c.AddFamily(dad, mum).Child(me);
    const int wife = c.AddPerson("-", 'F');
    auto fam = c.AddFamily(me, wife);
    std::vector<int> kids;
    for (int i = 0; i < 60; ++i) {
        kids.push_back(c.AddPerson("Kid;" + std::to_string(i) + " /Test/", 'M').Birth(std::to_string(1850 + i)));
        fam.Child(kids.back());
    }
    WIndScroll s;
    s.resize(300, 41);
    s.show();
    s.SetCollection(&c);
    s.SetCurrentIndividual(me);
    EXPECT_TRUE(s.FatherButton->isEnabled());
    QTextDocument tip; // the hint as it shows: the name's markup as text
    tip.setHtml(s.FatherButton->toolTip());
    EXPECT_EQ(tip.toPlainText().toStdString(), c.GetName(dad));
    EXPECT_FALSE(s.CaptionLabel->toolTip().isEmpty());

    // The relatives list, built when the button is clicked.
    QTest::mouseClick(s.RelativesButton, Qt::LeftButton);
    QMenu* menu = s.RelativesButton->Menu();
    menu->hide();
    ASSERT_EQ(menu->actions().size(), 61);
    for (QAction* a : menu->actions()) EXPECT_FALSE(a->isSeparator());
    menu->actions()[0]->trigger(); // the spouse named "-"
    EXPECT_EQ(s.GetCurrentIndividual(), wife);
    s.SetCurrentIndividual(me);
    QTest::mouseClick(s.RelativesButton, Qt::LeftButton);
    menu->hide();
    menu->actions()[56]->trigger(); // child 56 in birth order
    EXPECT_EQ(s.GetCurrentIndividual(), kids[55]);

    QTest::mouseClick(s.FatherButton, Qt::LeftButton);
    EXPECT_EQ(s.GetCurrentIndividual(), me);
    QTest::mouseClick(s.FatherButton, Qt::LeftButton);
    EXPECT_EQ(s.GetCurrentIndividual(), dad);
    EXPECT_FALSE(s.FatherButton->isEnabled());
    EXPECT_TRUE(s.RelativesButton->isEnabled());

    WMarkOne mark(&c, mum);
    s.SetHighLighter(&mark);
    EXPECT_TRUE(s.NextHLButton->isEnabled());
    QTest::mouseClick(s.NextHLButton, Qt::LeftButton);
    EXPECT_EQ(s.GetCurrentIndividual(), mum);
    const QPalette pal = s.CaptionLabel->palette();
    EXPECT_EQ(pal.color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(pal.color(QPalette::WindowText), QColor(0, 0, 0));
    QTest::mouseClick(s.NextHLButton, Qt::LeftButton); // nobody after her
    EXPECT_EQ(s.GetCurrentIndividual(), mum);
    s.SetHighLighter(nullptr);
    EXPECT_FALSE(s.NextHLButton->isEnabled());
    EXPECT_NE(s.CaptionLabel->palette().color(QPalette::Window), QColor(255, 255, 0));
}

} // namespace
