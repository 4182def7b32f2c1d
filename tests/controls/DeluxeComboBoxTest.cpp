// The subclassing framework (newest subscriber first, the oldest deciding how the object's handler
// is chained, the errors) and the owner-drawn lists it serves, in a marked frame as cboFont is held.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFile>
#include <QGroupBox>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

#include "RaisedError.h"
#include "RenamedTestFont.h"
#include "controls/GSubclass.h"
#include "controls/SubclassOwnerDraw.h"
#include "controls/cDeluxeComboBox.h"

namespace lumora {
namespace {

constexpr int kMessage = QEvent::User + 7;
using Log = std::vector<std::string>;

struct Target : QObject {
  explicit Target(Log& log) : log(log) {}
  bool event(QEvent* e) override {
    if (e->type() >= QEvent::User) log.push_back("target");
    return QObject::event(e);
  }
  Log& log;
};

// Logs its name, with "?" when the message being dispatched is not kMessage.
struct Recorder : ISubclass {
  Recorder(Log& log, std::string name, int response = 1) : log(log), name(std::move(name)), response(response) {}
  int MsgResponse() override { return response; }
  long WindowProc(QObject*, int, QEvent*) override {
    log.push_back(name + (GSubclass::CurrentMessage() == kMessage ? "" : "?"));
    return 0;
  }
  Log& log;
  std::string name;
  int response;
};

void send(QObject& target, int message) {
  QEvent event(static_cast<QEvent::Type>(message));
  QCoreApplication::sendEvent(&target, &event);
}

TEST(GSubclass, OnlyTheOldestSubscriberDecidesHowTheObjectIsChained) {
  const std::pair<std::pair<int, int>, Log> cases[] = {
      {{0, 1}, {"newer", "oldest"}},            // 0 swallows
      {{0, 2}, {"newer", "oldest"}},            // the newer one has no say
      {{1, 0}, {"newer", "oldest", "target"}},  // subscribers, then the object
      {{2, 0}, {"newer", "target", "oldest"}},  // the object just before the oldest
  };
  for (const auto& [responses, expected] : cases) {
    Log log;
    Target target(log);
    Recorder oldest(log, "oldest", responses.first), newer(log, "newer", responses.second);
    GSubclass::AttachMessage(oldest, &target, kMessage);
    GSubclass::AttachMessage(newer, &target, kMessage);
    send(target, kMessage);
    EXPECT_EQ(log, expected) << responses.first << responses.second;
  }
}

TEST(GSubclass, AttachRaisesForATwiceSubscribedMessageNoObjectOrAnotherThreadsObject) {
  Log log;
  Target target(log);
  QThread other;
  QObject foreign;
  foreign.moveToThread(&other);
  Recorder a(log, "a");
  GSubclass::AttachMessage(a, &target, kMessage);
  for (const auto& [object, number] : {std::pair<QObject*, int>{&target, 13082}, {nullptr, 13083}, {&foreign, 13084}})
    EXPECT_EQ(test::RaisedBy([&] { GSubclass::AttachMessage(a, object, kMessage); }).number,
              SubclassError::kObjectErrorBase + number);
  send(target, kMessage);
  EXPECT_EQ(log, (Log{"a", "target"}));  // the failed attach changed nothing
}

// A marked frame holding one combo box, as the main window holds cboFont.
struct FontListWindow {
  explicit FontListWindow(const QStringList& items) {
    combo = new QComboBox(new QGroupBox(QString::fromLatin1(AppSubClass::kMarkCaption), &window));
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
  FontListWindow w({"Lumora Face A", "Lumora Face B", "Lumora Face C", "x"});
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

// The other list kinds and selection looks, as a user sees the open list: the selected row's
// look, the swatch or icon beside each name, and the folder and drive lists filled by the control.
TEST_F(DeluxeComboBox, KindsAndSelectionLooksAsTheOpenListShowsThem) {
  QTemporaryDir folder;
  for (const char* name : {"b.txt", "a.png", ".hidden"}) QFile(folder.filePath(name)).open(QIODevice::WriteOnly);
  QPixmap blue(16, 16);
  blue.fill(Qt::blue);
  struct Case {
    int type, style, squares, direction;
    bool fullRow;
    QStringList items;
    // Checked on the open list's picture with the selected first row's rectangle.
    std::function<void(const QImage&, const QRect&, const QComboBox&)> check;
  };
  const Colour green = 0x00FF00, frame = 0x0000FF;
  const Case cases[] = {
      {cDeluxeComboBox::kColourNames, 3, 0, 0, false, {"red", "blue"},
       [](const QImage& list, const QRect& row, const QComboBox& combo) {
         EXPECT_EQ(list.pixel(row.left() + 6, row.center().y()), qRgb(255, 0, 0));  // the swatch
         EXPECT_EQ(list.pixel(row.right() - 2, row.center().y()), qRgb(0, 255, 0));  // the fill colour
         EXPECT_EQ(list.pixel(row.right(), row.center().y()), qRgb(255, 0, 0));  // the frame (BGR 0x0000FF)
         EXPECT_FALSE(combo.itemIcon(1).isNull());                                  // the closed box's swatch
       }},
      {cDeluxeComboBox::kIcons, 4, 1, 1, false, {"one", "two"},
       [](const QImage& list, const QRect& row, const QComboBox&) {
         EXPECT_EQ(list.pixel(row.left() + 19, row.center().y()), qRgb(0, 0, 255));  // the icon, mid-square
         EXPECT_NE(list.pixel(row.right() - 2, row.top() + 2), list.pixel(row.right() - 2, row.bottom() - 2));
       }},
      {cDeluxeComboBox::kFiles, 2, 0, 0, true, {},
       [](const QImage& list, const QRect& row, const QComboBox& combo) {
         EXPECT_EQ(combo.count(), 3);  // hidden files too, by name
         EXPECT_EQ(combo.itemText(0), ".hidden");
         EXPECT_EQ(list.pixel(row.right() - 4, row.center().y()), qRgb(0, 255, 0));
       }},
      {cDeluxeComboBox::kDrives, 1, 0, 0, false, {},
       [](const QImage&, const QRect&, const QComboBox& combo) {
         EXPECT_EQ(combo.itemText(0), "/");
         EXPECT_FALSE(combo.itemIcon(0).isNull());
       }},
  };
  for (const Case& c : cases) {
    FontListWindow w(c.items);
    if (c.type == cDeluxeComboBox::kIcons) w.combo->setItemData(0, QIcon(blue));
    cDeluxeComboBox deluxe;
    deluxe.Attach(w.combo);
    deluxe.setSStyle(c.style);
    deluxe.setCSqStyle(c.squares);
    deluxe.setCGDir(c.direction);
    deluxe.setCFullRow(c.fullRow);
    deluxe.setCColor(green);
    deluxe.setCFrame(frame);
    deluxe.setCDir(folder.path());
    deluxe.setSType(c.type);
    w.combo->showPopup();
    w.combo->view()->setCurrentIndex(w.combo->model()->index(1, 0));
    w.combo->view()->setCurrentIndex(w.combo->model()->index(0, 0));  // the row before goes back to plain
    QApplication::processEvents();
    const QImage list = w.combo->view()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    SCOPED_TRACE(c.type);
    c.check(list, w.combo->view()->visualRect(w.combo->model()->index(0, 0)), *w.combo);
    w.combo->hidePopup();
  }
}

}  // namespace
}  // namespace lumora
