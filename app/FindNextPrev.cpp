#include "app/FindNextPrev.h"

#include <algorithm>

#include "app/FindBox.h"
#include "app/FlagScope.h"
#include "columns/ColSortIterator.h"

std::int32_t WFindNextPrev::count() const {
    WColSortIterator* index = m_box.Current();
    return index ? index->Count() : 0;
}

std::int32_t WFindNextPrev::itemAt(std::int32_t position) const {
    WColSortIterator* index = m_box.Current();
    return index && position >= 1 && position <= index->Count() ? index->GetItem(position) : 0;
}

bool WFindNextPrev::search(const std::string& text, WCollectionIterator::Search& search) const {
    switch (m_box.QuickFindMode()) {
    case WFindBox::mdSurname: {
        std::string surname, given;
        WFindBox::SplitName(text, surname, given);
        search = WCollectionIterator::SurnameGivenSearch(surname, given);
        return true;
    }
    case WFindBox::mdGiven:
        search = WCollectionIterator::TextSearch(WCollectionIterator::SearchKind::FullName, text);
        return true;
    default: return false;
    }
}

std::int32_t WFindNextPrev::nextHit(std::int32_t from, const std::string& text) const {
    WCollectionIterator::Search wanted;
    if (search(text, wanted)) return m_box.Current()->NextMatch(from, wanted);
    return from >= 1 && from <= count() ? from : 0;
}

std::int32_t WFindNextPrev::prevHit(std::int32_t from, const std::string& text) const {
    WCollectionIterator::Search wanted;
    if (search(text, wanted)) return m_box.Current()->PrevMatch(from, wanted);
    return std::max(0, std::min(from, count()));
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
            WFindBox::SplitName(text, surname, given);
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
    // The next hit, passing over the entries between that do not match.
    if (const std::int32_t next = nextHit(m_current + 1, text)) {
        m_current = next;
        return move(m_current, moveTo);
    }
    // Past the last hit: back to the first.
    m_current = m_first;
    return move(m_first, moveTo);
}

bool WFindNextPrev::FindPrevious(const std::string& text, const MoveTo& moveTo) {
    if (!m_box.Current() || !m_box.Collection() || m_box.Sorting() || m_first == 0 || m_current == 0) return false;
    const FlagScope busy(m_busy);
    const std::int32_t prev = prevHit(m_current - 1, text);
    if (prev >= m_first) {
        m_current = prev;
        return move(m_current, moveTo);
    }
    // Before the first hit: on to the last one.
    const std::int32_t last = prevHit(count(), text);
    m_current = last >= m_first ? last : m_first;
    return move(m_current, moveTo);
}
