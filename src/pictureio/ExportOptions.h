// The choices an export can make beyond the route its name picks. The defaults are the editor's,
// which writes every file the same way.
#pragma once

namespace lumora {

// Classic: the octree palette of a thumbnail. Best: a palette fitted to every pixel, slower but
// keeping small areas of colour such as thin text.
enum class GifPalette { Classic, Best };

struct ExportOptions {
  int JpegQuality = 100;  // 1..100
  GifPalette Palette = GifPalette::Classic;
  bool PngAlpha = false;  // PNG keeps the template's transparency (the other routes put it on white)
};

}  // namespace lumora
