// The character map ("Insert Symbol"): a 15 x 15 grid of a symbol font's characters (the codes
// 32 to 255 of the classic four, the first signs the face has of the others), a magnifier over
// the selected cell, and a preview of the chosen symbol with its size, colour and shadow. The
// caller shows it through Modal().exec() and reads SymbolText; when that is not empty, the five
// companions describe how to format it.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "base/Colour.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;

namespace lumora {

class frmCharacterMap : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kColumns = 15;
  static constexpr int kCellCount = 225;
  static constexpr double kDesignSize = 20.25;  // points

  explicit frmCharacterMap(QWidget* owner = nullptr);

  // The characters 32 to 255 of Windows-1252 in code order, then a second space.
  static const QString& CharacterSet();

  // Results, read by the caller once the window has closed.
  QString SymbolText;
  QString SymbolFontName;
  Colour SymbolColor = 0;
  int16_t SymbolSize = 20;
  bool SymbolShadow = false;
  Colour SymbolShadowColor = 0;

  void DrawCell(const QString& character, bool selected, bool focused);
  void DrawMap();
  void SelectCharacter(int index);
  void ShowMagnifier(int index);
  void SetMagnifierVisible(bool visible);
  void PositionLabels();

  // What the window shows, for its callers' tests.
  int selectedChar() const { return m_selectedChar; }
  // The character cell `index` (1 to 225) shows; empty past the last sign of a small face.
  QString cellText(int index) const { return m_cells.value(index - 1); }
  QString chosenText() const { return m_chosenText; }
  double previewSize() const { return m_previewSize; }
  Colour previewColour() const { return m_previewColour; }
  Colour shadowColour() const { return m_shadowColour; }
  QSize cellSize() const { return {m_cellWidth, m_cellHeight}; }
  const QImage& gridImage() const { return m_gridImage; }
  QLabel* grid() const { return m_grid; }
  QLabel* magnifier() const { return m_magnifier; }
  QLabel* magnifierShadow() const { return m_magnifierShadow; }
  QLabel* previewLabel() const { return m_preview; }
  QLabel* shadowLabel() const { return m_shadow; }
  QGroupBox* previewFrame() const { return m_previewFrame; }
  QLabel* noFontsLine() const { return m_noFonts; }
  QComboBox* fontList() const { return m_fontList; }
  QPushButton* insertButton() const { return m_insert; }
  QPushButton* cancelButton() const { return m_cancel; }
  QPushButton* increaseButton() const { return m_increase; }
  QPushButton* decreaseButton() const { return m_decrease; }
  QPushButton* foreColourButton() const { return m_foreColour; }
  QPushButton* shadowColourButton() const { return m_shadowColourButton; }
  QCheckBox* showShadowBox() const { return m_showShadow; }

  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void createOptions();
  void load();
  void insert();
  void applyFont(const QString& name);
  void setChosenText(const QString& text);
  void changeSize(double delta);
  void chooseColour(Colour& target, QLabel* label);
  void showGrid();
  void copyCell(int index, int width, int height);

  // Grid events (frmCharacterMap_Grid.cpp).
  bool gridEvent(QEvent* event);
  void gridMouseMove(QPoint position, Qt::MouseButtons buttons);
  void gridMouseRelease(Qt::MouseButton button);
  void gridKey(int key, bool control, const QString& text);
  int keyTarget(int key, bool control) const;
  void typedCharacter(const QString& character);
  void setFocused(bool focused);

  QComboBox* m_fontList = nullptr;
  QLabel* m_grid = nullptr;
  QLabel* m_magnifier = nullptr;
  QLabel* m_magnifierShadow = nullptr;
  QLabel* m_noFonts = nullptr;
  QGroupBox* m_previewFrame = nullptr;
  QLabel* m_preview = nullptr;
  QLabel* m_shadow = nullptr;
  QPushButton* m_increase = nullptr;
  QPushButton* m_decrease = nullptr;
  QPushButton* m_foreColour = nullptr;
  QPushButton* m_shadowColourButton = nullptr;
  QCheckBox* m_showShadow = nullptr;
  QPushButton* m_insert = nullptr;
  QPushButton* m_cancel = nullptr;

  QImage m_gridImage;   // what picCharacterMap keeps
  QImage m_cellImage;   // picTemp
  QString m_gridFont;
  QStringList m_cells;  // what each cell shows, in the grid font
  QString m_chosenText;  // txtChars
  int m_selectedChar = 0;
  bool m_hasFocus = false;
  bool m_cursorShown = true;
  int m_cellWidth = 0, m_cellHeight = 0;
  double m_cellWidthTwips = 0, m_cellHeightTwips = 0;
  double m_previewSize = kDesignSize;
  Colour m_previewColour = static_cast<Colour>(0x80000012u);  // button text
  Colour m_shadowColour = 0x808080;
};

}  // namespace lumora
