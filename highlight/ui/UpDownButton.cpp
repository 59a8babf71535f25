#include "highlight/ui/UpDownButton.h"

#include <QMouseEvent>

#include "highlight/ui/Cursors.h"

WUpDownButton::WUpDownButton(QWidget* owner) : QToolButton(owner) {
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setContextMenuPolicy(Qt::PreventContextMenu);
    setCursor(HLCursors::DateUpDownCursor());
}

void WUpDownButton::mousePressEvent(QMouseEvent* e) {
    if (!isEnabled()) return;
    if (e->button() == Qt::LeftButton) {
        FLeftDown = true;
        FSwallowRelease = false;
        setDown(true);
        emit OnMouseDown();
    } else if (e->button() == Qt::RightButton) {
        FRightDown = true;
    }
    e->accept();
}

void WUpDownButton::mouseReleaseEvent(QMouseEvent* e) {
    const bool inside = rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) {
        const bool wasDown = FLeftDown;
        FLeftDown = false;
        setDown(false);
        if (FSwallowRelease) {
            FSwallowRelease = false;
        } else if (wasDown && inside) {
            emit OnClick();
        }
    } else if (e->button() == Qt::RightButton) {
        if (FRightDown && inside) emit OnContextPopup();
        FRightDown = false;
    }
    e->accept();
}

void WUpDownButton::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!isEnabled() || e->button() != Qt::LeftButton) {
        e->accept();
        return;
    }
    FLeftDown = true;
    FSwallowRelease = true;
    setDown(true);
    emit OnDblClick();
    e->accept();
}
