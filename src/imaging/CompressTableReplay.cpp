#include "imaging/CompressTableReplay.h"

#include <bit>

namespace lumora {

namespace {

// compress's primary slot: (pixel << 4) XOR prefix, 4 being 8 less the doublings that take 5003
// to 65536 or more.
constexpr uint32_t kHashShift = 4;
constexpr uint32_t kPrefixMask = 0xFFF;

}  // namespace

void CompressTableReplay::Reset() {
  m_taken.fill(0);
  m_keyZeroSlot = kNone;
}

void CompressTableReplay::Place(std::span<const uint32_t> keys) {
  for (uint32_t key : keys) place(key);
}

// The primary slot when it is empty; else compress's probe from slot p, which visits p - step,
// p - 2 step, ... (mod 5003) with step 5003 - p, that is 2p, 3p, ...; from slot 0, step 1. The
// probe stops at an empty slot or at the key-0 string's. The primary slot and the first four of
// the probe are looked at together: whether a slot is taken follows no pattern the CPU could
// learn, and all but a few strings land within them.
void CompressTableReplay::place(uint32_t key) {
  const uint32_t primary = ((key >> 12) << kHashShift) ^ (key & kPrefixMask);
  const uint32_t increment = primary == 0 ? kHashSize - 1 : primary;
  auto next = [&](uint32_t s) {
    s += increment;
    return s - (kHashSize & (0u - static_cast<uint32_t>(s >= kHashSize)));
  };
  auto stops = [&](uint32_t s) { return static_cast<uint32_t>((m_taken[s] == 0) | (s == m_keyZeroSlot)); };
  std::array<uint32_t, 5> slots;
  slots[0] = primary;
  for (size_t k = 1; k < slots.size(); ++k) slots[k] = next(slots[k - 1]);
  uint32_t found = static_cast<uint32_t>(m_taken[primary] == 0);
  for (uint32_t k = 1; k < slots.size(); ++k) found |= stops(slots[k]) << k;
  uint32_t slot;
  if (found != 0) [[likely]] {
    slot = slots[static_cast<size_t>(std::countr_zero(found))];
  } else {
    slot = slots.back();
    do slot = next(slot);
    while (stops(slot) == 0);
  }
  if (slot == m_keyZeroSlot) m_keyZeroSlot = kNone;
  m_taken[slot] = 1;
  if (key == 0) m_keyZeroSlot = slot;
}

}  // namespace lumora
