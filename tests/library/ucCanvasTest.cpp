// The canvas control: layout in fit and zoom modes, clamped panning, the Scroll event, pointer
// shapes, coordinate conversion and what it paints.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "base/SystemColors.h"
#include "library/ucCanvas.h"

namespace lumora {
namespace {

// A 32-bit picture whose every pixel tells where it is: red = x, green = y.
void FillCoordinates(cDIB& dib, int width, int height) {
  ASSERT_TRUE(dib.Create(width, height, 32));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = dib.lpBits() + static_cast<size_t>(y) * dib.BytesPerScanLine();
    for (int x = 0; x < width; ++x) {
      row[4 * x + 0] = 0x40;                       // blue
      row[4 * x + 1] = static_cast<uint8_t>(y);    // green
      row[4 * x + 2] = static_cast<uint8_t>(x);    // red
    }
  }
}

class ucCanvasTest : public testing::Test {
 protected:
  // A canvas of the given size holding a picture, laid out.
  void make(QSize control, QSize picture, int zoom = 1, bool fit = false) {
    m_canvas.resize(control);
    FillCoordinates(m_canvas.CanvasImage(), picture.width(), picture.height());
    m_canvas.Zoom(zoom);
    m_canvas.FitMode(fit);
    m_canvas.Resize();
    m_canvas.Repaint();
  }

  void drag(QPoint from, QPoint to) {
    QTest::mousePress(&m_canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(&m_canvas, to);
  }

  ucCanvas m_canvas;
};

TEST_F(ucCanvasTest, StartsEmptyAtZoomOneInPanMode) {
  EXPECT_EQ(m_canvas.Zoom(), 1);
  EXPECT_EQ(m_canvas.WorkMode(), 0);
  EXPECT_FALSE(m_canvas.FitMode());
  EXPECT_EQ(m_canvas.CanvasImage().Width(), 0);
  m_canvas.resize(100, 100);
  m_canvas.Resize();
  EXPECT_EQ(m_canvas.ViewRect().size(), QSize(0, 0));
  EXPECT_EQ(m_canvas.ToPicture({40, 40}), QPoint(0, 0));
}

TEST_F(ucCanvasTest, ZoomBelowOneBecomesOne) {
  for (int zoom : {0, -1, -100}) {
    m_canvas.Zoom(5);
    m_canvas.Zoom(zoom);
    EXPECT_EQ(m_canvas.Zoom(), 1) << zoom;
  }
  m_canvas.Zoom(4);
  EXPECT_EQ(m_canvas.Zoom(), 4);
}

TEST_F(ucCanvasTest, SmallPictureIsCentredCannotBePannedAndShowsTheDefaultPointer) {
  make({200, 100}, {51, 20});
  EXPECT_EQ(m_canvas.ViewRect(), QRect(74, 40, 51, 20));
  EXPECT_EQ(m_canvas.MaxScroll(), QPoint(0, 0));
  EXPECT_EQ(m_canvas.cursor().shape(), Qt::ArrowCursor);
  QSignalSpy scroll(&m_canvas, &ucCanvas::Scroll);
  drag({100, 50}, {10, 10});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(0, 0));
  EXPECT_EQ(scroll.count(), 0);
}

TEST_F(ucCanvasTest, ZoomedPictureLargerThanTheControlStartsCentredAndPans) {
  make({200, 100}, {100, 50}, 3);  // 300 x 150 zoomed
  EXPECT_EQ(m_canvas.ViewRect(), QRect(0, 0, 200, 100));
  EXPECT_EQ(m_canvas.MaxScroll(), QPoint(100, 50));
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(50, 25));
  EXPECT_EQ(m_canvas.cursor().shape(), Qt::SizeAllCursor);
  // Only one direction too large: the other is centred and stays put.
  make({200, 200}, {100, 50}, 3);
  EXPECT_EQ(m_canvas.ViewRect(), QRect(0, 25, 200, 150));
  EXPECT_EQ(m_canvas.MaxScroll(), QPoint(100, 0));
}

TEST_F(ucCanvasTest, PanningIsClampedAndRaisesScrollOnlyWhenThePositionChanges) {
  make({200, 100}, {100, 50}, 3);
  QSignalSpy scroll(&m_canvas, &ucCanvas::Scroll);
  drag({100, 50}, {90, 45});  // pointer left and up: the view moves right and down
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(60, 30));
  EXPECT_EQ(scroll.count(), 1);
  QTest::mouseMove(&m_canvas, {-500, -500});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(100, 50));
  EXPECT_EQ(scroll.count(), 2);
  // Further on past the end: nothing changes, no event.
  QTest::mouseMove(&m_canvas, {-600, -520});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(100, 50));
  EXPECT_EQ(scroll.count(), 2);
  QTest::mouseMove(&m_canvas, {900, 900});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(0, 0));
  EXPECT_EQ(scroll.count(), 3);
  QTest::mouseRelease(&m_canvas, Qt::LeftButton, {}, {900, 900});
  // No longer dragging: moves do not pan.
  QTest::mouseMove(&m_canvas, {10, 10});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(0, 0));
  EXPECT_EQ(scroll.count(), 3);
}

TEST_F(ucCanvasTest, OtherWorkModesLeaveTheMouseToTheContainer) {
  make({200, 100}, {100, 50}, 3);
  QPixmap icon(16, 16);
  icon.fill(Qt::red);
  m_canvas.UserIcon(icon);
  m_canvas.WorkMode(1);
  EXPECT_EQ(m_canvas.cursor().shape(), Qt::BitmapCursor);
  QSignalSpy scroll(&m_canvas, &ucCanvas::Scroll);
  QSignalSpy moves(&m_canvas, &ucCanvas::MouseMove);
  drag({100, 50}, {10, 10});
  EXPECT_EQ(m_canvas.ScrollPos(), QPoint(50, 25));
  EXPECT_EQ(scroll.count(), 0);
  EXPECT_GE(moves.count(), 1);
  m_canvas.WorkMode(0);
  EXPECT_EQ(m_canvas.cursor().shape(), Qt::SizeAllCursor);
}

TEST_F(ucCanvasTest, ConvertsControlToPicturePixelsAtZoomThree) {
  make({200, 100}, {100, 50}, 3);
  drag({50, 50}, {96, 50});  // scroll x 50 -> 4
  QTest::mouseRelease(&m_canvas, Qt::LeftButton, {}, {96, 50});
  ASSERT_EQ(m_canvas.ScrollPos().x(), 4);
  ASSERT_EQ(m_canvas.ViewRect().left(), 0);
  QSignalSpy down(&m_canvas, &ucCanvas::MouseDown);
  QSignalSpy up(&m_canvas, &ucCanvas::MouseUp);
  QTest::mousePress(&m_canvas, Qt::RightButton, Qt::ShiftModifier, {2, 0});
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down[0][0].toInt(), 2);  // right button
  EXPECT_EQ(down[0][1].toInt(), 1);  // shift
  EXPECT_EQ(down[0][2].toInt(), 2);  // (4 + 2 - 0) / 3
  EXPECT_EQ(down[0][3].toInt(), 8);  // (25 + 0) / 3
  QTest::mouseRelease(&m_canvas, Qt::RightButton, {}, {2, 0});
  EXPECT_EQ(up.count(), 1);
  // Left of the picture: cut toward negative infinity.
  make({400, 100}, {100, 50}, 1);  // view left 150
  EXPECT_EQ(m_canvas.ToPicture({149, 0}).x(), -1);
  EXPECT_EQ(m_canvas.ToPicture({150, 0}).x(), 0);
}

TEST_F(ucCanvasTest, FitModeUsesTheBestFitRectangle) {
  make({150, 150}, {100, 50}, 1, true);
  EXPECT_EQ(m_canvas.ViewRect(), QRect(25, 50, 100, 50));
  make({150, 150}, {600, 300}, 1, true);
  EXPECT_EQ(m_canvas.ViewRect(), QRect(0, 37, 150, 75));
  EXPECT_EQ(m_canvas.cursor().shape(), Qt::ArrowCursor);
  // 4 picture pixels to a control pixel.
  EXPECT_EQ(m_canvas.ToPicture({10, 37}), QPoint(40, 0));
  EXPECT_EQ(m_canvas.ToPicture({149, 111}), QPoint(596, 296));
}

TEST_F(ucCanvasTest, KeepsThePanPositionProportionalWhenTheControlResizes) {
  make({200, 100}, {100, 50}, 3);
  drag({100, 50}, {175, 50});  // scroll x 50 -> 0 ... then to 25
  QTest::mouseMove(&m_canvas, {150, 50});
  QTest::mouseRelease(&m_canvas, Qt::LeftButton, {}, {150, 50});
  ASSERT_EQ(m_canvas.ScrollPos().x(), 25);  // a quarter of the way
  m_canvas.show();  // resize events reach shown widgets
  QSignalSpy resized(&m_canvas, &ucCanvas::Resized);
  m_canvas.resize(100, 100);  // maximum 200
  EXPECT_EQ(resized.count(), 1);
  EXPECT_EQ(m_canvas.MaxScroll().x(), 200);
  EXPECT_EQ(m_canvas.ScrollPos().x(), 50);
}

TEST_F(ucCanvasTest, PaintsThePictureZoomedAndPannedAndTheBackgroundAround) {
  make({200, 100}, {100, 50}, 3);
  drag({50, 50}, {96, 50});
  QTest::mouseRelease(&m_canvas, Qt::LeftButton, {}, {96, 50});
  const QImage shown = m_canvas.grab().toImage();
  for (const QPoint at : {QPoint(0, 0), QPoint(1, 1), QPoint(2, 3), QPoint(100, 50), QPoint(199, 99)}) {
    const QPoint p = m_canvas.ToPicture(at);
    const QRgb rgb = shown.pixel(at);
    EXPECT_EQ(qRed(rgb), p.x()) << at.x() << "," << at.y();
    EXPECT_EQ(qGreen(rgb), p.y()) << at.x() << "," << at.y();
    EXPECT_EQ(qBlue(rgb), 0x40);
  }
  // A small picture in the middle of the workspace colour.
  make({200, 100}, {20, 10}, 2);
  const QImage small = m_canvas.grab().toImage();
  const uint32_t workspace = SystemColors::Get(SystemColors::kAppWorkspace);
  const QRgb expected = qRgb(workspace & 0xFF, (workspace >> 8) & 0xFF, (workspace >> 16) & 0xFF);
  EXPECT_EQ(m_canvas.ViewRect(), QRect(80, 40, 40, 20));
  EXPECT_EQ(small.pixel(79, 50), expected);
  EXPECT_EQ(small.pixel(120, 50), expected);
  EXPECT_EQ(small.pixel(100, 39), expected);
  EXPECT_EQ(qRed(small.pixel(80, 40)), 0);
  EXPECT_EQ(qRed(small.pixel(119, 59)), 19);
  EXPECT_EQ(qGreen(small.pixel(119, 59)), 9);
}

TEST_F(ucCanvasTest, PaintsPicturesOfOtherDepths) {
  m_canvas.resize(40, 40);
  cDIB& dib = m_canvas.CanvasImage();
  ASSERT_TRUE(dib.Create(4, 4, 8));
  const uint8_t palette[] = {0, 0, 0, 0, 0x10, 0x20, 0xF0, 0};  // entry 1: red F0, green 20, blue 10
  dib.SetPalette(palette);
  std::fill(dib.lpBits(), dib.lpBits() + dib.Size(), uint8_t{1});
  m_canvas.Zoom(10);
  m_canvas.Resize();
  const QImage shown = m_canvas.grab().toImage();
  EXPECT_EQ(shown.pixel(5, 5), qRgb(0xF0, 0x20, 0x10));
  EXPECT_EQ(shown.pixel(35, 35), qRgb(0xF0, 0x20, 0x10));
}

}  // namespace
}  // namespace lumora

namespace lumora {
namespace {

TEST(ucCanvas, HugeZoomStaysWithinRange) {
  ucCanvas canvas;
  canvas.resize(100, 100);
  ASSERT_TRUE(canvas.CanvasImage().Create(10, 10, 32));
  canvas.Zoom(1 << 30);
  canvas.Resize();
  EXPECT_EQ(canvas.MaxScroll(), QPoint(INT32_MAX, INT32_MAX));
  EXPECT_GE(canvas.ScrollPos().x(), 0);
  const QPoint p = canvas.ToPicture({99, 99});
  EXPECT_GE(p.x(), 0);
  EXPECT_LT(p.x(), 10);
  EXPECT_FALSE(canvas.grab().isNull());
  // Panned to the far end, the conversion still lands on the last pixel.
  canvas.show();
  QTest::mousePress(&canvas, Qt::LeftButton, {}, {99, 99});
  QTest::mouseMove(&canvas, {-5000, -5000});
  for (int i = 0; i < 3; ++i) {
    QTest::mouseMove(&canvas, {99, 99});
    QTest::mouseMove(&canvas, {0, 0});
  }
  EXPECT_GE(canvas.ToPicture({99, 99}).x(), 1);
  EXPECT_LT(canvas.ToPicture({99, 99}).x(), 10);
}

}  // namespace
}  // namespace lumora
