#include "app/FindNextPrev.h"

#include <algorithm>

#include "app/FindBox.h"
#include "app/FlagScope.h"
#include "columns/ColSortIterator.h"

namespace {

std::string trim(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

// Surname and given-name parts of "surname, given".
void splitName(const std::string& text, std::string& surname, std::string& given) {
    const std::size_t comma = text.find(',');
    surname = trim(text.substr(0, comma));
    given = comma == std::string::npos ? std::string() : trim(text.substr(comma + 1));
}

} // namespace

std::int32_t WFindNextPrev::count() const {
    WColSortIterator* index = m_box.Current();
    return index ? index->Count() : 0;
}

std::int32_t WFindNextPrev::itemAt(std::int32_t position) const {
    WColSortIterator* index = m_box.Current();
    return index && position >= 1 && position <= index->Count() ? index->GetItem(position) : 0;
}

bool WFindNextPrev::matchesAt(std::int32_t position, const std::string& text) const {
    WColSortIterator* index = m_box.Current();
    if (itemAt(position) < 1) return false;
    using Kind = WCollectionIterator::SearchKind;
    switch (m_box.QuickFindMode()) {
    case WFindBox::mdSurname: {
        std::string surname, given;
        splitName(text, surname, given);
        return !surname.empty() &&
               index->MatchesAt(position, Kind::SurnameGiven, WCollectionIterator::SurnameGivenKey(surname, given));
    }
    case WFindBox::mdGiven: return index->MatchesAt(position, Kind::FullName, WCollectionIterator::TextKey(text));
    default: return true;
    }
}

bool WFindNextPrev::move(std::int32_t position, const MoveTo& moveTo) const {
    const std::int32_t individual = itemAt(position);
    if (individual < 1) return false;
    if (moveTo) moveTo(individual);
    return true;
}

bool WFindNextPrev::FindNext(const std::string& text, const MoveTo& moveTo) {
    // Inside a sort of a find index the run of hits is not in place yet.
    if (!m_box.Current() || !m_box.Collection() || m_box.Sorting()) return false;
    const FlagScope busy(m_busy);
    const int mode = m_box.QuickFindMode();
    switch (mode) {
    case WFindBox::mdIndex:
    case WFindBox::mdIdentifier: m_box.BuildFindIndex(mode, true); break;
    case WFindBox::mdSurname:
        m_box.BuildFindIndex(mode, true);
        if (m_first == 0 || m_current == 0) {
            std::string surname, given;
            splitName(text, surname, given);
            const std::int32_t pos = m_box.Current()->FindSurnameGiven(surname, given);
            m_first = m_current = std::max(1, pos);
        }
        break;
    case WFindBox::mdGiven:
        m_box.BuildFindIndex(mode, true);
        if (m_first == 0 || m_current == 0) m_first = m_current = std::max(1, m_box.Current()->FindFullName(text));
        break;
    default: break;
    }
    // A text typed during the sort replaces the one this step was for.
    if (m_box.TextPending()) return false;
    if (m_first == 0 || m_current == 0) return false;
    ++m_current;
    if (m_current <= count() && matchesAt(m_current, text)) return move(m_current, moveTo);
    // Past the last hit: back to the first.
    m_current = m_first;
    return move(m_first, moveTo);
}

bool WFindNextPrev::FindPrevious(const std::string& text, const MoveTo& moveTo) {
    if (!m_box.Current() || !m_box.Collection() || m_box.Sorting() || m_first == 0 || m_current == 0) return false;
    const FlagScope busy(m_busy);
    --m_current;
    if (m_current >= m_first && matchesAt(m_current, text)) return move(m_current, moveTo);
    // Before the first hit: on to the last one of the run.
    const std::int32_t n = count();
    for (std::int32_t p = m_first + 1; p <= n; ++p) {
        if (!matchesAt(p, text)) {
            m_current = p - 1;
            return move(m_current, moveTo);
        }
    }
    m_current = std::max(n, 1);
    return move(m_current, moveTo);
}
