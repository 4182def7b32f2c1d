// Small file and folder helpers the editor and the export share.
#pragma once

#include <string>

namespace lumora {

// Appends the separator to a folder path that does not end in one; an empty path stays empty.
void AddSlash(std::string& folder);
// False for an empty path; true for an existing folder.
bool DirectoryExists(std::string folder);
// False for an empty path; true for an existing entry that is not a folder (read-only,
// hidden and the like included).
bool FileExists(const std::string& path);
// Removes a file, read-only or not; a missing file is no error.
void KillFile(const std::string& path);
// The system's temporary folder with a trailing separator; empty when it has none.
std::string WindowsTempDirectory();
// Creates a new, empty, uniquely named file ("<prefix>XXXXXX.tmp", prefix cut to three
// characters, "ZEB" when empty) in folder, atomically, and returns its path; "" on failure. When
// folder does not exist it becomes the temporary folder (the caller sees which).
std::string CreateTempFile(std::string prefix = {}, std::string* folder = nullptr);

}  // namespace lumora
