#pragma once
// Private temporary folder and the "qel*.tmp" files the program keeps there,
// and the working files that saves of a user's files write through.
#include <fcntl.h>
#include <memory>
#include <ostream>
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
// With dir (an open folder) templ names the file in that folder.
int createUniqueFile(std::string& templ, int suffixLen, int dir = AT_FDCWD);
// Opens path with flags (and close-on-exec) without ever blocking on it,
// creating it with mode 0600 when flags ask for it: -1 with errno ENXIO for
// anything but a regular file (a pipe, a device, a folder), and with oneName
// EMLINK for a file that has another name too (a hard link). With dir (an
// open folder) path names the file in that folder.
int openRegularFile(const std::string& path, int flags, bool oneName = false, int dir = AT_FDCWD);
// Opens path for writing, creating it (mode 0600) when missing, as a
// temporary file of ours must be: never through a link and never blocking.
// Returns the descriptor, or -1 with errno ELOOP for a symbolic link, EMLINK
// for a file with another name (a hard link) and ENXIO for anything but a
// regular file (a pipe, a device).
int openTempForWriting(const std::string& path);
// The mode an ordinary new file gets: 0666 less the user's umask; for a file
// made by createUniqueFile that becomes the user's own.
unsigned newFileMode();

// One save of a user's file; every save goes through one. Open makes a fresh
// working file beside path (".~XXXXXX.part") that Commit puts in path's place
// when whole and on the disk, so a failed save leaves the file that was there
// as it was. A replaced file keeps its permission bits and its group, or loses
// the group's bits when its group cannot be kept; a new one gets a new file's
// mode. A file there that the user may not write, and anything there but a
// regular file (a pipe, a socket, a device, a folder), is refused. Where the
// folder takes no new file, path itself is emptied and written in place
// (unless refused), but only a regular file of one name, opened without
// following a link, that is the very file checked. Every step works in the
// folder Open found, so a link on the way swapped meanwhile sends none of them
// elsewhere. Error() says which file failed and why.
class SaveFile {
public:
    enum class InPlace { Allowed, Refused };
    explicit SaveFile(std::string path, InPlace inPlace = InPlace::Allowed);
    // A working file that was not committed goes.
    ~SaveFile();
    SaveFile(const SaveFile&) = delete;
    SaveFile& operator=(const SaveFile&) = delete;

    bool open();
    // The file's buffered stream: a write that fails sets its badbit, and Error() says why.
    std::ostream& out();
    // Flushes and closes the file until Reopen or Commit; false when a write failed.
    bool close();
    // Opens the closed file again to add to it, if it is still the file Open made.
    bool reopen();
    // The permission bits the file gets on Commit instead of those it would keep.
    void setMode(unsigned mode) { m_setMode = int(mode); }
    // Flushes the file to the disk, closes it and puts it in path's place.
    bool commit();
    // The folder Open opened (O_PATH), while the file is open.
    int folder() const { return m_dir; }

    // The working file's name: path itself when it is written in place.
    const std::string& working() const { return m_working; }
    bool writtenInPlace() const { return m_inPlace; }
    // What failed and why, naming path.
    std::string error() const;
    // " The file was left incomplete." for a file written in place, else empty.
    std::string incomplete() const;

    // The message Open would give for path before it changes anything, or
    // empty; it changes nothing itself. Checks the page files of a save
    // before any of them is emptied in place.
    static std::string refusal(const std::string& path);
    // True when saving path would write it in place: its folder takes no new file.
    static bool inPlaceOnly(const std::string& path);

private:
    enum class Step { None, Refused, NotRegular, Create, Working, Place, Changed, Write, Commit };
    struct Output;
    bool fail(Step step, int err);
    std::string message(Step step, int err) const;
    void closeQuietly();
    bool openFolder();

    std::string m_path, m_working;
    std::string m_name, m_workingName; // in the folder
    int m_dir = -1;
    unsigned long m_dirDev = 0, m_dirIno = 0; // of the folder Open opened
    bool m_allowInPlace;
    bool m_inPlace = false, m_replacing = false, m_made = false, m_committed = false;
    unsigned m_mode = 0;
    unsigned m_gid = 0;
    int m_setMode = -1;
    unsigned long m_dev = 0, m_ino = 0; // of the file opened, for Reopen
    Step m_step = Step::None;
    int m_errno = 0;
    std::unique_ptr<Output> m_out;
};

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
