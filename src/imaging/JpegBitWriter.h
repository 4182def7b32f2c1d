// The entropy-coded segment's bit packer (T.81 F.1.2.3 and B.1.1.5): codes go in most significant
// bit first, every 0xFF byte is followed by a stuffed 0x00, and the last byte is padded with 1s.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lumora {

class JpegBitWriter {
 public:
  // Appends to `out`, which must not be touched by anyone else until Flush. A raw writer stuffs
  // nothing: it codes a stripe of a scan whose bits another writer takes over (Append).
  explicit JpegBitWriter(std::vector<uint8_t>& out, bool raw = false) : m_out(out), m_end(out.size()), m_raw(raw) {}

  // The low `count` bits of `bits` (count 1 to 32; higher bits must be zero).
  void Put(uint32_t bits, int count) {
    m_total += static_cast<uint64_t>(count);
    m_free -= count;
    if (m_free >= 0) {
      m_accumulator = (m_accumulator << count) | bits;
      return;
    }
    // The accumulator is full: send 64 bits, keep the bits that did not fit.
    const int fits = count + m_free;  // 0..63
    Emit((m_accumulator << fits) | (static_cast<uint64_t>(bits) >> -m_free));
    m_free += 64;
    m_accumulator = bits;  // only the low (64 - m_free) bits matter
  }
  // The first `bits` bits of a raw writer's bytes, as if each had been Put here.
  void Append(const std::vector<uint8_t>& raw, uint64_t bits);
  // Pads the last byte with 1-bits (not counted in BitsWritten) and writes everything out.
  void Flush();
  // Bits put since construction, padding excluded.
  uint64_t BitsWritten() const { return m_total; }

 private:
  void Emit(uint64_t bits);  // eight bytes, most significant first, stuffed
  void Reserve(size_t bytes);

  std::vector<uint8_t>& m_out;
  size_t m_end;  // bytes of m_out in use; the vector runs ahead of it while coding
  uint64_t m_accumulator = 0;
  int m_free = 64;  // bits still free in the accumulator
  uint64_t m_total = 0;
  bool m_raw;
};

}  // namespace lumora
