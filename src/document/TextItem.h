// One text item of the document: plain data. Its width and height are not stored; they follow
// from the caption and the font through an ITextMeasurer. The shadow's position is not stored
// either: it always follows from the text's position and font size (the shadow rule).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/Colour.h"

namespace lumora {

// How the lines of a multi-line caption align against each other (the stored numbers).
enum class TextAlignment : int16_t { Left = 0, Right = 1, Centre = 2 };

struct TextItem {
  // Bounds every value a file or a command can give, so no renderer allocates without limit.
  static constexpr float kMaxPosition = 16777216.0f;  // 2^24 twips either way
  static constexpr float kMinFontSize = 1.0f;
  static constexpr float kMaxFontSize = 1638.0f;

  int Index = 0;  // identity for the item's whole life; 0 only for the hidden template item
  std::string Caption;  // UTF-8; lines separated by "\r\n"
  float Left = 0;       // twips, relative to the picture's top-left corner
  float Top = 0;
  TextAlignment Alignment = TextAlignment::Left;
  std::string FontName;
  float FontSize = 12;  // points
  bool FontBold = false;
  bool FontItalic = false;
  bool FontUnderline = false;
  bool FontStrikethru = false;
  Colour ForeColor = 0;
  bool Shadow = false;  // whether the shadow is shown
  Colour ShadowColor = 0;
  bool Visible = false;  // an item read from a file stays hidden until its closing line

  // Shadow rule: k pixels right and down by font size, rounded to whole twips (half to even).
  float ShadowLeft() const;
  float ShadowTop() const;

  bool operator==(const TextItem&) const = default;
};

// The shadow's offset in pixels for a font size in points.
int ShadowOffsetPixels(float fontSize);

// Out-of-range values come back inside the bounds; NaN and infinities become 0 (a size of 0 then
// becomes the smallest size).
float ClampPosition(double twips);
float ClampFontSize(double points);

// Every line break ("\n", "\r" or "\r\n") as "\r\n": the one form painters and the file writer know.
std::string WithCrLfLineBreaks(std::string_view text);

}  // namespace lumora
