#pragma once
// Errors the archive reader raises. Every one carries the text the user sees.
#include <stdexcept>
#include <string>

namespace payload {

// Base of everything that makes an archive unusable.
struct EArchiveError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A file or block signature that is not what the format says.
struct ESignatureWrong : EArchiveError {
    ESignatureWrong() : EArchiveError("Wrong Signature. Archive could be corrupted.") {}
};

// Seeking before the start of a buffered file.
struct ESeekError : EArchiveError {
    ESeekError() : EArchiveError("SmartSeek General error") {}
};

// Decoding ran more than 20 bytes past a block's coded stream. Raised instead
// of ending the program so the caller can clean up its temporary files.
struct EBitReadOverrun : EArchiveError {
    EBitReadOverrun() : EArchiveError("Too many bytes read in bit mode.") {}
};

// A block header or coded stream that cannot describe a valid block (more
// data than the block buffers hold, positions beyond the block, a stream that
// runs past the end of the archive).
struct EBlockDamaged : EArchiveError {
    explicit EBlockDamaged(const std::string& why) : EArchiveError("The archive is damaged: " + why) {}
};

// Opening, reading or writing a file failed: a fault of the machine, not of
// the archive. Errno says why (0 when not known); Writing tells a failed
// write or creation from a failed read.
struct EFileError : EArchiveError {
    explicit EFileError(const std::string& text, int err = 0, bool writing = false)
        : EArchiveError(text), Errno(err), Writing(writing) {}
    int Errno;
    bool Writing;
};

// The caller asked the expansion to stop (Events::cancelled): the archive is
// fine, and nothing needs telling.
struct ECancelled : std::runtime_error {
    ECancelled() : std::runtime_error("Cancelled") {}
};

} // namespace payload
