#include "imaging/JpegBitWriter.h"

namespace lumora {

void JpegBitWriter::Drain() {
  while (m_pending >= 8) {
    m_pending -= 8;
    const auto byte = static_cast<uint8_t>(m_accumulator >> m_pending);
    m_out.push_back(byte);
    if (byte == 0xFF) m_out.push_back(0x00);
  }
}

void JpegBitWriter::Flush() {
  const int pad = (8 - m_pending % 8) % 8;
  if (m_pending + pad > 64) Drain();
  m_accumulator = (m_accumulator << pad) | ((1u << pad) - 1);
  m_pending += pad;
  Drain();
  m_accumulator = 0;
}

}  // namespace lumora
