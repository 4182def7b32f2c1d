// The entropy-coded segment's bit packer (T.81 F.1.2.3 and B.1.1.5): codes go in most significant
// bit first, every 0xFF byte is followed by a stuffed 0x00, and the last byte is padded with 1s.
#pragma once

#include <cstdint>
#include <vector>

namespace lumora {

class JpegBitWriter {
 public:
  explicit JpegBitWriter(std::vector<uint8_t>& out) : m_out(out) {}

  // The low `count` bits of `bits` (count at most 32; higher bits must be zero).
  void Put(uint32_t bits, int count) {
    if (m_pending + count > 64) Drain();
    m_accumulator = (m_accumulator << count) | bits;
    m_pending += count;
    m_total += static_cast<uint64_t>(count);
  }
  // Pads the last byte with 1-bits (not counted in BitsWritten) and writes everything out.
  void Flush();
  // Bits put since construction, padding excluded.
  uint64_t BitsWritten() const { return m_total; }

 private:
  void Drain();  // writes every whole byte held

  std::vector<uint8_t>& m_out;
  uint64_t m_accumulator = 0;
  int m_pending = 0;  // bits held in the accumulator's low end
  uint64_t m_total = 0;
};

}  // namespace lumora
