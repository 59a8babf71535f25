#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "app/ui/FamilyView.h"
#include "gedcom/GEDCollection.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/ui/Ink.h"
#include "support/ui/TestOutput.h"

namespace {

struct FamilyView : ::testing::Test {
    WDefaultSettings settings;
    WMemCollection c;
    std::vector<std::string> messages;
    std::function<void(const std::string&)> savedMessage;
    void SetUp() override {
        savedMessage = plat::hooks().showMessage;
        plat::hooks().showMessage = [this](const std::string& t) { messages.push_back(t); };
    }
    void TearDown() override { plat::hooks().showMessage = savedMessage; }

    static QString cell(const TFamilyView& v, int row, int col) {
        const QTableWidgetItem* it = v.Grid()->item(row, col);
        return it ? it->text() : QString();
    }
};

using tsupport::sharedFile;

} // namespace

TEST_F(FamilyView, StepsThroughThreeFamiliesAndClearsLeftoverRows) {
    auto john = c.AddPerson("John /Smith/", 'M');
    auto f1 = c.AddFamily(john, c.AddPerson("Ann /A/", 'F'));
    c.Family(f1).Child(c.AddPerson("K1 /Smith/").Birth("1900")).Child(c.AddPerson("K2 /Smith/").Birth("1901"));
    c.Family(c.AddFamily(john, c.AddPerson("Bea /B/", 'F'))).Child(c.AddPerson("K3 /Smith/"));
    c.AddFamily(john, c.AddPerson("Cy /C/", 'F'));

    TFamilyView v;
    v.SetCollection(&c);
    v.Fill(john);
    EXPECT_FALSE(v.MarriagesButton()->isHidden());
    EXPECT_EQ(v.MultipleMarriagesLabel()->text(), "(1 of 3)");
    EXPECT_TRUE(toQ(v.Panel(fpSpouse)->NameString()).startsWith("Ann "));
    EXPECT_TRUE(cell(v, 0, 1).startsWith("K1 ")) << fromQ(cell(v, 0, 1));
    EXPECT_TRUE(cell(v, 1, 1).startsWith("K2 ")) << fromQ(cell(v, 1, 1));
    EXPECT_EQ(v.Grid()->horizontalHeaderItem(1)->text(), "Children (2)");

    QTest::mouseClick(v.MarriagesButton(), Qt::LeftButton);
    EXPECT_EQ(v.MultipleMarriagesLabel()->text(), "(2 of 3)");
    EXPECT_TRUE(cell(v, 0, 1).startsWith("K3 ")) << fromQ(cell(v, 0, 1));
    EXPECT_EQ(cell(v, 1, 1), ""); // left over from the first family
    EXPECT_EQ(v.Grid()->horizontalHeaderItem(1)->text(), "Children (1)");
    v.MarriagesButton()->click();
    EXPECT_EQ(cell(v, 0, 1), "");
    v.MarriagesButton()->click();
    EXPECT_EQ(v.MultipleMarriagesLabel()->text(), "(1 of 3)");

    // A count of any length shows whole, and the button stays clear of it.
    const auto many = c.AddPerson("Many /Wives/", 'M');
    for (int i = 0; i < 70001; ++i) c.AddFamily(many, 0);
    v.Fill(many);
    QLabel* counter = v.MultipleMarriagesLabel();
    EXPECT_EQ(counter->text(), "(1 of 70001)");
    EXPECT_GE(counter->contentsRect().width(), counter->fontMetrics().horizontalAdvance(counter->text()));
    EXPECT_LT(counter->geometry().right(), v.MarriagesButton()->geometry().left());

    // One family: no button, no position.
    v.Fill(c.AddPerson("Single", 'M'));
    EXPECT_TRUE(v.MarriagesButton()->isHidden());
    EXPECT_EQ(v.MultipleMarriagesLabel()->text(), "");
    EXPECT_EQ(v.Panel(fpSpouse)->IndividualNumber, 0);
}

TEST_F(FamilyView, DoubleClicksMoveToThePersonShown) {
    auto dad = c.AddPerson("Dad /D/", 'M');
    auto me = c.AddPerson("Me /D/", 'M');
    c.AddFamily(dad, 0).Child(me);
    c.AddFamily(c.AddPerson("Grandpa /D/", 'M'), 0).Child(dad);
    auto wife = c.AddPerson("Wife /W/", 'F');
    auto kid = c.AddPerson("Kid /D/", 'F');
    auto kidsHusband = c.AddPerson("Hub /H/", 'M');
    c.AddFamily(me, wife).Child(kid);
    c.AddFamily(kidsHusband, kid);

    TFamilyView v;
    v.resize(700, 500);
    v.SetCollection(&c);
    v.Fill(me);
    std::vector<std::int32_t> chosen;
    QObject::connect(&v, &TViewPage::individualChosen, [&](std::int32_t i) { chosen.push_back(i); });

    QTest::mouseDClick(v.Panel(fpFather1), Qt::LeftButton);
    QTest::mouseDClick(v.Panel(fpMother1), Qt::LeftButton); // empty: nothing
    EXPECT_FALSE(v.PlusButton(0)->isHidden());              // Dad has a father
    EXPECT_TRUE(v.PlusButton(1)->isHidden());
    QTest::mouseClick(v.PlusButton(0), Qt::LeftButton);
    EXPECT_TRUE(cell(v, 0, 5).startsWith("Hub ")) << fromQ(cell(v, 0, 5));
    emit v.Grid()->cellDoubleClicked(0, 1);
    emit v.Grid()->cellDoubleClicked(0, 5);
    emit v.Grid()->cellDoubleClicked(0, 3); // a date: nothing
    emit v.Grid()->cellDoubleClicked(4, 1); // below the children: nothing
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{dad, dad, kid, kidsHusband}));
}

TEST_F(FamilyView, ColumnWidthsTitlesAndDiscardedFile) {
    WOptions::SetInt(opt::FamCol2, 150);
    WOptions::SetBool(opt::FamBirChr, false);
    TFamilyView v;
    EXPECT_EQ(v.Grid()->columnWidth(1), 150);
    EXPECT_EQ(v.Grid()->columnWidth(5), 200);
    EXPECT_EQ(v.Grid()->horizontalHeaderItem(3)->text(), "Birth");
    WOptions::SetBool(opt::FamBirChr, true);
    v.RepaintView();
    EXPECT_EQ(v.Grid()->horizontalHeaderItem(4)->text(), "Death/[Burial]");
    v.Grid()->setColumnWidth(3, 91);
    v.SaveColumnWidths();
    EXPECT_EQ(WOptions::GetInt(opt::FamCol4), 91);
    EXPECT_EQ(WOptions::GetInt(opt::FamCol2), 150);

    auto p = c.AddPerson("Ann /A/", 'F');
    c.Family(c.AddFamily(0, p)).Child(c.AddPerson("Kid"));
    v.SetCollection(&c);
    v.Fill(p);
    EXPECT_TRUE(cell(v, 0, 1).startsWith("Kid")) << fromQ(cell(v, 0, 1));
    // Names without a highlight group: black on white.
    EXPECT_EQ(v.Grid()->item(0, 1)->background().color(), QColor(Qt::white));
    EXPECT_EQ(v.Grid()->item(0, 1)->foreground().color(), QColor(Qt::black));
    v.SetCollection(nullptr);
    EXPECT_EQ(cell(v, 0, 1), "");
    EXPECT_EQ(v.Panel(fpSubject)->IndividualNumber, 0);
    v.Fill(p); // no file: stays empty
    EXPECT_EQ(v.Subject().Subject(), 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(FamilyView, DanglingFamilyOfAChildIsReportedNotThrown) {
    auto mum = c.AddPerson("Mum", 'F');
    auto kid = c.AddPerson("Kid");
    c.AddFamily(0, mum).Child(kid);
    c.PersonData(kid).spouseFamilies.push_back(0);
    TFamilyView v;
    v.SetCollection(&c);
    v.Fill(mum);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Error getting pointer to Marriage 0");
    EXPECT_TRUE(toQ(v.Panel(fpSubject)->NameString()).startsWith("Mum"));
}

TEST_F(FamilyView, RealFileLooksRight) {
    BRENTHAUL_NEED_SHARED("royal92.ged");
    WGEDCollection g(sharedFile("royal92.ged"));
    ASSERT_TRUE(g.Open());
    g.AfterOpen();
    TFamilyView v;
    v.resize(820, 560);
    v.SetCollection(&g);
    v.Fill(1); // Queen Victoria: parents, Albert, nine children
    EXPECT_NE(v.Panel(fpSubject)->NameString().find("Victoria"), std::string::npos);
    EXPECT_NE(v.Panel(fpFather1)->IndividualNumber, 0);
    EXPECT_NE(v.Panel(fpSpouse)->NameString().find("Albert"), std::string::npos);
    EXPECT_EQ(v.Group().Children.size(), 9u);
    EXPECT_FALSE(v.MarriageInfoLabel()->text().isEmpty());
    // Every panel holding someone shows text, an empty one none.
    const QImage img = v.grab().toImage();
    for (int k = fpSubject; k < fpCount; ++k) {
        const TIndInfoPanel* p = v.Panel(FamilyPanel(k));
        const int ink = tsupport::darkPixels(img, tsupport::areaIn(&v, p));
        if (p->IndividualNumber != 0)
            EXPECT_GT(ink, 100) << "panel " << k;
        else
            EXPECT_EQ(ink, 0) << "panel " << k;
    }

    // Someone with several families.
    for (std::int32_t i = 1; i <= g.GetIndividualCount(); ++i)
        if (g.LinkSpouseFamilyCount(i) >= 3) {
            v.Fill(i);
            EXPECT_EQ(v.MultipleMarriagesLabel()->text(), "(1 of " + QString::number(g.LinkSpouseFamilyCount(i)) + ")");
            v.MarriagesButton()->click();
            EXPECT_GT(tsupport::darkPixels(v.grab().toImage(), tsupport::areaIn(&v, v.Panel(fpSpouse))), 100);
            break;
        }
    EXPECT_TRUE(messages.empty());
}
