// The export command end to end on a 1920 x 1080 template with 12 text items: each phase alone
// (compose = the items painted on the template and put back, as the editor does, or on a copy
// for templates of other layouts; encode = the route from the composite to the file's bytes;
// write = the atomic file write) and the whole export to JPEG, GIF and PNG. Peak memory of a
// 3840 x 2160 JPEG export is measured in a child process of its own (this program run with
// --peak-memory), against a child that stops before the export.
//
// The template is LUMORA_BENCH_PHOTO, else a wallpaper photograph when installed, else a
// synthetic picture, scaled to each size.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QProcess>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/AtomicFile.h"
#include "compose/BuildImage.h"
#include "compose/CompositeOnTemplate.h"
#include "compose/ImageConversion.h"
#include "document/Document.h"
#include "pictureio/ExportRoutes.h"
#include "pictureio/GifExport.h"
#include "pictureio/ImageExport.h"

namespace {

using namespace lumora;

constexpr const char* kWallpaper = "/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg";

raster::StdPicture Template(int width, int height) {
  const char* env = std::getenv("LUMORA_BENCH_PHOTO");
  QImage photo(QString::fromLocal8Bit(env ? env : kWallpaper));
  if (photo.isNull()) {
    photo = QImage(width, height, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(photo.rect(), gradient);
    for (int i = 0; i < 40; ++i)
      painter.fillRect((i * 97) % width, (i * 53) % height, 120, 80, QColor::fromHsv((i * 37) % 360, 160, 220));
  }
  return raster::StdPicture(ToBitmap(photo.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
}

// Twelve items spread over the picture: sizes 12 to 72 pt, some with shadows, some multi-line.
Document TwelveItems(int width, int height) {
  Document document;
  const char* fonts[] = {"DejaVu Sans", "DejaVu Serif", "Liberation Sans", "Liberation Serif"};
  for (int i = 0; i < 12; ++i) {
    const int index = document.CreateItem();
    document.EditItem(index, [&](TextItem& item) {
      item.Caption = i % 3 == 0 ? "Summer sale\r\nevery day\r\nuntil Sunday" : "ZEB Lumora banner text";
      item.FontName = fonts[i % 4];
      item.FontSize = static_cast<float>(12 + i * 5);
      item.FontBold = i % 2 == 0;
      item.FontItalic = i % 5 == 0;
      item.Alignment = static_cast<TextAlignment>(i % 3);
      item.Left = static_cast<float>((i % 3) * width / 3 * 15);
      item.Top = static_cast<float>((i / 3) * height / 4 * 15);
      item.ForeColor = (i * 0x3A5F17) & 0xFFFFFF;
      item.Shadow = i % 2 == 1;
      item.ShadowColor = 0x404040;
      item.Visible = true;
    });
  }
  return document;
}

struct Scene {
  raster::StdPicture picture;
  Document document;
  std::filesystem::path folder;
};

const Scene& FullHd() {
  static const Scene scene{Template(1920, 1080), TwelveItems(1920, 1080),
                           std::filesystem::temp_directory_path() / "lumora-export-bench"};
  std::filesystem::create_directories(scene.folder);
  return scene;
}

ExportRoute RouteOf(int64_t arg) { return static_cast<ExportRoute>(arg); }

const char* ExtensionOf(ExportRoute route) {
  switch (route) {
    case ExportRoute::Gif: return "gif";
    case ExportRoute::Png: return "png";
    case ExportRoute::Bitmap: return "bmp";
    case ExportRoute::Jpeg: break;
  }
  return "jpg";
}

// The route's bytes as the export makes them, from the composite in memory.
std::vector<uint8_t> Encode(ExportRoute route, const std::shared_ptr<raster::Bitmap>& composite, GifExport& gif) {
  const raster::StdPicture picture(composite);
  if (route == ExportRoute::Gif) {
    std::vector<uint8_t> bytes;
    gif.Encode(picture, WhiteCorner(*composite), bytes);
    return bytes;
  }
  return route == ExportRoute::Png ? EncodePngRoute(picture) : EncodeJpegRoute(picture);
}

void BM_Compose(benchmark::State& state) {
  const Scene& scene = FullHd();
  for (auto _ : state) {
    const CompositeOnTemplate onTemplate(scene.document, scene.picture);
    benchmark::DoNotOptimize(onTemplate.Composite());
  }
}
BENCHMARK(BM_Compose)->Name("export/1920x1080/phase:compose")->Unit(benchmark::kMillisecond);

void BM_ComposeCopy(benchmark::State& state) {
  const Scene& scene = FullHd();
  for (auto _ : state) benchmark::DoNotOptimize(BuildImage(scene.document, scene.picture));
}
BENCHMARK(BM_ComposeCopy)->Name("export/1920x1080/phase:compose/on-a-copy")->Unit(benchmark::kMillisecond);

// Each phase is measured for the JPEG, GIF and PNG routes, in milliseconds.
void EveryRoute(benchmark::internal::Benchmark* b) {
  for (ExportRoute route : {ExportRoute::Jpeg, ExportRoute::Gif, ExportRoute::Png}) b->Arg(static_cast<int>(route));
  b->Unit(benchmark::kMillisecond);
}

void BM_Encode(benchmark::State& state) {
  const Scene& scene = FullHd();
  const ExportRoute route = RouteOf(state.range(0));
  const auto composite = BuildImage(scene.document, scene.picture);
  GifExport gif;
  size_t bytes = 0;
  for (auto _ : state) bytes = Encode(route, composite, gif).size();
  state.counters["file_bytes"] = static_cast<double>(bytes);
  state.SetLabel(ExtensionOf(route));
}
BENCHMARK(BM_Encode)
    ->Name("export/1920x1080/phase:encode")
    ->Apply(EveryRoute);

void BM_Write(benchmark::State& state) {
  const Scene& scene = FullHd();
  const ExportRoute route = RouteOf(state.range(0));
  const auto composite = BuildImage(scene.document, scene.picture);
  GifExport gif;
  const std::vector<uint8_t> bytes = Encode(route, composite, gif);
  const auto target = scene.folder / (std::string("write.") + ExtensionOf(route));
  for (auto _ : state) benchmark::DoNotOptimize(WriteFileAtomically(target, bytes));
  state.SetLabel(ExtensionOf(route));
}
BENCHMARK(BM_Write)
    ->Name("export/1920x1080/phase:write")
    ->Apply(EveryRoute);

// What the user waits for: the composite, then the export command with the chosen name.
void BM_Total(benchmark::State& state) {
  const Scene& scene = FullHd();
  const ExportRoute route = RouteOf(state.range(0));
  const auto target = scene.folder / (std::string("total.") + ExtensionOf(route));
  GifExport gif;
  for (auto _ : state) {
    const CompositeOnTemplate onTemplate(scene.document, scene.picture);
    if (!onTemplate.Composite() || !ExportImage(*onTemplate.Composite(), target, gif))
      state.SkipWithError("export failed");
  }
  state.counters["file_bytes"] = static_cast<double>(std::filesystem::file_size(target));
  state.SetLabel(ExtensionOf(route));
}
BENCHMARK(BM_Total)
    ->Name("export/1920x1080/total")
    ->Apply(EveryRoute);

// The resident-set high-water mark, in kilobytes.
long PeakKilobytes() {
  FILE* status = std::fopen("/proc/self/status", "r");
  long peak = 0;
  char line[256];
  while (status && std::fgets(line, sizeof line, status))
    if (std::sscanf(line, "VmHWM: %ld kB", &peak) == 1) break;
  if (status) std::fclose(status);
  return peak;
}

// Starts the high-water mark again from what is resident now (Linux 4.0 and later).
void ResetPeak() {
  if (FILE* refs = std::fopen("/proc/self/clear_refs", "w")) {
    std::fputs("5", refs);
    std::fclose(refs);
  }
}

// Child mode: the template and the document are made first; then the high-water mark starts
// again and one 3840 x 2160 JPEG export runs (the composite and the export command). Prints the
// peak, which includes what was already resident (program, fonts, template, document).
int PeakMemoryChild(bool export4k) {
  const raster::StdPicture picture = Template(3840, 2160);
  const Document document = TwelveItems(3840, 2160);
  ResetPeak();
  if (export4k) {
    GifExport gif;
    const CompositeOnTemplate onTemplate(document, picture);
    const auto target = std::filesystem::temp_directory_path() / "lumora-export-bench-4k.jpg";
    if (!onTemplate.Composite() || !ExportImage(*onTemplate.Composite(), target, gif)) return 1;
    std::filesystem::remove(target);
  }
  std::printf("%ld\n", PeakKilobytes());
  return 0;
}

long ChildPeak(const char* mode) {
  QProcess child;
  child.start(QCoreApplication::applicationFilePath(), {mode});
  child.waitForFinished(600000);
  return std::atol(child.readAllStandardOutput().constData());
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "--peak-memory") == 0) return PeakMemoryChild(true);
  if (argc > 1 && std::strcmp(argv[1], "--peak-memory-baseline") == 0) return PeakMemoryChild(false);

  const long baseline = ChildPeak("--peak-memory-baseline");
  const long peak = ChildPeak("--peak-memory");
  benchmark::AddCustomContext("peak_rss_3840x2160_jpeg_export_MB", std::to_string(peak / 1024));
  benchmark::AddCustomContext("rss_before_export_MB", std::to_string(baseline / 1024));
  benchmark::AddCustomContext("peak_rss_added_by_export_MB", std::to_string((peak - baseline) / 1024));

  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(std::filesystem::temp_directory_path() / "lumora-export-bench");
  return 0;
}
