#include "payload/Crc32.h"

#include <array>

namespace payload {
namespace {

// Eight tables: slicing by eight bytes keeps the check off the expander's profile.
using Tables = std::array<std::array<std::uint32_t, 256>, 8>;

Tables makeTables() {
    Tables t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < 8; ++k)
        for (std::uint32_t i = 0; i < 256; ++i) t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFFu];
    return t;
}

const Tables& tables() {
    static const Tables t = makeTables();
    return t;
}

} // namespace

const std::uint32_t* TCRC32::table() { return tables()[0].data(); }

void TCRC32::Update(const std::uint8_t* p, std::size_t n) {
    const Tables& t = tables();
    std::uint32_t c = m_reg;
    while (n >= 8) {
        const std::uint32_t lo = c ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
                                      std::uint32_t(p[3]) << 24);
        c = t[7][lo & 0xFFu] ^ t[6][(lo >> 8) & 0xFFu] ^ t[5][(lo >> 16) & 0xFFu] ^ t[4][lo >> 24] ^ t[3][p[4]] ^
            t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
        p += 8;
        n -= 8;
    }
    while (n--) c = t[0][(c ^ *p++) & 0xFFu] ^ (c >> 8);
    m_reg = c;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t n) {
    TCRC32 c;
    c.Update(data, n);
    return c.GetValue();
}

} // namespace payload
