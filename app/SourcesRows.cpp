#include "app/SourcesRows.h"

#include <algorithm>

#include "columns/SourceIterator.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/StrFunc.h"

namespace {

const char* const kTitles[WSourcesRows::kColumns] = {"  #",          "N",      "T",           "R",          "Title",
                                                     "Abbreviation", "Author", "Publication", "Call Number"};

std::string joinLines(const WABSNote* note) {
    if (!note) return {};
    std::string text;
    for (const std::string& line : note->GetLines()) {
        if (!text.empty()) text += "\r\n";
        text += line;
    }
    return text;
}

// Name, then the address parts present joined by ", ".
std::string repositoryText(const WABSRepo& repo) {
    std::string text = repo.GetName();
    std::string parts;
    if (auto addr = repo.GetAddress()) {
        for (const std::string& p : {addr->GetAddress(), addr->GetAddress1(), addr->GetAddress2(), addr->GetCity(),
                                     addr->GetState(), addr->GetPostalCode(), addr->GetCountry(), addr->GetPhone()}) {
            if (p.empty()) continue;
            if (!parts.empty()) parts += ", ";
            parts += p;
        }
    }
    if (!parts.empty()) text += "\r\n" + parts;
    return text;
}

} // namespace

const char* WSourcesRows::ColumnTitle(int column) { return column >= 0 && column < kColumns ? kTitles[column] : ""; }

const char* WSourcesRows::ColumnLegend() {
    return "Column 1: Source number\r\nColumn 2: Has note indicator\r\nColumn 3: Has text indicator\r\n"
           "Column 4: Has repository indicator\r\nColumn 5: Title\r\nColumn 6: Abbreviation\r\nColumn 7: Author\r\n"
           "Column 8: Publication\r\nColumn 9: Call number";
}

int WSourcesRows::WidthSetting(int column) {
    static const int settings[kColumns] = {19, 20, 21, 22, 23, 130, 24, 25, 26};
    return column >= 0 && column < kColumns ? settings[column] : 0;
}

WSourcesRows::WSourcesRows() = default;
WSourcesRows::~WSourcesRows() = default;

void WSourcesRows::SetCollection(WABSCollection* collection) {
    DropIterator();
    m_collection = collection;
}

void WSourcesRows::DropIterator() {
    clearCache();
    if (m_sorting && m_iterator) m_retired = std::move(m_iterator);
    m_iterator.reset();
}

void WSourcesRows::EnsureIterator() {
    if (m_collection && !m_iterator) {
        m_iterator = std::make_unique<WSourceIterator>("Sources", m_collection);
        clearCache();
    }
}

std::int32_t WSourcesRows::SourceCount() const { return m_collection ? m_collection->GetSourceCount() : 0; }

std::int32_t WSourcesRows::GridRowCount() const { return std::max<std::int32_t>(SourceCount() + 1, 2); }

std::string WSourcesRows::CountText() const { return std::to_string(SourceCount()) + " Sources"; }

std::int32_t WSourcesRows::SourceAt(std::int32_t row) const {
    if (!m_collection || !m_iterator || m_sorting || row < 1 || row > SourceCount()) return 0;
    return m_iterator->GetSortedItem(row);
}

const WSourcesRows::RowTexts& WSourcesRows::Row(std::int32_t row) {
    static const RowTexts empty{};
    const std::int32_t source = SourceAt(row);
    if (source < 1) return empty;
    if (m_cacheRow == row) return m_cache;
    m_cache = RowTexts{};
    m_cacheRow = 0;
    std::unique_ptr<WABSSource> src = m_collection->GetSource(source);
    if (!src) return empty;
    m_cache[0] = StrFunc::FormatThousands(source);
    m_cache[1] = src->HasNote() ? "Y" : "";
    m_cache[2] = src->HasText() ? "Y" : "";
    m_cache[3] = src->HasRepo() ? "Y" : "";
    m_cache[4] = src->GetTitle();
    m_cache[5] = src->GetAbbreviation();
    m_cache[6] = src->GetAuthor();
    m_cache[7] = src->GetPublication();
    m_cache[8] = src->GetCallNumber();
    for (int c = 4; c < kColumns; ++c) m_cache[size_t(c)] = StrFunc::ReplaceChar(m_cache[size_t(c)], '\r', " ");
    m_cacheRow = row;
    return m_cache;
}

bool WSourcesRows::SortByColumn(int column) {
    if (!m_collection || !m_iterator || m_sorting || column < 0 || column >= kColumns) return false;
    // The sort lets window messages through: a second press, a refill or a
    // new file may arrive meanwhile. They see IsSorting(), and a list dropped
    // meanwhile lives on in m_retired until this sort is done with it.
    WSourceIterator* list = m_iterator.get();
    m_sorting = true;
    Global::SetBusy(true);
    struct Done {
        WSourcesRows& self;
        ~Done() {
            Global::SetBusy(false);
            self.m_sorting = false;
            self.m_retired.reset();
            self.clearCache();
        }
    } done{*this};
    list->SortBy(column + 1);
    return true;
}

int WSourcesRows::SortArrowColumn() const {
    if (!m_iterator) return -1;
    const int c = m_iterator->GetSortColumn() - 1;
    return c >= 0 && c < kColumns ? c : -1;
}

bool WSourcesRows::SortAscending() const { return !m_iterator || m_iterator->GetSortDirection() == 1; }

bool WSourcesRows::Details(std::int32_t row, bool raw, SourceDetails& out) const {
    out = SourceDetails{};
    const std::int32_t source = SourceAt(row);
    if (source < 1) return false;
    std::unique_ptr<WABSSource> src = m_collection->GetSource(source);
    if (!src) return false;
    if (raw) {
        out.Raw = src->GetRecordText();
        return true;
    }
    out.Title = StrFunc::FlattenLineBreaks(src->GetTitle());
    out.Author = StrFunc::FlattenLineBreaks(src->GetAuthor());
    out.Abbreviation = StrFunc::FlattenLineBreaks(src->GetAbbreviation());
    out.Publication = StrFunc::FlattenLineBreaks(src->GetPublication());
    out.CallNumber = StrFunc::FlattenLineBreaks(src->GetCallNumber());
    if (src->HasText()) out.Text = joinLines(src->GetText().get());
    if (src->HasNote()) out.Note = joinLines(src->GetNote().get());
    if (auto repo = src->GetRepo()) out.Repository = repositoryText(*repo);
    return true;
}
