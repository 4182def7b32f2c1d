// frmAbout: the about box with the product's title, version and a link to its web page.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace lumora {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* owner = nullptr);

  QLabel* lblTitle;
  QLabel* lblVersion;
  QLabel* lblDescription;
  QLabel* lblDisclaimer;
  QLabel* lblLink;
  QPushButton* cmdOK;

  static QString VersionText();
};

}  // namespace lumora
