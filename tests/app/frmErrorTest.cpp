// ReportError and its window: beep, number and description, Retry goes on, Exit closes the main window.
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

using test::ScriptedModal;

TEST(frmError, ShowsTheTextsAndStartsWithAFalseAnswer) {
  frmError form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Error"));
  EXPECT_FALSE(form.Answer);
  QStringList texts;
  for (const QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
  for (const char* expected :
       {"We are sorry, an error has occured and the operation could not be completed.",
        "It may be possible to recover from this error. To attempt to continue, click 'Retry', to close this "
        "application, click 'Exit'.",
        "Please report this error using the contact form at the ZEB Software website:",
        "The following diagnostic information may assist us in identifying the cause of the error:",
        "Error number:", "Error description:"})
    EXPECT_TRUE(texts.contains(QString::fromUtf8(expected))) << expected;
  EXPECT_EQ(form.cmdRetry->text(), QStringLiteral("&Retry"));
  EXPECT_EQ(form.cmdExit->text(), QStringLiteral("Exit"));
}

TEST(ReportError, RetryGoesOnAndTheWindowKeepsOpen) {
  ScriptedModal modal;
  QWidget mainWindow;
  mainWindow.show();
  InstallErrorReport(mainWindow);
  QString shownNumber, shownDescription;
  modal.onNextWindow([&](QDialog& d) {
    auto& form = static_cast<frmError&>(d);
    shownNumber = form.lblNum->text();
    shownDescription = form.lblDesc->text();
    QTest::mouseClick(form.cmdRetry, Qt::LeftButton);
  });
  bool finished = false;
  Guarded([&] {
    throw LumoraError(53, "File not found");
    finished = true;
  });
  QApplication::processEvents();
  EXPECT_FALSE(finished);
  EXPECT_EQ(modal.beeps(), 1);
  EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmError")});
  EXPECT_EQ(shownNumber, QStringLiteral("53"));
  EXPECT_EQ(shownDescription, QStringLiteral("File not found"));
  EXPECT_TRUE(mainWindow.isVisible());
  SetErrorReporter({});
}

TEST(ReportError, ExitClosesTheMainWindow) {
  ScriptedModal modal;
  QWidget mainWindow;
  mainWindow.show();
  InstallErrorReport(mainWindow);
  modal.onNextWindow([](QDialog& d) { QTest::mouseClick(static_cast<frmError&>(d).cmdExit, Qt::LeftButton); });
  Guarded([] { throw std::runtime_error("boom"); });
  QApplication::processEvents();
  EXPECT_FALSE(mainWindow.isVisible());
  SetErrorReporter({});
}

TEST(ReportError, ClosingTheWindowWithoutAnAnswerMeansExit) {
  ScriptedModal modal;
  QWidget mainWindow;
  mainWindow.show();
  EXPECT_FALSE(ShowErrorReport(LumoraError(7, "Out of memory"), &mainWindow));
  QApplication::processEvents();
  EXPECT_FALSE(mainWindow.isVisible());
}

TEST(ReportError, AnyExceptionBecomesANumberAndDescription) {
  ScriptedModal modal;
  QWidget mainWindow;
  InstallErrorReport(mainWindow);
  QString number;
  modal.onNextWindow([&](QDialog& d) {
    number = static_cast<frmError&>(d).lblNum->text();
    static_cast<frmError&>(d).cmdRetry->click();
  });
  Guarded([] { throw 42; });
  EXPECT_EQ(number, QString::number(ErrorNumber::kInternal));
  SetErrorReporter({});
}

}  // namespace
}  // namespace lumora
