#include <gtest/gtest.h>
#include <sstream>
#include <vector>

#include "ExportTestSupport.h"
#include "export/ExportText.h"
#include "export/JpegImage.h"
#include "export/PsQRExportFilter.h"
#include "export/PsQRExportSettings.h"
#include "export/PsQRFilterKinds.h"

using namespace exporttest;

namespace {

// Records what the document filter hands to its writer, in order.
class RecordingFilter : public TPsQRDocumentFilter {
public:
    RecordingFilter() : TPsQRDocumentFilter("unused") { FStream = &out; }
    struct FrameCall {
        TPsRect rect;
        plat::ColorRef colour;
        bool flag1, flag2, flag3, filled;
        TQRFrame frame;
    };
    std::vector<FrameCall> frames;
    std::vector<std::string> log;
    int shapeImages = 0;
    std::ostringstream out;

    void WriteFrame(const TPsRect& r, plat::ColorRef c, std::string& text, bool f1, bool f2, bool f3, bool filled,
                    const TQRFrame& fr) override {
        frames.push_back({r, c, f1, f2, f3, filled, fr});
        text = "FRAME" + std::to_string(frames.size());
        log.push_back(text);
    }
    void WriteText(const TPsTextRecord& rec, std::string& text) override {
        text = "TEXT:" + rec.Text;
        log.push_back(text);
        if (FInControl) FLines.push_back(text);
    }
    void WriteShapeImage(TQRShape*, const TPsRect&, std::string& text) override {
        ++shapeImages;
        text = "PICTURE";
        log.push_back(text);
    }
    using TPsQRDocumentFilter::ConvertRect;
};

// An image filter stand-in: not a document filter.
class PlainFilter : public TPsQRExportFilter {
public:
    PlainFilter() : TPsQRExportFilter("unused") {}
    int texts = 0;
    void TextOut(double, double, const TQRFont&, plat::ColorRef, TQRAlignment, const std::string&) override { ++texts; }
};

const double kF = kQRDeviceFactor;

} // namespace

TEST(DocumentFilter, FrameHeightFollowsControlOrText) {
    QRResetMetrics();
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    band->Height = 200;
    auto* label = band->Add<TPsQRLabel>();
    label->Caption = "one";
    label->Height = 5; // shorter than a line of text
    auto* memo = band->Add<TPsQRMemo>();
    memo->Top = 20;
    memo->Height = 20; // shorter than five lines
    for (int i = 0; i < 5; ++i) memo->Add("line " + std::to_string(i));
    RecordingFilter f;
    rep.ExportToFilter(&f);

    ASSERT_EQ(f.frames.size(), 2u);
    // One line: the control's own height even though the line is taller.
    EXPECT_NEAR(double(f.frames[0].rect.Height), 5 * kF * 254 / 96, 1e-6);
    EXPECT_TRUE(f.frames[0].flag1);
    EXPECT_TRUE(f.frames[0].flag3);
    EXPECT_FALSE(f.frames[0].filled);
    // Five lines in a shorter memo: lines x line height + 2, in device pixels of the page.
    const double textHeight = (QRLineHeight(memo->Font) * 5 + 2) / kF;
    EXPECT_NEAR(double(f.frames[1].rect.Height), textHeight * kF, 1e-6);
    EXPECT_FALSE(f.frames[1].flag2);
    // The band (white, no frame) is written with its items, after the last control, and without background.
    EXPECT_EQ(f.out.str(), "FRAME1\r\nTEXT:one\r\nFRAME2\r\nTEXT:line 0\r\nTEXT:line 1\r\nTEXT:line 2\r\n"
                           "TEXT:line 3\r\nTEXT:line 4\r\n");
}

TEST(DocumentFilter, BandBackgroundPrecedesItems) {
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    band->Color = plat::rgb(200, 200, 200);
    band->Add<TPsQRLabel>()->Caption = "a";
    auto* last = band->Add<TPsQRLabel>();
    last->Caption = "b";
    auto* disabled = band->Add<TPsQRLabel>();
    disabled->Enabled = false;
    disabled->Caption = "never";
    RecordingFilter f;
    rep.ExportToFilter(&f);
    EXPECT_EQ(f.out.str(), "FRAME3\r\nFRAME1\r\nTEXT:a\r\nFRAME2\r\nTEXT:b\r\n");
    ASSERT_EQ(f.frames.size(), 3u);
    EXPECT_TRUE(f.frames[2].filled);
    EXPECT_EQ(f.frames[2].colour, plat::rgb(200, 200, 200));
    EXPECT_NEAR(double(f.frames[2].rect.Width), band->Width, 1e-6);
}

TEST(DocumentFilter, EveryPrintedBandIsWrittenAndSplitMemosKeepTheirPart) {
    QRResetMetrics();
    RecordReport r(1);
    r.detail->Height = 20;
    auto* memo = r.detail->Add<TPsQRMemo>();
    memo->Width = 300;
    for (int i = 0; i < 100; ++i) memo->Add("m" + std::to_string(i));
    // A rule band with no control at all, as the report forms' group footers are.
    TQRBand* rule = r.rep.AddBand(rbGroupFooter);
    rule->Height = 4;
    rule->Frame.DrawTop = true;
    r.detail->Footer = rule;
    RecordingFilter f;
    r.rep.ExportToFilter(&f);
    const std::string out = f.out.str();
    // Two pages of memo, each part framed from its own first line; then the rule band.
    const double lh = QRLineHeight(memo->Font);
    ASSERT_EQ(f.frames.size(), 3u);
    EXPECT_NEAR(double(f.frames[0].rect.Top), PxToMM10(48) * kF, 1e-6);
    EXPECT_NEAR(double(f.frames[1].rect.Top), PxToMM10(48) * kF, 1e-6);
    const int firstPart = int(960 / lh);
    EXPECT_NEAR(double(f.frames[0].rect.Height), (lh * firstPart + 2), 1e-6);
    EXPECT_TRUE(f.frames[2].frame.DrawTop);
    EXPECT_FALSE(f.frames[2].flag3);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(countOf(out, "TEXT:m" + std::to_string(i) + "\r\n"), 1u) << i;
    EXPECT_LT(out.find("TEXT:m" + std::to_string(firstPart - 1) + "\r"), out.find("FRAME2"));
    EXPECT_LT(out.find("FRAME2"), out.find("TEXT:m" + std::to_string(firstPart) + "\r"));
}

TEST(DocumentFilter, ShapesBecomeFramesOrPictures) {
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    auto* clear = band->Add<TPsQRShape>();
    clear->Brush.Style = bsClear;
    clear->Width = 50;
    clear->Height = 20;
    auto* solid = band->Add<TPsQRShape>();
    solid->Brush.Color = plat::rgb(1, 2, 3);
    auto* hatched = band->Add<TPsQRShape>();
    hatched->Brush.Style = bsCross;
    auto* line = band->Add<TPsQRShape>();
    line->Shape = qrsHorLine;
    line->Top = 10;
    line->Height = 10;
    RecordingFilter f;
    rep.ExportToFilter(&f);

    ASSERT_EQ(f.frames.size(), 3u);
    EXPECT_EQ(f.shapeImages, 1);
    const auto& c = f.frames[0];
    EXPECT_FALSE(c.filled);
    EXPECT_TRUE(c.frame.DrawTop && c.frame.DrawBottom && c.frame.DrawLeft && c.frame.DrawRight);
    EXPECT_TRUE(f.frames[1].filled);
    EXPECT_EQ(f.frames[1].colour, plat::rgb(1, 2, 3));
    // A horizontal line: top side only, moved to the middle of the shape.
    const auto& h = f.frames[2];
    EXPECT_TRUE(h.frame.DrawTop);
    EXPECT_FALSE(h.frame.DrawBottom || h.frame.DrawLeft || h.frame.DrawRight);
    EXPECT_NEAR(double(h.rect.Top), (PxToMM10(band->PrintTop() + 10) + PxToMM10(10) / 2) * kF, 1e-6);
    EXPECT_EQ(f.out.str(), "FRAME1\r\nFRAME2\r\nPICTURE\r\nFRAME3\r\n");
}

TEST(DocumentFilter, NonDocumentFilterSeesOnlyEngineCalls) {
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    band->Add<TPsQRLabel>()->Caption = "a";
    band->Add<TPsQRShape>();
    PlainFilter plain;
    rep.ExportToFilter(&plain);
    EXPECT_EQ(plain.texts, 1);
    EXPECT_EQ(plain.PageNumber, 1);
    EXPECT_EQ(plain.GetDescription(), "Enhanced Export Filters");
}

TEST(ExportSettings, DefaultsAndRegistrationOrder) {
    TPsQRExportSettings& s = PsQRExportSettings();
    EXPECT_TRUE(s.PDF.ExportImages);
    EXPECT_EQ(s.PDF.JPEGQuality, 100);
    EXPECT_EQ(s.HTML.PrevLinkText, "Previous");
    EXPECT_TRUE(s.HTML.ShowNavigator);
    EXPECT_TRUE(s.JPEG.ProgressiveEncoding);
    EXPECT_TRUE(s.EMF.FillUnusedArea);
    EXPECT_TRUE(s.VisibleFilters() == TPsQRVisibleFilters::all());
    // The built filters are in the engine's registry with their names and extensions.
    const auto& lib = TQRExportFilterLibrary::Instance().Filters();
    bool pdf = false;
    for (const auto& e : lib)
        if (e.FilterName == "Adobe Acrobat Document" && e.Extension == "pdf" && e.Create)
            pdf = e.Create("x.pdf")->GetExtension() == "pdf";
    EXPECT_TRUE(pdf);

    std::vector<std::string> calls;
    const TPsQRFilterRegistrar saved = s.Registrar;
    s.Registrar.add = [&](TPsQRFilterKind k) { calls.push_back(std::string("+") + filterKindInfo(k).extension); };
    s.Registrar.remove = [&](TPsQRFilterKind k) { calls.push_back(std::string("-") + filterKindInfo(k).extension); };
    TPsQRFilters component;
    component.SetVisibleFilters(TPsQRVisibleFilters::all());
    EXPECT_TRUE(calls.empty());
    component.SetVisibleFilters(TPsQRVisibleFilters());
    component.SetVisibleFilters(TPsQRVisibleFilters().with(TPsQRFilterKind::fkWMF).with(TPsQRFilterKind::fkHTML));
    component.SetVisibleFilters(TPsQRVisibleFilters::all().without(TPsQRFilterKind::fkHTML));
    s.Registrar = saved;
    s.SetVisibleFilters(TPsQRVisibleFilters::all());
    const std::vector<std::string> expected{"-htm", "-pdf", "-rtf", "-gif", "-jpg", "-bmp", "-emf", "-wmf", "+htm",
                                            "+wmf", "-htm", "+pdf", "+rtf", "+gif", "+jpg", "+bmp", "+emf"};
    EXPECT_EQ(calls, expected);
    EXPECT_EQ(component.About(), "PsQRFilters");
}

TEST(ExportText, ColourForms) {
    EXPECT_EQ(exportfmt::htmlColour(plat::rgb(255, 0, 0)), "FF0000");
    EXPECT_EQ(exportfmt::htmlColour(plat::rgb(0x12, 0xAB, 0x0C)), "12AB0C");
    EXPECT_EQ(exportfmt::pdfColour(plat::rgb(255, 0, 0)), "1.0000 0.0000 0.0000");
    EXPECT_EQ(exportfmt::pdfColour(plat::rgb(0, 128, 255)), "0.0000 0.5020 1.0000");
    EXPECT_EQ(exportfmt::decimalColour(plat::rgb(255, 0, 0)), "255");
    EXPECT_EQ(exportfmt::toEmu(2, 0.5), 14400);
}

TEST(ExportText, JpegEncoderRefusesBadSizesWithoutEndingTheProgram) {
    const unsigned char px[3] = {1, 2, 3};
    EXPECT_THROW(encodeJpegRgb(px, 0, 1, 3, 90), EJPEGError);
    const std::string one = encodeJpegRgb(px, 1, 1, 3, 90);
    EXPECT_EQ(one.substr(0, 2), "\xFF\xD8");
}
