// cJpeg against libjpeg-turbo on the export's job: quality 100, no chroma subsampling, optimised
// Huffman tables, whole picture to memory. Prints a table of megapixels per second (best CPU time of the runs), the ratio to
// libjpeg-turbo's float path and the byte sizes; `--peak` instead measures cJpeg's peak memory
// on the 3840 x 2160 picture.
//
// libjpeg-turbo keeps every coefficient of the picture (2 bytes a sample) for its optimised
// tables, and cJpeg transforms the picture twice instead; fresh memory costs page faults, which
// are expensive on virtual machines. By default every encode gets fresh memory, as one export
// does ("cold"); `--warm` lets the allocator keep and reuse it instead. Without either, glibc's
// adaptive thresholds would favour whichever encoder ran second.
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <map>
#include <string>
#include <vector>

#include "../tests/imaging/JpegTestSupport.h"

namespace {

using namespace lumora;

struct Picture {
  int32_t width, height;
  std::shared_ptr<raster::Bitmap> bitmap;
};

const Picture& PictureOf(int32_t width, int32_t height) {
  static std::map<std::pair<int32_t, int32_t>, Picture> cache;
  auto it = cache.find({width, height});
  if (it == cache.end())
    it = cache.emplace(std::pair{width, height}, Picture{width, height, jpegtest::MakePhoto(width, height, 7)}).first;
  return it->second;
}

std::vector<uint8_t> EncodeLumora(const Picture& p) {
  jpegtest::Surface surface(p.bitmap);
  cJpeg jpeg;
  jpeg.Quality(100);
  jpeg.SetSamplingFrequencies(1, 1, 1, 1, 1, 1);
  jpeg.SampleHDC(surface.hdc(), p.width, p.height);
  return jpeg.SaveToMemory();
}

// CPU time of the whole process: the machine is shared, so wall time would measure the
// neighbours, and cJpeg codes stripes on a second thread, which this thread's time would miss.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// CPU seconds of every encode and the output size, per (encoder, picture).
struct Result {
  std::vector<double> seconds;
  size_t bytes = 0;
};
std::map<std::pair<std::string, int32_t>, Result>& Results() {
  static std::map<std::pair<std::string, int32_t>, Result> results;
  return results;
}

template <typename Encode>
void Run(benchmark::State& state, const std::string& name, Encode encode) {
  const Picture& p = PictureOf(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  Result& r = Results()[{name, p.width}];
  for (auto _ : state) {
    const double start = CpuSeconds();
    std::vector<uint8_t> bytes = encode(p);
    r.seconds.push_back(CpuSeconds() - start);
    r.bytes = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.counters["MP/s"] = benchmark::Counter(static_cast<double>(p.width) * p.height / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bytes"] = static_cast<double>(r.bytes);
}

void BM_cJpeg(benchmark::State& s) { Run(s, "cJpeg", EncodeLumora); }
void BM_LibjpegFloat(benchmark::State& s) {
  Run(s, "libjpeg-turbo float", [](const Picture& p) { return jpegtest::EncodeLibjpeg(*p.bitmap, JDCT_FLOAT, 1); });
}
void BM_LibjpegIslow(benchmark::State& s) {
  Run(s, "libjpeg-turbo islow", [](const Picture& p) { return jpegtest::EncodeLibjpeg(*p.bitmap, JDCT_ISLOW, 1); });
}

#define LUMORA_SIZES ->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()
BENCHMARK(BM_cJpeg) LUMORA_SIZES;
BENCHMARK(BM_LibjpegFloat) LUMORA_SIZES;
BENCHMARK(BM_LibjpegIslow) LUMORA_SIZES;

// The fastest run: on a shared machine the others are slowed by neighbours, not by the encoder.
double Best(const std::vector<double>& v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

void PrintTable() {
  std::printf("\n%-22s %-11s %9s %9s %10s\n", "encoder", "picture", "MP/s", "vs float", "bytes");
  for (int32_t width : {1920, 3840}) {
    const int32_t height = width == 1920 ? 1080 : 2160;
    const double mp = static_cast<double>(width) * height / 1e6;
    const Result& base = Results()[{"libjpeg-turbo float", width}];
    for (const char* name : {"cJpeg", "libjpeg-turbo float", "libjpeg-turbo islow"}) {
      const Result& r = Results()[{name, width}];
      if (r.seconds.empty()) continue;
      std::printf("%-22s %5dx%-5d %9.1f %8.2fx %10zu\n", name, width, height, mp / Best(r.seconds),
                  Best(base.seconds) / Best(r.seconds), r.bytes);
    }
  }
}

long StatusKiB(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(std::strlen(field)));
  return -1;
}

// Peak resident memory of one encode above what the process held before it.
int MeasurePeak() {
  const Picture& p = PictureOf(3840, 2160);
  std::ofstream("/proc/self/clear_refs") << "5";  // restart the high-water mark
  const long before = StatusKiB("VmRSS:");
  const size_t bytes = EncodeLumora(p).size();
  const long peak = StatusKiB("VmHWM:");
  std::printf("cJpeg 3840x2160 q100 4:4:4: %zu bytes; peak memory above the source picture: %.1f MiB "
              "(a store of every coefficient would take %.1f MiB)\n",
              bytes, (peak - before) / 1024.0, 3.0 * 3840 * 2160 * 2 / (1024.0 * 1024.0));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--peak") return MeasurePeak();
  const bool warm = argc > 1 && std::string(argv[1]) == "--warm";
  if (warm) {
    --argc, ++argv;
    mallopt(M_MMAP_THRESHOLD, 1 << 30);  // big blocks from the heap...
    mallopt(M_TRIM_THRESHOLD, 1 << 30);  // ...which keeps them for the next encode
  } else {
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);  // fixed: big blocks always mapped afresh
    mallopt(M_TRIM_THRESHOLD, 128 * 1024);
  }
  std::printf("memory: %s\n", warm ? "warm (reused between encodes)" : "cold (fresh for every encode)");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  PrintTable();
  return 0;
}
