#include "cli/projects/RenderPicture.h"

#include <unistd.h>

#include "compose/BuildImage.h"
#include "pictureio/ExportRoutes.h"
#include "pictureio/ImageExport.h"

namespace lumora::cli {

std::string RenderPicture(const Document& document, raster::StdPicture picture,
                          const std::vector<uint8_t>& pictureAlpha, const std::filesystem::path& output, GifExport& gif, const ExportOptions& options,
                          std::mutex* gifLock) {
  ImageExport job;
  PrepareTransparency(job, output, options, document, picture, pictureAlpha);
  const auto composite = BuildImageOnTemplate(document, std::move(picture));
  if (!composite) return kImageNotSaved;
  std::error_code ec;
  if (output.has_parent_path()) std::filesystem::create_directories(output.parent_path(), ec);
  std::unique_lock<std::mutex> lock;
  if (gifLock && RouteFor(output.string()) == ExportRoute::Gif) lock = std::unique_lock(*gifLock);
  job.Prepare(*composite);
  const ExportResult result = job.Save(output, gif, options);
  return result ? std::string() : result.Message;
}

std::string OutputProblem(const std::filesystem::path& output) {
  std::error_code ec;
  if (std::filesystem::is_directory(output, ec)) return output.string() + " is a folder";
  std::filesystem::path folder = output.parent_path();
  while (!folder.empty() && !std::filesystem::exists(folder, ec) && folder != folder.parent_path())
    folder = folder.parent_path();
  if (folder.empty()) folder = ".";
  if (!std::filesystem::is_directory(folder, ec)) return folder.string() + " is not a folder";
  if (::access(folder.c_str(), W_OK | X_OK) != 0) return "no permission to write in " + folder.string();
  return {};
}

}  // namespace lumora::cli
