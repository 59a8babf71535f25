#include "platform/TempFiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/CodePage.h"

namespace plat {
namespace {

std::mutex g_mutex;
std::map<std::string, int>& lockFds() {
    static std::map<std::string, int> m;
    return m;
}

std::string withSlash(std::string s) {
    if (s.empty() || s.back() != '/') s.push_back('/');
    return s;
}

// Makes sure dir exists as a private folder of ours.
void ensurePrivateDir(const std::string& d) {
    struct stat st {};
    if (lstat(d.c_str(), &st) != 0) {
        if (errno != ENOENT) throw TempError("Cannot use the temporary folder " + d);
        if (mkdir(d.c_str(), 0700) != 0 && errno != EEXIST) throw TempError("Cannot create the temporary folder " + d);
        if (lstat(d.c_str(), &st) != 0) throw TempError("Cannot use the temporary folder " + d);
    }
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        throw TempError("The temporary folder " + d + " is not a plain folder");
    if (st.st_uid != geteuid()) throw TempError("The temporary folder " + d + " belongs to another user");
    // Others must not be able to plant or read files in it.
    if ((st.st_mode & 077) != 0) throw TempError("The temporary folder " + d + " is open to other users");
}

// Six name characters from the kernel's random source.
std::string randomLetters() {
    static const char abc[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    unsigned char r[6];
    if (getrandom(r, sizeof r, 0) != ssize_t(sizeof r)) {
        static std::atomic<unsigned> counter{0};
        const unsigned v = unsigned(getpid()) * 2654435761u ^ ++counter ^ unsigned(clock());
        for (int i = 0; i < 6; ++i) r[i] = static_cast<unsigned char>(v >> (i * 5));
    }
    std::string s;
    for (unsigned char c : r) s.push_back(abc[c % 62]);
    return s;
}

// A fresh "qel*.tmp" file that is locked before its name appears, so another
// instance's clean-up can never see it unlocked.
int createLockedQel(const std::string& dir, std::string& name) {
    // An unnamed file first, linked in under a free name once locked.
    int fd = open(dir.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd >= 0) {
        flock(fd, LOCK_SH);
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int i = 0; i < 100; ++i) {
            name = dir + "qel" + randomLetters() + ".tmp";
            if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) return fd;
            if (errno != EEXIST) break;
        }
        close(fd);
    }
    // Without unnamed files: reserve a name the clean-up skips, lock it, then
    // give it its final name (a link never replaces an existing file).
    for (int i = 0; i < 100; ++i) {
        std::string reserve = dir + "qelXXXXXX.new";
        fd = createUniqueFile(reserve, 4);
        if (fd < 0) return -1;
        flock(fd, LOCK_SH);
        name = reserve.substr(0, reserve.size() - 4) + ".tmp";
        const int linked = link(reserve.c_str(), name.c_str());
        const int err = errno;
        unlink(reserve.c_str());
        if (linked == 0) return fd;
        close(fd);
        if (err != EEXIST) return -1;
    }
    return -1;
}

} // namespace

int createUniqueFile(std::string& templ, int suffixLen) {
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    const int fd = mkostemps(buf.data(), suffixLen, O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return -1;
    fchmod(fd, 0600);
    templ.assign(buf.data());
    return fd;
}

int openRegularFile(const std::string& path, int flags, bool oneName) {
    // Without O_NONBLOCK a pipe at the name would hold the open until someone used its other end;
    // without O_NOCTTY a terminal there would become ours before it is refused.
    const int fd = open(path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
    if (fd < 0) return -1;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (!S_ISREG(st.st_mode))
        error = ENXIO;
    else if (oneName && st.st_nlink > 1)
        error = EMLINK; // written through, the other name's file would change
    else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        error = errno;
    if (error == 0) return fd;
    close(fd);
    errno = error;
    return -1;
}

int openTempForWriting(const std::string& path) { return openRegularFile(path, O_WRONLY | O_CREAT | O_NOFOLLOW, true); }

// The mode an ordinary new file gets: 0666 less the user's umask. The umask
// is read where the system shows it, not set and put back: another thread
// could create a file in between with the wrong mask.
unsigned newFileMode() {
    unsigned mask = 0;
    bool found = false;
    if (std::FILE* f = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (!found && std::fgets(line, sizeof line, f)) found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(f);
    }
    if (!found) {
        mask = ::umask(022);
        ::umask(mode_t(mask));
    }
    return 0666 & ~mask;
}

int createWorkingFile(const std::string& path, std::string& working) {
    const size_t slash = path.rfind('/');
    working = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".~XXXXXX.part";
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    const int fd = createUniqueFile(working, 5);
    if (fd >= 0) {
        // Made owner-only; it gets the group and permission bits of the file
        // it replaces (a list kept owner-only stays so; set-id bits are not
        // carried to a new owner), or is the user's own, as a new file is. A
        // file system without modes, or a group we are not in, refuses this,
        // which the save survives.
        if (replacing) (void)::fchown(fd, uid_t(-1), old.st_gid);
        (void)::fchmod(fd, replacing ? old.st_mode & 0777 : newFileMode());
        return fd;
    }
    const int err = errno;
    if (!replacing || (err != EACCES && err != EPERM)) {
        if (!replacing) working = path; // making path would fail alike
        errno = err;
        return -1;
    }
    // The folder takes no new name, but the file may be written: written in
    // place, it is lost if the save fails, as with any editor that must.
    working = path;
    const int own = openRegularFile(path, O_WRONLY);
    if (own < 0) return -1;
    if (::ftruncate(own, 0) != 0) {
        const int why = errno;
        ::close(own);
        errno = why;
        return -1;
    }
    return own;
}

bool commitWorkingFile(const std::string& working, const std::string& path) {
    return working == path || std::rename(working.c_str(), path.c_str()) == 0;
}

std::string workingFileError(const std::string& path, const std::string& working, int err) {
    const std::string why = std::strerror(err);
    if (working != path)
        return "Cannot create a working file in the folder of \"" + pathText(path) + "\" to replace it. " + why;
    struct stat st {};
    const bool there = ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    return std::string(there ? "Cannot write file \"" : "Cannot create file \"") + pathText(path) + "\". " + why;
}

std::string tempDir() {
    const char* env = std::getenv("TMPDIR");
    std::string base = env && *env ? env : "/tmp";
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    // $TMPDIR may be shared (mode 1777): our files always go into a folder of our own below it.
    struct stat st {};
    if (stat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        throw TempError("Cannot use the temporary folder " + base);
    const std::string d = withSlash(base) + "brenthaul-" + std::to_string(geteuid());
    ensurePrivateDir(d);
    return withSlash(d);
}

std::string createTempFile() {
    const std::string dir = tempDir();
    std::string name;
    const int fd = createLockedQel(dir, name);
    if (fd < 0) throw TempError("Cannot create a temporary file in the folder " + dir);
    std::lock_guard<std::mutex> lk(g_mutex);
    lockFds()[name] = fd;
    return name;
}

void releaseTempFile(const std::string& path) {
    std::lock_guard<std::mutex> lk(g_mutex);
    auto it = lockFds().find(path);
    if (it != lockFds().end()) {
        close(it->second);
        lockFds().erase(it);
    }
}

bool deleteTempFile(const std::string& path) {
    releaseTempFile(path);
    return unlink(path.c_str()) == 0;
}

bool isOwnTempFile(const std::string& path) {
    std::lock_guard<std::mutex> lk(g_mutex);
    return lockFds().count(path) != 0;
}

std::vector<std::string> deleteLeftoverTempFiles() {
    std::vector<std::string> deleted;
    std::string dir;
    try {
        dir = tempDir();
    } catch (const TempError&) {
        return deleted;
    }
    DIR* dp = opendir(dir.c_str());
    if (!dp) return deleted;
    while (dirent* e = readdir(dp)) {
        std::string name = e->d_name;
        if (name.size() < 7 || name.compare(0, 3, "qel") != 0 || name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        std::string full = dir + name;
        if (isOwnTempFile(full)) continue;
        int fd = open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() && flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (unlink(full.c_str()) == 0) deleted.push_back(full);
        }
        close(fd);
    }
    closedir(dp);
    return deleted;
}

std::string configDir() {
    std::string base;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg) {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::string(home && *home ? home : "/tmp") + "/.config";
    }
    base = withSlash(base);
    mkdir(base.c_str(), 0700);
    std::string d = base + "brenthaul";
    mkdir(d.c_str(), 0700);
    return withSlash(d);
}

std::string ownProgramPath() {
    char buf[PATH_MAX + 1];
    ssize_t n = readlink("/proc/self/exe", buf, PATH_MAX);
    if (n <= 0) return "/proc/self/exe";
    buf[n] = '\0';
    return std::string(buf);
}

} // namespace plat
