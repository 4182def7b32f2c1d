#include "imaging/GifLzwEncoder.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lumora {

namespace {

constexpr int kMaxWidth = 12;
constexpr uint32_t kKeyBits = 20;
constexpr uint32_t kKeyMask = (1u << kKeyBits) - 1;
constexpr size_t kBlockData = 254;
constexpr size_t kStageBlocks = 64;  // packed bytes are framed into sub-blocks this many at a time
constexpr uint32_t kStringSlots = GifLzwEncoder::kStringSlots;

// Fibonacci hashing of prefix and pixel: the top bits of their product with 2^32 / golden ratio.
inline uint32_t stringSlot(uint32_t prefix, uint32_t pixel) {
  constexpr int kSlotBits = std::countr_zero(kStringSlots);
  return ((prefix << 8 | pixel) * 0x9E3779B1u) >> (32 - kSlotBits);
}

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

// Packs codes from the least significant bit into a staging area that is framed into
// sub-blocks whenever it holds kStageBlocks of them. Whole bytes leave after every code without
// a test (at most 7 bits wait, so a code of up to 12 bits always fits the 64-bit word): whether
// a code completes a byte follows no pattern the CPU could learn.
class CodePacker {
 public:
  CodePacker(std::vector<uint8_t>& out, uint8_t* stage) : m_out(out), m_stage(stage) {}

  void put(int32_t code, int width) {
    m_bits |= static_cast<uint64_t>(code) << m_count;
    m_count += static_cast<uint32_t>(width);
    std::memcpy(m_stage + m_used, &m_bits, sizeof m_bits);
    m_used += m_count >> 3;
    m_bits >>= m_count & ~7u;
    m_count &= 7;
  }

  // Frames the staged whole blocks once enough are waiting.
  void frameWhenFull() {
    if (m_used >= kStageBlocks * kBlockData) m_used = frameBlocks(m_out, m_stage, m_used, false);
  }

  // The last partial byte, then every byte into sub-blocks.
  void finish() {
    if (m_count > 0) m_stage[m_used++] = static_cast<uint8_t>(m_bits);
    m_used = frameBlocks(m_out, m_stage, m_used, true);
  }

 private:
  std::vector<uint8_t>& m_out;
  uint8_t* m_stage;
  size_t m_used = 0;
  uint64_t m_bits = 0;
  uint32_t m_count = 0;
};

}  // namespace

GifLzwEncoder::GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks)
    : m_masks(masks), m_initialWidth(codeSize + 1), m_clearCode(1 << codeSize), m_endCode((1 << codeSize) + 1) {}

// Greedy LZW: the longest known string is extended one pixel at a time; an unknown string writes
// its prefix and, while codes remain, becomes a new code. A full table writes a clear code.
//
// The codes are compress's, but its 5003-slot table sends over a quarter of the look-ups on a
// probe whose length the CPU cannot guess. The strings are kept instead in a table eight times
// larger with a multiplicative hash, where few look-ups collide. compress's one departure from
// a plain dictionary, losing the key-0 string, is followed by replaying compress's table, lazily:
// only when the key-0 string is looked up does it matter whether it is still there.
void GifLzwEncoder::Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out,
                           const std::function<void(size_t)>& beforeRow) {
  // Room for the staged blocks, one more row of codes (at most 12 bits a pixel) and a word.
  std::vector<uint8_t> stage(kStageBlocks * kBlockData + 2 * static_cast<size_t>(width) + 16);
  CodePacker packer(out, stage.data());
  int codeWidth = m_initialWidth;
  int32_t largest = static_cast<int32_t>(m_masks[static_cast<size_t>(codeWidth)]);
  const auto firstFree = static_cast<uint32_t>(m_clearCode + 2);
  uint32_t nextFree = firstFree;
  bool clearPending = false;
  std::fill(m_strings.begin(), m_strings.end(), 0);
  m_replay.Reset();
  uint32_t replayed = firstFree;  // codes below this are placed in the replay
  uint32_t keyZeroCode = 0;       // the key-0 string's code while it may still be in the table

  // The width grows once the next free code no longer fits it (the decoder's next entry would
  // not), and falls back after a clear.
  auto putCode = [&](uint32_t code) {
    packer.put(static_cast<int32_t>(code), codeWidth);
    if (static_cast<int32_t>(nextFree) > largest || clearPending) {
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
  auto keyZeroStillThere = [&] {
    if (keyZeroCode == 0) return false;
    m_replay.Place(std::span(m_keyOfCode).subspan(replayed, nextFree - replayed));
    replayed = nextFree;
    if (!m_replay.HoldsKeyZero()) keyZeroCode = 0;
    return keyZeroCode != 0;
  };
  auto clearTable = [&] {
    for (uint32_t code = firstFree; code < nextFree; ++code)
      if (m_keyOfCode[code] != 0) m_strings[m_slotOfCode[code]] = 0;
    if (replayed > firstFree) m_replay.Reset();
    replayed = firstFree;
    keyZeroCode = 0;
    nextFree = firstFree;
  };

  uint32_t* const strings = m_strings.data();
  putCode(static_cast<uint32_t>(m_clearCode));
  if (beforeRow) beforeRow(0);
  uint32_t prefix = rows.front()[0];
  for (size_t index = 0; index < rows.size(); ++index) {
    if (beforeRow && index > 0) beforeRow(index);
    const uint8_t* row = rows[index];
    for (int32_t x = index == 0 ? 1 : 0; x < width; ++x) {
      const uint32_t pixel = row[x];
      const uint32_t key = pixel << kMaxWidth | prefix;
      uint32_t slot = stringSlot(prefix, pixel);
      uint32_t entry = strings[slot];
      if (((entry & kKeyMask) != key) & (entry != 0)) [[unlikely]] {
        do {
          slot = (slot + 1) & (kStringSlots - 1);
          entry = strings[slot];
        } while ((entry & kKeyMask) != key && entry != 0);
      }
      if (entry != 0) {
        prefix = entry >> kKeyBits;
        continue;
      }
      // The key-0 string never enters the table above: it is looked up through the replay.
      if (key == 0 && keyZeroStillThere()) [[unlikely]] {
        prefix = keyZeroCode;
        continue;
      }
      putCode(prefix);
      prefix = pixel;
      if (nextFree < kMaxCodes) {
        m_keyOfCode[nextFree] = key;
        if (key == 0) {
          keyZeroCode = nextFree;
        } else {
          strings[slot] = nextFree << kKeyBits | key;
          m_slotOfCode[nextFree] = slot;
        }
        ++nextFree;
      } else {
        clearTable();
        clearPending = true;
        putCode(static_cast<uint32_t>(m_clearCode));
      }
    }
    packer.frameWhenFull();
  }
  putCode(prefix);
  putCode(static_cast<uint32_t>(m_endCode));
  packer.finish();
}

}  // namespace lumora
