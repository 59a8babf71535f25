// The preview window: page navigation over the prepared pages.
#include "reports/ReportInfo.h"
#include "reports/ui/QRPreview.h"
#include "reports/ui/QRRenderer.h"
#include "support/MemCollection.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPixmap>
#include <QToolButton>

TEST(Preview, NavigatesPagesAndClamps) {
    WDefaultSettings settings;
    QRInstallQtMetrics();
    WMemCollection c;
    TReportInfoForm f;
    f.SetTitle("General File Information");
    f.SetCollection(&c);
    f.PageHeaderBand->Height = 900;  // three sections, one page each
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
        if (l->text().startsWith("Page "))
            label = l->text();
    EXPECT_EQ(label, QString("Page 1 of %1").arg(pages));
    p.SetZoom(0.5);
    p.resize(700, 800);
    QRResetMetrics();
}
