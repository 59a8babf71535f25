#include "app/ui/URLLabel.h"

#include <QMouseEvent>

#include "app/LinkText.h"
#include "platform/Hooks.h"
#include "platform/ui/QtText.h"

TURLLabel::TURLLabel(QWidget* parent) : QLabel("Click me!", parent) {
    setTextFormat(Qt::PlainText); // captions come from the trailer too
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setColour(ColorNormal);
}

std::string TURLLabel::TargetLink() const { return LabelLink(FURL, fromQ(text())); }

void TURLLabel::setColorNormal(const QColor& c) {
    ColorNormal = c;
    if (!FPressed && !underMouse()) setColour(c);
}

void TURLLabel::setColour(const QColor& c) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

void TURLLabel::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        FPressed = true;
        setColour(ColorClick);
    }
}

void TURLLabel::mouseReleaseEvent(QMouseEvent* e) {
    if (!FPressed) return;
    FPressed = false;
    if (rect().contains(e->position().toPoint())) {
        const std::string link = TargetLink();
        if (!link.empty() && plat::hooks().shellOpen) plat::hooks().shellOpen(link, {});
        setColour(ColorMoveOver);
    } else {
        setColour(ColorNormal);
    }
}

void TURLLabel::enterEvent(QEnterEvent*) { setColour(FPressed ? ColorClick : ColorMoveOver); }
void TURLLabel::leaveEvent(QEvent*) { setColour(ColorNormal); }
