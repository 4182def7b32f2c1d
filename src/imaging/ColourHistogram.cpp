#include "imaging/ColourHistogram.h"

#include <cstring>
#include <future>

namespace lumora {

namespace {

constexpr uint32_t kEmpty = 0xFFFFFFFF;
constexpr int kSlotBits = 16;  // twice the most colours kept: probes stay short
constexpr int64_t kSplitPixels = 2000000;

// Open addressing on the colour with the low `shift` bits of each channel cleared.
class CellTable {
 public:
  CellTable() : m_slots(size_t{1} << kSlotBits) {}

  void Add(uint32_t bgr, uint32_t pixels) {
    addCell({bgr, pixels, uint64_t{bgr & 0xFF} * pixels, uint64_t{(bgr >> 8) & 0xFF} * pixels, uint64_t{bgr >> 16} * pixels});
  }

  // The other table's cells, as if its pixels had been added here.
  void Merge(const CellTable& other) {
    if (other.m_shift > m_shift) regroup(other.m_shift);
    for (const Slot& s : other.m_slots)
      if (s.key != kEmpty) addCell(s);
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

  void addCell(const Slot& cell) {
    const uint32_t key = cell.key & m_mask;
    Slot& slot = find(key);
    if (slot.key == kEmpty) {
      if (m_used == kHistogramMaxColours) {
        coarsen(cell);
        return;
      }
      slot.key = key;
      ++m_used;
    }
    accumulate(slot, cell);
  }

  static void accumulate(Slot& into, const Slot& cell) {
    into.pixels += cell.pixels;
    into.blue += cell.blue;
    into.green += cell.green;
    into.red += cell.red;
  }

  // One more bit a channel goes, until the cells fit again; then the pending cell is added.
  [[gnu::noinline]] void coarsen(const Slot& pending) {
    do regroup(m_shift + 1);
    while (m_used >= kHistogramMaxColours);
    addCell(pending);
  }

  // The cells regrouped with the low `shift` bits of each channel cleared.
  [[gnu::noinline]] void regroup(int shift) {
    std::vector<Slot> old;
    old.reserve(m_used);
    for (const Slot& s : m_slots)
      if (s.key != kEmpty) old.push_back(s);
    m_shift = shift;
    const uint32_t channel = (0xFFU << m_shift) & 0xFF;
    m_mask = channel | channel << 8 | channel << 16;
    std::fill(m_slots.begin(), m_slots.end(), Slot{});
    m_used = 0;
    for (const Slot& s : old) {
      const uint32_t key = s.key & m_mask;
      Slot& merged = find(key);
      if (merged.key == kEmpty) {
        merged.key = key;
        ++m_used;
      }
      accumulate(merged, s);
    }
  }

  std::vector<Slot> m_slots;
  size_t m_used = 0;
  int m_shift = 0;
  uint32_t m_mask = 0xFFFFFF;
};

// Neighbours are often alike: a run of one colour is added once.
void addRows(const raster::Bitmap& picture, int32_t from, int32_t to, CellTable& cells) {
  uint32_t run = 0, runColour = 0;
  for (int32_t y = from; y < to; ++y) {
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
}

}  // namespace

std::vector<HistogramColour> BuildColourHistogram(const raster::Bitmap& picture) {
  if (picture.bpp() != 32 || picture.masks() != raster::ChannelMasks::DefaultFor(32)) return {};
  CellTable top;
  // Larger pictures are counted in two halves, the lower one on another thread; the split
  // depends on the size alone, so the answer never depends on the machine.
  const int32_t half = static_cast<int64_t>(picture.width()) * picture.height() >= kSplitPixels ? picture.height() / 2 : 0;
  if (half == 0) {
    addRows(picture, 0, picture.height(), top);
    return top.Colours();
  }
  CellTable bottom;
  auto lower = std::async(std::launch::async, [&] { addRows(picture, half, picture.height(), bottom); });
  addRows(picture, 0, half, top);
  lower.get();
  top.Merge(bottom);
  return top.Colours();
}

}  // namespace lumora
