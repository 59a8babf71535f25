#pragma once
// Turning the own file's payload into a temporary GEDCOM file.
#include <cstdint>
#include <memory>
#include <string>

#include "app/SelfViewTrailer.h"

enum class UnpackResult {
    Ok,
    NoGedcom,  // the trailer is missing or unusable; its message was shown
    Failed,    // copying or expanding failed; errorText says why
    Cancelled, // a close was asked for (plat::cancelRequested); nothing was shown
};

// Unpacking on threads of its own, started as the program starts so that it
// runs while the windows are built. It shows nothing and touches no window:
// UnpackSelfViewPayload on the same file takes its result and reports it.
class TUnpackAhead {
public:
    explicit TUnpackAhead(const std::string& ownPath);
    // Waits for the threads; an unpacked file nobody took is deleted.
    ~TUnpackAhead();
    TUnpackAhead(const TUnpackAhead&) = delete;
    TUnpackAhead& operator=(const TUnpackAhead&) = delete;

    struct State;

private:
    friend UnpackResult UnpackSelfViewPayload(const std::string&, TSelfViewTrailer&, std::string&, std::string&);
    std::unique_ptr<State> m_state;
};

// Reads the trailer of ownPath, copies the archive range into a first "qel"
// temporary file, expands it into a second one (gedFile) and deletes the
// first; or takes that result from a TUnpackAhead of ownPath. While it waits
// the application processes its messages; "CRC does not match!" is shown for
// each damaged block. A close asked for meanwhile stops the copy and the
// expansion within a block or so. On any result but Ok no temporary file is
// left behind.
// A CRC mismatch counts as Failed: the data would be damaged. A file that
// cannot be written or read in the temporary folder is the machine's fault,
// not the file's: errorText then names the folder and what it lacks.
UnpackResult UnpackSelfViewPayload(const std::string& ownPath, TSelfViewTrailer& trailer, std::string& gedFile,
                                   std::string& errorText);

// The message for a write or read in the temporary folder that failed with the
// errno error: a full disk, a used-up quota and a file-size limit are named as
// such, with what unpacking needs there (and, for a full disk, what is free).
std::string UnpackFolderErrorText(int error, bool writing, const std::string& folder, std::uint64_t archiveLength,
                                  std::uint32_t blockCount);
