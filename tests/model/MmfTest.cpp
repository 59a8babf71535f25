#include <gtest/gtest.h>

#include "model/MMF.h"
#include "model/VersionMMF.h"
#include "support/ScopedTempDir.h"
#include "support/TestFiles.h"

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace {

const char* kErrTail = "\r\nPlease check that this file is not being used by another application.";

std::vector<char> pattern(std::size_t n, unsigned seed) {
    std::vector<char> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<char>((i * 131 + seed * 7 + (i >> 9)) & 0xFF);
    return v;
}

using tsupport::fileExists;
using tsupport::fileLength;
using tsupport::readFile;
using tsupport::writeFile;

bool allZero(const char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != 0) return false;
    return true;
}

struct MoveOnGrowthScope {
    explicit MoveOnGrowthScope(bool on) : old(WMMF::MoveOnGrowth()) { WMMF::SetMoveOnGrowth(on); }
    ~MoveOnGrowthScope() { WMMF::SetMoveOnGrowth(old); }
    bool old;
};

} // namespace

TEST(MmfStore, InMemoryLimitDecidesFileAtCreation) {
    ScopedTempDir tmp;
    {
        WMMF below("", 65535, 0, true);
        EXPECT_TRUE(below.IsInMemory());
        EXPECT_EQ(below.GetSize(), 65535);
        EXPECT_EQ(below.GetHandle(), -1);
        EXPECT_TRUE(below.GetFileName().empty());
        EXPECT_TRUE(tmp.qelFiles().empty());
        EXPECT_TRUE(allZero(below.GetPointer(0), 65535));
    }
    std::string name;
    {
        WMMF at("", 65536, 0, true);
        EXPECT_FALSE(at.IsInMemory());
        EXPECT_TRUE(at.IsTemporary());
        EXPECT_EQ(at.GetSize(), 65536);
        EXPECT_GE(at.GetHandle(), 0);
        name = at.GetFileName();
        ASSERT_EQ(tmp.qelFiles().size(), 1u);
        EXPECT_EQ(name, tmp.privateDir() + "/" + tmp.qelFiles()[0]);
        EXPECT_TRUE(allZero(at.GetPointer(0), 65536));
    }
    EXPECT_FALSE(fileExists(name));
    EXPECT_TRUE(tmp.qelFiles().empty());
}

TEST(MmfStore, SpillsAtFirstGrowthReachingLimitKeepsContentsAndDeletesFileWhenFreed) {
    ScopedTempDir tmp;
    std::string name;
    {
        WMMF s("", 1024, 16384, true);
        auto data = pattern(49151, 1);
        s.Write(data.data(), 49151); // needed 49,151 + 16,384 < 65,536
        EXPECT_TRUE(s.IsInMemory());
        EXPECT_EQ(s.GetCapacity(), 49151 + 16384);
        EXPECT_TRUE(tmp.qelFiles().empty());
        // Fills the capacity: no growth, still in memory.
        std::vector<char> more(16384, 'x');
        s.Write(more.data(), 16384);
        EXPECT_TRUE(s.IsInMemory());
        EXPECT_EQ(s.GetSize(), 65535);
        // One more byte: needed 65,536 -> mapped temp file.
        s.Write("y", 1);
        EXPECT_FALSE(s.IsInMemory());
        ASSERT_EQ(tmp.qelFiles().size(), 1u);
        name = s.GetFileName();
        EXPECT_EQ(0, std::memcmp(s.GetPointer(0), data.data(), data.size()));
        EXPECT_EQ(s.GetPointer(65534)[0], 'x');
        EXPECT_EQ(s.GetPointer(65535)[0], 'y');
        // Later growths keep everything.
        auto big = pattern(3 << 20, 2);
        std::int64_t at = s.Write(big.data(), static_cast<std::int64_t>(big.size()));
        EXPECT_EQ(at, 65536);
        EXPECT_EQ(s.GetSize(), 65536 + (3 << 20));
        EXPECT_EQ(s.GetCapacity(), s.GetSize() + 16384);
        EXPECT_EQ(0, std::memcmp(s.GetPointer(0), data.data(), data.size()));
        EXPECT_EQ(0, std::memcmp(s.GetPointer(65536), big.data(), big.size()));
        EXPECT_EQ(s.GetFileName(), name);
        ASSERT_EQ(tmp.qelFiles().size(), 1u);
    }
    EXPECT_FALSE(fileExists(name));
    EXPECT_TRUE(tmp.qelFiles().empty());
}

TEST(MmfStore, GrowthStepsAreLinearButEveryGrowthFromSmallStepsKeepsData) {
    ScopedTempDir tmp;
    WMMF s("", 0, 0, true);
    // Growth step 0: every write grows the reported capacity exactly.
    std::vector<char> expect;
    for (int i = 0; i < 200000; ++i) {
        char c = static_cast<char>(i * 7);
        s.Write(&c, 1);
        expect.push_back(c);
        ASSERT_EQ(s.GetCapacity(), i + 1);
    }
    EXPECT_FALSE(s.IsInMemory());
    EXPECT_EQ(0, std::memcmp(s.GetPointer(0), expect.data(), expect.size()));
}

TEST(MmfStore, ReadWriteSeekResults) {
    WMMF s("", 16, 64, true);
    EXPECT_EQ(s.Write("abc", 0), 0); // count 0 at position 0
    EXPECT_EQ(s.GetPosition(), 0);
    EXPECT_EQ(s.GetSize(), 16);
    EXPECT_EQ(s.Write("hello", 5), 0);
    EXPECT_EQ(s.Write("world", 5), 5);
    EXPECT_EQ(s.GetPosition(), 10);
    char buf[32] = {};
    EXPECT_EQ(s.Seek(0, 0), 0);
    EXPECT_EQ(s.Read(buf, 100), 16); // clipped to the size
    EXPECT_EQ(std::string(buf, 10), "helloworld");
    EXPECT_EQ(s.Read(buf, 1), 0); // at the size
    EXPECT_EQ(s.Seek(-3, 1), 13);
    EXPECT_EQ(s.Seek(4, 2), 20);
    EXPECT_EQ(s.Seek(99, 7), 20); // unknown origin leaves the position
    EXPECT_EQ(s.Read(buf, 1), 0); // past the size
    EXPECT_EQ(s.Seek(-5, 0), -5); // not limited
    EXPECT_EQ(s.Read(buf, 4), 0);
    EXPECT_EQ(s.Write("zz", 2), -5); // negative position: nothing written
    EXPECT_EQ(s.GetSize(), 16);
    s.Seek(0, 0);
    EXPECT_EQ(s.Write("q", -1), 0);
    EXPECT_EQ(s.GetPosition(), 0);
    EXPECT_EQ(s.Read(buf, -1), 0);
    // Buffer forms forward.
    s.SeekBuffer(2, 0);
    EXPECT_EQ(s.ReadBuffer(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "llo");
    EXPECT_EQ(s.WriteBuffer("!", 1), 5);
    EXPECT_EQ(s.GetPointer(5)[0], '!');
}

TEST(MmfStore, BytesExposedByGrowthReadAsZero) {
    ScopedTempDir tmp;
    for (bool move : {false, true}) {
        MoveOnGrowthScope scope(move);
        WMMF s("", 8, 100, true);
        s.Write("12345678", 8);
        // Gap in memory.
        s.Seek(5000, 0);
        s.Write("A", 1);
        EXPECT_TRUE(allZero(s.GetPointer(8), 5000 - 8));
        // Gap across the spill.
        s.Seek(300000, 0);
        s.Write("B", 1);
        EXPECT_FALSE(s.IsInMemory());
        EXPECT_TRUE(allZero(s.GetPointer(5001), 300000 - 5001));
        // Gap across a mapped growth.
        s.Seek(5000000, 0);
        s.Write("C", 1);
        EXPECT_TRUE(allZero(s.GetPointer(300001), 5000000 - 300001));
        EXPECT_EQ(std::string(s.GetPointer(0), 8), "12345678");
        EXPECT_EQ(s.GetPointer(5000)[0], 'A');
        EXPECT_EQ(s.GetPointer(300000)[0], 'B');
        EXPECT_EQ(s.GetPointer(5000000)[0], 'C');
        // Seek from the size past the end, then read nothing beyond it.
        char c = 1;
        s.Seek(0, 2);
        EXPECT_EQ(s.Read(&c, 1), 0);
    }
}

TEST(MmfStore, MoveOnGrowthChangesAddressOnEveryGrowth) {
    ScopedTempDir tmp;
    MoveOnGrowthScope scope(true);
    WMMF s("", 16, 16, true);
    auto data = pattern(400000, 3);
    const char* last = s.GetPointer(0);
    int growths = 0;
    for (std::size_t off = 0; off < data.size(); off += 1000) {
        std::int32_t cap = s.GetCapacity();
        s.Write(data.data() + off, 1000);
        if (s.GetCapacity() != cap) {
            ++growths;
            EXPECT_NE(s.GetPointer(0), last) << "growth " << growths << " kept the address";
            last = s.GetPointer(0);
        } else {
            EXPECT_EQ(s.GetPointer(0), last);
        }
    }
    EXPECT_GT(growths, 300);
    EXPECT_FALSE(s.IsInMemory());
    EXPECT_EQ(0, std::memcmp(s.GetPointer(0), data.data(), data.size()));
}

TEST(MmfStore, OffsetsOf2GiBOrMoreAreRefusedWithTheFileError) {
    ScopedTempDir tmp;
    WMMF s("", 100, 0, true);
    s.Write("abc", 3);
    // Position plus count past the largest signed 32-bit size.
    s.Seek(0x7FFFFFFF - 2, 0);
    try {
        s.Write("0123456789", 10);
        FAIL() << "no error";
    } catch (const EFOpenError& e) {
        std::string msg = e.what();
        EXPECT_EQ(msg.rfind("Error using the file ", 0), 0u);
        EXPECT_NE(msg.find(kErrTail), std::string::npos);
    }
    // Positions that would overflow 64 bits as well.
    s.Seek(INT64_MAX, 0);
    EXPECT_THROW(s.Write("x", 1), EFOpenError);
    s.Seek(INT64_MAX, 0);
    EXPECT_EQ(s.Seek(INT64_MAX, 1), INT64_MAX); // saturates instead of wrapping
    // Still usable afterwards.
    EXPECT_TRUE(s.IsInMemory());
    EXPECT_EQ(s.GetSize(), 100);
    s.Seek(0, 0);
    char buf[3];
    EXPECT_EQ(s.Read(buf, 3), 3);
    EXPECT_EQ(std::string(buf, 3), "abc");
}

TEST(MmfStore, ExistingFileReadOnlyMapsPrivatelyAndRefusesWrites) {
    ScopedTempDir tmp;
    std::string path = tmp.dir() + "/plain.ged";
    writeFile(path, "0 HEAD\r\n1 CHAR ANSEL\r\n0 TRLR\r\n");
    {
        WMMF r(path, fmOpenRead | fmShareDenyNone, 0);
        EXPECT_FALSE(r.IsInMemory());
        EXPECT_FALSE(r.IsTemporary());
        EXPECT_TRUE(r.IsReadOnly());
        EXPECT_GE(r.GetHandle(), 0);
        EXPECT_EQ(r.GetSize(), 30);
        EXPECT_EQ(std::string(r.GetPointer(0), 6), "0 HEAD");
        r.Seek(2, 0);
        EXPECT_EQ(r.Write("XXXX", 4), 2);
        EXPECT_EQ(r.GetPosition(), 2);
        EXPECT_EQ(r.GetSize(), 30);
        r.Seek(30, 0);
        EXPECT_EQ(r.Write("more", 4), 30);
        EXPECT_EQ(r.GetSize(), 30);
        char buf[4];
        r.Seek(2, 0);
        EXPECT_EQ(r.Read(buf, 4), 4);
        EXPECT_EQ(std::string(buf, 4), "HEAD");
        // A second reader at the same time (shared for reading and writing).
        WMMF r2(path, fmOpenRead | fmShareDenyNone, 0);
        EXPECT_EQ(r2.GetSize(), 30);
        r.Flush(); // nothing to flush, no error
    }
    EXPECT_EQ(readFile(path), "0 HEAD\r\n1 CHAR ANSEL\r\n0 TRLR\r\n");
}

TEST(MmfStore, FilesThatCannotBeUsedGiveTheErrorText) {
    ScopedTempDir tmp;
    std::string missing = tmp.dir() + "/missing.ged";
    try {
        WMMF r(missing, fmOpenRead | fmShareDenyNone, 0);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()), "Error using the file " + missing + kErrTail);
    }
    // A file of 2 GiB cannot be addressed with signed 32-bit sizes.
    std::string huge = tmp.dir() + "/huge.ged";
    int fd = open(huge.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, 0x80000000LL), 0); // sparse
    close(fd);
    EXPECT_THROW(WMMF(huge, fmOpenRead | fmShareDenyNone, 0), EFOpenError);
    unlink(huge.c_str());
    // A folder is no file.
    EXPECT_THROW(WMMF(tmp.dir(), fmOpenRead | fmShareDenyNone, 0), EFOpenError);
    // A named store whose folder does not exist cannot be created.
    std::string nowhere = tmp.dir() + "/no/such/folder/x.tmp";
    EXPECT_THROW(WMMF(nowhere, 70000, 0, false), EFCreateError);
    EXPECT_THROW(WMMF(nowhere, 70000, 0, false), EFileStreamError);
}

TEST(MmfStore, ExistingFileReadWriteGrowsAndKeepsItsData) {
    ScopedTempDir tmp;
    std::string path = tmp.dir() + "/rw.dat";
    writeFile(path, "abcdef");
    {
        WMMF w(path, fmOpenReadWrite | fmShareExclusive, 10);
        EXPECT_FALSE(w.IsReadOnly());
        // Exclusive: a second exclusive open is refused.
        EXPECT_THROW(WMMF(path, fmOpenReadWrite | fmShareExclusive, 10), EFOpenError);
        w.Seek(0, 2);
        EXPECT_EQ(w.Write("ghij", 4), 6);
        EXPECT_EQ(w.GetSize(), 10);
        EXPECT_EQ(w.GetCapacity(), 20);
        w.Seek(0, 0);
        w.Write("A", 1);
        w.Flush();
    }
    // The file keeps the capacity the store reported (data, then zeros).
    std::string got = readFile(path);
    ASSERT_EQ(got.size(), 20u);
    EXPECT_EQ(got.substr(0, 10), "Abcdefghij");
    EXPECT_TRUE(allZero(got.data() + 10, 10));
}

TEST(MmfStore, NamedStoresWriteTheirFile) {
    ScopedTempDir tmp;
    std::string small = tmp.dir() + "/small.dat";
    {
        WMMF s(small, 8, 8, true);
        EXPECT_TRUE(s.IsInMemory());
        EXPECT_FALSE(s.IsTemporary());
        s.Write("0123456789", 10); // grows to 18
        EXPECT_FALSE(fileExists(small));
    }
    std::string got = readFile(small);
    ASSERT_EQ(got.size(), 18u);
    EXPECT_EQ(got.substr(0, 10), "0123456789");

    std::string big = tmp.dir() + "/big.dat";
    {
        WMMF s(big, 100, 0, false);
        EXPECT_FALSE(s.IsInMemory());
        EXPECT_EQ(fileLength(big) >= 100, true);
        s.Write("xyz", 3);
    }
    got = readFile(big);
    ASSERT_EQ(got.size(), 100u);
    EXPECT_EQ(got.substr(0, 3), "xyz");
    EXPECT_TRUE(tmp.qelFiles().empty());
}

// The child process exits with 0 when the store reported the file error and
// left no temp file; SIGBUS or any other death fails the test.
static int runWithFileSizeLimit(rlim_t limit, std::int64_t writeUpTo, bool expectInMemoryAfter,
                                const std::string& dir) {
    pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit rl{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &rl) != 0) _exit(10);
        int rc = 1;
        try {
            WMMF s("", 0, 16384, true);
            std::vector<char> chunk(4096, 'k');
            bool failed = false;
            std::int64_t written = 0;
            try {
                while (written < writeUpTo) {
                    s.Write(chunk.data(), 4096);
                    written += 4096;
                    // Touch every byte written: a sparse mapping would die here.
                    if (s.GetPointer(written - 1)[0] != 'k') _exit(11);
                }
            } catch (const EFOpenError& e) {
                std::string msg = e.what();
                failed = msg.rfind("Error using the file ", 0) == 0 &&
                         msg.find("Please check that this file") != std::string::npos;
                if (!failed) _exit(12);
            }
            if (!failed) _exit(13);
            if (s.IsInMemory() != expectInMemoryAfter) _exit(14);
            // Whatever was written before the error is still there.
            for (std::int64_t i = 0; i < written; i += 511)
                if (s.GetPointer(i)[0] != 'k') _exit(15);
            rc = 0;
        } catch (...) {
            _exit(16);
        }
        // The store is freed: its file must be gone.
        DIR* dp = opendir(dir.c_str());
        if (dp) {
            while (dirent* e = readdir(dp))
                if (std::strncmp(e->d_name, "qel", 3) == 0) rc = 17;
            closedir(dp);
        }
        _exit(rc);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) return 100 + WTERMSIG(status);
    return WEXITSTATUS(status);
}

TEST(MmfStore, FullFileSystemGivesTheErrorNotSigbus) {
    ScopedTempDir tmp;
    // Growth of a mapped store beyond the limit.
    EXPECT_EQ(runWithFileSizeLimit(1 << 20, 8 << 20, false, tmp.dir()), 0);
    // The spill itself cannot get its file: the store stays in memory, whole.
    EXPECT_EQ(runWithFileSizeLimit(16 << 10, 1 << 20, true, tmp.dir()), 0);
    EXPECT_TRUE(tmp.qelFiles().empty());
}

TEST(MmfStore, FullTmpfsGivesTheErrorNotSigbus) {
    ScopedTempDir tmp;
    std::string mnt = tmp.dir() + "/small";
    ASSERT_EQ(mkdir(mnt.c_str(), 0700), 0);
    pid_t pid = fork();
    if (pid == 0) {
        // A private 256 KB tmpfs: a sparse file there would die of SIGBUS
        // when a page is first touched.
        if (unshare(CLONE_NEWNS) != 0 && unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) _exit(20);
        mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
        if (mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=256k") != 0) _exit(20);
        setenv("TMPDIR", mnt.c_str(), 1);
        bool failed = false;
        try {
            WMMF s("", 0, 16384, true);
            std::vector<char> chunk(4096, 'k');
            try {
                for (int i = 0; i < 1024; ++i) {
                    s.Write(chunk.data(), 4096);
                    char* p = s.GetPointer(0);
                    for (std::int32_t off = 0; off < s.GetCapacity(); off += 4096) p[off] = p[off];
                }
            } catch (const EFOpenError& e) {
                failed = std::string(e.what()).rfind("Error using the file ", 0) == 0;
            }
        } catch (...) {
            _exit(16);
        }
        _exit(failed ? 0 : 13);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_FALSE(WIFSIGNALED(status)) << "died of signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == 20) GTEST_SKIP() << "no private tmpfs can be mounted here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(MmfVersion, HeaderAndAppends) {
    ScopedTempDir tmp;
    WVersionMMF v("", 1024, 16384);
    EXPECT_TRUE(v.IsInMemory());
    EXPECT_EQ(v.GetSize(), 1024);
    EXPECT_EQ(v.GetDataEnd(), 8u);
    EXPECT_EQ(WVersionMMF::HeaderSize(), 8);
    const unsigned char* h = reinterpret_cast<const unsigned char*>(v.GetPointer(0));
    EXPECT_EQ(h[0], 1);
    EXPECT_EQ(h[1] | h[2] | h[3], 0);
    EXPECT_EQ(h[4], 8);

    EXPECT_EQ(v.AppendString(""), 8);
    EXPECT_EQ(v.GetDataEnd(), 8u);
    EXPECT_EQ(v.AppendString("abc"), 8);
    EXPECT_EQ(v.Append("de", 2), 11);
    EXPECT_EQ(v.GetDataEnd(), 13u);
    EXPECT_EQ(std::string(v.GetPointer(8), 5), "abcde");

    // Writing inside the data leaves the data end; beyond raises it.
    v.Seek(9, 0);
    EXPECT_EQ(v.WriteBuffer("X", 1), 9);
    EXPECT_EQ(v.GetDataEnd(), 13u);
    v.Seek(20, 0);
    v.WriteBuffer("Y", 1);
    EXPECT_EQ(v.GetDataEnd(), 21u);
    // A plain Write does not touch the data end.
    v.Seek(30, 0);
    v.Write("Z", 1);
    EXPECT_EQ(v.GetDataEnd(), 21u);

    // Zeros in 64 KB pieces, across the spill.
    v.Seek(21, 0);
    std::int64_t at = v.AppendZeros(200000);
    EXPECT_EQ(at, 21);
    EXPECT_EQ(v.GetDataEnd(), 200021u);
    EXPECT_FALSE(v.IsInMemory());
    EXPECT_TRUE(allZero(v.GetPointer(21), 200000)); // the Z at 30 was overwritten
    EXPECT_EQ(std::string(v.GetPointer(8), 5), "aXcde");

    v.ResetHeader();
    EXPECT_EQ(v.GetDataEnd(), 8u);
    EXPECT_EQ(v.AppendString("new"), 8);
}

TEST(MmfVersion, LargeInitialSizeStartsMapped) {
    ScopedTempDir tmp;
    {
        WVersionMMF v("", 100000, 16384);
        EXPECT_FALSE(v.IsInMemory());
        EXPECT_EQ(v.GetSize(), 100000);
        EXPECT_EQ(v.GetDataEnd(), 8u);
        EXPECT_EQ(tmp.qelFiles().size(), 1u);
    }
    EXPECT_TRUE(tmp.qelFiles().empty());
}
