#include "highlight/FindContext.h"

#include "columns/ColSortIterator.h"
#include "highlight/ABSHighLighter.h"
#include "highlight/OptionText.h"
#include "model/ABSCollection.h"
#include "model/Global.h"

std::string JoinDatePlace(const std::string& date, const std::string& place) {
    if (date.empty()) return place;
    if (place.empty()) return date;
    return date + ", " + place;
}

WIndPanelText DescribeIndividual(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual) {
    WIndPanelText t;
    if (!collection) return t;
    auto ind = collection->GetIndividual(individual);
    if (!ind) return t;
    t.tag = individual;
    t.name = ind->GetDisplayName();
    t.birth = JoinDatePlace(ind->GetEventDateText(EventKind::Birth, 1), ind->GetEventPlaceText(EventKind::Birth, 1));
    t.death = JoinDatePlace(ind->GetEventDateText(EventKind::Death, 1), ind->GetEventPlaceText(EventKind::Death, 1));
    t.hint = collection->GetFamilySummary(individual);
    if (highlighter) {
        t.back = highlighter->GetBackColor(individual);
        t.font = highlighter->GetFontColor(individual);
    }
    return t;
}

std::int32_t SpouseFamilyCount(WABSCollection* collection, std::int32_t individual) {
    if (!collection) return 0;
    auto ind = collection->GetIndividual(individual);
    return ind ? ind->GetSpouseFamilyCount() : 0;
}

std::vector<WMarriageEntry> MarriageEntries(WABSCollection* collection, std::int32_t individual) {
    std::vector<WMarriageEntry> out;
    if (!collection) return out;
    auto ind = collection->GetIndividual(individual);
    if (!ind) return out;
    const std::int32_t families = ind->GetSpouseFamilyCount();
    for (std::int32_t f = 1; f <= families; ++f) {
        auto fam = collection->GetMarriage(ind->GetSpouseFamily(f));
        if (!fam) continue;
        fam->SortChildren();
        out.push_back({true, fam->GetOtherSpouse(individual)});
        const std::int32_t children = fam->GetChildCount();
        for (std::int32_t c = 1; c <= children; ++c) {
            const std::int32_t child = fam->GetChild(c);
            if (child > 0) out.push_back({false, child});
        }
    }
    return out;
}

// --- WFindSearch ---

WFindSearch::WFindSearch(const WFindContext& context) : FContext(context) {
    if (FContext.Collection) {
        FOwnIndex =
            std::make_unique<WColSortIterator>("", FContext.Collection->GetIndividualCount(), FContext.Collection);
        FOwnIndex->EnsureSorted();
    }
    FIndex = FOwnIndex.get();
}

WFindSearch::~WFindSearch() = default;

int WFindSearch::ModeFromSetting(int value) {
    switch (value) {
    case 1: return mIndex;
    case 2: return mRIN;
    case 5: return mCustom;
    case 4: return mGiven;
    default: return mSurname;
    }
}

int WFindSearch::SettingFromMode(int mode) {
    static const int kSetting[] = {1, 2, 5, 3, 4};
    return mode >= 0 && mode <= 4 ? kSetting[mode] : 3;
}

std::int32_t WFindSearch::SortColumn(int mode) {
    using Kind = WCollectionIterator::SearchKind;
    static constexpr std::int32_t kColumn[] = {
        0, WColSortIterator::kIdentifierColumn, WColSortIterator::SearchColumn(Kind::RefN),
        WColSortIterator::SearchColumn(Kind::SurnameGiven), WColSortIterator::SearchColumn(Kind::FullName)};
    return mode >= 0 && mode <= 4 ? kColumn[mode] : 0;
}

void WFindSearch::SetMode(int mode) {
    WColSortIterator* index = nullptr;
    switch (mode) {
    case mRIN: index = FContext.RINIndex; break;
    case mCustom: index = FContext.CustomIndex; break;
    case mSurname: index = FContext.SurnameIndex; break;
    case mGiven: index = FContext.GivenIndex; break;
    default: break;
    }
    // An index that sorts further down (its messages run this) is half in
    // order and cannot be waited for.
    if (!index || index->IsBusy()) {
        FMode = mIndex;
        FIndex = FOwnIndex.get();
        return;
    }
    // The mode changes with its index: the list and the search keep the
    // previous order while this one sorts.
    index->SortByColumnId(SortColumn(mode));
    FMode = mode;
    FIndex = index;
}

std::int32_t WFindSearch::Count() const { return FIndex ? FIndex->Count() : 0; }

std::int32_t WFindSearch::IndividualAt(std::int32_t position) {
    if (!FIndex || position < 1 || position > FIndex->Count()) return 0;
    return FIndex->GetItem(position);
}

std::int32_t WFindSearch::PositionOf(std::int32_t individual) {
    if (!FIndex || !FContext.Collection || individual < 1) return 0;
    const std::int32_t n = FContext.Collection->GetIndividualCount();
    if (individual > n) return 0;
    if (FPositionsOf != FIndex || FPositions.size() != std::size_t(n) + 1) {
        FPositions.assign(std::size_t(n) + 1, 0);
        const std::int32_t count = FIndex->Count();
        for (std::int32_t p = count; p >= 1; --p) {
            const std::int32_t ind = FIndex->GetItem(p);
            if (ind >= 1 && ind <= n) FPositions[std::size_t(ind)] = p; // first position wins
        }
        FPositionsOf = FIndex;
    }
    return FPositions[std::size_t(individual)];
}

std::int32_t WFindSearch::Search(const std::string& text) {
    if (text.empty() || !FIndex || !FContext.Collection) return 0;
    switch (FMode) {
    case mIndex: {
        std::int64_t v = 0;
        for (char c : HLOptText::TrimBlanks(text)) {
            if (c < '0' || c > '9') {
                v = 0;
                break;
            }
            v = v * 10 + (c - '0');
            if (v > 2000000000) v = 2000000000;
        }
        const std::int32_t count = Count();
        return std::int32_t(v > count ? count : v);
    }
    case mRIN: {
        const std::string xref = (FContext.Collection->GetFileKind() == 1 ? "I" : "") + text;
        return PositionOf(FContext.Collection->FindIndividualByXref(xref));
    }
    case mCustom: return FIndex->FindRefN(text);
    case mSurname: {
        std::string surname, given;
        Global::SplitAtComma(text, surname, given);
        return FIndex->FindSurnameGiven(surname, given);
    }
    case mGiven: return FIndex->FindFullName(text);
    default: return 0;
    }
}

std::string WFindSearch::KeyText(std::int32_t individual, std::int32_t position) {
    if (FMode == mIndex) return std::to_string(position);
    auto ind = FContext.Collection ? FContext.Collection->GetIndividual(individual) : nullptr;
    if (!ind) return {};
    switch (FMode) {
    case mRIN: return ind->GetXRef();
    case mCustom: return ind->GetRefN();
    case mSurname: return ind->GetSurnameText() + ", " + ind->GetGivenText();
    default: return ind->GetGivenText() + " " + ind->GetSurnameText();
    }
}

std::string WFindSearch::CellText(std::int32_t position, int column) {
    const std::int32_t individual = IndividualAt(position);
    auto ind = FContext.Collection ? FContext.Collection->GetIndividual(individual) : nullptr;
    if (!ind) return {};
    switch (column) {
    case 0: return std::to_string(individual);
    case 1: return FMode == mCustom ? ind->GetRefN() : ind->GetXRef();
    case 2: {
        const std::string given = ind->GetGivenText();
        if (FMode == mSurname) return ind->GetSurnameText() + ", " + given;
        return given.empty() ? ind->GetSurnameText() : given + " " + ind->GetSurnameText();
    }
    case 3: {
        const std::string birth = ind->GetEventDateText(EventKind::Birth, 1);
        if (!birth.empty()) return birth;
        const std::string chr = ind->GetEventDateText(EventKind::Christening, 1);
        return chr.empty() ? std::string() : "[" + chr + "]";
    }
    default: return {};
    }
}

std::string WFindSearch::IdentifierTitle() const {
    return FContext.Collection && FContext.Collection->GetFileKind() == 1 ? "REF" : "RIN";
}

// --- WQuickFind ---

WQuickFind::WQuickFind(WABSCollection* collection)
    : FCollection(collection), FCount(collection ? collection->GetIndividualCount() : 0) {
    FPageStep = FCount / 100;
    if (FPageStep == 0) FPageStep = 1;
}

std::int64_t WQuickFind::TypedNumber(const std::string& text) {
    if (text.empty()) return 0;
    if (text.size() > 9) return -1;
    std::int64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

bool WQuickFind::TextChanged(const std::string& text) {
    const std::int64_t v = TypedNumber(text);
    if (v < 0 || v > FCount) return false;
    FCurrent = std::int32_t(v);
    return true;
}

bool WQuickFind::StepUp(const std::string& text, std::int32_t n) {
    if (text.empty()) {
        if (FCount < 1) return false;
        FCurrent = 1;
        return true;
    }
    std::int64_t v = TypedNumber(text);
    if (v < 0) return false;
    v += n;
    if (v > FCount) v = FCount;
    if (v < 1) return false;
    FCurrent = std::int32_t(v);
    return true;
}

bool WQuickFind::StepDown(const std::string& text, std::int32_t n) {
    if (text.empty()) return false;
    std::int64_t v = TypedNumber(text);
    if (v < 0) return false;
    v -= n;
    if (v > FCount) v = FCount;
    if (v <= 0) return false;
    FCurrent = std::int32_t(v);
    return true;
}

std::vector<WQuickFind::Entry> WQuickFind::SpouseEntries(std::int32_t individual) {
    std::vector<Entry> out;
    for (const auto& e : MarriageEntries(FCollection, individual)) {
        if (e.spouse)
            out.push_back({e.individual, "Spouse: " + FCollection->FormatChildLine(e.individual, true)});
        else
            out.push_back({e.individual, "   " + FCollection->FormatChildLine(e.individual, false)});
    }
    return out;
}
