#pragma once
// A grid the views draw themselves: a title row (the header) and data rows
// painted by callbacks, so names can carry highlight colours, texts can sit
// at tab stops and the selected row is boxed. Rows are 1-based data rows;
// columns 0-based. Shared drawing helpers of the list views follow.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <QString>
#include <QTableView>

class QPainter;
class TDrawGridModel;

class TDrawGrid : public QTableView {
    Q_OBJECT
public:
    explicit TDrawGrid(QWidget* parent = nullptr);

    // Data rows (the title row not counted) and columns.
    void SetRowCount(std::int32_t rows);
    std::int32_t RowCount() const;
    void SetColumnCount(int columns);
    int ColumnCount() const;
    // Selected data row, 0 when none. SetRow fires no selectCell.
    std::int32_t Row() const { return FRow; }
    void SetRow(std::int32_t row, bool scrollTo = true);
    // Repaints every cell and the title row.
    void Repaint();
    // First data row shown, and how many fit.
    std::int32_t TopRow() const;
    std::int32_t VisibleRows() const;
    // Column under a point of the title row, -1 below it; past the last
    // column counts as the last.
    int ColumnAtPoint(const QPoint& p) const;
    void SetGridFont(int pointSize, int rowHeight);

    std::function<void(QPainter&, const QRect&, std::int32_t row, int col, bool selected)> OnDrawCell;
    std::function<void(QPainter&, const QRect&, int col)> OnDrawTitle;
    // Text of the hint over the title row (empty: no hint).
    std::function<QString()> OnTitleHint;

signals:
    void selectCell(std::int32_t row);
    void dblClick(std::int32_t row);
    // A press on the title row over a column.
    void titlePressed(int col);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TDrawGridModel* FModel;
    std::int32_t FRow = 0;
};

class WABSHighLighter;
class WColSortIterator;
class WListColumns;

namespace GridPaint {

// The button face colour of the title row and the cell separators.
QColor ButtonFace();
// Title cell: button face, black text 3 px in, raised frame; mark 2 adds the
// up arrow and any mark but 1 and 2 the down arrow, 2 px after the text.
void Title(QPainter& p, const QRect& r, const QString& text, std::int32_t mark = 1);
// The selected row's box (black top, bottom, left of column 0, right of the
// last column) or, for other rows, a button-face line at the right edge.
void Frame(QPainter& p, const QRect& r, int col, int lastCol, bool selected);
// Text from x (relative to the cell's left); with tab stops, piece 0 at x and
// piece k at x + stop k.
void TabText(QPainter& p, const QRect& r, int x, const QString& text, const std::vector<std::int32_t>* stops);
// Draws a text piece on its own background from x (absolute) and returns the x after it.
int Piece(QPainter& p, const QRect& r, int x, const QString& text, const QColor& back, const QColor& fore);

// Title cell of column col (0-based) of a column set, with its sort mark.
void ColumnTitle(QPainter& p, const QRect& r, const WListColumns* columns, int col);
// Cell of a list of individuals in a column set: row of the iterator, column
// col (0-based); highlight colours unless plain. Draws nothing but white while
// the iterator is being sorted or past its end.
void ColumnCell(QPainter& p, const QRect& r, const WListColumns* columns, WColSortIterator* iterator, std::int32_t row,
                int col, int lastCol, WABSHighLighter* highlighter, bool plain, bool selected);

} // namespace GridPaint
