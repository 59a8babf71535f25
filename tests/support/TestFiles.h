#pragma once
// Files for tests: whole-file reads and writes, private folders that go away
// with the test, and a run as an ordinary user. Header-only, so the platform
// and payload tests can use it without the collection fixtures.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <grp.h>
#include <iterator>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace tsupport {

// The whole file, bytes as they are; "" when it cannot be read.
inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    writeFile(path, std::string(bytes.begin(), bytes.end()));
}

// Whether the path names anything, a link followed.
inline bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0;
}

// Length in bytes; -1 when there is no such file.
inline long long fileLength(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return -1;
    return static_cast<long long>(st.st_size);
}

// A fresh folder under the system temp folder, removed with its contents.
class TempDir {
public:
    explicit TempDir(const std::string& prefix = "brenthaul-test") {
        std::string templ = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (!mkdtemp(templ.data())) throw std::runtime_error("cannot make a temp folder like " + templ);
        m_path = templ;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Path of a file inside the folder.
    std::string file(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// What run returns, run in a child process as an ordinary user: as uid and
// gid 65534 without other groups when the test runs as root, else as the
// test's own user. Folders closed to that user and files of other users then
// refuse it as they refuse a user; root's files are "other users'" only when
// the test runs as root. A child that hangs (on a lock of a thread the fork
// did not copy, such as Qt's image threads) is ended after 20 seconds.
inline std::string asOrdinaryUser(const std::function<std::string()>& run) {
    int report[2];
    if (::pipe(report) != 0) return "[no pipe]";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(report[0]);
        ::alarm(20);
        if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
            _exit(2);
        const std::string out = run();
        (void)!::write(report[1], out.data(), out.size());
        _exit(0);
    }
    ::close(report[1]);
    std::string out;
    char buf[4096];
    for (ssize_t n; pid > 0 && (n = ::read(report[0], buf, sizeof buf)) > 0;) out.append(buf, std::size_t(n));
    ::close(report[0]);
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        out += "[the child failed: " + std::to_string(status) + "]";
    return out;
}

} // namespace tsupport
