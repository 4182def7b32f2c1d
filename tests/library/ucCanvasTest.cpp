// The canvas control as a container uses it: layout in fit and zoom modes, clamped panning by
// dragging, mouse events in picture pixels, the pan position kept across resizes, and what it paints.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "base/SystemColors.h"
#include "library/ucCanvas.h"

namespace lumora {
namespace {

// Every pixel tells where it is: red = x, green = y, blue 0x40.
void FillCoordinates(cDIB& dib, int width, int height) {
  ASSERT_TRUE(dib.Create(width, height, 32));
  for (int y = 0; y < height; ++y) {
    uint8_t* row = dib.lpBits() + static_cast<size_t>(y) * dib.BytesPerScanLine();
    for (int x = 0; x < width; ++x)
      row[4 * x + 0] = 0x40, row[4 * x + 1] = static_cast<uint8_t>(y), row[4 * x + 2] = static_cast<uint8_t>(x);
  }
}

void Layout(ucCanvas& canvas, QSize control, QSize picture, int zoom, bool fit) {
  canvas.resize(control);
  FillCoordinates(canvas.CanvasImage(), picture.width(), picture.height());
  canvas.Zoom(zoom);
  canvas.FitMode(fit);
  canvas.Resize();
}

TEST(ucCanvas, LaysOutFittedZoomedAndCentredPictures) {
  struct Case {
    QSize control, picture;
    int zoom;
    bool fit;
    QRect view;
    QPoint maxScroll, scroll;
    Qt::CursorShape pointer;
  };
  const Case cases[] = {
      {{200, 100}, {51, 20}, 1, false, {74, 40, 51, 20}, {0, 0}, {0, 0}, Qt::ArrowCursor},
      {{200, 100}, {100, 50}, 3, false, {0, 0, 200, 100}, {100, 50}, {50, 25}, Qt::SizeAllCursor},
      {{200, 200}, {100, 50}, 3, false, {0, 25, 200, 150}, {100, 0}, {50, 0}, Qt::SizeAllCursor},
      {{150, 150}, {100, 50}, 1, true, {25, 50, 100, 50}, {0, 0}, {0, 0}, Qt::ArrowCursor},
      {{150, 150}, {600, 300}, 1, true, {0, 37, 150, 75}, {0, 0}, {0, 0}, Qt::ArrowCursor},
      {{100, 100}, {10, 10}, 1 << 30, false, {0, 0, 100, 100}, {INT32_MAX, INT32_MAX}, {}, Qt::SizeAllCursor},
  };
  for (const Case& c : cases) {
    ucCanvas canvas;
    Layout(canvas, c.control, c.picture, c.zoom, c.fit);
    EXPECT_EQ(canvas.ViewRect(), c.view) << c.picture.width() << " at " << c.zoom;
    EXPECT_EQ(canvas.MaxScroll(), c.maxScroll) << c.picture.width() << " at " << c.zoom;
    if (c.zoom < 100) {
      EXPECT_EQ(canvas.ScrollPos(), c.scroll) << c.picture.width();
    }
    EXPECT_EQ(canvas.cursor().shape(), c.pointer) << c.picture.width() << " at " << c.zoom;
  }
  ucCanvas canvas;
  canvas.Zoom(-3);
  EXPECT_EQ(canvas.Zoom(), 1);
  EXPECT_EQ(canvas.ToPicture({4, 4}), QPoint(0, 0));  // no picture yet
  Layout(canvas, {150, 150}, {600, 300}, 1, true);    // 4 picture pixels to a control pixel
  EXPECT_EQ(canvas.ToPicture({149, 111}), QPoint(596, 296));
  Layout(canvas, {400, 100}, {100, 50}, 1, false);  // left of the picture: cut toward minus infinity
  EXPECT_EQ(canvas.ToPicture({149, 0}).x(), -1);
}

TEST(ucCanvas, DragPansWithinTheEdgesAndReportsPicturePixels) {
  ucCanvas canvas;
  Layout(canvas, {200, 100}, {100, 50}, 3, false);
  QSignalSpy scroll(&canvas, &ucCanvas::Scroll), down(&canvas, &ucCanvas::MouseDown), up(&canvas, &ucCanvas::MouseUp);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, {100, 50});
  QTest::mouseMove(&canvas, {90, 45});  // pointer left and up: the view moves right and down
  EXPECT_EQ(canvas.ScrollPos(), QPoint(60, 30));
  QTest::mouseMove(&canvas, {-500, -500});
  QTest::mouseMove(&canvas, {-600, -520});  // past the end: no change, no event
  EXPECT_EQ(canvas.ScrollPos(), QPoint(100, 50));
  EXPECT_EQ(scroll.count(), 2);
  QTest::mouseMove(&canvas, {146, 525});
  QTest::mouseRelease(&canvas, Qt::LeftButton, {}, {146, 525});
  QTest::mouseMove(&canvas, {10, 10});  // no longer dragging
  EXPECT_EQ(canvas.ScrollPos(), QPoint(0, 0));
  EXPECT_EQ(scroll.count(), 3);
  QTest::mousePress(&canvas, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, {5, 7});
  QTest::mouseRelease(&canvas, Qt::RightButton, Qt::AltModifier, {5, 7});
  ASSERT_EQ(down.count(), 2);
  EXPECT_EQ(down[1], (QList<QVariant>{2, 3, 1, 2}));  // right button, Shift + Ctrl, (5 / 3, 7 / 3)
  EXPECT_EQ(up.last(), (QList<QVariant>{2, 4, 1, 2}));
  // Another work mode leaves the mouse to the container and shows its pointer.
  QPixmap icon(16, 16);
  icon.fill(Qt::red);
  canvas.UserIcon(icon);
  canvas.WorkMode(1);
  EXPECT_EQ(canvas.cursor().shape(), Qt::BitmapCursor);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, {100, 50});
  QTest::mouseMove(&canvas, {10, 10});
  EXPECT_EQ(canvas.ScrollPos(), QPoint(0, 0));
  canvas.UserIcon(QPixmap());
  EXPECT_EQ(canvas.cursor().shape(), Qt::ArrowCursor);
}

TEST(ucCanvas, PaintsThePictureZoomedAndPannedOnTheWorkspaceColour) {
  ucCanvas canvas;
  Layout(canvas, {200, 100}, {100, 50}, 3, false);
  QTest::mousePress(&canvas, Qt::LeftButton, {}, {50, 50});
  QTest::mouseMove(&canvas, {96, 50});  // scroll x 4: pixels cut at the left edge
  const QImage panned = canvas.grab().toImage();
  for (const QPoint at : {QPoint(0, 0), QPoint(1, 1), QPoint(2, 3), QPoint(100, 50), QPoint(199, 99)}) {
    const QPoint p = canvas.ToPicture(at);
    EXPECT_EQ(panned.pixel(at), qRgb(p.x(), p.y(), 0x40)) << at.x() << "," << at.y();
  }
  Layout(canvas, {200, 100}, {20, 10}, 2, false);
  const QImage small = canvas.grab().toImage();
  const uint32_t workspace = SystemColors::Get(SystemColors::kAppWorkspace);
  const QRgb around = qRgb(workspace & 0xFF, (workspace >> 8) & 0xFF, (workspace >> 16) & 0xFF);
  for (const QPoint at : {QPoint(79, 50), QPoint(120, 50), QPoint(100, 39)}) EXPECT_EQ(small.pixel(at), around);
  EXPECT_EQ(small.pixel(119, 59), qRgb(19, 9, 0x40));
  // An 8-bit picture is drawn through its colour table.
  cDIB& dib = canvas.CanvasImage();
  ASSERT_TRUE(dib.Create(4, 4, 8));
  const uint8_t palette[] = {0, 0, 0, 0, 0x10, 0x20, 0xF0, 0};
  dib.SetPalette(palette);
  std::fill(dib.lpBits(), dib.lpBits() + dib.Size(), uint8_t{1});
  canvas.Resize();
  EXPECT_EQ(canvas.grab().toImage().pixel(100, 50), qRgb(0xF0, 0x20, 0x10));
}

}  // namespace
}  // namespace lumora
