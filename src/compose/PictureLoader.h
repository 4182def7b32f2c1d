// Loads picture files with Qt's readers for the formats other than Windows bitmaps.
#pragma once

#include <filesystem>

#include "pictureio/LoadedPicture.h"

namespace lumora {

LoadedPicture LoadPictureFile(const std::filesystem::path& path);

// LoadPictureFile with the wait cursor shown while it works, when there is a screen.
LoadedPicture LoadTemplatePicture(const std::filesystem::path& path);

}  // namespace lumora
