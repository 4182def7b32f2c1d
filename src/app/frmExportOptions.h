// The export options window, opened from Save Image's file dialog: the JPEG quality, the GIF
// palette and whether a PNG keeps the template's transparency. The choice is kept in the settings and used by every export after it.
#pragma once

#include <QDialog>

#include "pictureio/ExportOptions.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QSpinBox;

namespace lumora {

ExportOptions LoadExportOptions();
void SaveExportOptions(const ExportOptions& options);

class frmExportOptions : public QDialog {
  Q_OBJECT
 public:
  explicit frmExportOptions(QWidget* owner = nullptr);

  QSpinBox* spnQuality;
  QComboBox* cboPalette;
  QCheckBox* chkPngAlpha;
  QPushButton* cmdOK;
  QPushButton* cmdCancel;

  // Shows the window over `owner`; OK keeps what it shows.
  static void Edit(QWidget* owner);
};

}  // namespace lumora
