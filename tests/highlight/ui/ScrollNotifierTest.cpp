#include <gtest/gtest.h>

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "highlight/ui/ScrollNotifier.h"

namespace {

std::vector<int> codes(const QSignalSpy& spy) {
    std::vector<int> r;
    for (const auto& args : spy) r.push_back(args.at(0).toInt());
    return r;
}

TEST(ScrollNotifier, ArrowHeldEndsWithTheRelease) {
    QScrollBar bar(Qt::Horizontal);
    bar.setRange(0, 100);
    bar.resize(200, 16);
    bar.show();
    auto* n = new WScrollNotifier(&bar);
    QSignalSpy spy(n, &WScrollNotifier::scroll);
    const QPoint arrow(bar.width() - 4, bar.height() / 2);
    QTest::mousePress(&bar, Qt::LeftButton, Qt::NoModifier, arrow);
    QTest::qWait(20);
    ASSERT_GE(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), int(WScrollNotifier::LineDown));
    EXPECT_EQ(spy.at(0).at(1).toInt(), 1); // the position the step leads to
    for (int c : codes(spy)) EXPECT_NE(c, int(WScrollNotifier::EndScroll));
    QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, arrow);
    QTest::qWait(20);
    EXPECT_EQ(codes(spy).back(), int(WScrollNotifier::EndScroll));
    EXPECT_GE(bar.value(), 1);
}

TEST(ScrollNotifier, ProgramChangesAreSilentAndDragsTrack) {
    QScrollBar bar(Qt::Horizontal);
    bar.setRange(0, 100);
    auto* n = new WScrollNotifier(&bar);
    QSignalSpy spy(n, &WScrollNotifier::scroll);
    bar.setValue(40);
    QTest::qWait(10);
    EXPECT_EQ(spy.count(), 0);

    bar.setSliderDown(true);
    bar.setSliderPosition(60);
    bar.setSliderDown(false);
    QTest::qWait(10);
    EXPECT_EQ(codes(spy),
              (std::vector<int>{WScrollNotifier::Track, WScrollNotifier::Position, WScrollNotifier::EndScroll}));
    EXPECT_EQ(spy.at(1).at(1).toInt(), 60);

    spy.clear();
    bar.triggerAction(QAbstractSlider::SliderToMaximum);
    bar.triggerAction(QAbstractSlider::SliderPageStepSub);
    QTest::qWait(10);
    EXPECT_EQ(codes(spy),
              (std::vector<int>{WScrollNotifier::Bottom, WScrollNotifier::PageUp, WScrollNotifier::EndScroll}));
}

} // namespace
