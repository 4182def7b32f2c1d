// Writes a whole file so that a failure never destroys a good one and a save never weakens what
// the file system protects: a temporary file in the target's folder is written and renamed over
// the target, keeping its permission bits (and its owner, where that can be kept); a symbolic
// link is written through to the file it names; a file nobody may write is refused, even for
// root. Where the folder refuses new files, a writable file is rewritten in place, and put back
// as it was when that write fails.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>

namespace lumora {

// False (with a reason in *error when given) leaves the target as it was.
bool WriteFileAtomically(const std::filesystem::path& target, std::span<const uint8_t> bytes,
                         std::string* error = nullptr);

// A file's bytes made as they are written, so they are never all in memory: each call gives the
// next piece (valid until the next call), an empty one at the end. A call that throws fails the
// write.
using FilePieces = std::function<std::span<const uint8_t>()>;
bool WriteFileAtomically(const std::filesystem::path& target, const FilePieces& pieces, std::string* error = nullptr);

}  // namespace lumora
