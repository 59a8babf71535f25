#include "app/Unpack.h"

#include "app/Startup.h"
#include "payload/PayloadErrors.h"
#include "payload/ResCompress.h"
#include "platform/FileSizeLimit.h"
#include "platform/TempFiles.h"

namespace {
const std::string kCannotUnpack = "Cannot unpack the GEDCOM file.  ";
} // namespace

UnpackResult UnpackSelfViewPayload(const std::string& ownPath, TSelfViewTrailer& trailer, std::string& gedFile,
                                   std::string& errorText) {
    gedFile.clear();
    errorText.clear();
    std::string archive;
    ZELT::ArchiveResult copied;
    try {
        copied = ZELT::CopySelfViewArchive(ownPath, trailer, archive);
    } catch (const plat::TempError& e) {
        errorText = e.what(); // names the folder that cannot be used
        return UnpackResult::Failed;
    }
    switch (copied) {
    case ZELT::ArchiveResult::NoGedcom: return UnpackResult::NoGedcom;
    case ZELT::ArchiveResult::CopyFailed:
        errorText = plat::FileSizeLimitReached()
                        ? kCannotUnpack + plat::FileSizeLimitText()
                        : "Error with I/O: cannot write the archive into the temporary folder " + plat::tempDir();
        return UnpackResult::Failed;
    case ZELT::ArchiveResult::Ok: break;
    }
    std::string out;
    bool ok = false;
    try {
        out = plat::createTempFile();
        payload::WRESCompress expander;
        ok = expander.ExpandFile(archive, out, trailer.BlockCount);
        // On a CRC mismatch the expander has shown its message already.
    } catch (const std::exception& e) {
        errorText = e.what();
        ok = false;
    }
    plat::deleteTempFile(archive);
    if (!ok && plat::FileSizeLimitReached()) errorText = kCannotUnpack + plat::FileSizeLimitText();
    if (!ok) {
        if (!out.empty()) plat::deleteTempFile(out);
        // Whatever went wrong, the user learns that the program ends here.
        errorText += std::string(errorText.empty() ? "" : "\r\n") +
                     "The GEDCOM file in this program is damaged.  The program will now close.";
        return UnpackResult::Failed;
    }
    gedFile = out;
    return UnpackResult::Ok;
}
