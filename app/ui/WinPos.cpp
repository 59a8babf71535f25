#include "app/ui/WinPos.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include "model/Ini2.h"

namespace {
// Show states as the settings file stores them.
constexpr int kShowNormal = 1, kShowMinimized = 2, kShowMaximized = 3;
} // namespace

namespace WinPos {

void SaveWindowPos(QWidget* window, const std::string& section) {
    const QRect r = window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    const int show = window->isMinimized() ? kShowMinimized : window->isMaximized() ? kShowMaximized : kShowNormal;
    const QPoint maxPos = window->isMaximized() ? window->geometry().topLeft() : QPoint(0, 0);
    ini2::WriteInteger(section, "ShowCmd", show);
    ini2::WriteInteger(section, "MinX", -1);
    ini2::WriteInteger(section, "MinY", -1);
    ini2::WriteInteger(section, "MaxX", maxPos.x());
    ini2::WriteInteger(section, "MaxY", maxPos.y());
    ini2::WriteInteger(section, "Top", r.top());
    ini2::WriteInteger(section, "Left", r.left());
    ini2::WriteInteger(section, "Bottom", r.bottom() + 1);
    ini2::WriteInteger(section, "Right", r.right() + 1);
}

void RestoreWindowPos(QWidget* window, bool, const std::string& section) {
    QRect screen(0, 0, 1024, 768);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->availableGeometry();
    const int show = int(ini2::ReadInteger(section, "ShowCmd", kShowMaximized));
    const int top = int(ini2::ReadInteger(section, "Top", screen.height() / 8));
    const int left = int(ini2::ReadInteger(section, "Left", screen.width() / 8));
    const int bottom = int(ini2::ReadInteger(section, "Bottom", top * 7));
    const int right = int(ini2::ReadInteger(section, "Right", left * 7));
    // A rectangle that no longer fits any screen (another monitor, a hand
    // edited file) falls back to the default one.
    QRect r(QPoint(left, top), QPoint(right - 1, bottom - 1));
    if (r.width() < 200 || r.height() < 150 || !screen.intersects(r))
        r = QRect(QPoint(screen.width() / 8, screen.height() / 8),
                  QPoint(screen.width() * 7 / 8, screen.height() * 7 / 8));
    window->setGeometry(r);
    if (show == kShowMaximized)
        window->showMaximized();
    else if (show == kShowMinimized)
        window->showMinimized();
}

} // namespace WinPos
