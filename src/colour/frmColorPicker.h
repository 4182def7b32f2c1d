// The colour picker: a grid of the 216 web-safe colours, a swatch with the chosen colour's
// hexadecimal text, and the platform's full colour dialog behind "&Custom...". The caller shows it
// through Modal().exec() and reads ResultColor: -1 when no colour was chosen.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "base/Colour.h"

class QFrame;
class QLabel;
class QPushButton;

namespace lumora {

class frmColorPicker : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kBoxCount = 216;
  static constexpr int kColumns = 18;

  explicit frmColorPicker(QWidget* owner = nullptr);

  // Set by OK to the swatch colour, by Cancel or the close box to -1.
  Colour ResultColor = 0;

  // What the window shows, for its callers' tests.
  QFrame* box(int index) const { return m_boxes.at(static_cast<size_t>(index)); }
  Colour boxColour(int index) const;
  QString boxTag(int index) const;
  int selectedIndex() const { return m_selected; }
  QString hexText() const;
  Colour swatchColour() const { return m_swatchColour; }
  QFrame* innerMarker() const { return m_innerMarker; }
  QFrame* outerMarker() const { return m_outerMarker; }
  QPushButton* okButton() const { return m_ok; }
  QPushButton* cancelButton() const { return m_cancel; }
  QPushButton* customButton() const { return m_custom; }

  void selectBox(int index);
  void reject() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildGrid();
  void setSwatch(Colour colour);
  void chooseCustom();

  std::vector<QFrame*> m_boxes;
  std::vector<Colour> m_colours;
  QFrame* m_innerMarker = nullptr;
  QFrame* m_outerMarker = nullptr;
  QLabel* m_hexText = nullptr;
  QFrame* m_swatch = nullptr;
  QPushButton* m_ok = nullptr;
  QPushButton* m_cancel = nullptr;
  QPushButton* m_custom = nullptr;
  Colour m_swatchColour = 0;
  int m_selected = -1;
};

// "#RRGGBB" of a colour value, upper-case hexadecimal.
QString HexTag(Colour colour);

}  // namespace lumora
