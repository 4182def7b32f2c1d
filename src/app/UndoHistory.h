// Undo and redo for the editor: whole-document snapshots (the document is a small value). A run
// of edits with the same merge key (typing into one item's caption, one drag) is one step.
#pragma once

#include <cstddef>
#include <deque>

#include "document/Document.h"

namespace lumora {

class UndoHistory {
 public:
  static constexpr size_t kLimit = 200;

  // Call before a change with the document as it is; a new change forgets what could be redone.
  // A nonzero mergeKey equal to the previous one adds nothing: the earlier snapshot covers it.
  void Remember(const Document& before, int mergeKey = 0);
  // Ends a run of merged edits, so the next edit with the same key is a step of its own.
  void Seal() { m_lastKey = 0; }

  bool CanUndo() const { return !m_undo.empty(); }
  bool CanRedo() const { return !m_redo.empty(); }
  // The document to go back to; the current one becomes redoable. Needs CanUndo.
  Document Undo(const Document& current);
  // The document to go forward to; the current one becomes undoable. Needs CanRedo.
  Document Redo(const Document& current);
  void Clear();

 private:
  std::deque<Document> m_undo;
  std::deque<Document> m_redo;
  int m_lastKey = 0;
};

}  // namespace lumora
