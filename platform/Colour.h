#pragma once
// Colours keep the stored desktop value 0x00BBGGRR (65535 is yellow).
#include <cstdint>

namespace plat {

using ColorRef = std::uint32_t;

constexpr ColorRef rgb(int r, int g, int b) {
    return ColorRef(r & 0xFF) | (ColorRef(g & 0xFF) << 8) | (ColorRef(b & 0xFF) << 16);
}
constexpr int redOf(ColorRef c) { return int(c & 0xFF); }
constexpr int greenOf(ColorRef c) { return int((c >> 8) & 0xFF); }
constexpr int blueOf(ColorRef c) { return int((c >> 16) & 0xFF); }

constexpr ColorRef kWhite = 0xFFFFFF;
constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kYellow = 0x00FFFF;

} // namespace plat
