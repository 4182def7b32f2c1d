// The user's own pictures in the browser: the program's types, then the user's; Add Picture or a
// drop copies a picture into the user's library under My Pictures and shows it chosen; what the
// picture loader refuses, a category that would leave the library, names taken or hidden.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "DropFiles.h"
#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "compose/TemplateLibraries.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

TEST(UserLibrary, AddPictureCopiesThePictureInShowsItAndRefusesWhatTheLoaderRefuses) {
  test::TempLibrary program, elsewhere;
  program.addPicture("Banners", "Warm", "a.png", {30, 10});
  const QString user = QString::fromStdString(UserTemplateLibrary().string());
  QDir(user).removeRecursively();
  const QString photo = elsewhere.addPicture("x", "y", "Sea.png", {40, 20});
  const QString bomb = elsewhere.addFile("x", "y", "bomb.png", test::PngClaiming(60000, 60000));
  const QString hidden = elsewhere.addPicture("x", "y", ".png", {8, 8}), bare = elsewhere.addPicture("x", "y", "Bare", {8, 8});
  frmChooseClipart::LastTypeIndex = frmChooseClipart::LastCategoryIndex = 0;
  frmChooseClipart::SetLibraryRoot(program.root());
  test::ScriptedModal modal;
  frmChooseClipart browser;
  browser.show();
  const auto add = [&](const QString& file, const QString& category) {
    modal.answerFile(file);
    modal.onNextWindow([=](QDialog& d) { static_cast<QInputDialog&>(d).setTextValue(category), d.accept(); });
    QTest::mouseClick(browser.cmdAddPicture(), Qt::LeftButton);
  };
  const struct {
    QString file, category, chosen, says;
  } cases[] = {{photo, "Summer", "Sea.png", ""},
               {photo, " Summer ", "Sea (2).png", ""},
               {bomb, "Summer", "Sea (2).png", "could not be opened: the picture is too large (60000 x 60000 pixels)."},
               {photo, "a/../../Out", "Sea (2).png", "\"a/../../Out\" cannot be a category"},
               {hidden, "Summer", "picture.png", ""},  // a name the browser would hide
               {bare, "Summer", "Bare", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.category.toStdString() + " " + c.file.toStdString());
    const size_t boxes = modal.messageBoxes().size();
    add(c.file, c.category);
    EXPECT_EQ(modal.messageBoxes().size(), boxes + !c.says.isEmpty());
    if (!c.says.isEmpty()) {
      EXPECT_TRUE(modal.messageBoxes().back().text.contains(c.says)) << modal.messageBoxes().back().text.toStdString();
    }
    ASSERT_EQ(browser.Combo1()->count(), 2);
    EXPECT_EQ(browser.Combo1()->item(1)->text(), "My Pictures") << "after the program's types";
    EXPECT_EQ(browser.Combo1()->currentRow(), 1);
    EXPECT_EQ(browser.combo2()->currentItem()->text(), "Summer");
    EXPECT_EQ(browser.Files().value(browser.SelectedIndex()), c.chosen);
  }
  modal.onNextWindow([](QDialog& d) { d.accept(); });  // a picture dropped on the browser: Imported
  EXPECT_TRUE(test::DropFiles(browser, {photo}));
  EXPECT_EQ(browser.combo2()->currentItem()->text(), "Imported");
  EXPECT_EQ(QDir(user + "/My Pictures/Summer").entryList(QDir::Files), QStringList({"Bare", "picture.png", "Sea (2).png", "Sea.png"}));
  EXPECT_FALSE(QFile::exists(user + "/My Pictures/Out") || QFile::exists(user + "/Out"));
  const auto bytes = [](const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  };
  EXPECT_EQ(bytes(user + "/My Pictures/Summer/Sea (2).png"), bytes(photo));
  QTest::mouseClick(browser.CmdOK(), Qt::LeftButton);
  EXPECT_EQ(browser.TemplateRelativePath, "My Pictures\\Imported\\Sea.png");
  EXPECT_EQ(browser.TemplatePath, user + "/My Pictures/Imported/Sea.png");
  frmChooseClipart::SetLibraryRoot({});
}

}  // namespace
}  // namespace lumora
