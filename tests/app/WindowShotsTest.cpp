// Pictures of every secondary window for people to look at, written to LUMORA_SCREENSHOT_DIR by
// ctest's screenshot run on the X server; skipped without that folder.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

#include "ScriptedModal.h"
#include "app/frmMain.h"
#include "colour/frmColorPicker.h"
#include "library/frmChooseClipart.h"
#include "library/frmPreview.h"
#include "symbols/frmCharacterMap.h"

namespace lumora {
namespace {

QString shotFolder() { return qEnvironmentVariable("LUMORA_SCREENSHOT_DIR"); }

void save(QWidget& window, const QString& name) {
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QTest::qWait(50);
  QDir().mkpath(shotFolder());
  EXPECT_TRUE(window.grab().save(QDir(shotFolder()).filePath(name)));
}

QString library() { return QCoreApplication::applicationDirPath() + QStringLiteral("/templates"); }

TEST(WindowShots, EverySecondaryWindow) {
  if (shotFolder().isEmpty()) GTEST_SKIP() << "LUMORA_SCREENSHOT_DIR not set";
  frmChooseClipart::SetLibraryRoot(library());
  for (int type : {0, 1, 2}) {
    frmChooseClipart::LastTypeIndex = type;
    frmChooseClipart::LastCategoryIndex = 0;
    frmChooseClipart browser;
    save(browser, QStringLiteral("browser-%1.png").arg(type));
  }
  frmPreview preview;
  ASSERT_TRUE(preview.LoadImage(library() + QStringLiteral("/Banners/Gradients/Coral 728x90.jpg")));
  save(preview, QStringLiteral("preview.png"));
  frmCharacterMap map;
  save(map, QStringLiteral("character-map.png"));
  frmColorPicker picker;
  save(picker, QStringLiteral("colour-picker.png"));
}

}  // namespace
}  // namespace lumora
