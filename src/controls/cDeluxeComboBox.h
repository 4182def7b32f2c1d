// Draws the items of an owner-drawn combo box list (see SubclassOwnerDraw.h): for the font list
// each font name in its own face, with one of four selection looks. It receives the list's
// drawing requests by subscribing to the combo box's messages through GSubclass.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <functional>

#include "base/Colour.h"
#include "controls/ISubclass.h"

class QComboBox;
class QFont;
class QPainter;
class QWidget;

namespace lumora {

class DrawItemEvent;

class cDeluxeComboBox : public ISubclass {
 public:
  // List kinds (sType).
  static constexpr int kPlainText = 1, kFontNames = 2, kColourNames = 3, kIcons = 4, kDrives = 5, kFiles = 6;
  // The platform's menu-button width (system metric 54), the unit of the swatch column.
  static constexpr int kMenuButtonWidth = 19;

  cDeluxeComboBox() = default;
  ~cDeluxeComboBox() override;

  // Subscribes to the combo box's paint, item-drawing and command messages; a null box is ignored.
  void Attach(QComboBox* combo);
  void Detach();
  bool attached() const { return m_combo != nullptr; }

  int sType() const { return m_sType; }
  void setSType(int value);
  int sStyle() const { return m_sStyle; }
  void setSStyle(int value) { m_sStyle = value; }
  int cSqStyle() const { return m_cSqStyle; }
  void setCSqStyle(int value) { m_cSqStyle = value; }
  int cGDir() const { return m_cGDir; }  // 0 left to right, 1 top to bottom
  void setCGDir(int value) { m_cGDir = value; }
  int cTPos() const { return m_cTPos; }  // the platform's text format flags
  void setCTPos(int value) { m_cTPos = value; }
  Colour cTHCol() const { return m_cTHCol; }
  void setCTHCol(Colour value) { m_cTHCol = value; }
  Colour cTNCol() const { return m_cTNCol; }
  void setCTNCol(Colour value) { m_cTNCol = value; }
  Colour cColor() const { return m_cColor; }
  void setCColor(Colour value) { m_cColor = value; }
  Colour cFrame() const { return m_cFrame; }
  void setCFrame(Colour value) { m_cFrame = value; }
  Colour cGrad1() const { return m_cGrad1; }
  void setCGrad1(Colour value) { m_cGrad1 = value; }
  Colour cGrad2() const { return m_cGrad2; }
  void setCGrad2(Colour value) { m_cGrad2 = value; }
  bool cFullRow() const { return m_cFullRow; }
  void setCFullRow(bool value) { m_cFullRow = value; }
  QString cFont() const { return m_cFont; }
  void setCFont(const QString& value) { m_cFont = value; }
  QString cDir() const { return m_cDir; }
  void setCDir(const QString& value) { m_cDir = value; }
  QString cDirFilter() const { return m_cDirFilter; }
  void setCDirFilter(const QString& value) { m_cDirFilter = value; }

  // 2 for paint (the combo box paints first), 1 for everything else.
  int MsgResponse() override;
  long WindowProc(QObject* hWnd, int iMsg, QEvent* event) override;

  // The drawing font of an item: for font names a face 16 pixels high named by the item, except
  // for the names the rule picks (symbol faces, whose own glyphs would hide the name), which are
  // drawn in the list's font.
  QFont itemFont(const QString& text) const;
  void setPlainFontNames(std::function<bool(const QString&)> rule) { m_plainFontName = std::move(rule); }

 private:
  void drawItem(DrawItemEvent& request);
  void drawSelectionLook(QPainter& painter, const QRect& rect) const;
  void drawItemText(QPainter& painter, QRect rect, const QString& text, const QColor& background, bool opaque) const;
  void drawDecoration(QPainter& painter, const QRect& rect, int item, const QString& text) const;
  void decorateItems();
  void fillList();

  QPointer<QComboBox> m_combo;
  int m_sType = kPlainText;
  int m_sStyle = 1;
  int m_cSqStyle = 0;
  int m_cGDir = 0;
  int m_cTPos = 0;
  Colour m_cTHCol = static_cast<Colour>(0x8000000Eu);
  Colour m_cTNCol = static_cast<Colour>(0x80000008u);
  Colour m_cColor = static_cast<Colour>(0x8000000Du);
  Colour m_cFrame = 0;
  Colour m_cGrad1 = 0x808080;
  Colour m_cGrad2 = 0xFF0000;
  bool m_cFullRow = true;
  QString m_cFont;
  QString m_cDir;
  QString m_cDirFilter = QStringLiteral("*");
  std::function<bool(const QString&)> m_plainFontName;

  // The last item drawn while it differed from the last selected one, to repaint it plainly.
  int m_lastIndex = -1;
  QRect m_lastRect;
  QString m_lastText;
  const QWidget* m_lastWindow = nullptr;
};

}  // namespace lumora
