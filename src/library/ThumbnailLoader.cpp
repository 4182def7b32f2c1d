#include "library/ThumbnailLoader.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "base/AppInfo.h"
#include "library/LibraryPictures.h"

namespace lumora {
namespace {

ThumbnailPlacement Place(QSize size, int32_t maxWidth, int32_t maxHeight) {
  return FitThumbnail(size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel, maxWidth, maxHeight);
}

int ToPixels(int32_t twips) { return std::max(1, static_cast<int>(std::lround(twips / double(kTwipsPerPixel)))); }

Thumbnail Placeholder(const QImage& picture, int32_t maxWidth, int32_t maxHeight) {
  return {picture, picture.size(), Place(picture.size(), maxWidth, maxHeight), true};
}

// A picture the loader refuses for its size says so; anything else is an unreadable file.
Thumbnail Placeholder(const QString& path, int32_t maxWidth, int32_t maxHeight) {
  return Placeholder(IsTooLargeLibraryPicture(path) ? TooLargePlaceholderPicture() : PlaceholderPicture(), maxWidth,
                     maxHeight);
}

}  // namespace

Thumbnail LoadThumbnail(const QString& path, int32_t maxWidth, int32_t maxHeight) {
  try {
    const auto size = ReadLibraryPictureSize(path);
    if (!size) return Placeholder(path, maxWidth, maxHeight);
    const ThumbnailPlacement area = Place(*size, maxWidth, maxHeight);
    QImage picture = ReadLibraryThumbnail(path, area.scaled ? QSize(ToPixels(area.width), ToPixels(area.height)) : *size);
    if (picture.isNull()) return Placeholder(path, maxWidth, maxHeight);
    return {std::move(picture), *size, area, false};
  } catch (...) {
    // Whatever goes wrong with one file shows as an unreadable file.
    return Placeholder(PlaceholderPicture(), maxWidth, maxHeight);
  }
}

std::vector<Thumbnail> LoadThumbnails(const QStringList& paths, int32_t maxWidth, int32_t maxHeight) {
  PlaceholderPicture();  // drawn once, here on the calling thread
  TooLargePlaceholderPicture();
  std::vector<Thumbnail> thumbnails(static_cast<size_t>(paths.size()));
  std::atomic<qsizetype> next{0};
  const auto work = [&] {
    for (qsizetype i = next++; i < paths.size(); i = next++)
      thumbnails[static_cast<size_t>(i)] = LoadThumbnail(paths.at(i), maxWidth, maxHeight);
  };
  const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
  const auto helpers = static_cast<size_t>(std::max<qsizetype>(0, std::min<qsizetype>(paths.size(), cores) - 1));
  {
    std::vector<std::jthread> threads;
    threads.reserve(helpers);
    for (size_t t = 0; t < helpers; ++t) threads.emplace_back(work);
    work();
  }
  return thumbnails;
}

}  // namespace lumora
