// Pictures of the editor for people to look at: the main window at start and the about box,
// written as PNG files to LUMORA_SCREENSHOT_DIR (ctest's screenshot run sets it and runs on the
// X server). Without that folder the tests skip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTest>

#include "ScriptedModal.h"
#include "app/frmError.h"
#include "app/frmMain.h"
#include "controls/frmAbout.h"

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
  ASSERT_EQ(image.size(), window.size() * image.devicePixelRatio());
  int differing = 0;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); y += 7)
    for (int x = 0; x < image.width(); x += 7) differing += image.pixel(x, y) != first;
  EXPECT_GT(differing, 50);
  EXPECT_TRUE(image.save(QDir(shotFolder()).filePath(name)));
}

TEST(Screenshot, MainWindowAtStart) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  test::ScriptedModal modal;
  frmMain window;
  saveShot(window, QStringLiteral("main-window.png"));
}

TEST(Screenshot, AboutBox) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  frmAbout about;
  saveShot(about, QStringLiteral("about-box.png"));
}

TEST(Screenshot, ErrorWindow) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  frmError form;
  form.lblNum->setText(QStringLiteral("53"));
  form.lblDesc->setText(QStringLiteral("File not found"));
  saveShot(form, QStringLiteral("error-window.png"));
}

}  // namespace
}  // namespace lumora
