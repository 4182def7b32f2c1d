// frmError: the error report window. ReportError shows it modally; the user either goes on
// ("&Retry") or ends the program ("Exit").
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace lumora {

class frmError : public QDialog {
  Q_OBJECT

 public:
  explicit frmError(QWidget* owner = nullptr);

  // True when the user chose to go on; false when the window loads and after "Exit".
  bool Answer = false;

  QLabel* lblNum;
  QLabel* lblDesc;
  QLabel* lblLink;
  QPushButton* cmdRetry;
  QPushButton* cmdExit;
};

}  // namespace lumora
