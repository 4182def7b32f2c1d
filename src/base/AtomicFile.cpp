#include "base/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace lumora {

AtomicFileWriter::~AtomicFileWriter() { abort(); }

bool AtomicFileWriter::fail(const std::string& what) {
  m_error = what + ": " + std::strerror(errno);
  abort();
  return false;
}

bool AtomicFileWriter::open(const std::filesystem::path& target) {
  abort();
  m_error.clear();
  m_target = target;
  const auto folder = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
  std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  m_fd = ::mkstemp(buffer.data());
  if (m_fd < 0) return fail("cannot create a file in " + folder.string());
  m_tempPath = buffer.data();
  // mkstemp makes the file private; a saved file gets the usual permissions.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(m_fd, 0666 & ~mask);
  return true;
}

bool AtomicFileWriter::write(const void* data, size_t size) {
  if (m_fd < 0) {
    m_error = "file is not open";
    return false;
  }
  const auto* p = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::write(m_fd, p, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot write " + m_target.string());
    }
    p += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFileWriter::write(std::span<const uint8_t> bytes) { return write(bytes.data(), bytes.size()); }

bool AtomicFileWriter::commit() {
  if (m_fd < 0) {
    m_error = "file is not open";
    return false;
  }
  const int fd = m_fd;
  m_fd = -1;
  if (::close(fd) != 0) {
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    m_error = "cannot write " + m_target.string() + ": " + std::strerror(errno);
    return false;
  }
  if (::rename(m_tempPath.c_str(), m_target.c_str()) != 0) {
    m_error = "cannot replace " + m_target.string() + ": " + std::strerror(errno);
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    return false;
  }
  m_tempPath.clear();
  return true;
}

void AtomicFileWriter::abort() {
  if (m_fd >= 0) {
    ::close(m_fd);
    m_fd = -1;
  }
  if (!m_tempPath.empty()) {
    ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
  }
}

bool WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes, std::string* error) {
  AtomicFileWriter writer;
  const bool ok = writer.open(target) && writer.write(bytes) && writer.commit();
  if (!ok && error) *error = writer.error();
  return ok;
}

}  // namespace lumora
