#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/TempFiles.h"
#include "support/ScopedTempDir.h"

using tsupport::fileExists;

namespace {

// From now on in this process, a flush to the disk fails as on a disk that
// reports an error.
bool failDiskFlushes() {
    sock_filter code[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 1, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fdatasync, 0, 1),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
    };
    const sock_fprog program = {sizeof code / sizeof code[0], code};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

} // namespace

TEST(TempFiles, CreatesPrivateQelFileAndDeletesIt) {
    const std::string name = plat::createTempFile();
    ASSERT_TRUE(fileExists(name));
    const std::string base = name.substr(name.rfind('/') + 1);
    EXPECT_EQ(base.substr(0, 3), "qel");
    EXPECT_EQ(base.substr(base.size() - 4), ".tmp");
    struct stat st {};
    ASSERT_EQ(::stat(name.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_TRUE(plat::deleteTempFile(name));
    EXPECT_FALSE(fileExists(name));
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
    EXPECT_TRUE(fileExists(live));
    EXPECT_TRUE(fileExists(mine));
    EXPECT_FALSE(fileExists(dead));
    EXPECT_NE(std::find(deleted.begin(), deleted.end(), dead), deleted.end());

    (void)!write(toChild[1], "x", 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_FALSE(fileExists(live));
    plat::deleteTempFile(mine);
}

TEST(TempFiles, SharedTmpdirGetsAPrivateFolderOfOurOwn) {
    ScopedTempDir tmp;
    ASSERT_EQ(::chmod(tmp.dir().c_str(), 01777), 0); // like /tmp
    const std::string dir = plat::tempDir();
    EXPECT_EQ(dir, tmp.privateDir() + "/");
    struct stat st {};
    ASSERT_EQ(::lstat(tmp.privateDir().c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    EXPECT_EQ(st.st_uid, ::geteuid());
    const std::string name = plat::createTempFile();
    EXPECT_EQ(name.rfind(dir, 0), 0u);
    plat::deleteTempFile(name);

    // A private folder others may write, or a link in its place, is refused by name.
    ASSERT_EQ(::chmod(tmp.privateDir().c_str(), 0777), 0);
    try {
        plat::tempDir();
        ADD_FAILURE() << "a folder open to others was used";
    } catch (const plat::TempError& e) {
        EXPECT_NE(std::string(e.what()).find(tmp.privateDir()), std::string::npos) << e.what();
    }
    ASSERT_EQ(::rmdir(tmp.privateDir().c_str()), 0);
    ASSERT_EQ(::symlink(tmp.dir().c_str(), tmp.privateDir().c_str()), 0);
    EXPECT_THROW(plat::tempDir(), plat::TempError);
}

TEST(TempFiles, FilesAreLockedFromTheStartAndNotInherited) {
    ScopedTempDir tmp;
    // Another instance cleaning up all the time must never catch a new file unlocked.
    pid_t cleaner = fork();
    ASSERT_GE(cleaner, 0);
    if (cleaner == 0) {
        for (;;) plat::deleteLeftoverTempFiles();
    }
    int lost = 0;
    for (int i = 0; i < 3000; ++i) {
        const std::string n = plat::createTempFile();
        if (!fileExists(n)) ++lost;
        plat::deleteTempFile(n);
    }
    kill(cleaner, SIGKILL);
    waitpid(cleaner, nullptr, 0);
    EXPECT_EQ(lost, 0);

    // A mail client or browser started later must not inherit the handle.
    const std::string name = plat::createTempFile();
    struct stat file {};
    ASSERT_EQ(::stat(name.c_str(), &file), 0);
    int found = 0;
    for (const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) {
        const int fd = std::stoi(e.path().filename().string());
        struct stat st {};
        if (::fstat(fd, &st) != 0 || st.st_dev != file.st_dev || st.st_ino != file.st_ino) continue;
        ++found;
        EXPECT_NE(fcntl(fd, F_GETFD) & FD_CLOEXEC, 0);
    }
    EXPECT_EQ(found, 1);
    plat::deleteTempFile(name);
}

TEST(TempFiles, WorkingFileTakesTheReplacedFilesModesOrWritesItInPlace) {
    tsupport::TempDir tmp("brenthaul-working");
    const std::string keep = tmp.file("keep.csv");
    tsupport::writeFile(keep, "old");
    ASSERT_EQ(::chmod(keep.c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(keep.c_str(), uid_t(-1), 4321), 0);
    }
    {
        plat::SaveFile save(keep);
        ASSERT_TRUE(save.open());
        EXPECT_FALSE(save.writtenInPlace());
        EXPECT_TRUE(save.commit());
    }
    struct stat st {};
    ASSERT_EQ(::stat(keep.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u); // a list kept owner-only stays so
    if (root) {
        EXPECT_EQ(st.st_gid, 4321u);
    }
    EXPECT_EQ(tsupport::readFile(keep), "");

    // As a user other than root sees them: a folder that takes no new file
    // (tmp), where a file that may be written is written in place, but never a
    // link or another name of some other file; and a folder that does (open).
    tsupport::writeFile(keep, "old");
    ASSERT_EQ(::chmod(keep.c_str(), 0666), 0);
    const std::string locked = tmp.file("locked.csv");
    tsupport::writeFile(locked, "locked");
    ASSERT_EQ(::chmod(locked.c_str(), 0644), 0);
    const std::string open = tmp.file("open"), victim = open + "/private.csv";
    ASSERT_EQ(::mkdir(open.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(open.c_str(), 0777), 0);
    tsupport::writeFile(victim, "private");
    ASSERT_EQ(::chmod(victim.c_str(), 0666), 0);
    ASSERT_EQ(::symlink(victim.c_str(), tmp.file("link.csv").c_str()), 0);
    ASSERT_EQ(::link(victim.c_str(), tmp.file("hard.csv").c_str()), 0);
    // In the open folder: the user's read-only file, one of root's, and one
    // of the user's in a group the user is not in.
    const std::string readOnly = open + "/read-only.csv", roots = open + "/roots.csv", grouped = open + "/group.csv";
    for (const std::string& f : {readOnly, roots, grouped}) tsupport::writeFile(f, "kept");
    ASSERT_EQ(::chmod(readOnly.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(grouped.c_str(), 0660), 0);
    if (root) {
        ASSERT_EQ(::chown(readOnly.c_str(), 65534, 65534), 0);
        ASSERT_EQ(::chown(grouped.c_str(), 65534, 4321), 0);
    }
    // Nothing but a regular file is replaced: a pipe, a socket, a folder, a device.
    const std::string pipe = open + "/pipe.csv", socket = open + "/socket.csv", folder = open + "/folder.csv",
                      device = open + "/null";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0666), 0);
    ASSERT_EQ(::mkdir(folder.c_str(), 0777), 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socket.c_str(), sizeof address.sun_path - 1);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    ::close(listener);
    const bool madeDevice = root && ::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    ASSERT_EQ(::chmod(tmp.path().c_str(), 0555), 0);
    const std::string out = tsupport::asOrdinaryUser([&] {
        std::string out;
        {
            plat::SaveFile save(keep);
            const bool opened = save.open();
            save.out() << "new";
            out += std::to_string(opened) + ":" + std::to_string(save.writtenInPlace()) + ":" +
                   std::to_string(save.commit()) + "\n";
        }
        std::vector<std::string> refused = {
            locked, tmp.file("new.csv"), tmp.file("link.csv"), tmp.file("hard.csv"), readOnly, roots, pipe, socket,
            folder};
        if (madeDevice) refused.push_back(device);
        for (const std::string& path : refused) {
            plat::SaveFile save(path);
            out += std::to_string(save.open() && save.commit()) + ":";
            out += save.error() + "\n";
        }
        {
            plat::SaveFile save(grouped);
            if (save.open()) save.out() << "new";
            out += std::to_string(save.commit()) + "\n";
        }
        {
            // A flush to the disk that fails is a failed save, in place or not.
            const bool failing = failDiskFlushes();
            for (const std::string& path : {keep, grouped}) {
                plat::SaveFile save(path);
                if (save.open()) save.out() << "lost";
                out += std::to_string(failing) + std::to_string(save.commit()) + ":";
                out += save.error() + "\n";
            }
        }
        {
            // A write that fails in place (past a file-size limit, as on a full disk) says what is left.
            struct rlimit lim {};
            ::getrlimit(RLIMIT_FSIZE, &lim);
            lim.rlim_cur = 1;
            std::signal(SIGXFSZ, SIG_IGN);
            plat::SaveFile save(keep);
            if (save.open() && ::setrlimit(RLIMIT_FSIZE, &lim) == 0) save.out() << "newer";
            out += std::to_string(save.commit()) + ":";
            out += save.error() + "\n";
        }
        return out;
    });
    ::chmod(tmp.path().c_str(), 0755);
    const std::string inPlace = "\" in its place, as its folder takes no new file: ";
    const std::string rootsLine = root ? "0:Cannot write file \"" + roots + "\". Permission denied\n" : "1:\n";
    std::string nodeLines;
    for (const std::string& node : {pipe, socket, folder, device})
        if (node != device || madeDevice)
            nodeLines += "0:Cannot write file \"" + node +
                         (node == folder ? "\": it is a folder.\n" : "\": it is not a regular file.\n");
    EXPECT_EQ(out, "1:1:1\n0:Cannot write file \"" + locked + "\". Permission denied\n0:Cannot create file \"" +
                       tmp.file("new.csv") + "\". Permission denied\n0:Cannot write file \"" + tmp.file("link.csv") +
                       inPlace + "it is a link to another file.\n0:Cannot write file \"" + tmp.file("hard.csv") +
                       inPlace + "it has another name (a hard link) too.\n0:Cannot write file \"" + readOnly +
                       "\". Permission denied\n" + rootsLine + nodeLines + "1\n10:Cannot write file \"" + keep +
                       "\". Input/output error. The file was left incomplete.\n10:Cannot write file \"" + grouped +
                       "\". Input/output error\n0:Cannot write file \"" + keep +
                       "\". File too large. The file was left incomplete.\n");
    EXPECT_EQ(tsupport::readFile(locked), "locked");
    EXPECT_EQ(tsupport::readFile(victim), "private");
    EXPECT_EQ(tsupport::readFile(readOnly), "kept");
    struct stat node {};
    EXPECT_TRUE(::lstat(pipe.c_str(), &node) == 0 && S_ISFIFO(node.st_mode));
    EXPECT_TRUE(::lstat(socket.c_str(), &node) == 0 && S_ISSOCK(node.st_mode));
    EXPECT_TRUE(!madeDevice || (::lstat(device.c_str(), &node) == 0 && S_ISCHR(node.st_mode)));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(tmp.path()), {}), 5); // nothing beside them
    // The group's bits were for a group the user is not in: they go with it.
    ASSERT_EQ(::stat(grouped.c_str(), &st), 0);
    EXPECT_EQ(tsupport::readFile(grouped), "new");
    EXPECT_EQ(st.st_mode & 0777, root ? 0600u : 0660u);
}
