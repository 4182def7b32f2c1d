// lumora-cli info: the document as the reader understood it, as readable text or as one JSON
// object (items in stacking order, numbers as numbers, booleans as booleans).
#pragma once

#include <string>

namespace lumora::cli {

struct CliOptions;
struct CliProject;

int RunInfo(const CliOptions& options);

std::string InfoJson(const CliProject& project);
std::string InfoText(const CliProject& project);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(const std::string& text);

}  // namespace lumora::cli
