#include "model/BoolArray.h"

#include <cstring>

WBoolArray::WBoolArray(const std::string& fileName, std::int32_t n) : WABSArrayIndex(fileName, false, 1, n) {
    SetCount(n);
}

void WBoolArray::SetValue(std::int32_t i, bool value) {
    unsigned char b = value ? 1 : 0;
    SetRecord(i, &b);
}

bool WBoolArray::GetValue(std::int32_t i) const {
    const char* p = GetPtr(i);
    return p && static_cast<unsigned char>(*p) == 1;
}

void WBoolArray::Fill(bool value) {
    if (m_count == 0) return;
    std::memset(GetPtr(1), value ? 1 : 0, static_cast<std::size_t>(m_count));
    markChanged();
}
