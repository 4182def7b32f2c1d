#include "Artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

namespace templategen {
namespace {

constexpr double kPi = 3.14159265358979323846;

QColor Mix(const QColor& a, const QColor& b, double t) {
  return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                          static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                          static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

QColor WithAlpha(QColor c, double alpha) {
  c.setAlphaF(static_cast<float>(alpha));
  return c;
}

QColor Lighter(const QColor& c, double amount) { return Mix(c, Qt::white, amount); }
QColor Darker(const QColor& c, double amount) { return Mix(c, Qt::black, amount); }

// A gradient through the whole palette along a line at `angle` across the picture.
QLinearGradient PaletteGradient(const Palette& palette, QSize size, double angle) {
  const QPointF centre(size.width() / 2.0, size.height() / 2.0);
  const double reach = std::hypot(size.width(), size.height()) / 2.0;
  const QPointF d(std::cos(angle) * reach, std::sin(angle) * reach);
  QLinearGradient g(centre - d, centre + d);
  const size_t n = palette.colours.size();
  for (size_t i = 0; i < n; ++i) g.setColorAt(n == 1 ? 0.0 : double(i) / double(n - 1), palette.colours[i]);
  return g;
}

// Soft light spots: large radial gradients fading to nothing.
void Glows(QPainter& p, const Palette& palette, QSize size, Rng& rng, int count, double strength) {
  for (int i = 0; i < count; ++i) {
    const QPointF at(rng.range(-0.1, 1.1) * size.width(), rng.range(-0.1, 1.1) * size.height());
    const double radius = rng.range(0.35, 0.8) * std::max(size.width(), size.height());
    QRadialGradient g(at, radius);
    const QColor c = palette.at(rng.uniform());
    g.setColorAt(0, WithAlpha(Lighter(c, 0.25), strength));
    g.setColorAt(1, WithAlpha(c, 0));
    p.fillRect(QRect(QPoint(), size), g);
  }
}

// Fine film grain, so that wide gradients do not band.
void Grain(QImage& image, Rng& rng, int amount) {
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int n = rng.below(2 * amount + 1) - amount;
      const QRgb c = row[x];
      row[x] = qRgba(std::clamp(qRed(c) + n, 0, 255), std::clamp(qGreen(c) + n, 0, 255), std::clamp(qBlue(c) + n, 0, 255),
                     qAlpha(c));
    }
  }
}

void PaintGradient(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  p.fillRect(QRect(QPoint(), size), PaletteGradient(palette, size, rng.range(0, 2 * kPi)));
  Glows(p, palette, size, rng, 3 + rng.below(3), 0.45);
}

void PaintWaves(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  const double w = size.width(), h = size.height();
  p.fillRect(QRect(QPoint(), size), PaletteGradient(palette, size, kPi / 2 + rng.range(-0.3, 0.3)));
  Glows(p, palette, size, rng, 2, 0.3);
  const int layers = 5 + rng.below(3);
  for (int layer = 0; layer < layers; ++layer) {
    const double base = h * (0.35 + 0.6 * layer / layers);
    const double amp1 = h * rng.range(0.04, 0.12), amp2 = h * rng.range(0.02, 0.06);
    const double f1 = rng.range(0.8, 2.2) * 2 * kPi / w, f2 = rng.range(2.5, 5.0) * 2 * kPi / w;
    const double ph1 = rng.range(0, 2 * kPi), ph2 = rng.range(0, 2 * kPi);
    QPainterPath path(QPointF(0, h));
    for (int x = 0; x <= size.width(); x += std::max(1, size.width() / 200))
      path.lineTo(x, base + amp1 * std::sin(f1 * x + ph1) + amp2 * std::sin(f2 * x + ph2));
    path.lineTo(w, base + amp1 * std::sin(f1 * w + ph1) + amp2 * std::sin(f2 * w + ph2));
    path.lineTo(w, h);
    path.closeSubpath();
    const double t = double(layer + 1) / layers;
    QLinearGradient g(0, base - amp1, w, base + amp1);
    g.setColorAt(0, WithAlpha(palette.at(1 - t * 0.8), 0.45 + 0.35 * t));
    g.setColorAt(1, WithAlpha(palette.at(std::min(1.0, 1.15 - t * 0.8)), 0.45 + 0.35 * t));
    p.fillPath(path, g);
    p.strokePath(path, QPen(WithAlpha(Qt::white, 0.18), std::max(1.0, h / 300)));
  }
}

void PaintLowPoly(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  const double w = size.width(), h = size.height();
  const double cell = std::max(12.0, std::min(w, h) / rng.range(2.5, 4.5));
  const int cols = static_cast<int>(std::ceil(w / cell)) + 1, rows = static_cast<int>(std::ceil(h / cell)) + 1;
  std::vector<QPointF> pts(static_cast<size_t>(cols * rows));
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const bool edgeX = c == 0 || c == cols - 1, edgeY = r == 0 || r == rows - 1;
      const double jx = edgeX ? 0 : rng.range(-0.4, 0.4) * cell, jy = edgeY ? 0 : rng.range(-0.4, 0.4) * cell;
      pts[static_cast<size_t>(r * cols + c)] = QPointF(std::min(w, c * cell + jx), std::min(h, r * cell + jy));
    }
  const double angle = rng.range(0, kPi);
  const QPointF dir(std::cos(angle), std::sin(angle));
  const double span = std::abs(dir.x()) * w + std::abs(dir.y()) * h;
  const double start = std::min({0.0, dir.x() * w}) + std::min({0.0, dir.y() * h});
  p.setRenderHint(QPainter::Antialiasing, false);
  for (int r = 0; r + 1 < rows; ++r)
    for (int c = 0; c + 1 < cols; ++c) {
      const QPointF a = pts[size_t(r * cols + c)], b = pts[size_t(r * cols + c + 1)], d = pts[size_t((r + 1) * cols + c)],
                    e = pts[size_t((r + 1) * cols + c + 1)];
      const bool flip = rng.below(2) == 0;
      const QPointF tris[2][3] = {{a, b, flip ? e : d}, {flip ? a : b, e, d}};
      for (const auto& t : tris) {
        const QPointF m = (t[0] + t[1] + t[2]) / 3;
        const double along = ((m.x() * dir.x() + m.y() * dir.y()) - start) / span;
        QColor col = palette.at(std::clamp(along + rng.range(-0.06, 0.06), 0.0, 1.0));
        col = rng.below(2) ? Lighter(col, rng.range(0, 0.12)) : Darker(col, rng.range(0, 0.12));
        QPolygonF poly;
        poly << t[0] << t[1] << t[2];
        p.setPen(QPen(col, 1));
        p.setBrush(col);
        p.drawPolygon(poly);
      }
    }
  p.setRenderHint(QPainter::Antialiasing, true);
  Glows(p, palette, size, rng, 1, 0.25);
}

void PaintGeometric(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  const double w = size.width(), h = size.height();
  p.fillRect(QRect(QPoint(), size), PaletteGradient(palette, size, rng.range(0, 2 * kPi)));
  p.setPen(Qt::NoPen);
  switch (rng.below(3)) {
    case 0: {  // concentric rings from a corner
      const QPointF at(rng.below(2) ? w * 0.9 : w * 0.1, rng.below(2) ? h : 0);
      const double step = std::max(w, h) / rng.range(8, 14);
      for (int i = 18; i >= 1; --i) {
        p.setBrush(WithAlpha(i % 2 ? Lighter(palette.at(i / 18.0), 0.15) : Darker(palette.at(i / 18.0), 0.1), 0.35));
        p.drawEllipse(at, i * step, i * step);
      }
      break;
    }
    case 1: {  // diagonal bands
      const double step = std::max(w, h) / rng.range(6, 12);
      p.save();
      p.translate(w / 2, h / 2);
      p.rotate(rng.range(-60, 60));
      const double reach = std::hypot(w, h);
      for (double x = -reach; x < reach; x += step) {
        p.setBrush(WithAlpha(rng.below(2) ? Qt::white : Qt::black, rng.range(0.04, 0.16)));
        p.drawRect(QRectF(x, -reach, step * rng.range(0.3, 0.9), 2 * reach));
      }
      p.restore();
      break;
    }
    default: {  // scattered translucent hexagons
      const int count = 12 + rng.below(14);
      for (int i = 0; i < count; ++i) {
        const QPointF at(rng.uniform() * w, rng.uniform() * h);
        const double r = rng.range(0.08, 0.35) * std::min(w, h) * (w > 3 * h ? 1.6 : 1.0);
        QPolygonF hex;
        for (int k = 0; k < 6; ++k) hex << at + QPointF(r * std::cos(k * kPi / 3), r * std::sin(k * kPi / 3));
        p.setBrush(WithAlpha(Lighter(palette.at(rng.uniform()), 0.2), rng.range(0.12, 0.35)));
        p.drawPolygon(hex);
      }
    }
  }
  Glows(p, palette, size, rng, 2, 0.25);
}

void PaintBokeh(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  const double w = size.width(), h = size.height();
  QLinearGradient bg(0, 0, w * 0.3, h);
  bg.setColorAt(0, Darker(palette.colours.front(), 0.55));
  bg.setColorAt(1, Darker(palette.colours.back(), 0.45));
  p.fillRect(QRect(QPoint(), size), bg);
  Glows(p, palette, size, rng, 2, 0.35);
  const int count = 40 + rng.below(50);
  const double unit = std::min(w, h);
  for (int i = 0; i < count; ++i) {
    const QPointF at(rng.uniform() * w, rng.uniform() * h);
    const double r = unit * (rng.uniform() < 0.8 ? rng.range(0.02, 0.07) : rng.range(0.08, 0.16));
    const QColor c = Lighter(palette.at(rng.uniform()), 0.35);
    QRadialGradient g(at, r);
    const double alpha = rng.range(0.15, 0.5);
    g.setColorAt(0, WithAlpha(c, alpha * 0.7));
    g.setColorAt(0.85, WithAlpha(c, alpha));
    g.setColorAt(1, WithAlpha(c, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(at, r, r);
  }
}

// Value noise in octaves: soft clouds and marbling.
void PaintTexture(QImage& image, const Palette& palette, Rng& rng) {
  const int grid = 64;
  std::vector<double> lattice(size_t(grid * grid));
  for (double& v : lattice) v = rng.uniform();
  const auto at = [&](int x, int y) { return lattice[size_t(((y % grid + grid) % grid) * grid + (x % grid + grid) % grid)]; };
  const auto smooth = [](double t) { return t * t * (3 - 2 * t); };
  const auto noise = [&](double x, double y) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const double fx = smooth(x - ix), fy = smooth(y - iy);
    const double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * fx;
    const double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
  };
  const double scale = 3.5 / std::max(image.width(), image.height());
  const double marble = rng.range(0, 1) < 0.5 ? rng.range(2.5, 5) : 0;
  const double offX = rng.range(0, 40), offY = rng.range(0, 40);
  std::vector<QColor> ramp(256);
  for (int i = 0; i < 256; ++i) ramp[size_t(i)] = palette.at(i / 255.0);
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      double v = 0, amp = 0.5, f = 1;
      for (int o = 0; o < 5; ++o, amp *= 0.5, f *= 2) v += amp * noise(offX + x * scale * f, offY + y * scale * f);
      if (marble > 0) v = 0.5 + 0.3 * std::sin((x * scale + v * 2.0) * marble);
      const QColor& c = ramp[size_t(std::clamp(static_cast<int>(v * 255), 0, 255))];
      row[x] = c.rgb();
    }
  }
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // A gentle vignette.
  QRadialGradient vignette(image.rect().center(), std::hypot(image.width(), image.height()) / 2);
  vignette.setColorAt(0.6, QColor(0, 0, 0, 0));
  vignette.setColorAt(1, QColor(0, 0, 0, 70));
  p.fillRect(image.rect(), vignette);
}

void PaintRibbons(QPainter& p, const Palette& palette, QSize size, Rng& rng) {
  const double w = size.width(), h = size.height();
  p.fillRect(QRect(QPoint(), size), PaletteGradient(palette, size, rng.range(0, 2 * kPi)));
  const int count = 3 + rng.below(3);
  for (int i = 0; i < count; ++i) {
    QPainterPath path;
    const double y0 = rng.uniform() * h, y1 = rng.uniform() * h;
    const double thick = rng.range(0.05, 0.16) * h;
    path.moveTo(-0.1 * w, y0);
    path.cubicTo(w * 0.3, rng.uniform() * h, w * 0.7, rng.uniform() * h, 1.1 * w, y1);
    path.lineTo(1.1 * w, y1 + thick);
    path.cubicTo(w * 0.7, rng.uniform() * h + thick, w * 0.3, rng.uniform() * h + thick, -0.1 * w, y0 + thick * 0.4);
    path.closeSubpath();
    QLinearGradient g(0, 0, w, 0);
    const QColor c = Lighter(palette.at(rng.uniform()), 0.3);
    g.setColorAt(0, WithAlpha(c, 0.05));
    g.setColorAt(0.5, WithAlpha(c, rng.range(0.3, 0.55)));
    g.setColorAt(1, WithAlpha(c, 0.05));
    p.fillPath(path, g);
  }
  Glows(p, palette, size, rng, 2, 0.3);
}

void PaintButton(QPainter& p, const Palette& palette, QSize size, Rng& rng, bool glossy) {
  const QRectF r = QRectF(QPointF(), size).adjusted(1, 1, -1, -1);
  const double radius = glossy ? size.height() * 0.45 : size.height() * 0.18;
  const QColor base = palette.at(rng.range(0.3, 0.8));
  if (glossy) {
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, Lighter(base, 0.35));
    g.setColorAt(0.5, base);
    g.setColorAt(1, Darker(base, 0.3));
    p.setPen(QPen(Darker(base, 0.45), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    // The shine on the upper half.
    QLinearGradient shine(0, 0, 0, size.height() / 2.0);
    shine.setColorAt(0, QColor(255, 255, 255, 170));
    shine.setColorAt(1, QColor(255, 255, 255, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    const QRectF top = r.adjusted(3, 2, -3, -r.height() / 2);
    p.drawRoundedRect(top, radius * 0.8, radius * 0.6);
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(Darker(base, 0.35));
    p.drawRoundedRect(r.translated(0, 1), radius, radius);
    p.setBrush(base);
    p.drawRoundedRect(r.adjusted(0, 0, 0, -2), radius, radius);
    p.setPen(QPen(Lighter(base, 0.3), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1, 1, -1, -3), radius, radius);
  }
}

}  // namespace

QColor Palette::at(double t) const {
  if (colours.size() == 1) return colours.front();
  const double x = std::clamp(t, 0.0, 1.0) * double(colours.size() - 1);
  const size_t i = std::min(static_cast<size_t>(x), colours.size() - 2);
  return Mix(colours[i], colours[i + 1], x - double(i));
}

QImage Paint(Style style, const Palette& palette, QSize size, uint64_t seed) {
  Rng rng(seed);
  const bool button = style == Style::GlossyButton || style == Style::FlatButton;
  QImage image(size, button ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  image.fill(button ? Qt::transparent : Qt::black);
  if (style == Style::Texture) {
    PaintTexture(image, palette, rng);
  } else {
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    switch (style) {
      case Style::Gradient: PaintGradient(p, palette, size, rng); break;
      case Style::Waves: PaintWaves(p, palette, size, rng); break;
      case Style::LowPoly: PaintLowPoly(p, palette, size, rng); break;
      case Style::Geometric: PaintGeometric(p, palette, size, rng); break;
      case Style::Bokeh: PaintBokeh(p, palette, size, rng); break;
      case Style::Ribbons: PaintRibbons(p, palette, size, rng); break;
      case Style::GlossyButton: PaintButton(p, palette, size, rng, true); break;
      case Style::FlatButton: PaintButton(p, palette, size, rng, false); break;
      case Style::Texture: break;
    }
  }
  if (!button) Grain(image, rng, 2);
  return image;
}

}  // namespace templategen
