#include "project/ProjectFileReader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "base/Rounding.h"
#include "project/TextEncoding.h"

namespace lumora {
namespace {

constexpr std::string_view kHeader = "<ZEB Image File>";
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr int kMaxTemplateLines = 8;  // a file has one

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// The next line, ending at CRLF, CR or LF; advances pos past the line end.
std::string_view nextLine(std::string_view text, size_t& pos) {
  const size_t start = pos;
  const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
  pos = end;
  if (pos < text.size() && text[pos] == '\r') ++pos;
  if (pos < text.size() && text[pos] == '\n' && (pos == end || text[end] == '\r')) ++pos;
  return text.substr(start, end - start);
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(text.size());
  for (size_t pos = 0;;) {
    const size_t hit = text.find(from, pos);
    out.append(text.substr(pos, hit == std::string_view::npos ? std::string_view::npos : hit - pos));
    if (hit == std::string_view::npos) return out;
    out += to;
    pos = hit + from.size();
  }
}

// Colours are 32-bit: values written unsigned wrap to the same colour; anything else reads as 0.
Colour readColour(std::string_view value) {
  const double v = RoundHalfEven(ReadNumber(value));
  if (!(v >= -2147483648.0 && v < 4294967296.0)) return 0;
  return static_cast<Colour>(static_cast<uint32_t>(static_cast<int64_t>(v)));
}

TextAlignment readAlignment(std::string_view value) {
  const double v = RoundHalfEven(ReadNumber(value));
  if (v == 1) return TextAlignment::Right;
  if (v == 2) return TextAlignment::Centre;
  return TextAlignment::Left;
}

OutlinePlacement readPlacement(std::string_view value) {
  return RoundHalfEven(ReadNumber(value)) == 1 ? OutlinePlacement::Centred : OutlinePlacement::Outside;
}

// A blank offset gives the shadow rule back.
std::optional<int> readOffset(std::string_view value) {
  if (trimBlanks(value).empty()) return std::nullopt;
  return ClampWhole(ReadNumber(value), -TextItem::kMaxShadowOffset, TextItem::kMaxShadowOffset);
}

// One open in progress: the document, the item being read and what went wrong so far.
class Reader {
 public:
  Reader(Document& document, const ProjectReadCallbacks& callbacks, bool utf8)
      : m_document(document), m_callbacks(callbacks), m_utf8(utf8) {}

  void readLine(std::string_view raw, size_t lineNumber);
  void finish(bool ended);
  std::vector<std::string> takeProblems() { return std::move(m_problems); }

 private:
  std::string textValue(std::string_view raw, size_t lineNumber);
  void startItem(size_t lineNumber);
  void closeItem();
  void checkClosed();
  void problem(std::string text);

  Document& m_document;
  const ProjectReadCallbacks& m_callbacks;
  bool m_utf8;
  int m_current = 0;  // index of the item the property lines act on; 0 for none
  bool m_currentClosed = true;
  bool m_pendingShadow = false;
  bool m_fullReported = false;
  int m_templateLines = 0;
  size_t m_problemCount = 0;
  std::vector<std::string> m_problems;
};

void Reader::problem(std::string text) {
  if (m_problemCount < kMaxProblems) m_problems.push_back(std::move(text));
  else if (m_problemCount == kMaxProblems) m_problems.push_back("Further problems are not listed.");
  ++m_problemCount;
}

std::string Reader::textValue(std::string_view raw, size_t lineNumber) {
  if (raw.size() > kMaxTextValueBytes) {
    raw = m_utf8 ? TextEncoding::TruncateUtf8(raw, kMaxTextValueBytes) : raw.substr(0, kMaxTextValueBytes);
    problem("Line " + std::to_string(lineNumber) + ": the value is cut to " + std::to_string(raw.size()) + " bytes.");
  }
  return m_utf8 ? std::string(raw) : TextEncoding::Windows1252ToUtf8(raw);
}

void Reader::checkClosed() {
  if (m_current != 0 && !m_currentClosed)
    problem("Text item " + std::to_string(m_document.PositionOf(m_current)) +
            " has no closing line; it stays hidden.");
}

void Reader::startItem(size_t lineNumber) {
  checkClosed();
  m_pendingShadow = false;
  m_current = m_document.CreateItem(false);  // shown by its closing line
  m_currentClosed = m_current == 0;
  if (m_current == 0 && !m_fullReported) {
    m_fullReported = true;
    problem("Line " + std::to_string(lineNumber) + ": more than " + std::to_string(Document::kMaxItems) +
            " text items; the rest are ignored.");
  }
}

void Reader::closeItem() {
  if (m_current == 0) return;
  m_document.EditItem(m_current, [&](TextItem& t) {
    t.Visible = true;
    t.Shadow = m_pendingShadow;
  });
  m_currentClosed = true;
}

void Reader::readLine(std::string_view raw, size_t lineNumber) {
  std::string withoutNul;
  if (raw.find('\0') != std::string_view::npos) {
    problem("Line " + std::to_string(lineNumber) + ": NUL bytes are ignored.");
    for (const char c : raw)
      if (c != '\0') withoutNul += c;
    raw = withoutNul;
  }
  const std::string_view line = trimBlanks(raw);
  const std::string_view tag = GetTag(line);
  const std::string_view value = StripTags(line);
  if (tag == "TextItem") {
    startItem(lineNumber);
  } else if (tag == "/TextItem") {
    closeItem();
  } else if (tag == "Template") {
    // Each loads a picture: a file of endless Template lines must not keep the loader busy.
    if (++m_templateLines > kMaxTemplateLines) {
      if (m_templateLines == kMaxTemplateLines + 1)
        problem("Line " + std::to_string(lineNumber) + ": further Template lines are ignored.");
      return;
    }
    std::string name = textValue(value, lineNumber);
    m_document.SetTemplateName(name);
    if (m_callbacks.LoadTemplate && !m_callbacks.LoadTemplate(name))
      problem("The template \"" + name + "\" could not be loaded.");
  } else if (tag == "Shadow") {
    if (m_current != 0) m_pendingShadow = value == "True";
  } else if (m_current != 0) {
    const bool isText = tag == "Caption" || tag == "FontName";
    const std::string decoded = isText ? textValue(value, lineNumber) : std::string(value);
    m_document.EditItem(m_current, [&](TextItem& t) { SetItemProperty(t, tag, decoded); });
  }
}

void Reader::finish(bool ended) {
  checkClosed();
  if (!ended) problem("The file ends without \"</ZEB Image File>\".");
}

}  // namespace

std::string_view GetTag(std::string_view line) {
  const size_t open = line.find('<');
  if (open == std::string_view::npos) return {};
  const size_t close = line.find('>', open + 1);
  if (close == std::string_view::npos) return {};
  return line.substr(open + 1, close - open - 1);
}

std::string_view StripTags(std::string_view line) {
  const size_t close = line.find('>');
  if (close == std::string_view::npos) return {};
  // The closing tag is the line's last "<", so a caption may hold "<" itself.
  const size_t open = line.rfind('<');
  if (open == std::string_view::npos || open <= close) return {};
  return line.substr(close + 1, open - close - 1);
}

double ReadNumber(std::string_view value) {
  constexpr size_t kMaxDigits = 40;  // more significant digits than a double holds
  size_t i = 0;
  while (i < value.size() && (value[i] == ' ' || value[i] == '\t')) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  std::string mantissa;
  long long exponent = 0;  // the number is mantissa x 10^exponent
  bool anyDigit = false, point = false;
  for (; i < value.size(); ++i) {
    const char c = value[i];
    if (c == ' ' || c == '\t') continue;
    if (c == '.' && !point) {
      point = true;
      continue;
    }
    if (c < '0' || c > '9') break;
    anyDigit = true;
    if (mantissa.empty() && c == '0') {
      if (point) --exponent;
    } else if (mantissa.size() < kMaxDigits) {
      mantissa += c;
      if (point) --exponent;
    } else if (!point) {
      ++exponent;
    }
  }
  if (!anyDigit || mantissa.empty()) return 0;
  // Beyond what any field can hold either way: keep it finite so clamps apply.
  const long long magnitude = exponent + static_cast<long long>(mantissa.size());
  if (magnitude > 300) return negative ? -1e300 : 1e300;
  if (magnitude < -300) return 0;
  mantissa += 'e' + std::to_string(exponent);
  double result = 0;
  std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), result);
  return negative ? -result : result;
}

bool SetItemProperty(TextItem& item, std::string_view tag, std::string_view value) {
  const auto flag = [&] { return value == "True"; };
  const auto whole = [&](int low, int high) { return ClampWhole(ReadNumber(value), low, high); };
  if (tag == "Left") item.Left = ClampPosition(ReadNumber(value));
  else if (tag == "Top") item.Top = ClampPosition(ReadNumber(value));
  else if (tag == "Alignment") item.Alignment = readAlignment(value);
  else if (tag == "Caption") item.Caption = replaceAll(value, "[/nl]", "\r\n");
  else if (tag == "FontName") item.FontName = std::string(value);
  else if (tag == "FontBold") item.FontBold = flag();
  else if (tag == "FontItalic") item.FontItalic = flag();
  else if (tag == "FontSize") item.FontSize = ClampFontSize(ReadNumber(value));
  else if (tag == "FontUnderline") item.FontUnderline = flag();
  else if (tag == "FontStrikethru") item.FontStrikethru = flag();
  else if (tag == "ForeColor") item.ForeColor = readColour(value);
  else if (tag == "Shadow") item.Shadow = flag();
  else if (tag == "ShadowColor") item.ShadowColor = readColour(value);
  else if (tag == "Outline") item.Outline = flag();
  else if (tag == "OutlineColor") item.OutlineColor = readColour(value);
  else if (tag == "OutlineWidth") item.OutlineWidth = whole(TextItem::kMinOutlineWidth, TextItem::kMaxOutlineWidth);
  else if (tag == "OutlinePlacement") item.OutlineAt = readPlacement(value);
  else if (tag == "ShadowOffset") item.ShadowOffset = readOffset(value);
  else if (tag == "ShadowBlur") item.ShadowBlur = whole(0, TextItem::kMaxShadowBlur);
  else if (tag == "LetterSpacing") item.LetterSpacing = whole(TextItem::kMinLetterSpacing, TextItem::kMaxLetterSpacing);
  else if (tag == "LineHeight") item.LineHeight = whole(TextItem::kMinLineHeight, TextItem::kMaxLineHeight);
  else if (tag == "BoxWidth") item.BoxWidth = whole(0, TextItem::kMaxBox);
  else if (tag == "BoxHeight") item.BoxHeight = whole(0, TextItem::kMaxBox);
  else if (tag == "FitToBox") item.FitToBox = flag();
  else if (tag == "MinFontSize") item.MinFontSize = ClampFontSize(ReadNumber(value));
  else if (tag == "Arc") item.Arc = whole(-TextItem::kMaxArc, TextItem::kMaxArc);
  else return false;
  return true;
}

ProjectReadResult ReadProjectText(std::string_view bytes, Document& document, const ProjectReadCallbacks& callbacks) {
  ProjectReadResult result;
  // A byte order mark is skipped; the bytes themselves decide the encoding.
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  size_t pos = 0;
  if (nextLine(bytes, pos) != kHeader) {
    result.Error = "This is not a ZEB Lumora project file.";
    return result;
  }
  document.UnloadAllTextLabels();
  Reader reader(document, callbacks, TextEncoding::LooksLikeUtf8(bytes));
  bool ended = false;
  for (size_t lineNumber = 2; pos < bytes.size() && !ended; ++lineNumber) {
    const std::string_view line = nextLine(bytes, pos);
    if (GetTag(trimBlanks(line)) == "/ZEB Image File") ended = true;
    else reader.readLine(line, lineNumber);
  }
  reader.finish(ended);
  document.SetDocumentOpen();
  document.SetChanged(false);
  result.Ok = true;
  result.Problems = reader.takeProblems();
  return result;
}

ProjectReadResult OpenProjectFile(const std::filesystem::path& path, Document& document,
                                  const ProjectReadCallbacks& callbacks) {
  ProjectReadResult result;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    result.Error = "The file " + path.string() + " cannot be opened.";
    return result;
  }
  const auto size = std::filesystem::file_size(path, ec);
  if (ec || size > kMaxProjectFileBytes) {
    result.Error = ec ? "The file " + path.string() + " cannot be read." : "The file " + path.string() + " is too large.";
    return result;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<size_t>(size), '\0');
  if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())) && !in.eof()) {
    result.Error = "The file " + path.string() + " cannot be read.";
    return result;
  }
  bytes.resize(static_cast<size_t>(in.gcount()));
  result = ReadProjectText(bytes, document, callbacks);
  if (result.Ok) document.SetProjectPath(path.string());
  return result;
}

}  // namespace lumora
