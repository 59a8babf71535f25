#pragma once
// Bit routines on one byte; the bit number is taken modulo 8.
#include <cstdint>

namespace JclLogic {

inline bool TestBit(std::uint8_t value, int bit) { return (value >> (unsigned(bit) & 7u)) & 1u; }
inline std::uint8_t SetBit(std::uint8_t value, int bit) {
    return static_cast<std::uint8_t>(value | (1u << (unsigned(bit) & 7u)));
}
inline std::uint8_t ClearBit(std::uint8_t value, int bit) {
    return static_cast<std::uint8_t>(value & ~(1u << (unsigned(bit) & 7u)));
}

} // namespace JclLogic
