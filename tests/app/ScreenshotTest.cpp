// Pictures of the editor for people to look at, written as PNG files to LUMORA_SCREENSHOT_DIR
// (ctest's screenshot run sets it and runs on the X server). Without that folder the tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "ScriptedModal.h"
#include "app/frmError.h"
#include "app/frmMain.h"
#include "colour/frmColorPicker.h"
#include "compose/DocumentUnits.h"
#include "controls/frmAbout.h"
#include "library/frmChooseClipart.h"
#include "library/frmPreview.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

QString shotFolder() {
  const QString folder = qEnvironmentVariable("LUMORA_SCREENSHOT_DIR");
  if (!folder.isEmpty()) QDir().mkpath(folder);
  return folder;
}

// Saves the window's picture and checks that it is a real picture of it, not an empty surface.
void saveShot(QWidget& window, const QString& name) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QApplication::processEvents();
  const QImage image = window.grab().toImage();
  int differing = 0;
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) differing += image.pixel(x, y) != image.pixel(0, 0);
  EXPECT_GT(differing, 50) << name.toStdString();
  EXPECT_TRUE(image.save(QDir(shotFolder()).filePath(name)));
}

TEST(Screenshot, MainWindowAtStartAboutBoxAndErrorWindow) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  test::ScriptedModal modal;
  frmMain window;
  saveShot(window, QStringLiteral("main-window.png"));
  frmAbout about;
  saveShot(about, QStringLiteral("about-box.png"));
  frmError form;
  form.lblNum->setText(QStringLiteral("53")), form.lblDesc->setText(QStringLiteral("File not found"));
  saveShot(form, QStringLiteral("error-window.png"));
}

// A banner with three styled items, the context menu over it, and the exported picture beside it
// to compare with what the workspace shows.
TEST(Screenshot, ComposedDocumentContextMenuAndExport) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  const QString relative = QStringLiteral("Banners/Gradients/Coral 728x90.jpg");
  const QString full = QCoreApplication::applicationDirPath() + QStringLiteral("/templates/") + relative;
  if (!QFile::exists(full)) GTEST_SKIP() << "template library not beside the test";
  test::ScriptedModal modal;
  frmMain window;
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  modal.onNextWindow([&](QDialog& d) {
    static_cast<frmChooseClipart&>(d).TemplatePath = full;
    static_cast<frmChooseClipart&>(d).TemplateRelativePath = QString(relative).replace(u'/', u'\\');
    d.accept();
  });
  window.NewDocument();
  const struct {
    const char* caption;
    const char* font;
    float size;
    bool bold, italic, shadow;
    Colour colour;
    double left, top;  // pixels
  } items[] = {{"Summer Sale", "DejaVu Serif", 30, true, false, true, 0xFFFFFF, 20, 14},
               {"up to 50% off", "DejaVu Sans", 18, false, true, false, 0x402000, 330, 30},
               {"shop now", "Liberation Sans", 14, true, false, true, 0x00D7FF, 590, 56}};
  for (const auto& s : items) {
    window.InsertText();
    Document& doc = window.document();
    const int index = doc.CurrentIndex();
    doc.SetCaption(index, s.caption);
    doc.EditItem(index, [&](TextItem& item) {
      item.FontName = s.font, item.FontSize = s.size, item.FontBold = s.bold, item.FontItalic = s.italic;
      item.Shadow = s.shadow, item.ShadowColor = 0x303030, item.ForeColor = s.colour;
    });
    doc.MoveItem(index, PixelsToTwips(s.left), PixelsToTwips(s.top));
    window.ShowSelection();
  }
  saveShot(window, QStringLiteral("composed-document.png"));
  const QRect item = window.ItemRect(*window.document().CurrentItem());
  QTest::mousePress(window.picPicture, Qt::RightButton, {}, item.center());
  ASSERT_TRUE(window.mnuContext->isVisible());
  EXPECT_TRUE(window.mnuContext->grab().save(QDir(shotFolder()).filePath(QStringLiteral("context-menu.png"))));
  window.mnuContext->hide();
  modal.answerFile(QDir(shotFolder()).filePath(QStringLiteral("composed-export.png")));
  window.SaveImage();
  EXPECT_FALSE(QImage(QDir(shotFolder()).filePath(QStringLiteral("composed-export.png"))).isNull());
  window.document().SetChanged(false);
}

// Every secondary window as it opens.
TEST(WindowShots, EverySecondaryWindow) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  const QString library = QCoreApplication::applicationDirPath() + QStringLiteral("/templates");
  frmChooseClipart::SetLibraryRoot(library);
  for (int type : {0, 1, 2}) {
    frmChooseClipart::LastTypeIndex = type;
    frmChooseClipart::LastCategoryIndex = 0;
    frmChooseClipart browser;
    saveShot(browser, QStringLiteral("browser-%1.png").arg(type));
  }
  frmPreview preview;
  ASSERT_TRUE(preview.LoadImage(library + QStringLiteral("/Banners/Gradients/Coral 728x90.jpg")));
  saveShot(preview, QStringLiteral("preview.png"));
  frmCharacterMap map;
  saveShot(map, QStringLiteral("character-map.png"));
  frmColorPicker picker;
  saveShot(picker, QStringLiteral("colour-picker.png"));
}

}  // namespace
}  // namespace lumora
