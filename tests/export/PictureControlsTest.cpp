// The rich-text printable and the image control: pictures on the page and in
// the document formats.
#include <filesystem>
#include <gtest/gtest.h>

#include <QPainter>

#include "ExportTestSupport.h"
#include "export/PsQRControls.h"
#include "export/PsQRHTMLFilter.h"
#include "export/PsQRPDFFilter.h"
#include "export/PsQRRTFFilter.h"
#include "reports/render/QRRenderer.h"

using namespace exporttest;
namespace fs = std::filesystem;

namespace {

const TQRPageItem* pictureOf(const TQRPreparedPage& page) {
    for (const auto& it : page.Items)
        if (it.Kind == TQRItemKind::Picture) return &it;
    return nullptr;
}

} // namespace

TEST(RichText, EditorSitsInsideAndTextStretchesAndReachesThePdf) {
    ensureGuiApp();
    QRResetMetrics();
    RecordReport r(1);
    r.detail->Height = 10;
    auto* rich = r.detail->Add<TPsQRCustomRichText>();
    EXPECT_EQ(rich->Width, 100);
    EXPECT_EQ(rich->Height, 100);
    rich->SetBounds(10, 0, 300, 20);
    EXPECT_EQ(rich->RichEdit().Left, 1);
    EXPECT_EQ(rich->RichEdit().Width, 298);
    EXPECT_EQ(rich->RichEdit().Height, 18);
    rich->SetColor(plat::rgb(255, 255, 0));
    rich->AutoStretch = true;
    std::string text = "<p><b>Bold</b> start</p>";
    for (int i = 0; i < 20; ++i) text += "<p>line " + std::to_string(i) + "</p>";
    rich->RichEdit().SetText(text);
    ASSERT_TRUE(r.rep.Prepare());
    const TQRPageItem* pic = pictureOf(*r.rep.QRPrinter()->Page(1));
    ASSERT_NE(pic, nullptr);
    EXPECT_GT(pic->Height, 200); // twenty lines stretch it
    EXPECT_EQ(pic->Left, 48 + 10);
    const QImage img = QImageOf(*pic->Picture);
    EXPECT_EQ(img.pixel(0, 0), qRgb(255, 255, 0));
    int dark = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) dark += qGray(img.pixel(x, y)) < 100;
    EXPECT_GT(dark, 100);

    TempDir dir;
    r.restart();
    TPsQRPDFFilter pdf((dir.path() / "rich.pdf").string());
    r.rep.ExportToFilter(&pdf);
    const std::string file = readFile(dir.path() / "rich.pdf");
    EXPECT_EQ(countOf(file, "/Subtype /Image"), 1u);
    EXPECT_EQ(countOf(file, "/Img0 Do"), 1u);
}

TEST(ImageControl, DrawnOnceForHtmlEmbeddedEachTimeInRtf) {
    ensureGuiApp();
    QRResetMetrics();
    RecordReport r(2);
    r.detail->ForceNewPage = true;
    auto* image = r.detail->Add<TPsQRImage>();
    image->Width = 40;
    image->Height = 40;
    image->Center = true;
    image->Picture = QImage(10, 10, QImage::Format_RGB32);
    image->Picture.fill(Qt::red);
    const QImage drawn = image->Draw();
    EXPECT_EQ(drawn.pixel(20, 20), qRgb(255, 0, 0));   // centred
    EXPECT_EQ(drawn.pixel(5, 5), qRgb(255, 255, 255)); // over the band's colour

    TempDir dir;
    r.rep.Prepare();
    r.restart();
    TPsQRHTMLFilter html((dir.path() / "img.htm").string());
    r.rep.ExportToFilter(&html);
    EXPECT_TRUE(fs::exists(dir.path() / "img_I0001.jpg"));
    EXPECT_FALSE(fs::exists(dir.path() / "img_I0002.jpg"));
    for (const char* page : {"img0001.htm", "img0002.htm"})
        EXPECT_NE(readFile(dir.path() / page).find("<IMG SRC=\"img_I0001.jpg\""), std::string::npos) << page;

    r.restart();
    TPsQRRTFFilter rtf((dir.path() / "img.rtf").string());
    r.rep.ExportToFilter(&rtf);
    EXPECT_EQ(countOf(readFile(dir.path() / "img.rtf"), "\\jpegblip"), 2u);
}
