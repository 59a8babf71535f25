#include "model/ui/WaitDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "model/Global.h"
#include "model/WaitHooks.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

namespace {

constexpr int kWidth = 432;
constexpr int kHeightWithCancel = 100;
constexpr int kHeightPlain = 67;

QPointer<TWaitDlg> g_dialog;
int g_count = 0;

} // namespace

TWaitDlg::TWaitDlg()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint) {
    setObjectName("WaitDlg");
    setWindowTitle("Working...");
    setModal(false);

    LabMsg = new QLabel(this);
    LabMsg->setObjectName("LabMsg");
    LabMsg->setAlignment(Qt::AlignCenter);
    QFont f("Arial");
    f.setPixelSize(16);
    f.setBold(true);
    LabMsg->setFont(f);

    butCancel = new QPushButton("Cancel", this);
    butCancel->setObjectName("butCancel");
    connect(butCancel, &QPushButton::clicked, this, &TWaitDlg::butCancelClick);

    ShowTimer = new QTimer(this);
    ShowTimer->setObjectName("ShowTimer");
    ShowTimer->setSingleShot(false);
    ShowTimer->setInterval(kShowDelayMs);
    connect(ShowTimer, &QTimer::timeout, this, &TWaitDlg::ShowTimerTimer);

    qApp->installEventFilter(this);
}

TWaitDlg::~TWaitDlg() {
    if (qApp) qApp->removeEventFilter(this);
}

void TWaitDlg::Configure(bool withCancel) {
    int h = withCancel ? kHeightWithCancel : kHeightPlain;
    if (Global::IsLargeFonts()) h = int(h * 1.25);
    const int labelH = 24;
    if (withCancel) {
        butCancel->setEnabled(true);
        butCancel->show();
        plat::setCancelRequested(false);
        const int top = (h - labelH - 8 - 25) / 2;
        LabMsg->setGeometry(7, top, 417, labelH);
        butCancel->setGeometry((kWidth - 75) / 2, top + labelH + 8, 75, 25);
        butCancel->setFocus();
    } else {
        butCancel->hide();
        butCancel->setEnabled(false);
        LabMsg->setGeometry(7, (h - labelH) / 2, 417, labelH);
    }
    setFixedSize(kWidth, h);
    // Centred on the screen.
    QScreen* screen = m_owner ? m_owner->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, h / 2));
    }
}

void TWaitDlg::ShowAndPaint() {
    show();
    raise();
    repaint();
}

void TWaitDlg::ShowWait(const std::string& message, bool showNow, bool withCancel, QWidget* owner, QWidget* typing) {
    if (!g_dialog) {
        g_dialog = new TWaitDlg();
        // A dialog lost with its owner leaves no count behind that would
        // keep later dialogs from showing their message.
        g_count = 0;
    }
    TWaitDlg* dlg = g_dialog;
    ++g_count;
    if (g_count == 1) {
        dlg->m_owner = owner ? owner->window() : QApplication::activeWindow();
        dlg->m_disabledOwner = false;
        dlg->m_typing = typing;
        // Keys go on reaching the typing widget's window, not this dialog.
        dlg->setAttribute(Qt::WA_ShowWithoutActivating, typing != nullptr);
        dlg->LabMsg->setText(toQ(message));
    }
    dlg->Configure(withCancel);
    if (g_count == 1) {
        if (showNow)
            dlg->ShowAndPaint();
        else
            dlg->ShowTimer->start();
    }
}

void TWaitDlg::ShowTimerTimer() {
    ShowTimer->stop();
    // Disable the owner only when it was enabled, so the hide gives back
    // exactly what this dialog took. A disabled window drops the keys of its
    // typing widget: the event filter holds back its other input instead.
    if (m_owner && m_owner->isEnabled() && m_owner != this && !(m_typing && m_typing->window() == m_owner)) {
        m_owner->setEnabled(false);
        m_disabledOwner = true;
    }
    ShowAndPaint();
}

void TWaitDlg::HideWait() {
    if (g_dialog && g_count == 1) {
        TWaitDlg* dlg = g_dialog;
        g_dialog = nullptr;
        dlg->ShowTimer->stop();
        if (dlg->m_disabledOwner && dlg->m_owner) dlg->m_owner->setEnabled(true);
        dlg->hide();
        delete dlg;
    }
    if (g_count > 0) --g_count;
}

void TWaitDlg::butCancelClick() { plat::setCancelRequested(true); }

void TWaitDlg::InstallHooks() {
    WaitHooks::handlers().show = [](const std::string& message, bool showNow, bool withCancel) {
        ShowWait(message, showNow, withCancel, nullptr);
    };
    WaitHooks::handlers().hide = [] { HideWait(); };
}

TWaitDlg* TWaitDlg::Instance() { return g_dialog; }

int TWaitDlg::NestCount() { return g_count; }

void TWaitDlg::closeEvent(QCloseEvent* event) {
    // Only HideWait ends the dialog.
    event->ignore();
}

void TWaitDlg::reject() {
    // Escape cancels when cancelling is offered; it never closes the dialog.
    if (butCancel->isVisible() && butCancel->isEnabled()) butCancelClick();
}

bool TWaitDlg::BelongsToAllowedWindow(QWidget* w) const {
    QWidget* top = w->window();
    if (top == this) return true;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && top == modal) return true;
    if (QWidget* popup = QApplication::activePopupWidget(); popup && top == popup) return true;
    return false;
}

bool TWaitDlg::InTypingWindow(QWidget* w) const { return m_typing && w->window() == m_typing->window(); }

bool TWaitDlg::TypingKey(QWidget* w, QKeyEvent* event) {
    if (!InTypingWindow(w) && BelongsToAllowedWindow(w)) return true;
    // Tab would take the focus, and the keys after it, away.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) return false;
    if (w == m_typing) return true;
    // A key typed at another widget (the focus may still be on the window
    // the dialog opened from, or on a button just clicked) is the typing
    // widget's. One the typing widget left unused (Enter, Escape) and that
    // now travels up to its window stays held back.
    if (event->spontaneous() && !w->isAncestorOf(m_typing)) {
        QKeyEvent key(event->type(), event->key(), event->modifiers(), event->text(), event->isAutoRepeat(),
                      event->count());
        QCoreApplication::sendEvent(m_typing, &key);
    }
    return false;
}

bool TWaitDlg::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Close: {
        if (!watched->isWidgetType()) break;
        auto* w = static_cast<QWidget*>(watched);
        if (m_typing && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
            if (TypingKey(w, static_cast<QKeyEvent*>(event))) break;
            return true;
        }
        if (InTypingWindow(w) || !BelongsToAllowedWindow(w)) {
            if (event->type() == QEvent::Close) event->ignore();
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride: {
        if (!watched->isWidgetType()) break;
        auto* w = static_cast<QWidget*>(watched);
        if (InTypingWindow(w) ? w == m_typing : BelongsToAllowedWindow(w)) break;
        // Accepting the override keeps the window's shortcuts from firing.
        event->accept();
        return true;
    }
    case QEvent::Shortcut: {
        // Shortcuts go to actions and shortcut objects; only the dialog's own pass.
        QObject* o = watched;
        while (o && o != this) o = o->parent();
        if (o == this) break;
        if (QWidget* modal = QApplication::activeModalWidget(); modal && !InTypingWindow(modal)) {
            QObject* m = watched;
            while (m && m != modal) m = m->parent();
            if (m == modal) break;
        }
        return true;
    }
    default: break;
    }
    return QDialog::eventFilter(watched, event);
}
