#pragma once
// The individual navigation panel: caption line, scroll bar over the view,
// previous / next highlighted, father, mother and relatives buttons, and a
// back / forward history. The behaviour lives in WIndScrollLogic; this
// panel shows its state and passes the user's actions to it.
#include <string>

#include <QFrame>

#include "app/IndScrollLogic.h"

class QLabel;
class QScrollBar;
class QToolButton;
class WABSCollection;
class WABSHighLighter;
class WScrollNotifier;
class WSelectionButton;

class WIndScroll : public QFrame {
    Q_OBJECT
public:
    explicit WIndScroll(QWidget* owner = nullptr);
    ~WIndScroll() override;

    void SetCollection(WABSCollection* ACollection) { FLogic.SetCollection(ACollection); }
    void Reset() { FLogic.Reset(); }
    void SetHighLighter(WABSHighLighter* AHighLighter) { FLogic.SetHighLighter(AHighLighter); }
    void SetCurrentIndividual(std::int32_t AIndex) { FLogic.GoTo(AIndex); }
    void StartAt(std::int32_t AIndex) { FLogic.StartAt(AIndex); }
    std::int32_t GetCurrentIndividual() const { return FLogic.GetCurrent(); }
    void Father() { FLogic.GoToFather(); }
    void Mother() { FLogic.GoToMother(); }
    void NextHighlighted() { FLogic.FindHighlighted(true); }
    void PreviousHighlighted() { FLogic.FindHighlighted(false); }
    void Back() { FLogic.Back(); }
    void Forward() { FLogic.Forward(); }
    bool CanGoBack() const { return FLogic.CanGoBack(); }
    bool CanGoForward() const { return FLogic.CanGoForward(); }
    void GetBackList(std::string& S) const { S = FLogic.GetBackList(); }
    void GetForwardList(std::string& S) const { S = FLogic.GetForwardList(); }
    void SetFontSize(int ASize);
    void UpdateCaption() { FLogic.UpdateCaption(); }

    WIndScrollLogic& Logic() { return FLogic; }

    QScrollBar* ScrollBar = nullptr;
    QToolButton* PrevHLButton = nullptr;
    QToolButton* NextHLButton = nullptr;
    QToolButton* FatherButton = nullptr;
    QToolButton* MotherButton = nullptr;
    WSelectionButton* RelativesButton = nullptr;
    QLabel* CaptionLabel = nullptr;

signals:
    // The current individual may have changed.
    void OnChange();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void PanelResize();
    void SyncControls();
    void BuildRelativesList();
    void GoToSelected();
    void ScrollBarScroll(int code, int pos);
    void ScrollBarValueChanged(int value);

    WIndScrollLogic FLogic;
    WScrollNotifier* FNotifier = nullptr;
    bool FSyncing = false;
};
