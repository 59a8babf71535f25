// Fuzz target of the GEDCOM reader: the input is a GEDCOM file. It is opened,
// linked and after-opened, and every record is read as the views read it.
// Any outcome but a crash, a sanitizer report or an exception other than the
// reader's own errors is fine.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "gedcom/FormatString.h"
#include "gedcom/GEDCollection.h"
#include "model/ABSCitation.h"
#include "model/ABSEvent.h"
#include "model/ABSName.h"
#include "model/ABSNote.h"
#include "model/ABSRepo.h"
#include "model/ABSSource.h"
#include "model/ABSSubmitter.h"
#include "model/Date.h"
#include "model/MMF.h"

namespace {

void readEvent(WABSEvent* e) {
    if (!e) return;
    e->GetDateText();
    e->GetPlaceText();
    e->GetDescription();
    e->GetNoteText();
    e->GetCitationsText();
}

void readAll(WGEDCollection& c) {
    // Bounded, so one input cannot run for long.
    const std::int32_t cap = 2000;
    for (std::int32_t i = 1; i <= c.GetIndividualCount() && i <= cap; ++i) {
        auto ind = c.GetIndividual(i);
        ind->GetDisplayName();
        ind->GetXRef();
        ind->GetRefN();
        ind->GetAFN();
        ind->GetChangeDateText();
        ind->GetNoteText();
        ind->GetCitationsText();
        if (auto n = ind->GetName()) {
            n->GetPrefix();
            n->GetSuffix();
            n->GetNoteText();
        }
        for (int k = 1; k <= 4; ++k) readEvent(ind->GetEvent(k, 1).get());
        for (int k = 1; k <= ind->GetEventCount(6) && k <= 50; ++k) readEvent(ind->GetEvent(6, k).get());
        for (int k = 7; k <= 9; ++k) readEvent(ind->GetLDSEvent(k).get());
        c.GetFamiliesText(i);
        ind->GetRecordText();
    }
    for (std::int32_t f = 1; f <= c.GetMarriageCount() && f <= cap; ++f) {
        auto m = c.GetMarriage(f);
        m->GetDateAndPlaceText();
        m->GetNoteText();
        m->GetCitationsText();
        readEvent(m->GetLDSSealing(10).get());
        m->GetRecordText();
    }
    for (std::int32_t n = 1; n <= c.GetNoteCount() && n <= cap; ++n) c.GetNote(n);
    for (std::int32_t s = 1; s <= c.GetSourceCount() && s <= cap; ++s) {
        auto src = c.GetSource(s);
        src->GetSummary();
        if (auto r = src->GetRepo()) r->GetName();
        src->GetRecordText();
    }
    c.GetFileInfo();
    c.GetHeaderText();
    if (auto sub = c.GetSubmitter()) {
        sub->GetName();
        sub->GetAddressLine2();
        sub->GetEmail();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string name = fuzz::ScratchName("in.ged");
    if (!fuzz::WriteFile(name, data, size)) return 0;
    try {
        std::string error;
        auto base = FormatString::OpenCollection(name, error);
        if (auto* c = dynamic_cast<WGEDCollection*>(base.get())) {
            if (c->Open()) {
                c->AfterOpen();
                readAll(*c);
            }
        }
    } catch (const EFOpenError&) {
        // An empty file cannot be mapped: refused with the file error.
    }
    std::remove(name.c_str());
    return 0;
}
