#include "TempFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

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
void ensurePrivateDir(const std::string& dir, bool create) {
    std::string d = dir;
    while (d.size() > 1 && d.back() == '/') d.pop_back();
    struct stat st{};
    if (lstat(d.c_str(), &st) != 0) {
        if (!create || errno != ENOENT) throw TempError("Cannot use the temporary folder " + d);
        if (mkdir(d.c_str(), 0700) != 0 && errno != EEXIST)
            throw TempError("Cannot create the temporary folder " + d);
        if (lstat(d.c_str(), &st) != 0) throw TempError("Cannot use the temporary folder " + d);
    }
    if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode))
        throw TempError("The temporary folder " + d + " is not a plain folder");
    if (st.st_uid != geteuid())
        throw TempError("The temporary folder " + d + " belongs to another user");
}

} // namespace

std::string tempDir() {
    const char* env = std::getenv("TMPDIR");
    if (env && *env) {
        std::string d = withSlash(env);
        // A user-chosen folder need not be private, but must be a real folder.
        struct stat st{};
        std::string bare = d.size() > 1 ? d.substr(0, d.size() - 1) : d;
        if (stat(bare.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            throw TempError("Cannot use the temporary folder " + bare);
        return d;
    }
    std::string d = "/tmp/brenthaul-" + std::to_string(geteuid());
    ensurePrivateDir(d, true);
    return withSlash(d);
}

std::string createTempFile() {
    std::string templ = tempDir() + "qelXXXXXX.tmp";
    std::vector<char> buf(templ.begin(), templ.end());
    buf.push_back('\0');
    int fd = mkstemps(buf.data(), 4);
    if (fd < 0) throw TempError("Cannot create a temporary file in " + tempDir());
    fchmod(fd, 0600);
    flock(fd, LOCK_SH);
    std::string name(buf.data());
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
        if (name.size() < 7 || name.compare(0, 3, "qel") != 0 ||
            name.compare(name.size() - 4, 4, ".tmp") != 0)
            continue;
        std::string full = dir + name;
        if (isOwnTempFile(full)) continue;
        int fd = open(full.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st{};
        if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == geteuid() &&
            flock(fd, LOCK_EX | LOCK_NB) == 0) {
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
