#pragma once
// A short notice ("Copy to Clipboard Complete") shown for half a second.
// At most one is on screen; a request while one shows is dropped.
#include <string>

class QWidget;

namespace FlashMessageDlg {
// centreOn: the window to centre on; nullptr takes the active window.
void ShowFlashMessage(const std::string& AText, QWidget* centreOn = nullptr);
bool IsShown();
// The notice on screen, nullptr when none (for tests).
QWidget* Current();
} // namespace FlashMessageDlg
