#include "app/Startup.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "model/Ini2.h"
#include "model/Options.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace ZELT {

const char* const kNoGedcomText = "Error: This Self-Viewing file does not contain a GEDCOM.\n\r"
                                  "Please contact the person that created this file";
const char* const kNoGedcomCaption = "Brenthaul Self-Viewing GEDCOM";
const char* const kIOErrorText = "Error with I/O";

namespace {

// Archives run to tens of megabytes: small chunks would cost a system call per kilobyte.
constexpr std::size_t kChunk = 1 << 20;

// Closes a descriptor on every path out.
struct Fd {
    int fd = -1;
    explicit Fd(int f) : fd(f) {}
    ~Fd() {
        if (fd >= 0) ::close(fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
};

// Reads exactly n bytes at offset; false on a short read or an error.
bool readAt(int fd, unsigned char* buf, std::size_t n, std::uint64_t offset) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t r = ::pread(fd, buf + done, n - done, off_t(offset + done));
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        done += std::size_t(r);
    }
    return true;
}

// Writes n bytes; on failure returns the errno (ENOSPC when nothing could be written).
int writeAll(int fd, const unsigned char* buf, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        const ssize_t w = ::write(fd, buf + done, n - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return w < 0 ? errno : ENOSPC;
        done += std::size_t(w);
    }
    return 0;
}

TrailerCheck inspect(int fd, TSelfViewTrailer* trailer, std::uint64_t* fileSize) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return TrailerCheck::Unreadable;
    const std::uint64_t size = std::uint64_t(st.st_size);
    if (fileSize) *fileSize = size;
    unsigned char magic[4];
    if (size < sizeof magic) return TrailerCheck::NoMagic;
    if (!readAt(fd, magic, sizeof magic, size - sizeof magic)) return TrailerCheck::Unreadable;
    const std::uint32_t mark = std::uint32_t(magic[0]) | (std::uint32_t(magic[1]) << 8) |
                               (std::uint32_t(magic[2]) << 16) | (std::uint32_t(magic[3]) << 24);
    if (mark != kTrailerMagic) return TrailerCheck::NoMagic;
    if (size < kTrailerSize) return TrailerCheck::TooShort;
    std::vector<unsigned char> bytes(kTrailerSize);
    if (!readAt(fd, bytes.data(), kTrailerSize, size - kTrailerSize)) return TrailerCheck::Unreadable;
    const TSelfViewTrailer t = parseTrailer(bytes.data());
    if (trailer) *trailer = t;
    if (t.ArchiveOffset > size - kTrailerSize) return TrailerCheck::BadOffset;
    if (t.BlockCount == 0) return TrailerCheck::NoBlocks;
    return TrailerCheck::Ok;
}

} // namespace

TrailerCheck InspectSelfViewFile(const std::string& path, TSelfViewTrailer* trailer, std::uint64_t* fileSize) {
    Fd f(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (f.fd < 0) return TrailerCheck::Unreadable;
    return inspect(f.fd, trailer, fileSize);
}

void ShowNoGedcomMessage() { plat::messageBox(kNoGedcomText, kNoGedcomCaption, plat::MB_OK); }

bool PayloadPresent(const std::string& ownPath) {
    if (InspectSelfViewFile(ownPath, nullptr, nullptr) == TrailerCheck::Ok) return true;
    ShowNoGedcomMessage();
    return false;
}

bool ReadSelfViewTrailer(const std::string& ownPath, TSelfViewTrailer& trailer) {
    if (InspectSelfViewFile(ownPath, &trailer, nullptr) == TrailerCheck::Ok) return true;
    ShowNoGedcomMessage();
    return false;
}

bool CopyPayloadToFile(int sourceFd, std::uint64_t offset, const std::string& destName, std::uint64_t length,
                       int* writeError) {
    int unused = 0;
    int& error = writeError ? *writeError : unused;
    error = 0;
    if (sourceFd < 0) return false;
    struct stat before {};
    const bool existed = ::lstat(destName.c_str(), &before) == 0;
    // No O_TRUNC: ext4 flushes a file truncated to nothing as it is closed.
    // A file that had content is cut to the copy's length at the end, so a
    // link in its place is refused rather than followed to a file it would cut.
    Fd dest(plat::openTempForWriting(destName));
    if (dest.fd < 0) {
        error = errno;
        return false;
    }
    struct stat opened {};
    const bool hadContent = ::fstat(dest.fd, &opened) != 0 || opened.st_size > 0;
    bool ok = true;
    std::vector<unsigned char> chunk(std::size_t(std::min<std::uint64_t>(length, kChunk)));
    unsigned char* buf = chunk.data();
    std::uint64_t left = length;
    std::uint64_t at = offset;
    while (left > 0) {
        if (plat::cancelRequested()) {
            ok = false; // the program is closing
            error = ECANCELED;
            break;
        }
        const std::size_t want = left < kChunk ? std::size_t(left) : kChunk;
        ssize_t got;
        do {
            got = ::pread(sourceFd, buf, want, off_t(at));
        } while (got < 0 && errno == EINTR);
        if (got <= 0) {
            ok = false; // the source ended before the range did
            break;
        }
        if ((error = writeAll(dest.fd, buf, std::size_t(got))) != 0) {
            ok = false;
            break;
        }
        at += std::uint64_t(got);
        left -= std::uint64_t(got);
    }
    const int fd = dest.fd;
    dest.fd = -1;
    if (hadContent && ::ftruncate(fd, off_t(length - left)) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (!ok && !existed) ::unlink(destName.c_str());
    return ok;
}

ArchiveResult CopySelfViewArchive(const std::string& ownPath, TSelfViewTrailer& trailer, const std::string& archiveFile,
                                  std::uint64_t* archiveLength, int* writeError) {
    if (writeError) *writeError = 0;
    Fd own(::open(ownPath.c_str(), O_RDONLY | O_CLOEXEC));
    std::uint64_t size = 0;
    const TrailerCheck check = own.fd < 0 ? TrailerCheck::Unreadable : inspect(own.fd, &trailer, &size);
    if (check != TrailerCheck::Ok) return ArchiveResult::NoGedcom;
    const std::uint64_t length = size - kTrailerSize - trailer.ArchiveOffset;
    if (archiveLength) *archiveLength = length;
    int error = 0;
    const bool copied = CopyPayloadToFile(own.fd, trailer.ArchiveOffset, archiveFile, length, &error);
    if (writeError) *writeError = error;
    if (copied) return ArchiveResult::Ok;
    return error == ECANCELED ? ArchiveResult::Cancelled : ArchiveResult::CopyFailed;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

int Run(const std::string& ownPath, const std::string& settingsPath, const std::function<int()>& runWindows) {
    ini2::Open(settingsPath);
    WOptions::Load(opt::kEditionThis);
    if (!PayloadPresent(ownPath)) {
        // Nothing was changed, so nothing is written back.
        ini2::Close();
        return 1;
    }
    WOptions::SetProgramDir(FolderOf(ownPath));
    int rc = 0;
    try {
        rc = runWindows ? runWindows() : 0;
    } catch (const plat::TempError& e) {
        plat::showMessage(e.what()); // says which folder cannot be used
        rc = 1;
    } catch (...) {
        plat::showMessage(kIOErrorText);
        rc = 1;
    }
    WOptions::Save();
    ini2::Close();
    return rc;
}

} // namespace ZELT
