// The workspace's zoom from the keyboard and the wheel: the steps and their limits, drags in
// pixels of the picture, the point under the pointer held, new text scrolled into view, and an
// export that is the same at every zoom.
#include <QWheelEvent>

#include "EditorFixture.h"
#include "compose/DocumentUnits.h"

namespace lumora {
namespace {

using ZoomTest = test::EditorTest;

TEST_F(ZoomTest, KeysStepBetweenTheLimitsAndTheHelpLineShowsTheZoom) {
  newDocument();
  EXPECT_EQ(w().lblZoom->text(), "Zoom 100 %");
  const std::pair<std::vector<Qt::Key>, int> steps[] = {{{Qt::Key_Plus, Qt::Key_Equal}, 200},
                                                         {{Qt::Key_Minus}, 150},
                                                         {{Qt::Key_0}, 100},
                                                         {std::vector<Qt::Key>(12, Qt::Key_Plus), 800},
                                                         {std::vector<Qt::Key>(12, Qt::Key_Minus), 25}};
  for (const auto& [keys, zoom] : steps) {
    for (Qt::Key k : keys) QTest::keyClick(&w(), k, Qt::ControlModifier);
    EXPECT_EQ(w().picPicture->zoom(), zoom);
    EXPECT_EQ(w().picPicture->size(), QSize(400, 240) * (zoom / 100.0));
    EXPECT_EQ(w().lblZoom->text(), QStringLiteral("Zoom %1 %").arg(zoom));
  }
  QTest::keyClick(&w(), Qt::Key_9, Qt::ControlModifier);  // the largest zoom that shows it all
  const QSize room = w().picWorkspace->size() - QSize(4, 4), fit = QSize(400, 240) * (w().picPicture->zoom() / 100.0),
              over = QSize(400, 240) * ((w().picPicture->zoom() + 1) / 100.0);
  EXPECT_TRUE(room.expandedTo(fit) == room && room.expandedTo(over) != room) << w().picPicture->zoom();
}

TEST_F(ZoomTest, ADragAt200PercentMovesHalfItsScreenPixelsAndTheExportStaysTheSame) {
  newDocument();
  insertAndType(QStringLiteral("Sale"));
  click(w().cmdSaveImage, path("at100.bmp"));
  QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
  QTest::keyClick(&w(), Qt::Key_Plus, Qt::ControlModifier);
  const TextItem before = current();
  drag(w().ItemRect(before).center() * 2, QPoint(30, -12));
  EXPECT_FLOAT_EQ(current().Left, before.Left + 225);
  EXPECT_FLOAT_EQ(current().Top, before.Top - 90);
  const QRect marks = w().shpFocus[0]->geometry(), text = w().ItemRect(current());
  EXPECT_LE((marks.center() / 2 - text.center()).manhattanLength(), 1) << "the focus marks follow the zoom";
  QTest::keyClick(&w(), Qt::Key_Z, Qt::ControlModifier);
  click(w().cmdSaveImage, path("at200.bmp"));
  EXPECT_EQ(test::readFile(path("at200.bmp")), test::readFile(path("at100.bmp")));
}

TEST_F(ZoomTest, TheWheelZoomsAboutThePointerAndNewTextOnALargePictureIsScrolledIntoView) {
  QImage(3000, 2000, QImage::Format_RGB32).save(path("large.png"));
  newDocument(path("large.png"));
  const QPointF pointer(300, 120);  // in the workspace
  const auto underPointer = [&] { return (pointer - QPointF(w().picPicture->pos())) / w().picPicture->scale(); };
  const QPointF held = underPointer();
  QWheelEvent wheel(pointer - QPointF(w().picPicture->pos()), {}, {}, {0, 240}, Qt::NoButton, Qt::ControlModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(w().picPicture, &wheel);
  EXPECT_EQ(w().picPicture->zoom(), 200);
  EXPECT_LE((underPointer() - held).manhattanLength(), 1.0);
  insertText();
  const QRect shown(w().picPicture->mapTo(w().picWorkspace, w().ItemRect(current()).topLeft() * 2),
                    w().ItemRect(current()).size() * 2);
  EXPECT_TRUE(w().picWorkspace->rect().contains(shown)) << "new text at the picture's centre is in view";
}

}  // namespace
}  // namespace lumora
