#include "model/ABSCollection.h"

#include <array>

#include "model/CollectionIterator.h"
#include "model/Date.h"
#include "model/Generations.h"
#include "model/Islands.h"

EIndexError::EIndexError(std::int64_t index)
    : std::runtime_error("Error: In valid index value = " + std::to_string(index)), m_index(index) {}

WABSCollection::WABSCollection() = default;
WABSCollection::~WABSCollection() = default;

bool WABSCollection::IsComputingIslands() const { return m_islands && m_islands->IsComputing(); }

WIslands& WABSCollection::Islands() {
    if (!m_islands) m_islands = std::make_unique<WIslands>(*this);
    return *m_islands;
}
bool WABSCollection::ComputeIslands() { return Islands().ComputeIslands(); }
bool WABSCollection::IslandsComputed() const { return m_islands && m_islands->IslandsComputed(); }
std::int32_t WABSCollection::GetIslandCount() { return Islands().GetIslandCount(); }
std::int32_t WABSCollection::GetIslandSize(std::int32_t pos) { return Islands().GetIslandSize(pos); }
std::int32_t WABSCollection::GetIslandFamilyCount(std::int32_t pos) { return Islands().GetIslandFamilyCount(pos); }
std::int32_t WABSCollection::GetIslandFirstIndividual(std::int32_t pos) {
    return Islands().GetIslandFirstIndividual(pos);
}
std::int32_t WABSCollection::GetIslandOfIndividual(std::int32_t individual) {
    return Islands().GetIslandOfIndividual(individual);
}

WGenerations& WABSCollection::Generations() {
    if (!m_generations) m_generations = std::make_unique<WGenerations>(*this);
    return *m_generations;
}
std::int32_t WABSCollection::GetNumAncestors(std::int32_t i) { return Generations().GetNumAncestors(i); }
std::int32_t WABSCollection::GetNumDescendants(std::int32_t i) { return Generations().GetNumDescendants(i); }
std::int32_t WABSCollection::GetAncestorGenerations(std::int32_t i) { return Generations().GetAncestorGenerations(i); }
std::int32_t WABSCollection::GetDescendantGenerations(std::int32_t i) {
    return Generations().GetDescendantGenerations(i);
}
double WABSCollection::GetAvgAncestorGenerations(std::int32_t i) { return Generations().GetAvgAncestorGenerations(i); }
double WABSCollection::GetAvgDescendantGenerations(std::int32_t i) {
    return Generations().GetAvgDescendantGenerations(i);
}

// --- records by number ---

std::unique_ptr<WABSIndividual> WABSCollection::GetIndividual(std::int32_t n) {
    if (n == 0) return nullptr;
    if (n < 0) throw EIndexError(n);
    if (n > GetIndividualCount()) return nullptr;
    return MakeIndividual(n);
}

namespace {
// Record n of count: none for 0, the index error outside 1..count.
template <class Make>
auto recordInRange(std::int32_t n, std::int32_t count, Make make) -> decltype(make()) {
    if (n == 0) return nullptr;
    if (n < 0 || n > count) throw EIndexError(n);
    return make();
}
} // namespace

std::unique_ptr<WABSMarriage> WABSCollection::GetMarriage(std::int32_t n) {
    return recordInRange(n, GetMarriageCount(), [&] { return MakeMarriage(n); });
}

std::unique_ptr<WABSNote> WABSCollection::GetNote(std::int32_t n) {
    return recordInRange(n, GetNoteCount(), [&] { return MakeNote(n); });
}

std::unique_ptr<WABSSource> WABSCollection::GetSource(std::int32_t n) {
    return recordInRange(n, GetSourceCount(), [&] { return MakeSource(n); });
}

std::unique_ptr<WABSRepo> WABSCollection::GetRepository(std::int32_t n) {
    if (n == 0) return nullptr;
    return MakeRepository(n);
}

// --- numbers-only kinship, through the records ---

namespace {

template <class Fn>
std::int32_t readIndividual(WABSCollection& c, std::int32_t n, Fn fn) {
    if (!c.IndividualExists(n)) return 0;
    std::unique_ptr<WABSIndividual> individual = c.GetIndividual(n);
    return individual ? fn(*individual) : 0;
}

template <class Fn>
std::int32_t readMarriage(WABSCollection& c, std::int32_t n, Fn fn) {
    if (!c.MarriageExists(n)) return 0;
    std::unique_ptr<WABSMarriage> marriage = c.GetMarriage(n);
    return marriage ? fn(*marriage) : 0;
}

} // namespace

std::int32_t WABSCollection::LinkParentFamilyCount(std::int32_t individual) {
    return readIndividual(*this, individual, [](WABSIndividual& i) { return i.GetParentFamilyCount(); });
}

std::int32_t WABSCollection::LinkParentFamily(std::int32_t individual, std::int32_t k) {
    return readIndividual(*this, individual, [k](WABSIndividual& i) { return i.GetParentFamily(k); });
}

std::int32_t WABSCollection::LinkSpouseFamilyCount(std::int32_t individual) {
    return readIndividual(*this, individual, [](WABSIndividual& i) { return i.GetSpouseFamilyCount(); });
}

std::int32_t WABSCollection::LinkSpouseFamily(std::int32_t individual, std::int32_t k) {
    return readIndividual(*this, individual, [k](WABSIndividual& i) { return i.GetSpouseFamily(k); });
}

std::int32_t WABSCollection::LinkHusband(std::int32_t family) {
    return readMarriage(*this, family, [](WABSMarriage& m) { return m.GetHusband(); });
}

std::int32_t WABSCollection::LinkWife(std::int32_t family) {
    return readMarriage(*this, family, [](WABSMarriage& m) { return m.GetWife(); });
}

std::int32_t WABSCollection::LinkChildCount(std::int32_t family) {
    return readMarriage(*this, family, [](WABSMarriage& m) { return m.GetChildCount(); });
}

std::int32_t WABSCollection::LinkChild(std::int32_t family, std::int32_t n) {
    return readMarriage(*this, family, [n](WABSMarriage& m) { return m.GetChild(n); });
}

void WABSCollection::LinkChildren(std::int32_t family, std::vector<std::int32_t>& children) {
    children.clear();
    readMarriage(*this, family, [&children](WABSMarriage& m) {
        const std::int32_t count = m.GetChildCount();
        for (std::int32_t i = 1; i <= count; ++i) children.push_back(m.GetChild(i));
        return 0;
    });
}

char WABSCollection::LinkSex(std::int32_t individual) {
    return static_cast<char>(readIndividual(*this, individual, [](WABSIndividual& i) { return i.GetSex(); }));
}

void WABSCollection::LinkSortChildren(std::int32_t family) {
    readMarriage(*this, family, [](WABSMarriage& m) {
        m.SortChildren();
        return 0;
    });
}

// --- parents, spouses and children ---

std::int32_t WABSCollection::GetFather(std::int32_t individual) {
    if (individual == 0) return 0;
    std::int32_t family = LinkParentFamily(individual, 1);
    return family ? LinkHusband(family) : 0;
}

std::int32_t WABSCollection::GetMother(std::int32_t individual) {
    if (individual == 0) return 0;
    std::int32_t family = LinkParentFamily(individual, 1);
    return family ? LinkWife(family) : 0;
}

std::int32_t WABSCollection::GetParentCount(std::int32_t individual) {
    if (individual == 0) return 0;
    std::int32_t parents = 0;
    const std::int32_t families = LinkParentFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k) {
        std::int32_t family = LinkParentFamily(individual, k);
        if (family == 0) continue;
        parents += (LinkHusband(family) != 0) + (LinkWife(family) != 0);
    }
    return parents;
}

std::int32_t WABSCollection::FindCommonMarriage(std::int32_t individual1, std::int32_t individual2) {
    if (individual1 == 0 || individual2 == 0) return 0;
    const std::int32_t count1 = LinkSpouseFamilyCount(individual1);
    const std::int32_t count2 = LinkSpouseFamilyCount(individual2);
    for (std::int32_t a = 1; a <= count1; ++a) {
        std::int32_t family = LinkSpouseFamily(individual1, a);
        if (family == 0) continue;
        for (std::int32_t b = 1; b <= count2; ++b)
            if (LinkSpouseFamily(individual2, b) == family) return family;
    }
    return 0;
}

std::int32_t WABSCollection::GetSpouse(std::int32_t individual, std::int32_t k) {
    if (individual == 0 || k < 1 || k > LinkSpouseFamilyCount(individual)) return 0;
    std::int32_t family = LinkSpouseFamily(individual, k);
    if (family == 0) return 0;
    std::int32_t husband = LinkHusband(family);
    return husband == individual ? LinkWife(family) : husband;
}

bool WABSCollection::HasChildren(std::int32_t individual) {
    if (individual == 0) return false;
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k)
        if (LinkChildCount(LinkSpouseFamily(individual, k)) > 0) return true;
    return false;
}

std::int32_t WABSCollection::GetChildCount(std::int32_t individual) {
    if (individual == 0) return 0;
    std::int32_t children = 0;
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k) children += LinkChildCount(LinkSpouseFamily(individual, k));
    return children;
}

std::int32_t WABSCollection::CountChildrenOfSex(std::int32_t individual, char sex) {
    if (individual == 0) return 0;
    std::int32_t count = 0;
    std::vector<std::int32_t> children;
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k) {
        LinkChildren(LinkSpouseFamily(individual, k), children);
        for (std::int32_t child : children)
            if (child > 0 && LinkSex(child) == sex) ++count;
    }
    return count;
}

std::int32_t WABSCollection::GetSonCount(std::int32_t individual) { return CountChildrenOfSex(individual, 'M'); }

std::int32_t WABSCollection::GetDaughterCount(std::int32_t individual) { return CountChildrenOfSex(individual, 'F'); }

bool WABSCollection::HasFamily(std::int32_t individual) {
    if (!IndividualExists(individual)) return false;
    return LinkParentFamily(individual, 1) != 0 || LinkSpouseFamilyCount(individual) > 0;
}

std::int32_t WABSCollection::otherSpouseAt(std::int32_t individual, std::int32_t familyPos) {
    if (familyPos < 1) familyPos = 1;
    std::int32_t family = LinkSpouseFamily(individual, familyPos);
    if (family == 0) return 0;
    std::int32_t wife = LinkWife(family);
    return wife == individual ? LinkHusband(family) : wife;
}

std::int32_t WABSCollection::GetFatherMotherOrSpouse(std::int32_t individual, std::int32_t& kind,
                                                     std::int32_t familyPos) {
    kind = 0;
    if (individual == 0) return 0;
    if (std::int32_t father = GetFather(individual)) {
        kind = 1;
        return father;
    }
    if (std::int32_t mother = GetMother(individual)) {
        kind = 2;
        return mother;
    }
    if (std::int32_t spouse = otherSpouseAt(individual, familyPos)) {
        kind = 3;
        return spouse;
    }
    return 0;
}

std::int32_t WABSCollection::GetSpouseFatherOrMother(std::int32_t individual, std::int32_t& kind,
                                                     std::int32_t familyPos) {
    kind = 0;
    if (individual == 0) return 0;
    if (std::int32_t spouse = otherSpouseAt(individual, familyPos)) {
        kind = 3;
        return spouse;
    }
    if (std::int32_t father = GetFather(individual)) {
        kind = 1;
        return father;
    }
    if (std::int32_t mother = GetMother(individual)) {
        kind = 2;
        return mother;
    }
    return 0;
}

// --- notes, sources and sealings ---

std::unique_ptr<WABSMarriage> WABSCollection::spouseFamilyAt(std::int32_t individual, std::int32_t familyPos) {
    std::int32_t family = LinkSpouseFamily(individual, familyPos);
    return MarriageExists(family) ? GetMarriage(family) : nullptr;
}

bool WABSCollection::HasMarriageSource(std::int32_t individual) {
    if (individual == 0) return false;
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k) {
        std::unique_ptr<WABSMarriage> marriage = spouseFamilyAt(individual, k);
        if (marriage && marriage->GetCitationCount() > 0) return true;
    }
    return false;
}

bool WABSCollection::HasSource(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    if (!record) return false;
    return record->HasAnySource() || HasMarriageSource(individual);
}

bool WABSCollection::HasMarriageNote(std::int32_t individual) {
    if (individual == 0) return false;
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    for (std::int32_t k = 1; k <= families; ++k) {
        std::unique_ptr<WABSMarriage> marriage = spouseFamilyAt(individual, k);
        if (marriage && !marriage->GetNoteText().empty()) return true;
    }
    return false;
}

bool WABSCollection::HasNote(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    if (!record) return false;
    return record->HasAnyNote() || HasMarriageNote(individual);
}

bool WABSCollection::HasSpouseSealing(std::int32_t individual, std::int32_t familyPos) {
    if (individual == 0) return false;
    auto sealed = [this, individual](std::int32_t k) {
        std::unique_ptr<WABSMarriage> marriage = spouseFamilyAt(individual, k);
        return marriage && marriage->HasLDSSealing() && marriage->GetLDSSealing(EventKind::LDSSealSpouse);
    };
    const std::int32_t families = LinkSpouseFamilyCount(individual);
    if (familyPos >= 1 && familyPos <= families) return sealed(familyPos);
    for (std::int32_t k = 1; k <= families; ++k)
        if (sealed(k)) return true;
    return false;
}

std::unique_ptr<WABSLDSEvent> WABSCollection::GetEventOfFamily(std::int32_t individual, std::int32_t familyPos,
                                                               std::int32_t kind) {
    if (individual == 0 || familyPos < 1 || familyPos > LinkSpouseFamilyCount(individual)) return nullptr;
    std::unique_ptr<WABSMarriage> marriage = spouseFamilyAt(individual, familyPos);
    return marriage ? marriage->GetLDSSealing(kind) : nullptr;
}

std::string WABSCollection::GetFamilyEventDate(std::int32_t individual, std::int32_t familyPos, std::int32_t kind) {
    std::unique_ptr<WABSLDSEvent> event = GetEventOfFamily(individual, familyPos, kind);
    return event ? event->GetDateText() : std::string();
}

std::string WABSCollection::GetFamilyEventPlace(std::int32_t individual, std::int32_t familyPos, bool checkTemple,
                                                std::int32_t kind) {
    std::unique_ptr<WABSLDSEvent> event = GetEventOfFamily(individual, familyPos, kind);
    if (!event) return {};
    if (checkTemple && !event->HasTemple()) return "Live";
    return event->GetPlaceText();
}

// --- names ---

std::string WABSCollection::GetFullName(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    return record ? record->GetFullName(true) : std::string();
}

std::string WABSCollection::GetName(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    return record ? record->GetDisplayName() : std::string();
}

std::string WABSCollection::GetNameWithBirth(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    if (!record) return {};
    return record->GetDisplayName() + ", " + record->GetEventDateAndPlace(EventKind::Birth, 1);
}

// --- family summaries ---

std::string WABSCollection::FormatChildLine(std::int32_t individual, bool noMarker) {
    if (individual == 0) return "<No Given Name>";
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    std::string text;
    if (!noMarker) {
        text += HasChildren(individual) ? "< " : "   ";
        std::int32_t year = record ? record->GetEventYear(EventKind::Birth, 1) : 0;
        if (year != 0)
            text += std::to_string(year) + ' ';
        else
            text += "        ";
    }
    if (record) text += record->GetDisplayName();
    return text;
}

std::string WABSCollection::GetFamiliesText(std::int32_t individual) {
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    if (!record) return {};
    std::string text;
    const std::int32_t families = record->GetSpouseFamilyCount();
    for (std::int32_t k = 1; k <= families; ++k) {
        std::int32_t family = record->GetSpouseFamily(k);
        std::unique_ptr<WABSMarriage> marriage = MarriageExists(family) ? GetMarriage(family) : nullptr;
        if (!marriage) continue;
        text += "Spouse: " + FormatChildLine(marriage->GetOtherSpouse(individual), true) + abs_text::CRLF;
        text += "   Mar. Date: " + marriage->GetDateText() + ", " + marriage->GetPlace() + abs_text::CRLF;
        marriage->SortChildren();
        const std::int32_t children = marriage->GetChildCount();
        for (std::int32_t c = 1; c <= children; ++c) {
            std::int32_t child = marriage->GetChild(c);
            if (child > 0) text += "   " + FormatChildLine(child, false) + abs_text::CRLF;
        }
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, abs_text::CRLF) == 0) text.erase(text.size() - 2);
    return text;
}

std::string WABSCollection::GetFamilySummary(std::int32_t individual) {
    if (individual == 0) return {};
    std::unique_ptr<WABSIndividual> record = GetIndividual(individual);
    if (!record) return {};
    const char sex = record->GetSex();
    const std::string lines[] = {
        "Name :" + record->GetDisplayName(),
        "Sex    :" + (sex ? std::string(1, sex) : std::string()),
        "Birth   :" + record->GetEventDateAndPlace(EventKind::Birth, 1),
        "Chr     :" + record->GetEventDateAndPlace(EventKind::Christening, 1),
        "Death :" + record->GetEventDateAndPlace(EventKind::Death, 1),
        "Bur     :" + record->GetEventDateAndPlace(EventKind::Burial, 1),
        "Age     :" + record->GetAgeText(),
        "Father :" + GetName(GetFather(individual)),
        "Mother :" + GetName(GetMother(individual)),
    };
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += abs_text::CRLF;
        text += line;
    }
    std::string families = GetFamiliesText(individual);
    if (!families.empty()) text += abs_text::CRLF + families;
    return text;
}

// --- pedigree link codes ---

namespace {

constexpr std::array<const char*, 37> kLinkNames = {
    "Unknown",    "Father",     "Father-Ado", "Father-Ste", "Father-God", "Father-Fst", "Father-Oth", "Mother",
    "Mother-Ado", "Mother-Ste", "Mother-God", "Mother-Fst", "Mother-Oth", "Parent",     "Parent-Ado", "Parent-Ste",
    "Parent-God", "Parent-Fst", "Parent-Oth", "Son",        "Son-Ado",    "Son-Ste",    "Son-God",    "Son-Fst",
    "Son-Oth",    "Daughter",   "Dau-Ado",    "Dau-Ste",    "Dau-God",    "Dau-Fst",    "Dau-Oth",    "Child",
    "Child-Ado",  "Child-Ste",  "Child-God",  "Child-Fst",  "Child-Oth",
};

} // namespace

std::string WABSCollection::GetPedigreeLinkName(std::int32_t code) {
    if (code < 0 || code >= static_cast<std::int32_t>(kLinkNames.size())) return {};
    return kLinkNames[static_cast<std::size_t>(code)];
}

std::int32_t WABSCollection::ChildLinkCode(std::int32_t code, char sex) {
    if (code < 0 || code > 18) return -1;
    if (code == 0) return 0;
    const std::int32_t kindOfLink = (code - 1) % 6; // plain, adopted, step, god, foster, other
    if (sex == 'M' || sex == 'm') return 19 + kindOfLink;
    if (sex == 'F' || sex == 'f') return 25 + kindOfLink;
    return 31 + kindOfLink;
}

std::string WABSCollection::GetChildLinkName(std::int32_t code, char sex) {
    std::int32_t child = ChildLinkCode(code, sex);
    return child < 0 ? std::string() : GetPedigreeLinkName(child);
}

// --- view ---

std::int32_t WABSCollection::GetCount() { return m_view ? m_view->Count() : GetIndividualCount(); }

std::int32_t WABSCollection::ViewToIndex(std::int32_t pos) { return m_view ? m_view->GetItem(pos) : pos; }

std::int32_t WABSCollection::IndexToView(std::int32_t individual) {
    if (!m_view) return individual;
    const std::int32_t count = m_view->Count();
    if (m_viewPositionsCount != count) {
        // One pass over the view instead of a scan per question.
        m_viewPositions.assign(static_cast<std::size_t>(GetIndividualCount()) + 1, 0);
        for (std::int32_t pos = count; pos >= 1; --pos) {
            std::int32_t item = m_view->GetItem(pos);
            if (item >= 1 && static_cast<std::size_t>(item) < m_viewPositions.size())
                m_viewPositions[static_cast<std::size_t>(item)] = pos;
        }
        m_viewPositionsCount = count;
    }
    if (individual >= 1 && static_cast<std::size_t>(individual) < m_viewPositions.size())
        return m_viewPositions[static_cast<std::size_t>(individual)];
    for (std::int32_t pos = 1; pos <= count; ++pos)
        if (m_view->GetItem(pos) == individual) return pos;
    return 0;
}

void WABSCollection::SetView(std::unique_ptr<WCollectionIterator> view) {
    m_view = std::move(view);
    m_viewPositions.clear();
    m_viewPositionsCount = -1;
}

void WABSCollection::ClearView() { SetView(nullptr); }
