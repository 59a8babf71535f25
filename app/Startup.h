#pragma once
// Start and stop of the self-viewing program, without windows: the test that
// the own file carries a payload, the trailer read, the copy of the archive
// range into a temporary file, and the entry sequence around the windows.
#include <cstdint>
#include <functional>
#include <string>

#include "app/SelfViewTrailer.h"

namespace ZELT {

extern const char* const kNoGedcomText;
extern const char* const kNoGedcomCaption;
extern const char* const kIOErrorText;

// What the end of a program file holds.
enum class TrailerCheck {
    Ok,
    Unreadable, // cannot be opened or read
    TooShort,   // smaller than a trailer
    NoMagic,    // the last four bytes are not the trailer mark
    BadOffset,  // the archive would start inside or after the trailer
    NoBlocks,   // the trailer announces no archive block
};

// Reads and checks the trailer of the file. trailer and fileSize are filled
// whenever the file could be read far enough.
TrailerCheck InspectSelfViewFile(const std::string& path, TSelfViewTrailer* trailer, std::uint64_t* fileSize);

// The message box for a file without a usable payload.
void ShowNoGedcomMessage();

// True when the file ends with a usable trailer; otherwise shows the
// message and returns false.
bool PayloadPresent(const std::string& ownPath);

// Fills trailer from the file; on a missing or unusable trailer shows the
// message and returns false.
bool ReadSelfViewTrailer(const std::string& ownPath, TSelfViewTrailer& trailer);

// Creates (or truncates) destName and copies length bytes of the source,
// from offset on, in chunks of 1 MiB. False when the source is not
// open, the destination cannot be made, the source ends early or a write
// fails; writeError then holds the errno of the failed creation or write (0
// when the source was at fault). A link, a file with another name or
// anything but a regular file at destName is refused as
// plat::openTempForWriting says. A close asked for (plat::cancelRequested)
// stops the copy between chunks: false with ECANCELED. A destination this
// call created is removed again on failure.
bool CopyPayloadToFile(int sourceFd, std::uint64_t offset, const std::string& destName, std::uint64_t length,
                       int* writeError = nullptr);

enum class ArchiveResult {
    Ok,
    NoGedcom,   // the trailer is missing or unusable
    CopyFailed, // the archive could not be copied to the temporary folder
    Cancelled,  // a close was asked for while it was copied
};

// Reads the trailer and copies the archive range of the own file into
// archiveFile, a temporary file the caller made and deletes; shows nothing.
// archiveLength gets the length of the range, writeError what
// CopyPayloadToFile gives.
ArchiveResult CopySelfViewArchive(const std::string& ownPath, TSelfViewTrailer& trailer, const std::string& archiveFile,
                                  std::uint64_t* archiveLength = nullptr, int* writeError = nullptr);

// Folder part of a path, with its trailing '/'.
std::string FolderOf(const std::string& path);

// The entry sequence: settings from settingsPath, the payload test on
// ownPath (the program ends without saving settings when it fails), the
// program folder, then runWindows. An exception escaping runWindows shows
// "Error with I/O". Settings are then saved and the settings file closed.
// Returns the exit code.
int Run(const std::string& ownPath, const std::string& settingsPath, const std::function<int()>& runWindows);

} // namespace ZELT
