#include "app/Unpack.h"

#include <sys/statvfs.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "app/Startup.h"
#include "payload/BlockMan.h"
#include "payload/PayloadErrors.h"
#include "payload/ResCompress.h"
#include "platform/FileSizeLimit.h"
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
    int error = 0;
    bool writing = false;
    std::uint64_t archiveLength = 0;
};

Outcome unpack(const std::string& ownPath) {
    Outcome o;
    std::string archive;
    ZELT::ArchiveResult copied;
    try {
        o.folder = plat::tempDir();
        copied = ZELT::CopySelfViewArchive(ownPath, o.trailer, archive, &o.archiveLength, &o.error);
    } catch (const plat::TempError& e) {
        o.fault = Outcome::Fault::Text; // names the folder that cannot be used
        o.detail = e.what();
        return o;
    }
    switch (copied) {
    case ZELT::ArchiveResult::NoGedcom: o.result = UnpackResult::NoGedcom; return o;
    case ZELT::ArchiveResult::CopyFailed:
        o.fault = o.error ? Outcome::Fault::Local : Outcome::Fault::OwnFile;
        o.writing = o.error != 0;
        return o;
    case ZELT::ArchiveResult::Ok: break;
    }
    std::string out;
    try {
        out = plat::createTempFile();
        payload::WRESCompress expander;
        // On a CRC mismatch the expander has shown its message already.
        if (!expander.ExpandFile(archive, out, o.trailer.BlockCount)) o.fault = Outcome::Fault::Damaged;
    } catch (const plat::TempError& e) {
        o.fault = Outcome::Fault::Text;
        o.detail = e.what();
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
    plat::deleteTempFile(archive);
    if (o.fault != Outcome::Fault::None) {
        if (!out.empty()) plat::deleteTempFile(out);
        return o;
    }
    o.gedFile = out;
    o.result = UnpackResult::Ok;
    return o;
}

std::string megabytes(std::uint64_t bytes) { return std::to_string((bytes + (1u << 20) - 1) >> 20) + " MB"; }

// The machine's side of a failed write or read, with what unpacking needs.
std::string localText(const Outcome& o) {
    const std::string& dir = o.folder;
    // Blocks carry no length: every block but the last is full as packed.
    const std::uint64_t expanded = std::uint64_t(o.trailer.BlockCount) * payload::kMaxBlockLength;
    const std::uint64_t needed = o.archiveLength + expanded; // the archive copy lives until the end
    int error = o.error;
    if (o.writing && plat::FileSizeLimitReached()) error = EFBIG;
    if (o.writing && error == ENOSPC) {
        std::string text = kCannotUnpack + ": the disk that holds the temporary folder " + dir +
                           " is full.  Unpacking needs up to " + megabytes(needed) + " there";
        struct statvfs fs {};
        if (::statvfs(dir.c_str(), &fs) == 0)
            text += ", and " + megabytes(std::uint64_t(fs.f_bavail) * fs.f_frsize) + " are free";
        return text + "." + kWillClose;
    }
    if (o.writing && error == EDQUOT)
        return kCannotUnpack + ": your disk quota for the temporary folder " + dir +
               " is used up.  Unpacking needs up to " + megabytes(needed) + " there." + kWillClose;
    if (o.writing && error == EFBIG)
        return kCannotUnpack + " into the temporary folder " + dir + ".  " + plat::FileSizeLimitText() +
               "  The unpacked file needs up to " + megabytes(expanded) + "." + kWillClose;
    const std::string why = error ? std::strerror(error) : "unknown error";
    return kCannotUnpack + ": " + (o.writing ? "writing into" : "reading from") + " the temporary folder " + dir +
           " failed (" + why + ")." + kWillClose;
}

std::string failureText(const Outcome& o, const std::string& ownPath) {
    switch (o.fault) {
    case Outcome::Fault::Local: return localText(o);
    case Outcome::Fault::OwnFile:
        return kCannotUnpack + ": the program file " + ownPath + " cannot be read to its end." + kWillClose;
    case Outcome::Fault::NoMemory: return kCannotUnpack + ": there is not enough memory." + kWillClose;
    case Outcome::Fault::Text: return o.detail;
    case Outcome::Fault::Damaged:
    case Outcome::Fault::None: break;
    }
    return (o.detail.empty() ? "" : o.detail + "\r\n") +
           "The GEDCOM file in this program is damaged.  The program will now close.";
}

} // namespace

UnpackResult UnpackSelfViewPayload(const std::string& ownPath, TSelfViewTrailer& trailer, std::string& gedFile,
                                   std::string& errorText) {
    gedFile.clear();
    errorText.clear();
    const Outcome o = unpack(ownPath);
    trailer = o.trailer;
    if (o.result == UnpackResult::NoGedcom) ZELT::ShowNoGedcomMessage();
    if (o.result != UnpackResult::Ok) {
        if (o.result == UnpackResult::Failed) errorText = failureText(o, ownPath);
        return o.result;
    }
    gedFile = o.gedFile;
    return UnpackResult::Ok;
}
