#pragma once
// Services the core needs from the desktop. The core calls these hooks; the
// application installs Qt implementations, tests install recording fakes.
#include <cstdint>
#include <functional>
#include <string>

namespace plat {

// Message box buttons and icon (flags, combined with |) and the button that closed the box.
enum MsgFlags : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_YESNO = 0x4,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30,
    MB_ICONINFORMATION = 0x40,
};
enum MsgResult : int { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct CalendarTime {
    int year = 1970, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0, msec = 0;
};

struct Hooks {
    // Modal message box; text and caption are UTF-8, so a message can name a
    // file as the system spells it (plat::pathText). Returns one of MsgResult.
    std::function<int(const std::string& text, const std::string& caption, unsigned flags)> messageBox;
    // Information message in a box with only an OK button, titled with the
    // program's name; UTF-8.
    std::function<void(const std::string& text)> showMessage;
    // Lets pending window messages through during long work.
    std::function<void()> processMessages;
    // Hourglass on (true) or normal cursor (false).
    std::function<void(bool busy)> setBusyCursor;
    // Clipboard text, cp1252.
    std::function<void(const std::string& text)> setClipboardText;
    // Opens a link or a file the program wrote; the caller has already vetted
    // it. Returns at once: the desktop answers later, and `failed` (when set)
    // then runs on the window's thread if no viewer took the target.
    std::function<void(const std::string& target, std::function<void()> failed)> shellOpen;
    // Width in pixels of a cp1252 text in the given font context (nullptr = default font).
    std::function<int(const std::string& text, const void* font)> textWidth;
    // Logical pixels per inch of the screen.
    std::function<int()> screenDpi;
    // Local wall-clock time ("today").
    std::function<CalendarTime()> now;
};

// The installed hooks. Every member has a harmless default (no UI, real clock).
Hooks& hooks();
// Restores every hook to its default.
void resetHooks();

// Convenience wrappers that never throw when a hook is missing.
int messageBox(const std::string& text, const std::string& caption, unsigned flags = MB_OK);
void showMessage(const std::string& text);
void processMessages();
void setBusyCursor(bool busy);
CalendarTime now();
// Milliseconds from a clock that never goes back: for load times and timeouts.
std::uint64_t tickCount();

// The global cancel flag: set by the wait dialog's Cancel button and by a
// close asked for (the window's or a signal's). Any thread may read it; a
// signal handler may set it.
bool cancelRequested();
void setCancelRequested(bool value);

} // namespace plat
