// Feeds arbitrary text to the colour-name lookup and the numeric-text reading. Reading must end
// with a value for any text, and blanks, tabs and line feeds must not change what a text reads.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "colour/ColourNames.h"

using namespace lumora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Colour named = ColourNames::ColourFromName(text);
  const int32_t number = ColourNames::ReadNumber(text);
  std::string packed;
  for (char c : text)
    if (c != ' ' && c != '\t' && c != '\n') packed += c;
  if (ColourNames::ReadNumber(packed) != number) std::abort();
  // A text that is no name reads as its number.
  bool isName = false;
  for (const auto& row : ColourNames::Table()) {
    std::string lower(text);
    for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    isName |= row.name == lower;
  }
  if (!isName && named != number) std::abort();
  const auto channels = ColourNames::SplitGradientChannels(named);
  if ((channels.red & 0xFF) || (channels.green & 0xFF) || (channels.blue & 0xFF)) std::abort();
  return 0;
}
