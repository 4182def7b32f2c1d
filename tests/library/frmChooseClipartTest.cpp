// The template browser driven as a user drives it, on libraries the test makes and the one shipped
// with the program; and the library pictures read, refused and previewed.
#include "library/frmChooseClipart.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <functional>

#include "DropFiles.h"
#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "compose/TemplateLibraries.h"
#include "library/LibraryPictures.h"
#include "library/ScrollingImage.h"
#include "library/ThumbnailCell.h"
#include "library/ThumbnailGrid.h"
#include "library/frmPreview.h"

namespace lumora {
namespace {

class frmChooseClipartTest : public testing::Test {
 protected:
  void SetUp() override {
    frmChooseClipart::LastTypeIndex = frmChooseClipart::LastCategoryIndex = 0;
    frmChooseClipart::SetLibraryRoot(library.root());
  }
  void TearDown() override { frmChooseClipart::SetLibraryRoot({}); }

  // Shows the browser through the seam, lets the step drive it, and returns the browser's result.
  int run(frmChooseClipart& browser, const std::function<void(frmChooseClipart&)>& step) {
    modal.onNextWindow([&](QDialog& dialog) { step(static_cast<frmChooseClipart&>(dialog)); });
    return Modal().exec(browser);
  }
  static void press(frmChooseClipart& b, Qt::Key key) { QTest::keyClick(b.Picture1(), key); }
  // Names that sort in the order they are made.
  void addPictures(const QString& type, const QString& category, int count, QSize size = {64, 32}) {
    for (int i = 0; i < count; ++i)
      library.addPicture(type, category, QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')), size);
  }

  test::TempLibrary library;
  test::ScriptedModal modal;
};

TEST_F(frmChooseClipartTest, ListsTypesAndCategoriesByNameWithoutHiddenEntriesAndAtMost25Pictures) {
  addPictures("Social", "Waves", 1);
  addPictures("Banners", "Warm", 3, {300, 100});
  addPictures("Banners", "Cool", 30);
  addPictures(".cache", "x", 1), addPictures("Banners", ".thumbs", 1);
  library.addFile("Banners", "Cool", ".hidden.png", "x"), library.addFile("Banners", "", "readme.txt", "notes");
  frmChooseClipart browser;
  const auto texts = [](QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
    return items;
  };
  EXPECT_EQ(texts(browser.Combo1()), (QStringList{"Banners", "Social"}));
  EXPECT_EQ(texts(browser.combo2()), (QStringList{"Cool", "Warm"}));
  EXPECT_EQ(browser.Files().size(), 30);
  for (int i = 0; i < frmChooseClipart::kCellCount; ++i)
    EXPECT_EQ(browser.Picture2(i)->isHidden() ? "" : browser.Picture2(i)->Caption(), "64 x 32") << i;
  // The last cell is the last one offered: Left from the first wraps to it.
  press(browser, Qt::Key_Left);
  EXPECT_EQ(browser.SelectedIndex(), 24);
  // Another category rebuilds the grid and selects its first cell.
  browser.combo2()->setCurrentRow(1);
  EXPECT_EQ(browser.SelectedIndex(), 0);
  for (int i = 0; i < frmChooseClipart::kCellCount; ++i)
    EXPECT_EQ(browser.Picture2(i)->isHidden() ? "" : browser.Picture2(i)->Caption(), i < 3 ? "300 x 100" : "") << i;
}

TEST_F(frmChooseClipartTest, KeysWrapLeftAndRightAndStopUpAndDownAtTheEdges) {
  addPictures("Banners", "Twelve", 12);  // rows 0-4, 5-9, 10-11
  frmChooseClipart browser;
  run(browser, [&](frmChooseClipart& b) {
    b.Picture1()->setFocus();
    const std::pair<Qt::Key, int> steps[] = {
        {Qt::Key_Left, 11}, {Qt::Key_Right, 0}, {Qt::Key_Up, 0},   {Qt::Key_Right, 1}, {Qt::Key_Right, 2},
        {Qt::Key_Down, 7},  {Qt::Key_Down, 7},  {Qt::Key_Left, 6}, {Qt::Key_Down, 11}, {Qt::Key_Down, 11},
        {Qt::Key_Up, 6},    {Qt::Key_Up, 1},    {Qt::Key_Up, 1},   {Qt::Key_Left, 0},  {Qt::Key_Left, 11}};
    for (const auto& [key, expected] : steps) {
      press(b, key);
      ASSERT_EQ(b.SelectedIndex(), expected) << "after key " << key;
      EXPECT_TRUE(b.Picture1()->SelectionRect().contains(b.Picture2(expected)->geometry()));
    }
    press(b, Qt::Key_Return);  // reaches the default button
  });
  EXPECT_EQ(browser.result(), QDialog::Accepted);
  EXPECT_EQ(browser.TemplateRelativePath, "Banners\\Twelve\\p11.png");
}

TEST_F(frmChooseClipartTest, EveryWayToChooseOrCancel) {
  addPictures("T", "C", 8);
  using B = frmChooseClipart;
  const struct {
    const char* way;
    QString chosen;  // empty: nothing, the browser is rejected
    std::function<void(B&)> act;
  } ways[] = {
      {"click then OK", "T\\C\\p06.png",
       [](B& b) {
         QTest::mouseClick(b.Picture2(6), Qt::LeftButton, {}, {50, 20});
         EXPECT_TRUE(b.isVisible() && b.Picture1()->hasFocus());
         b.CmdOK()->click();
       }},
      {"double click", "T\\C\\p03.png",
       [](B& b) {
         QTest::mouseDClick(b.Picture2(3), Qt::LeftButton, {}, {50, 20});
       }},
      {"caption click", "T\\C\\p05.png",
       [](B& b) {
         QTest::mouseClick(b.Picture2(5), Qt::LeftButton, {}, {57, 58});
       }},
      {"context menu", "T\\C\\p02.png",
       [](B& b) {
         QTest::mouseClick(b.Picture2(2), Qt::RightButton, {}, {50, 20});
         EXPECT_TRUE(b.mnuContext()->isVisible());
         b.mnuContext()->hide();
         b.mnuCSelect()->trigger();
       }},
      {"preview, then cancel", "",
       [this](B& b) {
         modal.onNextWindow([&](QDialog& preview) { EXPECT_EQ(preview.parentWidget(), &b); });
         b.mnucPreview()->trigger();  // over the browser, which stays open
         EXPECT_TRUE(modal.windows().back() == "lumora::frmPreview" && b.isVisible());
         b.cmdCancel()->click();
       }},
      {"cancel", "", [](B& b) { b.cmdCancel()->click(); }},
      {"escape", "", [](B& b) { QTest::keyClick(b.Picture1(), Qt::Key_Escape); }},
  };
  for (const auto& w : ways) {
    frmChooseClipart browser;
    EXPECT_EQ(run(browser, w.act), w.chosen.isEmpty() ? QDialog::Rejected : QDialog::Accepted) << w.way;
    EXPECT_FALSE(browser.isVisible()) << w.way;
    EXPECT_EQ(browser.TemplateRelativePath, w.chosen) << w.way;
    EXPECT_EQ(browser.TemplatePath.isEmpty(), w.chosen.isEmpty()) << w.way;
  }
}

TEST_F(frmChooseClipartTest, ThumbnailsFitTheCellAndUnreadableFilesGetThePlaceholderButCanBeChosenByKey) {
  const std::pair<QSize, QRect> pictures[] = {
      {{114, 49}, {0, 0, 114, 49}},                                 // exactly the box: unscaled
      {{115, 49}, {0, 0, 114, 49}},                                 // one pixel wider: scaled to the box width
      {{228, 49}, {0, 12, 114, 25}}, {{114, 98}, {29, 0, 57, 49}},  // too tall: the height limits
      {{640, 480}, {24, 0, 65, 49}},
  };
  for (int i = 0; i < 5; ++i) library.addPicture("T", "C", QStringLiteral("%1.jpg").arg(i), pictures[i].first, "JPG");
  library.addFile("T", "C", "5_notes.txt", "not a picture at all");
  library.addFile("T", "C", "6_bomb.png", test::PngClaiming(20000, 20000));
  library.addFile("T", "C", "7_bomb.jpg", test::JpegClaiming(60000, 60000));
  library.addFile("T", "C", "8_empty.png", {});
  library.addPicture("T", "C", "9_too_wide.png", {40000, 1});  // wider than the editor can load
  frmChooseClipart browser;
  ASSERT_EQ(browser.Files().size(), 10);
  for (int i = 0; i < 10; ++i) {
    const ThumbnailCell* cell = browser.Picture2(i);
    EXPECT_EQ(cell->isEnabled(), i < 5) << i;
    EXPECT_EQ(cell->AreaRect(), i < 5 ? pictures[i].second : QRect(0, 4, 114, 42)) << i;
    const bool tooLarge = i == 6 || i == 7 || i == 9;  // sound headers over the size limit
    EXPECT_EQ(cell->Picture() == (tooLarge ? TooLargePlaceholderPicture() : PlaceholderPicture()), i >= 5) << i;
    // Decoded at (about) the area's size, not at the picture's.
    EXPECT_LE(std::abs(cell->Picture().width() - cell->AreaRect().width()), 1) << i;
  }
  EXPECT_EQ(browser.Picture2(4)->Caption(), "640 x 480");  // the picture's own size
  EXPECT_EQ(run(browser,
                [&](frmChooseClipart& b) {
                  QTest::mouseDClick(b.Picture2(5), Qt::LeftButton, {}, {50, 20});  // the mouse does nothing there
                  EXPECT_EQ(b.SelectedIndex(), 0);
                  for (int i = 0; i < 5; ++i) press(b, Qt::Key_Right);
                  b.CmdOK()->click();
                }),
            QDialog::Accepted);
  EXPECT_EQ(browser.TemplatePath, QDir::toNativeSeparators(library.root() + "/T/C/5_notes.txt"));
}

// The user's own pictures: the program's types, then the user's; Add Picture or a drop copies a
// picture into the user's library under My Pictures and shows it chosen; what the picture loader
// refuses, a category that would leave the library, names taken or hidden.
TEST_F(frmChooseClipartTest, AddPictureCopiesThePictureInShowsItAndRefusesWhatTheLoaderRefuses) {
  test::TempLibrary elsewhere;
  library.addPicture("Banners", "Warm", "a.png", {30, 10});
  const QString user = QString::fromStdString(UserTemplateLibrary().string());
  QDir(user).removeRecursively();
  const QString photo = elsewhere.addPicture("x", "y", "Sea.png", {40, 20});
  const QString bomb = elsewhere.addFile("x", "y", "bomb.png", test::PngClaiming(60000, 60000));
  const QString hidden = elsewhere.addPicture("x", "y", ".png", {8, 8}), bare = elsewhere.addPicture("x", "y", "Bare", {8, 8});
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
    EXPECT_TRUE(c.says.isEmpty() || modal.messageBoxes().back().text.contains(c.says))
        << modal.messageBoxes().back().text.toStdString();
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
  EXPECT_EQ(test::FileBytes(user + "/My Pictures/Summer/Sea (2).png"), test::FileBytes(photo));
  QTest::mouseClick(browser.CmdOK(), Qt::LeftButton);
  EXPECT_EQ(browser.TemplateRelativePath, "My Pictures\\Imported\\Sea.png");
  EXPECT_EQ(browser.TemplatePath, user + "/My Pictures/Imported/Sea.png");
}

// An empty type or category says so but keeps the window open, so the others stay within reach.
TEST(frmChooseClipart, ABrokenLibraryShowsItsMessageAndClosesWithoutResultAndAnEmptyCategoryRefusesOk) {
  const QString notLoaded = "The template library could not be loaded, you may need to reinstall this application.";
  const QString noTemplates = "No image templates were found, you may need to reinstall this application";
  const struct {
    const char* library;
    std::function<void(test::TempLibrary&)> make;
    std::function<void(frmChooseClipart&)> act;
    QString message;
  } cases[] = {
      {"missing", [](test::TempLibrary&) { frmChooseClipart::SetLibraryRoot("/nowhere/templates"); }, {}, notLoaded},
      {"empty", [](test::TempLibrary&) {}, {}, notLoaded},
      {"type without categories", [](test::TempLibrary& l) { l.folder("Empty"); }, {}, noTemplates},
      {"empty type chosen later",
       [](test::TempLibrary& l) {
         l.addPicture("A", "O", "a.png", {8, 8}), l.folder("B");
       },
       [](frmChooseClipart& b) {
         b.Combo1()->setCurrentRow(1);
         EXPECT_TRUE(b.isVisible() && b.Picture1()->SelectionRect().isNull());
         QTest::keyClick(b.Combo1(), Qt::Key_Up);
         EXPECT_FALSE(b.Picture1()->SelectionRect().isNull());
       },
       noTemplates},
      {"empty category",
       [](test::TempLibrary& l) { l.folder("T", "Empty"), l.addPicture("T", "Full", "a.png", {8, 8}); },
       [](frmChooseClipart& b) {
         EXPECT_EQ(b.Picture1()->Message(), "This category is empty");
         QTest::keyClick(b.Picture1(), Qt::Key_Left);
         b.CmdOK()->click();
         b.Command1()->click();  // no preview either
         EXPECT_TRUE(b.isVisible() && b.Picture1()->SelectionRect().isNull());
         QTest::keyClick(b.combo2(), Qt::Key_Down);
         EXPECT_TRUE(b.Picture1()->Message().isEmpty());
       },
       {}},
  };
  for (const auto& c : cases) {
    test::TempLibrary broken;
    frmChooseClipart::SetLibraryRoot(broken.root());
    c.make(broken);
    test::ScriptedModal seam;
    if (c.act) seam.onNextWindow([&](QDialog& d) { c.act(static_cast<frmChooseClipart&>(d)); });
    frmChooseClipart browser;
    EXPECT_TRUE(Modal().exec(browser) == QDialog::Rejected && browser.TemplatePath.isEmpty()) << c.library;
    std::vector<std::pair<QString, int>> messages;
    for (const auto& m : seam.messageBoxes()) messages.emplace_back(m.text, m.style);
    EXPECT_EQ(messages, (c.message.isEmpty() ? decltype(messages){} : decltype(messages){{c.message, MsgBox::OKOnly}}))
        << c.library;
    EXPECT_EQ(std::pair(seam.windows().size(), seam.beeps()), std::pair(size_t(1), c.message.isEmpty() ? 2 : 0))
        << c.library;
  }
  frmChooseClipart::SetLibraryRoot({});
}

// The library beside the program, where the browser looks for it by default (the build puts a
// link to templates/ there), else the one in the source tree.
QString BundledLibrary() {
  const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/templates");
  if (QDir(beside).exists()) return beside;
  return QDir(qEnvironmentVariable("LUMORA_TEST_DATA") + QStringLiteral("/../../templates")).absolutePath();
}

TEST(BundledLibrary, TheBrowserShowsEveryPictureOfEveryCategory) {
  test::ScriptedModal modal;
  frmChooseClipart::SetLibraryRoot(BundledLibrary());
  int pictures = 0;
  {
    frmChooseClipart browser;
    EXPECT_TRUE(modal.messageBoxes().empty());
    for (int t = 0; t < browser.Combo1()->count(); ++t) {
      browser.Combo1()->setCurrentRow(t);
      for (int c = 0; c < browser.combo2()->count(); ++c) {
        browser.combo2()->setCurrentRow(c);
        for (int i = 0; i < browser.Files().size(); ++i, ++pictures)
          EXPECT_TRUE(browser.Picture2(i)->isEnabled()) << browser.Files().at(i).toStdString();
      }
    }
  }
  frmChooseClipart::SetLibraryRoot({});
  const QString text = QString::fromUtf8(test::FileBytes(BundledLibrary() + QStringLiteral("/LICENSES.md")));
  EXPECT_EQ(text.count(QStringLiteral(".jpg |")) + text.count(QStringLiteral(".png |")), pictures);
}

TEST(LibraryPictures, SizeComesFromTheHeaderAndTheThumbnailIsDecodedAtTheAskedSize) {
  test::TempLibrary library;
  const QString jpeg = library.addPicture("T", "C", "a.jpg", {1920, 1080}, "JPG");
  EXPECT_EQ(ReadLibraryPictureSize(jpeg), QSize(1920, 1080));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "b.png", {3, 700})), QSize(3, 700));
  EXPECT_EQ(ReadLibraryPictureSize(library.addPicture("T", "C", "c.bmp", {33, 17}, "BMP")), QSize(33, 17));
  // Qt writes no GIF: a 1 x 1 one by hand.
  const QByteArray gif =
      QByteArray::fromHex("47494638396101000100800000ffffff00000021f90401000000002c00000000010001000002024401003b");
  EXPECT_EQ(ReadLibraryPictureSize(library.addFile("T", "C", "d.gif", gif)), QSize(1, 1));
  const QImage thumbnail = ReadLibraryThumbnail(jpeg, {114, 64});
  ASSERT_EQ(thumbnail.size(), QSize(114, 64));
  // Still the same picture: the red gradient rises left to right, the green top to bottom.
  EXPECT_TRUE(qRed(thumbnail.pixel(2, 32)) < 30 && qRed(thumbnail.pixel(111, 32)) > 225);
  EXPECT_TRUE(qGreen(thumbnail.pixel(57, 2)) < 30 && qGreen(thumbnail.pixel(57, 61)) > 225);
  EXPECT_EQ(ReadLibraryPicture(library.addPicture("T", "C", "e.png", {640, 480})).size(), QSize(640, 480));
}

TEST(LibraryPictures, RefusesFilesThatAreNotPicturesOrAreTooLargeAndThePreviewShowsNothingForThem) {
  test::TempLibrary library;
  test::ScriptedModal modal;
  const std::pair<const char*, QByteArray> refusals[] = {
      {"empty.png", {}},
      {"text.jpg", "hello, this is text"},
      {"truncated.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
      {"bomb.png", test::PngClaiming(20000, 20000)},
      {"bomb_side.png", test::PngClaiming(70000, 1)},
      {"bomb.jpg", test::JpegClaiming(65000, 65000)},
  };
  for (const auto& [name, bytes] : refusals) {
    const QString path = library.addFile("T", "C", name, bytes);
    EXPECT_FALSE(ReadLibraryPictureSize(path).has_value()) << name;
    EXPECT_TRUE(ReadLibraryPicture(path).isNull()) << name;
    EXPECT_TRUE(ReadLibraryThumbnail(path, {114, 49}).isNull()) << name;
    EXPECT_FALSE(frmPreview::ViewImage(path, nullptr)) << name;
  }
  EXPECT_TRUE(ReadLibraryPicture(library.root() + "/missing.png").isNull() &&
              !frmPreview::ViewImage(library.root() + "/missing.png", nullptr));
  EXPECT_TRUE(modal.windows().empty() && modal.messageBoxes().empty());
}

// A tall narrow picture: a vertical bar to its far edge, none across, and centred in what is left.
TEST(ScrollingImage, CentresWhatFitsAndScrollsWhatDoesNot) {
  ScrollingImage view;
  view.resize(368, 287);
  QImage picture(100, 500, QImage::Format_RGB32);
  picture.fill(Qt::red);
  view.SetPicture(picture);
  const int overlap = ScrollingImage::kBarThickness - 1;
  EXPECT_EQ(view.Image1()->pos(), QPoint((368 - overlap - 100) / 2, 0));
  EXPECT_TRUE(view.vs()->isEnabled() && !view.hs()->isEnabled());
  EXPECT_EQ(view.vs()->maximum(), 500 - 287);
}

}  // namespace
}  // namespace lumora
