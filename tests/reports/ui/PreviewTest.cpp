// The preview window: page navigation over the prepared pages.
#include <filesystem>
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "../../export/ExportTestSupport.h"
#include "export/PsQRExportSettings.h"
#include "reports/ReportInfo.h"
#include "reports/render/QRRenderer.h"
#include "reports/ui/QRPreview.h"
#include "support/MemCollection.h"
#include "support/ui/TestOutput.h"

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
    f.PageHeaderBand->Height = 900; // a tall header: many pages
    ASSERT_TRUE(f.Prepare());
    const int pages = f.QRPrinter()->PageCount();
    ASSERT_GE(pages, 3);
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

    // A file that cannot be made is named as the system spells its folder,
    // letters of other scripts too.
    const std::string folder = (dir.path() / "\xC3\xBCn\xC3\xAF"
                                             "c\xC3\xB6"
                                             "d\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87 #1")
                                   .string();
    std::filesystem::create_directories(folder + "/saved.rtf/in the way");
    QString shown, type = "Rich Text Format (*.rtf)";
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dlg = qobject_cast<QFileDialog*>(modal)) {
            dlg->selectNameFilter(type);
            auto* edit = dlg->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(edit, nullptr);
            edit->setText(QString::fromUtf8((folder + "/saved").c_str()));
            QMetaObject::invokeMethod(dlg, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            shown = box->text();
            box->accept();
        }
    });
    poll.start(10);
    for (QPushButton* b : p.findChildren<QPushButton*>())
        if (b->text() == "Save") QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(shown.toStdString(), "Cannot write file \"" + folder + "/saved.rtf\": it is a folder.");

    // A save refused at the second page file leaves the preview all its
    // pages, shown and printed.
    std::filesystem::create_directories(folder + "/saved0002.wmf/in the way");
    type = "Windows Metafile (*.wmf)";
    for (QPushButton* b : p.findChildren<QPushButton*>())
        if (b->text() == "Save") QTest::mouseClick(b, Qt::LeftButton);
    EXPECT_EQ(shown.toStdString(), "Cannot write file \"" + folder + "/saved0002.wmf\": it is a folder.");
    EXPECT_EQ(f.QRPrinter()->PageCount(), pages);
    for (QToolButton* b : p.findChildren<QToolButton*>())
        if (b->toolTip() == "Last Page") QTest::mouseClick(b, Qt::LeftButton);
    QString label;
    for (QLabel* l : p.findChildren<QLabel*>())
        if (l->text().startsWith("Page ")) label = l->text();
    EXPECT_EQ(label.toStdString(), QString("Page %1 of %1").arg(pages).toStdString());
    PsQRExportSettings().SetVisibleFilters(visible);
}
