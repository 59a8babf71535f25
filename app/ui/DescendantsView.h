#pragma once
// Descendants page (notebook page 4): the current individual's descendants as
// an indented grid, column 0 the names with spouses, columns 1..n the
// Descendants column set; the generation limit, indentation, grid lines,
// repeated individuals and column choice controls above it.
//
// The window calls, besides the TViewPage setters:
//   SetColumns(FDesColumns)   once, after the column sets exist;
//   SetColumnChooser(fn)      only to replace the "List Columns" dialog;
//   ApplySettings()           in its show handler (controls take settings 71-74);
//   SaveColumnWidths() / LoadColumnWidths() with the other grids.
// Fill(current) is FillDescendantsView; RepaintView() repaints the grid.
#include <memory>
#include <vector>

#include <QString>

#include "app/DescendantRows.h"
#include "app/ui/ViewCommon.h"
#include "app/ui/ViewPage.h"

class QCheckBox;
class QLabel;
class QSpinBox;
class QToolButton;
class TDrawGrid;
class WDesIterator;
class WListColumns;

class TDescendantsView : public TViewPage {
    Q_OBJECT
public:
    explicit TDescendantsView(QWidget* parent = nullptr);
    ~TDescendantsView() override;
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    void SetColumns(WListColumns* columns);
    void SetReading(bool reading) override;
    void SetColumnChooser(ViewCommon::ColumnChooser chooser);

    // FillDescendantsView: only with a current individual.
    void Fill(std::int32_t current) override;
    std::optional<std::string> CopyText() override;
    void RepaintView() override;
    void ApplyGridFont(int fontSize, int rowHeight) override;
    // Lists the descendants of root (0: an empty list).
    void BuildDescendants(std::int32_t root);
    void ApplySettings();
    void SaveColumnWidths() override;
    void LoadColumnWidths();

    WDesIterator* DesIterator() const { return FDesIterator.get(); }
    TDrawGrid* Grid() const { return DesGrid; }
    QSpinBox* GenSpinEdit() const { return DesGenSpinEdit; }
    QSpinBox* IndentSpinEdit() const { return DesIndentSpinEdit; }
    QCheckBox* ShowGridBox() const { return cbDesShowGrid; }
    QCheckBox* ShowDupBox() const { return cbDesShowDup; }
    QLabel* GenLabel() const { return LabDesGen; }
    // The name column of a row: the pieces drawn one after another from the
    // indentation; no pieces when nothing shows.
    DesNameLine NameLine(std::int32_t row) const;
    // Title of the name column ("Descendants (n individuals)").
    QString NameColumnTitle() const;

signals:
    // Quick-help entry to offer (6 when the view is filled).
    void quickHelp(int entry);

private:
    void DesGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected);
    void DesGridDrawTitle(QPainter& p, const QRect& r, int col);
    void DesGridDblClick();
    void DesGenSpinEditChange();
    void DesIndentSpinEditChange();
    void cbDesShowGridClick();
    void cbDesShowDupClick();
    void SpeedButton14Click();
    void refill();

    std::unique_ptr<WDesIterator> FDesIterator;
    WListColumns* FDesColumns = nullptr;
    ViewCommon::ColumnChooser FChooser;
    bool FReading = false;
    std::int32_t FCurrent = 0;
    std::int32_t FDesRow = 0;

    TDrawGrid* DesGrid = nullptr;
    QSpinBox* DesGenSpinEdit = nullptr;
    QLabel* LabDesGen = nullptr;
    QSpinBox* DesIndentSpinEdit = nullptr;
    QCheckBox* cbDesShowGrid = nullptr;
    QCheckBox* cbDesShowDup = nullptr;
    QToolButton* SpeedButton14 = nullptr;
};
