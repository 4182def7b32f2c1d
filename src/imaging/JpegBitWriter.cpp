#include "imaging/JpegBitWriter.h"

#include <algorithm>

namespace lumora {

// Grows in steps within the capacity the caller reserved, so the buffer is neither moved nor
// touched far beyond what is written.
void JpegBitWriter::Reserve(size_t bytes) {
  const size_t needed = m_end + bytes;
  if (needed <= m_out.size()) return;
  size_t size = needed + 256 * 1024;
  if (needed <= m_out.capacity()) size = std::min(size, m_out.capacity());
  m_out.resize(size);
}

void JpegBitWriter::Emit(uint64_t bits) {
  Reserve(16);
  uint8_t* p = m_out.data() + m_end;
  // No byte is 0xFF (no zero byte in the complement): all eight go out unchanged.
  const uint64_t inverse = ~bits;
  if (m_raw || ((inverse - 0x0101010101010101ull) & ~inverse & 0x8080808080808080ull) == 0) {
    for (int i = 0; i < 8; ++i) p[i] = static_cast<uint8_t>(bits >> (56 - 8 * i));
    m_end += 8;
    return;
  }
  for (int i = 0; i < 8; ++i) {
    const auto byte = static_cast<uint8_t>(bits >> (56 - 8 * i));
    *p++ = byte;
    if (byte == 0xFF) *p++ = 0x00;
  }
  m_end = static_cast<size_t>(p - m_out.data());
}

void JpegBitWriter::Append(const std::vector<uint8_t>& raw, uint64_t bits) {
  size_t at = 0;
  for (; bits >= 32; bits -= 32, at += 4)
    Put(static_cast<uint32_t>(raw[at]) << 24 | static_cast<uint32_t>(raw[at + 1]) << 16 |
            static_cast<uint32_t>(raw[at + 2]) << 8 | raw[at + 3],
        32);
  for (; bits > 0; ++at) {
    const int count = static_cast<int>(std::min<uint64_t>(bits, 8));
    Put(static_cast<uint32_t>(raw[at]) >> (8 - count), count);
    bits -= static_cast<uint64_t>(count);
  }
}

void JpegBitWriter::Flush() {
  int held = 64 - m_free;
  const int pad = (8 - held % 8) % 8;
  uint64_t bits = (m_accumulator << pad) | ((uint64_t{1} << pad) - 1);
  held += pad;
  Reserve(16);
  for (int shift = held - 8; shift >= 0; shift -= 8) {
    const auto byte = static_cast<uint8_t>(bits >> shift);
    m_out[m_end++] = byte;
    if (byte == 0xFF && !m_raw) m_out[m_end++] = 0x00;
  }
  m_out.resize(m_end);
  m_accumulator = 0;
  m_free = 64;
}

}  // namespace lumora
