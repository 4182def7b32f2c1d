// The main window driven like a user: its state at start, the layout at every size down to the
// minimum, the welcome entries, the command-line project, the closing rules.
#include "app/frmMain.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedModal.h"
#include "app/mMain.h"
#include "base/AppInfo.h"
#include "controls/OpenWebSite.h"
#include "project/ProjectFileWriter.h"

namespace lumora {
namespace {

using test::ScriptedModal;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetUrlOpener([this](const QString& a) {
      urls << a;
      return true;
    });
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
    Document doc;
    doc.StartNewDocument("Banners\\Blue\\missing.jpg");
    const int index = doc.CreateItem();
    doc.SetCaption(index, "Hello");
    doc.EditItem(index, [](TextItem& item) { item.FontName = "Arial"; item.FontSize = 24; });
    const QString path = dir.filePath(name);
    EXPECT_TRUE(SaveProjectFile(path.toStdString(), doc));
    return path;
  }

  ScriptedModal modal;
  QStringList urls;
  QTemporaryDir dir;
  std::unique_ptr<frmMain> window;
};

TEST_F(MainWindowTest, StartsWithTheWelcomePanelAndOnlyTheFileCommands) {
  frmMain& w = open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZEB Lumora - [no file open]"));
  EXPECT_TRUE(w.picWelcome->isVisible());
  EXPECT_TRUE(w.lblInfo->text().isEmpty());
  for (vbkFlat* b : {w.cmdNew, w.cmdOpen, w.vbkFlat1, w.vbkFlat2, w.vbkFlat3}) EXPECT_FALSE(b->Disabled()) << b->objectName().toStdString();
  for (vbkFlat* b : {w.cmdSave, w.cmdSaveAs, w.cmdSaveImage, w.cmdAdd, w.cmdSymbol, w.cmdBringToFront, w.cmdSendToBack,
                     w.cmdDelete, w.vkBold, w.vkItalic, w.vkUnderline, w.vkStrikeout, w.vkLeft, w.vkCenter, w.vkRight,
                     w.vkFontColor, w.vkShadow, w.vkShadowColor, w.vkGrow, w.vkShrink})
    EXPECT_TRUE(b->Disabled()) << b->objectName().toStdString();
  EXPECT_FALSE(w.cboFont->isEnabled());
  EXPECT_FALSE(w.cboSize->isEnabled());
  EXPECT_FALSE(w.txtCaption->isEnabled());
  EXPECT_FALSE(w.picForeColor->isVisible());
  EXPECT_FALSE(w.mnuDelete->isEnabled());
  EXPECT_FALSE(w.mnuInsertText->isEnabled());
  EXPECT_FALSE(w.document().Changed());
}

TEST_F(MainWindowTest, ListsAreFilledAtLoad) {
  frmMain& w = open();
  ASSERT_EQ(w.cboSize->count(), 15);
  QStringList sizes;
  for (int i = 0; i < w.cboSize->count(); ++i) sizes << w.cboSize->itemText(i);
  EXPECT_EQ(sizes.join(u','), QStringLiteral("4,6,8,9,10,11,12,14,18,24,30,36,48,60,72"));
  EXPECT_EQ(w.cboSize->currentText(), QStringLiteral("9"));
  ASSERT_GT(w.cboFont->count(), 0);
  EXPECT_EQ(w.cboFont->currentIndex(), 0);
  // The load's choices act on the hidden template item and are remembered as the last ones.
  EXPECT_EQ(w.document().TemplateItem().FontName, w.cboFont->itemText(0).toStdString());
  EXPECT_FLOAT_EQ(w.document().TemplateItem().FontSize, 9.0f);
  EXPECT_EQ(w.document().LastFontSize(), 9);
}

TEST_F(MainWindowTest, WelcomePanelHasExactlyThreeEntries) {
  frmMain& w = open();
  EXPECT_EQ(w.Label4->text(), QStringLiteral("Welcome to ZEB Lumora"));
  EXPECT_EQ(w.picStartup[2], nullptr);
  EXPECT_EQ(w.lblStartup[0]->text(), QStringLiteral("Create a new image project"));
  EXPECT_EQ(w.lblStartup2[0]->text(), QStringLiteral("Choose this option to browse the image template library."));
  EXPECT_EQ(w.lblStartup[1]->text(), QStringLiteral("Open an existing image project"));
  EXPECT_EQ(w.lblStartup2[1]->text(),
            QStringLiteral("Choose this option to load an image project that you have previously created."));
  EXPECT_EQ(w.lblStartup[3]->text(), QStringLiteral("Visit the Folioworks website"));
  EXPECT_EQ(w.lblStartup2[3]->text(), QStringLiteral("Choose this option to find our what's new at Folioworks"));
  // Centred in the workspace.
  const QRect panel = w.picWelcome->geometry();
  EXPECT_NEAR(panel.center().x(), w.picWorkspace->width() / 2, 1);
  EXPECT_NEAR(panel.center().y(), w.picWorkspace->height() / 2, 1);
}

class WelcomeParts : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(WelcomeParts, AnyPartOfTheOpenEntryRunsOpen) {
  frmMain& w = open();
  QWidget* parts[] = {w.picStartup[1], w.imgStartup[1], w.lblStartup[1], w.lblStartup2[1]};
  modal.cancelFileDialog();
  QTest::mouseClick(parts[GetParam()], Qt::LeftButton, {}, QPoint(3, 3));
  ASSERT_EQ(modal.fileDialogs().size(), 1u);
  const FileDialogRequest& r = modal.fileDialogs()[0];
  EXPECT_EQ(r.kind, FileDialogRequest::Kind::Open);
  EXPECT_TRUE(r.fileMustExist);
  EXPECT_EQ(r.nameFilters, QStringList{QStringLiteral("ZEB Lumora Project Files (*.lmp) (*.lmp)")});
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZEB Lumora - [no file open]"));
  EXPECT_TRUE(modal.messageBoxes().empty());
}

INSTANTIATE_TEST_SUITE_P(frmMain, WelcomeParts, ::testing::Values(0, 1, 2, 3));

TEST_F(MainWindowTest, WelcomeNewShowsTheLibraryAndCancelKeepsTheWelcome) {
  frmMain& w = open();
  QTest::mouseClick(w.lblStartup[0], Qt::LeftButton, {}, QPoint(3, 3));
  EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmChooseClipart")});
  EXPECT_FALSE(w.document().DocumentOpen());
  EXPECT_TRUE(w.picWelcome->isVisible());
}

TEST_F(MainWindowTest, WelcomeWebEntryAndWebButtonOpenTheHomePage) {
  frmMain& w = open();
  QTest::mouseClick(w.lblStartup2[3], Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseClick(w.vbkFlat2, Qt::LeftButton);
  EXPECT_EQ(urls, QStringList({mMain::HomePageAddress(), mMain::HomePageAddress()}));
}

TEST_F(MainWindowTest, AboutButtonShowsTheAboutBox) {
  frmMain& w = open();
  QTest::mouseClick(w.vbkFlat3, Qt::LeftButton);
  EXPECT_EQ(modal.windows(), std::vector<QString>{QStringLiteral("lumora::frmAbout")});
}

TEST_F(MainWindowTest, OpeningAProjectShowsItAndEnablesTheDocumentCommands) {
  frmMain& w = open();
  const QString path = writeProject(QStringLiteral("one.lmp"));
  modal.answerFile(path);
  QTest::mouseClick(w.cmdOpen, Qt::LeftButton);
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZEB Lumora - [") + QDir::toNativeSeparators(path) + "]");
  EXPECT_FALSE(w.picWelcome->isVisible());
  EXPECT_FALSE(w.cmdSave->Disabled());
  EXPECT_FALSE(w.cmdSaveAs->Disabled());
  EXPECT_FALSE(w.cmdAdd->Disabled());
  EXPECT_FALSE(w.lblInfo->text().isEmpty());
  ASSERT_EQ(w.document().TextItems().size(), 1u);
  EXPECT_EQ(w.document().CurrentIndex(), 1);
  EXPECT_FALSE(w.vkBold->Disabled());
  EXPECT_EQ(w.cboSize->currentText(), QStringLiteral("24"));
  EXPECT_EQ(w.txtCaption->toPlainText(), QStringLiteral("Hello"));
  EXPECT_FALSE(w.document().Changed());
}

TEST_F(MainWindowTest, OpeningSomethingElseWarns) {
  frmMain& w = open();
  const QString path = dir.filePath(QStringLiteral("not-a-project.lmp"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("<ZEB Image File> \nnope\n");
  file.close();
  modal.answerFile(path);
  QTest::mouseClick(w.cmdOpen, Qt::LeftButton);
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text, QStringLiteral("Unable to open file."));
  EXPECT_EQ(modal.messageBoxes()[0].style, MsgBox::OKCancel | MsgBox::Exclamation);
  EXPECT_FALSE(w.document().DocumentOpen());
}

TEST_F(MainWindowTest, CommandLineProjectOpensSilentlyAtActivation) {
  mMain::PendingProjectPath = writeProject(QStringLiteral("start.lmp"));
  frmMain& w = open();
  EXPECT_TRUE(QTest::qWaitFor([&] { return w.document().DocumentOpen(); }, 5000));
  EXPECT_TRUE(mMain::PendingProjectPath.isEmpty());
  EXPECT_FALSE(w.document().Changed());
  EXPECT_EQ(w.document().TextItems().size(), 1u);
  EXPECT_TRUE(modal.messageBoxes().empty());
}

TEST_F(MainWindowTest, CommandLineFileThatIsNoProjectIsIgnoredWithoutAMessage) {
  const QString path = dir.filePath(QStringLiteral("junk.lmp"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("\x89PNG junk");
  file.close();
  mMain::PendingProjectPath = path;
  frmMain& w = open();
  EXPECT_TRUE(QTest::qWaitFor([&] { return mMain::PendingProjectPath.isEmpty(); }, 5000));
  EXPECT_FALSE(w.document().DocumentOpen());
  EXPECT_TRUE(w.picWelcome->isVisible());
  EXPECT_TRUE(modal.messageBoxes().empty());
  EXPECT_EQ(w.windowTitle(), QStringLiteral("ZEB Lumora - [no file open]"));
}

TEST_F(MainWindowTest, ExitClosesWithoutAQuestionWhenUnchanged) {
  frmMain& w = open();
  QTest::mouseClick(w.vbkFlat1, Qt::LeftButton);
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(modal.messageBoxes().empty());
}

TEST_F(MainWindowTest, ChangedDocumentAsksAndCancelKeepsTheWindowOpen) {
  frmMain& w = open();
  w.document().SetChanged(true);
  modal.answerMessageBox(MsgBox::Cancel);
  w.close();
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(modal.messageBoxes().size(), 1u);
  EXPECT_EQ(modal.messageBoxes()[0].text, QStringLiteral("Do you want to save the current image?"));
  EXPECT_EQ(modal.messageBoxes()[0].style, MsgBox::YesNoCancel | MsgBox::Information);
  modal.answerMessageBox(MsgBox::No);
  w.close();
  EXPECT_FALSE(w.isVisible());
}

TEST_F(MainWindowTest, YesWithACancelledSaveDialogCancelsTheClose) {
  frmMain& w = open();
  w.document().SetChanged(true);
  modal.answerMessageBox(MsgBox::Yes);
  modal.cancelFileDialog();
  w.close();
  EXPECT_TRUE(w.isVisible());
  ASSERT_EQ(modal.fileDialogs().size(), 1u);
  EXPECT_EQ(modal.fileDialogs()[0].kind, FileDialogRequest::Kind::Save);
  EXPECT_TRUE(modal.fileDialogs()[0].confirmOverwrite);
  EXPECT_EQ(modal.fileDialogs()[0].defaultSuffix, QStringLiteral("lmp"));
}

class Layout : public MainWindowTest, public ::testing::WithParamInterface<QSize> {};

TEST_P(Layout, FollowsTheWindowSize) {
  frmMain& w = open();
  w.resize(GetParam());
  QApplication::processEvents();
  const QSize size = w.size();
  EXPECT_GE(size.width(), 812);
  EXPECT_GE(size.height(), 591);
  EXPECT_EQ(w.txtCaption->geometry().bottom() + 1, size.height() - 6);  // 6 px above the bottom
  EXPECT_EQ(w.txtCaption->width(), size.width() - 2 * w.txtCaption->x());
  EXPECT_EQ(w.lblInfo->geometry().bottom() + 1, w.txtCaption->y() - 8);
  EXPECT_EQ(w.Image1->y(), w.lblInfo->y() - 10);
  EXPECT_EQ(w.Image1->width(), size.width() - 2 * w.Image1->x());
  EXPECT_EQ(w.picWorkspace->geometry().bottom() + 1, w.Image1->y() - 8);  // 8 px above the divider
  EXPECT_EQ(w.picWorkspace->width(), size.width() - 2 * w.picWorkspace->x());
  EXPECT_EQ(w.Shape2->geometry(), w.picWorkspace->geometry().adjusted(-1, -1, 1, 1));
  EXPECT_EQ(w.RibbonContainer1->width(), size.width() - 2 * w.RibbonContainer1->x());
  EXPECT_EQ(w.Image2->width(), size.width() - 2 * w.Image2->x());
  EXPECT_EQ(w.Image2->geometry().bottom() + 1, size.height());
  EXPECT_NEAR(w.picWelcome->geometry().center().x(), w.picWorkspace->width() / 2, 1);
  EXPECT_NEAR(w.picWelcome->geometry().center().y(), w.picWorkspace->height() / 2, 1);
}

INSTANTIATE_TEST_SUITE_P(frmMain, Layout,
                         ::testing::Values(QSize(812, 591), QSize(300, 200), QSize(813, 592), QSize(1000, 700),
                                           QSize(1200, 900)));

TEST_F(MainWindowTest, CannotBeMadeSmallerThanDesigned) {
  frmMain& w = open();
  w.resize(400, 300);
  EXPECT_GE(w.width(), 812);
  EXPECT_GE(w.height(), 591);
}

}  // namespace
}  // namespace lumora
