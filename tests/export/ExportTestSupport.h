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
#include "support/TestFiles.h"

namespace exporttest {

using tsupport::readFile;
using tsupport::TempDir;

// Painting text needs the GUI application; made once for the program.
inline void ensureGuiApp() {
    if (QGuiApplication::instance()) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "test_export";
    static char* argv[] = {name, nullptr};
    new QGuiApplication(argc, argv);
}

inline size_t countOf(const std::string& hay, const std::string& needle) {
    size_t n = 0;
    for (size_t p = hay.find(needle); p != std::string::npos; p = hay.find(needle, p + needle.size())) ++n;
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
            if (more && onRecord) onRecord(current);
            ++current;
        };
    }
    void restart() { current = 0; }
};

} // namespace exporttest
