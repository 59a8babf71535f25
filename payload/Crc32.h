#pragma once
// CRC-32 as zlib computes it (reflected polynomial 0xEDB88320).
#include <cstddef>
#include <cstdint>

namespace payload {

class TCRC32 {
public:
    void Reset() { m_reg = 0xFFFFFFFFu; }
    void Update(std::uint8_t byte) { m_reg = table()[(m_reg ^ byte) & 0xFFu] ^ (m_reg >> 8); }
    void Update(const std::uint8_t* data, std::size_t n);
    std::uint32_t GetValue() const { return ~m_reg; }

    static const std::uint32_t* table();

private:
    std::uint32_t m_reg = 0xFFFFFFFFu;
};

// CRC-32 of n bytes; 0 for none.
std::uint32_t crc32(const std::uint8_t* data, std::size_t n);

} // namespace payload
