// The preview window: its size follows the picture; unreadable files show nothing.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "library/ScrollingImage.h"
#include "library/frmPreview.h"

namespace lumora {
namespace {

using test::ScriptedModal;

TEST(frmPreview, FitsTheWindowToA640By480Picture) {
  test::TempLibrary library;
  const QString path = library.addPicture("T", "C", "photo.png", {640, 480});
  frmPreview preview;
  ASSERT_TRUE(preview.LoadImage(path));
  EXPECT_EQ(preview.windowTitle(), "Image Preview");
  // 9840 x 7875 twips: 9600 + 240 wide, 120 + 7200 + 555 high.
  EXPECT_EQ(preview.size(), QSize(656, 525));
  EXPECT_EQ(preview.Image1()->geometry(), QRect(8, 8, 640, 480));
  EXPECT_EQ(preview.picButtons()->geometry(), QRect(0, 488, 656, 37));
  // 120 twips from the right edge, 120 twips into the strip.
  EXPECT_EQ(preview.cmdClose()->geometry(), QRect(656 - 69 - 8, 8, 69, 22));
  EXPECT_TRUE(preview.cmdClose()->isDefault());
  EXPECT_TRUE(preview.Image1()->vs()->isHidden());
  EXPECT_TRUE(preview.Image1()->hs()->isHidden());
}

TEST(frmPreview, ViewImageShowsTheWindowModallyOverItsOwnerUntilClosed) {
  test::TempLibrary library;
  const QString path = library.addPicture("T", "C", "small.png", {100, 60});
  ScriptedModal modal;
  QWidget owner;
  bool wasVisible = false;
  modal.onNextWindow([&](QDialog& dialog) {
    wasVisible = dialog.isVisible();
    EXPECT_EQ(dialog.parentWidget(), &owner);
    EXPECT_EQ(dialog.size(), QSize(116, 105));
    static_cast<frmPreview&>(dialog).cmdClose()->click();
    EXPECT_FALSE(dialog.isVisible());
  });
  EXPECT_TRUE(frmPreview::ViewImage(path, &owner));
  EXPECT_TRUE(wasVisible);
  EXPECT_EQ(modal.windows(), std::vector<QString>{"lumora::frmPreview"});
}

TEST(frmPreview, UnreadableFileShowsNoWindowAndNoMessage) {
  test::TempLibrary library;
  ScriptedModal modal;
  EXPECT_FALSE(frmPreview::ViewImage(library.addFile("T", "C", "x.jpg", "garbage"), nullptr));
  EXPECT_FALSE(frmPreview::ViewImage(library.root() + "/missing.png", nullptr));
  EXPECT_FALSE(frmPreview::ViewImage(library.addFile("T", "C", "bomb.png", test::PngClaiming(30000, 30000)), nullptr));
  EXPECT_TRUE(modal.windows().empty());
  EXPECT_TRUE(modal.messageBoxes().empty());
}

TEST(frmPreview, PictureLargerThanTheScreenScrollsInsideAWindowThatFits) {
  test::TempLibrary library;
  const QString path = library.addPicture("T", "C", "cover.png", {1600, 2400});
  frmPreview preview;
  ASSERT_TRUE(preview.LoadImage(path));
  const QRect screen = preview.screen()->availableGeometry();
  EXPECT_LE(preview.width(), screen.width());
  EXPECT_LE(preview.height(), screen.height());
  ScrollingImage* viewer = preview.Image1();
  EXPECT_FALSE(viewer->vs()->isHidden());
  viewer->vs()->setValue(viewer->vs()->maximum());
  EXPECT_EQ(viewer->Image1()->geometry().bottom() + 1, viewer->height() - (viewer->hs()->isHidden() ? 0 : 18));
}

}  // namespace
}  // namespace lumora
