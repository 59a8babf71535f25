#include "model/IntArray.h"

#include <cstring>

WIntArray::WIntArray(const std::string& fileName, std::int32_t n) : WABSArrayIndex(fileName, false, 4, n) {
    SetCount(n);
}

std::int32_t WIntArray::Add(std::int32_t value) { return WABSArrayIndex::Add(&value); }

void WIntArray::SetValue(std::int32_t i, std::int32_t value) { SetRecord(i, &value); }

std::int32_t WIntArray::GetValue(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return 0;
    std::int32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void WIntArray::Fill(std::int32_t value) {
    if (m_count == 0) return;
    char* p = GetPtr(1);
    for (std::int32_t i = 0; i < m_count; ++i) std::memcpy(p + std::int64_t(i) * 4, &value, 4);
    markChanged();
}

void WIntArray::Increment(std::int32_t i) {
    char* p = GetPtr(i);
    if (!p) return;
    std::int32_t v;
    std::memcpy(&v, p, 4);
    // Wraps like the 32-bit counter it is, without undefined behaviour.
    v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) + 1u);
    std::memcpy(p, &v, 4);
    markChanged();
}
