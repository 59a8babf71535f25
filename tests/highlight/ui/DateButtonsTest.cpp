#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include "highlight/ui/DateButtons.h"
#include "highlight/ui/UpDownButton.h"

namespace {

QString caption(QToolButton* b) { return b->text(); }

// The events a real double click delivers: press, release, double click, release.
void realDoubleClick(QWidget* w) {
    const QPointF p(w->width() / 2.0, w->height() / 2.0);
    const QPointF g = w->mapToGlobal(p);
    QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release2(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
    QApplication::sendEvent(w, &dbl);
    QApplication::sendEvent(w, &release2);
}

TEST(DateButtons, LayoutAndCaptions) {
    WDateButtons b;
    // Side by side, never narrower than designed (16, 24, 29).
    EXPECT_EQ(b.DayButton()->geometry().topLeft(), QPoint(0, 0));
    EXPECT_EQ(b.MonthButton()->x(), b.DayButton()->geometry().right() + 1);
    EXPECT_EQ(b.YearButton()->x(), b.MonthButton()->geometry().right() + 1);
    EXPECT_EQ(b.size(), QSize(b.YearButton()->geometry().right() + 1, 22));
    EXPECT_GE(b.DayButton()->width(), 16);
    EXPECT_GE(b.MonthButton()->width(), 24);
    EXPECT_GE(b.YearButton()->width(), 29);
    EXPECT_EQ(b.DayButton()->cursor().shape(), Qt::BitmapCursor);
    b.SetDate(25, 12, 1850);
    EXPECT_EQ(caption(b.DayButton()), QString("25"));
    EXPECT_EQ(caption(b.MonthButton()), QString("Dec"));
    EXPECT_EQ(caption(b.YearButton()), QString("1850"));
    // Each caption shows whole in the button's font.
    for (QToolButton* w : {static_cast<QToolButton*>(b.DayButton()), static_cast<QToolButton*>(b.MonthButton()),
                           static_cast<QToolButton*>(b.YearButton())})
        EXPECT_LT(w->fontMetrics().horizontalAdvance(caption(w)), w->width());
    EXPECT_EQ(b.GetDateText(), "25 Dec 1850");
    b.SetDateText("1850");
    EXPECT_EQ(caption(b.DayButton()), QString("__"));
    EXPECT_EQ(caption(b.MonthButton()), QString("___"));
    EXPECT_EQ(b.GetYear(), 1850);
}

TEST(DateButtons, LeftStepsBackRightStepsForward) {
    WDateButtons b;
    b.SetDate(1, 1, 1850);
    QSignalSpy change(&b, &WDateButtons::OnChange);
    QTest::mouseClick(b.DayButton(), Qt::LeftButton);
    EXPECT_EQ(b.GetDateText(), "31 Dec 1849");
    EXPECT_EQ(change.count(), 1);
    QTest::mouseClick(b.DayButton(), Qt::RightButton);
    EXPECT_EQ(b.GetDateText(), "1 Jan 1850");
    QTest::mouseClick(b.MonthButton(), Qt::RightButton);
    EXPECT_EQ(caption(b.MonthButton()), QString("Feb"));
    QTest::mouseClick(b.YearButton(), Qt::LeftButton);
    EXPECT_EQ(caption(b.YearButton()), QString("1849"));
    EXPECT_EQ(b.GetDateText(), "1 Feb 1849");
    EXPECT_EQ(change.count(), 4);
    // A press that leaves the button before its release is no click.
    QTest::mousePress(b.YearButton(), Qt::LeftButton);
    QTest::mouseRelease(b.YearButton(), Qt::LeftButton, Qt::NoModifier, QPoint(-5, -5));
    EXPECT_EQ(change.count(), 4);
}

TEST(DateButtons, RefusedStepStillReportsAChange) {
    WDateButtons b;
    b.SetDateText("1850");
    QSignalSpy change(&b, &WDateButtons::OnChange);
    QTest::mouseClick(b.DayButton(), Qt::LeftButton);
    QTest::mouseClick(b.MonthButton(), Qt::RightButton);
    EXPECT_EQ(b.GetDateText(), "1850");
    EXPECT_EQ(caption(b.DayButton()), QString("__"));
    EXPECT_EQ(change.count(), 2);
}

TEST(DateButtons, DoubleClickMakesDayUnknownAndBack) {
    WDateButtons b;
    b.SetDate(25, 12, 1850);
    QSignalSpy change(&b, &WDateButtons::OnChange);
    realDoubleClick(b.DayButton());
    EXPECT_EQ(b.GetDay(), 0);
    EXPECT_EQ(caption(b.DayButton()), QString("__"));
    EXPECT_EQ(b.GetMonth(), 12);
    realDoubleClick(b.DayButton());
    EXPECT_EQ(b.GetDay(), 25);
    EXPECT_EQ(b.GetDateText(), "25 Dec 1850");
    EXPECT_GE(change.count(), 2);

    // The same through the test library's own double click.
    QTest::mouseDClick(b.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(b.GetMonth(), 0);
    EXPECT_EQ(caption(b.MonthButton()), QString("___"));
    QTest::mouseDClick(b.MonthButton(), Qt::LeftButton);
    EXPECT_EQ(b.GetMonth(), 12);
    EXPECT_EQ(b.GetDay(), 25);
    EXPECT_EQ(b.GetYear(), 1850);
}

} // namespace
