#include "platform/TempFiles.h"

#include <algorithm>
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
#include <utility>

#include "platform/CodePage.h"
#include "platform/FileSizeLimit.h"

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

int createUniqueFile(std::string& templ, int suffixLen, int dir) {
    const std::size_t at = templ.size() - std::min(templ.size(), std::size_t(suffixLen) + 6);
    if (suffixLen < 0 || templ.compare(at, 6, "XXXXXX") != 0) {
        errno = EINVAL;
        return -1;
    }
    for (int i = 0; i < 100; ++i) {
        templ.replace(at, 6, randomLetters());
        const int fd = ::openat(dir, templ.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0) {
            fchmod(fd, 0600);
            return fd;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

int openRegularFile(const std::string& path, int flags, bool oneName, int dir) {
    // Without O_NONBLOCK a pipe at the name would hold the open until someone used its other end;
    // without O_NOCTTY a terminal there would become ours before it is refused.
    const int fd = ::openat(dir, path.c_str(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0600);
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

// The buffer of a save's stream: writes whole to the descriptor and keeps
// the errno of the first write that failed.
struct SaveFile::Output : std::streambuf {
    int fd = -1;
    int error = 0;
    std::vector<char> buffer; // only while a file is open: a save may keep many closed
    std::ostream stream{this};

    bool put(const char* p, std::size_t n) {
        while (n > 0 && error == 0) {
            const ssize_t done = ::write(fd, p, n);
            if (done < 0 && errno == EINTR) continue;
            if (done <= 0) {
                // A write that fails without saying why is still a failed write.
                error = done < 0 && errno != 0 ? errno : EIO;
            } else {
                p += done;
                n -= std::size_t(done);
            }
        }
        return error == 0;
    }
    bool drain() {
        const bool ok = put(pbase(), std::size_t(pptr() - pbase()));
        setp(buffer.data(), buffer.data() + buffer.size());
        return ok;
    }
    int_type overflow(int_type c) override {
        if (!drain()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            const char ch = traits_type::to_char_type(c);
            if (pptr() == epptr()) return put(&ch, 1) ? c : traits_type::eof();
            *pptr() = ch;
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n > epptr() - pptr()) {
            if (!drain()) return 0;
            if (n >= epptr() - pptr()) return put(s, std::size_t(n)) ? n : 0;
        }
        std::memcpy(pptr(), s, std::size_t(n));
        pbump(int(n));
        return n;
    }
    int sync() override { return drain() ? 0 : -1; }
    // A new descriptor to write to, nothing pending.
    void attach(int to) {
        fd = to;
        if (to < 0)
            std::vector<char>().swap(buffer);
        else if (buffer.empty())
            buffer.resize(std::size_t(1) << 16);
        setp(buffer.data(), buffer.data() + buffer.size());
        stream.clear();
    }
};

namespace {

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool folderTakesNewFiles(const std::string& path) {
    const std::string folder = folderOf(path);
    return ::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

} // namespace

SaveFile::SaveFile(std::string path, InPlace inPlace)
    : m_path(std::move(path)), m_allowInPlace(inPlace == InPlace::Allowed), m_out(std::make_unique<Output>()) {}

SaveFile::~SaveFile() {
    closeQuietly();
    if (m_made && !m_committed && openFolder()) ::unlinkat(m_dir, m_workingName.c_str(), 0);
    if (m_dir >= 0) ::close(m_dir);
}

bool SaveFile::fail(Step step, int err) {
    m_step = step;
    m_errno = err;
    return false;
}

void SaveFile::closeQuietly() {
    if (m_out->fd >= 0) ::close(m_out->fd);
    m_out->attach(-1);
}

// Opens path's folder: the first time noting which folder it is, later only
// while it is still that one, so a link on the way swapped meanwhile can send
// no step of the save to another folder.
bool SaveFile::openFolder() {
    if (m_dir >= 0) return true;
    const std::string folder = folderOf(m_path);
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    struct stat st {};
    int why = ::fstat(dir, &st) != 0 ? errno : 0;
    if (why == 0 && m_dirIno != 0 && (st.st_dev != m_dirDev || st.st_ino != m_dirIno)) why = ESTALE;
    if (why != 0) {
        ::close(dir);
        errno = why;
        return false;
    }
    m_dir = dir;
    m_dirDev = st.st_dev;
    m_dirIno = st.st_ino;
    return true;
}

bool SaveFile::open() {
    m_name = m_path.substr(folderOf(m_path).size());
    m_working = m_path; // until a working file is made
    if (!openFolder()) return fail(Step::Create, errno);
    struct stat old {};
    m_replacing = ::fstatat(m_dir, m_name.c_str(), &old, 0) == 0;
    // A pipe, a socket, a device or a folder there is not a file to replace:
    // renamed over, it would be gone, and /dev/null with it.
    if (m_replacing && !S_ISREG(old.st_mode)) return fail(Step::NotRegular, S_ISDIR(old.st_mode) ? EISDIR : ENXIO);
    // Renamed over, a file the user may not write would be replaced all the same.
    if (m_replacing && ::faccessat(m_dir, m_name.c_str(), W_OK, AT_EACCESS) != 0) return fail(Step::Refused, errno);
    m_mode = unsigned(old.st_mode & 0777);
    m_gid = unsigned(old.st_gid);
    m_workingName = ".~XXXXXX.part";
    int fd = createUniqueFile(m_workingName, 5, m_dir);
    if (fd < 0) {
        const int err = errno;
        if (!m_replacing) return fail(Step::Create, err);
        if ((err != EACCES && err != EPERM) || !m_allowInPlace) return fail(Step::Working, err);
        // The folder takes no new name, but the file may be written: written
        // in place, it is lost if the save fails, as with any editor that
        // must. Whoever owns the folder may have put a link or another name
        // of some other file there since it was checked.
        m_workingName = m_name;
        m_inPlace = true;
        fd = openRegularFile(m_name, O_WRONLY | O_NOFOLLOW, true, m_dir);
        if (fd < 0) return fail(Step::Place, errno);
        struct stat now {};
        int why = ::fstat(fd, &now) != 0 ? errno : 0;
        if (why == 0 && (now.st_dev != old.st_dev || now.st_ino != old.st_ino)) why = ESTALE;
        if (why == 0 && ::ftruncate(fd, 0) != 0) why = errno;
        if (why != 0) {
            ::close(fd);
            return fail(Step::Place, why);
        }
    } else {
        m_made = true;
        m_working = folderOf(m_path) + m_workingName;
    }
    struct stat st {};
    ::fstat(fd, &st);
    m_dev = st.st_dev;
    m_ino = st.st_ino;
    m_out->attach(fd);
    return true;
}

std::ostream& SaveFile::out() { return m_out->stream; }

bool SaveFile::close() {
    if (m_out->fd < 0) return m_step == Step::None && m_out->error == 0;
    const bool flushed = m_out->drain();
    const int fd = m_out->fd;
    m_out->attach(-1);
    // A closed save holds no descriptor: a report keeps one for each of its pages.
    ::close(m_dir);
    m_dir = -1;
    if (::close(fd) != 0 && flushed) return fail(Step::Write, errno);
    return flushed || fail(Step::Write, m_out->error);
}

bool SaveFile::reopen() {
    if (m_step != Step::None) return false;
    if (m_out->fd >= 0) return true;
    if (!openFolder()) return fail(Step::Changed, errno);
    const int fd = openRegularFile(m_workingName, O_WRONLY | O_APPEND | O_NOFOLLOW, true, m_dir);
    if (fd < 0) return fail(Step::Changed, errno);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || st.st_dev != m_dev || st.st_ino != m_ino) {
        ::close(fd);
        return fail(Step::Changed, ESTALE);
    }
    m_out->attach(fd);
    return true;
}

bool SaveFile::commit() {
    if (m_committed) return true;
    if (!reopen()) return false;
    if (!m_out->drain()) return fail(Step::Write, m_out->error);
    if (!m_inPlace) {
        // Made owner-only; it gets the group and permission bits of the file
        // it replaces (a list kept owner-only stays so; set-id bits are not
        // carried to a new owner), or is the user's own, as a new file is. A
        // file system without modes refuses this, which the save survives.
        unsigned mode = m_replacing ? m_mode : newFileMode();
        // The group's bits are for that group, not for the user's own.
        if (m_replacing && ::fchown(m_out->fd, uid_t(-1), gid_t(m_gid)) != 0) mode &= ~0070u;
        (void)::fchmod(m_out->fd, m_setMode >= 0 ? mode_t(m_setMode) : mode_t(mode));
    }
    const int fd = m_out->fd;
    m_out->attach(-1);
    // On the disk before it takes the old file's place, or before a file
    // written in place is called saved: a crash then loses neither.
    const int synced = ::fsync(fd) == 0 ? 0 : errno;
    if (::close(fd) != 0 && synced == 0) return fail(Step::Write, errno);
    if (synced != 0) return fail(Step::Write, synced);
    if (!m_inPlace && ::renameat(m_dir, m_workingName.c_str(), m_dir, m_name.c_str()) != 0)
        return fail(Step::Commit, errno);
    m_committed = true;
    return true;
}

std::string SaveFile::incomplete() const { return m_inPlace ? " The file was left incomplete." : ""; }

std::string SaveFile::error() const {
    if (m_step == Step::None && m_out->error != 0) return message(Step::Write, m_out->error);
    return message(m_step, m_errno);
}

std::string SaveFile::message(Step step, int err) const {
    const std::string name = "\"" + pathText(m_path) + "\"";
    const std::string why = err == EFBIG && FileSizeLimitReached() ? FileSizeLimitText() : std::strerror(err);
    switch (step) {
    case Step::None: return {};
    case Step::Refused: return "Cannot write file " + name + ". " + why;
    case Step::NotRegular:
        return "Cannot write file " + name + (err == EISDIR ? ": it is a folder." : ": it is not a regular file.");
    case Step::Create: return "Cannot create file " + name + ". " + why;
    case Step::Working: return "Cannot create a working file in the folder of " + name + " to replace it. " + why;
    case Step::Place: {
        const std::string lead = "Cannot write file " + name + " in its place, as its folder takes no new file: ";
        switch (err) {
        case ELOOP: return lead + "it is a link to another file.";
        case EMLINK: return lead + "it has another name (a hard link) too.";
        case ENXIO: return lead + "it is not a regular file.";
        case ESTALE: return lead + "it was replaced by another file while it was opened.";
        default: return "Cannot write file " + name + ". " + why;
        }
    }
    case Step::Changed: return "Cannot write file " + name + ": it was replaced by another file while it was written.";
    case Step::Write: return "Cannot write file " + name + ". " + why + (m_inPlace ? "." + incomplete() : "");
    case Step::Commit: return (m_replacing ? "Cannot replace file " : "Cannot create file ") + name + ". " + why;
    }
    return {};
}

std::string SaveFile::refusal(const std::string& path) {
    SaveFile file(path);
    struct stat st {};
    file.m_replacing = ::stat(path.c_str(), &st) == 0;
    if (file.m_replacing && !S_ISREG(st.st_mode))
        return file.message(Step::NotRegular, S_ISDIR(st.st_mode) ? EISDIR : ENXIO);
    if (file.m_replacing && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0)
        return file.message(Step::Refused, errno);
    if (folderTakesNewFiles(path)) return {};
    if (!file.m_replacing) return file.message(Step::Create, errno);
    if (::lstat(path.c_str(), &st) != 0) return file.message(Step::Place, errno);
    if (S_ISLNK(st.st_mode)) return file.message(Step::Place, ELOOP);
    return st.st_nlink > 1 ? file.message(Step::Place, EMLINK) : std::string();
}

bool SaveFile::inPlaceOnly(const std::string& path) { return !folderTakesNewFiles(path); }

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
