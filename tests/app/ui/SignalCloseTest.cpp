#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "MainWindowFixture.h"

namespace {

// The real program, packed with gedcom (a small family by default); damage
// overwrites the archive's bytes from that offset in it.
std::string makeRealProgram(const ScopedTempDir& tmp, const std::string& gedcom = kFamily, std::size_t damageAt = 0,
                            const std::string& damage = "") {
    TSelfViewTrailer t;
    t.StartIndex = 2;
    const std::string image = readFile(BRENTHAUL_BINARY_DIR "/brenthaul");
    const std::string program = makeProgram(tmp.dir(), gedcom, t, payload::kMaxBlockLength, image);
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

// Starts the program; inChild runs in its process first.
pid_t launch(const ScopedTempDir& tmp, const std::string& program, const std::function<void()>& inChild = {}) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (inChild) inChild();
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

// Waits until the program has made count temporary files, polling every step.
void waitForTempFile(const ScopedTempDir& tmp, std::chrono::milliseconds step, std::size_t count = 1) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (tmp.qelFiles().size() < count && std::chrono::steady_clock::now() < until) std::this_thread::sleep_for(step);
}

// True while the program runs; it is not reaped, so its pid stays ours.
bool running(pid_t pid) {
    siginfo_t info{};
    return ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

// A family of so many people that unpacking it takes a while.
std::string largeFamily(std::size_t bytes) {
    std::string text = "0 HEAD\r\n1 CHAR ANSI\r\n";
    for (int i = 1; text.size() < bytes; ++i)
        text += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME Anna" + std::to_string(i % 997) + " /Berg" +
                std::to_string(i % 389) + "/\r\n1 BIRT\r\n2 DATE " + std::to_string(1 + i % 28) + " MAR " +
                std::to_string(1700 + i % 300) + "\r\n";
    return text + "0 TRLR\r\n";
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
        // The unpacking stops rather than writing the whole file, and a
        // second signal while the program closes does not end it before its
        // files are gone.
        SCOPED_TRACE("while the GEDCOM is unpacked, twice");
        ScopedTempDir tmp;
        const std::string family = largeFamily(24 << 20);
        const pid_t pid = launch(tmp, makeRealProgram(tmp, family));
        waitForTempFile(tmp, std::chrono::milliseconds(1), 2);
        // Held open, the files keep what was written to them after they go.
        std::vector<int> held;
        for (const std::string& name : tmp.qelFiles())
            held.push_back(::open((tmp.privateDir() + "/" + name).c_str(), O_RDONLY | O_CLOEXEC));
        // Once the archive is copied and the first block written.
        const auto written = [&] {
            struct stat st {};
            for (const int fd : held)
                if (::fstat(fd, &st) != 0 || st.st_size == 0) return false;
            return true;
        };
        for (int i = 0; i < 30000 && !written(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ::kill(pid, SIGTERM);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const int status = signalAndWait(pid, SIGHUP);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "ended with status " << status;
        EXPECT_TRUE(tmp.qelFiles().empty());
        ASSERT_EQ(held.size(), 2u);
        for (const int fd : held) {
            struct stat st {};
            EXPECT_EQ(::fstat(fd, &st), 0);
            EXPECT_LT(std::size_t(st.st_size), family.size());
            ::close(fd);
        }
    }
    {
        // The program ends without waiting for the "damaged" box that
        // follows "CRC does not match!" (no one would close it here).
        SCOPED_TRACE("while a block's CRC is reported wrong");
        ScopedTempDir tmp;
        const pid_t pid = launch(tmp, makeRealProgram(tmp, kFamily, 8, std::string("\xFF\x00\xFF\x00", 4)));
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        const int status = signalAndWait(pid, SIGTERM);
        EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
        EXPECT_TRUE(tmp.qelFiles().empty());
    }
}

TEST(SignalClose, HangupIgnoredAtStartAndABrokenPipeLeaveItRunning) {
    ScopedTempDir tmp;
    // As under nohup, and with stderr a pipe nobody reads any more.
    int stderrPipe[2];
    ASSERT_EQ(::pipe(stderrPipe), 0);
    ::close(stderrPipe[0]);
    const pid_t pid = launch(tmp, makeRealProgram(tmp), [&] {
        ::signal(SIGHUP, SIG_IGN);
        ::dup2(stderrPipe[1], STDERR_FILENO);
    });
    ::close(stderrPipe[1]);
    waitForTempFile(tmp, std::chrono::milliseconds(20));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(pid, SIGHUP);
    ::kill(pid, SIGPIPE);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(running(pid));
    const int status = signalAndWait(pid, SIGTERM);
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_TRUE(tmp.qelFiles().empty());
}
