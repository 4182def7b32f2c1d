// An error in a handler: a beep, the error window with its number and description; Retry goes on,
// Exit or closing the window closes the main window.
#include "app/frmError.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ScriptedModal.h"
#include "app/ErrorReport.h"
#include "base/LumoraError.h"
#include "controls/ErrorGuard.h"

namespace lumora {
namespace {

TEST(ReportError, ShowsWhatWentWrongAndRetryGoesOnWhileExitCloses) {
  const QString internal = QString::number(ErrorNumber::kInternal);
  const std::tuple<std::function<void()>, QPushButton* frmError::*, QString, QString> cases[] = {
      {[] { throw LumoraError(53, "File not found"); }, &frmError::cmdRetry, "53", "File not found"},
      {[] { throw std::runtime_error("boom"); }, &frmError::cmdExit, internal, "boom"},
      {[] { throw std::bad_alloc(); }, nullptr, QString::number(ErrorNumber::kOutOfMemory), "Out of memory"},
      {[] { throw 42; }, &frmError::cmdRetry, internal, "Internal error"},
  };
  for (const auto& [fault, answer, number, description] : cases) {
    test::ScriptedModal modal;
    QWidget mainWindow;
    mainWindow.show();
    InstallErrorReport(mainWindow);
    QString shown;
    modal.onNextWindow([&](QDialog& d) {
      auto& form = static_cast<frmError&>(d);
      shown = form.lblNum->text() + ' ' + form.lblDesc->text();
      if (answer) QTest::mouseClick(form.*answer, Qt::LeftButton);  // none: closed without an answer
    });
    Guarded(fault);
    QApplication::processEvents();
    EXPECT_EQ(shown, number + ' ' + description);
    EXPECT_EQ(modal.beeps(), 1) << description.toStdString();
    EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmError")});
    EXPECT_EQ(mainWindow.isVisible(), answer == &frmError::cmdRetry) << description.toStdString();
    SetErrorReporter({});
  }
}

}  // namespace
}  // namespace lumora
