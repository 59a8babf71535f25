#pragma once
// "Find Individual": lists every individual in one of five orders, positions
// the list as the user types and shows the selection with father, mother
// and marriages.
#include <cstdint>
#include <memory>
#include <vector>

#include <QDialog>

#include "highlight/FindContext.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTableView;
class TIndInfoPanel;
class WABSHighLighter;
class WFindGridModel;

// Fills an individual info panel (an empty text clears it to button face).
void ShowIndividualPanel(TIndInfoPanel* panel, const WIndPanelText& text);

class TWFindDlg : public QDialog {
    Q_OBJECT
public:
    TWFindDlg(QWidget* owner, const WFindContext& context, WABSHighLighter* highlighter);
    ~TWFindDlg() override;

    void SetSelected(std::int32_t individual);
    std::int32_t GetSelected() const { return FSelected; }
    int Mode() const { return FSearch.GetMode(); }
    // Grid row of the list (1-based position in the current order, 0 = none).
    std::int32_t GridRow() const { return FRow; }
    const std::vector<WMarriageEntry>& MarriageEntries() const { return FEntries; }

    QLineEdit* edSearch = nullptr;
    QRadioButton* rbIndex = nullptr;
    QRadioButton* rbRIN = nullptr;
    QRadioButton* rbCustom = nullptr;
    QRadioButton* rbSurname = nullptr;
    QRadioButton* rbGiven = nullptr;
    QTableView* IndGrid = nullptr;
    QLabel* labIndiviudals = nullptr;
    TIndInfoPanel* iiIndividual = nullptr;
    TIndInfoPanel* iiFather = nullptr;
    TIndInfoPanel* iiMother = nullptr;
    QListWidget* lbMarriages = nullptr;
    QLabel* labMarriages = nullptr;
    QPushButton* butSearch = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormShow();
    void edSearchChange();
    bool edSearchKeyDown(int key);
    void butSearchClick();
    void butOKClick();
    void IndGridSelectCell(std::int32_t row);
    void IndGridDblClick();
    void iiClick(TIndInfoPanel* panel);
    void lbMarriagesDblClick();
    void SetMode(int mode);
    void SortMode(int mode, bool busy);
    // Lists the new order on the text typed during its sort, else on keep.
    void ShowSorted(std::int32_t keep);
    void MoveGrid(std::int32_t row);
    void ShowIndividual(std::int32_t individual);
    void FillMarriages(std::int32_t individual);
    void WriteKey();
    void RunSearch();
    QRadioButton* ModeButton(int mode) const;

    WFindContext FContext;
    WABSHighLighter* FHighlighter;
    WFindSearch FSearch;
    WFindGridModel* FModel = nullptr;
    std::int32_t FSelected = -1;
    std::int32_t FRow = 0;
    bool FAutoSearch = true;
    bool FEditUpdates = true;
    bool FShown = false;
    bool m_sorting = false;
    bool m_typedWhileSorting = false;
    std::vector<WMarriageEntry> FEntries;
};
