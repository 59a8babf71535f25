#include "app/ui/QtHooks.h"

#include <algorithm>

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include "app/ui/SignalClose.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

void openWithDesktop(const std::string& target, std::function<void()> failed, int waitMs) {
    // A file the program wrote is named by the system's bytes; a link is text.
    const QString arg = target.starts_with('/') ? toQPath(target) : QUrl(toQ(target)).toString();
    // The opener runs in the background of a small shell that reports its
    // exit status if it ends in time; an opener still running is left to run,
    // and so is one whose shell is ended when the program quits.
    static const char* const script =
        "xdg-open \"$1\" </dev/null >/dev/null 2>&1 & p=$!; i=0; "
        "while [ $i -lt \"$2\" ]; do kill -0 $p 2>/dev/null || { wait $p; exit $?; }; sleep 0.1; i=$((i+1)); done; "
        "exit 0";
    auto* sh = new QProcess(QCoreApplication::instance());
    // Runs once: a shell that cannot start never finishes.
    auto done = [sh, failed = std::move(failed)](bool opened) {
        sh->deleteLater();
        // Nothing to tell while the program is closing.
        if (!opened && failed && !QCoreApplication::closingDown()) failed();
    };
    QObject::connect(sh, &QProcess::finished, sh, [done](int code, QProcess::ExitStatus status) {
        done(status == QProcess::NormalExit && code == 0);
    });
    QObject::connect(sh, &QProcess::errorOccurred, sh, [done](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) done(false);
    });
    sh->start("/bin/sh", {"-c", script, "sh", arg, QString::number(std::max(1, waitMs / 100))});
}

void installQtHooks() {
    auto& h = plat::hooks();
    h.messageBox = [](const std::string& text, const std::string& caption, unsigned flags) {
        // The program is ending on a signal: a box would hold that up. The
        // answer given is the one that does nothing.
        if (TSignalClose::Signalled())
            return int(flags & plat::MB_YESNO ? plat::IDNO : flags & plat::MB_OKCANCEL ? plat::IDCANCEL : plat::IDOK);
        QMessageBox box;
        box.setWindowTitle(toQMessage(caption));
        box.setTextFormat(Qt::PlainText); // messages name files and quote the file's own text
        box.setText(toQMessage(text));
        const unsigned icon = flags & 0xF0;
        box.setIcon(icon == plat::MB_ICONERROR         ? QMessageBox::Critical
                    : icon == plat::MB_ICONWARNING     ? QMessageBox::Warning
                    : icon == plat::MB_ICONQUESTION    ? QMessageBox::Question
                    : icon == plat::MB_ICONINFORMATION ? QMessageBox::Information
                                                       : QMessageBox::NoIcon);
        if (flags & plat::MB_YESNO) {
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? int(plat::IDYES) : int(plat::IDNO);
        }
        if (flags & plat::MB_OKCANCEL) {
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            return box.exec() == QMessageBox::Ok ? int(plat::IDOK) : int(plat::IDCANCEL);
        }
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return int(plat::IDOK);
    };
    h.showMessage = [](const std::string& text) {
        if (TSignalClose::Signalled()) return;
        QMessageBox box;
        box.setWindowTitle(QApplication::applicationName());
        box.setTextFormat(Qt::PlainText);
        box.setText(toQMessage(text));
        box.exec();
    };
    h.processMessages = [] {
        // A pump inside a pump would let a second long job start under the first.
        static bool inside = false;
        if (inside) return;
        inside = true;
        QCoreApplication::processEvents();
        inside = false;
    };
    h.setBusyCursor = [](bool busy) {
        // The core counts busy levels itself; one override cursor is enough.
        if (busy && QApplication::overrideCursor())
            QApplication::changeOverrideCursor(Qt::WaitCursor);
        else if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
    };
    h.setClipboardText = [](const std::string& text) { QGuiApplication::clipboard()->setText(toQ(text)); };
    h.shellOpen = [](const std::string& target, std::function<void()> failed) {
        openWithDesktop(target, std::move(failed));
    };
    h.textWidth = [](const std::string& text, const void* font) {
        const QFont f = font ? *static_cast<const QFont*>(font) : QApplication::font();
        return QFontMetrics(f).horizontalAdvance(toQ(text));
    };
    h.screenDpi = [] {
        QScreen* s = QGuiApplication::primaryScreen();
        return s ? int(s->logicalDotsPerInchX() + 0.5) : 96;
    };
}
