// Writes a self-viewing program: a copy of the viewer, the payload archive of
// one GEDCOM file, and the trailer that names the file and its sender.
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <exception>
#include <fcntl.h>
#include <iostream>
#include <map>
#include <optional>
#include <pthread.h>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/SelfViewTrailer.h"
#include "payload/Compressor.h"
#include "platform/CodePage.h"
#include "platform/FileSizeLimit.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace {

const char* const kUsage =
    "usage: brenthaul-pack --viewer FILE --gedcom FILE --out FILE [options]\n"
    "  --viewer FILE       viewer program to copy\n"
    "  --gedcom FILE       GEDCOM file to carry\n"
    "  --out FILE          self-viewing program to write\n"
    "  --title TEXT        title (32 characters)\n"
    "  --name TEXT         sender's name (64)\n"
    "  --email TEXT        sender's e-mail address (64)\n"
    "  --addr1 TEXT        first address line (64)\n"
    "  --addr2 TEXT        second address line (64)\n"
    "  --web TEXT          sender's web site (64)\n"
    "  --phone TEXT        sender's phone number (32)\n"
    "  --message TEXT      message, lines separated by CR LF (1024)\n"
    "  --file-name NAME    file name shown and proposed on extraction (64; default: the GEDCOM's name)\n"
    "  --start N           record number of the individual shown first (default 1)\n"
    "  --created DATETIME  creation time \"YYYY-MM-DD HH:MM\" (default: now)\n"
    "  --allow-extract     let the receiver save a copy of the GEDCOM file\n";

struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The working file a stop signal removes before the program ends: its name
// in the folder the save opened.
char g_working[4096];
int g_folder = -1;
volatile std::sig_atomic_t g_haveWorking = 0;

std::string baseName(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

extern "C" void removeWorkingAndStop(int sig) {
    if (g_haveWorking) ::unlinkat(g_folder, g_working, 0);
    ::signal(sig, SIG_DFL);
    ::raise(sig);
}

// The program is written beside --out and takes its place only when whole:
// a failure or a stop leaves an earlier program as it was. It is never
// written in place: cut short, a program no longer runs.
class WorkingOutput {
public:
    explicit WorkingOutput(const std::string& out) : m_file(out, plat::SaveFile::InPlace::Refused) {
        static const int stops[] = {SIGTERM, SIGINT, SIGHUP};
        struct sigaction sa {};
        sa.sa_handler = removeWorkingAndStop;
        sigemptyset(&sa.sa_mask);
        for (int s : stops) sigaddset(&sa.sa_mask, s);
        // Held back until the name is noted, so a stop in between leaves no file.
        sigset_t held;
        ::pthread_sigmask(SIG_BLOCK, &sa.sa_mask, &held);
        const bool opened = m_file.open();
        const std::string name = baseName(m_file.working());
        if (opened && name.size() < sizeof g_working) {
            std::memcpy(g_working, name.c_str(), name.size() + 1);
            g_folder = m_file.folder();
            g_haveWorking = 1;
        }
        for (int s : stops) {
            struct sigaction was {};
            // A stop ignored by whoever started us (nohup) stays ignored.
            if (::sigaction(s, nullptr, &was) == 0 && was.sa_handler != SIG_IGN) ::sigaction(s, &sa, nullptr);
        }
        ::pthread_sigmask(SIG_SETMASK, &held, nullptr);
        if (!opened) throw std::runtime_error(m_file.error());
    }
    ~WorkingOutput() { g_haveWorking = 0; }
    WorkingOutput(const WorkingOutput&) = delete;
    WorkingOutput& operator=(const WorkingOutput&) = delete;

    void write(const void* data, std::size_t n) {
        if (!m_file.out().write(static_cast<const char*>(data), std::streamsize(n)))
            throw std::runtime_error(m_file.error());
    }
    // Whether --out names the file open on fd, looked up in the folder the
    // program is written to, whatever a link on the way to it names by now.
    bool names(int fd, const std::string& out) const {
        struct stat there {};
        struct stat in {};
        return ::fstatat(m_file.folder(), baseName(out).c_str(), &there, 0) == 0 && ::fstat(fd, &in) == 0 &&
               in.st_dev == there.st_dev && in.st_ino == there.st_ino;
    }
    void commit() {
        m_file.setMode(0755);
        if (!m_file.commit()) throw std::runtime_error(m_file.error());
    }

private:
    plat::SaveFile m_file;
};

// A descriptor closed when it goes.
struct Fd {
    int fd;
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
};

// An input file opened for reading. A pipe would hold the packer for good
// and a device never end: neither is refused later than now.
int openInput(const std::string& path) {
    const int fd = plat::openRegularFile(path, O_RDONLY);
    if (fd < 0)
        throw std::runtime_error(errno == ENXIO ? path + " is not a regular file (a pipe, a device or a folder)"
                                                : "cannot read " + path + ": " + std::strerror(errno));
    return fd;
}

// One read of at most n bytes of path; 0 at its end.
std::size_t readSome(int fd, void* data, std::size_t n, const std::string& path) {
    for (;;) {
        const ssize_t got = ::read(fd, data, n);
        if (got >= 0) return std::size_t(got);
        if (errno != EINTR) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    }
}

// The whole file in one read of the size it has: the viewer is megabytes long.
std::string readWhole(const Fd& in, const std::string& path) {
    struct stat st {};
    if (::fstat(in.fd, &st) != 0) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    std::string data(std::size_t(st.st_size), '\0');
    std::size_t done = 0;
    while (done < data.size()) {
        const std::size_t got = readSome(in.fd, data.data() + done, data.size() - done, path);
        if (got == 0) break;
        done += got;
    }
    data.resize(done);
    return data;
}

bool parseInt(const std::string& s, long long& v) {
    const char* end = s.data() + s.size();
    const auto r = std::from_chars(s.data(), end, v);
    return r.ec == std::errc() && r.ptr == end && !s.empty();
}

// Days from 1 March of year 0 in the proleptic Gregorian calendar.
long long daysFromCivil(long long y, long long m, long long d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

bool leap(long long y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

// Days since 30 December 1899, the fraction being the time of day.
double dayNumber(long long y, long long mo, long long d, long long h, long long mi) {
    return double(daysFromCivil(y, mo, d) - daysFromCivil(1899, 12, 30)) + double(h * 60 + mi) / 1440.0;
}

double parseCreated(const std::string& s) {
    // "YYYY-MM-DD HH:MM"
    long long y, mo, d, h, mi;
    if (s.size() != 16 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || !parseInt(s.substr(0, 4), y) ||
        !parseInt(s.substr(5, 2), mo) || !parseInt(s.substr(8, 2), d) || !parseInt(s.substr(11, 2), h) ||
        !parseInt(s.substr(14, 2), mi))
        throw UsageError("--created wants \"YYYY-MM-DD HH:MM\", not \"" + s + "\"");
    static const int mdays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (y < 1900 || mo < 1 || mo > 12 || d < 1 || d > mdays[mo - 1] + (mo == 2 && leap(y)) || h > 23 || mi > 59)
        throw UsageError("--created: no such date and time: \"" + s + "\"");
    return dayNumber(y, mo, d, h, mi);
}

// Converts a command-line text to the trailer's code page and fits it to its field.
std::string fieldText(const std::string& utf8, std::size_t width, const char* flag) {
    std::string t = plat::utf8ToCp1252(utf8);
    if (t.size() > width) {
        std::cerr << "brenthaul-pack: warning: " << flag << " is cut to " << width << " characters\n";
        t.resize(width);
    }
    return t;
}

struct Options {
    std::map<std::string, std::string> values;
    bool allowExtract = false;
};

Options parseArgs(int argc, char** argv) {
    static const char* const withValue[] = {"--viewer",  "--gedcom", "--out",     "--title",    "--name",
                                            "--email",   "--addr1",  "--addr2",   "--web",      "--phone",
                                            "--message", "--start",  "--created", "--file-name"};
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            inlineValue = arg.substr(eq + 1);
            arg.resize(eq);
        }
        if (arg == "--help" || arg == "-h") throw UsageError("");
        if (arg == "--allow-extract") {
            if (inlineValue) throw UsageError("--allow-extract takes no value");
            o.allowExtract = true;
            continue;
        }
        bool known = false;
        for (const char* f : withValue) known = known || arg == f;
        if (!known) throw UsageError("unknown option " + arg);
        if (inlineValue) {
            o.values[arg] = *inlineValue;
        } else {
            if (i + 1 >= argc) throw UsageError(arg + " needs a value");
            o.values[arg] = argv[++i];
        }
    }
    for (const char* req : {"--viewer", "--gedcom", "--out"})
        if (!o.values.count(req)) throw UsageError(std::string(req) + " is required");
    return o;
}

int run(int argc, char** argv) {
    const Options o = parseArgs(argc, argv);
    auto get = [&](const char* k) {
        const auto it = o.values.find(k);
        return it == o.values.end() ? std::string() : it->second;
    };
    const std::string viewerPath = get("--viewer"), gedcomPath = get("--gedcom"), outPath = get("--out");

    TSelfViewTrailer t;
    t.Title = fieldText(get("--title"), TrailerWidths::Title, "--title");
    t.SenderName = fieldText(get("--name"), TrailerWidths::SenderName, "--name");
    t.SenderEmail = fieldText(get("--email"), TrailerWidths::SenderEmail, "--email");
    t.Address1 = fieldText(get("--addr1"), TrailerWidths::Address1, "--addr1");
    t.Address2 = fieldText(get("--addr2"), TrailerWidths::Address2, "--addr2");
    t.WebSite = fieldText(get("--web"), TrailerWidths::WebSite, "--web");
    t.Phone = fieldText(get("--phone"), TrailerWidths::Phone, "--phone");
    t.Message = fieldText(get("--message"), TrailerWidths::Message, "--message");
    const std::string fileName = o.values.count("--file-name") ? get("--file-name") : baseName(gedcomPath);
    t.FileName = fieldText(fileName, TrailerWidths::FileName, "--file-name");
    t.AllowExtract = o.allowExtract ? 1 : 0;
    if (o.values.count("--start")) {
        long long start = 0;
        if (!parseInt(get("--start"), start) || start < INT32_MIN || start > INT32_MAX)
            throw UsageError("--start wants a whole number, not \"" + get("--start") + "\"");
        t.StartIndex = std::int32_t(start);
    }
    if (o.values.count("--created")) {
        t.CreateDate = parseCreated(get("--created"));
    } else {
        const plat::CalendarTime now = plat::now();
        t.CreateDate = dayNumber(now.year, now.month, now.day, now.hour, now.minute) + double(now.second) / 86400.0;
    }

    const Fd viewerIn{openInput(viewerPath)}, gedcom{openInput(gedcomPath)};
    // Refuses anything at --out but a regular file: a pipe or a device there is not ours to replace.
    WorkingOutput out(outPath);
    // Named by another spelling or another name, an input is the same file.
    for (const auto& [input, fd] : {std::pair{"--viewer", viewerIn.fd}, std::pair{"--gedcom", gedcom.fd}})
        if (out.names(fd, outPath)) throw UsageError("--out names the same file as " + std::string(input));
    const std::string viewer = readWhole(viewerIn, viewerPath);
    if (viewer.empty()) throw std::runtime_error(viewerPath + " is empty");
    if (viewer.size() > 0xFFFFFFFFull) throw std::runtime_error(viewerPath + " is too large");

    // The GEDCOM file is packed as it is read, block by block.
    out.write(viewer.data(), viewer.size());
    std::uint64_t gedcomSize = 0, archiveSize = 0;
    const std::uint32_t blocks = payload::packArchive(
        [&](std::uint8_t* data, std::size_t n) {
            const std::size_t got = readSome(gedcom.fd, data, n, gedcomPath);
            gedcomSize += got;
            return got;
        },
        [&](const std::uint8_t* data, std::size_t n) {
            out.write(data, n);
            archiveSize += n;
        });
    // An empty archive unpacks to nothing the viewer could show.
    if (gedcomSize == 0) throw std::runtime_error(gedcomPath + " is empty: there is no GEDCOM to pack");
    t.ArchiveOffset = std::uint32_t(viewer.size());
    t.BlockCount = blocks;
    const auto trailer = serializeTrailer(t);
    out.write(trailer.data(), trailer.size());
    out.commit();
    std::cout << "brenthaul-pack: " << outPath << ": " << gedcomSize << " bytes of " << baseName(gedcomPath)
              << " packed into " << archiveSize << " bytes (" << blocks << (blocks == 1 ? " block" : " blocks")
              << ")\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    // Past a file-size limit (ulimit -f) a write fails and says so, instead of
    // ending the packer with its working file left behind.
    plat::CatchFileSizeLimit();
    try {
        return run(argc, argv);
    } catch (const UsageError& e) {
        if (*e.what()) {
            std::cerr << "brenthaul-pack: " << e.what() << "\n" << kUsage;
            return 2;
        }
        std::cout << kUsage;
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "brenthaul-pack: " << e.what() << "\n";
        return 1;
    }
}
