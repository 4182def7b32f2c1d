#include "cli/projects/OutputPattern.h"

#include "cli/projects/CsvTable.h"

namespace lumora::cli {

namespace {
constexpr int kLiteral = -2;
constexpr int kRowNumber = -1;

std::string SafeForFileName(const std::string& value) {
  if (value == "." || value == "..") return "_";
  std::string safe = value;
  for (char& c : safe)
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '_';
  return safe;
}
}  // namespace

bool OutputPattern::Parse(const std::string& pattern, const CsvTable& table) {
  m_pieces.clear();
  m_error.clear();
  size_t pos = 0;
  while (pos < pattern.size()) {
    const size_t open = pattern.find('{', pos);
    if (open == std::string::npos) {
      m_pieces.push_back({pattern.substr(pos), kLiteral});
      break;
    }
    if (open > pos) m_pieces.push_back({pattern.substr(pos, open - pos), kLiteral});
    const size_t close = pattern.find('}', open + 1);
    if (close == std::string::npos) {
      m_error = "the output name has a \"{\" without its \"}\"";
      return false;
    }
    const std::string name = pattern.substr(open + 1, close - open - 1);
    const int column = name == "row" ? kRowNumber : table.Column(name);
    if (column == -1 && name != "row") {
      m_error = "the output name uses {" + name + "}, which is neither {row} nor a column of the CSV file";
      return false;
    }
    m_pieces.push_back({{}, column});
    pos = close + 1;
  }
  return true;
}

std::string OutputPattern::Expand(size_t row, const std::vector<std::string>& fields) const {
  std::string name;
  for (const Piece& piece : m_pieces) {
    if (piece.column == kLiteral) name += piece.text;
    else if (piece.column == kRowNumber) name += std::to_string(row);
    else if (static_cast<size_t>(piece.column) < fields.size()) name += SafeForFileName(fields[piece.column]);
  }
  return name;
}

}  // namespace lumora::cli
