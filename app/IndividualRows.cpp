#include "app/IndividualRows.h"

#include <memory>

#include "highlight/ABSHighLighter.h"
#include "model/ABSCollection.h"
#include "model/ABSName.h"
#include "model/Date.h"
#include "model/DateDiff.h"
#include "model/Options.h"

namespace {

struct Builder {
    WABSCollection* col;
    WABSHighLighter* hl;
    std::vector<IndRow>& rows;
    bool chrono;
    const WDate* reference = nullptr;
    bool estimated = false;

    IndRow& add() {
        // Rows past the cap are built into a scratch row and dropped.
        static thread_local IndRow scratch;
        if (rows.size() >= kMaxIndRows) {
            scratch = IndRow{};
            return scratch;
        }
        rows.emplace_back();
        return rows.back();
    }

    void colours(IndRow& r, std::int32_t individual) {
        if (!hl || individual < 1) return;
        r.Back = hl->GetBackColor(individual);
        r.Font = hl->GetFontColor(individual);
    }

    // An event row; an absent event gives a row with only its Type.
    void eventRow(WABSEvent* ev, const std::string& type) {
        IndRow& r = add();
        r.Type = type;
        if (!ev) return;
        r.Notes = ev->GetNoteText();
        r.Sources = ev->GetCitationsText();
        std::string info = ev->GetDescription();
        const std::string place = ev->GetPlaceText();
        if (!info.empty() && !place.empty())
            info += ", " + place;
        else if (info.empty())
            info = place;
        // The event's kind code is its type here (birth 1, death 2, ...), never
        // an individual number, so no principal's name is put in front.
        r.Info = info;
        r.Date = ev->GetDateText();
        r.SortDate = ev->GetSortDateText();
        r.Age = IndividualAgeText(reference, ev->GetDate(), estimated);
    }

    // A row naming another individual, aged from that individual's birth.
    void personRow(WABSIndividual& person, const std::string& type) {
        IndRow& r = add();
        r.Type = type;
        r.Target = person.GetRecNo();
        r.Date = person.GetEventDateText(EventKind::Birth, 1);
        r.Info = person.GetNameWithDates(false);
        r.Notes = person.GetNoteText();
        r.Sources = person.GetCitationsText();
        colours(r, r.Target);
        std::unique_ptr<WABSVitEvent> birth, christening;
        if (person.GetEventCount(EventKind::Birth) > 0) birth = person.GetEvent(EventKind::Birth, 1);
        if (birth) r.Age = IndividualAgeText(reference, birth->GetDate(), estimated);
        // Placed in the chronological order by the person's birth, else christening.
        if (birth) r.SortDate = birth->GetSortDateText();
        if (r.SortDate.empty() && person.GetEventCount(EventKind::Christening) > 0)
            christening = person.GetEvent(EventKind::Christening, 1);
        if (christening) r.SortDate = christening->GetSortDateText();
    }
};

bool hasYear(const WDate* d) { return d && d->GetYear() != 0; }

// Two rows exchanged when q must come before p; p and q are their places in
// the built order, which undated rows and full ties keep.
bool mustExchange(const IndRow& p, const IndRow& q, std::size_t pAt, std::size_t qAt) {
    const WDate P(p.SortDate), Q(q.SortDate);
    const bool pu = P.IsValid() && P.IsStructured();
    const bool qu = Q.IsValid() && Q.IsStructured();
    if (pu && qu) {
        const int c = P.Compare(Q);
        if (c > 0) return true;
        if (c != 0) return false;
        if (p.Type != q.Type) return p.Type > q.Type;
        return pAt > qAt;
    }
    if (pu) return false; // undated rows go last
    if (qu) return true;
    return pAt > qAt;
}

} // namespace

std::string IndividualAgeText(const WDate* reference, const WDate* date, bool estimated) {
    if (!reference || !date || date->GetYear() == 0) return "";
    const int cmp = reference->Compare(date);
    if (cmp == 0) return "-----";
    WDateDiff diff;
    if (!diff.Calc(reference, date)) return "";
    std::string text = std::to_string(diff.GetYears() < 0 ? -diff.GetYears() : diff.GetYears());
    if (text != "0" && cmp > 0) text = "-" + text;
    if (estimated) text = "[" + text + "]";
    return text;
}

void SortRowsChronologically(std::vector<IndRow>& rows, std::size_t from) {
    if (rows.size() < from + 2) return;
    // The exchange sort runs over row places so that each row keeps its built position as the last key.
    std::vector<std::size_t> at(rows.size());
    for (std::size_t i = 0; i < at.size(); ++i) at[i] = i;
    for (std::size_t p = from; p + 1 < at.size(); ++p)
        for (std::size_t q = p + 1; q < at.size(); ++q)
            if (mustExchange(rows[at[p]], rows[at[q]], at[p], at[q])) std::swap(at[p], at[q]);
    std::vector<IndRow> sorted(rows.begin(), rows.begin() + std::ptrdiff_t(from));
    for (std::size_t i = from; i < at.size(); ++i) sorted.push_back(std::move(rows[at[i]]));
    rows = std::move(sorted);
}

void FillIndividualGrid(WABSCollection* collection, WABSHighLighter* highlighter, bool forClipboard,
                        std::int32_t individual, std::vector<IndRow>& rows) {
    rows.clear();
    if (!collection) return;
    std::unique_ptr<WABSIndividual> ind = collection->GetIndividual(individual);
    if (!ind) return;

    Builder b{collection, highlighter, rows, WOptions::GetBool(opt::Chrono)};
    const bool useLDS = WOptions::GetBool(opt::UseLDS);

    // Ages run from the birth, or else from the christening (then estimated).
    std::unique_ptr<WABSVitEvent> birth, christening;
    if (ind->GetEventCount(EventKind::Birth) > 0) birth = ind->GetEvent(EventKind::Birth, 1);
    if (ind->GetEventCount(EventKind::Christening) > 0) christening = ind->GetEvent(EventKind::Christening, 1);
    if (birth && hasYear(birth->GetDate())) {
        b.reference = birth->GetDate();
    } else if (christening && hasYear(christening->GetDate())) {
        b.reference = christening->GetDate();
        b.estimated = true;
    }

    const std::uint8_t kind = collection->GetFileKind();
    {
        IndRow& r = b.add();
        r.Type = std::string(kind == 1 ? "REF/AFN/" : "RIN/AFN/") + (kind == 3 ? "User ID" : "Custom");
        r.Info = ind->GetXRef() + " / " + ind->GetAFN() + " / " + ind->GetRefN();
        r.Notes = ind->GetNoteText();
        r.Sources = ind->GetCitationsText();
    }
    {
        IndRow& r = b.add();
        r.Type = "Name";
        r.Info = ind->GetFullName(true);
        r.Target = individual;
        if (auto name = ind->GetName()) {
            r.Notes = name->GetNoteText();
            r.Sources = name->GetCitationsText();
        }
        b.colours(r, individual);
    }
    if (forClipboard) {
        IndRow& s = b.add();
        s.Type = "Sex";
        const char sex = ind->GetSex();
        s.Info = (sex == 'M' || sex == 'm') ? "Male" : (sex == 'F' || sex == 'f') ? "Female" : "Unknown";
        IndRow& m = b.add();
        m.Type = "Modify Date";
        m.Date = ind->GetChangeDateText();
    }

    const std::pair<std::int32_t, const char*> vitals[] = {{EventKind::Birth, "Birth"},
                                                           {EventKind::Christening, "Christening"},
                                                           {EventKind::Death, "Death"},
                                                           {EventKind::Burial, "Burial"}};
    for (const auto& [code, type] : vitals) {
        std::unique_ptr<WABSVitEvent> ev;
        if (ind->GetEventCount(code) > 0) ev = ind->GetEvent(code, 1);
        if (!ev && b.chrono) continue;
        b.eventRow(ev.get(), type);
    }
    if (useLDS) {
        const std::pair<std::int32_t, const char*> lds[] = {{EventKind::LDSBaptism, "LDS Baptism"},
                                                            {EventKind::LDSEndowment, "LDS Endowment"},
                                                            {EventKind::LDSSealParents, "LDS SP"}};
        for (const auto& [code, type] : lds) {
            auto ev = ind->GetLDSEvent(code);
            if (!ev && b.chrono) continue;
            b.eventRow(ev.get(), type);
        }
    }
    for (std::int32_t i = 1, n = ind->GetEventCount(EventKind::Other); i <= n; ++i) {
        auto ev = ind->GetEvent(EventKind::Other, i);
        std::string type = ev ? ev->GetEventName() : "";
        b.eventRow(ev.get(), type.empty() ? "User Event" : type);
    }
    for (std::int32_t i = 1, n = ind->GetExtraLinkCount(); i <= n; ++i) {
        auto link = ind->GetExtraLink(i);
        const std::int32_t other = !link ? 0 : link->Individual1 == individual ? link->Individual2 : link->Individual1;
        if (auto person = collection->GetIndividual(other))
            b.personRow(*person, "Witness");
        else
            b.add().Type = "Witness";
    }

    const std::int32_t parentFamilies = ind->GetParentFamilyCount();
    for (std::int32_t i = 1; i <= parentFamilies; ++i) {
        std::int32_t fam = 0, motherLink = 0, fatherLink = 0;
        ind->GetParentFamilyEx(i, fam, motherLink, fatherLink);
        auto family = collection->MarriageExists(fam) ? collection->GetMarriage(fam) : nullptr;
        if (!family) continue;
        const std::string mark = (i == 1 && parentFamilies > 1) ? " (P)" : "";
        if (auto father = collection->GetIndividual(family->GetHusband()))
            b.personRow(*father, WABSCollection::GetPedigreeLinkName(fatherLink) + mark);
        if (auto mother = collection->GetIndividual(family->GetWife()))
            b.personRow(*mother, WABSCollection::GetPedigreeLinkName(motherLink) + mark);
    }

    const std::string indent = b.chrono ? "" : "     ";
    for (std::int32_t i = 1, n = ind->GetSpouseFamilyCount(); i <= n; ++i) {
        const std::int32_t famNo = ind->GetSpouseFamily(i);
        auto family = collection->MarriageExists(famNo) ? collection->GetMarriage(famNo) : nullptr;
        if (!family) continue;
        const std::string childCount = std::to_string(family->GetChildCount());
        const std::int32_t spouseNo = family->GetOtherSpouse(individual);
        auto spouse = spouseNo != individual ? collection->GetIndividual(spouseNo) : nullptr;
        if (spouse) {
            IndRow& r = b.add();
            r.Type = b.chrono ? family->GetEventName() : family->GetEventName() + " (" + childCount + ")";
            r.Date = family->GetDateText();
            r.Info = spouse->GetFullName(true) + ", m. " + family->GetDateAndPlaceText();
            r.Target = spouseNo;
            r.Notes = family->GetNoteText();
            r.Sources = family->GetCitationsText();
            b.colours(r, spouseNo);
            r.Age = IndividualAgeText(b.reference, family->GetDate(), b.estimated);
            r.SortDate = family->GetSortDateText();
            if (useLDS && family->HasLDSSealing()) {
                auto seal = collection->GetEventOfFamily(individual, i, EventKind::LDSSealSpouse);
                b.eventRow(seal.get(), indent + "LDS SS");
            }
        } else {
            IndRow& r = b.add();
            r.Type = "Marriage " + std::to_string(i) + " (" + childCount + ")";
            r.Date = family->GetDateText();
            r.Notes = family->GetNoteText();
            r.Sources = family->GetCitationsText();
        }
        family->SortChildren();
        const bool asFather = family->GetHusband() == individual;
        for (std::int32_t c = 1, cn = family->GetChildCount(); c <= cn; ++c) {
            auto child = collection->GetIndividual(family->GetChild(c));
            if (!child) continue;
            std::string linkName;
            for (std::int32_t k = 1, kn = child->GetParentFamilyCount(); k <= kn; ++k) {
                std::int32_t f = 0, ml = 0, fl = 0;
                child->GetParentFamilyEx(k, f, ml, fl);
                if (f == famNo) {
                    linkName = WABSCollection::GetChildLinkName(asFather ? fl : ml, child->GetSex());
                    break;
                }
            }
            b.personRow(*child, indent + "Child" + linkName);
        }
    }

    if (b.chrono) SortRowsChronologically(rows, forClipboard ? 4 : 2);
}
