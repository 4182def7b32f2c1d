// One text item of the document: plain data. Its width and height are not stored; they follow
// from the caption and the font through an ITextMeasurer. The shadow's position is not stored
// either: it follows from the text's position and, unless the item sets its own offset, its font
// size (the shadow rule).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/Colour.h"

namespace lumora {

// How the lines of a multi-line caption align against each other (the stored numbers).
enum class TextAlignment : int16_t { Left = 0, Right = 1, Centre = 2 };

// Where an outline lies against the glyph's edge (the stored numbers).
enum class OutlinePlacement : int16_t { Outside = 0, Centred = 1 };

struct TextItem {
  // Bounds every value a file or a command can give, so no renderer allocates without limit.
  static constexpr float kMaxPosition = 16777216.0f;  // 2^24 twips either way
  static constexpr float kMinFontSize = 1.0f;
  static constexpr float kMaxFontSize = 1638.0f;
  static constexpr int kMinOutlineWidth = 1, kMaxOutlineWidth = 20;       // pixels
  static constexpr int kMaxShadowOffset = 100;                            // pixels either way
  static constexpr int kMaxShadowBlur = 20;                               // pixels
  static constexpr int kMinLetterSpacing = -50, kMaxLetterSpacing = 200;  // percent
  static constexpr int kMinLineHeight = 25, kMaxLineHeight = 400;         // percent
  static constexpr int kMaxBox = 16777216;                                // twips
  static constexpr int kMaxArc = 360;                                     // degrees either way

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
  // The effects after the classic properties; at these defaults an item draws and saves as before.
  bool Outline = false;
  Colour OutlineColor = 0;
  int OutlineWidth = 2;  // pixels
  OutlinePlacement OutlineAt = OutlinePlacement::Outside;
  std::optional<int> ShadowOffset;  // pixels right and down; none: the shadow rule
  int ShadowBlur = 0;               // pixels of softness; 0 a hard shadow
  int LetterSpacing = 0;            // percent of the font's pixel size, added after each character
  int LineHeight = 100;             // percent of the font's own line height
  int BoxWidth = 0;                 // twips; the caption wraps at words within it; 0: no box
  int BoxHeight = 0;                // twips; with a width, how tall the text may grow; 0: any height
  bool FitToBox = false;            // the size shrinks, down to MinFontSize, until the text fits the box
  float MinFontSize = 6;            // points
  int Arc = 0;                      // degrees the widest line bends through; positive bulges up; 0 straight

  // The shadow's place: ShadowOffset, or by the shadow rule k pixels right and down by font size;
  // rounded to whole twips (half to even).
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

// The effect values within TextItem's bounds; an unknown placement becomes Outside.
void ClampEffects(TextItem& item);
// A whole number within [low, high]; NaN becomes low.
int ClampWhole(double value, int low, int high);

// Every line break ("\n", "\r" or "\r\n") as "\r\n": the one form painters and the file writer know.
std::string WithCrLfLineBreaks(std::string_view text);

// Every line break (CR, LF or CRLF) in the text as `lineBreak`.
std::string ReplaceLineBreaks(std::string_view text, std::string_view lineBreak);

}  // namespace lumora
