#include <gtest/gtest.h>

#include <QCalendarWidget>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

#include "highlight/ui/ScrollNotifier.h"
#include "highlight/ui/dlgDatePick.h"
#include "platform/Hooks.h"
#include "support/MemCollection.h"

namespace {

// The year scale's notifier reports a scroll as the bar would.
void scrollYear(TdlgDatePick& d, int code, int pos) {
    auto* notifier = d.ScrollYear->findChild<WScrollNotifier*>();
    ASSERT_NE(notifier, nullptr);
    emit notifier->scroll(code, pos);
}

class DatePick : public ::testing::Test {
protected:
    void SetUp() override {
        plat::hooks().showMessage = [this](const std::string& t) { messages.push_back(t); };
    }
    void TearDown() override { plat::resetHooks(); }
    std::vector<std::string> messages;
};

TEST_F(DatePick, SetDateFillsEveryPart) {
    TdlgDatePick d;
    EXPECT_EQ(d.windowTitle(), QString("Date Dialog Box"));
    d.SetDate(1850, 12, 25);
    EXPECT_EQ(d.labDate->text(), QString("25 Dec 1850"));
    EXPECT_EQ(d.edtDate->text(), QString("25 Dec 1850"));
    EXPECT_EQ(d.labMinYear->text(), QString("1750"));
    EXPECT_EQ(d.labq1Year->text(), QString("1800"));
    EXPECT_EQ(d.labMidYear->text(), QString("1850"));
    EXPECT_EQ(d.LabQ3Year->text(), QString("1900"));
    EXPECT_EQ(d.labMaxYear->text(), QString("1950"));
    EXPECT_EQ(d.ScrollYear->value(), 100);
    EXPECT_EQ(d.BaseYear(), 1850);
    EXPECT_EQ(d.Calendar->selectedDate(), QDate(1850, 12, 25));
    EXPECT_EQ(d.Calendar->firstDayOfWeek(), Qt::Sunday);
    EXPECT_EQ(d.YearLine->x(), int(d.MarkerX(100)));
    EXPECT_EQ(d.labMovingYear->text(), QString("1850"));
}

TEST_F(DatePick, EditTextBecomesTheDate) {
    TdlgDatePick d;
    d.SetDate(1900, 5, 5);
    d.edtDate->setText("1850");
    emit d.edtDate->editingFinished();
    EXPECT_EQ(d.GetYear(), 1850);
    EXPECT_EQ(d.GetMonth(), 1);
    EXPECT_EQ(d.GetDay(), 1);
    EXPECT_EQ(d.labDate->text(), QString("1 Jan 1850"));
    // No year: refused, the date stays.
    d.edtDate->setText("Dec");
    emit d.edtDate->editingFinished();
    EXPECT_EQ(d.GetYear(), 1850);
    EXPECT_TRUE(messages.empty());
    d.edtDate->setText("Dec");
    d.butOK->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Invalid date format.  please try again");
    EXPECT_NE(d.result(), int(QDialog::Accepted));
    d.edtDate->setText("3 Mar 1799");
    d.butOK->click();
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
    EXPECT_EQ(d.GetDay(), 3);
    EXPECT_EQ(d.GetMonth(), 3);
    EXPECT_EQ(d.GetYear(), 1799);
}

TEST_F(DatePick, YearScaleFollowsTheScrollAndRecentres) {
    TdlgDatePick d;
    d.SetDate(1900, 6, 15);
    scrollYear(d, WScrollNotifier::Track, 150);
    EXPECT_TRUE(d.Scrolling());
    EXPECT_EQ(d.GetYear(), 1950);
    EXPECT_EQ(d.labMidYear->text(), QString("1900")); // the scale holds still while scrolling
    EXPECT_EQ(d.labMovingYear->text(), QString("1950"));
    EXPECT_EQ(d.YearLine->x(), int((150 / 200.0 * 322 + 47)));
    scrollYear(d, WScrollNotifier::EndScroll, 150);
    EXPECT_FALSE(d.Scrolling());
    EXPECT_EQ(d.GetYear(), 1950);
    EXPECT_EQ(d.labMidYear->text(), QString("1950"));
    EXPECT_EQ(d.ScrollYear->value(), 100);
    EXPECT_EQ(d.BaseYear(), 1950);

    // Through the bar itself: a page step right, then the end of the scroll.
    d.ScrollYear->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(d.GetYear(), 1960);
    EXPECT_TRUE(d.Scrolling());
    QTest::qWait(20);
    EXPECT_FALSE(d.Scrolling());
    EXPECT_EQ(d.labMidYear->text(), QString("1960"));
    EXPECT_EQ(d.ScrollYear->value(), 100);
    EXPECT_EQ(d.GetMonth(), 6);
    EXPECT_EQ(d.GetDay(), 15);
}

TEST_F(DatePick, StepsMonthsCenturiesAndToday) {
    WFixedToday today(2001, 2, 3);
    TdlgDatePick d;
    EXPECT_EQ(d.labDate->text(), QString("3 Feb 2001"));
    d.SetDate(1850, 12, 31);
    d.sbNextDay->click();
    EXPECT_EQ(d.labDate->text(), QString("1 Jan 1851"));
    d.sbPreDay->click();
    d.sbPreMonth->click();
    EXPECT_EQ(d.labDate->text(), QString("30 Nov 1850"));
    d.sbNextMonth->click();
    d.sbNextYear->click();
    d.sbPreYear->click();
    EXPECT_EQ(d.labDate->text(), QString("30 Dec 1850"));
    d.SpeedButton1->click();
    EXPECT_EQ(d.GetYear(), 1750);
    d.SpeedButton2->click();
    d.SpeedButton2->click();
    EXPECT_EQ(d.GetYear(), 1950);
    EXPECT_EQ(d.labMidYear->text(), QString("1950"));
    d.sbMonth[2]->click();
    EXPECT_EQ(d.labDate->text(), QString("30 Mar 1950"));
    d.Calendar->setSelectedDate(QDate(1950, 3, 9));
    EXPECT_EQ(d.GetDay(), 9);
    d.SpeedButton3->click();
    EXPECT_EQ(d.labDate->text(), QString("3 Feb 2001"));
    // A day the month does not have: the calendar keeps within the month.
    d.SetDate(1950, 1, 31);
    d.sbMonth[1]->click();
    EXPECT_EQ(d.Calendar->selectedDate().month(), 2);
}

} // namespace
