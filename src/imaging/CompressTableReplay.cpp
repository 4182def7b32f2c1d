#include "imaging/CompressTableReplay.h"

#include <algorithm>
#include <array>
#include <bit>

#include <emmintrin.h>

namespace lumora {

namespace {

// compress's primary slot: (pixel << 4) XOR prefix, 4 being 8 less the doublings that take 5003
// to 65536 or more.
constexpr uint32_t kHashShift = 4;
constexpr uint32_t kPrefixMask = 0xFFF;

// The primary slot and the first four of compress's probe for eight strings at once, in 16-bit
// lanes: probe[k][i] for string i. The probe from slot p visits p - step, p - 2 step, ...
// (mod 5003) with step 5003 - p, that is 2p, 3p, ...; from slot 0, step 1.
void probeSlots(const uint32_t* keys, std::array<std::array<uint16_t, 8>, 5>& probe) {
  auto primaries = [](__m128i key) {
    const __m128i pixelShifted = _mm_and_si128(_mm_srli_epi32(key, 12 - kHashShift), _mm_set1_epi32(0xFF << kHashShift));
    return _mm_xor_si128(pixelShifted, _mm_and_si128(key, _mm_set1_epi32(kPrefixMask)));
  };
  const __m128i low = primaries(_mm_loadu_si128(reinterpret_cast<const __m128i*>(keys)));
  const __m128i high = primaries(_mm_loadu_si128(reinterpret_cast<const __m128i*>(keys + 4)));
  __m128i slot = _mm_packs_epi32(low, high);  // below 4096: no saturation
  const __m128i size = _mm_set1_epi16(static_cast<int16_t>(CompressTableReplay::kHashSize));
  const __m128i last = _mm_set1_epi16(static_cast<int16_t>(CompressTableReplay::kHashSize - 1));
  const __m128i fromZero = _mm_cmpeq_epi16(slot, _mm_setzero_si128());
  const __m128i increment = _mm_or_si128(_mm_and_si128(fromZero, last), _mm_andnot_si128(fromZero, slot));
  _mm_store_si128(reinterpret_cast<__m128i*>(probe[0].data()), slot);
  for (size_t k = 1; k < probe.size(); ++k) {
    slot = _mm_add_epi16(slot, increment);
    slot = _mm_sub_epi16(slot, _mm_and_si128(_mm_cmpgt_epi16(slot, last), size));
    _mm_store_si128(reinterpret_cast<__m128i*>(probe[k].data()), slot);
  }
}

}  // namespace

void CompressTableReplay::Reset() {
  m_slots.fill(kEmpty);
  m_holdsKeyZero = false;
}

// Each string goes to its primary slot when that is empty; else to where compress's probe
// stops: an empty slot or the key-0 string's. The primary slot and the first four of the probe
// are looked at together: whether a slot is taken follows no pattern the CPU could learn, and
// all but a few strings land within them.
void CompressTableReplay::Place(std::span<const uint32_t> keys) {
  uint8_t* const slots = m_slots.data();
  alignas(16) std::array<std::array<uint16_t, 8>, 5> probe;
  for (size_t at = 0; at < keys.size(); at += 8) {
    const size_t count = std::min<size_t>(8, keys.size() - at);
    std::array<uint32_t, 8> group{};
    std::copy_n(keys.begin() + static_cast<std::ptrdiff_t>(at), count, group.begin());
    probeSlots(group.data(), probe);
    for (size_t i = 0; i < count; ++i) {
      // A probe stops at anything but a taken slot; the primary slot only when it is empty.
      uint32_t stops = static_cast<uint32_t>(slots[probe[0][i]] == kEmpty);
      for (size_t k = 1; k < probe.size(); ++k) stops |= static_cast<uint32_t>(slots[probe[k][i]] != kTaken) << k;
      uint32_t slot;
      if (stops != 0) [[likely]] {
        slot = probe[static_cast<size_t>(std::countr_zero(stops))][i];
      } else {
        const uint32_t primary = probe[0][i];
        const uint32_t step = primary == 0 ? 1 : kHashSize - primary;
        slot = probe.back()[i];
        do slot = slot >= step ? slot - step : slot + kHashSize - step;
        while (slots[slot] == kTaken);
      }
      if (slots[slot] == kKeyZero) m_holdsKeyZero = false;  // written over: the string is lost
      slots[slot] = group[i] == 0 ? kKeyZero : kTaken;
      if (group[i] == 0) m_holdsKeyZero = true;
    }
  }
}

}  // namespace lumora
