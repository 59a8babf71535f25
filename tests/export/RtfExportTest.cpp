#include <gtest/gtest.h>
#include <regex>

#include "ExportTestSupport.h"
#include "export/PsQRFilterKinds.h"
#include "export/PsQRPDFFilter.h"
#include "export/PsQRRTFFilter.h"
#include "platform/Hooks.h"

using namespace exporttest;

namespace {

std::string exportRtf(TQuickRep& rep, const std::filesystem::path& file) {
    TPsQRRTFFilter filter(file.string());
    rep.ExportToFilter(&filter);
    return readFile(file);
}

// Groups balance when escaped braces are skipped; returns false on a close
// without an open or on groups left open.
bool groupsBalanced(const std::string& rtf) {
    int depth = 0;
    for (size_t i = 0; i < rtf.size(); ++i) {
        if (rtf[i] == '\\') {
            ++i;
            continue;
        }
        if (rtf[i] == '{')
            ++depth;
        else if (rtf[i] == '}' && --depth < 0)
            return false;
    }
    return depth == 0;
}

// The colour table entry of colour number n (1-based).
std::string colourEntry(const std::string& rtf, int n) {
    const size_t start = rtf.find("{\\colortbl;");
    const size_t end = rtf.find('}', start);
    const std::string table = rtf.substr(start + 11, end - start - 11);
    size_t p = 0;
    for (int i = 1; i < n; ++i) p = table.find(';', p) + 1;
    return table.substr(p, table.find(';', p) - p + 1);
}

class RtfExport : public ::testing::Test {
protected:
    void SetUp() override {
        plat::resetHooks();
        plat::hooks().now = [] { return plat::CalendarTime{2024, 3, 9, 7, 5, 0, 0}; };
        QRResetMetrics();
    }
    void TearDown() override { plat::resetHooks(); }
    TempDir dir;
};

} // namespace

TEST_F(RtfExport, TwoPagesMakeTwoPageGroupsAndAWellFormedFile) {
    RecordReport r(2);
    r.rep.ReportTitle = "Smith {family}";
    r.detail->ForceNewPage = true;
    r.detail->Add<TPsQRLabel>()->Caption = "line";
    // A one-page run first leaves a stale page count for the next job's Start.
    r.records = 1;
    exportRtf(r.rep, dir.path() / "one.rtf");
    r.records = 2;
    r.restart();
    const std::string rtf = exportRtf(r.rep, dir.path() / "two.rtf");

    ASSERT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0\\fnil Arial;}}", 0), 0u);
    EXPECT_TRUE(groupsBalanced(rtf));
    EXPECT_NE(rtf.find("{\\title Smith \\{family\\}}"), std::string::npos);
    EXPECT_NE(rtf.find("{\\creatim\\yr2024\\mo3\\dy9\\hr7\\min5}}"), std::string::npos);
    // Letter paper with half-inch margins, in twips.
    EXPECT_NE(rtf.find("\\viewkind1\\paperw12240\\paperh15840\\margl720\\margr720\\margt720\\margb720"
                       "\\headery0\\footery0\r\n"),
              std::string::npos);
    // Only the page that really ends last goes without a break.
    const size_t first = rtf.find("\r\n{\r\n"), second = rtf.find("{\r\n", first + 5);
    ASSERT_NE(second, std::string::npos);
    const size_t brk = rtf.find("\\par\\page}\r\n", first);
    EXPECT_LT(brk, second);
    EXPECT_EQ(countOf(rtf, "\\par\\page}"), 1u);
    EXPECT_EQ(rtf.substr(rtf.size() - 8), "\\par}\r\n}");
    EXPECT_EQ(countOf(rtf, "\r\nline\r\n"), 2u);
}

TEST_F(RtfExport, TextRunsCarryFontColourAndEscapes) {
    TQuickRep rep;
    TQRBand* band = rep.AddBand(rbDetail);
    auto* l = band->Add<TPsQRLabel>();
    l->Caption = "a{b}\\c";
    l->Font.Size = 12;
    l->Font.Style = fsBold;
    l->Font.Color = plat::rgb(255, 0, 0);
    auto* t = band->Add<TPsQRLabel>();
    t->Left = 200;
    t->Caption = "plain";
    t->Font.Name = "Courier New";
    const std::string rtf = exportRtf(rep, dir.path() / "text.rtf");

    EXPECT_TRUE(groupsBalanced(rtf));
    std::smatch m;
    ASSERT_TRUE(std::regex_search(rtf, m, std::regex(R"(\\f0\\cf([0-9]+)\\fs24 \\b\\ql\r\na\\\{b\\\}\\\\c\r\n \\b0)")));
    EXPECT_EQ(colourEntry(rtf, std::stoi(m[1])), "\\red255\\green0\\blue0;");
    EXPECT_NE(rtf.find("{\\f1\\fnil Courier New;}"), std::string::npos);
    EXPECT_NE(rtf.find("\\f1\\cf"), std::string::npos);
}

TEST_F(RtfExport, MemoLinesFollowTheFrameParagraph) {
    TQuickRep rep;
    auto* memo = rep.AddBand(rbDetail)->Add<TPsQRMemo>();
    memo->Lines = {"A", "B", "C"};
    memo->Height = 200;
    memo->Frame.DrawTop = memo->Frame.DrawBottom = memo->Frame.DrawLeft = memo->Frame.DrawRight = true;
    memo->Frame.Color = plat::rgb(0, 0, 255);
    const std::string rtf = exportRtf(rep, dir.path() / "memo.rtf");

    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        rtf, m,
        std::regex(
            R"(\\par\\pard\\par\\box\\brdrs\\brdrw[0-9]+\\brsp0\\brdrcf([0-9]+)\\pvpg\\phpg\\absw[0-9]+\\absh[0-9]+)"
            R"(\\posy[0-9]+\\posx[0-9]+(\\shading10000\\cfpat[0-9]+)? \r\n)"
            R"(\\f0\\cf[0-9]+\\fs20\\ql\r\nA\r\n\\par B\r\n\\par C\r\n\r\n)")))
        << rtf;
    EXPECT_EQ(colourEntry(rtf, std::stoi(m[1])), "\\red0\\green0\\blue255;") << rtf;
    EXPECT_TRUE(groupsBalanced(rtf));
}

TEST_F(RtfExport, PageFrameShapesAndPictures) {
    TQuickRep rep;
    rep.Page.Frame.DrawTop = rep.Page.Frame.DrawLeft = true;
    rep.Page.Frame.Color = plat::rgb(0, 128, 0);
    TQRBand* band = rep.AddBand(rbDetail);
    band->Add<TPsQRLabel>()->Caption = "x";
    auto* box = band->Add<TPsQRShape>();
    box->Top = 20;
    box->Brush.Style = bsClear;
    auto* ellipse = band->Add<TPsQRShape>();
    ellipse->Shape = qrsCircle;
    ellipse->Width = 30;
    ellipse->Height = 20;
    const std::string rtf = exportRtf(rep, dir.path() / "shapes.rtf");

    EXPECT_TRUE(groupsBalanced(rtf));
    // The frame's colour is in the table though no text uses it.
    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        rtf, m, std::regex(R"(\\pgbrdrhead\\pgbrdrfoot\\pgbrdrt\\brdrs\\brdrw[0-9]+\\brdrcf([0-9]+)\\pgbrdrl)")));
    EXPECT_EQ(colourEntry(rtf, std::stoi(m[1])), "\\red0\\green128\\blue0;");
    EXPECT_NE(rtf.find("{\\sp{\\sn shapeType}{\\sv 1}}{\\sp{\\sn fFilled}{\\sv 0}}{\\sp{\\sn lineColor}{\\sv 0}}"),
              std::string::npos);
    ASSERT_TRUE(std::regex_search(
        rtf, m, std::regex(R"(\{\\pict \\jpegblip\\picw([0-9]+)\\pich([0-9]+)\r\n(FFD8[0-9A-F]*FFD9)\}\}\}\}\}\})")));
    EXPECT_EQ(m[1], "450"); // 30 px = 450 twips
    EXPECT_EQ(m[2], "300");
    EXPECT_EQ(m[3].length() % 2, 0);
}

TEST_F(RtfExport, RegisteredAndUnwritableFileRaises) {
    const TPsQRFilterKindInfo& info = filterKindInfo(TPsQRFilterKind::fkRTF);
    ASSERT_TRUE(bool(info.create));
    auto f = info.create("x.rtf");
    EXPECT_EQ(f->GetExtension(), "rtf");
    EXPECT_EQ(f->GetFilterName(), "Rich Text Format");

    TQuickRep rep;
    rep.AddBand(rbDetail)->Add<TPsQRLabel>()->Caption = "x";
    TPsQRRTFFilter filter((dir.path() / "missing" / "r.rtf").string());
    EXPECT_THROW(rep.ExportToFilter(&filter), EFCreateError);
}
