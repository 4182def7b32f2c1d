// The one document the editor works on: a template picture named by its library path and the
// text items laid over it in stacking order, with the selection and the save state. A plain
// value: copying it is how the editor keeps undo snapshots. The model never draws or asks; the
// picture itself and its size belong to the caller.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/ITextMeasurer.h"
#include "document/TextItem.h"

namespace lumora {

class Document {
 public:
  static constexpr int kMaxItems = 32767;  // indices are 16-bit

  Document();

  // The hidden item of index 0 that new items start from (caption "text1", Arial 12 pt).
  const TextItem& TemplateItem() const { return m_template; }

  // Bottom-most first.
  const std::vector<TextItem>& TextItems() const { return m_items; }
  // The item with that index (0 is the template item), or nullptr.
  const TextItem* FindItem(int index) const;
  // Position in TextItems counted from 1; 0 when there is no such item.
  int PositionOf(int index) const;

  int CurrentIndex() const { return m_currentIndex; }
  const TextItem* CurrentItem() const;
  // A press on an item; an unknown index clears the selection.
  void Select(int index);
  void ClearSelection() { m_currentIndex = 0; }

  // The smallest index >= 1 not in use; 0 when kMaxItems are in use.
  int NextLabel() const;
  // Appends a copy of the template item under NextLabel, shown or hidden, selects it and returns
  // its index (0, changing nothing, when the document is full).
  int CreateItem(bool visible = true);

  // Every change of an item goes through here. Changed is set when the item really changed, so
  // refilling controls with the values they already hold is not a change. Index 0 edits the
  // template item, which is not part of the document and never sets Changed. The edit cannot
  // change the index; positions, sizes and effects out of bounds are clamped (TextItem's limits)
  // and an unknown alignment becomes Left; line breaks in the caption become "\r\n" whatever form they
  // came in. Returns false when there is no such item.
  bool EditItem(int index, const std::function<void(TextItem&)>& edit);
  bool SetCaption(int index, std::string caption);
  bool MoveItem(int index, double left, double top);
  // Centres the item on a picture of that size (twips), measured as it is now.
  bool CentreItem(int index, const ITextMeasurer& measurer, double pictureWidth, double pictureHeight);

  // Stacking order. An item already in place stays, and the document stays unchanged.
  void BringToFront(int index);
  void SendToBack(int index);
  // Removes the selected item and clears the selection; nothing when nothing is selected.
  void DeleteCurrentTextItem();
  // Removes every item and clears the selection. Changed is the caller's (New sets it, Open clears it).
  void UnloadAllTextLabels();

  // Moves items that stick out past the right or bottom edge of a picture of that size (twips)
  // back onto it, the template item included. Items left of or above the picture stay.
  void RepositionText(const ITextMeasurer& measurer, double pictureWidth, double pictureHeight);

  // The model side of New once a template has been chosen: no items, untitled, changed.
  void StartNewDocument(std::string templateName);

  const std::string& TemplateName() const { return m_templateName; }
  void SetTemplateName(std::string name) { m_templateName = std::move(name); }
  bool DocumentOpen() const { return m_documentOpen; }
  void SetDocumentOpen() { m_documentOpen = true; }  // never false again
  bool Changed() const { return m_changed; }
  void SetChanged(bool changed) { m_changed = changed; }
  const std::string& ProjectPath() const { return m_projectPath; }
  void SetProjectPath(std::string path) { m_projectPath = std::move(path); }

  // The last ordinary (not symbol) font chosen, for Insert Text while a symbol font is showing.
  const std::string& LastFontName() const { return m_lastFontName; }
  void SetLastFontName(std::string name) { m_lastFontName = std::move(name); }
  int LastFontSize() const { return m_lastFontSize; }
  void SetLastFontSize(int size) { m_lastFontSize = size; }

  // "ZEB Lumora - [no file open]", "ZEB Lumora - [untitled]" or "ZEB Lumora - [<ProjectPath>]".
  std::string WindowCaption() const;

  // Same content; the index bookkeeping is derived and not compared.
  bool operator==(const Document& other) const;

 private:
  TextItem* findMutable(int index);
  void applyEdit(TextItem& item, const std::function<void(TextItem&)>& edit);

  TextItem m_template;
  std::vector<TextItem> m_items;
  std::vector<bool> m_indexUsed;  // by index; element 0 unused
  int m_lowestFree = 1;           // the smallest index not in use
  int m_currentIndex = 0;
  std::string m_templateName;
  bool m_documentOpen = false;
  bool m_changed = false;
  std::string m_projectPath;
  std::string m_lastFontName;
  int m_lastFontSize = 0;
};

}  // namespace lumora
