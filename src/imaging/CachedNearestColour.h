// The palette entry nearest to an exact colour, for error diffusion against a palette fitted
// closely to the picture, where a coarse cell table would pick neighbours. Colours are grouped in
// cells of 6 bits a channel; the first colour met in a cell lists the entries that can be nearest
// to any colour of it (from the list of its parent cell, of 4 bits a channel), and a cell with one
// such entry answers at once, without a search. Diffused colours repeat a great deal, so answers
// are also kept in a direct-mapped cache.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/raster/Bitmap.h"

namespace lumora {

class CachedNearestColour {
 public:
  // 1 to 256 entries.
  explicit CachedNearestColour(std::span<const raster::RGBQuad> entries);

  // bgr is blue | green << 8 | red << 16 (a pixel's bytes). The answer is the entry's index |
  // blue << 8 | green << 16 | red << 24, as NearestIndex would choose it.
  uint32_t Entry(uint32_t bgr) {
    Slot& slot = m_slots[(bgr * 0x9E3779B1U) >> (32 - kSlotBits)];
    if (slot.bgr == bgr) [[likely]] return slot.entry;
    slot.bgr = bgr;
    const uint32_t known = m_cells[CellOf(bgr)];
    slot.entry = known < kSingle ? m_packed[known] : search(bgr);
    return slot.entry;
  }

 private:
  static constexpr int kSlotBits = 14;
  static constexpr int kCellBits = 6;
  static constexpr int kDrop = 8 - kCellBits;
  static constexpr int kParentBits = 4;
  // A cell holds the index of its only candidate, or kSingle + where its list starts, or kUnlisted.
  static constexpr uint32_t kSingle = 256;
  static constexpr uint32_t kUnlisted = 0xFFFFFFFF;
  struct Slot {
    uint32_t bgr = 0xFFFFFFFF;  // no colour has the top byte set
    uint32_t entry = 0;
  };

  static uint32_t CellOf(uint32_t bgr) {
    return (bgr >> (16 + kDrop) & 0x3F) << 12 | (bgr >> (8 + kDrop) & 0x3F) << 6 | (bgr >> kDrop & 0x3F);
  }
  [[gnu::noinline]] uint32_t search(uint32_t bgr);
  void listCell(uint32_t cell);
  void select(uint32_t cell, int bits, std::span<const uint32_t> from, float margin, std::vector<uint32_t>& out) const;

  std::vector<uint32_t> m_packed;  // the entries as answers
  std::array<float, 256> m_red{}, m_green{}, m_blue{};
  std::vector<uint32_t> m_cells;
  std::vector<uint32_t> m_lists;   // per listed cell: the count, then the packed candidates
  std::vector<uint32_t> m_parents;      // per cell of kParentBits a channel: where its list starts
  std::vector<uint32_t> m_parentLists;  // the same lists, unpadded
  std::vector<Slot> m_slots;       // the last answer for each of many colours
};

}  // namespace lumora
