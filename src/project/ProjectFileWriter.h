// Writes a document as a project file: "<ZEB Image File>", the template line, one block of
// thirteen property lines per text item in stacking order (then a line for each effect that is
// not at its default), "</ZEB Image File>"; CRLF line ends,
// tab indentation. Text goes out in Windows-1252 when every character fits, else in UTF-8.
#pragma once

#include <filesystem>
#include <string>

#include "document/Document.h"

namespace lumora {

// The file's bytes.
std::string WriteProjectText(const Document& document);

// Writes atomically: a failure leaves a previous file intact and gives false with a reason in
// *error. The document is not touched; the caller records the path and clears Changed.
bool SaveProjectFile(const std::filesystem::path& path, const Document& document, std::string* error = nullptr);

// A single-precision number as the file holds it: at most seven significant digits, "." as the
// separator, no exponent, no thousands separators ("1117.5", "450", "-0.25").
std::string FormatSingle(float value);

}  // namespace lumora
