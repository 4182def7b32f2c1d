// Raster layer speed: halftone and colour-on-colour shrinking of a full-HD picture to a
// thumbnail, and BMP writing and reading of a full-HD 24-bit picture, next to Qt doing the same.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <filesystem>
#include <random>

#include "imaging/raster/Blit.h"
#include "imaging/raster/BmpFile.h"

using namespace lumora::raster;

namespace {

constexpr int32_t kWidth = 1920, kHeight = 1080, kThumbWidth = 150, kThumbHeight = 84;

std::shared_ptr<Bitmap> Photo(int bpp) {
  auto b = Bitmap::Create(kWidth, kHeight, bpp);
  std::mt19937 rng(1);
  for (int32_t y = 0; y < kHeight; ++y)
    for (int32_t x = 0; x < kWidth; ++x) b->setPixelValue(x, y, (rng() & 0x3F3F3F) + static_cast<uint32_t>(x / 8 + y / 8));
  return b;
}

void Shrink(benchmark::State& state, int mode) {
  const auto src = Photo(32);
  auto dst = Bitmap::Create(kThumbWidth, kThumbHeight, 32);
  for (auto _ : state) {
    StretchBlt(*dst, 0, 0, kThumbWidth, kThumbHeight, *src, 0, 0, kWidth, kHeight, SRCCOPY, mode);
    benchmark::DoNotOptimize(dst->bits());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

void BM_StretchHalftone(benchmark::State& state) { Shrink(state, HALFTONE); }
void BM_StretchColorOnColor(benchmark::State& state) { Shrink(state, COLORONCOLOR); }

void BM_QtSmoothScaled(benchmark::State& state) {
  const auto src = Photo(32);
  const QImage image(src->bits(), kWidth, kHeight, src->stride(), QImage::Format_RGB32);
  for (auto _ : state) benchmark::DoNotOptimize(image.scaled(kThumbWidth, kThumbHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

// The export route's copy of a 32-bit composite into a 24-bit image.
void BM_BitBlt32To24(benchmark::State& state) {
  const auto src = Photo(32);
  auto dst = Bitmap::Create(kWidth, kHeight, 24, RowOrder::BottomUp);
  for (auto _ : state) BitBlt(*dst, 0, 0, kWidth, kHeight, *src, 0, 0, SRCCOPY);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

// cImage's quarter turn of a full-HD 24-bit picture.
void BM_PlgBltQuarterTurn(benchmark::State& state) {
  auto src = CreateCompatibleDC(), dst = CreateCompatibleDC();
  src->SelectBitmap(Photo(24));
  dst->SelectBitmap(Bitmap::Create(kHeight, kWidth, 24));
  const Point corners[3] = {{0, kWidth}, {0, 0}, {kHeight, kWidth}};
  for (auto _ : state) PlgBlt(dst.get(), corners, src.get(), 0, 0, kWidth, kHeight);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->bitmap()->sizeBytes()));
}

void BM_BmpEncode24(benchmark::State& state) {
  const auto src = Photo(24);
  for (auto _ : state) benchmark::DoNotOptimize(EncodeBmp(*src));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

void BM_BmpWriteFile24(benchmark::State& state) {
  const auto src = Photo(24);
  const auto path = std::filesystem::temp_directory_path() / "lumora_raster_bench.bmp";
  for (auto _ : state)
    if (!WriteBmpFile(path, *src)) state.SkipWithError("write failed");
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

void BM_BmpDecode24(benchmark::State& state) {
  const auto bytes = EncodeBmp(*Photo(24));
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmp(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_BmpReadFile24(benchmark::State& state) {
  const auto path = std::filesystem::temp_directory_path() / "lumora_raster_bench_read.bmp";
  const auto src = Photo(24);
  WriteBmpFile(path, *src);
  for (auto _ : state) benchmark::DoNotOptimize(ReadBmpFile(path));
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

void BM_QtBmpEncode24(benchmark::State& state) {
  const auto src = Photo(24);
  const QImage image(src->bits(), kWidth, kHeight, src->stride(), QImage::Format_BGR888);
  for (auto _ : state) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    benchmark::DoNotOptimize(data.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(src->sizeBytes()));
}

void BM_QtBmpDecode24(benchmark::State& state) {
  const auto bytes = EncodeBmp(*Photo(24));
  for (auto _ : state) {
    QImage image;
    image.loadFromData(bytes.data(), static_cast<int>(bytes.size()), "BMP");
    benchmark::DoNotOptimize(image.bits());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

}  // namespace

BENCHMARK(BM_StretchHalftone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StretchColorOnColor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtSmoothScaled)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BitBlt32To24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlgBltQuarterTurn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpEncode24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpWriteFile24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpDecode24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BmpReadFile24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtBmpEncode24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtBmpDecode24)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
