// Output names for batch renders: "{row}" becomes the row's number (from 1) and "{COLUMN}" the
// row's value in that CSV column. Expanded values cannot leave the pattern's folder: separators
// and control characters in them become "_", and a value of "." or ".." becomes "_".
#pragma once

#include <string>
#include <vector>

namespace lumora::cli {

class CsvTable;

class OutputPattern {
 public:
  // False with a reason in error() for an unclosed "{" or a name that is neither "row" nor a
  // column of the table.
  bool Parse(const std::string& pattern, const CsvTable& table);
  std::string Expand(size_t row, const std::vector<std::string>& fields) const;
  const std::string& error() const { return m_error; }

 private:
  struct Piece {
    std::string text;  // literal text, when column < -1
    int column = -2;   // -1: the row number; >= 0: a CSV column
  };
  std::vector<Piece> m_pieces;
  std::string m_error;
};

}  // namespace lumora::cli
