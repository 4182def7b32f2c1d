#include "compose/PictureLoader.h"

#include <QImageReader>

#include "compose/ImageConversion.h"
#include "compose/WaitCursor.h"

namespace lumora {

namespace {

// Qt's own ceiling on one decoded image, in megabytes.
constexpr int kAllocationLimitMB = 300;

LoadedPicture LoadWithQt(const std::filesystem::path& path) {
  QImageReader::setAllocationLimit(kAllocationLimitMB);
  QImageReader reader(QString::fromStdString(path.string()));
  reader.setAutoTransform(true);
  if (!reader.canRead()) return FailedLoad(PictureProblem::NotAPicture, "not a picture file this program can read");
  const QSize size = reader.size();
  if (size.isValid()) {
    if (auto problem = SizeProblem(size.width(), size.height())) return *problem;
  }
  const QImage image = reader.read();
  if (image.isNull()) return FailedLoad(PictureProblem::Damaged, reader.errorString().toStdString());
  if (auto problem = SizeProblem(image.width(), image.height())) return *problem;
  auto bitmap = ToBitmap(image);
  if (!bitmap) return FailedLoad(PictureProblem::OutOfMemory, "out of memory");
  return {raster::StdPicture(std::move(bitmap)), {}, PictureProblem::None, AlphaOf(image)};
}

}  // namespace

LoadedPicture LoadPictureFile(const std::filesystem::path& path) { return LoadPicture(path, &LoadWithQt); }

LoadedPicture LoadTemplatePicture(const std::filesystem::path& path) {
  WaitCursor wait;
  return LoadPictureFile(path);
}

}  // namespace lumora
