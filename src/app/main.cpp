// The editor's entry point.
#include <QApplication>
#include <QLabel>

#include "base/AppInfo.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QLabel window(QString::fromUtf8(lumora::kAppTitle) + " - [no file open]");
  window.setWindowTitle(QString::fromUtf8(lumora::kAppTitle) + " - [no file open]");
  window.resize(812, 591);
  window.show();
  return app.exec();
}
