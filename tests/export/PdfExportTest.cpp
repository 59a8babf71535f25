#include <clocale>
#include <cstdio>
#include <gtest/gtest.h>
#include <locale>
#include <map>
#include <regex>

#include <QImage>

#include "ExportTestSupport.h"
#include "ReaderTools.h"
#include "export/PsQRPDFFilter.h"
#include "platform/Hooks.h"

using namespace exporttest;

namespace {

// Parsed skeleton of a written file: object offsets from the xref table.
struct PdfFile {
    std::string data;
    std::map<int, size_t> offsets;
    int size = 0;
    size_t startxref = 0;

    explicit PdfFile(std::string d) : data(std::move(d)) {
        std::smatch m;
        if (std::regex_search(data, m, std::regex("startxref\r\n([0-9]+)\r\n%%EOF$"))) startxref = std::stoul(m[1]);
        if (std::regex_search(data, m, std::regex("/Size ([0-9]+)\r\n"))) size = std::stoi(m[1]);
        if (data.compare(startxref, 6, "xref\r\n") != 0) return;
        size_t p = data.find("\r\n", startxref + 6) + 2; // past "0 N"
        for (int n = 0; n < size && p + 20 <= data.size(); ++n, p += 20) {
            const std::string entry = data.substr(p, 20);
            if (entry[17] == 'n') offsets[n] = std::stoul(entry.substr(0, 10));
        }
    }
    // The body of object n, from its header to "endobj".
    std::string object(int n) const {
        auto it = offsets.find(n);
        if (it == offsets.end()) return {};
        size_t end = data.find("endobj", it->second);
        return data.substr(it->second, end == std::string::npos ? std::string::npos : end - it->second);
    }
};

std::string exportPdf(TQuickRep& rep, const std::filesystem::path& file) {
    TPsQRPDFFilter filter(file.string());
    rep.ExportToFilter(&filter);
    return readFile(file);
}

class PdfExport : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetHooks();
        plat::hooks().now = [] { return plat::CalendarTime{2024, 3, 9, 14, 5, 7, 0}; };
        TPsQRPDFFilter::TimeZoneBias() = [] { return -60; };
        QRResetMetrics();
    }
    void TearDown() override { plat::resetHooks(); }
    TempDir dir;
};

} // namespace

TEST_F(PdfExport, OnePageFileIsWellFormedAndXrefPointsAtObjects) {
    TQuickRep rep;
    rep.ReportTitle = "Family (Smith)";
    TQRBand* band = rep.AddBand(rbDetail);
    auto* l = band->Add<TPsQRLabel>();
    l->Caption = "Hello";
    PdfFile pdf(exportPdf(rep, dir.path() / "one.pdf"));

    ASSERT_EQ(pdf.data.rfind("%PDF-1.3\r\n", 0), 0u);
    // catalog, page tree, info, procset, resources, page, contents, length, one font
    EXPECT_EQ(pdf.size, 10);
    ASSERT_EQ(pdf.offsets.size(), 9u);
    for (const auto& [n, off] : pdf.offsets)
        EXPECT_EQ(pdf.data.compare(off, std::to_string(n).size() + 8, std::to_string(n) + " 0 obj\r\n"), 0)
            << "object " << n;
    EXPECT_NE(pdf.object(1).find("/Type /Catalog\r\n/Pages 2 0 R"), std::string::npos);
    EXPECT_NE(pdf.object(2).find("/Count 1\r\n/MediaBox [0 0 612.0000 792.0000]\r\n/Kids [6 0 R]"), std::string::npos);
    EXPECT_NE(pdf.object(3).find("/Title (Family \\(Smith\\))"), std::string::npos);
    EXPECT_NE(pdf.object(3).find("/CreationDate (D:20240309140507+01'00')"), std::string::npos);
    EXPECT_NE(pdf.object(9).find("/Subtype /TrueType\r\n/Name /F0\r\n/BaseFont /Arial\r\n/Encoding /WinAnsiEncoding"),
              std::string::npos);
    EXPECT_NE(pdf.data.find("trailer\r\n<<\r\n/Root 1 0 R\r\n/Info 3 0 R\r\n/Size 10\r\n>>"), std::string::npos);

    // The length object holds the exact size of the content stream.
    const std::string contents = pdf.object(7);
    const size_t s = contents.find("stream\r\n") + 8, e = contents.find("endstream");
    EXPECT_EQ(pdf.object(8), "8 0 obj\r\n" + std::to_string(e - s) + "\r\n");
    EXPECT_NE(contents.find("(Hello) Tj"), std::string::npos);
    // Every line ends with CR LF.
    EXPECT_EQ(countOf(pdf.data, "\n"), countOf(pdf.data, "\r\n"));
}

TEST_F(PdfExport, TextIsEscapedAndFontsNumberedInOrderOfFirstUse) {
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    auto* bold = band->Add<TPsQRLabel>();
    bold->Caption = "a(b)\\c";
    bold->Font.Style = fsBold;
    auto* plain = band->Add<TPsQRLabel>();
    plain->Top = 20;
    plain->Caption = "plain";
    auto* times = band->Add<TPsQRLabel>();
    times->Top = 40;
    times->Caption = "x";
    times->Font.Name = "Times New Roman";
    times->Font.Style = fsBold | fsItalic;
    const std::string data = exportPdf(rep, dir.path() / "fonts.pdf");

    EXPECT_NE(data.find("(a\\(b\\)\\\\c) Tj"), std::string::npos);
    EXPECT_NE(data.find("/F0 10 Tf"), std::string::npos);
    EXPECT_NE(data.find("/F0 9 0 R\r\n/F1 10 0 R\r\n/F2 11 0 R"), std::string::npos);
    EXPECT_NE(data.find("/BaseFont /Arial,Bold"), std::string::npos);
    EXPECT_NE(data.find("/Name /F1\r\n/BaseFont /Arial\r\n"), std::string::npos);
    EXPECT_NE(data.find("/BaseFont /TimesNewRoman,BoldItalic"), std::string::npos);
    // Each text is clipped to its control's box (here 48 px from the left,
    // 65 wide, widened by half a line): a reader's wider font stays inside.
    const std::string clip = "q\r\n30.0000 ";
    const size_t at = data.find(clip);
    ASSERT_NE(at, std::string::npos);
    EXPECT_EQ(data.compare(data.find(" re W n\r\nBT\r\n", at) - 16, 16, " 60.7500 16.0000"), 0) << data.substr(at, 80);
}

TEST_F(PdfExport, EmptyPageAndNoFontsStillMakeValidObjects) {
    TQuickRep rep;
    rep.AddBand(rbDetail);
    PdfFile pdf(exportPdf(rep, dir.path() / "empty.pdf"));
    EXPECT_EQ(pdf.size, 9);
    EXPECT_NE(pdf.object(7).find("stream\r\nendstream"), std::string::npos);
    EXPECT_EQ(pdf.object(8), "8 0 obj\r\n0\r\n");
    EXPECT_NE(pdf.object(5).find("<< /ProcSet 4 0 R >>"), std::string::npos);
    EXPECT_NE(pdf.object(4).find("[/PDF /Text /ImageC]"), std::string::npos);
}

TEST_F(PdfExport, NumbersUseDotWhateverTheLocale) {
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
    };
    const std::locale old = std::locale::global(std::locale(std::locale::classic(), new Comma));
    const std::string oldC = std::setlocale(LC_NUMERIC, nullptr);
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // when present
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    band->Color = plat::rgb(255, 0, 0);
    band->Add<TPsQRLabel>()->Caption = "x";
    const std::string data = exportPdf(rep, dir.path() / "locale.pdf");
    std::locale::global(old);
    std::setlocale(LC_NUMERIC, oldC.c_str());
    EXPECT_NE(data.find("1.0000 0.0000 0.0000 rg"), std::string::npos);
    EXPECT_FALSE(std::regex_search(data, std::regex("[0-9],[0-9]")));
}

TEST_F(PdfExport, SameShapeOnEveryPageIsEncodedOnceAsJpeg) {
    RecordReport r(3);
    r.detail->ForceNewPage = true;
    auto* ellipse = r.detail->Add<TPsQRShape>();
    ellipse->Shape = qrsCircle;
    ellipse->Width = 40;
    ellipse->Height = 30;
    ellipse->Brush.Color = plat::rgb(0, 0, 255);
    r.detail->Add<TPsQRLabel>()->Caption = "page";
    int encoded = 0;
    PsQRExportSettings().OnEncodeGraphicDone = [&](TPsQRExportFilter*, const void* c, int index) {
        EXPECT_EQ(c, ellipse);
        EXPECT_EQ(index, 0);
        ++encoded;
    };
    PdfFile pdf(exportPdf(r.rep, dir.path() / "pic.pdf"));
    PsQRExportSettings().OnEncodeGraphicDone = nullptr;

    EXPECT_EQ(encoded, 1);
    EXPECT_EQ(countOf(pdf.data, "/Subtype /Image"), 1u);
    EXPECT_EQ(countOf(pdf.data, "/Img0 Do"), 3u);
    EXPECT_NE(pdf.data.find("/Count 3"), std::string::npos);
    EXPECT_NE(pdf.data.find("/XObject <<\r\n/Img0 "), std::string::npos);
    // The image object is in the xref and carries JPEG data of the stated length.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(pdf.data, m, std::regex("([0-9]+) 0 obj\r\n<<\r\n/Type /XObject")));
    const std::string img = pdf.object(std::stoi(m[1]));
    ASSERT_FALSE(img.empty());
    EXPECT_NE(img.find("/Width 40\r\n/Height 30\r\n"), std::string::npos);
    ASSERT_TRUE(std::regex_search(img, m, std::regex("/Length ([0-9]+)\r\n>>\r\nstream\r\n")));
    const size_t len = std::stoul(m[1]), start = m.position(0) + m.length(0);
    EXPECT_EQ(img.compare(start, 2, "\xFF\xD8"), 0);
    EXPECT_EQ(img.compare(start + len - 2, 2, "\xFF\xD9"), 0);
    EXPECT_EQ(img.compare(start + len, 11, "\r\nendstream"), 0);
    for (const auto& [n, off] : pdf.offsets)
        EXPECT_EQ(pdf.data.compare(off, std::to_string(n).size() + 6, std::to_string(n) + " 0 obj"), 0) << n;
}

TEST_F(PdfExport, PageFrameIsInsideTheCountedStream) {
    TQuickRep rep;
    rep.Page.Frame.DrawTop = rep.Page.Frame.DrawBottom = rep.Page.Frame.DrawLeft = rep.Page.Frame.DrawRight = true;
    rep.AddBand(rbDetail)->Add<TPsQRLabel>()->Caption = "framed";
    PdfFile pdf(exportPdf(rep, dir.path() / "frame.pdf"));
    const std::string contents = pdf.object(7);
    const size_t s = contents.find("stream\r\n") + 8, e = contents.find("endstream");
    // Page inset by half-inch margins: 36 pt from each edge.
    EXPECT_NE(contents.find("36.0000 36.0000 540.0000 720.0000 re\r\nS\r\nQ\r\nendstream"), std::string::npos);
    EXPECT_EQ(pdf.object(8), "8 0 obj\r\n" + std::to_string(e - s) + "\r\n");
}

TEST_F(PdfExport, UnwritableFileRaisesAndLeavesNothing) {
    TQuickRep rep;
    rep.AddBand(rbDetail)->Add<TPsQRLabel>()->Caption = "x";
    TPsQRPDFFilter filter((dir.path() / "missing" / "r.pdf").string());
    EXPECT_THROW(rep.ExportToFilter(&filter), EFCreateError);
    EXPECT_FALSE(rep.Exporting());
}

TEST(PdfFormat, CreationDateTimeZonesAndUnits) {
    const plat::CalendarTime t{2001, 2, 3, 4, 5, 6, 0};
    EXPECT_EQ(TPsQRPDFFilter::CreationDateText(t, -120), "D:20010203040506+02'00'");
    EXPECT_EQ(TPsQRPDFFilter::CreationDateText(t, 300), "D:20010203040506-05'00'");
    EXPECT_EQ(TPsQRPDFFilter::CreationDateText(t, -330), "D:20010203040506+05'30'");
    TPsQRPDFFilter f("unused.pdf");
    EXPECT_EQ(f.FormatNumber(12.5), "12.5000");
    EXPECT_EQ(f.FormatNumber(-0.00001), "0.0000");
    EXPECT_EQ(f.EscapeText("\\()"), "\\\\\\(\\)");
    EXPECT_DOUBLE_EQ(double(f.ConvertX(254)), 72.0);
}

// A real reader opens the file, finds the text and renders it.
TEST_F(PdfExport, ReaderExtractsTextAndRendersPage) {
    RecordReport r(2);
    r.detail->Height = 60;
    r.detail->Frame.DrawBottom = true;
    auto* name = r.detail->Add<TPsQRLabel>();
    name->Width = 300;
    name->Font.Size = 14;
    auto* right = r.detail->Add<TPsQRLabel>();
    right->Left = 400;
    right->Width = 300;
    right->Alignment = taRightJustify;
    right->Font.Style = fsItalic | fsUnderline;
    auto* box = r.detail->Add<TPsQRShape>();
    box->Left = 320;
    box->Width = 60;
    box->Height = 40;
    box->Brush.Color = plat::rgb(255, 255, 0);
    auto* ellipse = r.detail->Add<TPsQRShape>();
    ellipse->Shape = qrsCircle;
    ellipse->Left = 720;
    ellipse->Width = 40;
    ellipse->Height = 40;
    ellipse->Brush.Color = plat::rgb(0, 128, 0);
    r.onRecord = [&](int i) {
        name->Caption = i == 0 ? "Jos\xE9 M\xFCller (1850)" : "Back\\slash";
        right->Caption = "born " + std::to_string(1850 + i);
    };
    const auto file = dir.path() / "reader.pdf";
    exportPdf(r.rep, file);
    const std::string text = readertools::pdfText(file, "-layout");
    EXPECT_NE(text.find("Jos\xC3\xA9 M\xC3\xBCller (1850)"), std::string::npos) << text;
    EXPECT_NE(text.find("Back\\slash"), std::string::npos) << text;
    EXPECT_NE(text.find("born 1851"), std::string::npos) << text;

    const auto png = dir.path() / "page";
    ASSERT_TRUE(readertools::run("pdftoppm",
                                 "-r 50 -png -f 1 -l 1 " + readertools::quoted(file) + " " + readertools::quoted(png)));
    QImage page((png.string() + "-1.png").c_str());
    ASSERT_FALSE(page.isNull());
    if (const char* keep = std::getenv("BRENTHAUL_KEEP_PDF"))
        std::filesystem::copy_file(file, keep, std::filesystem::copy_options::overwrite_existing);
    // The yellow box sits at (320 + 48, 48) page pixels of 1/96 inch, the green ellipse at (720 + 48 + 20, 68).
    const double k = 50.0 / 96.0;
    const QColor yellow = page.pixelColor(int((368 + 30) * k), int((48 + 20) * k));
    EXPECT_GT(yellow.red(), 200);
    EXPECT_GT(yellow.green(), 200);
    EXPECT_LT(yellow.blue(), 60);
    const QColor green = page.pixelColor(int(788 * k), int(68 * k));
    EXPECT_LT(green.red(), 60);
    EXPECT_GT(green.green(), 90);
}
