#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include "app/ui/PedigreeView.h"
#include "gedcom/GEDCollection.h"
#include "model/Options.h"
#include "model/ui/IndInfoPanel.h"
#include "platform/ui/QtText.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/ui/Ink.h"
#include "support/ui/TestOutput.h"

namespace {

using tsupport::sharedFile;

struct PedigreeView : ::testing::Test {
    WDefaultSettings settings;
    WMemCollection c;
};

} // namespace

TEST_F(PedigreeView, ListsSpouseStepAndMoves) {
    auto me = c.AddPerson("Me /X/", 'M').Birth("1950");
    auto dad = c.AddPerson("Dad /X/", 'M');
    auto mum = c.AddPerson("Mum /Y/", 'F');
    auto sis = c.AddPerson("Sis /X/", 'F').Birth("1948");
    c.AddFamily(dad, mum).Child(me).Child(sis);
    // Four more generations on the father's line so the outer box has a parent.
    std::int32_t line = dad;
    for (int g = 0; g < 4; ++g) {
        const std::int32_t up = c.AddPerson("Up" + std::to_string(g), 'M');
        c.AddFamily(up, 0).Child(line);
        line = up;
    }
    auto w1 = c.AddPerson("Wife /One/", 'F');
    auto w2 = c.AddPerson("Wife /Two/", 'F');
    c.AddFamily(me, w1).Child(c.AddPerson("Son /X/", 'M'));
    c.AddFamily(me, w2);

    TPedigreeView v;
    v.resize(900, 560);
    v.SetCollection(&c);
    v.Fill(me);
    std::vector<std::int32_t> chosen;
    QObject::connect(&v, &TViewPage::individualChosen, [&](std::int32_t i) { chosen.push_back(i); });
    EXPECT_EQ(v.SiblingsLabel()->text(), "Siblings (1)");
    ASSERT_EQ(v.SiblingList()->count(), 1);
    EXPECT_EQ(v.SiblingList()->item(0)->data(Qt::UserRole).toInt(), sis);
    EXPECT_EQ(v.ChildrenLabel()->text(), "Children (1)");
    EXPECT_EQ(v.SpousePanel()->IndividualNumber, w1);
    EXPECT_FALSE(v.SpouseButton()->isHidden());
    EXPECT_EQ(v.Box(2)->IndividualNumber, dad);
    EXPECT_EQ(v.Box(3)->IndividualNumber, mum);
    EXPECT_FALSE(v.PlusButton(1)->isHidden()); // box 16 has a father
    EXPECT_TRUE(v.PlusButton(2)->isHidden());

    QTest::mouseClick(v.SpouseButton(), Qt::LeftButton);
    EXPECT_EQ(v.SpousePanel()->IndividualNumber, w2);
    EXPECT_EQ(v.ChildrenLabel()->text(), "Children (0)");
    v.SpouseButton()->click();
    EXPECT_EQ(v.SpousePanel()->IndividualNumber, w1);

    QTest::mouseDClick(v.Box(3), Qt::LeftButton);
    QTest::mouseDClick(v.Box(9), Qt::LeftButton);       // empty
    QTest::mouseClick(v.PlusButton(1), Qt::LeftButton); // to the father
    emit v.SiblingList()->itemDoubleClicked(v.SiblingList()->item(0));
    EXPECT_EQ(chosen, (std::vector<std::int32_t>{mum, dad, sis}));

    // The left panel hides and comes back.
    v.show();
    v.HideListsButton()->click();
    EXPECT_TRUE(v.LeftPanel()->isHidden());
    v.ShowListsButton()->click();
    EXPECT_FALSE(v.LeftPanel()->isHidden());
    v.hide();

    v.SetCollection(nullptr);
    EXPECT_EQ(v.Box(1)->IndividualNumber, 0);
    EXPECT_EQ(v.SiblingList()->count(), 0);
    EXPECT_FALSE(v.Tree().Filled);
}

TEST_F(PedigreeView, NarrowAreaScrollsSideways) {
    QWidget host; // a child page: top-level windows have a minimum width
    host.resize(400, 400);
    TPedigreeView v(&host);
    v.SetCollection(&c);
    host.show();
    v.HideListsButton()->click();
    v.setGeometry(0, 0, 100, 400);
    QCoreApplication::processEvents();
    // The boxes are laid out in the least width and the area scrolls to them.
    ASSERT_EQ(v.MainScroll()->width(), 100);
    EXPECT_EQ(v.MainArea()->width(), kPedLeastWidth);
    EXPECT_EQ(v.Box(1)->width(), kPedLeastWidth * 32 / 100);
    EXPECT_EQ(v.Box(2)->width(), kPedLeastWidth * 28 / 100);
    EXPECT_EQ(v.SpousePanel()->width(), v.Box(2)->width());
    // Outer boxes are one line high, inner ones three.
    EXPECT_EQ(v.Box(16)->height(), v.Box(16)->LineHeight() + 2);
    EXPECT_EQ(v.Box(1)->height(), 3 * v.Box(1)->LineHeight() + 4);
    v.ApplyGridFont(10, 16);
    EXPECT_EQ(v.Box(1)->LineHeight(), 16);
    EXPECT_EQ(v.Layout().Boxes[1].Height, v.Box(1)->height()); // laid out again
}

TEST_F(PedigreeView, RealFileLooksRight) {
    BRENTHAUL_NEED_SHARED("royal92.ged");
    WGEDCollection g(sharedFile("royal92.ged"));
    ASSERT_TRUE(g.Open());
    g.AfterOpen();
    WOptions::SetBool(opt::UseLDS, true);
    TPedigreeView v;
    v.resize(1000, 620);
    v.SetCollection(&g);
    v.Fill(1); // Queen Victoria
    EXPECT_NE(v.Box(1)->NameString().find("Victoria"), std::string::npos);
    EXPECT_NE(v.Box(2)->IndividualNumber, 0);
    EXPECT_NE(v.Box(3)->IndividualNumber, 0);
    EXPECT_EQ(v.ChildList()->count(), 9);
    EXPECT_NE(v.SpousePanel()->NameString().find("Albert"), std::string::npos);
    int filled = 0;
    for (int k = 16; k <= kPedBoxes; ++k) filled += v.Box(k)->IndividualNumber != 0;
    EXPECT_GT(filled, 0);
    // Names and dates are drawn in the boxes that hold someone, and nothing in
    // the left half of an empty box (its right end has the small marker frame).
    const QImage img = v.grab().toImage();
    for (int k = 1; k <= kPedBoxes; ++k) {
        QRect r = tsupport::areaIn(&v, v.Box(k));
        r.setWidth(r.width() / 2);
        if (v.Box(k)->IndividualNumber != 0)
            EXPECT_GT(tsupport::darkPixels(img, r), 100) << "box " << k;
        else
            EXPECT_EQ(tsupport::darkPixels(img, r), 0) << "box " << k;
    }
}
