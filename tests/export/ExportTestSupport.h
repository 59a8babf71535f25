#pragma once
// Small reports and file helpers for the export tests.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include <QGuiApplication>

#include "reports/ReportEngine.h"

namespace exporttest {

// Painting text needs the GUI application; made once for the program.
inline void ensureGuiApp() {
    if (QGuiApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_export";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

inline std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A private folder removed with the fixture.
class TempDir {
public:
    TempDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "h16exportXXXXXX").string();
        char* made = mkdtemp(tmpl.data());
        path_ = made ? made : tmpl;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline size_t countOf(const std::string& hay, const std::string& needle) {
    size_t n = 0;
    for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + needle.size()))
        ++n;
    return n;
}

// A report of `records` detail bands, each made by fill(band, record index).
struct RecordReport {
    TQuickRep rep;
    TQRSubDetail* detail = nullptr;
    int records = 1;
    int current = 0;
    std::function<void(int)> onRecord;

    explicit RecordReport(int count) : records(count) {
        detail = rep.AddSubDetail();
        detail->OnNeedData = [this](TQRSubDetail*, bool& more) {
            more = current < records;
            if (more && onRecord)
                onRecord(current);
            ++current;
        };
    }
    void restart() { current = 0; }
};

} // namespace exporttest
