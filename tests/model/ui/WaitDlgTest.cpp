#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "model/Global.h"
#include "model/WaitHooks.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"

namespace {

// Records whether a widget was ever shown.
class ShowSpy : public QObject {
public:
    bool shown = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Show) shown = true;
        return false;
    }
};

bool waitUntil(const std::function<bool()>& cond, int ms) {
    QElapsedTimer t;
    t.start();
    while (!cond()) {
        if (t.elapsed() > ms) return false;
        QTest::qWait(5);
    }
    return true;
}

int visibleWaitDialogs() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<TWaitDlg*>(w) && w->isVisible()) ++n;
    return n;
}

class WaitDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetHooks();
        Global::ForgetLargeFonts();
        plat::setCancelRequested(false);
        owner = new QWidget;
        owner->resize(200, 100);
        button = new QPushButton("Go", owner);
        button->setGeometry(10, 10, 80, 30);
        QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
        owner->show();
    }
    void TearDown() override {
        while (TWaitDlg::NestCount() > 0) TWaitDlg::HideWait();
        delete owner;
        WaitHooks::reset();
        plat::resetHooks();
        Global::ForgetLargeFonts();
    }

    QWidget* owner = nullptr;
    QPushButton* button = nullptr;
    int clicks = 0;
};

} // namespace

TEST_F(WaitDlgTest, HideWithinTheDelayNeverShows) {
    TWaitDlg::ShowWait("Reading.  Please Wait...", false, false, owner);
    QPointer<TWaitDlg> dlg = TWaitDlg::Instance();
    ASSERT_TRUE(dlg);
    ShowSpy spy;
    dlg->installEventFilter(&spy);
    EXPECT_FALSE(dlg->isVisible());
    QTest::qWait(20); // well inside the delay, even on a loaded machine
    EXPECT_FALSE(dlg->isVisible());
    TWaitDlg::HideWait();
    EXPECT_TRUE(dlg.isNull());
    EXPECT_EQ(TWaitDlg::Instance(), nullptr);
    EXPECT_EQ(TWaitDlg::NestCount(), 0);
    QTest::qWait(TWaitDlg::kShowDelayMs + 100);
    EXPECT_FALSE(spy.shown);
    EXPECT_EQ(visibleWaitDialogs(), 0);
    EXPECT_TRUE(owner->isEnabled());
}

TEST_F(WaitDlgTest, DeferredShowDisablesTheOwnerUntilHidden) {
    QElapsedTimer t;
    t.start();
    TWaitDlg::ShowWait("Sorting.  Please Wait...", false, false, owner);
    QPointer<TWaitDlg> dlg = TWaitDlg::Instance();
    ASSERT_TRUE(dlg);
    ASSERT_TRUE(waitUntil([&] { return dlg->isVisible(); }, 3000));
    EXPECT_GE(t.elapsed(), TWaitDlg::kShowDelayMs - 10);
    EXPECT_EQ(dlg->LabMsg->text(), "Sorting.  Please Wait...");
    EXPECT_EQ(dlg->windowTitle(), "Working...");
    EXPECT_FALSE(owner->isEnabled());
    EXPECT_FALSE(dlg->ShowTimer->isActive());
    TWaitDlg::HideWait();
    EXPECT_TRUE(dlg.isNull());
    EXPECT_TRUE(owner->isEnabled());
}

TEST_F(WaitDlgTest, ShowNowLeavesTheOwnerEnabled) {
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    TWaitDlg* dlg = TWaitDlg::Instance();
    ASSERT_TRUE(dlg);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_TRUE(owner->isEnabled());
    TWaitDlg::HideWait();
    EXPECT_TRUE(owner->isEnabled());
}

TEST_F(WaitDlgTest, HideGivesBackOnlyWhatItTook) {
    // The owner was disabled by someone else: the dialog must not enable it.
    owner->setEnabled(false);
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    TWaitDlg::HideWait();
    EXPECT_FALSE(owner->isEnabled());

    TWaitDlg::ShowWait("Reading.  Please Wait...", false, false, owner);
    QPointer<TWaitDlg> dlg = TWaitDlg::Instance();
    ASSERT_TRUE(waitUntil([&] { return dlg && dlg->isVisible(); }, 3000));
    TWaitDlg::HideWait();
    EXPECT_FALSE(owner->isEnabled());
}

TEST_F(WaitDlgTest, NestedShowsMakeOneDialog) {
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    QPointer<TWaitDlg> first = TWaitDlg::Instance();
    TWaitDlg::ShowWait("Sorting.  Please Wait...", false, true, owner);
    EXPECT_EQ(TWaitDlg::Instance(), first.data());
    EXPECT_EQ(TWaitDlg::NestCount(), 2);
    EXPECT_EQ(first->LabMsg->text(), "Reading.  Please Wait...");
    // The nested call still sets the button and the height.
    EXPECT_TRUE(first->butCancel->isVisible());
    EXPECT_EQ(first->height(), 100);
    TWaitDlg::HideWait();
    EXPECT_FALSE(first.isNull());
    EXPECT_TRUE(first->isVisible());
    TWaitDlg::HideWait();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(TWaitDlg::NestCount(), 0);
    // An extra hide does nothing.
    TWaitDlg::HideWait();
    EXPECT_EQ(TWaitDlg::NestCount(), 0);
    EXPECT_EQ(TWaitDlg::Instance(), nullptr);
    // And a new show starts afresh with its own message.
    TWaitDlg::ShowWait("Calculating.  Please Wait...", true, false, owner);
    ASSERT_TRUE(TWaitDlg::Instance());
    EXPECT_EQ(TWaitDlg::Instance()->LabMsg->text(), "Calculating.  Please Wait...");
    EXPECT_EQ(TWaitDlg::NestCount(), 1);
}

TEST_F(WaitDlgTest, CancelButtonSetsTheSharedFlag) {
    plat::setCancelRequested(true); // left over from an earlier operation
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, true, owner);
    TWaitDlg* dlg = TWaitDlg::Instance();
    ASSERT_TRUE(dlg);
    EXPECT_FALSE(plat::cancelRequested());
    EXPECT_TRUE(dlg->butCancel->isVisible());
    EXPECT_TRUE(dlg->butCancel->isEnabled());
    EXPECT_EQ(dlg->height(), 100);
    EXPECT_EQ(dlg->width(), 432);
    QTest::mouseClick(dlg->butCancel, Qt::LeftButton);
    EXPECT_TRUE(plat::cancelRequested());
    // Escape cancels too but does not close.
    plat::setCancelRequested(false);
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_TRUE(plat::cancelRequested());
    EXPECT_TRUE(dlg->isVisible());
    TWaitDlg::HideWait();
    // The flag keeps its value after the hide, for the loop to read.
    EXPECT_TRUE(plat::cancelRequested());
}

TEST_F(WaitDlgTest, WithoutCancelThereIsNoButton) {
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    TWaitDlg* dlg = TWaitDlg::Instance();
    ASSERT_TRUE(dlg);
    EXPECT_FALSE(dlg->butCancel->isVisible());
    EXPECT_FALSE(dlg->butCancel->isEnabled());
    EXPECT_EQ(dlg->height(), 67);
    QTest::keyClick(dlg, Qt::Key_Escape);
    EXPECT_FALSE(plat::cancelRequested());
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(WaitDlgTest, LargeFontsGrowTheDialog) {
    plat::hooks().screenDpi = [] { return 120; };
    Global::ForgetLargeFonts();
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, true, owner);
    ASSERT_TRUE(TWaitDlg::Instance());
    EXPECT_EQ(TWaitDlg::Instance()->height(), 125);
    TWaitDlg::HideWait();
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    EXPECT_EQ(TWaitDlg::Instance()->height(), 83);
}

TEST_F(WaitDlgTest, OtherWindowsGetNoInputWhileUp) {
    QTest::mouseClick(button, Qt::LeftButton);
    ASSERT_EQ(clicks, 1);
    TWaitDlg::ShowWait("Reading.  Please Wait...", true, false, owner);
    ASSERT_TRUE(owner->isEnabled()); // shown at once: only the filter holds input back
    QTest::mouseClick(button, Qt::LeftButton);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(owner->close());
    EXPECT_TRUE(owner->isVisible());

    // A modal dialog opened meanwhile (a message box) still takes its input.
    QDialog box;
    auto* ok = new QPushButton("OK", &box);
    int okClicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++okClicks; });
    box.setModal(true);
    box.show();
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(okClicks, 1);
    box.hide();

    TWaitDlg::HideWait();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
}

TEST_F(WaitDlgTest, CoreHooksReachTheDialog) {
    WaitHooks::ShowWait("Reading.  Please Wait...", true, true); // nothing installed: no-op
    EXPECT_EQ(TWaitDlg::Instance(), nullptr);
    WaitHooks::HideWait();
    EXPECT_EQ(TWaitDlg::NestCount(), 0);

    TWaitDlg::InstallHooks();
    {
        WaitHooks::WaitScope scope("Reading.  Please Wait...", true, true);
        ASSERT_TRUE(TWaitDlg::Instance());
        EXPECT_EQ(TWaitDlg::Instance()->LabMsg->text(), "Reading.  Please Wait...");
        EXPECT_TRUE(TWaitDlg::Instance()->isVisible());
        EXPECT_TRUE(TWaitDlg::Instance()->butCancel->isVisible());
    }
    EXPECT_EQ(TWaitDlg::Instance(), nullptr);
    EXPECT_EQ(TWaitDlg::NestCount(), 0);
}
