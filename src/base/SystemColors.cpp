#include "base/SystemColors.h"

#include <array>

namespace lumora::SystemColors {
namespace {

constexpr uint32_t rgb(int r, int g, int b) { return static_cast<uint32_t>(r | (g << 8) | (b << 16)); }

// The classic desktop scheme: what a program sees without a user interface to ask.
constexpr std::array<uint32_t, kCount> kDefaults = {
    rgb(200, 200, 200), rgb(0, 0, 0),       rgb(153, 180, 209), rgb(191, 205, 219), rgb(240, 240, 240),
    rgb(255, 255, 255), rgb(100, 100, 100), rgb(0, 0, 0),       rgb(0, 0, 0),       rgb(0, 0, 0),
    rgb(180, 180, 180), rgb(244, 247, 252), rgb(171, 171, 171), rgb(0, 120, 215),   rgb(255, 255, 255),
    rgb(240, 240, 240), rgb(160, 160, 160), rgb(109, 109, 109), rgb(0, 0, 0),       rgb(0, 0, 0),
    rgb(255, 255, 255), rgb(105, 105, 105), rgb(227, 227, 227), rgb(0, 0, 0),       rgb(255, 255, 225),
    rgb(0, 0, 0),       rgb(0, 102, 204),   rgb(185, 209, 234), rgb(215, 228, 242), rgb(0, 120, 215),
    rgb(240, 240, 240)};

std::array<uint32_t, kCount>& table() {
  static std::array<uint32_t, kCount> colours = kDefaults;
  return colours;
}

}  // namespace

uint32_t Get(int index) { return index >= 0 && index < kCount ? table()[index] : 0; }

void Set(int index, uint32_t rgbValue) {
  if (index >= 0 && index < kCount) table()[index] = rgbValue & 0xFFFFFFu;
}

void ResetToDefaults() { table() = kDefaults; }

uint32_t Translate(Colour colour) {
  const auto value = static_cast<uint32_t>(colour);
  if (!IsSystemColour(colour)) return value & 0xFFFFFFu;
  return Get(static_cast<int>(value & 0x7FFFFFFFu));
}

}  // namespace lumora::SystemColors
