#include "model/FloatArray.h"

#include <cmath>
#include <cstring>

WFloatArray::WFloatArray(const std::string& fileName, std::int32_t n)
    : WABSArrayIndex(fileName, false, ExtendedSize, n) {
    SetCount(n);
}

void WFloatArray::SetValue(std::int32_t i, long double value) {
    unsigned char rec[ExtendedSize];
    ToExtended(value, rec);
    SetRecord(i, rec);
}

long double WFloatArray::GetValue(std::int32_t i) const {
    const char* p = GetPtr(i);
    if (!p) return 0;
    return FromExtended(reinterpret_cast<const unsigned char*>(p));
}

void WFloatArray::Fill(long double value) {
    if (m_count == 0) return;
    unsigned char rec[ExtendedSize];
    ToExtended(value, rec);
    char* p = GetPtr(1);
    for (std::int32_t i = 0; i < m_count; ++i) std::memcpy(p + std::int64_t(i) * ExtendedSize, rec, ExtendedSize);
    markChanged();
}

// 80-bit extended layout: 64-bit mantissa with explicit integer bit, then
// 15-bit exponent (bias 16383) and sign, little-endian.
void WFloatArray::ToExtended(long double value, unsigned char out[10]) {
    std::uint64_t mantissa = 0;
    std::uint16_t se = 0;
    if (std::signbit(value)) se = 0x8000;
    if (std::isnan(value)) {
        se |= 0x7FFF;
        mantissa = 0xC000000000000000ull;
    } else if (std::isinf(value)) {
        se |= 0x7FFF;
        mantissa = 0x8000000000000000ull;
    } else if (value != 0) {
        int exp = 0;
        long double frac = std::frexp(std::fabs(value), &exp); // [0.5, 1)
        int biased = exp - 1 + 16383;
        if (biased <= 0) {
            // Denormal in the 80-bit format.
            frac = std::ldexp(frac, biased - 1);
            biased = 0;
        }
        mantissa = static_cast<std::uint64_t>(std::ldexp(frac, 64));
        se |= static_cast<std::uint16_t>(biased);
    }
    for (int k = 0; k < 8; ++k) out[k] = static_cast<unsigned char>(mantissa >> (8 * k));
    out[8] = static_cast<unsigned char>(se);
    out[9] = static_cast<unsigned char>(se >> 8);
}

long double WFloatArray::FromExtended(const unsigned char in[10]) {
    std::uint64_t mantissa = 0;
    for (int k = 0; k < 8; ++k) mantissa |= std::uint64_t(in[k]) << (8 * k);
    std::uint16_t se = static_cast<std::uint16_t>(in[8] | in[9] << 8);
    bool negative = (se & 0x8000) != 0;
    int biased = se & 0x7FFF;
    long double v;
    if (biased == 0x7FFF) {
        v = (mantissa << 1) == 0 ? HUGE_VALL : NAN;
    } else if (biased == 0) {
        v = std::ldexp(static_cast<long double>(mantissa), 1 - 16383 - 63);
    } else {
        v = std::ldexp(static_cast<long double>(mantissa), biased - 16383 - 63);
    }
    return negative ? -v : v;
}
