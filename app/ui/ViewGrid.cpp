#include "app/ui/ViewGrid.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>
#include <QToolTip>

TViewGridHeader::TViewGridHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setMouseTracking(true);
}

void TViewGridHeader::SetSortArrow(int column, bool ascending) {
    if (column == FSortColumn && ascending == FAscending) return;
    FSortColumn = column;
    FAscending = ascending;
    viewport()->update();
}

void TViewGridHeader::paintSection(QPainter* p, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid()) return;
    p->save();
    const QColor face = palette().color(QPalette::Button);
    p->fillRect(rect, face);
    const QString title = model() ? model()->headerData(logicalIndex, Qt::Horizontal).toString() : QString();
    p->setPen(Qt::black);
    p->setFont(font());
    const QRect textRect = rect.adjusted(3, 0, -2, 0);
    p->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
    if (logicalIndex == FSortColumn) {
        // Small triangle 2 pixels after the title, 3 below the top.
        const int x = rect.left() + 3 + fontMetrics().horizontalAdvance(title) + 2;
        const int y = rect.top() + 3;
        const int h = std::max(4, std::min(8, rect.height() - 6));
        QPainterPath tri;
        if (FAscending) {
            tri.moveTo(x + h / 2.0, y);
            tri.lineTo(x + h, y + h);
            tri.lineTo(x, y + h);
        } else {
            tri.moveTo(x, y);
            tri.lineTo(x + h, y);
            tri.lineTo(x + h / 2.0, y + h);
        }
        tri.closeSubpath();
        p->setRenderHint(QPainter::Antialiasing, true);
        p->fillPath(tri, QColor(64, 64, 64));
        p->setRenderHint(QPainter::Antialiasing, false);
    }
    // Raised frame.
    p->setPen(Qt::white);
    p->drawLine(rect.topLeft(), rect.topRight());
    p->drawLine(rect.topLeft(), rect.bottomLeft());
    p->setPen(QColor(128, 128, 128));
    p->drawLine(rect.bottomLeft(), rect.bottomRight());
    p->drawLine(rect.topRight(), rect.bottomRight());
    p->restore();
}

void TViewGridHeader::mouseMoveEvent(QMouseEvent* e) {
    // The hint closes when the pointer moves to another column, so the
    // legend does not hang over a column it no longer describes.
    const int col = logicalIndexAt(e->position().toPoint());
    if (col != FHintColumn) {
        QToolTip::hideText();
        FHintColumn = col;
    }
    QHeaderView::mouseMoveEvent(e);
}

bool TViewGridHeader::viewportEvent(QEvent* e) {
    if (e->type() == QEvent::ToolTip) {
        auto* he = static_cast<QHelpEvent*>(e);
        if (!FLegend.isEmpty() && logicalIndexAt(he->pos()) >= 0)
            QToolTip::showText(he->globalPos(), FLegend, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    if (e->type() == QEvent::Leave) {
        QToolTip::hideText();
        FHintColumn = -1;
    }
    return QHeaderView::viewportEvent(e);
}

void TViewGridDelegate::paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& idx) const {
    p->save();
    const QRect r = opt.rect;
    const QVariant bg = idx.data(Qt::BackgroundRole);
    p->fillRect(r, bg.isValid() ? bg.value<QBrush>() : QBrush(Qt::white));
    const QVariant fg = idx.data(Qt::ForegroundRole);
    p->setPen(fg.isValid() ? fg.value<QBrush>().color() : QColor(Qt::black));
    p->setFont(opt.font);
    p->setClipRect(r);
    const QString text = idx.data(Qt::DisplayRole).toString();
    const QList<int> stops = idx.data(kTabStopsRole).value<QList<int>>();
    const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    if (stops.isEmpty()) {
        p->drawText(r.adjusted(3, 0, -1, 0), flags, text);
    } else {
        const QStringList pieces = text.split('\t');
        for (int k = 0; k < pieces.size(); ++k) {
            const int dx = 3 + (k == 0 ? 0 : (k - 1 < stops.size() ? stops[k - 1] : stops.back()));
            p->drawText(r.adjusted(dx, 0, -1, 0), flags, pieces[k]);
        }
    }
    p->setClipping(false);
    const bool selected = opt.state & QStyle::State_Selected;
    if (selected) {
        p->setPen(Qt::black);
        p->drawLine(r.topLeft(), r.topRight());
        p->drawLine(r.bottomLeft(), r.bottomRight());
        if (idx.column() == 0) p->drawLine(r.topLeft(), r.bottomLeft());
        if (idx.column() == idx.model()->columnCount() - 1) p->drawLine(r.topRight(), r.bottomRight());
    } else {
        p->setPen(opt.palette.color(QPalette::Button));
        p->drawLine(r.topRight(), r.bottomRight());
    }
    p->restore();
}

TViewGridHeader* SetupViewGrid(QTableView* grid) {
    auto* header = new TViewGridHeader(grid);
    grid->setHorizontalHeader(header);
    grid->verticalHeader()->hide();
    grid->setShowGrid(false);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setItemDelegate(new TViewGridDelegate(grid));
    grid->verticalHeader()->setMinimumSectionSize(8);
    return header;
}
