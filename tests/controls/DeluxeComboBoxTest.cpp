// The owner-drawn font list: only combo boxes in the marked frame are switched, each row is drawn
// in the face it names, the four selection looks, attaching and detaching, and the time to open
// a list of 500 installed fonts (printed, not asserted).
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QGroupBox>
#include <QTest>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <vector>

#include "RenamedTestFont.h"
#include "Screenshot.h"
#include "SubclassTestApplication.h"
#include "controls/QtColour.h"
#include "controls/GSubclass.h"
#include "controls/SubclassMessages.h"
#include "controls/SubclassOwnerDraw.h"
#include "controls/cDeluxeComboBox.h"

namespace lumora {
namespace {

// A frame holding one combo box, as the main window holds cboFont.
struct FontListWindow {
  explicit FontListWindow(const QString& caption, const QStringList& items) {
    window.resize(260, 60);
    frame = new QGroupBox(caption, &window);
    frame->setGeometry(5, 5, 250, 50);
    combo = new QComboBox(frame);
    combo->setGeometry(10, 20, 200, 24);
    combo->addItems(items);
    window.show();
    QApplication::processEvents();
  }
  QWidget window;
  QGroupBox* frame = nullptr;
  QComboBox* combo = nullptr;
};

class DeluxeComboBox : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureApplication();
    AppSubClass::Start();
  }
  void TearDown() override { AppSubClass::Stop(); }

  // The font list as the main window configures it.
  static void configureAsFontList(cDeluxeComboBox& deluxe) {
    deluxe.setCGDir(0);
    deluxe.setCFullRow(true);
    deluxe.setCGrad1(0x808080);
    deluxe.setCGrad2(0xFF0000);
    deluxe.setSStyle(1);
    deluxe.setSType(cDeluxeComboBox::kFontNames);
    deluxe.setCTPos(0);
    deluxe.setCTNCol(static_cast<Colour>(0x80000008u));
    deluxe.setCTHCol(static_cast<Colour>(0x8000000Eu));
    deluxe.setCColor(0x3E80FE);
    deluxe.setCFrame(0x800000);
  }

  static QImage openList(QComboBox& combo, int current) {
    combo.showPopup();
    combo.view()->setCurrentIndex(combo.model()->index(current, 0));
    QApplication::processEvents();
    return combo.view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }

  static QRect rowRect(QComboBox& combo, int row) { return combo.view()->visualRect(combo.model()->index(row, 0)); }

  // The subclassing registry on a combo box (its other properties left out).
  static QList<QByteArray> registryOf(const QComboBox& combo) {
    const QByteArray handle = QByteArray::number(reinterpret_cast<quintptr>(&combo));
    QList<QByteArray> names;
    for (const QByteArray& name : combo.dynamicPropertyNames())
      if (name.startsWith(handle) || name == "C" + handle) names << name;
    return names;
  }
};

bool near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 && std::abs(qBlue(a) - qBlue(b)) <= 8;
}

TEST_F(DeluxeComboBox, OwnerDrawnListDropsDownWithTheVisibleItemCount) {
  QStringList many;
  for (int i = 0; i < 60; ++i) many << QString::number(i);
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), many);
  w.combo->setMaxVisibleItems(12);
  w.combo->showPopup();
  QApplication::processEvents();
  const int rowHeight = rowRect(*w.combo, 0).height();
  EXPECT_LE(w.combo->view()->viewport()->height(), 13 * rowHeight);
  EXPECT_GE(w.combo->view()->viewport()->height(), 11 * rowHeight);
  w.combo->hidePopup();
}

TEST_F(DeluxeComboBox, APlainFrameIsMarkedByItsWindowText) {
  QWidget window;
  auto* frame = new QFrame(&window);
  frame->setWindowTitle(QString::fromLatin1(AppSubClass::kMarkCaption));
  auto* combo = new QComboBox(frame);
  auto* unmarked = new QComboBox(&window);  // its parent's text is not the mark
  window.setWindowTitle(QString::fromLatin1(AppSubClass::kMarkCaption) + QLatin1Char(' '));
  window.show();
  QApplication::processEvents();
  EXPECT_TRUE(AppSubClass::IsOwnerDrawn(*combo));
  EXPECT_FALSE(AppSubClass::IsOwnerDrawn(*unmarked));
}

TEST_F(DeluxeComboBox, OnlyComboBoxesInTheMarkedFrameAreOwnerDrawn) {
  FontListWindow marked(QString::fromLatin1(AppSubClass::kMarkCaption), {"a", "b"});
  FontListWindow plain(QStringLiteral("Fonts"), {"a", "b"});
  EXPECT_TRUE(AppSubClass::IsOwnerDrawn(*marked.combo));
  EXPECT_FALSE(AppSubClass::IsOwnerDrawn(*plain.combo));
  AppSubClass::Stop();
  FontListWindow afterStop(QString::fromLatin1(AppSubClass::kMarkCaption), {"a"});
  EXPECT_FALSE(AppSubClass::IsOwnerDrawn(*afterStop.combo));
}

QImage rowStart(const QImage& list, const QRect& row, int width) {
  return list.copy(row.left() + 2, row.top(), width, row.height());
}

TEST_F(DeluxeComboBox, EachRowIsDrawnInTheFaceItNames) {
  const QByteArray serif = [] {
    QFile f(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  const QByteArray mono = [] {
    QFile f(QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }();
  test::RenamedTestFont faceA(QStringLiteral("Lumora Face A"), serif), faceB(QStringLiteral("Lumora Face B"), mono),
      faceC(QStringLiteral("Lumora Face C"), serif);
  if (!faceA.ok() || !faceB.ok() || !faceC.ok()) GTEST_SKIP() << "no TrueType fonts to rename";
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"Lumora Face A", "Lumora Face B", "Lumora Face C", "x"});
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  const QImage list = openList(*w.combo, 3);
  // The rows start with the same letters: "Lumora Face " looks alike only in the same face.
  const int width = 60;
  EXPECT_EQ(rowStart(list, rowRect(*w.combo, 0), width), rowStart(list, rowRect(*w.combo, 2), width));
  EXPECT_NE(rowStart(list, rowRect(*w.combo, 0), width), rowStart(list, rowRect(*w.combo, 1), width));
  // A name that is no installed face is drawn in the substitute face, still as text.
  const QImage substitute = rowStart(list, rowRect(*w.combo, 3), 20);
  bool inked = false;
  for (int y = 0; y < substitute.height(); ++y)
    for (int x = 0; x < substitute.width(); ++x) inked |= qGray(substitute.pixel(x, y)) < 128;
  EXPECT_TRUE(inked);
  w.combo->hidePopup();
}

struct LookCase {
  int style;
  bool fullRow;
  QRgb left;   // fill at the row's left end (inside any frame or focus rectangle)
  QRgb right;  // and at its right end
};

class SelectionLooks : public DeluxeComboBox, public ::testing::WithParamInterface<LookCase> {};

TEST_P(SelectionLooks, FillTheSelectedRow) {
  // Leading blanks keep the ends of the rows free of ink.
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"    a", "    b", "    c"});
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  deluxe.setSStyle(GetParam().style);
  deluxe.setCFullRow(GetParam().fullRow);
  deluxe.setCColor(0x3E80FE);     // red FE, green 80, blue 3E
  deluxe.setCFrame(0x800000);     // navy
  deluxe.setCGrad1(0x0000FF);     // red
  deluxe.setCGrad2(0xFF0000);     // blue
  const QImage list = openList(*w.combo, 1);
  const QRect row = rowRect(*w.combo, 1);
  const int y = row.center().y();
  EXPECT_TRUE(near(list.pixel(row.left() + 3, y), GetParam().left)) << std::hex << list.pixel(row.left() + 3, y);
  EXPECT_TRUE(near(list.pixel(row.right() - 3, y), GetParam().right)) << std::hex << list.pixel(row.right() - 3, y);
  // The other rows keep the plain look.
  const QRect other = rowRect(*w.combo, 0);
  EXPECT_EQ(list.pixel(other.right() - 3, other.center().y()) & 0xFFFFFF,
            w.combo->view()->palette().color(QPalette::Base).rgb() & 0xFFFFFF);
  if (GetParam().style == 3) {
    EXPECT_EQ(list.pixel(row.right(), y) & 0xFFFFFF, qRgb(0, 0, 0x80) & 0xFFFFFF);
  }
  w.combo->hidePopup();
}

const QRgb kHighlightRgb = qRgb(0, 120, 215);

INSTANTIATE_TEST_SUITE_P(
    Styles, SelectionLooks,
    ::testing::Values(LookCase{1, true, kHighlightRgb, kHighlightRgb}, LookCase{2, true, qRgb(0xFE, 0x80, 0x3E), qRgb(0xFE, 0x80, 0x3E)},
                      LookCase{3, false, qRgb(0xFE, 0x80, 0x3E), qRgb(0xFE, 0x80, 0x3E)},
                      LookCase{4, true, qRgb(0xFF, 0, 0), qRgb(0, 0, 0xFF)}));

TEST_F(DeluxeComboBox, WithoutFullRowStyleOneFillsOnlyBehindTheText) {
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"a", "Wide"});
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  deluxe.setCFullRow(false);
  const QImage list = openList(*w.combo, 1);
  const QRect row = rowRect(*w.combo, 1);
  EXPECT_EQ(list.pixel(row.right() - 3, row.center().y()) & 0xFFFFFF,
            w.combo->view()->palette().color(QPalette::Base).rgb() & 0xFFFFFF);
  EXPECT_EQ(list.pixel(row.left() + 1, row.top() + 1) & 0xFFFFFF, kHighlightRgb & 0xFFFFFF);
  w.combo->hidePopup();
}

TEST_F(DeluxeComboBox, MsgResponseChainsPaintAfterTheComboAndEverythingElseBefore) {
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"Closed face"});
  const QImage before = w.combo->grab().toImage();
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  EXPECT_EQ(registryOf(*w.combo).size(), 8);  // procedure, total, 3 counts, 3 subscribers
  // The combo box still paints its own closed face: the paint message reaches it.
  EXPECT_EQ(w.combo->grab().toImage(), before);
}

TEST_F(DeluxeComboBox, AttachingToASecondComboLeavesTheFirstUnsubscribed) {
  FontListWindow first(QString::fromLatin1(AppSubClass::kMarkCaption), {"a"});
  FontListWindow second(QString::fromLatin1(AppSubClass::kMarkCaption), {"b"});
  cDeluxeComboBox deluxe;
  deluxe.Attach(first.combo);
  deluxe.Attach(nullptr);  // ignored
  EXPECT_FALSE(registryOf(*first.combo).isEmpty());
  deluxe.Attach(second.combo);
  EXPECT_TRUE(registryOf(*first.combo).isEmpty());
  EXPECT_FALSE(registryOf(*second.combo).isEmpty());
  {
    cDeluxeComboBox shortLived;
    shortLived.Attach(first.combo);
  }
  EXPECT_TRUE(registryOf(*first.combo).isEmpty());  // destruction detaches
}

TEST_F(DeluxeComboBox, UnattachedOwnerDrawnListFallsBackToOrdinaryRows) {
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"first", "second"});
  const QImage list = openList(*w.combo, 0);
  bool inked = false;
  const QRect row = rowRect(*w.combo, 1);
  for (int x = row.left(); x < row.left() + 40; ++x)
    for (int y = row.top(); y <= row.bottom(); ++y) inked |= qGray(list.pixel(x, y)) < 128;
  EXPECT_TRUE(inked);
  w.combo->hidePopup();
}

TEST_F(DeluxeComboBox, ColourNamesGetTheirSwatch) {
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {"white", "red", "blue"});
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  deluxe.setSType(cDeluxeComboBox::kColourNames);
  deluxe.setSStyle(3);
  const QImage list = openList(*w.combo, 0);
  const QRect red = rowRect(*w.combo, 1);
  EXPECT_EQ(list.pixel(red.left() + 9, red.center().y()) & 0xFFFFFF, qRgb(255, 0, 0) & 0xFFFFFF);
  EXPECT_FALSE(w.combo->itemIcon(2).isNull());  // the closed box shows it too
  w.combo->hidePopup();
}

TEST_F(DeluxeComboBox, FileKindListsTheFolderWithoutDots) {
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), {});
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  deluxe.setCDir(qEnvironmentVariable("LUMORA_TEST_DATA", QStringLiteral("/work/main/tests/data")));
  deluxe.setCDirFilter(QStringLiteral("*"));
  deluxe.setSType(cDeluxeComboBox::kFiles);
  EXPECT_GT(w.combo->count(), 0);
  EXPECT_EQ(w.combo->findText(QStringLiteral(".")), -1);
  EXPECT_EQ(w.combo->findText(QStringLiteral("..")), -1);
  EXPECT_TRUE(deluxe.cDir().endsWith(QLatin1Char('/')));
}

// Opening the font list with 500 installed fonts: each visible row makes its own font, and only
// visible rows are drawn. The figure is printed for the record, not asserted.
TEST_F(DeluxeComboBox, OpeningTheListWith500FontsIsTimed) {
  QFile source(QStringLiteral("/usr/share/fonts/truetype/liberation/LiberationMono-Regular.ttf"));
  if (!source.open(QIODevice::ReadOnly)) GTEST_SKIP() << "no font to copy";
  const QByteArray data = source.readAll();
  std::vector<std::unique_ptr<test::RenamedTestFont>> fonts;
  QStringList names;
  for (int i = 0; i < 500; ++i) {
    names << QStringLiteral("Lumora Bench %1").arg(i, 3, 10, QLatin1Char('0'));
    fonts.push_back(std::make_unique<test::RenamedTestFont>(names.back(), data));
  }
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), names);
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  // Counts the drawing requests the list makes, to show that only visible rows are drawn.
  struct DrawCounter : ISubclass {
    int MsgResponse() override { return 1; }
    long WindowProc(QObject*, int, QEvent*) override { return ++draws, 0; }
    int draws = 0;
  } counter;
  GSubclass::AttachMessage(counter, w.combo, SubclassMessage::kDrawItem);
  QElapsedTimer timer;
  std::vector<double> opens;
  for (int i = 0; i < 5; ++i) {
    const int drawsBefore = counter.draws;
    timer.start();
    w.combo->showPopup();
    // Open means painted: let the list be exposed and drawn (bounded, in case it never is).
    for (int spin = 0; spin < 1000 && counter.draws == drawsBefore; ++spin) QApplication::processEvents();
    opens.push_back(timer.nsecsElapsed() / 1e6);
    w.combo->hidePopup();
    QApplication::processEvents();
  }
  const double first = opens.front();
  const int visibleRows = w.combo->view()->viewport()->height() / std::max(1, rowRect(*w.combo, 0).height()) + 1;
  EXPECT_GT(counter.draws, 0);
  EXPECT_LE(counter.draws, 5 * 2 * visibleRows);  // each opening draws the visible rows, not all 500
  std::sort(opens.begin(), opens.end());
  std::printf("[ figure   ] opening the font list with %d fonts (%d rows visible, %d rows drawn in 5 openings): "
              "first %.1f ms, median of 5 %.1f ms\n",
              static_cast<int>(names.size()), visibleRows, counter.draws, first, opens[2]);
  EXPECT_EQ(w.combo->count(), 500);
}

TEST_F(DeluxeComboBox, InstalledFamiliesEachShowInTheirOwnFace) {
  const QStringList families = QFontDatabase::families();
  FontListWindow w(QString::fromLatin1(AppSubClass::kMarkCaption), families);
  w.combo->setMaxVisibleItems(14);
  cDeluxeComboBox deluxe;
  deluxe.Attach(w.combo);
  configureAsFontList(deluxe);
  const QImage list = openList(*w.combo, std::min<int>(3, static_cast<int>(families.size()) - 1));
  // Every visible row is drawn: none of them is blank.
  for (int row = 0; row < std::min<int>(10, static_cast<int>(families.size())); ++row) {
    const QRect r = rowRect(*w.combo, row).intersected(list.rect());
    if (r.isEmpty()) continue;
    bool inked = false;
    for (int y = r.top(); y <= r.bottom() && !inked; ++y)
      for (int x = r.left(); x < r.left() + 60 && !inked; ++x) inked = qGray(list.pixel(x, y)) < 128;
    EXPECT_TRUE(inked) << families[row].toStdString();
  }
  test::SaveScreenshot(*w.combo->view()->window(), QStringLiteral("cboFont-open"));
  w.combo->hidePopup();
}

}  // namespace
}  // namespace lumora
