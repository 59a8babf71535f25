#pragma once
// Non-visual file finder: walks folders and reports the files that match name
// masks, attributes, size, dates and contained text, on the calling thread or
// on a search thread of its own. Events are always raised on the owner's
// thread: a threaded run hands each event over and waits for the owner to run
// it from Poll(), so no handler ever runs on the worker.
//
// The desktop attribute bits are mapped onto POSIX entries like this:
//   faReadOnly  (1)  the owner has no write permission (S_IWUSR clear)
//   faHidden    (2)  the name begins with "." (such entries are never walked)
//   faSysFile   (4)  neither a regular file nor a folder: device, FIFO, socket
//   faVolumeID  (8)  never set
//   faDirectory (16) a folder (a symbolic link to one counts as a folder entry
//                    but is never descended into, so link loops cannot hang)
//   faArchive   (32) never set
// As with the desktop's folder listing, plain and read-only entries are always
// listed; hidden, system and folder entries only when the attribute mask asks.
//
// Other POSIX choices:
//   - Paths use "/"; folder parts of masks may be written with "/" or "\".
//   - The creation time is the birth time where the file system keeps one, else
//     the status-change time.
//   - A Filename or include mask picks names like the desktop's listing: "*"
//     any run of characters (dots too), "?" any one character, a trailing ".*"
//     also takes names without a dot, case ignored. Exclude masks follow the
//     stricter MaskMatches rules below.
//   - Targets: without include masks one target, Location + Filename; else one
//     target per include mask, its folder part taken relative to Location.
//   - Contained text is searched block by block with the tail of each block kept
//     for the next, so a hit across a block boundary is found and memory stays
//     bounded whatever the file size. Only regular files can contain text.
//   - Unreadable folders and files are skipped silently.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using TDateTime = double; // days since 30 December 1899, fraction = time of day

class EFindFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TFileAttr : int {
    faReadOnly = 0x01,
    faHidden = 0x02,
    faSysFile = 0x04,
    faVolumeID = 0x08,
    faDirectory = 0x10,
    faArchive = 0x20,
};

// A copy of one folder entry.
struct TSearchRec {
    std::string Name;
    int Attr = 0;
    std::int64_t Size = 0;
    TDateTime CreationTime = 0; // local time
    TDateTime WriteTime = 0;
    TDateTime AccessTime = 0;
};

// Local date-time value of a calendar time, and of a POSIX time stamp.
TDateTime EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int msec = 0);
TDateTime DateTimeFromUnix(std::int64_t seconds, long nanoseconds = 0);

class TFindFile;

class TSearchThread {
public:
    explicit TSearchThread(TFindFile& finder);
    ~TSearchThread(); // terminates and waits
    TSearchThread(const TSearchThread&) = delete;
    TSearchThread& operator=(const TSearchThread&) = delete;

    TFindFile& Finder;
    std::string Folder; // handed to the owner's thread with each event
    TSearchRec FileInfo;
    bool Skip = false;

    void Terminate();
    bool Terminated() const { return FTerminated.load(); }
    bool Finished() const { return FFinished.load(); }
    // Runs the events the worker hands over, waiting up to waitMs for them.
    void RunPending(int waitMs);
    void Join();

private:
    void Execute();
    // Hands a call to the owner's thread and waits for it; false when the run
    // was terminated before the owner took it.
    bool Synchronize(std::function<void()> call);

    enum class TCall { None, Posted, Taken, Served };
    std::mutex FLock;
    std::condition_variable FSignal;
    std::function<void()> FCall;
    TCall FCallState = TCall::None;
    std::atomic<bool> FTerminated{false};
    std::atomic<bool> FFinished{false};
    std::thread FWorker;
    friend class TFindFile;
};

class TFindFile {
public:
    using TFoundEvent = std::function<void(TFindFile& sender, const std::string& folder, const TSearchRec& info)>;
    using TNewFolderEvent = std::function<void(TFindFile& sender, const std::string& folder, bool& skip)>;
    using TNotifyEvent = std::function<void(TFindFile& sender)>;

    TFindFile();
    virtual ~TFindFile();
    TFindFile(const TFindFile&) = delete;
    TFindFile& operator=(const TFindFile&) = delete;

    // Properties whose setters check or copy.
    const std::string& Filename() const { return FFilename; }
    void SetFilename(const std::string& value);
    const std::string& Location() const { return FLocation; }
    void SetLocation(const std::string& value);
    const std::vector<std::string>& IncludeFiles() const { return FIncludeFiles; }
    void SetIncludeFiles(const std::vector<std::string>& value) { FIncludeFiles = value; }
    const std::vector<std::string>& ExcludeFiles() const { return FExcludeFiles; }
    void SetExcludeFiles(const std::vector<std::string>& value) { FExcludeFiles = value; }
    int ThreadPriority() const { return FThreadPriority; }
    // Kept for the thread; the POSIX default scheduler has no per-thread
    // priority an unprivileged program may raise, so it is not applied.
    void SetThreadPriority(int value) { FThreadPriority = value; }

    // Plain properties.
    bool Subfolders = true;
    std::uint8_t Attributes = 15;
    bool ExactAttribute = false;
    TDateTime ModifiedBefore = 0, ModifiedAfter = 0;
    TDateTime CreatedBefore = 0, CreatedAfter = 0;
    TDateTime AccessedBefore = 0, AccessedAfter = 0;
    std::int32_t SizeMin = 0, SizeMax = 0;
    std::string Containing;
    bool IgnoreCase = true;
    bool Threaded = false;

    TFoundEvent OnFound;
    TNewFolderEvent OnNewFolder;
    TNotifyEvent OnComplete;

    // Starts a run from the properties; does nothing while one is busy. On
    // the calling thread it returns when the run is complete.
    void Execute();
    // Stops the run; a threaded run still completes through Poll().
    void Abort();
    // Runs the events of a threaded run on this thread, waiting up to waitMs
    // for one; raises OnComplete once the thread has ended. Returns Busy().
    bool Poll(int waitMs = 0);

    bool Busy() const { return FBusy; }
    bool Aborted() const { return FAborted; }
    TSearchThread* Thread() const { return FThread.get(); }

    // Helpers of the walk, public for their own sake.
    static bool MaskMatches(const std::string& path, const std::string& mask);
    static bool ListMatches(const std::string& name, const std::string& mask);
    static bool DateInRange(TDateTime value, TDateTime before, TDateTime after);
    static std::string TrimFolder(const std::string& path);

protected:
    virtual void DoFound(const std::string& folder, const TSearchRec& info);
    virtual bool DoNewFolder(const std::string& folder);
    virtual void DoComplete();

private:
    struct TWalkHost {
        virtual ~TWalkHost() = default;
        virtual bool Stopped() = 0;
        virtual bool NewFolder(const std::string& folder) = 0;
        virtual void Found(const std::string& folder, const TSearchRec& info) = 0;
    };
    struct TTarget {
        std::string Folder; // full path ending in "/"
        std::string Mask;
    };
    // Working copies of one run; only the walk touches them while it runs.
    struct TRun {
        std::vector<TTarget> Targets;
        std::vector<std::string> Excludes;
        int AttrMask = 0;
        bool Exact = false;
        bool Subfolders = true;
        TDateTime Dates[6] = {}; // modified, created, accessed: before, after
        std::int64_t SizeMin = 0, SizeMax = 0;
        std::string Containing;
        bool IgnoreCase = true;
        std::set<std::pair<std::uint64_t, std::uint64_t>> Visited; // device, inode
    };

    void MakeRun();
    void Walk(TWalkHost& host);
    void SearchFolder(const std::string& folder, const std::string& mask, TWalkHost& host);
    bool FileMatches(const std::string& folder, const TSearchRec& info, int mode, TWalkHost& host);
    bool FileContains(const std::string& path, TWalkHost& host) const;
    void ThreadTerminated();

    std::string FFilename = "*.*";
    std::string FLocation;
    std::vector<std::string> FIncludeFiles;
    std::vector<std::string> FExcludeFiles;
    int FThreadPriority = 0;
    bool FBusy = false;
    std::atomic<bool> FAborted{false};
    std::unique_ptr<TRun> FRun;
    std::unique_ptr<TSearchThread> FThread;
    friend class TSearchThread;
};
