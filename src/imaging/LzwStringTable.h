// The strings of a GIF LZW coder's table, each a known string (its prefix code) extended by one
// pixel, giving exactly the codes the classic UNIX compress program's 5003-slot table gives.
//
// compress's table sends over a quarter of the look-ups on a probe whose length the CPU cannot
// guess. The strings live instead in a table six times larger with linear probing, where few
// look-ups collide. compress's one departure from a plain dictionary,
// losing the key-0 string (pixel 0 after code 0), is followed by replaying compress's table,
// lazily: only when that string is looked up does it matter whether it is still there. Mostly
// it need not be replayed at all: the key-0 string's primary slot is 0, and compress's probes
// reach slot 0 only from slot 0 itself (5003 is prime), whose probe does not stop there. So
// once the key-0 string sits in slot 0 it stays; it does unless a string whose primary slot is
// 0, (16 x pixel, pixel), came first.
#pragma once

#include <array>
#include <cstdint>

#include "imaging/CompressTableReplay.h"

namespace lumora {

class LzwStringTable {
 public:
  static constexpr uint32_t kMaxCodes = 4096;  // 12-bit codes
  static constexpr uint32_t kSlots = 1u << 15;

  // The string (prefix, pixel) and where a look-up for it ended: code 0 when it is unknown, and
  // then slot is where Add puts it.
  struct Found {
    uint32_t code;
    uint32_t slot;
  };

  // New codes start at firstCode (the clear code + 2).
  explicit LzwStringTable(uint32_t firstCode);

  [[gnu::always_inline]] Found Find(uint32_t prefix, uint32_t pixel) {
    const uint32_t key = pixel << kPixelShift | prefix;
    if (key == 0) [[unlikely]]
      return {findKeyZero(), 0};
    // No other key is 0, so an empty slot never matches.
    uint32_t slot = slotOf(prefix, pixel);
    uint32_t entry = m_slots[slot];
    while (((entry & kKeyMask) != key) & (entry != 0)) {
      slot = (slot + 1) & (kSlots - 1);
      entry = m_slots[slot];
    }
    return {entry >> kKeyBits, slot};
  }

  // Adds the unknown string Find reported with the next free code; false (and nothing added)
  // when all 4096 codes are taken.
  [[gnu::always_inline]] bool Add(uint32_t prefix, uint32_t pixel, Found where) {
    if (m_nextFree == kMaxCodes) [[unlikely]]
      return false;
    const uint32_t key = pixel << kPixelShift | prefix;
    m_keyOfCode[m_nextFree] = key;
    if (key == 0) [[unlikely]] {
      m_keyZeroCode = m_nextFree;
      m_keyZeroKept = !m_slotZeroTaken;
    } else {
      m_slots[where.slot] = m_nextFree << kKeyBits | key;
      m_slotOfCode[m_nextFree] = where.slot;
      if (pixel << kCompressShift == prefix) m_slotZeroTaken = true;
    }
    ++m_nextFree;
    return true;
  }

  uint32_t NextFree() const { return m_nextFree; }
  // Forgets every string: codes start again at firstCode.
  void Clear();

 private:
  static constexpr uint32_t kPixelShift = 12;
  static constexpr uint32_t kCompressShift = 4;  // compress's primary slot: pixel << 4 XOR prefix
  static constexpr uint32_t kKeyBits = 20;
  static constexpr uint32_t kKeyMask = (1u << kKeyBits) - 1;

  // The prefix XOR a random number per pixel: the pixel's number is fetched while the prefix
  // is still being looked up, so the next look-up waits for one XOR only.
  static uint32_t slotOf(uint32_t prefix, uint32_t pixel) { return (prefix ^ kPixelMix[pixel]) & (kSlots - 1); }
  static constexpr std::array<uint32_t, 256> kPixelMix = [] {
    std::array<uint32_t, 256> mix{};
    uint32_t x = 2463534242u;  // xorshift32
    for (uint32_t& value : mix) {
      x ^= x << 13;
      x ^= x >> 17;
      x ^= x << 5;
      value = x;
    }
    return mix;
  }();
  // The key-0 string's code while compress's table would still hold it, else 0.
  uint32_t findKeyZero();

  // code << 20 | key per slot, key = (pixel << 12) + prefix code; 0 when empty (no string has
  // code 0). The key-0 string is kept apart, in m_keyZeroCode.
  std::array<uint32_t, kSlots> m_slots{};
  // Per code of the current table: its key, and its slot (to empty the slots quickly).
  std::array<uint32_t, kMaxCodes> m_keyOfCode{};
  std::array<uint32_t, kMaxCodes> m_slotOfCode{};
  uint32_t m_firstCode;
  uint32_t m_nextFree;
  uint32_t m_keyZeroCode = 0;
  bool m_slotZeroTaken = false;  // by a string other than the key-0 one
  bool m_keyZeroKept = false;    // the key-0 string sits in slot 0, where nothing writes over it
  CompressTableReplay m_replay;
  uint32_t m_replayed;  // codes below this are placed in the replay
};

}  // namespace lumora
