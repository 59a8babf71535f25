#include "model/JclUnicode.h"

#include <cstdint>

namespace JclUnicode {
namespace {

int trailingBytes(unsigned char lead) {
    if (lead < 0xC0) return 0;
    if (lead < 0xE0) return 1;
    if (lead < 0xF0) return 2;
    if (lead < 0xF8) return 3;
    if (lead < 0xFC) return 4;
    return 5;
}

constexpr std::uint32_t kOffsets[6] = {0x00000000u, 0x00003080u, 0x000E2080u, 0x03C82080u, 0xFA082080u, 0x82082080u};
constexpr char16_t kReplacement = 0xFFFD;

} // namespace

std::u16string Utf8ToWide(const std::string& text) {
    std::u16string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
        const int n = trailingBytes(p[i]);
        if (size - i <= std::size_t(n)) {
            // The sequence runs past the end of the text.
            out.push_back(kReplacement);
            break;
        }
        // Unsigned arithmetic wraps like the 32-bit accumulator the offsets are made for.
        std::uint32_t value = 0;
        for (int k = 0; k < n; ++k) value = (value + p[i + std::size_t(k)]) << 6;
        value += p[i + std::size_t(n)];
        value -= kOffsets[n];
        i += std::size_t(n) + 1;
        if (value <= 0xFFFF) {
            out.push_back(static_cast<char16_t>(value));
        } else if (value <= 0x10FFFF) {
            value -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (value >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (value & 0x3FF)));
        } else {
            out.push_back(kReplacement);
        }
    }
    return out;
}

} // namespace JclUnicode
