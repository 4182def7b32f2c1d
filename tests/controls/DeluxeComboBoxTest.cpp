// The owner-drawn font list in a marked frame, as the main window holds cboFont: each row is drawn
// in the face it names.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>

#include "RenamedTestFont.h"
#include "controls/SubclassOwnerDraw.h"
#include "controls/cDeluxeComboBox.h"

namespace lumora {
namespace {

const QString kMark = QString::fromLatin1(AppSubClass::kMarkCaption);

// A frame holding one combo box, as the main window holds cboFont.
struct FontListWindow {
  explicit FontListWindow(const QString& caption, const QStringList& items) {
    combo = new QComboBox(new QGroupBox(caption, &window));
    combo->addItems(items);
    window.show();
    QApplication::processEvents();
  }
  QWidget window;
  QComboBox* combo = nullptr;
};

class DeluxeComboBox : public ::testing::Test {
 protected:
  void SetUp() override { AppSubClass::Start(); }
  void TearDown() override { AppSubClass::Stop(); }
};

TEST_F(DeluxeComboBox, EachRowIsDrawnInTheFaceItNames) {
  const QString serif = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
  test::RenamedTestFont faceA(QStringLiteral("Lumora Face A"), serif), faceC(QStringLiteral("Lumora Face C"), serif),
      faceB(QStringLiteral("Lumora Face B"),
            QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
  if (!faceA.ok() || !faceB.ok() || !faceC.ok()) GTEST_SKIP() << "no TrueType fonts to rename";
  FontListWindow w(kMark, {"Lumora Face A", "Lumora Face B", "Lumora Face C", "x"});
  cDeluxeComboBox deluxe;  // configured as the main window configures the font list
  deluxe.Attach(w.combo);
  deluxe.setSType(cDeluxeComboBox::kFontNames);
  deluxe.setSStyle(1);
  deluxe.setCFullRow(true);
  w.combo->showPopup();
  w.combo->view()->setCurrentIndex(w.combo->model()->index(1, 0));  // the others in the plain look
  QApplication::processEvents();
  const QImage list = w.combo->view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const auto start = [&](int row, int width) {
    const QRect r = w.combo->view()->visualRect(w.combo->model()->index(row, 0));
    return list.copy(r.left() + 2, r.top(), width, r.height());
  };
  // The rows start with the same letters: "Lumora Face " looks alike only in the same face.
  EXPECT_EQ(start(0, 60), start(2, 60));
  EXPECT_NE(start(0, 60), start(1, 60));
  // A name that is no installed face is drawn in the substitute face, still as text.
  const QImage substitute = start(3, 20);
  bool inked = false;
  for (int y = 0; y < substitute.height(); ++y)
    for (int x = 0; x < substitute.width(); ++x) inked |= qGray(substitute.pixel(x, y)) < 128;
  EXPECT_TRUE(inked);
  w.combo->hidePopup();
}

}  // namespace
}  // namespace lumora
