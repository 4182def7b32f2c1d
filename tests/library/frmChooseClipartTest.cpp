// The template browser driven as a user drives it, on a library the test makes: lists, the
// 25-cell grid, keys, mouse, the remembered type and category, and both messages.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "library/LibraryPictures.h"
#include "library/ThumbnailCell.h"
#include "library/ThumbnailGrid.h"
#include "library/frmChooseClipart.h"

namespace lumora {
namespace {

using test::ScriptedModal;
using test::TempLibrary;

const QString kLibraryNotLoaded =
    QStringLiteral("The template library could not be loaded, you may need to reinstall this application.");
const QString kNoTemplates = QStringLiteral("No image templates were found, you may need to reinstall this application");

class frmChooseClipartTest : public testing::Test {
 protected:
  void SetUp() override {
    frmChooseClipart::LastTypeIndex = 0;
    frmChooseClipart::LastCategoryIndex = 0;
    frmChooseClipart::SetLibraryRoot(m_library.root());
  }
  void TearDown() override { frmChooseClipart::SetLibraryRoot({}); }

  // Shows the browser through the seam, lets the step drive it, and returns the browser's result.
  int run(frmChooseClipart& browser, const std::function<void(frmChooseClipart&)>& step) {
    m_modal.onNextWindow([&](QDialog& dialog) { step(static_cast<frmChooseClipart&>(dialog)); });
    return Modal().exec(browser);
  }

  void press(frmChooseClipart& browser, Qt::Key key) { QTest::keyClick(browser.Picture1(), key); }

  // Names that sort in the order they are made.
  void addPictures(const QString& type, const QString& category, int count, QSize size = {64, 32}) {
    for (int i = 0; i < count; ++i)
      m_library.addPicture(type, category, QStringLiteral("p%1.png").arg(i, 2, 10, QLatin1Char('0')), size);
  }

  static QRect focusRectFor(const frmChooseClipart& browser, int index) {
    return browser.Picture2(index)->geometry().adjusted(-6, -6, 6, 6);
  }

  TempLibrary m_library;
  ScriptedModal m_modal;
};

TEST_F(frmChooseClipartTest, LaysOutTheDesignedWindow) {
  addPictures("Banners", "Blue", 3);
  frmChooseClipart browser;
  EXPECT_EQ(browser.windowTitle(), "Image Templates");
  EXPECT_EQ(browser.size(), QSize(871, 459));
  EXPECT_EQ(browser.Combo1()->geometry(), QRect(11, 35, 198, 108));
  EXPECT_EQ(browser.combo2()->geometry(), QRect(11, 174, 198, 236));
  EXPECT_EQ(browser.Picture1()->geometry(), QRect(218, 14, 633, 393));
  EXPECT_EQ(browser.Command1()->geometry(), QRect(640, 425, 69, 22));
  EXPECT_EQ(browser.CmdOK()->geometry(), QRect(717, 425, 69, 22));
  EXPECT_EQ(browser.cmdCancel()->geometry(), QRect(792, 425, 69, 22));
  EXPECT_TRUE(browser.CmdOK()->isDefault());
  // Row by row, five to a row; the three right-hand columns sit one pixel higher.
  EXPECT_EQ(browser.Picture2(0)->geometry(), QRect(14, 16, 114, 67));
  EXPECT_EQ(browser.Picture2(1)->geometry(), QRect(139, 16, 114, 67));
  EXPECT_EQ(browser.Picture2(2)->geometry(), QRect(263, 15, 114, 67));
  EXPECT_EQ(browser.Picture2(9)->geometry(), QRect(512, 91, 114, 67));
  EXPECT_EQ(browser.Picture2(20)->geometry(), QRect(14, 316, 114, 67));
  EXPECT_EQ(browser.Picture2(24)->geometry(), QRect(512, 315, 114, 67));
  EXPECT_EQ(ThumbnailCell::CaptionRect(), QRect(0, 52, 114, 13));
  EXPECT_EQ(browser.mnuContext()->actions().size(), 2);
  EXPECT_EQ(browser.mnucPreview()->text(), "&Preview");
  EXPECT_EQ(browser.mnuCSelect()->text(), "&Select");
}

TEST_F(frmChooseClipartTest, ListsTypesAndCategoriesByNameWithoutHiddenEntries) {
  addPictures("Social", "Waves", 1);
  addPictures("Banners", "Warm", 1);
  addPictures("Banners", "Cool", 1);
  addPictures(".cache", "x", 1);
  addPictures("Banners", ".thumbs", 1);
  m_library.addFile("", "", "LICENSES.md", "# notes");
  m_library.addFile("Banners", "", "readme.txt", "notes");
  frmChooseClipart browser;
  ASSERT_EQ(browser.Combo1()->count(), 2);
  EXPECT_EQ(browser.Combo1()->item(0)->text(), "Banners");
  EXPECT_EQ(browser.Combo1()->item(1)->text(), "Social");
  ASSERT_EQ(browser.combo2()->count(), 2);
  EXPECT_EQ(browser.combo2()->item(0)->text(), "Cool");
  EXPECT_EQ(browser.combo2()->item(1)->text(), "Warm");
  EXPECT_EQ(browser.Combo1()->currentRow(), 0);
  EXPECT_EQ(browser.combo2()->currentRow(), 0);
  EXPECT_TRUE(m_modal.messageBoxes().empty());
}

TEST_F(frmChooseClipartTest, ShowsOnlyTheFirst25FilesInNameOrder) {
  addPictures("Banners", "Many", 30);
  m_library.addFile("Banners", "Many", ".hidden.png", "x");
  frmChooseClipart browser;
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the hourglass is gone again
  EXPECT_EQ(browser.Files().size(), 30);
  for (int i = 0; i < frmChooseClipart::kCellCount; ++i) {
    EXPECT_FALSE(browser.Picture2(i)->isHidden()) << i;
    EXPECT_TRUE(browser.Picture2(i)->isEnabled()) << i;
    EXPECT_EQ(browser.Picture2(i)->Caption(), "64 x 32") << i;
  }
  // The last cell is the last one offered: Right from it wraps to the first.
  for (int i = 0; i < 24; ++i) press(browser, Qt::Key_Right);
  EXPECT_EQ(browser.SelectedIndex(), 24);
  press(browser, Qt::Key_Right);
  EXPECT_EQ(browser.SelectedIndex(), 0);
  press(browser, Qt::Key_Left);
  EXPECT_EQ(browser.SelectedIndex(), 24);
  browser.CmdOK()->click();
  EXPECT_EQ(browser.TemplateRelativePath, "Banners\\Many\\p24.png");
}

TEST_F(frmChooseClipartTest, EmptyCategoryHidesAllCellsAndRefusesOkAndPreview) {
  m_library.folder("Banners", "Empty");
  frmChooseClipart browser;
  const int result = run(browser, [&](frmChooseClipart& b) {
    for (int i = 0; i < frmChooseClipart::kCellCount; ++i) EXPECT_TRUE(b.Picture2(i)->isHidden()) << i;
    press(b, Qt::Key_Left);
    press(b, Qt::Key_Down);
    EXPECT_EQ(b.SelectedIndex(), 0);
    b.CmdOK()->click();
    EXPECT_TRUE(b.isVisible());
    b.Command1()->click();
    EXPECT_TRUE(b.isVisible());
  });
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(browser.TemplatePath.isEmpty());
  EXPECT_EQ(m_modal.beeps(), 2);
  EXPECT_EQ(m_modal.windows().size(), 1u);  // no preview window
  EXPECT_TRUE(m_modal.messageBoxes().empty());
}

TEST_F(frmChooseClipartTest, KeyboardWrapsLeftAndRightAndStopsUpAndDownAtTheEdges) {
  addPictures("Banners", "Twelve", 12);  // Last = 11: rows 0-4, 5-9, 10-11
  frmChooseClipart browser;
  run(browser, [&](frmChooseClipart& b) {
    b.Picture1()->setFocus();
    struct Step {
      Qt::Key key;
      int expected;
    };
    const Step steps[] = {
        {Qt::Key_Left, 11}, {Qt::Key_Right, 0}, {Qt::Key_Up, 0},    {Qt::Key_Right, 1}, {Qt::Key_Right, 2},
        {Qt::Key_Down, 7},  {Qt::Key_Down, 7},  {Qt::Key_Left, 6},  {Qt::Key_Down, 11}, {Qt::Key_Down, 11},
        {Qt::Key_Up, 6},    {Qt::Key_Up, 1},    {Qt::Key_Up, 1},    {Qt::Key_Left, 0},  {Qt::Key_Left, 11},
    };
    for (const Step& s : steps) {
      press(b, s.key);
      ASSERT_EQ(b.SelectedIndex(), s.expected) << "after key " << s.key;
      EXPECT_EQ(b.Picture1()->SelectionRect(), focusRectFor(b, s.expected));
    }
    // Enter reaches the default button.
    press(b, Qt::Key_Return);
  });
  EXPECT_EQ(browser.result(), QDialog::Accepted);
  EXPECT_EQ(browser.TemplateRelativePath, "Banners\\Twelve\\p11.png");
}

TEST_F(frmChooseClipartTest, SelectionOutlineIsHighlightedOnlyWhileTheGridHasTheFocus) {
  addPictures("Banners", "Two", 2);
  frmChooseClipart browser;
  run(browser, [&](frmChooseClipart& b) {
    QApplication::setActiveWindow(&b);
    b.Picture1()->setFocus();
    ASSERT_TRUE(b.Picture1()->hasFocus());
    EXPECT_NE(b.Picture1()->SelectionColour(), QColor(0xC0, 0xC0, 0xC0));
    b.combo2()->setFocus();
    EXPECT_EQ(b.Picture1()->SelectionColour(), QColor(0xC0, 0xC0, 0xC0));
  });
}

TEST_F(frmChooseClipartTest, ScalesThumbnailsAsDesigned) {
  m_library.addPicture("T", "C", "a_exact.png", {114, 49});
  m_library.addPicture("T", "C", "b_wider.png", {115, 49});
  m_library.addPicture("T", "C", "c_wide.png", {228, 49});
  m_library.addPicture("T", "C", "d_tall.png", {114, 98});
  m_library.addPicture("T", "C", "e_photo.jpg", {640, 480}, "JPG");
  frmChooseClipart browser;
  struct Expected {
    int32_t width, height;
    QRect pixels;
    QString caption;
  };
  const Expected expected[] = {
      {1710, 735, {0, 0, 114, 49}, "114 x 49"},
      {1710, 729, {0, 0, 114, 49}, "115 x 49"},
      {1710, 368, {0, 12, 114, 25}, "228 x 49"},
      {855, 735, {29, 0, 57, 49}, "114 x 98"},
      {980, 735, {24, 0, 65, 49}, "640 x 480"},
  };
  for (int i = 0; i < 5; ++i) {
    const ThumbnailCell* cell = browser.Picture2(i);
    EXPECT_EQ(cell->Area().width, expected[i].width) << i;
    EXPECT_EQ(cell->Area().height, expected[i].height) << i;
    EXPECT_EQ(cell->AreaRect(), expected[i].pixels) << i;
    EXPECT_EQ(cell->Caption(), expected[i].caption) << i;
    // Decoded at (about) the area's size, not at the picture's.
    EXPECT_LE(std::abs(cell->Picture().width() - expected[i].pixels.width()), 1) << i;
    EXPECT_LE(std::abs(cell->Picture().height() - expected[i].pixels.height()), 1) << i;
  }
  // The scaled picture still shows the picture: its gradient runs from dark red to bright red.
  const QImage& wide = browser.Picture2(2)->Picture();
  EXPECT_LT(qRed(wide.pixel(0, 0)), 40);
  EXPECT_GT(qRed(wide.pixel(wide.width() - 1, 0)), 200);
}

TEST_F(frmChooseClipartTest, UnreadableFilesGetThePlaceholderAndCanStillBeChosenByKey) {
  m_library.addPicture("T", "C", "a.png", {50, 40});
  m_library.addFile("T", "C", "b_notes.txt", "not a picture at all");
  m_library.addFile("T", "C", "c_bomb.png", test::PngClaiming(20000, 20000));
  m_library.addFile("T", "C", "d_bomb.jpg", test::JpegClaiming(60000, 60000));
  m_library.addFile("T", "C", "e_empty.png", {});
  m_library.addPicture("T", "C", "f_too_wide.png", {40000, 1});  // wider than the editor can load
  frmChooseClipart browser;
  ASSERT_EQ(browser.Files().size(), 6);
  EXPECT_TRUE(browser.Picture2(0)->isEnabled());
  for (int i = 1; i < 6; ++i) {
    const ThumbnailCell* cell = browser.Picture2(i);
    EXPECT_FALSE(cell->isHidden()) << i;
    EXPECT_FALSE(cell->isEnabled()) << i;
    EXPECT_EQ(cell->Caption(), "114 x 42") << i;
    EXPECT_EQ(cell->Picture(), PlaceholderPicture()) << i;
    EXPECT_EQ(cell->AreaRect(), QRect(0, 4, 114, 42)) << i;
  }
  const int result = run(browser, [&](frmChooseClipart& b) {
    // A click on the placeholder does nothing ...
    QTest::mouseClick(b.Picture2(1), Qt::LeftButton, {}, {50, 20});
    EXPECT_EQ(b.SelectedIndex(), 0);
    QTest::mouseDClick(b.Picture2(1), Qt::LeftButton, {}, {50, 20});
    EXPECT_TRUE(b.isVisible());
    // ... but the keys reach it, and OK hands it back.
    b.Picture1()->setFocus();
    press(b, Qt::Key_Right);
    EXPECT_EQ(b.SelectedIndex(), 1);
    b.CmdOK()->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(browser.TemplateRelativePath, "T\\C\\b_notes.txt");
  EXPECT_EQ(browser.TemplatePath, QDir::toNativeSeparators(m_library.root() + "/T/C/b_notes.txt"));
}

TEST_F(frmChooseClipartTest, MouseSelectsCellsAndChoosesByDoubleClickOrCaptionClick) {
  addPictures("T", "C", 8);
  {
    frmChooseClipart browser;
    run(browser, [&](frmChooseClipart& b) {
      QTest::mouseClick(b.Picture2(6), Qt::LeftButton, {}, {50, 20});
      EXPECT_EQ(b.SelectedIndex(), 6);
      EXPECT_TRUE(b.Picture1()->hasFocus());
      EXPECT_EQ(b.Picture1()->SelectionRect(), focusRectFor(b, 6));
      EXPECT_TRUE(b.isVisible());
      QTest::mouseDClick(b.Picture2(3), Qt::LeftButton, {}, {50, 20});
    });
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(browser.TemplateRelativePath, "T\\C\\p03.png");
  }
  {
    frmChooseClipart browser;
    run(browser, [&](frmChooseClipart& b) { QTest::mouseClick(b.Picture2(5), Qt::LeftButton, {}, {57, 58}); });
    EXPECT_EQ(browser.result(), QDialog::Accepted);
    EXPECT_EQ(browser.TemplateRelativePath, "T\\C\\p05.png");
  }
}

TEST_F(frmChooseClipartTest, RightClickOpensTheContextMenuWhoseSelectChooses) {
  addPictures("T", "C", 4);
  frmChooseClipart browser;
  run(browser, [&](frmChooseClipart& b) {
    QTest::mouseClick(b.Picture2(2), Qt::RightButton, {}, {50, 20});
    EXPECT_EQ(b.SelectedIndex(), 2);
    EXPECT_TRUE(b.mnuContext()->isVisible());
    b.mnuContext()->hide();
    b.mnuCSelect()->trigger();
  });
  EXPECT_EQ(browser.result(), QDialog::Accepted);
  EXPECT_EQ(browser.TemplateRelativePath, "T\\C\\p02.png");
}

TEST_F(frmChooseClipartTest, PreviewOpensThePreviewWindowOverTheBrowser) {
  m_library.addPicture("T", "C", "photo.png", {640, 480});
  frmChooseClipart browser;
  QSize previewSize;
  QWidget* previewOwner = nullptr;
  run(browser, [&](frmChooseClipart& b) {
    m_modal.onNextWindow([&](QDialog& preview) {
      previewSize = preview.size();
      previewOwner = preview.parentWidget();
    });
    b.mnucPreview()->trigger();
    EXPECT_TRUE(b.isVisible());  // the browser stays open
  });
  ASSERT_EQ(m_modal.windows().size(), 2u);
  EXPECT_EQ(m_modal.windows()[1], "lumora::frmPreview");
  EXPECT_EQ(previewSize, QSize(9840 / 15, 7875 / 15));
  EXPECT_EQ(previewOwner, &browser);
  EXPECT_TRUE(browser.TemplatePath.isEmpty());
}

TEST_F(frmChooseClipartTest, CancelAndEscapeGiveNoResult) {
  addPictures("T", "C", 2);
  for (const bool escape : {false, true}) {
    frmChooseClipart browser;
    const int result = run(browser, [&](frmChooseClipart& b) {
      if (escape) QTest::keyClick(b.Picture1(), Qt::Key_Escape);
      else b.cmdCancel()->click();
      EXPECT_FALSE(b.isVisible());
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(browser.TemplatePath.isEmpty());
  }
}

TEST_F(frmChooseClipartTest, ReopensOnTheTypeAndCategoryUsedLast) {
  addPictures("A", "One", 1);
  addPictures("B", "One", 1);
  addPictures("B", "Two", 1);
  addPictures("B", "Three", 1);
  {
    frmChooseClipart browser;
    run(browser, [&](frmChooseClipart& b) {
      b.Combo1()->setCurrentRow(1);
      b.combo2()->setCurrentRow(2);
      b.cmdCancel()->click();
    });
  }
  EXPECT_EQ(frmChooseClipart::LastTypeIndex, 1);
  EXPECT_EQ(frmChooseClipart::LastCategoryIndex, 2);
  {
    frmChooseClipart browser;
    EXPECT_EQ(browser.Combo1()->currentItem()->text(), "B");
    EXPECT_EQ(browser.combo2()->currentItem()->text(), "Two");  // One, Three, Two
    // A later change of type starts that type at its first category.
    browser.Combo1()->setCurrentRow(0);
    EXPECT_EQ(browser.combo2()->currentRow(), 0);
    EXPECT_EQ(frmChooseClipart::LastCategoryIndex, 0);
  }
  // Positions that no longer exist fall back to the first.
  frmChooseClipart::LastTypeIndex = 7;
  frmChooseClipart::LastCategoryIndex = 5;
  frmChooseClipart browser;
  EXPECT_EQ(browser.Combo1()->currentRow(), 0);
  EXPECT_EQ(browser.combo2()->currentRow(), 0);
}

TEST_F(frmChooseClipartTest, MissingLibraryShowsTheMessageAndCloses) {
  frmChooseClipart::SetLibraryRoot(m_library.root() + "/nowhere");
  frmChooseClipart browser;
  const int result = Modal().exec(browser);
  ASSERT_EQ(m_modal.messageBoxes().size(), 1u);
  EXPECT_EQ(m_modal.messageBoxes()[0].text, kLibraryNotLoaded);
  EXPECT_EQ(m_modal.messageBoxes()[0].style, MsgBox::OKOnly);
  EXPECT_EQ(m_modal.messageBoxes()[0].title, "ZEB Lumora");
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_FALSE(browser.isVisible());
  EXPECT_TRUE(browser.TemplatePath.isEmpty());
}

TEST_F(frmChooseClipartTest, LibraryIsTheTemplatesFolderBesideTheProgram) {
  frmChooseClipart::SetLibraryRoot({});
  frmChooseClipart browser;
  EXPECT_EQ(browser.LibraryPath(), QCoreApplication::applicationDirPath() + "/templates");
}

TEST_F(frmChooseClipartTest, EmptyLibraryShowsTheSameMessage) {
  frmChooseClipart browser;
  ASSERT_EQ(m_modal.messageBoxes().size(), 1u);
  EXPECT_EQ(m_modal.messageBoxes()[0].text, kLibraryNotLoaded);
}

TEST_F(frmChooseClipartTest, TypeWithoutCategoriesShowsTheMessageAndClosesWithoutResult) {
  m_library.folder("Empty");
  frmChooseClipart browser;
  const int result = Modal().exec(browser);
  ASSERT_EQ(m_modal.messageBoxes().size(), 1u);
  EXPECT_EQ(m_modal.messageBoxes()[0].text, kNoTemplates);
  EXPECT_EQ(m_modal.messageBoxes()[0].style, MsgBox::OKOnly);
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(browser.TemplatePath.isEmpty());
}

TEST_F(frmChooseClipartTest, ChoosingAnEmptyTypeLaterClosesTheOpenBrowser) {
  addPictures("A", "One", 1);
  m_library.folder("B");
  frmChooseClipart browser;
  const int result = run(browser, [&](frmChooseClipart& b) {
    b.Combo1()->setCurrentRow(1);
    EXPECT_FALSE(b.isVisible());
  });
  ASSERT_EQ(m_modal.messageBoxes().size(), 1u);
  EXPECT_EQ(m_modal.messageBoxes()[0].text, kNoTemplates);
  EXPECT_EQ(result, QDialog::Rejected);
  EXPECT_TRUE(browser.TemplatePath.isEmpty());
}

TEST_F(frmChooseClipartTest, SwitchingCategoryRebuildsTheGridAndSelectsTheFirstCell) {
  addPictures("T", "A", 7);
  addPictures("T", "B", 3, {300, 100});
  frmChooseClipart browser;
  run(browser, [&](frmChooseClipart& b) {
    b.Picture1()->setFocus();
    press(b, Qt::Key_Right);
    press(b, Qt::Key_Right);
    EXPECT_EQ(b.SelectedIndex(), 2);
    b.combo2()->setCurrentRow(1);
    EXPECT_EQ(b.SelectedIndex(), 0);
    EXPECT_EQ(b.Picture1()->SelectionRect(), focusRectFor(b, 0));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b.Picture2(i)->Caption(), "300 x 100") << i;
    for (int i = 3; i < 25; ++i) EXPECT_TRUE(b.Picture2(i)->isHidden()) << i;
    b.CmdOK()->click();
  });
  EXPECT_EQ(browser.TemplateRelativePath, "T\\B\\p00.png");
}

}  // namespace
}  // namespace lumora
