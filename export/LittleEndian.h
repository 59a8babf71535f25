#pragma once
// Little-endian integers appended to a byte string (bitmap, GIF and metafile records).
#include <cstdint>
#include <string>

namespace le {

inline void put8(std::string& s, unsigned v) { s += char(v & 0xFF); }
inline void put16(std::string& s, unsigned v) {
    s += char(v & 0xFF);
    s += char((v >> 8) & 0xFF);
}
inline void put32(std::string& s, std::uint32_t v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
}
inline void putI16(std::string& s, int v) { put16(s, unsigned(std::uint16_t(std::int16_t(v)))); }
inline void putI32(std::string& s, std::int32_t v) { put32(s, std::uint32_t(v)); }

} // namespace le
