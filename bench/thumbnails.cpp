// How long the template browser takes to show a category of 25 full-HD JPEG photographs, against
// the plain way (decode each whole picture, then shrink it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QImageReader>
#include <QListWidget>
#include <QPainter>
#include <QTemporaryDir>

#include "library/LibraryPictures.h"
#include "library/frmChooseClipart.h"

namespace {

constexpr int kPictures = 25;

// Photograph-like pictures: soft shapes over a gradient with sensor noise, so the JPEG coder has
// real detail to store (about 0.5 MB each at quality 90).
QImage Photograph(int seed) {
  QImage image(1920, 1080, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient sky(0, 0, 0, 1080);
  sky.setColorAt(0, QColor::fromHsv((seed * 37) % 360, 120, 230));
  sky.setColorAt(1, QColor::fromHsv((seed * 37 + 90) % 360, 160, 90));
  p.fillRect(image.rect(), sky);
  p.setRenderHint(QPainter::Antialiasing);
  uint32_t state = 2654435761u * static_cast<uint32_t>(seed + 1);
  const auto next = [&state] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  for (int i = 0; i < 60; ++i) {
    p.setBrush(QColor::fromHsv(static_cast<int>(next() % 360), 140, static_cast<int>(80 + next() % 170), 160));
    p.setPen(Qt::NoPen);
    const int r = static_cast<int>(20 + next() % 220);
    p.drawEllipse(QPoint(static_cast<int>(next() % 1920), static_cast<int>(next() % 1080)), r, r);
  }
  p.end();
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int n = static_cast<int>(next() % 17) - 8;
      const QRgb c = row[x];
      row[x] = qRgb(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255), std::clamp(qBlue(c) + n, 0, 255));
    }
  }
  return image;
}

// Two categories of 25 photographs, made once.
class PhotoLibrary {
 public:
  static PhotoLibrary& Get() {
    static PhotoLibrary library;
    return library;
  }
  QString root() const { return m_dir.path(); }
  QString category(int c) const { return m_dir.path() + QStringLiteral("/Photos/%1").arg(QChar(u'A' + c)); }
  const QStringList& files(int c) const { return m_files[c]; }

 private:
  PhotoLibrary() {
    for (int c = 0; c < 2; ++c) {
      QDir().mkpath(category(c));
      for (int i = 0; i < kPictures; ++i) {
        const QString path = category(c) + QStringLiteral("/photo%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        Photograph(c * kPictures + i).save(path, "JPG", 90);
        m_files[c] << path;
      }
    }
  }
  QTemporaryDir m_dir;
  QStringList m_files[2];
};

// What the user waits for: choosing another category until all 25 thumbnails are there.
void BM_BrowserSwitchesCategory(benchmark::State& state) {
  PhotoLibrary& library = PhotoLibrary::Get();
  lumora::frmChooseClipart::SetLibraryRoot(library.root());
  lumora::frmChooseClipart browser;
  browser.show();
  QApplication::processEvents();
  int row = 0;
  for (auto _ : state) {
    row = 1 - row;
    browser.combo2()->setCurrentRow(row);
    benchmark::DoNotOptimize(browser.SelectedIndex());
  }
  state.counters["pictures"] = kPictures;
  lumora::frmChooseClipart::SetLibraryRoot({});
}
BENCHMARK(BM_BrowserSwitchesCategory)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime()->MeasureProcessCPUTime();

// The thumbnails alone, as the browser reads them: header, then a reduced decode.
void BM_ReducedDecode(benchmark::State& state) {
  const QStringList& files = PhotoLibrary::Get().files(0);
  for (auto _ : state)
    for (const QString& path : files) {
      benchmark::DoNotOptimize(lumora::ReadLibraryPictureSize(path));
      benchmark::DoNotOptimize(lumora::ReadLibraryThumbnail(path, {114, 64}));
    }
}
BENCHMARK(BM_ReducedDecode)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The plain way, for comparison: the whole picture decoded, then shrunk.
void BM_FullDecodeThenScale(benchmark::State& state) {
  const QStringList& files = PhotoLibrary::Get().files(0);
  for (auto _ : state)
    for (const QString& path : files)
      benchmark::DoNotOptimize(QImage(path).scaled(114, 64, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}
BENCHMARK(BM_FullDecodeThenScale)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
