#include "app/FindBox.h"

#include <cctype>

#include "app/FlagScope.h"
#include "columns/ColSortIterator.h"
#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/Options.h"

namespace {

// Column each find mode sorts by (identifier, surname, given names, custom).
using Kind = WCollectionIterator::SearchKind;
constexpr std::int32_t kModeColumn[6] = {0,
                                         0,
                                         WColSortIterator::kIdentifierColumn,
                                         WColSortIterator::SearchColumn(Kind::SurnameGiven),
                                         WColSortIterator::SearchColumn(Kind::FullName),
                                         WColSortIterator::SearchColumn(Kind::RefN)};

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

bool wholeNumber(const std::string& s, std::int32_t& out) {
    if (s.empty() || s.size() > 9) return false;
    std::int32_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    out = v;
    return true;
}

} // namespace

void WFindBox::SplitName(const std::string& text, std::string& surname, std::string& given) {
    const std::size_t comma = text.find(',');
    surname = trim(text.substr(0, comma));
    given = comma == std::string::npos ? std::string() : trim(text.substr(comma + 1));
}

WFindBox::WFindBox() = default;
WFindBox::~WFindBox() = default;

void WFindBox::SetCollection(WABSCollection* collection) {
    FreeFindIndexes();
    m_collection = collection;
}

void WFindBox::FreeFindIndexes() {
    m_current = nullptr;
    m_findPos = 0;
    m_nextPrev = false;
    for (auto& index : m_indexes) index.reset();
}

WColSortIterator* WFindBox::Index(int mode) const {
    return mode >= 1 && mode <= 5 ? m_indexes[std::size_t(mode)].get() : nullptr;
}

void WFindBox::BuildFindIndex(int mode, bool sort) {
    if (mode < 1 || mode > 5 || !m_collection) return;
    Global::SetBusy(true);
    auto& index = m_indexes[std::size_t(mode)];
    if (!index) {
        index = std::make_unique<WColSortIterator>("", m_collection->GetIndividualCount(), m_collection);
        // Record order is the index itself.
        if (mode == mdIndex) index->SetNoSort();
    }
    m_current = index.get();
    if (sort && mode != mdIndex && !m_sorting) {
        const FlagScope sorting(m_sorting);
        index->SortByColumnId(kModeColumn[mode]);
    }
    Global::SetBusy(false);
}

std::int32_t WFindBox::TextChanged(const std::string& text) {
    if (!m_collection) return 0;
    // Typed while an index sorts: half of it is still out of order, so only
    // the latest text is kept for the search that waits below.
    if (m_searching || m_sorting) {
        m_pendingText = text;
        m_textPending = true;
        m_dropped = false;
        return 0;
    }
    const FlagScope searching(m_searching);
    m_dropped = false;
    std::int32_t target = search(text);
    while (m_textPending && m_collection) {
        m_textPending = false;
        target = search(m_pendingText);
    }
    return m_collection && !m_dropped ? target : 0;
}

std::int32_t WFindBox::search(const std::string& text) {
    if (text.empty()) {
        m_findPos = 0;
        m_nextPrev = false;
        return 0;
    }
    switch (m_mode) {
    case mdIndex: {
        BuildFindIndex(mdIndex, false);
        std::int32_t n = 0;
        return wholeNumber(trim(text), n) ? n : 0;
    }
    case mdIdentifier: {
        BuildFindIndex(mdIdentifier, true);
        if (superseded()) return 0;
        const std::string xref = (m_collection->GetFileKind() == 1 ? "I" : "") + trim(text);
        return m_collection->FindIndividualByXref(xref);
    }
    case mdSurname: {
        BuildFindIndex(mdSurname, true);
        if (superseded()) return 0;
        std::string surname, given;
        SplitName(text, surname, given);
        // The search gives the nearest position when nothing matches; only a
        // real match counts as found.
        const std::int32_t pos = m_current->FindSurnameGiven(surname, given);
        if (pos > 0 && m_current->MatchesAt(pos, WCollectionIterator::SurnameGivenSearch(surname, given))) {
            m_nextPrev = true;
            m_findPos = pos;
        } else {
            m_findPos = 1;
        }
        return m_current->GetItem(m_findPos);
    }
    case mdGiven: {
        BuildFindIndex(mdGiven, true);
        if (superseded()) return 0;
        // Blanks alone name nobody.
        const WCollectionIterator::Search wanted = WCollectionIterator::TextSearch(Kind::FullName, text);
        if (wanted.key.empty()) return 0;
        // The first entry whose plain full name begins with the text: the
        // entries before it begin otherwise, so none of their given names do.
        const std::int32_t pos = m_current->FindFullName(text);
        if (pos < 1 || !m_current->MatchesAt(pos, wanted)) return 0;
        m_nextPrev = true;
        m_findPos = pos;
        return m_current->GetItem(m_findPos);
    }
    default: return 0;
    }
}

std::string WFindBox::SelectedText(std::int32_t individual) {
    dropWaitingSearch();
    if (!m_collection || individual < 1) return "";
    if (m_mode == mdIndex) return std::to_string(individual);
    auto ind = m_collection->GetIndividual(individual);
    if (!ind) return "";
    switch (m_mode) {
    case mdIdentifier: return ind->GetXRef();
    case mdSurname:
        m_findPos = 0;
        m_nextPrev = true;
        return ind->GetSurnameText();
    case mdGiven:
        m_findPos = 0;
        m_nextPrev = true;
        return ind->GetGivenText();
    default: return "";
    }
}
