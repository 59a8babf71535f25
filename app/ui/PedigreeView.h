#pragma once
// The Pedigree view: five generations of ancestors of the current individual
// in 31 boxes joined by lines, the spouse of one of its families below, and
// at the left the lists of its siblings and of the family's children.
#include <array>

#include "app/FamilyRows.h"
#include "app/PedigreeTree.h"
#include "app/ui/ViewPage.h"

class QLabel;
class QListWidget;
class QScrollArea;
class QToolButton;
class TIndInfoPanel;

class TPedigreeView : public TViewPage {
    Q_OBJECT
public:
    explicit TPedigreeView(QWidget* parent = nullptr);
    std::vector<TViewTab> Tabs() const override;

    void SetCollection(WABSCollection* collection) override;
    void SetHighLighter(WABSHighLighter* highlighter) override;
    // Takes the individual as subject with its first family (nothing for 0).
    void Fill(std::int32_t current) override;
    std::optional<std::string> CopyText() override;
    // Redraws the boxes and lists with fresh colours; the family shown stays.
    void RepaintView() override;
    void ApplyGridFont(int fontSize, int rowHeight) override;

    const WFamilySubject& Subject() const { return FSubject; }
    const PedigreeTree& Tree() const { return FTree; }
    const PedigreeLayout& Layout() const { return FLayout; }
    // Box 1..31.
    TIndInfoPanel* Box(int k) const { return iiPed[std::size_t(k)]; }
    TIndInfoPanel* SpousePanel() const { return iiPedSpouse; }
    QToolButton* SpouseButton() const { return butPedSpouse; }
    // Hide and show the sibling and child lists.
    QToolButton* HideListsButton() const { return sbPedLeftExpand; }
    QToolButton* ShowListsButton() const { return sbPedRightExpand; }
    // 1..16 beside boxes 16..31.
    QToolButton* PlusButton(int i) const { return labPedPlus[std::size_t(i)]; }
    QLabel* SpousePlus() const { return labPedPlus17; }
    QListWidget* SiblingList() const { return LBPedSiblings; }
    QListWidget* ChildList() const { return LBPedChildren; }
    QLabel* SiblingsLabel() const { return PedSiblingsLab; }
    QLabel* ChildrenLabel() const { return PedChildrenLab; }
    // The area the boxes are laid out in, and the part of it that is seen.
    QWidget* MainArea() const { return panPedMain; }
    QScrollArea* MainScroll() const { return m_mainScroll; }
    QWidget* LeftPanel() const { return panPedLeft; }
    int FontSize() const { return FFontSize; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    class PedArea;
    class ListDelegate;

    // The next family of the subject (its spouse and children).
    void butPedSpouseClick();
    // Hides or shows the sibling and child lists.
    void sbPedLeftExpandClick();
    void sbPedRightExpandClick();
    void ShowPedigree();
    void ShowPanels();
    void FillList(QListWidget* list, const std::vector<std::int32_t>& people);
    void panPedMainResize();
    void PBPedPaint(QWidget* target);
    void labPedPlusClick(int i);

    WFamilySubject FSubject;
    PedigreeTree FTree;
    PedigreeLayout FLayout;
    int FFontSize = 8;

    QWidget* panPedLeft = nullptr;
    QScrollArea* m_mainScroll = nullptr;
    QWidget* panPedMain = nullptr;
    QLabel* PedSiblingsLab = nullptr;
    QLabel* PedChildrenLab = nullptr;
    QListWidget* LBPedSiblings = nullptr;
    QListWidget* LBPedChildren = nullptr;
    QToolButton* sbPedLeftExpand = nullptr;
    QToolButton* sbPedRightExpand = nullptr;
    std::array<TIndInfoPanel*, kPedBoxes + 1> iiPed{};
    TIndInfoPanel* iiPedSpouse = nullptr;
    QToolButton* butPedSpouse = nullptr;
    std::array<QToolButton*, 17> labPedPlus{};
    QLabel* labPedPlus17 = nullptr;
};
