#pragma once
// 1-based array of signed 32-bit integers; out-of-range reads give 0.
#include "model/ABSArrayIndex.h"

class WIntArray : public WABSArrayIndex {
public:
    // n records, all 0.
    WIntArray(const std::string& fileName, std::int32_t n);

    using WABSArrayIndex::Add;
    // Appends a value; returns the new count.
    std::int32_t Add(std::int32_t value);
    // Valid i only.
    virtual void SetValue(std::int32_t i, std::int32_t value);
    virtual std::int32_t GetValue(std::int32_t i) const;
    void Fill(std::int32_t value);
    // Adds 1 to record i (valid i only).
    void Increment(std::int32_t i);
};
