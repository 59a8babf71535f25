#pragma once
// Small fixtures for the GEDCOM tests: GEDCOM text written to private temp
// files, opened collections, the real sample files.
#include "gedcom/GEDCollection.h"
#include "platform/Hooks.h"
#include "support/SharedData.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace gedtest {

// A file that is deleted with the object.
class TempGed {
public:
    explicit TempGed(const std::string& text, const std::string& ext = ".ged") : m_path(m_dir.file("test" + ext)) {
        tsupport::writeFile(m_path, text);
    }
    const std::string& path() const { return m_path; }

private:
    tsupport::TempDir m_dir{"brenthaul-gedtest"};
    std::string m_path;
};

// Line ends of a text written with "\n": LF, CR LF or CR alone.
inline std::string withEol(const std::string& text, const std::string& eol) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += eol;
        else
            out.push_back(c);
    }
    return out;
}

// A file opened and after-opened.
struct Opened {
    std::unique_ptr<TempGed> file;
    std::unique_ptr<WGEDCollection> collection;
    WGEDCollection* operator->() const { return collection.get(); }
    WGEDCollection& operator*() const { return *collection; }
};

inline Opened openText(const std::string& text) {
    Opened o;
    o.file = std::make_unique<TempGed>(text);
    o.collection = std::make_unique<WGEDCollection>(o.file->path());
    EXPECT_TRUE(o.collection->Open());
    o.collection->AfterOpen();
    return o;
}

using tsupport::haveShared;
using tsupport::sharedFile;

#define GEDTEST_NEED_SHARED(name) BRENTHAUL_NEED_SHARED(name)

inline std::unique_ptr<WGEDCollection> openShared(const std::string& name) {
    auto c = std::make_unique<WGEDCollection>(sharedFile(name));
    EXPECT_TRUE(c->Open()) << name;
    c->AfterOpen();
    return c;
}

} // namespace gedtest

#include "model/ABSAddress.h"
#include "model/ABSCitation.h"
#include "model/ABSEvent.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"
#include "model/ABSPlace.h"
#include "model/ABSRepo.h"
#include "model/ABSSource.h"
#include "model/ABSSubmitter.h"
#include "model/Date.h"

namespace gedtest {

inline std::string noteText(const std::unique_ptr<WABSNote>& n) { return n ? "{" + n->GetText("|") + "}" : "-"; }

inline std::string sourceText(const WABSSource* s) {
    if (!s) return "-";
    std::string r = "title=" + s->GetTitle() + " auth=" + s->GetAuthor() + " publ=" + s->GetPublication() +
                    " abbr=" + s->GetAbbreviation() + " caln=" + s->GetCallNumber() +
                    " note=" + noteText(s->GetNote()) + " text=" + noteText(s->GetText());
    if (auto repo = s->GetRepo()) {
        r += " repo=" + repo->GetName();
        if (auto a = repo->GetAddress()) r += " addr=" + a->GetAddress() + "/" + a->GetCity() + "/" + a->GetPhone();
    }
    return r;
}

inline std::string citationText(const std::unique_ptr<WABSCitation>& c) {
    if (!c) return "-";
    auto s = c->GetSource();
    return "[page=" + c->GetPage() + " note=" + noteText(c->GetNote()) + " src=" + sourceText(s.get()) + "]";
}

inline std::string eventText(WABSEvent* e) {
    if (!e) return "-";
    std::string r = "kind=" + std::to_string(e->GetKind()) + " name=" + e->GetEventName() +
                    " date=" + e->GetDateText() + " place=" + e->GetPlaceText() + " desc=" + e->GetDescription() +
                    " note=" + noteText(e->GetNote());
    for (int i = 1; i <= e->GetCitationCount(); ++i)
        r += " c" + std::to_string(i) + "=" + citationText(e->GetCitation(i));
    return r;
}

// Everything the records of one individual say, as one text.
inline std::string dumpIndividual(WABSCollection& c, std::int32_t i) {
    auto ind = c.GetIndividual(i);
    if (!ind) return "none";
    std::string r = "xref=" + ind->GetXRef() + " sex=" + std::string(1, ind->GetSex()) + " refn=" + ind->GetRefN() +
                    " afn=" + ind->GetAFN();
    if (auto n = ind->GetName())
        r += " given=" + n->GetGiven() + " surname=" + n->GetSurname() + " prefix=" + n->GetPrefix() +
             " suffix=" + n->GetSuffix() + " nnote=" + noteText(n->GetNote()) +
             " ncit=" + std::to_string(n->GetCitationCount());
    for (int k = 1; k <= 4; ++k) {
        auto e = ind->GetEvent(k, 1);
        r += "\n  ev" + std::to_string(k) + ": " + eventText(e.get());
    }
    for (int k = 1; k <= ind->GetEventCount(6); ++k) {
        auto e = ind->GetEvent(6, k);
        r += "\n  other: " + eventText(e.get());
    }
    for (int k = 7; k <= 9; ++k) {
        auto e = ind->GetLDSEvent(k);
        r += "\n  lds" + std::to_string(k) + ": " + eventText(e.get());
        if (e) r += " temple=" + std::to_string(e->HasTemple());
    }
    r += "\n  note=" + noteText(ind->GetNote());
    for (int k = 1; k <= ind->GetCitationCount(); ++k) r += "\n  cit=" + citationText(ind->GetCitation(k));
    if (const WDate* d = ind->GetChangeDate()) r += "\n  chan=" + d->GetText();
    // Families by identifier, so files that number records differently compare.
    for (int k = 1; k <= ind->GetParentFamilyCount(); ++k) {
        auto f = c.GetMarriage(ind->GetParentFamily(k));
        r += "\n  famc=" + std::to_string(f ? 1 : 0);
    }
    r += "\n  fams=" + std::to_string(ind->GetSpouseFamilyCount());
    return r;
}

inline std::string xrefOf(WABSCollection& c, std::int32_t i) {
    auto ind = c.GetIndividual(i);
    return ind ? ind->GetXRef() : std::string("0");
}

inline std::string dumpMarriage(WABSCollection& c, std::int32_t f) {
    auto m = c.GetMarriage(f);
    std::string r = "husb=" + xrefOf(c, m->GetHusband()) + " wife=" + xrefOf(c, m->GetWife()) +
                    " date=" + m->GetDateText() + " place=" + m->GetPlace() + " note=" + noteText(m->GetNote()) +
                    " slgs=" + std::to_string(m->HasLDSSealing()) + " children=";
    m->SortChildren();
    for (int k = 1; k <= m->GetChildCount(); ++k) r += xrefOf(c, m->GetChild(k)) + ",";
    for (int k = 1; k <= m->GetCitationCount(); ++k) r += "\n  cit=" + citationText(m->GetCitation(k));
    return r;
}

// The whole collection, in record order.
inline std::string dumpAll(WABSCollection& c) {
    std::string r;
    for (int i = 1; i <= c.GetIndividualCount(); ++i) r += "I" + std::to_string(i) + " " + dumpIndividual(c, i) + "\n";
    for (int f = 1; f <= c.GetMarriageCount(); ++f) r += "F" + std::to_string(f) + " " + dumpMarriage(c, f) + "\n";
    for (int n = 1; n <= c.GetNoteCount(); ++n) r += "N" + std::to_string(n) + " " + noteText(c.GetNote(n)) + "\n";
    for (int s = 1; s <= c.GetSourceCount(); ++s) {
        auto src = c.GetSource(s);
        r += "S" + std::to_string(s) + " " + sourceText(src.get()) + "\n";
    }
    for (const auto& row : c.GetFileInfo()) r += "H " + row.first + "=" + row.second + "\n";
    if (auto sub = c.GetSubmitter())
        r += "U " + sub->GetName() + "|" + sub->GetAddressLine1() + "|" + sub->GetAddressLine2() + "|" +
             sub->GetEmail() + "\n";
    return r;
}

} // namespace gedtest
