#include "app/ui/SignalClose.h"

#include <atomic>
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
std::atomic<bool> g_signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void onSignal(int sig) {
    const int saved = errno;
    g_signalled = true;
    // The unpacking stops at once, even before there is an event loop to close the window.
    plat::setCancelRequested(true);
    const char c = char(sig);
    (void)!::write(g_pipe[1], &c, 1);
    errno = saved;
}

// A write to a closed pipe (stderr, say) then fails with EPIPE instead of
// ending the program. A handler rather than SIG_IGN: programs started from
// here get the default back.
void onBrokenPipe(int) {}

// Installs handler for sig unless the program was started with sig ignored
// (nohup, a shell's trap): the one who started it meant that.
void catchUnlessIgnored(int sig, void (*handler)(int)) {
    struct sigaction old {};
    if (::sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) return;
    struct sigaction sa {};
    sa.sa_handler = handler;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    ::sigaction(sig, &sa, nullptr);
}

} // namespace

void TSignalClose::CatchSignals() {
    if (g_pipe[0] >= 0 || ::pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    for (int s : kSignals) catchUnlessIgnored(s, onSignal);
    catchUnlessIgnored(SIGPIPE, onBrokenPipe);
}

bool TSignalClose::Signalled() { return g_signalled; }

TSignalClose::TSignalClose(QWidget* window) : FWindow(window) {
    CatchSignals();
    if (g_pipe[0] < 0) return;
    // A signal already caught left its byte in the pipe: the notifier fires at once.
    FNotifier = new QSocketNotifier(g_pipe[0], QSocketNotifier::Read, this);
    connect(FNotifier, &QSocketNotifier::activated, this, [this] { Received(); });
}

void TSignalClose::SetWindow(QWidget* window) {
    FWindow = window;
    if (FWindow && m_closeAsked) QTimer::singleShot(0, this, [this] { CloseWhenIdle(); });
}

TSignalClose::~TSignalClose() {
    if (!FNotifier) return;
    // The handlers stay: the program ends soon after, and a signal meanwhile
    // must not end it before the unpacking has removed its files.
    const int readEnd = g_pipe[0], writeEnd = g_pipe[1];
    g_pipe[0] = g_pipe[1] = -1;
    ::close(readEnd);
    ::close(writeEnd);
    g_signalled = false;
}

void TSignalClose::Received() {
    char buf[16];
    while (::read(g_pipe[0], buf, sizeof buf) > 0) {
    }
    // A further signal while the window closes changes nothing: the close
    // under way ends the program and removes its files.
    if (m_closing) return;
    m_closing = true;
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
    if (!FWindow) m_closeAsked = true;
    if (!FWindow || !FWindow->close()) QCoreApplication::quit();
}
