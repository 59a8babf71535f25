// Real family files through every page of the print dialog and every format
// of Save to File, each output read back: the preview's texts are there, one
// output page per prepared page, no text outside its page.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include <QImage>
#include <QPushButton>
#include <QRadioButton>

#include "../../export/ReaderTools.h"
#include "columns/ColumnTable.h"
#include "columns/ListColumns.h"
#include "export/PsQRExportSettings.h"
#include "gedcom/GEDCollection.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "reports/ABSReport.h"
#include "reports/render/QRRenderer.h"
#include "reports/ui/PrintDialog.h"
#include "support/MemCollection.h"
#include "support/SharedData.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

struct SaveDlg : TPrintDlg {
    std::string answer;
    int row = 1;
    bool AskExportFileName() override {
        ExportKind = ExportKindOfFilterRow(row);
        ExportFileName = answer;
        return true;
    }
};

using tsupport::readFile;

std::string pageName(const std::string& base, int page, const char* ext) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d.", page);
    return base + buf + ext;
}

// A text of the page that every format writes as it stands: letters and
// digits only, long enough to be telling.
std::string probeText(const TQRPreparedPage& page) {
    for (const auto& it : page.Items) {
        if (it.Kind != TQRItemKind::Text || it.Text.size() < 6) continue;
        bool plain = true;
        for (unsigned char ch : it.Text) plain = plain && (std::isalnum(ch) || ch == ' ') && ch < 128;
        if (plain)
            return it.Text.substr(0, it.Text.find(' ') == std::string::npos ? it.Text.size() : it.Text.find(' '));
    }
    return {};
}

class RealFileExport : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        QRInstallQtMetrics();
        visible = PsQRExportSettings().VisibleFilters();
        PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());
        WOptions::SetBool(opt::IndNotes, true);
        WOptions::SetBool(opt::ViewSaved, false);
        BRENTHAUL_NEED_SHARED(GetParam());
        const std::string path = tsupport::sharedFile(GetParam());
        c = std::make_unique<WGEDCollection>(path);
        ASSERT_TRUE(c->Open());
        c->AfterOpen();
        plat::hooks().showMessage = [this](const std::string& s) { messages.push_back(s); };
    }
    void TearDown() override {
        plat::resetHooks();
        QRResetMetrics();
        PsQRExportSettings().SetVisibleFilters(visible);
    }
    TPsQRVisibleFilters visible;
    WDefaultSettings settings;
    WFixedToday today{2024, 3, 5};
    std::unique_ptr<WGEDCollection> c;
    exporttest::TempDir dir;
    std::vector<std::string> messages;
};

TEST_P(RealFileExport, EveryReportPageInEveryFormat) {
    // The individual with the longest note, so notes run over pages.
    std::int32_t ind = 1;
    size_t longest = 0;
    for (std::int32_t i = 1; i <= c->GetCount() && i <= 5000; ++i)
        if (auto rec = c->GetIndividual(i))
            if (auto note = rec->GetNote(); note && note->GetLines().size() > longest) {
                longest = note->GetLines().size();
                ind = i;
            }
    WListColumns cols(c.get(), "RealFileExport");
    cols.SetColumnList("1,2,7,65,67,19,18");
    for (std::int32_t i = 1; i <= cols.GetCount(); ++i)
        cols.SetColumnWidth(i, ColumnTable::DefaultWidth(cols.GetColumnId(i)));
    SaveDlg dlg;
    dlg.SetCollection(c.get(), ind, 1);
    dlg.SetColumns(&cols, &cols);
    dlg.SetFileName(GetParam());

    static const char* const kinds[] = {"pdf", "htm", "rtf", "jpg", "bmp", "emf"};
    for (int page = rpGeneral; page < rpPageCount; ++page) {
        dlg.SelectPage(page);
        if (page == rpPedigree) dlg.rbCascading->setChecked(true);
        auto form = dlg.Reports.Build(dlg.Choice(page));
        ASSERT_NE(form, nullptr) << page;
        ASSERT_TRUE(form->Prepare());
        const TQRPreparedReport& pages = *form->QRPrinter();
        const int count = pages.PageCount();
        ASSERT_GE(count, 1);
        const std::string first = probeText(*pages.Page(1)), last = probeText(*pages.Page(count));
        for (int row = 1; row <= 6; ++row) {
            const std::string ext = kinds[row - 1];
            SCOPED_TRACE("page " + std::to_string(page) + " ." + ext + " of " + std::to_string(count) + " pages");
            const std::string base = (dir.path() / ("r" + std::to_string(page))).string();
            dlg.answer = base + "." + ext;
            dlg.row = row;
            dlg.butSaveToFile->click();
            ASSERT_TRUE(messages.empty()) << messages.front();
            if (ext == "pdf") {
                const std::string text = readertools::pdfText(dlg.answer);
                EXPECT_EQ(int(exporttest::countOf(text, "\f")), count);
                EXPECT_NE(text.find(first), std::string::npos) << first;
                EXPECT_NE(text.find(last), std::string::npos) << last;
                EXPECT_EQ(readertools::pdfWordsOutsidePage(dlg.answer), 0);
            } else if (ext == "htm") {
                EXPECT_TRUE(fs::exists(pageName(base, count, "htm")));
                EXPECT_FALSE(fs::exists(pageName(base, count + 1, "htm")));
                EXPECT_NE(readFile(pageName(base, 1, "htm")).find(first), std::string::npos) << first;
                EXPECT_NE(readFile(pageName(base, count, "htm")).find(last), std::string::npos) << last;
            } else if (ext == "rtf") {
                const std::string rtf = readFile(dlg.answer);
                EXPECT_EQ(int(exporttest::countOf(rtf, "\\page}")), count - 1);
                EXPECT_NE(rtf.find(first), std::string::npos) << first;
                EXPECT_NE(rtf.find(last), std::string::npos) << last;
            } else {
                EXPECT_EQ(dlg.SavedFileName, pageName(base, count, ext.c_str()));
                EXPECT_FALSE(fs::exists(pageName(base, count + 1, ext.c_str())));
                if (ext != "emf") {
                    const QImage img(QString::fromStdString(dlg.SavedFileName));
                    EXPECT_EQ(img.width(), 816);
                    EXPECT_EQ(img.height(), 1056);
                } else {
                    // Text records hold the page's texts in UTF-16.
                    const std::string emf = readFile(dlg.SavedFileName);
                    EXPECT_EQ(emf.substr(40, 4), " EMF");
                    std::string wide;
                    for (char ch : last) wide += std::string{ch, '\0'};
                    EXPECT_NE(emf.find(wide), std::string::npos) << last;
                }
            }
        }
    }
    // For looking at the files: BRENTHAUL_KEEP_EXPORTS=<folder>.
    if (const char* keep = std::getenv("BRENTHAUL_KEEP_EXPORTS"))
        fs::copy(dir.path(), fs::path(keep) / c->GetFileName().substr(c->GetFileName().rfind('/') + 1),
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

INSTANTIATE_TEST_SUITE_P(Files, RealFileExport, ::testing::Values("royal92.ged", "Queen.ged"), [](const auto& info) {
    return std::string(info.param).substr(0, std::string(info.param).find('.'));
});

} // namespace
