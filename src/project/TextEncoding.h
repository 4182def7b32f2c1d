// Project files are single-byte Windows-1252 text unless they are UTF-8; internally every string
// is UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace lumora::TextEncoding {

// Valid UTF-8 that holds at least one multi-byte sequence (plain ASCII does not count).
bool LooksLikeUtf8(std::string_view bytes);
// Every byte to its Windows-1252 character (the five unassigned bytes to U+0081 and its kin).
std::string Windows1252ToUtf8(std::string_view bytes);
// Whether every character of the UTF-8 text has a Windows-1252 byte; invalid UTF-8 does not.
bool FitsWindows1252(std::string_view utf8);
// Requires FitsWindows1252.
std::string Utf8ToWindows1252(std::string_view utf8);
// Invalid UTF-8 sequences become U+FFFD.
std::string SanitizeUtf8(std::string_view text);
// Cuts at most maxBytes off the front without splitting a UTF-8 sequence.
std::string_view TruncateUtf8(std::string_view utf8, size_t maxBytes);

}  // namespace lumora::TextEncoding
