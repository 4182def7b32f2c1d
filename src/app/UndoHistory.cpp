#include "app/UndoHistory.h"

namespace lumora {

void UndoHistory::Remember(const Document& before, int mergeKey) {
  m_redo.clear();
  if (mergeKey != 0 && mergeKey == m_lastKey && !m_undo.empty()) return;
  m_lastKey = mergeKey;
  m_undo.push_back(before);
  if (m_undo.size() > kLimit) m_undo.pop_front();
}

Document UndoHistory::Undo(const Document& current) {
  m_lastKey = 0;
  Document previous = std::move(m_undo.back());
  m_undo.pop_back();
  m_redo.push_back(current);
  return previous;
}

Document UndoHistory::Redo(const Document& current) {
  m_lastKey = 0;
  Document next = std::move(m_redo.back());
  m_redo.pop_back();
  m_undo.push_back(current);
  return next;
}

void UndoHistory::Clear() {
  m_undo.clear();
  m_redo.clear();
  m_lastKey = 0;
}

}  // namespace lumora
