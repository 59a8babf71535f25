#pragma once
// Installs the Qt implementations of the platform hooks (message boxes,
// message pump, busy cursor, clipboard, links, text metrics, screen).
void installQtHooks();
