#pragma once
// Private temporary folder and the "qel*.tmp" files the program keeps there.
#include <stdexcept>
#include <string>
#include <vector>

namespace plat {

struct TempError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The per-user private temp folder with a trailing '/': "brenthaul-<uid>" in
// $TMPDIR when set, else in /tmp. Created mode 0700; refused (TempError, naming
// the folder) when it is a symlink, not owned by us or open to others.
std::string tempDir();

// Creates a fresh empty "qel*.tmp" file (mode 0600) in tempDir() that holds a
// shared lock from the moment its name appears, so other instances' clean-up
// leaves it alone. Returns its full name. Throws TempError when no file can be
// made.
std::string createTempFile();

// Creates a file that did not exist, from templ whose "XXXXXX" stands just
// before a suffix of suffixLen characters: exclusive, never through a symlink,
// mode 0600, close-on-exec. Returns the descriptor and the name in templ, or -1.
int createUniqueFile(std::string& templ, int suffixLen);
// Opens path with flags (and close-on-exec) without ever blocking on it,
// creating it with mode 0600 when flags ask for it: -1 with errno ENXIO for
// anything but a regular file (a pipe, a device, a folder), and with oneName
// EMLINK for a file that has another name too (a hard link).
int openRegularFile(const std::string& path, int flags, bool oneName = false);
// Opens path for writing, creating it (mode 0600) when missing, as a
// temporary file of ours must be: never through a link and never blocking.
// Returns the descriptor, or -1 with errno ELOOP for a symbolic link, EMLINK
// for a file with another name (a hard link) and ENXIO for anything but a
// regular file (a pipe, a device).
int openTempForWriting(const std::string& path);
// The mode an ordinary new file gets: 0666 less the user's umask; for a file
// made by createUniqueFile that becomes the user's own.
unsigned newFileMode();

// Creates a fresh file beside path (".~XXXXXX.part" in its folder) that takes
// path's content until commitWorkingFile puts it in path's place: a file
// already there stays whole until its replacement is. It gets the permission
// bits and, where we may set it, the group of the file it replaces, else the
// mode a new file gets. When the folder takes no new file but path is a file we
// may write, path itself is opened, emptied, and returned in working: the save
// is written in place. Returns the descriptor and the name in working, or -1
// with errno set and working naming what failed: path itself, or the working
// file (".~XXXXXX.part") when path is there but nothing could be made beside it.
int createWorkingFile(const std::string& path, std::string& working);
// Puts a working file in path's place (nothing to do for one written in
// place). Returns false with errno set.
bool commitWorkingFile(const std::string& working, const std::string& path);
// The message for a createWorkingFile that failed with err: which file could
// not be made or written, and why.
std::string workingFileError(const std::string& path, const std::string& working, int err);

// Drops our lock on a file made by createTempFile() and deletes it.
// Returns false when the file could not be deleted (it may be gone already).
bool deleteTempFile(const std::string& path);

// Drops our lock without deleting (the file is handed to someone else).
void releaseTempFile(const std::string& path);

// True when path is a live temp file of this process.
bool isOwnTempFile(const std::string& path);

// Deletes leftover "qel*.tmp" files in tempDir(): only our own regular files
// that nobody holds a lock on. Returns the names deleted.
std::vector<std::string> deleteLeftoverTempFiles();

// Folder for per-user configuration files ($XDG_CONFIG_HOME/brenthaul/ or
// ~/.config/brenthaul/), created when missing, with trailing '/'.
std::string configDir();

// Full path of the running program file.
std::string ownProgramPath();

} // namespace plat
