// The small dialogs as a user meets them: what each shows, what its buttons
// do, and that cancelling changes nothing.
#include <cstdlib>
#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "app/ui/FlashDialog.h"
#include "app/ui/InitHelpDialog.h"
#include "app/ui/ListClipDialog.h"
#include "app/ui/NXAboutBox.h"
#include "app/ui/OptionsDlg.h"
#include "app/ui/URLLabel.h"
#include "app/ui/dlgListColumns.h"
#include "columns/ListColumns.h"
#include "model/Options.h"
#include "platform/ui/QtText.h"
#include "support/MemCollection.h"

namespace {

// BRENTHAUL_GRAB_DIR=<folder> saves a picture of each dialog for a look.
void grab(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("BRENTHAUL_GRAB_DIR")) {
        w->show();
        QTest::qWait(20);
        w->grab().save(QString(dir) + "/" + name + ".png");
    }
}

QStringList items(const QListWidget* l) {
    QStringList s;
    for (int i = 0; i < l->count(); ++i) s << l->item(i)->text();
    return s;
}

} // namespace

TEST(DialogsListColumns, FillsMovesAndKeepsTheSetUntouched) {
    WListColumns set(nullptr, "List");
    set.SetColumnList("1,2,7");
    TdlgListColumns d(nullptr, &set);
    EXPECT_EQ(d.windowTitle(), QString("List Columns"));
    EXPECT_EQ(items(d.lbDest), (QStringList{"Index", toQ(set.GetTitleForId(2, true)), "Surname, Given"}));
    EXPECT_EQ(d.lbSource->count(), 65);
    EXPECT_EQ(d.labSourceCount->text(), QString("65 Items"));
    EXPECT_EQ(d.labDestCount->text(), QString("3 Items"));
    EXPECT_EQ(d.lbSource->currentRow(), 0);
    EXPECT_EQ(d.lbDest->currentRow(), 0);
    EXPECT_EQ(d.sbRight->toolTip(), QString("Move column to the right"));
    EXPECT_TRUE(d.sbRight->isEnabled());
    EXPECT_FALSE(d.sbUp->isEnabled()); // first item selected
    EXPECT_TRUE(d.sbDown->isEnabled());
    grab(&d, "dlgListColumns");

    // Double-click in the Master List moves the item right.
    const QString first = d.lbSource->item(0)->text();
    emit d.lbSource->itemDoubleClicked(d.lbSource->item(0));
    EXPECT_EQ(d.lbDest->item(3)->text(), first);
    EXPECT_EQ(d.labDestCount->text(), QString("4 Items"));
    EXPECT_EQ(d.lbSource->currentRow(), 0);

    // Moving the last chosen column left selects the new last item.
    d.lbDest->setCurrentRow(3);
    EXPECT_FALSE(d.sbDown->isEnabled());
    QTest::mouseClick(d.sbLeft, Qt::LeftButton);
    EXPECT_EQ(d.lbDest->count(), 3);
    EXPECT_EQ(d.lbDest->currentRow(), 2);
    EXPECT_EQ(d.GetColumnList(), "1,2,7");

    // Up follows the item.
    QTest::mouseClick(d.sbUp, Qt::LeftButton);
    EXPECT_EQ(d.lbDest->currentRow(), 1);
    EXPECT_EQ(d.GetColumnList(), "1,7,2");

    // Every column shown: the Master List is empty and all-right is disabled.
    QTest::mouseClick(d.sbAllRight, Qt::LeftButton);
    EXPECT_EQ(d.lbSource->count(), 0);
    EXPECT_EQ(d.labSourceCount->text(), QString("0 Items"));
    EXPECT_FALSE(d.sbAllRight->isEnabled());
    EXPECT_FALSE(d.sbRight->isEnabled());
    EXPECT_EQ(d.lbDest->count(), 68);
    QTest::mouseClick(d.sbAllLeft, Qt::LeftButton);
    EXPECT_EQ(d.lbDest->count(), 0);
    EXPECT_FALSE(d.sbLeft->isEnabled() || d.sbAllLeft->isEnabled() || d.sbUp->isEnabled() || d.sbDown->isEnabled());
    EXPECT_EQ(d.GetColumnList(), "");

    // The dialog never touches the set: the owner applies the list after OK.
    d.reject();
    EXPECT_EQ(set.GetColumnList(), "1,2,7");
}

TEST(DialogsOptions, ShowsSettingsAndWritesOnlyOnSave) {
    WDefaultSettings defaults;
    WOptions::SetString(opt::FontSize, "9");
    WOptions::SetBool(opt::FNValueFlag, false);
    WOptions::SetBool(opt::UseLDS, true);
    TOptionsDlg d;
    EXPECT_EQ(d.windowTitle(), QString("Options"));
    EXPECT_EQ(d.PageControl->currentIndex(), 0);
    int visible = 0;
    for (int i = 0; i < d.PageControl->count(); ++i) visible += d.PageControl->isTabVisible(i);
    EXPECT_EQ(visible, 3);
    EXPECT_EQ(d.PageControl->tabText(2), QString("Colors"));
    EXPECT_EQ(d.FontSizeButtons->checkedButton()->text(), QString("Small (8)"));
    EXPECT_EQ(d.FontSize(), 8);
    EXPECT_EQ(d.GridHeight(), 14);
    EXPECT_TRUE(d.Check("cbUseLDS")->isChecked());
    EXPECT_EQ(d.Check("cbHLManual")->text(), QString("Use \"Apply\" button for highlighting"));
    EXPECT_FALSE(d.RGNameValue->isEnabled());
    grab(&d, "OptionsDlg-General");
    d.PageControl->setCurrentIndex(1);
    grab(&d, "OptionsDlg-Display");

    // The name-value choice follows the check box.
    QTest::mouseClick(d.Check("cbDisplayRIN"), Qt::LeftButton);
    EXPECT_TRUE(d.RGNameValue->isEnabled());
    d.NameValueButtons->button(2)->click();
    d.FontSizeButtons->button(2)->click();
    EXPECT_EQ(d.FontSize(), 12);
    EXPECT_EQ(d.GridHeight(), 18);
    d.Check("cbUseLDS")->click();

    // Colours: a cancelled colour dialog keeps the sample; a chosen one changes it.
    std::optional<QColor> answer;
    d.RunColorDialog = [&](const QColor&, const QString&) { return answer; };
    d.butBackColor->click();
    EXPECT_EQ(d.PanHLColor->palette().color(QPalette::Window), QColor(255, 255, 0));
    answer = QColor(0, 128, 255);
    d.butBackColor->click();
    answer = QColor(255, 0, 0);
    d.butTextColor->click();
    EXPECT_EQ(d.PanHLColor->palette().color(QPalette::Window), QColor(0, 128, 255));
    d.PageControl->setCurrentIndex(2);
    grab(&d, "OptionsDlg-Colors");

    // Nothing has reached the store yet (Cancel would leave it so).
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "9");
    EXPECT_TRUE(WOptions::GetBool(opt::UseLDS));
    EXPECT_EQ(WOptions::GetString(opt::HLCol), "65535");

    d.SaveOptions();
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "12");
    EXPECT_EQ(WOptions::GetString(opt::GridHeight), "18");
    EXPECT_EQ(WOptions::GetString(opt::FNValue), "3");
    EXPECT_TRUE(WOptions::GetBool(opt::FNValueFlag));
    EXPECT_FALSE(WOptions::GetBool(opt::UseLDS));
    EXPECT_EQ(WOptions::GetInt(opt::HLCol), int(plat::rgb(0, 128, 255)));
    EXPECT_EQ(WOptions::GetInt(opt::HLTCol), int(plat::rgb(255, 0, 0)));
}

TEST(DialogsOptions, FontSizeNineSavesSmall) {
    WDefaultSettings defaults;
    WOptions::SetString(opt::FontSize, "9");
    WOptions::SetString(opt::GridHeight, "30");
    TOptionsDlg d;
    d.SaveOptions();
    EXPECT_EQ(WOptions::GetString(opt::FontSize), "8");
    EXPECT_EQ(WOptions::GetString(opt::GridHeight), "14");
}

TEST(DialogsFlash, OneAtATimeAndGoneAfterHalfASecond) {
    EXPECT_FALSE(FlashMessageDlg::IsShown());
    FlashMessageDlg::ShowFlashMessage("Copy to Clipboard Complete");
    ASSERT_TRUE(FlashMessageDlg::IsShown());
    QWidget* first = FlashMessageDlg::Current();
    auto* label = first->findChild<QLabel*>("panMessage");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString("Copy to Clipboard Complete"));
    EXPECT_TRUE(label->font().bold());
    grab(first, "FlashDialog");
    // Asked again while on screen: dropped.
    FlashMessageDlg::ShowFlashMessage("Another");
    EXPECT_EQ(FlashMessageDlg::Current(), first);
    EXPECT_EQ(label->text(), QString("Copy to Clipboard Complete"));
    QTest::qWait(300);
    EXPECT_TRUE(FlashMessageDlg::IsShown());
    QTRY_VERIFY_WITH_TIMEOUT(!FlashMessageDlg::IsShown(), 2000);
    FlashMessageDlg::ShowFlashMessage("Again");
    EXPECT_TRUE(FlashMessageDlg::IsShown());
    QTRY_VERIFY_WITH_TIMEOUT(!FlashMessageDlg::IsShown(), 2000);
}

TEST(DialogsAbout, TextsAndVettedLinks) {
    TNXAboutBox d;
    EXPECT_EQ(d.windowTitle(), QString("About"));
    EXPECT_EQ(d.ProductName->text(), QString("Quorvane Brenthaul"));
    EXPECT_EQ(d.Version->text(), QString("Version: 1.19.2147"));
    EXPECT_EQ(d.BuildText->text(), QString("Built: Wed Sep 22 2004 - 14:59:59"));
    for (TURLLabel* l : {d.urlWebSite, d.urlSupport, d.urlMailList1, d.urlMailList2})
        EXPECT_FALSE(l->TargetLink().empty()) << l->text().toStdString();
    grab(&d, "NXAboutBox");
    QTest::mouseClick(d.OKButton, Qt::LeftButton);
    EXPECT_EQ(d.result(), int(QDialog::Accepted));
}

TEST(DialogsQuickHelp, ShowsEntryAndStopFlag) {
    TInitHelpDialog d(nullptr, "List Tab", "First line.\r\n\r\nSecond line.",
                      "Tabs Overview|999;List Tab|1500;Columns|2050");
    EXPECT_EQ(d.windowTitle(), QString("Quick Help"));
    EXPECT_EQ(d.labTitle->text(), QString("List Tab"));
    EXPECT_TRUE(d.labTitle->font().bold() && d.labTitle->font().italic());
    EXPECT_EQ(d.labDesc->toPlainText(), QString("First line.\n\nSecond line."));
    EXPECT_EQ(d.LabNotice->text(), QString("This help dialog box for \"List Tab\" is only displayed once."));
    ASSERT_EQ(d.LinkLabels.size(), 3u);
    std::vector<int> opened;
    d.OnHelpLink = [&](std::int32_t ctx) { opened.push_back(ctx); };
    emit d.LinkLabels[1]->linkActivated("1500");
    EXPECT_EQ(opened, std::vector<int>{1500});
    grab(&d, "InitHelpDialog");

    EXPECT_FALSE(d.GetStopAll());
    QTest::mouseClick(d.CBStop, Qt::LeftButton);
    EXPECT_TRUE(d.GetStopAll());
    QTest::mouseClick(d.CBStop, Qt::LeftButton);
    EXPECT_FALSE(d.GetStopAll());
    // Escape closes it.
    d.show();
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
}

TEST(DialogsListClip, ChoicesAndCancelledSave) {
    {
        TListClipDlg d;
        EXPECT_EQ(d.windowTitle(), QString("Copy to Clipboard"));
        EXPECT_EQ(d.GetChoice(), 99);
        grab(&d, "ListClipDialog");
        d.show();
        QTest::mouseClick(d.btnCSV, Qt::LeftButton);
        EXPECT_EQ(d.GetChoice(), 2);
        EXPECT_EQ(d.result(), int(QDialog::Accepted));
        EXPECT_FALSE(d.isVisible());
    }
    {
        TListClipDlg d;
        d.show();
        QTest::mouseClick(d.btnFixed, Qt::LeftButton);
        EXPECT_EQ(d.GetChoice(), 1);
    }
    {
        // A cancelled save dialog leaves the choice dialog open, choice unchanged.
        TListClipDlg d;
        std::optional<std::string> answer;
        int asked = 0;
        d.RunSaveDialog = [&] {
            ++asked;
            return answer;
        };
        d.show();
        QTest::mouseClick(d.butSaveCVS, Qt::LeftButton);
        EXPECT_EQ(asked, 1);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.GetChoice(), 99);
        EXPECT_EQ(d.GetFileName(), "");
        answer = "/tmp/list.csv";
        QTest::mouseClick(d.butSaveCVS, Qt::LeftButton);
        EXPECT_EQ(d.GetChoice(), 3);
        EXPECT_EQ(d.GetFileName(), "/tmp/list.csv");
        EXPECT_FALSE(d.isVisible());
    }
    {
        TListClipDlg d;
        d.show();
        QTest::mouseClick(d.butCancel, Qt::LeftButton);
        EXPECT_EQ(d.GetChoice(), 99);
        EXPECT_EQ(d.result(), int(QDialog::Rejected));
    }
}

TEST(DialogsURLLabel, DefaultsAndColours) {
    TURLLabel l;
    EXPECT_EQ(l.text(), QString("Click me!"));
    EXPECT_TRUE(l.font().underline());
    EXPECT_EQ(l.colorClick(), QColor(Qt::red));
    EXPECT_EQ(l.palette().color(QPalette::WindowText), QColor(Qt::blue));
    l.setColorNormal(QColor(Qt::darkGreen));
    EXPECT_EQ(l.palette().color(QPalette::WindowText), QColor(Qt::darkGreen));
    std::vector<std::string> opened;
    plat::hooks().shellOpen = [&](const std::string& t, const std::function<void()>&) { opened.push_back(t); };
    l.setURL("https://example.org/");
    l.resize(100, 20);
    l.show();
    QTest::mousePress(&l, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(l.palette().color(QPalette::WindowText), QColor(Qt::red));
    QTest::mouseRelease(&l, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.org/"});
    plat::resetHooks();
}
