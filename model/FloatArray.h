#pragma once
// 1-based array of 10-byte extended floats (x87 layout, little-endian);
// out-of-range reads give 0.
#include "model/ABSArrayIndex.h"

class WFloatArray : public WABSArrayIndex {
public:
    static constexpr std::int32_t ExtendedSize = 10;

    // n records, all 0.
    WFloatArray(const std::string& fileName, std::int32_t n);

    // Valid i only.
    virtual void SetValue(std::int32_t i, long double value);
    virtual long double GetValue(std::int32_t i) const;
    void Fill(long double value);

    // The 10-byte form of a value and back.
    static void ToExtended(long double value, unsigned char out[10]);
    static long double FromExtended(const unsigned char in[10]);
};
