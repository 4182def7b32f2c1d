// Reads a project file into a document, line by line and forgiving: unknown tags are ignored, a
// bad number reads as 0, a missing closing line leaves its item hidden. Anything odd is noted in
// the result's Problems. Hostile files get a defined result in bounded time and memory.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "document/Document.h"

namespace lumora {

struct ProjectReadCallbacks {
  // Called for the Template line with the name as the file gives it (library path, "\"
  // separated). Loads and centres the picture; returns false when it could not (the previous
  // picture stays, and the open still succeeds).
  std::function<bool(const std::string& templateName)> LoadTemplate;
};

struct ProjectReadResult {
  bool Ok = false;                    // false: not a project file or unreadable; document untouched
  std::string Error;                  // why, when not Ok
  std::vector<std::string> Problems;  // warnings about an accepted file (at most kMaxProblems + 1)
};

inline constexpr size_t kMaxProjectFileBytes = 64u << 20;
inline constexpr size_t kMaxTextValueBytes = 64u << 10;  // longer captions, names are cut
inline constexpr size_t kMaxProblems = 100;

// Replaces the document's items with the file's. On success the last item read is selected, the
// document is open and unchanged; TemplateName is set when the file has a Template line.
// ProjectPath is left to the caller.
ProjectReadResult ReadProjectText(std::string_view bytes, Document& document, const ProjectReadCallbacks& callbacks = {});

// Reads the file and, on success, sets ProjectPath to the path.
ProjectReadResult OpenProjectFile(const std::filesystem::path& path, Document& document,
                                  const ProjectReadCallbacks& callbacks = {});

// The text between the first "<" and the first ">" after it ("Left", "/TextItem"); empty when
// the line has no such pair.
std::string_view GetTag(std::string_view line);
// The text between the first ">" and the last "<" after it; empty when there is no such "<".
std::string_view StripTags(std::string_view line);
// The longest leading decimal number ("." separator, optional sign, blanks skipped); 0 when none.
double ReadNumber(std::string_view value);

// Sets one property of an item from its tag and its (UTF-8) value with the reader's rules:
// numbers by ReadNumber and clamped, booleans true exactly for "True", "[/nl]" in a caption a
// line break, a blank ShadowOffset the shadow rule. "Shadow" sets whether the shadow shows.
// Returns false for a tag that is not an item property (the item is unchanged).
bool SetItemProperty(TextItem& item, std::string_view tag, std::string_view value);

}  // namespace lumora
