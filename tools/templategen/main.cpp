// Draws the bundled template library: <type>/<category>/<picture>, and templates/LICENSES.md
// naming how each picture was made. Deterministic: the same program makes the same files.
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>

#include "Artwork.h"

using namespace templategen;

namespace {

const std::vector<Palette> kPalettes = {
    {"Aurora", {QColor("#0f2027"), QColor("#203a43"), QColor("#2c5364"), QColor("#1fb58f"), QColor("#a8f0c6")}},
    {"Sunset", {QColor("#2b1055"), QColor("#7a2d75"), QColor("#d6456b"), QColor("#ff8c5a"), QColor("#ffd38a")}},
    {"Lagoon", {QColor("#023e58"), QColor("#0077b6"), QColor("#00b4d8"), QColor("#90e0ef"), QColor("#e0fbfc")}},
    {"Berry", {QColor("#240046"), QColor("#5a189a"), QColor("#9d4edd"), QColor("#ff6a88"), QColor("#ffc2d1")}},
    {"Peach", {QColor("#e07a5f"), QColor("#f2a07b"), QColor("#fcb69f"), QColor("#ffe3cf"), QColor("#fff6ee")}},
    {"Forest", {QColor("#0b2b26"), QColor("#134e5e"), QColor("#357a5b"), QColor("#71b280"), QColor("#d8f3dc")}},
    {"Ember", {QColor("#1a0409"), QColor("#4a0a12"), QColor("#9b1d20"), QColor("#ff512f"), QColor("#ffb347")}},
    {"Ocean", {QColor("#0b1d51"), QColor("#1a2980"), QColor("#2568a8"), QColor("#26d0ce"), QColor("#c9fff7")}},
    {"Lavender", {QColor("#5e548e"), QColor("#9f86c0"), QColor("#be95c4"), QColor("#e0c3fc"), QColor("#f5ecff")}},
    {"Citrus", {QColor("#d35400"), QColor("#f7971e"), QColor("#ffb800"), QColor("#ffd200"), QColor("#fff6b0")}},
    {"Slate", {QColor("#161a1d"), QColor("#232526"), QColor("#414345"), QColor("#5f8ea3"), QColor("#a9dcee")}},
    {"Rose", {QColor("#6d2e46"), QColor("#a26769"), QColor("#ee9ca7"), QColor("#ffdde1"), QColor("#fff5f6")}},
    {"Mint", {QColor("#1b4332"), QColor("#2d6a4f"), QColor("#52b788"), QColor("#b7e4c7"), QColor("#f1fff0")}},
    {"Midnight", {QColor("#0f0c29"), QColor("#302b63"), QColor("#24243e"), QColor("#4b4aa8"), QColor("#a5a3ff")}},
    {"Coral", {QColor("#5f0f40"), QColor("#9a031e"), QColor("#ff5e62"), QColor("#ff9966"), QColor("#ffd6a5")}},
    {"Sky", {QColor("#3a6ea5"), QColor("#6d9dc5"), QColor("#a1c4fd"), QColor("#c2e9fb"), QColor("#f4fbff")}},
};

struct Category {
  const char* name;
  Style style;
  const char* styleName;
};

struct ImageType {
  const char* name;
  std::vector<QSize> sizes;  // used in turn
  std::vector<Category> categories;
  const char* format;
  int quality;
};

const std::vector<ImageType> kLibrary = {
    {"Banners",
     {{468, 60}, {728, 90}},
     {{"Geometric", Style::Geometric, "geometric shapes"},
      {"Gradients", Style::Gradient, "gradient with soft light"},
      {"Waves", Style::Waves, "layered waves"}},
     "jpg",
     90},
    {"Buttons",
     {{88, 31}, {120, 40}, {160, 48}, {200, 60}},
     {{"Flat", Style::FlatButton, "flat button"}, {"Glossy", Style::GlossyButton, "glossy button"}},
     "png",
     -1},
    {"Covers",
     {{600, 900}, {1600, 2400}},
     {{"Abstract", Style::Ribbons, "ribbons of light"},
      {"Bokeh", Style::Bokeh, "bokeh lights"},
      {"Soft Textures", Style::Texture, "soft noise texture"}},
     "jpg",
     85},
    {"Social Headers",
     {{1500, 500}, {1200, 628}},
     {{"Gradients", Style::Gradient, "gradient with soft light"},
      {"Low Poly", Style::LowPoly, "low-poly triangles"},
      {"Waves", Style::Waves, "layered waves"}},
     "jpg",
     88},
};

constexpr int kPicturesPerCategory = 8;

uint64_t SeedFor(const QString& key) {
  uint64_t h = 1469598103934665603ull;  // FNV-1a
  for (QChar c : key) h = (h ^ c.unicode()) * 1099511628211ull;
  return h;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: templategen <templates folder>\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]);
  QFile licences(root + "/LICENSES.md");
  QDir().mkpath(root);
  if (!licences.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 1;
  QTextStream notes(&licences);
  notes << "# Template library: sources and licences\n\n"
           "Every picture in this folder is original artwork drawn by `tools/templategen` (part of this\n"
           "repository) from the style, palette, size and seed listed below; no photograph or other\n"
           "third-party material is included. The pictures are dedicated to the public domain under\n"
           "CC0 1.0 (https://creativecommons.org/publicdomain/zero/1.0/): use them freely.\n\n"
           "To make them again: `cmake -S tools/templategen -B build-templategen && cmake --build build-templategen &&\n"
           "build-templategen/templategen templates`.\n\n"
           "| Picture | Size | Made as | Palette | Seed |\n|---|---|---|---|---|\n";
  int typeIndex = 0;
  for (const ImageType& type : kLibrary) {
    int categoryIndex = 0;
    for (const Category& category : type.categories) {
      const QString folder = root + '/' + type.name + '/' + category.name;
      QDir().mkpath(folder);
      for (int i = 0; i < kPicturesPerCategory; ++i) {
        const Palette& palette = kPalettes[size_t((typeIndex * 7 + categoryIndex * 5 + i * 3) % int(kPalettes.size()))];
        const QSize size = type.sizes[size_t(i) % type.sizes.size()];
        const QString name = QString("%1 %2x%3.%4").arg(palette.name).arg(size.width()).arg(size.height()).arg(type.format);
        const QString relative = QString("%1/%2/%3").arg(type.name, category.name, name);
        const uint64_t seed = SeedFor(relative);
        const QImage picture = Paint(category.style, palette, size, seed);
        if (!picture.save(folder + '/' + name, nullptr, type.quality)) {
          std::fprintf(stderr, "cannot write %s\n", qPrintable(relative));
          return 1;
        }
        notes << "| " << relative << " | " << size.width() << " x " << size.height() << " | " << category.styleName
              << " | " << palette.name << " | " << QString::number(seed, 16) << " |\n";
      }
      ++categoryIndex;
    }
    ++typeIndex;
  }
  return 0;
}
