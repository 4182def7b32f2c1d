// The colour picker driven as a user drives it: boxes clicked, buttons pressed, the custom colour
// dialog answered through the scripted modal seam.
#include <gtest/gtest.h>

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ScriptedModal.h"
#include "Screenshot.h"
#include "colour/frmColorPicker.h"
#include "controls/QtColour.h"

namespace lumora {
namespace {

using test::ScriptedModal;

QRect designedCell(int index) {
  const double left = 120 + (index % 18) * 312, top = 180 + (index / 18) * 360;
  return {static_cast<int>(left / 15 + 0.5), static_cast<int>(top / 15 + 0.5), 17, 19};
}

// Shows the picker through the seam, lets the step act on it, and returns ResultColor.
Colour runPicker(ScriptedModal& modal, const std::function<void(frmColorPicker&)>& step) {
  frmColorPicker picker;
  picker.ResultColor = 0x55AA55;  // as a previous use left it
  modal.onNextWindow([&](QDialog& dialog) { step(static_cast<frmColorPicker&>(dialog)); });
  Modal().exec(picker);
  return picker.ResultColor;
}

TEST(frmColorPicker, BoxesHoldTheWebSafeColoursInRedGreenBlueOrder) {
  frmColorPicker picker;
  for (int i = 0; i < frmColorPicker::kBoxCount; ++i) {
    const int r = (i / 36) * 51, g = ((i / 6) % 6) * 51, b = (i % 6) * 51;
    EXPECT_EQ(picker.boxColour(i), r + g * 256 + b * 65536) << i;
    EXPECT_EQ(picker.boxTag(i), QString::asprintf("#%02X%02X%02X", r, g, b)) << i;
  }
  EXPECT_EQ(picker.boxTag(1), "#000033");
  EXPECT_EQ(picker.boxTag(36), "#330000");
  EXPECT_EQ(picker.boxTag(215), "#FFFFFF");
  EXPECT_EQ(picker.boxColour(215), 0xFFFFFF);
}

TEST(frmColorPicker, GridIs18By12AtTheDesignedPlaces) {
  frmColorPicker picker;
  EXPECT_EQ(picker.size(), QSize(385, 393));
  EXPECT_EQ(picker.windowTitle(), "Choose Color");
  // Box 215 sits at column 17 of row 11; box 0 is the selected one after loading.
  EXPECT_EQ(picker.box(215)->geometry(), designedCell(215));
  EXPECT_EQ(picker.box(215)->geometry().topLeft(), QPoint(362, 276));
  EXPECT_EQ(picker.box(17)->geometry(), designedCell(17));
  EXPECT_EQ(picker.box(18)->geometry().topLeft().x(), picker.box(36)->geometry().topLeft().x());
  for (int i = 1; i < frmColorPicker::kBoxCount; ++i) EXPECT_EQ(picker.box(i)->focusPolicy(), Qt::NoFocus);
}

TEST(frmColorPicker, LoadsWithBoxZeroSelected) {
  frmColorPicker picker;
  EXPECT_EQ(picker.selectedIndex(), 0);
  EXPECT_EQ(picker.hexText(), "#000000");
  EXPECT_EQ(picker.swatchColour(), 0);
  EXPECT_EQ(picker.box(0)->geometry(), designedCell(0).adjusted(1, 1, -1, -1));
  EXPECT_EQ(picker.box(0)->frameShape(), QFrame::NoFrame);
  EXPECT_FALSE(picker.innerMarker()->isHidden());
}

TEST(frmColorPicker, OkAtOnceGivesBlack) {
  ScriptedModal modal;
  EXPECT_EQ(runPicker(modal, [](frmColorPicker& p) { QTest::mouseClick(p.okButton(), Qt::LeftButton); }), 0);
  EXPECT_EQ(modal.windows(), std::vector<QString>{"lumora::frmColorPicker"});
}

TEST(frmColorPicker, CancelAndTheCloseBoxGiveMinusOne) {
  ScriptedModal modal;
  EXPECT_EQ(runPicker(modal,
                      [](frmColorPicker& p) {
                        QTest::mouseClick(p.box(100), Qt::LeftButton);
                        QTest::mouseClick(p.cancelButton(), Qt::LeftButton);
                      }),
            -1);
  EXPECT_EQ(runPicker(modal,
                      [](frmColorPicker& p) {
                        QTest::mouseClick(p.box(100), Qt::LeftButton);
                        p.close();
                      }),
            -1);
  EXPECT_EQ(runPicker(modal, [](frmColorPicker& p) { QTest::keyClick(&p, Qt::Key_Escape); }), -1);
}

TEST(frmColorPicker, ClickedBoxIsReturnedByOk) {
  ScriptedModal modal;
  const Colour chosen = runPicker(modal, [](frmColorPicker& p) {
    QTest::mouseClick(p.box(77), Qt::LeftButton);
    EXPECT_EQ(p.hexText(), p.boxTag(77));
    QTest::mouseClick(p.okButton(), Qt::LeftButton);
  });
  frmColorPicker reference;
  EXPECT_EQ(chosen, reference.boxColour(77));
}

TEST(frmColorPicker, CustomColourGoesToTheSwatchOnlyAndOkReturnsIt) {
  ScriptedModal modal;
  modal.answerColour(0x123456);
  const Colour chosen = runPicker(modal, [](frmColorPicker& p) {
    QTest::mouseClick(p.box(36), Qt::LeftButton);
    QTest::mouseClick(p.customButton(), Qt::LeftButton);
    EXPECT_EQ(p.swatchColour(), 0x123456);
    EXPECT_EQ(p.hexText(), "#330000");
    EXPECT_EQ(p.selectedIndex(), 36);
    QTest::mouseClick(p.okButton(), Qt::LeftButton);
  });
  EXPECT_EQ(chosen, 0x123456);
  EXPECT_EQ(modal.colourDialogs(), 1);
}

TEST(frmColorPicker, CancelledCustomDialogChangesNothing) {
  ScriptedModal modal;  // no answer queued: the colour dialog cancels
  const Colour chosen = runPicker(modal, [](frmColorPicker& p) {
    QTest::mouseClick(p.box(5), Qt::LeftButton);
    QTest::mouseClick(p.customButton(), Qt::LeftButton);
    QTest::mouseClick(p.okButton(), Qt::LeftButton);
  });
  frmColorPicker reference;
  EXPECT_EQ(chosen, reference.boxColour(5));
}

TEST(frmColorPicker, ExactlyOneBoxIsShrunkAndBorderlessAndTheMarkersFrameIt) {
  frmColorPicker picker;
  picker.show();
  QTest::mouseClick(picker.box(20), Qt::LeftButton);
  QTest::mouseClick(picker.box(150), Qt::LeftButton);
  int shrunk = 0;
  for (int i = 0; i < frmColorPicker::kBoxCount; ++i) {
    const bool selected = i == 150;
    EXPECT_EQ(picker.box(i)->frameShape(), selected ? QFrame::NoFrame : QFrame::Box) << i;
    EXPECT_EQ(picker.box(i)->geometry(), selected ? designedCell(i).adjusted(1, 1, -1, -1) : designedCell(i)) << i;
    shrunk += picker.box(i)->geometry() != designedCell(i);
  }
  EXPECT_EQ(shrunk, 1);
  const QRect cell = designedCell(150);
  EXPECT_EQ(picker.innerMarker()->geometry(), cell);
  EXPECT_EQ(picker.outerMarker()->geometry(), QRect(cell.x() - 1, cell.y() - 1, cell.width() + 3, cell.height() + 3));
}

TEST(frmColorPicker, ClickingTheSelectedBoxAgainChangesNothing) {
  frmColorPicker picker;
  picker.show();
  QTest::mouseClick(picker.box(9), Qt::LeftButton);
  const QRect before = picker.box(9)->geometry();
  QTest::mouseClick(picker.box(9), Qt::LeftButton);
  EXPECT_EQ(picker.box(9)->geometry(), before);
  EXPECT_EQ(picker.selectedIndex(), 9);
}

TEST(frmColorPicker, TabOrderStartsAtOkAndSkipsTheBoxes) {
  frmColorPicker picker;
  picker.show();
  QApplication::setActiveWindow(&picker);
  picker.okButton()->setFocus();
  EXPECT_EQ(picker.okButton()->nextInFocusChain(), picker.cancelButton());
  QWidget* next = picker.cancelButton()->nextInFocusChain();
  while (next && next->focusPolicy() == Qt::NoFocus) next = next->nextInFocusChain();
  EXPECT_EQ(next, picker.customButton());
}

TEST(frmColorPicker, WindowShowsTheBoxesInTheirColoursAndTheMarkers) {
  frmColorPicker picker;
  picker.show();
  QTest::mouseClick(picker.box(100), Qt::LeftButton);
  const QImage shown = test::GrabWindow(picker);
  for (int i : {0, 1, 36, 100, 150, 215}) {
    const QRect box = picker.box(i)->geometry();
    EXPECT_EQ(shown.pixel(box.center()) & 0xFFFFFF, ToQColor(picker.boxColour(i)).rgb() & 0xFFFFFF) << i;
  }
  // The outer marker shows just outside the selected cell.
  const QRect cell = designedCell(100);
  EXPECT_EQ(QColor(shown.pixel(cell.left() - 1, cell.center().y())), QColor(Qt::black));
  test::SaveScreenshot(picker, QStringLiteral("frmColorPicker"));
}

}  // namespace
}  // namespace lumora
