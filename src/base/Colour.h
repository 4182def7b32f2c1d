// Colour values are 0x00BBGGRR; 0x80000000 + index names a system colour.
#pragma once

#include <cstdint>

namespace lumora {

using Colour = int32_t;

inline constexpr Colour kNoColour = -1;  // what pickers return when nothing was chosen

constexpr Colour RGBColour(int r, int g, int b) { return static_cast<Colour>(r | (g << 8) | (b << 16)); }
constexpr uint8_t RedOf(uint32_t c) { return static_cast<uint8_t>(c & 0xFF); }
constexpr uint8_t GreenOf(uint32_t c) { return static_cast<uint8_t>((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(uint32_t c) { return static_cast<uint8_t>((c >> 16) & 0xFF); }
constexpr bool IsSystemColour(Colour c) { return (static_cast<uint32_t>(c) & 0x80000000u) != 0; }

}  // namespace lumora
