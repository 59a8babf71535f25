#pragma once
// Independent readers of the files the filters write (poppler's pdftotext,
// libwmf's wmf2svg). A missing reader fails the test: scripts/deps.sh
// installs them.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "ExportTestSupport.h"

namespace readertools {

inline bool have(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a reader; output goes to `out`. Fails the test when the reader is
// missing or refuses the file.
inline bool run(const std::string& tool, const std::string& args) {
    if (!have(tool)) {
        ADD_FAILURE() << tool << " is not installed (scripts/deps.sh installs it)";
        return false;
    }
    const int rc = std::system((tool + " " + args + " 2>/dev/null").c_str());
    EXPECT_EQ(rc, 0) << tool << " " << args;
    return rc == 0;
}

inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// The text of a PDF as pdftotext reads it (pages end with a form feed).
inline std::string pdfText(const std::filesystem::path& pdf, const std::string& options = {}) {
    const std::filesystem::path txt = pdf.string() + ".txt";
    if (!run("pdftotext", options + " " + quoted(pdf) + " " + quoted(txt))) return {};
    return exporttest::readFile(txt);
}

// Words pdftotext places partly outside their page's media box.
inline int pdfWordsOutsidePage(const std::filesystem::path& pdf) {
    const std::string html = pdfText(pdf, "-bbox");
    int outside = 0;
    double pageW = 0, pageH = 0;
    for (size_t p = html.find('<'); p != std::string::npos; p = html.find('<', p + 1)) {
        auto attr = [&](const char* name) {
            const size_t a = html.find(std::string(name) + "=\"", p);
            const size_t end = html.find('>', p);
            return a != std::string::npos && a < end ? std::atof(html.c_str() + a + std::string(name).size() + 2) : 0.0;
        };
        if (html.compare(p, 5, "<page") == 0) {
            pageW = attr("width");
            pageH = attr("height");
        } else if (html.compare(p, 5, "<word") == 0) {
            if (attr("xMin") < -0.5 || attr("yMin") < -0.5 || attr("xMax") > pageW + 0.5 || attr("yMax") > pageH + 0.5)
                ++outside;
        }
    }
    return outside;
}

} // namespace readertools
