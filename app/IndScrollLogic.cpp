#include "app/IndScrollLogic.h"

#include <algorithm>

#include "highlight/ABSHighLighter.h"
#include "model/ABSCollection.h"
#include "model/IntStack.h"

WIndScrollLogic::WIndScrollLogic()
    : FBackHistory(std::make_unique<WIntStack>()), FForwardHistory(std::make_unique<WIntStack>()) {}

WIndScrollLogic::~WIndScrollLogic() = default;

void WIndScrollLogic::changed() {
    if (OnControlsChanged) OnControlsChanged();
}

void WIndScrollLogic::raiseChange() {
    if (OnChange) OnChange();
}

void WIndScrollLogic::SetCollection(WABSCollection* ACollection) {
    if (ACollection == FCollection) return;
    FCollection = ACollection;
    Reset();
}

void WIndScrollLogic::Reset() {
    FRelatives.clear();
    if (!FCollection) {
        FState.caption.clear();
        FState.captionHint.clear();
        FState.scrollEnabled = false;
        FState.prevHLEnabled = FState.nextHLEnabled = false;
        FState.fatherEnabled = FState.motherEnabled = FState.relativesEnabled = false;
        changed();
        return;
    }
    FBackHistory->Clear();
    FForwardHistory->Clear();
    FLastIndividual = 1;
    FState.scrollEnabled = true;
    FState.prevHLEnabled = FState.nextHLEnabled = true;
    FState.fatherEnabled = FState.motherEnabled = FState.relativesEnabled = true;
    const std::int32_t count = FCollection->GetCount();
    if (count < 1) {
        FState.scrollEnabled = false;
        // Nothing to point at: no position names an individual.
        FMin = FMax = FPosition = 0;
    } else {
        FMin = 1;
        FMax = count;
        SetScrollPosition(1);
        FLargeChange = std::max(count / 100, 1);
        // An island view starts on its first member, not on individual 1.
        FLastIndividual = GetCurrent();
    }
    changed();
    ScrollBarChange();
}

void WIndScrollLogic::SetHighLighter(WABSHighLighter* AHighLighter) {
    FHighLighter = AHighLighter;
    FState.prevHLEnabled = FState.nextHLEnabled = AHighLighter != nullptr;
    UpdateControls();
}

std::int32_t WIndScrollLogic::GetCurrent() const {
    if (!FCollection) return FPosition;
    return FCollection->ViewToIndex(FPosition);
}

void WIndScrollLogic::GoTo(std::int32_t AIndex) {
    if (!FCollection || AIndex < 1) return;
    const std::int32_t pos = FCollection->IndexToView(AIndex);
    // Outside the view (or the file) the scroll bar cannot point at it.
    if (pos < 1 || pos > FCollection->GetCount() || !FState.scrollEnabled) return;
    SetScrollPosition(pos);
    recordMove();
    raiseChange();
}

void WIndScrollLogic::recordMove() {
    if (GetCurrent() == FLastIndividual) return;
    if (FBackHistory->IsEmpty() || FBackHistory->Peek(0) != FLastIndividual) FBackHistory->Push(FLastIndividual);
    FLastIndividual = GetCurrent();
}

void WIndScrollLogic::StartAt(std::int32_t AIndex) {
    GoTo(AIndex);
    FBackHistory->Clear();
    FForwardHistory->Clear();
    changed();
}

void WIndScrollLogic::GoToFather() {
    if (!FCollection) return;
    const std::int32_t f = FCollection->GetFather(GetCurrent());
    if (f != 0) GoTo(f);
}

void WIndScrollLogic::GoToMother() {
    if (!FCollection) return;
    const std::int32_t m = FCollection->GetMother(GetCurrent());
    if (m != 0) GoTo(m);
}

void WIndScrollLogic::FindHighlighted(bool AForward) {
    if (!FCollection || !FHighLighter) {
        FState.prevHLEnabled = FState.nextHLEnabled = false;
        changed();
        return;
    }
    const std::int32_t step = AForward ? 1 : -1;
    const std::int32_t count = FCollection->GetCount();
    const std::int32_t end = AForward ? count + 1 : 0;
    for (std::int32_t pos = FPosition + step; pos != end && pos >= 0 && pos <= count + 1; pos += step) {
        const std::int32_t ind = FCollection->ViewToIndex(pos);
        if (FHighLighter->IsHighlighted(ind)) {
            GoTo(ind);
            return;
        }
    }
}

void WIndScrollLogic::Back() {
    if (FBackHistory->IsEmpty()) return;
    if (FBackHistory->Peek(0) == GetCurrent()) FBackHistory->Pop();
    if (FBackHistory->IsEmpty()) return;
    FForwardHistory->Push(FLastIndividual);
    const std::int32_t target = FBackHistory->Pop();
    FLastIndividual = target;
    GoTo(target);
    changed();
}

void WIndScrollLogic::Forward() {
    if (FForwardHistory->IsEmpty()) return;
    if (FForwardHistory->Peek(0) == GetCurrent()) FForwardHistory->Pop();
    if (FForwardHistory->IsEmpty()) {
        changed();
        return;
    }
    FBackHistory->Push(FLastIndividual);
    const std::int32_t target = FForwardHistory->Pop();
    FLastIndividual = target;
    GoTo(target);
    changed();
}

bool WIndScrollLogic::CanGoBack() const { return FBackHistory->Count() > 0; }
bool WIndScrollLogic::CanGoForward() const { return FForwardHistory->Count() > 0; }
std::string WIndScrollLogic::GetBackList() const { return FBackHistory->GetText(); }
std::string WIndScrollLogic::GetForwardList() const { return FForwardHistory->GetText(); }

void WIndScrollLogic::ScrollBarScroll(ScrollCode ACode) {
    if (ACode == scTrack) return;
    // A step may move nowhere (at either end of the bar).
    recordMove();
    FForwardHistory->Clear();
}

void WIndScrollLogic::SetScrollPosition(std::int32_t APos) {
    APos = std::clamp(APos, FMin, FMax);
    if (APos == FPosition) return;
    FPosition = APos;
    changed();
    ScrollBarChange();
}

void WIndScrollLogic::ScrollBarChange() {
    if (!FCollection || !FState.scrollEnabled) return;
    UpdateControls();
    raiseChange();
}

namespace {
std::string captionOf(std::int32_t number, const WABSIndividual& ind) {
    return " " + std::to_string(number) + " - " + ind.GetDisplayName() + ", " + ind.GetEventDateText(1, 1) + ", " +
           ind.GetEventPlaceText(1, 1);
}
} // namespace

std::string WIndScrollLogic::CaptionText(std::int32_t AIndex) const {
    if (!FCollection) return {};
    const std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(AIndex);
    return ind ? captionOf(AIndex, *ind) : std::string();
}

void WIndScrollLogic::UpdateControls() {
    FState.captionHint.clear();
    if (FCollection && FState.scrollEnabled) {
        const std::int32_t current = GetCurrent();
        if (const std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(current)) {
            FState.caption = captionOf(current, *ind);
            if (FHighLighter && FHighLighter->IsHighlighted(current)) {
                FState.captionHighlighted = true;
                FState.captionBack = WABSHighLighter::GetHighlightColor();
                FState.captionFont = WABSHighLighter::GetHighlightFontColor();
            } else {
                FState.captionHighlighted = false;
                FState.captionFont = plat::kBlack;
            }
            FRelatives.clear();
            FState.relativesEnabled = FCollection->HasChildren(current) || ind->GetSpouseFamilyCount() >= 1;
            FState.captionHint = FCollection->GetFamilySummary(current);
        }
    }
    if (FCollection) {
        const std::int32_t current = GetCurrent();
        const std::int32_t father = FCollection->GetFather(current);
        FState.fatherEnabled = father != 0;
        FState.fatherHint = father != 0 ? FCollection->GetName(father) : std::string();
        const std::int32_t mother = FCollection->GetMother(current);
        FState.motherEnabled = mother != 0;
        FState.motherHint = mother != 0 ? FCollection->GetName(mother) : std::string();
    }
    changed();
}

void WIndScrollLogic::UpdateCaption() {
    if (FCollection && FState.scrollEnabled) {
        const std::int32_t current = GetCurrent();
        if (const std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(current))
            FState.caption = captionOf(current, *ind);
    }
    changed();
}

std::string WIndScrollLogic::RelativeText(std::int32_t AIndex, bool AIsSpouse) const {
    if (AIndex == 0) return "<No Given Name>";
    const std::unique_ptr<WABSIndividual> ind = FCollection ? FCollection->GetIndividual(AIndex) : nullptr;
    const std::string name = ind ? ind->GetDisplayName() : std::string();
    if (AIsSpouse) return name;
    std::string s = FCollection && FCollection->HasChildren(AIndex) ? "< " : "   ";
    const std::int32_t year = ind ? ind->GetEventYear(1, 1) : 0;
    s += year != 0 ? std::to_string(year) + " " : std::string(8, ' ');
    return s + name;
}

void WIndScrollLogic::BuildRelativesList() {
    FRelatives.clear();
    if (!FCollection) return;
    const std::int32_t current = GetCurrent();
    const std::unique_ptr<WABSIndividual> ind = FCollection->GetIndividual(current);
    if (!ind) return;
    const std::int32_t families = ind->GetSpouseFamilyCount();
    for (std::int32_t f = 1; f <= families; ++f) {
        const std::int32_t famNo = ind->GetSpouseFamily(f);
        if (famNo < 1 || famNo > FCollection->GetMarriageCount()) continue;
        const std::unique_ptr<WABSMarriage> fam = FCollection->GetMarriage(famNo);
        if (!fam) continue;
        const std::int32_t spouse = fam->GetOtherSpouse(current);
        FRelatives.push_back({spouse, "Spouse: " + RelativeText(spouse, true)});
        fam->SortChildren();
        const std::int32_t children = fam->GetChildCount();
        for (std::int32_t c = 1; c <= children; ++c) {
            const std::int32_t child = fam->GetChild(c);
            if (child > 0) FRelatives.push_back({child, "   " + RelativeText(child, false)});
        }
    }
    // The list text ended in a blank where its last separator stood.
    if (!FRelatives.empty()) FRelatives.back().text += ' ';
}

std::vector<std::string> WIndScrollLogic::RelativeItems() const {
    std::vector<std::string> items;
    items.reserve(FRelatives.size());
    for (const Relative& r : FRelatives) items.push_back(r.text);
    return items;
}

void WIndScrollLogic::GoToSelected(std::int32_t K) {
    if (!FCollection) return;
    if (K >= 1 && K <= RelativeCount()) GoTo(FRelatives[std::size_t(K - 1)].individual);
}

WIndScrollLogic::Layout WIndScrollLogic::ComputeLayout(int panelWidth, int hlButtonWidth, int relButtonWidth,
                                                       int captionLeft) {
    Layout l;
    const int w = panelWidth - 8;
    if (w >= 1) {
        l.scrollWidth = w - 2 * hlButtonWidth - 2;
        l.scrollVisible = true;
        l.nextHLLeft = panelWidth - hlButtonWidth - 3;
        l.hlButtonsVisible = true;
    } else {
        l.scrollWidth = 1;
        l.scrollVisible = false;
        l.hlButtonsVisible = false;
    }
    l.fatherLeft = panelWidth - 3 - 3 * relButtonWidth;
    l.motherLeft = panelWidth - 3 - 2 * relButtonWidth;
    l.relativesLeft = panelWidth - 3 - relButtonWidth;
    l.captionWidth = l.fatherLeft - 3 - captionLeft;
    return l;
}
