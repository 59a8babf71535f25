#include "app/ui/FlashDialog.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"

namespace {

class TFlashDialog : public QFrame {
public:
    TFlashDialog(const std::string& text, QWidget* centreOn)
        : QFrame(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setAttribute(Qt::WA_DeleteOnClose);
        setAttribute(Qt::WA_ShowWithoutActivating);
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(2);
        auto* v = new QVBoxLayout(this);
        v->setContentsMargins(24, 16, 24, 16);
        panMessage = new QLabel(toQ(text), this);
        panMessage->setObjectName("panMessage");
        QFont f = panMessage->font();
        f.setBold(true);
        panMessage->setFont(f);
        panMessage->setAlignment(Qt::AlignCenter);
        v->addWidget(panMessage);
        adjustSize();
        setMinimumWidth(std::max(width(), 240));
        adjustSize();
        const QRect area = centreOn                           ? centreOn->frameGeometry()
                           : QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                              : QRect();
        if (area.isValid()) move(area.center() - rect().center());
        KillTimer.setSingleShot(true);
        KillTimer.setInterval(500);
        connect(&KillTimer, &QTimer::timeout, this, &QWidget::close);
    }
    QLabel* panMessage = nullptr;
    QTimer KillTimer;
};

QPointer<TFlashDialog> g_flash;

} // namespace

namespace FlashMessageDlg {

void ShowFlashMessage(const std::string& AText, QWidget* centreOn) {
    if (g_flash) return;
    if (!centreOn) centreOn = QApplication::activeWindow();
    g_flash = new TFlashDialog(AText, centreOn);
    g_flash->KillTimer.start();
    g_flash->show();
    g_flash->repaint();
}

bool IsShown() { return !g_flash.isNull(); }

QWidget* Current() { return g_flash.data(); }

} // namespace FlashMessageDlg
