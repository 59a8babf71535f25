#pragma once
// Saves and restores a window's position, size and state in the settings file.
#include <string>

class QWidget;

namespace WinPos {
void SaveWindowPos(QWidget* window, const std::string& section);
void RestoreWindowPos(QWidget* window, bool setMinPosition, const std::string& section);
} // namespace WinPos
