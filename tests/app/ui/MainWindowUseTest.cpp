// The main window as a user drives it: keys and clicks on its own widgets.
#include <atomic>
#include <csignal>
#include <utility>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "MainWindowFixture.h"
#include "app/navpanel/IndScroll.h"
#include "app/ui/DescendantsView.h"
#include "app/ui/DrawGrid.h"
#include "app/ui/FamilyView.h"
#include "app/ui/InitHelpDialog.h"
#include "app/ui/IslandsView.h"
#include "app/ui/ListClipDialog.h"
#include "app/ui/ListView.h"
#include "app/ui/MainActions.h"
#include "app/ui/SignalClose.h"
#include "app/ui/dlgListColumns.h"
#include "columns/ListColumns.h"
#include "gedcom/GEDCollection.h"
#include "highlight/HLRegister.h"
#include "highlight/ui/DateButtons.h"
#include "highlight/ui/FindDlg.h"
#include "highlight/ui/HLGuiMan.h"
#include "highlight/ui/HLOptions.h"
#include "highlight/ui/SelectionButton.h"
#include "highlight/ui/UpDownButton.h"
#include "highlight/ui/dlgDatePick.h"
#include "model/ABSCollection.h"
#include "model/ui/WaitDlg.h"
#include "platform/ui/QtText.h"
#include "reports/ui/PrintDialog.h"

namespace {

// n people I1..In, given names and surnames cycling through short lists.
// n individuals, married in pairs.
std::string people(int n) {
    const char* const given[] = {"Anna", "Andrew", "Bob", "Carl", "Dora"};
    const char* const surname[] = {"Lemaire", "Walker", "Wilson", "Ibsen", "Lund", "Adams"};
    std::string g = "0 HEAD\r\n1 CHAR ANSI\r\n";
    for (int i = 1; i <= n; ++i)
        g += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME " + given[i % 5] + " /" + surname[i % 6] +
             "/\r\n1 FAMS @F" + std::to_string((i + 1) / 2) + "@\r\n";
    for (int f = 1; f <= n / 2; ++f)
        g += "0 @F" + std::to_string(f) + "@ FAM\r\n1 HUSB @I" + std::to_string(2 * f - 1) + "@\r\n1 WIFE @I" +
             std::to_string(2 * f) + "@\r\n";
    return g + "0 TRLR\r\n";
}

// John has two wives: Mary (with Tom) and Ann.
const char* const kTwoMarriages =
    "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME John /Smith/\r\n1 SEX M\r\n1 FAMS @F1@\r\n1 FAMS @F2@\r\n"
    "0 @I2@ INDI\r\n1 NAME Mary /Jones/\r\n1 SEX F\r\n1 FAMS @F1@\r\n0 @I3@ INDI\r\n1 NAME Tom /Smith/\r\n"
    "1 SEX M\r\n1 FAMC @F1@\r\n0 @I4@ INDI\r\n1 NAME Ann /Brown/\r\n1 SEX F\r\n1 FAMS @F2@\r\n"
    "0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I2@\r\n1 CHIL @I3@\r\n0 @F2@ FAM\r\n1 HUSB @I1@\r\n1 WIFE @I4@\r\n"
    "0 TRLR\r\n";

// Counts the modal dialogs that come up while it lives, lets the test look
// at each, and closes it.
struct ModalCloser {
    int count = 0;
    QTimer timer;
    // inspect answers whether it closed the dialog itself.
    explicit ModalCloser(std::function<bool(QDialog*)> inspect = {}) {
        QObject::connect(&timer, &QTimer::timeout, [this, inspect] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!d || !d->isVisible()) return;
            ++count;
            if (!inspect || !inspect(d)) d->reject();
        });
        timer.start(20);
    }
};

struct MainWindowUseTest : MainWindowTest {
    // A real wait of the event loop: the window updates its commands then.
    static void idle() {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    // A key typed into a box of the window (the flash message of an earlier
    // copy may have taken the activation).
    static void press(QWidget* w, Qt::Key key, Qt::KeyboardModifiers mods = {}) {
        w->window()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w->window()));
        w->setFocus();
        idle();
        QTest::keyClick(w, key, mods);
    }
    static void ctrlC(QWidget* w) { press(w, Qt::Key_C, Qt::ControlModifier); }
    // The window's quick-find mode through its selection button and list.
    static void chooseFindMode(TLogoAppForm& form, int mode) {
        WSelectionButton* button = nullptr;
        for (auto* b : form.findChildren<WSelectionButton*>())
            if (!b->Items().empty() && b->Items()[0].text == "Find Index:") button = b;
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        QMenu* menu = button->Menu();
        ASSERT_TRUE(menu->isVisible());
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[mode - 1]).center());
        ASSERT_EQ(button->ItemSelected(), mode);
    }
    // Picks an entry of a combo box by typing its first letters.
    static void typeInto(QComboBox* combo, const QString& text) {
        ASSERT_NE(combo, nullptr);
        // A new search, not the continuation of the last one.
        QApplication::setKeyboardInputInterval(50);
        QTest::qWait(60);
        combo->setFocus();
        QTest::keyClicks(combo, text);
        combo->hidePopup(); // a blank in the text opens the list
        ASSERT_EQ(combo->currentText().toStdString(), text.toStdString());
    }
    static std::string nameOf(TLogoAppForm& form, bool surname) {
        auto ind = form.Collection()->GetIndividual(form.IndScroll()->GetCurrentIndividual());
        return !ind ? "" : surname ? ind->GetSurnameText() : ind->GetGivenText();
    }
};

TEST_F(MainWindowUseTest, FindBoxKeepsWhatIsTypedInEveryMode) {
    TLogoAppForm form(makeProgram(tmp.dir(), people(60), {}));
    ASSERT_TRUE(start(form));
    QLineEdit* box = form.FindEdit();
    auto type = [&](int mode, const char* text) {
        chooseFindMode(form, mode);
        QTest::keyClicks(box, text);
        EXPECT_EQ(box->text().toStdString(), text) << "mode " << mode;
    };
    type(1, "45");
    EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 45);
    type(2, "37");
    EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 37);
    // The first key sorts the surname index; the rest come in while it sorts:
    // one move, once sorted, to the first match of the whole text.
    chooseFindMode(form, 3);
    std::string history;
    form.IndScroll()->GetBackList(history);
    bool typedInSort = false;
    const auto pump = plat::hooks().processMessages;
    plat::hooks().processMessages = [&] {
        if (!std::exchange(typedInSort, true)) QTest::keyClicks(box, "il");
        if (pump) pump();
    };
    QTest::keyClicks(box, "W");
    plat::hooks().processMessages = pump;
    ASSERT_TRUE(typedInSort);
    const std::int32_t found = form.IndScroll()->GetCurrentIndividual();
    std::string after;
    form.IndScroll()->GetBackList(after);
    EXPECT_EQ(after, history + "37,");
    type(3, "Wil");
    EXPECT_EQ(nameOf(form, true), "Wilson");
    EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), found);
    // A cancelled Quick Find leaves the box as it was: Find Next goes on from it.
    {
        ModalCloser escape([](QDialog* d) {
            QTest::keyClick(d, Qt::Key_Escape);
            return true;
        });
        press(box, Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(escape.count, 1);
    }
    EXPECT_EQ(box->text(), "Wil");
    press(box, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(nameOf(form, true), "Wilson");
    type(4, "Ann");
    EXPECT_EQ(nameOf(form, false), "Anna");
    // A move of the navigation panel still shows the individual reached.
    chooseFindMode(form, 1);
    form.IndScroll()->SetCurrentIndividual(12);
    EXPECT_EQ(box->text(), "12");
}

TEST_F(MainWindowUseTest, BackAndForwardAreLiveOnlyWithSomeoneToGoTo) {
    for (const std::int32_t first : {1, 3}) {
        SCOPED_TRACE(first);
        TSelfViewTrailer t;
        t.StartIndex = first;
        TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
        ASSERT_TRUE(start(form));
        QAction* back = form.Actions()->Action(ActionId::GoBack);
        QAction* forward = form.Actions()->Action(ActionId::GoForward);
        QWidget* backButton = form.Actions()->ToolBar()->widgetForAction(back);
        QWidget* forwardButton = form.Actions()->ToolBar()->widgetForAction(forward);
        ASSERT_TRUE(backButton && forwardButton);
        auto liveness = [&] {
            idle();
            return std::make_pair(back->isEnabled(), forward->isEnabled());
        };
        using Live = std::pair<bool, bool>;
        EXPECT_EQ(liveness(), Live(false, false));
        // A scroll step against the end moves nowhere; nor does finding the start person.
        QTest::keyClick(form.IndScroll()->ScrollBar, first == 1 ? Qt::Key_Left : Qt::Key_Right);
        QTest::keyClicks(form.FindEdit(), QString::number(first));
        EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), first);
        EXPECT_EQ(liveness(), Live(false, false));

        form.FindEdit()->clear();
        QTest::keyClicks(form.FindEdit(), "2");
        ASSERT_EQ(form.IndScroll()->GetCurrentIndividual(), 2);
        EXPECT_EQ(liveness(), Live(true, false));
        QTest::mouseClick(backButton, Qt::LeftButton);
        EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), first);
        EXPECT_EQ(liveness(), Live(false, true));
        QTest::mouseClick(forwardButton, Qt::LeftButton);
        EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 2);
        EXPECT_EQ(liveness(), Live(true, false));
        form.close();
    }
}

TEST_F(MainWindowUseTest, HighlightedListFollowsEveryChangeOfTheConditions) {
    HLRegister::RegisterConditionClasses();
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, {}));
    ASSERT_TRUE(start(form));
    clickTab(form, "Highlighted");
    ASSERT_FALSE(form.ConditionPanel()->isHidden()); // shown with the tab
    QLabel* count = form.ListView()->CountLabel();
    WHLGuiCond* row = form.ConditionPanel()->Row(0);
    ASSERT_NE(row, nullptr);
    typeInto(row->cbCondition, "Sex Type"); // males: John and Tom
    EXPECT_EQ(count->text(), "2 Individuals");
    typeInto(row->Editor()->findChild<QComboBox*>(), "Female");
    EXPECT_EQ(count->text(), "1 Individuals");
    // Changed while another tab is shown, then back.
    clickTab(form, "List");
    typeInto(row->Editor()->findChild<QComboBox*>(), "Male");
    clickTab(form, "Highlighted");
    EXPECT_EQ(count->text(), "2 Individuals");
    // No condition left: nobody is listed.
    typeInto(row->cbCondition, "Select a Condition");
    EXPECT_EQ(count->text(), "0 Individuals");
}

TEST_F(MainWindowUseTest, CtrlCCopiesTheViewWhateverBoxHasTheFocus) {
    std::string clip;
    int clips = 0;
    plat::hooks().setClipboardText = [&](const std::string& t) {
        clip = t;
        ++clips;
    };
    TSelfViewTrailer t;
    t.StartIndex = 1;
    TLogoAppForm form(makeProgram(tmp.dir(), kTwoMarriages, t));
    ASSERT_TRUE(start(form));
    ctrlC(form.FindEdit()); // the Sender page: nothing to copy
    EXPECT_EQ(clips, 0);
    clickTab(form, "Individual");
    ctrlC(form.FindEdit());
    EXPECT_NE(clip.find("John /Smith/"), std::string::npos) << clip;
    EXPECT_NE(clip.find("Male\r\n"), std::string::npos);
    EXPECT_TRUE(WOptions::GetBool(opt::TMGTagSent)); // turned off for the copy only
    // Every kind of box of the views, also one added later, with its text selected.
    clickTab(form, "Descendants");
    auto* des = form.findChild<TDescendantsView*>();
    auto* combo = new QComboBox(des);
    combo->setEditable(true);
    combo->setEditText("typed");
    auto* memo = new QTextEdit("typed", des);
    for (QWidget* box : std::initializer_list<QWidget*>{des->GenSpinEdit(), des->IndentSpinEdit(), combo, memo}) {
        clip.clear();
        box->show();
        press(box, Qt::Key_A, Qt::ControlModifier);
        ctrlC(box);
        EXPECT_NE(clip.find("DESCENDANT LIST"), std::string::npos) << box->metaObject()->className();
    }

    // The second family, copied and still shown afterwards.
    clickTab(form, "Family");
    auto* family = form.findChild<TFamilyView*>();
    QTest::mouseClick(family->MarriagesButton(), Qt::LeftButton);
    ASSERT_EQ(family->Subject().Index(), 2);
    const std::int32_t shown = family->Subject().CurrentFamily();
    auto wife = form.Collection()->GetIndividual(form.Collection()->GetMarriage(shown)->GetWife());
    ctrlC(form.FindEdit());
    EXPECT_NE(clip.find(wife->GetGivenText()), std::string::npos) << clip;
    EXPECT_EQ(family->Subject().CurrentFamily(), shown);

    // The toolbar's Copy button copies the General, Pedigree and List views.
    QWidget* copy = form.Actions()->ToolBar()->widgetForAction(form.Actions()->Action(ActionId::ToolClipBoard));
    ASSERT_NE(copy, nullptr);
    auto copyTab = [&](const QString& tab) {
        clickTab(form, tab);
        clip.clear();
        idle();
        QTest::mouseClick(copy, Qt::LeftButton);
        return clip;
    };
    EXPECT_EQ(copyTab("General").rfind("GENERAL INFORMATION\r\n", 0), 0u) << clip;
    EXPECT_EQ(copyTab("Pedigree").rfind("PEDIGREE CHART\r\n", 0), 0u) << clip;
    {
        ModalCloser fixedWidth([](QDialog* d) {
            auto* choice = qobject_cast<TListClipDlg*>(d);
            if (choice) QTest::mouseClick(choice->btnFixed, Qt::LeftButton);
            return choice != nullptr;
        });
        const std::string list = copyTab("List");
        for (const char* name : {"Smith, John", "Jones, Mary", "Smith, Tom", "Brown, Ann"})
            EXPECT_NE(list.find(name), std::string::npos) << list;
    }

    // The Highlighted tab without conditions: nothing to copy, nothing asked.
    clickTab(form, "Highlighted");
    const int before = clips;
    ModalCloser dialogs;
    ctrlC(form.FindEdit());
    EXPECT_EQ(dialogs.count, 0);
    EXPECT_EQ(clips, before);
}

TEST_F(MainWindowUseTest, PlacementAndListColumnsSurviveARestart) {
    const std::string program = makeProgram(tmp.dir(), kFamily, {});
    {
        TLogoAppForm form(program);
        ASSERT_TRUE(start(form));
        EXPECT_TRUE(form.isMaximized()); // the first start
        form.showNormal();
        form.setGeometry(60, 70, 900, 650);
        clickTab(form, "List");
        ModalCloser chooser([](QDialog* d) {
            auto* columns = qobject_cast<TdlgListColumns*>(d);
            if (columns) {
                QTest::mouseClick(columns->sbLeft, Qt::LeftButton); // the first column goes
                QTest::mouseClick(columns->butOK, Qt::LeftButton);
            }
            return columns != nullptr;
        });
        for (auto* b : form.ListView()->findChildren<QToolButton*>())
            if (b->text() == "Columns") QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_EQ(chooser.count, 1);
        form.close();
    }
    // The next start reads both files afresh.
    ini2::Close();
    ini::CloseIni();
    ini2::Open(tmp.dir() + "/zelt.ini");
    TLogoAppForm form(program);
    ASSERT_TRUE(start(form));
    EXPECT_FALSE(form.isMaximized());
    EXPECT_EQ(form.normalGeometry(), QRect(60, 70, 900, 650));
    EXPECT_EQ(form.ListColumns()->GetColumnList(), "2,7,65,67,19,18");
}

TEST_F(MainWindowUseTest, ViewMenuKeysOpenTheTabTheyNameAndPrintStartsOnTheFamilyShown) {
    TSelfViewTrailer t;
    t.StartIndex = 1;
    TLogoAppForm form(makeProgram(tmp.dir(), kTwoMarriages, t));
    ASSERT_TRUE(start(form));
    const char* const tabs[] = {"General", "Individual",  "Family",  "Pedigree", "Descendants",
                                "List",    "Highlighted", "Islands", "Sources"};
    for (int k = 0; k < 9; ++k) {
        press(form.FindEdit(), Qt::Key(Qt::Key_F2 + k));
        EXPECT_EQ(form.Tabs()->tabText(form.Tabs()->currentIndex()).toStdString(), tabs[k]);
    }
    // "Internet Tab": no such tab here, so its item is greyed and F11 switches nothing.
    QSignalSpy switched(form.Tabs(), &QTabBar::currentChanged);
    press(form.FindEdit(), Qt::Key_F11);
    EXPECT_EQ(switched.count(), 0);
    EXPECT_EQ(form.Tabs()->tabText(form.Tabs()->currentIndex()), "Sources");
    EXPECT_FALSE(form.Actions()->TabItems().back()->isEnabled());
    std::vector<std::string> items;
    for (QAction* a : form.Actions()->TabItems())
        items.push_back((a->text() + " " + a->shortcut().toString()).toStdString());
    EXPECT_EQ(items,
              (std::vector<std::string>{"General Tab F2", "Individual Tab F3", "Family Tab F4", "Pedigree Tab F5",
                                        "Descendants Tab F6", "List Tab F7", "Highlighted Tab F8", "Islands Tab F9",
                                        "Sources Tab F10", "Internet Tab F11"}));
    {
        // Each tab's report first; Sender and Sources keep the dialog's own.
        std::vector<std::string> shown;
        ModalCloser dialogs([&](QDialog* d) {
            if (auto* print = qobject_cast<TPrintDlg*>(d))
                shown.push_back((form.Tabs()->tabText(form.Tabs()->currentIndex()) + " " +
                                 print->PageControl->tabText(print->PageControl->currentIndex()))
                                    .toStdString());
            return false;
        });
        for (int i = 0; i < form.Tabs()->count(); ++i) {
            clickTab(form, form.Tabs()->tabText(i));
            press(form.FindEdit(), Qt::Key_P, Qt::ControlModifier);
        }
        EXPECT_EQ(shown, (std::vector<std::string>{"Sender General", "General General", "Individual Individual",
                                                   "Family Family", "Pedigree Pedigree", "Descendants Descendants",
                                                   "List List", "Highlighted Highlighted", "Islands Islands",
                                                   "Sources General"}));
    }

    press(form.FindEdit(), Qt::Key_F4);
    auto* family = form.findChild<TFamilyView*>();
    QTest::mouseClick(family->MarriagesButton(), Qt::LeftButton);
    int chosen = -1;
    ModalCloser dialogs([&](QDialog* d) {
        if (auto* print = qobject_cast<TPrintDlg*>(d)) chosen = print->lbFamList->currentRow();
        return false;
    });
    press(form.FindEdit(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(dialogs.count, 1);
    EXPECT_EQ(chosen, 1); // the second family
}

TEST_F(MainWindowUseTest, IslandControlsFollowTheIslandsAndTheViewShowsAllOnceComputed) {
    WOptions::SetBool(opt::CalcIslands, false); // computed only when asked
    const std::string lone = std::string(kFamily).substr(0, std::string(kFamily).size() - 8) +
                             "0 @I9@ INDI\r\n1 NAME Lone /Wolf/\r\n0 TRLR\r\n";
    TLogoAppForm form(makeProgram(tmp.dir(), lone, {}));
    ASSERT_TRUE(start(form));
    press(form.FindEdit(), Qt::Key_F9);
    auto* view = form.findChild<TIslandsView*>();
    TLeftIslandsPanel* left = form.LeftIslands();
    QAction* panel = form.Actions()->Action(ActionId::LeftIsland);
    QTest::mouseClick(form.Actions()->ToolBar()->widgetForAction(panel), Qt::LeftButton);
    idle();
    ASSERT_TRUE(left->isVisible());
    const QColor red(255, 0, 0), black(0, 0, 0);
    for (QToolButton* calc : {view->CalculateButton(), left->CalculateButton()}) {
        EXPECT_TRUE(calc->isVisible() && calc->isEnabled());
        EXPECT_EQ(calc->palette().color(QPalette::Active, QPalette::ButtonText), red);
    }
    EXPECT_TRUE(left->ExportButton()->isVisible());
    EXPECT_FALSE(left->UseIslandsBox()->isEnabled());

    // Copying the Islands view computes the islands: the view then lists both.
    ModalCloser fixedWidth([](QDialog* d) {
        auto* choice = qobject_cast<TListClipDlg*>(d);
        if (choice) QTest::mouseClick(choice->btnFixed, Qt::LeftButton);
        return choice != nullptr;
    });
    ctrlC(form.FindEdit());
    EXPECT_EQ(fixedWidth.count, 1);
    EXPECT_EQ(view->Grid()->RowCount(), 2);
    idle();
    for (QToolButton* calc : {view->CalculateButton(), left->CalculateButton()}) {
        EXPECT_FALSE(calc->isEnabled());
        EXPECT_EQ(calc->palette().color(QPalette::Active, QPalette::ButtonText), black);
    }
    QCheckBox* use = left->UseIslandsBox();
    ASSERT_TRUE(use->isEnabled());
    const QPoint box(8, use->height() / 2);          // on the box, whatever the widget's width
    QTest::mouseClick(use, Qt::LeftButton, {}, box); // no island chosen yet
    ASSERT_TRUE(use->isChecked());
    EXPECT_EQ(use->text(), "Use Islands");
    // The List shown meanwhile is rebuilt for each island view.
    press(form.FindEdit(), Qt::Key_F7);
    QLabel* listed = form.ListView()->CountLabel();
    EXPECT_EQ(listed->text(), "4 Individuals");
    const QRect second = left->Grid()->visualRect(left->Grid()->model()->index(1, 0));
    QTest::mouseClick(left->Grid()->viewport(), Qt::LeftButton, {}, second.center());
    EXPECT_EQ(use->text(), "Use Island (2)");
    EXPECT_EQ(form.Collection()->GetCount(), 1);
    EXPECT_EQ(form.IndScroll()->GetCurrentIndividual(), 4);
    EXPECT_EQ(listed->text(), "1 Individuals");
    QTest::mouseClick(use, Qt::LeftButton, {}, box);
    EXPECT_EQ(use->text(), "Use Islands");
    EXPECT_EQ(form.Collection()->GetCount(), 4);
    EXPECT_EQ(listed->text(), "4 Individuals");
}

TEST_F(MainWindowUseTest, ApplyButtonShowsWholeAndApplyingDescribesTheConditions) {
    HLRegister::RegisterConditionClasses();
    WOptions::SetBool(opt::HLManual, true);
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, {}));
    ASSERT_TRUE(start(form));
    QAction* panel = form.Actions()->Action(ActionId::LeftHL);
    idle();
    QTest::mouseClick(form.Actions()->ToolBar()->widgetForAction(panel), Qt::LeftButton);
    WHLGuiColMan* conditions = form.ConditionPanel();
    ASSERT_TRUE(conditions->isVisible());
    QPushButton* apply = conditions->butApply;
    ASSERT_TRUE(apply->isVisible());
    EXPECT_EQ(apply->visibleRegion().boundingRect(), apply->rect()); // nothing cut off

    typeInto(conditions->Row(0)->cbCondition, "Sex Type");
    EXPECT_TRUE(form.HighlightText().contains("Please press the Apply button"));
    ASSERT_TRUE(apply->isEnabled());
    QTest::mouseClick(apply, Qt::LeftButton);
    EXPECT_TRUE(form.HighlightText().startsWith("Highlight Individuals: ")) << form.HighlightText().toStdString();
    EXPECT_FALSE(form.HighlightText().contains("Apply"));
    EXPECT_FALSE(apply->isEnabled());
}

TEST_F(MainWindowUseTest, ConditionsColourTheIndividualRowsAndDescribeThemselves) {
    HLRegister::RegisterConditionClasses();
    TSelfViewTrailer t;
    t.StartIndex = 3;
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    clickTab(form, "Individual");
    ASSERT_GE(individualRows(form).size(), 2u);
    EXPECT_EQ(individualRows(form)[1].Back, plat::kWhite);
    EXPECT_TRUE(form.HighlightText().isEmpty());

    typeInto(form.ConditionPanel()->Row(0)->cbCondition, "Sex Type"); // male
    ASSERT_NE(form.Highlighter(), nullptr);
    EXPECT_TRUE(form.HighlightText().startsWith("Highlight Individuals: ")) << form.HighlightText().toStdString();
    // Tom (the current individual) is male: his name row takes the highlight colours.
    const auto& rows = individualRows(form);
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].Back, plat::ColorRef(WOptions::GetInt(opt::HLCol)));
    for (const auto& r : rows) {
        if (r.Target == 2) {
            EXPECT_EQ(r.Back, plat::kWhite); // Mary is not
        }
    }
}

TEST_F(MainWindowUseTest, ReadingALargeFileShowsTheWaitAfterItsDelayAndCancels) {
    // Each pump lets the waiting messages in once, as the program's own does.
    // Only the window's thread may pump.
    bool offThread = false, signalAtPump = false;
    plat::hooks().processMessages = [&] {
        static bool inside = false;
        if (inside) return;
        offThread = offThread || QThread::currentThread() != qApp->thread();
        inside = true;
        if (signalAtPump && TWaitDlg::Instance()) {
            signalAtPump = false;
            ::raise(SIGTERM);
        }
        QCoreApplication::processEvents();
        inside = false;
    };
    // The read made to last past the dialog's delay on any machine: the
    // window's thread, reading alone, sleeps every few hundred records; a
    // reading worker waits until Cancel is clicked (5 s in all). So the
    // dialog and its Cancel must get in while the workers read, which only
    // the window's thread letting messages in meanwhile allows.
    static bool slowWindowThread = false;
    static std::atomic<bool> released{false}, heldOut{false};
    struct SlowRead {
        SlowRead() {
            WGEDCollection::SetReadHook([] {
                if (QThread::currentThread() == qApp->thread()) {
                    if (slowWindowThread) QThread::msleep(20);
                    return;
                }
                QElapsedTimer held;
                held.start();
                while (!released && !heldOut && held.elapsed() < 5000) QThread::msleep(2);
                if (!released) heldOut = true;
            });
        }
        ~SlowRead() { WGEDCollection::SetReadHook(nullptr); }
    } slowRead;
    const std::string program = makeProgram(tmp.dir(), people(100000), {}, 600000);
    // One stretch read on the window's thread, and four on threads of their own.
    for (unsigned threads : {1u, 4u}) {
        SCOPED_TRACE(threads);
        slowWindowThread = threads == 1;
        released = heldOut = false;
        WGEDCollection::SetOpenThreads(threads);
        // A Cancel clicked before would stop this unpacking.
        plat::setCancelRequested(false);
        TLogoAppForm form(program);
        bool seen = false, shownAtOnce = false, cancelButton = false;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&] {
            TWaitDlg* wait = TWaitDlg::Instance();
            if (!wait || !wait->LabMsg->text().startsWith("Reading")) return;
            if (!seen) shownAtOnce = wait->isVisible();
            seen = true;
            if (!wait->isVisible()) return;
            cancelButton = wait->butCancel->isVisible();
            if (cancelButton) QTest::mouseClick(wait->butCancel, Qt::LeftButton);
            released = true;
        });
        watch.start(5);
        const bool started = start(form);
        WGEDCollection::SetOpenThreads(0);
        ASSERT_TRUE(started);
        watch.stop();
        ASSERT_TRUE(seen);
        EXPECT_FALSE(shownAtOnce);
        EXPECT_TRUE(cancelButton);
        EXPECT_FALSE(heldOut);
        // Cancelled: an empty window, no message, nothing of the file kept
        // but the unpacked copy, and nothing mapped from the temp folder.
        EXPECT_EQ(form.Collection(), nullptr);
        EXPECT_TRUE(messages.empty());
        EXPECT_TRUE(form.StatusText(1).isEmpty());
        EXPECT_EQ(tmp.qelFiles().size(), 1u);
        EXPECT_EQ(readFile("/proc/self/maps").find(tmp.dir()), std::string::npos);
    }
    EXPECT_FALSE(offThread);

    // Ended by a signal before the dialog shows (it holds back every other
    // window's close): the read stops, then the window closes for good.
    slowWindowThread = true;
    WGEDCollection::SetOpenThreads(1);
    plat::setCancelRequested(false);
    TLogoAppForm form(program);
    TSignalClose closeOnSignal(&form);
    signalAtPump = true;
    const bool started = start(form);
    WGEDCollection::SetOpenThreads(0);
    ASSERT_TRUE(started);
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.isHidden(); }, 2000));
    EXPECT_EQ(form.Collection(), nullptr);
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindowUseTest, ChronologicalOrderPlacesParentsByTheirBirth) {
    TSelfViewTrailer t;
    t.StartIndex = 3; // Tom, born 1930; his father born 1900, his mother undated
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, t));
    ASSERT_TRUE(start(form));
    clickTab(form, "Individual");
    QCheckBox* chrono = nullptr;
    for (auto* box : form.findChildren<QCheckBox*>())
        if (box->text() == "Chronological") chrono = box;
    ASSERT_NE(chrono, nullptr);
    if (chrono->isChecked()) QTest::mouseClick(chrono, Qt::LeftButton, {}, QPoint(8, chrono->height() / 2));
    QTest::mouseClick(chrono, Qt::LeftButton, {}, QPoint(8, chrono->height() / 2));
    ASSERT_TRUE(chrono->isChecked());
    std::vector<std::int32_t> targets;
    for (std::size_t i = 2; i < individualRows(form).size(); ++i) targets.push_back(individualRows(form)[i].Target);
    EXPECT_EQ(targets, (std::vector<std::int32_t>{1, 0, 2})); // father, birth, mother
}

TEST_F(MainWindowUseTest, HelpLinksOpenTheHelpFileOrSayItIsMissing) {
    WOptions::SetBool(opt::DispInitHelp, true);
    WOptions::SetProgramDir(tmp.dir() + "/");
    std::vector<std::string> opened;
    plat::hooks().shellOpen = [&](const std::string& target, const std::function<void()>&) {
        opened.push_back(target);
    };
    // Each quick-help box that comes up: a click on its first help link.
    ModalCloser help([](QDialog* d) {
        if (auto* box = qobject_cast<TInitHelpDialog*>(d)) {
            QLabel* link = box->LinkLabels.front();
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, link->height() / 2));
        }
        return false;
    });
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, {}));
    ASSERT_TRUE(start(form)); // the welcome box
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(messages, (std::vector<std::string>{"The help file \"kaldrin.hlp\" is not available."}));

    tsupport::writeFile(tmp.dir() + "/kaldrin.hlp", "help");
    clickTab(form, "Individual"); // the Individual tab's box
    EXPECT_EQ(help.count, 2);
    EXPECT_EQ(opened, (std::vector<std::string>{tmp.dir() + "/kaldrin.hlp"}));
    WOptions::SetProgramDir("");
}

// A button's caption shows whole: the button is as wide as its style asks for the text.
::testing::AssertionResult showsWhole(QAbstractButton* b) {
    if (b->sizeHint().width() <= b->width()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << b->text().toStdString() << "\" needs " << b->sizeHint().width()
                                         << " pixels, has " << b->width();
}

TEST_F(MainWindowUseTest, ConditionEditorsAndFindDialogsShowTheirCaptionsWhole) {
    HLRegister::RegisterConditionClasses();
    TLogoAppForm form(makeProgram(tmp.dir(), kFamily, {}));
    ASSERT_TRUE(start(form));
    idle();
    QTest::mouseClick(form.Actions()->ToolBar()->widgetForAction(form.Actions()->Action(ActionId::LeftHL)),
                      Qt::LeftButton);
    WHLGuiColMan* conditions = form.ConditionPanel();
    typeInto(conditions->Row(0)->cbCondition, "Surname");
    auto* text = qobject_cast<WHLOptString*>(conditions->Row(0)->Editor());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->selMode->text(), "Contains");
    EXPECT_TRUE(showsWhole(text->selMode));
    EXPECT_LE(text->selMode->geometry().right(), text->edText->x());

    QTest::mouseClick(conditions->butAdd, Qt::LeftButton);
    typeInto(conditions->Row(1)->cbCondition, "Age");
    auto* number = qobject_cast<WHLOptInt*>(conditions->Row(1)->Editor());
    ASSERT_NE(number, nullptr);
    QTest::mouseClick(number->selOp, Qt::LeftButton);
    QMenu* ops = number->selOp->Menu();
    QTest::mouseClick(ops, Qt::LeftButton, {}, ops->actionGeometry(ops->actions().back()).center());
    EXPECT_EQ(number->selOp->text(), ">=");
    EXPECT_TRUE(showsWhole(number->selOp));

    QTest::mouseClick(conditions->butAdd, Qt::LeftButton);
    typeInto(conditions->Row(2)->cbCondition, "Birth Date");
    auto* date = qobject_cast<WHLOptDate*>(conditions->Row(2)->Editor());
    ASSERT_NE(date, nullptr);
    for (QAbstractButton* b : {static_cast<QAbstractButton*>(date->Date->DayButton()),
                               static_cast<QAbstractButton*>(date->Date->MonthButton()),
                               static_cast<QAbstractButton*>(date->Date->YearButton())})
        EXPECT_TRUE(showsWhole(b));
    // The date-pick dialog's caption beside its date box.
    bool labelWhole = false;
    {
        ModalCloser pick([&](QDialog* d) {
            for (QLabel* l : d->findChildren<QLabel*>())
                if (l->text() == "Date (DD MMM YYYY)")
                    labelWhole = l->sizeHint().width() <= l->width() &&
                                 l->geometry().right() < static_cast<TdlgDatePick*>(d)->edtDate->x();
            return false;
        });
        QTest::mouseClick(date->butCalendar, Qt::LeftButton);
        EXPECT_EQ(pick.count, 1);
    }
    EXPECT_TRUE(labelWhole);

    // Every other kind of editor: its captions read whole in the smallest
    // window and at the first-start size.
    for (const QString name :
         {"Sex Type", "Ancestors of", "Soundex Surname", "Is a Relation to", "Has Age", "LDS B Date"}) {
        QTest::mouseClick(conditions->butAdd, Qt::LeftButton);
        QComboBox* box = conditions->Row(conditions->GetCount() - 1)->cbCondition;
        box->showPopup(); // a blank typed into the box would open it
        box->view()->setCurrentIndex(box->model()->index(box->findText(name), 0));
        QTest::keyClick(box->view(), Qt::Key_Return);
        ASSERT_EQ(box->currentText(), name);
    }
    form.showNormal();
    for (const QSize size : {QSize(1, 1), QSize(1050, 672)}) {
        form.resize(size);
        QTest::qWait(50);
        for (int i = 0; i < conditions->GetCount(); ++i) {
            const WHLABSOption* editor = conditions->Row(i)->Editor();
            ASSERT_NE(editor, nullptr);
            SCOPED_TRACE(conditions->Row(i)->cbCondition->currentText().toStdString() + " at " +
                         std::to_string(form.width()));
            for (const QLabel* l : editor->findChildren<QLabel*>())
                EXPECT_LE(l->sizeHint().width(), l->width()) << l->text().toStdString();
        }
    }

    // The advanced find dialog in custom-identifier mode.
    int needed = 0, has = 0;
    ModalCloser find([&](QDialog* d) {
        auto* dlg = qobject_cast<TWFindDlg*>(d);
        if (!dlg) return false;
        QTest::mouseClick(dlg->rbCustom, Qt::LeftButton, {}, QPoint(6, dlg->rbCustom->height() / 2));
        QHeaderView* header = dlg->IndGrid->horizontalHeader();
        const QString title = dlg->IndGrid->model()->headerData(1, Qt::Horizontal).toString();
        EXPECT_EQ(title, "Custom ID");
        needed =
            header->fontMetrics().horizontalAdvance(title) + 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin);
        has = header->sectionSize(1);
        return false;
    });
    press(form.FindEdit(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(find.count, 1);
    EXPECT_LE(needed, has);
    EXPECT_GT(needed, 0);
}

} // namespace
