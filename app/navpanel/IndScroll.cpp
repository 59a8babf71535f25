#include "app/navpanel/IndScroll.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>

#include "highlight/ui/ScrollNotifier.h"
#include "highlight/ui/SelectionButton.h"
#include "platform/ui/QtText.h"

namespace {

// Glyph of the highlighted-stepping buttons: a highlighted bar and an arrow.
QIcon highlightGlyph(bool next) {
    QPixmap pm(12, 12);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(128, 128, 0));
    p.setBrush(QColor(255, 255, 0));
    const int barX = next ? 8 : 0;
    p.drawRect(barX, 1, 3, 9);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    if (next)
        p.drawPolygon(QPolygon({QPoint(1, 1), QPoint(7, 6), QPoint(1, 11)}));
    else
        p.drawPolygon(QPolygon({QPoint(10, 1), QPoint(4, 6), QPoint(10, 11)}));
    return QIcon(pm);
}

WIndScrollLogic::ScrollCode toLogicCode(int code) {
    switch (code) {
    case WScrollNotifier::LineUp: return WIndScrollLogic::scLineUp;
    case WScrollNotifier::LineDown: return WIndScrollLogic::scLineDown;
    case WScrollNotifier::PageUp: return WIndScrollLogic::scPageUp;
    case WScrollNotifier::PageDown: return WIndScrollLogic::scPageDown;
    case WScrollNotifier::Position: return WIndScrollLogic::scPosition;
    case WScrollNotifier::Track: return WIndScrollLogic::scTrack;
    case WScrollNotifier::Top: return WIndScrollLogic::scTop;
    case WScrollNotifier::Bottom: return WIndScrollLogic::scBottom;
    default: return WIndScrollLogic::scEndScroll;
    }
}

} // namespace

WIndScroll::WIndScroll(QWidget* owner) : QFrame(owner) {
    setFrameShape(QFrame::NoFrame);
    resize(width(), 41);
    setMinimumHeight(41);

    ScrollBar = new QScrollBar(Qt::Horizontal, this);
    ScrollBar->move(21, 20);
    ScrollBar->setFixedHeight(16);
    FNotifier = new WScrollNotifier(ScrollBar);
    connect(FNotifier, &WScrollNotifier::scroll, this, &WIndScroll::ScrollBarScroll);
    connect(ScrollBar, &QScrollBar::valueChanged, this, &WIndScroll::ScrollBarValueChanged);

    auto flat = [this](QToolButton* b, int w, int h, int top) {
        b->setAutoRaise(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(b->x(), top, w, h);
        return b;
    };
    PrevHLButton = flat(new QToolButton(this), 16, 16, 20);
    PrevHLButton->move(3, 20);
    PrevHLButton->setIcon(highlightGlyph(false));
    PrevHLButton->setToolTip(QStringLiteral("Previous Highlighted Individual"));
    connect(PrevHLButton, &QToolButton::clicked, this, [this] { PreviousHighlighted(); });
    NextHLButton = flat(new QToolButton(this), 16, 16, 20);
    NextHLButton->setIcon(highlightGlyph(true));
    NextHLButton->setToolTip(QStringLiteral("Next Highlighted Individual"));
    connect(NextHLButton, &QToolButton::clicked, this, [this] { NextHighlighted(); });

    FatherButton = flat(new QToolButton(this), 16, 17, 0);
    FatherButton->setText(QStringLiteral("F"));
    connect(FatherButton, &QToolButton::clicked, this, [this] { Father(); });
    MotherButton = flat(new QToolButton(this), 16, 17, 0);
    MotherButton->setText(QStringLiteral("M"));
    connect(MotherButton, &QToolButton::clicked, this, [this] { Mother(); });
    RelativesButton = new WSelectionButton(this);
    RelativesButton->setAutoRaise(true);
    RelativesButton->setGeometry(0, 0, 16, 17);
    RelativesButton->setText(QStringLiteral("S"));
    connect(RelativesButton, &WSelectionButton::OnBeforeShow, this, &WIndScroll::BuildRelativesList);
    connect(RelativesButton, &WSelectionButton::OnItemChange, this, &WIndScroll::GoToSelected);

    CaptionLabel = new QLabel(this);
    CaptionLabel->setGeometry(3, 1, 100, 14);
    CaptionLabel->setFont(QFont(QStringLiteral("Arial")));
    CaptionLabel->setAutoFillBackground(true);
    CaptionLabel->setTextFormat(Qt::PlainText);

    FLogic.OnChange = [this] { emit OnChange(); };
    FLogic.OnControlsChanged = [this] { SyncControls(); };

    PanelResize();
    SyncControls();
}

WIndScroll::~WIndScroll() {
    FLogic.OnChange = nullptr;
    FLogic.OnControlsChanged = nullptr;
}

void WIndScroll::SetFontSize(int ASize) {
    QFont f = CaptionLabel->font();
    f.setPointSize(ASize);
    CaptionLabel->setFont(f);
    CaptionLabel->resize(CaptionLabel->width(), ASize + 6);
}

void WIndScroll::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    PanelResize();
}

void WIndScroll::PanelResize() {
    const WIndScrollLogic::Layout l =
        WIndScrollLogic::ComputeLayout(width(), PrevHLButton->width(), FatherButton->width(), CaptionLabel->x());
    ScrollBar->resize(l.scrollWidth, ScrollBar->height());
    ScrollBar->setVisible(l.scrollVisible);
    PrevHLButton->setVisible(l.hlButtonsVisible);
    NextHLButton->setVisible(l.hlButtonsVisible);
    if (l.hlButtonsVisible) NextHLButton->move(l.nextHLLeft, NextHLButton->y());
    FatherButton->move(l.fatherLeft, FatherButton->y());
    MotherButton->move(l.motherLeft, MotherButton->y());
    RelativesButton->move(l.relativesLeft, RelativesButton->y());
    CaptionLabel->resize(l.captionWidth > 0 ? l.captionWidth : 0, CaptionLabel->height());
}

void WIndScroll::SyncControls() {
    const WIndScrollLogic::Controls& s = FLogic.State();
    FSyncing = true;
    {
        const QSignalBlocker block(ScrollBar);
        ScrollBar->setRange(FLogic.ScrollMin(), FLogic.ScrollMax());
        ScrollBar->setPageStep(FLogic.LargeChange());
        ScrollBar->setValue(FLogic.ScrollPosition());
    }
    FSyncing = false;
    ScrollBar->setEnabled(s.scrollEnabled);
    PrevHLButton->setEnabled(s.prevHLEnabled);
    NextHLButton->setEnabled(s.nextHLEnabled);
    FatherButton->setEnabled(s.fatherEnabled);
    FatherButton->setToolTip(plainToolTip(toQ(s.fatherHint)));
    MotherButton->setEnabled(s.motherEnabled);
    MotherButton->setToolTip(plainToolTip(toQ(s.motherHint)));
    RelativesButton->setEnabled(s.relativesEnabled);

    CaptionLabel->setText(toQ(s.caption));
    CaptionLabel->setToolTip(plainToolTip(toQ(s.captionHint)));
    QPalette pal = CaptionLabel->palette();
    if (s.captionHighlighted) {
        pal.setColor(QPalette::Window, toQColor(s.captionBack));
        pal.setColor(QPalette::WindowText, toQColor(s.captionFont));
    } else {
        pal.setColor(QPalette::Window, palette().color(QPalette::Button));
        pal.setColor(QPalette::WindowText, Qt::black);
    }
    CaptionLabel->setPalette(pal);
    CaptionLabel->update();
}

void WIndScroll::BuildRelativesList() {
    FLogic.BuildRelativesList();
    RelativesButton->SetItems(FLogic.RelativeItems());
}

void WIndScroll::GoToSelected() { FLogic.GoToSelected(RelativesButton->ItemSelected()); }

void WIndScroll::ScrollBarScroll(int code, int) { FLogic.ScrollBarScroll(toLogicCode(code)); }

void WIndScroll::ScrollBarValueChanged(int value) {
    if (!FSyncing) FLogic.SetScrollPosition(value);
}
