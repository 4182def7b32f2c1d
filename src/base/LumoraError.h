// The one exception type of the system: an error number and its description, as users see them.
#pragma once

#include <stdexcept>
#include <string>

namespace lumora {

// Error numbers the system reports; codec and dialog numbers are fixed by their users.
namespace ErrorNumber {
inline constexpr int kJpeg = 1;                 // "Bad Huffman Table" and the other encoder texts
inline constexpr int kInvalidCall = 5;          // "Invalid procedure call or argument"
inline constexpr int kOverflow = 6;             // "Overflow"
inline constexpr int kOutOfMemory = 7;          // "Out of memory"
inline constexpr int kSubscript = 9;            // "Subscript out of range"
inline constexpr int kDivisionByZero = 11;      // "Division by zero"
inline constexpr int kFileNotFound = 53;        // "File not found"
inline constexpr int kPathFileAccess = 75;      // "Path/File access error"
inline constexpr int kInternal = 51;            // anything unexpected
inline constexpr int kCancel = 32755;           // "User selected cancel."
}  // namespace ErrorNumber

class LumoraError : public std::runtime_error {
 public:
  LumoraError(int number, const std::string& description, std::string source = {});

  int number() const noexcept { return m_number; }
  const std::string& description() const noexcept { return m_description; }
  const std::string& source() const noexcept { return m_source; }

  static LumoraError overflow();
  static LumoraError subscriptOutOfRange();
  static LumoraError divisionByZero();

 private:
  int m_number;
  std::string m_description;
  std::string m_source;
};

}  // namespace lumora
