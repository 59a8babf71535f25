#include <filesystem>
#include <gtest/gtest.h>
#include <regex>
#include <set>

#include "ExportTestSupport.h"
#include "export/ExportText.h"
#include "export/PsQRHTMLFilter.h"

using exportfmt::replaceAll;
using namespace exporttest;
namespace fs = std::filesystem;

namespace {

class HtmlExport : public ::testing::Test {
protected:
    void SetUp() override {
        QRResetMetrics();
        saved = PsQRExportSettings().HTML;
    }
    void TearDown() override {
        PsQRExportSettings().HTML = saved;
        QRResetMetrics();
    }
    // Exports without an earlier layout, as the print dialog does.
    void run(RecordReport& r, const fs::path& file) {
        TPsQRHTMLFilter f(file.string());
        r.rep.ExportToFilter(&f);
    }
    TPsQRHTMLSettings saved;
    TempDir dir;
};

std::unique_ptr<RecordReport> pagedReport(int pages) {
    auto r = std::make_unique<RecordReport>(pages);
    r->detail->ForceNewPage = true;
    auto* l = r->detail->Add<TPsQRLabel>();
    l->Width = 300;
    r->onRecord = [l](int i) { l->Caption = "a <b> & c " + std::to_string(i + 1); };
    return r;
}

} // namespace

TEST_F(HtmlExport, OneFilePerPageWithNavigator) {
    auto r = pagedReport(3);
    auto* ellipse = r->detail->Add<TPsQRShape>();
    ellipse->Shape = qrsCircle;
    ellipse->Top = 20;
    run(*r, dir.path() / "R.htm");

    EXPECT_FALSE(fs::exists(dir.path() / "R.htm"));
    const std::string p2 = readFile(dir.path() / "R0002.htm");
    ASSERT_TRUE(fs::exists(dir.path() / "R0001.htm") && fs::exists(dir.path() / "R0003.htm"));
    EXPECT_EQ(p2.rfind("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 transitional//EN\">\r\n<HTML> <HEAD>\r\n", 0), 0u);
    EXPECT_NE(
        p2.find("  A:hover {font: 18pt wingdings; text-decoration: none; color: #FBA71A; background-color: #0B03A0}"),
        std::string::npos);
    EXPECT_NE(p2.find("<A HREF=\"R0001.htm\" TITLE=\"First Page\">&#217;</A>&nbsp;"
                      "<A HREF=\"R0001.htm\" TITLE=\"Previous Page\">&#215;</A>&nbsp;"
                      "<A HREF=\"R0003.htm\" TITLE=\"Next Page\">&#216;</A>&nbsp;"
                      "<A HREF=\"R0003.htm\" TITLE=\"Last Page\">&#218;</A></DIV>\r\n</BODY>\r\n</HTML>\r\n"),
              std::string::npos)
        << p2;
    const std::string p1 = readFile(dir.path() / "R0001.htm");
    EXPECT_NE(p1.find("<A TITLE=\"First Page\">"), std::string::npos);
    // Blanks become &nbsp;; the file's text never turns into markup.
    EXPECT_NE(p1.find(">a&nbsp;&lt;b&gt;&nbsp;&amp;&nbsp;c&nbsp;1</DIV>"), std::string::npos);
    EXPECT_EQ(p1.find("<b>"), std::string::npos);
    // One picture file, referenced from every page.
    EXPECT_TRUE(fs::exists(dir.path() / "R_I0001.jpg"));
    EXPECT_FALSE(fs::exists(dir.path() / "R_I0002.jpg"));
    for (const char* page : {"R0001.htm", "R0002.htm", "R0003.htm"})
        EXPECT_NE(readFile(dir.path() / page).find("<IMG SRC=\"R_I0001.jpg\" ALT=\"\"></DIV>"), std::string::npos)
            << page;
    EXPECT_EQ(PsQRExportSettings().PageFiles, (std::vector<std::string>{"R0001.htm", "R0002.htm", "R0003.htm"}));
}

TEST_F(HtmlExport, EveryLinkLeadsToItsFile) {
    // Names the print dialog proposes from a full name: "?" for letters the
    // code page lacks, and any other byte a file name may hold.
    PsQRExportSettings().HTML.ImageDir = "pics #1";
    auto r = pagedReport(3);
    r->detail->Add<TPsQRShape>()->Shape = qrsCircle;
    const std::string name = "?#% a, J\xF6hn &Co";
    run(*r, dir.path() / (name + ".htm"));
    std::set<fs::path> reached;
    for (const char* page : {"0001.htm", "0002.htm", "0003.htm"}) {
        const fs::path file = dir.path() / (name + page);
        const std::string html = readFile(file);
        static const std::regex ref("(HREF|SRC)=\"([^\"]*)\"");
        for (std::sregex_iterator m(html.begin(), html.end(), ref), end; m != end; ++m) {
            // As a browser reads it: entities, the path before a query or a
            // fragment, then the %XX bytes.
            std::string url = replaceAll((*m)[2], "&amp;", "&");
            url = url.substr(0, url.find_first_of("?#"));
            std::string path;
            for (size_t i = 0; i < url.size(); ++i) {
                const bool escaped = url[i] == '%' && i + 2 < url.size();
                path += escaped ? char(std::stoi(url.substr(i + 1, 2), nullptr, 16)) : url[i];
                if (escaped) i += 2;
            }
            const fs::path target = file.parent_path() / path;
            EXPECT_TRUE(fs::is_regular_file(target)) << page << ": " << (*m)[0];
            reached.insert(target);
        }
    }
    EXPECT_EQ(reached,
              (std::set<fs::path>{dir.path() / (name + "0001.htm"), dir.path() / (name + "0002.htm"),
                                  dir.path() / (name + "0003.htm"), dir.path() / "pics #1" / (name + "_I0001.jpg")}));
}

TEST_F(HtmlExport, OnePageHasNoNavigator) {
    auto r = pagedReport(1);
    run(*r, dir.path() / "one.htm");
    const std::string p = readFile(dir.path() / "one0001.htm");
    ASSERT_FALSE(p.empty());
    EXPECT_EQ(p.find("<A "), std::string::npos);
    EXPECT_NE(p.find("<STYLE>"), std::string::npos);
}

TEST_F(HtmlExport, SingleFileStacksPages) {
    PsQRExportSettings().HTML.SingleFile = true;
    auto r = pagedReport(2);
    run(*r, dir.path() / "all.htm");
    const std::string p = readFile(dir.path() / "all.htm");
    EXPECT_EQ(countOf(p, "<HTML>"), 1u);
    EXPECT_EQ(countOf(p, "</BODY>"), 1u);
    EXPECT_EQ(countOf(p, "NOSHADE"), 2u);
    EXPECT_NE(p.find("top: 1056px\"><HR SIZE= 2 WIDTH= 806 NOSHADE></DIV>"), std::string::npos);
    // The second page's text sits one paper height plus 2 lower.
    EXPECT_NE(p.find("top: 48px; left: 48px"), std::string::npos);
    EXPECT_NE(p.find("top: 1106px; left: 48px"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir.path() / "all0001.htm"));

    // Prepared first (page count known up front): the same one file.
    auto prepared = pagedReport(3);
    prepared->rep.Prepare();
    prepared->restart();
    TPsQRHTMLFilter f((dir.path() / "raw.htm").string());
    prepared->rep.ExportToFilter(&f);
    const std::string raw = readFile(dir.path() / "raw.htm");
    EXPECT_EQ(countOf(raw, "<HTML>"), 1u);
    EXPECT_EQ(countOf(raw, "NOSHADE"), 3u);
    EXPECT_EQ(countOf(raw, "</HTML>"), 1u);
    EXPECT_NE(raw.find("c&nbsp;1</DIV>"), std::string::npos);
}

TEST_F(HtmlExport, NotesAndTitlesAreEscaped) {
    RecordReport r(1);
    r.rep.ReportTitle = "Smith & \"Jones\" <i>";
    auto* memo = r.detail->Add<TPsQRMemo>();
    memo->Width = 600;
    memo->Add("<script>alert(\"x\")</script>\r\nline&two");
    run(r, dir.path() / "esc.htm");
    const std::string p = readFile(dir.path() / "esc0001.htm");
    EXPECT_EQ(p.find("<script>"), std::string::npos) << p;
    EXPECT_NE(p.find(">&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;</DIV>"), std::string::npos) << p;
    EXPECT_NE(p.find(">line&amp;two</DIV>"), std::string::npos) << p;
    EXPECT_NE(p.find("<TITLE>Smith &amp; &quot;Jones&quot; &lt;i&gt;</TITLE>"), std::string::npos) << p;
}

TEST_F(HtmlExport, AlignedTextPlacement) {
    QRMetrics().textWidth = [](const TQRFont&, const std::string&) { return 100.0; };
    RecordReport r(1);
    auto* right = r.detail->Add<TPsQRLabel>();
    right->Caption = "R";
    right->Left = 352;
    right->Width = 100;
    right->Alignment = taRightJustify;
    auto* centre = r.detail->Add<TPsQRLabel>();
    centre->Caption = "C";
    centre->Top = 20;
    centre->Left = 402;
    centre->Width = 100;
    centre->Alignment = taCenter;
    run(r, dir.path() / "al.htm");
    const std::string p = readFile(dir.path() / "al0001.htm");
    // Each text sits in a fixed box reaching to its control's right edge
    // (500 and 550) plus half a line (8) of slack, hiding what overflows.
    EXPECT_NE(p.find("left: 398px; width: 110px; height: 16px; overflow: hidden; white-space: nowrap; "
                     "font: 10pt Arial; color: #000000\">R</DIV>"),
              std::string::npos)
        << p;
    EXPECT_NE(p.find("left: 449px; width: 109px; height: 16px; overflow: hidden; white-space: nowrap; "
                     "font: 10pt Arial; color: #000000\">C</DIV>"),
              std::string::npos)
        << p;
}
