#include "app/ui/SignalClose.h"

#include <cerrno>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>

#include "model/ui/WaitDlg.h"
#include "platform/Hooks.h"

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
// The handler only writes to this pipe; the event loop does the rest.
int g_pipe[2] = {-1, -1};

void onSignal(int sig) {
    const int saved = errno;
    const char c = char(sig);
    (void)!::write(g_pipe[1], &c, 1);
    errno = saved;
}

void defaultHandlers() {
    for (int s : kSignals) ::signal(s, SIG_DFL);
}

} // namespace

TSignalClose::TSignalClose(QWidget* window) : FWindow(window) {
    if (::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    FNotifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { Received(); });
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int s : kSignals) ::sigaction(s, &sa, nullptr);
}

TSignalClose::~TSignalClose() {
    if (!FNotifier) return;
    defaultHandlers();
    ::close(g_pipe[0]);
    ::close(g_pipe[1]);
    g_pipe[0] = g_pipe[1] = -1;
}

void TSignalClose::Received() {
    char buf[16];
    while (::read(g_pipe[0], buf, sizeof buf) > 0) {
    }
    // A second signal while the window closes ends the program at once.
    defaultHandlers();
    // A long job under way stops. Its wait dialog keeps every other window
    // from closing until it is over, so the window closes after it.
    plat::setCancelRequested(true);
    CloseWhenIdle();
}

void TSignalClose::CloseWhenIdle() {
    if (TWaitDlg::Instance()) {
        QTimer::singleShot(20, this, [this] { CloseWhenIdle(); });
        return;
    }
    for (int guard = 0; guard < 16; ++guard) {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == FWindow) break;
        if (auto* d = qobject_cast<QDialog*>(modal))
            d->reject();
        else
            modal->close();
    }
    if (!FWindow->close()) QCoreApplication::quit();
}
