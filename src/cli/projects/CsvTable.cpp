#include "cli/projects/CsvTable.h"

#include <fstream>
#include <iterator>

namespace lumora::cli {

bool CsvTable::fail(std::string why) {
  m_header.clear();
  m_rows.clear();
  m_error = std::move(why);
  return false;
}

namespace {

std::string OnLine(size_t line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

}  // namespace

// One pass over the text: a field ends at a comma or a line end outside quotes. A quote may only
// open a field and, doubled, stand for itself inside one; anything else is a broken file.
bool CsvTable::Parse(std::string_view text) {
  m_header.clear();
  m_rows.clear();
  m_error.clear();
  if (text.size() > kMaxBytes) return fail("the CSV file is larger than 64 MB");
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  enum class State { FieldStart, Unquoted, Quoted, AfterQuote };
  std::vector<std::vector<std::string>> records;
  std::vector<size_t> recordLines;  // where each record starts
  std::vector<std::string> record;
  std::string field;
  State state = State::FieldStart;
  size_t line = 1, recordLine = 1, quoteLine = 1;
  auto endField = [&] {
    record.push_back(std::move(field));
    field.clear();
    state = State::FieldStart;
  };
  auto endRecord = [&] {
    endField();
    const bool blank = record.size() == 1 && record[0].empty();
    if (!blank) {
      records.push_back(std::move(record));
      recordLines.push_back(recordLine);
    }
    record.clear();
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const bool lineEnd = c == '\n' || c == '\r';
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n' && state != State::Quoted) ++i;
    if (state == State::Quoted) {
      if (c != '"') {
        line += c == '\n' || (c == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
        field += c;
      } else if (i + 1 < text.size() && text[i + 1] == '"') {
        field += '"';
        ++i;
      } else {
        state = State::AfterQuote;
      }
    } else if (c == ',') {
      endField();
    } else if (lineEnd) {
      endRecord();
      recordLine = ++line;
      if (records.size() > kMaxRows) return fail("the CSV file has more than a million rows");
    } else if (state == State::AfterQuote) {
      return fail(OnLine(line, "text follows a closing quote (a quote inside a quoted field is written twice)"));
    } else if (c == '"' && state == State::Unquoted) {
      return fail(OnLine(line, "a quote inside a field that does not start with one (quote the whole field "
                               "and write the quote twice)"));
    } else if (c == '"') {
      state = State::Quoted;
      quoteLine = line;
    } else {
      field += c;
      state = State::Unquoted;
    }
  }
  if (state == State::Quoted) return fail(OnLine(quoteLine, "a quoted field is never closed"));
  if (state != State::FieldStart || !record.empty()) endRecord();
  if (records.empty()) return fail("the CSV file has no header row");
  m_header = std::move(records.front());
  for (size_t r = 1; r < records.size(); ++r) {
    if (records[r].size() > m_header.size())
      return fail(OnLine(recordLines[r], "row " + std::to_string(r) + " has more fields than the header"));
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
