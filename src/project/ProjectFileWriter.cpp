#include "project/ProjectFileWriter.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "base/AtomicFile.h"
#include "document/TextItem.h"
#include "project/TextEncoding.h"

namespace lumora {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

std::string boolText(bool value) { return value ? "True" : "False"; }

// A caption's line breaks, in whatever form they arrive, become "[/nl]": a raw line break
// would end the property line and lose the rest.
std::string encodeCaption(std::string_view caption) { return ReplaceLineBreaks(caption, "[/nl]"); }

// Other text values hold no line breaks at all.
std::string singleLine(std::string_view text) {
  std::string out;
  for (const char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

void property(std::string& out, std::string_view tag, std::string_view value, std::string_view closing = {}) {
  out += "\t\t<";
  out += tag;
  out += '>';
  out += value;
  out += "</";
  out += closing.empty() ? tag : closing;
  out += '>';
  out += kLineEnd;
}

// Only values that differ from the defaults get a line, so a file without effects stays as older
// writers made it.
void writeEffects(std::string& out, const TextItem& item) {
  const TextItem plain;
  auto whole = [&](std::string_view tag, int value, int plainValue) {
    if (value != plainValue) property(out, tag, std::to_string(value));
  };
  if (item.Outline) property(out, "Outline", boolText(true));
  if (item.OutlineColor != plain.OutlineColor) property(out, "OutlineColor", std::to_string(item.OutlineColor));
  whole("OutlineWidth", item.OutlineWidth, plain.OutlineWidth);
  whole("OutlinePlacement", static_cast<int>(item.OutlineAt), static_cast<int>(plain.OutlineAt));
  if (item.ShadowOffset) property(out, "ShadowOffset", std::to_string(*item.ShadowOffset));
  whole("ShadowBlur", item.ShadowBlur, plain.ShadowBlur);
  whole("LetterSpacing", item.LetterSpacing, plain.LetterSpacing);
  whole("LineHeight", item.LineHeight, plain.LineHeight);
  whole("BoxWidth", item.BoxWidth, plain.BoxWidth);
  whole("BoxHeight", item.BoxHeight, plain.BoxHeight);
  if (item.FitToBox) property(out, "FitToBox", boolText(true));
  if (item.MinFontSize != plain.MinFontSize) property(out, "MinFontSize", FormatSingle(item.MinFontSize));
  whole("Arc", item.Arc, plain.Arc);
}

void writeItem(std::string& out, const TextItem& item) {
  out += "\t<TextItem>";
  out += kLineEnd;
  property(out, "Left", FormatSingle(item.Left));
  property(out, "Top", FormatSingle(item.Top));
  property(out, "Alignment", std::to_string(static_cast<int>(item.Alignment)));
  property(out, "Caption", encodeCaption(item.Caption));
  property(out, "FontName", singleLine(item.FontName));
  property(out, "FontBold", boolText(item.FontBold));
  property(out, "FontItalic", boolText(item.FontItalic));
  property(out, "FontSize", FormatSingle(item.FontSize));
  property(out, "FontUnderline", boolText(item.FontUnderline));
  property(out, "FontStrikethru", boolText(item.FontStrikethru));
  property(out, "ForeColor", std::to_string(item.ForeColor));
  property(out, "Shadow", boolText(item.Shadow));
  // Files in circulation close this line with the Shadow tag; readers ignore closing tags.
  property(out, "ShadowColor", std::to_string(item.ShadowColor), "Shadow");
  writeEffects(out, item);
  out += "\t</TextItem>";
  out += kLineEnd;
}

}  // namespace

std::string FormatSingle(float value) {
  if (!std::isfinite(value) || value == 0) return "0";
  // Seven significant digits of the exact binary value: "d.dddddde+XX".
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.6e", static_cast<double>(value));
  const std::string_view text(buffer);
  const bool negative = text.front() == '-';
  const size_t first = negative ? 1 : 0;
  std::string digits;
  digits += text[first];
  digits += text.substr(first + 2, 6);
  const int exponent = std::atoi(buffer + text.find('e') + 1);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string out = negative ? "-" : "";
  const int integerDigits = exponent + 1;
  if (integerDigits <= 0) {
    out += "0.";
    out.append(static_cast<size_t>(-integerDigits), '0');
    out += digits;
  } else if (static_cast<size_t>(integerDigits) >= digits.size()) {
    out += digits;
    out.append(static_cast<size_t>(integerDigits) - digits.size(), '0');
  } else {
    out += digits.substr(0, static_cast<size_t>(integerDigits));
    out += '.';
    out += digits.substr(static_cast<size_t>(integerDigits));
  }
  return out;
}

std::string WriteProjectText(const Document& document) {
  std::string text = "<ZEB Image File>";
  text += kLineEnd;
  text += "\t<Template>" + singleLine(document.TemplateName()) + "</Template>";
  text += kLineEnd;
  for (const TextItem& item : document.TextItems()) writeItem(text, item);
  text += "</ZEB Image File>";
  text += kLineEnd;

  text = TextEncoding::SanitizeUtf8(text);
  if (!TextEncoding::FitsWindows1252(text)) return text;
  // Single-byte text that happens to read as UTF-8 (such as "Ã©") stays UTF-8, so readers
  // cannot mistake it.
  std::string singleByte = TextEncoding::Utf8ToWindows1252(text);
  return TextEncoding::LooksLikeUtf8(singleByte) ? text : singleByte;
}

bool SaveProjectFile(const std::filesystem::path& path, const Document& document, std::string* error) {
  const std::string text = WriteProjectText(document);
  return WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

}  // namespace lumora
