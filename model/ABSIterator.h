#pragma once
// Array with a cursor: a 1-based position, 0 = none.
#include "model/ABSArrayIndex.h"

class WABSIterator : public WABSArrayIndex {
public:
    // Never keeps its file.
    WABSIterator(const std::string& fileName, std::int32_t recordSize, std::int32_t capacity);

    // Record at position, and the cursor moves there; null and cursor 0 when
    // the position is not valid.
    virtual char* Current(std::int32_t position);
    char* First() { return Current(1); }
    // After the last record gives null and the cursor 0, so the next Next
    // starts again at record 1.
    char* Next() { return Current(m_cursor + 1); }
    char* Prev() { return Current(m_cursor - 1); }
    char* Last() { return Current(m_count); }

    std::int32_t GetCursor() const { return m_cursor; }

protected:
    std::int32_t m_cursor = 0;
};
