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
  const struct {
    const char* name;
    std::function<void()> fault;
    QPushButton* frmError::*answer;  // none: the window is closed without an answer
    QString number, description;
    bool goesOn;
  } cases[] = {
      {"ours", [] { throw LumoraError(53, "File not found"); }, &frmError::cmdRetry, "53", "File not found", true},
      {"standard", [] { throw std::runtime_error("boom"); }, &frmError::cmdExit,
       QString::number(ErrorNumber::kInternal), "boom", false},
      {"memory", [] { throw std::bad_alloc(); }, nullptr, QString::number(ErrorNumber::kOutOfMemory), "Out of memory",
       false},
      {"anything", [] { throw 42; }, &frmError::cmdRetry, QString::number(ErrorNumber::kInternal), "Internal error", true},
  };
  for (const auto& c : cases) {
    test::ScriptedModal modal;
    QWidget mainWindow;
    mainWindow.show();
    InstallErrorReport(mainWindow);
    QString number, description;
    modal.onNextWindow([&](QDialog& d) {
      auto& form = static_cast<frmError&>(d);
      number = form.lblNum->text();
      description = form.lblDesc->text();
      if (c.answer) QTest::mouseClick(form.*c.answer, Qt::LeftButton);
    });
    Guarded(c.fault);
    QApplication::processEvents();
    EXPECT_EQ(modal.beeps(), 1) << c.name;
    EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmError")}) << c.name;
    EXPECT_EQ(number, c.number) << c.name;
    EXPECT_EQ(description, c.description) << c.name;
    EXPECT_EQ(mainWindow.isVisible(), c.goesOn) << c.name;
    SetErrorReporter({});
  }
}

}  // namespace
}  // namespace lumora
