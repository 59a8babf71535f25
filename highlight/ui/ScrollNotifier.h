#pragma once
// Scroll notices for a QScrollBar as the desktop scroll bar gives them: each
// user step is announced before the position changes, thumb dragging as
// tracking, the thumb's release as a position notice, and every user scroll
// ends with an end-of-scroll notice. Programmatic changes announce nothing.
#include <QObject>

class QScrollBar;

class WScrollNotifier : public QObject {
    Q_OBJECT
public:
    enum Code { LineUp, LineDown, PageUp, PageDown, Position, Track, Top, Bottom, EndScroll };
    Q_ENUM(Code)

    explicit WScrollNotifier(QScrollBar* bar);

    QScrollBar* Bar() const { return FBar; }

signals:
    // For Track and Position, pos is the thumb's position; otherwise the
    // position the step will lead to.
    void scroll(int code, int pos);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void actionTriggered(int action);
    void sliderReleased();
    void scheduleEnd();
    void finish();

    QScrollBar* FBar;
    bool FPendingEnd = false;
    bool FMouseDown = false;
};
