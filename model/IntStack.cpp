#include "model/IntStack.h"

#include <charconv>

WIntStack::WIntStack() : m_array(std::make_unique<WIntArray>(std::string(), 0)) {}

void WIntStack::Push(std::int32_t value) {
    if (m_top < m_highWater) {
        ++m_top;
        m_array->SetValue(m_top, value);
    } else {
        ++m_top;
        ++m_highWater;
        m_array->Add(value);
    }
}

std::int32_t WIntStack::Pop() {
    if (m_top <= 0) return 0;
    std::int32_t v = m_array->GetValue(m_top);
    --m_top;
    return v;
}

std::int32_t WIntStack::Peek(std::int32_t i) const {
    std::int32_t pos = i == 0 ? m_top : i;
    if (pos <= 0) return 0;
    return m_array->GetValue(pos);
}

void WIntStack::Clear() {
    m_top = 0;
    m_highWater = 0;
    m_array->Clear();
}

std::string WIntStack::GetText() const {
    std::string s;
    char buf[16];
    for (std::int32_t i = 1; i <= m_top; ++i) {
        auto r = std::to_chars(buf, buf + sizeof buf, m_array->GetValue(i));
        s.append(buf, r.ptr);
        s.push_back(',');
    }
    return s;
}

bool WIntStack::Contains(std::int32_t value) const {
    for (std::int32_t i = 1; i <= m_top; ++i)
        if (m_array->GetValue(i) == value) return true;
    return false;
}
