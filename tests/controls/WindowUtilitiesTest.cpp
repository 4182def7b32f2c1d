// Window glue: drop-down width, size limits, the colour dialog through the seam, the icons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QWidget>

#include "ScriptedModal.h"
#include "controls/Dialogs.h"
#include "controls/LumoraIcons.h"
#include "controls/modComboBoxWidth.h"
#include "controls/modStopResize.h"
#include "controls/modicon.h"

namespace lumora {
namespace {

TEST(modComboBoxWidth, DropDownGetsItsOwnWidth) {
  QComboBox combo;
  combo.resize(80, 22);
  modComboBoxWidth::SetDropDownWidth(combo, 190);
  EXPECT_EQ(modComboBoxWidth::DropDownWidth(combo), 190);
  EXPECT_EQ(combo.width(), 80);
}

TEST(modStopResize, WindowStaysWithinTheLimitsUntilStopped) {
  QWidget window;
  window.resize(812, 591);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  modStopResize::SetLimits({812, 591}, {1280, 1024});
  modStopResize::Start(window);
  EXPECT_TRUE(modStopResize::Started());
  window.resize(300, 200);
  EXPECT_GE(window.frameGeometry().width(), 812);
  EXPECT_GE(window.frameGeometry().height(), 591);
  window.resize(5000, 5000);
  EXPECT_LE(window.frameGeometry().width(), 1280);
  EXPECT_LE(window.frameGeometry().height(), 1024);
  modStopResize::Stop(window);
  EXPECT_FALSE(modStopResize::Started());
  window.resize(300, 200);
  EXPECT_EQ(window.size(), QSize(300, 200));
}

TEST(modStopResize, StopOnAnotherWindowChangesNothing) {
  QWidget a, b;
  modStopResize::SetLimits({400, 300}, {1000, 1000});
  modStopResize::Start(a);
  modStopResize::Stop(b);
  EXPECT_TRUE(modStopResize::Started());
  EXPECT_EQ(a.minimumSize(), QSize(400, 300));
  modStopResize::Stop(a);
  EXPECT_EQ(a.minimumSize(), QSize(0, 0));
}

TEST(Dialogs, ChooseColorReturnsTheColourOrMinusOne) {
  test::ScriptedModal modal;
  QWidget owner;
  modal.answerColour(0x00FF8040);
  EXPECT_EQ(Dialogs::ChooseColor(&owner, false), 0x00FF8040);
  EXPECT_EQ(Dialogs::ChooseColor(&owner, false), -1);  // nothing queued: cancelled
  EXPECT_EQ(modal.colourDialogs(), 2);
}

TEST(modicon, BothIconGroupsExist) {
  EXPECT_FALSE(modicon::LoadIcon(QStringLiteral("AAA")).isNull());
  EXPECT_FALSE(modicon::LoadIcon(QStringLiteral("DOC")).isNull());
  EXPECT_TRUE(modicon::LoadIcon(QStringLiteral("bold")).isNull());
  EXPECT_TRUE(modicon::LoadIcon(QStringLiteral("nothing")).isNull());
}

TEST(modicon, SetIconReachesTheTopOwner) {
  QWidget owner;
  QWidget child(&owner, Qt::Dialog);
  modicon::SetIcon(child, QStringLiteral("AAA"), true);
  EXPECT_FALSE(child.windowIcon().isNull());
  EXPECT_FALSE(owner.windowIcon().isNull());
  QWidget alone;
  QWidget second(&alone, Qt::Dialog);
  modicon::SetIcon(second, QStringLiteral("DOC"), false);
  EXPECT_FALSE(second.windowIcon().isNull());
  EXPECT_EQ(alone.windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

class IconNames : public ::testing::TestWithParam<const char*> {};

TEST_P(IconNames, EveryButtonIconDrawsSomething) {
  const QImage image = LumoraIcons::Pixmap(QString::fromUtf8(GetParam()), 20).toImage();
  ASSERT_EQ(image.size(), QSize(20, 20));
  int opaque = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) opaque += qAlpha(image.pixel(x, y)) > 128;
  EXPECT_GT(opaque, 15) << GetParam();
  const QImage grey = LumoraIcons::DisabledPixmap(QString::fromUtf8(GetParam()), 20).toImage();
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) {
      const QRgb p = grey.pixel(x, y);
      if (qAlpha(p) > 0) {
        ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << GetParam();
      }
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, IconNames,
                         ::testing::Values("new", "open", "save", "saveas", "saveimage", "exit", "website",
                                           "about", "inserttext", "symbol", "bringtofront", "sendtoback",
                                           "delete", "bold", "italic", "underline", "strikeout", "alignleft",
                                           "aligncenter", "alignright", "fontcolor", "shadow", "shadowcolor",
                                           "grow", "shrink", "error", "AAA", "DOC"));

TEST(LumoraIcons, UnknownNameGivesNothing) {
  EXPECT_TRUE(LumoraIcons::Pixmap(QStringLiteral("no-such-icon")).isNull());
  EXPECT_TRUE(LumoraIcons::Icon(QStringLiteral("no-such-icon")).isNull());
}

}  // namespace
}  // namespace lumora
