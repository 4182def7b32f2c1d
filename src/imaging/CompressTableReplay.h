// Where the string table of the classic UNIX compress program (5003 slots, open addressing)
// would put each new string. compress's probe stops at the string whose key is 0 (pixel 0 after
// code 0) as if its slot were empty, so a later string can be written over that one and the
// string is lost; every other string, once in the table, is always found again. This replays
// the new strings after the fact, only to tell whether the key-0 string is still there.
#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lumora {

class CompressTableReplay {
 public:
  static constexpr uint32_t kHashSize = 5003;  // a prime about 1.2 x 4096

  // An empty table.
  void Reset();
  // Places the new strings, given by key = (pixel << 12) + prefix code, in the order of their codes.
  void Place(std::span<const uint32_t> keys);
  // The key-0 string was placed and nothing has been written over it since.
  bool HoldsKeyZero() const { return m_holdsKeyZero; }

 private:
  static constexpr uint8_t kEmpty = 0;
  static constexpr uint8_t kTaken = 1;
  static constexpr uint8_t kKeyZero = 2;  // the slot of the key-0 string

  std::array<uint8_t, kHashSize> m_slots{};
  bool m_holdsKeyZero = false;
};

}  // namespace lumora
