#include "app/ErrorReport.h"

#include <QLabel>
#include <QMetaObject>
#include <QPointer>

#include "app/frmError.h"
#include "base/LumoraError.h"
#include "controls/ErrorGuard.h"
#include "controls/ModalSeam.h"

namespace lumora {

bool ShowErrorReport(const LumoraError& error, QWidget* mainWindow) {
  Modal().beep();
  frmError form(mainWindow);
  form.lblNum->setText(QString::number(error.number()));
  form.lblDesc->setText(QString::fromStdString(error.description()));
  Modal().exec(form);
  if (form.Answer) return true;
  // Closing runs the window's closing rules; it is queued so the failed handler ends first.
  if (mainWindow) QMetaObject::invokeMethod(mainWindow, "close", Qt::QueuedConnection);
  return false;
}

void InstallErrorReport(QWidget& mainWindow) {
  QPointer<QWidget> window(&mainWindow);
  SetErrorReporter([window](const LumoraError& error) {
    // While one report is open a second error (from a handler it let run) is only beeped.
    static bool reporting = false;
    if (reporting) {
      Modal().beep();
      return;
    }
    reporting = true;
    struct Reset {
      ~Reset() { reporting = false; }
    } reset;
    ShowErrorReport(error, window.data());
  });
}

}  // namespace lumora
