#pragma once
// Turning the own file's payload into a temporary GEDCOM file.
#include <string>

#include "app/SelfViewTrailer.h"

enum class UnpackResult {
    Ok,
    NoGedcom, // the trailer is missing or unusable; its message was shown
    Failed,   // copying or expanding failed; errorText says why
};

// Reads the trailer of ownPath, copies the archive range into a first "qel"
// temporary file, expands it into a second one (gedFile) and deletes the
// first. On any result but Ok no temporary file is left behind.
// A CRC mismatch counts as Failed: the data would be damaged. A file that
// cannot be written or read in the temporary folder is the machine's fault,
// not the file's: errorText then names the folder and what it lacks.
UnpackResult UnpackSelfViewPayload(const std::string& ownPath, TSelfViewTrailer& trailer, std::string& gedFile,
                                   std::string& errorText);
