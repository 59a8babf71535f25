#include "MemCollection.h"

#include <algorithm>

#include "model/Date.h"
#include "model/Options.h"

using namespace memtree;

namespace {

std::string trimmed(const std::string& s) { return abs_text::Trim(s); }

class MemNote : public WABSNote {
public:
    // Lines are taken as they are (empty ones too), as a file's note may hold them.
    explicit MemNote(const std::vector<std::string>& lines) { m_lines = lines; }
};

std::unique_ptr<WABSNote> noteOf(const std::vector<std::string>& lines) {
    return lines.empty() ? nullptr : std::make_unique<MemNote>(lines);
}

class MemAddress : public WABSAddress {
public:
    explicit MemAddress(Address a) : m_a(std::move(a)) {}
    std::string GetAddress() const override { return m_a.address; }
    std::string GetAddress1() const override { return m_a.address1; }
    std::string GetAddress2() const override { return m_a.address2; }
    std::string GetCity() const override { return m_a.city; }
    std::string GetState() const override { return m_a.state; }
    std::string GetPostalCode() const override { return m_a.postalCode; }
    std::string GetCountry() const override { return m_a.country; }
    std::string GetPhone() const override { return m_a.phone; }

private:
    Address m_a;
};

class MemRepo : public WABSRepo {
public:
    explicit MemRepo(Repository r) : m_r(std::move(r)) {}
    std::string GetName() const override { return m_r.name; }
    std::unique_ptr<WABSAddress> GetAddress() const override {
        return m_r.address ? std::make_unique<MemAddress>(*m_r.address) : nullptr;
    }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_r.note); }

private:
    Repository m_r;
};

class MemSource : public WABSSource {
public:
    MemSource(WMemCollection& c, Source s) : m_c(c), m_s(std::move(s)) {}
    std::unique_ptr<WABSRepo> GetRepo() const override {
        const Repository* r = m_c.RepositoryData(m_s.repository);
        return r ? std::make_unique<MemRepo>(*r) : nullptr;
    }
    std::string GetAuthor() const override { return m_s.author; }
    std::string GetTitle() const override { return m_s.title; }
    std::string GetPublication() const override { return m_s.publication; }
    std::string GetCallNumber() const override { return m_s.callNumber; }
    std::string GetAbbreviation() const override { return m_s.abbreviation; }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_s.note); }
    std::unique_ptr<WABSNote> GetText() const override { return noteOf(m_s.text); }
    bool HasNote() const override { return !m_s.note.empty(); }
    bool HasText() const override { return !m_s.text.empty(); }
    bool HasRepo() const override { return m_c.RepositoryData(m_s.repository) != nullptr; }

private:
    WMemCollection& m_c;
    Source m_s;
};

class MemCitation : public WABSCitation {
public:
    MemCitation(WMemCollection& c, Citation d) : m_c(c), m_d(std::move(d)) {}
    std::string GetPage() const override { return m_d.page; }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_d.note); }
    std::unique_ptr<WABSSource> GetSource() const override {
        const Source* s = m_c.SourceData(m_d.source);
        return s ? std::make_unique<MemSource>(m_c, *s) : nullptr;
    }

private:
    WMemCollection& m_c;
    Citation m_d;
};

std::unique_ptr<WABSCitation> citationOf(WMemCollection& c, const std::vector<Citation>& list, std::int32_t i) {
    if (i < 1 || i > static_cast<std::int32_t>(list.size())) return nullptr;
    return std::make_unique<MemCitation>(c, list[static_cast<std::size_t>(i - 1)]);
}

class MemPlace : public WABSPlace {
public:
    explicit MemPlace(std::string name) : m_name(std::move(name)) {}
    std::string GetName() const override { return m_name; }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t) const override { return nullptr; }
    std::unique_ptr<WABSNote> GetNote() const override { return nullptr; }

private:
    std::string m_name;
};

// The parts both event classes share.
template <class Base>
class MemEventOf : public Base {
public:
    MemEventOf(WMemCollection& c, Event d) : m_c(c), m_d(std::move(d)) {
        this->m_kind = m_d.kind;
        this->m_eventName = m_d.label;
        this->m_description = m_d.description;
        this->m_citationCount = static_cast<std::int32_t>(m_d.citations.size());
    }
    void Load() override {
        if (this->m_loaded) return;
        this->m_loaded = true;
        if (m_d.date) this->SetDate(std::make_unique<WDate>(*m_d.date));
    }
    std::unique_ptr<WABSPlace> GetPlace() const override {
        return m_d.place.empty() ? nullptr : std::make_unique<MemPlace>(m_d.place);
    }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override {
        return citationOf(m_c, m_d.citations, i);
    }
    bool HasNote() const override { return !m_d.note.empty(); }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_d.note); }

protected:
    WMemCollection& m_c;
    Event m_d;
};

using MemVitEvent = MemEventOf<WABSVitEvent>;

class MemLDSEvent : public MemEventOf<WABSLDSEvent> {
public:
    MemLDSEvent(WMemCollection& c, Event d) : MemEventOf<WABSLDSEvent>(c, std::move(d)) { m_hasTemple = m_d.hasTemple; }
};

class MemName : public WABSName {
public:
    MemName(WMemCollection& c, Name d) : m_c(c), m_d(std::move(d)) {
        m_citationCount = static_cast<std::int32_t>(m_d.citations.size());
    }
    std::string GetSurname() const override { return m_d.surname; }
    std::string GetGiven() const override { return m_d.given; }
    std::string GetPrefix() const override { return m_d.prefix; }
    std::string GetSuffix() const override { return m_d.suffix; }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override {
        return citationOf(m_c, m_d.citations, i);
    }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_d.note); }

private:
    WMemCollection& m_c;
    Name m_d;
};

class MemIndividual : public WABSIndividual {
public:
    MemIndividual(WMemCollection& c, std::int32_t n) : WABSIndividual(n), m_c(c) { load(); }
    void Refresh() override { load(); }
    void SetRecNo(std::int32_t n) override {
        m_recNo = n;
        load();
    }
    std::string GetXRef() const override { return m_p.xref; }
    std::string GetRefN() const override { return m_p.refn; }
    std::string GetAFN() const override { return m_p.afn; }
    char GetSex() const override { return m_p.sex; }
    const WDate* GetCreateDate() const override { return m_createDate.get(); }
    const WDate* GetChangeDate() const override { return m_changeDate.get(); }
    std::unique_ptr<WABSName> GetName() const override {
        return m_p.name ? std::make_unique<MemName>(m_c, *m_p.name) : nullptr;
    }
    std::int32_t GetEventCount(std::int32_t kind) const override {
        auto n = static_cast<std::int32_t>(
            std::count_if(m_p.events.begin(), m_p.events.end(), [kind](const Event& e) { return e.kind == kind; }));
        return kind >= EventKind::Birth && kind <= EventKind::Burial ? std::min(n, 1) : n;
    }
    std::unique_ptr<WABSVitEvent> GetEvent(std::int32_t kind, std::int32_t index) const override {
        if (index < 1 || index > GetEventCount(kind)) return nullptr;
        for (const Event& e : m_p.events)
            if (e.kind == kind && --index == 0) return std::make_unique<MemVitEvent>(m_c, e);
        return nullptr;
    }
    std::unique_ptr<WABSLDSEvent> GetLDSEvent(std::int32_t kind) const override {
        for (const Event& e : m_p.ordinances)
            if (e.kind == kind) return std::make_unique<MemLDSEvent>(m_c, e);
        return nullptr;
    }
    std::int32_t GetParentFamilyCount() const override { return static_cast<std::int32_t>(m_p.parentFamilies.size()); }
    std::int32_t GetParentFamily(std::int32_t i) const override {
        std::int32_t family = 0, mother = 0, father = 0;
        GetParentFamilyEx(i, family, mother, father);
        return family;
    }
    void GetParentFamilyEx(std::int32_t i, std::int32_t& family, std::int32_t& motherLink,
                           std::int32_t& fatherLink) const override {
        family = motherLink = fatherLink = 0;
        if (i < 1 || i > GetParentFamilyCount()) return;
        const ParentLink& link = m_p.parentFamilies[static_cast<std::size_t>(i - 1)];
        family = link.family;
        motherLink = link.motherLink;
        fatherLink = link.fatherLink;
    }
    std::int32_t GetSpouseFamilyCount() const override { return static_cast<std::int32_t>(m_p.spouseFamilies.size()); }
    std::int32_t GetSpouseFamily(std::int32_t i) const override {
        if (i < 1 || i > GetSpouseFamilyCount()) return 0;
        return m_p.spouseFamilies[static_cast<std::size_t>(i - 1)];
    }
    bool HasNoParentFamily() const override { return m_p.parentFamilies.empty(); }
    bool HasNoSpouseFamily() const override { return m_p.spouseFamilies.empty(); }
    std::int32_t GetCitationCount() const override { return static_cast<std::int32_t>(m_p.citations.size()); }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override {
        return citationOf(m_c, m_p.citations, i);
    }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_p.note); }
    std::string GetRecordText() const override { return m_p.recordText; }

private:
    void load() {
        m_p = m_c.PersonData(m_recNo);
        m_changeDate = m_p.changeDate ? std::make_unique<WDate>(*m_p.changeDate) : nullptr;
        m_createDate = m_p.createDate ? std::make_unique<WDate>(*m_p.createDate) : nullptr;
    }

    WMemCollection& m_c;
    Person m_p;
    std::unique_ptr<WDate> m_changeDate;
    std::unique_ptr<WDate> m_createDate;
};

class MemMarriage : public WABSMarriage {
public:
    MemMarriage(WMemCollection& c, std::int32_t n) : WABSMarriage(n), m_c(c), m_f(c.FamilyData(n)) {
        m_childCount = c.FamLinks().GetChildCount(n);
        m_citationCount = static_cast<std::int32_t>(m_f.citations.size());
    }
    void Load() override {
        if (m_loaded) return;
        m_loaded = true;
        if (m_f.marriage && m_f.marriage->date) SetDate(std::make_unique<WDate>(*m_f.marriage->date));
    }
    std::int32_t GetHusband() const override { return m_c.FamLinks().GetHusband(m_recNo); }
    std::int32_t GetWife() const override { return m_c.FamLinks().GetWife(m_recNo); }
    std::int32_t GetChild(std::int32_t i) const override { return m_c.FamLinks().GetChild(m_recNo, i); }
    std::int32_t GetSpouseCount() const override { return (GetHusband() != 0) + (GetWife() != 0); }
    void SortChildren() override { m_c.FamLinks().SortChildren(m_recNo, &m_c); }
    bool HasLDSSealing() const override { return m_f.sealing.has_value(); }
    std::unique_ptr<WABSLDSEvent> GetLDSSealing(std::int32_t) const override {
        return m_f.sealing ? std::make_unique<MemLDSEvent>(m_c, *m_f.sealing) : nullptr;
    }
    std::string GetPlace() const override { return m_f.marriage ? trimmed(m_f.marriage->place) : std::string(); }
    std::string GetRecordText() const override { return m_f.recordText; }
    std::unique_ptr<WABSCitation> GetCitation(std::int32_t i) const override {
        return citationOf(m_c, m_f.citations, i);
    }
    std::unique_ptr<WABSNote> GetNote() const override { return noteOf(m_f.note); }

private:
    WMemCollection& m_c;
    Family m_f;
    bool m_loaded = false;
};

class MemSubmitter : public WABSSubmitter {
public:
    explicit MemSubmitter(Submitter s) : m_s(std::move(s)) {}
    std::string GetName() const override { return m_s.name; }
    std::string GetAddressLine1() const override { return m_s.line1; }
    std::string GetAddressLine2() const override { return m_s.line2; }
    std::string GetAddressLine3() const override { return m_s.line3; }
    std::string GetCountry() const override { return m_s.country; }
    std::string GetPhone() const override { return m_s.phone; }
    std::string GetEmail() const override { return m_s.email; }
    std::string GetRecordText() const override { return m_s.recordText; }

private:
    Submitter m_s;
};

// "Given /Surname/ Suffix" as a GEDCOM NAME value.
Name parseName(const std::string& text) {
    Name name;
    std::size_t slash = text.find('/');
    if (slash == std::string::npos) {
        name.given = trimmed(text);
        return name;
    }
    name.given = trimmed(text.substr(0, slash));
    std::size_t end = text.find('/', slash + 1);
    if (end == std::string::npos) {
        name.surname = trimmed(text.substr(slash + 1));
        return name;
    }
    name.surname = trimmed(text.substr(slash + 1, end - slash - 1));
    name.suffix = trimmed(text.substr(end + 1));
    return name;
}

Event makeEvent(std::int32_t kind, const std::string& label, const std::string& date, const std::string& place) {
    Event e;
    e.kind = kind;
    e.label = label;
    if (!date.empty()) e.date = date;
    e.place = place;
    return e;
}

} // namespace

// --- builders ---

Person& WMemPerson::Data() const { return m_c->PersonData(m_n); }

WMemPerson& WMemPerson::vital(std::int32_t kind, const std::string& date, const std::string& place) {
    static const char* const labels[] = {"", "Birth", "Death", "Christening", "Burial", "Baptism"};
    return AddEvent(makeEvent(kind, labels[kind], date, place));
}

WMemPerson& WMemPerson::Birth(const std::string& d, const std::string& p) { return vital(EventKind::Birth, d, p); }
WMemPerson& WMemPerson::Christening(const std::string& d, const std::string& p) {
    return vital(EventKind::Christening, d, p);
}
WMemPerson& WMemPerson::Death(const std::string& d, const std::string& p) { return vital(EventKind::Death, d, p); }
WMemPerson& WMemPerson::Burial(const std::string& d, const std::string& p) { return vital(EventKind::Burial, d, p); }
WMemPerson& WMemPerson::Baptism(const std::string& d, const std::string& p) { return vital(EventKind::Baptism, d, p); }
WMemPerson& WMemPerson::Other(const std::string& label, const std::string& d, const std::string& p) {
    return AddEvent(makeEvent(EventKind::Other, label, d, p));
}

WMemPerson& WMemPerson::AddEvent(Event event) {
    Data().events.push_back(std::move(event));
    return *this;
}

WMemPerson& WMemPerson::Ordinance(std::int32_t kind, const std::string& d, const std::string& p, bool hasTemple) {
    Event e = makeEvent(kind, "", d, p);
    e.hasTemple = hasTemple;
    Data().ordinances.push_back(std::move(e));
    return *this;
}

WMemPerson& WMemPerson::Prefix(const std::string& prefix) {
    if (!Data().name) Data().name.emplace();
    Data().name->prefix = prefix;
    return *this;
}

WMemPerson& WMemPerson::Suffix(const std::string& suffix) {
    if (!Data().name) Data().name.emplace();
    Data().name->suffix = suffix;
    return *this;
}

WMemPerson& WMemPerson::XRef(const std::string& xref) {
    Data().xref = xref;
    return *this;
}

WMemPerson& WMemPerson::RefN(const std::string& refn) {
    Data().refn = refn;
    return *this;
}

WMemPerson& WMemPerson::AFN(const std::string& afn) {
    Data().afn = afn;
    return *this;
}

WMemPerson& WMemPerson::Note(const std::string& line) {
    Data().note.push_back(line);
    return *this;
}

WMemPerson& WMemPerson::Cite(const std::string& page, std::int32_t source) {
    Data().citations.push_back({page, {}, source});
    return *this;
}

WMemPerson& WMemPerson::ChangeDate(const std::string& date) {
    Data().changeDate = date;
    return *this;
}

memtree::Family& WMemFamily::Data() const { return m_c->FamilyData(m_n); }

WMemFamily& WMemFamily::Marriage(const std::string& d, const std::string& p) {
    Data().marriage = makeEvent(0, "Marriage", d, p);
    return *this;
}

WMemFamily& WMemFamily::Child(std::int32_t individual, std::int32_t motherLink, std::int32_t fatherLink) {
    m_c->FamLinks().AddChild(m_n, individual);
    if (individual >= 1 && individual <= m_c->GetIndividualCount()) {
        auto& parents = m_c->PersonData(individual).parentFamilies;
        bool known =
            std::any_of(parents.begin(), parents.end(), [this](const ParentLink& l) { return l.family == m_n; });
        if (!known) parents.push_back({m_n, motherLink, fatherLink});
    }
    return *this;
}

WMemFamily& WMemFamily::Sealing(const std::string& d, const std::string& p, bool hasTemple) {
    Event e = makeEvent(EventKind::LDSSealSpouse, "", d, p);
    e.hasTemple = hasTemple;
    Data().sealing = std::move(e);
    return *this;
}

WMemFamily& WMemFamily::Note(const std::string& line) {
    Data().note.push_back(line);
    return *this;
}

WMemFamily& WMemFamily::Cite(const std::string& page, std::int32_t source) {
    Data().citations.push_back({page, {}, source});
    return *this;
}

// --- the collection ---

WMemCollection::WMemCollection() : m_famLinks(std::make_unique<WFamLinks>(std::string(), 0)) {
    m_fileKind = 1;
    m_fileName = "memory.ged";
}

WMemCollection::~WMemCollection() = default;

WMemPerson WMemCollection::AddPerson(const std::string& name, char sex) {
    memtree::Person p;
    p.sex = sex;
    if (!name.empty()) p.name = parseName(name);
    m_people.push_back(std::move(p));
    auto n = static_cast<std::int32_t>(m_people.size());
    m_people.back().xref = "I" + std::to_string(n);
    return WMemPerson(*this, n);
}

WMemFamily WMemCollection::AddFamily(std::int32_t husband, std::int32_t wife) {
    m_families.emplace_back();
    auto n = static_cast<std::int32_t>(m_families.size());
    m_families.back().xref = "F" + std::to_string(n);
    m_famLinks->SetCount(n);
    m_famLinks->SetHusband(n, husband);
    m_famLinks->SetWife(n, wife);
    for (std::int32_t spouse : {husband, wife})
        if (spouse >= 1 && spouse <= GetIndividualCount()) PersonData(spouse).spouseFamilies.push_back(n);
    return WMemFamily(*this, n);
}

std::int32_t WMemCollection::AddNote(std::vector<std::string> lines) {
    m_notes.push_back(std::move(lines));
    return static_cast<std::int32_t>(m_notes.size());
}

std::int32_t WMemCollection::AddSource(Source source) {
    m_sources.push_back(std::move(source));
    return static_cast<std::int32_t>(m_sources.size());
}

std::int32_t WMemCollection::AddRepository(Repository repository) {
    m_repositories.push_back(std::move(repository));
    return static_cast<std::int32_t>(m_repositories.size());
}

const Source* WMemCollection::SourceData(std::int32_t n) const {
    return n >= 1 && n <= static_cast<std::int32_t>(m_sources.size()) ? &m_sources[static_cast<std::size_t>(n - 1)]
                                                                      : nullptr;
}

const Repository* WMemCollection::RepositoryData(std::int32_t n) const {
    return n >= 1 && n <= static_cast<std::int32_t>(m_repositories.size())
               ? &m_repositories[static_cast<std::size_t>(n - 1)]
               : nullptr;
}

const memtree::Person* WMemCollection::person(std::int32_t n) const {
    return n >= 1 && n <= static_cast<std::int32_t>(m_people.size()) ? &m_people[static_cast<std::size_t>(n - 1)]
                                                                     : nullptr;
}

std::unique_ptr<WABSSubmitter> WMemCollection::GetSubmitter() {
    return m_submitter ? std::make_unique<MemSubmitter>(*m_submitter) : nullptr;
}

std::int32_t WMemCollection::FindIndividualByXref(const std::string& xref) {
    for (std::size_t i = 0; i < m_people.size(); ++i)
        if (m_people[i].xref == xref) return static_cast<std::int32_t>(i + 1);
    return 0;
}

std::int32_t WMemCollection::FindMarriageByXref(const std::string& xref) {
    for (std::size_t i = 0; i < m_families.size(); ++i)
        if (m_families[i].xref == xref) return static_cast<std::int32_t>(i + 1);
    return 0;
}

std::unique_ptr<WABSIndividual> WMemCollection::MakeIndividual(std::int32_t n) {
    ++m_individualsMade;
    return std::make_unique<MemIndividual>(*this, n);
}

std::unique_ptr<WABSMarriage> WMemCollection::MakeMarriage(std::int32_t n) {
    ++m_marriagesMade;
    return std::make_unique<MemMarriage>(*this, n);
}

std::unique_ptr<WABSNote> WMemCollection::MakeNote(std::int32_t n) {
    return std::make_unique<MemNote>(m_notes[static_cast<std::size_t>(n - 1)]);
}

std::unique_ptr<WABSSource> WMemCollection::MakeSource(std::int32_t n) {
    return std::make_unique<MemSource>(*this, m_sources[static_cast<std::size_t>(n - 1)]);
}

std::unique_ptr<WABSRepo> WMemCollection::MakeRepository(std::int32_t n) {
    const Repository* r = RepositoryData(n);
    if (!r) throw EIndexError(n);
    return std::make_unique<MemRepo>(*r);
}

// --- numbers-only kinship from the tables ---

std::int32_t WMemCollection::LinkParentFamilyCount(std::int32_t individual) {
    if (m_recordPathOnly) return WABSCollection::LinkParentFamilyCount(individual);
    const memtree::Person* p = person(individual);
    return p ? static_cast<std::int32_t>(p->parentFamilies.size()) : 0;
}

std::int32_t WMemCollection::LinkParentFamily(std::int32_t individual, std::int32_t k) {
    if (m_recordPathOnly) return WABSCollection::LinkParentFamily(individual, k);
    const memtree::Person* p = person(individual);
    if (!p || k < 1 || k > static_cast<std::int32_t>(p->parentFamilies.size())) return 0;
    return p->parentFamilies[static_cast<std::size_t>(k - 1)].family;
}

std::int32_t WMemCollection::LinkSpouseFamilyCount(std::int32_t individual) {
    if (m_recordPathOnly) return WABSCollection::LinkSpouseFamilyCount(individual);
    const memtree::Person* p = person(individual);
    return p ? static_cast<std::int32_t>(p->spouseFamilies.size()) : 0;
}

std::int32_t WMemCollection::LinkSpouseFamily(std::int32_t individual, std::int32_t k) {
    if (m_recordPathOnly) return WABSCollection::LinkSpouseFamily(individual, k);
    const memtree::Person* p = person(individual);
    if (!p || k < 1 || k > static_cast<std::int32_t>(p->spouseFamilies.size())) return 0;
    return p->spouseFamilies[static_cast<std::size_t>(k - 1)];
}

std::int32_t WMemCollection::LinkHusband(std::int32_t family) {
    return m_recordPathOnly ? WABSCollection::LinkHusband(family) : m_famLinks->GetHusband(family);
}

std::int32_t WMemCollection::LinkWife(std::int32_t family) {
    return m_recordPathOnly ? WABSCollection::LinkWife(family) : m_famLinks->GetWife(family);
}

std::int32_t WMemCollection::LinkChildCount(std::int32_t family) {
    return m_recordPathOnly ? WABSCollection::LinkChildCount(family) : m_famLinks->GetChildCount(family);
}

std::int32_t WMemCollection::LinkChild(std::int32_t family, std::int32_t n) {
    return m_recordPathOnly ? WABSCollection::LinkChild(family, n) : m_famLinks->GetChild(family, n);
}

void WMemCollection::LinkChildren(std::int32_t family, std::vector<std::int32_t>& children) {
    if (m_recordPathOnly)
        WABSCollection::LinkChildren(family, children);
    else
        m_famLinks->GetChildren(family, children);
}

char WMemCollection::LinkSex(std::int32_t individual) {
    if (m_recordPathOnly) return WABSCollection::LinkSex(individual);
    const memtree::Person* p = person(individual);
    return p ? p->sex : '\0';
}

void WMemCollection::LinkSortChildren(std::int32_t family) {
    if (m_recordPathOnly)
        WABSCollection::LinkSortChildren(family);
    else
        m_famLinks->SortChildren(family, this);
}

// --- settings and clock for tests ---

WDefaultSettings::WDefaultSettings() {
    m_saved.reserve(opt::kOptionCount);
    for (int i = 1; i <= opt::kOptionCount; ++i) {
        m_saved.push_back(WOptions::GetString(i));
        WOptions::SetString(i, WOptions::Row(i).Default);
    }
}

WDefaultSettings::~WDefaultSettings() {
    for (int i = 1; i <= opt::kOptionCount; ++i) WOptions::SetString(i, m_saved[static_cast<std::size_t>(i - 1)]);
}

WFixedToday::WFixedToday(int year, int month, int day) : m_saved(plat::hooks().now) {
    plat::hooks().now = [year, month, day] {
        plat::CalendarTime t;
        t.year = year;
        t.month = month;
        t.day = day;
        t.hour = 12;
        return t;
    };
}

WFixedToday::~WFixedToday() { plat::hooks().now = m_saved; }
