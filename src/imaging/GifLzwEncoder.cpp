#include "imaging/GifLzwEncoder.h"

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
constexpr int kBlockData = 254;

}  // namespace

GifLzwEncoder::GifLzwEncoder(int codeSize, std::span<const uint32_t, 17> masks)
    : m_masks(masks), m_initialWidth(codeSize + 1), m_clearCode(1 << codeSize), m_endCode((1 << codeSize) + 1) {}

void GifLzwEncoder::reset() {
  m_width = m_initialWidth;
  m_largest = static_cast<int32_t>(m_masks[static_cast<size_t>(m_width)]);
  m_nextFree = m_clearCode + 2;
  m_clearPending = false;
  m_accumulator = 0;
  m_bitCount = 0;
  m_blockLength = 0;
  clearTable();
}

void GifLzwEncoder::clearTable() { m_table.fill(Slot{-1, 0}); }

// Greedy LZW: the longest known string is extended one pixel at a time; an unknown string emits
// its prefix and, while codes remain, becomes a new code. A full table emits a clear code.
void GifLzwEncoder::Encode(std::span<const uint8_t* const> rows, int32_t width, std::vector<uint8_t>& out) {
  m_out = &out;
  reset();
  emit(m_clearCode);
  int32_t prefix = rows.front()[0];
  bool first = true;
  for (const uint8_t* row : rows) {
    for (int32_t x = first ? 1 : 0; x < width; ++x) {
      const int32_t pixel = row[x];
      const int32_t key = (pixel << kMaxWidth) + prefix;
      int32_t slot = (pixel << kHashShift) ^ prefix;
      if (m_table[static_cast<size_t>(slot)].key == key) {
        prefix = m_table[static_cast<size_t>(slot)].code;
        continue;
      }
      if (m_table[static_cast<size_t>(slot)].key >= 0) {
        // Secondary probing as compress does it; a slot holding key 0 ends the search too.
        const int32_t step = slot == 0 ? 1 : kHashSize - slot;
        bool found = false;
        do {
          slot -= step;
          if (slot < 0) slot += kHashSize;
          if (m_table[static_cast<size_t>(slot)].key == key) {
            found = true;
            break;
          }
        } while (m_table[static_cast<size_t>(slot)].key > 0);
        if (found) {
          prefix = m_table[static_cast<size_t>(slot)].code;
          continue;
        }
      }
      emit(prefix);
      prefix = pixel;
      if (m_nextFree < kMaxCodes) {
        m_table[static_cast<size_t>(slot)] = Slot{key, m_nextFree++};
      } else {
        clearTable();
        m_nextFree = m_clearCode + 2;
        m_clearPending = true;
        emit(m_clearCode);
      }
    }
    first = false;
  }
  emit(prefix);
  emit(m_endCode);
  for (; m_bitCount > 0; m_bitCount -= 8) {
    putByte(static_cast<uint8_t>(m_accumulator));
    m_accumulator >>= 8;
  }
  flushBlock();
  m_out = nullptr;
}

// Codes are packed from the least significant bit. The width grows once a code no longer fits
// the decoder's next entry, and falls back after a clear.
void GifLzwEncoder::emit(int32_t code) {
  m_accumulator &= m_masks[static_cast<size_t>(m_bitCount)];
  m_accumulator |= static_cast<uint32_t>(code) << m_bitCount;
  m_bitCount += m_width;
  while (m_bitCount >= 8) {
    putByte(static_cast<uint8_t>(m_accumulator));
    m_accumulator >>= 8;
    m_bitCount -= 8;
  }
  if (m_nextFree > m_largest || m_clearPending) {
    if (m_clearPending) {
      m_width = m_initialWidth;
      m_largest = static_cast<int32_t>(m_masks[static_cast<size_t>(m_width)]);
      m_clearPending = false;
    } else {
      ++m_width;
      m_largest = m_width == kMaxWidth ? kMaxCodes : static_cast<int32_t>(m_masks[static_cast<size_t>(m_width)]);
    }
  }
}

void GifLzwEncoder::putByte(uint8_t byte) {
  m_block[static_cast<size_t>(++m_blockLength)] = byte;
  if (m_blockLength == kBlockData) flushBlock();
}

// A data sub-block: its length byte, then the bytes.
void GifLzwEncoder::flushBlock() {
  if (m_blockLength == 0) return;
  m_block[0] = static_cast<uint8_t>(m_blockLength);
  m_out->insert(m_out->end(), m_block.begin(), m_block.begin() + m_blockLength + 1);
  m_blockLength = 0;
}

}  // namespace lumora
