#pragma once
// Checks of what a widget really drew: dark pixels in the part of a grab that
// a child widget covers.
#include <QImage>
#include <QRect>
#include <QTableView>
#include <QWidget>

namespace tsupport {

// Pixels darker than mid grey inside `area` of the image.
inline int darkPixels(const QImage& img, const QRect& area) {
    const QRect r = area.intersected(img.rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (qGray(img.pixel(x, y)) < 128) ++n;
    return n;
}

// Where `child` lies in a grab of `top`, shrunk by `inset` on every side to
// leave out its frame.
inline QRect areaIn(const QWidget* top, const QWidget* child, int inset = 3) {
    return QRect(child->mapTo(top, QPoint(0, 0)), child->size()).adjusted(inset, inset, -inset, -inset);
}

// A table's filled rows, and the empty space of its viewport below them, in
// a grab of `top`.
struct TableAreas {
    QRect rows, below;
};
inline TableAreas tableAreasIn(const QWidget* top, const QTableView* table) {
    const QWidget* vp = table->viewport();
    const QPoint at = vp->mapTo(top, QPoint(0, 0));
    const int n = table->model()->rowCount();
    const int end = n > 0 ? table->rowViewportPosition(n - 1) + table->rowHeight(n - 1) : 0;
    return {QRect(at, QSize(vp->width(), end)), QRect(at.x(), at.y() + end + 1, vp->width(), vp->height() - end - 1)};
}

} // namespace tsupport
