// Finds a project's template inside the template library. Project files name it by its library
// path with "\" separators (files in circulation come from Windows); a name must not lead the
// program outside the library.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumora {

// The existing file the name refers to under libraryRoot, or nothing (with the reason in
// *problem). "\" and "/" both separate; absolute names and ".." components are refused; a
// component that does not match exactly is looked up without regard to letter case.
std::optional<std::filesystem::path> ResolveTemplatePath(const std::filesystem::path& libraryRoot,
                                                         std::string_view templateName,
                                                         std::string* problem = nullptr);
// The same in each library in turn (the program's, then the user's): the first that holds the
// name wins, so project files keep naming templates by their path inside a library. The reason
// given is the first library's.
std::optional<std::filesystem::path> ResolveTemplatePath(const std::vector<std::filesystem::path>& libraries,
                                                         std::string_view templateName,
                                                         std::string* problem = nullptr);

}  // namespace lumora
