// Colour names for the colour lists: HTML keywords and system-colour names to colour values, the
// numeric-text reading used when a text is no name, the system-colour translation, and the split
// of a colour into the 16-bit channels of a gradient vertex.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/Colour.h"

namespace lumora::ColourNames {

struct NamedColour {
  std::string_view name;  // lower case
  Colour value;
};

// The 169 rows in lookup order: 140 HTML keywords, then 29 system-colour names.
std::span<const NamedColour> Table();

// A colour name (any case) or, failing that, a numeric text read as the platform reads numbers.
Colour ColourFromName(std::string_view text);

// The platform's numeric-text reading: blanks, tabs and line feeds skipped anywhere, a decimal
// number or "&H" hexadecimal or "&O" octal, up to the first foreign character; no number reads 0.
// Hexadecimal and octal values that fit in 16 bits are signed 16-bit numbers. The result is rounded
// half to even; a value beyond 32 signed bits gives 0.
int32_t ReadNumber(std::string_view text);

// A system colour (top bit set) as the platform currently shows it; anything else unchanged.
Colour TranslateColour(Colour colour);

// The three channels of a gradient vertex: each byte c of the translated colour as c * 256,
// kept as a signed 16-bit bit pattern (255 gives 0xFF00).
struct GradientChannels {
  int16_t red;
  int16_t green;
  int16_t blue;
};
GradientChannels SplitGradientChannels(Colour colour);

}  // namespace lumora::ColourNames
