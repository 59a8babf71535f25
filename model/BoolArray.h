#pragma once
// 1-based array of one-byte flags (1 = true, 0 = false); out-of-range reads give false.
#include "model/ABSArrayIndex.h"

class WBoolArray : public WABSArrayIndex {
public:
    // n records, all false.
    WBoolArray(const std::string& fileName, std::int32_t n);

    // Valid i only.
    void SetValue(std::int32_t i, bool value);
    // True only when the stored byte is 1.
    bool GetValue(std::int32_t i) const;
    void Fill(bool value);
};
