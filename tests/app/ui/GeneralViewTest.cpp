#include <fstream>
#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include "app/QuickHelp.h"
#include "app/ui/GeneralView.h"
#include "gedcom/FormatString.h"
#include "model/StrFunc.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/ui/Ink.h"
#include "support/ui/TestOutput.h"

namespace {

QString cell(QTableWidget* g, int gridRow, int column) {
    const QTableWidgetItem* it = g->item(gridRow - 1, column);
    return it ? it->text() : QString();
}

class KindCollection : public WMemCollection {
public:
    explicit KindCollection(std::uint8_t kind) { m_fileKind = kind; }
};

TEST(GeneralViewTest, NoSubmitterKindThreeAndLoadTimeKept) {
    WDefaultSettings settings;
    KindCollection c(3);
    c.AddPerson("A /B/");
    TGeneralView v;
    v.SetCollection(&c);
    v.SetLoadTime("0.047 seconds");
    v.Fill(0);
    EXPECT_EQ(cell(v.StatsGrid(), 4, 1), "0.047 seconds");
    EXPECT_EQ(cell(v.StatsGrid(), 7, 1), "N/A");
    EXPECT_EQ(cell(v.StatsGrid(), 5, 1), "1");
    EXPECT_EQ(cell(v.SubmitterGrid(), 5, 0), "Web Site");
    EXPECT_TRUE(cell(v.SubmitterGrid(), 1, 1).isEmpty());
    EXPECT_EQ(v.HeaderGrid()->rowCount(), 1); // one entry: "Source"
    EXPECT_EQ(cell(v.HeaderGrid(), 1, 1), "memory");
    v.Fill(0); // the tab again
    EXPECT_EQ(cell(v.StatsGrid(), 4, 1), "0.047 seconds");
    v.SetShowRaw(true);
    v.Fill(0);
    EXPECT_TRUE(v.SubmitterMemo()->toPlainText().isEmpty());
    EXPECT_EQ(v.HeaderMemo()->toPlainText(), "0 HEAD");

    v.SetCollection(nullptr);
    v.Fill(0);
    EXPECT_TRUE(cell(v.StatsGrid(), 4, 1).isEmpty());
    EXPECT_EQ(v.HeaderGrid()->rowCount(), 1);
}

TEST(GeneralViewTest, RealFilePicture) {
    WDefaultSettings settings;
    BRENTHAUL_NEED_SHARED("royal92.ged");
    const std::string path = tsupport::sharedFile("royal92.ged");
    std::string error;
    auto c = FormatString::OpenCollection(path, error);
    ASSERT_NE(c, nullptr) << error;
    ASSERT_TRUE(c->Open());
    TGeneralView v;
    v.resize(900, 520);
    v.SetCollection(c.get());
    v.SetLoadTime("0.125 seconds");
    v.Fill(0);
    EXPECT_EQ(cell(v.StatsGrid(), 5, 1).toStdString(), StrFunc::FormatThousands(c->GetIndividualCount()));
    EXPECT_EQ(v.HeaderGrid()->rowCount(), int(c->GetFileInfo().size()));
    v.show();
    QTest::qWait(20);
    // Both grids draw their rows and nothing below them.
    const QImage img = v.grab().toImage();
    for (const QTableWidget* grid : {v.HeaderGrid(), v.StatsGrid()}) {
        const auto areas = tsupport::tableAreasIn(&v, grid);
        EXPECT_GT(tsupport::darkPixels(img, areas.rows), 40 * grid->rowCount());
        EXPECT_EQ(tsupport::darkPixels(img, areas.below), 0);
    }
}

} // namespace
