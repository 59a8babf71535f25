#include "app/ui/DrawGrid.h"

#include <algorithm>

#include <QAbstractTableModel>
#include <QApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>
#include <QStyledItemDelegate>
#include <QToolTip>

#include "app/ui/ViewCommon.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "platform/ui/QtText.h"

class TDrawGridModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : cols; }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    void reset(int r, int c) {
        if (r == rows && c == cols) return;
        beginResetModel();
        rows = r;
        cols = c;
        endResetModel();
    }
    int rows = 1;
    int cols = 1;
};

namespace {

class TitleHeader : public QHeaderView {
public:
    TitleHeader(TDrawGrid* grid) : QHeaderView(Qt::Horizontal, grid), FGrid(grid) {
        setSectionsClickable(true);
        setHighlightSections(false);
        setSectionResizeMode(QHeaderView::Interactive);
        setStretchLastSection(false);
    }

protected:
    void paintSection(QPainter* p, const QRect& r, int logicalIndex) const override {
        if (!r.isValid()) return;
        p->save();
        if (FGrid->OnDrawTitle)
            FGrid->OnDrawTitle(*p, r, logicalIndex);
        else
            GridPaint::Title(*p, r, QString());
        p->restore();
    }

private:
    TDrawGrid* FGrid;
};

class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(TDrawGrid* grid) : QStyledItemDelegate(grid), FGrid(grid) {}
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& idx) const override {
        p->save();
        p->setFont(opt.font);
        p->setClipRect(opt.rect);
        const std::int32_t row = idx.row() + 1;
        if (FGrid->OnDrawCell)
            FGrid->OnDrawCell(*p, opt.rect, row, idx.column(), row == FGrid->Row());
        else
            p->fillRect(opt.rect, Qt::white);
        p->restore();
    }

private:
    TDrawGrid* FGrid;
};

QPixmap arrowPixmap(bool up) {
    QPixmap pm(9, 8);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    QPainterPath path;
    if (up) {
        path.moveTo(4.5, 0);
        path.lineTo(9, 8);
        path.lineTo(0, 8);
    } else {
        path.moveTo(0, 0);
        path.lineTo(9, 0);
        path.lineTo(4.5, 8);
    }
    path.closeSubpath();
    p.fillPath(path, QColor(64, 64, 64));
    return pm;
}

} // namespace

TDrawGrid::TDrawGrid(QWidget* parent) : QTableView(parent), FModel(new TDrawGridModel(this)) {
    setModel(FModel);
    setHorizontalHeader(new TitleHeader(this));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setItemDelegate(new CellDelegate(this));
    setFocusPolicy(Qt::StrongFocus);
    QFont f(QStringLiteral("Arial"));
    setFont(f);
    horizontalHeader()->setFont(f);
    // Until the window applies the grid settings: a compact row.
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 4);
    horizontalHeader()->installEventFilter(this);
    horizontalHeader()->viewport()->installEventFilter(this);
    connect(horizontalHeader(), &QHeaderView::sectionPressed, this, [this](int col) { emit titlePressed(col); });
    connect(this, &QTableView::clicked, this, [this](const QModelIndex& idx) {
        if (!idx.isValid()) return;
        const std::int32_t row = idx.row() + 1;
        if (row != FRow) {
            FRow = row;
            viewport()->update();
        }
        emit selectCell(row);
    });
    connect(this, &QTableView::doubleClicked, this, [this](const QModelIndex& idx) {
        if (idx.isValid()) emit dblClick(idx.row() + 1);
    });
}

void TDrawGrid::SetRowCount(std::int32_t rows) {
    FModel->reset(std::max(rows, 0), FModel->cols);
    if (FRow > rows) FRow = 0;
    viewport()->update();
}

std::int32_t TDrawGrid::RowCount() const { return FModel->rows; }

void TDrawGrid::SetColumnCount(int columns) {
    FModel->reset(FModel->rows, std::max(columns, 0));
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

int TDrawGrid::ColumnCount() const { return FModel->cols; }

void TDrawGrid::SetRow(std::int32_t row, bool scrollTo) {
    FRow = (row >= 1 && row <= FModel->rows) ? row : 0;
    if (FRow && scrollTo) QTableView::scrollTo(FModel->index(FRow - 1, 0));
    viewport()->update();
}

void TDrawGrid::Repaint() {
    viewport()->update();
    horizontalHeader()->viewport()->update();
}

std::int32_t TDrawGrid::TopRow() const { return rowAt(0) + 1; }

std::int32_t TDrawGrid::VisibleRows() const {
    const int h = verticalHeader()->defaultSectionSize();
    return h > 0 ? viewport()->height() / h : 0;
}

int TDrawGrid::ColumnAtPoint(const QPoint& p) const {
    QHeaderView* h = horizontalHeader();
    if (p.y() >= h->height() || p.y() < 0) return -1;
    const int col = h->logicalIndexAt(p.x());
    return col >= 0 ? col : FModel->cols - 1;
}

void TDrawGrid::SetGridFont(int pointSize, int rowHeight) {
    QFont f(QStringLiteral("Arial"));
    if (pointSize > 0) f.setPointSize(pointSize);
    setFont(f);
    horizontalHeader()->setFont(f);
    if (rowHeight > 0) {
        verticalHeader()->setMinimumSectionSize(1);
        verticalHeader()->setDefaultSectionSize(rowHeight);
        horizontalHeader()->setFixedHeight(rowHeight + 2);
    }
}

bool TDrawGrid::eventFilter(QObject* watched, QEvent* event) {
    QHeaderView* h = horizontalHeader();
    if ((watched == h || watched == h->viewport()) && event->type() == QEvent::ToolTip) {
        // The column legend over the title row; hidden between decisions so
        // the hint closes when the pointer leaves the row.
        QToolTip::hideText();
        const QString text = OnTitleHint ? OnTitleHint() : QString();
        if (!text.isEmpty()) QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), text, h);
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

namespace GridPaint {

QColor ButtonFace() { return QApplication::palette().color(QPalette::Button); }

void Title(QPainter& p, const QRect& r, const QString& text, std::int32_t mark) {
    p.fillRect(r, ButtonFace());
    p.setPen(Qt::black);
    const QRect tr = r.adjusted(3, 0, -1, 0);
    p.drawText(tr, Qt::AlignVCenter | Qt::AlignLeft, text);
    if (mark != 1) {
        static const QPixmap up = arrowPixmap(true), down = arrowPixmap(false);
        const int x = r.left() + 3 + p.fontMetrics().horizontalAdvance(text) + 2;
        p.drawPixmap(x, r.top() + 3, mark == 2 ? up : down);
    }
    p.setPen(Qt::white);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(QColor(128, 128, 128));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
}

void Frame(QPainter& p, const QRect& r, int col, int lastCol, bool selected) {
    if (selected) {
        p.setPen(Qt::black);
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.bottomLeft(), r.bottomRight());
        if (col == 0) p.drawLine(r.topLeft(), r.bottomLeft());
        if (col == lastCol) p.drawLine(r.topRight(), r.bottomRight());
    } else {
        p.setPen(ButtonFace());
        p.drawLine(r.topRight(), r.bottomRight());
    }
}

void TabText(QPainter& p, const QRect& r, int x, const QString& text, const std::vector<std::int32_t>* stops) {
    const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    if (!stops || stops->empty()) {
        p.drawText(r.adjusted(x, 0, 0, 0), flags, text);
        return;
    }
    const QStringList parts = text.split(QLatin1Char('\t'));
    for (int k = 0; k < parts.size(); ++k) {
        int at = x;
        if (k > 0) {
            if (size_t(k) >= stops->size() + 1) break;
            at = x + int((*stops)[size_t(k - 1)]);
        }
        p.drawText(r.adjusted(at, 0, 0, 0), flags, parts[k]);
    }
}

int Piece(QPainter& p, const QRect& r, int x, const QString& text, const QColor& back, const QColor& fore) {
    const int w = p.fontMetrics().horizontalAdvance(text);
    p.fillRect(QRect(x, r.top(), w, r.height()), back);
    p.setPen(fore);
    p.drawText(QRect(x, r.top(), w + 1, r.height()), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    return x + w;
}

void ColumnTitle(QPainter& p, const QRect& r, const WListColumns* columns, int col) {
    std::string s;
    std::int32_t mark = 1;
    if (columns && col < columns->GetCount()) columns->GetColumnTitle(col + 1, false, mark, s);
    Title(p, r, toQ(s), mark);
}

void ColumnCell(QPainter& p, const QRect& r, const WListColumns* columns, WColSortIterator* iterator, std::int32_t row,
                int col, int lastCol, WABSHighLighter* highlighter, bool plain, bool selected) {
    p.fillRect(r, Qt::white);
    if (!columns || !iterator) return;
    // A sort under way reorders the list: draw nothing until it ends.
    if (iterator->GetSortFlag() || row > iterator->Count()) return;
    const std::int32_t ind = iterator->GetItem(row);
    QColor back(Qt::white), fore(Qt::black);
    if (!plain) {
        back = ViewCommon::HighlightBackColor(highlighter, ind);
        fore = ViewCommon::HighlightFontColor(highlighter, ind);
    }
    p.fillRect(r, back);
    if (col < columns->GetCount()) {
        std::string s;
        columns->GetCellText(col + 1, ind, 1, s);
        p.setPen(fore);
        TabText(p, r, 3, toQ(s), columns->GetTabStops(col + 1));
    }
    Frame(p, r, col, lastCol, selected);
}

} // namespace GridPaint
