// Page metafiles are vector drawings: their records walked by hand and the
// files read by independent readers (libwmf's wmf2svg, Inkscape for EMF).
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include <QImage>

#include "ExportTestSupport.h"
#include "ReaderTools.h"
#include "export/PsQRControls.h"
#include "export/PsQRImageFilters.h"
#include "export/PsQRPDFFilter.h"

using namespace exporttest;
namespace fs = std::filesystem;

namespace {

std::uint32_t le32(const std::string& s, size_t at) {
    return std::uint32_t(std::uint8_t(s[at])) | std::uint32_t(std::uint8_t(s[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(s[at + 2])) << 16 | std::uint32_t(std::uint8_t(s[at + 3])) << 24;
}
unsigned le16(const std::string& s, size_t at) {
    return unsigned(std::uint8_t(s[at])) | unsigned(std::uint8_t(s[at + 1])) << 8;
}

// One page: a bold red text, a yellow box, a green ellipse, a framed band
// and a small picture.
class Metafiles : public ::testing::Test {
protected:
    void SetUp() override {
        ensureGuiApp();
        QRResetMetrics();
        r.detail->Height = 200;
        r.detail->Frame.DrawBottom = true;
        auto* text = r.detail->Add<TPsQRLabel>();
        text->Caption = "Metafile text";
        text->Width = 300;
        text->Font.Size = 20;
        text->Font.Style = fsBold;
        text->Font.Color = plat::rgb(255, 0, 0);
        auto* box = r.detail->Add<TPsQRShape>();
        box->Left = 400;
        box->Width = 100;
        box->Height = 100;
        box->Brush.Color = plat::rgb(255, 255, 0);
        auto* ellipse = r.detail->Add<TPsQRShape>();
        ellipse->Shape = qrsCircle;
        ellipse->Left = 550;
        ellipse->Width = 100;
        ellipse->Height = 100;
        ellipse->Brush.Color = plat::rgb(0, 128, 0);
        picture = r.detail->Add<TPsQRImage>();
        picture->Top = 120;
        picture->Width = 20;
        picture->Height = 20;
        picture->Stretch = true;
        picture->Picture = QImage(4, 4, QImage::Format_RGB32);
        picture->Picture.fill(Qt::blue);
    }
    void TearDown() override { PsQRExportSettings().EMF.FillUnusedArea = true; }
    std::string run(std::unique_ptr<TPsQRImageFilter> f) {
        r.restart();
        r.rep.ExportToFilter(f.get());
        return f->PageFileName;
    }
    RecordReport r{1};
    TPsQRImage* picture = nullptr;
    TempDir dir;
};

// EMF records by type, with the text of every text record.
struct EmfWalk {
    std::map<std::uint32_t, int> count;
    std::vector<std::string> texts;
    std::vector<std::uint32_t> order;
    bool ok = true;
    explicit EmfWalk(const std::string& emf) {
        size_t at = 0;
        while (at + 8 <= emf.size()) {
            const std::uint32_t type = le32(emf, at), size = le32(emf, at + 4);
            if (size < 8 || size % 4 != 0 || at + size > emf.size()) {
                ok = false;
                return;
            }
            ++count[type];
            order.push_back(type);
            if (type == 84) { // EMR_EXTTEXTOUTW: the UTF-16 text at offString
                const std::uint32_t n = le32(emf, at + 44), off = le32(emf, at + 48);
                std::string t;
                for (std::uint32_t i = 0; i < n; ++i) t += char(le16(emf, at + off + 2 * i));
                texts.push_back(t);
            }
            at += size;
        }
        ok = at == emf.size();
    }
};

} // namespace

TEST_F(Metafiles, EnhancedMetafileHoldsTextLinesAndShapesAsRecords) {
    const std::string file = run(std::make_unique<TPsQREMFFilter>((dir.path() / "Rep.emf").string()));
    const std::string emf = readFile(file);
    ASSERT_GT(emf.size(), 108u);
    EXPECT_EQ(le32(emf, 40), 0x464D4520u);
    EXPECT_EQ(le32(emf, 48), emf.size());
    EmfWalk walk(emf);
    ASSERT_TRUE(walk.ok);
    EXPECT_EQ(walk.order.size(), le32(emf, 52));
    EXPECT_EQ(walk.order.front(), 1u);
    EXPECT_EQ(walk.order.back(), 0x0Eu);
    EXPECT_NE(std::find(walk.texts.begin(), walk.texts.end(), "Metafile text"), walk.texts.end());
    EXPECT_GE(walk.count[82], 1); // fonts
    EXPECT_GE(walk.count[43], 2); // the page background and the box
    EXPECT_EQ(walk.count[42], 1); // the ellipse
    EXPECT_GE(walk.count[54], 1); // the band's bottom rule
    EXPECT_EQ(walk.count[81], 1); // the picture is the only bitmap
    // The bold font names its face and weight.
    const size_t font = emf.find(std::string("A\0r\0i\0a\0l\0", 10));
    ASSERT_NE(font, std::string::npos);
    EXPECT_EQ(le32(emf, font - 28 + 16), 700u);

    // Without FillUnusedArea nothing paints the page white first.
    PsQRExportSettings().EMF.FillUnusedArea = false;
    EmfWalk bare(readFile(run(std::make_unique<TPsQREMFFilter>((dir.path() / "Bare.emf").string()))));
    EXPECT_EQ(bare.count[43], walk.count[43] - 1);

    // An independent reader draws it: red text, yellow box, green ellipse.
    const fs::path png = dir.path() / "Rep.png";
    ASSERT_TRUE(readertools::run("inkscape", "--export-type=png --export-dpi=96 --export-filename=" +
                                                 readertools::quoted(png) + " " + readertools::quoted(file)));
    const QImage page(QString::fromStdString(png.string()));
    ASSERT_EQ(page.size(), QSize(816, 1056));
    const QColor yellow = page.pixelColor(48 + 450, 48 + 50), green = page.pixelColor(48 + 600, 48 + 50);
    EXPECT_TRUE(yellow.red() > 200 && yellow.green() > 200 && yellow.blue() < 60) << yellow.name().toStdString();
    EXPECT_TRUE(green.red() < 60 && green.green() > 90) << green.name().toStdString();
    int red = 0;
    for (int y = 48; y < 48 + 30; ++y)
        for (int x = 48; x < 48 + 300; ++x) {
            const QColor c = page.pixelColor(x, y);
            red += c.red() > 150 && c.green() < 100;
        }
    EXPECT_GT(red, 50);
    const QColor blue = page.pixelColor(48 + 10, 48 + 130);
    EXPECT_TRUE(blue.blue() > 200 && blue.red() < 60) << blue.name().toStdString();
}

TEST_F(Metafiles, WindowsMetafileReadsAsTextAndShapes) {
    const std::string file = run(std::make_unique<TPsQRWMFFilter>((dir.path() / "Rep.wmf").string()));
    const std::string wmf = readFile(file);
    ASSERT_GT(wmf.size(), 40u);
    EXPECT_EQ(le32(wmf, 0), 0x9AC6CDD7u);
    unsigned sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= le16(wmf, i);
    EXPECT_EQ(sum, le16(wmf, 20));
    EXPECT_EQ(size_t(le32(wmf, 22 + 6)) * 2, wmf.size() - 22);
    std::map<unsigned, int> count;
    size_t at = 22 + 18;
    unsigned last = 0xFFFF;
    while (at + 6 <= wmf.size()) {
        const std::uint32_t words = le32(wmf, at);
        ASSERT_TRUE(words >= 3 && at + words * 2 <= wmf.size()) << at;
        last = le16(wmf, at + 4);
        ++count[last];
        at += words * 2;
    }
    EXPECT_EQ(at, wmf.size());
    EXPECT_EQ(last, 0u);
    EXPECT_EQ(count[0x0F43], 1); // one bitmap: the picture

    const fs::path svg = dir.path() / "Rep.svg";
    ASSERT_TRUE(readertools::run("wmf2svg", "-o " + readertools::quoted(svg) + " " + readertools::quoted(file)));
    const std::string text = readFile(svg);
    // The reader places each character at its advance: one text element each.
    std::string joined;
    for (size_t p = text.find("</text>"); p != std::string::npos; p = text.find("</text>", p + 1))
        joined += text.substr(text.rfind('>', p) + 1, p - text.rfind('>', p) - 1);
    EXPECT_NE(joined.find("Metafile text"), std::string::npos) << joined;
    EXPECT_NE(text.find("font-weight:bold"), std::string::npos);
    EXPECT_NE(text.find("fill:red"), std::string::npos);
    EXPECT_NE(text.find("fill:green"), std::string::npos);
    EXPECT_NE(text.find("fill:yellow"), std::string::npos);
    EXPECT_NE(text.find("<ellipse"), std::string::npos);
    EXPECT_GE(countOf(text, "<polygon") + countOf(text, "<rect"), 2u);
    EXPECT_GE(countOf(text, "<line") + countOf(text, "<polyline"), 1u);
}
