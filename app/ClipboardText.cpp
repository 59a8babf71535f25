#include "app/ClipboardText.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "app/CharScreen.h"
#include "app/FamilyRows.h"
#include "app/IndividualRows.h"
#include "columns/ColSortIterator.h"
#include "columns/ListColumns.h"
#include "model/ABSCollection.h"
#include "model/DescendantIterator.h"
#include "model/Options.h"
#include "model/StrFunc.h"
#include "model/WaitHooks.h"
#include "platform/Hooks.h"
#include "platform/TempFiles.h"

namespace ClipText {

namespace {

constexpr const char* kCRLF = "\r\n";
constexpr const char* kCopying = "Copying to clipboard";

void line(std::string& buffer, const std::string& text) {
    buffer += text;
    buffer += kCRLF;
}

std::string trimmed(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

std::string rtrimmed(std::string s) {
    const auto e = s.find_last_not_of(' ');
    s.erase(e == std::string::npos ? 0 : e + 1);
    return s;
}

std::string padLeft(const std::string& s, std::size_t width) {
    return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

std::string doubledQuotes(const std::string& text) {
    std::string out;
    out.reserve(text.size() + 2);
    for (char c : text) {
        out += c;
        if (c == '"') out += '"';
    }
    return out;
}

// The family at the subject's shown position, or none.
std::unique_ptr<WABSMarriage> shownFamily(WABSCollection& collection, const WFamilySubject& subject) {
    if (subject.Subject() == 0 || subject.Count() <= 0) return nullptr;
    const std::int32_t family = subject.CurrentFamily();
    if (!collection.MarriageExists(family)) return nullptr;
    return collection.GetMarriage(family);
}

void writePersonBlock(WABSCollection& collection, std::int32_t individual, bool withSex, std::string& buffer) {
    std::unique_ptr<WABSIndividual> person = individual != 0 ? collection.GetIndividual(individual) : nullptr;
    if (!person) {
        for (const char* label : {"Name:   ", "Birth:  ", "Chr:    ", "Death:  ", "Burial: "})
            WriteLabelledLine(label, "", buffer);
        return;
    }
    WriteLabelledLine("Name:   ", person->GetDisplayName(), buffer);
    if (withSex) WriteLabelledLine("Sex:    ", std::string(1, person->GetSex()), buffer);
    WriteLabelledLine("Birth:  ", person->GetEventDateAndPlace(1, 1), buffer);
    WriteLabelledLine("Chr:    ", person->GetEventDateAndPlace(3, 1), buffer);
    WriteLabelledLine("Death:  ", person->GetEventDateAndPlace(2, 1), buffer);
    WriteLabelledLine("Burial: ", person->GetEventDateAndPlace(4, 1), buffer);
}

void writeParents(WABSCollection& collection, std::int32_t individual, std::string& buffer) {
    WriteLabelledLine("Father: ", collection.GetName(collection.GetFather(individual)), buffer);
    WriteLabelledLine("Mother: ", collection.GetName(collection.GetMother(individual)), buffer);
}

void putPedigreeBox(WABSCollection& collection, WCharScreen& screen, std::int32_t individual, std::int32_t row,
                    std::int32_t col, std::int32_t marriage, std::int32_t width) {
    if (individual == 0) return;
    auto person = collection.GetIndividual(individual);
    if (!person) return;
    screen.PutText(row, col, person->GetFullName(true), width);
    screen.PutText(row + 1, col, "b. " + person->GetEventDateAndPlace(1, 1), width);
    screen.PutText(row + 2, col, "d. " + person->GetEventDateAndPlace(2, 1), width);
    if (marriage != 0 && collection.MarriageExists(marriage))
        if (auto family = collection.GetMarriage(marriage))
            screen.PutText(row + 3, col, "m. " + family->GetDateAndPlaceText(), width);
}

// One cell of a list line: fixed width, or a quoted value with its comma.
void writeCell(const std::string& text, int choice, std::int32_t width, bool last, std::string& buffer) {
    if (choice == kFixed) {
        WritePaddedField(text, width, buffer);
    } else {
        buffer += '"';
        buffer += doubledQuotes(text);
        buffer += '"';
        if (!last) buffer += ',';
    }
}

void writeFile(const std::string& fileName, const std::string& text) {
    if (fileName.empty()) return;
    plat::SaveFile file(fileName);
    if (!file.open() || !file.out().write(text.data(), std::streamsize(text.size())) || !file.commit())
        throw EInOutError(file.error());
}

} // namespace

WTMGTagSentOff::WTMGTagSentOff() : m_saved(WOptions::GetBool(opt::TMGTagSent)) {
    WOptions::SetBool(opt::TMGTagSent, false);
}

WTMGTagSentOff::~WTMGTagSentOff() { WOptions::SetBool(opt::TMGTagSent, m_saved); }

void WritePaddedField(const std::string& text, std::int32_t width, std::string& buffer) {
    if (width < 2) return;
    const std::size_t cell = std::size_t(width) - 1;
    const std::size_t n = std::min(text.size(), cell - 1);
    buffer.append(text, 0, n);
    buffer.append(cell - n, ' ');
}

std::string QuoteCSV(const std::string& text) { return '"' + doubledQuotes(text) + '"'; }

void WriteLabelledLine(const std::string& label, const std::string& value, std::string& buffer) {
    buffer += label;
    if (trimmed(value) != ",") {
        buffer += ' ';
        buffer += value;
    }
    buffer += kCRLF;
}

std::string BareFileName(const std::string& path) {
    const auto p = path.find_last_of("\\/:");
    return p == std::string::npos ? path : path.substr(p + 1);
}

std::string GeneralViewText(WABSCollection& collection, const std::string& fileName, bool gridPage) {
    std::string b;
    line(b, "GENERAL INFORMATION");
    b += kCRLF;
    line(b, "FILE INFORMATION");
    line(b, "File Name:   " + BareFileName(fileName));
    line(b, "File Size:   " + collection.GetFileSizeText());
    line(b, "File Date:   " + collection.GetFileDateText());
    line(b, "Individuals: " + StrFunc::FormatThousands(collection.GetIndividualCount()));
    line(b, "Families:    " + StrFunc::FormatThousands(collection.GetMarriageCount()));
    line(b, "Notes:       " + StrFunc::FormatThousands(collection.GetNoteCount()));
    line(b, "Sources:     " + StrFunc::FormatThousands(collection.GetSourceCount()));
    b += kCRLF;
    line(b, "HEADER INFORMATION");
    auto submitter = collection.GetSubmitter();
    if (gridPage) {
        // Every header row: a grid of fixed room would drop the rest.
        for (const auto& [label, value] : collection.GetFileInfo()) line(b, label + ":  " + value);
        b += kCRLF;
        line(b, "SUBMITTER INFORMATION");
        if (submitter) {
            line(b, "Name:      " + submitter->GetName());
            line(b, "Address 1: " + submitter->GetAddressLine1());
            line(b, "Address 2: " + submitter->GetAddressLine2());
            line(b, "Address 3: " + submitter->GetAddressLine3());
            line(b, (collection.GetFileKind() == 3 ? "Web Site:  " : "Country:   ") + submitter->GetCountry());
            line(b, "Phone:     " + submitter->GetPhone());
            line(b, "Email:     " + submitter->GetEmail());
        }
    } else {
        b += collection.GetHeaderText();
        b += kCRLF;
        line(b, "SUBMITTER INFORMATION");
        if (submitter) b += submitter->GetRecordText();
    }
    return b;
}

std::string IndividualViewText(WABSCollection& collection, WABSHighLighter* highlighter, std::int32_t individual,
                               bool rawRecordPage) {
    auto person = collection.GetIndividual(individual);
    if (!person) return {};
    if (rawRecordPage) return person->GetRecordText();
    std::vector<IndRow> rows;
    FillIndividualGrid(&collection, highlighter, true, individual, rows);
    std::string b;
    for (const IndRow& row : rows) {
        b += row.Type;
        b += ": ";
        bool first = true;
        for (const std::string* part : {&row.Date, &row.Info, &row.Notes}) {
            if (part->empty()) continue;
            if (!first) b += ", ";
            b += *part;
            first = false;
        }
        b += kCRLF;
    }
    return b;
}

std::string FamilyViewText(WABSCollection& collection, const WFamilySubject& subject) {
    const std::int32_t self = subject.Subject();
    if (self == 0) return {};
    auto family = shownFamily(collection, subject);
    const std::int32_t spouse = family ? family->GetOtherSpouse(self) : 0;

    std::string b;
    line(b, "FAMILY GROUP");
    b += kCRLF;

    auto sexOf = [&](std::int32_t n) -> char {
        auto p = n != 0 ? collection.GetIndividual(n) : nullptr;
        return p ? p->GetSex() : '\0';
    };
    bool selfIsHusband = false;
    switch (sexOf(self)) {
    case 'M': selfIsHusband = true; break;
    case 'U': selfIsHusband = spouse != 0 && sexOf(spouse) != 'M'; break;
    default: break;
    }
    const std::int32_t husband = selfIsHusband ? self : spouse;
    const std::int32_t wife = selfIsHusband ? spouse : self;

    line(b, "HUSBAND");
    writePersonBlock(collection, husband, false, b);
    writeParents(collection, husband, b);
    b += kCRLF;
    line(b, "WIFE");
    writePersonBlock(collection, wife, false, b);
    writeParents(collection, wife, b);

    if (family) {
        // The order the Family view shows.
        family->SortChildren();
        for (std::int32_t k = 1; k <= family->GetChildCount(); ++k) {
            b += kCRLF;
            line(b, "Child " + std::to_string(k));
            writePersonBlock(collection, family->GetChild(k), true, b);
        }
    }
    return b;
}

std::string PedigreeViewText(WABSCollection& collection, const WFamilySubject& subject) {
    WCharScreen screen(31, 80);
    const std::int32_t self = subject.Subject();
    std::int32_t spouse = 0;
    if (auto family = shownFamily(collection, subject)) {
        spouse = family->GetOtherSpouse(self);
        screen.PutText(26, 1, "Spouse", 40);
        putPedigreeBox(collection, screen, spouse, 27, 1, 0, 40);
    }
    putPedigreeBox(collection, screen, self, 12, 1, collection.FindCommonMarriage(self, spouse), 45);

    const std::int32_t father = collection.GetFather(self), mother = collection.GetMother(self);
    const std::int32_t ff = collection.GetFather(father), fm = collection.GetMother(father);
    const std::int32_t mf = collection.GetFather(mother), mm = collection.GetMother(mother);
    putPedigreeBox(collection, screen, father, 5, 10, collection.FindCommonMarriage(father, mother), 40);
    putPedigreeBox(collection, screen, mother, 20, 10, 0, 40);
    putPedigreeBox(collection, screen, ff, 1, 44, collection.FindCommonMarriage(ff, fm), 40);
    putPedigreeBox(collection, screen, fm, 9, 44, 0, 40);
    putPedigreeBox(collection, screen, mf, 16, 44, collection.FindCommonMarriage(mf, mm), 40);
    putPedigreeBox(collection, screen, mm, 23, 44, 0, 40);

    std::string b;
    line(b, "PEDIGREE CHART");
    for (std::int32_t r = 1; r <= 30; ++r) line(b, rtrimmed(screen.GetLine(r)));
    return b;
}

std::string DescendantsViewText(WABSCollection& collection, const WDesIterator& list) {
    WaitHooks::WaitScope wait(kCopying);
    std::string b;
    line(b, "DESCENDANT LIST");
    b += kCRLF;
    // Count is read each step: the pump may let the list be rebuilt.
    for (std::int32_t pos = 1; pos <= list.Count(); ++pos) {
        if (pos % 50 == 0) plat::processMessages();
        const WDesEntry* entry = list.GetEntry(pos);
        if (!entry) continue;
        auto person = collection.GetIndividual(entry->individual);
        if (!person) continue;
        b.append(std::size_t(entry->generation) * 2, ' ');
        b += std::to_string(entry->generation + 1);
        b += " - ";
        b += person->GetDisplayName();
        if (entry->familyCount > 0) {
            if (entry->spouse != 0) {
                b += " + ";
                if (auto sp = collection.GetIndividual(entry->spouse)) b += sp->GetDisplayName();
            }
            if (entry->familyCount > 1)
                b += " [" + std::to_string(entry->familyPos) + " of " + std::to_string(entry->familyCount) + "]";
        }
        b += kCRLF;
    }
    return b;
}

std::optional<std::string> ListViewText(const WListColumns& columns, WColSortIterator& iterator, int choice,
                                        const std::string& fileName) {
    if (!ValidChoice(choice)) return std::nullopt;
    WaitHooks::WaitScope wait(kCopying);
    const std::int32_t cols = columns.GetCount();
    // Widths and tab stops once, not per cell.
    std::vector<std::int32_t> widths(std::size_t(cols) + 1, 0);
    std::vector<bool> tabbed(std::size_t(cols) + 1, false);
    std::string b, s;
    for (std::int32_t c = 1; c <= cols; ++c) {
        widths[std::size_t(c)] = columns.GetColumnWidth(c) / 5;
        tabbed[std::size_t(c)] = columns.GetTabStops(c) != nullptr;
        std::int32_t mark = 1;
        columns.GetColumnTitle(c, false, mark, s);
        writeCell(s, choice, widths[std::size_t(c)], c == cols, b);
    }
    b += kCRLF;
    for (std::int32_t pos = 1; pos <= iterator.Count(); ++pos) {
        if (pos % 25 == 0) plat::processMessages();
        const std::int32_t ind = iterator.GetItem(pos);
        for (std::int32_t c = 1; c <= cols; ++c) {
            columns.GetCellText(c, ind, 1, s);
            if (tabbed[std::size_t(c)]) s.erase(std::remove(s.begin(), s.end(), '\t'), s.end());
            writeCell(s, choice, widths[std::size_t(c)], c == cols, b);
        }
        b += kCRLF;
    }
    if (choice == kCSVFile) SaveTextToFile(fileName, b);
    return b;
}

std::optional<std::string> IslandsViewText(WABSCollection& collection, int choice, const std::string& fileName) {
    if (!ValidChoice(choice)) return std::nullopt;
    const bool fixed = choice == kFixed;
    auto writeLine = [&](std::string& b, const std::string& first, const std::string& ind, const std::string& mar,
                         const std::string& note, const std::string& source, const std::string& name) {
        if (fixed) {
            b += padLeft(first, 5) + ' ' + padLeft(ind, 8) + ' ' + padLeft(mar, 8) + ' ' + padLeft(note, 8) + ' ' +
                 padLeft(source, 8) + ' ' + name;
        } else {
            b += QuoteCSV(first) + ',' + QuoteCSV(ind) + ',' + QuoteCSV(mar) + ',' + QuoteCSV(note) + ',' +
                 QuoteCSV(source) + ',' + QuoteCSV(name);
        }
        b += kCRLF;
    };
    std::string b;
    if (fixed) {
        line(b, "ISLANDS");
        b += kCRLF;
    }
    // Titles hold no quotes; the name of each island is doubled below in every form.
    writeLine(b, "#", "Ind", "Mar", "Note", "Source", "1st Individual");
    const std::int32_t count = collection.GetIslandCount();
    const std::string zero = StrFunc::FormatThousands(0);
    for (std::int32_t i = 1; i <= count; ++i) {
        std::string name;
        if (auto p = collection.GetIndividual(collection.GetIslandFirstIndividual(i))) name = p->GetDisplayName();
        writeLine(b, std::to_string(i), StrFunc::FormatThousands(collection.GetIslandSize(i)),
                  StrFunc::FormatThousands(collection.GetIslandFamilyCount(i)), zero, zero,
                  fixed ? doubledQuotes(name) : name);
    }
    if (choice == kCSVFile) SaveTextToFile(fileName, b);
    return b;
}

void SaveTextToFile(const std::string& fileName, const std::string& text) {
    // The buffer's text ends at its first NUL.
    const auto nul = text.find('\0');
    writeFile(fileName, nul == std::string::npos ? text : text.substr(0, nul));
}

void PutOnClipboard(const std::string& text) {
    if (plat::hooks().setClipboardText) plat::hooks().setClipboardText(text);
}

} // namespace ClipText
