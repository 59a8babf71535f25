#include "highlight/ui/ScrollNotifier.h"

#include <QEvent>
#include <QScrollBar>
#include <QTimer>

WScrollNotifier::WScrollNotifier(QScrollBar* bar) : QObject(bar), FBar(bar) {
    connect(bar, &QAbstractSlider::actionTriggered, this, &WScrollNotifier::actionTriggered);
    connect(bar, &QAbstractSlider::sliderReleased, this, &WScrollNotifier::sliderReleased);
    bar->installEventFilter(this);
}

void WScrollNotifier::actionTriggered(int action) {
    // The slider position already holds the target; the value does not yet.
    const int target = FBar->sliderPosition();
    Code code;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: code = LineDown; break;
    case QAbstractSlider::SliderSingleStepSub: code = LineUp; break;
    case QAbstractSlider::SliderPageStepAdd: code = PageDown; break;
    case QAbstractSlider::SliderPageStepSub: code = PageUp; break;
    case QAbstractSlider::SliderToMinimum: code = Top; break;
    case QAbstractSlider::SliderToMaximum: code = Bottom; break;
    case QAbstractSlider::SliderMove:
        if (FBar->isSliderDown()) {
            emit scroll(Track, target);
            return;
        }
        // Wheel: a step in its direction.
        code = target >= FBar->value() ? LineDown : LineUp;
        break;
    default: return;
    }
    emit scroll(code, target);
    scheduleEnd();
}

void WScrollNotifier::sliderReleased() {
    emit scroll(Position, FBar->sliderPosition());
    FPendingEnd = true;
    // After the release has set the final value.
    QTimer::singleShot(0, this, &WScrollNotifier::finish);
}

void WScrollNotifier::scheduleEnd() {
    FPendingEnd = true;
    // While a mouse button is held on the bar it repeats steps; the end comes with the release.
    if (!FMouseDown) QTimer::singleShot(0, this, &WScrollNotifier::finish);
}

bool WScrollNotifier::eventFilter(QObject* watched, QEvent* event) {
    if (watched == FBar) {
        if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
            FMouseDown = true;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            FMouseDown = false;
            if (FPendingEnd) QTimer::singleShot(0, this, &WScrollNotifier::finish);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WScrollNotifier::finish() {
    if (!FPendingEnd) return;
    FPendingEnd = false;
    emit scroll(EndScroll, FBar->value());
}
