// Reads the thumbnails of a category: for each file its size from the header and its picture
// decoded at the thumbnail's size, or the placeholder when it cannot be read. The files are read
// side by side on the machine's cores; nothing here touches a widget, so it is safe off the UI
// thread.
#pragma once

#include <QImage>
#include <QSize>
#include <QStringList>
#include <vector>

#include "library/ThumbnailFit.h"

namespace lumora {

struct Thumbnail {
  QImage picture;               // decoded near the area's size; the placeholder on failure
  QSize size;                   // the picture's own size in pixels (the placeholder's on failure)
  ThumbnailPlacement area;      // in the box, twips
  bool placeholder = false;
};

Thumbnail LoadThumbnail(const QString& path, int32_t maxWidthTwips, int32_t maxHeightTwips);

// One thumbnail per path, in order.
std::vector<Thumbnail> LoadThumbnails(const QStringList& paths, int32_t maxWidthTwips, int32_t maxHeightTwips);

}  // namespace lumora
