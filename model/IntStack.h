#pragma once
// Stack of integers over a WIntArray; popped records stay for reuse.
#include <memory>
#include <string>

#include "model/IntArray.h"

class WIntStack {
public:
    WIntStack();

    void Push(std::int32_t value);
    // 0 when empty.
    std::int32_t Pop();
    // Position i from the bottom, or the top when i is 0; 0 when that position
    // is 0 or below, or beyond the array.
    std::int32_t Peek(std::int32_t i) const;
    bool IsEmpty() const { return m_top <= 0; }
    void Clear();
    std::int32_t Count() const { return m_top; }
    // Values from the bottom to the top, each followed by ",".
    std::string GetText() const;
    // True when one of positions 1..top holds value.
    bool Contains(std::int32_t value) const;

private:
    std::unique_ptr<WIntArray> m_array;
    std::int32_t m_top = 0;
    std::int32_t m_highWater = 0;
};
