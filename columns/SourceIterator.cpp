#include "columns/SourceIterator.h"

#include <cstring>

#include "model/ABSCollection.h"
#include "model/Global.h"
#include "model/WaitHooks.h"

namespace {

// Case-insensitive order of two texts through the program's case table; on
// a common start the shorter text first.
int compareNoCase(const std::string& a, const std::string& b) {
    std::size_t n = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t k = 0; k < n; ++k) {
        unsigned char x = Global::UpperChar(static_cast<unsigned char>(a[k]));
        unsigned char y = Global::UpperChar(static_cast<unsigned char>(b[k]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

struct SortContext {
    const std::vector<std::string>* keys; // by source number
};

int compareSources(const void* a, const void* b, void* context) {
    std::int32_t x = 0, y = 0;
    if (!a || !b) return 0;
    std::memcpy(&x, a, 4);
    std::memcpy(&y, b, 4);
    const auto& keys = *static_cast<SortContext*>(context)->keys;
    if (x < 1 || y < 1 || std::size_t(x) >= keys.size() || std::size_t(y) >= keys.size()) return 0;
    return compareNoCase(keys[std::size_t(x)], keys[std::size_t(y)]);
}

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

WSourceIterator::WSourceIterator(const std::string& name, WABSCollection* collection)
    : WABSIterator(name, 4, collection ? collection->GetSourceCount() : 0), m_collection(collection),
      m_sourceCount(collection ? collection->GetSourceCount() : 0) {
    for (std::int32_t s = 1; s <= m_sourceCount; ++s) Add(&s);
    SortBy(1, true);
}

std::string WSourceIterator::KeyText(WABSCollection& collection, std::int32_t source, std::int32_t column) {
    std::unique_ptr<WABSSource> src = collection.GetSource(source);
    if (!src) return {};
    switch (column) {
    case 2: return src->HasNote() ? "Y" : " ";
    case 3: return src->HasText() ? "Y" : " ";
    case 4: return src->HasRepo() ? "Y" : " ";
    case 5: return src->GetTitle();
    case 6: return src->GetAbbreviation();
    case 7: return src->GetAuthor();
    case 8: return src->GetPublication();
    case 9: return src->GetCallNumber();
    default: return {};
    }
}

void WSourceIterator::SortBy(std::int32_t column, bool) {
    if (m_sourceCount < 1 || !m_collection || m_busy) return;
    if (column == m_sortColumn) {
        m_ascending = !m_ascending;
        return;
    }
    Flag running(m_busy);
    m_sortColumn = column;
    m_ascending = true;
    if (column == 1) {
        for (std::int32_t s = 1; s <= m_count; ++s) SetRecord(s, &s);
        SetNoSort();
        return;
    }
    WaitHooks::WaitScope wait("Sorting.  Please Wait...");
    // Each source is read once for its key, not once per comparison.
    std::vector<std::string> keys(static_cast<std::size_t>(m_sourceCount) + 1);
    for (std::int32_t s = 1; s <= m_sourceCount; ++s) keys[std::size_t(s)] = KeyText(*m_collection, s, column);
    SortContext context{&keys};
    markChanged();
    WABSArrayIndex::Sort(compareSources, &context, true);
}

std::int32_t WSourceIterator::itemAt(std::int32_t position) const {
    const char* p = GetPtr(position);
    if (!p) return 0;
    std::int32_t n;
    std::memcpy(&n, p, 4);
    return n;
}

std::int32_t WSourceIterator::GetSortedItem(std::int32_t position) const {
    if (!IsValidIndex(position)) return 0;
    return itemAt(m_ascending ? position : m_count - position + 1);
}
