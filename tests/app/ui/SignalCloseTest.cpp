#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "app/SelfViewTrailer.h"
#include "payload/Compressor.h"
#include "support/ScopedTempDir.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

const char* const kFamily =
    "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME John /Smith/\r\n1 FAMS @F1@\r\n0 @I2@ INDI\r\n"
    "1 NAME Tom /Smith/\r\n1 FAMC @F1@\r\n0 @F1@ FAM\r\n1 HUSB @I1@\r\n1 CHIL @I2@\r\n0 TRLR\r\n";

// Runs the real program, packed with a small family, and sends it sig once
// its GEDCOM is unpacked; returns the wait status.
int runAndSignal(const ScopedTempDir& tmp, int sig) {
    const std::string viewer = readFile(std::string(BRENTHAUL_BINARY_DIR) + "/brenthaul");
    std::uint32_t blocks = 0;
    const auto archive = payload::compressArchive(kFamily, blocks);
    TSelfViewTrailer t;
    t.ArchiveOffset = std::uint32_t(viewer.size());
    t.BlockCount = blocks;
    t.StartIndex = 2;
    const auto trailer = serializeTrailer(t);
    const std::string program = tmp.dir() + "/family-viewer";
    {
        std::ofstream out(program, std::ios::binary | std::ios::trunc);
        out << viewer;
        out.write(reinterpret_cast<const char*>(archive.data()), std::streamsize(archive.size()));
        out.write(reinterpret_cast<const char*>(trailer.data()), std::streamsize(trailer.size()));
    }
    ::chmod(program.c_str(), 0755);
    // No quick help in front of the window.
    ::mkdir(tmp.privateDir().c_str(), 0700);
    std::ofstream(tmp.privateDir() + "/zelt.ini", std::ios::binary) << "[Help]\r\nDispInitHelp=F\r\n";

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
