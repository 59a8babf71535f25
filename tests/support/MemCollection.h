#pragma once
// An in-memory genealogy collection for tests: a back end of WABSCollection
// whose records are built in a few lines of test code
// (#include "support/MemCollection.h"; WDefaultSettings and WFixedToday below
// pin the settings and "today" for a test).
//
//   WMemCollection c;
//   auto john = c.AddPerson("John /Smith/", 'M').Birth("1 JAN 1900", "Boston").Death("1970");
//   auto mary = c.AddPerson("Mary /Jones/", 'F').Birth("1905");
//   c.AddFamily(john, mary).Marriage("1925", "Boston")
//       .Child(c.AddPerson("Tom /Smith/", 'M').Birth("1926"))
//       .Child(c.AddPerson("Ann /Smith/", 'F'));
//
// Names are written as in a GEDCOM NAME line: "Given /Surname/ Suffix"; an
// empty text gives an individual without a name. Families keep husband, wife
// and children in a WFamLinks, as the GEDCOM reader does, so sorting children
// runs the real link table. Individual and family numbers count from 1 in the
// order they are added.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/ABSCollection.h"
#include "model/FamLinks.h"
#include "platform/Hooks.h"

namespace memtree {

struct Citation {
    std::string page;
    std::vector<std::string> note;
    std::int32_t source = 0; // source record number, 0 = none
};

struct Event {
    std::int32_t kind = 0;
    std::string label;               // the event name (for other events their label)
    std::optional<std::string> date; // no date object when absent
    std::string place;               // no place object when empty
    std::string description;
    std::vector<Citation> citations;
    std::vector<std::string> note;
    bool hasTemple = false; // ordinances
};

struct Name {
    std::string given, surname, prefix, suffix;
    std::vector<Citation> citations;
    std::vector<std::string> note;
};

struct ParentLink {
    std::int32_t family = 0;
    std::int32_t motherLink = 7; // "Mother"
    std::int32_t fatherLink = 1; // "Father"
};

struct Person {
    std::string xref, refn, afn;
    char sex = 'U';
    std::optional<Name> name;
    std::vector<Event> events;     // kinds 1 to 6, in the order added
    std::vector<Event> ordinances; // kinds 7 to 9
    std::vector<ParentLink> parentFamilies;
    std::vector<std::int32_t> spouseFamilies;
    std::vector<Citation> citations;
    std::vector<std::string> note;
    std::optional<std::string> changeDate, createDate;
    std::string recordText;
};

struct Family {
    std::string xref;
    std::optional<Event> marriage;
    std::optional<Event> sealing;
    std::vector<Citation> citations;
    std::vector<std::string> note;
    std::string recordText;
};

struct Address {
    std::string address, address1, address2, city, state, postalCode, country, phone;
};

struct Repository {
    std::string xref, name;
    std::optional<Address> address;
    std::vector<std::string> note;
};

struct Source {
    std::string xref, author, title, publication, callNumber, abbreviation;
    std::vector<std::string> note, text;
    std::int32_t repository = 0;
};

struct Submitter {
    std::string name, line1, line2, line3, country, phone, email, recordText;
};

} // namespace memtree

class WMemCollection;

// Builder handle of one individual; converts to its number.
class WMemPerson {
public:
    WMemPerson(WMemCollection& c, std::int32_t n) : m_c(&c), m_n(n) {}
    operator std::int32_t() const { return m_n; }
    std::int32_t No() const { return m_n; }
    memtree::Person& Data() const;

    // Vital events; an empty date text adds the event without a date object.
    WMemPerson& Birth(const std::string& date, const std::string& place = "");
    WMemPerson& Christening(const std::string& date, const std::string& place = "");
    WMemPerson& Death(const std::string& date, const std::string& place = "");
    WMemPerson& Burial(const std::string& date, const std::string& place = "");
    WMemPerson& Baptism(const std::string& date, const std::string& place = "");
    // Other event (kind 6) with its label.
    WMemPerson& Other(const std::string& label, const std::string& date, const std::string& place = "");
    WMemPerson& AddEvent(memtree::Event event);
    // Ordinance of kind 7 to 9.
    WMemPerson& Ordinance(std::int32_t kind, const std::string& date, const std::string& place, bool hasTemple = true);
    WMemPerson& Prefix(const std::string& prefix);
    WMemPerson& Suffix(const std::string& suffix);
    WMemPerson& XRef(const std::string& xref);
    WMemPerson& RefN(const std::string& refn);
    WMemPerson& AFN(const std::string& afn);
    WMemPerson& Note(const std::string& line);
    WMemPerson& Cite(const std::string& page, std::int32_t source = 0);
    WMemPerson& ChangeDate(const std::string& date);

private:
    WMemPerson& vital(std::int32_t kind, const std::string& date, const std::string& place);
    WMemCollection* m_c;
    std::int32_t m_n;
};

// Builder handle of one family; converts to its number.
class WMemFamily {
public:
    WMemFamily(WMemCollection& c, std::int32_t n) : m_c(&c), m_n(n) {}
    operator std::int32_t() const { return m_n; }
    std::int32_t No() const { return m_n; }
    memtree::Family& Data() const;

    WMemFamily& Marriage(const std::string& date, const std::string& place = "");
    // Appends a child (once) and gives the child this family as a parent family.
    WMemFamily& Child(std::int32_t individual, std::int32_t motherLink = 7, std::int32_t fatherLink = 1);
    WMemFamily& Sealing(const std::string& date, const std::string& place, bool hasTemple = true);
    WMemFamily& Note(const std::string& line);
    WMemFamily& Cite(const std::string& page, std::int32_t source = 0);

private:
    WMemCollection* m_c;
    std::int32_t m_n;
};

class WMemCollection : public WABSCollection {
public:
    WMemCollection();
    ~WMemCollection() override;

    // --- building ---
    WMemPerson AddPerson(const std::string& name = "", char sex = 'U');
    // Husband and wife may be 0. Each spouse gets the family as a spouse family.
    WMemFamily AddFamily(std::int32_t husband, std::int32_t wife);
    WMemPerson Person(std::int32_t n) { return WMemPerson(*this, n); }
    WMemFamily Family(std::int32_t n) { return WMemFamily(*this, n); }
    memtree::Person& PersonData(std::int32_t n) { return m_people.at(static_cast<std::size_t>(n - 1)); }
    memtree::Family& FamilyData(std::int32_t n) { return m_families.at(static_cast<std::size_t>(n - 1)); }
    std::int32_t AddNote(std::vector<std::string> lines);
    std::int32_t AddSource(memtree::Source source);
    std::int32_t AddRepository(memtree::Repository repository);
    void SetSubmitter(memtree::Submitter submitter) { m_submitter = std::move(submitter); }
    WFamLinks& FamLinks() { return *m_famLinks; }

    // Answer the numbers-only kinship through record objects (the base
    // defaults) instead of the link tables, to compare both paths.
    void SetRecordPathOnly(bool on) { m_recordPathOnly = on; }
    // Record objects made so far.
    std::int64_t IndividualsMade() const { return m_individualsMade; }
    std::int64_t MarriagesMade() const { return m_marriagesMade; }

    // --- the back end ---
    std::string GetFileSizeText() override { return "1 KB"; }
    std::string GetFileDateText() override { return "1 Jan 2000"; }
    std::unique_ptr<WABSSubmitter> GetSubmitter() override;
    std::int32_t GetIndividualCount() override { return static_cast<std::int32_t>(m_people.size()); }
    std::int32_t GetMarriageCount() override { return static_cast<std::int32_t>(m_families.size()); }
    std::int32_t GetNoteCount() override { return static_cast<std::int32_t>(m_notes.size()); }
    std::int32_t GetSourceCount() override { return static_cast<std::int32_t>(m_sources.size()); }
    FileInfo GetFileInfo() override { return {{"Source", "memory"}}; }
    std::string GetHeaderText() override { return "0 HEAD"; }
    std::string GetExtraHeaderText() override { return {}; }
    bool Open() override { return true; }
    std::int32_t FindIndividualByXref(const std::string& xref) override;
    std::int32_t FindMarriageByXref(const std::string& xref) override;

    std::int32_t LinkParentFamilyCount(std::int32_t individual) override;
    std::int32_t LinkParentFamily(std::int32_t individual, std::int32_t k) override;
    std::int32_t LinkSpouseFamilyCount(std::int32_t individual) override;
    std::int32_t LinkSpouseFamily(std::int32_t individual, std::int32_t k) override;
    std::int32_t LinkHusband(std::int32_t family) override;
    std::int32_t LinkWife(std::int32_t family) override;
    std::int32_t LinkChildCount(std::int32_t family) override;
    std::int32_t LinkChild(std::int32_t family, std::int32_t n) override;
    void LinkChildren(std::int32_t family, std::vector<std::int32_t>& children) override;
    char LinkSex(std::int32_t individual) override;
    void LinkSortChildren(std::int32_t family) override;

    // Used by the record objects.
    const memtree::Source* SourceData(std::int32_t n) const;
    const memtree::Repository* RepositoryData(std::int32_t n) const;

protected:
    std::unique_ptr<WABSIndividual> MakeIndividual(std::int32_t n) override;
    std::unique_ptr<WABSMarriage> MakeMarriage(std::int32_t n) override;
    std::unique_ptr<WABSNote> MakeNote(std::int32_t n) override;
    std::unique_ptr<WABSSource> MakeSource(std::int32_t n) override;
    std::unique_ptr<WABSRepo> MakeRepository(std::int32_t n) override;

private:
    const memtree::Person* person(std::int32_t n) const;

    std::vector<memtree::Person> m_people;
    std::vector<memtree::Family> m_families;
    std::vector<std::vector<std::string>> m_notes;
    std::vector<memtree::Source> m_sources;
    std::vector<memtree::Repository> m_repositories;
    std::optional<memtree::Submitter> m_submitter;
    std::unique_ptr<WFamLinks> m_famLinks;
    bool m_recordPathOnly = false;
    std::int64_t m_individualsMade = 0;
    std::int64_t m_marriagesMade = 0;
};

// Every setting at its table default (a fresh "zelt.ini"), restored to the
// values before on destruction.
class WDefaultSettings {
public:
    WDefaultSettings();
    ~WDefaultSettings();
    WDefaultSettings(const WDefaultSettings&) = delete;
    WDefaultSettings& operator=(const WDefaultSettings&) = delete;

private:
    std::vector<std::string> m_saved;
};

// "Today" fixed at a date for the life of the object (plat::hooks().now).
class WFixedToday {
public:
    WFixedToday(int year, int month, int day);
    ~WFixedToday();
    WFixedToday(const WFixedToday&) = delete;
    WFixedToday& operator=(const WFixedToday&) = delete;

private:
    std::function<plat::CalendarTime()> m_saved;
};
