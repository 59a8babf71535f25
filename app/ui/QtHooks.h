#pragma once
// Installs the Qt implementations of the platform hooks (message boxes,
// message pump, busy cursor, clipboard, links, text metrics, screen).
void installQtHooks();

#include <functional>
#include <string>

// Hands a file or link to the desktop's opener (xdg-open) without waiting
// for it. It counts as opened when the opener ends well within a few seconds
// or is still running then (a viewer it waits for is showing the file);
// otherwise (no opener, or it fails: no viewer set up for the type) `failed`
// runs, from the event loop, when the opener's exit status arrives.
void openWithDesktop(const std::string& target, std::function<void()> failed, int waitMs = 3000);
