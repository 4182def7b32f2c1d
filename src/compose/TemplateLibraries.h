// Where template pictures live: the program's library beside the program (often in a folder the
// user cannot write) and the user's own, which holds the pictures the user added.
#pragma once

#include <filesystem>
#include <vector>

namespace lumora {

std::filesystem::path ProgramTemplateLibrary();
// $XDG_DATA_HOME/zeb-lumora/templates, by default ~/.local/share/zeb-lumora/templates.
std::filesystem::path UserTemplateLibrary();
// The program's, then the user's: the order in which names are looked up and types are listed.
std::vector<std::filesystem::path> TemplateLibraries();

}  // namespace lumora
