#include "compose/PictureLoader.h"

#include <QCursor>
#include <QGuiApplication>
#include <QImageReader>
#include <array>
#include <fstream>

#include "compose/ImageConversion.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {

namespace {

// Qt's own ceiling on one decoded image, in megabytes.
constexpr int kAllocationLimitMB = 300;

bool StartsWithBitmapMagic(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 2> magic{};
  return in.read(magic.data(), 2) && magic[0] == 'B' && magic[1] == 'M';
}

std::string SizeProblem(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return "the picture has no pixels";
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    return "the picture is too large (" + std::to_string(width) + " x " + std::to_string(height) + " pixels)";
  return {};
}

LoadedPicture Failure(std::string why) { return {raster::StdPicture(), std::move(why)}; }

LoadedPicture LoadBitmapFile(const std::filesystem::path& path) {
  raster::BmpReadResult read = raster::ReadBmpFile(path);
  if (!read) return Failure(read.error.empty() ? "not a readable bitmap file" : read.error);
  if (auto problem = SizeProblem(read.bitmap->width(), read.bitmap->height()); !problem.empty())
    return Failure(problem);
  if (SharesQImageLayout(*read.bitmap)) return {raster::StdPicture(read.bitmap), {}};
  auto bitmap = ToBitmap(ToQImage(read.bitmap));
  if (!bitmap) return Failure("out of memory");
  return {raster::StdPicture(std::move(bitmap)), {}};
}

LoadedPicture LoadWithQt(const std::filesystem::path& path) {
  QImageReader::setAllocationLimit(kAllocationLimitMB);
  QImageReader reader(QString::fromStdString(path.string()));
  reader.setAutoTransform(true);
  if (!reader.canRead()) return Failure("not a picture file this program can read");
  const QSize size = reader.size();
  if (size.isValid()) {
    if (auto problem = SizeProblem(size.width(), size.height()); !problem.empty()) return Failure(problem);
  }
  const QImage image = reader.read();
  if (image.isNull()) return Failure(reader.errorString().toStdString());
  if (auto problem = SizeProblem(image.width(), image.height()); !problem.empty()) return Failure(problem);
  auto bitmap = ToBitmap(image);
  if (!bitmap) return Failure("out of memory");
  return {raster::StdPicture(std::move(bitmap)), {}};
}

// The wait cursor for as long as a load runs, when there is a screen to show it on.
class WaitCursor {
 public:
  WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~WaitCursor() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool m_shown;
};

}  // namespace

LoadedPicture LoadPictureFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Failure("file not found");
  try {
    return StartsWithBitmapMagic(path) ? LoadBitmapFile(path) : LoadWithQt(path);
  } catch (const std::exception& e) {
    return Failure(e.what());
  }
}

bool LoadPictureInto(const std::filesystem::path& path, raster::StdPicture& target) {
  WaitCursor wait;
  LoadedPicture loaded = LoadPictureFile(path);
  if (!loaded) return false;
  target = std::move(loaded.picture);
  return true;
}

}  // namespace lumora
