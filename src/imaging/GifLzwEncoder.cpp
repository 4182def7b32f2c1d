#include "imaging/GifLzwEncoder.h"

#include <algorithm>
#include <cstring>

namespace lumora {

namespace {

// compress's hash shift: 8 less the doublings that take the table size to 65536 or more (4).
constexpr int hashShift() {
  int doublings = 0;
  for (long size = GifLzwEncoder::kHashSize; size < 65536; size *= 2) ++doublings;
  return 8 - doublings;
}
constexpr int kHashShift = hashShift();
static_assert(kHashShift == 4);

constexpr int kMaxWidth = 12;
constexpr uint32_t kKeyBits = 20;
constexpr uint32_t kKeyMask = (1u << kKeyBits) - 1;
constexpr size_t kBlockData = 254;
constexpr size_t kStageBlocks = 64;  // packed bytes are framed into sub-blocks this many at a time

// Frames packed bytes into data sub-blocks (a length byte, then up to 254 bytes): every whole
// block, or every byte when `all`. Returns how many bytes are left, moved to the front.
size_t frameBlocks(std::vector<uint8_t>& out, uint8_t* stage, size_t used, bool all) {
  size_t at = 0;
  while (used - at >= kBlockData || (all && used > at)) {
    const size_t length = std::min(kBlockData, used - at);
    out.push_back(static_cast<uint8_t>(length));
    out.insert(out.end(), stage + at, stage + at + length);
    at += length;
  }
  std::memmove(stage, stage + at, used - at);
  return used - at;
}

// Packs codes from the least significant bit, 32 bits at a time, into a staging area that is
// framed into sub-blocks whenever it holds kStageBlocks of them.
class CodePacker {
 public:
  CodePacker(std::vector<uint8_t>& out, uint8_t* stage) : m_out(out), m_stage(stage) {}

  void put(int32_t code, int width) {
    m_bits |= static_cast<uint64_t>(code) << m_count;
    m_count += width;
    if (m_count >= 32) {
      const auto low = static_cast<uint32_t>(m_bits);
      const uint8_t bytes[4] = {static_cast<uint8_t>(low), static_cast<uint8_t>(low >> 8), static_cast<uint8_t>(low >> 16),
                                static_cast<uint8_t>(low >> 24)};
      std::memcpy(m_stage + m_used, bytes, 4);
      m_used += 4;
      m_bits >>= 32;
      m_count -= 32;
      if (m_used >= kStageBlocks * kBlockData) m_used = frameBlocks(m_out, m_stage, m_used, false);
    }
  }

  // The pending bits a byte at a time, then every byte into sub-blocks.
  void finish() {
    for (; m_count > 0; m_count -= 8) {
      m_stage[m_used++] = static_cast<uint8_t>(m_bits);
      m_bits >>= 8;
    }
    m_used = frameBlocks(m_out, m_stage, m_used, true);
  }

 private:
  std::vector<uint8_t>& m_out;
  uint8_t* m_stage;
  size_t m_used = 0;
  uint64_t m_bits = 0;
  int m_count = 0;
};

}  // namespace

GifLzwEncoder::GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks)
    : m_masks(masks), m_initialWidth(codeSize + 1), m_clearCode(1 << codeSize), m_endCode((1 << codeSize) + 1) {}

// Greedy LZW: the longest known string is extended one pixel at a time; an unknown string writes
// its prefix and, while codes remain, becomes a new code. A full table writes a clear code.
void GifLzwEncoder::Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out) {
  std::array<uint8_t, kStageBlocks * kBlockData + 8> stage;
  CodePacker packer(out, stage.data());
  int codeWidth = m_initialWidth;
  int32_t largest = static_cast<int32_t>(m_masks[static_cast<size_t>(codeWidth)]);
  int32_t nextFree = m_clearCode + 2;
  bool clearPending = false;
  m_table.fill(0);

  // The width grows once the next free code no longer fits it (the decoder's next entry would
  // not), and falls back after a clear.
  auto putCode = [&](int32_t code) {
    packer.put(code, codeWidth);
    if (nextFree > largest || clearPending) {
      if (clearPending) {
        codeWidth = m_initialWidth;
        largest = static_cast<int32_t>(m_masks[static_cast<size_t>(codeWidth)]);
        clearPending = false;
      } else {
        ++codeWidth;
        largest = codeWidth == kMaxWidth ? kMaxCodes : static_cast<int32_t>(m_masks[static_cast<size_t>(codeWidth)]);
      }
    }
  };

  uint32_t* const table = m_table.data();
  putCode(m_clearCode);
  int32_t prefix = rows.front()[0];
  bool first = true;
  for (const uint8_t* row : rows) {
    for (int32_t x = first ? 1 : 0; x < width; ++x) {
      const int32_t pixel = row[x];
      const auto key = static_cast<uint32_t>((pixel << kMaxWidth) + prefix);
      int32_t slot = (pixel << kHashShift) ^ prefix;
      uint32_t entry = table[slot];
      if (entry != 0) {
        if ((entry & kKeyMask) == key) {
          prefix = static_cast<int32_t>(entry >> kKeyBits);
          continue;
        }
        // compress's secondary probing. It stops at an empty slot and also at the string whose
        // key is 0 (pixel 0 after code 0), which compress's "key > 0" test takes for empty.
        const int32_t step = slot == 0 ? 1 : kHashSize - slot;
        do {
          slot -= step;
          if (slot < 0) slot += kHashSize;
          entry = table[slot];
        } while ((entry & kKeyMask) != key && (entry & kKeyMask) != 0);
        if (entry != 0 && (entry & kKeyMask) == key) {
          prefix = static_cast<int32_t>(entry >> kKeyBits);
          continue;
        }
      }
      putCode(prefix);
      prefix = pixel;
      if (nextFree < kMaxCodes) {
        table[slot] = static_cast<uint32_t>(nextFree++) << kKeyBits | key;
      } else {
        m_table.fill(0);
        nextFree = m_clearCode + 2;
        clearPending = true;
        putCode(m_clearCode);
      }
    }
    first = false;
  }
  putCode(prefix);
  putCode(m_endCode);
  packer.finish();
}

}  // namespace lumora
