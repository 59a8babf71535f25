#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/FindFile.h"
#include "support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

class FindFileTree : public ::testing::Test {
protected:
    void SetUp() override {
        ::chmod(root.c_str(), 0755); // the unprivileged child below must enter it
        put("a.txt", std::string(50, 'a'));
        put("b.ged", std::string(200, 'b'));
        put("README", "plain");
        put("sub/c.ged", "0 HEAD");
        put("sub/deep/D.GED", "x");
        put("other/c.ged", "y");
        put(".hidden/e.ged", "z");
    }
    void TearDown() override {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec))
            if (!fs::is_symlink(it->symlink_status())) fs::permissions(it->path(), fs::perms::owner_all, ec);
    }
    void put(const std::string& rel, const std::string& text) {
        fs::create_directories(fs::path(root + "/" + rel).parent_path());
        tsupport::writeFile(root + "/" + rel, text);
    }
    // Relative paths of what a run reports, in report order.
    std::vector<std::string> run(TFindFile& f) {
        std::vector<std::string> out;
        f.OnFound = [&](TFindFile&, const std::string& folder, const TSearchRec& info) {
            out.push_back(fs::path(folder + "/" + info.Name).lexically_relative(root).string());
        };
        if (f.Location().empty()) f.SetLocation(root);
        f.Execute();
        while (f.Poll(20)) {
        }
        return out;
    }
    tsupport::TempDir dir_{"brenthaul-find"};
    std::string root = dir_.path().string();
};

// Runs a check as an unprivileged user, since root reads every file whatever its mode.
int asNobody(const std::function<int()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(99);
        _exit(check());
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

} // namespace

TEST(FindFile, SettersRejectFoldersAndWildcards) {
    TFindFile f;
    try {
        f.SetFilename("dir/x.ged");
        FAIL() << "no error";
    } catch (const EFindFileError& e) {
        EXPECT_STREQ(e.what(), "dir/x.ged\n\rInvalid filename specified");
    }
    EXPECT_THROW(f.SetLocation("/tmp/a*b"), EFindFileError);
    EXPECT_THROW(f.SetLocation("/tmp/a?"), EFindFileError);
    f.SetFilename("*.ged");
    EXPECT_EQ(f.Filename(), "*.ged");
}

TEST(FindFile, MaskMatchesNamesAndFolderParts) {
    EXPECT_TRUE(TFindFile::MaskMatches("/x/a.ged", "*.GED"));
    EXPECT_FALSE(TFindFile::MaskMatches("/x/a.ged.bak", "*.ged"));
    EXPECT_TRUE(TFindFile::MaskMatches("/x/ab.ged", "a?.ged"));
    EXPECT_FALSE(TFindFile::MaskMatches("/x/a.ged", "a?ged")); // "?" is no dot
    EXPECT_FALSE(TFindFile::MaskMatches("/x/README", "*.*"));
    EXPECT_TRUE(TFindFile::MaskMatches("/x/sub/a.txt", "sub/*.txt"));
    EXPECT_TRUE(TFindFile::MaskMatches("/x/sub/a.txt", "sub\\*.txt"));
    EXPECT_FALSE(TFindFile::MaskMatches("/x/other/a.txt", "sub/*.txt"));
    EXPECT_FALSE(TFindFile::MaskMatches("/x/sub/a.txt", "s*/*.txt")); // folder wildcards are plain characters
    EXPECT_TRUE(TFindFile::MaskMatches("/x/s*/a.txt", "s*/*.txt"));
    EXPECT_TRUE(TFindFile::MaskMatches("/x/sub/a.txt", "*:sub/a.txt"));
    EXPECT_FALSE(TFindFile::MaskMatches("/x/sub/a.txt", "C:sub/a.txt"));
    // The listing masks: "*" crosses dots and "*.*" is every name.
    EXPECT_TRUE(TFindFile::ListMatches("README", "*.*"));
    EXPECT_TRUE(TFindFile::ListMatches("a.b.ged", "*.GED"));
    EXPECT_TRUE(TFindFile::ListMatches("abc.ged", "a?c.*"));
    EXPECT_FALSE(TFindFile::ListMatches("ac.ged", "a?c.*"));
    EXPECT_FALSE(TFindFile::ListMatches("b.ged", "*.paf"));
}

TEST(FindFile, DateBoundsByDateTimeOrTimeOfDay) {
    const TDateTime v = EncodeDateTime(2001, 6, 15, 18, 0);
    EXPECT_TRUE(TFindFile::DateInRange(v, EncodeDateTime(2001, 6, 15), 0)); // date only: same day passes
    EXPECT_FALSE(TFindFile::DateInRange(v, EncodeDateTime(2001, 6, 15, 12, 0), 0));
    EXPECT_TRUE(TFindFile::DateInRange(v, 0, EncodeDateTime(2001, 6, 15, 12, 0)));
    EXPECT_FALSE(TFindFile::DateInRange(v, 0.5, 0)); // time of day alone: 18:00 is after noon
    EXPECT_TRUE(TFindFile::DateInRange(v, 0, 0.5));
    EXPECT_FALSE(TFindFile::DateInRange(v, EncodeDateTime(2001, 6, 20), EncodeDateTime(2001, 6, 16)));
    EXPECT_EQ(TFindFile::TrimFolder("/a/b/"), "/a/b");
    EXPECT_EQ(TFindFile::TrimFolder("/"), "/");
}

TEST_F(FindFileTree, MasksSubfoldersAndIncludeList) {
    TFindFile f;
    f.SetFilename("*.ged");
    std::vector<std::string> want{"b.ged", "other/c.ged", "sub/c.ged", "sub/deep/D.GED"};
    EXPECT_EQ(run(f), want); // dot folders are not walked

    TFindFile flat;
    flat.Subfolders = false;
    EXPECT_EQ(run(flat), (std::vector<std::string>{"README", "a.txt", "b.ged"}));

    TFindFile inc;
    inc.SetIncludeFiles({"sub/*.ged", "?.txt"});
    inc.SetExcludeFiles({"deep/*.ged"});
    EXPECT_EQ(run(inc), (std::vector<std::string>{"sub/c.ged", "a.txt"}));

    TFindFile folders; // folders show up when the attribute mask asks for them
    folders.Attributes = faDirectory;
    folders.ExactAttribute = true;
    folders.SetFilename("*");
    EXPECT_EQ(run(folders), (std::vector<std::string>{"other", "sub", "sub/deep"}));
}

TEST_F(FindFileTree, SizeAndModifiedBounds) {
    TFindFile f;
    f.SizeMin = 100;
    f.Attributes = 15 | faDirectory;
    f.Subfolders = false;
    EXPECT_EQ(run(f), (std::vector<std::string>{"b.ged", "other", "sub"})); // folders have no size test
    TFindFile g;
    g.SizeMax = 49;
    g.Subfolders = false;
    EXPECT_EQ(run(g), (std::vector<std::string>{"README"}));

    std::tm t{};
    t.tm_year = 101, t.tm_mon = 5, t.tm_mday = 15, t.tm_hour = 12, t.tm_isdst = -1;
    const timespec times[2] = {{std::mktime(&t), 0}, {std::mktime(&t), 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (root + "/a.txt").c_str(), times, 0), 0);
    TFindFile d;
    d.Subfolders = false;
    d.ModifiedBefore = EncodeDateTime(2001, 6, 15);
    d.ModifiedAfter = EncodeDateTime(2001, 6, 15);
    EXPECT_EQ(run(d), (std::vector<std::string>{"a.txt"}));
    TFindFile a;
    a.Subfolders = false;
    a.AccessedAfter = EncodeDateTime(2001, 6, 15, 12, 0, 1);
    EXPECT_EQ(run(a), (std::vector<std::string>{"README", "b.ged"}));
}

TEST_F(FindFileTree, ContainedTextAcrossBlocksAndCase) {
    std::string big(10000, '.');
    big.replace(4094, 5, "GEDCO"); // spans the first block boundary
    put("big.txt", big);
    std::string late(3 * 4096, '-');
    late.replace(2 * 4096 - 1, 2, "Zq");
    put("late.txt", late);
    TFindFile f;
    f.Subfolders = false;
    f.Containing = "gedco";
    EXPECT_EQ(run(f), (std::vector<std::string>{"big.txt"}));
    TFindFile exact;
    exact.Subfolders = false;
    exact.IgnoreCase = false;
    exact.Containing = "gedco";
    EXPECT_TRUE(run(exact).empty());
    exact.Containing = "Zq";
    EXPECT_EQ(run(exact), (std::vector<std::string>{"late.txt"}));
}

TEST_F(FindFileTree, ThreadedRunMatchesAndDeliversOnCallerThread) {
    TFindFile plain;
    const auto expected = run(plain);
    TFindFile f;
    f.Threaded = true;
    const auto self = std::this_thread::get_id();
    int wrongThread = 0, completes = 0, folders = 0;
    f.OnNewFolder = [&](TFindFile&, const std::string& folder, bool& skip) {
        wrongThread += std::this_thread::get_id() != self;
        ++folders;
        skip = folder == root + "/other";
    };
    f.OnComplete = [&](TFindFile&) { ++completes; };
    auto got = run(f);
    EXPECT_EQ(wrongThread, 0);
    EXPECT_EQ(completes, 1);
    EXPECT_EQ(folders, 4);
    EXPECT_EQ(got.size() + 1, expected.size()); // other/c.ged skipped
    EXPECT_EQ(std::count(got.begin(), got.end(), "other/c.ged"), 0);
    EXPECT_FALSE(f.Busy());
    EXPECT_EQ(f.Thread(), nullptr);
}

TEST_F(FindFileTree, CancelAndDestroyMidSearch) {
    for (int i = 0; i < 300; ++i) put("many/f" + std::to_string(i) + ".ged", "x");
    for (bool threaded : {false, true}) {
        TFindFile f;
        f.Threaded = threaded;
        f.SetFilename("*.ged");
        int found = 0, completes = 0;
        f.SetLocation(root);
        f.OnFound = [&](TFindFile& s, const std::string&, const TSearchRec&) {
            if (++found == 5) s.Abort();
        };
        f.OnComplete = [&](TFindFile&) { ++completes; };
        f.Execute();
        while (f.Poll(20)) {
        }
        EXPECT_EQ(found, 5) << threaded;
        EXPECT_EQ(completes, 1) << threaded;
    }
    auto f = std::make_unique<TFindFile>();
    f->Threaded = true;
    f->SetLocation(root);
    f->Execute();
    f->Poll(0);
    f.reset(); // terminates a thread waiting on its owner, without hanging
    SUCCEED();
}

TEST_F(FindFileTree, SymlinkLoopsAndUnreadableEntriesAreSkipped) {
    fs::create_directory_symlink(root, root + "/sub/loop");
    fs::create_symlink(root + "/b.ged", root + "/link.ged");
    fs::create_symlink(root + "/nowhere", root + "/broken.ged");
    TFindFile f;
    f.SetFilename("*.ged");
    EXPECT_EQ(run(f), (std::vector<std::string>{"b.ged", "link.ged", "other/c.ged", "sub/c.ged", "sub/deep/D.GED"}));

    ::chmod((root + "/sub").c_str(), 0);
    ::chmod((root + "/b.ged").c_str(), 0);
    const int rc = asNobody([&] {
        TFindFile g;
        g.SetFilename("*.ged");
        g.Containing = "b"; // b.ged cannot be opened, so it holds nothing
        const auto got = run(g);
        TFindFile h;
        h.SetFilename("*.ged");
        const auto names = run(h);
        return got.empty() && names == std::vector<std::string>{"b.ged", "link.ged", "other/c.ged"} ? 0 : 1;
    });
    EXPECT_EQ(rc, 0);
}
