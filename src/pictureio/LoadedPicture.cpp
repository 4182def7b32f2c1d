#include "pictureio/LoadedPicture.h"

#include <array>
#include <fstream>
#include <string_view>

#include "imaging/raster/BmpFile.h"

namespace lumora {

namespace {

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

LoadedPicture LoadBitmapFile(const std::filesystem::path& path, raster::BmpPixels pixels) {
  raster::BmpReadResult read = raster::ReadBmpFile(path, pixels);
  if (!read) return FailedLoad(PictureProblem::Damaged, read.error.empty() ? "not a readable bitmap file" : read.error);
  if (auto problem = SizeProblem(read.bitmap->width(), read.bitmap->height())) return *problem;
  return {raster::StdPicture(read.bitmap), {}, PictureProblem::None, {}};
}

}  // namespace

LoadedPicture FailedLoad(PictureProblem problem, std::string why) {
  return {raster::StdPicture(), std::move(why), problem, {}};
}

std::optional<LoadedPicture> SizeProblem(int64_t width, int64_t height) {
  if (width < 1 || height < 1) return FailedLoad(PictureProblem::Damaged, "the picture has no pixels");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    return FailedLoad(PictureProblem::TooLarge, "the picture is too large (" + std::to_string(width) + " x " +
                                                    std::to_string(height) + " pixels)");
  return std::nullopt;
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

LoadedPicture LoadPicture(const std::filesystem::path& path, PictureReader otherFormats, raster::BmpPixels bitmapPixels) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return FailedLoad(PictureProblem::NotFound, "file not found");
  try {
    if (IsBitmapFile(path)) return LoadBitmapFile(path, bitmapPixels);
    if (otherFormats) return otherFormats(path);
    return FailedLoad(PictureProblem::NotAPicture, "not a picture file this program can read");
  } catch (const std::bad_alloc&) {
    return FailedLoad(PictureProblem::OutOfMemory, "out of memory");
  } catch (const std::exception& e) {
    return FailedLoad(PictureProblem::Damaged, e.what());
  }
}

bool IsBitmapFile(const std::filesystem::path& path) { return StartsWith(Magic(path), "BM"); }

bool LoadsWithoutGui(const std::filesystem::path& path) {
  const auto magic = Magic(path);
  return StartsWith(magic, "BM") || StartsWith(magic, "\xFF\xD8\xFF") || StartsWith(magic, "\x89PNG\r\n\x1A\n") ||
         StartsWith(magic, "GIF8");
}

}  // namespace lumora
