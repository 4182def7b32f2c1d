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
  m_slots.fill(kEmpty);
  m_holdsKeyZero = false;
}

// Each string goes to its primary slot when that is empty; else compress's probe from slot p,
// which visits p - step, p - 2 step, ... (mod 5003) with step 5003 - p, that is 2p, 3p, ...;
// from slot 0, step 1. The probe stops at an empty slot or at the key-0 string's. The primary
// slot and the first four of the probe are looked at together: whether a slot is taken follows
// no pattern the CPU could learn, and all but a few strings land within them.
void CompressTableReplay::Place(std::span<const uint32_t> keys) {
  uint8_t* const slots = m_slots.data();
  for (const uint32_t key : keys) {
    const uint32_t p0 = ((key >> 12) << kHashShift) ^ (key & kPrefixMask);
    const uint32_t increment = p0 == 0 ? kHashSize - 1 : p0;
    auto next = [&](uint32_t s) {
      s += increment;
      return s - (kHashSize & (0u - static_cast<uint32_t>(s >= kHashSize)));
    };
    std::array<uint32_t, 5> probe;
    probe[0] = p0;
    for (size_t k = 1; k < probe.size(); ++k) probe[k] = next(probe[k - 1]);
    // A probe stops at anything but a taken slot; the primary slot only when it is empty.
    uint32_t stops = static_cast<uint32_t>(slots[p0] == kEmpty);
    for (size_t k = 1; k < probe.size(); ++k) stops |= static_cast<uint32_t>(slots[probe[k]] != kTaken) << k;
    uint32_t slot;
    if (stops != 0) [[likely]] {
      slot = probe[static_cast<size_t>(std::countr_zero(stops))];
    } else {
      slot = probe.back();
      do slot = next(slot);
      while (slots[slot] == kTaken);
    }
    if (slots[slot] == kKeyZero) m_holdsKeyZero = false;  // written over: the string is lost
    slots[slot] = key == 0 ? kKeyZero : kTaken;
    if (key == 0) m_holdsKeyZero = true;
  }
}

}  // namespace lumora
