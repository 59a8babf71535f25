#pragma once
// What the individual navigation panel does, without its widgets: the scroll
// position over the collection's view, the back / forward history, the
// father, mother and relatives moves, highlighted stepping, the caption and
// the enabled state of every control. The panel widget mirrors this state
// and forwards the user's actions.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Colour.h"

class WABSCollection;
class WABSHighLighter;
class WIntStack;

class WIndScrollLogic {
public:
    // The scroll bar's notices, in the order the desktop scroll bar has them.
    enum ScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

    struct Relative {
        std::int32_t individual = 0; // 0 for a family without the other spouse
        std::string text;            // as the list shows it
    };

    struct Controls {
        bool scrollEnabled = false;
        bool prevHLEnabled = false;
        bool nextHLEnabled = false;
        bool fatherEnabled = false;
        bool motherEnabled = false;
        bool relativesEnabled = false;
        std::string caption;
        std::string captionHint;
        std::string fatherHint;
        std::string motherHint;
        // Highlighted caption colours; otherwise the button face and black.
        bool captionHighlighted = false;
        plat::ColorRef captionBack = 0;
        plat::ColorRef captionFont = 0;
    };

    struct Layout {
        bool scrollVisible = false;
        int scrollWidth = 1;
        bool hlButtonsVisible = false;
        int nextHLLeft = 0;
        int fatherLeft = 0;
        int motherLeft = 0;
        int relativesLeft = 0;
        int captionWidth = 0;
    };

    WIndScrollLogic();
    ~WIndScrollLogic();

    WIndScrollLogic(const WIndScrollLogic&) = delete;
    WIndScrollLogic& operator=(const WIndScrollLogic&) = delete;

    // The current individual may have changed.
    std::function<void()> OnChange;
    // The controls' state (caption, buttons, scroll range or position) changed.
    std::function<void()> OnControlsChanged;

    void SetCollection(WABSCollection* ACollection);
    WABSCollection* Collection() const { return FCollection; }
    void Reset();
    void SetHighLighter(WABSHighLighter* AHighLighter);
    WABSHighLighter* HighLighter() const { return FHighLighter; }

    std::int32_t GetCurrent() const;
    void GoTo(std::int32_t AIndex);
    // Moves to the individual a file opens on; the history starts there.
    void StartAt(std::int32_t AIndex);
    void GoToFather();
    void GoToMother();
    void FindHighlighted(bool AForward);

    void Back();
    void Forward();
    bool CanGoBack() const;
    bool CanGoForward() const;
    std::string GetBackList() const;
    std::string GetForwardList() const;
    std::int32_t LastIndividual() const { return FLastIndividual; }

    // Fills the relatives list for the current individual.
    void BuildRelativesList();
    const std::vector<Relative>& Relatives() const { return FRelatives; }
    std::int32_t RelativeCount() const { return std::int32_t(FRelatives.size()); }
    // The list's item texts, in order.
    std::vector<std::string> RelativeItems() const;
    // Moves to the relative chosen as item K (1-based).
    void GoToSelected(std::int32_t K);
    std::string RelativeText(std::int32_t AIndex, bool AIsSpouse) const;

    // The scroll bar. ScrollBarScroll comes before a user step changes the
    // position; SetScrollPosition is any change of it and runs
    // ScrollBarChange when the position really changed.
    void ScrollBarScroll(ScrollCode ACode);
    void SetScrollPosition(std::int32_t APos);
    void ScrollBarChange();
    std::int32_t ScrollPosition() const { return FPosition; }
    std::int32_t ScrollMin() const { return FMin; }
    std::int32_t ScrollMax() const { return FMax; }
    std::int32_t LargeChange() const { return FLargeChange; }

    const Controls& State() const { return FState; }
    void UpdateControls();
    // Rewrites only the caption text (after the name settings changed).
    void UpdateCaption();
    std::string CaptionText(std::int32_t AIndex) const;

    static Layout ComputeLayout(int panelWidth, int hlButtonWidth, int relButtonWidth, int captionLeft);

private:
    void changed();
    void raiseChange();
    // Only a move to someone else leaves where we were in the history.
    void recordMove();

    WABSCollection* FCollection = nullptr;
    WABSHighLighter* FHighLighter = nullptr;
    std::int32_t FLastIndividual = 1;
    std::vector<Relative> FRelatives;
    std::unique_ptr<WIntStack> FBackHistory;
    std::unique_ptr<WIntStack> FForwardHistory;

    // The desktop scroll bar starts at 0 in 0..100.
    std::int32_t FPosition = 0;
    std::int32_t FMin = 0;
    std::int32_t FMax = 100;
    std::int32_t FLargeChange = 1;
    Controls FState;
};
