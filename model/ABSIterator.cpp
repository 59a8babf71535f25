#include "model/ABSIterator.h"

WABSIterator::WABSIterator(const std::string& fileName, std::int32_t recordSize, std::int32_t capacity)
    : WABSArrayIndex(fileName, false, recordSize, capacity) {}

char* WABSIterator::Current(std::int32_t position) {
    if (!IsValidIndex(position)) {
        m_cursor = 0;
        return nullptr;
    }
    m_cursor = position;
    return GetPtr(position);
}
