// The preview window: modal over its owner until closed, the whole picture shown or scrolled to
// its far corner when larger than the screen, and nothing at all for files it cannot read.
#include "library/frmPreview.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>

#include "ScriptedModal.h"
#include "TempLibrary.h"
#include "library/ScrollingImage.h"

namespace lumora {
namespace {

TEST(frmPreview, ShowsThePictureModallyOverItsOwnerUntilClosed) {
  test::TempLibrary library;
  test::ScriptedModal modal;
  QWidget owner;
  QRect shown, window;
  modal.onNextWindow([&](QDialog& dialog) {
    auto& preview = static_cast<frmPreview&>(dialog);
    EXPECT_EQ(preview.parentWidget(), &owner);
    EXPECT_TRUE(preview.Image1()->vs()->isHidden() && preview.Image1()->hs()->isHidden());
    shown = preview.Image1()->Image1()->geometry().translated(preview.Image1()->pos());
    window = preview.rect();
    preview.cmdClose()->click();
    EXPECT_FALSE(preview.isVisible());
  });
  EXPECT_TRUE(frmPreview::ViewImage(library.addPicture("T", "C", "photo.png", {640, 480}), &owner));
  EXPECT_EQ(modal.windows(), std::vector<QString>{"lumora::frmPreview"});
  EXPECT_EQ(shown.size(), QSize(640, 480));
  EXPECT_TRUE(window.contains(shown));
}

TEST(frmPreview, APictureLargerThanTheScreenScrollsToItsFarCornerInsideAWindowThatFits) {
  test::TempLibrary library;
  frmPreview preview;
  ASSERT_TRUE(preview.LoadImage(library.addPicture("T", "C", "cover.png", {2400, 2400})));
  const QRect screen = preview.screen()->availableGeometry();
  EXPECT_LE(preview.width(), screen.width());
  EXPECT_LE(preview.height(), screen.height());
  ScrollingImage* viewer = preview.Image1();
  ASSERT_FALSE(viewer->vs()->isHidden() || viewer->hs()->isHidden());
  viewer->vs()->setValue(viewer->vs()->maximum());
  viewer->hs()->setValue(viewer->hs()->maximum());
  const QRect picture = viewer->Image1()->geometry();
  EXPECT_EQ(picture.bottom() + 1, viewer->hs()->y());  // the far edges meet the bars
  EXPECT_EQ(picture.right() + 1, viewer->vs()->x());
}

TEST(frmPreview, AFileItCannotReadShowsNoWindowAndNoMessage) {
  test::TempLibrary library;
  test::ScriptedModal modal;
  EXPECT_FALSE(frmPreview::ViewImage(library.addFile("T", "C", "x.jpg", "garbage"), nullptr));
  EXPECT_FALSE(frmPreview::ViewImage(library.root() + "/missing.png", nullptr));
  EXPECT_FALSE(frmPreview::ViewImage(library.addFile("T", "C", "bomb.png", test::PngClaiming(30000, 30000)), nullptr));
  EXPECT_TRUE(modal.windows().empty());
  EXPECT_TRUE(modal.messageBoxes().empty());
}

}  // namespace
}  // namespace lumora
