#include "imaging/LzwStringTable.h"

#include <span>

namespace lumora {

LzwStringTable::LzwStringTable(uint32_t firstCode)
    : m_firstCode(firstCode), m_nextFree(firstCode), m_replayed(firstCode) {}

void LzwStringTable::Clear() {
  for (uint32_t code = m_firstCode; code < m_nextFree; ++code)
    if (m_keyOfCode[code] != 0) m_slots[m_slotOfCode[code]] = 0;
  if (m_replayed > m_firstCode) m_replay.Reset();
  m_replayed = m_firstCode;
  m_keyZeroCode = 0;
  m_slotZeroTaken = false;
  m_keyZeroKept = false;
  m_nextFree = m_firstCode;
}

uint32_t LzwStringTable::findKeyZero() {
  if (m_keyZeroCode == 0 || m_keyZeroKept) return m_keyZeroCode;
  m_replay.Place(std::span(m_keyOfCode).subspan(m_replayed, m_nextFree - m_replayed));
  m_replayed = m_nextFree;
  if (!m_replay.HoldsKeyZero()) m_keyZeroCode = 0;
  return m_keyZeroCode;
}

}  // namespace lumora
