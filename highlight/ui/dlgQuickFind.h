#pragma once
// "Quick Find": chooses an individual by record number, by stepping, by
// father or mother or from the spouse and child list; "Advanced Find" opens
// the find dialog on the same find context.
#include <cstdint>
#include <vector>

#include <QDialog>

#include "highlight/FindContext.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class TIndInfoPanel;
class WABSHighLighter;
class WSelectionButton;

class TdlgQuickFind : public QDialog {
    Q_OBJECT
public:
    TdlgQuickFind(QWidget* owner, const WFindContext& context, WABSHighLighter* highlighter);
    ~TdlgQuickFind() override;

    void SetSelected(std::int32_t individual);
    std::int32_t GetSelected() const { return FLogic.Current(); }
    std::int32_t PageStep() const { return FLogic.PageStep(); }

    const std::vector<WQuickFind::Entry>& SpouseEntries() const { return FEntries; }

    QLineEdit* edSearch = nullptr;
    QScrollBar* sbScrollBar = nullptr;
    QLabel* labIndCount = nullptr;
    QLabel* labSelected = nullptr;
    TIndInfoPanel* iiSelected = nullptr;
    QPushButton* butFather = nullptr;
    QPushButton* butMother = nullptr;
    WSelectionButton* selSpouses = nullptr;
    QPushButton* butAdvancedFind = nullptr;
    QPushButton* butOK = nullptr;
    QPushButton* butCancel = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edSearchChange();
    void sbScrollBarChange(int value);
    void butFatherClick();
    void butMotherClick();
    void selSpousesBeforeShow();
    void selSpousesItemChange();
    void butAdvancedFindClick();
    // Up, Down, Page Up and Page Down in the edit; true when consumed.
    bool edSearchKeyDown(int key);
    void ShowSelected();
    void EnableControls(bool on);
    void MakeCurrent(std::int32_t individual);

    WFindContext FContext;
    WABSHighLighter* FHighlighter;
    WQuickFind FLogic;
    std::vector<WQuickFind::Entry> FEntries;
    bool FUpdating = false;
};
