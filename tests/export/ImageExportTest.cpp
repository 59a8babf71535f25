#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>

#include <random>

#include "ExportTestSupport.h"
#include "export/PsQRFilterKinds.h"
#include "export/PsQRImageFilters.h"
#include "platform/Hooks.h"
#include "reports/ui/QRRenderer.h"

using namespace exporttest;
namespace fs = std::filesystem;

namespace {

bool canRead(const char* format) { return QImageReader::supportedImageFormats().contains(format); }

class ImageExport : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApp();
        plat::resetHooks();
        QRResetMetrics();
        r.detail->ForceNewPage = true;
        auto* l = r.detail->Add<TPsQRLabel>();
        l->Caption = "Page text";
        l->Font.Size = 24;
    }
    void TearDown() override {
        TPsQRExportSettings& s = PsQRExportSettings();
        s.OnCreateBitmap = nullptr;
        s.BMP.Monochrome = false;
        s.BMP.PixelFormat = s.JPEG.PixelFormat = TPixelFormat::pf24bit;
        plat::resetHooks();
    }
    template <class F>
    std::string run(const std::string& name) {
        r.restart();
        F filter((dir.path() / name).string());
        r.rep.ExportToFilter(&filter);
        return filter.PageFileName;
    }
    TempDir dir;
    RecordReport r{2};
};

} // namespace

TEST_F(ImageExport, PageFilesAreNumberedAndDecodeAtPageSize) {
    // An old page file of the same name is replaced.
    tsupport::writeFile(dir.path() / "Family0001.jpg", "stale");
    const std::string last = run<TPsQRJPEGFilter>("Family.jpg");
    EXPECT_EQ(last, (dir.path() / "Family0002.jpg").string());
    EXPECT_FALSE(fs::exists(dir.path() / "Family.jpg"));
    EXPECT_EQ(PsQRExportSettings().PageFiles, (std::vector<std::string>{"Family0001.jpg", "Family0002.jpg"}));
    EXPECT_EQ(PsQRExportSettings().PageFileCounter, 2);
    for (const char* f : {"Family0001.jpg", "Family0002.jpg"}) {
        QImage img(QString::fromStdString((dir.path() / f).string()), "JPG");
        ASSERT_FALSE(img.isNull()) << f;
        EXPECT_EQ(img.size(), QSize(816, 1056));
    }
    // A name typed without the extension keeps all of its letters.
    EXPECT_EQ(run<TPsQRBMPFilter>("Family"), (dir.path() / "Family0002.bmp").string());
}

TEST_F(ImageExport, BitmapsMatchTheRenderedPage) {
    run<TPsQRBMPFilter>("Rep.bmp");
    const QImage page = QRPageImage(*r.rep.QRPrinter()->Page(1)).convertToFormat(QImage::Format_RGB888);
    QImage img(QString::fromStdString((dir.path() / "Rep0001.bmp").string()), "BMP");
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.convertToFormat(QImage::Format_RGB888), page);

    PsQRExportSettings().BMP.Monochrome = true;
    run<TPsQRBMPFilter>("Mono.bmp");
    const std::string data = readFile(dir.path() / "Mono0001.bmp");
    ASSERT_GT(data.size(), 30u);
    EXPECT_EQ(data[28], 1); // bits a pixel
    QImage mono(QString::fromStdString((dir.path() / "Mono0001.bmp").string()), "BMP");
    ASSERT_EQ(mono.size(), QSize(816, 1056));
    // Some text pixels are black, the margin white.
    const QImage rgb = mono.convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(rgb.pixel(2, 2), qRgb(255, 255, 255));
    bool black = false;
    for (int y = 0; y < 200 && !black; ++y)
        for (int x = 0; x < 816 && !black; ++x) black = rgb.pixel(x, y) == qRgb(0, 0, 0);
    EXPECT_TRUE(black);
}

TEST_F(ImageExport, PixelFormatSetsTheBitsAndColoursOfThePage) {
    auto* box = r.detail->Add<TPsQRShape>();
    box->Left = 300;
    box->Width = 100;
    box->Height = 100;
    box->Brush.Color = plat::rgb(255, 255, 0);
    const std::pair<TPixelFormat, char> bits[] = {
        {TPixelFormat::pf1bit, 1}, {TPixelFormat::pf8bit, 8}, {TPixelFormat::pf24bit, 24}};
    for (auto [format, bpp] : bits) {
        PsQRExportSettings().BMP.PixelFormat = format;
        run<TPsQRBMPFilter>("Px.bmp");
        const std::string data = readFile(dir.path() / "Px0001.bmp");
        ASSERT_GT(data.size(), 30u);
        EXPECT_EQ(data[28], bpp);
        QImage img(QString::fromStdString((dir.path() / "Px0001.bmp").string()), "BMP");
        ASSERT_EQ(img.size(), QSize(816, 1056)) << int(bpp);
        // The yellow box keeps its colour unless one bit a pixel cannot hold it.
        const QRgb inBox = img.pixel(48 + 350, 48 + 50);
        EXPECT_EQ(qBlue(inBox) < 64, bpp != 1) << int(bpp);
    }
    PsQRExportSettings().JPEG.PixelFormat = TPixelFormat::pf1bit;
    run<TPsQRJPEGFilter>("Px.jpg");
    QImage jpeg(QString::fromStdString((dir.path() / "Px0001.jpg").string()), "JPG");
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_GT(qBlue(jpeg.pixel(48 + 350, 48 + 50)), 192);
}

TEST_F(ImageExport, GifIsRealGifData) {
    run<TPsQRGIFFilter>("Rep.gif");
    const std::string data = readFile(dir.path() / "Rep0002.gif");
    ASSERT_EQ(data.rfind("GIF89a", 0), 0u);
    EXPECT_EQ(data.back(), ';');
    if (!canRead("gif")) GTEST_SKIP() << "this Qt reads no GIF";
    const QImage page = QRPageImage(*r.rep.QRPrinter()->Page(2)).convertToFormat(QImage::Format_RGB32);
    QImage img(QString::fromStdString((dir.path() / "Rep0002.gif").string()), "GIF");
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.convertToFormat(QImage::Format_RGB32), page);
}

TEST(ImageEncoders, GifOfManyColoursUsesTheCubeAndSurvivesCodeResets) {
    ensureGuiApp();
    if (!canRead("gif")) GTEST_SKIP() << "this Qt reads no GIF";
    std::mt19937 rng(7);
    QImage src(301, 157, QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x)
            src.setPixel(x, y, qRgb(int(rng() & 255), int(rng() & 255), (x * 3 + y) & 255));
    const std::string gif = encodeGif(src);
    QImage back;
    ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(gif.data()), int(gif.size()), "GIF"));
    ASSERT_EQ(back.size(), src.size());
    const QImage b = back.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const QRgb s = src.pixel(x, y), d = b.pixel(x, y);
            ASSERT_LE(std::abs(qRed(s) - qRed(d)), 26) << x << "," << y;
            ASSERT_LE(std::abs(qBlue(s) - qBlue(d)), 26) << x << "," << y;
        }
}

TEST_F(ImageExport, CreateBitmapHandlerThatClearsSaveWritesThePage) {
    std::vector<int> pages;
    PsQRExportSettings().OnCreateBitmap = [&](TPsQRExportFilter*, QImage& bmp, bool& save, int page, std::string& out) {
        EXPECT_EQ(bmp.size(), QSize(816, 1056));
        pages.push_back(page);
        if (page == 1) out = "own";
        save = false;
    };
    run<TPsQRJPEGFilter>("H.jpg");
    run<TPsQRGIFFilter>("H.gif");
    run<TPsQRBMPFilter>("H.bmp");
    EXPECT_EQ(pages, (std::vector<int>{1, 2, 1, 2, 1, 2}));
    for (const char* ext : {"jpg", "gif", "bmp"}) {
        EXPECT_EQ(readFile(dir.path() / (std::string("H0001.") + ext)), "own") << ext;
        EXPECT_TRUE(fs::exists(dir.path() / (std::string("H0002.") + ext))) << ext;
        EXPECT_EQ(fs::file_size(dir.path() / (std::string("H0002.") + ext)), 0u) << ext;
    }
}

TEST(ImageFilters, RegisteredWithTheirExtensions) {
    for (auto kind : {TPsQRFilterKind::fkGIF, TPsQRFilterKind::fkJPEG, TPsQRFilterKind::fkBMP, TPsQRFilterKind::fkEMF,
                      TPsQRFilterKind::fkWMF}) {
        const TPsQRFilterKindInfo& info = filterKindInfo(kind);
        ASSERT_TRUE(bool(info.create)) << info.className;
        auto f = info.create("x");
        EXPECT_EQ(f->GetExtension(), info.extension);
        EXPECT_EQ(f->GetFilterName(), info.filterName);
        EXPECT_EQ(f->GetDescription(), "Enhanced Export Filters");
    }
}
