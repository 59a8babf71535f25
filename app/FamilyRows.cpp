#include "app/FamilyRows.h"

#include <cstdio>
#include <memory>

#include "highlight/ABSHighLighter.h"
#include "model/ABSCollection.h"
#include "model/Options.h"

bool WFamilySubject::Take(WABSCollection* collection, std::int32_t individual) {
    Clear();
    if (!collection || individual < 1) return false;
    std::unique_ptr<WABSIndividual> ind = collection->GetIndividual(individual);
    if (!ind) return false;
    m_subject = individual;
    const std::int32_t count = ind->GetSpouseFamilyCount();
    m_families.reserve(count > 0 ? std::size_t(count) : 0);
    for (std::int32_t i = 1; i <= count; ++i) m_families.push_back(ind->GetSpouseFamily(i));
    return true;
}

void WFamilySubject::Clear() {
    m_subject = 0;
    m_index = 1;
    m_families.clear();
}

bool WFamilySubject::Next() {
    if (m_families.empty()) return false;
    m_index = m_index >= Count() ? 1 : m_index + 1;
    return true;
}

std::int32_t WFamilySubject::CurrentFamily() const {
    if (m_index < 1 || m_index > Count()) return 0;
    return m_families[std::size_t(m_index - 1)];
}

std::string WFamilySubject::PositionText() const {
    if (Count() < 2) return {};
    return "(" + std::to_string(m_index) + " of " + std::to_string(Count()) + ")";
}

plat::ColorRef HighlightBackColor(WABSHighLighter* highlighter, std::int32_t individual) {
    return highlighter ? highlighter->GetBackColor(individual) : plat::kWhite;
}

plat::ColorRef HighlightFontColor(WABSHighLighter* highlighter, std::int32_t individual) {
    return highlighter ? highlighter->GetFontColor(individual) : plat::kBlack;
}

namespace {

std::string dateAndPlace(const WABSIndividual& person, std::int32_t kind) {
    if (person.GetEventCount(kind) < 1) return {};
    std::unique_ptr<WABSVitEvent> event = person.GetEvent(kind, 1);
    if (!event) return {};
    const std::string date = event->GetDateText();
    const std::string place = event->GetPlaceText();
    if (date.empty()) return place;
    if (place.empty()) return date;
    return date + ", " + place;
}

// The event's date text, else the alternate's in brackets when asked for.
std::string dateOrAlternate(const WABSIndividual& person, std::int32_t kind, std::int32_t altKind, bool alt) {
    std::string text = person.GetEventDateText(kind, 1);
    if (text.empty() && alt) {
        const std::string other = person.GetEventDateText(altKind, 1);
        if (!other.empty()) text = "[" + other + "]";
    }
    return text;
}

} // namespace

std::string VitalLine(const WABSIndividual& person, std::int32_t kind, std::int32_t altKind, bool altBracketed) {
    std::string text = dateAndPlace(person, kind);
    if (text.empty() && altBracketed) {
        const std::string other = dateAndPlace(person, altKind);
        if (!other.empty()) text = "[" + other + "]";
    }
    return text;
}

PersonPanelInfo MakePersonPanel(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual,
                                int linesShown) {
    PersonPanelInfo info;
    info.UseLDS = WOptions::GetBool(opt::UseLDS);
    if (!collection || individual == 0) return info;
    std::unique_ptr<WABSIndividual> ind = collection->GetIndividual(individual);
    if (!ind) return info;
    info.Individual = individual;
    info.Back = HighlightBackColor(highlighter, individual);
    info.Font = HighlightFontColor(highlighter, individual);
    if (info.UseLDS) {
        info.LDSBap = ind->HasLDSEvent(EventKind::LDSBaptism);
        info.LDSEnd = ind->HasLDSEvent(EventKind::LDSEndowment);
        info.LDSSP = ind->HasLDSEvent(EventKind::LDSSealParents);
        info.LDSSS = collection->HasSpouseSealing(individual, 0);
    }
    info.Name = ind->GetDisplayName();
    const bool famBirChr = WOptions::GetBool(opt::FamBirChr);
    if (linesShown > 1) info.Birth = VitalLine(*ind, EventKind::Birth, EventKind::Christening, famBirChr);
    if (linesShown > 2) info.Death = VitalLine(*ind, EventKind::Death, EventKind::Burial, famBirChr);
    if (WOptions::GetBool(opt::ShowIndHint)) info.Hint = collection->GetFamilySummary(individual);
    return info;
}

FamChildRow MakeChildRow(WABSCollection* collection, WABSHighLighter* highlighter, std::int32_t individual) {
    FamChildRow row;
    if (!collection || individual == 0) return row;
    std::unique_ptr<WABSIndividual> child = collection->GetIndividual(individual);
    if (!child) return row;
    const bool famBirChr = WOptions::GetBool(opt::FamBirChr);
    row.Child = individual;
    row.ChildName = child->GetDisplayName();
    row.ChildBack = HighlightBackColor(highlighter, individual);
    row.ChildFont = HighlightFontColor(highlighter, individual);
    row.Sex = std::string(1, child->GetSex());
    row.Birth = dateOrAlternate(*child, EventKind::Birth, EventKind::Christening, famBirChr);
    row.Death = dateOrAlternate(*child, EventKind::Death, EventKind::Burial, famBirChr);
    const std::int32_t count = child->GetSpouseFamilyCount();
    if (count < 1) return row;
    const std::int32_t first = child->GetSpouseFamily(1);
    std::unique_ptr<WABSMarriage> family = collection->GetMarriage(first);
    if (!family) {
        char text[64];
        std::snprintf(text, sizeof text, "Error getting pointer to Marriage %d", int(first));
        throw EINDError(text);
    }
    const std::int32_t spouse = family->GetOtherSpouse(individual);
    if (spouse == 0) return row;
    row.SpouseCount = count;
    row.Spouse = spouse;
    row.HasChildren = family->GetChildCount() > 0;
    std::string name;
    if (std::unique_ptr<WABSIndividual> s = collection->GetIndividual(spouse)) name = s->GetDisplayName();
    if (count >= 2) name = "(1 of " + std::to_string(count) + ") " + name;
    row.SpouseName = name;
    row.SpouseBack = HighlightBackColor(highlighter, spouse);
    row.SpouseFont = HighlightFontColor(highlighter, spouse);
    return row;
}

void ShowFamilyGroup(WABSCollection* collection, WABSHighLighter* highlighter, const WFamilySubject& subject,
                     FamilyGroup& group) {
    group = FamilyGroup{};
    if (!collection || subject.Subject() == 0) return;
    const std::int32_t me = subject.Subject();
    group.Persons[fpSubject] = me;
    group.MultipleMarriages = subject.PositionText();
    group.Persons[fpFather1] = collection->GetFather(me);
    group.Persons[fpMother1] = collection->GetMother(me);
    std::unique_ptr<WABSMarriage> family;
    if (subject.Count() >= 1) {
        group.Family = subject.CurrentFamily();
        family = collection->GetMarriage(group.Family);
    }
    if (family) {
        group.Spouse = family->GetOtherSpouse(me);
        group.Persons[fpSpouse] = group.Spouse;
        group.Persons[fpFather2] = collection->GetFather(group.Spouse);
        group.Persons[fpMother2] = collection->GetMother(group.Spouse);
        group.MarriageInfo = family->GetDateAndPlaceText();
    }
    const FamilyPanel plusPanels[4] = {fpFather1, fpMother1, fpFather2, fpMother2};
    for (std::size_t k = 0; k < 4; ++k) {
        const std::int32_t p = group.Persons[plusPanels[k]];
        group.Plus[k] = p != 0 && (collection->GetFather(p) != 0 || collection->GetMother(p) != 0);
    }
    if (!family) return;
    family->SortChildren();
    const std::int32_t count = family->GetChildCount();
    group.Children.reserve(count > 0 ? std::size_t(count) : 0);
    for (std::int32_t i = 1; i <= count; ++i)
        group.Children.push_back(MakeChildRow(collection, highlighter, family->GetChild(i)));
}

std::array<std::string, 6> FamilyGridTitles(bool famBirChr, std::size_t childCount) {
    return {" ",
            "Children (" + std::to_string(childCount) + ")",
            "Sex",
            famBirChr ? "Birth/[Chr]" : "Birth",
            famBirChr ? "Death/[Burial]" : "Death",
            "Spouse"};
}
