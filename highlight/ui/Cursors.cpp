#include "highlight/ui/Cursors.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace HLCursors {

namespace {

QPixmap blank() {
    QPixmap pm(32, 32);
    pm.fill(Qt::transparent);
    return pm;
}

QCursor makeSelect() {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    // Arrow pointer.
    const QPolygon arrow(
        {QPoint(0, 0), QPoint(0, 15), QPoint(4, 11), QPoint(7, 17), QPoint(9, 16), QPoint(6, 10), QPoint(11, 10)});
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
    // Little list box with a drop-down triangle.
    p.setBrush(Qt::white);
    p.drawRect(12, 14, 14, 12);
    p.drawLine(14, 18, 20, 18);
    p.drawLine(14, 21, 20, 21);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygon({QPoint(21, 17), QPoint(25, 17), QPoint(23, 20)}));
    p.end();
    return QCursor(pm, 0, 0);
}

QCursor makeDateUpDown() {
    QPixmap pm = blank();
    QPainter p(&pm);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    // Left and right pointing arrows around a bar: step down / up.
    p.drawPolygon(QPolygon(
        {QPoint(2, 15), QPoint(9, 8), QPoint(9, 12), QPoint(14, 12), QPoint(14, 18), QPoint(9, 18), QPoint(9, 22)}));
    p.drawPolygon(QPolygon({QPoint(29, 15), QPoint(22, 8), QPoint(22, 12), QPoint(17, 12), QPoint(17, 18),
                            QPoint(22, 18), QPoint(22, 22)}));
    p.end();
    return QCursor(pm, 15, 15);
}

} // namespace

const QCursor& SelectCursor() {
    static const QCursor c = makeSelect();
    return c;
}

const QCursor& DateUpDownCursor() {
    static const QCursor c = makeDateUpDown();
    return c;
}

} // namespace HLCursors
