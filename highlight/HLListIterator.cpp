#include "highlight/HLListIterator.h"

#include "highlight/ABSHighLighter.h"
#include "model/ABSCollection.h"
#include "platform/Hooks.h"

namespace {
int g_fillsRunning = 0;

class FillScope {
public:
    explicit FillScope(bool& flag) : m_flag(flag) {
        m_flag = true;
        ++g_fillsRunning;
    }
    ~FillScope() {
        m_flag = false;
        --g_fillsRunning;
    }
    FillScope(const FillScope&) = delete;
    FillScope& operator=(const FillScope&) = delete;

private:
    bool& m_flag;
};
} // namespace

WColHLIterator::WColHLIterator(const std::string& name, std::int32_t capacity, WABSCollection* collection,
                               WABSHighLighter* highlighter)
    : WColSortIterator(name, capacity, collection), m_highlighter(highlighter) {
    EnsureSorted();
}

bool WColHLIterator::AnyFilling() { return g_fillsRunning > 0; }

void WColHLIterator::Sort() {
    if (!m_collection || !m_highlighter || m_filling) return;
    const std::int32_t n = m_collection->GetCount();
    if (n <= 0) return;
    FillScope running(m_filling);
    for (std::int32_t pos = 1; pos <= n; ++pos) {
        if (pos % kPumpEvery == 0) plat::processMessages();
        const std::int32_t individual = m_collection->ViewToIndex(pos);
        if (m_highlighter->IsHighlighted(individual)) AddItem(individual);
    }
}
