// The main window driven like a user: the welcome entries, opening projects good and bad (also
// from the command line, and the command line itself), the closing rules, and the error report.
#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedModal.h"
#include "app/ErrorReport.h"
#include "app/frmError.h"
#include "app/mMain.h"
#include "base/AppInfo.h"
#include "base/LumoraError.h"
#include "controls/ErrorGuard.h"
#include "controls/OpenWebSite.h"
#include "controls/frmAbout.h"

namespace lumora {
namespace {

const QString kNoFile = QStringLiteral("ZEB Lumora - [no file open]");

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUrlOpener([this](const QString& address) { return urls << address, opens; });
  }
  void TearDown() override {
    window.reset();
    SetUrlOpener({});
    mMain::PendingProjectPath.clear();
  }
  frmMain& open() {
    window = std::make_unique<frmMain>();
    window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    return *window;
  }
  // A valid project file with one item on a template the library does not have.
  QString writeProject(const QString& name) {
    return writeFile(name,
                     "<ZEB Image File>\r\n\t<Template>Banners\\Blue\\missing.jpg</Template>\r\n\t<TextItem>\r\n"
                     "\t\t<Caption>Hello</Caption>\r\n\t\t<FontSize>24</FontSize>\r\n\t</TextItem>\r\n"
                     "</ZEB Image File>\r\n");
  }
  QString writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
  }

  test::ScriptedModal modal;
  QStringList urls;
  bool opens = true;  // whether a browser opens the addresses
  QTemporaryDir dir;
  std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, EveryPartOfAWelcomeEntryAndTheWebAndAboutButtonsRunTheirCommands) {
  frmMain& w = open();
  for (int entry : {0, 1, 3})
    for (QWidget* part : std::initializer_list<QWidget*>{w.picStartup[entry], w.imgStartup[entry], w.lblStartup[entry],
                                                         w.lblStartup2[entry]})
      QTest::mouseClick(part, Qt::LeftButton, {}, QPoint(3, 3));
  // New shows the library, Open the file dialog (both cancelled), the web entry the home page.
  EXPECT_EQ(modal.windows(), std::vector<QString>(4, QStringLiteral("lumora::frmChooseClipart")));
  ASSERT_EQ(modal.fileDialogs().size(), 4u);
  EXPECT_TRUE(modal.fileDialogs()[0].kind == FileDialogRequest::Kind::Open && modal.fileDialogs()[0].fileMustExist);
  EXPECT_EQ(urls, QStringList(4, mMain::HomePageAddress()));
  EXPECT_TRUE(w.picWelcome->isVisible() && w.windowTitle() == kNoFile);
  // The about box shows this build's version and its link opens the product page.
  modal.onNextWindow([](QDialog& d) {
    auto& about = static_cast<frmAbout&>(d);
    EXPECT_EQ(about.lblVersion->text(),
              QStringLiteral("Version %1.%2.%3").arg(kVersionMajor).arg(kVersionMinor).arg(kVersionRevision));
    emit about.lblLink->linkActivated(QString::fromUtf8(kProductPageAddress));
  });
  QTest::mouseClick(w.vbkFlat3, Qt::LeftButton);
  EXPECT_EQ(urls.back(), QString::fromUtf8(kProductPageAddress));
  EXPECT_TRUE(modal.messageBoxes().empty());
  opens = false;  // no browser: a message with the address as passed
  QTest::mouseClick(w.vbkFlat2, Qt::LeftButton);
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text, QStringLiteral("There was an error attempting to open the website at:\r\n") +
                                              mMain::HomePageAddress() + '.');
}

TEST_F(MainWindowTest, OpeningAProjectShowsItsItemAndOpeningSomethingElseWarns) {
  frmMain& w = open();
  modal.answerFile(writeFile(QStringLiteral("not-a-project.lmp"), "<ZEB Image File> \nnope\n"));
  QTest::mouseClick(w.cmdOpen, Qt::LeftButton);
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(std::pair(modal.messageBoxes()[0].text, modal.messageBoxes()[0].style),
            std::pair(QStringLiteral("Unable to open file."), MsgBox::OKCancel | MsgBox::Exclamation));
  EXPECT_EQ(w.windowTitle(), kNoFile);
  const QString path = writeProject(QStringLiteral("one.lmp"));
  modal.answerFile(path);
  QTest::mouseClick(w.cmdOpen, Qt::LeftButton);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZEB Lumora - [") + QDir::toNativeSeparators(path) + "]");
  ASSERT_EQ(w.document().TextItems().size(), 1u);
  EXPECT_EQ(std::pair(w.cboSize->currentText(), w.txtCaption->toPlainText()),
            std::pair(QString("24"), QString("Hello")));
  EXPECT_FALSE(w.document().Changed() || w.picWelcome->isVisible());
  EXPECT_EQ(modal.messageBoxes().size(), 1u);
}

TEST_F(MainWindowTest, ACommandLineProjectOpensSilentlyAndAnythingElseIsIgnoredSilently) {
  for (const bool project : {true, false}) {
    mMain::PendingProjectPath =
        project ? writeProject(QStringLiteral("start.lmp")) : writeFile(QStringLiteral("junk.lmp"), "\x89PNG junk");
    frmMain& w = open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return mMain::PendingProjectPath.isEmpty(); }, 5000));
    QApplication::processEvents();
    EXPECT_EQ(std::pair(w.document().DocumentOpen(), w.document().TextItems().size()),
              std::pair(project, size_t(project ? 1 : 0)));
    EXPECT_TRUE(!w.document().Changed() && modal.messageBoxes().empty());
  }
}

TEST_F(MainWindowTest, ClosingAsksOnlyForAChangedDocumentAndCancelKeepsTheWindow) {
  // Changed, the question's answer, the file dialog's answer when it is shown (empty cancels it), closes.
  const std::tuple<bool, int, QString, bool> cases[] = {{false, 0, {}, true},
                                                        {true, MsgBox::Cancel, {}, false},
                                                        {true, MsgBox::No, {}, true},
                                                        {true, MsgBox::Yes, {}, false},
                                                        {true, MsgBox::Yes, dir.filePath("closing.lmp"), true}};
  for (const auto& [changed, answer, saveAs, closes] : cases) {
    SCOPED_TRACE(testing::Message() << changed << " " << answer << " " << saveAs.toStdString());
    const size_t questions = modal.messageBoxes().size(), dialogs = modal.fileDialogs().size();
    frmMain& w = open();
    if (changed) {
      w.document().StartNewDocument("Banners\\x.jpg");
      w.document().SetChanged(true);
      modal.answerMessageBox(answer);
    }
    if (answer == MsgBox::Yes) saveAs.isEmpty() ? modal.cancelFileDialog() : modal.answerFile(saveAs);
    QTest::mouseClick(w.vbkFlat1, Qt::LeftButton);
    EXPECT_EQ(w.isVisible(), !closes);
    ASSERT_EQ(modal.messageBoxes().size() - questions, changed ? 1u : 0u);
    EXPECT_TRUE(!changed || (modal.messageBoxes().back().text == "Do you want to save the current image?" &&
                             modal.messageBoxes().back().style == (MsgBox::YesNoCancel | MsgBox::Information)));
    EXPECT_EQ(modal.fileDialogs().size() - dialogs, answer == MsgBox::Yes ? 1u : 0u);
    EXPECT_EQ(QFile::exists(saveAs), !saveAs.isEmpty());
    w.document().SetChanged(false);
  }
}

TEST(mMain, TheCommandLineGivesThePendingPath) {
  const std::pair<QStringList, QString> cases[] = {
      {{"lumora"}, ""},
      {{"lumora", "/a b/c.lmp"}, "/a b/c.lmp"},
      {{"lumora", "/a", "b.lmp"}, "/a b.lmp"},  // an unquoted path with a blank comes in two
      {{"lumora", "\"/home/u/my banner.lmp\""}, "/home/u/my banner.lmp"},
      {{"lumora", "\" spaced \""}, " spaced "},
      {{"lumora", "   /tmp/a.lmp  "}, "/tmp/a.lmp"},
      {{"lumora", "\t/tmp/a.lmp\t"}, "\t/tmp/a.lmp\t"},  // tabs are not blanks
      {{"lumora", "\"/tmp/open.lmp"}, "/tmp/open.lm"},   // no closing quote: the last character is lost
      {{"lumora", "\""}, ""},
      {{"lumora", "\"\""}, ""},
      {{"lumora", "   "}, ""},
  };
  for (const auto& [arguments, path] : cases)
    EXPECT_EQ(mMain::ProjectPathFromArgument(mMain::ArgumentText(arguments)), path)
        << arguments.join('|').toStdString();
}

// The program itself, started as a user starts it: its version without a window, and a window
// that comes up, records where the program lives, and paints.
TEST(mMain, TheProgramStartsPaintsAndRecordsWhereItLives) {
  QTemporaryDir home;
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  environment.insert("LUMORA_REPORT_FIRST_PAINT", "1");  // a window reports its first paint on stdout
  program.setProcessEnvironment(environment);
  const QString binary = QCoreApplication::applicationDirPath() + "/lumora";
  program.start(binary, {"--version"});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_EQ(program.readAllStandardOutput(), QByteArray("lumora ") + kVersionText + "\n");
  program.start(binary, {home.filePath("missing.lmp")});
  ASSERT_TRUE(program.waitForFinished(20000));
  EXPECT_TRUE(program.exitCode() == 0 && program.readAllStandardOutput().startsWith("first-paint "));
  QSettings settings(home.filePath("config/ZEB Software.conf"), QSettings::IniFormat);
  EXPECT_EQ(settings.value("General/ZEBLumoraPath").toString(), QCoreApplication::applicationDirPath());
}

TEST(ReportError, ShowsWhatWentWrongAndRetryGoesOnWhileExitCloses) {
  const QString internal = QString::number(ErrorNumber::kInternal);
  const std::tuple<std::function<void()>, QPushButton * frmError::*, QString, QString> cases[] = {
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
    EXPECT_EQ(std::pair(modal.beeps(), modal.windows().size()), std::pair(1, size_t(1))) << description.toStdString();
    EXPECT_EQ(mainWindow.isVisible(), answer == &frmError::cmdRetry) << description.toStdString();
    SetErrorReporter({});
  }
}

}  // namespace
}  // namespace lumora
