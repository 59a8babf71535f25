#pragma once
// The look of the views' own grids: a title row drawn like buttons with an
// optional sort arrow and a column legend as its hint, and data cells in
// white with text 3 pixels in, the chosen row boxed in black.
#include <QHeaderView>
#include <QStyledItemDelegate>

// Role of a cell's tab stops (QList<int>, pixels from the 3-pixel margin).
inline constexpr int kTabStopsRole = Qt::UserRole + 1;

class TViewGridHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TViewGridHeader(QWidget* parent = nullptr);

    // Column with the arrow (-1 none) and its direction.
    void SetSortArrow(int column, bool ascending);
    int SortColumn() const { return FSortColumn; }
    bool SortAscending() const { return FAscending; }
    // Shown as the hint while the pointer is over the title row.
    void SetLegend(const QString& legend) { FLegend = legend; }
    const QString& Legend() const { return FLegend; }

protected:
    void paintSection(QPainter* p, const QRect& rect, int logicalIndex) const override;
    bool viewportEvent(QEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;

private:
    int FSortColumn = -1;
    bool FAscending = true;
    QString FLegend;
    int FHintColumn = -1;
};

class TViewGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* p, const QStyleOptionViewItem& opt, const QModelIndex& idx) const override;
};

class QTableView;
// Grid settings the views share: no row header, no lines, whole-row
// single selection, no editing, the header and delegate above.
TViewGridHeader* SetupViewGrid(QTableView* grid);
