#include "colour/ColourNames.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/Rounding.h"
#include "base/SystemColors.h"

namespace lumora::ColourNames {
namespace {

constexpr Colour rgb(int r, int g, int b) { return RGBColour(r, g, b); }
constexpr Colour sys(int index) { return static_cast<Colour>(0x80000000u | static_cast<uint32_t>(index)); }

// HTML keywords with their CSS Color Module Level 3 values, then the system colours.
constexpr std::array<NamedColour, 169> kTable = {{
    {"aliceblue", rgb(240, 248, 255)}, {"antiquewhite", rgb(250, 235, 215)}, {"aqua", rgb(0, 255, 255)},
    {"aquamarine", rgb(127, 255, 212)}, {"azure", rgb(240, 255, 255)}, {"beige", rgb(245, 245, 220)},
    {"bisque", rgb(255, 228, 196)}, {"black", rgb(0, 0, 0)}, {"blanchedalmond", rgb(255, 235, 205)},
    {"blue", rgb(0, 0, 255)}, {"blueviolet", rgb(138, 43, 226)}, {"brown", rgb(165, 42, 42)},
    {"burlywood", rgb(222, 184, 135)}, {"cadetblue", rgb(95, 158, 160)}, {"chartreuse", rgb(127, 255, 0)},
    {"chocolate", rgb(210, 105, 30)}, {"coral", rgb(255, 127, 80)}, {"cornflowerblue", rgb(100, 149, 237)},
    {"cornsilk", rgb(255, 248, 220)}, {"crimson", rgb(220, 20, 60)}, {"cyan", rgb(0, 255, 255)},
    {"darkblue", rgb(0, 0, 139)}, {"darkcyan", rgb(0, 139, 139)}, {"darkgoldenrod", rgb(184, 134, 11)},
    {"darkgray", rgb(169, 169, 169)}, {"darkgreen", rgb(0, 100, 0)}, {"darkkhaki", rgb(189, 183, 107)},
    {"darkmagenta", rgb(139, 0, 139)}, {"darkolivegreen", rgb(85, 107, 47)}, {"darkorange", rgb(255, 140, 0)},
    {"darkorchid", rgb(153, 50, 204)}, {"darkred", rgb(139, 0, 0)}, {"darksalmon", rgb(233, 150, 122)},
    {"darkseagreen", rgb(143, 188, 143)}, {"darkslateblue", rgb(72, 61, 139)}, {"darkslategray", rgb(47, 79, 79)},
    {"darkturquoise", rgb(0, 206, 209)}, {"darkviolet", rgb(148, 0, 211)}, {"deeppink", rgb(255, 20, 147)},
    {"deepskyblue", rgb(0, 191, 255)}, {"dimgray", rgb(105, 105, 105)}, {"dodgerblue", rgb(30, 144, 255)},
    {"firebrick", rgb(178, 34, 34)}, {"floralwhite", rgb(255, 250, 240)}, {"forestgreen", rgb(34, 139, 34)},
    {"fuchsia", rgb(255, 0, 255)}, {"gainsboro", rgb(220, 220, 220)}, {"ghostwhite", rgb(248, 248, 255)},
    {"gold", rgb(255, 215, 0)}, {"goldenrod", rgb(218, 165, 32)}, {"gray", rgb(128, 128, 128)},
    {"green", rgb(0, 128, 0)}, {"greenyellow", rgb(173, 255, 47)}, {"honeydew", rgb(240, 255, 240)},
    {"hotpink", rgb(255, 105, 180)}, {"indianred", rgb(205, 92, 92)}, {"indigo", rgb(75, 0, 130)},
    {"ivory", rgb(255, 255, 240)}, {"khaki", rgb(240, 230, 140)}, {"lavender", rgb(230, 230, 250)},
    {"lavenderblush", rgb(255, 240, 245)}, {"lawngreen", rgb(124, 252, 0)}, {"lemonchiffon", rgb(255, 250, 205)},
    {"lightblue", rgb(173, 216, 230)}, {"lightcoral", rgb(240, 128, 128)}, {"lightcyan", rgb(224, 255, 255)},
    {"lightgoldenrodyellow", rgb(250, 250, 210)}, {"lightgreen", rgb(144, 238, 144)},
    {"lightgrey", rgb(211, 211, 211)}, {"lightpink", rgb(255, 182, 193)}, {"lightsalmon", rgb(255, 160, 122)},
    {"lightseagreen", rgb(32, 178, 170)}, {"lightskyblue", rgb(135, 206, 250)},
    {"lightslategray", rgb(119, 136, 153)}, {"lightsteelblue", rgb(176, 196, 222)},
    {"lightyellow", rgb(255, 255, 224)}, {"lime", rgb(0, 255, 0)}, {"limegreen", rgb(50, 205, 50)},
    {"linen", rgb(250, 240, 230)}, {"magenta", rgb(255, 0, 255)}, {"maroon", rgb(128, 0, 0)},
    {"mediumaquamarine", rgb(102, 205, 170)}, {"mediumblue", rgb(0, 0, 205)}, {"mediumorchid", rgb(186, 85, 211)},
    {"mediumpurple", rgb(147, 112, 219)}, {"mediumseagreen", rgb(60, 179, 113)},
    {"mediumslateblue", rgb(123, 104, 238)}, {"mediumspringgreen", rgb(0, 250, 154)},
    {"mediumturquoise", rgb(72, 209, 204)}, {"mediumvioletred", rgb(199, 21, 133)},
    {"midnightblue", rgb(25, 25, 112)}, {"mintcream", rgb(245, 255, 250)}, {"mistyrose", rgb(255, 228, 225)},
    {"moccasin", rgb(255, 228, 181)}, {"navajowhite", rgb(255, 222, 173)}, {"navy", rgb(0, 0, 128)},
    {"oldlace", rgb(253, 245, 230)}, {"olive", rgb(128, 128, 0)}, {"olivedrab", rgb(107, 142, 35)},
    {"orange", rgb(255, 165, 0)}, {"orangered", rgb(255, 69, 0)}, {"orchid", rgb(218, 112, 214)},
    {"palegoldenrod", rgb(238, 232, 170)}, {"palegreen", rgb(152, 251, 152)}, {"paleturquoise", rgb(175, 238, 238)},
    {"palevioletred", rgb(219, 112, 147)}, {"papayawhip", rgb(255, 239, 213)}, {"peachpuff", rgb(255, 218, 185)},
    {"peru", rgb(205, 133, 63)}, {"pink", rgb(255, 192, 203)}, {"plum", rgb(221, 160, 221)},
    {"powderblue", rgb(176, 224, 230)}, {"purple", rgb(128, 0, 128)}, {"red", rgb(255, 0, 0)},
    {"rosybrown", rgb(188, 143, 143)}, {"royalblue", rgb(65, 105, 225)}, {"saddlebrown", rgb(139, 69, 19)},
    {"salmon", rgb(250, 128, 114)}, {"sandybrown", rgb(244, 164, 96)}, {"seagreen", rgb(46, 139, 87)},
    {"seashell", rgb(255, 245, 238)}, {"sienna", rgb(160, 82, 45)}, {"silver", rgb(192, 192, 192)},
    {"skyblue", rgb(135, 206, 235)}, {"slateblue", rgb(106, 90, 205)}, {"slategray", rgb(112, 128, 144)},
    {"snow", rgb(255, 250, 250)}, {"springgreen", rgb(0, 255, 127)}, {"steelblue", rgb(70, 130, 180)},
    {"tan", rgb(210, 180, 140)}, {"teal", rgb(0, 128, 128)}, {"thistle", rgb(216, 191, 216)},
    {"tomato", rgb(255, 99, 71)}, {"turquoise", rgb(64, 224, 208)}, {"violet", rgb(238, 130, 238)},
    {"wheat", rgb(245, 222, 179)}, {"white", rgb(255, 255, 255)}, {"whitesmoke", rgb(245, 245, 245)},
    {"yellow", rgb(255, 255, 0)}, {"yellowgreen", rgb(154, 205, 50)},
    {"vbwindowtext", sys(0x08)}, {"vbwindowframe", sys(0x06)}, {"vbwindowbackground", sys(0x05)},
    {"vbtitlebartext", sys(0x09)}, {"vbscrollbars", sys(0x00)}, {"vbmenutext", sys(0x07)},
    {"vbmenubar", sys(0x04)}, {"vbinfotext", sys(0x17)}, {"vbinfobackground", sys(0x18)},
    {"vbinactivetitlebartext", sys(0x13)}, {"vbinactivetitlebar", sys(0x03)},
    {"vbinactivecaptiontext", sys(0x13)}, {"vbinactiveborder", sys(0x0B)}, {"vbhighlighttext", sys(0x0E)},
    {"vbhighlight", sys(0x0D)}, {"vbgraytext", sys(0x11)}, {"vbdesktop", sys(0x01)}, {"vbbuttontext", sys(0x12)},
    {"vbbuttonshadow", sys(0x10)}, {"vbbuttonface", sys(0x0F)}, {"vbapplicationworkspace", sys(0x0C)},
    {"vbactivetitlebartext", sys(0x09)}, {"vbactivetitlebar", sys(0x02)}, {"vbactiveborder", sys(0x0A)},
    {"vb3dshadow", sys(0x10)}, {"vb3dlight", sys(0x16)}, {"vb3dhighlight", sys(0x14)}, {"vb3dface", sys(0x0F)},
    {"vb3ddkshadow", sys(0x15)},
}};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Digits in the given base from the front of text; nothing when the value passes 32 bits.
std::optional<int32_t> readRadix(std::string_view digits, int base) {
  uint64_t value = 0;
  for (char c : digits) {
    int d = -1;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (lower(c) >= 'a' && lower(c) <= 'f') d = lower(c) - 'a' + 10;
    if (d < 0 || d >= base) break;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    if (value > 0xFFFFFFFFull) return std::nullopt;
  }
  // The 16-bit sign rule: a value that fits in 16 bits is a signed 16-bit number.
  if (value <= 0xFFFF) return static_cast<int16_t>(static_cast<uint16_t>(value));
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// A decimal number (sign, digits, point, exponent with E or D) from the front of text, in a form
// that from_chars reads; empty when the text does not start with a number.
std::string decimalLiteral(std::string_view text) {
  std::string out;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') out += '-';
    ++i;
  }
  size_t mantissaDigits = 0;
  auto digitsInto = [&](size_t& count) {
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
      out += text[i++];
      ++count;
    }
  };
  digitsInto(mantissaDigits);
  if (i < text.size() && text[i] == '.') {
    out += text[i++];
    digitsInto(mantissaDigits);
  }
  if (mantissaDigits == 0) return {};
  if (i < text.size() && (lower(text[i]) == 'e' || lower(text[i]) == 'd')) {
    std::string exponent = "e";
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
    size_t expDigits = 0;
    while (j < text.size() && text[j] >= '0' && text[j] <= '9') {
      exponent += text[j++];
      ++expDigits;
    }
    if (expDigits > 0) out += exponent;
  }
  return out;
}

}  // namespace

std::span<const NamedColour> Table() { return kTable; }

int32_t ReadNumber(std::string_view text) {
  std::string packed;
  packed.reserve(text.size());
  for (char c : text)
    if (!isBlank(c)) packed += c;
  const std::string_view s = packed;
  if (s.size() >= 2 && s[0] == '&' && (lower(s[1]) == 'h' || lower(s[1]) == 'o')) {
    return readRadix(s.substr(2), lower(s[1]) == 'h' ? 16 : 8).value_or(0);
  }
  const std::string literal = decimalLiteral(s);
  if (literal.empty()) return 0;
  double value = 0;
  const auto [end, error] = std::from_chars(literal.data(), literal.data() + literal.size(), value);
  if (error != std::errc()) return 0;
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max())) return 0;
  return static_cast<int32_t>(rounded);
}

Colour ColourFromName(std::string_view text) {
  std::string key(text);
  for (char& c : key) c = lower(c);
  for (const NamedColour& row : kTable)
    if (row.name == key) return row.value;
  return ReadNumber(text);
}

Colour TranslateColour(Colour colour) {
  if (!IsSystemColour(colour)) return colour;
  return static_cast<Colour>(SystemColors::Get(static_cast<int>(static_cast<uint32_t>(colour) & 0x7FFFFFFFu)));
}

GradientChannels SplitGradientChannels(Colour colour) {
  const auto rgbValue = static_cast<uint32_t>(TranslateColour(colour));
  auto channel = [](uint8_t byte) { return static_cast<int16_t>(static_cast<uint16_t>(byte << 8)); };
  return {channel(RedOf(rgbValue)), channel(GreenOf(rgbValue)), channel(BlueOf(rgbValue))};
}

}  // namespace lumora::ColourNames
