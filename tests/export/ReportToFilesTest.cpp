// A real report through the filters registered at start-up, the way the print
// dialog's Save to File goes: find the filter by extension, prepare, export.
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>

#include "ExportTestSupport.h"
#include "export/PsQRControls.h"
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
    exporttest::ensureGuiApp();
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

// While it lives, writing a file past `bytes` fails as on a full disk.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes) : m_action(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &m_old);
        const struct rlimit lim = {bytes, m_old.rlim_max};
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    }
    ~FullDisk() {
        ::setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_action);
    }

private:
    void (*m_action)(int);
    struct rlimit m_old {};
};

TEST(ReportToFiles, FailedSaveRemovesWhatItMadeAndNamesTheFileThatFailed) {
    namespace fs = std::filesystem;
    exporttest::ensureGuiApp();
    WDefaultSettings settings;
    PsQRExportSettings().SetVisibleFilters(TPsQRVisibleFilters::all());
    exporttest::RecordReport r{3};
    r.rep.BeforePrint = [&r](TQuickRep*, bool&) { r.restart(); };
    r.detail->ForceNewPage = true;
    r.detail->Add<TPsQRLabel>()->Caption = "Page text";
    tsupport::TempDir tmp("brenthaul-export");
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0755), 0);
    const bool root = ::geteuid() == 0;
    for (const std::string ext : {"pdf", "htm", "rtf", "gif", "jpg", "bmp", "emf", "wmf"}) {
        SCOPED_TRACE(ext);
        const fs::path dir = tmp.path() / ext;
        ASSERT_TRUE(fs::create_directory(dir));
        const std::string file = (dir / ("Family." + ext)).string();
        const bool pageFiles = ext != "pdf" && ext != "rtf";
        auto page = [&](int n) { return (dir / ("Family000" + std::to_string(n) + "." + ext)).string(); };
        auto save = [&] {
            std::unique_ptr<TQRExportFilter> filter = filterFor(ext, file);
            try {
                r.rep.ExportToFilter(filter.get());
            } catch (const std::exception& x) {
                return std::string(x.what());
            }
            return std::string();
        };
        // A full disk: a file that was there before stays as it was, nothing else is left.
        const std::string old = pageFiles ? page(2) : file;
        tsupport::writeFile(old, "old");
        std::string error;
        {
            FullDisk full(100);
            error = save();
        }
        EXPECT_EQ(error, "Cannot write file \"" + (pageFiles ? page(1) : file) + "\". File too large");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
        EXPECT_EQ(tsupport::readFile(old), "old");
        // With room, the save replaces it, keeping it owner-only (and in its group).
        ASSERT_EQ(::chmod(old.c_str(), 0600), 0);
        if (root) {
            ASSERT_EQ(::chown(old.c_str(), uid_t(-1), 4321), 0);
        }
        EXPECT_EQ(save(), "");
        EXPECT_NE(tsupport::readFile(old), "old");
        struct stat st {};
        ASSERT_EQ(::stat(old.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        if (root) {
            EXPECT_EQ(st.st_gid, 4321u);
        }
        // A new one is an ordinary new file of the user's.
        const mode_t mask = ::umask(022);
        ::umask(mask);
        ASSERT_TRUE(fs::remove(old));
        EXPECT_EQ(save(), "");
        EXPECT_EQ(unsigned(fs::status(old).permissions()), 0666u & ~unsigned(mask));
        if (!pageFiles) continue;
        const std::uintmax_t firstPage = fs::file_size(page(1)); // whole
        // A folder in the way is refused before any page is made; page 2, there before, stays.
        fs::remove(page(1));
        fs::remove(page(3));
        fs::create_directories(page(3) + "/in the way");
        EXPECT_EQ(save(), "Cannot write file \"" + page(3) + "\": it is a folder.");
        EXPECT_FALSE(fs::exists(page(1)));
        EXPECT_TRUE(fs::exists(page(2)));
        // In a folder that takes no new file, pages written in place are all
        // checked before the first is emptied.
        fs::remove_all(page(3));
        for (int n : {1, 2}) {
            tsupport::writeFile(page(n), "old");
            ASSERT_EQ(::chmod(page(n).c_str(), 0666), 0);
        }
        ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
        error = tsupport::asOrdinaryUser(save);
        ::chmod(dir.c_str(), 0755);
        EXPECT_EQ(error, "Cannot create file \"" + page(3) + "\". Permission denied");
        EXPECT_EQ(tsupport::readFile(page(1)), "old");
        EXPECT_EQ(tsupport::readFile(page(2)), "old");
        if (ext != "htm") continue;
        // Page files written in place get their navigators and ends last: a
        // save that fails at the first end says that every page lacks its end.
        for (int n : {1, 2, 3}) {
            tsupport::writeFile(page(n), "old");
            ASSERT_EQ(::chmod(page(n).c_str(), 0666), 0);
        }
        ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
        {
            FullDisk full(firstPage - 1);
            error = tsupport::asOrdinaryUser(save);
        }
        ::chmod(dir.c_str(), 0755);
        EXPECT_EQ(error, "Cannot write file \"" + page(1) + "\". File too large. Pages 1 to 3 were left incomplete.");
    }
}

} // namespace
