#include "app/Unpack.h"

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <new>
#include <sys/statvfs.h>
#include <thread>

#include "app/Startup.h"
#include "model/Global.h"
#include "payload/BlockMan.h"
#include "payload/PayloadErrors.h"
#include "payload/ResCompress.h"
#include "platform/CodePage.h"
#include "platform/FileSizeLimit.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace {

const std::string kCannotUnpack = "Cannot unpack the GEDCOM file";
const std::string kWillClose = "  The program will now close.";

// What unpacking came to, found out without showing anything.
struct Outcome {
    enum class Fault {
        None,
        Damaged,  // the archive is malformed or a block's CRC failed; detail may say how
        Local,    // a file in the temporary folder could not be written or read: error, writing
        OwnFile,  // the program file could not be read to the archive's end
        NoMemory, // too little memory to expand
        Text,     // detail is the whole message
    };
    UnpackResult result = UnpackResult::Failed;
    Fault fault = Fault::None;
    TSelfViewTrailer trailer;
    std::string gedFile, detail, folder;
    int crcMismatches = 0;
    int error = 0;
    bool writing = false;
    std::uint64_t archiveLength = 0;
};

struct Job {
    std::string ownPath, archive;
    Outcome outcome;
};

// Finds the folder and makes both files on the thread that starts the
// unpacking: the workers must not read the environment ($TMPDIR) while the
// application may be changing it. False when the folder cannot be used.
bool prepare(Job& job) {
    Outcome& o = job.outcome;
    try {
        o.folder = plat::tempDir();
        job.archive = Global::GetTempFileName();
        o.gedFile = Global::GetTempFileName();
    } catch (const plat::TempError& e) {
        if (!job.archive.empty()) Global::DeleteTempFile(job.archive);
        o.fault = Outcome::Fault::Text; // names the folder that cannot be used
        o.detail = e.what();
        return false;
    }
    return true;
}

// Copies the archive range and expands it; on any fault both files go.
void work(Job& job) {
    Outcome& o = job.outcome;
    const ZELT::ArchiveResult copied =
        ZELT::CopySelfViewArchive(job.ownPath, o.trailer, job.archive, &o.archiveLength, &o.error);
    if (copied == ZELT::ArchiveResult::NoGedcom) o.result = UnpackResult::NoGedcom;
    if (copied == ZELT::ArchiveResult::Cancelled) o.result = UnpackResult::Cancelled;
    if (copied == ZELT::ArchiveResult::CopyFailed) {
        o.fault = o.error ? Outcome::Fault::Local : Outcome::Fault::OwnFile;
        o.writing = o.error != 0;
    }
    if (copied == ZELT::ArchiveResult::Ok) {
        try {
            payload::WRESCompress expander;
            // Messages are the caller's: it shows one per damaged block once done.
            expander.SetEvents({[] {}, [&] { ++o.crcMismatches; }, [] { return plat::cancelRequested(); }});
            if (!expander.ExpandFile(job.archive, o.gedFile, o.trailer.BlockCount)) o.fault = Outcome::Fault::Damaged;
        } catch (const payload::ECancelled&) {
            o.result = UnpackResult::Cancelled;
        } catch (const payload::EFileError& e) {
            o.fault = Outcome::Fault::Local;
            o.error = e.Errno;
            o.writing = e.Writing;
        } catch (const std::bad_alloc&) {
            o.fault = Outcome::Fault::NoMemory;
        } catch (const std::exception& e) {
            o.fault = Outcome::Fault::Damaged;
            o.detail = e.what();
        }
    }
    if (o.fault == Outcome::Fault::Local && (o.error == ELOOP || o.error == EMLINK || o.error == ENXIO)) {
        // Someone put something else where our file was: it is refused rather
        // than written through or waited on. What is read is the archive copy.
        const bool intoUnpacked = copied == ZELT::ArchiveResult::Ok && o.writing;
        const std::string& at = intoUnpacked ? o.gedFile : job.archive;
        o.fault = Outcome::Fault::Text;
        o.detail = kCannotUnpack + ": its temporary file " + plat::pathText(at) +
                   (o.error == ELOOP    ? " is a link, and the program does not write through links."
                    : o.error == EMLINK ? " has another name (a hard link), and the program does not write through "
                                          "links."
                                        : " is not a regular file, and the program uses only regular files.") +
                   kWillClose;
    }
    Global::DeleteTempFile(job.archive);
    if (copied == ZELT::ArchiveResult::Ok && o.fault == Outcome::Fault::None && o.result != UnpackResult::Cancelled) {
        o.result = UnpackResult::Ok;
        return;
    }
    Global::DeleteTempFile(o.gedFile);
    o.gedFile.clear();
}

std::string megabytes(std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB"; }

// Free space is rounded down, in KB below 1 MB, while a need is rounded up:
// a message never says that what is needed is free.
std::string freeSpace(std::uint64_t bytes) {
    return bytes < (1u << 20) ? std::to_string(bytes >> 10) + " KB" : std::to_string(bytes >> 20) + " MB";
}

} // namespace

std::string UnpackFolderErrorText(int error, bool writing, const std::string& folder, std::uint64_t archiveLength,
                                  std::uint32_t blockCount) {
    const std::string dir = plat::pathText(folder);
    // Blocks carry no length: every block but the last is full as packed.
    const std::uint64_t expanded = std::uint64_t(blockCount) * payload::kMaxBlockLength;
    const std::uint64_t needed = archiveLength + expanded; // the archive copy lives until the end
    if (writing && plat::FileSizeLimitReached()) error = EFBIG;
    if (writing && error == ENOSPC) {
        std::string text = kCannotUnpack + ": the disk that holds the temporary folder " + dir +
                           " is full.  Unpacking needs up to " + megabytes(needed) + " there";
        struct statvfs fs {};
        if (::statvfs(folder.c_str(), &fs) == 0)
            text += ", and " + freeSpace(std::uint64_t(fs.f_bavail) * fs.f_frsize) + " are free";
        return text + "." + kWillClose;
    }
    if (writing && error == EDQUOT)
        return kCannotUnpack + ": your disk quota for the temporary folder " + dir +
               " is used up.  Unpacking needs up to " + megabytes(needed) + " there." + kWillClose;
    if (writing && error == EFBIG)
        return kCannotUnpack + " into the temporary folder " + dir + ".  " + plat::FileSizeLimitText() +
               "  The unpacked file needs up to " + megabytes(expanded) + "." + kWillClose;
    const std::string why = error ? std::strerror(error) : "unknown error";
    return kCannotUnpack + ": " + (writing ? "writing into" : "reading from") + " the temporary folder " + dir +
           " failed (" + why + ")." + kWillClose;
}

namespace {

std::string localText(const Outcome& o) {
    return UnpackFolderErrorText(o.error, o.writing, o.folder, o.archiveLength, o.trailer.BlockCount);
}

std::string failureText(const Outcome& o, const std::string& ownPath) {
    switch (o.fault) {
    case Outcome::Fault::Local: return localText(o);
    case Outcome::Fault::OwnFile:
        return kCannotUnpack + ": the program file " + plat::pathText(ownPath) + " cannot be read to its end." +
               kWillClose;
    case Outcome::Fault::NoMemory: return kCannotUnpack + ": there is not enough memory." + kWillClose;
    case Outcome::Fault::Text: return o.detail;
    case Outcome::Fault::Damaged:
    case Outcome::Fault::None: break;
    }
    return (o.detail.empty() ? "" : o.detail + "\r\n") +
           "The GEDCOM file in this program is damaged.  The program will now close.";
}

} // namespace

struct TUnpackAhead::State {
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false, taken = false;
    Job job;
    std::thread thread;
};

namespace {
TUnpackAhead::State* g_ahead = nullptr;
} // namespace

TUnpackAhead::TUnpackAhead(const std::string& ownPath) : m_state(std::make_unique<State>()) {
    State& s = *m_state;
    s.job.ownPath = ownPath;
    if (!prepare(s.job)) {
        s.done = true;
    } else {
        s.thread = std::thread([&s] {
            work(s.job);
            std::lock_guard<std::mutex> lock(s.mutex);
            s.done = true;
            s.cv.notify_all();
        });
    }
    if (!g_ahead) g_ahead = &s;
}

TUnpackAhead::~TUnpackAhead() {
    if (m_state->thread.joinable()) m_state->thread.join();
    if (g_ahead == m_state.get()) g_ahead = nullptr;
    if (!m_state->taken && !m_state->job.outcome.gedFile.empty()) Global::DeleteTempFile(m_state->job.outcome.gedFile);
}

UnpackResult UnpackSelfViewPayload(const std::string& ownPath, TSelfViewTrailer& trailer, std::string& gedFile,
                                   std::string& errorText) {
    gedFile.clear();
    errorText.clear();
    std::unique_ptr<TUnpackAhead> now;
    TUnpackAhead::State* s = g_ahead;
    if (!s || s->job.ownPath != ownPath || s->taken) {
        now = std::make_unique<TUnpackAhead>(ownPath);
        s = now->m_state.get();
    }
    Outcome o;
    {
        std::unique_lock<std::mutex> lock(s->mutex);
        // The splash screen and the windows go on painting meanwhile.
        while (!s->cv.wait_for(lock, std::chrono::milliseconds(20), [s] { return s->done; })) {
            lock.unlock();
            plat::processMessages();
            lock.lock();
        }
        o = std::move(s->job.outcome);
        s->job.outcome.gedFile.clear();
        s->taken = true;
    }
    trailer = o.trailer;
    if (o.result == UnpackResult::Cancelled) return o.result; // the program is closing: nothing to tell
    for (int k = 0; k < o.crcMismatches; ++k) plat::showMessage("CRC does not match!");
    if (o.result == UnpackResult::NoGedcom) ZELT::ShowNoGedcomMessage();
    if (o.result != UnpackResult::Ok) {
        if (o.result == UnpackResult::Failed) errorText = failureText(o, ownPath);
        return o.result;
    }
    gedFile = o.gedFile;
    return UnpackResult::Ok;
}
