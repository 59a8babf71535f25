// A note longer than a page continues on the next pages: every line printed
// exactly once, the page header and footer intact, in the preview's pages
// and in every format read back.
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

#include <QImage>

#include "ExportTestSupport.h"
#include "ReaderTools.h"
#include "export/PsQRExportSettings.h"
#include "model/Options.h"
#include "reports/ReportInd.h"
#include "support/MemCollection.h"

using namespace exporttest;
namespace fs = std::filesystem;

namespace {

std::string token(int i) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Line%05dz", i);
    return buf;
}

class LongNote : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        ensureGuiApp();
        QRResetMetrics();
        PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());
        WOptions::SetBool(opt::IndNotes, true);
        const std::int32_t ann =
            c.AddPerson("Ann /Birch/", 'F').Birth("12 MAR 1850", "Leeds").Death("1 FEB 1900", "York");
        for (int i = 1; i <= GetParam(); ++i)
            c.Person(ann).Data().events.back().note.push_back(token(i) + " of the death note");
        form.SetCollection(&c);
        form.SetIndividual(ann);
        form.SetFileName("birch.ged");
        form.SetTitle("Individual Information");
    }
    // Each line's token counted in a text.
    void expectEveryLineOnce(const std::string& text) {
        for (int i = 1; i <= GetParam(); ++i) ASSERT_EQ(countOf(text, token(i)), 1u) << token(i);
    }
    std::string exportTo(const std::string& ext) {
        const std::string file = (dir.path() / ("ann." + ext)).string();
        for (const auto& e : TQRExportFilterLibrary::Instance().Filters())
            if (e.Extension == ext) {
                auto filter = e.Create(file);
                form.Prepare();
                form.ExportToFilter(filter.get());
                return filter->GetSavedFileName();
            }
        ADD_FAILURE() << "no filter for " << ext;
        return {};
    }

    WDefaultSettings settings;
    WMemCollection c;
    TReportIndForm form;
    TempDir dir;
};

TEST_P(LongNote, PreviewPagesHoldEveryLineOnceInsideTheBody) {
    ASSERT_TRUE(form.Prepare());
    const TQRPreparedReport& pages = *form.QRPrinter();
    ASSERT_GT(pages.PageCount(), 1);
    std::map<std::string, int> seen;
    int last = 0;
    for (int p = 1; p <= pages.PageCount(); ++p) {
        const TQRPreparedPage& page = *pages.Page(p);
        double headerBottom = 0, footerTop = page.Height;
        bool title = false, footer = false;
        for (const auto& it : page.Items) {
            if (it.Kind != TQRItemKind::Text) continue;
            if (it.Text == "Individual Information") {
                title = true;
                headerBottom = 48 + 45;
            }
            if (it.Text == "Page " + std::to_string(p)) {
                footer = true;
                footerTop = 1056 - 48 - 35;
            }
        }
        EXPECT_TRUE(title && footer) << "page " << p;
        for (const auto& it : page.Items) {
            if (it.Kind != TQRItemKind::Text || it.Text.rfind("Line", 0) != 0) continue;
            ++seen[it.Text];
            // In order, and between the header and the footer.
            EXPECT_EQ(it.Text.substr(0, 10), token(++last)) << "page " << p;
            EXPECT_GE(it.Top, headerBottom) << it.Text;
            EXPECT_LE(it.Top + it.Height, footerTop + 0.001) << it.Text;
        }
    }
    EXPECT_EQ(last, GetParam());
    for (const auto& [text, n] : seen) EXPECT_EQ(n, 1) << text;
}

TEST_P(LongNote, EveryFormatHoldsEveryLineOnce) {
    ASSERT_TRUE(form.Prepare());
    const int pages = form.QRPrinter()->PageCount();

    const std::string pdf = readertools::pdfText(exportTo("pdf"));
    expectEveryLineOnce(pdf);
    // pdftotext ends each page with a form feed.
    EXPECT_EQ(int(countOf(pdf, "\f")), pages);
    EXPECT_EQ(int(countOf(pdf, "Individual Information")), pages);
    EXPECT_NE(pdf.find("Page " + std::to_string(pages)), std::string::npos);
    EXPECT_EQ(readertools::pdfWordsOutsidePage(dir.path() / "ann.pdf"), 0);

    exportTo("htm");
    std::string html;
    for (int p = 1; p <= pages; ++p) {
        char name[32];
        std::snprintf(name, sizeof name, "ann%04d.htm", p);
        html += readFile(dir.path() / name);
    }
    expectEveryLineOnce(html);
    EXPECT_EQ(html.find("top: -"), std::string::npos); // continued parts start on their page

    expectEveryLineOnce(readFile(exportTo("rtf")));
    EXPECT_EQ(readFile(dir.path() / "ann.rtf").find("\\posy-"), std::string::npos);
    EXPECT_EQ(int(countOf(readFile(dir.path() / "ann.rtf"), "\\page}")), pages - 1);

    // Page images are drawn from the same prepared pages, one file each.
    const std::string lastJpeg = exportTo("jpg");
    char lastName[32];
    std::snprintf(lastName, sizeof lastName, "ann%04d.jpg", pages);
    EXPECT_EQ(fs::path(lastJpeg).filename().string(), lastName);
    EXPECT_FALSE(QImage(QString::fromStdString(lastJpeg)).isNull());
}

INSTANTIATE_TEST_SUITE_P(Lines, LongNote, ::testing::Values(150, 5000));

} // namespace
