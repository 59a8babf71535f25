#include "app/ui/Splash.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/ui/QtText.h"

namespace {

class TNX_SplashScreen : public QFrame {
public:
    explicit TNX_SplashScreen(const std::string& title)
        : QFrame(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
        setFrameStyle(QFrame::Panel | QFrame::Raised);
        setLineWidth(2);
        setFixedSize(402, 251);
        auto* v = new QVBoxLayout(this);
        auto* maker = new QLabel("Quorvane Software", this);
        QFont mf("Arial");
        mf.setPixelSize(27);
        mf.setBold(true);
        mf.setItalic(true);
        maker->setFont(mf);
        v->addWidget(maker);
        AppTitleLabel = new QLabel(toQ(title + " V1.19"), this);
        QFont tf("Arial");
        tf.setPixelSize(16);
        tf.setBold(true);
        AppTitleLabel->setFont(tf);
        v->addWidget(AppTitleLabel);
        auto* g = new QGridLayout();
        QFont bold("Arial");
        bold.setBold(true);
        const char* captions[] = {"Title:", "From:", "Created:"};
        QLabel** values[] = {&labTitle, &labFrom, &labCreated};
        for (int i = 0; i < 3; ++i) {
            g->addWidget(new QLabel(captions[i], this), i, 0);
            *values[i] = new QLabel(this);
            (*values[i])->setFont(bold);
            (*values[i])->setTextFormat(Qt::PlainText); // the sender's texts
            g->addWidget(*values[i], i, 1);
        }
        g->setColumnStretch(1, 1);
        v->addLayout(g);
        v->addStretch();
        v->addWidget(new QLabel("Loading and uncompressing GEDCOM file.  Please wait...", this));
        bar = new QProgressBar(this);
        bar->setRange(0, 100);
        bar->setTextVisible(false);
        v->addWidget(bar);
        ProcessTimer.setInterval(100);
        QObject::connect(&ProcessTimer, &QTimer::timeout, this, [this] {
            int p = bar->value() + 5;
            bar->setValue(p > 100 ? 5 : p);
        });
        ProcessTimer.start();
        if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
    }
    QLabel* AppTitleLabel = nullptr;
    QLabel* labTitle = nullptr;
    QLabel* labFrom = nullptr;
    QLabel* labCreated = nullptr;
    QProgressBar* bar = nullptr;
    QTimer ProcessTimer;
};

TNX_SplashScreen* g_splash = nullptr;

} // namespace

namespace NX_Splash {

void ShowSplash(const std::string& title) {
    HideSplash();
    g_splash = new TNX_SplashScreen(title);
    g_splash->show();
    g_splash->repaint();
    QCoreApplication::processEvents();
}

void SetSplashInfo(const std::string& title, const std::string& from, const std::string& created) {
    if (!g_splash) return;
    g_splash->labTitle->setText(toQ(title));
    g_splash->labFrom->setText(toQ(from));
    g_splash->labCreated->setText(toQ(created));
    g_splash->repaint();
}

void HideSplash() {
    delete g_splash;
    g_splash = nullptr;
}

bool IsShown() { return g_splash != nullptr; }

} // namespace NX_Splash
