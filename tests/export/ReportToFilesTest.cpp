// A real report through the filters registered at start-up, the way the print
// dialog's Save to File goes: find the filter by extension, prepare, export.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

#include <QImage>

#include "export/PsQRExportSettings.h"
#include "model/Options.h"
#include "reports/ReportInd.h"
#include "support/MemCollection.h"
#include "support/TestFiles.h"

namespace {

std::unique_ptr<TQRExportFilter> filterFor(const std::string& ext, const std::string& file) {
    for (const auto& e : TQRExportFilterLibrary::Instance().Filters())
        if (e.Extension == ext) return e.Create(file);
    return nullptr;
}

TEST(ReportToFiles, IndividualReportReachesEveryRegisteredFormat) {
    WDefaultSettings settings;
    PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());
    WMemCollection c;
    const std::int32_t ann = c.AddPerson("Ann /Birch/", 'F').Birth("12 MAR 1850", "Leeds").Death("1 FEB 1900");
    TReportIndForm form;
    form.SetCollection(&c);
    form.SetIndividual(ann);
    form.SetFileName("birch.ged");
    ASSERT_TRUE(form.Prepare());

    tsupport::TempDir tmp("brenthaul-export");
    const auto& dir = tmp.path();
    for (const char* ext : {"pdf", "htm", "rtf", "jpg", "bmp", "gif"}) {
        SCOPED_TRACE(ext);
        const std::string file = (dir / (std::string("ann.") + ext)).string();
        auto filter = filterFor(ext, file);
        ASSERT_NE(filter, nullptr) << "no filter registered for ." << ext;
        form.Prepare();
        form.ExportToFilter(filter.get());
        // What the print dialog then opens in the desktop's viewer.
        const std::string saved = filter->GetSavedFileName();
        filter.reset();
        ASSERT_TRUE(std::filesystem::exists(saved)) << saved;
        const std::string bytes = tsupport::readFile(saved);
        if (std::string(ext) == "pdf") {
            EXPECT_EQ(bytes.rfind("%PDF-1.3", 0), 0u);
            EXPECT_NE(bytes.find("Birch"), std::string::npos);
        } else if (std::string(ext) == "htm" || std::string(ext) == "rtf") {
            EXPECT_NE(bytes.find("Birch"), std::string::npos);
        } else {
            QImage img(QString::fromStdString(saved));
            EXPECT_FALSE(img.isNull());
            EXPECT_GT(img.width(), 500);
        }
    }
}

} // namespace
