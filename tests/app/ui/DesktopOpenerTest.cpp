// Opening a saved file answers, without holding up the window, whether a
// viewer took it, not merely whether the opener could be started.
#include "app/ui/QtHooks.h"
#include "support/ScopedTempDir.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QTest>

#include <cstdlib>
#include <fstream>
#include <sys/stat.h>

namespace {

struct FakeOpener {
    ScopedTempDir dir;
    std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    explicit FakeOpener(const std::string& body) {
        const std::string script = dir.dir() + "/xdg-open";
        tsupport::writeFile(script, "#!/bin/sh\necho \"$1\" > '" + dir.dir() + "/arg'\n" + body + "\n");
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

TEST(DesktopOpener, AnswersFromTheOpenersExitStatusWithoutWaiting) {
    int failures = 0;
    const auto failed = [&failures] { ++failures; };
    // The shell that watches the opener is gone once it has answered.
    const auto answered = [] { return QTest::qWaitFor([] { return qApp->findChildren<QProcess*>().isEmpty(); }); };
    {
        FakeOpener noViewer("exit 3"); // xdg-open: no application for the type
        openWithDesktop("/tmp/report.emf", failed);
        ASSERT_TRUE(answered());
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(noViewer.arg(), "/tmp/report.emf");
    }
    {
        // The window goes on while the opener works; it opened the file when it ends well.
        FakeOpener slow("sleep 1; touch \"$0.ended\"");
        const std::string ended = slow.dir.dir() + "/xdg-open.ended";
        openWithDesktop("/tmp/report.pdf", failed);
        EXPECT_FALSE(tsupport::fileExists(ended)) << "returned before the opener ended";
        ASSERT_TRUE(answered());
        EXPECT_TRUE(tsupport::fileExists(ended));
        EXPECT_EQ(failures, 1);
    }
    {
        // An opener that stays with its viewer has opened the file.
        FakeOpener viewing("sleep 5");
        openWithDesktop("mailto:someone@example.org", failed, 300);
        ASSERT_TRUE(answered());
        EXPECT_EQ(failures, 1);
        EXPECT_EQ(viewing.arg(), "mailto:someone@example.org");
    }
}

} // namespace
