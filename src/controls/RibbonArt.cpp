#include "controls/RibbonArt.h"

#include <QColor>
#include <vector>

namespace lumora::RibbonArt {
namespace {

constexpr int kStripWidth = 3;
constexpr int kCapWidth = 4;

QRgb mix(QRgb a, QRgb b, int percentOfB) {
  auto channel = [&](int x, int y) { return (x * (100 - percentOfB) + y * percentOfB + 50) / 100; };
  return qRgb(channel(qRed(a), qRed(b)), channel(qGreen(a), qGreen(b)), channel(qBlue(a), qBlue(b)));
}

// Rows first..last (inclusive) fade linearly from one colour to the other.
void ramp(std::vector<QRgb>& rows, int first, int last, QRgb from, QRgb to) {
  for (int r = first; r <= last; ++r) {
    const int percent = last == first ? 0 : (r - first) * 100 / (last - first);
    rows[r] = mix(from, to, percent);
  }
}

std::vector<QRgb> panelRows() {
  std::vector<QRgb> rows(85);
  rows[0] = 0xC5D2DF;                        // top edge
  rows[1] = 0xEFF4FA;                        // highlight
  ramp(rows, 2, 68, 0xD5E5F3, 0xD5E5F3);     // body
  ramp(rows, 69, 83, 0xC0D9F0, 0xC3D9F2);    // caption band
  rows[84] = 0x9FC1DB;                       // bottom edge
  return rows;
}

std::vector<QRgb> containerRows() {
  std::vector<QRgb> rows(91);
  rows[0] = 0x8DB2E3;                        // top edge
  rows[1] = 0xE5EDF8;                        // highlight
  ramp(rows, 2, 17, 0xDCEBF7, 0xD0DEF0);     // upper body, darkening
  ramp(rows, 18, 22, 0xC7D8ED, 0xC7D8ED);    // darkest band
  ramp(rows, 23, 87, 0xC8D8ED, 0xE3F4FF);    // lower body, lightening
  rows[88] = 0xE7F2FF;
  rows[89] = 0xC0F9FF;                       // glow line
  rows[90] = 0x96AAC4;                       // bottom edge
  return rows;
}

QImage strip(const std::vector<QRgb>& rows) {
  QImage image(kStripWidth, static_cast<int>(rows.size()), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < kStripWidth; ++x) image.setPixel(x, y, rows[y]);
  return image;
}

// A left cap: the side edge outermost, a lighter highlight next to it, then the strip; the two
// top and bottom rows blend the edges into a rounded corner.
QImage leftCap(const std::vector<QRgb>& rows, QRgb edgeTop, QRgb edgeBottom) {
  const int h = static_cast<int>(rows.size());
  QImage image(kCapWidth, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y) {
    const QRgb edge = mix(edgeTop, edgeBottom, h > 1 ? y * 100 / (h - 1) : 0);
    image.setPixel(0, y, edge);
    image.setPixel(1, y, mix(rows[y], 0xFFFFFF, 45));
    image.setPixel(2, y, rows[y]);
    image.setPixel(3, y, rows[y]);
  }
  const QRgb top = rows.front(), bottom = rows.back();
  const QRgb cornerTop = mix(edgeTop, top, 50), cornerBottom = mix(edgeBottom, bottom, 50);
  image.setPixel(0, 0, mix(cornerTop, 0xFFFFFF, 60));
  image.setPixel(1, 0, cornerTop);
  image.setPixel(0, 1, cornerTop);
  image.setPixel(1, 1, mix(rows[1], top, 50));
  image.setPixel(0, h - 1, mix(cornerBottom, 0xFFFFFF, 60));
  image.setPixel(1, h - 1, cornerBottom);
  image.setPixel(0, h - 2, cornerBottom);
  image.setPixel(1, h - 2, mix(rows[h - 2], bottom, 50));
  return image;
}

Pictures build(const std::vector<QRgb>& rows, QRgb edgeTop, QRgb edgeBottom) {
  Pictures pictures;
  pictures.middle = strip(rows);
  pictures.leftCap = leftCap(rows, edgeTop, edgeBottom);
  pictures.rightCap = pictures.leftCap.mirrored(true, false);
  return pictures;
}

}  // namespace

const Pictures& Panel() {
  static const Pictures pictures = build(panelRows(), 0xC2D0DE, 0x9EC1DB);
  return pictures;
}

const Pictures& Container() {
  static const Pictures pictures = build(containerRows(), 0x8DB2E3, 0x8DB2E3);
  return pictures;
}

}  // namespace lumora::RibbonArt
