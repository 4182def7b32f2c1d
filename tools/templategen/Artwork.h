// The painters of the bundled template artwork. Every picture is a function of its style, its
// palette, its size and a seed, so the library can be made again bit for bit.
#pragma once

#include <QColor>
#include <QImage>
#include <cstdint>
#include <vector>

namespace templategen {

// splitmix64: the same numbers on every platform and library, unlike <random>'s distributions.
class Rng {
 public:
  explicit Rng(uint64_t seed) : m_state(seed) {}
  uint64_t next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
  double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }
  int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }

 private:
  uint64_t m_state;
};

struct Palette {
  const char* name;
  std::vector<QColor> colours;  // dark to light, roughly
  QColor at(double t) const;    // along the palette, 0..1
};

enum class Style { Gradient, Waves, LowPoly, Geometric, Bokeh, Texture, Ribbons, GlossyButton, FlatButton };

QImage Paint(Style style, const Palette& palette, QSize size, uint64_t seed);

}  // namespace templategen
