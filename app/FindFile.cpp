#include "app/FindFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "model/Global.h"
#include "platform/TempFiles.h"

namespace fs = std::filesystem;
using Global::ToUpper;
using Global::UpperChar;

namespace {

constexpr std::size_t kBlockSize = 4096;

// Days from 1970-01-01 to a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

constexpr std::int64_t kUnixDayOfDateTime = 25569; // 1970-01-01 as a day number

bool HasFolderPart(const std::string& value) { return value.find_first_of("/\\:") != std::string::npos; }

std::string Slashes(std::string text) {
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder;
}

// Full path of a folder without resolving links.
std::string ExpandFolder(const std::string& folder, const std::string& base) {
    std::error_code ec;
    fs::path p(folder.empty() ? std::string(".") : folder);
    if (p.is_relative()) {
        fs::path root = base.empty() ? fs::current_path(ec) : fs::path(base);
        if (root.is_relative()) root = fs::current_path(ec) / root;
        p = root / p;
    }
    std::string text = p.lexically_normal().string();
    return WithSeparator(text);
}

TDateTime FromTimespec(std::int64_t sec, long nsec) { return DateTimeFromUnix(sec, nsec); }

// Fills an entry from the file system; false when it cannot be read (a broken
// link, a vanished file). The device and inode of the entry itself are
// returned for the loop guard, and whether it is a real folder (no link).
bool ReadEntry(const std::string& path, const std::string& name, TSearchRec& rec, bool& realFolder,
               std::pair<std::uint64_t, std::uint64_t>& id) {
    struct stat own {};
    if (::lstat(path.c_str(), &own) != 0) return false;
    struct statx sx {};
    if (::statx(AT_FDCWD, path.c_str(), AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &sx) != 0)
        return false; // a link to nowhere
    realFolder = S_ISDIR(own.st_mode);
    id = {own.st_dev, own.st_ino};
    rec = TSearchRec{};
    rec.Name = name;
    const mode_t mode = sx.stx_mode;
    if (S_ISDIR(mode))
        rec.Attr |= faDirectory;
    else if (!S_ISREG(mode))
        rec.Attr |= faSysFile;
    if ((mode & S_IWUSR) == 0) rec.Attr |= faReadOnly;
    if (!name.empty() && name[0] == '.') rec.Attr |= faHidden;
    rec.Size = S_ISREG(mode) ? static_cast<std::int64_t>(sx.stx_size) : 0;
    if (sx.stx_mask & STATX_BTIME)
        rec.CreationTime = FromTimespec(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
    else
        rec.CreationTime = FromTimespec(sx.stx_ctime.tv_sec, sx.stx_ctime.tv_nsec);
    rec.WriteTime = FromTimespec(sx.stx_mtime.tv_sec, sx.stx_mtime.tv_nsec);
    rec.AccessTime = FromTimespec(sx.stx_atime.tv_sec, sx.stx_atime.tv_nsec);
    return true;
}

// The desktop listing lists plain and read-only entries always, the others
// only when the mask names their kind.
bool Listed(int attr, int mask) { return (attr & (faHidden | faSysFile | faDirectory) & ~mask) == 0; }

class TFd {
public:
    explicit TFd(int fd) : FFd(fd) {}
    ~TFd() {
        if (FFd >= 0) ::close(FFd);
    }
    TFd(const TFd&) = delete;
    TFd& operator=(const TFd&) = delete;
    int get() const { return FFd; }

private:
    int FFd;
};

} // namespace

TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second, int msec) {
    const std::int64_t days =
        DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) + kUnixDayOfDateTime;
    const double fraction = (((hour * 60.0 + minute) * 60.0 + second) * 1000.0 + msec) / 86400000.0;
    return static_cast<double>(days) + fraction;
}

TDateTime DateTimeFromUnix(std::int64_t seconds, long nanoseconds) {
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (::localtime_r(&t, &local) == nullptr) return 0;
    return EncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                          local.tm_sec, static_cast<int>(nanoseconds / 1000000));
}

// ---------------------------------------------------------------------------
// TSearchThread

TSearchThread::TSearchThread(TFindFile& finder) : Finder(finder) {
    FWorker = std::thread([this] { Execute(); });
}

TSearchThread::~TSearchThread() {
    Terminate();
    Join();
}

void TSearchThread::Join() {
    if (FWorker.joinable()) FWorker.join();
}

void TSearchThread::Terminate() {
    {
        std::lock_guard<std::mutex> lock(FLock);
        FTerminated = true;
    }
    FSignal.notify_all();
}

void TSearchThread::Execute() {
    struct THost : TFindFile::TWalkHost {
        TSearchThread& Self;
        explicit THost(TSearchThread& self) : Self(self) {}
        bool Stopped() override { return Self.Terminated(); }
        bool NewFolder(const std::string& folder) override {
            Self.Folder = folder;
            Self.Skip = false;
            if (!Self.Synchronize([this] { Self.Skip = !Self.Finder.DoNewFolder(Self.Folder); })) return false;
            return !Self.Skip;
        }
        void Found(const std::string& folder, const TSearchRec& info) override {
            Self.Folder = folder;
            Self.FileInfo = info;
            Self.Synchronize([this] { Self.Finder.DoFound(Self.Folder, Self.FileInfo); });
        }
    } host(*this);
    try {
        Finder.Walk(host);
    } catch (...) {
        // A failing walk ends the run; the owner still completes it.
    }
    {
        std::lock_guard<std::mutex> lock(FLock);
        FFinished = true;
    }
    FSignal.notify_all();
}

bool TSearchThread::Synchronize(std::function<void()> call) {
    std::unique_lock<std::mutex> lock(FLock);
    if (FTerminated) return false;
    FCall = std::move(call);
    FCallState = TCall::Posted;
    FSignal.notify_all();
    // Once the owner has taken the call it runs to its end, even when the
    // handler itself terminates the run; only an untaken call is withdrawn.
    FSignal.wait(lock, [this] { return FCallState == TCall::Served || (FTerminated && FCallState == TCall::Posted); });
    const bool served = FCallState == TCall::Served;
    FCall = nullptr;
    FCallState = TCall::None;
    return served;
}

void TSearchThread::RunPending(int waitMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(waitMs, 0));
    std::unique_lock<std::mutex> lock(FLock);
    for (;;) {
        if (FCallState == TCall::Posted) {
            FCallState = TCall::Taken;
            std::function<void()> call = FCall;
            lock.unlock();
            try {
                call();
            } catch (...) {
                lock.lock();
                FCallState = TCall::Served;
                FSignal.notify_all();
                throw;
            }
            lock.lock();
            FCallState = TCall::Served;
            FSignal.notify_all();
            continue;
        }
        if (FFinished) return;
        if (!FSignal.wait_until(lock, deadline, [this] { return FCallState == TCall::Posted || FFinished.load(); }))
            return;
    }
}

// ---------------------------------------------------------------------------
// TFindFile

TFindFile::TFindFile() = default;

TFindFile::~TFindFile() {
    if (FThread) {
        FThread->Terminate();
        FThread->Join();
        FThread.reset();
    }
}

void TFindFile::SetFilename(const std::string& value) {
    if (HasFolderPart(value)) throw EFindFileError(value + "\n\rInvalid filename specified");
    FFilename = value;
}

void TFindFile::SetLocation(const std::string& value) {
    if (value.find_first_of("*?") != std::string::npos)
        throw EFindFileError(value + "\n\rlocation cannot to be contained wildcards");
    FLocation = value;
}

void TFindFile::DoFound(const std::string& folder, const TSearchRec& info) {
    if (OnFound) OnFound(*this, TrimFolder(folder), info);
}

bool TFindFile::DoNewFolder(const std::string& folder) {
    bool skip = false;
    if (OnNewFolder) OnNewFolder(*this, TrimFolder(folder), skip);
    return !skip;
}

void TFindFile::DoComplete() {
    FRun.reset();
    FBusy = false;
    if (OnComplete) OnComplete(*this);
}

void TFindFile::MakeRun() {
    auto run = std::make_unique<TRun>();
    const std::string base = ExpandFolder(Slashes(FLocation), std::string());
    if (FIncludeFiles.empty()) {
        run->Targets.push_back({base, FFilename});
    } else {
        for (const std::string& raw : FIncludeFiles) {
            const std::string mask = Slashes(raw);
            const std::size_t cut = mask.rfind('/');
            if (cut == std::string::npos)
                run->Targets.push_back({base, mask});
            else
                run->Targets.push_back({ExpandFolder(mask.substr(0, cut + 1), base), mask.substr(cut + 1)});
        }
    }
    run->Excludes = FExcludeFiles;
    run->AttrMask = Attributes;
    run->Exact = ExactAttribute;
    run->Subfolders = Subfolders;
    run->Dates[0] = ModifiedBefore;
    run->Dates[1] = ModifiedAfter;
    run->Dates[2] = CreatedBefore;
    run->Dates[3] = CreatedAfter;
    run->Dates[4] = AccessedBefore;
    run->Dates[5] = AccessedAfter;
    run->SizeMin = SizeMin;
    run->SizeMax = SizeMax;
    run->Containing = Containing;
    run->IgnoreCase = IgnoreCase;
    if (run->IgnoreCase) run->Containing = ToUpper(run->Containing);
    FRun = std::move(run);
}

void TFindFile::Execute() {
    if (FBusy) return;
    MakeRun();
    FBusy = true;
    FAborted = false;
    if (Threaded) {
        FThread = std::make_unique<TSearchThread>(*this);
        return;
    }
    struct THost : TWalkHost {
        TFindFile& Self;
        explicit THost(TFindFile& self) : Self(self) {}
        bool Stopped() override { return Self.FAborted.load(); }
        bool NewFolder(const std::string& folder) override { return Self.DoNewFolder(folder); }
        void Found(const std::string& folder, const TSearchRec& info) override { Self.DoFound(folder, info); }
    } host(*this);
    try {
        Walk(host);
    } catch (...) {
        DoComplete();
        throw;
    }
    DoComplete();
}

void TFindFile::Abort() {
    FAborted = true;
    if (FThread) FThread->Terminate();
}

bool TFindFile::Poll(int waitMs) {
    if (FThread) {
        FThread->RunPending(waitMs);
        if (FThread->Finished()) ThreadTerminated();
    }
    return FBusy;
}

void TFindFile::ThreadTerminated() {
    FThread->Join();
    FThread.reset();
    DoComplete();
}

void TFindFile::Walk(TWalkHost& host) {
    for (const TTarget& target : FRun->Targets) {
        if (host.Stopped()) break;
        FRun->Visited.clear(); // targets may share folders; only a loop within one walk is cut
        SearchFolder(target.Folder, target.Mask, host);
    }
}

void TFindFile::SearchFolder(const std::string& folder, const std::string& mask, TWalkHost& host) {
    // The loop guard: a folder reached twice (bind mounts) is not walked again.
    struct stat own {};
    if (::stat(folder.c_str(), &own) == 0 &&
        !FRun->Visited.insert({static_cast<std::uint64_t>(own.st_dev), static_cast<std::uint64_t>(own.st_ino)}).second)
        return;

    if (!host.NewFolder(folder) || host.Stopped()) return;

    struct TEntry {
        TSearchRec Rec;
        bool RealFolder = false;
    };
    std::vector<TEntry> entries;
    {
        std::error_code ec;
        fs::directory_iterator it(folder, ec), end;
        for (; !ec && it != end; it.increment(ec)) {
            if (host.Stopped()) return;
            std::string name = it->path().filename().string();
            if (name.empty() || name[0] == '.') continue;
            TEntry entry;
            std::pair<std::uint64_t, std::uint64_t> id;
            if (!ReadEntry(folder + name, name, entry.Rec, entry.RealFolder, id)) continue;
            entries.push_back(std::move(entry));
        }
    }
    // A stable order, whatever the file system hands out.
    std::sort(entries.begin(), entries.end(), [](const TEntry& a, const TEntry& b) { return a.Rec.Name < b.Rec.Name; });

    for (const TEntry& entry : entries) {
        if (host.Stopped()) return;
        if (!Listed(entry.Rec.Attr, FRun->AttrMask) || !ListMatches(entry.Rec.Name, mask)) continue;
        if (FileMatches(folder, entry.Rec, FRun->AttrMask, host)) host.Found(folder, entry.Rec);
    }
    if (!FRun->Subfolders) return;
    constexpr int kFolderMask = faReadOnly | faHidden | faDirectory | faArchive;
    for (const TEntry& entry : entries) {
        if (host.Stopped()) return;
        if (!entry.RealFolder || !Listed(entry.Rec.Attr, kFolderMask)) continue;
        SearchFolder(folder + entry.Rec.Name + "/", mask, host);
    }
}

bool TFindFile::FileMatches(const std::string& folder, const TSearchRec& info, int mode, TWalkHost& host) {
    const TRun& run = *FRun;
    if (run.Exact && info.Attr != mode) return false;
    const bool isFolder = (info.Attr & faDirectory) != 0;
    if (!isFolder) {
        if (run.SizeMin > 0 && info.Size < run.SizeMin) return false;
        if (run.SizeMax > 0 && info.Size > run.SizeMax) return false;
    }
    const TDateTime times[3] = {info.CreationTime, info.WriteTime, info.AccessTime};
    const TDateTime* bounds[3] = {&run.Dates[2], &run.Dates[0], &run.Dates[4]};
    for (int k = 0; k < 3; ++k) {
        const TDateTime before = bounds[k][0], after = bounds[k][1];
        if ((before != 0 || after != 0) && !DateInRange(times[k], before, after)) return false;
    }
    for (const std::string& exclude : run.Excludes)
        if (MaskMatches(folder + info.Name, exclude)) return false;
    if (!run.Containing.empty() && !isFolder) {
        if (info.Attr & faSysFile) return false; // a FIFO or device would block or never end
        return FileContains(folder + info.Name, host);
    }
    return true;
}

bool TFindFile::FileContains(const std::string& path, TWalkHost& host) const {
    const std::string& needle = FRun->Containing;
    const bool fold = FRun->IgnoreCase;
    // A pipe or device put in the file's place since it was listed is refused.
    TFd fd(plat::openRegularFile(path, O_RDONLY));
    if (fd.get() < 0) return false;
    // The window holds the last needle-1 bytes of the previous block in front
    // of the new one, so a hit that spans two blocks is still seen.
    const std::size_t keep = needle.size() - 1;
    std::string window;
    window.reserve(keep + kBlockSize);
    char block[kBlockSize];
    const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
    for (;;) {
        if (host.Stopped()) return false;
        const ssize_t got = ::read(fd.get(), block, sizeof block);
        if (got < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (got == 0) return false;
        const std::size_t from = window.size();
        window.append(block, static_cast<std::size_t>(got));
        if (fold)
            for (std::size_t i = from; i < window.size(); ++i)
                window[i] = static_cast<char>(UpperChar(static_cast<unsigned char>(window[i])));
        if (std::search(window.begin(), window.end(), searcher) != window.end()) return true;
        if (window.size() > keep) window.erase(0, window.size() - keep);
    }
}

bool TFindFile::ListMatches(const std::string& name, const std::string& mask) {
    const std::string n = ToUpper(name);
    std::string m = ToUpper(mask);
    if (m.empty()) return false;
    // "x.*" also takes a name without any dot: "*.*" is every name.
    if (m.size() >= 2 && m.compare(m.size() - 2, 2, ".*") == 0 && n.find('.') == std::string::npos &&
        ListMatches(name, mask.substr(0, mask.size() - 2)))
        return true;
    // Greedy match with one back-track point, linear in practice.
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (j < n.size()) {
        if (i < m.size() && (m[i] == '?' || m[i] == n[j])) {
            ++i;
            ++j;
        } else if (i < m.size() && m[i] == '*') {
            star = i++;
            mark = j;
        } else if (star != std::string::npos) {
            i = star + 1;
            j = ++mark;
        } else {
            return false;
        }
    }
    while (i < m.size() && m[i] == '*') ++i;
    return i == m.size();
}

bool TFindFile::MaskMatches(const std::string& path, const std::string& mask) {
    const std::string p = Slashes(ToUpper(path));
    std::string m = Slashes(ToUpper(mask));
    const std::size_t pCut = p.rfind('/');
    const std::string pathFolder = pCut == std::string::npos ? std::string() : p.substr(0, pCut + 1);
    const std::string name = pCut == std::string::npos ? p : p.substr(pCut + 1);
    if (m.size() >= 2 && m[1] == ':') {
        if (m[0] != '*' && m[0] != '?' && (p.empty() || m[0] != p[0])) return false;
        m.erase(0, 2);
    }
    const std::size_t mCut = m.rfind('/');
    const std::string maskFolder = mCut == std::string::npos ? std::string() : m.substr(0, mCut + 1);
    const std::string maskName = mCut == std::string::npos ? m : m.substr(mCut + 1);
    if (!maskFolder.empty()) {
        // POSIX paths carry no drive, so the mask folder may be as long as the path's.
        if (maskFolder.size() > pathFolder.size()) return false;
        if (pathFolder.compare(pathFolder.size() - maskFolder.size(), maskFolder.size(), maskFolder) != 0) return false;
    }
    std::size_t i = 0, j = 0;
    while (i < maskName.size() && j < name.size()) {
        const char mc = maskName[i], nc = name[j];
        if (mc == nc) {
            ++i;
            ++j;
        } else if (nc != '.') {
            if (mc == '?') {
                ++i;
                ++j;
            } else if (mc == '*') {
                ++j;
            } else {
                return false;
            }
        } else if (mc == '?') {
            ++i;
        } else if (mc == '*') {
            const std::size_t dot = maskName.find('.', i);
            i = dot == std::string::npos ? maskName.size() : dot;
        } else {
            return false;
        }
    }
    while (i < maskName.size() && (maskName[i] == '*' || maskName[i] == '?')) ++i;
    return i == maskName.size() && j == name.size();
}

bool TFindFile::DateInRange(TDateTime value, TDateTime before, TDateTime after) {
    auto holds = [value](TDateTime bound, bool upper) {
        if (bound == 0) return true;
        const double whole = std::trunc(bound), fraction = bound - whole;
        double lhs = value;
        if (fraction == 0)
            lhs = std::trunc(value); // a date alone: compare days
        else if (whole == 0)
            lhs = value - std::trunc(value); // a time of day alone
        return upper ? lhs <= bound : lhs >= bound;
    };
    return holds(before, true) && holds(after, false);
}

std::string TFindFile::TrimFolder(const std::string& path) {
    if (path.size() > 1 && path.back() == '/' && path[path.size() - 2] != ':') return path.substr(0, path.size() - 1);
    return path;
}
