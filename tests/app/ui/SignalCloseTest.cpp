#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "MainWindowFixture.h"

namespace {

// The real program, packed with a small family; damage overwrites the
// archive's bytes from that offset in it.
std::string makeRealProgram(const ScopedTempDir& tmp, std::size_t damageAt = 0, const std::string& damage = "") {
    TSelfViewTrailer t;
    t.StartIndex = 2;
    const std::string image = readFile(BRENTHAUL_BINARY_DIR "/brenthaul");
    const std::string program = makeProgram(tmp.dir(), kFamily, t, payload::kMaxBlockLength, image);
    if (!damage.empty()) {
        std::fstream f(program, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(std::streamoff(image.size() + damageAt));
        f.write(damage.data(), std::streamsize(damage.size()));
    }
    ::chmod(program.c_str(), 0755);
    // No quick help in front of the window.
    ::mkdir(tmp.privateDir().c_str(), 0700);
    tsupport::writeFile(tmp.privateDir() + "/zelt.ini", "[Help]\r\nDispInitHelp=F\r\n");
    return program;
}

pid_t launch(const ScopedTempDir& tmp, const std::string& program) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        ::setenv("XDG_CONFIG_HOME", tmp.dir().c_str(), 1);
        ::execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// Sends sig and waits up to 30 s for the program to end; returns the wait status.
int signalAndWait(pid_t pid, int sig) {
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

// Waits until the program has made a temporary file, polling every step.
void waitForTempFile(const ScopedTempDir& tmp, std::chrono::milliseconds step) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (tmp.qelFiles().empty() && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(step);
}

} // namespace

TEST(SignalClose, TermIntAndHupCloseLikeTheWindow) {
    ASSERT_EQ(::access((std::string(BRENTHAUL_BINARY_DIR) + "/brenthaul").c_str(), X_OK), 0)
        << "the program is not built";
    for (int sig : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(sig));
        ScopedTempDir tmp;
        const pid_t pid = launch(tmp, makeRealProgram(tmp));
        // Once the GEDCOM is unpacked, and a moment for the window to fill.
        waitForTempFile(tmp, std::chrono::milliseconds(20));
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const int status = signalAndWait(pid, sig);
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(tmp.qelFiles().empty());
        // The window's close writes where the user was; the settings file shows it.
        EXPECT_NE(readFile(tmp.privateDir() + "/zelt.ini").find("LastID=2"), std::string::npos);
    }
    {
        SCOPED_TRACE("as the first temporary file appears, before the window exists");
        ScopedTempDir tmp;
        const pid_t pid = launch(tmp, makeRealProgram(tmp));
        waitForTempFile(tmp, std::chrono::milliseconds(1));
        const int status = signalAndWait(pid, SIGTERM);
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(tmp.qelFiles().empty());
    }
    {
        // The program ends without waiting for the "damaged" box that
        // follows "CRC does not match!" (no one would close it here).
        SCOPED_TRACE("while a block's CRC is reported wrong");
        ScopedTempDir tmp;
        const pid_t pid = launch(tmp, makeRealProgram(tmp, 8, std::string("\xFF\x00\xFF\x00", 4)));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const int status = signalAndWait(pid, SIGTERM);
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(tmp.qelFiles().empty());
    }
}
