#pragma once
// Islands page (notebook page 6): one row per island (size, families, first
// individual) and, below it, the members of the chosen island in the columns
// of the Islands set. TLeftIslandsPanel is the islands page of the left
// panel, whose choice restricts the whole window to one island.
//
// The window calls, besides the TViewPage setters:
//   SetColumns(FIslandColumns)   once;
//   SetLeftPanel(panel)          so FillIslandsPanel fills both grids (and
//                                SetReading tells it too);
//   FillIslandsPanel(force)      for the left panel's islands page (false) and
//                                the calculate-islands command (true);
//   CalculateButton()            to attach that command;
//   SaveColumnWidths() / LoadColumnWidths().
// Fill(current) is FillIslandsView.
#include <memory>

#include "app/ui/ViewCommon.h"
#include "app/ui/ViewPage.h"

class QCheckBox;
class QLabel;
class QToolButton;
class TDrawGrid;
class TLeftIslandsPanel;
class WIslandIterator;
class WListColumns;

class TIslandsView : public TViewPage {
    Q_OBJECT
public:
    explicit TIslandsView(QWidget* parent = nullptr);
    ~TIslandsView() override;
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    void SetColumns(WListColumns* columns);
    void SetReading(bool reading) override;
    void SetHighlightedOnly(bool on) { FHighlightedOnly = on; }
    void SetLeftPanel(TLeftIslandsPanel* panel) { FLeftPanel = panel; }
    void SetColumnChooser(ViewCommon::ColumnChooser chooser);
    void MarkStale() override { FStale = true; }

    void Fill(std::int32_t current) override;
    // Asks how (fixed width, CSV, CSV file) first.
    std::optional<std::string> CopyText() override;
    void RepaintView() override;
    void ApplyGridFont(int fontSize, int rowHeight) override;
    // Computes the islands (with force, or when setting 120 asks for it) and
    // sizes both island grids.
    void FillIslandsPanel(bool force);
    void SaveColumnWidths() override;
    void LoadColumnWidths();

    TDrawGrid* Grid() const { return IslandGrid; }
    TDrawGrid* IndGrid() const { return IslandGridInd; }
    QLabel* FoundLabel() const { return labIslandsFound; }
    QLabel* IndividualsLabel() const { return labIslandIndividuals; }
    WIslandIterator* IslandIterator() const { return FIslandIterator.get(); }
    // IslandGridSelectCell.
    void SelectIsland(std::int32_t row);

    QToolButton* CalculateButton() const { return sbCalculateIslands; }

signals:
    void quickHelp(int entry);

private:
    void IslandGridDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected);
    void IslandGridIndDrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected);
    void IslandGridIndDrawTitle(QPainter& p, const QRect& r, int col);
    void IslandGridIndMouseDown(int col);
    void SpeedButton15Click();
    bool rebuildBlocked() const;

    std::unique_ptr<WIslandIterator> FIslandIterator;
    WListColumns* FIslandColumns = nullptr;
    TLeftIslandsPanel* FLeftPanel = nullptr;
    ViewCommon::ColumnChooser FChooser;
    bool FReading = false, FHighlightedOnly = false, FStale = true, FBusy = false;
    std::int32_t FCurrent = 0;
    std::int32_t FIslandGridRow = 0, FIslandIndRow = 0;

    TDrawGrid* IslandGrid = nullptr;
    TDrawGrid* IslandGridInd = nullptr;
    QLabel* labIslandsFound = nullptr;
    QLabel* labIslandIndividuals = nullptr;
    QToolButton* sbCalculateIslands = nullptr;
    QToolButton* SpeedButton15 = nullptr;
};

// The left panel's islands page: count, the islands grid and the box that
// restricts the window to the chosen island.
//   SetCollection / SetHighLighter / SetReading as the views;
//   islandViewChanged(row) fires after the collection's view was restricted:
//   the window then frees its find indexes, resets the navigation panel,
//   marks all views stale and refills the current one.
class TLeftIslandsPanel : public QWidget {
    Q_OBJECT
public:
    explicit TLeftIslandsPanel(QWidget* parent = nullptr);

    void SetCollection(WABSCollection* collection);
    void SetReading(bool reading);
    // Rows and count label from the computed islands (computes nothing).
    void Refresh();
    void SetIslandCountText(const QString& text);
    // The island row last chosen is forgotten (a new file).
    void ForgetRow() { FIslandRow = 0; }
    // The Use Islands box ticked or cleared: restrict the views to the chosen
    // island, or show the whole file again.
    void UseIslandsClick(bool ticked);
    // gridLeftIslandsSelectCell.
    void SelectRow(std::int32_t row);

    TDrawGrid* Grid() const { return gridLeftIslands; }
    QCheckBox* UseIslandsBox() const { return cbUseIslands; }
    QToolButton* CalculateButton() const { return sbLeftPanelCalcIslands; }
    QToolButton* ExportButton() const { return sbExportIslands; }
    QLabel* CountLabel() const { return labIslandCount; }
    std::int32_t ChosenRow() const { return FIslandRow; }

signals:
    void islandViewChanged(std::int32_t row);

private:
    void DrawCell(QPainter& p, const QRect& r, std::int32_t row, int col, bool selected);

    WABSCollection* FCollection = nullptr;
    bool FReading = false;
    std::int32_t FIslandRow = 0;
    TDrawGrid* gridLeftIslands = nullptr;
    QCheckBox* cbUseIslands = nullptr;
    QLabel* labIslandCount = nullptr;
    QToolButton* sbLeftPanelCalcIslands = nullptr;
    QToolButton* sbExportIslands = nullptr;
};
