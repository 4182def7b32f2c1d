#include "imaging/ColourHistogram.h"

#include <cstring>

namespace lumora {

namespace {

constexpr uint32_t kEmpty = 0xFFFFFFFF;
constexpr int kSlotBits = 16;  // twice the most colours kept: probes stay short

// Open addressing on the colour with the low `shift` bits of each channel cleared.
class CellTable {
 public:
  CellTable() : m_slots(size_t{1} << kSlotBits) {}

  void Add(uint32_t bgr, uint32_t pixels) {
    Slot& slot = find(bgr & m_mask);
    if (slot.key == kEmpty) {
      slot.key = bgr & m_mask;
      if (++m_used > kHistogramMaxColours) {
        coarsen(bgr, pixels);
        return;
      }
    }
    add(slot, bgr & 0xFF, (bgr >> 8) & 0xFF, bgr >> 16, pixels);
  }

  std::vector<HistogramColour> Colours() const {
    std::vector<HistogramColour> colours;
    colours.reserve(m_used);
    for (const Slot& s : m_slots) {
      if (s.key == kEmpty) continue;
      const auto n = static_cast<double>(s.pixels);
      colours.push_back({static_cast<double>(s.red) / n, static_cast<double>(s.green) / n,
                         static_cast<double>(s.blue) / n, s.pixels});
    }
    return colours;
  }

 private:
  struct Slot {
    uint32_t key = kEmpty;
    uint32_t pixels = 0;  // a bitmap's bytes fit 31 bits, so its pixels fit these 32
    uint64_t blue = 0, green = 0, red = 0;
  };

  Slot& find(uint32_t key) {
    const size_t mask = m_slots.size() - 1;
    for (size_t i = (key * 0x9E3779B1U) >> (32 - kSlotBits);; i = (i + 1) & mask)
      if (m_slots[i].key == key || m_slots[i].key == kEmpty) return m_slots[i];
  }

  static void add(Slot& slot, uint64_t blue, uint64_t green, uint64_t red, uint32_t pixels) {
    slot.pixels += pixels;
    slot.blue += blue * pixels;
    slot.green += green * pixels;
    slot.red += red * pixels;
  }

  // One more bit a channel goes, until the cells fit again; then the pending colour is added.
  void coarsen(uint32_t bgr, uint32_t pixels) {
    std::vector<Slot> old;
    old.reserve(m_used);
    for (const Slot& s : m_slots)
      if (s.key != kEmpty && s.pixels > 0) old.push_back(s);
    do {
      const uint32_t channel = (0xFFU << ++m_shift) & 0xFF;
      m_mask = channel | channel << 8 | channel << 16;
      std::fill(m_slots.begin(), m_slots.end(), Slot{});
      m_used = 0;
      for (const Slot& s : old) {
        Slot& merged = find(s.key & m_mask);
        if (merged.key == kEmpty) {
          merged.key = s.key & m_mask;
          ++m_used;
        }
        merged.pixels += s.pixels;
        merged.blue += s.blue;
        merged.green += s.green;
        merged.red += s.red;
      }
    } while (m_used >= kHistogramMaxColours);
    Add(bgr, pixels);
  }

  std::vector<Slot> m_slots;
  size_t m_used = 0;
  int m_shift = 0;
  uint32_t m_mask = 0xFFFFFF;
};

}  // namespace

std::vector<HistogramColour> BuildColourHistogram(const raster::Bitmap& picture) {
  if (picture.bpp() != 32 || picture.masks() != raster::ChannelMasks::DefaultFor(32)) return {};
  CellTable cells;
  // Neighbours are often alike: a run of one colour is added once.
  uint32_t run = 0, runColour = 0;
  for (int32_t y = 0; y < picture.height(); ++y) {
    const uint8_t* p = picture.row(y);
    for (int32_t x = 0; x < picture.width(); ++x, p += 4) {
      uint32_t bgr;
      std::memcpy(&bgr, p, 4);
      bgr &= 0xFFFFFF;
      if (bgr == runColour && run > 0) {
        ++run;
        continue;
      }
      if (run > 0) cells.Add(runColour, run);
      runColour = bgr;
      run = 1;
    }
  }
  if (run > 0) cells.Add(runColour, run);
  return cells.Colours();
}

}  // namespace lumora
