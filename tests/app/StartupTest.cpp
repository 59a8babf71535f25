#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sched.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/Startup.h"
#include "app/Unpack.h"
#include "model/Global.h"
#include "model/Ini2.h"
#include "model/Options.h"
#include "payload/Compressor.h"
#include "platform/FileSizeLimit.h"
#include "platform/Hooks.h"
#include "platform/IniFile.h"
#include "platform/TempFiles.h"
#include "support/ScopedTempDir.h"

namespace {

using tsupport::fileExists;
using tsupport::readFile;
using tsupport::writeFile;

std::string pattern(std::size_t n, unsigned seed) {
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s[i] = static_cast<char>(seed >> 16);
    }
    return s;
}

// Puts a fresh tmpfs of the given size over folder, seen by this process
// only: a mount namespace of its own, in a user namespace when not root.
bool mountSmallDisk(const std::string& folder, const char* size) {
    const std::string uid = std::to_string(::geteuid()), gid = std::to_string(::getegid());
    if (::geteuid() != 0) {
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        writeFile("/proc/self/setgroups", "deny");
        writeFile("/proc/self/uid_map", uid + " " + uid + " 1");
        writeFile("/proc/self/gid_map", gid + " " + gid + " 1");
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, (std::string("mode=0700,size=") + size).c_str()) == 0;
}

struct Message {
    std::string text, caption;
    unsigned flags;
};

const std::string kExpectedText =
    "Error: This Self-Viewing file does not contain a GEDCOM.\n\rPlease contact the person that created this file";

class StartupTest : public ::testing::Test {
protected:
    // A small real program keeps the copies cheap; our own file serves otherwise.
    static void SetUpTestSuite() {
        s_image = new std::string(readFile("/bin/true"));
        if (s_image->size() <= kTrailerSize) *s_image = readFile(plat::ownProgramPath());
    }
    static void TearDownTestSuite() {
        delete s_image;
        s_image = nullptr;
    }

    void SetUp() override {
        ASSERT_GT(s_image->size(), kTrailerSize);
        m_settings = plat::tempDir() + "zelt.ini";
        plat::hooks().messageBox = [this](const std::string& t, const std::string& c, unsigned f) {
            m_boxes.push_back({t, c, f});
            return int(plat::IDOK);
        };
        plat::hooks().showMessage = [this](const std::string& t) { m_shown.push_back(t); };
        WOptions::Clear();
    }

    void TearDown() override {
        ini2::Close();
        WOptions::Clear();
        plat::resetHooks();
    }

    TSelfViewTrailer trailerFor() const {
        TSelfViewTrailer t;
        t.ArchiveOffset = std::uint32_t(s_image->size());
        t.BlockCount = 2;
        t.StartIndex = 5;
        t.AllowExtract = 1;
        t.CreateDate = 45000.5;
        t.FileName = "family.ged";
        t.Title = "The Family";
        t.SenderName = "Anna";
        return t;
    }

    // A copy of the program file with archive and trailer appended.
    std::string program(const std::string& name, const std::string& archive, const TSelfViewTrailer* t) {
        std::string bytes = *s_image + archive;
        if (t) {
            const auto rec = serializeTrailer(*t);
            bytes.append(reinterpret_cast<const char*>(rec.data()), rec.size());
        }
        const std::string path = m_root + "/" + name;
        writeFile(path, bytes);
        ::chmod(path.c_str(), 0755);
        return path;
    }

    void expectNoGedcomMessageOnly() {
        ASSERT_EQ(m_boxes.size(), 1u);
        EXPECT_EQ(m_boxes[0].text, kExpectedText);
        EXPECT_EQ(m_boxes[0].caption, "Brenthaul Self-Viewing GEDCOM");
        EXPECT_EQ(m_boxes[0].flags, unsigned(plat::MB_OK));
        EXPECT_TRUE(m_shown.empty());
    }

    static std::string* s_image;
    // TMPDIR for the test; the programs and other files go beside the program's own folder.
    ScopedTempDir m_tmp;
    const std::string m_root = m_tmp.dir(), m_priv = m_tmp.privateDir();
    std::string m_settings;
    std::vector<Message> m_boxes;
    std::vector<std::string> m_shown;
};

std::string* StartupTest::s_image = nullptr;

} // namespace

TEST_F(StartupTest, ProgramWithoutTrailerEndsWithMessageAndSavesNothing) {
    const std::string own = program("plain", "", nullptr);
    bool windows = false;
    const int rc = ZELT::Run(own, m_settings, [&] {
        windows = true;
        return 0;
    });
    EXPECT_NE(rc, 0);
    EXPECT_FALSE(windows);
    expectNoGedcomMessageOnly();
    EXPECT_FALSE(fileExists(m_settings)) << "settings must not be written";
    EXPECT_FALSE(ini2::IsOpen());
    EXPECT_TRUE(m_tmp.qelFiles().empty());
}

TEST_F(StartupTest, ProgramWithTrailerCopiesArchiveThenSavesSettings) {
    const std::string archive = "TBWZ" + pattern(2500, 7);
    const TSelfViewTrailer t = trailerFor();
    const std::string own = program("sender.bin", archive, &t);
    writeFile(m_settings, "[General]\r\nUseLDS=T\r\n");

    const int rc = ZELT::Run(own, m_settings, [&] {
        EXPECT_TRUE(WOptions::GetBool(opt::UseLDS)) << "settings are loaded before the windows";
        EXPECT_EQ(WOptions::GetProgramDir(), m_root + "/");
        TSelfViewTrailer read;
        const std::string copy = Global::GetTempFileName();
        writeFile(copy, archive + archive); // a longer leftover is cut to the copy
        EXPECT_EQ(ZELT::CopySelfViewArchive(own, read, copy), ZELT::ArchiveResult::Ok);
        EXPECT_EQ(readFile(copy), archive);
        EXPECT_EQ(copy.compare(0, m_priv.size() + 4, m_priv + "/qel"), 0) << copy;
        struct stat st {};
        EXPECT_EQ(::stat(copy.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(read.BlockCount, 2u);
        EXPECT_EQ(read.StartIndex, 5);
        EXPECT_EQ(read.Title, "The Family");
        EXPECT_EQ(read.SenderName, "Anna");
        EXPECT_EQ(read.CreateDate, 45000.5);
        Global::DeleteTempFile(copy);
        return 0;
    });
    EXPECT_EQ(rc, 0);
    EXPECT_TRUE(m_boxes.empty());
    EXPECT_TRUE(m_shown.empty());
    ASSERT_TRUE(fileExists(m_settings));
    plat::IniFile f(m_settings);
    EXPECT_EQ(f.readString("General", "UseLDS", ""), "T");
    EXPECT_EQ(f.readString("General", "ShowSplash", ""), "T");
    EXPECT_EQ(f.readString("Brenthaul", "NoOpt", ""), "T");
    EXPECT_FALSE(ini2::IsOpen());
    EXPECT_TRUE(m_tmp.qelFiles().empty());
}

TEST_F(StartupTest, UnusableTrailersCountAsNoGedcom) {
    const std::string archive = pattern(3000, 3);
    const std::uint64_t trailerStart = s_image->size() + archive.size();

    struct Case {
        const char* name;
        std::string path;
        ZELT::TrailerCheck expected;
    };
    std::vector<Case> cases;

    // Shorter than a trailer, though it ends with the mark.
    cases.push_back({"short", m_root + "/short", ZELT::TrailerCheck::TooShort});
    writeFile(cases.back().path, std::string(100, 'x') + "\xEF\xBE\xAD\xDE");
    cases.push_back({"tiny", m_root + "/tiny", ZELT::TrailerCheck::NoMagic});
    writeFile(cases.back().path, "\xBE\xAD\xDE");
    cases.push_back({"empty", m_root + "/empty", ZELT::TrailerCheck::NoMagic});
    writeFile(cases.back().path, "");
    cases.push_back({"missing", m_root + "/missing", ZELT::TrailerCheck::Unreadable});
    cases.push_back({"folder", m_root, ZELT::TrailerCheck::Unreadable});

    TSelfViewTrailer t = trailerFor();
    t.ArchiveOffset = std::uint32_t(trailerStart + 1);
    cases.push_back({"offset past trailer start", program("o1", archive, &t), ZELT::TrailerCheck::BadOffset});
    t.ArchiveOffset = 0xFFFFFFFFu;
    cases.push_back({"offset far out", program("o2", archive, &t), ZELT::TrailerCheck::BadOffset});
    t = trailerFor();
    t.BlockCount = 0;
    cases.push_back({"no blocks", program("b0", archive, &t), ZELT::TrailerCheck::NoBlocks});
    t = trailerFor();
    t.Magic = 0xDEADBEEE;
    cases.push_back({"wrong mark", program("m", archive, &t), ZELT::TrailerCheck::NoMagic});

    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ZELT::InspectSelfViewFile(c.path, nullptr, nullptr), c.expected);
        m_boxes.clear();
        bool windows = false;
        const int rc = ZELT::Run(c.path, m_settings, [&] {
            windows = true;
            return 0;
        });
        EXPECT_NE(rc, 0);
        EXPECT_FALSE(windows);
        expectNoGedcomMessageOnly();
        EXPECT_FALSE(fileExists(m_settings));

        // The later read in the window gives the same message and no file.
        m_boxes.clear();
        TSelfViewTrailer read;
        std::string ged = "stale", error;
        EXPECT_EQ(UnpackSelfViewPayload(c.path, read, ged, error), UnpackResult::NoGedcom);
        EXPECT_EQ(ged, "");
        expectNoGedcomMessageOnly();
        EXPECT_TRUE(m_tmp.qelFiles().empty());
    }
}

TEST_F(StartupTest, ArchiveMayBeEmptyWhenItStartsAtTheTrailer) {
    TSelfViewTrailer t = trailerFor();
    const std::string own = program("empty-archive", "", &t);
    EXPECT_EQ(ZELT::InspectSelfViewFile(own, nullptr, nullptr), ZELT::TrailerCheck::Ok);
    TSelfViewTrailer read;
    const std::string copy = Global::GetTempFileName();
    ASSERT_EQ(ZELT::CopySelfViewArchive(own, read, copy), ZELT::ArchiveResult::Ok);
    EXPECT_EQ(readFile(copy), "");
    EXPECT_TRUE(Global::DeleteTempFile(copy));
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(StartupTest, ReadTrailerShowsMessageOnlyWhenUnusable) {
    const std::string archive = pattern(10, 1);
    TSelfViewTrailer t = trailerFor();
    t.WebSite = "https://example.org/";
    const std::string good = program("good", archive, &t);
    TSelfViewTrailer read;
    EXPECT_TRUE(ZELT::PayloadPresent(good));
    EXPECT_TRUE(ZELT::ReadSelfViewTrailer(good, read));
    EXPECT_EQ(read.WebSite, "https://example.org/");
    EXPECT_TRUE(m_boxes.empty());
    const std::string bad = program("bad", archive, nullptr);
    EXPECT_FALSE(ZELT::PayloadPresent(bad));
    EXPECT_FALSE(ZELT::ReadSelfViewTrailer(bad, read));
    EXPECT_EQ(m_boxes.size(), 2u);
}

TEST_F(StartupTest, EscapingExceptionShowsIOErrorAndSettingsAreSaved) {
    TSelfViewTrailer t = trailerFor();
    const std::string own = program("p", "abc", &t);
    const int rc = ZELT::Run(own, m_settings, []() -> int { throw std::runtime_error("boom"); });
    EXPECT_NE(rc, 0);
    EXPECT_TRUE(m_boxes.empty());
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], "Error with I/O");
    EXPECT_TRUE(fileExists(m_settings));
    EXPECT_FALSE(ini2::IsOpen());
}

TEST_F(StartupTest, UnusableTemporaryFolderIsNamedWithoutLeftovers) {
    TSelfViewTrailer t = trailerFor();
    const std::string own = program("p", "abcdef", &t);
    const std::string settings = m_root + "/zelt.ini";
    // The temporary folder turns out to be no folder when the archive is copied.
    const std::string notAFolder = m_root + "/not-a-folder";
    writeFile(notAFolder, "x");
    bool reached = false;
    const int rc = ZELT::Run(own, settings, [&] {
        ::setenv("TMPDIR", notAFolder.c_str(), 1);
        Global::GetTempFileName();
        reached = true;
        return 0;
    });
    ::setenv("TMPDIR", m_root.c_str(), 1);
    EXPECT_FALSE(reached);
    EXPECT_NE(rc, 0);
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], "Cannot use the temporary folder " + notAFolder);
    EXPECT_TRUE(fileExists(settings));
    EXPECT_TRUE(m_tmp.qelFiles().empty());
}

TEST_F(StartupTest, UnpackingStartedAheadIsTakenOnceAndNeverLeftBehind) {
    std::string text;
    for (int i = 0; text.size() < 30000; ++i) text += "0 @I" + std::to_string(i) + "@ INDI\r\n";
    std::uint32_t blocks = 0;
    const auto packed = payload::compressArchive(text, blocks, 4096);
    TSelfViewTrailer t = trailerFor();
    t.BlockCount = blocks;
    const std::string own = program("p", std::string(packed.begin(), packed.end()), &t);
    TSelfViewTrailer read;
    std::string ged, error;
    {
        const TUnpackAhead ahead(own);
        ASSERT_EQ(UnpackSelfViewPayload(own, read, ged, error), UnpackResult::Ok) << error;
        EXPECT_EQ(readFile(ged), text);
        EXPECT_EQ(read.StartIndex, 5);
        EXPECT_EQ(m_tmp.qelFiles().size(), 1u); // the archive copy is gone
        // Taken once: a second call unpacks anew.
        std::string again;
        ASSERT_EQ(UnpackSelfViewPayload(own, read, again, error), UnpackResult::Ok);
        EXPECT_NE(again, ged);
        EXPECT_TRUE(plat::deleteTempFile(again));
    }
    EXPECT_TRUE(plat::deleteTempFile(ged)) << "the file taken is the caller's";
    // The program may end before its window asks for the file.
    { const TUnpackAhead unused(own); }
    EXPECT_TRUE(m_tmp.qelFiles().empty());
    EXPECT_TRUE(m_shown.empty());
    EXPECT_TRUE(m_boxes.empty());
}

TEST_F(StartupTest, FullDiskAndFileSizeLimitAreNamedInsteadOfBlamingTheFile) {
    // Over a file-size limit of 4000 bytes, and over a 64 KB disk for the
    // private folder; each while the archive is copied and while it is expanded.
    for (const bool smallDisk : {false, true}) {
        SCOPED_TRACE(smallDisk ? "64 KB disk" : "file-size limit");
        const std::size_t scale = smallDisk ? 10 : 1;
        std::string text;
        for (int i = 0; text.size() < 20000 * scale; ++i) text += "0 @I" + std::to_string(i % 500) + "@ INDI\r\n";
        std::uint32_t blocks = 0;
        const auto packed = payload::compressArchive(text, blocks, 4096);
        ASSERT_LT(packed.size(), 4000u * scale);
        const std::string archive(packed.begin(), packed.end());
        for (const std::string& payload : {"TBWZ" + pattern(smallDisk ? 100000 : 5000, 3), archive}) {
            TSelfViewTrailer t = trailerFor();
            t.BlockCount = blocks;
            const std::string own = program("p", payload, &t);
            int out[2];
            ASSERT_EQ(::pipe(out), 0);
            const pid_t child = ::fork();
            ASSERT_GE(child, 0);
            if (child == 0) {
                const struct rlimit lim = {4000, 4000};
                if (smallDisk ? !mountSmallDisk(m_priv, "64k") : ::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(3);
                plat::CatchFileSizeLimit();
                TSelfViewTrailer read;
                std::string ged, error;
                UnpackSelfViewPayload(own, read, ged, error);
                (void)!::write(out[1], error.data(), error.size());
                ::_exit(0);
            }
            ::close(out[1]);
            std::string error;
            char buf[256];
            for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) error.append(buf, std::size_t(n));
            ::close(out[0]);
            int status = 0;
            ASSERT_EQ(::waitpid(child, &status, 0), child);
            ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
            ASSERT_EQ(WEXITSTATUS(status), 0) << "no limit could be set";
            if (smallDisk) {
                EXPECT_NE(error.find("the temporary folder " + m_priv + "/ is full.  Unpacking needs up to "),
                          std::string::npos)
                    << error;
                EXPECT_NE(error.find(" MB there, and 64 KB are free."), std::string::npos) << error;
            } else {
                EXPECT_NE(error.find("beyond 4000 bytes"), std::string::npos) << error;
                EXPECT_NE(error.find("ulimit -f"), std::string::npos) << error;
                EXPECT_NE(error.find("folder " + m_priv + "/"), std::string::npos) << error;
            }
            EXPECT_EQ(error.find("damaged"), std::string::npos) << error;
            EXPECT_EQ(error.find("qel"), std::string::npos) << error;
            EXPECT_TRUE(m_tmp.qelFiles().empty());
        }
    }
    // A used-up quota is named too, with the need rounded up: 1 MB of archive
    // and two blocks of at most 615,399 bytes.
    const std::string quota = UnpackFolderErrorText(EDQUOT, true, m_priv + "/", 1u << 20, 2);
    EXPECT_NE(quota.find("your disk quota for the temporary folder " + m_priv +
                         "/ is used up.  Unpacking needs up "
                         "to 3 MB there."),
              std::string::npos)
        << quota;
}

TEST_F(StartupTest, CopyPayloadCopiesExactRangesInChunks) {
    const std::string src = m_root + "/src";
    const std::string data = pattern(3000, 11);
    writeFile(src, data);
    const int fd = ::open(src.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    for (std::uint64_t len : {0u, 1u, 1023u, 1024u, 1025u, 2048u, 2993u}) {
        const std::string dest = m_root + "/dest" + std::to_string(len);
        EXPECT_TRUE(ZELT::CopyPayloadToFile(fd, 7, dest, len)) << len;
        EXPECT_EQ(readFile(dest), data.substr(7, len)) << len;
    }
    // Overwrites what was there.
    const std::string dest = m_root + "/dest-again";
    writeFile(dest, std::string(5000, 'z'));
    EXPECT_TRUE(ZELT::CopyPayloadToFile(fd, 0, dest, 10));
    EXPECT_EQ(readFile(dest), data.substr(0, 10));
    ::close(fd);
}

TEST_F(StartupTest, CopyPayloadFailsOnShortSourceOrFailedWrite) {
    const std::string src = m_root + "/src";
    writeFile(src, pattern(2000, 5));
    const int fd = ::open(src.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    // The source ends before the range: failure, and the file it made is gone.
    const std::string fresh = m_root + "/fresh";
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 1500, fresh, 1024));
    EXPECT_FALSE(fileExists(fresh));
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 5000, fresh, 1));
    EXPECT_FALSE(fileExists(fresh));
    // A file the caller made stays for the caller to delete.
    const std::string owned = m_root + "/owned";
    writeFile(owned, "");
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 1999, owned, 2));
    EXPECT_TRUE(fileExists(owned));
    // No source, no folder for the destination, a full device.
    EXPECT_FALSE(ZELT::CopyPayloadToFile(-1, 0, fresh, 1));
    EXPECT_FALSE(fileExists(fresh));
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 0, m_root + "/no/such/folder", 1));
    // A link at the name is refused, not followed to a file the copy would cut.
    const std::string target = m_root + "/target", link = m_root + "/link";
    writeFile(target, std::string(100, 't'));
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    int linkError = 0;
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 0, link, 10, &linkError));
    EXPECT_EQ(linkError, ELOOP);
    EXPECT_EQ(readFile(target), std::string(100, 't'));
    // So is a second name of another file (a pipe is refused alike: PlainFileStream).
    const std::string hard = m_root + "/hard";
    ASSERT_EQ(::link(target.c_str(), hard.c_str()), 0);
    EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 0, hard, 10, &linkError));
    EXPECT_EQ(linkError, EMLINK);
    EXPECT_EQ(readFile(target), std::string(100, 't'));
    if (fileExists("/dev/full")) {
        int error = 0;
        EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 0, "/dev/full", 1500, &error));
        EXPECT_EQ(error, ENXIO) << "a device is no file of ours";
        EXPECT_FALSE(ZELT::CopyPayloadToFile(fd, 1999, owned, 2, &error));
        EXPECT_EQ(error, 0) << "the source is at fault";
    }
    ::close(fd);
}

TEST(StartupPaths, FolderOf) {
    EXPECT_EQ(ZELT::FolderOf("/opt/brenthaul/brenthaul"), "/opt/brenthaul/");
    EXPECT_EQ(ZELT::FolderOf("/brenthaul"), "/");
    EXPECT_EQ(ZELT::FolderOf("brenthaul"), "");
}
