#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "platform/TempFiles.h"

namespace {
bool exists(const std::string& p) {
    struct stat st{};
    return ::stat(p.c_str(), &st) == 0;
}
} // namespace

TEST(TempFiles, CreatesPrivateQelFileAndDeletesIt) {
    const std::string name = plat::createTempFile();
    ASSERT_TRUE(exists(name));
    const std::string base = name.substr(name.rfind('/') + 1);
    EXPECT_EQ(base.substr(0, 3), "qel");
    EXPECT_EQ(base.substr(base.size() - 4), ".tmp");
    struct stat st{};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(plat::deleteTempFile(name));
    EXPECT_FALSE(exists(name));
}

TEST(TempFiles, CleanUpSparesLiveFilesOfOtherProcesses) {
    // A child process makes a live temp file and waits; our clean-up must keep it.
    int toParent[2], toChild[2];
    ASSERT_EQ(pipe(toParent), 0);
    ASSERT_EQ(pipe(toChild), 0);
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        const std::string n = plat::createTempFile();
        (void)!write(toParent[1], n.c_str(), n.size() + 1);
        char c;
        (void)!read(toChild[0], &c, 1);
        plat::deleteTempFile(n);
        _exit(0);
    }
    char buf[4096] = {};
    ASSERT_GT(read(toParent[0], buf, sizeof buf), 0);
    const std::string live = buf;

    // A leftover nobody holds.
    const std::string dead = plat::createTempFile();
    plat::releaseTempFile(dead);
    // One of our own live files.
    const std::string mine = plat::createTempFile();

    const auto deleted = plat::deleteLeftoverTempFiles();
    EXPECT_TRUE(exists(live));
    EXPECT_TRUE(exists(mine));
    EXPECT_FALSE(exists(dead));
    EXPECT_NE(std::find(deleted.begin(), deleted.end(), dead), deleted.end());

    (void)!write(toChild[1], "x", 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_FALSE(exists(live));
    plat::deleteTempFile(mine);
}
