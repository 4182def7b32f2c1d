// A CSV file as rows of fields (RFC 4180: commas, double quotes around fields that hold commas,
// quotes or line breaks, "" for a quote inside; CRLF or LF line ends; a UTF-8 byte-order mark is
// skipped). The first row names the columns. A broken file (an unclosed quote, a stray quote) is
// refused with the line it breaks on. Bounded: a hostile file gets an error, not unbounded memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace lumora::cli {

class CsvTable {
 public:
  static constexpr size_t kMaxBytes = 64u << 20;
  static constexpr size_t kMaxRows = 1000000;

  // False with a reason in error() ("line N: ..." where the file breaks); the table is then empty.
  bool Parse(std::string_view text);
  bool Load(const std::filesystem::path& path);

  const std::vector<std::string>& Header() const { return m_header; }
  // Data rows, each as long as the header (short rows are padded with empty fields).
  const std::vector<std::vector<std::string>>& Rows() const { return m_rows; }
  // The column's position, or -1.
  int Column(std::string_view name) const;
  const std::string& error() const { return m_error; }

 private:
  bool fail(std::string why);

  std::vector<std::string> m_header;
  std::vector<std::vector<std::string>> m_rows;
  std::string m_error;
};

}  // namespace lumora::cli
