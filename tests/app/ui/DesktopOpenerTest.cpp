// Opening a saved file answers whether a viewer took it, not merely whether
// the opener could be started.
#include "app/ui/QtHooks.h"
#include "support/ScopedTempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace {

struct FakeOpener {
    ScopedTempDir dir;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit FakeOpener(const std::string& body) {
        const std::string script = dir.dir() + "/xdg-open";
        std::ofstream(script) << "#!/bin/sh\necho \"$1\" > '" << dir.dir() << "/arg'\n" << body << "\n";
        chmod(script.c_str(), 0755);
        setenv("PATH", (dir.dir() + ":" + oldPath).c_str(), 1);
    }
    ~FakeOpener() { setenv("PATH", oldPath.c_str(), 1); }
    std::string arg() const {
        std::string s;
        std::getline(std::ifstream(dir.dir() + "/arg"), s);
        return s;
    }
};

TEST(DesktopOpener, ExitStatusOfTheOpenerDecides) {
    {
        FakeOpener noViewer("exit 3"); // xdg-open: no application for the type
        EXPECT_FALSE(openWithDesktop("/tmp/report.emf"));
        EXPECT_EQ(noViewer.arg(), "/tmp/report.emf");
    }
    {
        FakeOpener opened("exit 0");
        EXPECT_TRUE(openWithDesktop("/tmp/report.pdf"));
    }
    {
        // An opener that stays with its viewer has opened the file.
        FakeOpener viewing("sleep 5");
        EXPECT_TRUE(openWithDesktop("mailto:someone@example.org", 300));
        EXPECT_EQ(viewing.arg(), "mailto:someone@example.org");
    }
}

} // namespace
