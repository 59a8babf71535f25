#pragma once
// The Individual view: the current individual's events, LDS rows, parents,
// marriages and children in a grid with the chosen row's notes and sources
// below, or, in raw mode, the individual's record text.
#include <vector>

#include "app/IndividualRows.h"
#include "app/ui/ViewPage.h"

class QCheckBox;
class QLabel;
class QStackedWidget;
class QTableWidget;
class TLongTextMemo;

class TIndividualView : public TViewPage {
    Q_OBJECT
public:
    explicit TIndividualView(QWidget* parent = nullptr);
    std::vector<TViewTab> Tabs() const override;

    // A new file starts again on the first row.
    void SetCollection(WABSCollection* collection) override;
    void Fill(std::int32_t current) override;
    // The colours follow the highlight conditions: the rows are built again.
    void RepaintView() override { Fill(FCurrent); }
    void ApplyGridFont(int fontSize, int rowHeight) override;
    std::optional<std::string> CopyText() override;

    void SetShowRaw(bool raw) override;
    const std::vector<IndRow>& Rows() const { return FRows; }

private:
    void ShowRow(int row);
    void GridDblClick();

    std::int32_t FCurrent = 0;
    int FRow = 1; // 1-based row of the grid whose notes and sources show
    std::vector<IndRow> FRows;

    QStackedWidget* NBIndividual = nullptr;
    QLabel* labTopInfoSex = nullptr;
    QLabel* labTopInfoModify = nullptr;
    QCheckBox* cbTopInfo = nullptr;
    QTableWidget* gridIndividual = nullptr;
    TLongTextMemo* memIndNotes = nullptr;
    TLongTextMemo* memIndSources = nullptr;
    TLongTextMemo* memIndividual = nullptr;
};
