#include "columns/ListColumns.h"

#include "columns/Attrib.h"
#include "columns/ColSortIterator.h"
#include "model/ABSCollection.h"
#include "model/Ini2.h"
#include "model/JclStrings.h"
#include "model/WaitHooks.h"

namespace {

constexpr const char* kError = "ERROR";

// A column-list item as a number: digits with an optional sign, blanks
// around allowed; a number too large for an id reads as -1. False for
// anything else (an empty item, letters).
bool itemNumber(const std::string& item, std::int32_t& value) {
    std::size_t b = item.find_first_not_of(' ');
    if (b == std::string::npos) return false;
    std::size_t e = item.find_last_not_of(' ') + 1;
    bool negative = false;
    if (item[b] == '+' || item[b] == '-') negative = item[b++] == '-';
    if (b == e) return false;
    std::int64_t v = 0;
    for (std::size_t k = b; k < e; ++k) {
        char c = item[k];
        if (c < '0' || c > '9') return false;
        if (v <= 1'000'000'000) v = v * 10 + (c - '0');
    }
    value = negative || v > 1'000'000'000 ? -1 : static_cast<std::int32_t>(v);
    return true;
}

// The set's sort state for the duration of a sort.
class Flag {
public:
    explicit Flag(bool& f) : m_f(f) { m_f = true; }
    ~Flag() { m_f = false; }
    Flag(const Flag&) = delete;
    Flag& operator=(const Flag&) = delete;

private:
    bool& m_f;
};

} // namespace

WListColumns::WListColumns(WABSCollection* collection, const std::string& sectionName)
    : m_collection(collection), m_section(sectionName) {
    readWidths();
}

WListColumns::~WListColumns() {
    // Only the widths of shown columns; ids that are no column kind have none.
    for (std::int32_t id : m_ids) {
        if (!ColumnTable::IsColumnId(id)) continue;
        ini2::WriteInteger(m_section, std::to_string(id), m_widths[static_cast<std::size_t>(id)]);
    }
}

void WListColumns::readWidths() {
    for (std::int32_t id = 1; id <= ColumnTable::kColumnCount; ++id) {
        long w = ini2::ReadInteger(m_section, std::to_string(id), ColumnTable::DefaultWidth(id));
        m_widths[static_cast<std::size_t>(id)] = static_cast<std::int32_t>(w);
    }
}

bool WListColumns::SetCollection(WABSCollection* collection) {
    if (m_sorting) return false;
    if (collection == m_collection) return true;
    m_collection = collection;
    m_sortColumn = -1;
    for (auto& a : m_attribs) {
        if (!a) continue;
        a->SetCollection(collection);
        a->SetReferencePerson(0);
    }
    return true;
}

void WListColumns::SetReferencePerson(std::int32_t individual) {
    for (auto& a : m_attribs)
        if (a) a->SetReferencePerson(individual);
}

bool WListColumns::SetColumnList(const std::string& text) {
    if (m_sorting) return false;
    if (text == m_columnList) return true;
    m_columnList = text;
    m_attribs.clear();
    m_ids.clear();
    m_sortColumn = -1;

    std::vector<std::string> items;
    JclStrings::StrToStrings(text, ",", items, true);
    for (const std::string& item : items) {
        if (GetCount() >= kMaxPositions) break;
        std::int32_t id = 0;
        if (!itemNumber(item, id)) continue;
        m_ids.push_back(id);
        m_attribs.push_back(ColumnTable::MakeAttrib(id, m_collection));
    }
    return true;
}

std::string WListColumns::GetTitleForId(std::int32_t id, bool longTitle) const {
    if (m_collection && m_collection->GetFileKind() == 1 && id == 2) return ColumnTable::kRefTitle;
    if (id < 0 || id > ColumnTable::kColumnCount) return kError;
    return ColumnTable::Title(id, longTitle);
}

void WListColumns::GetColumnTitle(std::int32_t position, bool longTitle, std::int32_t& mark, std::string& s) const {
    mark = 1;
    WAttrib* a = GetAttrib(position);
    if (!a) {
        s = kError;
        return;
    }
    s = GetTitleForId(a->GetColumnId(), longTitle);
    if (position == m_sortColumn && m_iterator) mark = m_ascending ? 2 : 3;
}

void WListColumns::GetCellText(std::int32_t position, std::int32_t row, std::int32_t family, std::string& s) const {
    WAttrib* a = GetAttrib(position);
    if (!a) {
        s = kError;
        return;
    }
    a->GetText(row, family, s);
}

WAttrib* WListColumns::GetAttrib(std::int32_t position) const {
    return validPosition(position) ? m_attribs[static_cast<std::size_t>(position - 1)].get() : nullptr;
}

std::int32_t WListColumns::GetColumnId(std::int32_t position) const {
    WAttrib* a = GetAttrib(position);
    return a ? a->GetColumnId() : 0;
}

void WListColumns::SetColumnWidth(std::int32_t position, std::int32_t width) {
    std::int32_t id = GetColumnId(position);
    if (ColumnTable::IsColumnId(id)) m_widths[static_cast<std::size_t>(id)] = width;
}

std::int32_t WListColumns::GetColumnWidth(std::int32_t position) const {
    std::int32_t id = GetColumnId(position);
    return ColumnTable::IsColumnId(id) ? m_widths[static_cast<std::size_t>(id)] : kUnknownWidth;
}

const std::vector<std::int32_t>* WListColumns::GetTabStops(std::int32_t position) const {
    WAttrib* a = GetAttrib(position);
    return a ? a->GetTabStops() : nullptr;
}

void WListColumns::SetSortIterator(WColSortIterator* iterator) {
    if (m_sorting || iterator == m_iterator) return;
    m_iterator = iterator;
    if (!m_iterator) return;
    m_iterator->SetAscending(m_ascending);
    sort(false);
}

void WListColumns::SortByColumn(std::int32_t position) {
    if (m_sorting) return;
    m_sortColumn = position;
    sort(true);
}

void WListColumns::Resort() {
    if (m_iterator) sort(false);
}

void WListColumns::sort(bool toggle) {
    if (!m_iterator || m_sortColumn < 1 || m_sorting || m_iterator->IsBusy()) return;
    Flag running(m_sorting);
    WaitHooks::WaitScope wait("Sorting.  Please Wait...", false, true);
    m_iterator->SortBy(GetAttrib(m_sortColumn), toggle);
    m_ascending = m_iterator->IsAscending();
}

std::int32_t WListColumns::GetColumnIdAt(std::int32_t chooserPosition) {
    return ColumnTable::ChooserId(chooserPosition);
}

std::int32_t WListColumns::GetChooserPosition(std::int32_t id) { return ColumnTable::ChooserPosition(id); }

void WListColumns::GetColumnsText(std::string& s) const {
    s.clear();
    for (std::int32_t p = 1; p <= GetCount(); ++p) {
        if (p > 1) s += "\r\n";
        s += "Column " + std::to_string(p) + ": ";
        std::int32_t id = m_ids[static_cast<std::size_t>(p - 1)];
        s += ColumnTable::IsColumnId(id) ? GetTitleForId(id, true) : std::string(kError);
    }
}
