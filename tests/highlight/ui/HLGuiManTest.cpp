#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include "columns/ColSortIterator.h"
#include "highlight/OptionText.h"
#include "highlight/ui/DateButtons.h"
#include "highlight/ui/FindDlg.h"
#include "highlight/ui/HLGuiMan.h"
#include "highlight/ui/HLOptions.h"
#include "highlight/ui/SelectionButton.h"
#include "highlight/ui/dlgQuickFind.h"
#include "model/Options.h"
#include "model/WaitHooks.h"
#include "model/ui/IndInfoPanel.h"
#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "support/MemCollection.h"
#include "support/ui/TestOutput.h"

namespace {

struct MsgRecorder {
    std::vector<std::string> texts;
    MsgRecorder() {
        plat::hooks().messageBox = [this](const std::string& t, const std::string&, unsigned) {
            texts.push_back(t);
            return 1;
        };
    }
    ~MsgRecorder() { plat::resetHooks(); }
};

// Picks a condition as the user does: the list opened, the entry marked and Enter.
void selectCode(WHLGuiCond* row, int code, const std::vector<int>& ids) {
    const auto it = std::find(ids.begin(), ids.end(), code);
    ASSERT_NE(it, ids.end());
    QComboBox* box = row->cbCondition;
    box->showPopup();
    box->view()->setCurrentIndex(box->model()->index(int(it - ids.begin()), 0));
    QTest::keyClick(box->view(), Qt::Key_Return);
    ASSERT_EQ(box->currentIndex(), int(it - ids.begin()));
}

} // namespace

TEST(HLGuiMan, NewPanelSignsConnectorsAndLimits) {
    WDefaultSettings settings;
    MsgRecorder msgs;
    WHLGuiColMan man(nullptr);
    man.resize(260, 400);
    man.SetHLStrings("1");
    ASSERT_EQ(man.GetCount(), 1);
    EXPECT_EQ(man.Row(0)->cbCondition->currentText(), QString("Select a Condition"));
    EXPECT_EQ(man.GetHLStrings(), "");
    EXPECT_TRUE(man.butAdd->isEnabled());
    EXPECT_TRUE(man.butDelete->isEnabled());

    QSignalSpy change(&man, &WHLGuiMan::OnChange);
    selectCode(man.Row(0), 2, HLOptText::ColManConditionIds());
    const int pos = man.Row(0)->cbCondition->currentIndex();
    EXPECT_EQ(man.Row(0)->cbCondition->currentText(), QString("Has No Birth Date"));
    man.Row(0)->butSign->click();
    EXPECT_EQ(man.Row(0)->cbCondition->currentIndex(), pos);
    EXPECT_EQ(man.Row(0)->cbCondition->currentText(), QString("Has a Birth Date"));
    EXPECT_EQ(man.GetHLStrings(), "-2;");
    EXPECT_EQ(change.count(), 2);

    man.AddRow(false);
    selectCode(man.Row(1), 17, HLOptText::ColManConditionIds());
    man.Connector(1)->butBool->click();
    EXPECT_EQ(man.GetHLStrings(), "-2;O;+17:M;");

    for (int k = 0; k < 9; ++k) man.AddRow(false);
    EXPECT_EQ(man.GetCount(), 10);
    EXPECT_FALSE(man.butAdd->isEnabled());
    ASSERT_EQ(msgs.texts.size(), 1u);
    EXPECT_EQ(msgs.texts[0], "Too many conditions.  Max = 10");
    // More than ten conditions read back: the rows stay.
    man.SetHLStrings("+2;A;+3;A;+4;A;+5;A;+6;A;+7;A;+8;A;+9;A;+10;A;+11;A;+12");
    EXPECT_EQ(man.GetCount(), 10);
    man.SetHLStrings("");
    man.DeleteRow();
    EXPECT_EQ(msgs.texts.back(), "No more conditions.");
}

TEST(HLGuiMan, ReadBackRowsAndDeferredModes) {
    WDefaultSettings settings;
    WMemCollection c;
    for (int i = 0; i < 5; ++i) c.AddPerson("A /B/");
    WHLGuiColMan man(nullptr);
    man.resize(260, 300);
    man.SetFindContext(&c, nullptr, nullptr, nullptr, nullptr);
    man.SetHLStrings("+17:F;O;-21:5^2");
    ASSERT_EQ(man.GetCount(), 2);
    EXPECT_TRUE(man.Connector(1)->GetBoolValue());
    EXPECT_EQ(man.Row(1)->cbCondition->currentText(), QString("Not an Ancestor of"));
    // Editors keep their defaults: the person editor starts on 1 with a find context.
    EXPECT_EQ(man.GetHLStrings(), "+17:M;A;-21:1^0;");

    QSignalSpy change(&man, &WHLGuiMan::OnChange);
    QSignalSpy apply(&man, &WHLGuiMan::OnApply);
    man.SetDeferred(true);
    man.Row(0)->butSign->click();
    man.Row(1)->butSign->click();
    EXPECT_EQ(change.count(), 0);
    EXPECT_EQ(apply.count(), 2);
    man.SetDeferred(false);
    EXPECT_EQ(change.count(), 1);

    man.SetApplyMode(true);
    EXPECT_FALSE(man.butApply->isHidden());
    man.Row(0)->butSign->click();
    EXPECT_TRUE(man.HasPendingApply());
    EXPECT_EQ(change.count(), 1);
    man.butApply->click();
    EXPECT_EQ(change.count(), 2);
    EXPECT_FALSE(man.HasPendingApply());
}

TEST(HLOptions, EditorDefaultsAndTexts) {
    WDefaultSettings settings;
    WMemCollection c;
    for (int i = 0; i < 3; ++i) c.AddPerson("A /B/");
    WFindContext ctx{&c, nullptr, nullptr, nullptr, nullptr};

    WHLOptString str(nullptr, "Contains;Equals;Begins;Ends");
    EXPECT_EQ(str.GetHLString(), "1");
    str.edText->setText(" smith ");
    EXPECT_EQ(str.GetHLString(), "1smith");

    WHLOptInt in(nullptr, HLOptText::EditorDescriptor(47));
    EXPECT_EQ(in.GetHLString(), "10");
    EXPECT_EQ(in.Spin->maximum(), 65535);

    WHLOptDate date(nullptr, "4");
    date.Date->SetDate(1, 1, 1900);
    EXPECT_EQ(date.GetHLString(), date.Date->GetDateText());
    date.selOp->ChooseNumber(2);
    EXPECT_EQ(date.GetHLString(), "BEF " + date.Date->GetDateText());

    WHLOptInd ind(nullptr, "2");
    QSignalSpy ch(&ind, &WHLABSOption::OnChange);
    ind.SetFindContext(&ctx);
    EXPECT_EQ(ind.GetHLString(), "1^0");
    ind.butNext->click();
    EXPECT_EQ(ind.GetHLString(), "2^0");
    ind.butNext->click(); // 3 is not below the bound of 3
    EXPECT_EQ(ind.Index(), 2);
    EXPECT_EQ(ch.count(), 1);
    ind.SetHLString("0");
    EXPECT_EQ(ind.butPerson->text(), QString("?"));
    EXPECT_EQ(ind.butPerson->toolTip(), QString("None Selected"));

    WHLOptAgeLimit age(nullptr, "8");
    EXPECT_EQ(age.GetHLString(), "110");
    WHLOptSex sex(nullptr, "1");
    sex.SetHLString("F");
    EXPECT_EQ(sex.GetHLString(), "F");
    WHLOptLDSDate lds(nullptr, HLOptText::EditorDescriptor(87));
    EXPECT_EQ(lds.GetHLString(), "1");
    EXPECT_EQ(lds.List->itemText(0), QString("A Date"));
}

TEST(FindDialogs, QuickFindSteppingAndSpouseList) {
    WDefaultSettings settings;
    WMemCollection c;
    auto h = c.AddPerson("Bob /Ng/", 'M');
    auto w = c.AddPerson("Sue /Ng/", 'F');
    auto k1 = c.AddPerson("Kid /Ng/");
    auto k2 = c.AddPerson("Tot /Ng/");
    c.AddFamily(h, w).Child(k1).Child(k2);
    TdlgQuickFind q(nullptr, WFindContext{&c, nullptr, nullptr, nullptr, nullptr}, nullptr);
    q.SetSelected(h);
    EXPECT_TRUE(q.butOK->isEnabled());
    EXPECT_FALSE(q.butFather->isEnabled());
    q.edSearch->setText("0");
    EXPECT_FALSE(q.butOK->isEnabled());
    EXPECT_FALSE(q.butMother->isEnabled());
    q.edSearch->setText("1");
    QTest::keyClick(q.edSearch, Qt::Key_Down);
    EXPECT_EQ(q.GetSelected(), 1);
    q.show();
    QTest::mouseClick(q.selSpouses, Qt::LeftButton);
    ASSERT_EQ(q.SpouseEntries().size(), 3u);
    const std::int32_t second = q.SpouseEntries()[2].individual;
    EXPECT_TRUE(second == k1 || second == k2);
    QMenu* menu = q.selSpouses->Menu();
    ASSERT_TRUE(menu->isVisible());
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[2]).center());
    EXPECT_EQ(q.GetSelected(), second);
    EXPECT_TRUE(q.butMother->isEnabled());
    q.butMother->click();
    EXPECT_EQ(q.GetSelected(), w);
}

TEST(FindDialogs, FindDialogModesSearchAndOK) {
    WDefaultSettings settings;
    WMemCollection c;
    auto f = c.AddPerson("Adam /Smith/", 'M').XRef("I1");
    auto m = c.AddPerson("Eve /Jones/", 'F').XRef("I2");
    auto s = c.AddPerson("John /Smith/", 'M').XRef("I12").Birth("1 JAN 1900", "Boston");
    c.AddFamily(f, m).Child(s);
    c.AddPerson("Zed /Brown/", 'M').XRef("I4");
    auto rin = std::make_unique<WColSortIterator>("", 4, &c);
    auto given = std::make_unique<WColSortIterator>("", 4, &c);
    auto sur = std::make_unique<WColSortIterator>("", 4, &c);
    auto cus = std::make_unique<WColSortIterator>("", 4, &c);
    WFindContext ctx{&c, rin.get(), given.get(), sur.get(), cus.get()};
    WOptions::SetInt(opt::FindDlg, 2);
    TWFindDlg d(nullptr, ctx, nullptr);
    d.SetSelected(4);
    d.show();
    EXPECT_EQ(d.rbRIN->text(), QString("REF"));
    EXPECT_TRUE(d.rbRIN->isChecked());
    d.edSearch->setText("12");
    EXPECT_EQ(d.GetSelected(), s);
    EXPECT_EQ(d.iiFather->IndividualNumber, f);
    EXPECT_EQ(d.iiMother->IndividualNumber, m);
    d.rbGiven->click();
    EXPECT_EQ(d.edSearch->text(), QString("John Smith"));
    // The key a mode writes is selected: typing replaces it.
    QTest::keyClicks(d.edSearch, "Eve");
    EXPECT_EQ(d.edSearch->text(), QString("Eve"));
    EXPECT_EQ(d.GetSelected(), m);
    // Typed while the surname order sorts: kept, and searched in that order once sorted.
    bool typedInSort = false;
    const auto pump = plat::hooks().processMessages;
    plat::hooks().processMessages = [&] {
        if (!std::exchange(typedInSort, true)) d.edSearch->setText("smith, a");
    };
    d.rbSurname->click();
    plat::hooks().processMessages = pump;
    ASSERT_TRUE(typedInSort);
    EXPECT_EQ(WOptions::GetInt(opt::FindDlg), 3);
    EXPECT_EQ(d.edSearch->text(), QString("smith, a"));
    EXPECT_EQ(d.GetSelected(), f);
    EXPECT_EQ(d.MarriageEntries().size(), 2u);
    EXPECT_EQ(d.labMarriages->text(), QString("Marriages (1)"));
    d.rbIndex->click();
    d.edSearch->setText("99");
    EXPECT_EQ(d.GridRow(), 4);
    d.butOK->click();
    EXPECT_EQ(d.GetSelected(), 4);
    EXPECT_EQ(d.result(), QDialog::Accepted);

    // Keys typed while the dialog opens or a mode's order sorts reach the
    // edit though the wait dialog is up, wherever the keyboard is; the latest
    // text is searched in that order, and a text cleared meanwhile leaves the
    // grid on the selection.
    auto rin2 = std::make_unique<WColSortIterator>("", 4, &c);
    auto given2 = std::make_unique<WColSortIterator>("", 4, &c);
    auto sur2 = std::make_unique<WColSortIterator>("", 4, &c);
    QWidget from;
    auto* fromEdit = new QLineEdit(&from);
    from.show();
    fromEdit->setFocus();
    WOptions::SetInt(opt::FindDlg, 2);
    TWFindDlg keys(&from, WFindContext{&c, rin2.get(), given2.get(), sur2.get(), nullptr}, nullptr);
    keys.setModal(true);
    keys.SetSelected(f);
    TWaitDlg::InstallHooks();
    std::function<void()> typeInSort;
    bool waitShown = false;
    plat::hooks().processMessages = [&] {
        if (!typeInSort) return;
        const auto type = std::exchange(typeInSort, nullptr);
        QTest::qWait(TWaitDlg::kShowDelayMs + 100);
        waitShown = TWaitDlg::Instance() && TWaitDlg::Instance()->isVisible();
        type();
    };
    typeInSort = [&] {
        // Held back: the order is half sorted.
        QTest::mouseClick(keys.butOK, Qt::LeftButton);
        // The window the dialog opens from still has the keyboard.
        QTest::keyClicks(fromEdit, "12");
    };
    keys.show();
    ASSERT_TRUE(waitShown);
    EXPECT_EQ(keys.edSearch->text(), QString("12"));
    EXPECT_EQ(keys.GetSelected(), s);
    // Keys typed at once after a mode click replace the key in the edit.
    typeInSort = [&] { QTest::keyClicks(keys.focusWidget(), "Eve"); };
    QTest::mouseClick(keys.rbGiven, Qt::LeftButton, {}, QPoint(6, keys.rbGiven->height() / 2));
    EXPECT_TRUE(keys.isVisible());
    EXPECT_EQ(keys.edSearch->text(), QString("Eve"));
    EXPECT_EQ(keys.GetSelected(), m);
    EXPECT_EQ(keys.iiIndividual->IndividualNumber, m);
    typeInSort = [&] {
        QTest::keyClick(keys.focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(keys.focusWidget(), Qt::Key_Backspace);
    };
    QTest::mouseClick(keys.rbSurname, Qt::LeftButton, {}, QPoint(6, keys.rbSurname->height() / 2));
    plat::hooks().processMessages = pump;
    WaitHooks::reset();
    EXPECT_EQ(keys.edSearch->text(), QString());
    EXPECT_EQ(keys.GetSelected(), m);
    EXPECT_EQ(keys.IndGrid->currentIndex().siblingAtColumn(0).data().toInt(), m); // record number
    EXPECT_EQ(keys.iiIndividual->IndividualNumber, m);
    keys.reject();

    // Six-digit record numbers show whole in the Index column.
    WMemCollection big;
    for (int i = 0; i < 100000; ++i) big.AddPerson("A /B/");
    WOptions::SetInt(opt::FindDlg, 1);
    TWFindDlg many(nullptr, WFindContext{&big, nullptr, nullptr, nullptr, nullptr}, nullptr);
    many.show();
    many.edSearch->setText("100000");
    ASSERT_EQ(many.GridRow(), 100000);
    const QAbstractItemView* grid = many.IndGrid; // the table's own hint, for the rows on screen
    EXPECT_GE(many.IndGrid->columnWidth(0), grid->sizeHintForColumn(0));
}
