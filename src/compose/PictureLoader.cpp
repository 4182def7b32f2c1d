#include "compose/PictureLoader.h"

#include <QImageReader>
#include <array>
#include <fstream>
#include <optional>
#include <string_view>

#include "compose/ImageConversion.h"
#include "compose/WaitCursor.h"
#include "imaging/raster/BmpFile.h"

namespace lumora {

namespace {

// Qt's own ceiling on one decoded image, in megabytes.
constexpr int kAllocationLimitMB = 300;

// The first bytes of the file; fewer (zeros after them) when it is shorter or cannot be read.
std::array<char, 8> Magic(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::array<char, 8> magic{};
  in.read(magic.data(), magic.size());
  return magic;
}

bool StartsWith(const std::array<char, 8>& magic, std::string_view start) {
  return std::string_view(magic.data(), magic.size()).starts_with(start);
}

bool StartsWithBitmapMagic(const std::filesystem::path& path) { return StartsWith(Magic(path), "BM"); }

LoadedPicture Failure(PictureProblem problem, std::string why) { return {raster::StdPicture(), std::move(why), problem, {}}; }
LoadedPicture Loaded(raster::StdPicture picture) { return {std::move(picture), {}, PictureProblem::None, {}}; }

// A failed load when the size is out of bounds, nothing otherwise.
std::optional<LoadedPicture> SizeProblem(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return Failure(PictureProblem::Damaged, "the picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    return Failure(PictureProblem::TooLarge, "the picture is too large (" + std::to_string(width) + " x " +
                                                 std::to_string(height) + " pixels)");
  return std::nullopt;
}

LoadedPicture LoadBitmapFile(const std::filesystem::path& path) {
  raster::BmpReadResult read = raster::ReadBmpFile(path, raster::BmpPixels::Rgb32);
  if (!read) return Failure(PictureProblem::Damaged, read.error.empty() ? "not a readable bitmap file" : read.error);
  if (auto problem = SizeProblem(read.bitmap->width(), read.bitmap->height())) return *problem;
  return Loaded(raster::StdPicture(read.bitmap));
}

LoadedPicture LoadWithQt(const std::filesystem::path& path) {
  QImageReader::setAllocationLimit(kAllocationLimitMB);
  QImageReader reader(QString::fromStdString(path.string()));
  reader.setAutoTransform(true);
  if (!reader.canRead()) return Failure(PictureProblem::NotAPicture, "not a picture file this program can read");
  const QSize size = reader.size();
  if (size.isValid()) {
    if (auto problem = SizeProblem(size.width(), size.height())) return *problem;
  }
  const QImage image = reader.read();
  if (image.isNull()) return Failure(PictureProblem::Damaged, reader.errorString().toStdString());
  if (auto problem = SizeProblem(image.width(), image.height())) return *problem;
  auto bitmap = ToBitmap(image);
  if (!bitmap) return Failure(PictureProblem::OutOfMemory, "out of memory");
  LoadedPicture loaded = Loaded(raster::StdPicture(std::move(bitmap)));
  loaded.alpha = AlphaOf(image);
  return loaded;
}

}  // namespace

LoadedPicture LoadPictureFile(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return Failure(PictureProblem::NotFound, "file not found");
  try {
    return StartsWithBitmapMagic(path) ? LoadBitmapFile(path) : LoadWithQt(path);
  } catch (const std::bad_alloc&) {
    return Failure(PictureProblem::OutOfMemory, "out of memory");
  } catch (const std::exception& e) {
    return Failure(PictureProblem::Damaged, e.what());
  }
}

bool LoadsWithoutGui(const std::filesystem::path& path) {
  const auto magic = Magic(path);
  return StartsWith(magic, "BM") || StartsWith(magic, "\xFF\xD8\xFF") || StartsWith(magic, "\x89PNG\r\n\x1A\n") ||
         StartsWith(magic, "GIF8");
}

std::string DescribeProblem(const LoadedPicture& failed) {
  switch (failed.problem) {
    case PictureProblem::None: return {};
    case PictureProblem::NotFound: return "the file was not found";
    case PictureProblem::NotAPicture: return "it is not a picture this program can read";
    case PictureProblem::TooLarge: return failed.error;
    case PictureProblem::Damaged: return "the file is damaged";
    case PictureProblem::OutOfMemory: return "there is not enough memory to open it";
  }
  return failed.error;
}

std::string CannotOpenMessage(const std::filesystem::path& path, const LoadedPicture& failed) {
  return "The picture \"" + path.string() + "\" could not be opened: " + DescribeProblem(failed) + ".";
}

LoadedPicture LoadTemplatePicture(const std::filesystem::path& path) {
  WaitCursor wait;
  return LoadPictureFile(path);
}


}  // namespace lumora
