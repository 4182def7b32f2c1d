// Writes a file so that a failure never destroys a good one: a temporary file in the target's
// folder is written and then renamed over the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace lumora {

class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();  // an uncommitted file is removed

  bool open(const std::filesystem::path& target);
  bool write(std::span<const uint8_t> bytes);
  bool write(const void* data, size_t size);
  // Closes the temporary file and renames it over the target; false leaves the target untouched.
  bool commit();
  void abort();

  const std::string& error() const { return m_error; }

 private:
  bool fail(const std::string& what);

  std::filesystem::path m_target;
  std::string m_tempPath;
  int m_fd = -1;
  std::string m_error;
};

// The whole buffer in one go; false (with a reason in *error when given) leaves the target as it was.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                         std::string* error = nullptr);

}  // namespace lumora
