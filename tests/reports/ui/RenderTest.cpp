// Pages drawn with QPainter: real font metrics, text where the layout put it.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPrinter>

#include "reports/ReportFamily.h"
#include "reports/ReportInd.h"
#include "reports/ReportInfo.h"
#include "reports/render/QRRenderer.h"
#include "reports/ui/QRPrintDevices.h"
#include "support/MemCollection.h"
#include "support/ui/TestOutput.h"

namespace {

// Dark pixels inside a rectangle of the image (page pixels at 96 dpi).
int darkPixels(const QImage& img, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x0 + w); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++n;
    return n;
}

struct Fixture : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    std::int32_t john = 0, wife = 0, fam = 0;
    void SetUp() override {
        QRInstallQtMetrics();
        john = c.AddPerson("John William /Smith/", 'M')
                   .XRef("I1")
                   .Birth("12 MAR 1888", "Boston, Suffolk, Massachusetts")
                   .Death("4 JUL 1950", "Salem, Essex, Massachusetts")
                   .Other("Census", "1910", "Lynn, Essex");
        auto f = c.AddPerson("Frank /Smith/", 'M').Birth("1850");
        auto m = c.AddPerson("Mary /Jones/", 'F').Birth("1855");
        c.AddFamily(f, m).Child(john);
        wife = c.AddPerson("Ann /Brown/", 'F').Birth("1890", "Lynn");
        fam = c.AddFamily(john, wife).Marriage("1912", "Boston");
        for (const char* k : {"Tom /Smith/", "Sue /Smith/", "Bob /Smith/"})
            c.Family(fam).Child(c.AddPerson(k, k[0] == 'S' ? 'F' : 'M').Birth("1915", "Boston"));
        c.Person(john).Note("A long note line that tells something about John and his family.");
    }
    void TearDown() override { QRResetMetrics(); }
};

TEST_F(Fixture, IndividualReportPageLooksRight) {
    TReportIndForm f;
    f.SetTitle("Individual Information");
    f.SetCollection(&c);
    f.SetIndividual(john);
    f.SetFileName("Smith family");
    ASSERT_TRUE(f.Prepare());
    const QImage img = QRPageImage(*f.QRPrinter()->Page(1));
    ASSERT_EQ(img.width(), 816);
    ASSERT_EQ(img.height(), 1056);
    // Title centred in the header: ink in the middle, none at the far left.
    EXPECT_GT(darkPixels(img, 300, 56, 216, 24), 50);
    EXPECT_EQ(darkPixels(img, 0, 0, 48, 1056), 0) << "nothing in the left margin";
    // Footer line near the bottom.
    EXPECT_GT(darkPixels(img, 48, 1056 - 48 - 35, 720, 8), 600);
    // Every text item lies within the page width when measured with real fonts.
    for (const auto& it : f.QRPrinter()->Page(1)->Items) {
        if (it.Kind == TQRItemKind::Text) {
            EXPECT_LE(it.Left + QRTextWidth(it.Font, it.Text), 816 - 40) << it.Text;
        }
    }
}

TEST_F(Fixture, PrintedPageImagesScale) {
    TReportFamilyForm f;
    f.SetTitle("Family Group Information");
    f.SetCollection(&c);
    f.SetIndividual(john);
    f.SetCouple(wife, fam);
    ASSERT_TRUE(f.Prepare());
    const QImage img = QRPageImage(*f.QRPrinter()->Page(1));
    const QImage big = QRPageImage(*f.QRPrinter()->Page(1), 192);
    EXPECT_EQ(big.width(), 1632);
    // Roughly four times the ink at twice the resolution.
    const double ratio = double(darkPixels(big, 0, 0, big.width(), big.height())) /
                         double(darkPixels(img, 0, 0, img.width(), img.height()));
    EXPECT_GT(ratio, 2.0);
    EXPECT_LT(ratio, 6.0);

    TReportInfoForm info;
    info.SetTitle("General File Information");
    info.SetCollection(&c);
    ASSERT_TRUE(info.Prepare());
    // Title centred at the top, three short tables, then blank page down to the footer.
    const QImage page = QRPageImage(*info.QRPrinter()->Page(1));
    EXPECT_GT(darkPixels(page, 300, 56, 216, 24), 50);
    EXPECT_EQ(darkPixels(page, 0, 0, 48, 1056), 0);
    EXPECT_GT(darkPixels(page, 48, 100, 720, 400), 1000);
    EXPECT_EQ(darkPixels(page, 0, 520, 816, 440), 0);
}

TEST_F(Fixture, PrintsEveryPageToThePrinter) {
    TReportFamilyForm f;
    f.SetCollection(&c);
    f.SetIndividual(john);
    f.SetCouple(wife, fam);
    for (int i = 0; i < 8; ++i) c.Family(fam).Child(c.AddPerson("Extra /Smith/", 'M'));
    ASSERT_TRUE(f.Prepare());
    ASSERT_GE(f.QRPrinter()->PageCount(), 2);
    const QString path = testOutputPath("report-print.pdf");
    QFile::remove(path);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    ASSERT_TRUE(QRPrintPages(*f.QRPrinter(), printer));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray data = pdf.readAll();
    EXPECT_TRUE(data.startsWith("%PDF"));
    EXPECT_EQ(data.count("/Type /Page\n") + data.count("/Type /Page\r"), f.QRPrinter()->PageCount());
}

} // namespace
