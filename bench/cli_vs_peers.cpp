// Whole commands as a user runs them, against their peers in the same run: lumora-cli convert
// against cjpeg (-quality 100 -sample 1x1 -optimize -dct float) for a 3840 x 2160 bitmap to JPEG,
// against ImageMagick's convert for 1920 x 1080 to GIF (-dither FloydSteinberg -colors 256) and to
// PNG, against cjpeg for the start of a 2 x 2 conversion to JPEG, and a CSV batch of 200 banners
// on two jobs against the same on one. Each iteration runs our command and the peer's one after
// the other, taking turns at going first, so both see the same load on a shared machine; the time
// shown is ours. Counters: both commands' mean wall and processor milliseconds, the peer's over
// ours (speedup_wall, speedup_cpu), file bytes and their ratio. The memory benchmarks give the
// largest resident set of the 3840 x 2160 JPEG commands, and of a render of an 8192 x 8192
// project to JPEG beside cjpeg of its template: the maximum RSS that /usr/bin/time -v reports
// (its own fork keeps this program's pages out of it).
//
// The photograph is LUMORA_BENCH_PHOTO, else the wallpaper of Debian's lomiri-wallpapers-20.04,
// else a synthetic picture, scaled to each size and written as a 24-bit bitmap file. Ours is
// LUMORA_BENCH_CLI (another build, to compare), else the lumora-cli of this build; cjpeg is found
// on the PATH; ImageMagick is LUMORA_BENCH_IMAGEMAGICK, else /usr/bin/convert.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "compose/ImageConversion.h"
#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using namespace lumora;

constexpr const char* kWallpaper = "/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg";
const fs::path kFolder = fs::temp_directory_path() / "lumora-cli-bench";

std::string FromEnvironment(const char* name, const char* otherwise) {
  const char* env = std::getenv(name);
  return env ? env : otherwise;
}

// The photograph (or a stand-in) as a 24-bit bottom-up bitmap file of the given size.
fs::path PhotoBitmap(int width, int height) {
  const fs::path path = kFolder / ("photo-" + std::to_string(width) + "x" + std::to_string(height) + ".bmp");
  if (fs::exists(path)) return path;
  const char* env = std::getenv("LUMORA_BENCH_PHOTO");
  QImage photo(QString::fromLocal8Bit(env ? env : kWallpaper));
  if (photo.isNull()) {
    photo = QImage(width, height, QImage::Format_RGB32);
    QPainter painter(&photo);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor(20, 60, 160));
    gradient.setColorAt(1, QColor(250, 200, 120));
    painter.fillRect(photo.rect(), gradient);
  }
  const auto scaled = ToBitmap(photo.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  const auto bitmap = raster::Bitmap::Create(width, height, 24, raster::RowOrder::BottomUp);
  raster::BitBlt(*bitmap, 0, 0, width, height, *scaled, 0, 0, raster::SRCCOPY);
  raster::WriteBmpFile(path, *bitmap);
  return path;
}

struct Outcome {
  bool ok = false;
  double wallMs = 0, cpuMs = 0;
};

// Runs a command with its output thrown away, as a child of its own, and waits for it.
Outcome Spawn(const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const std::string& argument : command) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  Outcome outcome;
  int status = 0;
  rusage usage{};
  if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid) return outcome;
  outcome.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const auto ms = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
  };
  outcome.cpuMs = ms(usage.ru_utime) + ms(usage.ru_stime);
  outcome.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return outcome;
}

struct Side {
  std::vector<std::string> command;
  fs::path output;
  double wallMs = 0, cpuMs = 0;
};

void Skip(benchmark::State& state, const Side& failed) {
  const std::string why = failed.command[0] + " failed or is not installed";
  state.SkipWithError(why.c_str());
}

void Compare(benchmark::State& state, Side ours, Side peer) {
  bool oursFirst = true;
  for (auto _ : state) {
    const Outcome first = Spawn(oursFirst ? ours.command : peer.command);
    const Outcome second = Spawn(oursFirst ? peer.command : ours.command);
    const Outcome& mine = oursFirst ? first : second;
    const Outcome& theirs = oursFirst ? second : first;
    oursFirst = !oursFirst;
    if (!mine.ok || !theirs.ok) return Skip(state, mine.ok ? peer : ours);
    state.SetIterationTime(mine.wallMs / 1e3);
    for (auto [side, outcome] : {std::pair{&ours, &mine}, std::pair{&peer, &theirs}}) {
      side->wallMs += outcome->wallMs;
      side->cpuMs += outcome->cpuMs;
    }
  }
  const auto n = static_cast<double>(state.iterations());
  state.counters["ours_wall_ms"] = ours.wallMs / n;
  state.counters["peer_wall_ms"] = peer.wallMs / n;
  state.counters["ours_cpu_ms"] = ours.cpuMs / n;
  state.counters["peer_cpu_ms"] = peer.cpuMs / n;
  state.counters["speedup_wall"] = peer.wallMs / ours.wallMs;
  state.counters["speedup_cpu"] = peer.cpuMs / std::max(ours.cpuMs, 1e-3);
  const auto oursBytes = static_cast<double>(fs::file_size(ours.output));
  const auto peerBytes = static_cast<double>(fs::file_size(peer.output));
  state.counters["ours_bytes"] = oursBytes;
  state.counters["peer_bytes"] = peerBytes;
  state.counters["bytes_ours_over_peer"] = oursBytes / peerBytes;
}

// Kilobytes, or -1 when the command failed.
long MaxRssKb(const std::vector<std::string>& command) {
  const fs::path report = kFolder / "max-rss.txt";
  std::vector<std::string> timed{"/usr/bin/time", "-f", "%M", "-o", report.string()};
  timed.insert(timed.end(), command.begin(), command.end());
  long kb = -1;
  if (Spawn(timed).ok) std::ifstream(report) >> kb;
  return kb;
}

void PeakMemory(benchmark::State& state, Side ours, Side peer) {
  long mine = 0, theirs = 0;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    mine = std::max(mine, MaxRssKb(ours.command));
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    theirs = std::max(theirs, MaxRssKb(peer.command));
    if (mine < 0 || theirs < 0) return Skip(state, mine < 0 ? ours : peer);
  }
  state.counters["ours_max_rss_MB"] = static_cast<double>(mine) / 1024;
  state.counters["peer_max_rss_MB"] = static_cast<double>(theirs) / 1024;
  state.counters["rss_ours_over_peer"] = static_cast<double>(mine) / static_cast<double>(theirs);
}

Side Ours(const fs::path& input, const std::string& output) {
  return {
      {FromEnvironment("LUMORA_BENCH_CLI", LUMORA_CLI_PATH), "convert", input.string(), (kFolder / output).string()},
      kFolder / output};
}

Side Cjpeg(const fs::path& input, const std::string& output) {
  return {{"cjpeg", "-quality", "100", "-sample", "1x1", "-optimize", "-dct", "float", "-outfile",
           (kFolder / output).string(), input.string()},
          kFolder / output};
}

Side Magick(const fs::path& input, std::vector<std::string> options, const std::string& output) {
  std::vector<std::string> command{FromEnvironment("LUMORA_BENCH_IMAGEMAGICK", "/usr/bin/convert"), input.string()};
  command.insert(command.end(), options.begin(), options.end());
  command.push_back((kFolder / output).string());
  return {command, kFolder / output};
}

// A 728 x 90 banner of the bundled library with one caption, and a CSV of 200 captions for it.
fs::path BatchProject() {
  const fs::path project = kFolder / "batch.lmp";
  std::ofstream(project) << "<ZEB Image File>\n\t<Template>Banners\\Waves\\Sky 728x90.jpg</Template>\n"
                            "\t<TextItem>\n\t\t<Left>150</Left>\n\t\t<Top>150</Top>\n\t\t<Caption>Sale</Caption>\n"
                            "\t\t<FontName>DejaVu Sans</FontName>\n\t\t<FontBold>True</FontBold>\n"
                            "\t\t<FontSize>28</FontSize>\n\t\t<Shadow>True</Shadow>\n\t</TextItem>\n</ZEB Image File>\n";
  std::ofstream csv(kFolder / "batch.csv");
  csv << "1.Caption\n";
  for (int row = 1; row <= 200; ++row) csv << "Summer sale " << row << "% off\n";
  return project;
}

// The same batch on N jobs.
Side Batch(const fs::path& project, int jobs) {
  const std::string folder = (kFolder / ("batch-" + std::to_string(jobs))).string();
  return {{FromEnvironment("LUMORA_BENCH_CLI", LUMORA_CLI_PATH), "render", "--library", LUMORA_TEMPLATES,
           project.string(), "--csv", (kFolder / "batch.csv").string(), "-o", folder + "/{row}.jpg", "--jobs",
           std::to_string(jobs)},
          folder + "/1.jpg"};
}

// A project on an 8192 x 8192 template (the largest the editor opens) with one caption, rendered
// to JPEG; the template lies in a library of its own under the bench folder.
Side HugeRender(const fs::path& picture) {
  const fs::path library = kFolder / "library", folder = library / "Large" / "Photo";
  fs::create_directories(folder);
  fs::rename(picture, folder / "huge.bmp");
  const fs::path project = kFolder / "huge.lmp";
  std::ofstream(project) << "<ZEB Image File>\n\t<Template>Large\\Photo\\huge.bmp</Template>\n"
                            "\t<TextItem>\n\t\t<Left>1500</Left>\n\t\t<Top>1500</Top>\n\t\t<Caption>Sale</Caption>\n"
                            "\t\t<FontName>DejaVu Sans</FontName>\n\t\t<FontSize>400</FontSize>\n\t</TextItem>\n"
                            "</ZEB Image File>\n";
  return {{FromEnvironment("LUMORA_BENCH_CLI", LUMORA_CLI_PATH), "render", "--library", library.string(),
           project.string(), "-o", (kFolder / "huge.jpg").string()},
          kFolder / "huge.jpg"};
}

}  // namespace

int main(int argc, char** argv) {
  fs::create_directories(kFolder);
  const fs::path uhd = PhotoBitmap(3840, 2160), hd = PhotoBitmap(1920, 1080), tiny = PhotoBitmap(2, 2);
  const auto add = [](const char* name, Side ours, Side peer, int iterations, auto measure) {
    benchmark::RegisterBenchmark(name, measure, ours, peer)
        ->Iterations(iterations)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
  };
  add("cli/3840x2160/jpeg/vs:cjpeg", Ours(uhd, "ours-4k.jpg"), Cjpeg(uhd, "cjpeg-4k.jpg"), 5, Compare);
  add("cli/3840x2160/jpeg/peak-memory/vs:cjpeg", Ours(uhd, "ours-4k.jpg"), Cjpeg(uhd, "cjpeg-4k.jpg"), 1, PeakMemory);
  add("cli/1920x1080/gif/vs:imagemagick", Ours(hd, "ours.gif"),
      Magick(hd, {"-dither", "FloydSteinberg", "-colors", "256"}, "magick.gif"), 5, Compare);
  add("cli/1920x1080/png/vs:imagemagick", Ours(hd, "ours.png"), Magick(hd, {}, "magick.png"), 5, Compare);
  add("cli/2x2/jpeg/start-up/vs:cjpeg", Ours(tiny, "ours-2x2.jpg"), Cjpeg(tiny, "cjpeg-2x2.jpg"), 40, Compare);
  add("cli/8192x8192/render-jpeg/peak-memory/vs:cjpeg", HugeRender(PhotoBitmap(8192, 8192)),
      Cjpeg(kFolder / "library" / "Large" / "Photo" / "huge.bmp", "cjpeg-huge.jpg"), 1, PeakMemory);
  const fs::path batch = BatchProject();
  add("cli/batch-200x728x90/jpeg/jobs:2/vs:jobs:1", Batch(batch, 2), Batch(batch, 1), 3, Compare);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(kFolder);
  return 0;
}
