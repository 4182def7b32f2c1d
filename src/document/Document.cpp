#include "document/Document.h"

#include <algorithm>

#include "base/AppInfo.h"
#include "base/SystemColors.h"

namespace lumora {

Document::Document() {
  m_template.Caption = "text1";
  m_template.FontName = "Arial";
  m_template.FontSize = 12;
  m_template.ForeColor = static_cast<Colour>(0x80000000u + SystemColors::kWindowText);
  m_template.ShadowColor = 0x808080;
  m_indexUsed.assign(1, false);
}

bool Document::operator==(const Document& other) const {
  return m_template == other.m_template && m_items == other.m_items && m_currentIndex == other.m_currentIndex &&
         m_templateName == other.m_templateName && m_documentOpen == other.m_documentOpen &&
         m_changed == other.m_changed && m_projectPath == other.m_projectPath &&
         m_lastFontName == other.m_lastFontName && m_lastFontSize == other.m_lastFontSize;
}

// Searched from the top: the item edited most is the one created last (the reader's case).
TextItem* Document::findMutable(int index) {
  if (index == 0) return &m_template;
  const int position = PositionOf(index);
  return position == 0 ? nullptr : &m_items[position - 1];
}

const TextItem* Document::FindItem(int index) const { return const_cast<Document*>(this)->findMutable(index); }

int Document::PositionOf(int index) const {
  if (index < 1) return 0;
  auto it = std::find_if(m_items.rbegin(), m_items.rend(), [index](const TextItem& t) { return t.Index == index; });
  return static_cast<int>(m_items.rend() - it);
}

const TextItem* Document::CurrentItem() const { return m_currentIndex < 1 ? nullptr : FindItem(m_currentIndex); }

void Document::Select(int index) { m_currentIndex = PositionOf(index) > 0 ? index : 0; }

int Document::NextLabel() const { return m_lowestFree <= kMaxItems ? m_lowestFree : 0; }

int Document::CreateItem(bool visible) {
  const int index = NextLabel();
  if (index == 0) return 0;
  TextItem item = m_template;
  item.Index = index;
  item.Visible = visible;
  m_items.push_back(std::move(item));
  if (static_cast<size_t>(index) >= m_indexUsed.size()) m_indexUsed.resize(index + 1, false);
  m_indexUsed[index] = true;
  // The next gap: amortised constant, as indices fill from the bottom.
  do ++m_lowestFree;
  while (static_cast<size_t>(m_lowestFree) < m_indexUsed.size() && m_indexUsed[m_lowestFree]);
  m_currentIndex = index;
  m_changed = true;
  return index;
}

bool Document::EditItem(int index, const std::function<void(TextItem&)>& edit) {
  TextItem* item = findMutable(index);
  if (!item) return false;
  applyEdit(*item, edit);
  return true;
}

void Document::applyEdit(TextItem& item, const std::function<void(TextItem&)>& edit) {
  TextItem edited = item;
  edit(edited);
  // Whoever edits, the item stays within the bounds every reader and renderer relies on.
  edited.Index = item.Index;
  edited.Left = ClampPosition(edited.Left);
  edited.Top = ClampPosition(edited.Top);
  edited.FontSize = ClampFontSize(edited.FontSize);
  if (edited.Caption.find_first_of("\r\n") != std::string::npos) edited.Caption = WithCrLfLineBreaks(edited.Caption);
  const auto alignment = static_cast<int>(edited.Alignment);
  if (alignment < 0 || alignment > 2) edited.Alignment = TextAlignment::Left;
  ClampEffects(edited);
  if (edited == item) return;
  item = std::move(edited);
  if (item.Index != 0) m_changed = true;
}

bool Document::SetCaption(int index, std::string caption) {
  return EditItem(index, [&](TextItem& t) { t.Caption = std::move(caption); });
}

bool Document::MoveItem(int index, double left, double top) {
  return EditItem(index, [&](TextItem& t) {
    t.Left = ClampPosition(left);
    t.Top = ClampPosition(top);
  });
}

bool Document::CentreItem(int index, const ITextMeasurer& measurer, double pictureWidth, double pictureHeight) {
  const TextItem* item = FindItem(index);
  if (!item) return false;
  const TextExtent extent = measurer.Measure(*item);
  return MoveItem(index, (pictureWidth - extent.Width) / 2, (pictureHeight - extent.Height) / 2);
}

void Document::BringToFront(int index) {
  const int position = PositionOf(index);
  if (position == 0 || position == static_cast<int>(m_items.size())) return;
  std::rotate(m_items.begin() + (position - 1), m_items.begin() + position, m_items.end());
  m_changed = true;
}

void Document::SendToBack(int index) {
  const int position = PositionOf(index);
  if (position <= 1) return;
  std::rotate(m_items.begin(), m_items.begin() + (position - 1), m_items.begin() + position);
  m_changed = true;
}

void Document::DeleteCurrentTextItem() {
  const int position = PositionOf(m_currentIndex);
  if (position == 0) return;
  m_items.erase(m_items.begin() + (position - 1));
  m_indexUsed[m_currentIndex] = false;
  m_lowestFree = std::min(m_lowestFree, m_currentIndex);
  m_currentIndex = 0;
  m_changed = true;
}

void Document::UnloadAllTextLabels() {
  m_items.clear();
  m_indexUsed.assign(1, false);
  m_lowestFree = 1;
  m_currentIndex = 0;
}

void Document::RepositionText(const ITextMeasurer& measurer, double pictureWidth, double pictureHeight) {
  auto pullIn = [&](TextItem& t) {
    const TextExtent extent = measurer.Measure(t);
    if (t.Left > pictureWidth - extent.Width) t.Left = ClampPosition(pictureWidth - extent.Width);
    if (t.Top > pictureHeight - extent.Height) t.Top = ClampPosition(pictureHeight - extent.Height);
  };
  applyEdit(m_template, pullIn);
  for (TextItem& item : m_items) applyEdit(item, pullIn);
}

void Document::StartNewDocument(std::string templateName) {
  UnloadAllTextLabels();
  m_documentOpen = true;
  m_templateName = std::move(templateName);
  m_projectPath.clear();
  m_changed = true;
}

std::string Document::WindowCaption() const {
  std::string caption = kAppTitle;
  if (!m_documentOpen) return caption + " - [no file open]";
  if (m_projectPath.empty()) return caption + " - [untitled]";
  return caption + " - [" + m_projectPath + "]";
}

}  // namespace lumora
