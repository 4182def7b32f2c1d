// The GIF route (EncodeReducedGIF: ConvertTo8bpp and EncodeGIF to memory, side by side on two
// threads, so timed by the clock), with the classic (thumbnail) palette and with the best
// (whole-picture) one, against libimagequant (quantise and remap with dithering) followed by
// giflib's writer, on photographs of 1920 x 1080 and 3840 x 2160 and on a text banner; and the
// LZW writer alone against giflib's EGifPutLine on identical indices.
// Counters: megapixels per second, file bytes, PSNR, and PSNR after a 5 x 5 binomial blur of both
// pictures (the fair measure for error diffusion). The GIF route runs also report the PSNR of the
// other two reductions of the same picture (PSNRclassic, PSNRbest, PSNRliq), side by side.
//
// The photograph is LUMORA_BENCH_PHOTO, else a wallpaper photograph when installed
// (Debian's lomiri-wallpapers-20.04), else a synthetic picture; it is scaled to each size.
#include <benchmark/benchmark.h>
#include <libimagequant.h>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "../tests/imaging/GifTestSupport.h"
#include "../tests/imaging/SurfaceBuilders.h"
#include "imaging/GifLzwEncoder.h"
#include "imaging/GifRoute.h"
#include "imaging/cDIB.h"
#include "imaging/cPal8bpp.h"
#include "imaging/mDither8bpp.h"
#include "imaging/mGIFSave.h"

namespace {

// giflib's writer on the same indices: a whole file in memory (empty on failure).
std::vector<uint8_t> EncodeWithGiflib(std::span<const uint8_t> indices, int width, int height,
                                             std::span<const std::array<uint8_t, 3>> colours) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(
      &out,
      [](GifFileType* g, const GifByteType* bytes, int size) {
        auto* v = static_cast<std::vector<uint8_t>*>(g->UserData);
        v->insert(v->end(), bytes, bytes + size);
        return size;
      },
      &error);
  if (!gif) return {};
  int bits = 1;
  while ((1 << bits) < static_cast<int>(colours.size())) ++bits;
  std::vector<GifColorType> table(size_t{1} << bits, GifColorType{0, 0, 0});
  for (size_t i = 0; i < colours.size(); ++i) table[i] = {colours[i][0], colours[i][1], colours[i][2]};
  ColorMapObject* map = GifMakeMapObject(1 << bits, table.data());
  bool ok = EGifPutScreenDesc(gif, width, height, 8, 0, map) == GIF_OK &&
            EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr) == GIF_OK;
  for (int y = 0; ok && y < height; ++y)
    ok = EGifPutLine(gif, const_cast<GifPixelType*>(indices.data() + static_cast<size_t>(y) * width), width) == GIF_OK;
  GifFreeMapObject(map);
  if (EGifCloseFile(gif, &error) != GIF_OK) ok = false;
  if (!ok) out.clear();
  return out;
}


using namespace lumora;

constexpr const char* kWallpaper = "/usr/share/backgrounds/Kleiber_by_Lukas_Baubkus.jpg";

QImage SourcePhoto() {
  const char* env = std::getenv("LUMORA_BENCH_PHOTO");
  const std::string path = env ? env : kWallpaper;
  QImage photo;
  if (std::filesystem::exists(path)) photo.load(QString::fromStdString(path));
  if (photo.isNull()) {
    const auto pixels = testsurface::PhotoLike(1920, 1080, 1);
    photo = QImage(1920, 1080, QImage::Format_RGB32);
    for (int y = 0; y < 1080; ++y)
      for (int x = 0; x < 1920; ++x) {
        const auto& c = pixels[static_cast<size_t>(y) * 1920 + x];
        photo.setPixel(x, y, qRgb(c.r, c.g, c.b));
      }
  }
  return photo.convertToFormat(QImage::Format_RGB32);
}

QImage Banner() {
  QImage banner(1920, 480, QImage::Format_RGB32);
  QPainter painter(&banner);
  QLinearGradient gradient(0, 0, 1920, 480);
  gradient.setColorAt(0, QColor(20, 40, 120));
  gradient.setColorAt(1, QColor(230, 120, 40));
  painter.fillRect(banner.rect(), gradient);
  painter.setRenderHint(QPainter::TextAntialiasing);
  QFont font("DejaVu Sans");
  font.setPixelSize(150);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(0, 0, 0, 140));
  painter.drawText(banner.rect().translated(8, 8), Qt::AlignCenter, "Summer Sale");
  painter.setPen(QColor(255, 250, 220));
  painter.drawText(banner.rect(), Qt::AlignCenter, "Summer Sale");
  return banner;
}

struct Picture {
  QImage image;  // RGB32: blue, green, red, 0xFF in memory
  std::unique_ptr<cDIB> dib;
};

const Picture& PictureNamed(const std::string& name) {
  static std::map<std::string, Picture> cache;
  auto it = cache.find(name);
  if (it != cache.end()) return it->second;
  QImage image;
  if (name == "banner") {
    image = Banner();
  } else {
    static const QImage photo = SourcePhoto();
    const QSize size = name == "photo2160" ? QSize(3840, 2160) : QSize(1920, 1080);
    image = photo.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation)
                .copy(QRect(QPoint(0, 0), size))
                .convertToFormat(QImage::Format_RGB32);
  }
  auto dib = std::make_unique<cDIB>();
  dib->Create(image.width(), image.height(), 32);
  for (int y = 0; y < image.height(); ++y)
    std::memcpy(dib->lpBits() + static_cast<size_t>(y) * dib->BytesPerScanLine(), image.constScanLine(y),
                static_cast<size_t>(image.width()) * 4);
  return cache.emplace(name, Picture{image, std::move(dib)}).first->second;
}

// Channel values of a picture as planes of doubles, optionally blurred with 1 4 6 4 1 / 16 twice.
std::vector<double> Planes(int w, int h, const std::function<std::array<uint8_t, 3>(int, int)>& at, bool blur) {
  std::vector<double> v(static_cast<size_t>(w) * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const auto c = at(x, y);
      for (int k = 0; k < 3; ++k) v[(static_cast<size_t>(y) * w + x) * 3 + k] = c[static_cast<size_t>(k)];
    }
  if (!blur) return v;
  static constexpr double kTaps[5] = {1, 4, 6, 4, 1};
  auto pass = [&](bool horizontal) {
    std::vector<double> out(v.size());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        for (int k = 0; k < 3; ++k) {
          double sum = 0;
          for (int t = -2; t <= 2; ++t) {
            const int sx = horizontal ? std::clamp(x + t, 0, w - 1) : x;
            const int sy = horizontal ? y : std::clamp(y + t, 0, h - 1);
            sum += kTaps[t + 2] * v[(static_cast<size_t>(sy) * w + sx) * 3 + k];
          }
          out[(static_cast<size_t>(y) * w + x) * 3 + k] = sum / 16;
        }
    v.swap(out);
  };
  pass(true);
  pass(false);
  return v;
}

double Psnr(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (size_t i = 0; i < a.size(); ++i) sum += (a[i] - b[i]) * (a[i] - b[i]);
  const double mse = sum / static_cast<double>(a.size());
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

// The indices and colours of one reduction.
struct Reduced {
  std::vector<uint8_t> indices;
  std::vector<std::array<uint8_t, 3>> colours;
};

double PsnrOf(const QImage& original, const Reduced& r, bool blur = false) {
  const int w = original.width(), h = original.height();
  auto source = [&](int x, int y) {
    const QRgb c = original.pixel(x, y);
    return std::array<uint8_t, 3>{static_cast<uint8_t>(qRed(c)), static_cast<uint8_t>(qGreen(c)), static_cast<uint8_t>(qBlue(c))};
  };
  auto reduced = [&](int x, int y) { return r.colours[r.indices[static_cast<size_t>(y) * w + x]]; };
  return Psnr(Planes(w, h, source, blur), Planes(w, h, reduced, blur));
}

void ReportQuality(benchmark::State& state, const QImage& original, const Reduced& r) {
  state.counters["PSNR"] = PsnrOf(original, r);
  state.counters["PSNRblur"] = PsnrOf(original, r, true);
}

void SetRate(benchmark::State& state, const QImage& image, size_t bytes) {
  state.counters["MP/s"] = benchmark::Counter(image.width() * image.height() / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bytes"] = static_cast<double>(bytes);
}

// The GIF route in a palette mode, timed as a whole when state is given; the last run's result.
Reduced LumoraGif(const Picture& picture, int32_t paletteMode, std::vector<uint8_t>& file, benchmark::State* state = nullptr) {
  mDither8bpp::InitDitherTables();
  mGIFSave::InitGIFMasks();
  mDither8bpp::SetPaletteMode(paletteMode);
  mDither8bpp::SetDitherMode(mDither8bpp::kDitherDiffusion);
  cDIB target;
  cPal8bpp palette;
  if (state)
    for (auto _ : *state) {
      EncodeReducedGIF(*picture.dib, target, palette, -1, false, {}, file);
      benchmark::DoNotOptimize(file.data());
    }
  else
    EncodeReducedGIF(*picture.dib, target, palette, -1, false, {}, file);
  Reduced r{testsurface::Indices(target), {}};
  for (int i = 0; i < palette.Entries(); ++i) r.colours.push_back({palette.rgbR(i), palette.rgbG(i), palette.rgbB(i)});
  return r;
}

// Quantise and remap with dithering, then giflib's writer; timed as a whole when state is given.
Reduced Libimagequant(const Picture& picture, std::vector<uint8_t>& file, benchmark::State* state = nullptr) {
  const QImage rgba = picture.image.convertToFormat(QImage::Format_RGBA8888);
  const int w = rgba.width(), h = rgba.height();
  Reduced r{std::vector<uint8_t>(static_cast<size_t>(w) * h), {}};
  auto once = [&] {
    liq_attr* attr = liq_attr_create();
    liq_image* image = liq_image_create_rgba(attr, rgba.constBits(), w, h, 0);
    liq_result* result = nullptr;
    const bool ok = liq_image_quantize(image, attr, &result) == LIQ_OK;
    if (ok) {
      liq_set_dithering_level(result, 1.0F);
      liq_write_remapped_image(result, image, r.indices.data(), r.indices.size());
      const liq_palette* palette = liq_get_palette(result);
      r.colours.clear();
      for (unsigned i = 0; i < palette->count; ++i) r.colours.push_back({palette->entries[i].r, palette->entries[i].g, palette->entries[i].b});
      if (r.colours.size() < 2) r.colours.resize(2);
      file = EncodeWithGiflib(r.indices, w, h, r.colours);
      benchmark::DoNotOptimize(file.data());
      liq_result_destroy(result);
    }
    liq_image_destroy(image);
    liq_attr_destroy(attr);
    return ok;
  };
  if (!state) {
    once();
    return r;
  }
  for (auto _ : *state)
    if (!once()) {
      state->SkipWithError("libimagequant failed");
      break;
    }
  return r;
}

void BM_LumoraGifRoute(benchmark::State& state, const std::string& name, int32_t paletteMode) {
  const Picture& picture = PictureNamed(name);
  std::vector<uint8_t> file;
  const Reduced reduced = LumoraGif(picture, paletteMode, file, &state);
  SetRate(state, picture.image, file.size());
  ReportQuality(state, picture.image, reduced);
  std::vector<uint8_t> other;
  state.counters["PSNRclassic"] = PsnrOf(picture.image, LumoraGif(picture, mDither8bpp::kPaletteOptimal, other));
  state.counters["PSNRbest"] = PsnrOf(picture.image, LumoraGif(picture, mDither8bpp::kPaletteBest, other));
  state.counters["PSNRliq"] = PsnrOf(picture.image, Libimagequant(picture, other));
}

void BM_LibimagequantGiflib(benchmark::State& state, const std::string& name) {
  const Picture& picture = PictureNamed(name);
  std::vector<uint8_t> file;
  const Reduced reduced = Libimagequant(picture, file, &state);
  SetRate(state, picture.image, file.size());
  ReportQuality(state, picture.image, reduced);
}

// Identical indices for both LZW writers: the route's own 8-bit picture.
struct Indexed {
  int32_t width, height;
  std::vector<uint8_t> indices;
  std::vector<std::array<uint8_t, 3>> colours;
};

const Indexed& IndexedPhoto() {
  static const Indexed indexed = [] {
    const Picture& picture = PictureNamed("photo1080");
    cDIB target;
    cPal8bpp palette;
    mDither8bpp::ConvertTo8bpp(*picture.dib, target, palette);
    Indexed i{target.Width(), target.Height(), testsurface::Indices(target), {}};
    for (int e = 0; e < 256; ++e) i.colours.push_back({palette.rgbR(e), palette.rgbG(e), palette.rgbB(e)});
    return i;
  }();
  return indexed;
}

void BM_LzwLumora(benchmark::State& state) {
  const Indexed& in = IndexedPhoto();
  std::vector<const uint8_t*> rows;
  for (int32_t y = 0; y < in.height; ++y) rows.push_back(in.indices.data() + static_cast<size_t>(y) * in.width);
  GifLzwEncoder encoder(8, mGIFSave::Masks());
  std::vector<uint8_t> out;
  for (auto _ : state) {
    out.clear();
    encoder.Encode(rows, in.width, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["MP/s"] = benchmark::Counter(in.width * in.height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bytes"] = static_cast<double>(out.size());
}

// The colour reduction alone (thumbnail, optimal palette, inverse table, diffusion).
void BM_ConvertTo8bpp(benchmark::State& state) {
  const Picture& picture = PictureNamed("photo1080");
  cDIB target;
  cPal8bpp palette;
  for (auto _ : state) {
    mDither8bpp::ConvertTo8bpp(*picture.dib, target, palette);
    benchmark::DoNotOptimize(target.lpBits());
  }
  state.counters["MP/s"] = benchmark::Counter(target.Width() * target.Height() / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_LzwGiflib(benchmark::State& state) {
  const Indexed& in = IndexedPhoto();
  std::vector<uint8_t> out;
  for (auto _ : state) {
    out = EncodeWithGiflib(in.indices, in.width, in.height, in.colours);
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["MP/s"] = benchmark::Counter(in.width * in.height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
  state.counters["bytes"] = static_cast<double>(out.size());
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  for (const std::string name : {"photo1080", "photo2160", "banner"}) {
    benchmark::RegisterBenchmark(("LumoraGifRoute/" + name).c_str(), BM_LumoraGifRoute, name, mDither8bpp::kPaletteOptimal)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();  // two threads: the rate is by the clock
    benchmark::RegisterBenchmark(("LumoraGifBest/" + name).c_str(), BM_LumoraGifRoute, name, mDither8bpp::kPaletteBest)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("LibimagequantGiflib/" + name).c_str(), BM_LibimagequantGiflib, name)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("ConvertTo8bpp/photo1080", BM_ConvertTo8bpp)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("LzwLumora/photo1080", BM_LzwLumora)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("LzwGiflib/photo1080", BM_LzwGiflib)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
