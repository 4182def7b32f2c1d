#include "cli/CsvTable.h"

#include <fstream>
#include <iterator>

namespace lumora::cli {

bool CsvTable::fail(std::string why) {
  m_header.clear();
  m_rows.clear();
  m_error = std::move(why);
  return false;
}

// One pass over the text: a field ends at a comma or a line end outside quotes.
bool CsvTable::Parse(std::string_view text) {
  m_header.clear();
  m_rows.clear();
  m_error.clear();
  if (text.size() > kMaxBytes) return fail("the CSV file is larger than 64 MB");
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> record;
  std::string field;
  bool quoted = false, fieldStarted = false;
  size_t line = 1;
  auto endField = [&] {
    record.push_back(std::move(field));
    field.clear();
    fieldStarted = false;
  };
  auto endRecord = [&] {
    endField();
    const bool blank = record.size() == 1 && record[0].empty();
    if (!blank) records.push_back(std::move(record));
    record.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c != '"') {
        line += c == '\n';
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        quoted = false;
      }
      continue;
    }
    if (c == '"' && !fieldStarted) {
      quoted = fieldStarted = true;
    } else if (c == ',') {
      endField();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      endRecord();
      ++line;
      if (records.size() > kMaxRows) return fail("the CSV file has more than a million rows");
    } else {
      field += c;
      fieldStarted = true;
    }
  }
  if (quoted) return fail("a quoted field opened before line " + std::to_string(line) + " is never closed");
  if (fieldStarted || !record.empty()) endRecord();
  if (records.empty()) return fail("the CSV file has no header row");
  m_header = std::move(records.front());
  for (size_t r = 1; r < records.size(); ++r) {
    if (records[r].size() > m_header.size())
      return fail("row " + std::to_string(r) + " has more fields than the header");
    records[r].resize(m_header.size());
    m_rows.push_back(std::move(records[r]));
  }
  return true;
}

bool CsvTable::Load(const std::filesystem::path& path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return fail("cannot read " + path.string());
  if (size > kMaxBytes) return fail("the CSV file is larger than 64 MB");
  std::ifstream in(path, std::ios::binary);
  if (!in) return fail("cannot read " + path.string());
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  return Parse(text);
}

int CsvTable::Column(std::string_view name) const {
  for (size_t i = 0; i < m_header.size(); ++i)
    if (m_header[i] == name) return static_cast<int>(i);
  return -1;
}

}  // namespace lumora::cli
