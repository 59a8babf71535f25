#pragma once
// Installs the Qt implementations of the platform hooks (message boxes,
// message pump, busy cursor, clipboard, links, text metrics, screen).
void installQtHooks();

#include <string>

// Hands a file or link to the desktop's opener (xdg-open) and answers
// whether it opened: the opener's exit status when it ends within a few
// seconds (it fails when no viewer is set up for the type), true when it is
// still running then (a viewer it waits for is showing the file).
bool openWithDesktop(const std::string& target, int waitMs = 3000);
