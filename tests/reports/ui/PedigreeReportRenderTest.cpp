// The chart and list reports drawn with real font metrics: text lands in
// its boxes and columns. Pages are also written as PNG for a look.
#include <gtest/gtest.h>

#include <QImage>

#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "reports/ReportList.h"
#include "reports/ReportPedigree.h"
#include "reports/render/QRRenderer.h"
#include "support/MemCollection.h"
#include "support/ui/TestOutput.h"

namespace {

int darkPixels(const QImage& img, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(img.height(), y0 + h); ++y)
        for (int x = std::max(0, x0); x < std::min(img.width(), x0 + w); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++n;
    return n;
}

QImage render(TQuickRep& r) {
    EXPECT_TRUE(r.Prepare());
    const TQRPreparedPage* page = r.QRPrinter()->Page(1);
    if (!page) return {};
    return QRPageImage(*page);
}

struct PedigreeReportRender : ::testing::Test {
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    WMemCollection c;
    std::int32_t root = 0, fam = 0;
    void SetUp() override {
        QRInstallQtMetrics();
        root = c.AddPerson("John William /Smith/", 'M')
                   .Birth("12 MAR 1888", "Boston, Suffolk, Massachusetts")
                   .Death("4 JUL 1950", "Salem, Essex");
        auto wife = c.AddPerson("Ann /Brown/", 'F').Birth("1890", "Lynn");
        fam = c.AddFamily(root, wife).Marriage("1912", "Boston");
        for (const char* k : {"Tom /Smith/", "Sue /Smith/"}) c.Family(fam).Child(c.AddPerson(k, 'U').Birth("1914"));
        int n = 0;
        std::vector<std::int32_t> level{root};
        for (int g = 0; g < 4; ++g) {
            std::vector<std::int32_t> next;
            for (std::int32_t p : level) {
                auto f = c.AddPerson("Father" + std::to_string(++n) + " /Smith/", 'M')
                             .Birth("1850", "York")
                             .Death("1920", "Leeds");
                auto m = c.AddPerson("Mother" + std::to_string(++n) + " /Jones/", 'F').Christening("1852", "Hull");
                c.AddFamily(f, m).Marriage("1870", "Church").Child(p);
                next.push_back(f);
                next.push_back(m);
            }
            level = next;
        }
    }
};

} // namespace

TEST_F(PedigreeReportRender, PedigreeBoxesAndListColumns) {
    TReportPed4Form ped;
    ped.SetIndividual(root);
    ped.SetCascading(true);
    ped.SetCollection(&c);
    ped.SetFamily(fam);
    ped.SetFileName("smith.ged");
    QImage img = render(ped);
    ASSERT_FALSE(img.isNull());
    EXPECT_GT(darkPixels(img, 48 + 17, 36 + 445, 240, 20), 20); // box 1 name
    EXPECT_GT(darkPixels(img, 48 + 503, 36 + 65, 160, 20), 20); // box 8 name
    EXPECT_GT(darkPixels(img, 48 + 670, 36 + 80, 30, 14), 3);   // its chart number
    EXPECT_EQ(ped.QRPrinter()->PageCount(), 9);

    WListColumns cols(&c, "RenderListReport");
    cols.SetColumnList("2,7,6");
    for (int i = 1; i <= 3; ++i) cols.SetColumnWidth(i, i == 1 ? 40 : 180);
    WColSortIterator it("", c.GetCount(), &c);
    TReportListForm list;
    list.SetTitle("List");
    list.SetLayout(true, true, false);
    list.SetCollection(&c);
    list.SetColumns(&cols, &it);
    img = render(list);
    EXPECT_GT(darkPixels(img, 48 + 52, 48 + 70, 180, 16), 20); // first row, surname column
}
