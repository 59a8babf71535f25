// The packer program: viewer copy + archive + trailer, every field as asked.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "PayloadTestUtil.h"
#include "payload/Compressor.h"
#include "payload/Crc32.h"

using namespace ptest;

namespace {

const std::string kPacker = std::string(BRENTHAUL_BINARY_DIR) + "/brenthaul-pack";

std::string quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q.push_back(c);
    }
    return q + "'";
}

int runPacker(const std::vector<std::string>& args, const std::string& log) {
    // Bounded, so a packer that hangs fails the test instead of holding it.
    std::string cmd = "timeout -s KILL 20 " + quote(kPacker);
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " >" + quote(log) + " 2>&1";
    const int st = std::system(cmd.c_str());
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

std::uint32_t u32At(const std::string& s, std::size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | std::uint8_t(s[at + std::size_t(i)]);
    return v;
}

// A text field of the trailer: up to the first NUL within its width.
std::string field(const std::string& trailer, std::size_t at, std::size_t width) {
    const std::string f = trailer.substr(at, width);
    return f.substr(0, f.find('\0'));
}

class Packer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(access(kPacker.c_str(), X_OK), 0) << "brenthaul-pack is not built: " << kPacker;
        m_viewer = "\x7f"
                   "ELF stand-in viewer image " +
                   randomBytes(5000, 1);
        writeFile(m_dir.file("viewer"), m_viewer);
        m_gedcom = "0 HEAD\r\n1 CHAR UTF-8\r\n0 @I1@ INDI\r\n1 NAME Zo\xc3\xab /M\xc3\xbcller/\r\n0 TRLR\r\n";
        writeFile(m_dir.file("family.ged"), m_gedcom);
    }
    ScratchDir m_dir;
    std::string m_viewer, m_gedcom;
};

} // namespace

TEST_F(Packer, WritesViewerArchiveAndTrailer) {
    const std::string message = "Dear cousins,\r\nhere is the family.\r\nCorrections welcome!";
    ASSERT_EQ(runPacker({"--viewer",        m_dir.file("viewer"),
                         "--gedcom",        m_dir.file("family.ged"),
                         "--out",           m_dir.file("out"),
                         "--title",         "The Harrowgate Family",
                         "--name",          "Zo\xc3\xab Ellison",
                         "--email",         "z@example.org",
                         "--addr1",         "14 Quarry Lane",
                         "--addr2",         "Keswick, Cumbria",
                         "--web",           "www.example.org/h",
                         "--phone",         "+44 1",
                         "--message",       message,
                         "--start",         "7",
                         "--allow-extract", "--created",
                         "2024-03-14 19:42"},
                        m_dir.file("log")),
              0)
        << readFile(m_dir.file("log"));
    struct stat st {};
    ASSERT_EQ(stat(m_dir.file("out").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0755u);

    const std::string out = readFile(m_dir.file("out"));
    ASSERT_GT(out.size(), m_viewer.size() + 1497);
    EXPECT_EQ(out.substr(0, m_viewer.size()), m_viewer);
    const std::string t = out.substr(out.size() - 1497);
    EXPECT_EQ(u32At(t, 1493), 0xDEADBEEFu);
    EXPECT_EQ(u32At(t, 0), m_viewer.size()); // archive offset
    EXPECT_EQ(u32At(t, 4), 1u);              // block count
    EXPECT_EQ(u32At(t, 8), 7u);              // first individual
    EXPECT_EQ(t[12], 1);                     // extract allowed
    double created = 0;
    std::memcpy(&created, t.data() + 13, 8);
    EXPECT_NEAR(created, 45365 + (19 * 60 + 42) / 1440.0, 1e-9);
    EXPECT_EQ(field(t, 21, 64), "family.ged");
    EXPECT_EQ(field(t, 85, 32), "The Harrowgate Family");
    EXPECT_EQ(field(t, 117, 64), "Zo\xeb Ellison"); // code page 1252
    EXPECT_EQ(field(t, 181, 64), "z@example.org");
    EXPECT_EQ(field(t, 245, 64), "14 Quarry Lane");
    EXPECT_EQ(field(t, 309, 64), "Keswick, Cumbria");
    EXPECT_EQ(field(t, 373, 64), "www.example.org/h");
    EXPECT_EQ(field(t, 437, 32), "+44 1");
    EXPECT_EQ(field(t, 469, 1024), message);

    // The archive range expands to the GEDCOM file as it was.
    const std::string archive = out.substr(m_viewer.size(), out.size() - m_viewer.size() - 1497);
    EXPECT_EQ(archive.substr(0, 4), "TBWZ");
    writeFile(m_dir.file("archive"), archive);
    payload::WRESCompress rc;
    EXPECT_TRUE(rc.ExpandFile(m_dir.file("archive"), m_dir.file("back.ged"), u32At(t, 4)));
    EXPECT_EQ(readFile(m_dir.file("back.ged")), m_gedcom);
}

TEST_F(Packer, DefaultsAndFieldWidths) {
    const std::string longTitle(40, 'T');
    ASSERT_EQ(runPacker({"--viewer=" + m_dir.file("viewer"), "--gedcom", m_dir.file("family.ged"), "--out",
                         m_dir.file("out"), "--title", longTitle, "--file-name", "harrowgate.ged"},
                        m_dir.file("log")),
              0);
    EXPECT_NE(readFile(m_dir.file("log")).find("--title is cut to 32"), std::string::npos);
    const std::string out = readFile(m_dir.file("out"));
    const std::string t = out.substr(out.size() - 1497);
    EXPECT_EQ(t.substr(85, 32), std::string(32, 'T')); // full width, no NUL
    EXPECT_EQ(field(t, 21, 64), "harrowgate.ged");
    EXPECT_EQ(u32At(t, 8), 1u); // first individual by default
    EXPECT_EQ(t[12], 0);        // no extraction unless asked
    double created = 0;
    std::memcpy(&created, t.data() + 13, 8);
    EXPECT_GT(created, 45000.0); // "now" is well after 2023
}

TEST_F(Packer, RefusesBadArguments) {
    const std::vector<std::string> base = {"--viewer", m_dir.file("viewer"), "--gedcom", m_dir.file("family.ged"),
                                           "--out",    m_dir.file("out")};
    auto with = [&](std::vector<std::string> extra) {
        auto a = base;
        a.insert(a.end(), extra.begin(), extra.end());
        return runPacker(a, m_dir.file("log"));
    };
    EXPECT_EQ(with({"--created", "2024-02-30 10:00"}), 2);
    EXPECT_EQ(with({"--created", "14.03.2024"}), 2);
    EXPECT_EQ(with({"--start", "seven"}), 2);
    EXPECT_EQ(with({"--colour", "red"}), 2);
    EXPECT_EQ(with({"--title"}), 2);
    EXPECT_EQ(runPacker({"--gedcom", m_dir.file("family.ged"), "--out", m_dir.file("out")}, m_dir.file("log")), 2);
    EXPECT_EQ(
        runPacker({"--viewer", m_dir.file("missing"), "--gedcom", m_dir.file("family.ged"), "--out", m_dir.file("out")},
                  m_dir.file("log")),
        1);
    writeFile(m_dir.file("empty.ged"), "");
    EXPECT_EQ(
        runPacker({"--viewer", m_dir.file("viewer"), "--gedcom", m_dir.file("empty.ged"), "--out", m_dir.file("out")},
                  m_dir.file("log")),
        1);
    EXPECT_NE(readFile(m_dir.file("log")).find("empty.ged is empty"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir.file("out")));
    // --out naming an input by another spelling or another name: the input stays as it was.
    ASSERT_EQ(::link(m_dir.file("viewer").c_str(), m_dir.file("viewer2").c_str()), 0);
    for (const std::string& out : {m_dir.path().string() + "/./family.ged", m_dir.file("viewer2")}) {
        SCOPED_TRACE(out);
        EXPECT_EQ(runPacker({"--viewer", m_dir.file("viewer"), "--gedcom", m_dir.file("family.ged"), "--out", out},
                            m_dir.file("log")),
                  2);
    }
    EXPECT_EQ(readFile(m_dir.file("family.ged")), m_gedcom);
    EXPECT_EQ(readFile(m_dir.file("viewer")), m_viewer);

    // Nor when a link on the way to --out is swapped all the while between
    // the GEDCOM's folder and an empty one: the packer packs into the empty
    // one or refuses, and leaves the GEDCOM's folder as it was.
    const std::string kept = m_dir.file("kept"), empty = m_dir.file("empty"), link = m_dir.file("link");
    ASSERT_EQ(::mkdir(kept.c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(empty.c_str(), 0700), 0);
    writeFile(kept + "/fam.ged", m_gedcom);
    ASSERT_EQ(::symlink(kept.c_str(), link.c_str()), 0);
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        for (bool toKept = false; !done; toKept = !toKept) {
            const std::string next = link + ".next";
            ::unlink(next.c_str());
            if (::symlink((toKept ? kept : empty).c_str(), next.c_str()) == 0) ::rename(next.c_str(), link.c_str());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    int failed = 0;
    for (int i = 0; i < 40; ++i) {
        const int code =
            runPacker({"--viewer", m_dir.file("viewer"), "--gedcom", kept + "/fam.ged", "--out", link + "/fam.ged"},
                      m_dir.file("log"));
        failed += code != 0 && code != 2;
    }
    done = true;
    swapper.join();
    EXPECT_EQ(failed, 0);
    EXPECT_TRUE(readFile(kept + "/fam.ged") == m_gedcom); // not the program
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(kept), {}), 1);
}

TEST_F(Packer, StoppedOrFailedRepackLeavesTheEarlierProgram) {
    namespace fs = std::filesystem;
    const std::string viewer = m_dir.file("viewer"), out = m_dir.file("out"), log = m_dir.file("log");
    ASSERT_EQ(runPacker({"--viewer", viewer, "--gedcom", m_dir.file("family.ged"), "--out", out}, log), 0);
    const std::string program = readFile(out);
    auto leftovers = [&] {
        int n = 0;
        for (const auto& e : fs::directory_iterator(m_dir.path())) n += e.path().extension() == ".part";
        return n;
    };

    // A pipe, a device or a folder is refused at once: none is waited on or read without end.
    ASSERT_EQ(::mkfifo(m_dir.file("pipe.ged").c_str(), 0600), 0);
    const std::string pipe = m_dir.file("pipe.ged"), family = m_dir.file("family.ged");
    const std::pair<std::string, std::string> inputs[] = {
        {viewer, pipe}, {viewer, "/dev/zero"}, {viewer, m_dir.path().string()}, {pipe, family}};
    for (const auto& [from, gedcom] : inputs) {
        const std::string& refused = from == viewer ? gedcom : from;
        SCOPED_TRACE(refused);
        EXPECT_EQ(runPacker({"--viewer", from, "--gedcom", gedcom, "--out", out}, log), 1);
        EXPECT_NE(readFile(log).find(refused + " is not a regular file"), std::string::npos) << readFile(log);
        EXPECT_TRUE(readFile(out) == program); // the earlier program, byte for byte
    }

    // A write that fails past a file-size limit (as on a full disk) says why,
    // the limit's signal not ending the packer before it can.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto action = std::signal(SIGXFSZ, SIG_DFL);
    const struct rlimit lim = {4096, old.rlim_max};
    EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &lim), 0);
    const int limited = runPacker({"--viewer", viewer, "--gedcom", m_dir.file("family.ged"), "--out", out}, log);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, action);
    EXPECT_EQ(limited, 1);
    EXPECT_NE(readFile(log).find("Cannot write file \"" + out + "\". Files may not grow beyond 4096 bytes"),
              std::string::npos)
        << readFile(log);
    EXPECT_TRUE(readFile(out) == program); // the earlier program, byte for byte
    EXPECT_EQ(leftovers(), 0);

    // Where the folder takes no new file, the program is not written in place: cut short, it would not run.
    const std::string userLog = m_dir.file("user.log");
    writeFile(userLog, "");
    writeFile(m_dir.file("empty.ged"), "");
    for (const std::string& f : {out, userLog}) ASSERT_EQ(::chmod(f.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(m_dir.path().c_str(), 0555), 0);
    const std::string exitCode = tsupport::asOrdinaryUser([&] {
        return std::to_string(
            runPacker({"--viewer", viewer, "--gedcom", m_dir.file("empty.ged"), "--out", out}, userLog));
    });
    ASSERT_EQ(::chmod(m_dir.path().c_str(), 0700), 0);
    EXPECT_EQ(exitCode, "1");
    EXPECT_NE(readFile(userLog).find("Cannot create a working file in the folder of \"" + out +
                                     "\" to replace it. Permission denied"),
              std::string::npos)
        << readFile(userLog);
    EXPECT_TRUE(readFile(out) == program); // the earlier program, byte for byte

    // A stop (TERM) while a large file is packed: gigabytes of zeros, taking no room.
    const std::string big = m_dir.file("big.ged");
    writeFile(big, "0 HEAD\r\n");
    ASSERT_EQ(::truncate(big.c_str(), 8LL << 30), 0);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&files, 1, 2);
    std::vector<std::string> args = {kPacker, "--viewer", viewer, "--gedcom", big, "--out", out};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, kPacker.c_str(), &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    // Stopped once it writes: its working file is there, or --out changed.
    std::error_code ec;
    for (int i = 0; i < 1000 && leftovers() == 0 && fs::file_size(out, ec) == program.size(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ::kill(pid, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
    EXPECT_TRUE(readFile(out) == program); // the earlier program, byte for byte
    EXPECT_EQ(leftovers(), 0);
}

TEST(PackArchive, SameBytesOnAnyNumberOfThreadsFromAnyReads) {
    std::string text;
    for (int i = 0; i < 12000; ++i) text += "1 BIRT\r\n2 DATE " + std::to_string(1600 + i % 400) + "\r\n";
    text += randomBytes(30000, 4);
    std::vector<std::uint8_t> reference;
    const std::uint32_t blocks = payload::WCompressor(20000).Compress(
        reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), reference);
    ASSERT_GT(blocks, 10u);
    // The CRC of the archive that earlier releases packed from this text:
    // making the packer faster must not change a byte.
    EXPECT_EQ(payload::crc32(reference.data(), reference.size()), 0xC5A33C7Bu);
    for (int threads : {1, 4, 8}) {
        std::size_t at = 0;
        std::vector<std::uint8_t> archive;
        // Reads come in odd pieces, as from a pipe.
        const std::uint32_t got = payload::packArchive(
            [&](std::uint8_t* data, std::size_t n) {
                n = std::min({n, text.size() - at, std::size_t(777)});
                std::memcpy(data, text.data() + at, n);
                at += n;
                return n;
            },
            [&](const std::uint8_t* data, std::size_t n) { archive.insert(archive.end(), data, data + n); }, 20000,
            threads);
        EXPECT_EQ(got, blocks) << threads;
        EXPECT_TRUE(archive == reference) << threads;
    }
    // A failing read stops every thread and reaches the caller.
    std::size_t calls = 0;
    EXPECT_THROW(payload::packArchive(
                     [&](std::uint8_t* data, std::size_t n) -> std::size_t {
                         if (++calls > 5) throw std::runtime_error("cannot read");
                         std::memset(data, 'x', n);
                         return n;
                     },
                     [](const std::uint8_t*, std::size_t) {}, 1000, 4),
                 std::runtime_error);
}
