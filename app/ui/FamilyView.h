#pragma once
// The Family view: the current individual with parents, the spouse of one of
// its families with the spouse's parents, the family's date and place and a
// grid of the family's children. Several families are stepped through.
#include <array>

#include "app/FamilyRows.h"
#include "app/ui/ViewPage.h"

class QFrame;
class QLabel;
class QTableWidget;
class QToolButton;
class TIndInfoPanel;

// Shows what MakePersonPanel computed in a panel; an empty panel takes the
// button-face colour. The Pedigree view uses it too.
void ShowPersonPanel(const PersonPanelInfo& info, TIndInfoPanel* panel);

class TFamilyView : public TViewPage {
    Q_OBJECT
public:
    explicit TFamilyView(QWidget* parent = nullptr);
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    void SetHighLighter(WABSHighLighter* highlighter) override;
    // Takes the individual as subject with its first family (nothing for 0).
    void Fill(std::int32_t current) override;
    // Shows the same family again with fresh colours, texts and titles.
    void RepaintView() override;
    void ApplyGridFont(int fontSize, int rowHeight) override;
    std::optional<std::string> CopyText() override;
    // The refill keeps the family shown.
    void RefillAfterCopy(std::int32_t current) override;
    // Titles of the grid (they follow FamBirChr).
    void SetColumnTitles();
    // Column widths from and to the settings FamCol1 to FamCol6.
    void LoadColumnWidths();
    void SaveColumnWidths() override;

    // Shows the subject's family at a 1-based position (nothing when out of range).
    void ShowFamilyAt(std::int32_t index);

    const WFamilySubject& Subject() const { return FSubject; }
    const FamilyGroup& Group() const { return FGroup; }
    TIndInfoPanel* Panel(FamilyPanel k) const { return FPanels[std::size_t(k)]; }
    QTableWidget* Grid() const { return FamilyGroupGrid; }
    QLabel* MarriageInfoLabel() const { return labFGMarriageInfo; }
    QLabel* MultipleMarriagesLabel() const { return labMultipleMarriages; }
    QToolButton* MarriagesButton() const { return butFGMarriages; }
    // The "+" buttons beside father 1, mother 1, father 2 and mother 2 (0..3).
    QToolButton* PlusButton(int k) const { return FGPlus[std::size_t(k)]; }

protected:
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // The next family of the subject (the "Next Spouse" button).
    void butFGMarriagesClick();
    void ShowFamily();
    void FillGrid();
    void LayoutControls();
    void FamilyGroupGridDblClick(int row, int column);

    WFamilySubject FSubject;
    FamilyGroup FGroup;
    int FFontSize = 8;

    std::array<TIndInfoPanel*, fpCount> FPanels{};
    std::array<QToolButton*, 4> FGPlus{};
    QLabel* labActive = nullptr;
    QLabel* labFamSpouse = nullptr;
    QLabel* labFGMarriageInfo = nullptr;
    QLabel* labMultipleMarriages = nullptr;
    QToolButton* butFGMarriages = nullptr;
    QFrame* bevFG1 = nullptr;
    QFrame* bevFG2 = nullptr;
    QTableWidget* FamilyGroupGrid = nullptr;
};
