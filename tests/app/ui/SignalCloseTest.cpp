#include "MainWindowFixture.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Runs the real program, packed with a small family, and sends it sig once
// its GEDCOM is unpacked; returns the wait status.
int runAndSignal(const ScopedTempDir& tmp, int sig) {
    TSelfViewTrailer t;
    t.StartIndex = 2;
    const std::string program =
        makeProgram(tmp.dir(), kFamily, t, payload::kMaxBlockLength, readFile(BRENTHAUL_BINARY_DIR "/brenthaul"));
    ::chmod(program.c_str(), 0755);
    // No quick help in front of the window.
    ::mkdir(tmp.privateDir().c_str(), 0700);
    tsupport::writeFile(tmp.privateDir() + "/zelt.ini", "[Help]\r\nDispInitHelp=F\r\n");

    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", tmp.dir().c_str(), 1);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Wait for the unpacked file, and a moment for the window to fill.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (tmp.qelFiles().empty() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(pid, sig);
    int status = 0;
    for (int i = 0; i < 1500 && ::waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (::waitpid(pid, &status, WNOHANG) == 0) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return status;
}

} // namespace

TEST(SignalClose, TermIntAndHupCloseLikeTheWindow) {
    ASSERT_EQ(::access((std::string(BRENTHAUL_BINARY_DIR) + "/brenthaul").c_str(), X_OK), 0)
        << "the program is not built";
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        ScopedTempDir tmp;
        const int status = runAndSignal(tmp, sig);
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(tmp.qelFiles().empty());
        // The window's close writes where the user was; the settings file shows it.
        EXPECT_NE(readFile(tmp.privateDir() + "/zelt.ini").find("LastID=2"), std::string::npos);
    }
}
