// The preview window: page navigation over the prepared pages.
#include "export/PsQRExportSettings.h"
#include "reports/ReportInfo.h"
#include "reports/ui/QRPreview.h"
#include "reports/ui/QRRenderer.h"
#include "support/MemCollection.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

#include "../../export/ExportTestSupport.h"
#include "support/TestOutput.h"

TEST(Preview, NavigatesPagesAndClamps) {
    WDefaultSettings settings;
    QRInstallQtMetrics();
    WMemCollection c;
    TReportInfoForm f;
    f.SetTitle("General File Information");
    f.SetCollection(&c);
    f.PageHeaderBand->Height = 900; // three sections, one page each
    ASSERT_TRUE(f.Prepare());
    const int pages = f.QRPrinter()->PageCount();
    ASSERT_GE(pages, 3);
    TQRPreview p(f);
    EXPECT_EQ(p.CurrentPage(), 1);
    EXPECT_EQ(p.PageCount(), pages);
    p.ShowPage(2);
    EXPECT_EQ(p.CurrentPage(), 2);
    p.ShowPage(99);
    EXPECT_EQ(p.CurrentPage(), pages);
    p.ShowPage(-1);
    EXPECT_EQ(p.CurrentPage(), 1);
    QString label;
    for (QLabel* l : p.findChildren<QLabel*>())
        if (l->text().startsWith("Page ")) label = l->text();
    EXPECT_EQ(label, QString("Page 1 of %1").arg(pages));
    p.SetZoom(0.5);
    p.resize(700, 800);
    QRResetMetrics();
}

TEST(Preview, SaveWritesTheChosenFormatWithItsExtension) {
    WDefaultSettings settings;
    const TPsQRVisibleFilters visible = PsQRExportSettings().VisibleFilters();
    PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());
    WMemCollection c;
    TReportInfoForm f;
    f.SetCollection(&c);
    ASSERT_TRUE(f.Prepare());
    TQRPreview p(f);
    exporttest::TempDir dir;
    const std::string name = (dir.path() / "sauv\xC3\xA9 \xE4\xB8\xAD").string(); // a UTF-8 name
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        dlg->selectNameFilter("Rich Text Format (*.rtf)");
        dlg->selectFile(QString::fromUtf8(name.c_str()));
        QMetaObject::invokeMethod(dlg, "accept");
    });
    for (QPushButton* b : p.findChildren<QPushButton*>())
        if (b->text() == "Save") QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_TRUE(std::filesystem::exists(name + ".rtf"));
    EXPECT_FALSE(std::filesystem::exists(name));
    PsQRExportSettings().SetVisibleFilters(visible);
}
