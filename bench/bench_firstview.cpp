// Whole-program first view: a packed program carrying a generated GEDCOM file
// is launched under a private X server (Xvfb) and timed from launch until its
// main window is shown and idle; in the same run, interleaved round by round,
// lbzip2 -d -n8 expands the same GEDCOM file (packed with lbzip2 -9) into the
// same folder. Prints the medians and their ratio.
//
// Run: build/bench/bench_firstview [--individuals N]... [--rounds R] [--viewer PROGRAM]...
// (default: 100,000 and 1,000,000 individuals, 10 rounds, build/brenthaul).
// Several viewers (say, before and after a change) are packed alike and timed
// in turn within each round. Needs Xvfb and lbzip2.
//
// How the end is found. Launch is the moment before fork. From then on every
// thread's run time (/proc/PID/task/*/schedstat, in nanoseconds) and state
// are sampled each millisecond; the last sample in which any thread of the
// program ran, was runnable or waited for the disk, or a new thread appeared,
// is its last activity. The first view is reached at the last activity after
// which the program stays idle for a whole quiet period (300 ms) while its
// main window, the one whose caption ends with the packed title (set as the
// file is opened), is mapped and viewable. Idle means every thread asleep:
// the event loop waiting for events, worker threads ended or waiting. The
// end is late by at most one sample; the X server's drawing of the last
// requests is not included.
//
// Every program run gets fresh private TMPDIR and XDG_CONFIG_HOME folders
// whose settings switch the start-up quick help off (a dialog would wait for
// a click), and is ended with SIGTERM, the orderly close; a temporary file
// left behind is reported.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

const char* const kTitle = "First view timing";
constexpr auto kQuiet = std::chrono::milliseconds(300);
constexpr auto kSample = std::chrono::milliseconds(1);
constexpr auto kGiveUp = std::chrono::seconds(120);

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Runs argv with stdout to outFile (when given), stderr discarded; the exit code or -1.
int run(const std::vector<std::string>& argv, const std::string& outFile = "") {
    const pid_t pid = ::fork();
    if (pid < 0) return -1;
    if (pid == 0) {
        const int out = outFile.empty() ? ::open("/dev/null", O_WRONLY)
                                        : ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int null = ::open("/dev/null", O_WRONLY);
        if (out < 0 || null < 0) ::_exit(127);
        ::dup2(out, 1);
        ::dup2(null, 2);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execvp(args[0], args.data());
        ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// Run time of every live thread of pid, by thread id; a thread that is
// runnable or waiting for the disk counts as running on (its time would not
// grow while it waits for a processor or for I/O).
std::map<int, unsigned long long> threadTimes(pid_t pid, bool& busy) {
    std::map<int, unsigned long long> times;
    busy = false;
    const std::string dir = "/proc/" + std::to_string(pid) + "/task";
    DIR* d = ::opendir(dir.c_str());
    if (!d) return times;
    char buf[512];
    auto read = [&](const std::string& file) {
        const int fd = ::open(file.c_str(), O_RDONLY);
        if (fd < 0) return false;
        const ssize_t n = ::read(fd, buf, sizeof buf - 1);
        ::close(fd);
        if (n <= 0) return false;
        buf[n] = '\0';
        return true;
    };
    while (dirent* e = ::readdir(d)) {
        if (e->d_name[0] == '.') continue;
        const std::string task = dir + "/" + e->d_name;
        if (!read(task + "/schedstat")) continue;
        times[std::atoi(e->d_name)] = std::strtoull(buf, nullptr, 10);
        // The state follows the command name in parentheses, which may hold blanks.
        if (read(task + "/stat"))
            if (const char* close = std::strrchr(buf, ')'); close && (close[2] == 'R' || close[2] == 'D')) busy = true;
    }
    ::closedir(d);
    return times;
}

class Display {
public:
    // Starts Xvfb on the first free display from :90 on.
    bool Start() {
        for (int n = 90; n < 140; ++n) {
            if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) ||
                fs::exists("/tmp/.X" + std::to_string(n) + "-lock"))
                continue;
            m_name = ":" + std::to_string(n);
            m_server = ::fork();
            if (m_server == 0) {
                const int null = ::open("/dev/null", O_WRONLY);
                ::dup2(null, 1);
                ::dup2(null, 2);
                ::execlp("Xvfb", "Xvfb", m_name.c_str(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp", nullptr);
                ::_exit(127);
            }
            for (int i = 0; i < 100 && !m_conn; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
                xcb_connection_t* c = xcb_connect(m_name.c_str(), nullptr);
                if (xcb_connection_has_error(c) == 0)
                    m_conn = c;
                else
                    xcb_disconnect(c);
                int status = 0;
                if (::waitpid(m_server, &status, WNOHANG) == m_server) break; // taken meanwhile: next number
            }
            if (m_conn) return true;
            Stop();
        }
        return false;
    }
    void Stop() {
        if (m_conn) xcb_disconnect(m_conn);
        m_conn = nullptr;
        if (m_server > 0) {
            ::kill(m_server, SIGTERM);
            ::waitpid(m_server, nullptr, 0);
        }
        m_server = -1;
    }
    ~Display() { Stop(); }
    const std::string& Name() const { return m_name; }

    // True when a viewable top-level window's caption ends with suffix.
    bool WindowShown(const std::string& suffix) {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data->root;
        xcb_query_tree_reply_t* tree = xcb_query_tree_reply(m_conn, xcb_query_tree(m_conn, root), nullptr);
        if (!tree) return false;
        bool shown = false;
        const xcb_window_t* kids = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree) && !shown; ++i) {
            auto* attr = xcb_get_window_attributes_reply(m_conn, xcb_get_window_attributes(m_conn, kids[i]), nullptr);
            const bool viewable = attr && attr->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(attr);
            if (!viewable) continue;
            auto* prop = xcb_get_property_reply(
                m_conn, xcb_get_property(m_conn, 0, kids[i], XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                nullptr);
            if (prop) {
                const std::string name(static_cast<const char*>(xcb_get_property_value(prop)),
                                       std::size_t(xcb_get_property_value_length(prop)));
                shown = name.size() >= suffix.size() &&
                        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
            }
            std::free(prop);
        }
        std::free(tree);
        return shown;
    }

private:
    std::string m_name;
    pid_t m_server = -1;
    xcb_connection_t* m_conn = nullptr;
};

struct Program {
    std::string viewer, path;
    std::vector<double> times;
};

struct Size {
    int individuals = 0;
    std::vector<Program> programs;
    std::string bz2, out;
    std::vector<double> peerTimes;
};

// Seconds from launch to the first view, or nothing when the program ended or never got there.
std::optional<double> timeProgram(Display& x, const std::string& program, const fs::path& work, int& leftovers) {
    const fs::path home = work / "run";
    fs::remove_all(home);
    const fs::path priv = home / "tmp" / ("brenthaul-" + std::to_string(::geteuid()));
    fs::create_directories(priv);
    fs::create_directories(home / "config");
    fs::permissions(priv, fs::perms::owner_all, fs::perm_options::replace);
    std::ofstream(priv / "zelt.ini", std::ios::binary) << "[Help]\r\nDispInitHelp=F\r\n";

    const auto launch = Clock::now();
    const pid_t pid = ::fork();
    if (pid < 0) return std::nullopt;
    if (pid == 0) {
        ::setenv("TMPDIR", (home / "tmp").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", (home / "config").c_str(), 1);
        ::setenv("DISPLAY", x.Name().c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", home.c_str(), 1);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, 1);
        ::dup2(null, 2);
        ::execl(program.c_str(), program.c_str(), nullptr);
        ::_exit(127);
    }
    std::map<int, unsigned long long> last;
    auto active = launch;
    std::optional<double> result;
    const std::string suffix = std::string(" - ") + kTitle;
    for (;;) {
        std::this_thread::sleep_for(kSample);
        const auto now = Clock::now();
        bool busy = false;
        auto times = threadTimes(pid, busy);
        if (busy) active = now;
        for (const auto& [tid, t] : times) {
            auto it = last.find(tid);
            if (it == last.end() || it->second != t) active = now;
        }
        last.swap(times);
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return std::nullopt; // ended before its first view
        if (now - active >= kQuiet && x.WindowShown(suffix)) {
            result = seconds(active - launch);
            break;
        }
        if (now - launch > kGiveUp) break;
    }
    ::kill(pid, SIGTERM);
    ::waitpid(pid, nullptr, 0);
    for (const auto& e : fs::directory_iterator(priv))
        if (e.path().filename() != "zelt.ini") ++leftovers;
    return result;
}

double timePeer(const Size& s) {
    const auto start = Clock::now();
    const int rc = run({"lbzip2", "-d", "-n8", "-c", s.bz2}, s.out);
    const double t = seconds(Clock::now() - start);
    fs::remove(s.out);
    return rc == 0 ? t : -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double load1() {
    double l[1] = {0};
    return ::getloadavg(l, 1) == 1 ? l[0] : -1;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<int> sizes;
    std::vector<std::string> viewers;
    int rounds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--individuals" && i + 1 < argc)
            sizes.push_back(std::atoi(argv[++i]));
        else if (a == "--rounds" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--viewer" && i + 1 < argc)
            viewers.push_back(fs::absolute(argv[++i]).string());
        else {
            std::fprintf(stderr, "usage: %s [--individuals N]... [--rounds R] [--viewer PROGRAM]...\n", argv[0]);
            return 2;
        }
    }
    if (sizes.empty()) sizes = {100000, 1000000};
    const std::string bin = BRENTHAUL_BINARY_DIR;
    if (viewers.empty()) viewers.push_back(bin + "/brenthaul");

    const char* tmp = std::getenv("TMPDIR");
    const fs::path work = fs::path(tmp && *tmp ? tmp : "/tmp") / ("brenthaul-firstview-" + std::to_string(::getpid()));
    fs::create_directories(work);
    struct Cleanup {
        fs::path dir;
        ~Cleanup() {
            std::error_code ec;
            fs::remove_all(dir, ec);
        }
    } cleanup{work};

    std::vector<Size> all;
    for (int n : sizes) {
        Size s;
        s.individuals = n;
        const std::string ged = (work / ("g" + std::to_string(n) + ".ged")).string();
        s.bz2 = ged + ".bz2";
        s.out = (work / "peer.ged").string();
        bool made = run({bin + "/gengedcom", "--quiet", "--individuals", std::to_string(n), "--out", ged}) == 0 &&
                    run({"lbzip2", "-9", "-n8", "-c", ged}, s.bz2) == 0;
        for (std::size_t v = 0; v < viewers.size() && made; ++v) {
            Program p{viewers[v], (work / ("p" + std::to_string(n) + "-" + std::to_string(v))).string(), {}};
            made = run({bin + "/brenthaul-pack", "--viewer", p.viewer, "--gedcom", ged, "--out", p.path, "--title",
                        kTitle}) == 0;
            s.programs.push_back(p);
        }
        if (!made) {
            std::fprintf(stderr, "cannot make the files for %d individuals (gengedcom, lbzip2, brenthaul-pack)\n", n);
            return 1;
        }
        fs::remove(ged);
        all.push_back(s);
    }

    Display x;
    if (!x.Start()) {
        std::fprintf(stderr, "cannot start Xvfb\n");
        return 1;
    }
    const double loadBefore = load1();
    int leftovers = 0;
    for (int r = 0; r < rounds; ++r) {
        for (Size& s : all) {
            // Rotate which goes first, so none always meets a warmer cache.
            const int n = int(s.programs.size()) + 1;
            for (int k = 0; k < n; ++k) {
                const int which = (k + r) % n;
                if (which < n - 1) {
                    Program& p = s.programs[std::size_t(which)];
                    const auto t = timeProgram(x, p.path, work, leftovers);
                    if (!t) {
                        std::fprintf(stderr, "%s did not reach its first view\n", p.viewer.c_str());
                        return 1;
                    }
                    p.times.push_back(*t);
                } else {
                    const double t = timePeer(s);
                    if (t < 0) {
                        std::fprintf(stderr, "lbzip2 failed\n");
                        return 1;
                    }
                    s.peerTimes.push_back(t);
                }
            }
        }
    }
    std::printf("First view (launch to main window shown and idle, under Xvfb) against lbzip2 -d -n8 of the same\n"
                "GEDCOM, %d interleaved rounds; load average %.1f before, %.1f after, %u cores.\n",
                rounds, loadBefore, load1(), std::thread::hardware_concurrency());
    std::printf("Times in seconds, median and fastest; ratio: of the medians, and the median of each round's ratio.\n");
    std::printf("%11s %9s %9s %9s %9s %7s %7s  %s\n", "individuals", "program", "fastest", "lbzip2", "fastest", "ratio",
                "rounds", "viewer");
    for (const Size& s : all) {
        for (const Program& p : s.programs) {
            std::vector<double> ratios;
            for (std::size_t i = 0; i < p.times.size(); ++i) ratios.push_back(p.times[i] / s.peerTimes[i]);
            std::printf("%11d %9.3f %9.3f %9.3f %9.3f %7.3f %7.3f  %s\n", s.individuals, median(p.times),
                        *std::min_element(p.times.begin(), p.times.end()), median(s.peerTimes),
                        *std::min_element(s.peerTimes.begin(), s.peerTimes.end()),
                        median(p.times) / median(s.peerTimes), median(ratios), p.viewer.c_str());
        }
    }
    if (leftovers) std::printf("warning: %d temporary files were left behind\n", leftovers);
    return 0;
}
